#pragma once

#include <algorithm>
#include <cmath>

// How the dictation drill runs each sentence of a lesson. Plain data; any thread.
namespace lesson {

struct DrillSettings
{
    // repetitions: play the sentence until the learner moves on
    static constexpr int untilTold = 0;
    // pauseSeconds: wait between repetitions until the learner presses the play key
    static constexpr double untilPlayKey = -1;
    static constexpr int maxRepetitions = 10;
    static constexpr double maxPauseSeconds = 10;
    static constexpr double maxRewindSeconds = 5;

    // how often each sentence plays: 1 to maxRepetitions, or untilTold
    int repetitions = 3;
    // the time to type between two repetitions: 0 to maxPauseSeconds, or untilPlayKey
    double pauseSeconds = 2;
    // the speed of a sentence's first repetition; 0 plays it at the lesson's speed
    double firstPassSpeed = 0;
    // after the last repetition: go on to the next sentence (else wait for the learner)
    bool advance = false;
    // playback the learner resumes after pausing it starts this much earlier: 0 to
    // maxRewindSeconds
    double rewindSeconds = 1;

    // The settings brought into their ranges (a stored value may lie outside them); a value
    // that is no number takes its default.
    DrillSettings clamped() const
    {
        const DrillSettings d;
        const auto within = [](double v, double low, double high, double otherwise) {
            return std::isfinite(v) ? std::clamp(v, low, high) : otherwise;
        };
        DrillSettings s = *this;
        s.repetitions = std::clamp(repetitions, untilTold, maxRepetitions);
        s.pauseSeconds = pauseSeconds < 0
                             ? untilPlayKey
                             : within(pauseSeconds, 0, maxPauseSeconds, d.pauseSeconds);
        s.firstPassSpeed = within(firstPassSpeed, 0, 1, d.firstPassSpeed);
        s.rewindSeconds = within(rewindSeconds, 0, maxRewindSeconds, d.rewindSeconds);
        return s;
    }

    friend bool operator==(const DrillSettings &, const DrillSettings &) = default;
};

} // namespace lesson
