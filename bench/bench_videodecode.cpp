// CPU cost of decoding a clip and converting every picture to packed RGB through the
// engine's video thread, drained as fast as it fills the ring, beside the cost of ffmpeg's
// own decode-and-convert of the same clip. Two clips: 1080p H.264 (limited-range YUV) and
// 720p Motion JPEG (full-range YUV, as cameras write it).
#include "benchsupport.h"

#include "media/media.h"

#include <QCoreApplication>

#include <thread>

namespace {

constexpr int seconds = 10;

// Plays clip to its end through the engine, then through ffmpeg, and prints both costs.
bool measure(const QString &clip, const QString &clipName, const char *suffix)
{
    Media m(nullptr, false, 16, AV_PIX_FMT_RGB24, 0, 0);
    if (!m.open(clip))
        return false;
    m.setLoop(false);
    int pictures = 0;
    QObject::connect(&m, &Media::frameReady, &m, [&](int) { ++pictures; });

    const double before = bench::selfCpuSeconds();
    m.start();
    // hand pictures out as soon as they are there, until the end of the clip pauses it
    while (!(m.isPaused() && pictures > 0)) {
        const int shown = pictures;
        m.video_refresh_timer();
        if (pictures == shown)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    const double engineCpu = bench::selfCpuSeconds() - before;
    m.stop();

    const double ffmpegCpu = bench::ffmpegDecodeToRgbCpu(clip);
    const QString clipInfo = QStringLiteral("\"clip\": \"%1, %2 s\", \"pictures\": %3")
                                 .arg(clipName)
                                 .arg(seconds)
                                 .arg(pictures);
    const auto name = [suffix](const char *base) { return QByteArray(base) + suffix; };
    bench::print(name("video_decode_convert_cpu_per_media_second").constData(), engineCpu / seconds,
                 "s/s", clipInfo);
    bench::print(name("ffmpeg_decode_rgb24_cpu_per_media_second").constData(), ffmpegCpu / seconds,
                 "s/s", clipInfo);
    bench::print(name("video_decode_cpu_ratio_to_ffmpeg").constData(), engineCpu / ffmpegCpu, "x");
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    MediaFixtures clips(bench::ffmpegTimeoutMs);
    const QString h264 = QStringLiteral("clip1080.mp4");
    // video only, so both sides do the same work
    if (!clips.makeClip(h264, bench::clip("1920x1080", seconds, false)) ||
        !measure(clips.path(h264), QStringLiteral("1920x1080 25 fps H.264"), ""))
        return 1;

    const QString mjpeg = QStringLiteral("clip720.avi");
    if (!clips.make(mjpeg,
                    MediaFixtures::videoSource(QStringLiteral("1280x720"), seconds, 25,
                                               QStringLiteral("testsrc2")) +
                        QStringList{QStringLiteral("-c:v"), QStringLiteral("mjpeg"),
                                    QStringLiteral("-pix_fmt"), QStringLiteral("yuvj420p")}) ||
        !measure(clips.path(mjpeg), QStringLiteral("1280x720 25 fps Motion JPEG, full range"),
                 "_mjpeg"))
        return 1;
    return 0;
}
