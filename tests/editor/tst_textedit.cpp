// The dictation editor on its own: saving and loading by suffix and encoding, PDF export,
// the save prompt and failed saves (a missing, read-only or full folder), which lesson a
// transcript belongs to, key forwarding, and the formatting actions and the controls that
// follow the cursor. Files go to a temporary folder only.
#include "editor/textedit.h"

#include "spelling/ctextcheckeredit.h"
#include "support/modalanswers.h"
#include "testfiles.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextList>

#include <csignal>
#include <functional>
#include <memory>

#include <sys/resource.h>
#include <unistd.h>

namespace {} // namespace

class TestTextEdit final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void saveAsChoosesTheFormatBySuffix_data();
    void saveAsChoosesTheFormatBySuffix();
    void exportPdfAddsASuffixOnlyWhenThereIsNone_data();
    void exportPdfAddsASuffixOnlyWhenThereIsNone();
    void loadsByDeclaredCharsetOrAsPlainText_data();
    void loadsByDeclaredCharsetOrAsPlainText();
    void saveDefaultWritesBesideTheMediaFile();
    void aLessonsTranscriptNeverMovesToAnotherLesson_data();
    void aLessonsTranscriptNeverMovesToAnotherLesson();
    void failedSavesKeepTheDocumentModified();
    void aSaveThatCannotWriteKeepsTheOldTranscript_data();
    void aSaveThatCannotWriteKeepsTheOldTranscript();
    void aSuffixWithoutFormatLeavesTheFileAlone();
    void savePrompt_data();
    void savePrompt();
    void openingAFileOffersToSaveTheTypingFirst();
    void quitShortcutClosesThroughThePrompt();
    void forwardsThePlayersKeysButNotThoseItTypesWith_data();
    void forwardsThePlayersKeysButNotThoseItTypesWith();
    void boldWithoutSelectionTakesTheWordAndTheTyping();
    void sizeBox_data();
    void sizeBox();
    void listStyles();
    void alignmentFollowsTheCursor();
    void cancelledColourDialogChangesNothing();
    void toolbarImages_data();
    void toolbarImages();

private:
    QAction *action(const QString &text) const;
    QComboBox *styleBox() const;
    QTextDocument *doc() const { return text->document(); }
    QString path(const QString &name) const { return dir->filePath(name); }
    // Types s as keys; a line break is the Return key.
    void type(const QString &s)
    {
        const QStringList lines = s.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(text, Qt::Key_Return);
            QTest::keyClicks(text, lines.at(i));
        }
    }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<TextEdit> editor;
    CTextCheckerEdit *text = nullptr;
};

void TestTextEdit::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    editor = std::make_unique<TextEdit>();
    // every case starts from an untitled empty document, never from the run tree's guide
    editor->fileNew();
    editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
    text = editor->findChild<CTextCheckerEdit *>();
    QVERIFY(text);
    QApplication::setActiveWindow(editor.get());
    text->setFocus();
}

void TestTextEdit::cleanup()
{
    editor.reset();
    dir.reset();
}

QAction *TestTextEdit::action(const QString &label) const
{
    // direct children only: the text widget has its own Copy and Paste
    for (QAction *a : editor->findChildren<QAction *>(Qt::FindDirectChildrenOnly))
        if (a->text() == label)
            return a;
    return nullptr;
}

QComboBox *TestTextEdit::styleBox() const
{
    for (QComboBox *box : editor->findChildren<QComboBox *>())
        if (box->itemText(0) == QLatin1String("Standard"))
            return box;
    return nullptr;
}

void TestTextEdit::saveAsChoosesTheFormatBySuffix_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("startsWith");

    QTest::newRow("no suffix") << "notes"
                               << "notes.html" << QByteArray("<!DOCTYPE HTML");
    QTest::newRow("txt in capitals") << "notes.TXT"
                                     << "notes.TXT" << QByteArray("Dear diary");
    QTest::newRow("rtf is not written as rtf") << "notes.rtf"
                                               << "notes.rtf.html" << QByteArray("<!DOCTYPE HTML");
    QTest::newRow("htm") << "notes.htm"
                         << "notes.htm" << QByteArray("<!DOCTYPE HTML");
    QTest::newRow("odt is a zip") << "notes.odt"
                                  << "notes.odt" << QByteArray("PK");
}

