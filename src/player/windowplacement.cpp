#include "player/windowplacement.h"

#include "player/playersettings.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

// The screen whose available area holds most of rect; the primary screen when none does.
const QScreen *screenOf(const QRect &rect)
{
    const QScreen *best = QGuiApplication::primaryScreen();
    qint64 most = 0;
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect common = screen->availableGeometry().intersected(rect);
        const qint64 area = qint64(common.width()) * common.height();
        if (area > most) {
            most = area;
            best = screen;
        }
    }
    return best;
}

// How far rect must move to lie within area; one larger than area keeps its top left inside.
QPoint shiftInto(const QRect &rect, const QRect &area)
{
    return {std::max(std::min(0, area.right() - rect.right()), area.left() - rect.left()),
            std::max(std::min(0, area.bottom() - rect.bottom()), area.top() - rect.top())};
}

QRect clampedInto(const QRect &rect, const QRect &area)
{
    const QRect sized(rect.topLeft(), rect.size().boundedTo(area.size()));
    return sized.translated(shiftInto(sized, area));
}

} // namespace

namespace placement {

Pair besidePlayer(const QRect &player, const QSize &editor, const QRect &available)
{
    const QRect p = clampedInto(player, available);
    const int roomRight = available.width() - p.width();
    const int roomBelow = available.height() - p.height();
    QSize e = editor.boundedTo(available.size());
    const bool fitsRight = e.width() <= roomRight;
    const bool fitsBelow = e.height() <= roomBelow;
    // Whole beside it, whole below it, or shrunk where more of it is left.
    const bool right = fitsRight || (!fitsBelow && qint64(roomRight) * e.height() >=
                                                       qint64(roomBelow) * e.width());
    if (right && !fitsRight)
        e.setWidth(std::max(roomRight, 1));
    if (!right && !fitsBelow)
        e.setHeight(std::max(roomBelow, 1));
    Pair pair{p, right ? QRect(QPoint(p.right() + 1, p.top()), e)
                       : QRect(QPoint(p.left(), p.bottom() + 1), e)};
    const QPoint shift = shiftInto(pair.player.united(pair.editor), available);
    pair.player.translate(shift);
    pair.editor.translate(shift);
    pair.editor = clampedInto(pair.editor, available);
    return pair;
}

QRect onScreen(const QRect &rect)
{
    const QScreen *screen = screenOf(rect);
    return screen ? clampedInto(rect, screen->availableGeometry()) : rect;
}

QRect availableFor(const QWidget *window)
{
    const QScreen *screen = screenOf(window->geometry());
    return screen ? screen->availableGeometry() : window->geometry();
}

Keeper::Keeper(QWidget &window, const QString &key, std::function<QRect()> place, QObject *parent)
    : QObject(parent), window_(window), key_(key), place_(std::move(place))
{
    settled.setSingleShot(true);
    settled.setInterval(1000);
    connect(&settled, &QTimer::timeout, this, &Keeper::keep);
    connect(qApp, &QCoreApplication::aboutToQuit, this, &Keeper::keep);
    window.installEventFilter(this);
}

QRect Keeper::remembered(const QString &key)
{
    const QRect rect = playerSettings().value(key).toRect();
    return rect.isValid() ? onScreen(rect) : QRect();
}

void Keeper::keep() const
{
    const QRect rect = place_();
    if (rect.isValid())
        playerSettings().setValue(key_, rect);
}

bool Keeper::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &window_ && window_.isVisible() &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        settled.start();
    return QObject::eventFilter(watched, event);
}

} // namespace placement
