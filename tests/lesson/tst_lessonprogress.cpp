// The learner's progress read from the lesson store: checks by day with their mean accuracy,
// review items due over the coming two weeks, and the words missed most.
#include "lesson/lessonstore.h"
#include "review/scheduler.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDate today(2026, 3, 20);

struct Check
{
    int daysAgo;
    double accuracy;
};

// The checks of one day in the progress: days before today, count, mean accuracy.
struct Day
{
    int daysAgo;
    int checks;
    double mean;
};

} // namespace

Q_DECLARE_METATYPE(std::vector<Check>)
Q_DECLARE_METATYPE(std::vector<Day>)

class TestLessonProgress final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void checksByDay_data();
    void checksByDay();
    void dueOverTwoWeeks();
    void wordsMissedMost();

private:
    QTemporaryDir dir;
    std::unique_ptr<lesson::LessonStore> store;
    QString lessonFile() const { return dir.filePath(u"lesson.mkv"_s); }
};

void TestLessonProgress::init()
{
    store.reset();
    QFile::remove(dir.filePath(u"lessons.db"_s));
    store = std::make_unique<lesson::LessonStore>(dir.filePath(u"lessons.db"_s));
    QVERIFY2(store->isOpen(), qPrintable(store->error()));
    QFile lesson(lessonFile());
    QVERIFY(lesson.open(QIODevice::WriteOnly));
}

void TestLessonProgress::checksByDay_data()
{
    QTest::addColumn<std::vector<Check>>("checks");
    // the days shown, from the first back to today
    QTest::addColumn<int>("span");
    // the days that have checks; the others have none
    QTest::addColumn<std::vector<Day>>("days");

    QTest::newRow("three days, two checks on one")
        << std::vector<Check>{{9, 0.5}, {2, 0.6}, {2, 1.0}, {0, 0.25}} << 10
        << std::vector<Day>{{9, 1, 0.5}, {2, 2, 0.8}, {0, 1, 0.25}};
    QTest::newRow("a first check yesterday shows a week")
        << std::vector<Check>{{1, 0.7}} << 7 << std::vector<Day>{{1, 1, 0.7}};
    QTest::newRow("accuracy clamped")
        << std::vector<Check>{{0, 1.5}, {0, -1}} << 7 << std::vector<Day>{{0, 2, 0.5}};
    QTest::newRow("checks older than thirty days left out")
        << std::vector<Check>{{30, 0.1}, {29, 0.9}} << 30 << std::vector<Day>{{29, 1, 0.9}};
    QTest::newRow("no check in thirty days")
        << std::vector<Check>{{40, 0.5}} << 0 << std::vector<Day>{};
    QTest::newRow("a check of a later day left out")
        << std::vector<Check>{{-1, 0.5}} << 0 << std::vector<Day>{};
}

void TestLessonProgress::checksByDay()
{
    QFETCH(std::vector<Check>, checks);
    QFETCH(int, span);
    QFETCH(std::vector<Day>, days);

    for (const Check &c : checks) {
        const QDateTime when(today.addDays(-c.daysAgo), QTime(12, 0));
        QVERIFY(store->logCheck(lessonFile(), u"One."_s, c.accuracy, {}, when));
    }
    const lesson::LearningProgress p = store->progress(today);
    QCOMPARE(p.today, today);
    QCOMPARE(int(p.checks.size()), span);
    for (int i = 0; i < span; ++i) {
        const lesson::DayChecks &shown = p.checks[size_t(i)];
        const int daysAgo = span - 1 - i;
        QCOMPARE(shown.day, today.addDays(-daysAgo));
        const auto d = std::find_if(days.begin(), days.end(),
                                    [&](const Day &day) { return day.daysAgo == daysAgo; });
        QCOMPARE(shown.checks, d == days.end() ? 0 : d->checks);
        QCOMPARE(shown.meanAccuracy, d == days.end() ? 0 : d->mean);
    }
}

// Review items due before today count on today; those due two weeks on and later not at all.
void TestLessonProgress::dueOverTwoWeeks()
{
    const review::Scheduler scheduler;
    const int interval =
        scheduler.intervalDays(scheduler.firstReview(review::gradeOfCheck(0, false)));
    QVERIFY(interval < lesson::LearningProgress::dueDays);
    // each checked (and so first due) on the day given, and due `interval` days later
    const struct
    {
        int checkedDaysAgo;
        int dueOn; // days from today, or -1 for none shown
    } items[] = {
        {interval + 5, 0},  {interval, 0},       {0, interval},
        {-1, interval + 1}, {interval - 13, 13}, {interval - 14, -1},
    };
    std::vector<int> due(lesson::LearningProgress::dueDays, 0);
    int n = 0;
    for (const auto &item : items) {
        const lesson::Sentence s{0, 1, u"Sentence %1."_s.arg(++n)};
        QVERIFY(store->addReviewItems(lessonFile(), QString(), s, 0, {},
                                      today.addDays(-item.checkedDaysAgo)));
        if (item.dueOn >= 0)
            ++due[size_t(item.dueOn)];
    }
    QCOMPARE(store->progress(today).due, due);
    QCOMPARE(store->progress(today).due[0], store->dueCount(today));
}

// Each miss counts, whatever the word's case; ties go alphabetically; at most a dozen words.
void TestLessonProgress::wordsMissedMost()
{
    const QDateTime now(today, QTime(9, 0));
    const QStringList checks[] = {
        {u"The"_s, u"dog"_s, u"ant"_s},
        {u"the"_s, u"ant"_s},
        {u"dog"_s, u"bee"_s},
        {u"THE"_s},
        {u"a1"_s, u"a2"_s, u"a3"_s, u"a4"_s, u"a5"_s, u"a6"_s, u"a7"_s, u"a8"_s, u"a9"_s},
    };
    for (const QStringList &missed : checks)
        QVERIFY(store->logCheck(lessonFile(), u"Sentence."_s, 0.5, missed, now));
    const lesson::LearningProgress p = store->progress(today);
    QStringList shown;
    for (const lesson::MissedWord &w : p.missedWords)
        shown << u"%1 %2"_s.arg(w.word).arg(w.misses);
    QCOMPARE(shown,
             (QStringList{u"the 3"_s, u"ant 2"_s, u"dog 2"_s, u"a1 1"_s, u"a2 1"_s, u"a3 1"_s,
                          u"a4 1"_s, u"a5 1"_s, u"a6 1"_s, u"a7 1"_s, u"a8 1"_s, u"a9 1"_s}));
}

QTEST_GUILESS_MAIN(TestLessonProgress)
#include "tst_lessonprogress.moc"
