#pragma once

#include "media/displayclock.h"

#include <atomic>
#include <cstdint>
#include <optional>

class PictureRing;
class SoundClock;

// The display's side of the timing: the picture on screen (its media time, ticks and
// stretch, and the engine time it was shown at), when the next one is due by the
// pictures' own times, and whether the pictures of a stretch wait for its sound. Each
// display tick hands decideDisplay what it knows and keeps what it decides.
//
// Threads: GUI thread, except the picture on screen's time, ticks and stretch, atomics
// that the demux and audio threads read.
class PictureClock
{
public:
    // What a display tick did with the ring's head: nothing to show, a picture waits for
    // its sound, or the head is to be shown now. Either way the display looks again in
    // nextInMs.
    struct Tick
    {
        enum class Outcome
        {
            Empty,
            Wait,
            Show
        };
        Outcome outcome = Outcome::Empty;
        int nextInMs = 10;
    };

    // Nothing shown yet at engine time now.
    void reset(double now);
    // A new run of playback in stretch epoch: it starts with no sound lost and no
    // picture waiting; followSound: an output plays its sound.
    void restart(int epoch, bool followSound);
    // Whether the pictures follow the sound (an output plays it).
    void setFollowSound(bool follow) { soundOutput = follow; }
    // The display tick at engine time now: drops the pictures of ring decoded before the
    // learner's last seek (serial), then times its head against the sound. With Show, the
    // head is the picture on screen from now on; the caller hands it out and releases it.
    Tick tick(PictureRing &ring, const SoundClock &sound, int serial, double speed, double now);
    // Picks up after a pause at engine time now: the pictures' own times move on by the
    // time it lasted.
    void resume(double now);

    // The time on screen in seconds of playback at the current speed: the picture's, going
    // on with time unless paused.
    double current(double now, bool paused) const;
    // The picture on screen in seconds of playback, in ticks of the video stream, and its
    // stretch; any thread.
    double shownSeconds() const { return videoCurrentPts.load(); }
    int64_t shownTicks() const { return videoCurrentTicks.load(); }
    int shownEpoch() const { return epochShown.load(std::memory_order_relaxed); }

private:
    double frameTimer = 0;
    double frameLastPts = 0;
    double frameLastDelay = 0.04;
    std::atomic<double> videoCurrentPts{0};
    std::atomic<int64_t> videoCurrentTicks{0};
    std::atomic<int> epochShown{0};
    // When the picture on screen was shown, or last found still on time.
    double videoCurrentPtsTime = 0;
    // start() opened an output for the sound; the stretch whose sound did not come in
    // time, shown by the pictures' own times instead; since when the head waits.
    bool soundOutput = false;
    int soundLostEpoch = -1;
    std::optional<double> waitingSince;
};
