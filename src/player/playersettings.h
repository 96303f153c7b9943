#pragma once

#include <QSettings>

// The player's own settings file in the learner's configuration folder ("player.conf"):
// window places, recent lessons, keys and preferences. GUI thread.
inline QSettings playerSettings()
{
    return QSettings(QStringLiteral("vorlynplayer"), QStringLiteral("player"));
}
