#include "lesson/drill.h"

#include "lesson/lessoncontroller.h"

#include "media/media.h"

#include "text/words.h"

#include <QTimer>

#include <algorithm>
#include <cmath>

namespace lesson {

Drill::Drill(LessonController *lesson)
    : QObject(lesson), lesson_(lesson), pauseTimer(new QTimer(this)), settleTimer(new QTimer(this))
{
    pauseTimer->setSingleShot(true);
    // a coarse timer may end a pause of a second 50 ms early
    pauseTimer->setTimerType(Qt::PreciseTimer);
    settleTimer->setSingleShot(true);
    connect(pauseTimer, &QTimer::timeout, this, [this] { startRepetition(repetition_ + 1); });
    connect(settleTimer, &QTimer::timeout, this, [this] {
        Media *m = lesson_->media();
        seekedBackTo = -1;
        if (m && !m->isStopped())
            m->pause(false);
    });
    connect(lesson_, &LessonController::lessonOpened, this, &Drill::follow);
    // the drill ends with its lesson: another one starts from its beginning, as always
    connect(lesson_, &LessonController::lessonClosing, this, [this] {
        pauseTimer->stop();
        settleTimer->stop();
        reveal({});
        if (!on_)
            return;
        on_ = false;
        phase_ = Phase::Off;
        repetition_ = 0;
        emit onChanged(false);
    });
    connect(lesson_, &LessonController::currentSentenceChanged, this, &Drill::followSentence);
    connect(lesson_, &LessonController::sentencesChanged, this, [this] { reveal({}); });
}

void Drill::follow()
{
    // The engine pauses at the loop end from a decode thread: the signal arrives queued.
    connect(lesson_->media(), &Media::paused, this, &Drill::enginePaused);
}

int Drill::pauseRemainingMs() const
{
    return pauseTimer->isActive() ? pauseTimer->remainingTime() : -1;
}

QString Drill::hintOf(const QString &text)
{
    QString hint;
    hint.reserve(text.size());
    bool inWord = false;
    bool hiding = false; // the letter before was hidden
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool wordCharacter = isWordCharacter(text, i, Hyphens::Split);
        if (!wordCharacter || !inWord) {
            hint += c;
        } else if (c.isLowSurrogate() || c.isMark()) {
            // the second half of a character and a combining accent go with the letter before
            // them, shown with the first one and hidden with its dot: one dot per letter
            if (!hiding)
                hint += c;
        } else {
            hint += u'.';
            hiding = true;
        }
        inWord = wordCharacter;
        hiding = hiding && inWord;
    }
    return hint;
}

void Drill::setSettings(const DrillSettings &settings)
{
    settings_ = settings.clamped();
}

void Drill::setOn(bool on)
{
    Media *m = lesson_->media();
    if (on == on_ || (on && !m))
        return;
    on_ = on;
    if (on) {
        m->setLoop(false);
        emit onChanged(true);
        // the sentence under the playhead, unless the loop spans one already; its change
        // starts the drill
        if (lesson_->currentSentence() < 0 && !lesson_->sentences().items.empty())
            lesson_->loopSentenceHere();
        if (phase_ == Phase::Off)
            startRepetition(1);
        return;
    }
    pauseTimer->stop();
    settleTimer->stop();
    seekedBackTo = -1;
    phase_ = Phase::Off;
    repetition_ = 0;
    reveal({});
    if (m) {
        m->setLoop(true);
        m->setPlaySpeedFactor(lesson_->speed());
        // a lesson the drill left paused is stopped: the play key starts it as always
        if (m->isPaused() && !m->isStopped()) {
            m->pause(false);
            m->stop();
            emit lesson_->playingChanged(false);
        }
    }
    emit onChanged(false);
}

void Drill::again()
{
    if (on_)
        startRepetition(1);
}

void Drill::next()
{
    const double in = lesson_->markInSeconds();
    const int before = lesson_->currentSentence();
    lesson_->nextStretch();
    // another sentence starts the drill over by itself; a stretch that is none does not,
    // and the lesson is on its way to its start already
    if (on_ && lesson_->currentSentence() == before && lesson_->markInSeconds() != in)
        startRepetition(1, true);
}

void Drill::previous()
{
    const double in = lesson_->markInSeconds();
    const int before = lesson_->currentSentence();
    lesson_->previousStretch();
    if (on_ && lesson_->currentSentence() == before && lesson_->markInSeconds() != in)
        startRepetition(1);
}

QString Drill::currentText() const
{
    if (!on_)
        return {};
    int index = lesson_->currentSentence();
    // a loop nudged off its sentence still drills that sentence
    if (index < 0)
        index = sentence_;
    const std::vector<Sentence> &items = lesson_->sentences().items;
    return index >= 0 && size_t(index) < items.size() ? items[size_t(index)].text : QString();
}

