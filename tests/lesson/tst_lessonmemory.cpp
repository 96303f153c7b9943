// The memory of lessons: what a lesson reopens with after a restart and after its process
// was killed while it played, the scores of sentences, the marks kept for a sentence, a
// replaced lesson file, what checks missed kept for review and logged, a loop too short to play,
// databases of older schemas brought up to date, and damaged or newer databases moved aside
// for a new one.
#include "lesson/drill.h"
#include "lesson/lessoncontroller.h"
#include "lesson/lessonstore.h"
#include "lesson/reviewsession.h"
#include "paths/apppaths.h"
#include "review/scheduler.h"
#include "support/mediafixtures.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <sqlite3.h>

#include <algorithm>
#include <cmath>

class TestLessonMemory : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void lessonReopensAsItWasLeft();
    void killedWhilePlayingKeepsTheLastSave();
    void replacedFileLosesItsPlaceAndScores();
    void keptMarksFixASentenceForGood();
    void schemaOneDatabaseKeepsWhatItHas();
    void schemaTwoDatabaseKeepsWhatItHas();
    void schemaThreeDatabaseKeepsWhatItHas();
    void checkKeepsWhatItMissedForReview();
    void reviewGrade_data();
    void reviewGrade();
    void reviewSessionGradesDueSentencesAndPassesOverMissingLessons();
    void rememberedLoopTooShortToPlayIsTheWholeLesson_data();
    void rememberedLoopTooShortToPlayIsTheWholeLesson();
    void unusableDatabaseIsMovedAside_data();
    void unusableDatabaseIsMovedAside();

private:
    QString lessonFile() const { return fx.path(QStringLiteral("lesson.mkv")); }
    // A controller on the lesson database, as the program makes it when it starts.
    static std::unique_ptr<LessonController> start(int saveIntervalMs = 30000)
    {
        auto c = std::make_unique<LessonController>();
        c->setStore(std::make_unique<lesson::LessonStore>(AppPaths::lessonDatabase()),
                    saveIntervalMs);
        return c;
    }

    MediaFixtures fx;
    QTemporaryDir userData;
};