void TestTextEdit::saveAsChoosesTheFormatBySuffix()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(QByteArray, startsWith);

    type(QStringLiteral("Dear diary"));
    QVERIFY(doc()->isModified());
    chooseFile(path(typed));
    QVERIFY(editor->fileSaveAs());

    const QByteArray bytes = readAll(path(written));
    QVERIFY2(bytes.startsWith(startsWith), bytes.left(80).constData());
    if (startsWith != "PK")
        QVERIFY(bytes.contains("Dear diary"));
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{written});
    QCOMPARE(editor->windowTitle(), written + QLatin1String("[*] - Rich Text"));
    QVERIFY(!doc()->isModified());
    QVERIFY(!action(QStringLiteral("&Save"))->isEnabled());
}

void TestTextEdit::exportPdfAddsASuffixOnlyWhenThereIsNone_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("no suffix") << "out"
                               << "out.pdf";
    QTest::newRow("a suffix") << "out.final"
                              << "out.final";
}

void TestTextEdit::exportPdfAddsASuffixOnlyWhenThereIsNone()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);

    type(QStringLiteral("Listening practice"));
    chooseFile(path(typed));
    editor->filePrintPdf();
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{written});

    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {path(written), QStringLiteral("-")});
    QVERIFY2(pdftotext.waitForFinished(30000) && pdftotext.exitCode() == 0,
             pdftotext.readAllStandardError().constData());
    // the page number follows the text
    const QByteArray pdfText = pdftotext.readAllStandardOutput().simplified();
    QVERIFY2(pdfText.startsWith("Listening practice"), pdfText.constData());
    // exporting is not saving
    QVERIFY(doc()->isModified());
}

void TestTextEdit::loadsByDeclaredCharsetOrAsPlainText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");

    // "Привет, café" in windows-1251 can only be read through the page's own declaration
    QTest::newRow("html in windows-1251")
        << "cyrillic.html"
        << QByteArray("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                      "charset=windows-1251\"></head><body><p>\xcf\xf0\xe8\xe2\xe5\xf2"
                      "</p></body></html>")
        << QStringLiteral("Привет");
    QTest::newRow("html without declaration is latin-1")
        << "latin.htm" << QByteArray("<html><body><b>caf\xe9</b></body></html>")
        << QStringLiteral("café");
    QTest::newRow("plain text in utf-8")
        << "plain.txt" << QByteArray("caf\xc3\xa9 < 3\nsecond line")
        << QStringLiteral("café < 3\nsecond line");
    QTest::newRow("plain text in windows-1252")
        << "notes.txt" << QByteArray("We don\x92t think it\x92s late \x96 the caf\xe9 closes.")
        << QStringLiteral("We don’t think it’s late – the café closes.");
}

void TestTextEdit::loadsByDeclaredCharsetOrAsPlainText()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);

    writeFile(path(name), bytes);
    chooseFile(path(name));
    editor->fileOpen();
    QCOMPARE(doc()->toPlainText(), shown);
    QCOMPARE(editor->windowTitle(), name + QLatin1String("[*] - Rich Text"));
    QVERIFY(!doc()->isModified());
}

void TestTextEdit::saveDefaultWritesBesideTheMediaFile()
{
    type(QStringLiteral("first words"));
    QVERIFY(editor->isWindowModified());
    QVERIFY(editor->fileSaveDefault(path(QStringLiteral("b.avi"))));
    QVERIFY(readAll(path(QStringLiteral("b.avi.html"))).contains("first words"));
    QCOMPARE(editor->windowTitle(), QStringLiteral("b.avi.html[*] - Rich Text"));
    QVERIFY(!editor->isWindowModified());
    QVERIFY(!doc()->isModified());
}

