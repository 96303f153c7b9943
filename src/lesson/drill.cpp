#include "lesson/drill.h"

#include "lesson/lessoncontroller.h"

#include "text/transcript.h"
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
        seekedBackTo.reset();
        lesson_->releaseHold();
    });
    connect(lesson_, &LessonController::held, this, &Drill::engineHeld);
    // the drill ends with its lesson: another one starts from its beginning, as always
    connect(lesson_, &LessonController::lessonClosing, this, [this] {
        pauseTimer->stop();
        settleTimer->stop();
        reveal({}, Shown::Nothing);
        if (!on_)
            return;
        on_ = false;
        phase_ = Phase::Off;
        repetition_ = 0;
        emit onChanged(false);
    });
    connect(lesson_, &LessonController::currentSentenceChanged, this, &Drill::followSentence);
    connect(lesson_, &LessonController::sentencesChanged, this,
            [this] { reveal({}, Shown::Nothing); });
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
    if (on == on_ || (on && !lesson_->isOpen()))
        return;
    on_ = on;
    if (on) {
        lesson_->setLoopRepeats(false);
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
    seekedBackTo.reset();
    phase_ = Phase::Off;
    repetition_ = 0;
    reveal({}, Shown::Nothing);
    lesson_->setLoopRepeats(true);
    lesson_->playAtFactor(lesson_->speed());
    // a lesson the drill left held is stopped: the play key starts it as always
    if (lesson_->isHeld())
        lesson_->stopEngine();
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
    // a hint of the words to write, not of the sounds the text names ("[applause]")
    const QString text = withoutStageDirections(currentText());
    if (!text.isEmpty())
        reveal(hintOf(text), Shown::Hint);
}

void Drill::revealSentence()
{
    const QString text = currentText();
    if (!text.isEmpty())
        reveal(text, Shown::Sentence);
}

void Drill::reveal(const QString &text, Shown shown)
{
    shown_ = shown;
    if (text == revealed_)
        return;
    revealed_ = text;
    emit revealed(text);
}

void Drill::followSentence(int index)
{
    reveal({}, Shown::Nothing);
    if (on_ && index >= 0)
        startRepetition(1, lesson_->loopStartJustSought());
}

void Drill::playKey()
{
    if (!lesson_->isOpen() || !on_)
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
    if (!lesson_->isStopped()) {
        stopLesson();
        return;
    }
    // the learner plays on from a stop: a little earlier, within the loop
    lesson_->startAt(std::max(lesson_->markInSeconds(), stoppedAt - settings_.rewindSeconds));
}

void Drill::hold()
{
    if (lesson_->isStopped())
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
    // held at the loop end, or seeking back there, the repetition plays on from its start
    stoppedAt = lesson_->isHeld() ? lesson_->markInSeconds() : lesson_->positionSeconds();
    settleTimer->stop();
    seekedBackTo.reset();
    lesson_->stopEngine();
}

void Drill::engineHeld(bool held)
{
    // A hold the engine made before the drill sought back and played on (again, next)
    // arrives late: the engine has moved on since.
    if (!held || !on_ || phase_ != Phase::Playing || settleTimer->isActive() || !lesson_->isHeld())
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
    lesson_->seekToLoopStart();
    seekedBackTo = lesson_->markInSeconds();
    sinceSeekBack.start();
}

void Drill::resumeWhenSettled()
{
    settleTimer->start(int(std::max<qint64>(0, settleMs - sinceSeekBack.elapsed())));
}

void Drill::startRepetition(int repetition, bool atLoopStart)
{
    if (!lesson_->isOpen())
        return;
    pauseTimer->stop();
    settleTimer->stop();
    if (repetition == 1)
        sentence_ = lesson_->currentSentence();
    phase_ = Phase::Playing;
    repetition_ = repetition;
    const double first = settings_.firstPassSpeed;
    lesson_->playAtFactor(repetition == 1 && first > 0 ? first : lesson_->speed());
    emit repetitionStarted(sentence_, repetition, settings_.repetitions);
    const double start = lesson_->markInSeconds();
    if (lesson_->isStopped()) {
        // a stopped lesson takes no seek: it starts there
        lesson_->startAt(start);
    } else if (lesson_->isHeld()) {
        if (atLoopStart) {
            // the seek asked for is the seek back
            seekedBackTo = start;
            sinceSeekBack.start();
        } else if (seekedBackTo != start) {
            seekBack();
        }
        resumeWhenSettled();
    } else if (!atLoopStart) {
        lesson_->seekToLoopStart();
    }
}

} // namespace lesson
