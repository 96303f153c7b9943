#include "player/lessonpanel.h"

#include "lesson/lessoncontroller.h"
#include "player/controlbutton.h"
#include "player/seekslider.h"
#include "player/waveformstrip.h"

#include <QGridLayout>
#include <QLabel>

LessonPanel::LessonPanel(LessonController &lesson, QWidget *parent)
    : ControlWidget(parent), lesson_(lesson)
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(5, 8, 5, 5);
    positionLabel = new QLabel(this);
    positionLabel->setObjectName(QStringLiteral("positionLabel"));
    grid->addWidget(positionLabel, 0, 0, -1, 1, Qt::AlignLeft | Qt::AlignTop);
    seekSlider = new QSeekSlider(this);
    seekSlider->setEnabled(false);
    connect(seekSlider, &QSeekSlider::valueChanged, &lesson, &LessonController::seekToFraction);
    grid->addWidget(seekSlider, 0, 1, 1, 20, Qt::AlignTop);
    durationLabel = new QLabel(this);
    durationLabel->setObjectName(QStringLiteral("durationLabel"));
    grid->addWidget(durationLabel, 0, 21, -1, 1, Qt::AlignRight | Qt::AlignTop);
    strip = new WaveformStrip(&lesson, this);
    strip->hide();
    grid->addWidget(strip, 1, 1, 1, 20);
    controlButton = new ControlButton(this);
    grid->addWidget(controlButton, 2, 0, 1, -1, Qt::AlignTop);

    connect(controlButton, &ControlButton::volumeChanged, &lesson, &LessonController::setVolume);
    connect(controlButton, &ControlButton::speedChosen, &lesson, &LessonController::setSpeed);
    connect(&lesson, &LessonController::speedChanged, controlButton, &ControlButton::showSpeed);
    controlButton->showSpeed(lesson.speed());
    connect(&lesson, &LessonController::positionChanged, this, &LessonPanel::showPosition);
    connect(&lesson, &LessonController::marksChanged, this, &LessonPanel::showMarks);
    connect(&lesson, &LessonController::waveformChanged, this, &LessonPanel::showWaveform);
}

void LessonPanel::showIdle()
{
    seekSlider->resetMark();
    seekSlider->setValue(0);
    seekSlider->setEnabled(false);
    seekSlider->setToolTip(QString());
    positionLabel->setText(QStringLiteral("00:00:00"));
    durationLabel->setText(QStringLiteral("00:00:00"));
    positionLabel->hide();
    durationLabel->hide();
    update();
}

void LessonPanel::showLesson()
{
    seekSlider->resetMark();
    seekSlider->setValue(0);
    const bool known = lesson_.hasKnownLength();
    seekSlider->setEnabled(known);
    seekSlider->setToolTip(known ? QString() : tr("The length of this file is unknown."));
    durationLabel->setText(known ? lesson_.timeText(lesson_.durationSeconds())
                                 : QStringLiteral("--:--:--"));
    durationLabel->show();
    positionLabel->show();
    update();
}

void LessonPanel::showPosition(double seconds)
{
    seekSlider->setValue(lesson_.fractionAt(seconds));
    positionLabel->setText(lesson_.timeText(seconds));
    update();
}

void LessonPanel::showMarks(double inSeconds, double outSeconds)
{
    // the engine clamps the marks: the flags show where they are, not where they were asked
    seekSlider->setMarkInFlag(lesson_.fractionAt(inSeconds));
    seekSlider->setMarkOutFlag(lesson_.fractionAt(outSeconds));
}

void LessonPanel::showWaveform()
{
    const bool shown = !lesson_.peaks().low.empty();
    strip->setVisible(shown);
    const auto *grid = static_cast<QGridLayout *>(layout());
    setFixedHeight(panelHeight + (shown ? strip->height() + grid->verticalSpacing() : 0));
}
