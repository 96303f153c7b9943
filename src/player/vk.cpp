#include "player/vk.h"

#include "editor/droppedfiles.h"
#include "editor/textedit.h"
#include "lesson/drill.h"
#include "lesson/lessoncontroller.h"
#include "media/ffmpeg.h"
#include "paths/apppaths.h"
#include "player/controlbutton.h"
#include "player/controlwidget.h"
#include "player/drillbar.h"
#include "player/drillsettingsdialog.h"
#include "player/filekind.h"
#include "player/glrenderwidget.h"
#include "player/helpwindow.h"
#include "player/interfacelanguage.h"
#include "player/keylistdialog.h"
#include "player/lessonsummary.h"
#include "player/playersettings.h"
#include "player/preferences.h"
#include "player/preferencesdialog.h"
#include "player/recentlessons.h"
#include "player/screenwidget.h"
#include "player/seekslider.h"
#include "player/sentencelist.h"
#include "player/waveformstrip.h"
#include "player/windowplacement.h"
#include "skin/qskinobject.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QTimer>

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

// What the picture view can show: pictures of any size or of power-of-two sizes only, and
// the decoder's YUV planes (turned into RGB as they are drawn) or RGB only.
LessonController::PictureFormat pictureFormat()
{
    const bool npot =
        GLRenderWidget::hasGLExtension(QStringLiteral("GL_EXT_texture_non_power_of_two")) ||
        GLRenderWidget::hasGLExtension(QStringLiteral("GL_ARB_texture_non_power_of_two"));
    LessonController::PictureFormat format;
    format.powerOfTwo = !npot;
    format.scaleFlags = npot ? scaleForAnySize : scaleForPowerOfTwo;
    format.pixelFormat = GLRenderWidget::showsYuvPictures() ? AV_PIX_FMT_YUV420P : AV_PIX_FMT_RGB24;
    return format;
}

// Where the windows were last, in the player's settings (the learner's configuration folder).
const QString playerPlaceKey = QStringLiteral("windows/player");
const QString editorPlaceKey = QStringLiteral("windows/editor");

} // namespace

Vk::Vk(QWidget *parent) : QMainWindow(parent)
{
    QPalette pal = palette();
    pal.setBrush(QPalette::Window, QBrush(Qt::black));
    pal.setBrush(QPalette::WindowText, QBrush(Qt::white));
    setPalette(pal);
    resize(640, 480);
    const QRect remembered = playerSettings().value(playerPlaceKey).toRect();
    if (remembered.isValid()) {
        setGeometry(placement::onScreen(remembered));
    } else if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->availableGeometry();
        move(desktop.x() + desktop.width() / 2 - width() / 2,
             desktop.y() + desktop.height() / 2 - height() / 2);
    }
    setAcceptDrops(true);

    lesson_ = std::make_unique<LessonController>();
    lesson_->setPictureFormat(pictureFormat());
    createCentralWidgets();

    LessonController *l = lesson_.get();
    connect(l, &LessonController::lessonClosing, glWidget, [this] { glWidget->setVideo(nullptr); });
    connect(l, &LessonController::lessonOpened, this, &Vk::showLesson);
    connect(l, &LessonController::lessonOpened, this, &RecentLessonsMenu::add);
    connect(l, &LessonController::lessonClosed, this, &Vk::showIdle);
    connect(l, &LessonController::playingChanged, this, &Vk::isPlay);
    connect(l, &LessonController::positionChanged, this, &Vk::showPosition);
    connect(l, &LessonController::marksChanged, this, &Vk::showMarks);
    connect(l, &LessonController::waveformChanged, this, &Vk::showWaveform);
    connect(l, &LessonController::sentencesChanged, this, &Vk::showSentenceList);
    connect(l, &LessonController::analysisProgress, this, &Vk::showSentenceList);
    connect(l, &LessonController::error, this,
            [this](const QString &msg) { QMessageBox::warning(this, tr("Vorlyn Player"), msg); });
    connect(l, &LessonController::notice, this,
            [this](const QString &message) { showNotice(message, QMessageBox::Warning); });

    editor = std::make_unique<TextEdit>();
    editor->resize(610, 400);
    const QRect editorPlace = playerSettings().value(editorPlaceKey).toRect();
    if (editorPlace.isValid()) {
        editor->setGeometry(placement::onScreen(editorPlace));
        editorPlaced = true;
    }
    connect(this, &Vk::setDirPath, editor.get(), &TextEdit::fileSaveDefault);
    connect(editor.get(), &TextEdit::filesDropped, this, &Vk::openFiles);
    connect(editor.get(), &TextEdit::keyDelegate, this, &Vk::keyDelegateTrigger);
    connect(qApp, &QCoreApplication::aboutToQuit, editor.get(), &TextEdit::saveBeforeQuit);
    connect(qApp, &QCoreApplication::aboutToQuit, this, &Vk::rememberPlacement);
    placementSaver = new QTimer(this);
    placementSaver->setSingleShot(true);
    placementSaver->setInterval(1000);
    connect(placementSaver, &QTimer::timeout, this, &Vk::rememberPlacement);
    editor->installEventFilter(this);

    createActions();
    nudgeSeconds = Preferences::loadNudgeSeconds();
    lesson_->setDrillDefaults(Preferences::loadDrillDefaults());
    keys = PlayerKeys::load();
    applyKeys();
    setWindowTitle(tr("Vorlyn Player"));
    createTrayActions();
    createTrayIcon();
    skin = new QSkinObject(this);
    skin->startSkinning();
}

