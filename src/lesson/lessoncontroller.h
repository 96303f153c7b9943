#pragma once

#include "lesson/drillsettings.h"
#include "lesson/lessonstore.h"
#include "lesson/sentences.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class Media;
class PictureSource;
class QTimer;
namespace lesson {
class Drill;
class ReviewSession;
class SpeechAnalyser;
} // namespace lesson

// The lesson being studied: owns its Media and its sentences, pauses and waveform peaks,
// and turns the learner's commands (loop marks from the position, nudges, the stretch or
// sentence before or after the loop, seeks, play/pause, stop, the speed) into calls on it. The
// window's keys, the button bar, the keys the editor forwards and the tray only call these
// commands, and the views draw what the signals report. Times are in seconds of the lesson's
// reference stream, counted as the file counts them (its start time included). With a
// LessonStore (which it owns) a lesson reopens where it was left, with its loop, speed, drill
// settings, subtitle file and scores. Not a widget; GUI thread only.
class LessonController final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LessonController)
    friend class LessonTestProbe; // tests look at the engine's own state

public:
    // How the engine prepares the pictures for the view that shows them.
    struct PictureFormat
    {
        bool powerOfTwo = false; // the view's textures need power-of-two sizes
        int scaleFlags = 0;      // the converter's scaling (SWS_*)
        int pixelFormat = 0;     // the picture ring's format (AV_PIX_FMT_*)
    };

    // How far a nudge moves a loop mark unless the learner chose otherwise, and a skip the
    // position.
    static constexpr double markNudgeSeconds = 0.1;
    static constexpr double skipSeconds = 30.0;
    // How near a pause's edge or centre a mark placed by hand must be to snap to it.
    static constexpr double snapSeconds = 0.08;
    // How often the position is reported while the lesson plays.
    static constexpr int positionIntervalMs = 250;
    // How often a playing lesson's state is written to the store: what a crash can lose.
    static constexpr int saveIntervalMs = 30000;
    // The speeds the learner steps through, slowest first; 1 is the recorded speed.
    static constexpr std::array<double, 12> speedSteps{0.5, 0.6, 0.7, 0.75, 0.8, 0.85,
                                                       0.9, 1.0, 1.1, 1.25, 1.5, 2.0};

    explicit LessonController(QObject *parent = nullptr);
    ~LessonController() override;

    // Applies to the lessons opened from now on.
    void setPictureFormat(const PictureFormat &format) { pictureFormat = format; }
    // The memory of the lessons opened from now on: they open as they were left, and their
    // state is written when they close, when they stop playing and every intervalMs while
    // they play. Without a store nothing outlives the lesson.
    void setStore(std::unique_ptr<lesson::LessonStore> store, int intervalMs = saveIntervalMs);
    lesson::LessonStore *store() const { return store_.get(); }
    // The chance of recall at which review items fall due, for this store and any later one.
    void setDesiredRetention(double retention);

    // The lesson's pictures for a view, or null when no lesson is open.
    PictureSource *pictures() const;
    bool hasVideo() const;
    // The attached cover picture of an audio lesson; null without.
    QImage coverArt() const;
    // The dictation drill over this controller's lessons; off until the learner turns it on.
    lesson::Drill *drill() const { return drill_; }
    // The review of what the learner missed, over this controller's lessons and store.
    lesson::ReviewSession *review() const { return review_; }
    QString fileName() const { return fileName_; }
    bool isOpen() const { return media_ != nullptr; }
    bool hasKnownLength() const;
    // Whether the lesson is stopped (by the learner, or never started); true without one.
    bool isStopped() const;
    // Whether the engine holds the lesson at the loop end, as it does by itself while its
    // loop is off; a held lesson is not stopped.
    bool isHeld() const;

    double positionSeconds() const;
    double markInSeconds() const;
    // A loop end the learner never set on a file of unknown length lies nowhere: infinity.
    double markOutSeconds() const;
    double startSeconds() const;
    double durationSeconds() const;
    // The place of a time on the slider, 0 to 1; 0 for a file of unknown length.
    double fractionAt(double seconds) const;
    // "hh:mm:ss" of a time, as the lesson's clock shows it.
    QString timeText(double seconds) const;
    // The lesson's speed, one of speedSteps. It stays when another lesson opens, unless that
    // one has a speed of its own remembered.
    double speed() const { return speed_; }
    // How the drill runs this lesson's sentences; like the speed, remembered per lesson.
    // A lesson without a memory gets the drill's defaults, once there are any, and
    // otherwise keeps the settings as they are.
    const lesson::DrillSettings &drillSettings() const;
    // The checks' scores of the lesson's sentences, one per sentence of sentences().
    const lesson::Scores &scores() const { return scores_; }

    // What is known of the lesson's sentences, pauses and sound; all empty when no lesson
    // is open, and emptied before another one opens.
    const lesson::Sentences &sentences() const { return sentences_; }
    const std::vector<lesson::Pause> &pauses() const { return pauses_; }
    const lesson::Peaks &peaks() const { return peaks_; }
    // The sentence the loop spans (its marks within a few milliseconds of the sentence's
    // ends, as the engine clamped them), or -1.
    int currentSentence() const { return currentSentence_; }
    // The sentence that holds seconds, else the one nearest to it; -1 when there are none.
    int sentenceAt(double seconds) const;
    // The sentence whose ends the loop's marks are meant to fix: the current one; else,
    // once the marks were moved off it, the last one that was current since the sentences
    // were set; else the one the loop overlaps most. -1 when there is none.
    int sentenceBeingFixed() const;
    // Whether the speech pass over the lesson is running.
    bool isAnalysing() const { return analysing; }
    // The subtitle files the learner can choose from for this lesson.
    QStringList subtitleFiles() const { return subtitleFiles_; }
    // The lesson texts (transcripts) the learner can choose from for this lesson: those
    // beside it and any chosen.
    QStringList lessonTextFiles() const { return lessonTextFiles_; }
    // The lesson text whose sentences the lesson has, or waits for; empty without one.
    QString lessonText() const { return textFile_; }
    // Whether the lesson text is being placed in the sound (the speech pass's progress then
    // goes on with it).
    bool isAligningText() const { return aligningText_; }

