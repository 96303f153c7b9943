#include "editor/textedit.h"

#include "diff/diffdialog.h"
#include "diff/wordcheckdialog.h"
#include "editor/actionicon.h"
#include "editor/documentfile.h"
#include "editor/droppedfiles.h"
#include "editor/formatactions.h"
#include "editor/keyforwarding.h"
#include "editor/spellcheckrun.h"
#include "paths/apppaths.h"
#include "phonetic/homophones.h"
#include "phonetic/phoneticdialog.h"
#include "skin/qskinobject.h"
#include "spelling/ctextcheckeredit.h"
#include "spelling/spellingengine.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSettings>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QToolBar>
#include <QToolButton>

#include <memory>
#include <utility>

namespace {

// The editor's remembered choices, in the learner's configuration folder.
const QString dictionaryKey = QStringLiteral("spelling/dictionary");

std::unique_ptr<QSettings> editorSettings()
{
    return std::make_unique<QSettings>(QStringLiteral("vorlynplayer"), QStringLiteral("editor"));
}

} // namespace

TextEdit::TextEdit(QWidget *parent)
    : QMainWindow(parent), homophones(std::make_unique<Homophones>())
{
    setToolButtonStyle(Qt::ToolButtonFollowStyle);

    // The actions of the toolbars drive the text widget, so it exists before them.
    const bool british =
        editorSettings()->value(dictionaryKey).toString() == SpellingEngine::British;
    textEdit =
        new CTextCheckerEdit(this, british ? SpellingEngine::British : SpellingEngine::American);
    file = std::make_unique<DocumentFile>(this, textEdit);
    setupFileActions();
    setupEditActions();
    new FormatActions(this, textEdit);
    setupStudyActions();

    setCentralWidget(textEdit);
    textEdit->installEventFilter(this);
    textEdit->setFocus();

    QTextDocument *doc = textEdit->document();
    connect(doc, &QTextDocument::modificationChanged, actionSave, &QAction::setEnabled);
    connect(doc, &QTextDocument::modificationChanged, this, &QWidget::setWindowModified);
    connect(doc, &QTextDocument::undoAvailable, actionUndo, &QAction::setEnabled);
    connect(doc, &QTextDocument::redoAvailable, actionRedo, &QAction::setEnabled);
    setWindowModified(doc->isModified());
    actionSave->setEnabled(doc->isModified());
    actionUndo->setEnabled(doc->isUndoAvailable());
    actionRedo->setEnabled(doc->isRedoAvailable());

    connect(actionUndo, &QAction::triggered, textEdit, &QTextEdit::undo);
    connect(actionRedo, &QAction::triggered, textEdit, &QTextEdit::redo);
    actionCut->setEnabled(false);
    actionCopy->setEnabled(false);
    connect(actionCut, &QAction::triggered, textEdit, &QTextEdit::cut);
    connect(actionCopy, &QAction::triggered, textEdit, &QTextEdit::copy);
    connect(actionPaste, &QAction::triggered, textEdit, &QTextEdit::paste);
    connect(textEdit, &QTextEdit::copyAvailable, actionCut, &QAction::setEnabled);
    connect(textEdit, &QTextEdit::copyAvailable, actionCopy, &QAction::setEnabled);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            &TextEdit::clipboardDataChanged);

    if (!file->load(defaultDocument()))
        fileNew();
    setAcceptDrops(true);
    textEdit->viewport()->installEventFilter(this);

    // A child of the window, living as long as it.
    (new QSkinObject(this))->startSkinning();
}

TextEdit::~TextEdit() = default;

QString TextEdit::defaultDocument()
{
    return AppPaths::defaultDocument();
}