Vk::~Vk()
{
    // the lesson goes before the view that shows it, and after the views that read it
    lesson_->disconnect(this);
    editor->removeEventFilter(this);
    glWidget->setVideo(nullptr);
    delete sentenceDock;
    delete waveform;
    lesson_.reset();
    delete trayMenu;
}

void Vk::setLessonStore(std::unique_ptr<lesson::LessonStore> store)
{
    const QString notice = store->notice();
    lesson_->setStore(std::move(store));
    if (!notice.isEmpty()) {
        QTimer::singleShot(
            0, this, [this, notice] { QMessageBox::warning(this, tr("Vorlyn Player"), notice); });
    }
}

void Vk::forgetLesson()
{
    if (!lesson_->isOpen())
        return;
    const QString name = QFileInfo(lesson_->fileName()).fileName();
    if (QMessageBox::question(this, tr("Forget This Lesson"),
                              tr("Forget where you were in %1, its loop and the scores of "
                                 "its sentences?")
                                  .arg(name)) == QMessageBox::Yes)
        lesson_->forgetLesson();
}

void Vk::checkSentence()
{
    if (!lesson_->isOpen())
        return;
    int index = lesson_->currentSentence();
    if (index < 0)
        index = lesson_->sentenceAt(lesson_->positionSeconds());
    const auto &items = lesson_->sentences().items;
    if (index < 0 || items[size_t(index)].text.isEmpty()) {
        QMessageBox::information(this, tr("Check"),
                                 tr("This sentence has no subtitle text to check against."));
        return;
    }
    lesson_->recordScore(index, editor->checkAgainst(items[size_t(index)].text));
}

void Vk::loadSubtitles()
{
    if (!lesson_->isOpen())
        return;
    const QString file = QFileDialog::getOpenFileName(
        this, tr("Load Subtitles"), QFileInfo(lesson_->fileName()).absolutePath(),
        tr("Subtitles (*.srt *.vtt *.ass *.ssa);;All Files (*)"));
    if (!file.isEmpty())
        lesson_->chooseSubtitleFile(file);
}

