// A long A-B loop practice in the whole player: a 4-second loop of a generated 1080p clip
// with sound, played for the given minutes of wall time (default 60). Prints, as JSON
// lines, resident memory, open file descriptors and threads at the start of the loop and
// every ten minutes, and at the end the pictures shown outside the marks. Not run by
// bench/run.sh: it takes an hour.
//
// usage: soak [minutes]
#include "benchsupport.h"
#include "openlesson.h"

#include "media/media.h"
#include "player/vk.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

// A "Name:   value kB" line of /proc/self/status, as a number.
long long statusValue(const char *name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(name) + ':';
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

void printState(double minutes)
{
    const auto fds = QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files).size();
    std::printf("{\"name\": \"soak resident memory at %.1f min\", \"value\": %.1f, \"unit\": "
                "\"MB\"}\n",
                minutes, double(statusValue("VmRSS")) / 1024.0);
    std::printf("{\"name\": \"soak file descriptors at %.1f min\", \"value\": %lld, \"unit\": "
                "\"count\"}\n",
                minutes, static_cast<long long>(fds));
    std::printf("{\"name\": \"soak threads at %.1f min\", \"value\": %lld, \"unit\": "
                "\"count\"}\n",
                minutes, statusValue("Threads"));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    const double minutes = argc > 1 ? std::atof(argv[1]) : 60.0;
    int playerArgc = 1; // the player takes a command-line argument as the editor's document
    QApplication app(playerArgc, argv);
    MediaFixtures clips(bench::ffmpegTimeoutMs);
    if (!clips.makeClip(QStringLiteral("soak.mp4"), bench::clip("1920x1080", 20)))
        return 1;
    const QString clip = clips.path(QStringLiteral("soak.mp4"));

    Vk window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    Media *media = bench::openLesson(window, clip);
    if (!media)
        return 1;

    // the loop: seconds 8 to 12, through the engine's own mark calls
    const AVRational tb = media->timeBase();
    const auto ticks = [tb](double seconds) { return int64_t(seconds * tb.den / tb.num); };
    media->setMarkInAt(ticks(8));
    media->setMarkOutAt(ticks(12));
    const int64_t in = media->markIn();
    const int64_t out = media->markOut();
    const int64_t frame = ticks(0.04);
    long long shown = 0;
    long long outside = 0;
    bool looping = false;
    QObject::connect(media, &Media::frameReady, [&](int) {
        const int64_t at = media->position();
        // pictures before the first arrival at the mark in are the way there
        looping = looping || (at >= in && at <= out);
        if (!looping)
            return;
        ++shown;
        outside += at < in - frame / 2 || at > out;
    });

    QElapsedTimer clock;
    int samples = 0;
    const auto takeSample = [&] {
        if (!looping)
            return;
        if (samples == 0)
            clock.start();
        const double elapsed = double(clock.elapsed()) / 60000.0;
        if (samples == 0 || elapsed >= minutes || samples % 10 == 0)
            printState(elapsed);
        ++samples;
        if (elapsed >= minutes)
            QApplication::quit();
    };
    // the first sample once the loop runs, then one a minute
    QTimer first;
    QObject::connect(&first, &QTimer::timeout, [&] {
        takeSample();
        if (samples > 0)
            first.stop();
    });
    first.start(1000);
    QTimer sample;
    QObject::connect(&sample, &QTimer::timeout, takeSample);
    sample.start(60000);
    QApplication::exec();

    std::printf("{\"name\": \"soak pictures shown in the loop\", \"value\": %lld, \"unit\": "
                "\"count\"}\n",
                shown);
    std::printf("{\"name\": \"soak pictures outside the marks\", \"value\": %lld, \"unit\": "
                "\"count\"}\n",
                outside);
    return 0;
}
