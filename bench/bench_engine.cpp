// The engine at work on H.264 clips with a key frame every 2 s: how long a loop-back
// takes from the loop end rule to the first picture at the loop start, how long a seek
// takes to its first picture, how long a file takes from open to its first picture,
// what playing at normal speed costs, and what stretching the sound to a slower tempo
// costs.
#include "benchsupport.h"

#include "media/media.h"
#include "media/tempofilter.h"
#include "support/mediatestprobe.h"
#include "support/monitorrecorder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>

namespace {

constexpr int repetitions = 10;

double nowMs()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return double(clock.nsecsElapsed()) / 1e6;
}

std::unique_ptr<Media> openClip(const QString &file)
{
    auto m = std::make_unique<Media>(nullptr, false, 16, AV_PIX_FMT_RGB24, 0, 0);
    if (!m->open(file))
        qFatal("cannot open %s", qPrintable(file));
    return m;
}

int64_t ticks(const Media &m, double seconds)
{
    const AVRational tb = m.timeBase();
    return int64_t(std::llround(seconds * tb.den / tb.num));
}

// Runs the event loop until done() or the time is up; a timer calls poll() every
// tickMs and then looks at done().
template <typename Poll, typename Done>
void runUntil(Poll poll, Done done, int timeoutMs, int tickMs = 1)
{
    QEventLoop loop;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, &loop, [&] {
        poll();
        if (done())
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    ticker.start(tickMs);
    loop.exec();
}

// Loop-back gap of a video clip: marks 2 s apart, the loop start in the middle of a GOP.
void videoLoopBack(const QString &clip, const char *label)
{
    auto m = openClip(clip);
    const double in = 3.0;
    const double out = 5.0;
    m->setMarkOutAt(ticks(*m, out));
    m->setMarkInAt(ticks(*m, in));
    std::vector<double> gaps;
    std::vector<double> freezes;
    double ruleAt = -1;
    double lastPictureAt = -1;
    double lastPts = -1;
    QObject::connect(m.get(), &Media::frameReady, m.get(), [&](int id) {
        const double pts = m->picture(id)->pts;
        const double t = nowMs();
        if (ruleAt >= 0 && pts < lastPts && std::abs(pts - in) < 0.02) {
            gaps.push_back(t - ruleAt);
            freezes.push_back(t - lastPictureAt);
            ruleAt = -1;
        }
        lastPts = pts;
        lastPictureAt = t;
    });
    m->start();
    runUntil(
        [&] {
            if (ruleAt < 0 && lastPts > in + 0.5 && MediaTestProbe::seekPending(*m))
                ruleAt = nowMs();
        },
        [&] { return gaps.size() >= size_t(repetitions); }, 60000);
    m->stop();
    const bench::Summary gap = bench::summarize(gaps);
    const bench::Summary freeze = bench::summarize(freezes);
    const QString extra = QStringLiteral("\"clip\": \"%1\", \"max\": %2, \"repetitions\": %3")
                              .arg(QString::fromLatin1(label))
                              .arg(gap.max, 0, 'f', 1)
                              .arg(gaps.size());
    bench::print("loop_back_gap_ms", gap.median, "ms", extra);
    bench::print("loop_back_picture_interval_ms", freeze.median, "ms",
                 QStringLiteral("\"clip\": \"%1\", \"max\": %2, \"normal\": 40")
                     .arg(QString::fromLatin1(label))
                     .arg(freeze.max, 0, 'f', 1));
}

// Audio-only loop-back: from the rule to the audio thread taking the first packet at the
// loop start (its clock falls back), whose samples it writes to the sink at once.
void audioLoopBack(const QString &clip)
{
    auto m = openClip(clip);
    const double in = 3.0;
    const double out = 4.0;
    m->setMarkOutAt(ticks(*m, out));
    m->setMarkInAt(ticks(*m, in));
    std::vector<double> gaps;
    double ruleAt = -1;
    double lastClock = 0;
    m->start();
    runUntil(
        [&] {
            const double clock = m->currentClock();
            if (ruleAt < 0 && clock > in + 0.5 && MediaTestProbe::seekPending(*m))
                ruleAt = nowMs();
            if (ruleAt >= 0 && clock < lastClock - 0.5) {
                gaps.push_back(nowMs() - ruleAt);
                ruleAt = -1;
            }
            lastClock = clock;
        },
        [&] { return gaps.size() >= size_t(repetitions); }, 60000);
    m->stop();
    const bench::Summary gap = bench::summarize(gaps);
    bench::print("audio_loop_back_gap_ms", gap.median, "ms",
                 QStringLiteral("\"clip\": \"mp3\", \"max\": %1, \"repetitions\": %2")
                     .arg(gap.max, 0, 'f', 1)
                     .arg(gaps.size()));
}

void seekLatency(const QString &clip)
{
    auto m = openClip(clip);
    std::vector<double> latencies;
    double seekAt = -1;
    double target = 0;
    QObject::connect(m.get(), &Media::frameReady, m.get(), [&](int id) {
        if (seekAt >= 0 && std::abs(m->picture(id)->pts - target) < 0.03) {
            latencies.push_back(nowMs() - seekAt);
            seekAt = -1;
        }
    });
    m->start();
    QRandomGenerator rng(42);
    const double length = double(m->duration()) * m->timeBase().num / m->timeBase().den;
    runUntil(
        [&] {
            if (seekAt >= 0 || MediaTestProbe::seekPending(*m))
                return;
            // a whole frame time, between 1 s and 2 s before the end
            target = std::floor((1.0 + rng.bounded(length - 3.0)) * 25) / 25;
            seekAt = nowMs();
            m->seek(ticks(*m, target));
        },
        [&] { return latencies.size() >= size_t(repetitions * 2); }, 60000);
    m->stop();
    const bench::Summary s = bench::summarize(latencies);
    bench::print("seek_latency_ms", s.median, "ms",
                 QStringLiteral("\"clip\": \"1920x1080\", \"max\": %1, \"repetitions\": %2")
                     .arg(s.max, 0, 'f', 1)
                     .arg(latencies.size()));
}

void openToFirstPicture(const QString &clip)
{
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        const double t0 = nowMs();
        auto m = openClip(clip);
        bool shown = false;
        QObject::connect(m.get(), &Media::frameReady, m.get(), [&](int) {
            if (!shown)
                times.push_back(nowMs() - t0);
            shown = true;
        });
        m->start();
        runUntil([] {}, [&] { return shown; }, 10000);
    }
    const bench::Summary s = bench::summarize(times);
    bench::print("open_to_first_picture_ms", s.median, "ms",
                 QStringLiteral("\"clip\": \"1920x1080\", \"max\": %1").arg(s.max, 0, 'f', 1));
}