void TestTextEdit::aLessonsTranscriptNeverMovesToAnotherLesson_data()
{
    QTest::addColumn<QString>("route");   // how lesson a's transcript became the document
    QTest::addColumn<bool>("typedAfter"); // typing added before lesson b is opened
    QTest::newRow("player") << "player" << true;
    QTest::newRow("file open") << "open" << false;
    QTest::newRow("file open, typed") << "open" << true;
    QTest::newRow("save as") << "save as" << false;
    QTest::newRow("save as, typed") << "save as" << true;
}

void TestTextEdit::aLessonsTranscriptNeverMovesToAnotherLesson()
{
    QFETCH(QString, route);
    QFETCH(bool, typedAfter);
    const QString a = path(QStringLiteral("a.mp3.html"));
    const QString b = path(QStringLiteral("b.mp3.html"));
    writeFile(path(QStringLiteral("a.mp3")), "media");
    writeFile(path(QStringLiteral("b.mp3")), "media");

    if (route == QLatin1String("player")) {
        type(QStringLiteral("alpha"));
        QVERIFY(editor->fileSaveDefault(path(QStringLiteral("a.mp3"))));
    } else if (route == QLatin1String("open")) {
        writeFile(a, "<html><body><p>alpha</p></body></html>");
        chooseFile(a);
        editor->fileOpen();
    } else {
        type(QStringLiteral("alpha"));
        chooseFile(a);
        QVERIFY(editor->fileSaveAs());
    }
    QCOMPARE(doc()->toPlainText(), QStringLiteral("alpha"));
    if (typedAfter) {
        text->moveCursor(QTextCursor::End);
        type(QStringLiteral(" beta"));
    }

    QVERIFY(editor->fileSaveDefault(path(QStringLiteral("b.mp3"))));
    QCOMPARE(doc()->toPlainText(), QString());
    QCOMPARE(editor->windowTitle(), QStringLiteral("b.mp3.html[*] - Rich Text"));
    QVERIFY(!readAll(b).contains("alpha"));
    QTextDocument saved;
    saved.setHtml(QString::fromUtf8(readAll(a)));
    QCOMPARE(saved.toPlainText(),
             typedAfter ? QStringLiteral("alpha beta") : QStringLiteral("alpha"));
}

void TestTextEdit::failedSavesKeepTheDocumentModified()
{
    // the automatic save into a missing folder fails quietly
    type(QStringLiteral("precious"));
    QVERIFY(!editor->fileSaveDefault(path(QStringLiteral("gone/c.avi"))));
    QVERIFY(doc()->isModified());
    QVERIFY(editor->isWindowModified());
    QVERIFY(action(QStringLiteral("&Save"))->isEnabled());

    // the learner's own save says which file failed and why
    QString message;
    answerBox(QMessageBox::Ok, &message);
    QVERIFY(!editor->fileSave());
    QVERIFY2(message.contains(QDir::toNativeSeparators(path(QStringLiteral("gone/c.avi.html")))),
             qPrintable(message));
    QVERIFY2(message.contains(QLatin1String("No such file or directory")), qPrintable(message));
    QVERIFY(doc()->isModified());
}

void TestTextEdit::aSaveThatCannotWriteKeepsTheOldTranscript_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("folder read-only") << QStringLiteral("read-only");
    QTest::newRow("disk full") << QStringLiteral("full");
}

