#pragma once

#include "player/preferences.h"

#include <QObject>

class LessonController;
class TextEdit;
class Vk;

// The learner's preferences at work: loads them at the start and hands them to the player
// (keys, nudge step), the lesson (the drill's defaults) and the editor (dictionary); what
// the learner sets takes effect at once (the language at the next start) and is kept for
// the next start. GUI thread only.
class PreferencesKeeper final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreferencesKeeper)

public:
    // All three outlive the keeper.
    PreferencesKeeper(Vk &player, TextEdit &editor, LessonController &lesson,
                      QObject *parent = nullptr);

    Preferences preferences() const;
    void setPreferences(const Preferences &preferences);

public slots:
    // Asks the learner, over the player.
    void choosePreferences();

private:
    Vk &player_;
    TextEdit &editor_;
    LessonController &lesson_;
    double nudgeSeconds = Preferences::defaultNudgeSeconds;
};
