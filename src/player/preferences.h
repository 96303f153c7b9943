#pragma once

#include "lesson/drillsettings.h"
#include "lesson/lessoncontroller.h"
#include "player/playerkeys.h"

#include <QString>

// What the learner sets once for every lesson: the interface language, the spelling
// dictionary, how far a nudge moves a loop mark, the drill's settings for lessons opened
// the first time, and the player's keys. Plain data.
struct Preferences
{
    static constexpr double defaultNudgeSeconds = LessonController::markNudgeSeconds;
    static constexpr double minNudgeSeconds = 0.01;
    static constexpr double maxNudgeSeconds = 1.0;
    static constexpr double defaultRetention = 0.9;

    // "" follows the system; "en" or "zh_CN"
    QString language;
    // "en_US" or "en_GB"
    QString dictionary;
    double nudgeSeconds = defaultNudgeSeconds;
    lesson::DrillSettings drillDefaults;
    // the chance of recalling a review item when it comes back
    double desiredRetention = defaultRetention;
    PlayerKeys keys;

    // The nudge step and the drill's defaults, kept in the player's settings (the other
    // choices are kept by their owners); values out of range are brought into it.
    static double loadNudgeSeconds();
    static double loadDesiredRetention();
    static void saveDesiredRetention(double retention);
    static void saveNudgeSeconds(double seconds);
    static lesson::DrillSettings loadDrillDefaults();
    static void saveDrillDefaults(const lesson::DrillSettings &settings);
};
