#pragma once

#include "player/playerkeys.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QSystemTrayIcon>

#include <memory>

class ControlButton;
class ControlWidget;
class DrillBar;
class GLRenderWidget;
class HelpWindow;
class LessonController;
struct Preferences;
class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class QScreenWidget;
class QSeekSlider;
class QSkinObject;
class QTimer;
class RecentLessonsMenu;
class SentenceList;
class TextEdit;
class WaveformStrip;
namespace lesson {
class LessonStore;
}

// The player's main window: shows the lesson's pictures or the idle screen, and turns the
// button bar, slider, keys, the keys the editor forwards, menus and tray into commands
// on its LessonController, whose reports it draws. GUI thread only.
class Vk final : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Vk)

public:
    explicit Vk(QWidget *parent = nullptr);
    ~Vk() override;

    // The product's home page, opened by "Help".
    static const char homePage[];
    // The lesson being studied.
    LessonController *lesson() const { return lesson_.get(); }
    // The memory of the lessons, handed to the controller; what the store has to say about
    // its opening (a damaged database moved aside) is shown once the window is up.
    void setLessonStore(std::unique_ptr<lesson::LessonStore> store);

    // Opens files as the learner handed them over (command line, a later copy of the
    // program, a drop), each by its content: a media file becomes the lesson, a document
    // the editor's document (its transcript rules apply when a lesson opens after it). One
    // of each; the rest, and files that are neither or cannot be read, are named in one
    // message, and nothing open is lost.
    void openFiles(const QStringList &files);
    // Shows the window, restored if minimised or in the tray, above the others.
    void comeToFront();
    // Keeps where the player and the editor (once it has been placed) are on the desktop,
    // for the next start: at the end, and a second after either window moved or changed
    // its size, so a program that is killed keeps them too.
    void rememberPlacement() const;
    // What the learner set once for every lesson; setting it takes effect at once (the
    // language at the next start) and keeps it for the next start.
    Preferences preferences() const;
    void setPreferences(const Preferences &preferences);

signals:
    void isPlay(bool playing);
    void setDirPath(QString path);

public slots:
    void on_actionOpen_activated();
    void on_actionFullscreen_toggled(bool on);
    void on_actionSeek(double f);
    void on_actionPlayPause();
    void on_actionStop();
    void on_actionEidtor();
    // Draws the lesson's position now (the timing tick).
    void refreshTiming();
    void iconActivated(QSystemTrayIcon::ActivationReason reason);
    void loadHelp();
    // Ends the program once the editor's typing is settled; nothing closes when the learner
    // cancels.
    void quit();
    // A key of a player command, forwarded by the editor, as
    // QKeyCombination::toCombined() gives it.
    void keyDelegateTrigger(int key);
    // Asks the learner for the drill's settings.
    void chooseDrillSettings();
    void choosePreferences();
    // Shows the player's keys as they are now.
    void showKeyList();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // Notices the editor moving or changing its size.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createCentralWidgets();
    void createActions();
    void createTrayActions();
    void createTrayIcon();
    // The file the learner picks, or an empty string; remembers its folder.
    QString chooseMediaFile();
    // Follows the controller: a lesson's pictures or cover, its length and position,
    // the slider's flags where its marks are; the idle screen when none is open.
    void showLesson(const QString &file);
    void showIdle();
    void showPosition(double seconds);
    void showMarks(double inSeconds, double outSeconds);
    // The strip when the lesson has peaks, the list when it has sentences or is being
    // searched for them (and the learner has not hidden it).
    void showWaveform();
    void showSentenceList();
    // Asks first, since the scores go too.
    void forgetLesson();
    // Scores the editor's text for the sentence (its selection, else the paragraph at its
    // cursor) against the text of the sentence the loop spans, or of the one under the
    // playhead; keeps the score and shows the result in the editor.
    void checkSentence();
    void showLessonSummary();
    // Asks for a subtitle file of any name and makes its sentences the lesson's.
    void loadSubtitles();
    // A message that needs no answer, in a box that does not stop the player.
    void showNotice(const QString &message, QMessageBox::Icon icon);
    // Shows the editor; the first time, beside the player unless it has a remembered place.
    void showEditor();
    // Runs a command a key stands for.
    void run(PlayerKeys::Command command);
    // Makes the keys the player's: the editor forwards them, the menus name them.
    void applyKeys();

    std::unique_ptr<LessonController> lesson_;
    QWidget *central = nullptr;
    ControlWidget *controlWidget = nullptr;
    GLRenderWidget *glWidget = nullptr;
    QSeekSlider *seekSlider = nullptr;
    WaveformStrip *waveform = nullptr;
    DrillBar *drillBar = nullptr;
    QDockWidget *sentenceDock = nullptr;
    SentenceList *sentenceList = nullptr;
    QAction *sentenceListAction = nullptr;
    // How wide the sentence list opens, and how much the window grew for it.
    static constexpr int sentenceListWidth = 240;
    int widthForSentences = 0;
    ControlButton *controlButton = nullptr;
    QAction *openAction = nullptr;
    QAction *fullScreenAction = nullptr;
    QAction *keepAspectAction = nullptr;
    QAction *drillAction = nullptr;
    QAction *drillSettingsAction = nullptr;
    QAction *preferencesAction = nullptr;
    QAction *keyListAction = nullptr;
    QAction *helpAction = nullptr;
    HelpWindow *help = nullptr; // child, made when first asked for
    QAction *quitAction = nullptr;
    // A child of the window.
    QSkinObject *skin = nullptr;
    QScreenWidget *screenWidget = nullptr;
    // A window of its own, without parent; it goes when the main window goes.
    std::unique_ptr<TextEdit> editor;
    // Whether the editor has its place: remembered, or set beside the player.
    bool editorPlaced = false;
    QTimer *placementSaver = nullptr; // child
    PlayerKeys keys;
    // how far a nudge moves a loop mark
    double nudgeSeconds = 0;
    RecentLessonsMenu *recentMenu = nullptr; // child
    QAction *minimizeAction = nullptr;
    QAction *restoreAction = nullptr;
    QAction *trayQuitAction = nullptr;
    QSystemTrayIcon *trayIcon = nullptr;
    QMenu *trayMenu = nullptr; // no parent: deleted by the window
    QLabel *positionLabel = nullptr;
    QLabel *durationLabel = nullptr;
};
