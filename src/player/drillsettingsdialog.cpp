#include "player/drillsettingsdialog.h"

#include "lesson/lessoncontroller.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

DrillSettingsForm::DrillSettingsForm(const lesson::DrillSettings &settings, QWidget *parent)
    : QWidget(parent)
{
    using lesson::DrillSettings;
    auto *form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);

    // the lowest value of each box stands for its "until" choice
    repetitions = new QSpinBox(this);
    repetitions->setObjectName(QStringLiteral("drillRepetitions"));
    repetitions->setRange(DrillSettings::untilTold, DrillSettings::maxRepetitions);
    repetitions->setSpecialValueText(tr("until I move on"));
    repetitions->setSuffix(tr(" times"));
    repetitions->setValue(settings.repetitions);
    form->addRow(tr("Play each sentence"), repetitions);

    pause = new QSpinBox(this);
    pause->setObjectName(QStringLiteral("drillPause"));
    pause->setRange(int(DrillSettings::untilPlayKey), int(DrillSettings::maxPauseSeconds));
    pause->setSpecialValueText(tr("until I press the play key"));
    pause->setSuffix(tr(" s"));
    pause->setValue(int(std::lround(settings.pauseSeconds)));
    form->addRow(tr("Pause to type"), pause);

    firstPassSpeed = new QComboBox(this);
    firstPassSpeed->setObjectName(QStringLiteral("drillFirstPassSpeed"));
    firstPassSpeed->addItem(tr("as the lesson"), 0.0);
    for (const double step : LessonController::speedSteps)
        if (step < 1.0)
            firstPassSpeed->addItem(QStringLiteral("%1x").arg(step), step);
    firstPassSpeed->setCurrentIndex(std::max(0, firstPassSpeed->findData(settings.firstPassSpeed)));
    form->addRow(tr("First time at"), firstPassSpeed);

    after = new QComboBox(this);
    after->setObjectName(QStringLiteral("drillAfter"));
    after->addItem(tr("wait"));
    after->addItem(tr("go on to the next sentence"));
    after->setCurrentIndex(settings.advance ? 1 : 0);
    form->addRow(tr("After the last time"), after);

    rewind = new QDoubleSpinBox(this);
    rewind->setObjectName(QStringLiteral("drillRewind"));
    rewind->setRange(0, DrillSettings::maxRewindSeconds);
    rewind->setDecimals(1);
    rewind->setSingleStep(0.5);
    rewind->setSuffix(tr(" s"));
    rewind->setValue(settings.rewindSeconds);
    form->addRow(tr("Playing on after a pause goes back"), rewind);
}

lesson::DrillSettings DrillSettingsForm::settings() const
{
    lesson::DrillSettings s;
    s.repetitions = repetitions->value();
    s.pauseSeconds = pause->value();
    s.firstPassSpeed = firstPassSpeed->currentData().toDouble();
    s.advance = after->currentIndex() == 1;
    s.rewindSeconds = rewind->value();
    return s;
}

DrillSettingsDialog::DrillSettingsDialog(const lesson::DrillSettings &settings, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Drill Settings"));
    auto *layout = new QVBoxLayout(this);
    form = new DrillSettingsForm(settings, this);
    layout->addWidget(form);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}
