#include "align/aligner.h"

#include <espeak-ng/speak_lib.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

// Speech the synthesizer made, and where it says each word starts.
struct Speech
{
    std::vector<int16_t> samples;                   // at the synthesizer's own rate
    std::vector<std::pair<int, double>> wordStarts; // character position, seconds
    int rate = 0;
};

int collect(short *samples, int count, espeak_EVENT *events)
{
    auto *speech = static_cast<Speech *>(events->user_data);
    speech->samples.insert(speech->samples.end(), samples, samples + count);
    for (; events->type != espeakEVENT_LIST_TERMINATED; ++events) {
        if (events->type == espeakEVENT_WORD)
            speech->wordStarts.emplace_back(events->text_position - 1,
                                            double(events->sample) / speech->rate);
    }
    return 0;
}

// The synthesizer's sound at 16 kHz, resampled by the ffmpeg command.
std::vector<int16_t> to16k(const std::vector<int16_t> &samples, int rate)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 QStringLiteral("-v error -f s16le -ar %1 -ac 1 -i pipe:0 -f s16le -ar %2 pipe:1")
                     .arg(rate)
                     .arg(align::sampleRate)
                     .split(u' '));
    ffmpeg.waitForStarted();
    ffmpeg.write(reinterpret_cast<const char *>(samples.data()),
                 qint64(samples.size() * sizeof(int16_t)));
    ffmpeg.closeWriteChannel();
    ffmpeg.waitForFinished(60000);
    const QByteArray out = ffmpeg.readAllStandardOutput();
    std::vector<int16_t> resampled(std::size_t(out.size()) / sizeof(int16_t));
    std::memcpy(resampled.data(), out.constData(), resampled.size() * sizeof(int16_t));
    return resampled;
}

const QRegularExpression wordPattern(QStringLiteral("[A-Za-z']+"));

double quantile(std::vector<double> values, double q)
{
    std::sort(values.begin(), values.end());
    return values[std::size_t(std::ceil(q * double(values.size()))) - 1];
}

} // namespace

class TestAlignment : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void alignment_data();
    void alignment();

private:
    int m_rate = 0; // the synthesizer's
};

void TestAlignment::initTestCase()
{
    m_rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
    QVERIFY(m_rate > 0);
    espeak_SetSynthCallback(collect);
}

void TestAlignment::alignment_data()
{
    QTest::addColumn<QStringList>("text");
    QTest::addColumn<QList<int>>("spoken"); // the sentences of the text the sound has
    QTest::addColumn<QString>("voice");
    QTest::addColumn<int>("wordsPerMinute");
    QTest::addColumn<bool>("cancelMidway");
    const QStringList story{
        QStringLiteral("The old ship left the harbor early in the morning."),
        QStringLiteral("Nobody on the shore could see where it was going."),
        QStringLiteral("Three days later a letter arrived from a distant island.")};
    QTest::newRow("clean speech") << story << QList<int>{0, 1, 2} << QStringLiteral("en-us") << 175
                                  << false;
    QTest::newRow("a sentence missing from the sound")
        << story << QList<int>{0, 2} << QStringLiteral("en-us") << 150 << false;
    QTest::newRow("a made-up name")
        << QStringList{QStringLiteral("Captain Zorblax sailed to the island of Quintessa."),
                       story[1]}
        << QList<int>{0, 1} << QStringLiteral("en-us") << 190 << false;
    // the synthesizer's British voice, named "en", fast: the decoder's usual beams lose the
    // path in the first window
    QTest::newRow("British voice, fast")
        << story + story + story + story << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}
        << QStringLiteral("en") << 200 << false;
    QTest::newRow("long sound in windows")
        << story + story + story + story << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}
        << QStringLiteral("en-us") << 200 << false;
    QTest::newRow("cancelled midway")
        << story << QList<int>{0, 1, 2} << QStringLiteral("en-us") << 175 << true;
}