void TextEdit::setupFileActions()
{
    auto *tb = new QToolBar(tr("File Actions"), this);
    addToolBar(tb);

    auto *a =
        new QAction(actionIcon(QStringLiteral("document-new"), QStringLiteral("/filenew.png")),
                    tr("&New"), this);
    a->setPriority(QAction::LowPriority);
    a->setShortcut(QKeySequence::New);
    connect(a, &QAction::triggered, this, &TextEdit::fileNew);
    tb->addAction(a);

    a = new QAction(actionIcon(QStringLiteral("document-open"), QStringLiteral("/fileopen.png")),
                    tr("&Open..."), this);
    a->setShortcut(QKeySequence::Open);
    connect(a, &QAction::triggered, this, &TextEdit::fileOpen);
    tb->addAction(a);

    actionSave =
        new QAction(actionIcon(QStringLiteral("document-save"), QStringLiteral("/filesave.png")),
                    tr("&Save"), this);
    actionSave->setShortcut(QKeySequence::Save);
    actionSave->setEnabled(false);
    connect(actionSave, &QAction::triggered, this, &TextEdit::fileSave);
    tb->addAction(actionSave);

    a = new QAction(tr("Save &As..."), this);
    a->setPriority(QAction::LowPriority);
    connect(a, &QAction::triggered, this, &TextEdit::fileSaveAs);

    a = new QAction(actionIcon(QStringLiteral("document-print"), QStringLiteral("/fileprint.png")),
                    tr("&Print..."), this);
    a->setPriority(QAction::LowPriority);
    a->setShortcut(QKeySequence::Print);
    connect(a, &QAction::triggered, this, &TextEdit::filePrint);
    tb->addAction(a);

    a = new QAction(actionIcon(QStringLiteral("fileprint"), QStringLiteral("/fileprint.png")),
                    tr("Print Preview..."), this);
    connect(a, &QAction::triggered, this, &TextEdit::filePrintPreview);

    a = new QAction(actionIcon(QStringLiteral("exportpdf"), QStringLiteral("/exportpdf.png")),
                    tr("&Export PDF..."), this);
    a->setPriority(QAction::LowPriority);
    a->setShortcut(Qt::CTRL | Qt::Key_D);
    connect(a, &QAction::triggered, this, &TextEdit::filePrintPdf);
    tb->addAction(a);

    a = new QAction(tr("&Quit"), this);
    a->setShortcut(Qt::CTRL | Qt::Key_Q);
    connect(a, &QAction::triggered, this, &QWidget::close);
    // On no toolbar, its shortcut works only as an action of the window itself.
    addAction(a);
}

void TextEdit::setupEditActions()
{
    auto *tb = new QToolBar(tr("Edit Actions"), this);
    addToolBar(tb);

    const auto make = [this, tb](const char *theme, const char *image, const QString &text,
                                 QKeySequence::StandardKey key, bool lowPriority) {
        auto *a = new QAction(
            actionIcon(QLatin1String(theme), QLatin1Char('/') + QLatin1String(image)), text, this);
        a->setShortcut(key);
        if (lowPriority)
            a->setPriority(QAction::LowPriority);
        tb->addAction(a);
        return a;
    };
    actionUndo = make("edit-undo", "editundo.png", tr("&Undo"), QKeySequence::Undo, false);
    actionRedo = make("edit-redo", "editredo.png", tr("&Redo"), QKeySequence::Redo, true);
    actionCut = make("edit-cut", "editcut.png", tr("Cu&t"), QKeySequence::Cut, true);
    actionCopy = make("edit-copy", "editcopy.png", tr("&Copy"), QKeySequence::Copy, true);
    actionPaste = make("edit-paste", "editpaste.png", tr("&Paste"), QKeySequence::Paste, true);
    clipboardDataChanged();
}

void TextEdit::setupStudyActions()
{
    // Follows the second formatting toolbar on the second row.
    auto *tb = new QToolBar(tr("Tenvale Actions"), this);
    addToolBar(tb);

    // The study tools have no desktop theme icon: the image file alone.
    const auto make = [this, tb](const char *image, const QString &text) {
        auto *a = new QAction(QIcon(AppPaths::editorImages() + QLatin1String(image)), text, this);
        tb->addAction(a);
        return a;
    };
    actionSpellCheck = make("/checkSpell.png", tr("&SpellCheck"));
    connect(actionSpellCheck, &QAction::triggered, this, &TextEdit::checkSpelling);
    setupDictionaryMenu(tb);
    actionPhoneticLookup = make("/dict.png", tr("&PhoneticLookup"));
    connect(actionPhoneticLookup, &QAction::triggered, this, &TextEdit::lookupPhonetic);
    actionDiffText = make("/diff.png", tr("&DiffText"));
    connect(actionDiffText, &QAction::triggered, this, &TextEdit::diffText);
}

