// Picture and sound of the whole player measured from outside, against ffplay in the
// same run. The clip's pictures are flat grey, one level per frame, and its sound is
// white noise: a grabber reads the grey under the view's centre from the X server every
// millisecond, and `parec` records the default sink's monitor, each 10 ms of which is
// found in the clip's sound by correlation. Together they tell when each picture was shown
// and when each stretch of sound was heard, on one clock.
//
// Prints the A/V offset (sound heard minus picture shown; positive: the sound is late)
// in the first second of playback, after a seek, after each loop-back and after a pause
// and resume; the loop's sound start and end against its marks; the picture interval at
// the loop-back; how long sound goes on after pause and after Stop; CPU per media second
// and peak RSS of the whole process, for the player and for ffplay, and their ratios.
// And, on a clip of the same pictures with a click every tenth of them, the A/V offset
// at 1x, 0.5x, 0.75x and 1.5x: the stretched sound is placed by the clicks' onsets.
#include "benchsupport.h"
#include "openlesson.h"

#include "support/monitorrecorder.h"

#include "lesson/lessoncontroller.h"
#include "media/media.h"
#include "player/glrenderwidget.h"
#include "player/screenwidget.h"
#include "player/vk.h"
#include "support/lessontestprobe.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <xcb/xcb.h>

#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <mutex>
#include <thread>

namespace {

constexpr int rate = 48000;
constexpr double fps = 25;
constexpr int span = 480; // 10 ms of sound, the unit in which the recording is placed
constexpr int clipSeconds = 16;
constexpr int clickClipSeconds = 14;

double now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double threadCpu(pthread_t t)
{
    clockid_t id;
    timespec ts{};
    if (pthread_getcpuclockid(t, &id) != 0 || clock_gettime(id, &ts) != 0)
        return 0;
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// CPU seconds and peak resident kilobytes of a process, from /proc.
struct ProcUsage
{
    double cpu = 0;
    double peakMb = 0;
};

ProcUsage procUsage(const QString &pid)
{
    ProcUsage u;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray text = stat.readAll();
        // the fields after the command name, which may hold spaces, in parentheses
        const QList<QByteArray> f = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (f.size() > 13)
            u.cpu = double(f[11].toLongLong() + f[12].toLongLong()) / double(sysconf(_SC_CLK_TCK));
    }
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                u.peakMb = line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return u;
}

// Reads the grey level at one point of the screen every millisecond; keeps each change.
class Grabber
{
public:
    Grabber()
    {
        conn = xcb_connect(nullptr, nullptr);
        root = xcb_setup_roots_iterator(xcb_get_setup(conn)).data->root;
        thread = std::thread([this] { run(); });
    }
    ~Grabber()
    {
        quit = true;
        thread.join();
        xcb_disconnect(conn);
    }
    void aimAt(int x, int y)
    {
        px = x;
        py = y;
    }
    // (time, grey) at each change
    std::vector<std::pair<double, int>> changes()
    {
        std::lock_guard lock(mutex);
        return seen;
    }
    double cpu() { return threadCpu(thread.native_handle()); }

private:
    void run()
    {
        int last = -1;
        while (!quit) {
            const auto cookie = xcb_get_image(conn, XCB_IMAGE_FORMAT_Z_PIXMAP, root, int16_t(px),
                                              int16_t(py), 1, 1, ~0u);
            xcb_get_image_reply_t *reply = xcb_get_image_reply(conn, cookie, nullptr);
            const double t = now();
            if (reply) {
                const uint8_t *p = xcb_get_image_data(reply);
                const int grey = (int(p[0]) + int(p[1]) + int(p[2])) / 3;
                free(reply);
                if (grey != last) {
                    last = grey;
                    std::lock_guard lock(mutex);
                    seen.emplace_back(t, grey);
                }
            }
            std::this_thread::sleep_for(std::chrono::microseconds(700));
        }
    }

