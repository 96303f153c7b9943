#pragma once

#include <QWidget>

class LessonController;
class QLabel;
class QTimer;
namespace lesson {
class Drill;
class LessonTranslation;
struct Sentence;
} // namespace lesson

// A line under the picture while the drill is on: the repetition playing ("2 of 3"), the
// pause counting down or waiting for the play key, what is revealed of the sentence and,
// once the learner has checked it or asked, its translation. A revealed sentence with word
// times shows the word being heard, and a click on a word plays the loop on from it.
// Draws what its LessonController, Drill and LessonTranslation report. GUI thread only.
class DrillBar final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DrillBar)

public:
    // How often the word being heard is looked for: the position reports are too far apart
    // for words.
    static constexpr int wordFollowMs = 40;

    // lesson and translation outlive the bar.
    DrillBar(LessonController &lesson, lesson::LessonTranslation &translation,
             QWidget *parent = nullptr);
    // Names the keys that show a hint and the whole sentence in the text's tooltip.
    void showRevealKeys(const QString &hint, const QString &sentence);
    // Names the keys that check a review's sentence and go on to the next one.
    void showReviewKeys(const QString &check, const QString &next);
    // Shows the current sentence's translation, or hides it again.
    void toggleTranslation();

    QString statusText() const;
    // What the line of a running review session says; empty while none runs.
    QString reviewText() const;
    // The revealed text as shown, without its markup.
    QString revealedText() const;
    // The translation shown under the sentence; empty while none is.
    QString translationText() const;

private:
    void showRepetition(int sentence, int repetition, int total);
    void showPause(double seconds);
    void countDown();
    // The current sentence when its text is revealed and it has word times; else null.
    const lesson::Sentence *sentenceWithWords() const;
    // Starts or stops following the words as the lesson plays or stops and the text shows.
    void followPlaying();
    void followWord();
    void showText();
    void playFromWord(const QString &link);
    void showTranslation();
    void sentenceChanged();

    LessonController &lesson_;
    lesson::Drill *drill_; // the lesson's
    lesson::LessonTranslation &translation_;
    QLabel *status = nullptr;
    QLabel *text = nullptr;
    QLabel *translationLine = nullptr;
    QLabel *reviewLine = nullptr;
    QString checkKey;
    QString nextKey;
    QTimer *countdown = nullptr;  // child: redraws a timed pause
    QTimer *wordFollow = nullptr; // child: the word being heard, while it plays
    int heardWord = -1;
    // the learner asked for the current sentence's translation, or checked the sentence
    bool translationWanted = false;
    // when the current sentence became current: a score kept after that is a check of it
    qint64 sentenceSinceMs = 0;
};
