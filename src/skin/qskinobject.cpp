#include "skin/qskinobject.h"

#include "paths/apppaths.h"
#include "skin/qskinwidgetresizehandler.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSettings>
#include <QSvgRenderer>
#include <QWidget>

#include <algorithm>

namespace {

constexpr Qt::WindowFlags skinFlags = Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                                      Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                                      Qt::WindowCloseButtonHint;

int truncInt(double v)
{
    return int(v);
}

QRect truncRect(const QRectF &r)
{
    return QRect(truncInt(r.x()), truncInt(r.y()), truncInt(r.width()), truncInt(r.height()));
}

} // namespace

QSkinObject::QSkinObject(QWidget *window)
    : QObject(window), skinPixmap(window->width() + 12, window->height() + 12),
      clientRect(window->rect()), skinnedWidget(window)
{
    window->setMouseTracking(true);
    window->setWindowFlags(skinFlags);
    skinPixmap.fill(Qt::transparent);
}

QSkinObject::~QSkinObject()
{
    // The handler filters the window's events and asks this object about them; the
    // window hears of this object's removal after this body, when it is no skin object
    // any more.
    delete resizeHandler_;
}

QSkinWidgetResizeHandler *QSkinObject::resizeHandler() const
{
    return resizeHandler_.data();
}

int QSkinObject::borderLeftWidth() const
{
    return truncInt(elementBounds(QStringLiteral("border_left")).width());
}

QRectF QSkinObject::elementBounds(const QString &id) const
{
    if (!svgRenderer || !svgRenderer->elementExists(id))
        return {};
    return svgRenderer->boundsOnElement(id);
}

void QSkinObject::setAlphaValue(double a)
{
    alpha_ = a;
    skinnedWidget->setWindowOpacity(a);
}

void QSkinObject::loadSkinSettings()
{
    const QString appDir = AppPaths::skinRoot();
    QSettings s(AppPaths::skinSettings(), QSettings::IniFormat);
    s.beginGroup(QStringLiteral("Skin"));
    backgroundColor_ = QColor::fromString(
        s.value(QStringLiteral("Hintergrundfarbe"), QStringLiteral("white")).toString());
    titleColor_ = s.contains(QStringLiteral("Titelfarbe"))
                      ? QColor::fromString(s.value(QStringLiteral("Titelfarbe")).toString())
                      : QColor(255, 100, 0);
    // An opacity the settings cannot state ("0,8", "80%", 0 or less) would make the
    // window invisible: such a window is opaque.
    bool alphaRead = false;
    const double alpha = s.value(QStringLiteral("Alpha"), 1.0).toDouble(&alphaRead);
    alpha_ = alphaRead && alpha > 0.0 ? std::min(alpha, 1.0) : 1.0;
    QFont font(QStringLiteral("Arial"));
    if (s.contains(QStringLiteral("Titelschrift")))
        font.fromString(s.value(QStringLiteral("Titelschrift")).toString());
    titleFont_ = font;
    skinPath_ = appDir + QLatin1Char('/') +
                s.value(QStringLiteral("Skinpfad"), QStringLiteral("skin/template.svg")).toString();
    delete svgRenderer;
    svgRenderer = new QSvgRenderer(skinPath_, this);
    titleIcon = QPixmap(AppPaths::skinImage(QStringLiteral("vorlynplayer.png")));
}

void QSkinObject::startSkinning()
{
    loadSkinSettings();
    // New settings and template, and stopSkinning() cleared the mask.
    frameStale = true;
    const QPoint pos = skinnedWidget->pos();
    skinnedWidget->setMouseTracking(true);
    skinnedWidget->setContentsMargins(
        truncInt(elementBounds(QStringLiteral("border_left")).width()),
        truncInt(elementBounds(QStringLiteral("border_top")).height()),
        truncInt(elementBounds(QStringLiteral("border_right")).width()),
        truncInt(elementBounds(QStringLiteral("border_bottom")).height()));
    skinnedWidget->removeEventFilter(this);
    skinnedWidget->installEventFilter(this);
    // A second start must not leave the earlier handler filtering next to the new one.
    delete resizeHandler_;
    resizeHandler_ = new QSkinWidgetResizeHandler(this, skinnedWidget);
    // Set here rather than at each paint, where a change would resize the window mid-paint.
    skinnedWidget->setMinimumSize(
        truncInt(elementBounds(QStringLiteral("border_right")).width() +
                 elementBounds(QStringLiteral("border_left")).width() + 128),
        truncInt(elementBounds(QStringLiteral("border_top")).height() +
                 elementBounds(QStringLiteral("border_bottom")).height()));
    skinnedWidget->setWindowOpacity(alpha_);
    // The window keeps its visibility: the editor is built hidden and stays so until called.
    skinnedWidget->move(pos);
    updateButtonRegions();
    skinnedWidget->update();
}