// The transcript's folder stops taking writes between two saves: the learner is told
// why, the file keeps the last saved text and the editor keeps the new typing.
void TestTextEdit::aSaveThatCannotWriteKeepsTheOldTranscript()
{
    QFETCH(QString, fault);
    const QString folder = path(QStringLiteral("lessons"));
    QVERIFY(QDir().mkpath(folder));
    const QString media = folder + QStringLiteral("/a.mp3");
    writeFile(media, "media");
    type(QStringLiteral("first words"));
    QVERIFY(editor->fileSaveDefault(media));
    const QByteArray before = readAll(media + QStringLiteral(".html"));
    QVERIFY(before.contains("first words"));
    text->moveCursor(QTextCursor::End);
    type(QStringLiteral(" and more"));
    // enough text that the write cannot fit under the file size limit
    text->textCursor().insertText(QString(20000, QLatin1Char('x')));

    // As root, permissions do not stop writes, so the folder is mounted read-only over
    // itself; a file size limit fails writes the way a full disk does, for anyone.
    QStringList unmount;
    const auto restore = qScopeGuard([&] {
        if (!unmount.isEmpty())
            QProcess::execute(QStringLiteral("umount"), unmount);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
        getrlimit(RLIMIT_FSIZE, &unlimited);
        unlimited.rlim_cur = unlimited.rlim_max;
        setrlimit(RLIMIT_FSIZE, &unlimited);
        signal(SIGXFSZ, SIG_DFL);
    });
    QString expected;
    if (fault == QLatin1String("read-only")) {
        if (geteuid() != 0) {
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
            expected = QStringLiteral("Permission denied");
        } else {
            if (QProcess::execute(QStringLiteral("mount"),
                                  {QStringLiteral("--bind"), folder, folder}) != 0)
                QSKIP("cannot bind-mount the folder");
            unmount = QStringList{folder};
            if (QProcess::execute(
                    QStringLiteral("mount"),
                    {QStringLiteral("-o"), QStringLiteral("remount,bind,ro"), folder}) != 0)
                QSKIP("cannot make the folder read-only");
            expected = QStringLiteral("Read-only file system");
        }
    } else {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
        limit.rlim_cur = 4096;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
        expected = QStringLiteral("File too large");
    }

    QString message;
    answerBox(QMessageBox::Ok, &message);
    QVERIFY(!editor->fileSave());
    QVERIFY2(message.contains(expected), qPrintable(message));
    QCOMPARE(readAll(media + QStringLiteral(".html")), before);
    QVERIFY(doc()->toPlainText().startsWith(QStringLiteral("first words and more")));
    QVERIFY(doc()->isModified());
    QCOMPARE(QDir(folder).entryList(QDir::Files),
             (QStringList{QStringLiteral("a.mp3"), QStringLiteral("a.mp3.html")}));
}

void TestTextEdit::aSuffixWithoutFormatLeavesTheFileAlone()
{
    const QByteArray rtf("{\\rtf1 hello}");
    writeFile(path(QStringLiteral("lesson.rtf")), rtf);
    chooseFile(path(QStringLiteral("lesson.rtf")));
    editor->fileOpen();
    type(QStringLiteral("more "));

    QString message;
    answerBox(QMessageBox::Ok, &message);
    QVERIFY(!editor->fileSave());
    QVERIFY2(message.contains(QLatin1String("lesson.rtf")), qPrintable(message));
    QCOMPARE(readAll(path(QStringLiteral("lesson.rtf"))), rtf);
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("lesson.rtf")});
    QVERIFY(doc()->isModified());
}

void TestTextEdit::savePrompt_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("saved");

    QTest::newRow("save") << int(QMessageBox::Save) << true << true << true;
    QTest::newRow("discard") << int(QMessageBox::Discard) << true << true << false;
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << true << false << false;
    QTest::newRow("save fails") << int(QMessageBox::Save) << false << false << false;
}

void TestTextEdit::savePrompt()
{
    QFETCH(int, answer);
    QFETCH(bool, writable);
    QFETCH(bool, closed);
    QFETCH(bool, saved);

    const QString media =
        writable ? path(QStringLiteral("a.avi")) : path(QStringLiteral("no/a.avi"));
    editor->fileSaveDefault(media);
    type(QStringLiteral("typed"));

    if (writable) {
        answerBox(QMessageBox::StandardButton(answer));
    } else {
        // the failure's box follows once the prompt is answered
        onNextModal<QMessageBox>([answer](QMessageBox *box) {
            box->button(QMessageBox::StandardButton(answer))->click();
            answerBox(QMessageBox::Ok);
        });
    }
    editor->close();
    QCOMPARE(editor->isHidden(), closed);
    QCOMPARE(readAll(media + QLatin1String(".html")).contains("typed"), saved);
    QCOMPARE(doc()->isModified(), !saved);
    // the document survives the close
    QVERIFY(doc()->toPlainText().startsWith(QLatin1String("typed")));

    // an unmodified document closes without asking
    if (closed) {
        editor->show();
        doc()->setModified(false);
        editor->close();
        QVERIFY(editor->isHidden());
    }
}