namespace {

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

void TestLessonMemory::initTestCase()
{
    QVERIFY(fx.dir.isValid() && userData.isValid());
    // the user's data folder, where the database lies, is this test's own
    qputenv("XDG_DATA_HOME", QFile::encodeName(userData.path()));
    QVERIFY(AppPaths::lessonDatabase().startsWith(userData.path()));
    // Matroska counts in milliseconds: sentence ends are exact marks
    QVERIFY(fx.make(QStringLiteral("lesson.mkv"),
                    MediaFixtures::videoSource(QStringLiteral("160x120"), 6) +
                        MediaFixtures::toneSource(6) + MediaFixtures::h264()));
    QVERIFY(write(fx.path(QStringLiteral("lesson.srt")),
                  "1\n00:00:00,500 --> 00:00:01,500\nOne.\n\n"
                  "2\n00:00:02,000 --> 00:00:03,000\nTwo.\n\n"
                  "3\n00:00:04,000 --> 00:00:05,000\nThree.\n"));
    // the same times, other words: none of the first file's scores belong to it
    QVERIFY(write(fx.path(QStringLiteral("lesson.en.srt")),
                  "1\n00:00:00,500 --> 00:00:01,500\nWon.\n\n"
                  "2\n00:00:02,000 --> 00:00:03,000\nToo.\n\n"
                  "3\n00:00:04,000 --> 00:00:05,000\nThree.\n"));
}

void TestLessonMemory::init()
{
    QDir(QFileInfo(AppPaths::lessonDatabase()).path()).removeRecursively();
}

// Everything of a lesson comes back in a new controller on a new store: the place, the
// loop (a sentence of the subtitle file chosen, known as that sentence again), the speed,
// the drill settings, the scores best and last; another subtitle file's sentences have
// none of them; forgetting leaves no scores and the whole lesson as the loop.
void TestLessonMemory::lessonReopensAsItWasLeft()
{
    const QString enSrt = fx.path(QStringLiteral("lesson.en.srt"));
    lesson::DrillSettings drill;
    drill.repetitions = 5;
    drill.pauseSeconds = lesson::DrillSettings::untilPlayKey;
    drill.firstPassSpeed = 0.75;
    drill.advance = true;
    drill.rewindSeconds = 2.5;
    double in = 0;
    double out = 0;
    double held = 0;
    {
        auto first = start();
        QVERIFY(first->open(lessonFile()));
        QCOMPARE(first->subtitleFiles().value(1), enSrt);
        first->chooseSubtitleFile(enSrt);
        first->setSpeed(0.8);
        first->setDrillSettings(drill);
        first->loopSentence(1);
        QCOMPARE(first->currentSentence(), 1);
        in = first->markInSeconds();
        out = first->markOutSeconds();
        first->recordScore(1, 0.6);
        first->recordScore(1, 0.9);
        first->recordScore(1, 0.7);
        first->recordScore(2, 0.25);
        QTRY_VERIFY_WITH_TIMEOUT(first->positionSeconds() > in + 0.2, 20000);
        first->stopPlaying(); // the position holds still
        held = first->positionSeconds();
    } // the program ends

    auto second = start();
    QSignalSpy positions(second.get(), &LessonController::positionChanged);
    QVERIFY(second->open(lessonFile()));
    QCOMPARE(second->sentences().origin, enSrt);
    QCOMPARE(second->speed(), 0.8);
    QCOMPARE(second->drillSettings(), drill);
    QCOMPARE(second->markInSeconds(), in);
    QCOMPARE(second->markOutSeconds(), out);
    QCOMPARE(second->currentSentence(), 1);
    // the views are told the place where the lesson stopped
    QVERIFY(!positions.isEmpty());
    QCOMPARE(positions.last().at(0).toDouble(), held);

    const lesson::Scores scores = second->scores();
    QCOMPARE(scores.size(), size_t(3));
    QVERIFY(!scores[0]);
    QVERIFY(scores[1] && scores[2]);
    QCOMPARE(scores[1]->best, 0.9);
    QCOMPARE(scores[1]->last, 0.7);
    QVERIFY(scores[1]->bestAt <= scores[1]->lastAt);
    QCOMPARE(scores[2]->best, 0.25);

    // the first file's words differ but for the third sentence
    QSignalSpy changed(second.get(), &LessonController::scoresChanged);
    second->chooseSubtitleFile(fx.path(QStringLiteral("lesson.srt")));
    QVERIFY(!changed.isEmpty());
    QVERIFY(!second->scores()[0] && !second->scores()[1]);
    QVERIFY(second->scores()[2]);

    second->forgetLesson();
    QVERIFY(!second->scores()[2]);
    second.reset();
    auto third = start();
    QVERIFY(third->open(lessonFile()));
    QCOMPARE(third->fractionAt(third->markInSeconds()), 0.0);
    QCOMPARE(third->fractionAt(third->markOutSeconds()), 1.0);
    QVERIFY(std::none_of(third->scores().begin(), third->scores().end(),
                         [](const auto &s) { return s.has_value(); }));
}

// A lesson process killed while it plays loses at most its save interval: its successor
// opens the lesson at the speed it had and no further back than one interval's play.
void TestLessonMemory::killedWhilePlayingKeepsTheLastSave()
{
    constexpr int intervalMs = 400;
    QProcess player;
    player.start(QString::fromUtf8(LESSONPLAYER),
                 {AppPaths::lessonDatabase(), lessonFile(), QString::number(intervalMs),
                  QStringLiteral("1.25")});
    QVERIFY(player.waitForStarted(10000));
    // the lesson plays past three seconds (it loops back to its start at six)
    double told = 0;
    const auto readPositions = [&] {
        while (player.canReadLine()) {
            const QByteArray line = player.readLine().trimmed();
            if (line.startsWith("position "))
                told = line.mid(9).toDouble();
        }
        return told;
    };
    QTRY_VERIFY_WITH_TIMEOUT(readPositions() > 3.0 && told < 4.5, 60000);
    player.kill();
    QVERIFY(player.waitForFinished(10000));
    readPositions();

    auto next = start();
    QSignalSpy positions(next.get(), &LessonController::positionChanged);
    QVERIFY(next->open(lessonFile()));
    QCOMPARE(next->speed(), 1.25);
    QVERIFY(!positions.isEmpty());
    const double restored = positions.last().at(0).toDouble();
    // one interval at 1.25x is half a second of the lesson; the rest is a busy machine's
    // late timers
    QVERIFY2(restored > told - 1.5 && restored < told + 0.3,
             qPrintable(QStringLiteral("restored %1, last told %2").arg(restored).arg(told)));
}

// A file replaced under the same name is another recording: its place and scores are
// dropped, its speed, drill settings and subtitle choice stay.
void TestLessonMemory::replacedFileLosesItsPlaceAndScores()
{
    const QString file = fx.path(QStringLiteral("replaced.mkv"));
    QVERIFY(QFile::copy(lessonFile(), file));
    const lesson::Sentence sentence{2.0, 3.0, QStringLiteral("Two.")};
    lesson::LessonMemory memory;
    memory.place = lesson::LessonPlace{2.5, 2.0, 3.0};
    memory.speed = 0.6;
    memory.drill.repetitions = 7;
    memory.subtitleFile = fx.path(QStringLiteral("lesson.en.srt"));
    {
        lesson::LessonStore store(AppPaths::lessonDatabase());
        QVERIFY(store.saveLesson(file, memory));
        QVERIFY(store.recordScore(file, sentence, 0.8, QDateTime::currentDateTimeUtc()));
        const std::optional<lesson::LessonMemory> kept = store.lesson(file);
        QVERIFY(kept && kept->place);
        QCOMPARE(kept->place->positionSeconds, 2.5);
    }
    // the same size, another modification time
    QFile replaced(file);
    QVERIFY(replaced.open(QIODevice::ReadWrite));
    QVERIFY(replaced.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                 QFileDevice::FileModificationTime));
    replaced.close();

