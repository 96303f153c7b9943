// What the lesson store keeps of a lesson: its place, speed, drill settings, subtitle
// choice, scores, what checks missed and the log of checks (the marks kept for sentences are
// in lessonfixes.cpp).
#include "lesson/lessoncontroller.h"

#include "lesson/drill.h"

#include "media/media.h"

#include <QDateTime>
#include <QTimer>

#include <algorithm>
#include <cmath>

void LessonController::setStore(std::unique_ptr<lesson::LessonStore> store, int intervalMs)
{
    store_ = std::move(store);
    if (store_)
        store_->setDesiredRetention(desiredRetention_);
    saveTimer->setInterval(intervalMs);
}

void LessonController::setDesiredRetention(double retention)
{
    desiredRetention_ = retention;
    if (store_)
        store_->setDesiredRetention(retention);
}

void LessonController::saveLesson()
{
    if (!media_ || !store_)
        return;
    lesson::LessonMemory m;
    m.place = lesson::LessonPlace{positionSeconds(), markInSeconds(), markOutSeconds()};
    m.speed = speed_;
    m.drill = drill_->settings();
    if (!textFile_.isEmpty())
        m.subtitleFile = textFile_;
    else if (sentences_.source == lesson::SentenceSource::SubtitleFile)
        m.subtitleFile = sentences_.origin;
    store_->saveLesson(fileName_, m);
}

void LessonController::loadScores()
{
    scores_ = store_ && media_ ? store_->scores(fileName_, sentences_.items)
                               : lesson::Scores(sentences_.items.size());
    emit scoresChanged();
}

void LessonController::restorePlace(const lesson::LessonPlace &place)
{
    // The marks span the whole lesson until now, so neither clamps the other. A loop shorter
    // than the engine's shortest (of no length, as an older version could leave it) would
    // play nothing every time the lesson opens: the whole lesson is the loop instead.
    const int64_t in = ticksOf(place.markInSeconds);
    const bool endless = std::isinf(place.markOutSeconds);
    if (endless || ticksOf(place.markOutSeconds) - in >= media_->shortestLoop()) {
        media_->setMarkInAt(in);
        if (!endless)
            media_->setMarkOutAt(ticksOf(place.markOutSeconds));
    }
    const double at = std::clamp(place.positionSeconds, markInSeconds(),
                                 std::max(markInSeconds(), markOutSeconds()));
    media_->seek(ticksOf(at));
    // the next report could still show where the lesson started
    seekPending = true;
    emit positionChanged(at);
}

const lesson::DrillSettings &LessonController::drillSettings() const
{
    return drill_->settings();
}

void LessonController::setDrillSettings(const lesson::DrillSettings &settings)
{
    if (settings.clamped() == drill_->settings())
        return;
    drill_->setSettings(settings);
    emit drillSettingsChanged(drill_->settings());
}

void LessonController::recordScore(int sentence, double accuracy)
{
    if (!media_ || sentence < 0 || size_t(sentence) >= sentences_.items.size() ||
        std::isnan(accuracy))
        return;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    std::optional<lesson::SentenceScore> &score = scores_[size_t(sentence)];
    if (!store_) {
        score = lesson::withCheck(score, accuracy, now);
    } else if (const auto kept = store_->recordScore(fileName_, sentences_.items[size_t(sentence)],
                                                     accuracy, now)) {
        score = kept;
    } else {
        emit error(tr("The score could not be kept: %1").arg(store_->error()));
        return;
    }
    emit scoresChanged();
}

void LessonController::recordCheck(int sentence, double accuracy, const QStringList &missedWords)
{
    recordScore(sentence, accuracy);
    if (!media_ || sentence < 0 || size_t(sentence) >= sentences_.items.size())
        return;
    const lesson::Sentence &done = sentences_.items[size_t(sentence)];
    if (store_ && !store_->addReviewItems(fileName_, sentences_.origin, done, accuracy, missedWords,
                                          QDate::currentDate()))
        emit error(
            tr("What the check missed could not be kept for review: %1").arg(store_->error()));
    if (store_ && !store_->logCheck(fileName_, done.text, accuracy, missedWords,
                                    QDateTime::currentDateTime()))
        emit error(tr("The check could not be logged for your progress: %1").arg(store_->error()));
    emit checked(sentence, accuracy, missedWords);
}

void LessonController::forgetLesson()
{
    if (!media_)
        return;
    if (store_)
        store_->forget(fileName_);
    forgetSentenceFixes();
    scores_.assign(sentences_.items.size(), std::nullopt);
    emit scoresChanged();
    resetMarks();
    media_->seek(media_->startTime());
}
