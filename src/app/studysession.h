#pragma once

#include <QObject>
#include <QStringList>

#include <memory>

class EditorLink;
class LessonController;
class PreferencesKeeper;
class TextEdit;
class TrayIcon;
class Vk;
namespace lesson {
class LessonStore;
}
namespace speech {
class WordSpeaker;
}

// The program's long-lived parts and how they are wired: the lesson, the player window
// (Vk) and the editor window (TextEdit), the link between them, the tray icon, the
// learner's preferences and the voice that says the words the learner asks to hear. It owns
// them all; the windows only show and forward. GUI thread only.
class StudySession final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StudySession)

public:
    StudySession();
    ~StudySession() override;

    LessonController *lesson() const { return lesson_.get(); }
    Vk *player() const { return player_.get(); }
    TextEdit *editor() const { return editor_.get(); }
    EditorLink *editorLink() const { return link.get(); }
    TrayIcon *tray() const { return tray_.get(); }
    PreferencesKeeper *preferences() const { return preferences_.get(); }
    speech::WordSpeaker *speaker() const { return speaker_.get(); }

    // The memory of the lessons, handed to the lesson; what the store has to say about its
    // opening (a damaged database moved aside) is shown once the player is up.
    void setLessonStore(std::unique_ptr<lesson::LessonStore> store);
    // Shows the player, then opens files once it is up, so any message about them has it
    // to sit on.
    void start(const QStringList &files);
    // Files a later copy of the program handed over: the player comes to the front and
    // opens them.
    void openHandedOver(const QStringList &files);

private:
    // Says word in the accent of the editor's spelling dictionary, never over the lesson: a
    // lesson that plays stops first, and stays stopped for the learner to play on.
    void hearWord(const QString &word);

    // Declared in the order they are made; they go in reverse, the windows before the
    // lesson they show.
    std::unique_ptr<TextEdit> editor_;
    std::unique_ptr<LessonController> lesson_;
    std::unique_ptr<Vk> player_;
    std::unique_ptr<EditorLink> link;
    std::unique_ptr<TrayIcon> tray_;
    std::unique_ptr<PreferencesKeeper> preferences_;
    std::unique_ptr<speech::WordSpeaker> speaker_;
};