    lesson::LessonStore store(AppPaths::lessonDatabase());
    const std::optional<lesson::LessonMemory> after = store.lesson(file);
    QVERIFY(after);
    QVERIFY(!after->place);
    QCOMPARE(after->speed, 0.6);
    QCOMPARE(after->drill, memory.drill);
    QCOMPARE(after->subtitleFile, memory.subtitleFile);
    QVERIFY(!store.scores(file, {sentence})[0]);
}

// A lesson text's sentence placed unsure, its loop nudged off it and kept: it takes the
// marks (its score moving with it) and is sure, in this session and when the lesson
// reopens and the same sentences are set again; marks that leave it no room are refused;
// forgetting the lesson gives the sentences as the aligner placed them.
void TestLessonMemory::keptMarksFixASentenceForGood()
{
    lesson::Sentences placed;
    placed.source = lesson::SentenceSource::LessonText;
    placed.origin = fx.path(QStringLiteral("lesson.txt"));
    placed.items = {{0.5, 1.5, QStringLiteral("One.")},
                    {2.0, 3.0, QStringLiteral("Two.")},
                    {4.0, 5.0, QStringLiteral("Three.")}};
    placed.items[1].unsure = lesson::Unsure::NotHeard;
    placed.items[1].words = {{0, 4, 2.25, 2.75}};
    const auto ends = [](const LessonController &c, size_t i) {
        const lesson::Sentence &s = c.sentences().items.at(i);
        return std::pair{s.start, s.end};
    };
    {
        auto first = start();
        QVERIFY(first->open(lessonFile()));
        first->setTextAlignment(placed);
        first->loopSentence(1);
        first->recordScore(1, 0.7);
        first->nudgeMarkIn(-0.3);
        first->nudgeMarkOut(0.4);
        QCOMPARE(first->currentSentence(), -1);
        QCOMPARE(first->sentenceBeingFixed(), 1);
        QSignalSpy changed(first.get(), &LessonController::sentencesChanged);
        QSignalSpy errors(first.get(), &LessonController::error);
        first->keepMarksForSentence();
        QVERIFY2(errors.isEmpty(), qPrintable(errors.value(0).value(0).toString()));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(ends(*first, 1), std::pair(1.7, 3.4));
        QCOMPARE(first->sentences().items[1].unsure, lesson::Unsure::No);
        // the word keeps its share of the sentence
        QCOMPARE(first->sentences().items[1].words[0].start, 1.7 + 0.25 * 1.7);
        QCOMPARE(first->currentSentence(), 1);

        // past the next sentence's start: no room left
        first->setMarkAt(false, 5.8);
        first->setMarkAt(true, 5.2);
        first->keepMarksForSentence();
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0][0].toString().contains(QLatin1String("sentence 2")));
        QCOMPARE(ends(*first, 1), std::pair(1.7, 3.4));
    }

    auto second = start();
    QVERIFY(second->open(lessonFile()));
    second->setTextAlignment(placed);
    QCOMPARE(ends(*second, 1), std::pair(1.7, 3.4));
    QCOMPARE(second->sentences().items[1].unsure, lesson::Unsure::No);
    QCOMPARE(ends(*second, 0), std::pair(0.5, 1.5));
    QVERIFY(second->scores()[1]);
    QCOMPARE(second->scores()[1]->best, 0.7);
    // another source's sentences at the same index are not fixed
    lesson::Sentences other = placed;
    other.origin = fx.path(QStringLiteral("other.txt"));
    second->setTextAlignment(other);
    QCOMPARE(ends(*second, 1), std::pair(2.0, 3.0));

    second->setTextAlignment(placed);
    second->forgetLesson();
    QCOMPARE(ends(*second, 1), std::pair(2.0, 3.0));
    QCOMPARE(second->sentences().items[1].unsure, lesson::Unsure::NotHeard);
    second.reset();
    auto third = start();
    QVERIFY(third->open(lessonFile()));
    third->setTextAlignment(placed);
    QCOMPARE(ends(*third, 1), std::pair(2.0, 3.0));
    QCOMPARE(third->sentences().items[1].unsure, lesson::Unsure::NotHeard);
}