void Vk::showNotice(const QString &message, QMessageBox::Icon icon)
{
    // told, not asked: the lesson goes on behind it
    auto *box = new QMessageBox(icon, tr("Vorlyn Player"), message, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void Vk::showLessonSummary()
{
    LessonSummary summary(lesson_.get(), this);
    summary.setWindowTitle(tr("Lesson Summary: %1").arg(QFileInfo(lesson_->fileName()).fileName()));
    summary.exec();
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
    drillBar = new DrillBar(lesson_->drill(), central);
    grid->addWidget(drillBar, 1, 0);
    grid->setRowStretch(0, 1);

    controlWidget = new ControlWidget(central);
    grid->addWidget(controlWidget, 2, 0, 1, -1);
    auto *panel = new QGridLayout(controlWidget);
    panel->setContentsMargins(5, 8, 5, 5);

    positionLabel = new QLabel(controlWidget);
    positionLabel->setObjectName(QStringLiteral("positionLabel"));
    panel->addWidget(positionLabel, 0, 0, -1, 1, Qt::AlignLeft | Qt::AlignTop);
    seekSlider = new QSeekSlider(controlWidget);
    seekSlider->setEnabled(false);
    connect(seekSlider, &QSeekSlider::valueChanged, lesson_.get(),
            &LessonController::seekToFraction);
    panel->addWidget(seekSlider, 0, 1, 1, 20, Qt::AlignTop);
    durationLabel = new QLabel(controlWidget);
    durationLabel->setObjectName(QStringLiteral("durationLabel"));
    panel->addWidget(durationLabel, 0, 21, -1, 1, Qt::AlignRight | Qt::AlignTop);
    waveform = new WaveformStrip(lesson_.get(), controlWidget);
    waveform->hide();
    panel->addWidget(waveform, 1, 1, 1, 20);
    controlButton = new ControlButton(controlWidget);
    panel->addWidget(controlButton, 2, 0, 1, -1, Qt::AlignTop);

    sentenceList = new SentenceList(lesson_.get());
    sentenceDock = new QDockWidget(tr("Sentences"), this);
    sentenceDock->setObjectName(QStringLiteral("sentenceDock"));
    // shown and hidden from the context menu, so it follows the lesson when it can
    sentenceDock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    sentenceDock->setWidget(sentenceList);
    addDockWidget(Qt::RightDockWidgetArea, sentenceDock);
    sentenceDock->hide();

    LessonController *l = lesson_.get();
    // the buttons run the same commands as the keys
    connect(controlButton, &ControlButton::commandChosen, this, &Vk::run);
    connect(controlButton, &ControlButton::volumeChanged, l, &LessonController::setVolume);
    connect(this, &Vk::isPlay, controlButton, &ControlButton::playIcon);
    connect(controlButton, &ControlButton::speedChosen, l, &LessonController::setSpeed);
    connect(l, &LessonController::speedChanged, controlButton, &ControlButton::showSpeed);
    controlButton->showSpeed(l->speed());
}

void Vk::createActions()
{
    openAction = new QAction(tr("Open"), this);
    connect(openAction, &QAction::triggered, this, &Vk::on_actionOpen_activated);
    // in no menu bar: the shortcut works as an action of the window itself
    addAction(openAction);

    recentMenu = new RecentLessonsMenu(this);
    connect(recentMenu, &RecentLessonsMenu::lessonChosen, lesson_.get(), &LessonController::open);

    fullScreenAction = new QAction(tr("Full Screen"), this);
    fullScreenAction->setCheckable(true);
    fullScreenAction->setChecked(false);
    connect(fullScreenAction, &QAction::toggled, this, &Vk::on_actionFullscreen_toggled);
    connect(glWidget, &GLRenderWidget::windowClosed, fullScreenAction, &QAction::toggle);

    keepAspectAction = new QAction(tr("Keep Aspect Ratio"), this);
    keepAspectAction->setCheckable(true);
    keepAspectAction->setChecked(true);
    connect(keepAspectAction, &QAction::toggled, glWidget, &GLRenderWidget::setVideoAspectRatio);

    sentenceListAction = new QAction(tr("Sentence List"), this);
    sentenceListAction->setCheckable(true);
    sentenceListAction->setChecked(true);
    sentenceListAction->setEnabled(false);
    connect(sentenceListAction, &QAction::toggled, this, &Vk::showSentenceList);

    lesson::Drill *drill = lesson_->drill();
    drillAction = new QAction(tr("Drill"), this);
    drillAction->setCheckable(true);
    drillAction->setEnabled(false);
    connect(drillAction, &QAction::triggered, drill, &lesson::Drill::setOn);
    connect(drill, &lesson::Drill::onChanged, drillAction, &QAction::setChecked);
    // there is no drill without a lesson
    connect(lesson_.get(), &LessonController::lessonOpened, drillAction,
            [this] { drillAction->setEnabled(true); });
    connect(lesson_.get(), &LessonController::lessonClosed, drillAction,
            [this] { drillAction->setEnabled(false); });
    drillSettingsAction = new QAction(tr("Drill Settings..."), this);
    connect(drillSettingsAction, &QAction::triggered, this, &Vk::chooseDrillSettings);

    preferencesAction = new QAction(tr("Preferences..."), this);
    connect(preferencesAction, &QAction::triggered, this, &Vk::choosePreferences);
    keyListAction = new QAction(tr("Keys..."), this);
    connect(keyListAction, &QAction::triggered, this, &Vk::showKeyList);

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
    connect(trayQuitAction, &QAction::triggered, this, &Vk::quit);
}

void Vk::createTrayIcon()
{
    trayMenu = new QMenu;
    trayMenu->addAction(openAction);
    trayMenu->addMenu(recentMenu);
    trayMenu->addSeparator();
    trayMenu->addAction(minimizeAction);
    trayMenu->addAction(restoreAction);
    trayMenu->addSeparator();
    trayMenu->addAction(drillAction);
    trayMenu->addAction(preferencesAction);
    trayMenu->addSeparator();
    trayMenu->addAction(trayQuitAction);
    trayIcon = new QSystemTrayIcon(this);
    trayIcon->setContextMenu(trayMenu);
    trayIcon->setIcon(QIcon(AppPaths::skinImage(QStringLiteral("vorlynplayer.png"))));
    trayIcon->setToolTip(tr("Vorlyn Player"));
    trayIcon->setVisible(true);
    connect(trayIcon, &QSystemTrayIcon::activated, this, &Vk::iconActivated);
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
        lesson_->open(name);
}

void Vk::openFiles(const QStringList &files)
{
    const auto [media, document, problems] = sortOpenedFiles(files);
    // not modal: the files that can open, open meanwhile
    if (!problems.isEmpty())
        showNotice(tr("Some files were not opened:") + QLatin1Char('\n') +
                       problems.join(QLatin1Char('\n')),
                   QMessageBox::Warning);
    // the document first, so a lesson opened with it finds it as the editor's document and
    // may start its transcript from it
    if (!document.isEmpty()) {
        showEditor();
        editor->openDocument(document, media);
    }
    if (!media.isEmpty())
        lesson_->open(media);
}

void Vk::comeToFront()
{
    if (isHidden())
        show();
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

void Vk::rememberPlacement() const
{
    QSettings settings = playerSettings();
    // without the room the sentence list took, which it takes again when it opens
    const QRect player = isFullScreen() || isMaximized() ? normalGeometry() : geometry();
    settings.setValue(playerPlaceKey, player.adjusted(0, 0, -widthForSentences, 0));
    if (editorPlaced)
        settings.setValue(editorPlaceKey, editor->geometry());
}

void Vk::showEditor()
{
    if (!editorPlaced) {
        const placement::Pair pair =
            placement::besidePlayer(geometry(), editor->size(), placement::availableFor(this));
        setGeometry(pair.player);
        editor->setGeometry(pair.editor);
        editorPlaced = true;
    }
    editor->show();
}

void Vk::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    if (placementSaver && isVisible())
        placementSaver->start();
}

void Vk::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (placementSaver && isVisible())
        placementSaver->start();
}

bool Vk::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == editor.get() && editorPlaced && editor->isVisible() &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        placementSaver->start();
    return QMainWindow::eventFilter(watched, event);
}

