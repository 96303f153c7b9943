#include "player/screenwidget.h"

#include "paths/apppaths.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

QScreenWidget::QScreenWidget(QWidget *parent) : QWidget(parent) {}

void QScreenWidget::showIdle()
{
    lesson = false;
    lessonName.clear();
    lessonCover = QImage();
    update();
}

void QScreenWidget::showLesson(const QString &name, const QImage &cover)
{
    lesson = true;
    lessonName = name;
    lessonCover = cover;
    update();
}

void QScreenWidget::mousePressEvent(QMouseEvent *event)
{
    if (lesson)
        return; // no open button over a lesson
    // Any button opens a file: the button is the one thing on the idle screen to press.
    const double cx = width() * 0.5;
    const double cy = height() * 0.5;
    const QPointF pos = event->position();
    if (pos.x() >= cx - 45 && pos.x() <= cx + 45 && pos.y() >= cy + 35 && pos.y() <= cy + 60) {
        update();
        emit click();
    }
}

void QScreenWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        update();
        emit doubleClick();
    }
}

void QScreenWidget::paintEvent(QPaintEvent *)
{
    if (lesson) {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        if (!lessonCover.isNull()) {
            const QSize fitted = lessonCover.size().scaled(size(), Qt::KeepAspectRatio);
            QRect target(QPoint(), fitted);
            target.moveCenter(rect().center());
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(target, lessonCover);
        } else {
            painter.fillRect(rect(), QColor(32, 40, 48));
            painter.setPen(QColor(220, 224, 228));
            QFont font = painter.font();
            font.setPointSize(16);
            painter.setFont(font);
            painter.drawText(rect().adjusted(16, 16, -16, -16), Qt::AlignCenter | Qt::TextWordWrap,
                             lessonName);
        }
        return;
    }

    // Read at every paint so that newly drawn artwork shows without a restart; a
    // missing file gives a null pixmap, which draws nothing.
    const QPixmap screen(AppPaths::skinImage(QStringLiteral("vorlynscreen.png")));
    const QPixmap openButton(AppPaths::skinImage(QStringLiteral("open_button.png")));

    // Centred on the whole widget, also when only part of it is repainted.
    const int cx = width() / 2;
    const int cy = height() / 2;
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.drawPixmap(cx - 131, cy - 50, screen);
    painter.drawPixmap(cx - 45, cy + 35, openButton);
}
