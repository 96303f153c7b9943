#include "text/spokenwords.h"

#include <QTest>

class TestSpokenWords : public QObject
{
    Q_OBJECT

private slots:
    void words_data();
    void words();
};

void TestSpokenWords::words_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("words");
    // the written word each spoken word comes from; empty where each is a word of its own
    QTest::addColumn<QStringList>("sources");
    QTest::newRow("cardinals") << QStringLiteral("21, 5,000 0 115 1,000,000 12,34")
                               << QStringLiteral("twenty one five thousand zero one hundred "
                                                 "fifteen one million twelve thirty four")
                               << QStringList();
    QTest::newRow("ordinals") << QStringLiteral("21st 2ND 3rd 12th 40th 1,000th")
                              << QStringLiteral("twenty first second third twelfth fortieth one "
                                                "thousandth")
                              << QStringList();
    QTest::newRow("years") << QStringLiteral(u"1999 2005 1905 1900 2024 1990s the 1980\u2019s")
                           << QStringLiteral("nineteen ninety nine two thousand five nineteen oh "
                                             "five nineteen hundred twenty twenty four nineteen "
                                             "nineties the nineteen eighties")
                           << QStringList();
    QTest::newRow("decimals and times")
        << QStringLiteral("3.5 10.30 10:05 9.12am 3.14 10.00 25:61")
        << QStringLiteral("three point five ten thirty ten oh five nine twelve am three point one "
                          "four ten o'clock twenty five sixty one")
        << QStringList();
    QTest::newRow("money and percentages")
        << QStringLiteral(u"$5 $1 \u00A32.50 \u20AC0.99 $3.5 50% 2.5%")
        << QStringLiteral("five dollars one dollar two pounds fifty ninety nine cents three point "
                          "five dollars fifty percent two point five percent")
        << (QStringList(2, QStringLiteral("$5")) + QStringList(2, QStringLiteral("$1")) +
            QStringList(3, QStringLiteral(u"\u00A32.50")) +
            QStringList(3, QStringLiteral(u"\u20AC0.99")) + QStringList(4, QStringLiteral("$3.5")) +
            QStringList(2, QStringLiteral("50%")) + QStringList(4, QStringLiteral("2.5%")));
    QTest::newRow("digit by digit") << QStringLiteral("007 1234567890123456")
                                    << QStringLiteral("zero zero seven one two three four five six "
                                                      "seven eight nine zero one two three four "
                                                      "five six")
                                    << QStringList();
    QTest::newRow("letters and digits")
        << QStringLiteral("mp3 3D covid19") << QStringLiteral("mp three three d covid nineteen")
        << QStringList{QStringLiteral("mp"), QStringLiteral("3"),     QStringLiteral("3"),
                       QStringLiteral("D"),  QStringLiteral("covid"), QStringLiteral("19")};
    QTest::newRow("case, hyphens and apostrophes")
        << QStringLiteral(u"Well-known DON'T Neil\u2019s rock \u02BCn\u02BC roll I\u02BCm "
                          u"nai\u0308ve \u00C9COLE")
        << QStringLiteral(u"well known don't neil's rock n roll i'm na\u00EFve \u00E9cole")
        << QStringList();
    QTest::newRow("titles said in full")
        << QStringLiteral("Mr. Dr Mrs prof. vs etc. drs Mr-X")
        << QStringLiteral("mister doctor missus professor versus et cetera drs mister x")
        << QStringList();
    QTest::newRow("punctuation dropped")
        << QStringLiteral(u"Hello, world! (Yes) \u2014 \u201Cquoted\u201D... 'tis")
        << QStringLiteral("hello world yes quoted tis") << QStringList();
    QTest::newRow("empty") << QString() << QString() << QStringList();
    QTest::newRow("only punctuation")
        << QStringLiteral(u"?!,. \u2014 ' - $ %") << QString() << QStringList();
    QTest::newRow("200,000 words")
        << QStringLiteral("It's 21 ").repeated(100'000)
        << QStringLiteral("it's twenty one ").repeated(100'000).trimmed() << QStringList();
}

void TestSpokenWords::words()
{
    QFETCH(QString, text);
    QFETCH(QString, words);
    QFETCH(QStringList, sources);
    QStringList found;
    QStringList foundSources;
    for (const SpokenWord &w : spokenWords(text)) {
        found.append(w.word);
        foundSources.append(text.mid(w.source.start, w.source.length));
    }
    QCOMPARE(found, words.split(u' ', Qt::SkipEmptyParts));
    if (!sources.isEmpty())
        QCOMPARE(foundSources, sources);
}

QTEST_GUILESS_MAIN(TestSpokenWords)
#include "tst_spokenwords.moc"
