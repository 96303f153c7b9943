#include "player/vk.h"

#include "editor/textedit.h"
#include "media/iaudio.h"
#include "media/media.h"
#include "player/controlbutton.h"
#include "player/controlwidget.h"
#include "player/glrenderwidget.h"
#include "player/screenwidget.h"
#include "player/seekslider.h"
#include "skin/qskinobject.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QUrl>

const char Vk::homePage[] = "https://vorlyn.org/player";

namespace {

QDir &lastMediaPath()
{
    static QDir dir = QDir::home();
    return dir;
}

constexpr int64_t sharpTuneStep = 100; // ticks of the reference stream's time base

} // namespace

Vk::Vk(QWidget *parent) : QMainWindow(parent)
{
    QPalette pal = palette();
    pal.setBrush(QPalette::Window, QBrush(Qt::black));
    pal.setBrush(QPalette::WindowText, QBrush(Qt::white));
    setPalette(pal);
    resize(640, 480);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->availableGeometry();
        move(desktop.x() + desktop.width() / 2 - width() / 2,
             desktop.y() + desktop.height() / 2 - height() / 2);
    }

    createCentralWidgets();

    editor = std::make_unique<TextEdit>();
    editor->resize(610, 400);
    connect(this, &Vk::setDirPath, editor.get(), &TextEdit::fileSaveDefault);
    connect(editor.get(), &TextEdit::keyDelegate, this, &Vk::keyDelegateTrigger);
    connect(qApp, &QCoreApplication::aboutToQuit, editor.get(), &TextEdit::saveBeforeQuit);

    timingTimer = new QTimer(this);
    timingTimer->setInterval(250);
    connect(timingTimer, &QTimer::timeout, this, &Vk::refreshTiming);

    createActions();
    setWindowTitle(tr("Vorlyn Player"));
    createTrayActions();
    createTrayIcon();
    skin = new QSkinObject(this);
    skin->startSkinning();
}

Vk::~Vk()
{
    delete timingTimer;
    delete glWidget;
    glWidget = nullptr;
    delete media;
    media = nullptr;
    delete trayMenu;
}

void Vk::createCentralWidgets()
{
    central = new QWidget(this);
    auto *grid = new QGridLayout(central);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    setCentralWidget(central);

    glWidget = new GLRenderWidget(central);
    glWidget->hide();
    screenWidget = new QScreenWidget(central);
    connect(screenWidget, &QScreenWidget::click, this, &Vk::on_actionOpen_activated);
    connect(screenWidget, &QScreenWidget::doubleClick, this, &Vk::on_actionOpen_activated);
    grid->addWidget(glWidget, 0, 0);
    grid->addWidget(screenWidget, 0, 0);

    controlWidget = new ControlWidget(central);
    grid->addWidget(controlWidget, 1, 0, 1, -1);
    auto *panel = new QGridLayout(controlWidget);
    panel->setContentsMargins(5, 8, 5, 5);

    positionLabel = new QLabel(controlWidget);
    positionLabel->setObjectName(QStringLiteral("positionLabel"));
    panel->addWidget(positionLabel, 0, 0, -1, 1, Qt::AlignLeft | Qt::AlignTop);
    seekSlider = new QSeekSlider(controlWidget);
    seekSlider->setEnabled(false);
    connect(seekSlider, &QSeekSlider::valueChanged, this, &Vk::on_actionSeek);
    panel->addWidget(seekSlider, 0, 1, -1, 20, Qt::AlignTop);
    durationLabel = new QLabel(controlWidget);
    durationLabel->setObjectName(QStringLiteral("durationLabel"));
    panel->addWidget(durationLabel, 0, 21, -1, 1, Qt::AlignRight | Qt::AlignTop);
    controlButton = new ControlButton(controlWidget);
    panel->addWidget(controlButton, 1, 0, 1, -1, Qt::AlignTop);

    connect(controlButton, &ControlButton::playPause, this, &Vk::on_actionPlayPause);
    connect(controlButton, &ControlButton::setMarkInSignal, this, &Vk::on_actionMarkInSeek);
    connect(controlButton, &ControlButton::setMarkOut, this, &Vk::on_actionMarkOutSeek);
    connect(controlButton, &ControlButton::stop, this, &Vk::on_actionStop);
    connect(controlButton, &ControlButton::forward, this, &Vk::on_actionForward);
    connect(controlButton, &ControlButton::backward, this, &Vk::on_actionBackward);
    connect(controlButton, &ControlButton::resetMark, this, &Vk::on_actionMarkReset);
    connect(controlButton, &ControlButton::volumeChanged, this, &Vk::on_actionVolume);
    connect(controlButton, &ControlButton::resetMarkIn, this, &Vk::on_actionMarkInReset);
    connect(controlButton, &ControlButton::resetMarkOut, this, &Vk::on_actionMarkOutReset);
    connect(controlButton, &ControlButton::startSharpL, this, &Vk::on_actionMarkInSharpL);
    connect(controlButton, &ControlButton::startSharpR, this, &Vk::on_actionMarkInSharpR);
    connect(controlButton, &ControlButton::endSharpL, this, &Vk::on_actionMarkOutSharpL);
    connect(controlButton, &ControlButton::endSharpR, this, &Vk::on_actionMarkOutSharpR);
    connect(this, &Vk::isPlay, controlButton, &ControlButton::playIcon);
    connect(controlButton, &ControlButton::controlEditor, this, &Vk::on_actionEidtor);
}

