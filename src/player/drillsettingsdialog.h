#pragma once

#include "lesson/drillsettings.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

// The fields of the drill's settings: how often each sentence plays, the pause to type
// between repetitions, the first repetition's speed, what follows the last one, and how far
// playback rewinds when the learner plays on after pausing. GUI thread.
class DrillSettingsForm final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DrillSettingsForm)

public:
    DrillSettingsForm(const lesson::DrillSettings &settings, QWidget *parent = nullptr);

    lesson::DrillSettings settings() const;

private:
    QSpinBox *repetitions = nullptr;
    QSpinBox *pause = nullptr;
    QComboBox *firstPassSpeed = nullptr;
    QComboBox *after = nullptr;
    QDoubleSpinBox *rewind = nullptr;
};

// The drill's settings of the lesson being studied, as the learner chooses them. GUI thread.
class DrillSettingsDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DrillSettingsDialog)

public:
    DrillSettingsDialog(const lesson::DrillSettings &settings, QWidget *parent = nullptr);

    lesson::DrillSettings settings() const { return form->settings(); }

private:
    DrillSettingsForm *form = nullptr;
};