void Drill::revealHint()
{
    const QString text = currentText();
    if (!text.isEmpty())
        reveal(hintOf(text));
}

void Drill::revealSentence()
{
    const QString text = currentText();
    if (!text.isEmpty())
        reveal(text);
}

void Drill::reveal(const QString &text)
{
    if (text == revealed_)
        return;
    revealed_ = text;
    emit revealed(text);
}

void Drill::followSentence(int index)
{
    reveal({});
    if (on_ && index >= 0)
        startRepetition(1, lesson_->loopStartJustSought());
}

void Drill::playKey()
{
    Media *m = lesson_->media();
    if (!m || !on_)
        return;
    switch (phase_) {
    case Phase::Pausing:
        startRepetition(repetition_ + 1);
        return;
    case Phase::Waiting:
        startRepetition(1);
        return;
    case Phase::Playing:
        break;
    case Phase::Off:
        return;
    }
    if (!m->isStopped()) {
        stopLesson();
        return;
    }
    // the learner plays on from a stop: a little earlier, within the loop
    const int64_t rewind = m->ticksFromSeconds(settings_.rewindSeconds);
    m->startAt(std::max(m->markIn(), stoppedAt - rewind));
    emit lesson_->playingChanged(true);
}

void Drill::hold()
{
    Media *m = lesson_->media();
    if (!m || m->isStopped())
        return;
    if (pauseTimer->isActive()) {
        // a pause the learner stopped lasts until the play key
        pauseTimer->stop();
        emit pauseStarted(DrillSettings::untilPlayKey);
    }
    stopLesson();
}

void Drill::stopLesson()
{
    Media *m = lesson_->media();
    // paused at the loop end, or seeking back there, the repetition plays on from its start
    const bool paused = m->isPaused();
    stoppedAt = paused ? m->markIn() : m->position();
    settleTimer->stop();
    seekedBackTo = -1;
    // a media stopped while paused would start paused again
    if (paused)
        m->pause(false);
    m->stop();
    emit lesson_->playingChanged(false);
}

void Drill::enginePaused(bool paused)
{
    Media *m = lesson_->media();
    // A pause the engine made before the drill sought back and played on (again, next)
    // arrives late: the engine has moved on since.
    if (!paused || !on_ || phase_ != Phase::Playing || settleTimer->isActive() || !m ||
        !m->isPaused() || m->isStopped())
        return;
    repetitionEnded();
}

void Drill::repetitionEnded()
{
    const int total = settings_.repetitions;
    if (total != DrillSettings::untilTold && repetition_ >= total) {
        phase_ = Phase::Waiting;
        emit sentenceFinished(sentence_);
        if (settings_.advance)
            next();
        return;
    }
    phase_ = Phase::Pausing;
    // back to the loop's start while the learner types, so the next repetition starts at once
    seekBack();
    const double seconds = settings_.pauseSeconds;
    emit pauseStarted(seconds);
    if (seconds >= 0)
        pauseTimer->start(std::max(int(std::lround(seconds * 1000)), settleMs));
}

void Drill::seekBack()
{
    Media *m = lesson_->media();
    m->seek(m->markIn());
    seekedBackTo = m->markIn();
    sinceSeekBack.start();
}

void Drill::resumeWhenSettled()
{
    settleTimer->start(int(std::max<qint64>(0, settleMs - sinceSeekBack.elapsed())));
}

void Drill::startRepetition(int repetition, bool atLoopStart)
{
    Media *m = lesson_->media();
    if (!m)
        return;
    pauseTimer->stop();
    settleTimer->stop();
    if (repetition == 1)
        sentence_ = lesson_->currentSentence();
    phase_ = Phase::Playing;
    repetition_ = repetition;
    const double first = settings_.firstPassSpeed;
    m->setPlaySpeedFactor(repetition == 1 && first > 0 ? first : lesson_->speed());
    emit repetitionStarted(sentence_, repetition, settings_.repetitions);
    if (m->isStopped()) {
        // a stopped lesson takes no seek: it starts there
        m->startAt(m->markIn());
        emit lesson_->playingChanged(true);
    } else if (m->isPaused()) {
        if (atLoopStart) {
            // the seek asked for is the seek back
            seekedBackTo = m->markIn();
            sinceSeekBack.start();
        } else if (seekedBackTo != m->markIn()) {
            seekBack();
        }
        resumeWhenSettled();
    } else if (!atLoopStart) {
        m->seek(m->markIn());
    }
}

} // namespace lesson
