#pragma once

#include <QCommonStyle>
#include <QLatin1String>

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

// The pale-gold rounded push buttons the study-tool dialogs share, as a style sheet.
inline constexpr QLatin1String studyToolButtonStyleSheet(
    "QPushButton { background-color: palegoldenrod; border-width: 2px; "
    "border-color: darkkhaki; border-style: solid; border-radius: 5; padding: 3px; "
    "min-width: 9ex; min-height: 2.5ex; }\n"
    "QPushButton:hover { background-color: khaki; }\n"
    "QPushButton:pressed { padding-left: 5px; padding-top: 5px; "
    "background-color: #d0d67c; }");