// A database as the first schema wrote it opens with its lessons and scores, and keeps
// marks for sentences from then on.
void TestLessonMemory::schemaOneDatabaseKeepsWhatItHas()
{
    const QString db = AppPaths::lessonDatabase();
    QVERIFY(QDir().mkpath(QFileInfo(db).path()));
    {
        sqlite3 *raw = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(db).constData(), &raw), SQLITE_OK);
        const std::unique_ptr<sqlite3, int (*)(sqlite3 *)> v1(raw, sqlite3_close);
        const char *schema =
            "PRAGMA journal_mode=WAL;"
            "CREATE TABLE lesson ( id INTEGER PRIMARY KEY, path TEXT NOT NULL UNIQUE, size "
            "INTEGER NOT NULL, modified_ms INTEGER NOT NULL, position REAL, mark_in REAL, "
            "mark_out REAL, speed REAL NOT NULL DEFAULT 1, subtitle_file TEXT NOT NULL DEFAULT "
            "'', drill_repetitions INTEGER NOT NULL, drill_pause REAL NOT NULL, "
            "drill_first_pass_speed REAL NOT NULL, drill_advance INTEGER NOT NULL, drill_rewind "
            "REAL NOT NULL, saved_ms INTEGER NOT NULL DEFAULT 0);"
            "CREATE TABLE score ( lesson_id INTEGER NOT NULL REFERENCES lesson(id) ON DELETE "
            "CASCADE, start_ms INTEGER NOT NULL, end_ms INTEGER NOT NULL, text TEXT NOT NULL, "
            "best REAL NOT NULL, best_ms INTEGER NOT NULL, last REAL NOT NULL, last_ms INTEGER "
            "NOT NULL, PRIMARY KEY (lesson_id, start_ms, end_ms, text)) WITHOUT ROWID;"
            "INSERT INTO score VALUES(1, 2000, 3000, 'Two.', 0.9, 1700000000000, 0.6, "
            "1700000100000);"
            "PRAGMA user_version=1;";
        QCOMPARE(sqlite3_exec(v1.get(), schema, nullptr, nullptr, nullptr), SQLITE_OK);
        const QFileInfo lesson(lessonFile());
        const QString row = QStringLiteral("INSERT INTO lesson VALUES(1, '%1', %2, %3, 2.5, 2.0, "
                                           "3.0, 0.75, '', 5, 1.5, 1.0, 0, 0.0, 1700000000000)")
                                .arg(lesson.absoluteFilePath())
                                .arg(lesson.size())
                                .arg(lesson.lastModified().toMSecsSinceEpoch());
        QCOMPARE(sqlite3_exec(v1.get(), row.toUtf8().constData(), nullptr, nullptr, nullptr),
                 SQLITE_OK);
    }

    lesson::LessonStore store(db);
    QVERIFY2(store.isOpen() && store.notice().isEmpty(), qPrintable(store.notice()));
    const std::optional<lesson::LessonMemory> kept = store.lesson(lessonFile());
    QVERIFY(kept && kept->place);
    QCOMPARE(kept->place->markOutSeconds, 3.0);
    QCOMPARE(kept->speed, 0.75);
    QCOMPARE(kept->drill.repetitions, 5);
    const lesson::Sentence two{2.0, 3.0, QStringLiteral("Two.")};
    const lesson::Scores scores = store.scores(lessonFile(), {two});
    QVERIFY(scores[0]);
    QCOMPARE(scores[0]->best, 0.9);

    const QString text = fx.path(QStringLiteral("lesson.txt"));
    QVERIFY(store.keepSentenceFix(lessonFile(), text, {1, two.text, 1.8, 3.2}, two));
    const std::vector<lesson::SentenceFix> fixes = store.sentenceFixes(lessonFile(), text);
    QCOMPARE(fixes.size(), size_t(1));
    QCOMPARE(fixes[0].start, 1.8);
    QCOMPARE(fixes[0].end, 3.2);
    QVERIFY(store.scores(lessonFile(), {{1.8, 3.2, two.text}})[0]);
    QVERIFY(!store.scores(lessonFile(), {two})[0]);
}