void QSkinObject::stopSkinning()
{
    const bool visible = skinnedWidget->isVisible();
    skinnedWidget->setContentsMargins(0, 0, 0, 0);
    skinnedWidget->clearMask();
    skinnedWidget->setAttribute(Qt::WA_TranslucentBackground, false);
    // Setting flags hides the window and maps it anew. The window manager's late notice
    // about the unmapped window could then mark a window going full screen minimised as
    // well (a black screen), so flags the window already has are not set again.
    const bool sameFlags = (skinnedWidget->windowFlags() & ~Qt::WindowType_Mask) == skinFlags;
    if (!sameFlags)
        skinnedWidget->setWindowFlags(skinFlags);
    skinnedWidget->removeEventFilter(this);
    if (resizeHandler_)
        skinnedWidget->removeEventFilter(resizeHandler_);
    skinnedWidget->setMouseTracking(false);
    setAlphaValue(1.0);
    // Setting the flags hid the window.
    if (visible && !sameFlags)
        skinnedWidget->show();
}

QRectF QSkinObject::minimizeRect() const
{
    const double w = skinnedWidget->width();
    const QRectF t = elementBounds(QStringLiteral("border_top"));
    const QRectF tr = elementBounds(QStringLiteral("border_topright"));
    const QRectF min = elementBounds(QStringLiteral("minimize_button_normal"));
    const QRectF max = elementBounds(QStringLiteral("maximize_button_normal"));
    const QRectF cl = elementBounds(QStringLiteral("close_button_normal"));
    return QRectF(w - 2 * min.width() - 2 * max.width() - cl.width() - tr.width(),
                  (t.height() - min.height()) * 0.5, min.width(), min.height());
}

QRectF QSkinObject::maximizeRect() const
{
    const double w = skinnedWidget->width();
    const QRectF t = elementBounds(QStringLiteral("border_top"));
    const QRectF tr = elementBounds(QStringLiteral("border_topright"));
    const QRectF max = elementBounds(QStringLiteral("maximize_button_normal"));
    const QRectF cl = elementBounds(QStringLiteral("close_button_normal"));
    return QRectF(w - 2 * max.width() - cl.width() - tr.width(), (t.height() - max.height()) * 0.5,
                  max.width(), max.height());
}

QRectF QSkinObject::closeRect() const
{
    const double w = skinnedWidget->width();
    const QRectF t = elementBounds(QStringLiteral("border_top"));
    const QRectF tr = elementBounds(QStringLiteral("border_topright"));
    const QRectF cl = elementBounds(QStringLiteral("close_button_normal"));
    return QRectF(w - cl.width() - tr.width(), (t.height() - cl.height()) * 0.5, cl.width(),
                  cl.height());
}

void QSkinObject::updateButtonRegions()
{
    minimizeRegion_ = QRegion(truncRect(minimizeRect()));
    maximizeRegion_ = QRegion(truncRect(maximizeRect()));
    closeRegion_ = QRegion(truncRect(closeRect()));
}

void QSkinObject::updateStyle()
{
    if (frameStale || framePixmap.size() != skinnedWidget->size())
        renderFrame();
    skinPixmap = framePixmap;
    if (!svgRenderer || !svgRenderer->isValid())
        return;
    updateButtons();
}