void Vk::createActions()
{
    openAction = new QAction(tr("Open"), this);
    connect(openAction, &QAction::triggered, this, &Vk::on_actionOpen_activated);

    fullScreenAction = new QAction(tr("Full Screen"), this);
    fullScreenAction->setCheckable(true);
    fullScreenAction->setChecked(false);
    connect(fullScreenAction, &QAction::toggled, this, &Vk::on_actionFullscreen_toggled);
    connect(glWidget, &GLRenderWidget::windowClosed, fullScreenAction, &QAction::toggle);

    keepAspectAction = new QAction(tr("Keep Aspect Ratio"), this);
    keepAspectAction->setCheckable(true);
    keepAspectAction->setChecked(true);
    connect(keepAspectAction, &QAction::toggled, glWidget, &GLRenderWidget::setVideoAspectRatio);

    helpAction = new QAction(tr("Help"), this);
    connect(helpAction, &QAction::triggered, this, &Vk::loadHelp);

    quitAction = new QAction(tr("Quit"), this);
    connect(quitAction, &QAction::triggered, this, &Vk::close);
}

void Vk::createTrayActions()
{
    minimizeAction = new QAction(tr("Mi&nimize"), this);
    connect(minimizeAction, &QAction::triggered, this, &Vk::hide);
    restoreAction = new QAction(tr("&Restore"), this);
    connect(restoreAction, &QAction::triggered, this, &Vk::showNormal);
    trayQuitAction = new QAction(tr("&Quit"), this);
    connect(trayQuitAction, &QAction::triggered, qApp, &QCoreApplication::quit);
}

void Vk::createTrayIcon()
{
    trayMenu = new QMenu;
    trayMenu->addAction(minimizeAction);
    trayMenu->addAction(restoreAction);
    trayMenu->addSeparator();
    trayMenu->addAction(trayQuitAction);
    trayIcon = new QSystemTrayIcon(this);
    trayIcon->setContextMenu(trayMenu);
    trayIcon->setIcon(QIcon(QStringLiteral("./skin/default/images/vorlynplayer.png")));
    trayIcon->setToolTip(tr("Vorlyn Player"));
    trayIcon->setVisible(true);
    connect(trayIcon, &QSystemTrayIcon::activated, this, &Vk::iconActivated);
}

double Vk::frac(int64_t x) const
{
    const double s = double(media->startTime());
    const double d = double(media->endTime());
    // a file whose length is unknown has no place on the slider
    return d > s ? (double(x) - s) / (d - s) : 0.0;
}

int64_t Vk::positionAt(double f) const
{
    const int64_t s = media->startTime();
    return s + int64_t(double(media->endTime() - s) * f);
}

QString Vk::chooseMediaFile()
{
    const QString name = QFileDialog::getOpenFileName(
        this, tr("Open File"), lastMediaPath().absolutePath(),
        tr("Media (*.mov *.avi *.wmv *.mpeg *.mp4 *.mpg *.vob *.swf *.flv *.rmvb *.rm *.mp3 *.mkv "
           "*.wma *.wmv)"));
    lastMediaPath().setPath(name);
    return name;
}

void Vk::on_actionOpen_activated()
{
    const QString name = chooseMediaFile();
    if (!name.isEmpty() && QFileInfo(name).isFile())
        openMedia(name);
}

