// The whole-transcript check: which of the learner's words each sentence gets, and its score
// (expected values worked out by hand).
#include "diff/transcriptcheck.h"

#include <QTest>

class TestTranscriptCheck : public QObject
{
    Q_OBJECT

private slots:
    void sentences_data();
    void sentences();
};

void TestTranscriptCheck::sentences_data()
{
    QTest::addColumn<QString>("text");
    // per sentence: the learner's words for it, or "-" when it counts as not typed
    QTest::addColumn<QStringList>("typed");
    // per sentence: its accuracy per mille, rounded; -1 when not typed
    QTest::addColumn<QList<int>>("accuracy");

    const auto row = [](const char *name, const char *text, const QStringList &typed,
                        const QList<int> &accuracy) {
        QTest::newRow(name) << QString::fromUtf8(text) << typed << accuracy;
    };
    row("running transcript",
        "the cat sat on the mat it was the best day of the year we went to the park",
        {QStringLiteral("the cat sat on the mat"),
         QStringLiteral("it was the best day of the year"), QStringLiteral("we went to the park")},
        {1000, 1000, 1000});
    // the left-out sentence shares "the" with a note typed in its place
    row("sentence left out",
        "The cat sat on the mat.\n(and then the rain came)\nWe went to the park.",
        {QStringLiteral("The cat sat on the mat"), QStringLiteral("-"),
         QStringLiteral("We went to the park")},
        {1000, -1, 1000});
    // "matt" is the first sentence's near miss, not an extra word of the second
    row("word at a boundary",
        "the cat sat on the\nmatt it was the best day of the year\nwe went to the park",
        {QStringLiteral("the cat sat on the\nmatt"),
         QStringLiteral("it was the best day of the year"), QStringLiteral("we went to the park")},
        {917, 1000, 1000});
    // and a wrong word inside the second, with one left out of the third
    row("title before the first",
        "Lesson five, my notes:\nthe cat sat on the mat. It was the worst day of the year. We "
        "went the park.",
        {QStringLiteral("the cat sat on the mat"),
         QStringLiteral("It was the worst day of the year"), QStringLiteral("We went the park")},
        {1000, 875, 800});
    row("empty editor", "", {QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-")},
        {-1, -1, -1});
}

void TestTranscriptCheck::sentences()
{
    QFETCH(QString, text);
    QFETCH(QStringList, typed);
    QFETCH(QList<int>, accuracy);
    const QStringList lesson = {QStringLiteral("The cat sat on the mat."),
                                QStringLiteral("It was the best day of the year."),
                                QStringLiteral("We went to the park.")};

    const QList<SentenceCheck> checks = checkTranscript(text, lesson);

    QCOMPARE(checks.size(), lesson.size());
    QStringList gotTyped;
    QList<int> gotAccuracy;
    for (const SentenceCheck &c : checks) {
        gotTyped.append(c.typed ? text.mid(c.from, c.to - c.from) : QStringLiteral("-"));
        gotAccuracy.append(c.typed ? qRound(c.check.accuracy() * 1000) : -1);
    }
    QCOMPARE(gotTyped, typed);
    QCOMPARE(gotAccuracy, accuracy);
}

QTEST_GUILESS_MAIN(TestTranscriptCheck)
#include "tst_transcriptcheck.moc"
