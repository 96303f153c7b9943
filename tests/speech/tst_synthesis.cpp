// The speech synthesizer's words: a voice for each spelling dictionary, sound of a plausible
// length in both voices, the accents apart, a clear failure for text with nothing to say, and
// the one synthesizer shared by two threads at once.
#include "speech/synthesizer.h"

#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <thread>

Q_DECLARE_METATYPE(speech::Voice)

class TestSynthesis : public QObject
{
    Q_OBJECT

private slots:
    void voiceOfDictionary_data();
    void voiceOfDictionary();
    void wordsSoundInBothVoices_data();
    void wordsSoundInBothVoices();
    void theVoicesSayWordsDifferently();
    void nothingToSay_data();
    void nothingToSay();
    void twoThreadsShareTheSynthesizer();
};

void TestSynthesis::voiceOfDictionary_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<speech::Voice>("voice");
    QTest::newRow("British") << QStringLiteral("en_GB") << speech::Voice::British;
    QTest::newRow("American") << QStringLiteral("en_US") << speech::Voice::American;
    QTest::newRow("unknown") << QString() << speech::Voice::American;
    QTest::newRow("another language") << QStringLiteral("de_DE") << speech::Voice::American;
}

void TestSynthesis::voiceOfDictionary()
{
    QFETCH(QString, language);
    QFETCH(speech::Voice, voice);
    QCOMPARE(speech::voiceOfDictionary(language), voice);
}

void TestSynthesis::wordsSoundInBothVoices_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<speech::Voice>("voice");
    const std::pair<const char *, speech::Voice> voices[] = {{"American", speech::Voice::American},
                                                             {"British", speech::Voice::British}};
    for (const auto &[name, voice] : voices) {
        QTest::addRow("plain word, %s", name) << QStringLiteral("example") << voice;
        QTest::addRow("blanks around, an apostrophe, %s", name)
            << QStringLiteral("  don't \n") << voice;
        QTest::addRow("short phrase, %s", name) << QStringLiteral("ice cream") << voice;
    }
}

void TestSynthesis::wordsSoundInBothVoices()
{
    QFETCH(QString, word);
    QFETCH(speech::Voice, voice);
    const speech::SpokenWord spoken = speech::synthesizeWord(word, voice);
    QVERIFY2(spoken.hasSound(), qPrintable(spoken.error));
    QVERIFY(spoken.sampleRate >= 8000);
    const double seconds = double(spoken.samples.size()) / spoken.sampleRate;
    QVERIFY2(seconds >= 0.2 && seconds <= 2.0, qPrintable(QString::number(seconds)));
    const int16_t peak =
        *std::max_element(spoken.samples.begin(), spoken.samples.end(),
                          [](int16_t a, int16_t b) { return std::abs(int(a)) < std::abs(int(b)); });
    QVERIFY2(std::abs(int(peak)) > 3000, qPrintable(QString::number(peak)));
}

// The synthesizer varies a word's length by a few samples from one saying to the next; the
// accents differ by far more where they say a word differently.
void TestSynthesis::theVoicesSayWordsDifferently()
{
    const auto length = [](speech::Voice voice) {
        return double(speech::synthesizeWord(QStringLiteral("tomato"), voice).samples.size());
    };
    const double american = length(speech::Voice::American);
    const double british = length(speech::Voice::British);
    QVERIFY2(std::abs(american - british) > 0.04 * american,
             qPrintable(QStringLiteral("%1 and %2 samples").arg(american).arg(british)));
    QCOMPARE(speech::wordInIpa(QStringLiteral("tomato"), speech::Voice::American),
             QStringLiteral(u"təmˈeɪɾoʊ"));
    QCOMPARE(speech::wordInIpa(QStringLiteral("tomato"), speech::Voice::British),
             QStringLiteral(u"təmˈɑːtəʊ"));
}

void TestSynthesis::nothingToSay_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("error");
    QTest::newRow("empty") << QString() << QStringLiteral("There is no word to hear.");
    QTest::newRow("blanks") << QStringLiteral(" \t\n")
                            << QStringLiteral("There is no word to hear.");
    QTest::newRow("signs only") << QStringLiteral("?!…")
                                << QStringLiteral("\"?!…\" has nothing to say: it has no letters.");
    QTest::newRow("a paragraph") << QString(speech::longestWord + 1, u'a')
                                 << QStringLiteral("Only a word or a short phrase can be heard");
}

void TestSynthesis::nothingToSay()
{
    QFETCH(QString, word);
    QFETCH(QString, error);
    for (const speech::Voice voice : {speech::Voice::American, speech::Voice::British}) {
        const speech::SpokenWord spoken = speech::synthesizeWord(word, voice);
        QVERIFY(!spoken.hasSound());
        QVERIFY2(spoken.error.startsWith(error), qPrintable(spoken.error));
        QVERIFY(spoken.samples.empty());
    }
}

// A word is said while another thread (the aligner's) asks for pronunciations: both get what
// they get alone (the word's length within the synthesizer's own variation).
void TestSynthesis::twoThreadsShareTheSynthesizer()
{
    const auto alone = double(
        speech::synthesizeWord(QStringLiteral("example"), speech::Voice::British).samples.size());
    const QString ipa = speech::wordInIpa(QStringLiteral("harbour"), speech::Voice::American);
    QVERIFY(alone > 0);
    QVERIFY(!ipa.isEmpty());
    constexpr int rounds = 50;
    int sameIpa = 0;
    std::thread aligner([&] {
        for (int i = 0; i < rounds; ++i)
            sameIpa += speech::wordInIpa(QStringLiteral("harbour"), speech::Voice::American) == ipa;
    });
    int sameSound = 0;
    for (int i = 0; i < rounds; ++i) {
        const auto length =
            double(speech::synthesizeWord(QStringLiteral("example"), speech::Voice::British)
                       .samples.size());
        sameSound += std::abs(length - alone) < 0.01 * alone;
    }
    aligner.join();
    QCOMPARE(sameSound, rounds);
    QCOMPARE(sameIpa, rounds);
}

QTEST_GUILESS_MAIN(TestSynthesis)
#include "tst_synthesis.moc"