public slots:
    // Opens file as the new lesson and plays it; the lesson playing until now stops
    // first and goes last. False (with error() saying why) when the file does not open;
    // no lesson is open then.
    bool open(const QString &file);
    // Stops and closes the lesson.
    void close();
    // Plays a stopped lesson, stops a playing one; the drill's play key while it is on.
    void playPause();
    // Stops playing, keeping the lesson open (through the drill while it is on).
    void stopPlaying();
    // The loop starts or ends where the lesson is now.
    void setMarkInHere();
    void setMarkOutHere();
    // Moves a loop mark by seconds (negative: earlier); the engine keeps it in range and a
    // picture from the other.
    void nudgeMarkIn(double seconds);
    void nudgeMarkOut(double seconds);
    // The stretch before the loop, or after it, becomes the loop. With sentences, the
    // previous or next sentence (the last one starting before the loop's start, the first
    // one starting after it) becomes the loop instead; at either end the loop stays.
    void previousStretch();
    void nextStretch();
    // Sentence index becomes the loop, played from its start.
    void loopSentence(int index);
    // The sentence under the playhead (or the nearest one) becomes the loop.
    void loopSentenceHere();
    // True only while the marks of a loop just moved are announced (marksChanged,
    // currentSentenceChanged), the lesson having been sent to the loop's start already: a
    // listener that plays the loop from its start then asks for no second seek, which would
    // play the start twice once the first one's sound is on its way to the output.
    bool loopStartJustSought() const { return loopStartSought_; }
    // A loop mark placed by hand (a dragged handle): snaps to a pause's edge or centre
    // within snapSeconds; the engine keeps it in range. A moved start plays the loop
    // from there.
    void setMarkAt(bool markIn, double seconds);
    // The loop spans the whole lesson again.
    void resetMarks();
    // Skips by seconds (negative: back).
    void seekBy(double seconds);
    // The slider's rule for a place the learner picked, 0 to 1: inside the loop it seeks
    // there; before the loop's start or past its end it moves that mark there instead.
    // The next position report is skipped, so the slider is not drawn back meanwhile.
    void seekToFraction(double f);
    void setVolume(double left, double right);
    // The step nearest factor becomes the speed (0.5 to 2).
    void setSpeed(double factor);
    // One step slower or faster; nothing beyond the slowest or fastest step.
    void slower();
    void faster();
    // The recorded speed.
    void normalSpeed();
    // Reports the position now, unless a slider seek has just been made.
    void reportPosition();
    // The lesson's sentences from its subtitles; they replace any it has.
    void setSentences(const lesson::Sentences &sentences);
    // What the speech pass found: its pauses and peaks always, its sentences only when the
    // lesson has none from subtitles. Ends the pass's progress.
    void setAnalysis(const lesson::SpeechAnalysis &analysis);
    // How far the speech pass is, 0 to 1; 1 also when it ends without a result.
    void setAnalysisProgress(double fraction);
    // Emptied with the lesson's sentences.
    void setSubtitleFiles(const QStringList &files);
    // The learner picked another of subtitleFiles(), or loaded a subtitle file of any
    // name, for this lesson: its sentences take the place of the lesson's and it joins
    // subtitleFiles(), or error() says why it gives none and the lesson keeps its sentences.
    // Cues it left out are told by notice().
    void chooseSubtitleFile(const QString &file);
    // The learner picked a lesson text for this lesson (one of lessonTextFiles(), or a
    // transcript of any name): it is placed in the sound in the background, and then its
    // sentences take the place of the lesson's. It joins lessonTextFiles(), or error() says
    // why it gives none and the lesson keeps its sentences.
    void chooseLessonText(const QString &file);
    // Text the learner pasted becomes the lesson text, kept as a file in the program's data
    // folder, so that the lesson's memory can keep the choice.
    void pasteLessonText(const QString &text);
    // The placed sentences of the lesson text; ends the progress.
    void setTextAlignment(const lesson::Sentences &sentences);
    void setDrillSettings(const lesson::DrillSettings &settings);
    // The learner's drill settings for lessons opened for the first time; the lesson open
    // now keeps its own.
    void setDrillDefaults(const lesson::DrillSettings &settings) { drillDefaults_ = settings; }
    // Keeps a check's accuracy (0 to 1) of sentence index: its last score, and its best
    // when better; with a store, for good.
    void recordScore(int sentence, double accuracy);
    // A check of sentence index that missed missedWords: keeps its score as recordScore does
    // and, with a store, what it missed as review items (the sentence when the check was
    // not all right, and each missed word) and the check in the log of the learner's progress.
    void recordCheck(int sentence, double accuracy, const QStringList &missedWords);
    // The loop's marks become the ends of sentenceBeingFixed(), kept between its neighbours,
    // and its place is no longer unsure; with a store they stay with that sentence of its
    // source (a subtitle file or stream, or a lesson text) whenever the source's sentences
    // are set again. error() says why when there is no such sentence, its sentences come
    // from pauses, or the marks leave it no room.
    void keepMarksForSentence();
    // Forgets what is remembered of the lesson, its scores and kept marks included: the
    // sentences are as their source gave them, the loop spans the whole lesson again and it
    // plays from its start, remembered anew from then on.
    void forgetLesson();
    // Writes the lesson's state to the store now.
    void saveLesson();

    // What the drill plays the lesson with; nothing happens without an open lesson.
    // On, the lesson repeats its loop; off, the engine holds it at the loop end.
    void setLoopRepeats(bool on);
    // Plays at factor times the recorded speed; speed() stays as it is.
    void playAtFactor(double factor);
    // A stopped lesson starts playing at seconds; a playing one ignores it.
    void startAt(double seconds);
    // The lesson goes to the loop's start; a held one stays held there.
    void seekToLoopStart();
    // A held lesson plays on.
    void releaseHold();
    // Stops the lesson where it is, a held one too, without asking the drill.
    void stopEngine();