// A database as the second schema wrote it opens with its lessons, scores and fixed
// sentences, and keeps review items from then on.
void TestLessonMemory::schemaTwoDatabaseKeepsWhatItHas()
{
    const QString db = AppPaths::lessonDatabase();
    QVERIFY(QDir().mkpath(QFileInfo(db).path()));
    const QString text = fx.path(QStringLiteral("lesson.txt"));
    {
        sqlite3 *raw = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(db).constData(), &raw), SQLITE_OK);
        const std::unique_ptr<sqlite3, int (*)(sqlite3 *)> v2(raw, sqlite3_close);
        const char *schema =
            "PRAGMA journal_mode=WAL;"
            "CREATE TABLE lesson ( id INTEGER PRIMARY KEY, path TEXT NOT NULL UNIQUE, size "
            "INTEGER NOT NULL, modified_ms INTEGER NOT NULL, position REAL, mark_in REAL, "
            "mark_out REAL, speed REAL NOT NULL DEFAULT 1, subtitle_file TEXT NOT NULL DEFAULT "
            "'', drill_repetitions INTEGER NOT NULL, drill_pause REAL NOT NULL, "
            "drill_first_pass_speed REAL NOT NULL, drill_advance INTEGER NOT NULL, drill_rewind "
            "REAL NOT NULL, saved_ms INTEGER NOT NULL DEFAULT 0);"
            "CREATE TABLE score ( lesson_id INTEGER NOT NULL REFERENCES lesson(id) ON DELETE "
            "CASCADE, start_ms INTEGER NOT NULL, end_ms INTEGER NOT NULL, text TEXT NOT NULL, "
            "best REAL NOT NULL, best_ms INTEGER NOT NULL, last REAL NOT NULL, last_ms INTEGER "
            "NOT NULL, PRIMARY KEY (lesson_id, start_ms, end_ms, text)) WITHOUT ROWID;"
            "CREATE TABLE sentence_fix ( lesson_id INTEGER NOT NULL REFERENCES lesson(id) ON "
            "DELETE CASCADE, origin TEXT NOT NULL, sentence INTEGER NOT NULL, text TEXT NOT "
            "NULL, start_ms INTEGER NOT NULL, end_ms INTEGER NOT NULL, PRIMARY KEY (lesson_id, "
            "origin, sentence, text)) WITHOUT ROWID;"
            "INSERT INTO score VALUES(1, 1800, 3200, 'Two.', 0.9, 1700000000000, 0.6, "
            "1700000100000);"
            "PRAGMA user_version=2;";
        QCOMPARE(sqlite3_exec(v2.get(), schema, nullptr, nullptr, nullptr), SQLITE_OK);
        const QFileInfo lesson(lessonFile());
        const QString rows =
            QStringLiteral("INSERT INTO lesson VALUES(1, '%1', %2, %3, 2.5, 2.0, 3.0, 0.75, '', "
                           "5, 1.5, 1.0, 0, 0.0, 1700000000000);"
                           "INSERT INTO sentence_fix VALUES(1, '%4', 1, 'Two.', 1800, 3200);")
                .arg(lesson.absoluteFilePath())
                .arg(lesson.size())
                .arg(lesson.lastModified().toMSecsSinceEpoch())
                .arg(text);
        QCOMPARE(sqlite3_exec(v2.get(), rows.toUtf8().constData(), nullptr, nullptr, nullptr),
                 SQLITE_OK);
    }

    lesson::LessonStore store(db);
    QVERIFY2(store.isOpen() && store.notice().isEmpty(), qPrintable(store.notice()));
    const std::optional<lesson::LessonMemory> kept = store.lesson(lessonFile());
    QVERIFY(kept && kept->place);
    QCOMPARE(kept->speed, 0.75);
    const lesson::Sentence two{1.8, 3.2, QStringLiteral("Two.")};
    const lesson::Scores scores = store.scores(lessonFile(), {two});
    QVERIFY(scores[0]);
    QCOMPARE(scores[0]->best, 0.9);
    const std::vector<lesson::SentenceFix> fixes = store.sentenceFixes(lessonFile(), text);
    QCOMPARE(fixes.size(), size_t(1));
    QCOMPARE(fixes[0].start, 1.8);

    const QDate today = QDate::currentDate();
    QVERIFY(store.addReviewItems(lessonFile(), text, two, 0.5, {two.text}, today));
    QCOMPARE(store.dueCount(today.addYears(1)), 2);
    // no word right: the sentence only
    const lesson::Sentence none{4.0, 5.0, QStringLiteral("Not one right.")};
    QVERIFY(store.addReviewItems(lessonFile(), text, none, 0, none.text.split(u' '), today));
    QCOMPARE(store.dueCount(today.addYears(1)), 3);
}

// A database as the third schema wrote it (this one's, less the log of checks) opens with its
// lessons, scores and review items, and an empty log that logs checks from then on.
void TestLessonMemory::schemaThreeDatabaseKeepsWhatItHas()
{
    const QString db = AppPaths::lessonDatabase();
    const QDate today = QDate::currentDate();
    const lesson::Sentence two{2.0, 3.0, QStringLiteral("Two.")};
    {
        lesson::LessonStore v4(db);
        QVERIFY(v4.recordScore(lessonFile(), two, 0.9, QDateTime::currentDateTimeUtc()));
        QVERIFY(v4.addReviewItems(lessonFile(), {}, two, 0.5, {QStringLiteral("Two")}, today));
    }
    {
        sqlite3 *raw = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(db).constData(), &raw), SQLITE_OK);
        const std::unique_ptr<sqlite3, int (*)(sqlite3 *)> v3(raw, sqlite3_close);
        QCOMPARE(sqlite3_exec(v3.get(),
                              "DROP TABLE check_miss; DROP TABLE check_log; PRAGMA user_version=3;",
                              nullptr, nullptr, nullptr),
                 SQLITE_OK);
    }

    lesson::LessonStore store(db);
    QVERIFY2(store.isOpen() && store.notice().isEmpty(), qPrintable(store.notice()));
    QCOMPARE(store.scores(lessonFile(), {two})[0]->best, 0.9);
    QCOMPARE(store.dueCount(today.addYears(1)), 2);
    lesson::LearningProgress progress = store.progress(today);
    QVERIFY(progress.checks.empty() && progress.missedWords.empty());
    QVERIFY(store.logCheck(lessonFile(), two.text, 0.5, {QStringLiteral("Two")},
                           QDateTime::currentDateTime()));
    progress = store.progress(today);
    QCOMPARE(progress.checks.back().checks, 1);
    QCOMPARE(progress.missedWords.size(), size_t(1));
}

