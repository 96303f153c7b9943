#pragma once

#include "lesson/lessonstore.h"

#include <QDate>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class LessonController;

namespace lesson {

// What a review session did.
struct ReviewSummary
{
    // items graded, and those of them recalled (graded better than Again)
    int reviewed = 0;
    int recalled = 0;
    // lesson files that could not be found or were replaced; their items stay due
    QStringList missingLessons;
    // sentences no longer in their lesson's sentences; their items stay due
    int sentencesNotFound = 0;
    // the earliest day anything is due now
    std::optional<QDate> nextDue;
};

// The grade of a review item from a check of its sentence: a sentence by the check's accuracy,
// a word by whether it came out right. After the hint at best Hard; after the whole sentence
// was shown, Again: it was read, not recalled.
review::Grade gradeOfReview(const ReviewItem &item, double accuracy, const QStringList &missedWords,
                            bool hintShown, bool sentenceShown);

// A review session over the lesson memory's due items, one sentence at a time: it opens the
// sentence's lesson, loops the sentence and turns the drill on. The learner's next check of
// that sentence grades every due item of it once; next() goes on to the next sentence, and
// the session ends with a summary when none is left. An item whose lesson file is gone or
// replaced, or whose sentence the lesson no longer has, is passed over with a note and stays
// due. Owned by the LessonController, whose store it reads and writes. GUI thread only.
class ReviewSession final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReviewSession)

public:
    explicit ReviewSession(LessonController *lesson);

    bool isOn() const { return on_; }
    // Whether the sentence on show has been checked and its items graded.
    bool isGraded() const { return graded_; }
    const ReviewSummary &summary() const { return summary_; }

public slots:
    // Starts a session over the items due on today (its day for the whole session).
    void start(const QDate &today);
    // The next due sentence; the session ends when there is none. The items of a sentence
    // left unchecked stay due.
    void next();
    // Ends the session with its summary.
    void stop();

signals:
    // A sentence with `items` due items is on show; `left` items are due after it.
    void sentenceShown(const QString &text, int items, int left);
    // The sentence's items were graded: how many, and how many of them recalled.
    void graded(int items, int recalled);
    // Something the learner should know, such as a lesson passed over.
    void notice(const QString &message);
    void finished(const lesson::ReviewSummary &summary);

private:
    void showNext();
    // Loops the sentence of items_ once the lesson has it; passes it over when the lesson has
    // it no longer, and waits while the lesson's sentences may still change.
    void placeSentence();
    void passOver(const QString &why);
    void checked(int sentence, double accuracy, const QStringList &missedWords);
    void lessonOpened(const QString &file);

    LessonController *lesson_; // the parent
    bool on_ = false;
    bool graded_ = false;
    // the lesson is being opened by the session, not by the learner
    bool opening_ = false;
    // waiting for the lesson's sentences to place items_'s sentence
    bool waiting_ = false;
    int sentence_ = -1;
    QDate today_;
    std::vector<ReviewItem> items_;
    // the ids of items passed over in this session
    QList<qint64> passedOver_;
    ReviewSummary summary_;
};

} // namespace lesson
