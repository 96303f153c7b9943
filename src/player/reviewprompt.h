#pragma once

#include <QObject>
#include <QString>

class LessonController;
class PlayerKeys;
class QMenu;
class QWidget;
namespace lesson {
struct ReviewSummary;
}

// The player's side of a review session: its menu entry naming the items due, starting and
// ending it, and telling its notes and its summary over the window. GUI thread only.
class ReviewPrompt final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReviewPrompt)

public:
    // lesson and window outlive the prompt.
    ReviewPrompt(LessonController &lesson, QWidget &window);

    // "Review (N due)..." while no session runs, else an entry that ends it, with its key.
    void addToMenu(QMenu &menu, const PlayerKeys &keys);
    // Starts a session over today's due items, or ends the one running.
    void toggle();
    // The next review sentence while a session runs, else the drill's next sentence.
    void next();

private:
    // The summary as the learner reads it.
    static QString summaryText(const lesson::ReviewSummary &summary);
    // Shows message over the window without waiting for an answer.
    void tell(const QString &message);

    LessonController &lesson_;
    QWidget &window_;
};
