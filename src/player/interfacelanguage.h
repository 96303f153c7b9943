#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

// The language the interface is shown in: the learner's choice, kept in the player's
// settings, and the translations that show it, the program's own and Qt's stock texts
// (buttons, file dialogs). Holds no state of its own; install() on the GUI thread, the rest
// on any thread.
namespace interfacelanguage {

// The languages the interface can be shown in: "" follows the system, then "en" and "zh_CN".
QStringList choices();
// The learner's choice, kept in the player's settings (player.conf) under
// "interface/language"; "" when unset or not one of choices().
QString chosen();
void choose(const QString &code);
// The locale name the interface shows for a choice: for "" the system's, or "en" when the
// program has no translation for the system's language.
QString localeName(const QString &code);
// Installs on app the program's own translation and Qt's ("qtbase_<locale>" in Qt's
// translations folder, from Debian's qt6-translations-l10n) for the language of code; the
// translators are children of app. English installs nothing of Qt's, whose texts are
// English already. Once at start-up, before any window exists: widgets take their texts
// when they are made.
void install(QCoreApplication *app, const QString &code);

} // namespace interfacelanguage
