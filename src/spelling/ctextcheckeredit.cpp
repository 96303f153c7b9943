#include "spelling/ctextcheckeredit.h"

#include "paths/apppaths.h"
#include "spelling/ctextsyntaxhighlighter.h"
#include "spelling/spellingengine.h"
#include "spelling/wordsegmentation.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QTextBlock>

#include <memory>

namespace {
std::unique_ptr<SpellingEngine> &engineSlot()
{
    static std::unique_ptr<SpellingEngine> engine;
    return engine;
}
} // namespace

CTextCheckerEdit::CTextCheckerEdit(QWidget *parent, const QString &initialLanguage)
    : QTextEdit(parent), language(initialLanguage)
{
    actionCopy = new QAction(tr("&Copy"), this);
    actionCopy->setShortcut(QKeySequence::Copy);
    actionCopy->setEnabled(false);
    connect(actionCopy, &QAction::triggered, this, &QTextEdit::copy);
    connect(this, &QTextEdit::copyAvailable, actionCopy, &QAction::setEnabled);

    actionCut = new QAction(tr("&Cut"), this);
    actionCut->setShortcut(QKeySequence::Cut);
    actionCut->setEnabled(false);
    connect(actionCut, &QAction::triggered, this, &QTextEdit::cut);
    connect(this, &QTextEdit::copyAvailable, actionCut, &QAction::setEnabled);

    actionPaste = new QAction(tr("&Paste"), this);
    actionPaste->setShortcut(QKeySequence::Paste);
    connect(actionPaste, &QAction::triggered, this, &QTextEdit::paste);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &CTextCheckerEdit::clipboardDataChanged);
    clipboardDataChanged();

    engineSlot() = std::make_unique<SpellingEngine>(SpellingEngine::programDictionary(language),
                                                    AppPaths::userDictionary());

    actionAddToDictionary = new QAction(tr("Add to dictionary"), this);
    connect(actionAddToDictionary, &QAction::triggered, this, &CTextCheckerEdit::addToDictionary);

    highlighter = new CTextSyntaxHighlighter(document());
}

SpellingEngine *CTextCheckerEdit::sharedEngine()
{
    return engineSlot().get();
}

void CTextCheckerEdit::setDictionaryLanguage(const QString &newLanguage)
{
    if (newLanguage == language)
        return;
    language = newLanguage;
    engineSlot() = std::make_unique<SpellingEngine>(SpellingEngine::programDictionary(language),
                                                    AppPaths::userDictionary());
    highlighter->rehighlight();
}

void CTextCheckerEdit::replaceWord()
{
    if (const auto *action = qobject_cast<const QAction *>(sender()))
        insertPlainText(action->data().toString());
}

void CTextCheckerEdit::addToDictionary()
{
    sharedEngine()->addToUserDictionary(contextWord);
    insertPlainText(contextWord);
    // Every other occurrence of the word loses its mark too, not only this block's.
    highlighter->rehighlight();
}

void CTextCheckerEdit::addToDictionaryS()
{
    contextWord = selectWordAt(textCursor());
    addToDictionary();
}

QString CTextCheckerEdit::selectWordAt(QTextCursor cursor)
{
    const QTextBlock block = cursor.block();
    const WordSpan word = wordAt(block.text(), cursor.position() - block.position());
    if (word.isValid()) {
        cursor.setPosition(block.position() + int(word.start));
        cursor.setPosition(block.position() + int(word.end()), QTextCursor::KeepAnchor);
    } else {
        cursor.clearSelection();
    }
    setTextCursor(cursor);
    return cursor.selectedText();
}

void CTextCheckerEdit::clipboardDataChanged()
{
    actionPaste->setEnabled(!QGuiApplication::clipboard()->text().isEmpty());
}

void CTextCheckerEdit::contextMenuEvent(QContextMenuEvent *event)
{
    // A selection the learner made is kept; otherwise the word under the pointer is picked,
    // and only a picked word gets suggestions and "Add to dictionary".
    contextWord.clear();
    if (!textCursor().hasSelection())
        contextWord = selectWordAt(cursorForPosition(event->pos()));

    // The suggestion entries belong to the menu and go with it once it has closed.
    QMenu menu(this);
    menu.addAction(actionCopy);
    menu.addAction(actionCut);
    menu.addAction(actionPaste);
    menu.addSeparator();
    QFont bold = menu.font();
    bold.setBold(true);
    const QStringList suggestions =
        contextWord.isEmpty() ? QStringList() : sharedEngine()->suggestionsFor(contextWord);
    for (const QString &suggestion : suggestions) {
        // The text is shown with '&' doubled so that it is not read as a mnemonic; the
        // suggestion itself travels in the action's data.
        QAction *entry =
            menu.addAction(QString(suggestion).replace(QLatin1Char('&'), QLatin1String("&&")));
        entry->setData(suggestion);
        entry->setFont(bold);
        connect(entry, &QAction::triggered, this, &CTextCheckerEdit::replaceWord);
    }
    if (!contextWord.isEmpty()) {
        menu.addSeparator();
        menu.addAction(actionAddToDictionary);
    }
    menu.exec(event->globalPos());
}