void Vk::openMedia(const QString &name)
{
    delete media;
    media = nullptr;
    const bool npot =
        GLRenderWidget::hasGLExtension(QStringLiteral("GL_EXT_texture_non_power_of_two")) ||
        GLRenderWidget::hasGLExtension(QStringLiteral("GL_ARB_texture_non_power_of_two"));
    media = npot ? new Media(this, false, 16, 2, 0, 0) : new Media(this, true, 1, 2, 0, 0);

    glWidget->setVideo(nullptr);
    glWidget->setVideo(media);
    connect(media, &Media::running, this, &Vk::updateRefreshTimerState);
    connect(media, &Media::paused, this, &Vk::updateRefreshTimerState);
    // A file that cannot be played says why, instead of leaving a black screen.
    connect(media, &Media::error, this,
            [this](const QString &msg) { QMessageBox::warning(this, tr("Vorlyn Player"), msg); });
    seekSlider->resetMark();
    seekSlider->setEnabled(true);
    screenWidget->hide();
    glWidget->show();
    emit isPlay(true);
    emit setDirPath(name);

    media->open(name, 0, 0);
    media->start();
    durationLabel->setText(media->timeText(media->duration()));
    durationLabel->show();
    positionLabel->show();
    controlWidget->update();
}

void Vk::on_actionFullscreen_toggled(bool on)
{
    // A skinned window loses its skin in full screen and gets it back afterwards.
    if (on) {
        skin->stopSkinning();
        showFullScreen();
    } else {
        showNormal();
        skin->startSkinning();
    }
}

void Vk::on_actionSeek(double f)
{
    if (!media)
        return;
    seekPending = true;
    const int64_t t = positionAt(f);
    const int64_t s = media->startTime();
    const int64_t d = media->endTime();
    const int64_t in = media->markIn();
    const int64_t out = media->markOut();
    if (in < s || out > d) {
        media->seek(t);
    } else {
        if (in < t && t < out)
            media->seek(t);
        if (in > t) {
            media->setMarkInAt(t);
            seekSlider->setMarkInFlag(f);
        }
        if (out < t) {
            media->setMarkOutAt(t);
            seekSlider->setMarkOutFlag(f);
        }
    }
}

void Vk::on_actionMarkInSeek()
{
    if (!media)
        return;
    // the position already counts from the stream's own zero, start time included
    const int64_t p = media->position();
    seekSlider->setMarkInFlag(frac(p));
    media->setMarkInAt(p);
}

void Vk::on_actionMarkOutSeek()
{
    if (!media)
        return;
    const int64_t p = media->position();
    seekSlider->setMarkOutFlag(frac(p));
    media->setMarkOutAt(p);
}

void Vk::on_actionMarkReset()
{
    if (!media)
        return;
    media->resetMarkIn();
    media->resetMarkOut();
    seekSlider->resetMark();
}

void Vk::on_actionMarkInReset()
{
    if (!media || media->markIn() == media->startTime())
        return; // the loop already starts at the beginning
    const double f = frac(media->markIn());
    media->resetMarkIn();
    media->setMarkOutAt(positionAt(f));
    seekSlider->setMarkInFlag(0);
    seekSlider->setMarkOutFlag(f);
}

void Vk::on_actionMarkOutReset()
{
    if (!media || media->markOut() == media->endTime())
        return;
    const double f = frac(media->markOut());
    media->seek(positionAt(f));
    media->resetMarkOut();
    media->setMarkInAt(positionAt(f));
    seekSlider->setMarkOutFlag(1);
    seekSlider->setMarkInFlag(f);
}

void Vk::nudgeMarkIn(int64_t delta)
{
    if (!media)
        return;
    const int64_t in = media->markIn() + delta;
    media->setMarkInAt(in);
    seekSlider->setMarkInFlag(frac(in));
}

void Vk::nudgeMarkOut(int64_t delta)
{
    if (!media)
        return;
    const int64_t out = media->markOut() + delta;
    media->setMarkOutAt(out);
    seekSlider->setMarkOutFlag(frac(out));
}

void Vk::on_actionMarkInSharpL()
{
    nudgeMarkIn(-sharpTuneStep);
}

void Vk::on_actionMarkInSharpR()
{
    nudgeMarkIn(sharpTuneStep);
}

