#pragma once

#include "lesson/drillsettings.h"
#include "lesson/lessonprogress.h"
#include "lesson/sentences.h"
#include "review/scheduler.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

struct sqlite3;

namespace lesson {

// How the learner did on one sentence: the best and the latest check, 0 to 1 each.
struct SentenceScore
{
    double best = 0;
    QDateTime bestAt;
    double last = 0;
    QDateTime lastAt;
};

// A sentence's score, or none when it was never checked; one per sentence of a lesson.
using Scores = std::vector<std::optional<SentenceScore>>;

// The score after a check of accuracy (clamped to 0..1) made at `when`: always the last,
// the best when it is better.
SentenceScore withCheck(const std::optional<SentenceScore> &score, double accuracy,
                        const QDateTime &when);

// Where the learner was in a lesson: seconds of the lesson's clock. A loop end of infinity
// lies nowhere (a file of unknown length whose loop end was never set).
struct LessonPlace
{
    double positionSeconds = 0;
    double markInSeconds = 0;
    double markOutSeconds = 0;
};

// What is remembered of a lesson between two sessions.
struct LessonMemory
{
    // none for a file that was replaced since
    std::optional<LessonPlace> place;
    double speed = 1;
    DrillSettings drill;
    // the subtitle file the learner chose last; empty for the one found first
    QString subtitleFile;
};

// The ends the learner gave one sentence of a sentence source: the sentence is its index
// among the source's sentences and its text.
struct SentenceFix
{
    int sentence = 0;
    QString text;
    double start = 0;
    double end = 0;
};

// The share of a lesson's sentences checked and their mean best accuracy.
struct ScoreSummary
{
    int checked = 0;
    int total = 0;
    double meanBest = 0; // over the checked ones; 0 when none is
};
ScoreSummary summarise(const Scores &scores);

// Something the learner missed in a check, to be reviewed: a whole sentence, or one word
// of it. It keeps its lesson file as that was at the check, so it outlives the file moving
// or being replaced.
struct ReviewItem
{
    enum class Kind
    {
        Sentence = 0,
        Word = 1,
    };
    qint64 id = 0;
    Kind kind = Kind::Sentence;
    // the lesson file's absolute path, size and modification time at the check
    QString lessonFile;
    qint64 lessonSize = 0;
    QDateTime lessonModified;
    // the sentence: its source (a file) and ends in the lesson's clock, and its text
    QString origin;
    double start = 0;
    double end = 0;
    QString text;
    // a Word item's word; empty for a Sentence
    QString word;
    // the words missed or misheard in the sentence, in reading order
    QStringList missedWords;
    review::MemoryState memory;
    QDate due;
    QDate lastReview;
    int reviews = 0;
    int lapses = 0;
    // The lesson file is no longer as it was at the check (gone, or another size or time).
    bool needsFile = false;
};

// The learner's memory of every lesson in one SQLite database (WAL journal, one
// connection, so this process is its one writer): per lesson file its place, loop, speed,
// drill settings and chosen subtitles, per sentence its scores, and the ends the learner
// gave sentences. A lesson is its file's absolute path; its size and modification time
// tell a replaced file, whose place, loop, scores and fixed ends (which point into a
// recording that is gone) are dropped while its speed, drill settings and subtitle choice
// stay. A sentence is its start, end and text, so the
// sentences of another subtitle file never share scores. Review items keep their lesson file
// themselves: a replaced or moved file leaves them marked as needing it. The log of checks
// names its lessons by path and outlives them. A database that cannot be
// read or was written by a newer program is moved aside and a new one begun; notice() says so. Not
// thread-safe: one thread (the GUI thread) uses it.
class LessonStore final
{
    Q_DECLARE_TR_FUNCTIONS(lesson::LessonStore)
    Q_DISABLE_COPY_MOVE(LessonStore)

public:
    // The schema this program writes (PRAGMA user_version).
    static constexpr int schemaVersion = 4;
    // The range of the desired retention the learner may choose.
    static constexpr double minRetention = 0.7;
    static constexpr double maxRetention = 0.97;

    // Opens databaseFile, creating it and its folder as needed.
    explicit LessonStore(const QString &databaseFile);
    ~LessonStore();

    // Whether the database works; when not, every call does nothing and error() says why.
    bool isOpen() const { return db != nullptr; }
    QString error() const { return error_; }
    // What the learner should be told about the opening: a database moved aside, or one
    // that could not be opened at all; empty when all went well.
    QString notice() const { return notice_; }

