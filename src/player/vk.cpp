#include "player/vk.h"

#include "editor/textedit.h"
#include "media/iaudio.h"
#include "media/media.h"
#include "paths/apppaths.h"
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

#include <algorithm>
#include <utility>

const char Vk::homePage[] = "https://vorlyn.org/player";

namespace {

QDir &lastMediaPath()
{
    static QDir dir = QDir::home();
    return dir;
}

// The converter's scaling, with and without textures of any size (without, pictures are
// scaled to powers of two, where speed matters more).
constexpr int scaleForAnySize = SWS_BICUBIC;
constexpr int scaleForPowerOfTwo = SWS_FAST_BILINEAR;

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
    timingTimer->stop();
    glWidget->setVideo(nullptr);
    takeMedia().reset();
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
    trayIcon->setIcon(QIcon(AppPaths::skinImage(QStringLiteral("vorlynplayer.png"))));
    trayIcon->setToolTip(tr("Vorlyn Player"));
    trayIcon->setVisible(true);
    connect(trayIcon, &QSystemTrayIcon::activated, this, &Vk::iconActivated);
}

double Vk::frac(int64_t x) const
{
    // a file whose length is unknown has no place on the slider
    if (!media->hasKnownLength())
        return 0.0;
    const double s = double(media->startTime());
    const double d = double(media->endTime());
    return std::clamp((double(x) - s) / (d - s), 0.0, 1.0);
}

int64_t Vk::positionAt(double f) const
{
    const int64_t s = media->startTime();
    if (!media->hasKnownLength())
        return s;
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

std::unique_ptr<Media> Vk::takeMedia()
{
    std::unique_ptr<Media> old = std::exchange(media, nullptr);
    timingTimer->stop();
    glWidget->setVideo(nullptr);
    if (old)
        old->disconnect(this);
    return old;
}

void Vk::showIdle()
{
    seekSlider->resetMark();
    seekSlider->setValue(0);
    seekSlider->setEnabled(false);
    seekSlider->setToolTip(QString());
    screenWidget->showIdle();
    screenWidget->show();
    glWidget->hide();
    positionLabel->setText(QStringLiteral("00:00:00"));
    durationLabel->setText(QStringLiteral("00:00:00"));
    positionLabel->hide();
    durationLabel->hide();
    controlWidget->update();
    emit isPlay(false);
}

void Vk::openMedia(const QString &name)
{
    // The lesson playing until now stops first and goes last: a new one of the same sound
    // format takes its sink over instead of closing and opening one.
    std::unique_ptr<Media> old = takeMedia();
    if (old)
        old->stop();

    const bool npot =
        GLRenderWidget::hasGLExtension(QStringLiteral("GL_EXT_texture_non_power_of_two")) ||
        GLRenderWidget::hasGLExtension(QStringLiteral("GL_ARB_texture_non_power_of_two"));
    // The view turns the decoder's YUV planes into RGB as it draws them where it can;
    // elsewhere the engine converts every picture to RGB.
    const int ringPixelFormat =
        GLRenderWidget::showsYuvPictures() ? AV_PIX_FMT_YUV420P : AV_PIX_FMT_RGB24;
    auto next = std::make_unique<Media>(nullptr, !npot, npot ? scaleForAnySize : scaleForPowerOfTwo,
                                        ringPixelFormat, 0, 0);
    // A file that cannot be played says why, instead of leaving a black screen.
    connect(next.get(), &Media::error, this,
            [this](const QString &msg) { QMessageBox::warning(this, tr("Vorlyn Player"), msg); });
    if (!next->open(name)) {
        // the learner's document stays as it is: no transcript for a file that did not open
        showIdle();
        return;
    }
    // a click or key that arrived while the old lesson's sound closed may have opened
    // another lesson meanwhile: the file asked for last wins
    std::unique_ptr<Media> superseded = std::exchange(media, std::move(next));

    connect(media.get(), &Media::running, this, &Vk::updateRefreshTimerState);
    connect(media.get(), &Media::paused, this, &Vk::updateRefreshTimerState);
    connect(media.get(), &Media::markingChanged, this, &Vk::showMarks);
    seekSlider->resetMark();
    seekSlider->setValue(0);
    const bool known = media->hasKnownLength();
    seekSlider->setEnabled(known);
    seekSlider->setToolTip(known ? QString() : tr("The length of this file is unknown."));
    if (media->hasVideo()) {
        glWidget->setVideo(media.get());
        screenWidget->hide();
        glWidget->show();
    } else {
        // a lesson without pictures shows its cover, or its name, never an old picture
        screenWidget->showLesson(QFileInfo(name).completeBaseName(), media->coverArt());
        screenWidget->show();
        glWidget->hide();
    }
    emit isPlay(true);
    emit setDirPath(name);

    media->start();
    durationLabel->setText(known ? media->timeText(media->duration()) : QStringLiteral("--:--:--"));
    durationLabel->show();
    positionLabel->setText(media->timeText(media->startTime()));
    positionLabel->show();
    controlWidget->update();
    superseded.reset();
    old.reset(); // may run the event loop while its sound closes
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
        if (in > t)
            media->setMarkInAt(t);
        if (out < t)
            media->setMarkOutAt(t);
    }
}

