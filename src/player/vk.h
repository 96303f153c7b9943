#pragma once

#include <QMainWindow>
#include <QSystemTrayIcon>

#include <cstdint>
#include <memory>

class ControlButton;
class ControlWidget;
class GLRenderWidget;
class Media;
class QAction;
class QLabel;
class QMenu;
class QScreenWidget;
class QSeekSlider;
class QSkinObject;
class QTimer;
class TextEdit;

// The player's main window: owns at most one Media, shows its pictures or the idle
// screen, and turns the button bar, slider, keys, menus and tray into commands on it.
// GUI thread only.
class Vk final : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Vk)

public:
    explicit Vk(QWidget *parent = nullptr);
    ~Vk() override;

    // The product's home page, opened by "Help".
    static const char homePage[];
    // How far F1 to F4 move a loop mark, in seconds of media time.
    static constexpr double markNudgeSeconds = 0.1;

    // The lesson being played, or null.
    Media *currentMedia() const { return media.get(); }

signals:
    void isPlay(bool playing);
    void setDirPath(QString path);

public slots:
    void on_actionOpen_activated();
    void on_actionFullscreen_toggled(bool on);
    void on_actionSeek(double f);
    void on_actionMarkInSeek();
    void on_actionMarkOutSeek();
    void on_actionMarkReset();
    void on_actionMarkInReset();
    void on_actionMarkOutReset();
    void on_actionMarkInSharpL();
    void on_actionMarkInSharpR();
    void on_actionMarkOutSharpL();
    void on_actionMarkOutSharpR();
    void on_actionPlayPause();
    void on_actionStop();
    void on_actionForward();
    void on_actionBackward();
    void on_actionVolume(double left, double right);
    void on_actionEidtor();
    void refreshTiming();
    void pauseAfterFrame();
    void updateRefreshTimerState();
    void iconActivated(QSystemTrayIcon::ActivationReason reason);
    void loadHelp();
    void keyDelegateTrigger(int key);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void createCentralWidgets();
    void createActions();
    void createTrayActions();
    void createTrayIcon();
    // The file the learner picks, or an empty string; remembers its folder.
    QString chooseMediaFile();
    // Opens name with a new Media, which replaces the current one; a file that does not
    // open leaves the idle screen.
    void openMedia(const QString &name);
    // Takes the current Media out of the window before it is stopped, so that nothing
    // reaches it while it goes: closing its sound can run the event loop, in which the
    // next click or key arrives. The caller destroys what it returns last.
    std::unique_ptr<Media> takeMedia();
    // The idle screen, the play icon, empty labels and slider.
    void showIdle();
    // Slider fraction of a position, and the position of a slider fraction.
    double frac(int64_t x) const;
    int64_t positionAt(double f) const;
    // Moves a loop mark by delta ticks.
    void nudgeMarkIn(int64_t delta);
    void nudgeMarkOut(int64_t delta);
    // The slider's flags where the media's marks are.
    void showMarks();
    // Stops the media, if any, and tells the control bar it no longer plays.
    void stopPlayback();

    std::unique_ptr<Media> media;
    QWidget *central = nullptr;
    ControlWidget *controlWidget = nullptr;
    GLRenderWidget *glWidget = nullptr;
    QSeekSlider *seekSlider = nullptr;
    ControlButton *controlButton = nullptr;
    QTimer *timingTimer = nullptr;
    QAction *openAction = nullptr;
    QAction *fullScreenAction = nullptr;
    QAction *keepAspectAction = nullptr;
    QAction *helpAction = nullptr;
    QAction *quitAction = nullptr;
    // A child of the window.
    QSkinObject *skin = nullptr;
    bool seekPending = false;
    QScreenWidget *screenWidget = nullptr;
    // A window of its own, without parent; it goes when the main window goes.
    std::unique_ptr<TextEdit> editor;
    QAction *minimizeAction = nullptr;
    QAction *restoreAction = nullptr;
    QAction *trayQuitAction = nullptr;
    QSystemTrayIcon *trayIcon = nullptr;
    QMenu *trayMenu = nullptr; // no parent: deleted by the window
    QLabel *positionLabel = nullptr;
    QLabel *durationLabel = nullptr;
};