// A check that missed two words keeps the sentence and each word as review items due when
// the scheduler says; checking the sentence again adds none; a replaced lesson file keeps
// them, each marked as needing its file.
void TestLessonMemory::checkKeepsWhatItMissedForReview()
{
    const QString file = fx.path(QStringLiteral("review.mkv"));
    const QString srt = fx.path(QStringLiteral("review.srt"));
    QVERIFY(QFile::copy(lessonFile(), file));
    QVERIFY(write(srt, "1\n00:00:02,000 --> 00:00:03,000\nThe cat sat down.\n"));
    auto c = start();
    QVERIFY(c->open(file));
    QCOMPARE(c->sentences().items.size(), size_t(1));
    const lesson::Sentence checked = c->sentences().items[0];
    lesson::LessonStore &store = *c->store();
    const QDate today = QDate::currentDate();
    const QStringList missed{QStringLiteral("cat"), QStringLiteral("down")};
    c->recordCheck(0, 0.5, missed);
    c->recordCheck(0, 0.75, {missed[0]});
    QVERIFY(c->scores()[0]);
    QCOMPARE(c->scores()[0]->best, 0.75);
    const QDate far = today.addYears(100);
    QCOMPARE(store.dueCount(far), 3);
    QCOMPARE(store.dueCount(today), 0);
    // both checks are in the learner's progress, each miss counted
    const lesson::LearningProgress progress = store.progress(today);
    QCOMPARE(progress.checks.back().checks, 2);
    QCOMPARE(progress.checks.back().meanAccuracy, 0.625);
    QCOMPARE(progress.missedWords.front().word, missed[0]);
    QCOMPARE(progress.missedWords.front().misses, 2);
    QVERIFY(!store.nextDue(today));
    QVERIFY(store.itemsNeedingFile().empty());

    QFile replaced(file);
    QVERIFY(replaced.open(QIODevice::ReadWrite));
    QVERIFY(replaced.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                 QFileDevice::FileModificationTime));
    replaced.close();
    const std::vector<lesson::ReviewItem> items = store.itemsNeedingFile();
    QCOMPARE(items.size(), size_t(3));
    const review::Scheduler scheduler;
    const QStringList words{QString(), missed[0], missed[1]};
    for (size_t i = 0; i < items.size(); ++i) {
        const lesson::ReviewItem &item = items[i];
        QCOMPARE(item.kind,
                 i == 0 ? lesson::ReviewItem::Kind::Sentence : lesson::ReviewItem::Kind::Word);
        QCOMPARE(item.word, words[int(i)]);
        QCOMPARE(item.lessonFile, QFileInfo(file).absoluteFilePath());
        QCOMPARE(item.origin, srt);
        QCOMPARE(item.start, std::round(checked.start * 1000) / 1000);
        QCOMPARE(item.end, std::round(checked.end * 1000) / 1000);
        QCOMPARE(item.text, checked.text);
        QCOMPARE(item.missedWords, missed);
        const review::MemoryState first =
            scheduler.firstReview(i == 0 ? review::gradeOfCheck(0.5, false) : review::Grade::Again);
        QCOMPARE(item.memory.stability, first.stability);
        QCOMPARE(item.memory.difficulty, first.difficulty);
        QCOMPARE(item.due, today.addDays(scheduler.intervalDays(first)));
        QCOMPARE(item.lastReview, today);
        QCOMPARE(item.reviews, 1);
        QCOMPARE(item.lapses, 0);
        QVERIFY(item.needsFile);
    }
    const std::optional<lesson::ReviewItem> next = store.nextDue(far);
    QVERIFY(next && next->needsFile);
    QCOMPARE(store.dueCount(far), 3);
}

