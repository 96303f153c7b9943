// The speech synthesizer: a word sounds for a plausible time in the voice of each spelling
// dictionary, text with nothing to say fails clearly, and two threads share the synthesizer.
#include "speech/synthesizer.h"

#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <thread>

class TestSynthesis : public QObject
{
    Q_OBJECT

private slots:
    void wordsSound_data();
    void wordsSound();
    void nothingToSay_data();
    void nothingToSay();
    void twoThreadsShareTheSynthesizer();
};

void TestSynthesis::wordsSound_data()
{
    QTest::addColumn<QString>("word");
    QTest::newRow("word") << QStringLiteral("tomato");
    QTest::newRow("blanks around, an apostrophe") << QStringLiteral("  don't \n");
    QTest::newRow("short phrase") << QStringLiteral("ice cream");
}

// Loud, 0.2 to 2 s long. The synthesizer varies a word's length by a few samples; the two
// accents differ by far more, and a dictionary of no known accent gets the American one.
void TestSynthesis::wordsSound()
{
    QFETCH(QString, word);
    std::vector<double> lengths;
    for (const char *language : {"en_US", "en_GB", ""}) {
        const speech::SpokenWord spoken =
            speech::synthesizeWord(word, speech::voiceOfDictionary(QLatin1String(language)));
        QVERIFY2(spoken.hasSound(), qPrintable(spoken.error));
        const double seconds = double(spoken.samples.size()) / spoken.sampleRate;
        QVERIFY2(seconds >= 0.2 && seconds <= 2.0, qPrintable(QString::number(seconds)));
        const auto [low, high] = std::minmax_element(spoken.samples.begin(), spoken.samples.end());
        QVERIFY(std::max(-int(*low), int(*high)) > 3000);
        lengths.push_back(double(spoken.samples.size()));
    }
    QVERIFY2(std::abs(lengths[0] - lengths[1]) > 0.03 * lengths[0], qPrintable(word));
    QVERIFY2(std::abs(lengths[0] - lengths[2]) < 0.01 * lengths[0], qPrintable(word));
}

void TestSynthesis::nothingToSay_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("error");
    QTest::newRow("blanks only") << QStringLiteral(" \t\n")
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
    const speech::SpokenWord spoken = speech::synthesizeWord(word, speech::Voice::British);
    QVERIFY2(spoken.error.startsWith(error), qPrintable(spoken.error));
    QVERIFY(spoken.samples.empty());
}

// A word is said while another thread (the aligner's) asks for pronunciations: both get what
// they get alone (the word's length within the synthesizer's own variation).
void TestSynthesis::twoThreadsShareTheSynthesizer()
{
    const auto lengthOfExample = [] {
        return double(speech::synthesizeWord(QStringLiteral("example"), speech::Voice::British)
                          .samples.size());
    };
    const double alone = lengthOfExample();
    const QString ipa = speech::wordInIpa(QStringLiteral("harbour"), speech::Voice::American);
    QVERIFY(!ipa.isEmpty());
    constexpr int rounds = 50;
    int sameIpa = 0;
    std::thread aligner([&] {
        for (int i = 0; i < rounds; ++i)
            sameIpa += speech::wordInIpa(QStringLiteral("harbour"), speech::Voice::American) == ipa;
    });
    int sameSound = 0;
    for (int i = 0; i < rounds; ++i)
        sameSound += std::abs(lengthOfExample() - alone) < 0.01 * alone;
    aligner.join();
    QCOMPARE(sameSound, rounds);
    QCOMPARE(sameIpa, rounds);
}

QTEST_GUILESS_MAIN(TestSynthesis)
#include "tst_synthesis.moc"
