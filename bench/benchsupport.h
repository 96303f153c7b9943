#pragma once

// Helpers shared by the benchmarks: test clips made with the ffmpeg command line, CPU
// time of this process and of finished children, and JSON output lines.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace bench {

inline double cpuSeconds(int who)
{
    rusage ru{};
    getrusage(who, &ru);
    return double(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
           double(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}
inline double selfCpuSeconds()
{
    return cpuSeconds(RUSAGE_SELF);
}
inline double childrenCpuSeconds()
{
    return cpuSeconds(RUSAGE_CHILDREN);
}

inline bool ffmpeg(const QStringList &args)
{
    QProcess ff;
    ff.start(QStringLiteral("ffmpeg"),
             QStringList{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                         QStringLiteral("error"), QStringLiteral("-y")} +
                 args);
    if (!ff.waitForFinished(600000) || ff.exitCode() != 0) {
        std::fprintf(stderr, "ffmpeg failed: %s\n", ff.readAllStandardError().constData());
        return false;
    }
    return true;
}

// An H.264 clip of testsrc pictures, 25 fps, key frame every gop frames, with an AAC
// tone when withAudio is set.
inline bool makeClip(const QString &path, const QString &size, int seconds, int gop,
                     bool withAudio = true)
{
    QStringList args{QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                     QStringLiteral("testsrc2=size=%1:rate=25:duration=%2").arg(size).arg(seconds)};
    if (withAudio)
        args += {QStringLiteral("-f"),
                 QStringLiteral("lavfi"),
                 QStringLiteral("-i"),
                 QStringLiteral("sine=frequency=440:sample_rate=44100:duration=%1").arg(seconds),
                 QStringLiteral("-c:a"),
                 QStringLiteral("aac")};
    args += {QStringLiteral("-c:v"),     QStringLiteral("libx264"), QStringLiteral("-preset"),
             QStringLiteral("veryfast"), QStringLiteral("-g"),      QString::number(gop),
             QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"), path};
    return ffmpeg(args);
}

// CPU seconds that `ffmpeg -i clip -vf format=rgb24 -f null -` spends on the clip.
inline double ffmpegDecodeToRgbCpu(const QString &clip)
{
    const double before = childrenCpuSeconds();
    ffmpeg({QStringLiteral("-i"), clip, QStringLiteral("-an"), QStringLiteral("-vf"),
            QStringLiteral("format=rgb24"), QStringLiteral("-f"), QStringLiteral("null"),
            QStringLiteral("-")});
    return childrenCpuSeconds() - before;
}

inline void print(const char *name, double value, const char *unit, const QString &extra = {})
{
    std::printf("{\"name\": \"%s\", \"value\": %.4f, \"unit\": \"%s\"%s}\n", name, value, unit,
                extra.isEmpty() ? "" : qPrintable(QStringLiteral(", ") + extra));
    std::fflush(stdout);
}

struct Summary
{
    double median = 0;
    double max = 0;
};

inline Summary summarize(std::vector<double> v)
{
    if (v.empty())
        return {};
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v.back()};
}

} // namespace bench
