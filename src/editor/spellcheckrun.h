#pragma once

#include "editor/spellcheckwalk.h"
#include "spelling/spellingengine.h"

#include <QObject>
#include <QTextCursor>

#include <memory>

class CTextCheckerEdit;
class QWidget;
class SpellCheckDialog;

// One run of the document spell check. The walk advances from the event loop, a batch of a
// few milliseconds per turn, so the editor keeps painting and taking input; it stops at
// each word the engine rejects, highlights it and asks about it in the spell-check dialog,
// and ends with the "Finished" box and the editing cursor back where it was. Owns the run's
// engine, walk and dialog. A child of the editor window that deletes itself once the run
// ends; borrows the text widget. GUI thread only.
class SpellCheckRun final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SpellCheckRun)

public:
    // Starts walking text's document on the next turn of the event loop; window is the
    // parent of the run and of its dialogs.
    SpellCheckRun(CTextCheckerEdit *text, QWidget *window);
    ~SpellCheckRun() override;

signals:
    // The walk is over, answered to the end or cancelled; the "Finished" box comes next.
    void walked();

private:
    // Walks on until the end, a question or the end of the batch.
    void walkBatch();
    // Asks about the word the walk stopped at and applies the answer; false when the learner
    // cancels the run.
    bool ask();
    void finish();

    CTextCheckerEdit *text;
    QWidget *window;
    // A fresh engine reads the user dictionary as it is now; the run's "ignore all" and "add
    // to dictionary" words are added to it and end with the run.
    SpellingEngine engine;
    SpellCheckWalk walk;
    // Destroyed before the engine it asks.
    std::unique_ptr<SpellCheckDialog> dialog;
    const QTextCursor editingCursor;
};
