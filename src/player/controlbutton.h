#pragma once

#include "player/playerkeys.h"

#include <QPixmap>
#include <QWidget>

#include <array>

class QActionGroup;
class QToolButton;

// The painted row of transport, loop and volume commands under the seek slider: one
// widget that maps a press to a command signal by where it lands, with the speed button
// at its left end. Owns its images, the volume knob position and the speed button with its
// menu of steps; lives in the GUI thread.
class ControlButton final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ControlButton)

public:
    explicit ControlButton(QWidget *parent = nullptr);
    // Names each button's keys in its tooltip.
    void showCommandKeys(const PlayerKeys &keys);
    // Names the speed keys in the speed button's tooltip.
    void showSpeedKeys(const QString &slower, const QString &faster, const QString &normal);

signals:
    // A button was pressed: the player command it stands for, run as its keys run it.
    void commandChosen(PlayerKeys::Command command);
    void volumeChanged(double left, double right);
    // A step picked from the speed button's menu.
    void speedChosen(double factor);

public slots:
    // Shows the pause image while playing, the play image otherwise.
    void playIcon(bool playing);
    // Shows factor on the speed button ("0.75x") and ticks its step in the menu.
    void showSpeed(double factor);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void setVolumeAt(double x);

    QPixmap playImage;
    QPixmap stopImage;
    QPixmap forwardImage;
    QPixmap backwardImage;
    QPixmap leftNudgeImage;
    QPixmap rightNudgeImage;
    QPixmap loopStartImage;
    QPixmap loopEndImage;
    QPixmap cancelLoopImage;
    QPixmap nextSegmentImage;
    QPixmap previousSegmentImage;
    QPixmap volumeImage;
    QPixmap editorImage;
    QToolButton *speedButton = nullptr;   // child
    QActionGroup *speedActions = nullptr; // child of the button's menu
    // Knob x in widget pixels. It follows the track when the width changes, so the volume
    // the knob shows stays the same.
    double volumePos = 25.0;
    // The track's left end that volumePos was last placed against. Tracked here rather than
    // taken from the resize event's old size, because Qt reports an invalid old size both
    // before the first show and when showing again after a resize while hidden.
    int volumeTrackLeft = 0;
    // each command's keys as its button's tooltip names them
    std::array<QString, PlayerKeys::commandCount> areaKeys;
};
