// CPU cost of decoding a 1080p H.264 clip and converting every picture to packed RGB
// through the engine's video thread, drained as fast as it fills the ring, beside the
// cost of ffmpeg's own decode-and-convert of the same clip.
#include "benchsupport.h"

#include "media/media.h"

#include <QCoreApplication>

#include <thread>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString clip = dir.filePath(QStringLiteral("clip1080.mp4"));
    const int seconds = 10;
    // video only, so both sides do the same work
    if (!bench::makeClip(clip, QStringLiteral("1920x1080"), seconds, 50, false))
        return 1;

    Media m(nullptr, false, 16, AV_PIX_FMT_RGB24, 0, 0);
    if (!m.open(clip))
        return 1;
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
    const QString clipInfo =
        QStringLiteral("\"clip\": \"1920x1080 25 fps H.264, %1 s\", \"pictures\": %2")
            .arg(seconds)
            .arg(pictures);
    bench::print("video_decode_convert_cpu_per_media_second", engineCpu / seconds, "s/s", clipInfo);
    bench::print("ffmpeg_decode_rgb24_cpu_per_media_second", ffmpegCpu / seconds, "s/s", clipInfo);
    bench::print("video_decode_cpu_ratio_to_ffmpeg", engineCpu / ffmpegCpu, "x");
    return 0;
}
