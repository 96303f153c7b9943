// The token walk of the phonetic notation: which typed texts it accepts, the patterns it
// builds (the pass-by-pass order included), and the decoding of stored pronunciations.
#include "phonetic/phonetictokens.h"

#include <QTest>

class TestTokens : public QObject
{
    Q_OBJECT

private slots:
    void sequence_data();
    void sequence();
    void patternMarksSequence_data();
    void patternMarksSequence();
    void pattern_data();
    void pattern();
    void decode_data();
    void decode();
};

void TestTokens::sequence_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("lone open e") << QStringLiteral(u"\u025B") << false;
    QTest::newRow("x") << QStringLiteral("x") << false;
    QTest::newRow("capital") << QStringLiteral("A") << false;
    QTest::newRow("blank") << QStringLiteral(" ") << false;
    QTest::newRow("brackets") << QStringLiteral(u"[igz\u0251:mpl]") << false;
    QTest::newRow("trailing unknown") << QStringLiteral("tsx") << false;
    QTest::newRow("open e schwa") << QStringLiteral(u"\u025B\u0259") << true;
    QTest::newRow("sample") << QStringLiteral(u"igz\u0251:mpl") << true;
    QTest::newRow("tstsh") << QStringLiteral(u"tst\u0283") << true;
}

void TestTokens::sequence()
{
    QFETCH(QString, input);
    QFETCH(bool, accepted);
    QCOMPARE(isPhoneticSequence(input), accepted);
}

// The store runs the walk once and takes an empty pattern for "no sequence".
void TestTokens::patternMarksSequence_data()
{
    sequence_data();
}

void TestTokens::patternMarksSequence()
{
    QFETCH(QString, input);
    QFETCH(bool, accepted);
    QCOMPARE(phoneticToPattern(input).isEmpty(), !accepted);
}

void TestTokens::pattern_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QByteArray>("pattern");
    QTest::newRow("pair before its prefix")
        << QStringLiteral(u"t\u0283") << QByteArray("t&#643;.*");
    QTest::newRow("long i") << QStringLiteral(u"i\u02D0") << QByteArray("i&#720;.*");
    QTest::newRow("apostrophe stress") << QStringLiteral("'") << QByteArray("&#712;.*");
    QTest::newRow("ipa stress") << QStringLiteral(u"\u02C8") << QByteArray("&#712;.*");
    QTest::newRow("ts then t alone")
        << QStringLiteral(u"tst\u0283") << QByteArray("ts.*t.*&#643;.*");
    QTest::newRow("ascii colon breaks the pair")
        << QStringLiteral(u"igz\u0251:mpl")
        << QByteArray("i.*&#609;.*z.*&#593;.*&#720;.*m.*p.*l.*");
    QTest::newRow("ipa length keeps the pair")
        << QStringLiteral(u"\u0251\u02D0") << QByteArray("&#593;&#720;.*");
    QTest::newRow("no token") << QStringLiteral("x") << QByteArray();
    QTest::newRow("unknown after tokens") << QStringLiteral("abx") << QByteArray();
}

void TestTokens::pattern()
{
    QFETCH(QString, input);
    QFETCH(QByteArray, pattern);
    QCOMPARE(phoneticToPattern(input), pattern);
}

void TestTokens::decode_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("decoded");
    QTest::newRow("sample") << QStringLiteral("ig&#712;z&#593;&#720;mpl")
                            << QStringLiteral(u"ig\u02C8z\u0251\u02D0mpl");
    QTest::newRow("no reference") << QStringLiteral("kat") << QStringLiteral("kat");
    QTest::newRow("two schwas") << QStringLiteral("&#601;&#601;")
                                << QStringLiteral(u"\u0259\u0259");
    QTest::newRow("unknown reference")
        << QStringLiteral("&#650;&#952;") << QStringLiteral(u"&#650;\u03B8");
    QTest::newRow("every symbol")
        << QStringLiteral("&#230;&#240;&#331;&#593;&#596;&#601;&#603;&#609;&#618;&#643;&#652;"
                          "&#658;&#712;&#716;&#720;&#952;")
        << QStringLiteral(u"\u00E6\u00F0\u014B\u0251\u0254\u0259\u025B\u0261\u026A\u0283\u028C"
                          u"\u0292\u02C8\u02CC\u02D0\u03B8");
}

void TestTokens::decode()
{
    QFETCH(QString, stored);
    QFETCH(QString, decoded);
    QCOMPARE(decodeEntities(stored), decoded);
}

QTEST_GUILESS_MAIN(TestTokens)
#include "tst_tokens.moc"
