#pragma once

#include <QWidget>

// The panel under the picture: paints a dark gradient behind the time labels, the seek
// slider, the waveform strip and the button bar, which LessonPanel lays out on it.
// GUI thread only.
class ControlWidget : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ControlWidget)

public:
    // Its height without the waveform strip.
    static constexpr int panelHeight = 50;

    explicit ControlWidget(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
