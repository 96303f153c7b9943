#pragma once

#include <QDialog>
#include <QString>

#include <memory>

class SpellingEngine;

namespace Ui {
class SpellCheckDialog;
}

// The answer to one question of the document spell check.
enum class SpellCheckAction
{
    CheckCancelled = 0, // stop the check (cancel, the window's close button, Escape)
    IgnoreOnce = 1,     // leave this occurrence
    IgnoreAll = 2,      // leave this and every later occurrence in this run
    ReplaceOnce = 3,    // replace this occurrence by replacementText()
    ReplaceAll = 4,     // replace this and every later occurrence in this run, without asking
    AddToDict = 5       // the word went to the user dictionary through newDictSig()
};

// Modal question about one word the spelling engine rejects: shows the word, the engine's
// suggestions and an editable replacement, and answers with a SpellCheckAction. Its widgets
// come from the form spellcheckdialog.ui and are owned through the parent tree; the engine
// belongs to the check that runs the dialog and must outlive it. GUI thread only.
class SpellCheckDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SpellCheckDialog)

public:
    SpellCheckDialog(SpellingEngine *engine, QWidget *parent = nullptr);
    ~SpellCheckDialog() override;

    // Asks about word modally and returns the learner's answer.
    SpellCheckAction checkWord(const QString &word);
    QString replacementText() const;

signals:
    // The learner chose to add the word to the user dictionary.
    void newDictSig();

public slots:
    void ignoreOnce();
    // Also makes the engine accept the word, so the rest of the run skips it.
    void ignoreAll();
    void replaceOnce();
    void replaceAll();
    // Also makes the engine accept the word, so the rest of the run skips it.
    void addToDict();

private:
    void answer(SpellCheckAction action);

    std::unique_ptr<Ui::SpellCheckDialog> ui;
    SpellingEngine *engine;
    QString unknownWord;
    SpellCheckAction resultCode = SpellCheckAction::CheckCancelled;
};
