#include "skin/qskinwidgetresizehandler.h"

#include "skin/qskinobject.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace {

// The smallest size the widget accepts: its minimum size where set, else its layout's hint.
QSize smartMinSize(const QWidget *w)
{
    QSize s = w->minimumSize();
    const QSize hint = w->minimumSizeHint();
    if (s.width() <= 0)
        s.setWidth(qMax(0, hint.width()));
    if (s.height() <= 0)
        s.setHeight(qMax(0, hint.height()));
    return s.boundedTo(w->maximumSize());
}

} // namespace

QSkinWidgetResizeHandler::QSkinWidgetResizeHandler(QSkinObject *skinObject, QWidget *window,
                                                   QWidget *child)
    : QObject(window), skin(skinObject), widget(window), childWidget(child ? child : window)
{
    widget->setMouseTracking(true);
    range_ = skin->borderLeftWidth() / 2;
    if (range_ < 5)
        range_ = skin->borderLeftWidth();
    widget->installEventFilter(this);
}

bool QSkinWidgetResizeHandler::eventFilter(QObject *o, QEvent *e)
{
    if (skin->skinMaximized() || o != widget)
        return false;
    const QEvent::Type type = e->type();
    if (type == QEvent::ShortcutOverride) {
        // Reaches the window from a focused child that left it unaccepted.
        if (!buttonDown)
            return false;
        e->accept();
        return true;
    }
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseMove)
        return false;
    auto *me = static_cast<QMouseEvent *>(e);
    if (QApplication::activePopupWidget()) {
        if (type == QEvent::MouseButtonRelease)
            buttonDown = false;
        return false;
    }
    switch (type) {
    case QEvent::MouseButtonPress: {
        const QPoint pos = widget->mapFromGlobal(me->globalPosition().toPoint());
        if (widget->isMaximized() || !widget->rect().contains(pos) ||
            me->button() != Qt::LeftButton)
            return false;
        skin->mousePressHook(me);
        buttonDown = false;
        emit activate();
        mouseMoveEvent(me);
        buttonDown = true;
        moveOffset = pos;
        invertedMoveOffset = widget->rect().bottomRight() - moveOffset;
        return true;
    }
    case QEvent::MouseButtonRelease:
        // A release let through reaches the skin's own filter, which calls the release
        // hook; calling it here as well would act twice (a refused close asked again).
        if (widget->isMaximized() || me->button() != Qt::LeftButton)
            return false;
        skin->mouseReleaseHook(me);
        buttonDown = false;
        widget->releaseMouse();
        widget->releaseKeyboard();
        return true;
    default:
        if (widget->isMaximized())
            return false;
        // The hover look of the title-bar buttons follows the pointer; this filter sees the
        // moves first and consumes them.
        skin->mouseMoveHook(me);
        if (buttonDown && !(me->buttons() & Qt::LeftButton))
            buttonDown = false;
        mouseMoveEvent(me);
        return true;
    }
}

void QSkinWidgetResizeHandler::mouseMoveEvent(QMouseEvent *e)
{
    const QPoint pos = widget->mapFromGlobal(e->globalPosition().toPoint());
    const int w = widget->width();
    const int h = widget->height();
    const int r = range_;
    if (!buttonDown) {
        if (pos.y() <= r && pos.x() <= r)
            mode = TopLeft;
        else if (pos.y() >= h - r && pos.x() >= w - r)
            mode = BottomRight;
        else if (pos.y() >= h - r && pos.x() <= r)
            mode = BottomLeft;
        else if (pos.y() <= r && pos.x() >= w - r)
            mode = TopRight;
        else if (pos.y() <= r)
            mode = Top;
        else if (pos.y() >= h - r)
            mode = Bottom;
        else if (pos.x() <= r)
            mode = Left;
        else if (pos.x() >= w - r)
            mode = Right;
        else if (widget->rect().contains(pos))
            mode = Center;
        else
            mode = Nowhere;
        if (widget->isMinimized() || skin->skinMaximized())
            mode = Center;
        setMouseCursor(mode);
        return;
    }
    if (widget->testAttribute(Qt::WA_WState_ConfigPending))
        return;

    const QPoint g = e->globalPosition().toPoint();
    const QPoint p = g + invertedMoveOffset;
    const QPoint pp = g - moveOffset;
    const QSize minSize = smartMinSize(childWidget);
    const QSize maxSize = childWidget->maximumSize();
    const QRect geometry = widget->geometry();

    const QSize mpsize = QSize(geometry.right() - pp.x() + 1, geometry.bottom() - pp.y() + 1)
                             .expandedTo(widget->minimumSize())
                             .expandedTo(minSize)
                             .boundedTo(maxSize);
    const QPoint mp(geometry.right() - mpsize.width() + 1, geometry.bottom() - mpsize.height() + 1);

    QRect geom = geometry;
    switch (mode) {
    case TopLeft:
        geom = QRect(mp, geometry.bottomRight());
        break;
    case BottomRight:
        geom = QRect(geometry.topLeft(), p);
        break;
    case BottomLeft:
        geom = QRect(QPoint(mp.x(), geometry.y()), QPoint(geometry.right(), p.y()));
        break;
    case TopRight:
        geom = QRect(QPoint(geometry.x(), mp.y()), QPoint(p.x(), geometry.bottom()));
        break;
    case Top:
        geom = QRect(QPoint(geometry.left(), mp.y()), geometry.bottomRight());
        break;
    case Bottom:
        geom = QRect(geometry.topLeft(), QPoint(geometry.right(), p.y()));
        break;
    case Left:
        geom = QRect(QPoint(mp.x(), geometry.y()), geometry.bottomRight());
        break;
    case Right:
        geom = QRect(geometry.topLeft(), QPoint(p.x(), geometry.bottom()));
        break;
    case Center:
        geom.moveTopLeft(pp);
        break;
    case Nowhere:
        break;
    }
    geom.setSize(
        geom.size().expandedTo(widget->minimumSize()).expandedTo(minSize).boundedTo(maxSize));
    if (geom == geometry)
        return;
    if (mode == Center)
        widget->move(geom.topLeft());
    else
        widget->setGeometry(geom);
}

void QSkinWidgetResizeHandler::setMouseCursor(Mode m)
{
    const QList<QWidget *> children = widget->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        if (!child->testAttribute(Qt::WA_SetCursor))
            child->setCursor(Qt::ArrowCursor);
    }
    switch (m) {
    case TopLeft:
    case BottomRight:
        widget->setCursor(Qt::SizeFDiagCursor);
        break;
    case BottomLeft:
    case TopRight:
        widget->setCursor(Qt::SizeBDiagCursor);
        break;
    case Top:
    case Bottom:
        widget->setCursor(Qt::SizeVerCursor);
        break;
    case Left:
    case Right:
        widget->setCursor(Qt::SizeHorCursor);
        break;
    case Center:
    case Nowhere:
        widget->setCursor(Qt::ArrowCursor);
        break;
    }
}