    // The memory of file as it is now on disk; none when nothing is remembered of it or
    // the file cannot be read. A replaced file's place and scores are forgotten here.
    std::optional<LessonMemory> lesson(const QString &file);
    // Remembers file's state, with its size and modification time as they are now.
    bool saveLesson(const QString &file, const LessonMemory &memory);
    // Forgets everything of file, its scores included; its review items, which keep their
    // lesson themselves, stay.
    bool forget(const QString &file);

    // The scores of file's sentences, in their order.
    Scores scores(const QString &file, const std::vector<Sentence> &sentences);
    // Keeps a check's accuracy (clamped to 0..1) of the sentence, made at `when`: the
    // last always, the best when it is better. The lesson is remembered from then on.
    // The score as it stands, or none when it could not be written.
    std::optional<SentenceScore> recordScore(const QString &file, const Sentence &sentence,
                                             double accuracy, const QDateTime &when);

    // The ends the learner gave sentences of the source origin (a file) in file, in no
    // particular order.
    std::vector<SentenceFix> sentenceFixes(const QString &file, const QString &origin);
    // Keeps fix for the sentence of origin that had the ends of `before` until now; its
    // scores move to the new ends with it. The lesson is remembered from then on.
    bool keepSentenceFix(const QString &file, const QString &origin, const SentenceFix &fix,
                         const Sentence &before);

    // Keeps what a check of the sentence of origin in file (accuracy 0 to 1) missed, on
    // `today`: the sentence and each of missedWords as review items with their first
    // review, a sentence graded by its accuracy and a word as forgotten. A sentence checked
    // without error gives none, one with no word right the sentence only. Items already kept (the same lesson path, sentence text,
    // kind and word) stay as they are. False when they could not be written.
    bool addReviewItems(const QString &file, const QString &origin, const Sentence &sentence,
                        double accuracy, const QStringList &missedWords, const QDate &today);
    // The chance of recall at which review items fall due from now on, brought into
    // 0.7..0.97: higher brings them back sooner.
    void setDesiredRetention(double retention);
    double desiredRetention() const { return scheduler.desiredRetention; }
    // How many review items are due on `today`, those of earlier days included.
    int dueCount(const QDate &today);
    // The due item that has waited longest, leaving out those of passedOver (ids), or none.
    std::optional<ReviewItem> nextDue(const QDate &today, const QList<qint64> &passedOver = {});
    // The due items of item's sentence (its lesson path and text), item included: what one
    // check of that sentence reviews.
    std::vector<ReviewItem> dueItemsOfSentence(const ReviewItem &item, const QDate &today);
    // Keeps a review of item on `today` with grade: its memory moves on by the days since its
    // last review and it is due again after the interval that gives. False when it could not
    // be written.
    bool recordReview(const ReviewItem &item, review::Grade grade, const QDate &today);
    // The earliest day any item is due on, or none without items.
    std::optional<QDate> firstDueDay();
    // The items whose lesson file is no longer as it was at their check.
    std::vector<ReviewItem> itemsNeedingFile();
    // Every review item, in the order they were kept; what is read before a failure.
    std::vector<ReviewItem> reviewItems();

    // Logs a check of the sentence text of file, made at `when`, with its accuracy (clamped
    // to 0..1) and the words it missed, for the learner's progress (lessonprogress.cpp). The
    // log outlives the lesson being forgotten. False when it could not be written.
    bool logCheck(const QString &file, const QString &text, double accuracy,
                  const QStringList &missedWords, const QDateTime &when);
    // The learner's progress as of `today`, from the log of checks and the review items.
    LearningProgress progress(const QDate &today);

private:
    struct CloseDb
    {
        void operator()(sqlite3 *d) const;
    };
    // Opens the file and brings its schema to schemaVersion; false with why when the file
    // is no database of ours that this program can use.
    bool openDatabase(QString *why, bool *damaged);
    // Moves the damaged file (and its log) aside and begins a new one; false when it could
    // not be moved.
    bool moveAside(const QString &reason);
    // The row of file as it is on disk now (a replaced file's place and scores dropped
    // first); with create, a new row of defaults when there is none. 0 when there is none,
    // the file is missing or the database fails.
    qint64 lessonId(const QString &file, bool create);
    bool exec(const char *sql);
    // error() becomes the connection's last error.
    void fail();

    // the first review of a new review item
    review::Scheduler scheduler;
    QString path;
    std::unique_ptr<sqlite3, CloseDb> db;
    QString error_;
    QString notice_;
};

} // namespace lesson
