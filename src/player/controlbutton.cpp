#include "player/controlbutton.h"

#include "lesson/lessoncontroller.h"
#include "paths/apppaths.h"

#include <QActionGroup>
#include <QLinearGradient>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QToolButton>

#include <array>

namespace {

// Areas are laid out against one of these x anchors, so the commands spread out as the
// bar widens: c = W/6, m = W/2, r = 5W/6, and the right edge.
enum class Anchor
{
    Sixth,
    Half,
    FiveSixths,
    Right
};

// y ranges: the whole height, the height of the small button images, or the thin band
// around the volume track.
enum class Band
{
    Full,
    Buttons,
    Track
};

struct Span
{
    Anchor anchor;
    double from;
    double to;
    Band band;
    // The small nudge areas end just short of the next image.
    bool toIncluded = true;

    bool contains(QPointF p, double w, double h) const
    {
        double origin = w;
        switch (anchor) {
        case Anchor::Sixth:
            origin = w / 6.0;
            break;
        case Anchor::Half:
            origin = w * 0.5;
            break;
        case Anchor::FiveSixths:
            origin = w * 5.0 / 6.0;
            break;
        case Anchor::Right:
            break;
        }
        const double left = origin + from;
        const double right = origin + to;
        if (p.x() < left || (toIncluded ? p.x() > right : p.x() >= right))
            return false;
        switch (band) {
        case Band::Full:
            return p.y() >= 0 && p.y() <= h;
        case Band::Buttons:
            return p.y() >= 7 && p.y() <= h - 7;
        case Band::Track:
            return p.y() >= h / 2 - 3 && p.y() <= h / 2 + 3;
        }
        return false;
    }
};

enum class Action
{
    Command,
    Mute,
    Volume
};

struct Area
{
    Span press;
    Span hover;
    Action action;
    const char *toolTip;
    // the player command a press runs and whose keys the tooltip names, or -1
    int command = -1;
};

using enum Anchor;
using enum Band;

// In the order the handlers look at them: a press fires every area that contains it, so
// where stop and forward overlap both fire, stop first; the last area under the mouse
// names the tool tip.
constexpr std::array<Area, 16> areas{{
    {{Sixth, -30, -6, Buttons},
     {Sixth, -30, -6, Full},
     Action::Command,
     QT_TRANSLATE_NOOP("ControlButton", "play/pause"),
     PlayerKeys::PlayPause},
    {{Sixth, 0, 24, Buttons},
     {Sixth, 0, 24, Full},
     Action::Command,
     QT_TRANSLATE_NOOP("ControlButton", "stop"),
     PlayerKeys::Stop},
    {{Sixth, 20, 54, Buttons},
     {Sixth, 20, 54, Full},
     Action::Command,
     QT_TRANSLATE_NOOP("ControlButton", "forward"),
     PlayerKeys::SkipForward},
    {{Sixth, -60, -36, Buttons},
     {Sixth, -60, -36, Full},
     Action::Command,
     QT_TRANSLATE_NOOP("ControlButton", "backward"),
     PlayerKeys::SkipBack},
    {{Half, -76, -66, Buttons, false},
     {Half, -90, -66, Full, false},
     Action::Command,
     QT_TRANSLATE_NOOP("ControlButton", "sharp tune start left"),
     PlayerKeys::NudgeMarkInEarlier},
    {{Half, -60, -36, Full},
     {Half, -60, -36, Full},
     Action::Command,
     QT_TRANSLATE_NOOP("ControlButton", "set loop start"),
     PlayerKeys::MarkInHere},
    {{Half, -30, -6, Buttons},
     {Half, -30, -6, Full},
     Action::Command,
     QT_TRANSLATE_NOOP("ControlButton", "sharp tune start right"),
     PlayerKeys::NudgeMarkInLater},
    {{Half, 44, 54, Buttons},
     {Half, 30, 54, Full},
     Action::Command,
     QT_TRANSLATE_NOOP("ControlButton", "sharp tune end left"),
     PlayerKeys::NudgeMarkOutEarlier},
    {{Half, 60, 84, Full},
     {Half, 60, 84, Full},
     Action::Command,
     QT_TRANSLATE_NOOP("ControlButton", "set loop end"),
     PlayerKeys::MarkOutHere},
    {{Half, 90, 114, Buttons},
     {Half, 90, 114, Full},
     Action::Command,
     QT_TRANSLATE_NOOP("ControlButton", "sharp tune end right"),
     PlayerKeys::NudgeMarkOutLater},
    {{Half, 0, 24, Full},
     {Half, 0, 24, Full},
     Action::Command,
     QT_TRANSLATE_NOOP("ControlButton", "cancel loop"),
     PlayerKeys::CancelLoop},
    {{Half, -120, -96, Full},
     {Half, -120, -96, Full},
     Action::Command,
     QT_TRANSLATE_NOOP("ControlButton", "reset loop from begin to current start"),
     PlayerKeys::PreviousStretch},
    {{Half, 120, 144, Full},
     {Half, 120, 144, Full},
     Action::Command,
     QT_TRANSLATE_NOOP("ControlButton", "reset loop from current end to end"),
     PlayerKeys::NextStretch},
    {{FiveSixths, -30, -6, Full},
     {FiveSixths, -30, -6, Full},
     Action::Mute,
     QT_TRANSLATE_NOOP("ControlButton", "volume silent")},
    // The knob's half width beyond either end of the 50-pixel track.
    {{FiveSixths, -3, 53, Track},
     {FiveSixths, -3, 53, Track},
     Action::Volume,
     QT_TRANSLATE_NOOP("ControlButton", "volume control")},
    {{Right, -30, -6, Full},
     {Right, -30, -6, Full},
     Action::Command,
     QT_TRANSLATE_NOOP("ControlButton", "editor"),
     PlayerKeys::ShowEditor},
}};

constexpr const Area &volumeArea = areas[14];
static_assert(volumeArea.action == Action::Volume);

// The speed button fills the bar's left end, short of the backward button at W/6 - 60
// (x 40 on the narrowest bar of 600 pixels).
constexpr QRect speedButtonRect(2, 0, 36, 24);

QString speedText(double factor)
{
    return ControlButton::tr("%1x").arg(QString::number(factor, 'g', 3));
}

} // namespace

