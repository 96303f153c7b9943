// Playing slower or faster, heard from outside: what the sink plays is recorded from its
// monitor and compared with the clip and with the pictures handed out for display.
#include "media/media.h"

#include "support/mediafixtures.h"
#include "support/monitorrecorder.h"

#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int rate = MonitorRecorder::rate;

std::unique_ptr<Media> openMedia(const QString &file)
{
    auto m = std::make_unique<Media>(nullptr, false, 16, 2, 0, 0);
    if (!m->open(file))
        return nullptr;
    return m;
}

// The first and one past the last recorded sample louder than threshold in [from, to).
std::pair<size_t, size_t> soundSpan(const std::vector<int16_t> &rec, size_t from, size_t to,
                                    int threshold)
{
    size_t first = to;
    size_t end = from;
    for (size_t i = from; i < std::min(to, rec.size()); ++i) {
        if (std::abs(int(rec[i])) > threshold) {
            first = std::min(first, i);
            end = i + 1;
        }
    }
    return {first, end};
}

// The frequency of a steady tone in rec[from, to): the median over its tenths of a
// second of their rising zero crossings, placed between samples, over the time between
// the first and the last of them (a moment's dropout spoils only its own tenth).
double toneFrequency(const std::vector<int16_t> &rec, size_t from, size_t to)
{
    std::vector<double> found;
    for (size_t window = from; window + rate / 10 <= to; window += rate / 10) {
        double first = -1;
        double last = -1;
        int crossings = 0;
        for (size_t i = window + 1; i < window + rate / 10; ++i) {
            if (rec[i - 1] < 0 && rec[i] >= 0) {
                const double at = double(i - 1) + double(-rec[i - 1]) / double(rec[i] - rec[i - 1]);
                if (first < 0)
                    first = at;
                last = at;
                ++crossings;
            }
        }
        if (crossings > 1)
            found.push_back((crossings - 1) * rate / (last - first));
    }
    if (found.empty())
        return 0;
    std::nth_element(found.begin(), found.begin() + found.size() / 2, found.end());
    return found[found.size() / 2];
}

// A stretch of recorded samples not louder than a threshold: first sample and length.
struct Quiet
{
    size_t from;
    size_t length;
};

// The quiet stretches of at least minLength samples in rec[from, to).
std::vector<Quiet> quietRuns(const std::vector<int16_t> &rec, size_t from, size_t to, int threshold,
                             size_t minLength)
{
    std::vector<Quiet> out;
    size_t run = 0;
    to = std::min(to, rec.size());
    for (size_t i = from; i < to; ++i) {
        if (std::abs(int(rec[i])) <= threshold) {
            ++run;
            continue;
        }
        if (run >= minLength)
            out.push_back({i - run, run});
        run = 0;
    }
    if (run >= minLength)
        out.push_back({to - run, run});
    return out;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return NAN;
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
}

// The loudest sample of rec: the thresholds are fractions of it, whatever the mixer's levels.
int peak(const std::vector<int16_t> &rec)
{
    int loudest = 0;
    for (int16_t s : rec)
        loudest = std::max(loudest, std::abs(int(s)));
    return loudest;
}

// Whether the recording reaches wall time t (MonitorRecorder::now()).
bool recordedUntil(const MonitorRecorder &recorder, double t)
{
    return int64_t(recorder.take().size()) > recorder.indexAt(t);
}

// Whether the sound recorded has ended: the last `seconds` of the recording are quiet
// after something loud.
bool soundEnded(const MonitorRecorder &recorder, double seconds)
{
    const std::vector<int16_t> rec = recorder.take();
    const auto tail = size_t(seconds * rate);
    if (rec.size() <= tail)
        return false;
    const int loudest = peak(rec);
    return loudest > 1000 &&
           std::all_of(rec.end() - ptrdiff_t(tail), rec.end(),
                       [loudest](int16_t s) { return std::abs(int(s)) < loudest / 20; });
}

// Waits until the recorder hears the sink, so nothing played is missed.
bool waitForRecording(const MonitorRecorder &recorder)
{
    return QTest::qWaitFor([&] { return recorder.recording(); }, 20000);
}

} // namespace

