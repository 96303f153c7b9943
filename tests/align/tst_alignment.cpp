#include "align/aligner.h"

#include <espeak-ng/speak_lib.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <numbers>

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

// Chords of three notes with two overtones each, a new one every second, about as loud as
// the synthesizer's speech.
std::vector<int16_t> tones(double seconds)
{
    constexpr double chords[][3] = {{220.0, 277.2, 329.6}, {174.6, 220.0, 261.6}};
    std::vector<int16_t> sound(std::size_t(seconds * align::sampleRate));
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double t = double(i) / align::sampleRate;
        double sum = 0;
        for (const double f : chords[std::size_t(t) % std::size(chords)])
            for (int h = 1; h <= 3; ++h)
                sum += std::sin(2 * std::numbers::pi * f * h * t) / (h * h);
        sound[i] = int16_t(std::lround(1500 * sum));
    }
    return sound;
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
    // a spoken word that the text writes in signs neither the dictionary nor the synthesizer
    // can pronounce
    QTest::addColumn<QString>("unreadable");
    // seconds of music-like tones before and after the speech; its sentences are then placed
    // but marked as amid much sound that is not the text's
    QTest::addColumn<double>("tonesAround");
    const QStringList story{
        QStringLiteral("The old ship left the harbor early in the morning."),
        QStringLiteral("Nobody on the shore could see where it was going."),
        QStringLiteral("Three days later a letter arrived from a distant island.")};
    QTest::newRow("clean speech") << story << QList<int>{0, 1, 2} << QStringLiteral("en-us") << 175
                                  << false << QString() << 0.0;
    QTest::newRow("a sentence missing from the sound")
        << story << QList<int>{0, 2} << QStringLiteral("en-us") << 150 << false << QString() << 0.0;
    QTest::newRow("a made-up name")
        << QStringList{QStringLiteral("Captain Zorblax sailed to the island of Quintessa."),
                       story[1]}
        << QList<int>{0, 1} << QStringLiteral("en-us") << 190 << false << QString() << 0.0;
    // the synthesizer's British voice, named "en", fast: the decoder's usual beams lose the
    // path in the first window
    QTest::newRow("British voice, fast")
        << story + story + story + story << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}
        << QStringLiteral("en") << 200 << false << QString() << 0.0;
    QTest::newRow("long sound in windows")
        << story + story + story + story << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}
        << QStringLiteral("en-us") << 200 << false << QString() << 0.0;
    QTest::newRow("a word nobody can pronounce")
        << QStringList{QStringLiteral("Captain Zorblax sailed to the island of Quintessa."),
                       story[1]}
        << QList<int>{0, 1} << QStringLiteral("en-us") << 175 << false << QStringLiteral("zorblax")
        << 0.0;
    QTest::newRow("a sentence amid long tones")
        << QStringList{story[1]} << QList<int>{0} << QStringLiteral("en-us") << 175 << false
        << QString() << 5.0;
    QTest::newRow("cancelled midway") << story << QList<int>{0, 1, 2} << QStringLiteral("en-us")
                                      << 175 << true << QString() << 0.0;
}

void TestAlignment::alignment()
{
    QFETCH(QStringList, text);
    QFETCH(QList<int>, spoken);
    QFETCH(QString, voice);
    QFETCH(int, wordsPerMinute);
    QFETCH(bool, cancelMidway);
    QFETCH(QString, unreadable);
    QFETCH(double, tonesAround);

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
    const std::vector<int16_t> speechAt16k = to16k(speech.samples, speech.rate);
    QVERIFY(!speechAt16k.empty());
    std::vector<int16_t> sound = tones(tonesAround);
    sound.insert(sound.end(), speechAt16k.cbegin(), speechAt16k.cend());
    const std::vector<int16_t> after = tones(tonesAround);
    sound.insert(sound.end(), after.cbegin(), after.cend());

    std::vector<std::vector<QString>> words;
    for (const QString &sentence : text) {
        words.emplace_back();
        for (const auto &match : wordPattern.globalMatch(sentence))
            words.back().push_back(match.captured().toLower() == unreadable
                                       ? QStringLiteral("\U0001D11E\U0001D11E")
                                       : match.captured().toLower());
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
        QCOMPARE(placed.placement,
                 tonesAround > 0 ? align::Placement::MuchGarbage : align::Placement::Confident);
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
            const double error =
                std::abs(placed.words[std::size_t(w - 1)].start - tonesAround - event->second);
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
