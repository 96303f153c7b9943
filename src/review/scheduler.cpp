#include "review/scheduler.h"

#include <algorithm>
#include <cmath>

namespace review {

namespace {

// Keeps the powers of the stability below finite when an item is forgotten over and over.
constexpr double minimumStability = 0.001;

// A score shown as 80 % or 100 % counts as such, whatever the last bit of its division.
constexpr double scoreSlack = 1e-9;

double value(Grade grade)
{
    return static_cast<double>(grade);
}

// The difficulty a first review of grade would give, before it is kept within 1 to 10.
double initialDifficulty(const std::array<double, 21> &w, Grade grade)
{
    return w[4] - std::exp(w[5] * (value(grade) - 1)) + 1;
}

// The forgetting curve is R(t) = (1 + f t / S)^-d with the decay d the last weight; f makes
// R(S) = 0.9 whatever d, so the stability stays the days to a recall of nine in ten.
double curveFactor(const std::array<double, 21> &w)
{
    return std::pow(0.9, -1 / w[20]) - 1;
}

} // namespace

Grade gradeOfCheck(double accuracy, bool hintUsed)
{
    if (accuracy < 0.8 - scoreSlack)
        return Grade::Again;
    if (hintUsed || accuracy < 1 - scoreSlack)
        return Grade::Hard;
    return Grade::Good;
}

MemoryState Scheduler::firstReview(Grade grade) const
{
    // The first stability is the grade's own weight.
    return {std::max(weights[static_cast<int>(grade) - 1], minimumStability),
            std::clamp(initialDifficulty(weights, grade), 1.0, 10.0)};
}

MemoryState Scheduler::nextReview(MemoryState state, Grade grade, int daysElapsed) const
{
    const auto &w = weights;
    const double s = state.stability;
    const double d = state.difficulty;
    const double g = value(grade);
    double stability = 0;
    if (daysElapsed <= 0) {
        // The same day, memory hardly decays: the stability grows or shrinks by the grade
        // alone, the less the more stable the item already is, and never shrinks on a
        // success.
        double growth = std::exp(w[17] * (g - 3 + w[18])) * std::pow(s, -w[19]);
        if (grade >= Grade::Good)
            growth = std::max(growth, 1.0);
        stability = s * growth;
    } else if (grade == Grade::Again) {
        // Forgotten: a new stability from the old, the difficulty and how unexpected the lapse
        // was, never above what a lapse on the same day would leave.
        const double r = retrievability(state, daysElapsed);
        const double relearnt =
            w[11] * std::pow(d, -w[12]) * (std::pow(s + 1, w[13]) - 1) * std::exp(w[14] * (1 - r));
        stability = std::min(relearnt, s / std::exp(w[17] * w[18]));
    } else {
        // Recalled: the stability grows the more, the easier the item, the less stable it was
        // and the less likely the recall; Hard damps the growth, Easy adds to it.
        const double r = retrievability(state, daysElapsed);
        const double hard = grade == Grade::Hard ? w[15] : 1;
        const double easy = grade == Grade::Easy ? w[16] : 1;
        stability = s * (1 + std::exp(w[8]) * (11 - d) * std::pow(s, -w[9]) *
                                 (std::exp(w[10] * (1 - r)) - 1) * hard * easy);
    }
    // The difficulty moves by the grade, by less the nearer it is to 10, and is drawn a little
    // towards that of a first Easy so it recovers after a run of lapses.
    const double moved = d - w[6] * (g - 3) * (10 - d) / 9;
    const double difficulty = w[7] * initialDifficulty(w, Grade::Easy) + (1 - w[7]) * moved;
    return {std::max(stability, minimumStability), std::clamp(difficulty, 1.0, 10.0)};
}

double Scheduler::retrievability(MemoryState state, double daysElapsed) const
{
    return std::pow(1 + curveFactor(weights) * std::max(daysElapsed, 0.0) / state.stability,
                    -weights[20]);
}

int Scheduler::intervalDays(MemoryState state) const
{
    // The forgetting curve solved for the day recall falls to the desired retention.
    const double days =
        state.stability / curveFactor(weights) * (std::pow(desiredRetention, -1 / weights[20]) - 1);
    return static_cast<int>(
        std::clamp(std::round(days), 1.0, static_cast<double>(maximumIntervalDays)));
}

} // namespace review