// The spell-check button's own menu chooses the dictionary of the underlining and of the
// document check; the choice is kept for the next start.
void TextEdit::setupDictionaryMenu(QToolBar *tb)
{
    auto *menu = new QMenu(this);
    dictionaryChoices = new QActionGroup(menu);
    const std::pair<QString, QString> choices[] = {
        {SpellingEngine::American, tr("American English (en_US)")},
        {SpellingEngine::British, tr("British English (en_GB)")}};
    for (const auto &[language, label] : choices) {
        QAction *choice = menu->addAction(label);
        choice->setCheckable(true);
        choice->setChecked(language == textEdit->dictionaryLanguage());
        choice->setData(language);
        dictionaryChoices->addAction(choice);
    }
    connect(dictionaryChoices, &QActionGroup::triggered, this,
            [this](const QAction *choice) { setDictionaryLanguage(choice->data().toString()); });
    actionSpellCheck->setMenu(menu);
    if (auto *button = qobject_cast<QToolButton *>(tb->widgetForAction(actionSpellCheck)))
        button->setPopupMode(QToolButton::MenuButtonPopup);
}

void TextEdit::checkSpelling()
{
    // The run's walk lets events run between its batches; a second run on the same document
    // must not start meanwhile.
    if (!actionSpellCheck->isEnabled())
        return;
    actionSpellCheck->setEnabled(false);
    const auto *run = new SpellCheckRun(textEdit, this);
    connect(run, &SpellCheckRun::walked, actionSpellCheck,
            [this] { actionSpellCheck->setEnabled(true); });
}

void TextEdit::lookupPhonetic()
{
    openLookup()->show();
}

void TextEdit::diffText()
{
    auto *dialog = new DiffDialog(this);
    connect(dialog, &DiffDialog::lookupRequested, this, &TextEdit::lookUpWord);
    dialog->show();
}

PhoneticDialog *TextEdit::openLookup()
{
    auto *dialog = new PhoneticDialog(this);
    connect(dialog, &PhoneticDialog::hearRequested, this, &TextEdit::hearRequested);
    return dialog;
}

void TextEdit::lookUpWord(const QString &word)
{
    PhoneticDialog *dialog = openLookup();
    dialog->lookUpWord(word);
    dialog->show();
}

QString TextEdit::checkText() const
{
    const QTextCursor cursor = textEdit->textCursor();
    if (cursor.hasSelection())
        return cursor.selection().toPlainText();
    QString paragraph = cursor.block().text();
    paragraph.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return paragraph;
}

void TextEdit::showWordCheck(const WordCheck &check)
{
    if (!wordCheck) {
        wordCheck = new WordCheckDialog(this);
        connect(wordCheck, &WordCheckDialog::lookupRequested, this, &TextEdit::lookUpWord);
        connect(wordCheck, &WordCheckDialog::hearRequested, this, &TextEdit::hearRequested);
    }
    wordCheck->showCheck(check);
    wordCheck->show();
    wordCheck->raise();
}

WordCheck TextEdit::checkAgainst(const QString &reference)
{
    const QTextCursor cursor = textEdit->textCursor();
    QString text = checkText();
    if (!cursor.hasSelection())
        text = partAroundCursor(text, cursor.positionInBlock(), reference);
    const WordCheck check =
        checkBestStretch(reference, text, [this](const QString &a, const QString &b) {
            return homophones->alike(a, b);
        });
    showWordCheck(check);
    return check;
}

QList<SentenceCheck> TextEdit::checkWholeText(const QStringList &sentences)
{
    QString text = textEdit->toPlainText();
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return checkTranscript(text, sentences, [this](const QString &a, const QString &b) {
        return homophones->alike(a, b);
    });
}

