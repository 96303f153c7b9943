#include "media/tempofilter.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <numbers>

namespace {

constexpr int rate = 48000;
constexpr int amplitude = 16000;

// Interleaved `seconds` of silence followed by a 440 Hz tone, the same in every channel.
std::vector<int16_t> silenceThenTone(double silence, double seconds, int sampleRate = rate,
                                     int channels = 2)
{
    const int frames = int(seconds * sampleRate);
    const int quiet = int(silence * sampleRate);
    std::vector<int16_t> s(size_t(frames) * size_t(channels), 0);
    for (int i = quiet; i < frames; ++i) {
        const double v =
            amplitude * std::sin(2 * std::numbers::pi * 440 * (i - quiet) / sampleRate);
        for (int c = 0; c < channels; ++c)
            s[size_t(i * channels + c)] = int16_t(std::lround(v));
    }
    return s;
}

// The frequency of the first channel over frames [from, to), from its rising zero crossings.
double frequency(const std::vector<int16_t> &s, int channels, int from, int to, int sampleRate)
{
    double first = -1;
    double last = -1;
    int crossings = 0;
    for (int i = from + 1; i < to; ++i) {
        const int a = s[size_t((i - 1) * channels)];
        const int b = s[size_t(i * channels)];
        if (a < 0 && b >= 0) {
            const double at = i - 1 + double(-a) / (b - a);
            if (first < 0)
                first = at;
            last = at;
            ++crossings;
        }
    }
    return crossings > 1 ? (crossings - 1) * sampleRate / (last - first) : 0;
}

// The first frame of the first channel louder than half the tone.
int onset(const std::vector<int16_t> &s, int channels)
{
    for (size_t i = 0; i < s.size(); i += size_t(channels))
        if (std::abs(s[i]) > amplitude / 2)
            return int(i) / channels;
    return -1;
}

// Over frames [from, to) of the first channel of a 440 Hz tone: the smallest peak of a
// period, which drops at a gap or a dip, and the largest step from one sample to the
// next, which grows at a click.
struct Smoothness
{
    int weakestPeak = amplitude;
    int largestStep = 0;
};
Smoothness smoothness(const std::vector<int16_t> &s, int channels, int from, int to)
{
    Smoothness r;
    const int period = rate / 440 + 1;
    for (int w = from; w + period <= to; w += period) {
        int peak = 0;
        for (int i = w; i < w + period; ++i)
            peak = std::max(peak, std::abs(int(s[size_t(i * channels)])));
        r.weakestPeak = std::min(r.weakestPeak, peak);
    }
    for (int i = from + 1; i < to; ++i)
        r.largestStep = std::max(r.largestStep,
                                 std::abs(s[size_t(i * channels)] - s[size_t((i - 1) * channels)]));
    return r;
}

} // namespace

class TestTempoFilter : public QObject
{
    Q_OBJECT
private slots:
    void stretchesKeepingPitch_data();
    void stretchesKeepingPitch();
    void passesThroughUntouchedAtNormalTempo();
    void followsFactorAndFormatChangesWithoutGaps();
    void resetDropsWhatItHolds_data();
    void resetDropsWhatItHolds();
    void fadesSpliceEdgesToSilence();
};

void TestTempoFilter::stretchesKeepingPitch_data()
{
    // each stage places a fragment up to half a window (1/48 s) from where the factor
    // would put it: how far the tone's onset may land from its input time
    QTest::addColumn<double>("factor");
    QTest::addColumn<double>("onsetTolerance");
    QTest::newRow("0.25 (two stages)") << 0.25 << 0.05;
    QTest::newRow("0.5") << 0.5 << 0.025;
    QTest::newRow("0.75") << 0.75 << 0.025;
    QTest::newRow("1.5") << 1.5 << 0.025;
    QTest::newRow("2.0") << 2.0 << 0.025;
    QTest::newRow("3.0 (two stages)") << 3.0 << 0.075;
}

