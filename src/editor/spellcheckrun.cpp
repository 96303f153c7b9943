#include "editor/spellcheckrun.h"

#include "paths/apppaths.h"
#include "spelling/ctextcheckeredit.h"
#include "spelling/spellcheckdialog.h"

#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>

namespace {

// How long one batch of the walk may hold the event loop.
constexpr qint64 batchMs = 10;

} // namespace

SpellCheckRun::SpellCheckRun(CTextCheckerEdit *text_, QWidget *window_)
    : QObject(window_), text(text_), window(window_),
      engine(SpellingEngine::programDictionary(text_->dictionaryLanguage()),
             AppPaths::userDictionary()),
      walk(text_->document(), engine),
      // The dialog is a child of the window, for its place on screen, and dies with the run,
      // which the window deletes first: the run was its child before the dialog was.
      dialog(std::make_unique<SpellCheckDialog>(&engine, window_)),
      editingCursor(text_->textCursor())
{
    connect(dialog.get(), &SpellCheckDialog::newDictSig, text, &CTextCheckerEdit::addToDictionaryS);
    QTimer::singleShot(0, this, &SpellCheckRun::walkBatch);
}

SpellCheckRun::~SpellCheckRun() = default;

void SpellCheckRun::walkBatch()
{
    QElapsedTimer batch;
    batch.start();
    for (;;) {
        const SpellCheckWalk::Step step = walk.step();
        if (step == SpellCheckWalk::Step::End) {
            finish();
            return;
        }
        if (step == SpellCheckWalk::Step::Ask) {
            if (!ask()) {
                finish();
                return;
            }
            break;
        }
        if (batch.hasExpired(batchMs))
            break;
    }
    QTimer::singleShot(0, this, &SpellCheckRun::walkBatch);
}

bool SpellCheckRun::ask()
{
    QTextCharFormat highlight;
    highlight.setBackground(QColor(QStringLiteral("#ff6060")));
    highlight.setForeground(QColor(QStringLiteral("#000000")));

    // The editing cursor goes to the word: the dialog's "add to dictionary" takes the word
    // under it.
    const QTextCursor word = walk.word();
    QTextCursor at(text->document());
    at.setPosition(word.selectionStart());
    text->setTextCursor(at);
    text->ensureCursorVisible();
    text->setExtraSelections({{word, highlight}});

    const SpellCheckAction action = dialog->checkWord(word.selectedText());
    text->setExtraSelections({});
    if (action == SpellCheckAction::CheckCancelled)
        return false;
    if (action == SpellCheckAction::ReplaceAll)
        walk.replaceAll(dialog->replacementText());
    else if (action == SpellCheckAction::ReplaceOnce)
        walk.replace(dialog->replacementText());
    return true;
}

void SpellCheckRun::finish()
{
    text->setTextCursor(editingCursor);
    emit walked();
    QMessageBox::information(window, tr("Finished"), tr("The spell check has finished."),
                             QMessageBox::Ok);
    deleteLater();
}