void playbackCpu(const QString &clip, int seconds)
{
    auto m = openClip(clip);
    m->setLoop(false);
    int pictures = 0;
    QObject::connect(m.get(), &Media::frameReady, m.get(), [&](int) { ++pictures; });
    bool ended = false;
    QObject::connect(m.get(), &Media::paused, m.get(), [&](bool p) { ended = p; });
    const double cpu0 = bench::selfCpuSeconds();
    const double t0 = nowMs();
    m->start();
    runUntil([] {}, [&] { return ended; }, (seconds + 10) * 1000, 100);
    const double cpu = bench::selfCpuSeconds() - cpu0;
    const double wall = (nowMs() - t0) / 1000;
    m.reset();
    const double ffmpegCpu = bench::ffmpegDecodeToRgbCpu(clip);
    const QString extra = QStringLiteral("\"clip\": \"1920x1080 H.264 + AAC, %1 s\"").arg(seconds);
    bench::print("playback_cpu_per_media_second", cpu / seconds, "s/s",
                 extra + QStringLiteral(", \"pictures\": %1, \"wall_s\": %2")
                             .arg(pictures)
                             .arg(wall, 0, 'f', 2));
    bench::print("ffmpeg_decode_rgb24_cpu_per_media_second", ffmpegCpu / seconds, "s/s", extra);
    bench::print("playback_cpu_ratio_to_ffmpeg", cpu / ffmpegCpu, "x");
}

// Stereo 48 kHz that behaves like speech for a time-stretcher: voiced syllables (a gliding
// fundamental with its harmonics, rising and falling three times a second), hissed
// consonants and short pauses.
std::vector<int16_t> speechLike(int seconds)
{
    constexpr int rate = 48000;
    const int frames = seconds * rate;
    std::vector<int16_t> s(size_t(frames) * 2);
    QRandomGenerator rng(7);
    double phase = 0;
    for (int i = 0; i < frames; ++i) {
        const double t = double(i) / rate;
        const double syllable = std::fmod(t * 3, 1.0); // where in its syllable
        const double f0 = 110 + 50 * std::sin(2 * std::numbers::pi * 0.4 * t);
        phase += 2 * std::numbers::pi * f0 / rate;
        double v = 0;
        if (syllable < 0.6) {
            for (int k = 1; k <= 10; ++k)
                v += std::sin(k * phase) / k;
            v *= std::sin(std::numbers::pi * syllable / 0.6) * 0.3;
        } else if (syllable < 0.8) {
            v = (rng.generateDouble() - 0.5) * 0.2;
        }
        s[size_t(i) * 2] = int16_t(std::lround(v * 32767));
        s[size_t(i) * 2 + 1] = int16_t(std::lround(v * 0.8 * 32767));
    }
    return s;
}

