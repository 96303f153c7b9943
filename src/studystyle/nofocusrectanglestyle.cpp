#include "studystyle/nofocusrectanglestyle.h"

#include <QWidget>

void NoFocusRectangleStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                          QPainter *painter, const QWidget *widget) const
{
    if (element == PE_FrameFocusRect && widget &&
        (widget->inherits("QListWidget") || widget->inherits("QPushButton")))
        return;
    QCommonStyle::drawPrimitive(element, option, painter, widget);
}

void NoFocusRectangleStyle::drawControl(ControlElement element, const QStyleOption *option,
                                        QPainter *painter, const QWidget *widget) const
{
    if (element == CE_PushButton && widget && widget->inherits("QTreeWidget"))
        return;
    QCommonStyle::drawControl(element, option, painter, widget);
}
