#include "media/displayclock.h"

#include <algorithm>

namespace media {

HeardNow heardAt(const Heard &heard, int epoch, double now)
{
    HeardNow out;
    if (!heard.known)
        return out;
    const bool switched = heard.next.epoch >= 0 && now >= heard.next.from;
    const HeardClock &current = switched ? heard.next : heard.current;
    const HeardClock *next = switched || heard.next.epoch < 0 ? nullptr : &heard.next;
    if (next && next->epoch != epoch)
        out.switchIn = next->from - now;
    const HeardClock *of = epoch == current.epoch         ? &current
                           : next && epoch == next->epoch ? next
                                                          : nullptr;
    if (!of) {
        out.sound = epoch < current.epoch ? SoundFor::Past : SoundFor::NotYet;
        return out;
    }
    out.sound = SoundFor::Heard;
    out.clock = std::min(of->seconds + (now - of->from) * of->speed, of->until);
    out.speed = of->speed;
    return out;
}

double frameDelay(double pts, double lastPts, double lastDelay, bool afterSeek)
{
    // A seek less than a second ahead would otherwise pass for a long frame and hold the
    // picture before it on screen that long.
    const double delay = pts - lastPts;
    return delay > 0 && delay < 1.0 && !afterSeek ? delay : lastDelay;
}

DisplayDecision decideDisplay(const DisplayInput &in)
{
    using Action = DisplayDecision::Action;
    DisplayDecision out;
    // pictures decoded before the learner's last seek are dropped; the picture on screen
    // stays until the first one at the seek target
    if (in.stale)
        return out;
    bool onSound = false;
    if (in.followSound) {
        double early = 0;
        switch (in.heard.sound) {
        case SoundFor::NotYet:
            early = 0.005; // the sound of this stretch has not begun yet
            break;
        case SoundFor::Heard:
            early = (in.pts - in.heard.clock) / in.heard.speed - pictureLead;
            onSound = true;
            break;
        case SoundFor::Past:
            break;
        }
        if (early > 0.002) {
            const double since = in.waitingSince.value_or(in.now);
            if (in.now - since < maxSoundWait) {
                out.action = Action::Wait;
                out.waitingSince = since;
                out.nextInMs = std::clamp(int(early * 1000), 1, 20);
                return out;
            }
            // the sound does not come (a stalled output, a stretch without sound): this
            // stretch's pictures go by their own times
            out.soundLost = true;
            onSound = false;
        }
    }
    out.action = Action::Show;
    out.delay = frameDelay(in.pts, in.lastPts, in.lastDelay, in.afterSeek);
    double actual = 0;
    if (onSound) {
        // the next picture is due when the sound reaches its time, or when the sound of
        // the next stretch (a loop-back) begins, whose first picture then waits no longer
        actual =
            std::min((in.pts + out.delay - in.heard.clock) / in.heard.speed, in.heard.switchIn) -
            pictureLead;
        out.frameTimer = in.now + actual;
        actual = std::max(actual, 0.002);
    } else {
        out.frameTimer = in.frameTimer + out.delay / in.speed;
        actual = std::max(out.frameTimer - in.now, 0.01);
    }
    out.nextInMs = int(actual * 1000 + 0.5);
    return out;
}

} // namespace media
