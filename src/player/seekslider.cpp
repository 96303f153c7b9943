#include "player/seekslider.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

QPen roundPen(const QColor &color, int width)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

} // namespace

QSeekSlider::QSeekSlider(QWidget *parent) : QWidget(parent), positionsWidth(width())
{
    setFixedHeight(8);
}

void QSeekSlider::setValue(double fraction)
{
    followWidth();
    valuePos = width() * fraction;
    update();
}

void QSeekSlider::resetMark()
{
    markInPos = markOutPos = 0;
    update();
}

void QSeekSlider::setMarkInFlag(double fraction)
{
    followWidth();
    markInPos = width() * fraction;
    update();
}

void QSeekSlider::setMarkOutFlag(double fraction)
{
    followWidth();
    markOutPos = width() * fraction;
    update();
}

void QSeekSlider::mousePressEvent(QMouseEvent *event)
{
    seek(event);
}

void QSeekSlider::mouseMoveEvent(QMouseEvent *event)
{
    seek(event);
}

void QSeekSlider::seek(const QMouseEvent *event)
{
    followWidth();
    const QPointF pos = event->position();
    // A zero width has no fraction to report.
    if (event->buttons() != Qt::LeftButton || width() <= 0 || pos.x() < 0 || pos.x() > width() ||
        pos.y() < 0 || pos.y() > height())
        return;
    valuePos = pos.x();
    update();
    emit valueChanged(pos.x() / width());
}

void QSeekSlider::resizeEvent(QResizeEvent *)
{
    followWidth();
    update();
}

void QSeekSlider::followWidth()
{
    const int w = width();
    if (w == positionsWidth)
        return;
    // At width 0 every position is 0, so there is nothing to scale. Multiplying before
    // dividing keeps a position at the right end exactly at the new right end, which
    // the paint code compares against.
    if (positionsWidth > 0) {
        valuePos = valuePos * w / positionsWidth;
        markInPos = markInPos * w / positionsWidth;
        markOutPos = markOutPos * w / positionsWidth;
    }
    positionsWidth = w;
}

void QSeekSlider::paintEvent(QPaintEvent *)
{
    followWidth();
    // The whole widget is laid out even for a partial repaint: the loop end is stored
    // in widget coordinates below.
    const int w = width();
    const int h = height();

    if (markOutPos == 0)
        markOutPos = w;
    if (markInPos == w)
        markInPos = 0;

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::gray);

    painter.setPen(roundPen(Qt::black, h));
    painter.drawLine(w, h / 2, 0, h / 2);

    if (valuePos != 0) {
        painter.setPen(roundPen(Qt::white, h / 2));
        painter.drawLine(w, h / 4, 0, h / 4);
        painter.setPen(roundPen(Qt::gray, h / 2));
        painter.drawLine(w, 3 * h / 4, 0, 3 * h / 4);
    }

    if (markInPos != 0 || markOutPos != w) {
        painter.setPen(roundPen(QColor(168, 169, 101), h / 4));
        painter.drawLine(int(markOutPos + h / 4), h / 8, int(markInPos - h / 4), h / 8);
        painter.setPen(roundPen(QColor(209, 201, 134), 3 * h / 4));
        painter.drawLine(int(markOutPos), 5 * h / 8, int(markInPos), 5 * h / 8);
    }

    if (valuePos != 0 && valuePos != w) {
        painter.setPen(roundPen(handleTopColor, h / 2));
        painter.drawLine(int(valuePos - h / 4), h / 4, int(valuePos + h / 4), h / 4);
        painter.setPen(roundPen(handleBottomColor, h / 2));
        painter.drawLine(int(valuePos - h / 4), 3 * h / 4, int(valuePos + h / 4), 3 * h / 4);
    }
}
