#pragma once

#include <QCoreApplication>
#include <QString>

class QTextEdit;
class QWidget;
struct TranscriptDocument;

// The file behind the editor's document: loading, saving and Save As, which lesson's
// transcript the document is (by TranscriptRules), the switch to a lesson's transcript when
// the player opens a media file, and the question before unsaved typing is replaced or the
// program ends. Shows the file's name in the window title. Borrows the window (the parent
// of its dialogs) and the text widget, which outlive it. GUI thread only.
class DocumentFile final
{
    Q_DECLARE_TR_FUNCTIONS(DocumentFile)
    Q_DISABLE_COPY_MOVE(DocumentFile)

public:
    DocumentFile(QWidget *window, QTextEdit *text);

    // Loads the file at path as the document; false when it cannot be read.
    bool load(const QString &path);
    // An empty untitled document, once unsaved typing is saved or given up.
    void startUntitled();
    // Asks for a file and opens it as open() does.
    void chooseAndOpen();
    // The editor's File > Open and a document handed over: TextEdit::openDocument().
    bool open(const QString &path, const QString &withLesson);
    // Saves to the document's file, or as save as when it has none; a failure is shown.
    bool save();
    // Asks for a file name (".html" added to one of no known format) and saves there.
    bool saveAs();
    // The media file at mediaPath becomes the lesson: TextEdit::fileSaveDefault().
    bool switchToLesson(const QString &mediaPath);
    // TextEdit::saveBeforeQuit() and settleBeforeQuit().
    void saveBeforeQuit();
    bool settleBeforeQuit();
    // Before the document is replaced or closed: asks whether to save unsaved typing. False
    // when the learner cancels or the save fails.
    bool confirmDiscardOrSave();

private:
    void setFileName(const QString &path);
    // Writes the document to path in the format its suffix names, replacing the file only
    // once the whole document is written; on failure *reason says why.
    bool write(const QString &path, QString *reason) const;
    // Writes to the current file: clears the modified flag on success and sets it on failure.
    bool saveQuietly(QString *reason);
    // The document's state as the transcript rules read it.
    TranscriptDocument state() const;

    QWidget *window;
    QTextEdit *text;
    QString fileName;
    // The media file (absolute path) whose transcript the document is; empty for any other
    // document.
    QString lessonMedia;
    // The media file (absolute path) handed over together with the document; emptied
    // whenever the document changes.
    QString handedWith;
};