void Vk::showIdle()
{
    setWindowTitle(tr("Vorlyn Player"));
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
}

void Vk::showLesson(const QString &file)
{
    // opened from the tray menu while the window is in the tray: the lesson is shown
    if (isHidden())
        comeToFront();
    setWindowTitle(tr("%1 - Vorlyn Player").arg(QFileInfo(file).fileName()));
    seekSlider->resetMark();
    seekSlider->setValue(0);
    const bool known = lesson_->hasKnownLength();
    seekSlider->setEnabled(known);
    seekSlider->setToolTip(known ? QString() : tr("The length of this file is unknown."));
    if (lesson_->hasVideo()) {
        glWidget->setVideo(lesson_->pictures());
        screenWidget->hide();
        glWidget->show();
    } else {
        // a lesson without pictures shows its cover, or its name, never an old picture
        screenWidget->showLesson(QFileInfo(file).completeBaseName(), lesson_->coverArt());
        screenWidget->show();
        glWidget->hide();
    }
    durationLabel->setText(known ? lesson_->timeText(lesson_->durationSeconds())
                                 : QStringLiteral("--:--:--"));
    durationLabel->show();
    positionLabel->show();
    controlWidget->update();
    emit setDirPath(file);
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
    lesson_->seekToFraction(f);
}