void QSkinObject::renderFrame()
{
    frameStale = false;
    const int W = skinnedWidget->width();
    const int H = skinnedWidget->height();
    const QRectF TL = elementBounds(QStringLiteral("border_topleft"));
    const QRectF T = elementBounds(QStringLiteral("border_top"));
    const QRectF TR = elementBounds(QStringLiteral("border_topright"));
    const QRectF R = elementBounds(QStringLiteral("border_right"));
    const QRectF BR = elementBounds(QStringLiteral("border_bottomright"));
    const QRectF B = elementBounds(QStringLiteral("border_bottom"));
    const QRectF BL = elementBounds(QStringLiteral("border_bottomleft"));
    const QRectF L = elementBounds(QStringLiteral("border_left"));
    const QRectF CL = elementBounds(QStringLiteral("close_button_normal"));

    const int a1 = truncInt(W - TL.width() - TR.width());
    const int a2 = truncInt(H - TL.height() - BL.height());
    const int a3 = truncInt(H - TR.height() - BR.height());
    const int a4 = truncInt(W - BL.width() - BR.width());
    const int a5 = truncInt(T.height() - TL.height());
    const int a6 = truncInt(T.height() - TR.height());

    framePixmap = QPixmap(W, H);
    framePixmap.fill(Qt::transparent);
    if (!svgRenderer || !svgRenderer->isValid()) {
        // Without a template nothing is drawn, and the window keeps its full shape.
        skinnedWidget->clearMask();
        return;
    }
    QPainter p(&framePixmap);
    p.setRenderHint(QPainter::Antialiasing);
    svgRenderer->render(&p, QStringLiteral("border_top"),
                        QRectF(5, 0, a1 + TL.width() + 10, T.height()));
    svgRenderer->render(&p, QStringLiteral("border_topleft"),
                        QRectF(0, a5, TL.width(), TL.height()));
    svgRenderer->render(&p, QStringLiteral("border_topright"),
                        QRectF(a1 + TR.width(), a6, TR.width(), TR.height()));
    svgRenderer->render(&p, QStringLiteral("border_left"), QRectF(0, TL.height(), L.width(), a2));
    svgRenderer->render(&p, QStringLiteral("border_right"),
                        QRectF(a4 + BR.width(), TR.height(), R.width(), a3));
    svgRenderer->render(&p, QStringLiteral("border_bottomleft"),
                        QRectF(0, TL.height() + a2, BL.width(), BL.height()));
    svgRenderer->render(&p, QStringLiteral("border_bottom"),
                        QRectF(BL.width(), TL.height() + a2, a4, B.height()));
    svgRenderer->render(&p, QStringLiteral("border_bottomright"),
                        QRectF(a4 + BR.width(), TR.height() + a2, BR.width(), BR.height()));

    p.setFont(titleFont_);
    p.setPen(QPen(titleColor_, 2));
    clientRect = QRect(truncInt(L.width()), truncInt(T.height()),
                       truncInt(W - R.width() - L.width()), truncInt(H - T.height() - B.height()));
    p.fillRect(clientRect, backgroundColor_);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(clientRect);

    p.setPen(QPen(Qt::white, 1));
    p.drawPixmap(QRect(truncInt(2 * L.width() + 15), truncInt(T.height() * 0.5 - 10), 20, 20),
                 titleIcon);
    p.drawText(QRect(truncInt(2 * L.width() + 40), 0,
                     truncInt(W - 3 * CL.width() - 8 - L.width() - R.width()),
                     truncInt(T.height())),
               Qt::AlignVCenter | Qt::AlignLeft, shownTitle(skinnedWidget));
    p.end();
    skinnedWidget->setMask(framePixmap.mask());
}

