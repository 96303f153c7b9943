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

    // A new lesson starts empty unless the text would otherwise exist nowhere: the same
    // lesson's transcript whose file has gone, or typing without a file of its own (untitled,
    // or in the guide, which is never written). A document handed over together with this
    // very lesson is meant to start its transcript. Another lesson's transcript, or a
    // document the learner opened on its own, stays in its own file and is not copied.
    to.then = LessonSwitch::Then::StartTranscript;
    if (!doc.lessonMedia.isEmpty())
        to.clear = doc.lessonMedia != to.media;
    else if (isGuide(doc.fileName))
        to.clear = !doc.modified;
    else
        to.clear = !doc.fileName.isEmpty() && doc.handedWith != to.media;
    return to;
}