void TestTextEdit::openingAFileOffersToSaveTheTypingFirst()
{
    writeFile(path(QStringLiteral("other.txt")), "other text");
    type(QStringLiteral("unsaved"));
    chooseFile(path(QStringLiteral("other.txt")));
    answerBox(QMessageBox::Cancel);
    editor->fileOpen();
    QCOMPARE(doc()->toPlainText(), QStringLiteral("unsaved"));
    QVERIFY(doc()->isModified());

    chooseFile(path(QStringLiteral("other.txt")));
    answerBox(QMessageBox::Discard);
    editor->fileOpen();
    QCOMPARE(doc()->toPlainText(), QStringLiteral("other text"));
}

void TestTextEdit::quitShortcutClosesThroughThePrompt()
{
    type(QStringLiteral("unsaved"));
    QString asked;
    answerBox(QMessageBox::Cancel, &asked);
    QTest::keyClick(text, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(asked.startsWith(QLatin1String("The document has been modified.")));
    QVERIFY(editor->isVisible());
    // the closed box leaves no window active on a server without a window manager
    QApplication::setActiveWindow(editor.get());
    asked.clear();
    answerBox(QMessageBox::Discard, &asked);
    QTest::keyClick(text, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!asked.isEmpty());
    QVERIFY(editor->isHidden());
    QCOMPARE(doc()->toPlainText(), QStringLiteral("unsaved"));
}

void TestTextEdit::forwardsThePlayersKeysButNotThoseItTypesWith_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("forwarded"); // 0: nothing
    QTest::addColumn<QString>("textAfter");

    QTest::newRow("F5") << int(Qt::Key_F5) << 0 << 0x01000034 << "ab";
    QTest::newRow("Ctrl+F5") << int(Qt::Key_F5) << int(Qt::ControlModifier) << 0 << "ab";
    QTest::newRow("Shift+F1") << int(Qt::Key_F1) << int(Qt::ShiftModifier) << 0 << "ab";
    QTest::newRow("F6, no player key") << int(Qt::Key_F6) << 0 << 0 << "ab";
    QTest::newRow("Alt+D") << int(Qt::Key_D) << int(Qt::AltModifier) << 0x08000044 << "ab";
    QTest::newRow("Alt+E, no player key") << int(Qt::Key_E) << int(Qt::AltModifier) << 0 << "ab";
    // keys of the player that the text types or moves with stay the text's
    QTest::newRow("letter") << int(Qt::Key_X) << 0 << 0 << "axb";
    QTest::newRow("space") << int(Qt::Key_Space) << 0 << 0 << "a b";
    QTest::newRow("left") << int(Qt::Key_Left) << 0 << 0 << "ab";
    QTest::newRow("Ctrl+Left") << int(Qt::Key_Left) << int(Qt::ControlModifier) << 0 << "ab";
}

void TestTextEdit::forwardsThePlayersKeysButNotThoseItTypesWith()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, forwarded);
    QFETCH(QString, textAfter);

    editor->setPlayerKeys({Qt::Key_F1, Qt::Key_F5, Qt::Key_X, Qt::Key_Space, Qt::Key_Left,
                           Qt::ControlModifier | Qt::Key_Left, Qt::AltModifier | Qt::Key_D});
    type(QStringLiteral("ab"));
    text->moveCursor(QTextCursor::PreviousCharacter);
    QSignalSpy keys(editor.get(), &TextEdit::keyDelegate);
    QTest::keyClick(text, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(keys.count(), forwarded ? 1 : 0);
    if (forwarded)
        QCOMPARE(keys.at(0).at(0).toInt(), forwarded);
    QCOMPARE(doc()->toPlainText(), textAfter);
}