void Vk::on_actionMarkInSeek()
{
    // the position already counts from the stream's own zero, start time included
    if (media)
        media->setMarkInAt(media->position());
}

void Vk::on_actionMarkOutSeek()
{
    if (media)
        media->setMarkOutAt(media->position());
}

void Vk::on_actionMarkReset()
{
    if (!media)
        return;
    media->resetMarkIn();
    media->resetMarkOut();
}

void Vk::on_actionMarkInReset()
{
    if (!media || media->markIn() == media->startTime())
        return; // the loop already starts at the beginning
    // the stretch before the loop becomes the loop
    const int64_t in = media->markIn();
    media->resetMarkIn();
    media->setMarkOutAt(in);
}

void Vk::on_actionMarkOutReset()
{
    if (!media || media->markOut() == media->endTime())
        return;
    // the stretch after the loop becomes the loop
    const int64_t out = media->markOut();
    media->seek(out);
    media->resetMarkOut();
    media->setMarkInAt(out);
}

void Vk::showMarks()
{
    if (!media)
        return;
    // the engine clamps the marks: the flags show where they are, not where they were asked
    seekSlider->setMarkInFlag(frac(media->markIn()));
    seekSlider->setMarkOutFlag(frac(media->markOut()));
}

void Vk::nudgeMarkIn(int64_t delta)
{
    if (media)
        media->setMarkInAt(media->markIn() + delta);
}

void Vk::nudgeMarkOut(int64_t delta)
{
    // a loop end the learner never set lies nowhere: there is nothing to nudge
    if (media && media->markOut() != Media::unknownEnd)
        media->setMarkOutAt(media->markOut() + delta);
}

void Vk::on_actionMarkInSharpL()
{
    if (media)
        nudgeMarkIn(-media->ticksFromSeconds(markNudgeSeconds));
}

void Vk::on_actionMarkInSharpR()
{
    if (media)
        nudgeMarkIn(media->ticksFromSeconds(markNudgeSeconds));
}

void Vk::on_actionMarkOutSharpL()
{
    if (media)
        nudgeMarkOut(-media->ticksFromSeconds(markNudgeSeconds));
}

void Vk::on_actionMarkOutSharpR()
{
    if (media)
        nudgeMarkOut(media->ticksFromSeconds(markNudgeSeconds));
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
    std::unique_ptr<Media> old = takeMedia();
    if (old)
        old->stop();
    showIdle();
    old.reset(); // may run the event loop while its sound closes
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
    disconnect(media.get(), &Media::frameReady, this, &Vk::pauseAfterFrame);
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
    case Qt::Key_Escape:
        if (fullScreenAction->isChecked())
            fullScreenAction->setChecked(false);
        break;
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
