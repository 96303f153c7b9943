#include "editor/transcriptrules.h"

#include "paths/apppaths.h"

#include <QFileInfo>

QString TranscriptRules::lessonOf(const QString &path)
{
    const QLatin1String suffix(".html");
    if (!path.endsWith(suffix, Qt::CaseInsensitive))
        return {};
    const QFileInfo media(path.chopped(suffix.size()));
    const QString mediaSuffix = media.suffix().toLower();
    const bool isDocument =
        mediaSuffix == QLatin1String("html") || mediaSuffix == QLatin1String("htm") ||
        mediaSuffix == QLatin1String("txt") || mediaSuffix == QLatin1String("odt");
    if (isDocument || !media.isFile())
        return {};
    return media.absoluteFilePath();
}

bool TranscriptRules::isGuide(const QString &fileName)
{
    return !fileName.isEmpty() && QFileInfo(fileName).absoluteFilePath() ==
                                      QFileInfo(AppPaths::defaultDocument()).absoluteFilePath();
}

bool TranscriptRules::savesToOwnFile(const TranscriptDocument &doc)
{
    return doc.modified && !doc.fileName.isEmpty() && !isGuide(doc.fileName);
}

LessonSwitch TranscriptRules::switchTo(const QString &mediaPath, const TranscriptDocument &doc)
{
    LessonSwitch to;
    to.transcript = mediaPath + QLatin1String(".html");
    // The player's word counts even where the media file cannot be seen from here.
    to.media = QFileInfo(mediaPath).absoluteFilePath();

    // A learner who comes back to a lesson finds the transcript typed last time. Typing
    // with no file of its own would be lost by loading it and would overwrite it by saving.
    if (QFileInfo::exists(to.transcript)) {
        to.then =
            doc.modified ? LessonSwitch::Then::KeepUntitled : LessonSwitch::Then::LoadTranscript;
        return to;
    }

    // A new lesson does not start from another lesson's transcript or from the guide; the
    // same lesson whose file has gone keeps its text, which now exists nowhere else.
    to.then = LessonSwitch::Then::StartTranscript;
    to.clear = (!doc.lessonMedia.isEmpty() && doc.lessonMedia != to.media) ||
               (isGuide(doc.fileName) && !doc.modified);
    return to;
}
