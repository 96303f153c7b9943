#include "media/soundclock.h"

#include <cmath>

void SoundClock::publish(const media::HeardStretch &current, const media::HeardStretch &next,
                         double now)
{
    const auto clockOf = [now](const media::HeardStretch &s) {
        return media::HeardClock{s.seconds, s.until, now + s.in, s.speed, s.epoch};
    };
    media::GuardedLock lock(heardMutex);
    heard = {true, clockOf(current), clockOf(next)};
}

void SoundClock::publishSeconds(double seconds, double speed, AVRational tb)
{
    scaledSeconds = seconds / speed;
    heardTicks = std::llround(seconds / av_q2d(tb));
}

media::HeardNow SoundClock::at(int epoch, double now) const
{
    media::GuardedLock lock(heardMutex);
    return media::heardAt(heard, epoch, now);
}

void SoundClock::reset()
{
    scaledSeconds = 0;
    heardTicks = 0;
    media::GuardedLock lock(heardMutex);
    heard = {};
}
