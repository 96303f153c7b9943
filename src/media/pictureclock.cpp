#include "media/pictureclock.h"

#include "media/picturering.h"
#include "media/soundclock.h"

void PictureClock::reset(double now)
{
    frameLastPts = 0;
    videoCurrentPts = 0;
    videoCurrentTicks = 0;
    videoCurrentPtsTime = now;
    frameTimer = now;
    frameLastDelay = 0.04;
}

void PictureClock::restart(int epoch, bool followSound)
{
    epochShown.store(epoch, std::memory_order_relaxed);
    soundOutput = followSound;
    soundLostEpoch = -1;
    waitingSince.reset();
}

PictureClock::Tick PictureClock::tick(PictureRing &ring, const SoundClock &sound, int serial,
                                      double speed, double now)
{
    using Action = media::DisplayDecision::Action;
    for (; ring.pending() > 0; ring.releaseHead()) {
        const VideoPicture &vp = ring.head();
        media::DisplayInput in;
        in.now = now;
        in.pts = vp.pts;
        in.afterSeek = vp.afterSeek;
        in.stale = vp.serial != serial;
        in.lastPts = frameLastPts;
        in.lastDelay = frameLastDelay;
        in.frameTimer = frameTimer;
        in.speed = speed;
        in.followSound = soundOutput && vp.epoch != soundLostEpoch;
        if (in.followSound)
            in.heard = sound.at(vp.epoch, now);
        in.waitingSince = waitingSince;
        const media::DisplayDecision d = media::decideDisplay(in);
        if (d.action == Action::Drop)
            continue;
        if (d.action == Action::Wait) {
            waitingSince = d.waitingSince;
            // the clock stays with the picture on screen until its successor is shown
            videoCurrentPtsTime = now;
            return {Tick::Outcome::Wait, d.nextInMs};
        }
        waitingSince.reset();
        if (d.soundLost)
            soundLostEpoch = vp.epoch;
        videoCurrentPts = vp.pts / speed;
        videoCurrentTicks = vp.ticks;
        videoCurrentPtsTime = now;
        epochShown.store(vp.epoch, std::memory_order_relaxed);
        frameLastDelay = d.delay;
        frameLastPts = vp.pts;
        frameTimer = d.frameTimer;
        return {Tick::Outcome::Show, d.nextInMs};
    }
    return {};
}

void PictureClock::resume(double now)
{
    videoCurrentPts = current(now, false);
    frameTimer += now - videoCurrentPtsTime;
}

double PictureClock::current(double now, bool paused) const
{
    if (paused)
        return videoCurrentPts;
    return videoCurrentPts + (now - videoCurrentPtsTime);
}