void TestTextEdit::boldWithoutSelectionTakesTheWordAndTheTyping()
{
    type(QStringLiteral("hello world"));
    QTextCursor c = text->textCursor();
    c.setPosition(2);
    text->setTextCursor(c);
    action(QStringLiteral("&Bold"))->trigger();

    const auto weightAt = [this](int pos) {
        QTextCursor probe(doc());
        probe.setPosition(pos);
        return probe.charFormat().fontWeight(); // the character before pos
    };
    for (int pos = 1; pos <= 5; ++pos)
        QCOMPARE(weightAt(pos), int(QFont::Bold));
    QVERIFY(weightAt(7) != QFont::Bold);
    type(QStringLiteral("X"));
    QCOMPARE(doc()->toPlainText(), QStringLiteral("heXllo world"));
    QCOMPARE(weightAt(3), int(QFont::Bold));
    QVERIFY(action(QStringLiteral("&Bold"))->isChecked());

    // unchecking makes the word normal again
    c = text->textCursor();
    c.setPosition(8);
    text->setTextCursor(c);
    QVERIFY(!action(QStringLiteral("&Bold"))->isChecked());
    c.setPosition(3);
    text->setTextCursor(c);
    QVERIFY(action(QStringLiteral("&Bold"))->isChecked());
    action(QStringLiteral("&Bold"))->trigger();
    QVERIFY(weightAt(3) != QFont::Bold);
}

void TestTextEdit::sizeBox_data()
{
    QTest::addColumn<QString>("entered");
    QTest::addColumn<double>("size"); // 0: unchanged
    QTest::newRow("fraction") << "10.5" << 10.5;
    QTest::newRow("zero") << "0" << 0.0;
    QTest::newRow("negative") << "-3" << 0.0;
    QTest::newRow("not a number") << "abc" << 0.0;
}

void TestTextEdit::sizeBox()
{
    QFETCH(QString, entered);
    QFETCH(double, size);

    type(QStringLiteral("word"));
    QTextCursor c = text->textCursor();
    c.setPosition(2);
    text->setTextCursor(c);
    const qreal before = c.charFormat().font().pointSizeF();

    auto *box = editor->findChild<QComboBox *>(QStringLiteral("comboSize"));
    QVERIFY(box && box->isEditable());
    QSignalSpy spy(box, &QComboBox::textActivated);
    box->lineEdit()->setText(entered);
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    QVERIFY(!spy.isEmpty());

    QTextCursor probe(doc());
    probe.setPosition(4);
    QCOMPARE(probe.charFormat().font().pointSizeF(), size > 0 ? size : before);
    if (size > 0)
        QCOMPARE(box->currentText(), entered);
}

void TestTextEdit::listStyles()
{
    QComboBox *box = styleBox();
    QVERIFY(box);
    QCOMPARE(box->count(), 9);
    type(QStringLiteral("one\ntwo\nthree"));
    text->moveCursor(QTextCursor::Start);
    text->moveCursor(QTextCursor::End, QTextCursor::KeepAnchor);
    emit box->activated(1);
    QTextList *list = doc()->begin().textList();
    QVERIFY(list);
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->format().style(), QTextListFormat::ListDisc);

    // a new style inside the list, cursor in one item only, changes the whole list
    QTextCursor c(doc()->findBlockByNumber(1));
    text->setTextCursor(c);
    emit box->activated(8);
    for (QTextBlock b = doc()->begin(); b.isValid(); b = b.next()) {
        QVERIFY(b.textList());
        QCOMPARE(b.textList()->format().style(), QTextListFormat::ListUpperRoman);
    }
    // one undo step takes it back
    text->undo();
    QCOMPARE(doc()->begin().textList()->format().style(), QTextListFormat::ListDisc);

    // "Standard" takes the paragraph out of its list
    text->setTextCursor(QTextCursor(doc()->findBlockByNumber(1)));
    emit box->activated(0);
    QVERIFY(!doc()->findBlockByNumber(1).textList());
    QVERIFY(doc()->findBlockByNumber(0).textList());
    QVERIFY(doc()->findBlockByNumber(2).textList());
}