// Half a second of silence, then 3.5 s of a tone, pushed in decoder-sized pieces: the
// output lasts input / factor, the tone keeps its pitch, and the input time mapped back
// from each pull puts the tone's onset where it is in the input.
void TestTempoFilter::stretchesKeepingPitch()
{
    QFETCH(double, factor);
    QFETCH(double, onsetTolerance);
    media::TempoFilter f;
    f.setFormat(rate, 2);
    f.setFactor(factor);
    QCOMPARE(f.factor(), factor);
    const std::vector<int16_t> in = silenceThenTone(0.5, 4.0);
    const int inFrames = int(in.size() / 2);
    std::vector<int16_t> out;
    int pushed = 0;
    double onsetInputSeconds = -1;
    while (pushed < inFrames) {
        const int n = std::min(1152, inFrames - pushed);
        f.push(in.data() + size_t(pushed) * 2, n);
        pushed += n;
        const int before = int(out.size() / 2);
        const int got = f.pull(out);
        QCOMPARE(int(out.size() / 2), before + got);
        const int at = onset(out, 2);
        if (onsetInputSeconds < 0 && at >= before) {
            // the last frame pulled stands for input frame pushed - held; each output
            // frame before it for `factor` input frames
            const double lastInput = double(pushed - f.heldInputFrames());
            onsetInputSeconds = (lastInput - (before + got - at) * factor) / rate;
        }
    }
    QVERIFY2(f.heldInputFrames() < rate / 5, qPrintable(QString::number(f.heldInputFrames())));
    f.flush();
    f.pull(out);
    QCOMPARE(f.heldInputFrames(), 0);

    const double expected = inFrames / factor;
    const int outFrames = int(out.size() / 2);
    QVERIFY2(std::abs(outFrames - expected) < expected * 0.01,
             qPrintable(QStringLiteral("%1 frames, expected %2").arg(outFrames).arg(expected)));
    const double hz = frequency(out, 2, int(expected * 0.3), int(expected * 0.8), rate);
    QVERIFY2(std::abs(hz - 440) < 4.4, qPrintable(QString::number(hz)));
    QVERIFY2(std::abs(onsetInputSeconds - 0.5) < onsetTolerance,
             qPrintable(QString::number(onsetInputSeconds)));
    for (size_t i = 0; i + 1 < out.size(); i += 2)
        QCOMPARE(out[i], out[i + 1]);
}

void TestTempoFilter::passesThroughUntouchedAtNormalTempo()
{
    media::TempoFilter f;
    f.setFormat(44100, 2);
    std::vector<int16_t> in(44100 * 2);
    for (int16_t &s : in)
        s = int16_t(QRandomGenerator::global()->bounded(-32768, 32768));
    std::vector<int16_t> out;
    for (size_t at = 0; at < in.size(); at += 2 * 1000) {
        const int n = int(std::min<size_t>(2 * 1000, in.size() - at) / 2);
        f.push(in.data() + at, n);
        QCOMPARE(f.heldInputFrames(), n);
        QCOMPARE(f.pull(out), n);
        QCOMPARE(f.heldInputFrames(), 0);
    }
    QVERIFY(out == in);
}

// 0.75 -> 1.5 -> 3 (two stages) -> 1 -> 0.5, a second of tone at each, then mono at
// 22.05 kHz: every part lasts its input / factor, and the sound goes on at full strength
// without a click.
void TestTempoFilter::followsFactorAndFormatChangesWithoutGaps()
{
    media::TempoFilter f;
    f.setFormat(rate, 2);
    const std::vector<int16_t> tone = silenceThenTone(0, 6.0);
    std::vector<int16_t> out;
    double expected = 0;
    int at = 0;
    for (double factor : {0.75, 1.5, 3.0, 1.0, 0.5}) {
        f.setFactor(factor);
        for (int i = 0; i < 50; ++i, at += 960)
            f.push(tone.data() + size_t(at) * 2, 960);
        f.pull(out);
        expected += rate / factor;
        const double got = double(out.size() / 2) + f.heldInputFrames() / factor;
        // the held count leaves out the filter's lag, 15 ms of input per stage
        QVERIFY2(std::abs(got - expected) < expected * 0.01 + 0.03 * rate / factor,
                 qPrintable(QStringLiteral("at %1x: %2 frames, expected %3")
                                .arg(factor)
                                .arg(got)
                                .arg(expected)));
    }
    f.flush();
    f.pull(out);
    // the tone's own largest step is 2 pi 440 / rate * amplitude, some 920
    const Smoothness smooth = smoothness(out, 2, rate / 10, int(out.size() / 2) - rate / 10);
    QVERIFY2(smooth.weakestPeak > amplitude * 9 / 10,
             qPrintable(QString::number(smooth.weakestPeak)));
    QVERIFY2(smooth.largestStep < 1000, qPrintable(QString::number(smooth.largestStep)));

    f.setFormat(22050, 1);
    f.setFactor(0.75);
    const std::vector<int16_t> mono = silenceThenTone(0, 2.0, 22050, 1);
    std::vector<int16_t> monoOut;
    for (size_t i = 0; i < mono.size(); i += 1000)
        f.push(mono.data() + i, int(std::min<size_t>(1000, mono.size() - i)));
    f.flush();
    f.pull(monoOut);
    QVERIFY2(std::abs(double(monoOut.size()) - 44100 / 0.75) < 441,
             qPrintable(QString::number(monoOut.size())));
    const double hz = frequency(monoOut, 1, 10000, 50000, 22050);
    QVERIFY2(std::abs(hz - 440) < 4.4, qPrintable(QString::number(hz)));
}

