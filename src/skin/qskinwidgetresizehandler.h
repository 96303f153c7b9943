#pragma once

#include <QObject>
#include <QPoint>

class QMouseEvent;
class QSkinObject;
class QWidget;

// Moves and resizes a frameless skinned window by mouse: edges and corners resize within the
// size limits, any other place moves. Hands presses and releases to the skin object first.
// A child of the window; GUI thread only.
class QSkinWidgetResizeHandler final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QSkinWidgetResizeHandler)

public:
    enum Mode
    {
        Nowhere,
        TopLeft,
        BottomRight,
        BottomLeft,
        TopRight,
        Top,
        Bottom,
        Left,
        Right,
        Center
    };
    Q_ENUM(Mode)

    QSkinWidgetResizeHandler(QSkinObject *skin, QWidget *window, QWidget *child = nullptr);

    bool eventFilter(QObject *o, QEvent *e) override;

    Mode currentMode() const { return mode; }
    int range() const { return range_; }
    bool isButtonDown() const { return buttonDown; }

signals:
    void activate();

private:
    void mouseMoveEvent(QMouseEvent *e);
    void setMouseCursor(Mode m);

    QSkinObject *skin;
    QWidget *widget;
    QWidget *childWidget;
    QPoint moveOffset;
    QPoint invertedMoveOffset;
    Mode mode = Nowhere;
    int range_ = 0;
    bool buttonDown = false;
};
