#pragma once

#include "player/playerkeys.h"

#include <QMainWindow>
#include <QMessageBox>

#include <functional>
#include <memory>

class DrillBar;
class ReviewPrompt;
class GLRenderWidget;
class HelpWindow;
class LessonController;
class LessonPanel;
class QAction;
class QMenu;
class QScreenWidget;
class QSkinObject;
class RecentLessonsMenu;
class SentenceDock;
namespace lesson {
class LessonTranslation;
}

// The player's main window: shows the lesson's pictures or the idle screen, and turns the
// button bar, slider, keys and menus into commands on its LessonController, whose reports
// it draws. Every key and button reaches run(); what belongs to the editor, the
// preferences or the files handed over it passes on by its signals. GUI thread only.
class Vk final : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Vk)

public:
    // The player of lesson, which outlives the window.
    explicit Vk(LessonController &lesson, QWidget *parent = nullptr);
    // The window alone, with a lesson of its own and the keys the program comes with: what
    // the benchmarks drive.
    Vk();
    ~Vk() override;

    // The product's home page, opened by "Help".
    static const char homePage[];
    // The lesson being studied.
    LessonController *lesson() const { return lesson_; }

    // The player's keys, which the window's keys, buttons and menus follow; setting them
    // reports keysChanged().
    const PlayerKeys &keys() const { return keys_; }
    void setKeys(const PlayerKeys &keys);
    // How far a nudge moves a loop mark.
    void setNudgeSeconds(double seconds) { nudgeSeconds = seconds; }
    // Where the language of the learner's spelling dictionary is read, whose accent the
    // exported flashcards speak in; American until it is set.
    void setDictionaryLanguage(std::function<QString()> language)
    {
        dictionaryLanguage = std::move(language);
    }
    // Which keys work from the editor too, as the key list and the help name them; none
    // until it is set.
    void setEditorForwards(std::function<bool(QKeyCombination)> forwards);

    // The entries the tray's menu shares with the window's, so both follow the lesson and
    // the keys.
    struct SharedEntries
    {
        QAction *open;
        QMenu *recentLessons;
        QAction *drill;
        QAction *preferences;
    };
    SharedEntries sharedEntries() const;

    // Shows the window, restored if minimised or in the tray, above the others.
    void comeToFront();
    // A message that needs no answer, in a box that does not stop the player.
    void showNotice(const QString &message, QMessageBox::Icon icon);

signals:
    void isPlay(bool playing);
    void setDirPath(QString path);
    void keysChanged();
    // Files dropped on the window, for whoever opens files by their kind.
    void filesDropped(const QStringList &files);
    // Commands the editor carries out: showing or hiding it, and checking its text.
    void editorToggleRequested();
    void sentenceCheckRequested();
    // The learner asked to check the editor's whole text against all the lesson's sentences.
    void transcriptCheckRequested();
    // The learner asked for the progress over all lessons.
    void progressRequested();
    void preferencesRequested();

public slots:
    void on_actionOpen_activated();
    void on_actionFullscreen_toggled(bool on);
    void on_actionSeek(double f);
    void on_actionPlayPause();
    void on_actionStop();
    void on_actionEidtor();
    // Draws the lesson's position now (the timing tick).
    void refreshTiming();
    void loadHelp();
    // Runs a command: what every key, button and menu entry of the player comes to.
    void run(PlayerKeys::Command command);
    // Shows the player's keys as they are now.
    void showKeyList();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    // Hides the window and stops the sound.
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // Takes the lesson made by Vk().
    explicit Vk(std::unique_ptr<LessonController> own);

    void createCentralWidgets();
    void createActions();
    // Follows the controller: a lesson's pictures or cover, or the idle screen when none is
    // open; the panel follows its length, position and marks.
    void showLesson(const QString &file);
    void showIdle();
    // Names the keys on the buttons, lists and menus.
    void applyKeys();

    // Set by Vk() only; else the lesson belongs to whoever made the window.
    std::unique_ptr<LessonController> ownLesson;
    LessonController *lesson_ = nullptr;
    QWidget *central = nullptr;
    GLRenderWidget *glWidget = nullptr;
    LessonPanel *panel = nullptr;
    // The lesson's sentences in the learner's language; child.
    lesson::LessonTranslation *translation = nullptr;
    DrillBar *drillBar = nullptr;
    ReviewPrompt *reviewPrompt = nullptr; // child
    SentenceDock *sentenceDock = nullptr;
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
    PlayerKeys keys_;
    std::function<bool(QKeyCombination)> editorForwards = [](QKeyCombination) { return false; };
    // how far a nudge moves a loop mark
    double nudgeSeconds;
    std::function<QString()> dictionaryLanguage = [] { return QString(); };
    RecentLessonsMenu *recentMenu = nullptr; // child
};