void TestLessonMemory::reviewGrade_data()
{
    QTest::addColumn<bool>("word");
    QTest::addColumn<double>("accuracy");
    QTest::addColumn<QStringList>("missed");
    QTest::addColumn<int>("shown"); // 0 nothing, 1 the hint, 2 the sentence
    QTest::addColumn<int>("grade");
    const QStringList none;
    const QStringList cat{QStringLiteral("Cat")};
    QTest::newRow("sentence all right") << false << 1.0 << none << 0 << 3;
    QTest::newRow("sentence 80 %") << false << 0.8 << cat << 0 << 2;
    QTest::newRow("sentence below 80 %") << false << 0.79 << cat << 0 << 1;
    QTest::newRow("sentence right after the hint") << false << 1.0 << none << 1 << 2;
    QTest::newRow("sentence right after it was shown") << false << 1.0 << none << 2 << 1;
    QTest::newRow("word right in a wrong sentence")
        << true << 0.5 << QStringList{QStringLiteral("mat")} << 0 << 3;
    QTest::newRow("word missed, whatever its case") << true << 0.9 << cat << 0 << 1;
    QTest::newRow("word right after the hint") << true << 1.0 << none << 1 << 2;
    QTest::newRow("word right after it was shown") << true << 1.0 << none << 2 << 1;
}

// A review is graded by its check: a sentence by its accuracy, a word by whether it came out
// right; at best Hard after the hint, and Again when the sentence was shown.
void TestLessonMemory::reviewGrade()
{
    QFETCH(bool, word);
    QFETCH(double, accuracy);
    QFETCH(QStringList, missed);
    QFETCH(int, shown);
    QFETCH(int, grade);
    lesson::ReviewItem item;
    item.kind = word ? lesson::ReviewItem::Kind::Word : lesson::ReviewItem::Kind::Sentence;
    item.word = word ? QStringLiteral("cat") : QString();
    QCOMPARE(int(lesson::gradeOfReview(item, accuracy, missed, shown == 1, shown == 2)), grade);
}

// A session over three items in two lessons: the sentence and its missed word of the lesson
// still there are reviewed by one check and become due later, while the lesson that is gone
// is passed over with a note and its item stays due.
void TestLessonMemory::reviewSessionGradesDueSentencesAndPassesOverMissingLessons()
{
    const QString kept = fx.path(QStringLiteral("kept.mkv"));
    const QString gone = fx.path(QStringLiteral("gone.mkv"));
    for (const QString &file : {kept, gone}) {
        QVERIFY(QFile::copy(lessonFile(), file));
        QVERIFY(write(QString(file).replace(QLatin1String(".mkv"), QLatin1String(".srt")),
                      "1\n00:00:01,000 --> 00:00:02,000\nA short one.\n\n"
                      "2\n00:00:02,500 --> 00:00:03,500\nThe cat sat down.\n"));
    }
    auto c = start();
    QVERIFY(c->open(kept));
    c->recordCheck(1, 0.75, {QStringLiteral("cat")});
    QVERIFY(c->open(gone));
    c->recordCheck(1, 0.5, {});
    c->close();
    QVERIFY(QFile::remove(gone));
    lesson::LessonStore &store = *c->store();
    const QDate day = QDate::currentDate().addDays(30);
    QCOMPARE(store.dueCount(day), 3);
    const std::optional<lesson::ReviewItem> goneItem = store.nextDue(day, {1, 2});
    QVERIFY(goneItem && goneItem->needsFile);

    lesson::ReviewSession *review = c->review();
    QSignalSpy shown(review, &lesson::ReviewSession::sentenceShown);
    QSignalSpy notices(review, &lesson::ReviewSession::notice);
    QSignalSpy finished(review, &lesson::ReviewSession::finished);
    review->start(day);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0][0].toString(), QStringLiteral("The cat sat down."));
    QCOMPARE(shown[0][1].toInt(), 2);
    QCOMPARE(c->fileName(), QFileInfo(kept).absoluteFilePath());
    QCOMPARE(c->currentSentence(), 1);
    QVERIFY(c->drill()->isOn());

    c->recordCheck(1, 1.0, {});
    QVERIFY(review->isGraded());
    c->recordCheck(1, 0.0, {QStringLiteral("cat")}); // graded once
    review->next();
    QCOMPARE(notices.size(), 1);
    QVERIFY(notices[0][0].toString().contains(QStringLiteral("gone.mkv")));
    QCOMPARE(finished.size(), 1);
    const lesson::ReviewSummary summary = review->summary();
    QCOMPARE(summary.reviewed, 2);
    QCOMPARE(summary.recalled, 2);
    QCOMPARE(summary.missingLessons, QStringList{QFileInfo(gone).absoluteFilePath()});
    QCOMPARE(summary.nextDue, std::optional<QDate>(goneItem->due));
    QVERIFY(!review->isOn());

    // the reviewed ones are due later, each reviewed twice now; the gone one as it was
    QCOMPARE(store.dueCount(day), 1);
    const std::optional<lesson::ReviewItem> left = store.nextDue(day);
    QVERIFY(left && left->id == goneItem->id && left->reviews == 1);
    const std::optional<lesson::ReviewItem> later = store.nextDue(day.addYears(100));
    QVERIFY(later && later->reviews == 1);
    for (qint64 id : {1, 2}) {
        const std::optional<lesson::ReviewItem> item =
            store.nextDue(day.addYears(100), {goneItem->id, 3 - id});
        QVERIFY(item && item->id == id);
        QCOMPARE(item->reviews, 2);
        QVERIFY(item->due > day);
        QCOMPARE(item->lastReview, day);
    }
}

