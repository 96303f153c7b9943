#include "player/vk.h"

#include "editor/droppedfiles.h"
#include "lesson/drill.h"
#include "lesson/lessoncontroller.h"
#include "lesson/lessontranslation.h"
#include "player/controlbutton.h"
#include "player/drillbar.h"
#include "player/glrenderwidget.h"
#include "player/helpwindow.h"
#include "player/interfacelanguage.h"
#include "player/keylistdialog.h"
#include "player/lessondialogs.h"
#include "player/lessonpanel.h"
#include "player/pictureformat.h"
#include "player/recentlessons.h"
#include "player/reviewprompt.h"
#include "player/screenwidget.h"
#include "player/sentencedock.h"
#include "player/sentencelist.h"
#include "player/waveformstrip.h"
#include "player/windowplacement.h"
#include "skin/qskinobject.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>

const char Vk::homePage[] = "https://vorlyn.org/player";

Vk::Vk(LessonController &lesson, QWidget *parent)
    : QMainWindow(parent), lesson_(&lesson), nudgeSeconds(LessonController::markNudgeSeconds)
{
    QPalette pal = palette();
    pal.setBrush(QPalette::Window, QBrush(Qt::black));
    pal.setBrush(QPalette::WindowText, QBrush(Qt::white));
    setPalette(pal);
    resize(640, 480);
    // where the player was last, in the player's settings
    const QString placeKey = QStringLiteral("windows/player");
    if (const QRect remembered = placement::Keeper::remembered(placeKey); remembered.isValid()) {
        setGeometry(remembered);
    } else if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->availableGeometry();
        move(desktop.x() + desktop.width() / 2 - width() / 2,
             desktop.y() + desktop.height() / 2 - height() / 2);
    }
    // without the room the sentence list took, which it takes again when it opens
    new placement::Keeper(
        *this, placeKey,
        [this] {
            const QRect place = isFullScreen() || isMaximized() ? normalGeometry() : geometry();
            return place.adjusted(0, 0, -sentenceDock->widthTaken(), 0);
        },
        this);
    setAcceptDrops(true);

    lesson.setPictureFormat(pictureFormatForView());
    createCentralWidgets();

    LessonController *l = &lesson;
    connect(l, &LessonController::lessonClosing, glWidget, [this] { glWidget->setVideo(nullptr); });
    connect(l, &LessonController::lessonOpened, this, &Vk::showLesson);
    connect(l, &LessonController::lessonOpened, this, &RecentLessonsMenu::add);
    connect(l, &LessonController::lessonClosed, this, &Vk::showIdle);
    connect(l, &LessonController::playingChanged, this, &Vk::isPlay);
    connect(l, &LessonController::error, this,
            [this](const QString &msg) { QMessageBox::warning(this, tr("Vorlyn Player"), msg); });
    connect(l, &LessonController::notice, this,
            [this](const QString &message) { showNotice(message, QMessageBox::Warning); });

    reviewPrompt = new ReviewPrompt(lesson, *this);
    createActions();
    applyKeys();
    setWindowTitle(tr("Vorlyn Player"));
    skin = new QSkinObject(this);
    skin->startSkinning();
}

Vk::Vk() : Vk(std::make_unique<LessonController>()) {}

Vk::Vk(std::unique_ptr<LessonController> own) : Vk(*own)
{
    ownLesson = std::move(own);
}

Vk::~Vk()
{
    // the lesson goes before the view that shows it, and after the views that read it
    lesson_->disconnect(this);
    glWidget->setVideo(nullptr);
    delete sentenceDock;
    delete panel;
    ownLesson.reset();
}