ControlButton::ControlButton(QWidget *parent)
    : QWidget(parent), playImage(AppPaths::skinImage(QStringLiteral("play.png"))),
      stopImage(AppPaths::skinImage(QStringLiteral("stop.png"))),
      forwardImage(AppPaths::skinImage(QStringLiteral("forward.png"))),
      backwardImage(AppPaths::skinImage(QStringLiteral("backward.png"))),
      leftNudgeImage(AppPaths::skinImage(QStringLiteral("weitiao01.png"))),
      rightNudgeImage(AppPaths::skinImage(QStringLiteral("weitiao02.png"))),
      loopStartImage(AppPaths::skinImage(QStringLiteral("start.png"))),
      loopEndImage(AppPaths::skinImage(QStringLiteral("end.png"))),
      cancelLoopImage(AppPaths::skinImage(QStringLiteral("repeat.png"))),
      nextSegmentImage(AppPaths::skinImage(QStringLiteral("xyd.png"))),
      previousSegmentImage(AppPaths::skinImage(QStringLiteral("syd.png"))),
      volumeImage(AppPaths::skinImage(QStringLiteral("voice.png"))),
      editorImage(AppPaths::skinImage(QStringLiteral("editor.png")))
{
    setAttribute(Qt::WA_TranslucentBackground);
    // Tool tips follow the mouse without a pressed button.
    setMouseTracking(true);
    setFixedHeight(24);

    speedButton = new QToolButton(this);
    speedButton->setObjectName(QStringLiteral("speedButton"));
    speedButton->setGeometry(speedButtonRect);
    speedButton->setFocusPolicy(Qt::NoFocus);
    speedButton->setPopupMode(QToolButton::InstantPopup);
    speedButton->setStyleSheet(QStringLiteral(
        "QToolButton { color: white; background: transparent; border: none; padding: 0;"
        " font: bold 11px; }"
        "QToolButton:hover { color: yellow; }"
        "QToolButton::menu-indicator { image: none; width: 0; }"));
    auto *menu = new QMenu(speedButton);
    speedActions = new QActionGroup(menu);
    for (const double step : LessonController::speedSteps) {
        QAction *action = menu->addAction(speedText(step));
        action->setCheckable(true);
        action->setData(step);
        speedActions->addAction(action);
        connect(action, &QAction::triggered, this, [this, step] { emit speedChosen(step); });
    }
    speedButton->setMenu(menu);
    showSpeed(1.0);
}

void ControlButton::playIcon(bool playing)
{
    playImage.load(playing ? AppPaths::skinImage(QStringLiteral("pause.png"))
                           : AppPaths::skinImage(QStringLiteral("play.png")));
    update();
}

