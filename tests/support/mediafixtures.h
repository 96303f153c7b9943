#pragma once

// Test media generated with the ffmpeg command line into a temporary folder: small clips
// in several containers and codecs, made once per test executable. The benchmarks make
// their clips with it too.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

class MediaFixtures
{
public:
    // make() waits ffmpegTimeoutMs for each clip; the benchmarks' long clips need longer.
    explicit MediaFixtures(int ffmpegTimeoutMs = 120000) : timeoutMs(ffmpegTimeoutMs) {}

    // Runs ffmpeg with args, its output last; false, with ffmpeg's errors printed, when it
    // does not succeed within waitMs.
    static bool ffmpeg(const QStringList &args, int waitMs)
    {
        QProcess ff;
        ff.start(QStringLiteral("ffmpeg"),
                 QStringList{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                             QStringLiteral("error"), QStringLiteral("-y")} +
                     args);
        if (!ff.waitForFinished(waitMs) || ff.exitCode() != 0) {
            qWarning("ffmpeg failed for %s: %s", qPrintable(args.value(args.size() - 1)),
                     ff.readAllStandardError().constData());
            return false;
        }
        return true;
    }

    // Runs ffmpeg with args and the output path of name, in the folder, added last.
    bool make(const QString &name, const QStringList &args)
    {
        return ffmpeg(args + QStringList{path(name)}, timeoutMs);
    }

    // The clip most tests play: pictures of the lavfi source pattern (testsrc, a frame
    // counter) of the given size in H.264 with a key frame every gop pictures, and a 440 Hz
    // tone in the audio codec; a null picture or audio leaves that stream out. options are
    // further output options.
    struct Clip
    {
        const char *picture = "320x240";
        const char *pattern = "testsrc";
        double seconds = 1;
        const char *audio = nullptr;
        int gop = 25;
        QStringList options = {};
    };
    bool makeClip(const QString &name, const Clip &clip)
    {
        QStringList inputs, outputs;
        if (clip.picture) {
            inputs += videoSource(QLatin1String(clip.picture), clip.seconds, 25,
                                  QLatin1String(clip.pattern));
            outputs += h264(clip.gop);
        }
        if (clip.audio) {
            inputs += toneSource(clip.seconds);
            outputs += {QStringLiteral("-c:a"), QLatin1String(clip.audio)};
        }
        return make(name, inputs + outputs + clip.options);
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    // Pictures of a lavfi source (testsrc: a frame counter) at the given size, and a 440 Hz
    // tone.
    static QStringList videoSource(const QString &size, double seconds, int rate = 25,
                                   const QString &pattern = QStringLiteral("testsrc"))
    {
        return {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                QStringLiteral("%1=size=%2:rate=%3:duration=%4")
                    .arg(pattern, size)
                    .arg(rate)
                    .arg(seconds)};
    }
    static QStringList toneSource(double seconds, int rate = 44100, int channels = 2)
    {
        return {
            QStringLiteral("-f"),
            QStringLiteral("lavfi"),
            QStringLiteral("-i"),
            QStringLiteral("sine=frequency=440:sample_rate=%1:duration=%2").arg(rate).arg(seconds),
            QStringLiteral("-ac"),
            QString::number(channels)};
    }
    static QStringList h264(int gop = 25)
    {
        return {QStringLiteral("-c:v"),     QStringLiteral("libx264"), QStringLiteral("-preset"),
                QStringLiteral("veryfast"), QStringLiteral("-g"),      QString::number(gop),
                QStringLiteral("-bf"),      QStringLiteral("2"),       QStringLiteral("-pix_fmt"),
                QStringLiteral("yuv420p")};
    }

    QTemporaryDir dir;

private:
    int timeoutMs;
};
