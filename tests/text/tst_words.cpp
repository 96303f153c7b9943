#include "text/words.h"

#include <QTest>

class TestWords : public QObject
{
    Q_OBJECT

private slots:
    void words_data();
    void words();
};

void TestWords::words_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("joinHyphens");
    QTest::addColumn<int>("from");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("inner apostrophes")
        << QStringLiteral(u"don't it\u2019s rock'n'roll don\u02BCt") << false << 0
        << QStringList{QStringLiteral("don't"), QStringLiteral(u"it\u2019s"),
                       QStringLiteral("rock'n'roll"), QStringLiteral(u"don\u02BCt")};
    QTest::newRow("quotes at the edges")
        << QStringLiteral(u"'tis \u2018fine\u2019 \"yes\" learners\u2019 \u02BCn\u02BC don''t")
        << false << 0
        << QStringList{QStringLiteral("tis"),      QStringLiteral("fine"), QStringLiteral("yes"),
                       QStringLiteral("learners"), QStringLiteral("n"),    QStringLiteral("don"),
                       QStringLiteral("t")};
    QTest::newRow("an opening quote is no apostrophe")
        << QStringLiteral(u"don\u2018t") << false << 0
        << QStringList{QStringLiteral("don"), QStringLiteral("t")};
    QTest::newRow("hyphens split")
        << QStringLiteral("well-known -dash-") << false << 0
        << QStringList{QStringLiteral("well"), QStringLiteral("known"), QStringLiteral("dash")};
    QTest::newRow("hyphens joined")
        << QStringLiteral(u"well-known non\u2011stop -dash- rock-'n'-roll") << true << 0
        << QStringList{QStringLiteral("well-known"), QStringLiteral(u"non\u2011stop"),
                       QStringLiteral("dash"),       QStringLiteral("rock"),
                       QStringLiteral("n"),          QStringLiteral("roll")};
    QTest::newRow("digits and combining marks")
        << QStringLiteral(u"10:45 the 1990\u2019s nai\u0308ve") << false << 0
        << QStringList{QStringLiteral("10"), QStringLiteral("45"), QStringLiteral("the"),
                       QStringLiteral(u"1990\u2019s"), QStringLiteral(u"nai\u0308ve")};
    QTest::newRow("letters beyond 16 bits")
        << QStringLiteral(u"\U0001D400\U0001D401 \U0001F600") << false << 0
        << QStringList{QStringLiteral(u"\U0001D400\U0001D401")};
    QTest::newRow("from inside a word")
        << QStringLiteral("don't stop") << false << 4 << QStringList{QStringLiteral("stop")};
    QTest::newRow("from inside a surrogate pair")
        << QStringLiteral(u"\U0001D400 b") << false << 1 << QStringList{QStringLiteral("b")};
    QTest::newRow("no words") << QStringLiteral(" , ' - ’ ?!") << true << 0 << QStringList{};
}

void TestWords::words()
{
    QFETCH(QString, text);
    QFETCH(bool, joinHyphens);
    QFETCH(int, from);
    QFETCH(QStringList, words);
    const Hyphens hyphens = joinHyphens ? Hyphens::Join : Hyphens::Split;
    QStringList found;
    for (WordSpan w = wordFrom(text, from, hyphens); w.isValid();
         w = wordFrom(text, w.end(), hyphens))
        found.append(text.mid(w.start, w.length));
    QCOMPARE(found, words);
}

QTEST_GUILESS_MAIN(TestWords)
#include "tst_words.moc"
