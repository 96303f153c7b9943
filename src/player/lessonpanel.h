#pragma once

#include "player/controlwidget.h"

class ControlButton;
class LessonController;
class QLabel;
class QSeekSlider;
class WaveformStrip;

// The panel under the picture with what it holds: the time labels, the seek slider, the
// waveform strip and the button bar. Follows the lesson's position, marks and peaks, and
// hands the slider's seeks, the volume and the speed to it; the button bar's commands go
// to whoever connects to buttons(). GUI thread only.
class LessonPanel final : public ControlWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LessonPanel)

public:
    // lesson outlives the panel.
    explicit LessonPanel(LessonController &lesson, QWidget *parent = nullptr);

    ControlButton *buttons() const { return controlButton; }
    WaveformStrip *waveform() const { return strip; }

    // No lesson: the slider at its start and disabled, the labels at zero and hidden.
    void showIdle();
    // A lesson just opened: its length, or that it is unknown, and the slider at its start.
    void showLesson();

private:
    void showPosition(double seconds);
    void showMarks(double inSeconds, double outSeconds);
    // The strip when the lesson has peaks; the panel grows by it.
    void showWaveform();

    LessonController &lesson_;
    QLabel *positionLabel = nullptr;
    QSeekSlider *seekSlider = nullptr;
    QLabel *durationLabel = nullptr;
    WaveformStrip *strip = nullptr;
    ControlButton *controlButton = nullptr;
};
