#pragma once

#include <QDate>
#include <QString>

#include <vector>

namespace lesson {

// The checks made on one day: how many, and their mean accuracy (0 to 1; 0 when none).
struct DayChecks
{
    QDate day;
    int checks = 0;
    double meanAccuracy = 0;
};

// A word that checks missed, and how many times.
struct MissedWord
{
    QString word;
    int misses = 0;
};

// The learner's progress over all lessons, on the learner's local dates.
struct LearningProgress
{
    // how far back the checks are shown, and how far ahead the review items
    static constexpr int checkDays = 30;
    static constexpr int dueDays = 14;
    // the fewest days the checks are shown over, so that a first day is not one wide bar
    static constexpr int fewestCheckDays = 7;
    static constexpr int mostMissedWords = 12;

    QDate today;
    // Every day from the first check of the last checkDays (but at least fewestCheckDays
    // back) up to today, in order; empty when no check was made in the last checkDays.
    std::vector<DayChecks> checks;
    // The review items due on each of the dueDays from today on; those overdue count on
    // today.
    std::vector<int> due;
    // The words checks missed most, each miss counted, most first (then alphabetically,
    // case ignored); at most mostMissedWords.
    std::vector<MissedWord> missedWords;
};

} // namespace lesson
