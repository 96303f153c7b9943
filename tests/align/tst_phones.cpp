#include "align/phones.h"

#include <QTest>

class TestPhones : public QObject
{
    Q_OBJECT

private slots:
    void phones_data();
    void phones();
};

void TestPhones::phones_data()
{
    QTest::addColumn<QString>("ipa");
    QTest::addColumn<QString>("phones");
    QTest::newRow("diphthong before its first letter")
        << QStringLiteral(u"həlˈoʊ bˈaɪ kˈaʊ bˈɔɪ dˈeɪ")
        << QStringLiteral("HH AH L OW B AY K AW B OY D EY");
    QTest::newRow("affricates") << QStringLiteral(u"tʃˈɜːtʃ dʒˈʌdʒ")
                                << QStringLiteral("CH ER CH JH AH JH");
    QTest::newRow("r-coloured vowel keeps no r")
        << QStringLiteral(u"fˈɑːðɚɹ bˈɜːd") << QStringLiteral("F AA DH ER B ER D");
    QTest::newRow("flap, glottal stop, syllabic n")
        << QStringLiteral(u"bˈʌɾɚ bˈʌʔn̩") << QStringLiteral("B AH T ER B AH T N");
    QTest::newRow("a made-up name") << QStringLiteral(u"zˈoːɹblæks kwˈɪntɛsə")
                                    << QStringLiteral("Z AO R B L AE K S K W IH N T EH S AH");
    QTest::newRow("fricatives") << QStringLiteral(u"θˈɔːt ðə mˈɛʒɚ ʃˈiː ɡˈɪv")
                                << QStringLiteral("TH AO T DH AH M EH ZH ER SH IY G IH V");
    QTest::newRow("a sign without a phone") << QStringLiteral(u"bˈʘt") << QString();
    QTest::newRow("nothing") << QString() << QString();
}

void TestPhones::phones()
{
    QFETCH(QString, ipa);
    QFETCH(QString, phones);
    QCOMPARE(align::recogniserPhones(ipa), phones);
}

QTEST_GUILESS_MAIN(TestPhones)
#include "tst_phones.moc"
