#include "player/preferences.h"

#include "player/playersettings.h"

#include <algorithm>
#include <cmath>

namespace {

const QString nudgeKey = QStringLiteral("player/nudgeSeconds");
const QString retentionKey = QStringLiteral("review/desiredRetention");
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

double Preferences::loadDesiredRetention()
{
    return clampedOr(playerSettings().value(retentionKey), lesson::LessonStore::minRetention,
                     lesson::LessonStore::maxRetention, defaultRetention);
}

void Preferences::saveDesiredRetention(double retention)
{
    playerSettings().setValue(retentionKey, retention);
}

lesson::DrillSettings Preferences::loadDrillDefaults()
{
    QSettings settings = playerSettings();
    settings.beginGroup(drillGroup);
    const lesson::DrillSettings d;
    const auto number = [&settings](const QString &key, double otherwise) {
        bool ok = false;
        const double v = settings.value(key).toDouble(&ok);
        return ok && std::isfinite(v) ? v : otherwise;
    };
    lesson::DrillSettings s;
    // as an integer only once in range: a huge stored count must not overflow
    s.repetitions = int(std::clamp(number(QStringLiteral("repetitions"), d.repetitions),
                                   double(lesson::DrillSettings::untilTold),
                                   double(lesson::DrillSettings::maxRepetitions)));
    s.pauseSeconds = number(QStringLiteral("pauseSeconds"), d.pauseSeconds);
    s.firstPassSpeed = number(QStringLiteral("firstPassSpeed"), d.firstPassSpeed);
    s.advance = settings.value(QStringLiteral("advance"), d.advance).toBool();
    s.rewindSeconds = number(QStringLiteral("rewindSeconds"), d.rewindSeconds);
    return s.clamped();
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