    xcb_connection_t *conn;
    xcb_window_t root;
    std::atomic<int> px{0}, py{0};
    std::atomic<bool> quit{false};
    std::mutex mutex;
    std::vector<std::pair<double, int>> seen;
    std::thread thread;
};

// Where each 10 ms of the recording lies in the clip's sound.
struct Placed
{
    size_t rec;    // first recorded sample of the window
    int64_t media; // the clip sample it matches
};

double correlation(const int16_t *a, const int16_t *b, int n)
{
    double ab = 0, aa = 0, bb = 0;
    for (int i = 0; i < n; ++i) {
        ab += double(a[i]) * b[i];
        aa += double(a[i]) * a[i];
        bb += double(b[i]) * b[i];
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
}

int64_t bestMatch(const std::vector<int16_t> &ref, const int16_t *w, int64_t from, int64_t to,
                  double &score)
{
    score = 0;
    int64_t best = -1;
    from = std::max<int64_t>(0, from);
    to = std::min<int64_t>(int64_t(ref.size()) - span, to);
    for (int64_t s = from; s <= to; ++s) {
        const double c = correlation(ref.data() + s, w, span);
        if (c > score) {
            score = c;
            best = s;
        }
    }
    return best;
}

bool loud(const int16_t *w, int n)
{
    double e = 0;
    for (int i = 0; i < n; ++i)
        e += double(w[i]) * w[i];
    return std::sqrt(e / n) > 300;
}

// Places every loud window; guess(t) gives a media second near which to look first.
template <class Guess>
std::vector<Placed> place(const std::vector<int16_t> &rec, const std::vector<int16_t> &ref,
                          const MonitorRecorder &recorder, double from, double to, Guess guess)
{
    std::vector<Placed> out;
    int64_t expected = -1;
    for (size_t r = 0; r + span <= rec.size(); r += span) {
        const int16_t *w = rec.data() + r;
        const double t = recorder.timeOf(r);
        if (t < from || t > to || !loud(w, span)) {
            expected = -1;
            continue;
        }
        double score = 0;
        int64_t s = -1;
        if (expected >= 0)
            s = bestMatch(ref, w, expected - 24, expected + 24, score);
        if (score < 0.9) {
            const auto centre = int64_t(guess(t) * rate);
            s = bestMatch(ref, w, centre - 2 * rate, centre + 2 * rate, score);
        }
        if (score < 0.9) {
            expected = -1;
            continue;
        }
        out.push_back({r, s});
        expected = s + span;
    }
    return out;
}

// When the sound of media second m was heard, near wall time t; NaN if never.
double heardAt(const std::vector<Placed> &placed, const MonitorRecorder &recorder, double m,
               double t)
{
    double best = NAN;
    const auto target = int64_t(m * rate);
    for (const Placed &p : placed) {
        if (std::abs(p.media - target) > span)
            continue;
        const double at = recorder.timeOf(p.rec) + double(target - p.media) / rate;
        if (std::abs(at - t) < 2.5 && (std::isnan(best) || std::abs(at - t) < std::abs(best - t)))
            best = at;
    }
    return best;
}

// A picture shown: when, and which frame.
struct Shown
{
    double at;
    int frame;
};

// Each grey change as a frame number, the one of the 50 its level allows nearest to
// the frame expected at that time.
template <class Expect>
std::vector<Shown> frames(const std::vector<std::pair<double, int>> &changes, Expect expect)
{
    std::vector<Shown> out;
    for (const auto &[t, grey] : changes) {
        const double y = grey * 219.0 / 255.0;
        const int k = int(std::lround(y / 4.0));
        if (k < 0 || k > 49 || std::abs(y - 4.0 * k) > 1.5)
            continue; // not one of the clip's levels: the idle screen, a window edge
        const double e = expect(t);
        const int n = k + 50 * int(std::lround((e - k) / 50.0));
        if (out.empty() || out.back().frame != n)
            out.push_back({t, n});
    }
    return out;
}

// Offsets (ms) of the pictures shown in [from, to) of wall time.
std::vector<double> offsets(const std::vector<Shown> &shown, const std::vector<Placed> &placed,
                            const MonitorRecorder &recorder, double from, double to)
{
    std::vector<double> out;
    for (const Shown &s : shown) {
        if (s.at < from || s.at >= to)
            continue;
        const double heard = heardAt(placed, recorder, s.frame / fps, s.at);
        if (!std::isnan(heard))
            out.push_back((heard - s.at) * 1000);
    }
    return out;
}

void printOffsets(const char *player, const char *when, const std::vector<double> &v)
{
    std::vector<double> mags;
    for (double x : v)
        mags.push_back(std::abs(x));
    const bench::Summary m = bench::summarize(v);
    const bench::Summary a = bench::summarize(mags);
    const QString extra = QStringLiteral("\"player\": \"%1\", \"when\": \"%2\", \"pictures\": %3")
                              .arg(QLatin1String(player), QLatin1String(when))
                              .arg(v.size());
    bench::print("av_offset_median_ms", m.median, "ms", extra);
    bench::print("av_offset_max_abs_ms", a.max, "ms", extra);
}

// How long after wall time t the recording falls silent for at least 100 ms, in ms.
double soundAfter(const std::vector<int16_t> &rec, const MonitorRecorder &recorder, double t)
{
    constexpr size_t block = 48; // 1 ms
    double quietSince = -1;
    for (size_t r = 0; r + block <= rec.size(); r += block) {
        const double at = recorder.timeOf(r);
        if (at < t)
            continue;
        if (loud(rec.data() + r, int(block))) {
            quietSince = -1;
        } else if (quietSince < 0) {
            quietSince = at;
        } else if (at - quietSince >= 0.1) {
            return (quietSince - t) * 1000;
        }
    }
    return NAN;
}

// Numbered grey pictures (each frame's level is its number modulo 50), 25 fps, H.264 with
// B-frames, and the sound of the lavfi source given, as 16-bit stereo PCM.
bool makeGreyClip(const QString &path, int seconds, const QString &sound)
{
    return bench::ffmpeg(
        QStringList{QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                    QStringLiteral("color=c=black:s=640x360:r=25:d=%1,geq=lum='16+4*mod(N\\,50)'"
                                   ":cb=128:cr=128")
                        .arg(seconds),
                    QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), sound,
                    QStringLiteral("-ac"), QStringLiteral("2")} +
        MediaFixtures::h264(25) +
        QStringList{QStringLiteral("-c:a"), QStringLiteral("pcm_s16le"), path});
}

// The clip with white noise: each 10 ms of it is found in the recording by correlation.
bool makeClip(const QString &path)
{
    return makeGreyClip(
        path, clipSeconds,
        QStringLiteral("anoisesrc=d=%1:c=white:r=48000:a=0.25:seed=7").arg(clipSeconds));
}

// The same numbered grey pictures with a click (20 ms of 1 kHz) at every tenth of them,
// every 0.4 s, and silence between: its sound, stretched, is placed by the clicks' onsets.
bool makeClickClip(const QString &path)
{
    return makeGreyClip(
        path, clickClipSeconds,
        QStringLiteral("aevalsrc='if(lt(mod(t\\,0.4)\\,0.02)\\,0.5*sin(2*PI*1000*t)\\,0)'"
                       ":s=48000:d=%1")
            .arg(clickClipSeconds));
}

std::vector<int16_t> clipSound(const QString &clip, const QString &raw)
{
    std::vector<int16_t> ref;
    if (!bench::ffmpeg({QStringLiteral("-i"), clip, QStringLiteral("-ac"), QStringLiteral("1"),
                        QStringLiteral("-f"), QStringLiteral("s16le"), raw}))
        return ref;
    QFile f(raw);
    if (!f.open(QIODevice::ReadOnly))
        return ref;
    const QByteArray bytes = f.readAll();
    ref.resize(size_t(bytes.size()) / 2);
    memcpy(ref.data(), bytes.constData(), ref.size() * 2);
    return ref;
}

// Opens file through the idle screen and the file dialog, as a learner does.
Media *openInPlayer(Vk &window, const QString &file)
{
    QTimer::singleShot(200, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        name->setText(file);
        QTest::keyClick(name, Qt::Key_Return);
    });
    auto *screen = window.findChild<QScreenWidget *>();
    QTest::mouseClick(screen, Qt::LeftButton, {},
                      QPoint(screen->width() / 2, screen->height() / 2 + 45));
    return LessonTestProbe::media(*window.lesson());
}