void TextEdit::fileNew()
{
    file->startUntitled();
}

void TextEdit::fileOpen()
{
    file->chooseAndOpen();
}

bool TextEdit::openDocument(const QString &path, const QString &withLesson)
{
    return file->open(path, withLesson);
}

bool TextEdit::fileSave()
{
    return file->save();
}

bool TextEdit::fileSaveAs()
{
    return file->saveAs();
}

void TextEdit::saveBeforeQuit()
{
    file->saveBeforeQuit();
}

bool TextEdit::settleBeforeQuit()
{
    return file->settleBeforeQuit();
}

bool TextEdit::fileSaveDefault(const QString &path)
{
    return file->switchToLesson(path);
}

void TextEdit::filePrint()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (textEdit->textCursor().hasSelection())
        dialog.setOption(QAbstractPrintDialog::PrintSelection);
    dialog.setWindowTitle(tr("Print Document"));
    if (dialog.exec() == QDialog::Accepted)
        textEdit->print(&printer);
}

void TextEdit::filePrintPreview()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, &TextEdit::printPreview);
    preview.exec();
}

void TextEdit::printPreview(QPrinter *printer)
{
    textEdit->print(printer);
}

void TextEdit::filePrintPdf()
{
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export PDF"), QString(),
                                                QStringLiteral("*.pdf"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1String(".pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    textEdit->document()->print(&printer);
}

void TextEdit::clipboardDataChanged()
{
    actionPaste->setEnabled(!QApplication::clipboard()->text().isEmpty());
}

QString TextEdit::dictionaryLanguage() const
{
    return textEdit->dictionaryLanguage();
}

void TextEdit::setDictionaryLanguage(const QString &language)
{
    if (language != SpellingEngine::American && language != SpellingEngine::British)
        return;
    textEdit->setDictionaryLanguage(language);
    editorSettings()->setValue(dictionaryKey, language);
    for (QAction *choice : dictionaryChoices->actions())
        choice->setChecked(choice->data().toString() == language);
}

void TextEdit::setPlayerKeys(const QList<QKeyCombination> &keys)
{
    playerKeys = keys;
}

bool TextEdit::forwards(QKeyCombination key) const
{
    return forwardsToPlayer(key, playerKeys);
}

QList<std::pair<QKeySequence, QString>> TextEdit::ownShortcuts() const
{
    QList<std::pair<QKeySequence, QString>> shortcuts;
    for (const QAction *a : findChildren<QAction *>()) {
        for (const QKeySequence &key : a->shortcuts())
            shortcuts.append({key, a->text().remove(QLatin1Char('&'))});
    }
    return shortcuts;
}

bool TextEdit::forwardKey(const QKeyEvent *event)
{
    if (!forwards(event->keyCombination()))
        return false;
    emit keyDelegate(event->keyCombination().toCombined());
    return true;
}

void TextEdit::keyPressEvent(QKeyEvent *event)
{
    if (!forwardKey(event))
        QMainWindow::keyPressEvent(event);
}

void TextEdit::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TextEdit::dropEvent(QDropEvent *event)
{
    const QStringList files = droppedFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    emit filesDropped(files);
}

bool TextEdit::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == textEdit && type == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (forwardKey(key))
            return true;
        // Alt with a letter is no text: the text would type the letter.
        if (key->modifiers() == Qt::AltModifier && key->key() >= Qt::Key_A &&
            key->key() <= Qt::Key_Z)
            return true;
    }
    if (watched != textEdit->viewport() ||
        (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop))
        return QMainWindow::eventFilter(watched, event);
    auto *drag = static_cast<QDropEvent *>(event);
    if (droppedFiles(drag->mimeData()).isEmpty())
        return false;
    if (type == QEvent::Drop)
        dropEvent(drag);
    else
        drag->acceptProposedAction();
    return true;
}

void TextEdit::closeEvent(QCloseEvent *event)
{
    if (file->confirmDiscardOrSave())
        event->accept();
    else
        event->ignore();
}