void Vk::showMarks(double inSeconds, double outSeconds)
{
    // the engine clamps the marks: the flags show where they are, not where they were asked
    seekSlider->setMarkInFlag(lesson_->fractionAt(inSeconds));
    seekSlider->setMarkOutFlag(lesson_->fractionAt(outSeconds));
}

void Vk::showWaveform()
{
    const bool shown = !lesson_->peaks().low.empty();
    waveform->setVisible(shown);
    const auto *panel = static_cast<QGridLayout *>(controlWidget->layout());
    controlWidget->setFixedHeight(ControlWidget::panelHeight +
                                  (shown ? waveform->height() + panel->verticalSpacing() : 0));
}

void Vk::showSentenceList()
{
    const bool any = !lesson_->sentences().items.empty() || lesson_->isAnalysing();
    sentenceListAction->setEnabled(any);
    const bool show = any && sentenceListAction->isChecked();
    if (show != sentenceDock->isHidden())
        return;
    // the window grows by the list beside it, so the picture keeps its size, and gives the
    // width back when the list goes
    const bool docked = !sentenceDock->isFloating() && !isMaximized() && !isFullScreen();
    if (show) {
        sentenceDock->show();
        widthForSentences = docked ? sentenceListWidth : 0;
        resize(width() + widthForSentences, height());
        if (docked)
            resizeDocks({sentenceDock}, {sentenceListWidth}, Qt::Horizontal);
    } else {
        sentenceDock->hide();
        if (docked)
            resize(width() - widthForSentences, height());
        widthForSentences = 0;
    }
}

void Vk::on_actionPlayPause()
{
    lesson_->playPause();
}

void Vk::on_actionStop()
{
    lesson_->close();
}

void Vk::on_actionEidtor()
{
    if (editor->isHidden())
        showEditor();
    else
        editor->hide();
}

void Vk::refreshTiming()
{
    lesson_->reportPosition();
}

void Vk::showPosition(double seconds)
{
    seekSlider->setValue(lesson_->fractionAt(seconds));
    positionLabel->setText(lesson_->timeText(seconds));
    controlWidget->update();
}

void Vk::iconActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason != QSystemTrayIcon::Trigger)
        return;
    if (isHidden()) {
        showNormal();
        return;
    }
    lesson_->stopPlaying();
    hide();
}

void Vk::loadHelp()
{
    // The program's own help, with the home page one click away: a browser may be
    // missing or the network out of reach, and then nothing at all would appear.
    if (!help)
        help = new HelpWindow(QString::fromLatin1(homePage), this);
    help->showKeys(keys, [this](QKeyCombination key) { return editor->forwards(key); });
    help->show();
    help->raise();
    help->activateWindow();
}

void Vk::keyDelegateTrigger(int key)
{
    // only what the editor hands over: a key it keeps for the text does nothing here
    const QKeyCombination combination = QKeyCombination::fromCombined(key);
    if (!editor->forwards(combination))
        return;
    if (const std::optional<PlayerKeys::Command> command = keys.commandOf(combination))
        run(*command);
}

