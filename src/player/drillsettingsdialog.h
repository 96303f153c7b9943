#pragma once

#include "lesson/drillsettings.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

// The drill's settings as the learner chooses them: how often each sentence plays, the
// pause to type between repetitions, the first repetition's speed, what follows the last
// one, and how far playback rewinds when the learner plays on after pausing. GUI thread.
class DrillSettingsDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DrillSettingsDialog)

public:
    DrillSettingsDialog(const lesson::DrillSettings &settings, QWidget *parent = nullptr);

    lesson::DrillSettings settings() const;

private:
    QSpinBox *repetitions = nullptr;
    QSpinBox *pause = nullptr;
    QComboBox *firstPassSpeed = nullptr;
    QComboBox *after = nullptr;
    QDoubleSpinBox *rewind = nullptr;
};
