#pragma once

#include "cards/deckexport.h"

#include <QObject>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#include <thread>
#include <vector>

namespace lesson {
class LessonStore;
}
class QWidget;

// Exports the learner's review items as a deck of flashcards: asks where, looks the words
// up, then writes the deck on a thread of its own behind a progress dialog that can cancel
// it, and says how it went. Lives in the GUI thread as a child of the window it was started
// over and deletes itself when done; going sooner (with its window), it cancels the writing
// and joins its thread.
class ReviewExport final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReviewExport)

public:
    // Asks for the deck file and starts writing it, the words said in the accent of the
    // spelling dictionary dictionaryLanguage; says so instead when there are no review items.
    // GUI thread only.
    static void start(lesson::LessonStore &store, const QString &dictionaryLanguage,
                      QWidget *parent);
    ~ReviewExport() override;

private:
    ReviewExport(QWidget *parent, std::vector<lesson::ReviewItem> items, cards::WordNotes notes,
                 speech::Voice voice, QString deckFile);
    // Shows how far the writing is; once it is over, joins it and tells the learner.
    void poll();

    const QString deckFile;
    QWidget *const window;
    // a child of window that goes with this object, which goes before it
    QProgressDialog progress;
    // poll() is under way: a modal progress dialog handles events while it is updated
    bool polling = false;
    QTimer poller;
    // the items written so far: written by the worker, read by the GUI thread
    std::atomic<int> done{0};
    // set by the GUI thread, polled by the worker
    std::atomic<bool> cancel{false};
    // set by the worker as its last act
    std::atomic<bool> over{false};
    // the worker's until it is joined, the GUI thread's after
    cards::DeckResult result;
    std::thread worker;
};
