// A word said through the null sound output: it plays at the real rate of its samples and
// reports its end; a text with nothing to say plays nothing; a second word cuts off the first.
#include "speech/wordspeaker.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

class TestWordSpeaker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sayingTakesTheWordsOwnTime_data();
    void sayingTakesTheWordsOwnTime();
    void nothingToSayPlaysNothing();
    void aSecondWordCutsOffTheFirst();
};

namespace {

qint64 millisecondsOf(const QString &word, speech::Voice voice)
{
    const speech::SpokenWord spoken = speech::synthesizeWord(word, voice);
    return qint64(spoken.samples.size()) * 1000 / spoken.sampleRate;
}

} // namespace

void TestWordSpeaker::initTestCase()
{
    // before any sound output is made: the null output, and no server to reach
    qputenv("VORLYN_SOUND", "null");
    qputenv("PULSE_SERVER", "unix:/nonexistent/pulse");
}

void TestWordSpeaker::sayingTakesTheWordsOwnTime_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("voice");
    QTest::newRow("American") << QStringLiteral("example") << int(speech::Voice::American);
    QTest::newRow("British") << QStringLiteral("schedule") << int(speech::Voice::British);
}

void TestWordSpeaker::sayingTakesTheWordsOwnTime()
{
    QFETCH(QString, word);
    QFETCH(int, voice);
    const auto accent = speech::Voice(voice);
    const qint64 wordMs = millisecondsOf(word, accent);
    speech::WordSpeaker speaker;
    QSignalSpy finished(&speaker, &speech::WordSpeaker::finished);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(speaker.speak(word, accent), QString());
    QVERIFY(speaker.isSpeaking());
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
    const qint64 took = clock.elapsed();
    QVERIFY(!speaker.isSpeaking());
    // never sooner than the word lasts, nor much later
    QVERIFY2(took >= wordMs && took < wordMs + 2000,
             qPrintable(QStringLiteral("%1 ms for a word of %2 ms").arg(took).arg(wordMs)));
}

void TestWordSpeaker::nothingToSayPlaysNothing()
{
    speech::WordSpeaker speaker;
    QSignalSpy finished(&speaker, &speech::WordSpeaker::finished);
    QCOMPARE(speaker.speak(QStringLiteral("  "), speech::Voice::American),
             QStringLiteral("There is no word to hear."));
    QVERIFY(!speaker.isSpeaking());
    QCOMPARE(finished.size(), 0);
}

void TestWordSpeaker::aSecondWordCutsOffTheFirst()
{
    const qint64 firstMs = millisecondsOf(QStringLiteral("extraordinary"), speech::Voice::American);
    const qint64 secondMs = millisecondsOf(QStringLiteral("cat"), speech::Voice::American);
    QVERIFY(firstMs > secondMs + 300);
    speech::WordSpeaker speaker;
    QSignalSpy finished(&speaker, &speech::WordSpeaker::finished);
    QCOMPARE(speaker.speak(QStringLiteral("extraordinary"), speech::Voice::American), QString());
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(speaker.speak(QStringLiteral("cat"), speech::Voice::American), QString());
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
    const qint64 took = clock.elapsed();
    // the end of the second word, long before the first would have ended
    QVERIFY2(took >= secondMs && took < firstMs, qPrintable(QString::number(took)));
}

QTEST_GUILESS_MAIN(TestWordSpeaker)
#include "tst_wordspeaker.moc"
