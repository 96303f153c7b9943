#include "player/controlwidget.h"

#include <QLinearGradient>
#include <QPainter>

ControlWidget::ControlWidget(QWidget *parent) : QWidget(parent)
{
    setFixedHeight(panelHeight);
}

void ControlWidget::paintEvent(QPaintEvent *)
{
    // The gradient spans the whole panel, not just the part being repainted.
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, QColor(0, 0, 0));
    gradient.setColorAt(1, QColor(19, 126, 182));
    QPainter painter(this);
    painter.fillRect(rect(), gradient);
}