class TestTempo : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void slowToneKeepsItsPitchAndLastsLonger();
    void clickIsHeardWithItsPicture_data();
    void clickIsHeardWithItsPicture();
    void speedChangesLeaveNoGap();
    void repetitionSoundsFromMarkToMark_data();
    void repetitionSoundsFromMarkToMark();

private:
    MediaFixtures fx;
};

void TestTempo::initTestCase()
{
    QVERIFY(fx.dir.isValid());
    QVERIFY(fx.make(QStringLiteral("tone.wav"),
                    MediaFixtures::toneSource(3, rate) +
                        QStringList{QStringLiteral("-c:a"), QStringLiteral("pcm_s16le")}));
    // dark pictures, one bright every 0.4 s, at the time of a 20 ms click of 1 kHz
    QVERIFY(fx.make(
        QStringLiteral("clicks.mkv"),
        QStringList{
            QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
            QStringLiteral("color=c=black:s=320x240:r=25:d=6,"
                           "geq=lum='if(eq(mod(N\\,10)\\,0)\\,235\\,16)':cb=128:cr=128"),
            QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
            QStringLiteral("aevalsrc='if(lt(mod(t\\,0.4)\\,0.02)\\,0.5*sin(2*PI*1000*t)\\,0)'"
                           ":s=48000:d=6"),
            QStringLiteral("-ac"), QStringLiteral("2")} +
            MediaFixtures::h264() +
            QStringList{QStringLiteral("-c:a"), QStringLiteral("pcm_s16le")}));
    // a soft tone, and a click at 1.2 s, inside the loop the test sets
    QVERIFY(fx.make(
        QStringLiteral("marked.mkv"),
        MediaFixtures::videoSource(QStringLiteral("320x240"), 4) +
            QStringList{QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                        QStringLiteral("aevalsrc='0.1*sin(2*PI*440*t)+"
                                       "if(between(t\\,1.2\\,1.22)\\,0.5*sin(2*PI*1000*t)\\,0)'"
                                       ":s=48000:d=4"),
                        QStringLiteral("-ac"), QStringLiteral("2")} +
            MediaFixtures::h264(125) +
            QStringList{QStringLiteral("-c:a"), QStringLiteral("pcm_s16le")}));
    QVERIFY(fx.makeClip(QStringLiteral("lesson.mkv"),
                        {.seconds = 10,
                         .audio = "pcm_s16le",
                         .options = {QStringLiteral("-ar"), QStringLiteral("48000")}}));
}

// At half speed the tone is stretched to twice its length, at its own pitch.
void TestTempo::slowToneKeepsItsPitchAndLastsLonger()
{
    auto m = openMedia(fx.path(QStringLiteral("tone.wav")));
    QVERIFY(m);
    MonitorRecorder recorder;
    QVERIFY(waitForRecording(recorder));
    m->setLoop(false);
    m->setPlaySpeedFactor(0.5);
    QSignalSpy pausedSpy(m.get(), &Media::paused);
    m->start();
    // the start's resume, then the pause at the end
    QTRY_COMPARE_WITH_TIMEOUT(pausedSpy.count(), 2, 60000);
    // what the sink still held is heard to its end
    QTRY_VERIFY_WITH_TIMEOUT(soundEnded(recorder, 0.3), 20000);
    m->stop();
    const std::vector<int16_t> rec = recorder.take();

    // a sine is under a third of its peak only near its zeros, for a fraction of a period
    const int threshold = peak(rec) / 3;
    const auto [first, end] = soundSpan(rec, 0, rec.size(), threshold);
    QVERIFY2(first + 2 * rate < end, "nothing heard");
    const double frequency = toneFrequency(rec, first + rate, end - rate);
    QVERIFY2(std::abs(frequency - 440) < 4.4, qPrintable(QStringLiteral("%1 Hz").arg(frequency)));
    // A busy machine may starve the output for a moment: the sound then goes on later. What
    // is heard is the span less such silences.
    size_t silent = 0;
    for (const Quiet &q : quietRuns(rec, first, end, threshold, rate / 200))
        silent += q.length;
    const double heard = double(end - first - silent) / rate;
    QVERIFY2(std::abs(heard - 6.0) < 0.06, qPrintable(QStringLiteral("heard %1 s").arg(heard)));
}