signals:
    // The lesson's engine and its pictures are about to go: drop every pointer to them.
    void lessonClosing();
    // A new lesson is in place, about to play.
    void lessonOpened(const QString &file);
    // No lesson is open any more (closed, or a file that did not open).
    void lessonClosed();
    void playingChanged(bool playing);
    // The engine held the lesson at the loop end (true) or let it play on (false).
    void held(bool on);
    // Where the engine put the marks (it clamps them), not where they were asked.
    void marksChanged(double inSeconds, double outSeconds);
    void positionChanged(double seconds);
    // The speed has become another step.
    void speedChanged(double factor);
    void error(const QString &message);
    // Something the learner should know that asks for no answer.
    void notice(const QString &message);
    // sentences() has changed (also when emptied).
    void sentencesChanged();
    // pauses() and peaks() have changed (also when emptied).
    void waveformChanged();
    // The speech pass is this far, 0 to 1; 1 once it has ended in any way.
    void analysisProgress(double fraction);
    void currentSentenceChanged(int index);
    void subtitleFileChosen(const QString &file);
    void lessonTextChosen(const QString &file);
    // scores() has changed: other sentences, a check kept, or the lesson forgotten.
    void scoresChanged();
    void drillSettingsChanged(const lesson::DrillSettings &settings);
    // A check of sentence index was kept (recordCheck).
    void checked(int sentence, double accuracy, const QStringList &missedWords);

