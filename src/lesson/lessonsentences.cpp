// The lesson's sentences: from its subtitle files or streams, else from the speech pass.
#include "lesson/lessoncontroller.h"

#include "lesson/speechanalyser.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

void LessonController::setSentences(const lesson::Sentences &sentences)
{
    sentences_ = sentences;
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
        emit analysisProgress(1.0);
    }
    emit waveformChanged();
    const bool fromSubtitles = sentences_.source == lesson::SentenceSource::SubtitleFile ||
                               sentences_.source == lesson::SentenceSource::EmbeddedSubtitles;
    if (!fromSubtitles || sentences_.items.empty())
        setSentences(analysis.sentences);
}

void LessonController::setAnalysisProgress(double fraction)
{
    analysing = fraction < 1.0;
    emit analysisProgress(std::clamp(fraction, 0.0, 1.0));
}

void LessonController::setSubtitleFiles(const QStringList &files)
{
    subtitleFiles_ = files;
}

void LessonController::chooseSubtitleFile(const QString &file)
{
    if (readSubtitles(file))
        emit subtitleFileChosen(file);
}

void LessonController::findSentences(const QString &preferredSubtitles)
{
    // a subtitle file beside the lesson (the one preferred, if it is still there), else a
    // text subtitle stream inside it
    setSubtitleFiles(lesson::subtitleFilesBeside(fileName_));
    // a file the learner loaded by another name is still chosen while it is there
    if (!preferredSubtitles.isEmpty() && !subtitleFiles_.contains(preferredSubtitles) &&
        QFileInfo::exists(preferredSubtitles))
        subtitleFiles_ += preferredSubtitles;
    const QString first =
        subtitleFiles_.contains(preferredSubtitles) ? preferredSubtitles : subtitleFiles_.value(0);
    if (first.isEmpty() || !readSubtitles(first)) {
        QString why;
        if (const std::optional<lesson::Sentences> embedded =
                lesson::readEmbeddedSubtitles(fileName_, &why))
            setSentences(*embedded);
    }
    // the pauses and the waveform, and the sentences when no subtitles gave them
    setAnalysisProgress(0.0);
    analyser->start(fileName_);
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