void QSkinObject::updateButtons()
{
    if (!svgRenderer || skinPixmap.isNull())
        return;
    const QPoint cursor = skinnedWidget->mapFromGlobal(QCursor::pos());
    QPainter p(&skinPixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const auto paintButton = [&](const QString &name, const QRectF &rect) {
        QString look = QStringLiteral("_button_normal");
        if (rect.contains(cursor))
            look =
                buttonPressed ? QStringLiteral("_button_pressed") : QStringLiteral("_button_hover");
        svgRenderer->render(&p, name + look, rect);
    };
    paintButton(QStringLiteral("minimize"), minimizeRect());
    paintButton(QStringLiteral("maximize"), maximizeRect());
    paintButton(QStringLiteral("close"), closeRect());
}

QString QSkinObject::shownTitle(const QWidget *window)
{
    QString title = window->windowTitle();
    title.replace(QStringLiteral("[*]"),
                  window->isWindowModified() ? QStringLiteral("*") : QString());
    return title;
}

void QSkinObject::toggleSkinMaximized()
{
    if (skinMaximized_) {
        skinnedWidget->move(savedPos);
        skinnedWidget->resize(savedSize);
        skinMaximized_ = false;
        return;
    }
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    savedSize = skinnedWidget->size();
    savedPos = skinnedWidget->pos();
    const QRect avail = screen->availableGeometry();
    skinnedWidget->move(avail.topLeft());
    skinnedWidget->resize(avail.size());
    skinMaximized_ = true;
}

void QSkinObject::mousePressHook(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton)
        return;
    buttonPressed = true;
    e->accept();
    // Show the pressed look of the button under the pointer at once.
    if (!hoveredRegion.isEmpty())
        skinnedWidget->repaint(hoveredRegion);
}

void QSkinObject::mouseReleaseHook(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton)
        return;
    buttonPressed = false;
    // The pressed look goes at once, also when the press did nothing or the window
    // refused to close.
    if (!hoveredRegion.isEmpty())
        skinnedWidget->repaint(hoveredRegion);
    const double th = elementBounds(QStringLiteral("border_top")).height();
    const int k = truncInt(th - elementBounds(QStringLiteral("close_button_normal")).height() + 6);
    const QPoint pos = skinnedWidget->mapFromGlobal(e->globalPosition().toPoint());
    if (pos.x() >= skinnedWidget->width() - 5)
        return;
    if (!(6 < pos.y() && pos.y() < k + th)) {
        e->ignore();
        return;
    }
    if (closeRegion_.contains(pos)) {
        e->accept();
        skinnedWidget->close();
    } else if (maximizeRegion_.contains(pos)) {
        e->accept();
        toggleSkinMaximized();
    } else if (minimizeRegion_.contains(pos)) {
        e->accept();
        skinnedWidget->showMinimized();
    }
}

void QSkinObject::mouseMoveHook(QMouseEvent *e)
{
    const QPoint pos = skinnedWidget->mapFromGlobal(e->globalPosition().toPoint());
    QRegion now;
    for (const QRegion &r : {minimizeRegion_, maximizeRegion_, closeRegion_}) {
        if (r.contains(pos))
            now = r;
    }
    e->accept();
    // Press and release repaint the hovered button themselves.
    if (now == hoveredRegion)
        return;
    // The button left behind gets its normal look back as well.
    if (!hoveredRegion.isEmpty())
        skinnedWidget->repaint(hoveredRegion);
    hoveredRegion = now;
    if (!now.isEmpty())
        skinnedWidget->repaint(now);
}

bool QSkinObject::eventFilter(QObject *o, QEvent *e)
{
    if (o != skinnedWidget)
        return false;
    switch (e->type()) {
    case QEvent::MouseButtonRelease:
        mouseReleaseHook(static_cast<QMouseEvent *>(e));
        return false;
    case QEvent::MouseButtonDblClick: {
        auto *me = static_cast<QMouseEvent *>(e);
        if (me->button() != Qt::LeftButton)
            return false;
        const QPoint pos = skinnedWidget->mapFromGlobal(me->globalPosition().toPoint());
        if (pos.x() < skinnedWidget->width() &&
            pos.y() < elementBounds(QStringLiteral("border_top")).height()) {
            toggleSkinMaximized();
            me->accept();
        } else {
            me->ignore();
        }
        return false;
    }
    case QEvent::MouseMove:
        mouseMoveHook(static_cast<QMouseEvent *>(e));
        return false;
    case QEvent::Paint: {
        updateStyle();
        QPainter p(skinnedWidget);
        p.setRenderHint(QPainter::Antialiasing);
        p.drawPixmap(0, 0, skinPixmap);
        return false;
    }
    case QEvent::WindowTitleChange:
    case QEvent::ModifiedChange:
        // The title is part of the drawn frame.
        frameStale = true;
        skinnedWidget->update();
        return false;
    case QEvent::Resize:
        updateButtonRegions();
        e->ignore();
        return false;
    default:
        return false;
    }
}