void TestTempo::clickIsHeardWithItsPicture_data()
{
    QTest::addColumn<double>("speed");
    QTest::newRow("1x") << 1.0;
    QTest::newRow("0.75x") << 0.75;
    QTest::newRow("1.5x") << 1.5;
}

// Each click is heard when its bright picture is handed out for display, at any speed.
void TestTempo::clickIsHeardWithItsPicture()
{
    QFETCH(double, speed);
    auto m = openMedia(fx.path(QStringLiteral("clicks.mkv")));
    QVERIFY(m);
    MonitorRecorder recorder;
    QVERIFY(waitForRecording(recorder));
    m->setLoop(false);
    m->setPlaySpeedFactor(speed);
    // when each bright picture was handed out, and its time in the clip
    std::vector<std::pair<double, double>> bright;
    connect(m.get(), &Media::frameReady, m.get(), [&](int id) {
        const double at = MonitorRecorder::now();
        const VideoPicture *p = m->picture(id);
        const AVFrame *f = p->frame;
        const uint8_t *centre = f->data[0] + (p->height / 2) * f->linesize[0] + (p->width / 2) * 3;
        if (centre[0] > 128)
            bright.emplace_back(at, p->pts);
    });
    QSignalSpy pausedSpy(m.get(), &Media::paused);
    m->start();
    QTRY_COMPARE_WITH_TIMEOUT(pausedSpy.count(), 2, 60000);
    // the last click and the quiet after it (up to 0.5 s between clicks at 0.75x)
    QTRY_VERIFY_WITH_TIMEOUT(soundEnded(recorder, 0.8), 20000);
    m->stop();
    const std::vector<int16_t> rec = recorder.take();
    const std::vector<size_t> heard = MonitorRecorder::onsets(rec, peak(rec) / 4);

    // the clicks after the first second of playback, which starts sound and pictures
    std::vector<double> offsets;
    QStringList text;
    for (const auto &[at, pts] : bright) {
        if (pts < 1.0)
            continue;
        double nearest = HUGE_VAL;
        for (size_t i : heard) {
            const double offset = recorder.timeOf(i) - at;
            if (std::abs(offset) < std::abs(nearest))
                nearest = offset;
        }
        offsets.push_back(nearest);
        text << QStringLiteral("%1 s: %2 ms").arg(pts).arg(nearest * 1000, 0, 'f', 1);
    }
    // a busy machine may hold one picture or starve the output for a moment: the clicks
    // agree as a rule, and three in four of them at least
    QVERIFY2(offsets.size() >= 10, qPrintable(text.join(QStringLiteral(", "))));
    QVERIFY2(std::abs(median(offsets)) < 0.040, qPrintable(text.join(QStringLiteral(", "))));
    const auto agreeing =
        std::count_if(offsets.begin(), offsets.end(), [](double o) { return std::abs(o) < 0.040; });
    QVERIFY2(agreeing * 4 >= qsizetype(offsets.size()) * 3,
             qPrintable(text.join(QStringLiteral(", "))));
}

// Changing the speed while a tone plays never lets the sound drop out. A busy machine
// may starve the output for a moment anywhere; a gap the changes make comes back, so
// only a gap in two plays of the same changes fails.
void TestTempo::speedChangesLeaveNoGap()
{
    QStringList gaps;
    for (int play = 0; play < 2 && gaps.size() == play; ++play) {
        auto m = openMedia(fx.path(QStringLiteral("lesson.mkv")));
        QVERIFY(m);
        MonitorRecorder recorder;
        QVERIFY(waitForRecording(recorder));
        m->start();
        QTRY_VERIFY_WITH_TIMEOUT(m->position() > m->ticksFromSeconds(0.5), 30000);
        // each speed plays for 0.9 s, as far as the pictures on screen show
        double playing = 1.0;
        const auto playFor = [&](double seconds) {
            const int64_t until = m->position() + m->ticksFromSeconds(seconds * playing);
            return QTest::qWaitFor([&] { return m->position() >= until; }, 30000);
        };
        for (double speed : {0.75, 1.5, 1.0, 0.5, 2.0}) {
            QVERIFY(playFor(0.9));
            m->setPlaySpeedFactor(speed);
            playing = speed;
        }
        QVERIFY(playFor(0.9));
        const double stoppedAt = MonitorRecorder::now();
        m->stop();
        QVERIFY(m->position() < m->endTime()); // still within the clip
        QTRY_VERIFY_WITH_TIMEOUT(recordedUntil(recorder, stoppedAt + 0.1), 20000);
        const std::vector<int16_t> rec = recorder.take();

        const int threshold = peak(rec) / 10;
        const auto stopped = size_t(std::max<int64_t>(0, recorder.indexAt(stoppedAt)));
        const size_t first = soundSpan(rec, 0, stopped, threshold).first;
        QVERIFY2(first + 4 * rate < stopped, "the tone was not heard before the changes");
        // up to shortly before the stop, whose sound ends at once
        const std::vector<Quiet> quiet =
            quietRuns(rec, first, stopped - rate / 50, threshold, rate / 20);
        if (!quiet.empty())
            gaps << QStringLiteral("play %1: %2 ms silent %3 s in")
                        .arg(play + 1)
                        .arg(double(quiet.front().length) / rate * 1000, 0, 'f', 1)
                        .arg(double(quiet.front().from - first) / rate, 0, 'f', 2);
    }
    QVERIFY2(gaps.size() < 2, qPrintable(gaps.join(QStringLiteral("; "))));
}