// The loop's sound at each jump back from near markOut to near markIn: where it ended
// and started again against the marks, in ms, found to the millisecond by which of the
// two placements the recording follows.
void loopSound(const std::vector<int16_t> &rec, const std::vector<int16_t> &ref,
               const std::vector<Placed> &placed, double markIn, double markOut,
               std::vector<double> &endErr, std::vector<double> &startErr)
{
    for (size_t i = 0; i + 1 < placed.size(); ++i) {
        const Placed &a = placed[i];
        const Placed &b = placed[i + 1];
        if (std::abs(a.media / double(rate) - markOut) > 0.3 ||
            std::abs(b.media / double(rate) - markIn) > 0.3 || b.rec > a.rec + 3 * span)
            continue;
        // per 1 ms block: does the recording follow a's placement or b's?
        size_t jump = b.rec;
        for (size_t r = a.rec; r < b.rec + span; r += 48) {
            const int64_t sa = a.media + int64_t(r - a.rec);
            const int64_t sb = b.media - int64_t(b.rec - r);
            if (sb < 0 || sa + 48 > int64_t(ref.size()))
                continue;
            if (correlation(ref.data() + sb, rec.data() + r, 48) >
                correlation(ref.data() + sa, rec.data() + r, 48)) {
                jump = r;
                break;
            }
        }
        endErr.push_back(((a.media + int64_t(jump - a.rec)) / double(rate) - markOut) * 1000);
        startErr.push_back(((b.media - int64_t(b.rec - jump)) / double(rate) - markIn) * 1000);
    }
}