// CPU per media second of the tempo filter at 0.75 and at 1 (where it only copies), fed
// in pieces the size of a decoded MP3 frame; and the CPU of a reset, which rebuilds the
// filter graph for the next samples, as after every loop-back.
void tempoCpu()
{
    constexpr int rate = 48000;
    constexpr int seconds = 120;
    constexpr int piece = 1152;
    const std::vector<int16_t> speech = speechLike(seconds);
    const int frames = int(speech.size() / 2);
    std::vector<int16_t> out;
    auto run = [&](double factor) {
        media::TempoFilter filter;
        filter.setFormat(rate, 2);
        filter.setFactor(factor);
        const double cpu0 = bench::selfCpuSeconds();
        for (int at = 0; at < frames; at += piece) {
            filter.push(speech.data() + size_t(at) * 2, std::min(piece, frames - at));
            out.clear();
            filter.pull(out);
        }
        return (bench::selfCpuSeconds() - cpu0) / seconds;
    };
    const double normal = run(1.0);
    const double slow = run(0.75);
    const QString extra =
        QStringLiteral("\"audio\": \"speech-like, stereo 48 kHz, %1 s\"").arg(seconds);
    bench::print("tempo_cpu_per_media_second", normal, "s/s",
                 extra + QStringLiteral(", \"factor\": 1.0"));
    bench::print("tempo_cpu_per_media_second", slow, "s/s",
                 extra + QStringLiteral(", \"factor\": 0.75"));
    bench::print("tempo_stretch_added_cpu_per_media_second", slow - normal, "s/s",
                 extra + QStringLiteral(", \"factor\": 0.75, \"target\": 0.01"));

    constexpr int resets = 200;
    media::TempoFilter filter;
    filter.setFormat(rate, 2);
    filter.setFactor(0.75);
    const double cpu0 = bench::selfCpuSeconds();
    for (int i = 0; i < resets; ++i) {
        filter.reset();
        filter.push(speech.data(), piece);
        out.clear();
        filter.pull(out);
    }
    bench::print("tempo_reset_cpu_ms", (bench::selfCpuSeconds() - cpu0) * 1000 / resets, "ms",
                 QStringLiteral("\"factor\": 0.75, \"repetitions\": %1").arg(resets));
}

