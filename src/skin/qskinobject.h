#pragma once

#include <QColor>
#include <QFont>
#include <QObject>
#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QRegion>

class QMouseEvent;
class QSkinWidgetResizeHandler;
class QSvgRenderer;
class QWidget;

// Replaces the system frame of one top-level window with a frame drawn from an SVG template,
// with title, icon, mask, opacity and three title-bar buttons. Owns its renderer; the window
// owns the skin object and its resize handler. GUI thread only.
class QSkinObject final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QSkinObject)

public:
    explicit QSkinObject(QWidget *window);
    ~QSkinObject() override;

    bool eventFilter(QObject *o, QEvent *e) override;

    // Hooks of the resize handler, which sees the window's mouse events first.
    void mousePressHook(QMouseEvent *e);
    void mouseReleaseHook(QMouseEvent *e);
    void mouseMoveHook(QMouseEvent *e);

    bool skinMaximized() const { return skinMaximized_; }
    int borderLeftWidth() const;
    QRegion closeRegion() const { return closeRegion_; }
    QRegion maximizeRegion() const { return maximizeRegion_; }
    QRegion minimizeRegion() const { return minimizeRegion_; }
    QColor backgroundColor() const { return backgroundColor_; }
    QColor titleColor() const { return titleColor_; }
    QFont titleFont() const { return titleFont_; }
    QString skinPath() const { return skinPath_; }
    double alpha() const { return alpha_; }
    QSkinWidgetResizeHandler *resizeHandler() const;

    void toggleSkinMaximized();

    // The title as a window system shows it: the "[*]" placeholder becomes "*" while the
    // window is modified and disappears otherwise.
    static QString shownTitle(const QWidget *window);

public slots:
    void updateStyle();
    void updateButtons();
    void startSkinning();
    void stopSkinning();
    void setAlphaValue(double a);

private:
    void loadSkinSettings();
    void updateButtonRegions();
    void renderFrame();
    QRectF elementBounds(const QString &id) const;
    QRectF minimizeRect() const;
    QRectF maximizeRect() const;
    QRectF closeRect() const;

    QPixmap skinPixmap;
    // The frame without its buttons, with title, icon and mask. Rendered again only when
    // stale or when the window's size differs; each paint starts from a copy of it.
    QPixmap framePixmap;
    bool frameStale = true;
    QPixmap titleIcon;
    QString skinPath_;
    QFont titleFont_;
    QColor titleColor_;
    QColor backgroundColor_;
    QRegion closeRegion_;
    QRegion maximizeRegion_;
    QRegion minimizeRegion_;
    QRect clientRect;
    // Child of the window; a fresh one per startSkinning().
    // A child of the window, so guarded: it may go first when the window is destroyed.
    QPointer<QSkinWidgetResizeHandler> resizeHandler_;
    bool buttonPressed = false;
    QWidget *skinnedWidget;
    QSize savedSize;
    QPoint savedPos;
    bool skinMaximized_ = false;
    double alpha_ = 1.0;
    QSvgRenderer *svgRenderer = nullptr;
    // The button region whose hover look is on screen, so it can be repainted when left.
    QRegion hoveredRegion;
};
