#pragma once

#include <QTextEdit>

class CTextSyntaxHighlighter;
class QAction;
class SpellingEngine;

// Rich-text edit that underlines misspelled words as they are typed and offers copy, cut,
// paste, Hunspell's suggestions and "Add to dictionary" in its context menu. Owns its
// actions; its highlighter belongs to its document. Each construction replaces the
// process-wide shared engine, which lives until the program ends. GUI thread only.
class CTextCheckerEdit final : public QTextEdit
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CTextCheckerEdit)

public:
    // Builds the shared engine from the program dictionary of initialLanguage (American or
    // British English) and the user dictionary.
    explicit CTextCheckerEdit(QWidget *parent = nullptr,
                              const QString &initialLanguage = QStringLiteral("en_US"));

    // The engine of the newest checking edit, used by every highlighter; null before one.
    static SpellingEngine *sharedEngine();

    // The language of the program dictionary in use.
    QString dictionaryLanguage() const { return language; }
    // Replaces the shared engine by one for newLanguage and marks the document afresh.
    void setDictionaryLanguage(const QString &newLanguage);

public slots:
    // Replaces the selection by the suggestion of the action that sent the signal.
    void replaceWord();
    // Adds the context menu's word to the user dictionary and takes its marks away.
    void addToDictionary();
    // Like addToDictionary() for the word under the cursor (the spell-check dialog's add).
    void addToDictionaryS();
    void clipboardDataChanged();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // Selects the word at cursor in the edit, as the underlining and the document check
    // see it, and returns it (empty between words).
    QString selectWordAt(QTextCursor cursor);

    CTextSyntaxHighlighter *highlighter;
    QAction *actionCut;
    QAction *actionCopy;
    QAction *actionPaste;
    QAction *actionAddToDictionary;
    // The word the last context menu was opened on; empty when a selection was kept.
    QString contextWord;
    QString language;
};