// A speed change while playing, heard from outside: the clip is a chirp whose pitch
// rises 300 Hz per media second, so the pitch in the recording tells the media time
// heard at each moment (the stretch keeps the pitch). The delay is where the lines of
// media time over wall time before and after the change meet, less the moment of the
// call. Also the longest silence while playing, and the largest step between two
// samples near the changes against elsewhere (a click is a step far above the
// chirp's own).
void speedChange(const QString &chirp)
{
    struct Change
    {
        double atS;
        double speed;
    };
    const std::vector<Change> changes{{1.5, 0.5}, {3.0, 1.5}, {4.5, 1.0}, {5.5, 0.75}};
    MonitorRecorder recorder;
    runUntil([] {}, [] { return false; }, 500, 50); // the recorder is running
    auto m = openClip(chirp);
    m->setLoop(false);
    bool ended = false;
    QObject::connect(m.get(), &Media::paused, m.get(), [&](bool p) { ended = p; });
    std::vector<double> calledMs; // on the recorder's clock
    const double t0 = nowMs();
    m->start();
    size_t next = 0;
    runUntil(
        [&] {
            if (next < changes.size() && nowMs() - t0 >= changes[next].atS * 1000) {
                calledMs.push_back(MonitorRecorder::now() * 1000);
                m->setPlaySpeedFactor(changes[next++].speed);
            }
        },
        [&] { return ended; }, 20000, 5);
    runUntil([] {}, [] { return false; }, 300, 50); // the end is recorded
    m.reset();
    const std::vector<int16_t> rec = recorder.take();
    const double startMs = rec.empty() ? 0 : recorder.timeOf(0) * 1000;
    if (calledMs.size() != changes.size() || rec.empty()) {
        std::fprintf(stderr, "speed change: no recording or the clip ended early\n");
        return;
    }
    constexpr double rate = 48000;
    // rising zero crossings, to the fraction of a sample
    std::vector<double> rises;
    size_t first = rec.size();
    size_t last = 0;
    for (size_t i = 1; i < rec.size(); ++i) {
        if (std::abs(rec[i]) > 1000) {
            first = std::min(first, i);
            last = i;
        }
        if (rec[i - 1] < 0 && rec[i] >= 0)
            rises.push_back(double(i - 1) + double(-rec[i - 1]) / double(rec[i] - rec[i - 1]));
    }
    // (wall ms, media s) every 5 ms, from the pitch over 40 ms
    std::vector<std::pair<double, double>> heard;
    size_t lo = 0;
    for (double at = double(first); at + 1920 < double(last); at += 240) {
        while (lo < rises.size() && rises[lo] < at)
            ++lo;
        size_t hi = lo;
        while (hi < rises.size() && rises[hi] < at + 1920)
            ++hi;
        if (hi - lo < 3)
            continue;
        const double f = double(hi - lo - 1) * rate / (rises[hi - 1] - rises[lo]);
        heard.emplace_back(startMs + (at + 960) * 1000 / rate, (f - 300) / 300);
    }
    const auto offsetOver = [&](double fromMs, double toMs, double speed) {
        std::vector<double> offsets;
        for (const auto &[ms, media] : heard)
            if (ms >= fromMs && ms < toMs)
                offsets.push_back(media - speed * ms / 1000);
        std::sort(offsets.begin(), offsets.end());
        return offsets.empty() ? std::nan("") : offsets[offsets.size() / 2];
    };
    double previous = 1.0;
    for (size_t i = 0; i < changes.size(); ++i) {
        const double speed = changes[i].speed;
        const double before = offsetOver(calledMs[i] - 500, calledMs[i] - 50, previous);
        const double after = offsetOver(calledMs[i] + 350, calledMs[i] + 850, speed);
        const double meetMs = (after - before) / (previous - speed) * 1000;
        bench::print(
            "speed_change_heard_after_ms", meetMs - calledMs[i], "ms",
            QStringLiteral("\"from\": %1, \"to\": %2, \"target\": 150").arg(previous).arg(speed));
        previous = speed;
    }
    size_t gap = 0;
    size_t run = 0;
    int stepNear = 0;
    int stepElsewhere = 0;
    for (size_t i = first + 1; i <= last; ++i) {
        run = std::abs(rec[i]) < 200 ? run + 1 : 0;
        gap = std::max(gap, run);
        const double ms = startMs + double(i) * 1000 / rate;
        const bool near = std::any_of(calledMs.begin(), calledMs.end(),
                                      [ms](double c) { return ms > c - 50 && ms < c + 400; });
        int &step = near ? stepNear : stepElsewhere;
        step = std::max(step, std::abs(rec[i] - rec[i - 1]));
    }
    bench::print("speed_change_longest_silence_ms", double(gap) * 1000 / rate, "ms",
                 QStringLiteral("\"target\": 50"));
    bench::print("speed_change_largest_sample_step", stepNear, "",
                 QStringLiteral("\"elsewhere\": %1").arg(stepElsewhere));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    tempoCpu();
    MediaFixtures clips(bench::ffmpegTimeoutMs);
    if (!clips.make(QStringLiteral("chirp.wav"),
                    {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                     QStringLiteral("aevalsrc=0.25*sin(2*PI*(300*t+150*t*t)):s=48000:d=8")}))
        return 1;
    speedChange(clips.path(QStringLiteral("chirp.wav")));
    const int seconds = 12;
    if (!clips.makeClip(QStringLiteral("clip1080.mp4"), bench::clip("1920x1080", seconds)) ||
        !clips.makeClip(QStringLiteral("clip360.mp4"), bench::clip("640x360", seconds)) ||
        !clips.make(QStringLiteral("lesson.mp3"),
                    {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                     QStringLiteral("sine=frequency=440:sample_rate=44100:duration=8"),
                     QStringLiteral("-c:a"), QStringLiteral("libmp3lame")}))
        return 1;
    const QString hd = clips.path(QStringLiteral("clip1080.mp4"));
    const QString sd = clips.path(QStringLiteral("clip360.mp4"));
    const QString mp3 = clips.path(QStringLiteral("lesson.mp3"));

    videoLoopBack(sd, "640x360");
    videoLoopBack(hd, "1920x1080");
    audioLoopBack(mp3);
    seekLatency(hd);
    openToFirstPicture(hd);
    playbackCpu(hd, seconds);
    return 0;
}
