// The learner's progress read from the lesson store: checks by day with their mean accuracy,
// review items due over the coming two weeks, and the words missed most.
#include "lesson/lessonstore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDate today(2026, 3, 20);
// a check or a day of checks: days before today, accuracy or mean accuracy, count
using Day = std::tuple<int, double, int>;

} // namespace

class TestLessonProgress final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void checksByDay_data();
    void checksByDay();
    void dueAndMissedWords();

private:
    QTemporaryDir dir;
    std::unique_ptr<lesson::LessonStore> store;
};

void TestLessonProgress::init()
{
    store.reset();
    QFile::remove(dir.filePath(u"lessons.db"_s));
    store = std::make_unique<lesson::LessonStore>(dir.filePath(u"lessons.db"_s));
    QFile lesson(dir.filePath(u"lesson.mkv"_s));
    QVERIFY(store->isOpen() && lesson.open(QIODevice::WriteOnly));
}

void TestLessonProgress::checksByDay_data()
{
    QTest::addColumn<QList<Day>>("checks"); // count unused
    QTest::addColumn<int>("span");          // the days shown, back from today
    QTest::addColumn<QList<Day>>("days");   // those with checks

    QTest::newRow("three days, two checks on one")
        << QList<Day>{{9, 0.5, 1}, {2, 0.6, 1}, {2, 1.0, 1}, {0, 0.25, 1}} << 10
        << QList<Day>{{9, 0.5, 1}, {2, 0.8, 2}, {0, 0.25, 1}};
    QTest::newRow("a first check yesterday shows a week")
        << QList<Day>{{1, 0.7, 1}} << 7 << QList<Day>{{1, 0.7, 1}};
    QTest::newRow("accuracy clamped")
        << QList<Day>{{0, 1.5, 1}, {0, -1, 1}} << 7 << QList<Day>{{0, 0.5, 2}};
    QTest::newRow("older than thirty days, or later than today, left out")
        << QList<Day>{{30, 0.1, 1}, {29, 0.9, 1}, {-1, 0.5, 1}} << 30 << QList<Day>{{29, 0.9, 1}};
    QTest::newRow("no check in thirty days") << QList<Day>{{40, 0.5, 1}} << 0 << QList<Day>{};
}

void TestLessonProgress::checksByDay()
{
    QFETCH(QList<Day>, checks);
    QFETCH(int, span);
    QFETCH(QList<Day>, days);
    for (const auto &[ago, accuracy, _] : checks)
        QVERIFY(store->logCheck(u"a.mkv"_s, u"One."_s, accuracy, {},
                                QDateTime(today.addDays(-ago), QTime(12, 0))));
    const lesson::LearningProgress p = store->progress(today);
    QCOMPARE(int(p.checks.size()), span);
    for (int i = 0; i < span; ++i) {
        const int ago = span - 1 - i;
        const auto d = std::find_if(days.begin(), days.end(),
                                    [&](const Day &day) { return std::get<0>(day) == ago; });
        const lesson::DayChecks &shown = p.checks[size_t(i)];
        QCOMPARE(shown.day, today.addDays(-ago));
        QCOMPARE(shown.meanAccuracy, d == days.end() ? 0 : std::get<1>(*d));
        QCOMPARE(shown.checks, d == days.end() ? 0 : std::get<2>(*d));
    }
}

// Items due before today count on today, those due two weeks on not at all; each miss of a
// word counts whatever its case, ties alphabetically, a dozen words at most.
void TestLessonProgress::dueAndMissedWords()
{
    const review::Scheduler scheduler;
    const int interval =
        scheduler.intervalDays(scheduler.firstReview(review::gradeOfCheck(0, false)));
    // (days before today an item was checked, the day from today it counts on or -1)
    const std::pair<int, int> items[] = {
        {interval + 5, 0}, {interval, 0}, {0, interval}, {interval - 13, 13}, {interval - 14, -1}};
    std::vector<int> due(lesson::LearningProgress::dueDays, 0);
    for (const auto &[checked, on] : items) {
        const lesson::Sentence s{0, 1, u"Sentence %1."_s.arg(checked)};
        QVERIFY(store->addReviewItems(dir.filePath(u"lesson.mkv"_s), QString(), s, 0, {},
                                      today.addDays(-checked)));
        due[size_t(std::max(0, on))] += on >= 0;
    }
    const QStringList checks[] = {{u"The"_s, u"dog"_s, u"ant"_s},
                                  {u"the"_s, u"ant"_s},
                                  {u"dog"_s, u"THE"_s},
                                  u"a b c d e f g h i"_s.split(u' ')};
    for (const QStringList &missed : checks)
        QVERIFY(store->logCheck(u"a.mkv"_s, u"One."_s, 0.5, missed, QDateTime(today, QTime(9, 0))));
    const lesson::LearningProgress p = store->progress(today);
    QCOMPARE(p.due, due);
    QStringList words;
    for (const lesson::MissedWord &w : p.missedWords)
        words << u"%1 %2"_s.arg(w.word).arg(w.misses);
    QCOMPARE(words.join(u' '), u"the 3 ant 2 dog 2 a 1 b 1 c 1 d 1 e 1 f 1 g 1 h 1 i 1"_s);
}

QTEST_GUILESS_MAIN(TestLessonProgress)
#include "tst_lessonprogress.moc"
