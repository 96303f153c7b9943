#pragma once

#include <limits>
#include <optional>

// The display's timing rules as pure functions of the times handed to them: which
// picture is shown now, how long it waits for its sound, when the next one is due, and
// which media time is being heard. Times are seconds: media seconds for picture times
// and the clock heard, engine seconds (EngineClock) for `now` and what is measured
// against it. No state and no locks; the GUI thread calls them from the display timer.
namespace media {

// A stretch of playback (epoch) as the audio thread tells it: media time seconds (of the
// audio stream) is heard in `in` seconds from now, each second heard playing `speed`
// seconds of media time, and what was written of it ends at until.
struct HeardStretch
{
    double seconds = 0;
    double until = 0;
    double in = 0;
    double speed = 1;
    int epoch = -1;
};

// What is being heard of one stretch of playback (epoch; -1: none): media time `seconds`
// at engine time `from`, going on at `speed` media seconds per second, at most until
// `until`, the end of what was written of that stretch.
struct HeardClock
{
    double seconds = 0;
    double until = 0;
    double from = 0;
    double speed = 1;
    int epoch = -1;
};

// The stretch heard now, and the one written after it (a loop-back, a seek), heard from
// next.from on; known: the sound has told anything yet.
struct Heard
{
    bool known = false;
    HeardClock current;
    HeardClock next;
};

// How the sound stands for the stretch of playback of a picture.
enum class SoundFor
{
    Heard,  // its sound is heard now (or the next stretch is, written and not heard yet)
    NotYet, // no sound of it is known
    Past    // a later stretch is heard
};

struct HeardNow
{
    SoundFor sound = SoundFor::NotYet;
    // Heard: the media time heard now, extrapolated back when the stretch is the next
    // one, and the speed it is heard at.
    double clock = 0;
    double speed = 1;
    // Seconds until a next stretch of another epoch is heard; +infinity for none.
    double switchIn = std::numeric_limits<double>::infinity();
};

// How the sound of stretch epoch stands at engine time now.
HeardNow heardAt(const Heard &heard, int epoch, double now);

// The display's step from the previous picture (at lastPts) to one at pts: their distance
// when it is a plausible frame step (above 0, under a second, not across a seek), else the
// last accepted step.
double frameDelay(double pts, double lastPts, double lastDelay, bool afterSeek);

// How long a picture waits for its sound at most.
inline constexpr double maxSoundWait = 1.0;
// How much earlier than its sound a picture is handed out: it reaches the screen a paint
// and a composition of the window after frameReady. Measured from outside
// (bench_avsync), about this.
inline constexpr double pictureLead = 0.025;

// What the display knows when its timer fires, for the picture at the head of the ring.
struct DisplayInput
{
    double now = 0;
    // The picture: its media time, whether it is the first after a seek, and whether it
    // was decoded before the learner's last seek.
    double pts = 0;
    bool afterSeek = false;
    bool stale = false;
    // The picture shown before it and the step accepted then.
    double lastPts = 0;
    double lastDelay = 0.04;
    // When the next picture is due by the pictures' own times (engine seconds).
    double frameTimer = 0;
    // Media seconds per second shown.
    double speed = 1;
    // Whether the pictures of its stretch follow the sound, and how that sound stands.
    bool followSound = false;
    HeardNow heard;
    // Since when the picture has waited for its sound; none: it does not wait.
    std::optional<double> waitingSince;
};

struct DisplayDecision
{
    enum class Action
    {
        Drop, // not shown: the next picture is looked at now
        Wait, // not yet: look again in nextInMs
        Show  // hand it out now; the next is due in nextInMs
    };
    Action action = Action::Drop;
    int nextInMs = 0;
    // Wait: since when the picture waits for its sound.
    std::optional<double> waitingSince;
    // Show: its sound did not come in time, so the pictures of its stretch go by their own
    // times from now on.
    bool soundLost = false;
    // Show: the step accepted, and when the next picture is due by the pictures' own times.
    double delay = 0;
    double frameTimer = 0;
};

// While the sound plays, the pictures follow what is heard: the sound cannot wait without
// a gap the learner hears, and it starts late by the output's buffer and start-up, so a
// picture early for its sound waits for it (up to maxSoundWait), and one late for it is
// shown at once, its successors following quickly until they catch up. Without sound the
// pictures go by their own times, scaled by the speed.
DisplayDecision decideDisplay(const DisplayInput &in);

} // namespace media