void ControlButton::showSpeed(double factor)
{
    speedButton->setText(speedText(factor));
    for (QAction *action : speedActions->actions())
        action->setChecked(action->data().toDouble() == factor);
}

void ControlButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPointF p = event->position();
    for (const Area &area : areas) {
        if (!area.press.contains(p, width(), height()))
            continue;
        switch (area.action) {
        case Action::Command:
            update();
            emit commandChosen(PlayerKeys::Command(area.command));
            break;
        case Action::Mute:
            // The knob stays where it is, so the volume it shows is there to go back to.
            update();
            emit volumeChanged(0, 0);
            break;
        case Action::Volume:
            setVolumeAt(p.x());
            break;
        }
    }
}

void ControlButton::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    // over the gaps the tip of the last area visited stays
    const Area *tip = nullptr;
    for (const Area &area : areas) {
        if (area.hover.contains(p, width(), height()))
            tip = &area;
    }
    if (tip) {
        const QString keys = tip->command < 0 ? QString() : areaKeys[size_t(tip->command)];
        const QString text =
            keys.isEmpty() ? tr(tip->toolTip) : tr("%1 (%2)").arg(tr(tip->toolTip), keys);
        // setToolTip() announces a change even when the text stays the same
        if (text != toolTip())
            setToolTip(text);
    }

    if (event->buttons() == Qt::LeftButton && volumeArea.press.contains(p, width(), height()))
        setVolumeAt(p.x());
}

void ControlButton::paintEvent(QPaintEvent *)
{
    // Always the whole bar: the positions depend on the full width, not on the part
    // that needs repainting.
    const int w = width();
    const int h = height();
    const int c = w / 6;
    const int m = w / 2;
    const int r = w * 5 / 6;

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient background(0, 0, 0, h);
    background.setColorAt(0, QColor(8, 56, 81));
    background.setColorAt(1, QColor(17, 117, 169));
    background.setSpread(QGradient::ReflectSpread);
    painter.fillRect(QRect(QPoint(0, 0), QPoint(w - 1, h - 1)), background);

    painter.drawPixmap(c - 30, 7, playImage);
    painter.drawPixmap(c, 7, stopImage);
    painter.drawPixmap(c + 30, 7, forwardImage);
    painter.drawPixmap(c - 60, 7, backwardImage);
    painter.drawPixmap(m + 44, 7, leftNudgeImage);
    painter.drawPixmap(m + 60, 0, loopEndImage);
    painter.drawPixmap(m + 90, 7, rightNudgeImage);
    painter.drawPixmap(m - 76, 7, leftNudgeImage);
    painter.drawPixmap(m - 60, 0, loopStartImage);
    painter.drawPixmap(m - 30, 7, rightNudgeImage);
    painter.drawPixmap(m, 0, cancelLoopImage);
    painter.drawPixmap(m + 120, 0, nextSegmentImage);
    painter.drawPixmap(m - 120, 0, previousSegmentImage);
    painter.drawPixmap(r - 30, 0, volumeImage);

    painter.setPen(QPen(Qt::gray, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(r, h / 2, r + 50, h / 2);
    // A round-capped pen turns a single point into a dot of the pen's width.
    painter.setPen(QPen(Qt::yellow, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPoint(static_cast<int>(volumePos), h / 2);

    painter.drawPixmap(w - 30, 0, editorImage);
}

void ControlButton::resizeEvent(QResizeEvent *event)
{
    const int trackLeft = event->size().width() * 5 / 6;
    volumePos += trackLeft - volumeTrackLeft;
    volumeTrackLeft = trackLeft;
    update();
}

void ControlButton::setVolumeAt(double x)
{
    volumePos = x;
    update();
    const double volume = (x - width() * 5.0 / 6.0) / 56.0;
    emit volumeChanged(volume, volume);
}

void ControlButton::showCommandKeys(const PlayerKeys &keys)
{
    for (int c = 0; c < PlayerKeys::commandCount; ++c) {
        QStringList names;
        for (const QKeySequence &key : keys.assigned(PlayerKeys::Command(c)))
            names += key.toString(QKeySequence::NativeText);
        areaKeys[size_t(c)] = names.join(QStringLiteral(", "));
    }
}

void ControlButton::showSpeedKeys(const QString &slower, const QString &faster,
                                  const QString &normal)
{
    speedButton->setToolTip(
        tr("speed: %1 slower, %2 faster, %3 back to 1x").arg(slower, faster, normal));
}
