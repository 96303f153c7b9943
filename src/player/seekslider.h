#pragma once

#include <QColor>
#include <QWidget>

class QMouseEvent;

// The thin position bar under the picture: paints the track, the loop between the two
// marks and the handle, and turns a left click or drag into a new position. Holds the
// handle and mark positions as pixel x coordinates. GUI thread only.
class QSeekSlider final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QSeekSlider)

public:
    explicit QSeekSlider(QWidget *parent = nullptr);

signals:
    // The handle position as a fraction 0..1 of the width, after a click or drag.
    void valueChanged(double fraction);
    // Never emitted: the flags cannot be dragged, so a mark moves only through
    // setMarkInFlag and setMarkOutFlag, whose caller already knows the new place. They
    // stay part of the slider's interface.
    void markInChanged(double fraction);
    void markOutChanged(double fraction);

public slots:
    // Moves the handle without emitting valueChanged, so playback can drive it.
    void setValue(double fraction);
    void resetMark();
    void setMarkInFlag(double fraction);
    // A fraction of 0 puts the loop end at the right end.
    void setMarkOutFlag(double fraction);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void seek(const QMouseEvent *event);
    void followWidth();

    double valuePos = 0;
    double markInPos = 0;
    // 0 stands for the right end.
    double markOutPos = 0;
    QColor handleTopColor{118, 169, 196};
    QColor handleBottomColor{17, 113, 163};
    // The width the three positions were computed for. A hidden widget changes size
    // without resize events and its first resize event carries no old size, so the
    // positions are rescaled from this width rather than from the event.
    int positionsWidth;
};
