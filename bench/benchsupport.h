#pragma once

// Helpers shared by the benchmarks: the ffmpeg command line as the tests' media fixtures
// run it, CPU time of this process and of finished children, and JSON output lines.

#include "support/mediafixtures.h"

#include <QString>
#include <QStringList>

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

// The benchmarks' clips are long and 1080p: ffmpeg may take minutes over them.
constexpr int ffmpegTimeoutMs = 600000;

inline bool ffmpeg(const QStringList &args)
{
    return MediaFixtures::ffmpeg(args, ffmpegTimeoutMs);
}

// The clip the benchmarks play: testsrc2 pictures in H.264, 25 fps, a key frame every 50,
// with an AAC tone unless withAudio is false.
inline MediaFixtures::Clip clip(const char *size, double seconds, bool withAudio = true)
{
    return {.picture = size,
            .pattern = "testsrc2",
            .seconds = seconds,
            .audio = withAudio ? "aac" : nullptr,
            .gop = 50};
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