void printSummary(const char *name, const std::vector<double> &v, const char *extra)
{
    const bench::Summary s = bench::summarize(v);
    std::vector<double> mags;
    for (double x : v)
        mags.push_back(std::abs(x));
    const QString e = QStringLiteral("\"what\": \"%1\", \"count\": %2, \"max_abs\": %3")
                          .arg(QLatin1String(extra))
                          .arg(v.size())
                          .arg(bench::summarize(mags).max, 0, 'f', 1);
    bench::print(name, s.median, "ms", e);
}

// The A/V offset at each speed, the learner's way (the lesson's speed), on the click
// clip: each picture with a click (every tenth) shown against its click's onset heard.
void speedStage(Vk &window, Grabber &grabber, const MonitorRecorder &recorder, const QString &clip)
{
    const double opened = now();
    Media *media = bench::openLesson(window, clip);
    if (!media)
        return;
    for (int i = 0; i < 2000 && media->position() <= 0; ++i)
        QTest::qWait(10);
    std::map<double, double> reported;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        reported[now()] = media::toSeconds(media->position(), media->timeBase());
    });
    poll.start(5);
    struct Run
    {
        double speed, from, to;
    };
    std::vector<Run> runs;
    for (double speed : {1.0, 0.5, 0.75, 1.5}) {
        window.lesson()->setSpeed(speed);
        media->seek(media->ticksFromSeconds(1.0));
        QTest::qWait(1000); // the seek's start, not measured here
        const double from = now();
        QTest::qWait(6000);
        runs.push_back({speed, from, now()});
    }
    poll.stop();
    window.on_actionStop();
    window.lesson()->setSpeed(1.0);
    QTest::qWait(500);

    const auto expect = [&](double t) {
        auto it = reported.lower_bound(t);
        if (it == reported.end())
            return reported.empty() ? 0.0 : reported.rbegin()->second * fps;
        return it->second * fps;
    };
    const auto shown = frames(grabber.changes(), expect);
    const std::vector<int16_t> all = recorder.take();
    const auto first =
        size_t(std::clamp<int64_t>(recorder.indexAt(opened), 0, int64_t(all.size())));
    const std::vector<int16_t> rec(all.begin() + int64_t(first), all.end());
    int loudest = 0;
    for (int16_t x : rec)
        loudest = std::max(loudest, std::abs(int(x)));
    std::vector<double> heard;
    for (size_t i : MonitorRecorder::onsets(rec, loudest / 4))
        heard.push_back(recorder.timeOf(first + i));
    for (const Run &run : runs) {
        std::vector<double> v;
        for (const Shown &s : shown) {
            if (s.at < run.from || s.at >= run.to || s.frame % 10 != 0)
                continue;
            double nearest = NAN;
            for (double h : heard)
                if (std::abs(h - s.at) < 0.2 &&
                    (std::isnan(nearest) || std::abs(h - s.at) < std::abs(nearest - s.at)))
                    nearest = h;
            if (!std::isnan(nearest))
                v.push_back((nearest - s.at) * 1000);
        }
        const QByteArray when = QStringLiteral("clicks at %1x").arg(run.speed).toLatin1();
        printOffsets("vorlyn", when.constData(), v);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString clip = dir.filePath(QStringLiteral("avsync.mkv"));
    if (!makeClip(clip))
        return 1;
    const std::vector<int16_t> ref = clipSound(clip, dir.filePath(QStringLiteral("sound.raw")));
    if (ref.empty())
        return 1;

    Vk window;
    window.move(0, 0);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;

    Grabber grabber;
    MonitorRecorder recorder;
    QTest::qWait(500);

    // the player's own idea of the media time, to tell the grey levels' rounds apart
    std::map<double, double> reported;
    Media *media = nullptr;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (media)
            reported[now()] = media::toSeconds(media->position(), media->timeBase());
    });
    poll.start(5);

    const double cpu0 = procUsage(QStringLiteral("self")).cpu - grabber.cpu() - recorder.cpu();
    media = openInPlayer(window, clip);
    if (!media)
        return 1;
    auto *view = window.findChild<GLRenderWidget *>();
    const QPoint centre = view->mapToGlobal(view->rect().center());
    grabber.aimAt(centre.x(), centre.y());
    for (int i = 0; i < 2000 && media->position() <= 0; ++i)
        QTest::qWait(10);
    const double started = now();
    QTest::qWait(3000);
    const double cpuPlay =
        procUsage(QStringLiteral("self")).cpu - grabber.cpu() - recorder.cpu() - cpu0;
    const double mediaSeconds = now() - started;

    const auto at = [&](double s) { return media->ticksFromSeconds(s); };
    const double seeked = now();
    media->seek(at(5.0));
    QTest::qWait(2000);
    const double markIn = 7.52, markOut = 8.52;
    media->setMarkInAt(at(markIn));
    media->setMarkOutAt(at(markOut));
    const double looping = now();
    QTest::qWait(4500);
    media->resetMarkIn();
    media->resetMarkOut();
    QTest::qWait(700);
    const double pausedAt = now();
    window.on_actionPlayPause();
    QTest::qWait(1500);
    const double resumed = now();
    window.on_actionPlayPause();
    QTest::qWait(1500);
    const double stoppedAt = now();
    window.on_actionStop();
    QTest::qWait(1000);
    poll.stop();
    media = nullptr;
    const ProcUsage ours = procUsage(QStringLiteral("self"));

    const auto expectOurs = [&](double t) {
        auto it = reported.lower_bound(t);
        if (it == reported.end())
            return reported.empty() ? 0.0 : reported.rbegin()->second * fps;
        return it->second * fps;
    };
    const std::vector<int16_t> rec = recorder.take();
    const auto shown = frames(grabber.changes(), expectOurs);
    const auto placed = place(rec, ref, recorder, started - 1, stoppedAt + 1,
                              [&](double t) { return expectOurs(t) / fps; });

    printOffsets("vorlyn", "first second", offsets(shown, placed, recorder, started, started + 1));
    printOffsets("vorlyn", "after seek",
                 offsets(shown, placed, recorder, seeked + 0.3, seeked + 1.3));
    // the loop-backs: each first picture of the loop start after looping began
    std::vector<double> loopOffsets;
    std::vector<double> loopIntervals;
    for (size_t i = 1; i < shown.size(); ++i) {
        if (shown[i].at < looping || shown[i].at > looping + 4.5)
            continue;
        if (shown[i].frame == int(std::lround(markIn * fps)) &&
            shown[i - 1].frame > shown[i].frame) {
            loopIntervals.push_back((shown[i].at - shown[i - 1].at) * 1000);
            const auto v = offsets(shown, placed, recorder, shown[i].at, shown[i].at + 1);
            loopOffsets.insert(loopOffsets.end(), v.begin(), v.end());
        }
    }
    printOffsets("vorlyn", "after loop-back", loopOffsets);
    printOffsets("vorlyn", "after pause and resume",
                 offsets(shown, placed, recorder, resumed, resumed + 1));
    printSummary("loop_picture_interval_ms", loopIntervals, "last picture to loop start picture");
    std::vector<double> endErr, startErr;
    loopSound(rec, ref, placed, markIn, markOut, endErr, startErr);
    printSummary("loop_sound_end_vs_mark_ms", endErr, "negative: cut early");
    printSummary("loop_sound_start_vs_mark_ms", startErr, "negative: starts early");
    bench::print("sound_after_pause_ms", soundAfter(rec, recorder, pausedAt), "ms",
                 QStringLiteral("\"player\": \"vorlyn\""));
    bench::print("sound_after_stop_ms", soundAfter(rec, recorder, stoppedAt), "ms",
                 QStringLiteral("\"player\": \"vorlyn\""));
    const double oursCpu = cpuPlay / mediaSeconds;
    bench::print("cpu_per_media_second", oursCpu, "s/s", QStringLiteral("\"player\": \"vorlyn\""));
    bench::print("peak_rss_mb", ours.peakMb, "MB", QStringLiteral("\"player\": \"vorlyn\""));

    const QString clickClip = dir.filePath(QStringLiteral("clicks.mkv"));
    if (!makeClickClip(clickClip))
        return 1;
    speedStage(window, grabber, recorder, clickClip);

    // ffplay on the same clip, in the same place, for the first seconds
    window.hide();
    QTest::qWait(500);
    const int playSeconds = 4;
    QProcess ffplay;
    ffplay.start(QStringLiteral("ffplay"),
                 {QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                  QStringLiteral("error"), QStringLiteral("-autoexit"), QStringLiteral("-noborder"),
                  QStringLiteral("-left"), QStringLiteral("0"), QStringLiteral("-top"),
                  QStringLiteral("0"), QStringLiteral("-x"), QStringLiteral("640"),
                  QStringLiteral("-y"), QStringLiteral("360"), QStringLiteral("-t"),
                  QString::number(playSeconds), clip});
    grabber.aimAt(320, 180);
    if (!ffplay.waitForStarted(10000))
        return 1;
    const double ffStart = now();
    const QString pid = QString::number(ffplay.processId());
    ProcUsage theirs;
    while (!ffplay.waitForFinished(50)) {
        const ProcUsage u = procUsage(pid);
        theirs.cpu = std::max(theirs.cpu, u.cpu);
        theirs.peakMb = std::max(theirs.peakMb, u.peakMb);
        if (now() - ffStart > 30)
            ffplay.kill();
    }
    QTest::qWait(300);
    const std::vector<int16_t> rec2 = recorder.take();
    std::vector<std::pair<double, int>> ffChanges;
    for (const auto &c : grabber.changes())
        if (c.first >= ffStart)
            ffChanges.push_back(c);
    // ffplay plays from the start at real time: the frame expected is the time since its
    // first picture
    const double ffFirst = ffChanges.empty() ? ffStart : ffChanges.front().first;
    const auto expectTheirs = [&](double t) { return (t - ffFirst) * fps; };
    const auto ffShown = frames(ffChanges, expectTheirs);
    const double ffPictures = ffShown.empty() ? ffStart : ffShown.front().at;
    const auto ffPlaced =
        place(rec2, ref, recorder, ffStart, now(), [&](double t) { return expectTheirs(t) / fps; });
    const auto ffFirstSecond = offsets(ffShown, ffPlaced, recorder, ffPictures, ffPictures + 1);
    const auto ffAll = offsets(ffShown, ffPlaced, recorder, ffPictures, ffPictures + playSeconds);
    printOffsets("ffplay", "first second", ffFirstSecond);
    printOffsets("ffplay", "whole run", ffAll);
    const double theirCpu = theirs.cpu / playSeconds;
    bench::print("cpu_per_media_second", theirCpu, "s/s", QStringLiteral("\"player\": \"ffplay\""));
    bench::print("peak_rss_mb", theirs.peakMb, "MB", QStringLiteral("\"player\": \"ffplay\""));
    const auto ourFirst = offsets(shown, placed, recorder, started, started + 1);
    std::vector<double> ourMag, ffMag;
    for (double x : ourFirst)
        ourMag.push_back(std::abs(x));
    for (double x : ffFirstSecond)
        ffMag.push_back(std::abs(x));
    const double ffMedian = bench::summarize(ffMag).median;
    bench::print("ratio_first_second_abs_offset",
                 ffMedian > 0 ? bench::summarize(ourMag).median / ffMedian : 0, "x",
                 QStringLiteral("\"of\": \"vorlyn / ffplay\""));
    bench::print("ratio_cpu_per_media_second", theirCpu > 0 ? oursCpu / theirCpu : 0, "x",
                 QStringLiteral("\"of\": \"vorlyn / ffplay\""));
    bench::print("ratio_peak_rss", theirs.peakMb > 0 ? ours.peakMb / theirs.peakMb : 0, "x",
                 QStringLiteral("\"of\": \"vorlyn / ffplay\""));
    return 0;
}