private:
    // Takes the Media out of the controller before it is stopped, so that nothing reaches
    // it while it goes: closing its sound can run the event loop, in which the next
    // command arrives. The caller destroys what it returns last.
    std::unique_ptr<Media> takeMedia();
    double secondsOf(int64_t ticks) const;
    int64_t ticksOf(double seconds) const;
    int64_t ticksAtFraction(double f) const;
    void nudge(bool markIn, double seconds);
    // Makes [in, out] the loop in an order the engine's clamps allow, and plays it from in.
    void loopBetween(double in, double out);
    void clearLessonData();
    // Reads the new lesson's subtitles (the file preferred, else the first beside it, else a
    // stream inside it) and starts the pass over its sound.
    void findSentences(const QString &preferredSubtitles);
    // Puts the loop and the position where a remembered lesson had them.
    void restorePlace(const lesson::LessonPlace &place);
    void loadScores();
    // The lesson's sentences from a subtitle file; false (with error()) when it cannot be
    // read or gives none, and then the lesson's sentences stay.
    bool readSubtitles(const QString &file);
    // Starts placing the text of file in the sound, after a speech pass if one is due; false
    // (with why) when the file gives no text.
    bool startLessonText(const QString &file, QString *why);
    // Ends the progress of the passes over the sound once none is running.
    void endProgress();
    void followCurrentSentence();
    // Puts the kept marks on the sentences just set, before their scores are looked up.
    void applySentenceFixes();
    // The sentences as their source gave them, the kept marks forgotten.
    void forgetSentenceFixes();
    void emitMarks();
    // Moves the loop with move() (its marks, and a seek to its start), announcing the marks
    // once, after the seek was asked for.
    template <typename Move> void moveLoop(Move move);
    void followRunning();
    void stepSpeed(int steps);

    std::unique_ptr<Media> media_;
    QString fileName_;
    PictureFormat pictureFormat;
    QTimer *positionTimer = nullptr; // child
    QTimer *saveTimer = nullptr;     // child
    std::unique_ptr<lesson::LessonStore> store_;
    double desiredRetention_ = review::Scheduler().desiredRetention;
    // Finds pauses, sentences and peaks in a thread of its own; child.
    lesson::SpeechAnalyser *analyser = nullptr;
    lesson::Drill *drill_ = nullptr;          // child
    lesson::ReviewSession *review_ = nullptr; // child
    std::optional<lesson::DrillSettings> drillDefaults_;
    // moveLoop() holds the engine's mark reports back until the loop is where it goes
    bool holdingMarks_ = false;
    bool loopStartSought_ = false;
    bool seekPending = false;
    double speed_ = 1.0;
    lesson::Sentences sentences_;
    std::vector<lesson::Pause> pauses_;
    lesson::Peaks peaks_;
    QStringList subtitleFiles_;
    QStringList lessonTextFiles_;
    QString textFile_;
    bool aligningText_ = false;
    int currentSentence_ = -1;
    // the current sentence last, -1 until one is current after the sentences were set
    int lastCurrentSentence_ = -1;
    // the sentences as their source gave them, before the kept marks
    lesson::Sentences givenSentences_;
    bool analysing = false;
    lesson::Scores scores_;
};
