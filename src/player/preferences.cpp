#include "player/preferences.h"

#include "player/playersettings.h"

#include <algorithm>
#include <cmath>

namespace {

const QString nudgeKey = QStringLiteral("player/nudgeSeconds");
const QString drillGroup = QStringLiteral("drillDefaults");

double clampedOr(const QVariant &value, double low, double high, double otherwise)
{
    bool ok = false;
    const double v = value.toDouble(&ok);
    return ok && std::isfinite(v) ? std::clamp(v, low, high) : otherwise;
}

} // namespace

double Preferences::loadNudgeSeconds()
{
    return clampedOr(playerSettings().value(nudgeKey), minNudgeSeconds, maxNudgeSeconds,
                     defaultNudgeSeconds);
}

void Preferences::saveNudgeSeconds(double seconds)
{
    playerSettings().setValue(nudgeKey, seconds);
}

lesson::DrillSettings Preferences::loadDrillDefaults()
{
    using lesson::DrillSettings;
    QSettings settings = playerSettings();
    settings.beginGroup(drillGroup);
    const DrillSettings d;
    DrillSettings s;
    s.repetitions =
        int(clampedOr(settings.value(QStringLiteral("repetitions")), DrillSettings::untilTold,
                      DrillSettings::maxRepetitions, d.repetitions));
    s.pauseSeconds =
        clampedOr(settings.value(QStringLiteral("pauseSeconds")), DrillSettings::untilPlayKey,
                  DrillSettings::maxPauseSeconds, d.pauseSeconds);
    if (s.pauseSeconds < 0)
        s.pauseSeconds = DrillSettings::untilPlayKey;
    s.firstPassSpeed =
        clampedOr(settings.value(QStringLiteral("firstPassSpeed")), 0, 1, d.firstPassSpeed);
    s.advance = settings.value(QStringLiteral("advance"), d.advance).toBool();
    s.rewindSeconds = clampedOr(settings.value(QStringLiteral("rewindSeconds")), 0,
                                DrillSettings::maxRewindSeconds, d.rewindSeconds);
    return s;
}

void Preferences::saveDrillDefaults(const lesson::DrillSettings &s)
{
    QSettings settings = playerSettings();
    settings.beginGroup(drillGroup);
    settings.setValue(QStringLiteral("repetitions"), s.repetitions);
    settings.setValue(QStringLiteral("pauseSeconds"), s.pauseSeconds);
    settings.setValue(QStringLiteral("firstPassSpeed"), s.firstPassSpeed);
    settings.setValue(QStringLiteral("advance"), s.advance);
    settings.setValue(QStringLiteral("rewindSeconds"), s.rewindSeconds);
}