void TestTempoFilter::resetDropsWhatItHolds_data()
{
    QTest::addColumn<double>("requested");
    QTest::addColumn<double>("factor");
    QTest::newRow("1.0") << 1.0 << 1.0;
    QTest::newRow("0.75") << 0.75 << 0.75;
    QTest::newRow("0.1 (clamped, two stages)") << 0.1 << 0.25;
    QTest::newRow("10 (clamped, two stages)") << 10.0 << 4.0;
}

// A tone pushed and not pulled before reset() never comes out; silence pushed after it
// does, stretched by the factor clamped to 0.25..4.
void TestTempoFilter::resetDropsWhatItHolds()
{
    QFETCH(double, requested);
    QFETCH(double, factor);
    media::TempoFilter f;
    f.setFormat(rate, 2);
    f.setFactor(requested);
    QCOMPARE(f.factor(), factor);
    const std::vector<int16_t> tone = silenceThenTone(0, 0.5);
    f.push(tone.data(), int(tone.size() / 2));
    f.reset();
    QCOMPARE(f.heldInputFrames(), 0);
    std::vector<int16_t> out;
    QCOMPARE(f.pull(out), 0);
    const std::vector<int16_t> silence(size_t(rate) * 2, 0);
    f.push(silence.data(), rate);
    f.flush();
    f.pull(out);
    // at its end the filter may leave out up to a window per stage of what it was given:
    // under a tenth of a second
    const double outFrames = double(out.size() / 2);
    QVERIFY2(outFrames > rate * 0.9 / factor && outFrames < rate * 1.01 / factor,
             qPrintable(QString::number(outFrames)));
    QVERIFY(std::all_of(out.begin(), out.end(), [](int16_t s) { return s == 0; }));
}

void TestTempoFilter::fadesSpliceEdgesToSilence()
{
    const int fade = media::spliceFadeFrames(rate);
    QCOMPARE(fade, 240); // 5 ms
    // a block longer than the fade, and one shorter, which fades over its whole length
    for (int frames : {1000, 100}) {
        const std::vector<int16_t> block(size_t(frames) * 2, 10000);
        std::vector<int16_t> head = block;
        std::vector<int16_t> tail = block;
        media::fadeIn(head.data(), frames, 2, fade);
        media::fadeOut(tail.data(), frames, 2, fade);
        const int n = std::min(frames, fade);
        for (int c = 0; c < 2; ++c) {
            QCOMPARE(head[size_t(c)], 0);
            QCOMPARE(tail[size_t((frames - 1) * 2 + c)], 0);
            QCOMPARE(head[size_t(n / 2 * 2 + c)], 5000);
            QCOMPARE(tail[size_t((frames - 1 - n / 2) * 2 + c)], 5000);
        }
        // the rest untouched, and the fades rise and fall steadily
        QVERIFY(std::equal(head.begin() + n * 2, head.end(), block.begin() + n * 2));
        QVERIFY(std::equal(tail.begin(), tail.end() - n * 2, block.begin()));
        for (int i = 1; i < n; ++i) {
            QVERIFY(head[size_t(i * 2)] > head[size_t((i - 1) * 2)]);
            QVERIFY(tail[size_t((frames - i) * 2)] < tail[size_t((frames - i - 1) * 2)]);
        }
    }
}

QTEST_GUILESS_MAIN(TestTempoFilter)
#include "tst_tempofilter.moc"