void Vk::showNotice(const QString &message, QMessageBox::Icon icon)
{
    // told, not asked: the lesson goes on behind it
    auto *box = new QMessageBox(icon, tr("Vorlyn Player"), message, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
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
    translation = new lesson::LessonTranslation(*lesson_, this);
    translation->setLearnerLocale(interfacelanguage::localeName(interfacelanguage::chosen()));
    drillBar = new DrillBar(*lesson_, *translation, central);
    grid->addWidget(drillBar, 1, 0);
    grid->setRowStretch(0, 1);

    panel = new LessonPanel(*lesson_, central);
    grid->addWidget(panel, 2, 0, 1, -1);
    // the buttons run the same commands as the keys
    connect(panel->buttons(), &ControlButton::commandChosen, this, &Vk::run);
    connect(this, &Vk::isPlay, panel->buttons(), &ControlButton::playIcon);

    sentenceDock = new SentenceDock(*lesson_, *this);
}

void Vk::createActions()
{
    openAction = new QAction(tr("Open"), this);
    connect(openAction, &QAction::triggered, this, &Vk::on_actionOpen_activated);
    // in no menu bar: the shortcut works as an action of the window itself
    addAction(openAction);

    recentMenu = new RecentLessonsMenu(this);
    connect(recentMenu, &RecentLessonsMenu::lessonChosen, lesson_, &LessonController::open);

    fullScreenAction = new QAction(tr("Full Screen"), this);
    fullScreenAction->setCheckable(true);
    fullScreenAction->setChecked(false);
    connect(fullScreenAction, &QAction::toggled, this, &Vk::on_actionFullscreen_toggled);
    connect(glWidget, &GLRenderWidget::windowClosed, fullScreenAction, &QAction::toggle);

    keepAspectAction = new QAction(tr("Keep Aspect Ratio"), this);
    keepAspectAction->setCheckable(true);
    keepAspectAction->setChecked(true);
    connect(keepAspectAction, &QAction::toggled, glWidget, &GLRenderWidget::setVideoAspectRatio);

    lesson::Drill *drill = lesson_->drill();
    drillAction = new QAction(tr("Drill"), this);
    drillAction->setCheckable(true);
    drillAction->setEnabled(false);
    connect(drillAction, &QAction::triggered, drill, &lesson::Drill::setOn);
    connect(drill, &lesson::Drill::onChanged, drillAction, &QAction::setChecked);
    // there is no drill without a lesson
    connect(lesson_, &LessonController::lessonOpened, drillAction,
            [this] { drillAction->setEnabled(true); });
    connect(lesson_, &LessonController::lessonClosed, drillAction,
            [this] { drillAction->setEnabled(false); });
    drillSettingsAction = new QAction(tr("Drill Settings..."), this);
    connect(drillSettingsAction, &QAction::triggered, this,
            [this] { LessonDialogs::chooseDrillSettings(*lesson_, this); });

    preferencesAction = new QAction(tr("Preferences..."), this);
    connect(preferencesAction, &QAction::triggered, this, &Vk::preferencesRequested);
    keyListAction = new QAction(tr("Keys..."), this);
    connect(keyListAction, &QAction::triggered, this, &Vk::showKeyList);

    helpAction = new QAction(tr("Help"), this);
    connect(helpAction, &QAction::triggered, this, &Vk::loadHelp);

    quitAction = new QAction(tr("Quit"), this);
    connect(quitAction, &QAction::triggered, this, &Vk::close);
}

void Vk::on_actionOpen_activated()
{
    const QString name = LessonDialogs::chooseMediaFile(this);
    if (!name.isEmpty() && QFileInfo(name).isFile())
        lesson_->open(name);
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

void Vk::showIdle()
{
    setWindowTitle(tr("Vorlyn Player"));
    panel->showIdle();
    screenWidget->showIdle();
    screenWidget->show();
    glWidget->hide();
}

void Vk::showLesson(const QString &file)
{
    // opened from the tray menu while the window is in the tray: the lesson is shown
    if (isHidden())
        comeToFront();
    setWindowTitle(tr("%1 - Vorlyn Player").arg(QFileInfo(file).fileName()));
    panel->showLesson();
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
    emit editorToggleRequested();
}

void Vk::refreshTiming()
{
    lesson_->reportPosition();
}

void Vk::loadHelp()
{
    // The program's own help, with the home page one click away: a browser may be
    // missing or the network out of reach, and then nothing at all would appear.
    if (!help)
        help = new HelpWindow(QString::fromLatin1(homePage), this);
    help->showKeys(keys_, editorForwards);
    help->show();
    help->raise();
    help->activateWindow();
}

void Vk::run(PlayerKeys::Command command)
{
    lesson::Drill *drill = lesson_->drill();
    switch (command) {
    case PlayerKeys::NudgeMarkInEarlier:
        return lesson_->nudgeMarkIn(-nudgeSeconds);
    case PlayerKeys::NudgeMarkInLater:
        return lesson_->nudgeMarkIn(nudgeSeconds);
    case PlayerKeys::NudgeMarkOutEarlier:
        return lesson_->nudgeMarkOut(-nudgeSeconds);
    case PlayerKeys::NudgeMarkOutLater:
        return lesson_->nudgeMarkOut(nudgeSeconds);
    case PlayerKeys::PlayPause:
        return lesson_->playPause();
    case PlayerKeys::PreviousStretch:
        return lesson_->previousStretch();
    case PlayerKeys::MarkInHere:
        return lesson_->setMarkInHere();
    case PlayerKeys::MarkOutHere:
        return lesson_->setMarkOutHere();
    case PlayerKeys::NextStretch:
        return lesson_->nextStretch();
    case PlayerKeys::Slower:
        return lesson_->slower();
    case PlayerKeys::Faster:
        return lesson_->faster();
    case PlayerKeys::NormalSpeed:
        return lesson_->normalSpeed();
    case PlayerKeys::LoopSentence:
        return lesson_->loopSentenceHere();
    case PlayerKeys::SkipBack:
        return lesson_->seekBy(-LessonController::skipSeconds);
    case PlayerKeys::SkipForward:
        return lesson_->seekBy(LessonController::skipSeconds);
    case PlayerKeys::DrillOnOff:
        return drill->toggle();
    case PlayerKeys::DrillAgain:
        return drill->again();
    case PlayerKeys::DrillNext:
        return reviewPrompt->next();
    case PlayerKeys::DrillHint:
        return drill->revealHint();
    case PlayerKeys::DrillReveal:
        return drill->revealSentence();
    case PlayerKeys::DrillTranslation:
        return drillBar->toggleTranslation();
    case PlayerKeys::CheckSentence:
        emit sentenceCheckRequested();
        return;
    case PlayerKeys::CheckTranscript:
        emit transcriptCheckRequested();
        return;
    case PlayerKeys::Review:
        return reviewPrompt->toggle();
    case PlayerKeys::OpenLesson:
        return on_actionOpen_activated();
    case PlayerKeys::LeaveFullScreen:
        if (fullScreenAction->isChecked())
            fullScreenAction->setChecked(false);
        return;
    case PlayerKeys::Stop:
        return lesson_->close();
    case PlayerKeys::CancelLoop:
        return lesson_->resetMarks();
    case PlayerKeys::ShowEditor:
        return on_actionEidtor();
    }
}

void Vk::applyKeys()
{
    openAction->setShortcuts(keys_.assigned(PlayerKeys::OpenLesson));
    // the main key, or the alternate one when there is no main key
    const auto mainKey = [this](PlayerKeys::Command command) {
        const QList<QKeySequence> assigned = keys_.assigned(command);
        return assigned.isEmpty() ? QString() : assigned.first().toString(QKeySequence::NativeText);
    };
    const auto name = [&mainKey](PlayerKeys::Command command) {
        const QString key = mainKey(command);
        return key.isEmpty() ? tr("(no key)") : key;
    };
    panel->buttons()->showCommandKeys(keys_);
    panel->buttons()->showSpeedKeys(name(PlayerKeys::Slower), name(PlayerKeys::Faster),
                                    name(PlayerKeys::NormalSpeed));
    drillBar->showRevealKeys(name(PlayerKeys::DrillHint), name(PlayerKeys::DrillReveal));
    drillBar->showReviewKeys(name(PlayerKeys::CheckSentence), name(PlayerKeys::DrillNext));
    sentenceDock->list()->showLoopKey(name(PlayerKeys::LoopSentence));
    panel->waveform()->showLoopKey(name(PlayerKeys::LoopSentence));
    // named in the menu only: the window's keys and the editor's forwarding take it
    const QString drillKey = mainKey(PlayerKeys::DrillOnOff);
    drillAction->setText(drillKey.isEmpty() ? tr("Drill")
                                            : tr("Drill") + QLatin1Char('\t') + drillKey);
}

void Vk::setKeys(const PlayerKeys &keys)
{
    keys_ = keys;
    applyKeys();
    emit keysChanged();
}

void Vk::setEditorForwards(std::function<bool(QKeyCombination)> forwards)
{
    editorForwards = std::move(forwards);
}

Vk::SharedEntries Vk::sharedEntries() const
{
    return {openAction, recentMenu, drillAction, preferencesAction};
}

void Vk::showKeyList()
{
    KeyListDialog list(keys_, editorForwards, this);
    list.exec();
}

void Vk::keyPressEvent(QKeyEvent *event)
{
    if (const std::optional<PlayerKeys::Command> command = keys_.commandOf(event->keyCombination()))
        run(*command);
    else
        QMainWindow::keyPressEvent(event);
}

void Vk::closeEvent(QCloseEvent *event)
{
    lesson_->stopPlaying();
    event->accept();
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
    emit filesDropped(files);
}
