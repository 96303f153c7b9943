#pragma once

#include <cstdint>

namespace media {

// The layout of interleaved integer samples sent to the sound server: 16-bit signed
// (native byte order) or 8-bit unsigned.
struct AudioFormat
{
    int sampleRate = 0;
    int channels = 0;
    int bytesPerSample = 2;

    bool isValid() const
    {
        return sampleRate > 0 && channels > 0 && (bytesPerSample == 1 || bytesPerSample == 2);
    }
    int bytesPerFrame() const { return channels * bytesPerSample; }
    // Whole frames only.
    int64_t bytesForDuration(int64_t microseconds) const
    {
        return int64_t(sampleRate) * microseconds / 1000000 * bytesPerFrame();
    }
    int64_t durationForBytes(int64_t bytes) const
    {
        const int64_t perSecond = int64_t(sampleRate) * bytesPerFrame();
        return perSecond > 0 ? bytes * 1000000 / perSecond : 0;
    }
    friend bool operator==(const AudioFormat &, const AudioFormat &) = default;
};

} // namespace media
