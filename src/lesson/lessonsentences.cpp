// The lesson's sentences: from its subtitle files or streams, or its text placed in the
// sound, else from the speech pass.
#include "lesson/lessoncontroller.h"

#include "lesson/lessontext.h"
#include "lesson/speechanalyser.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

void LessonController::setSentences(const lesson::Sentences &sentences)
{
    sentences_ = sentences;
    applySentenceFixes();
    emit sentencesChanged();
    loadScores();
    followCurrentSentence();
}

void LessonController::setAnalysis(const lesson::SpeechAnalysis &analysis)
{
    pauses_ = analysis.pauses;
    peaks_ = analysis.peaks;
    if (analysing) {
        analysing = false;
        endProgress();
    }
    emit waveformChanged();
    // sentences with text stay; the pauses' sentences stand in until a lesson text is placed
    const bool withText = sentences_.source == lesson::SentenceSource::SubtitleFile ||
                          sentences_.source == lesson::SentenceSource::EmbeddedSubtitles ||
                          sentences_.source == lesson::SentenceSource::LessonText;
    if (!withText || sentences_.items.empty())
        setSentences(analysis.sentences);
}

void LessonController::setAnalysisProgress(double fraction)
{
    analysing = fraction < 1.0;
    if (analysing)
        emit analysisProgress(std::clamp(fraction, 0.0, 1.0));
    else
        endProgress();
}

void LessonController::endProgress()
{
    if (!analysing && !aligningText_)
        emit analysisProgress(1.0);
}

void LessonController::setTextAlignment(const lesson::Sentences &sentences)
{
    aligningText_ = false;
    endProgress();
    setSentences(sentences);
    if (!sentences.notes.isEmpty())
        emit notice(sentences.notes.join(u'\n'));
}

void LessonController::setSubtitleFiles(const QStringList &files)
{
    subtitleFiles_ = files;
}

void LessonController::chooseSubtitleFile(const QString &file)
{
    if (!readSubtitles(file))
        return;
    if (!textFile_.isEmpty()) {
        textFile_.clear();
        // the text still being placed is given up; the pass gives its pauses again
        if (aligningText_) {
            aligningText_ = false;
            setAnalysisProgress(0.0);
            analyser->start(fileName_);
        }
    }
    emit subtitleFileChosen(file);
}

void LessonController::chooseLessonText(const QString &file)
{
    if (!media_)
        return;
    QString why;
    if (!startLessonText(file, &why)) {
        emit error(why);
        return;
    }
    emit lessonTextChosen(file);
}

void LessonController::pasteLessonText(const QString &text)
{
    if (!media_)
        return;
    if (text.trimmed().isEmpty()) {
        emit error(tr("There is no text to use as the lesson text."));
        return;
    }
    // named by the lesson and the text, so that pasting the same text again reuses the file
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                           QStringLiteral("/lesson texts");
    const QString file =
        folder + u'/' + QFileInfo(fileName_).completeBaseName() + u'-' +
        QString::fromLatin1(
            QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex().left(12)) +
        QStringLiteral(".txt");
    QSaveFile out(file);
    const QByteArray bytes = text.toUtf8();
    if (!QDir().mkpath(folder) || !out.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        out.write(bytes) != bytes.size() || !out.commit()) {
        emit error(tr("Cannot keep the pasted text in %1: %2")
                       .arg(QDir::toNativeSeparators(file), out.errorString()));
        return;
    }
    chooseLessonText(file);
}

bool LessonController::startLessonText(const QString &file, QString *why)
{
    const std::optional<QString> text = lesson::readLessonText(file, why);
    if (!text)
        return false;
    if (!lessonTextFiles_.contains(file))
        lessonTextFiles_ += file;
    textFile_ = file;
    aligningText_ = true;
    setAnalysisProgress(0.0);
    analyser->start(fileName_, file, *text);
    return true;
}

void LessonController::findSentences(const QString &preferred)
{
    // The source chosen last, if it is still there; else a subtitle file beside the lesson,
    // else a text subtitle stream inside it, else a lesson text beside it. The pass over the
    // sound always runs: for the pauses and the waveform, and for the sentences when nothing
    // else gives them.
    setSubtitleFiles(lesson::subtitleFilesBeside(fileName_));
    lessonTextFiles_ = lesson::lessonTextFilesBeside(fileName_);
    const bool textPreferred =
        !preferred.isEmpty() && lesson::isLessonTextFile(preferred) && QFileInfo::exists(preferred);
    QString why;
    bool placing = textPreferred && startLessonText(preferred, &why);
    if (!placing) {
        const QString subtitles = textPreferred ? QString() : preferred;
        // a file the learner loaded by another name is still chosen while it is there
        if (!subtitles.isEmpty() && !subtitleFiles_.contains(subtitles) &&
            QFileInfo::exists(subtitles))
            subtitleFiles_ += subtitles;
        const QString first =
            subtitleFiles_.contains(subtitles) ? subtitles : subtitleFiles_.value(0);
        if (first.isEmpty() || !readSubtitles(first)) {
            QString none;
            if (const std::optional<lesson::Sentences> embedded =
                    lesson::readEmbeddedSubtitles(fileName_, &none))
                setSentences(*embedded);
        }
        if (sentences_.items.empty() && !textPreferred && !lessonTextFiles_.isEmpty())
            placing = startLessonText(lessonTextFiles_.first(), &why);
    }
    if (!why.isEmpty())
        emit notice(why);
    if (!placing) {
        setAnalysisProgress(0.0);
        analyser->start(fileName_);
    }
}

bool LessonController::readSubtitles(const QString &file)
{
    if (!media_)
        return false;
    // the cues count from the start of the lesson's clock
    QString why;
    const std::optional<lesson::Sentences> read =
        lesson::readSubtitleFile(file, startSeconds(), &why);
    const QString name = QDir::toNativeSeparators(file);
    if (read && read->items.empty())
        why = (QStringList{tr("%1 gives no sentences:").arg(name)} + read->notes).join(u'\n');
    // a file without sentences leaves the ones the lesson has
    if (!read || read->items.empty()) {
        emit error(why);
        return false;
    }
    if (!subtitleFiles_.contains(file))
        subtitleFiles_ += file;
    setSentences(*read);
    if (!read->notes.isEmpty())
        emit notice((QStringList{tr("Some cues of %1 were left out:").arg(name)} + read->notes)
                        .join(u'\n'));
    return true;
}
