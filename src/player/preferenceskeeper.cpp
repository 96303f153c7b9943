#include "player/preferenceskeeper.h"

#include "editor/textedit.h"
#include "player/interfacelanguage.h"
#include "player/preferencesdialog.h"
#include "player/vk.h"

#include <algorithm>

PreferencesKeeper::PreferencesKeeper(Vk &player, TextEdit &editor, LessonController &lesson,
                                     QObject *parent)
    : QObject(parent), player_(player), editor_(editor), lesson_(lesson),
      nudgeSeconds(Preferences::loadNudgeSeconds())
{
    player.setNudgeSeconds(nudgeSeconds);
    lesson.setDrillDefaults(Preferences::loadDrillDefaults());
    lesson.setDesiredRetention(Preferences::loadDesiredRetention());
    player.setKeys(PlayerKeys::load());
    // read when needed: the editor's own menu changes the dictionary too
    player.setDictionaryLanguage([&editor] { return editor.dictionaryLanguage(); });
    connect(&player, &Vk::preferencesRequested, this, &PreferencesKeeper::choosePreferences);
}

Preferences PreferencesKeeper::preferences() const
{
    Preferences p;
    p.language = interfacelanguage::chosen();
    p.dictionary = editor_.dictionaryLanguage();
    p.nudgeSeconds = nudgeSeconds;
    p.drillDefaults = Preferences::loadDrillDefaults();
    p.desiredRetention = Preferences::loadDesiredRetention();
    p.keys = player_.keys();
    return p;
}

void PreferencesKeeper::setPreferences(const Preferences &p)
{
    interfacelanguage::choose(p.language);
    editor_.setDictionaryLanguage(p.dictionary);
    nudgeSeconds =
        std::clamp(p.nudgeSeconds, Preferences::minNudgeSeconds, Preferences::maxNudgeSeconds);
    Preferences::saveNudgeSeconds(nudgeSeconds);
    player_.setNudgeSeconds(nudgeSeconds);
    Preferences::saveDrillDefaults(p.drillDefaults);
    lesson_.setDrillDefaults(p.drillDefaults);
    const double retention = std::clamp(p.desiredRetention, lesson::LessonStore::minRetention,
                                        lesson::LessonStore::maxRetention);
    Preferences::saveDesiredRetention(retention);
    lesson_.setDesiredRetention(retention);
    p.keys.save();
    player_.setKeys(p.keys);
}

void PreferencesKeeper::choosePreferences()
{
    PreferencesDialog dialog(preferences(), editor_.ownShortcuts(), &player_);
    if (dialog.exec() == QDialog::Accepted)
        setPreferences(dialog.preferences());
}