void Vk::on_actionMarkOutSharpL()
{
    nudgeMarkOut(-sharpTuneStep);
}

void Vk::on_actionMarkOutSharpR()
{
    nudgeMarkOut(sharpTuneStep);
}

void Vk::on_actionPlayPause()
{
    if (!media)
        return;
    if (media->isStopped()) {
        media->play(true);
        emit isPlay(true);
    } else {
        media->play(false);
        emit isPlay(false);
    }
}

void Vk::on_actionStop()
{
    if (media) {
        media->stop();
        delete media;
        media = nullptr;
        seekSlider->resetMark();
        seekSlider->setValue(0);
        screenWidget->show();
        positionLabel->setText(QStringLiteral("00:00:00"));
        durationLabel->setText(QStringLiteral("00:00:00"));
        positionLabel->hide();
        durationLabel->hide();
        controlWidget->update();
    }
    glWidget->setVideo(nullptr);
    emit isPlay(false);
}

void Vk::on_actionForward()
{
    if (media)
        media->seekBySeconds(30.0);
}

void Vk::on_actionBackward()
{
    if (media)
        media->seekBySeconds(-30.0);
}

void Vk::on_actionVolume(double left, double right)
{
    IAudio::instance()->setVolume(left, right);
}

void Vk::on_actionEidtor()
{
    if (editor->isHidden())
        editor->show();
    else
        editor->hide();
}

void Vk::refreshTiming()
{
    if (seekPending) {
        seekPending = false;
        return;
    }
    if (!media)
        return;
    const int64_t p = media->position();
    seekSlider->setValue(frac(p));
    positionLabel->setText(media->timeText(p));
    controlWidget->update();
}

void Vk::pauseAfterFrame()
{
    if (!media)
        return;
    media->pause(false);
    disconnect(media, &Media::frameReady, this, &Vk::pauseAfterFrame);
}

void Vk::updateRefreshTimerState()
{
    if (media && !media->isPaused() && !media->isStopped())
        timingTimer->start();
    else
        timingTimer->stop();
}

void Vk::stopPlayback()
{
    if (media) {
        media->play(false);
        emit isPlay(false);
    }
}

void Vk::iconActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason != QSystemTrayIcon::Trigger)
        return;
    if (isHidden()) {
        showNormal();
        return;
    }
    stopPlayback();
    hide();
}

void Vk::loadHelp()
{
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(homePage)));
}

void Vk::keyDelegateTrigger(int key)
{
    switch (key) {
    case Qt::Key_F1:
        on_actionMarkInSharpL();
        break;
    case Qt::Key_F2:
        on_actionMarkInSharpR();
        break;
    case Qt::Key_F3:
        on_actionMarkOutSharpL();
        break;
    case Qt::Key_F4:
        on_actionMarkOutSharpR();
        break;
    case Qt::Key_F5:
        on_actionPlayPause();
        break;
    default:
        break;
    }
}

void Vk::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() != Qt::NoModifier)
        return;
    switch (event->key()) {
    case Qt::Key_Space:
        on_actionPlayPause();
        break;
    case Qt::Key_Left:
        on_actionBackward();
        break;
    case Qt::Key_Right:
        on_actionForward();
        break;
    case Qt::Key_F1:
    case Qt::Key_F2:
    case Qt::Key_F3:
    case Qt::Key_F4:
    case Qt::Key_F5:
        // the same commands the editor forwards
        keyDelegateTrigger(event->key());
        break;
    case Qt::Key_F6:
        on_actionMarkInReset();
        break;
    case Qt::Key_F7:
        on_actionMarkInSeek();
        break;
    case Qt::Key_F8:
        on_actionMarkOutSeek();
        break;
    case Qt::Key_F9:
        on_actionMarkOutReset();
        break;
    default:
        break;
    }
}

void Vk::closeEvent(QCloseEvent *event)
{
    stopPlayback();
    event->accept();
    // Without a system tray the hidden window could never be brought back, and the
    // running process would keep the next start from opening a window at all.
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void Vk::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu;
    menu.addAction(openAction);
    menu.addSeparator();
    menu.addAction(fullScreenAction);
    menu.addSeparator();
    menu.addAction(keepAspectAction);
    menu.addSeparator();
    menu.addAction(helpAction);
    menu.addSeparator();
    menu.addAction(quitAction);
    menu.exec(event->globalPos());
}