void TestLessonMemory::rememberedLoopTooShortToPlayIsTheWholeLesson_data()
{
    QTest::addColumn<double>("in");
    QTest::addColumn<double>("out");
    QTest::addColumn<bool>("kept");
    // the lesson shows 25 pictures a second
    QTest::newRow("no length") << 2.0 << 2.0 << false;
    QTest::newRow("an end before the start") << 3.0 << 2.0 << false;
    QTest::newRow("one picture") << 2.0 << 2.04 << true;
}

// A loop that would play nothing every time the lesson opens comes back as the whole lesson.
void TestLessonMemory::rememberedLoopTooShortToPlayIsTheWholeLesson()
{
    QFETCH(double, in);
    QFETCH(double, out);
    QFETCH(bool, kept);
    lesson::LessonMemory memory;
    memory.place = lesson::LessonPlace{2.5, in, out};
    QVERIFY(lesson::LessonStore(AppPaths::lessonDatabase()).saveLesson(lessonFile(), memory));

    auto c = start();
    QVERIFY(c->open(lessonFile()));
    if (kept) {
        QCOMPARE(c->markInSeconds(), in);
        QCOMPARE(c->markOutSeconds(), out);
    } else {
        QCOMPARE(c->fractionAt(c->markInSeconds()), 0.0);
        QCOMPARE(c->fractionAt(c->markOutSeconds()), 1.0);
    }
}

void TestLessonMemory::unusableDatabaseIsMovedAside_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("not a database") << QStringLiteral("garbage");
    QTest::newRow("pages overwritten") << QStringLiteral("pages");
    QTest::newRow("newer schema") << QStringLiteral("newer");
}

// The unusable file is renamed beside the new one, bytes and log intact, the learner is
// told where it went, and the new database remembers lessons.
void TestLessonMemory::unusableDatabaseIsMovedAside()
{
    QFETCH(QString, damage);
    const QString db = AppPaths::lessonDatabase();
    {
        lesson::LessonStore made(db);
        QVERIFY(made.isOpen());
        lesson::LessonMemory memory;
        memory.place = lesson::LessonPlace{1, 0, 6};
        for (int i = 0; i < 50; ++i)
            QVERIFY(made.saveLesson(lessonFile(), memory));
    }
    if (damage == QLatin1String("garbage")) {
        QVERIFY(write(db, QByteArray(8192, 'x')));
    } else if (damage == QLatin1String("pages")) {
        // the header stays, the schema's page and the rest are noise
        QByteArray bytes = contents(db);
        QVERIFY(bytes.size() >= 4096);
        for (qsizetype i = 100; i < bytes.size(); ++i)
            bytes[i] = char((i * 7919) & 0xff);
        QVERIFY(write(db, bytes));
    } else {
        sqlite3 *raw = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(db).constData(), &raw), SQLITE_OK);
        const QByteArray newer =
            "PRAGMA user_version=" + QByteArray::number(lesson::LessonStore::schemaVersion + 1);
        QCOMPARE(sqlite3_exec(raw, newer.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(raw);
    }
    QVERIFY(write(db + QStringLiteral("-wal"), "a log of the old file"));
    const QByteArray before = contents(db);

    lesson::LessonStore store(db);
    QVERIFY2(store.isOpen(), qPrintable(store.error()));
    QVERIFY(!store.notice().isEmpty());
    // the file, its log, and the log's index if there was one
    const QStringList aside = QDir(QFileInfo(db).path())
                                  .entryList({QStringLiteral("lessons.db.moved-*")})
                                  .filter(QRegularExpression(QStringLiteral("moved-[-0-9]+$")));
    QCOMPARE(aside.size(), 1);
    const QString moved = QFileInfo(db).path() + QLatin1Char('/') + aside.value(0);
    QVERIFY2(store.notice().contains(QDir::toNativeSeparators(moved)), qPrintable(store.notice()));
    QCOMPARE(contents(moved), before);
    QCOMPARE(contents(moved + QStringLiteral("-wal")), QByteArray("a log of the old file"));

    QVERIFY(!store.lesson(lessonFile()));
    lesson::LessonMemory memory;
    memory.speed = 1.5;
    QVERIFY(store.saveLesson(lessonFile(), memory));
    QCOMPARE(store.lesson(lessonFile())->speed, 1.5);
}

QTEST_GUILESS_MAIN(TestLessonMemory)
#include "tst_lessonmemory.moc"
