#pragma once

#include "media/displayclock.h"
#include "media/ffmpeg.h"
#include "media/guardedmutex.h"

#include <atomic>
#include <cstdint>

// The clock of the sound being heard, as the audio thread tells it: which media time of
// which stretch of playback is heard (for the pictures to follow), and the media time
// heard as a plain clock and position (for a file without pictures, and for holding the
// sound back when the pictures lag).
//
// Threads: written by the audio thread (and reset by the GUI thread while it does not
// run); the stretches are read by the GUI thread under heardMutex, a lock never held with
// another; the plain clock is two atomics, read by the GUI and demux threads too.
class SoundClock
{
public:
    // Audio thread: what is heard at engine time now, and the stretch written after it.
    void publish(const media::HeardStretch &current, const media::HeardStretch &next, double now);
    // Audio thread: media time seconds (of a stream of time base tb) is heard at speed.
    void publishSeconds(double seconds, double speed, AVRational tb);
    // GUI thread: how the sound of stretch epoch stands at engine time now.
    media::HeardNow at(int epoch, double now) const;
    // Nothing heard yet.
    void reset();
    // The media time heard over the speed: seconds of playback at the current speed.
    double seconds() const { return scaledSeconds.load(); }
    // The media time heard, in ticks of the audio stream.
    int64_t ticks() const { return heardTicks.load(); }

private:
    mutable media::GuardedMutex heardMutex;
    media::Heard heard VORLYN_GUARDED_BY(heardMutex);
    std::atomic<double> scaledSeconds{0};
    std::atomic<int64_t> heardTicks{0};
};
