#pragma once

#include "lesson/drillsettings.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <optional>

class LessonController;
class QTimer;

namespace lesson {

// The dictation drill: plays the current sentence (the one the loop spans, else the loop
// itself) settings().repetitions times with a pause to type between repetitions, the first
// at firstPassSpeed, then waits or loops the next sentence; reveals a sentence's hint or
// text. While it is on the engine's loop is off, so the engine pauses at the loop end by
// itself: that pause ends a repetition. The learner's pause is a stop, as without the
// drill, and playing on from it starts rewindSeconds earlier. Owned by the LessonController,
// which hands it the play key and the stop while it is on. GUI thread only.
class Drill final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Drill)

public:
    // The demux thread carries out the seek back to the loop's start; the engine resumed
    // before that would play on past the loop end and pause there again at once. No pause
    // between repetitions is shorter.
    static constexpr int settleMs = 150;

    explicit Drill(LessonController *lesson);

    bool isOn() const { return on_; }
    const DrillSettings &settings() const { return settings_; }
    // The repetition playing, in a pause after or last played, from 1; 0 while off.
    int repetition() const { return repetition_; }
    // Milliseconds left of a timed pause between repetitions; -1 when there is none.
    int pauseRemainingMs() const;
    // What is revealed of the current sentence.
    enum class Shown
    {
        Nothing,
        Hint,
        Sentence,
    };
    Shown shown() const { return shown_; }
    // The hint or the text revealed of the current sentence; empty when nothing is.
    QString revealedText() const { return revealed_; }
    // A sentence's hint: each word's first letter or digit kept, its other letters, digits
    // and inner apostrophes as dots, spaces and punctuation kept ("Don't go!" is
    // "D.... g.!", "well-known" is "w...-k...."). Words are those of the shared word rule,
    // hyphens splitting them, as the word check reads them.
    static QString hintOf(const QString &text);

public slots:
    // Applies from the next repetition on, brought into range.
    void setSettings(const lesson::DrillSettings &settings);
    // On: drills the sentence the loop spans, else the one under the playhead, else the
    // loop, from its first repetition, playing it. Needs an open lesson. Off: the loop
    // plays on as without the drill (a lesson paused by the drill is stopped), and
    // nothing stays revealed.
    void setOn(bool on);
    void toggle() { setOn(!on_); }
    // The current sentence from its first repetition.
    void again();
    // The next or previous sentence (the stretch after or before the loop without
    // sentences), from its first repetition while on.
    void next();
    void previous();
    // Reveals the current sentence's hint or its whole text while on; nothing for a
    // sentence without text.
    void revealHint();
    void revealSentence();
    // The play key while on: ends a pause between repetitions (the next one plays), plays
    // the sentence again after its last repetition, else stops or plays on (rewound).
    void playKey();
    // Stops playing while on; the play key goes on from there.
    void hold();

signals:
    void onChanged(bool on);
    // total: settings().repetitions (DrillSettings::untilTold: until the learner moves on);
    // sentence: the lesson's sentence, or -1 for a loop that spans none.
    void repetitionStarted(int sentence, int repetition, int total);
    // A pause between repetitions; seconds is DrillSettings::untilPlayKey for one that
    // lasts until the play key.
    void pauseStarted(double seconds);
    // The last repetition of sentence has played.
    void sentenceFinished(int sentence);
    // What is revealed of the current sentence; empty when that is cleared (another
    // sentence, another lesson, the drill turned off).
    void revealed(const QString &text);

private:
    enum class Phase
    {
        Off,
        Playing, // a repetition plays, or the learner has stopped it
        Pausing, // between repetitions
        Waiting, // after the last repetition
    };
    void engineHeld(bool held);
    void repetitionEnded();
    // atLoopStart: the lesson was just sent to the loop's start (it is not asked again).
    void startRepetition(int repetition, bool atLoopStart = false);
    void seekBack();
    void resumeWhenSettled();
    // Stops the lesson, remembering where for the rewind.
    void stopLesson();
    void followSentence(int index);
    void reveal(const QString &text, Shown shown);
    QString currentText() const;

    LessonController *lesson_; // the parent
    DrillSettings settings_;
    bool on_ = false;
    Phase phase_ = Phase::Off;
    int repetition_ = 0;
    int sentence_ = -1;
    QString revealed_;
    Shown shown_ = Shown::Nothing;
    QTimer *pauseTimer = nullptr;  // child: the end of a timed pause
    QTimer *settleTimer = nullptr; // child: plays on once the seek back is carried out
    QElapsedTimer sinceSeekBack;
    // Where the seek back went while the engine held the lesson; none once it plays on.
    std::optional<double> seekedBackTo;
    // Where the learner stopped a repetition, in seconds.
    double stoppedAt = 0;
};

} // namespace lesson
