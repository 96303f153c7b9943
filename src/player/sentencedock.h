#pragma once

#include <QDockWidget>

class LessonController;
class QAction;
class QMainWindow;
class SentenceList;

// The sentence list beside the main window: shown while the lesson has sentences or is
// being searched for them, unless the learner turned it off with listAction(). Docked, the
// window grows by the list's width, so the picture keeps its size, and gives it back when
// the list goes. GUI thread only.
class SentenceDock final : public QDockWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SentenceDock)

public:
    // Docks itself on window; lesson outlives the dock.
    SentenceDock(LessonController &lesson, QMainWindow &window);

    SentenceList *list() const { return sentenceList; }
    // Turns the list on and off; greyed out while there is nothing to list.
    QAction *listAction() const { return sentenceListAction; }
    // How much wider the window is for the list.
    int widthTaken() const { return widthForSentences; }

private:
    void follow();

    LessonController &lesson_;
    QMainWindow &window_;
    SentenceList *sentenceList = nullptr;
    QAction *sentenceListAction = nullptr;
    // How wide the list opens.
    static constexpr int sentenceListWidth = 240;
    int widthForSentences = 0;
};