void TestTextEdit::alignmentFollowsTheCursor()
{
    type(QStringLiteral("left\ncentred"));
    action(QStringLiteral("C&enter"))->trigger();
    QCOMPARE(doc()->lastBlock().blockFormat().alignment(), Qt::AlignHCenter);
    QCOMPARE(doc()->firstBlock().blockFormat().alignment(), Qt::AlignLeft);

    QTest::keyClick(text, Qt::Key_Up);
    QVERIFY(action(QStringLiteral("&Left"))->isChecked());
    QVERIFY(!action(QStringLiteral("C&enter"))->isChecked());
    QTest::keyClick(text, Qt::Key_Down);
    QVERIFY(action(QStringLiteral("C&enter"))->isChecked());
    QVERIFY(!action(QStringLiteral("&Left"))->isChecked());
}

void TestTextEdit::cancelledColourDialogChangesNothing()
{
    type(QStringLiteral("ink"));
    text->selectAll();
    QAction *colour = action(QStringLiteral("&Color..."));
    const QImage iconBefore = colour->icon().pixmap(24, 24).toImage();
    const QString htmlBefore = doc()->toHtml();

    onNextModal<QColorDialog>([](QColorDialog *dialog) { dialog->reject(); });
    colour->trigger();
    QCOMPARE(doc()->toHtml(), htmlBefore);
    QCOMPARE(colour->icon().pixmap(24, 24).toImage(), iconBefore);

    // an accepted colour reaches the text and the icon
    onNextModal<QColorDialog>([](QColorDialog *dialog) {
        dialog->setCurrentColor(Qt::red);
        dialog->accept();
    });
    colour->trigger();
    QTextCursor probe(doc());
    probe.setPosition(2);
    QCOMPARE(probe.charFormat().foreground().color(), QColor(Qt::red));
    QCOMPARE(colour->icon().pixmap(24, 24).toImage().pixelColor(12, 12), QColor(Qt::red));
}

void TestTextEdit::toolbarImages_data()
{
    QTest::addColumn<QString>("actionText");
    QTest::addColumn<QString>("image");
    const char *const rows[][2] = {{"&New", "filenew"},
                                   {"&Open...", "fileopen"},
                                   {"&Save", "filesave"},
                                   {"&Print...", "fileprint"},
                                   {"&Export PDF...", "exportpdf"},
                                   {"&Undo", "editundo"},
                                   {"&Redo", "editredo"},
                                   {"Cu&t", "editcut"},
                                   {"&Copy", "editcopy"},
                                   {"&Paste", "editpaste"},
                                   {"&Bold", "textbold"},
                                   {"&Italic", "textitalic"},
                                   {"&Underline", "textunder"},
                                   {"&Left", "textleft"},
                                   {"C&enter", "textcenter"},
                                   {"&Right", "textright"},
                                   {"&Justify", "textjustify"},
                                   {"&SpellCheck", "checkSpell"},
                                   {"&PhoneticLookup", "dict"},
                                   {"&DiffText", "diff"}};
    for (const auto &row : rows)
        QTest::newRow(row[1]) << QString::fromLatin1(row[0]) << QString::fromLatin1(row[1]);
}

void TestTextEdit::toolbarImages()
{
    QFETCH(QString, actionText);
    QFETCH(QString, image);

    const QImage png(QStringLiteral("./skin/default/images/win/%1.png").arg(image));
    QCOMPARE(png.size(), QSize(24, 24));
    QCOMPARE(png.pixelColor(0, 0).alpha(), 0); // drawn on a transparent ground
    int visible = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x)
            visible += png.pixelColor(x, y).alpha() > 127;
    QVERIFY2(visible > 40, qPrintable(QString::number(visible)));

    QAction *a = action(actionText);
    QVERIFY(a);
    QVERIFY(!a->icon().isNull());
}

QTEST_MAIN(TestTextEdit)
#include "tst_textedit.moc"
