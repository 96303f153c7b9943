#pragma once

#include <QCommonStyle>

// Common style that leaves out the focus rectangle of list widgets and push buttons, and
// the push-button control of tree widgets, so the lookup dialog's keys draw no dotted
// frame. Holds no state; GUI thread only, like every style.
class NoFocusRectangleStyle final : public QCommonStyle
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NoFocusRectangleStyle)

public:
    NoFocusRectangleStyle() = default;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
};
