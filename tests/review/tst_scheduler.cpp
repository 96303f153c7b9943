// The review scheduler with its default weights against the schedules published with the
// memory model's reference tests, its clamps, and the grade a check earns.
#include "review/scheduler.h"

#include <QTest>

#include <cmath>

using review::Grade;

class TestScheduler : public QObject
{
    Q_OBJECT

private slots:
    void schedule_data();
    void schedule();
    void curve();
    void grade();
};

void TestScheduler::schedule_data()
{
    QTest::addColumn<QList<int>>("grades");
    // whole days since the review before; the first review's is 0
    QTest::addColumn<QList<int>>("days");
    // the interval after each review; 0 where the reference reviews again within the same day
    // (a step of minutes, not ours to say)
    QTest::addColumn<QList<int>>("intervals");
    // the stability and difficulty after the last review, to the decimals the reference states
    QTest::addColumn<QList<double>>("memory");
    QTest::addColumn<int>("decimals");
    // other weights than the defaults, where the reference used them
    QTest::addColumn<QList<double>>("weights");

    // a new item's first review by each grade; only after Easy does the reference wait days
    QTest::newRow("first Again") << QList{1} << QList{0} << QList{0} << QList{0.212, 6.4133} << 8
                                 << QList<double>{};
    QTest::newRow("first Hard") << QList{2} << QList{0} << QList{0} << QList{1.2931, 5.11217071}
                                << 8 << QList<double>{};
    QTest::newRow("first Good") << QList{3} << QList{0} << QList{0} << QList{2.3065, 2.11810397}
                                << 8 << QList<double>{};
    QTest::newRow("first Easy") << QList{4} << QList{0} << QList{8} << QList{8.2956, 1.0} << 8
                                << QList<double>{};
    QTest::newRow("lapse, then successes")
        << QList{1, 3, 3, 3, 3, 3} << QList{0, 0, 1, 3, 8, 21} << QList{0, 0, 0, 0, 0, 0}
        << QList{53.62691, 6.3574867} << 4 << QList<double>{};
    // each review on the day it falls due; a lapse relearnt twice the same day
    QTest::newRow("long schedule") << QList{3, 3, 3, 3, 3, 3, 1, 1, 3, 3, 3, 3, 3}
                                   << QList{0, 0, 2, 11, 46, 163, 498, 0, 0, 2, 4, 7, 12}
                                   << QList{0, 2, 11, 46, 163, 498, 0, 0, 2, 4, 7, 12, 21}
                                   << QList<double>{} << 0 << QList<double>{};
    // earlier weights without the same-day term and with the decay 0.5; each review on the
    // day it falls due; the reference keeps its state to 8 decimals after each review, so
    // ours agrees to 5
    const QList<double> earlier{0.4197, 1.1869, 3.0412, 15.2441, 7.1434, 0.6477, 1.0007,
                                0.0674, 1.6597, 0.1712, 1.1178,  2.0225, 0.0904, 0.3025,
                                2.1214, 0.2498, 2.9466, 0.4891,  0.6468, 0,      0.5};
    QTest::newRow("Good, Easy, Again, Hard...")
        << QList{3, 4, 1, 2, 3, 4, 1, 2} << QList{0, 3, 33, 4, 7, 26, 193, 9}
        << QList{3, 33, 4, 7, 26, 193, 9, 14} << QList{14.31323867, 5.34697075} << 5 << earlier;
    QTest::newRow("Easy, Again, Hard, Good...")
        << QList{4, 1, 2, 3, 4, 1, 2, 3} << QList{0, 15, 3, 6, 27, 240, 10, 17}
        << QList{15, 3, 6, 27, 240, 10, 17, 60} << QList{59.59547542, 4.24020203} << 5 << earlier;
    // worked out from the formulas: a success the same day keeps the stability and the
    // difficulty at least 1; a late lapse keeps no more than a lapse the same day would; the
    // stability never falls below its floor
    QTest::newRow("same-day success")
        << QList{4, 3} << QList{0, 0} << QList{0, 8} << QList{8.2956, 1.0} << 12 << QList<double>{};
    QTest::newRow("late lapse") << QList{1, 1} << QList{0, 365} << QList{0, 0}
                                << QList{0.212 / std::exp(0.5425 * 0.0912)} << 12
                                << QList<double>{};
    QTest::newRow("stability floor") << QList<int>(10, 1) << QList<int>(10, 0) << QList<int>(10, 0)
                                     << QList{0.001} << 12 << QList<double>{};
}

void TestScheduler::schedule()
{
    QFETCH(QList<int>, grades);
    QFETCH(QList<int>, days);
    QFETCH(QList<int>, intervals);
    QFETCH(QList<double>, memory);
    QFETCH(int, decimals);
    QFETCH(QList<double>, weights);

    review::Scheduler scheduler;
    std::copy(weights.cbegin(), weights.cend(), scheduler.weights.begin());
    review::MemoryState state;
    for (qsizetype i = 0; i < grades.size(); ++i) {
        const auto grade = static_cast<Grade>(grades[i]);
        state = i == 0 ? scheduler.firstReview(grade) : scheduler.nextReview(state, grade, days[i]);
        if (intervals[i] > 0)
            QCOMPARE(scheduler.intervalDays(state), intervals[i]);
    }
    const QList<double> got{state.stability, state.difficulty};
    for (qsizetype i = 0; i < memory.size(); ++i)
        QVERIFY2(std::abs(got[i] - memory[i]) < 0.5 * std::pow(10.0, -decimals),
                 qPrintable(QString::number(got[i], 'f', decimals + 2)));
}

void TestScheduler::curve()
{
    review::Scheduler scheduler;
    // the reference's recall of a first Easy when it falls due
    QVERIFY(std::abs(scheduler.retrievability({8.2956, 1}, 8) - 0.9024733) < 5e-8);
    QCOMPARE(scheduler.intervalDays({0.001, 5}), 1);
    QCOMPARE(scheduler.intervalDays({1e6, 5}), 36500);
    // worked out from the curve: 331.6 and 40.26 days
    scheduler.desiredRetention = 0.8;
    QCOMPARE(scheduler.intervalDays({100, 5}), 332);
    scheduler.desiredRetention = 0.95;
    QCOMPARE(scheduler.intervalDays({100, 5}), 40);
}

void TestScheduler::grade()
{
    // accuracy, hint used, grade
    const QList<std::tuple<double, bool, Grade>> table{
        {1.0, false, Grade::Good},    {1.0, true, Grade::Hard},
        {0.99, false, Grade::Hard},   {1 - 1.0 / 5, false, Grade::Hard},
        {4.0 / 5, true, Grade::Hard}, {0.799, false, Grade::Again},
        {0.5, true, Grade::Again},    {0.0, false, Grade::Again},
    };
    for (const auto &[accuracy, hintUsed, grade] : table)
        QVERIFY2(review::gradeOfCheck(accuracy, hintUsed) == grade,
                 qPrintable(QStringLiteral("%1 %2").arg(accuracy).arg(hintUsed)));
}

QTEST_GUILESS_MAIN(TestScheduler)
#include "tst_scheduler.moc"
