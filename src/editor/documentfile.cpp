#include "editor/documentfile.h"

#include "editor/documentbytes.h"
#include "editor/transcriptrules.h"

#include <QBuffer>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>
#include <QTextDocumentWriter>
#include <QTextEdit>

#include <cerrno>

DocumentFile::DocumentFile(QWidget *window_, QTextEdit *text_) : window(window_), text(text_)
{
    setFileName(QString());
}

TranscriptDocument DocumentFile::state() const
{
    return {fileName, lessonMedia, text->document()->isModified(), handedWith};
}

bool DocumentFile::load(const QString &path)
{
    if (!QFile::exists(path))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    loadDocumentBytes(*text, file.readAll());
    setFileName(path);
    return true;
}

void DocumentFile::setFileName(const QString &path)
{
    fileName = path;
    lessonMedia = TranscriptRules::lessonOf(path);
    handedWith.clear();
    text->document()->setModified(false);
    const QString shown = path.isEmpty() ? tr("untitled.html") : QFileInfo(path).fileName();
    window->setWindowTitle(tr("%1[*] - %2").arg(shown, tr("Rich Text")));
    window->setWindowModified(false);
}

bool DocumentFile::confirmDiscardOrSave()
{
    if (!text->document()->isModified() || fileName.startsWith(QLatin1String(":/")))
        return true;
    const QMessageBox::StandardButton answer = QMessageBox::warning(
        window, tr("Application"),
        tr("The document has been modified.\nDo you want to save your changes?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    if (answer == QMessageBox::Save)
        return save();
    return answer != QMessageBox::Cancel;
}

void DocumentFile::startUntitled()
{
    if (!confirmDiscardOrSave())
        return;
    text->clear();
    setFileName(QString());
}

void DocumentFile::chooseAndOpen()
{
    const QString path = QFileDialog::getOpenFileName(
        window, tr("Open File..."), QString(), tr("HTML-Files (*.htm *.html);;All Files (*)"));
    if (!path.isEmpty())
        open(path, QString());
}

bool DocumentFile::open(const QString &path, const QString &withLesson)
{
    // Loading replaces the document, so unsaved typing is offered for saving first.
    if (!confirmDiscardOrSave())
        return false;
    if (load(path)) {
        if (!withLesson.isEmpty())
            handedWith = QFileInfo(withLesson).absoluteFilePath();
        return true;
    }
    QMessageBox::warning(window, tr("Application"),
                         tr("Cannot open %1.").arg(QDir::toNativeSeparators(path)));
    return false;
}

bool DocumentFile::write(const QString &path, QString *reason) const
{
    QBuffer buffer;
    QTextDocumentWriter writer(&buffer, QFileInfo(path).suffix().toLower().toLatin1());
    if (!writer.write(text->document())) {
        *reason = tr("Documents can be saved as .html, .htm, .odt or .txt files.");
        return false;
    }
    // The old file stays whole until the new one is complete. Unbuffered, a short write (a
    // full disk) shows in write()'s count, where Qt's write buffer could flush part of the
    // bytes at commit() and still keep the file. A short write leaves Qt's error unset, so
    // the system's reason is taken from the failing call.
    QSaveFile file(path);
    errno = 0;
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
        file.write(buffer.data()) == buffer.size() && file.commit())
        return true;
    *reason = errno != 0 ? qt_error_string(errno) : file.errorString();
    return false;
}

bool DocumentFile::saveQuietly(QString *reason)
{
    QTextDocument *doc = text->document();
    if (write(fileName, reason)) {
        doc->setModified(false);
        return true;
    }
    // Unsaved text stays marked, so the save prompt still guards it.
    doc->setModified(true);
    return false;
}

bool DocumentFile::save()
{
    if (fileName.isEmpty())
        return saveAs();
    QString reason;
    if (saveQuietly(&reason))
        return true;
    QMessageBox::warning(
        window, tr("Application"),
        tr("Cannot save the document as %1:\n%2").arg(QDir::toNativeSeparators(fileName), reason));
    return false;
}

bool DocumentFile::saveAs()
{
    QString path = QFileDialog::getSaveFileName(
        window, tr("Save as..."), QString(),
        tr("Rich text (*.rtf);;Text files (*.txt);;ODF files (*.odt);;HTML-Files (*.htm "
           "*.html);;All Files (*)"));
    if (path.isEmpty())
        return false;
    const QString lower = path.toLower();
    if (!lower.endsWith(QLatin1String(".txt")) && !lower.endsWith(QLatin1String(".odt")) &&
        !lower.endsWith(QLatin1String(".htm")) && !lower.endsWith(QLatin1String(".html")))
        path += QLatin1String(".html");
    setFileName(path);
    return save();
}

void DocumentFile::saveBeforeQuit()
{
    if (!TranscriptRules::savesToOwnFile(state()))
        return;
    QString reason;
    if (!saveQuietly(&reason))
        qWarning("Could not save %s at the end: %s", qPrintable(fileName), qPrintable(reason));
}

bool DocumentFile::settleBeforeQuit()
{
    QTextDocument *doc = text->document();
    if (!doc->isModified())
        return true;
    QString reason;
    if (TranscriptRules::savesToOwnFile(state()) && saveQuietly(&reason))
        return true;
    if (!confirmDiscardOrSave())
        return false;
    // saved or discarded: the windows' closing must not ask again
    doc->setModified(false);
    return true;
}

bool DocumentFile::switchToLesson(const QString &mediaPath)
{
    QString reason;
    if (TranscriptRules::savesToOwnFile(state()) && !saveQuietly(&reason)) {
        qWarning() << "Transcript not switched to" << mediaPath + QLatin1String(".html")
                   << "- cannot save" << fileName << ":" << reason;
        return false;
    }

    const LessonSwitch to = TranscriptRules::switchTo(mediaPath, state());
    switch (to.then) {
    case LessonSwitch::Then::KeepUntitled:
        setFileName(QString());
        text->document()->setModified(true);
        return false;
    case LessonSwitch::Then::LoadTranscript:
        if (!load(to.transcript)) {
            qWarning() << "Cannot read the transcript" << to.transcript;
            return false;
        }
        lessonMedia = to.media;
        return true;
    case LessonSwitch::Then::StartTranscript:
        break;
    }
    if (to.clear)
        text->clear();
    setFileName(to.transcript);
    lessonMedia = to.media;
    if (saveQuietly(&reason))
        return true;
    qWarning() << "Cannot save the transcript" << to.transcript << ":" << reason;
    return false;
}