void TestTempo::repetitionSoundsFromMarkToMark_data()
{
    QTest::addColumn<double>("speed");
    QTest::newRow("1x") << 1.0;
    QTest::newRow("0.75x") << 0.75;
}

// Each repetition of the loop is heard from its start mark to its end mark: the splice
// between two, where the sound fades out and in, lies as far before the click as the start
// mark and as far after it as the end mark, in media time.
void TestTempo::repetitionSoundsFromMarkToMark()
{
    QFETCH(double, speed);
    auto m = openMedia(fx.path(QStringLiteral("marked.mkv")));
    QVERIFY(m);
    const double in = 1.0, click = 1.2, out = 1.8;
    m->setMarkOutAt(m->ticksFromSeconds(out));
    m->setMarkInAt(m->ticksFromSeconds(in));
    m->setPlaySpeedFactor(speed);
    MonitorRecorder recorder;
    QVERIFY(waitForRecording(recorder));
    m->start();
    QTRY_VERIFY_WITH_TIMEOUT(recorder.take().size() > size_t(8 * rate), 60000);
    m->stop();
    const std::vector<int16_t> rec = recorder.take();

    const int loudest = peak(rec);
    const std::vector<size_t> clicks = MonitorRecorder::onsets(rec, loudest / 3);
    // splices: the middle of each stretch, over half a millisecond, with the soft tone
    // under a tenth of its peak (near its zeros it is for 0.07 ms)
    std::vector<double> splices;
    for (const Quiet &q : quietRuns(rec, 0, rec.size(), loudest / 60, rate / 2000))
        splices.push_back(double(q.from) + double(q.length) / 2);

    // each click after the first repetition with the splices around it: where its
    // repetition started and ended against the marks, in media seconds
    QStringList text;
    std::vector<double> startErrors, endErrors;
    int exact = 0;
    for (size_t c : clicks) {
        const auto after = std::upper_bound(splices.begin(), splices.end(), double(c));
        if (after <= splices.begin() + 1 || after == splices.end())
            continue;
        const double startError = click - (double(c) - *(after - 1)) / rate * speed - in;
        const double endError = click + (*after - double(c)) / rate * speed - out;
        text << QStringLiteral("start %1 ms, end %2 ms")
                    .arg(startError * 1000, 0, 'f', 1)
                    .arg(endError * 1000, 0, 'f', 1);
        startErrors.push_back(startError);
        endErrors.push_back(endError);
        if (std::abs(startError) < 0.02 && std::abs(endError) < 0.02)
            ++exact;
    }
    // a moment's starved output reads as a splice too: the repetitions hit the marks as a
    // rule, and three of them at least
    const QByteArray found = text.join(QStringLiteral("; ")).toLocal8Bit();
    QVERIFY2(exact >= 3, found.constData());
    QVERIFY2(std::abs(median(startErrors)) < 0.02, found.constData());
    QVERIFY2(std::abs(median(endErrors)) < 0.02, found.constData());
}

QTEST_GUILESS_MAIN(TestTempo)
#include "tst_tempo.moc"
