#pragma once

#include "player/preferences.h"

#include <QDialog>
#include <QKeySequence>

#include <utility>

class DrillSettingsForm;
class QSpinBox;
class QComboBox;
class QDoubleSpinBox;
class QKeySequenceEdit;
class QTableWidget;

// The learner's preferences in one dialog: a page for the language, the dictionary and the
// nudge step, one for the drill's defaults, and one with every player command's keys, each
// key taken by pressing it. A key another command has, or that the editor keeps for a
// command of its own, is refused with a message. GUI thread.
class PreferencesDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreferencesDialog)

public:
    // editorKeys: the keys of the editor's own commands, with their names.
    PreferencesDialog(const Preferences &preferences,
                      const QList<std::pair<QKeySequence, QString>> &editorKeys,
                      QWidget *parent = nullptr);

    Preferences preferences() const;
    // The field that takes a command's key (slot 0) or alternate key (slot 1).
    QKeySequenceEdit *keyEdit(PlayerKeys::Command command, int slot) const;

private:
    QWidget *createGeneralPage(const Preferences &preferences);
    QWidget *createKeysPage();
    // Takes the key just pressed in a command's field, or refuses it and puts the field back.
    void takeKey(PlayerKeys::Command command, int slot);
    // Shows keys in every field.
    void showKeys();

    QList<std::pair<QKeySequence, QString>> editorKeys;
    PlayerKeys keys;
    QComboBox *language = nullptr;
    QComboBox *dictionary = nullptr;
    QDoubleSpinBox *nudge = nullptr;
    DrillSettingsForm *drill = nullptr;
    QSpinBox *retention = nullptr;
    QTableWidget *keyTable = nullptr;
};
