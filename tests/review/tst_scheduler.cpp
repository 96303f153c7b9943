// The review scheduler with its default weights: the stability, difficulty and intervals of
// schedules published with the memory model's reference tests, the forgetting curve and its
// clamps, and the grade a check earns.
#include "review/scheduler.h"

#include <QTest>

#include <cmath>

Q_DECLARE_METATYPE(review::Grade)

using review::Grade;

class TestScheduler : public QObject
{
    Q_OBJECT

private slots:
    void schedule_data();
    void schedule();
    void curve_data();
    void curve();
    void grade_data();
    void grade();
};

void TestScheduler::schedule_data()
{
    QTest::addColumn<QList<int>>("grades");
    // whole days since the review before; the first review's is 0
    QTest::addColumn<QList<int>>("days");
    // the interval due after each review; 0 where the reference schedules the next review
    // within the same day, in minutes, which is not ours to say
    QTest::addColumn<QList<int>>("intervals");
    // the memory after the last review, to the decimals the reference states (0: none stated)
    QTest::addColumn<double>("stability");
    QTest::addColumn<double>("difficulty");
    QTest::addColumn<int>("decimals");

    // a new item's first review by each grade; only Easy leaves the same day
    QTest::newRow("first Again") << QList{1} << QList{0} << QList{0} << 0.212 << 6.4133 << 8;
    QTest::newRow("first Hard") << QList{2} << QList{0} << QList{0} << 1.2931 << 5.11217071 << 8;
    QTest::newRow("first Good") << QList{3} << QList{0} << QList{0} << 2.3065 << 2.11810397 << 8;
    QTest::newRow("first Easy") << QList{4} << QList{0} << QList{8} << 8.2956 << 1.0 << 8;
    // a lapse, a success the same day, then successes on growing days
    QTest::newRow("memory after a lapse") << QList{1, 3, 3, 3, 3, 3} << QList{0, 0, 1, 3, 8, 21}
                                          << QList{0, 0, 0, 0, 0, 0} << 53.62691 << 6.3574867 << 4;
    // each review on the day it falls due; a lapse relearnt twice the same day
    QTest::newRow("long schedule")
        << QList{3, 3, 3, 3, 3, 3, 1, 1, 3, 3, 3, 3, 3}
        << QList{0, 0, 2, 11, 46, 163, 498, 0, 0, 2, 4, 7, 12}
        << QList{0, 2, 11, 46, 163, 498, 0, 0, 2, 4, 7, 12, 21} << 0.0 << 0.0 << 0;
}

void TestScheduler::schedule()
{
    QFETCH(QList<int>, grades);
    QFETCH(QList<int>, days);
    QFETCH(QList<int>, intervals);
    QFETCH(double, stability);
    QFETCH(double, difficulty);
    QFETCH(int, decimals);

    const review::Scheduler scheduler;
    review::MemoryState memory;
    for (qsizetype i = 0; i < grades.size(); ++i) {
        const auto grade = static_cast<Grade>(grades[i]);
        memory =
            i == 0 ? scheduler.firstReview(grade) : scheduler.nextReview(memory, grade, days[i]);
        if (intervals[i] > 0)
            QCOMPARE(scheduler.intervalDays(memory), intervals[i]);
    }
    if (decimals > 0) {
        const double slack = 0.5 * std::pow(10.0, -decimals);
        QVERIFY2(std::abs(memory.stability - stability) < slack,
                 qPrintable(QString::number(memory.stability, 'f', decimals + 2)));
        QVERIFY2(std::abs(memory.difficulty - difficulty) < slack,
                 qPrintable(QString::number(memory.difficulty, 'f', decimals + 2)));
    }
}

void TestScheduler::curve_data()
{
    QTest::addColumn<double>("stability");
    QTest::addColumn<double>("daysElapsed");
    QTest::addColumn<double>("retrievability");
    QTest::addColumn<double>("desiredRetention");
    QTest::addColumn<int>("intervalDays");

    // the reference's recall of a first Easy when it falls due
    QTest::newRow("first Easy due") << 8.2956 << 8.0 << 0.9024733 << 0.9 << 8;
    // worked out from the curve: 331.6 and 40.26 days
    QTest::newRow("retention 0.8") << 100.0 << 0.0 << 1.0 << 0.8 << 332;
    QTest::newRow("retention 0.95") << 100.0 << 100.0 << 0.9 << 0.95 << 40;
    QTest::newRow("at least a day") << 0.001 << 0.0 << 1.0 << 0.9 << 1;
    QTest::newRow("at most a hundred years") << 1e6 << 0.0 << 1.0 << 0.9 << 36500;
}

void TestScheduler::curve()
{
    QFETCH(double, stability);
    QFETCH(double, daysElapsed);
    QFETCH(double, retrievability);
    QFETCH(double, desiredRetention);
    QFETCH(int, intervalDays);

    review::Scheduler scheduler;
    scheduler.desiredRetention = desiredRetention;
    const review::MemoryState memory{stability, 5};
    QVERIFY(std::abs(scheduler.retrievability(memory, daysElapsed) - retrievability) < 5e-8);
    QCOMPARE(scheduler.intervalDays(memory), intervalDays);
}

void TestScheduler::grade_data()
{
    QTest::addColumn<double>("accuracy");
    QTest::addColumn<bool>("hintUsed");
    QTest::addColumn<Grade>("grade");

    QTest::newRow("all right") << 1.0 << false << Grade::Good;
    QTest::newRow("all right after the hint") << 1.0 << true << Grade::Hard;
    QTest::newRow("one letter in a hundred wrong") << 0.99 << false << Grade::Hard;
    QTest::newRow("four words of five") << 1 - 1.0 / 5 << false << Grade::Hard;
    QTest::newRow("four words of five after the hint") << 4.0 / 5 << true << Grade::Hard;
    QTest::newRow("just under 80 %") << 0.799 << false << Grade::Again;
    QTest::newRow("under 80 % after the hint") << 0.5 << true << Grade::Again;
    QTest::newRow("nothing right") << 0.0 << false << Grade::Again;
}

void TestScheduler::grade()
{
    QFETCH(double, accuracy);
    QFETCH(bool, hintUsed);
    QFETCH(Grade, grade);

    QCOMPARE(review::gradeOfCheck(accuracy, hintUsed), grade);
}

QTEST_GUILESS_MAIN(TestScheduler)
#include "tst_scheduler.moc"