void TestAlignment::alignment()
{
    QFETCH(QStringList, text);
    QFETCH(QList<int>, spoken);
    QFETCH(QString, voice);
    QFETCH(int, wordsPerMinute);
    QFETCH(bool, cancelMidway);

    QString said;
    std::vector<int> sentenceAt;
    for (int i : spoken) {
        sentenceAt.push_back(int(said.size()));
        said += text[i] + u' ';
    }
    Speech speech{{}, {}, m_rate};
    QCOMPARE(espeak_SetVoiceByName(voice.toUtf8().constData()), EE_OK);
    espeak_SetParameter(espeakRATE, wordsPerMinute, 0);
    const QByteArray utf8 = said.toUtf8();
    QCOMPARE(espeak_Synth(utf8.constData(), std::size_t(utf8.size()) + 1, 0, POS_CHARACTER, 0,
                          espeakCHARS_UTF8, nullptr, &speech),
             EE_OK);
    const std::vector<int16_t> sound = to16k(speech.samples, speech.rate);
    QVERIFY(!sound.empty());

    std::vector<std::vector<QString>> words;
    for (const QString &sentence : text) {
        words.emplace_back();
        for (const auto &match : wordPattern.globalMatch(sentence))
            words.back().push_back(match.captured().toLower());
    }
    std::atomic<bool> cancel = false;
    QElapsedTimer sinceCancel;
    const auto progress = [&](double heard) {
        if (cancelMidway && heard > 0.4 && !cancel) {
            cancel = true;
            sinceCancel.start();
        }
    };
    const align::Alignment alignment = align::alignWords(sound, words, cancel, progress);
    if (cancelMidway) {
        QVERIFY(sinceCancel.isValid());
        QVERIFY2(sinceCancel.elapsed() < 300, qPrintable(QString::number(sinceCancel.elapsed())));
        QCOMPARE(alignment.outcome, align::Outcome::Cancelled);
        return;
    }
    QCOMPARE(alignment.outcome, align::Outcome::Aligned);
    QCOMPARE(alignment.sentences.size(), std::size_t(text.size()));

    std::vector<double> wordErrors;
    double worstSentence = 0;
    for (int i = 0; i < text.size(); ++i) {
        const align::SentenceTimes &placed = alignment.sentences[std::size_t(i)];
        const auto s = std::find(spoken.cbegin(), spoken.cend(), i) - spoken.cbegin();
        if (s == spoken.size()) {
            QCOMPARE(placed.placement, align::Placement::Skipped);
            continue;
        }
        QCOMPARE(placed.placement, align::Placement::Confident);
        // The synthesizer reports most words where they start; an unstressed word it runs
        // into the next ("in the morning") has no event of its own and is not measured.
        int w = 0;
        for (const auto &match : wordPattern.globalMatch(text[i])) {
            const int position = sentenceAt[std::size_t(s)] + int(match.capturedStart());
            const auto event = std::find_if(speech.wordStarts.cbegin(), speech.wordStarts.cend(),
                                            [&](const auto &e) { return e.first == position; });
            const bool first = w++ == 0;
            QVERIFY(event != speech.wordStarts.cend() || !first);
            if (event == speech.wordStarts.cend())
                continue;
            const double error = std::abs(placed.words[std::size_t(w - 1)].start - event->second);
            wordErrors.push_back(error);
            if (first)
                worstSentence = std::max(worstSentence, error);
        }
        QCOMPARE(std::size_t(w), placed.words.size());
    }
    qInfo("word starts: median %.3f s, 95th percentile %.3f s; sentence starts: worst %.3f s",
          quantile(wordErrors, 0.5), quantile(wordErrors, 0.95), worstSentence);
    QVERIFY(worstSentence <= 0.150);
    QVERIFY(quantile(wordErrors, 0.5) <= 0.050);
    // a window placed a little off shifts every word in it, its sentence starts included
    QVERIFY(quantile(wordErrors, 0.95) <= 0.075);
}

QTEST_GUILESS_MAIN(TestAlignment)
#include "tst_alignment.moc"