void Vk::run(PlayerKeys::Command command)
{
    lesson::Drill *drill = lesson_->drill();
    switch (command) {
    case PlayerKeys::NudgeMarkInEarlier:
        lesson_->nudgeMarkIn(-nudgeSeconds);
        break;
    case PlayerKeys::NudgeMarkInLater:
        lesson_->nudgeMarkIn(nudgeSeconds);
        break;
    case PlayerKeys::NudgeMarkOutEarlier:
        lesson_->nudgeMarkOut(-nudgeSeconds);
        break;
    case PlayerKeys::NudgeMarkOutLater:
        lesson_->nudgeMarkOut(nudgeSeconds);
        break;
    case PlayerKeys::PlayPause:
        lesson_->playPause();
        break;
    case PlayerKeys::PreviousStretch:
        lesson_->previousStretch();
        break;
    case PlayerKeys::MarkInHere:
        lesson_->setMarkInHere();
        break;
    case PlayerKeys::MarkOutHere:
        lesson_->setMarkOutHere();
        break;
    case PlayerKeys::NextStretch:
        lesson_->nextStretch();
        break;
    case PlayerKeys::Slower:
        lesson_->slower();
        break;
    case PlayerKeys::Faster:
        lesson_->faster();
        break;
    case PlayerKeys::NormalSpeed:
        lesson_->normalSpeed();
        break;
    case PlayerKeys::LoopSentence:
        lesson_->loopSentenceHere();
        break;
    case PlayerKeys::SkipBack:
        lesson_->seekBy(-LessonController::skipSeconds);
        break;
    case PlayerKeys::SkipForward:
        lesson_->seekBy(LessonController::skipSeconds);
        break;
    case PlayerKeys::DrillOnOff:
        drill->toggle();
        break;
    case PlayerKeys::DrillAgain:
        drill->again();
        break;
    case PlayerKeys::DrillNext:
        drill->next();
        break;
    case PlayerKeys::DrillHint:
        drill->revealHint();
        break;
    case PlayerKeys::DrillReveal:
        drill->revealSentence();
        break;
    case PlayerKeys::CheckSentence:
        checkSentence();
        break;
    case PlayerKeys::OpenLesson:
        on_actionOpen_activated();
        break;
    case PlayerKeys::LeaveFullScreen:
        if (fullScreenAction->isChecked())
            fullScreenAction->setChecked(false);
        break;
    case PlayerKeys::Stop:
        lesson_->close();
        break;
    case PlayerKeys::CancelLoop:
        lesson_->resetMarks();
        break;
    case PlayerKeys::ShowEditor:
        on_actionEidtor();
        break;
    }
}

void Vk::applyKeys()
{
    QList<QKeyCombination> forwarded;
    for (int c = 0; c < PlayerKeys::commandCount; ++c) {
        if (PlayerKeys::reachableFromEditor(PlayerKeys::Command(c))) {
            for (const QKeySequence &key : keys.assigned(PlayerKeys::Command(c)))
                forwarded += key[0];
        }
    }
    editor->setPlayerKeys(forwarded);
    openAction->setShortcuts(keys.assigned(PlayerKeys::OpenLesson));
    // the main key, or the alternate one when there is no main key
    const auto mainKey = [this](PlayerKeys::Command command) {
        const QList<QKeySequence> assigned = keys.assigned(command);
        return assigned.isEmpty() ? QString() : assigned.first().toString(QKeySequence::NativeText);
    };
    const auto name = [&mainKey](PlayerKeys::Command command) {
        const QString key = mainKey(command);
        return key.isEmpty() ? tr("(no key)") : key;
    };
    controlButton->showCommandKeys(keys);
    controlButton->showSpeedKeys(name(PlayerKeys::Slower), name(PlayerKeys::Faster),
                                 name(PlayerKeys::NormalSpeed));
    drillBar->showRevealKeys(name(PlayerKeys::DrillHint), name(PlayerKeys::DrillReveal));
    sentenceList->showLoopKey(name(PlayerKeys::LoopSentence));
    waveform->showLoopKey(name(PlayerKeys::LoopSentence));
    // named in the menu only: the window's keys and the editor's forwarding take it
    const QString drillKey = mainKey(PlayerKeys::DrillOnOff);
    drillAction->setText(drillKey.isEmpty() ? tr("Drill")
                                            : tr("Drill") + QLatin1Char('\t') + drillKey);
}

