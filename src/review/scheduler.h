#pragma once

#include <array>

// When a missed sentence or word is reviewed again. A learner's memory of an item is its
// stability (the days after which it is recalled nine times in ten) and its difficulty (1 to
// 10); each review's grade and the days since the one before move both, and the next review is
// due when the chance of recall falls to the desired retention. Plain data and pure functions;
// callable from any thread.

namespace review {

enum class Grade
{
    Again = 1,
    Hard = 2,
    Good = 3,
    Easy = 4,
};

// The grade of a check of accuracy 0 to 1: all right is Good, at least 80 % Hard, less Again;
// after the hint was shown, at best Hard.
Grade gradeOfCheck(double accuracy, bool hintUsed);

struct MemoryState
{
    double stability = 0;
    double difficulty = 0;
};

// The weights of the memory model, fitted on many learners' reviews; the last is the decay of
// the forgetting curve.
inline constexpr std::array<double, 21> defaultWeights = {
    0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194, 0.001,  1.8722, 0.1666, 0.796,
    1.4835, 0.0614, 0.2629, 1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542,
};

struct Scheduler
{
    std::array<double, 21> weights = defaultWeights;
    // The chance of recall at which an item is due, above 0 and below 1.
    double desiredRetention = 0.9;
    int maximumIntervalDays = 36500;

    // The memory of an item after its first review.
    MemoryState firstReview(Grade grade) const;
    // The memory after a review daysElapsed whole days after the one before; 0 is the same day.
    MemoryState nextReview(MemoryState state, Grade grade, int daysElapsed) const;
    // The chance of recall daysElapsed days after the last review.
    double retrievability(MemoryState state, double daysElapsed) const;
    // Whole days until the next review: 1 to maximumIntervalDays.
    int intervalDays(MemoryState state) const;
};

} // namespace review
