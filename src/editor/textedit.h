#pragma once

#include "diff/transcriptcheck.h"
#include "diff/wordcheck.h"

#include <QKeySequence>
#include <QMainWindow>

#include <memory>

class CTextCheckerEdit;
class DocumentFile;
class Homophones;
class PhoneticDialog;
class QAction;
class QActionGroup;
class QKeyEvent;
class QPrinter;
class QToolBar;
class WordCheckDialog;

// The dictation editor: a top-level window around one rich-text document in a
// CTextCheckerEdit, with file, edit, formatting and study-tools toolbars, and the player's
// keys forwarded to the player. Its document's file (the transcript beside each media file
// the player opens) is a DocumentFile it owns; the formatting toolbars are FormatActions and
// a spell check is a SpellCheckRun, children of the window like its actions, toolbars, text
// widget and study windows. GUI thread only.
class TextEdit final : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TextEdit)

public:
    explicit TextEdit(QWidget *parent = nullptr);
    ~TextEdit() override;

    // The document the editor shows when it starts: the practice guide.
    static QString defaultDocument();

    // The learner's text to check against a sentence: the selection, else the plain text of
    // the paragraph at the cursor.
    QString checkText() const;

    // The keys of the player's commands: the editor hands each one over to the player
    // (keyDelegate) instead of acting on it, except the keys it types, moves or edits
    // with, which a learner in the text needs.
    void setPlayerKeys(const QList<QKeyCombination> &keys);
    // Whether a key pressed in the editor goes to the player.
    bool forwards(QKeyCombination key) const;
    // The keys of the editor's own commands, each with the command's name.
    QList<std::pair<QKeySequence, QString>> ownShortcuts() const;

    // The spelling dictionary of the underlining and the document check ("en_US" or
    // "en_GB"), kept for the next start.
    QString dictionaryLanguage() const;
    void setDictionaryLanguage(const QString &language);

signals:
    // A key for the player, one of those setPlayerKeys() named
    // (QKeyCombination::toCombined()).
    void keyDelegate(int key);
    // Files were dropped on the editor; the player decides what each one is.
    void filesDropped(const QStringList &files);
    // The learner asked to hear word, in a lookup window or the word check; whoever owns the
    // sound says it.
    void hearRequested(const QString &word);

public slots:
    // Starts the document spell check and returns: the run walks the document from the
    // event loop and asks about every word the spelling engine rejects, one run at a time.
    void checkSpelling();
    // Each call opens one more modeless lookup or comparison window, a child of the editor.
    void lookupPhonetic();
    void diffText();
    // Opens one more lookup window, searching for word.
    void lookUpWord(const QString &word);

    void fileNew();
    void fileOpen();
    // Loads the document at path as File > Open does, unsaved typing offered for saving
    // first; false (with a message when the file cannot be read) when it is not loaded.
    // withLesson: the media file handed over together with it, whose transcript it starts
    // when that lesson has none yet.
    bool openDocument(const QString &path, const QString &withLesson = QString());
    bool fileSave();
    bool fileSaveAs();
    // Makes the document the transcript of the media file at path, saved as path + ".html".
    bool fileSaveDefault(const QString &path);
    // Quietly writes pending changes of a transcript that has its own file: the program
    // can end from the tray or by a signal, where no save prompt can be asked.
    void saveBeforeQuit();
    // Before the learner ends the program: typing in a document with a file of its own is
    // saved there, as a lesson switch saves it; untitled typing (or a save that fails) is
    // asked about. False when the learner cancels, and then nothing may close.
    bool settleBeforeQuit();
    void filePrint();
    void filePrintPreview();
    void filePrintPdf();

    void clipboardDataChanged();
    void printPreview(QPrinter *printer);

    // Shows check in the editor's one word-check window, opened on first use; a click on a
    // missed word there opens the phonetic lookup for it.
    void showWordCheck(const WordCheck &check);
    // Scores the stretch of checkText() that best matches reference word by word (without a
    // selection, within the part of the paragraph around the cursor; words that sound the
    // same by the dictionary count as misspelt), shows the result as showWordCheck does, and
    // gives the check.
    WordCheck checkAgainst(const QString &reference);
    // Checks the document's whole text against the sentences in order, as checkTranscript()
    // does, with words that sound the same by the dictionary counted as misspelt.
    QList<SentenceCheck> checkWholeText(const QStringList &sentences);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    // Takes drops of files from the text widget, which would insert their names as text, and
    // the player's keys before the text acts on them.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setupFileActions();
    void setupEditActions();
    void setupStudyActions();
    void setupDictionaryMenu(QToolBar *tb);
    // Hands a key press over to the player when it is one of its keys.
    bool forwardKey(const QKeyEvent *event);
    // One more lookup window, not shown yet, whose requests to hear a word are the editor's.
    PhoneticDialog *openLookup();

    QAction *actionSave = nullptr;
    QAction *actionUndo = nullptr;
    QAction *actionRedo = nullptr;
    QAction *actionCut = nullptr;
    QAction *actionCopy = nullptr;
    QAction *actionPaste = nullptr;
    QAction *actionSpellCheck = nullptr;
    // the dictionary choices of the spell-check button's menu
    QActionGroup *dictionaryChoices = nullptr;
    QList<QKeyCombination> playerKeys;
    QAction *actionPhoneticLookup = nullptr;
    QAction *actionDiffText = nullptr;
    CTextCheckerEdit *textEdit = nullptr;
    std::unique_ptr<DocumentFile> file;
    WordCheckDialog *wordCheck = nullptr;
    std::unique_ptr<Homophones> homophones;
};