Preferences Vk::preferences() const
{
    Preferences p;
    p.language = interfacelanguage::chosen();
    p.dictionary = editor->dictionaryLanguage();
    p.nudgeSeconds = nudgeSeconds;
    p.drillDefaults = Preferences::loadDrillDefaults();
    p.keys = keys;
    return p;
}

void Vk::setPreferences(const Preferences &p)
{
    interfacelanguage::choose(p.language);
    editor->setDictionaryLanguage(p.dictionary);
    nudgeSeconds =
        std::clamp(p.nudgeSeconds, Preferences::minNudgeSeconds, Preferences::maxNudgeSeconds);
    Preferences::saveNudgeSeconds(nudgeSeconds);
    Preferences::saveDrillDefaults(p.drillDefaults);
    lesson_->setDrillDefaults(p.drillDefaults);
    keys = p.keys;
    keys.save();
    applyKeys();
}

void Vk::choosePreferences()
{
    PreferencesDialog dialog(preferences(), editor->ownShortcuts(), this);
    if (dialog.exec() == QDialog::Accepted)
        setPreferences(dialog.preferences());
}

void Vk::showKeyList()
{
    KeyListDialog list(
        keys, [this](QKeyCombination key) { return editor->forwards(key); }, this);
    list.exec();
}

void Vk::chooseDrillSettings()
{
    DrillSettingsDialog dialog(lesson_->drillSettings(), this);
    if (dialog.exec() == QDialog::Accepted)
        lesson_->setDrillSettings(dialog.settings());
}

void Vk::keyPressEvent(QKeyEvent *event)
{
    if (const std::optional<PlayerKeys::Command> command = keys.commandOf(event->keyCombination()))
        run(*command);
    else
        QMainWindow::keyPressEvent(event);
}

void Vk::quit()
{
    if (editor->settleBeforeQuit())
        QCoreApplication::quit();
}

void Vk::closeEvent(QCloseEvent *event)
{
    // Without a system tray the hidden window could never be brought back, and the
    // running process would keep the next start from opening a window at all: closing
    // quits, so the editor's typing is settled first, and a cancel keeps both windows.
    const bool quits = !QSystemTrayIcon::isSystemTrayAvailable();
    if (quits && !editor->settleBeforeQuit()) {
        event->ignore();
        return;
    }
    lesson_->stopPlaying();
    event->accept();
    if (quits)
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void Vk::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu;
    menu.addAction(openAction);
    menu.addMenu(recentMenu);
    menu.addSeparator();
    menu.addAction(fullScreenAction);
    menu.addSeparator();
    menu.addAction(keepAspectAction);
    menu.addSeparator();
    menu.addAction(sentenceListAction);
    menu.addAction(sentenceList->showAllTextsAction());
    QMenu *subtitles = menu.addMenu(tr("Subtitles"));
    subtitles->setEnabled(lesson_->isOpen());
    for (const QString &f : lesson_->subtitleFiles()) {
        QAction *a = subtitles->addAction(QFileInfo(f).fileName(), lesson_.get(),
                                          [this, f] { lesson_->chooseSubtitleFile(f); });
        a->setCheckable(true);
        a->setChecked(f == lesson_->sentences().origin);
    }
    subtitles->addSeparator();
    subtitles->addAction(tr("Load Subtitles..."), this, &Vk::loadSubtitles);
    menu.addSeparator();
    menu.addAction(drillAction);
    menu.addAction(drillSettingsAction);
    menu.addAction(tr("Lesson Summary..."), this, &Vk::showLessonSummary)
        ->setEnabled(lesson_->isOpen());
    menu.addAction(tr("Forget This Lesson..."), this, &Vk::forgetLesson)
        ->setEnabled(lesson_->isOpen());
    menu.addSeparator();
    menu.addAction(preferencesAction);
    menu.addAction(keyListAction);
    menu.addAction(helpAction);
    menu.addSeparator();
    menu.addAction(quitAction);
    menu.exec(event->globalPos());
}

void Vk::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Vk::dropEvent(QDropEvent *event)
{
    const QStringList files = droppedFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    openFiles(files);
}
