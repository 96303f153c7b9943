// The editor's study-tools toolbar and the document spell check it runs, in a temporary
// working folder with a tiny "./spell/dict/en_US" pair, the test's own user dictionary and a
// small enciphered "./dict/words.db". The modal questions and the "Finished" box are
// answered from the test, as a learner would.
#include "editor/textedit.h"

#include "diff/diffdialog.h"
#include "diff/wordcheck.h"
#include "diff/wordcheckdialog.h"
#include "paths/apppaths.h"
#include "phonetic/dictionaryfixture.h"
#include "phonetic/phoneticdialog.h"
#include "spelling/ctextcheckeredit.h"
#include "spelling/spellcheckdialog.h"
#include "testfiles.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <QToolBar>

#include <memory>

namespace {

// Whether any piece of the block carries the red spell-check underline.
bool hasMarks(const QTextBlock &block)
{
    for (const QTextLayout::FormatRange &r : block.layout()->formats())
        if (r.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline)
            return true;
    return false;
}

QAction *spellCheckAction(QWidget *editor)
{
    const QList<QAction *> actions = editor->findChildren<QAction *>();
    for (QAction *action : actions) {
        if (action->text() == QLatin1String("&SpellCheck"))
            return action;
    }
    return nullptr;
}

// Answers the questions of one spell check from a script and notes what was asked. An
// answer is a button's object name, optionally followed by ':' and the replacement to type
// into the field first. When the script runs out the check is cancelled. The closing box is
// answered with OK.
class Learner final : public QObject
{
public:
    Learner(QStringList script_, CTextCheckerEdit *text_) : script(std::move(script_)), text(text_)
    {
        connect(&poll, &QTimer::timeout, this, &Learner::answer);
        poll.start(10);
    }

    QStringList asked;
    // Per question: the highlighted text, and whether the editing cursor sat at its start.
    QStringList highlighted;
    QList<bool> cursorAtWord;
    // Per question: whether "&SpellCheck" could start another check meanwhile.
    QList<bool> checkEnabled;
    QStringList boxes; // "title: text" of every message box
    QStringList unexpected;

private:
    void answer()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            boxes.append(box->windowTitle() + QLatin1String(": ") + box->text());
            box->button(QMessageBox::Ok)->click();
            return;
        }
        auto *dialog = qobject_cast<SpellCheckDialog *>(modal);
        if (!dialog)
            return;
        QTextDocument label;
        label.setHtml(dialog->findChild<QLabel *>(QStringLiteral("lblUnknownWord"))->text());
        asked.append(label.toPlainText());
        const QList<QTextEdit::ExtraSelection> extra = text->extraSelections();
        highlighted.append(extra.size() == 1 && extra.first().format.background().color() ==
                                                    QColor(0xff, 0x60, 0x60)
                               ? extra.first().cursor.selectedText()
                               : QStringLiteral("(no highlight)"));
        cursorAtWord.append(extra.size() == 1 && !text->textCursor().hasSelection() &&
                            text->textCursor().position() == extra.first().cursor.selectionStart());
        checkEnabled.append(spellCheckAction(text->window())->isEnabled());
        if (script.isEmpty()) {
            dialog->findChild<QPushButton *>(QStringLiteral("btnCancel"))->click();
            return;
        }
        const QString step = script.takeFirst();
        const qsizetype colon = step.indexOf(QLatin1Char(':'));
        if (colon >= 0)
            dialog->findChild<QLineEdit *>(QStringLiteral("ledtReplaceWith"))
                ->setText(step.mid(colon + 1));
        auto *button = dialog->findChild<QPushButton *>(step.left(colon));
        if (!button) {
            unexpected.append(step);
            dialog->reject();
            return;
        }
        button->click();
    }

    QStringList script;
    CTextCheckerEdit *text;
    QTimer poll;
};

const QString finished = QStringLiteral("Finished: The spell check has finished.");

} // namespace

class TestStudyTools final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void toolbar();
    void checkSpelling_data();
    void checkSpelling();
    void dictionaryChoiceIsRememberedAndUsedByBothChecks();
    void cancelRestoresTheEditingCursor();
    void aLongCheckWalksFromTheEventLoop();
    void theEditorGoesWithARunningCheck();
    void ignoreAllLastsOneRun();
    void addToDictionaryLastsBeyondTheRun();
    void phoneticLookupOpensOneMoreDialogEachTime();
    void diffTextOpensAnEmptyComparison();
    void wordCheckOfTheParagraphLooksUpAMissedWord();

private:
    // Runs the check through the toolbar action with the scripted answers, until its
    // "Finished" box is answered.
    std::unique_ptr<Learner> runCheck(const QStringList &script);
    QAction *action(const char *text) const;

    QTemporaryDir dir;
    QString runTree;
    std::unique_ptr<TextEdit> editor;
    CTextCheckerEdit *text = nullptr;
};

void TestStudyTools::initTestCase()
{
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("spell/dict")));
    writeFile(dir.filePath(QStringLiteral("spell/dict/en_US.aff")),
              "SET UTF-8\nTRY elorwdh\nICONV 1\nICONV \xe2\x80\x99 '\n");
    writeFile(dir.filePath(QStringLiteral("spell/dict/en_US.dic")),
              "6\nhello\nworld\nsecond\nthe\ndon't\ncolor\n");
    writeFile(dir.filePath(QStringLiteral("spell/dict/en_GB.aff")), "SET UTF-8\nTRY elorwdh\n");
    writeFile(dir.filePath(QStringLiteral("spell/dict/en_GB.dic")), "3\nhello\nworld\ncolour\n");
    // The dictionary choice and the user dictionary are kept in the test's own user folders.
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(QDir().mkpath(QFileInfo(AppPaths::userDictionary()).path()));
    QVERIFY(writeDictionary(dir.path(),
                            {{"example", "i&#609;&#712;z&#593;&#720;mpl", "a thing"},
                             {"exam", "i&#609;&#712;z&#230;m", "a test"},
                             {"exact", "i&#609;&#712;z&#230;kt", "precise"}},
                            storePassPhrase));
    runTree = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
}

void TestStudyTools::cleanupTestCase()
{
    QDir::setCurrent(runTree);
}

void TestStudyTools::init()
{
    QSettings(QStringLiteral("vorlynplayer"), QStringLiteral("editor")).clear();
    writeFile(AppPaths::userDictionary(), {});
    editor = std::make_unique<TextEdit>();
    editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
    text = editor->findChild<CTextCheckerEdit *>();
    QVERIFY(text);
}

void TestStudyTools::cleanup()
{
    editor.reset();
}

QAction *TestStudyTools::action(const char *label) const
{
    for (QAction *a : editor->findChildren<QAction *>(Qt::FindDirectChildrenOnly))
        if (a->text() == QLatin1String(label))
            return a;
    return nullptr;
}

std::unique_ptr<Learner> TestStudyTools::runCheck(const QStringList &script)
{
    auto learner = std::make_unique<Learner>(script, text);
    action("&SpellCheck")->trigger();
    // The run walks from the event loop and ends with the "Finished" box.
    if (!QTest::qWaitFor([&learner] { return !learner->boxes.isEmpty(); }, 20000))
        QTest::qFail("the spell check did not finish", __FILE__, __LINE__);
    return learner;
}

void TestStudyTools::toolbar()
{
    QToolBar *tools = nullptr;
    QList<QToolBar *> formatBars;
    for (QToolBar *tb : editor->findChildren<QToolBar *>()) {
        if (tb->windowTitle() == QLatin1String("Tenvale Actions"))
            tools = tb;
        else if (tb->windowTitle() == QLatin1String("Format Actions"))
            formatBars.append(tb);
    }
    QVERIFY(tools);
    QCOMPARE(formatBars.size(), 2);
    QCOMPARE(editor->toolBarArea(tools), Qt::TopToolBarArea);
    // second row, right after the second formatting toolbar
    const QToolBar *secondFormat =
        formatBars[0]->y() > formatBars[1]->y() ? formatBars[0] : formatBars[1];
    QCOMPARE(tools->y(), secondFormat->y());
    QVERIFY(tools->x() > secondFormat->x());
    QVERIFY(!editor->toolBarBreak(tools));

    QStringList texts;
    for (const QAction *a : tools->actions()) {
        texts.append(a->text());
        QVERIFY(a->shortcut().isEmpty());
        QVERIFY(!a->icon().isNull());
    }
    QCOMPARE(texts, (QStringList{QStringLiteral("&SpellCheck"), QStringLiteral("&PhoneticLookup"),
                                 QStringLiteral("&DiffText")}));

    // the study tools are the editor's first slots
    const QMetaObject &meta = TextEdit::staticMetaObject;
    QStringList first;
    for (int i = meta.methodOffset(); i < meta.methodCount() && first.size() < 4; ++i)
        if (meta.method(i).methodType() == QMetaMethod::Slot)
            first.append(QString::fromLatin1(meta.method(i).name()));
    QCOMPARE(first, (QStringList{QStringLiteral("checkSpelling"), QStringLiteral("lookupPhonetic"),
                                 QStringLiteral("diffText"), QStringLiteral("lookUpWord")}));
}

void TestStudyTools::checkSpelling_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QString>("result");

    QTest::newRow("empty document") << QString() << QStringList() << QStringList() << QString();
    QTest::newRow("no letters to ask about")
        << QStringLiteral("Hello, world. 42 -- (the) ?!") << QStringList() << QStringList()
        << QStringLiteral("Hello, world. 42 -- (the) ?!");
    QTest::newRow("replace all: later occurrences without asking")
        << QStringLiteral("wrold hello wrold\n\nthe wrold zorkish")
        << QStringList{QStringLiteral("btnReplaceAll"), QStringLiteral("btnIgnoreOnce")}
        << QStringList{QStringLiteral("wrold"), QStringLiteral("zorkish")}
        << QStringLiteral("world hello world\n\nthe world zorkish");
    QTest::newRow("replace all with the learner's own text")
        << QStringLiteral("wrold, wrold") << QStringList{QStringLiteral("btnReplaceAll:earth")}
        << QStringList{QStringLiteral("wrold")} << QStringLiteral("earth, earth");
    QTest::newRow("replace once asks again")
        << QStringLiteral("wrold hello wrold")
        << QStringList{QStringLiteral("btnReplaceOnce"), QStringLiteral("btnReplaceOnce:the")}
        << QStringList{QStringLiteral("wrold"), QStringLiteral("wrold")}
        << QStringLiteral("world hello the");
    QTest::newRow("ignore once asks again")
        << QStringLiteral("wrold wrold")
        << QStringList{QStringLiteral("btnIgnoreOnce"), QStringLiteral("btnIgnoreOnce")}
        << QStringList{QStringLiteral("wrold"), QStringLiteral("wrold")}
        << QStringLiteral("wrold wrold");
    QTest::newRow("ignore all skips the rest of the run")
        << QStringLiteral("zorkish hello\nzorkish wrold")
        << QStringList{QStringLiteral("btnIgnoreAll"), QStringLiteral("btnIgnoreOnce")}
        << QStringList{QStringLiteral("zorkish"), QStringLiteral("wrold")}
        << QStringLiteral("zorkish hello\nzorkish wrold");
    QTest::newRow("an empty replacement deletes the word")
        << QStringLiteral("hello zorkish world") << QStringList{QStringLiteral("btnReplaceOnce:")}
        << QStringList{QStringLiteral("zorkish")} << QStringLiteral("hello  world");
    QTest::newRow("numbers with a unit are not words")
        << QStringLiteral("the 2nd 2B 1990s 7pm 10:30am") << QStringList() << QStringList()
        << QStringLiteral("the 2nd 2B 1990s 7pm 10:30am");
    QTest::newRow("words after opening quotes and brackets")
        << QStringLiteral("\"wrold\" (wrold) [wrold]")
        << QStringList{QStringLiteral("btnReplaceOnce"), QStringLiteral("btnReplaceOnce"),
                       QStringLiteral("btnReplaceOnce")}
        << QStringList(3, QStringLiteral("wrold")) << QStringLiteral("\"world\" (world) [world]");
    QTest::newRow("contractions are asked about whole")
        << QStringLiteral("don't don’t dont") << QStringList{QStringLiteral("btnIgnoreOnce")}
        << QStringList{QStringLiteral("dont")} << QStringLiteral("don't don’t dont");
    QTest::newRow("punctuation around a word survives its replacement")
        << QStringLiteral("wrold… ‘wrold’ wrold.")
        << QStringList(3, QStringLiteral("btnReplaceOnce"))
        << QStringList(3, QStringLiteral("wrold")) << QStringLiteral("world… ‘world’ world.");
    QTest::newRow("east asian text is never asked about")
        << QStringLiteral("hello 港口，wrold 世界。")
        << QStringList{QStringLiteral("btnReplaceOnce")} << QStringList{QStringLiteral("wrold")}
        << QStringLiteral("hello 港口，world 世界。");
}

void TestStudyTools::checkSpelling()
{
    QFETCH(QString, document);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, asked);
    QFETCH(QString, result);

    text->setPlainText(document);
    const auto learner = runCheck(answers);
    QCOMPARE(learner->asked, asked);
    QCOMPARE(learner->highlighted, asked);
    QCOMPARE(learner->cursorAtWord, QList<bool>(asked.size(), true));
    QCOMPARE(learner->unexpected, QStringList());
    QCOMPARE(learner->boxes, QStringList{finished});
    QCOMPARE(text->toPlainText(), result);
    QVERIFY(text->extraSelections().isEmpty());
}

void TestStudyTools::dictionaryChoiceIsRememberedAndUsedByBothChecks()
{
    // American by default: the British spelling is marked and asked about.
    text->setPlainText(QStringLiteral("colour"));
    QVERIFY(hasMarks(text->document()->firstBlock()));
    QCOMPARE(runCheck({QStringLiteral("btnIgnoreOnce")})->asked,
             QStringList{QStringLiteral("colour")});

    QMenu *menu = action("&SpellCheck")->menu();
    QVERIFY(menu);
    QStringList choices;
    for (const QAction *choice : menu->actions())
        choices.append(choice->text() + (choice->isChecked() ? QStringLiteral(" *") : QString()));
    QCOMPARE(choices, (QStringList{QStringLiteral("American English (en_US) *"),
                                   QStringLiteral("British English (en_GB)")}));
    menu->actions().at(1)->trigger();
    QVERIFY(!hasMarks(text->document()->firstBlock()));
    text->setPlainText(QStringLiteral("colour color"));
    QCOMPARE(runCheck({QStringLiteral("btnIgnoreOnce")})->asked,
             QStringList{QStringLiteral("color")});

    // The next start keeps the choice.
    editor = std::make_unique<TextEdit>();
    text = editor->findChild<CTextCheckerEdit *>();
    text->setPlainText(QStringLiteral("colour"));
    QVERIFY(!hasMarks(text->document()->firstBlock()));
    QVERIFY(action("&SpellCheck")->menu()->actions().at(1)->isChecked());
    QCOMPARE(runCheck({})->asked, QStringList());
}

void TestStudyTools::cancelRestoresTheEditingCursor()
{
    text->setPlainText(QStringLiteral("hello zorkish wrold"));
    QTextCursor cursor(text->document());
    cursor.setPosition(1);
    cursor.setPosition(4, QTextCursor::KeepAnchor);
    text->setTextCursor(cursor);

    const auto learner = runCheck({QStringLiteral("btnCancel")});
    QCOMPARE(learner->asked, QStringList{QStringLiteral("zorkish")});
    QCOMPARE(learner->boxes, QStringList{finished});
    QCOMPARE(text->textCursor().anchor(), 1);
    QCOMPARE(text->textCursor().position(), 4);
    QCOMPARE(text->toPlainText(), QStringLiteral("hello zorkish wrold"));
    QVERIFY(text->extraSelections().isEmpty());
    // No second check can start inside a running one; afterwards the action is back.
    QCOMPARE(learner->checkEnabled, QList<bool>{false});
    QVERIFY(spellCheckAction(text->window())->isEnabled());
}

// The action returns at once; timers keep firing while the walk goes through thousands of
// accepted words, and the questions still come in the document's order.
void TestStudyTools::aLongCheckWalksFromTheEventLoop()
{
    text->setPlainText(QStringLiteral("Hello world, the second world.\n").repeated(10000) +
                       QStringLiteral("wrold zorkish"));
    Learner learner(QStringList(2, QStringLiteral("btnIgnoreOnce")), text);
    int ticksWhileWalking = 0;
    QTimer tick;
    connect(&tick, &QTimer::timeout, this, [&] {
        if (learner.asked.isEmpty() && !QApplication::activeModalWidget())
            ++ticksWhileWalking;
    });
    tick.start(0);
    action("&SpellCheck")->trigger();
    QVERIFY(learner.asked.isEmpty());
    QVERIFY(!action("&SpellCheck")->isEnabled());

    QTRY_COMPARE_WITH_TIMEOUT(learner.boxes, QStringList{finished}, 30000);
    QCOMPARE(learner.asked, (QStringList{QStringLiteral("wrold"), QStringLiteral("zorkish")}));
    QCOMPARE(learner.highlighted, learner.asked);
    QVERIFY2(ticksWhileWalking > 2, qPrintable(QString::number(ticksWhileWalking)));
    QVERIFY(action("&SpellCheck")->isEnabled());
}

// The program may end while a check walks: the editor takes the run and its dialog along,
// and the run's next batch never comes.
void TestStudyTools::theEditorGoesWithARunningCheck()
{
    text->setPlainText(QStringLiteral("Hello world, the second world.\n").repeated(10000));
    action("&SpellCheck")->trigger();
    const QPointer<SpellCheckDialog> dialog = editor->findChild<SpellCheckDialog *>();
    QVERIFY(dialog);
    editor.reset();
    QVERIFY(dialog.isNull());
    bool later = false;
    QTimer::singleShot(0, this, [&later] { later = true; });
    QTRY_VERIFY(later);
}

void TestStudyTools::ignoreAllLastsOneRun()
{
    text->setPlainText(QStringLiteral("zorkish hello zorkish"));
    for (int run = 0; run < 2; ++run) {
        const auto learner = runCheck({QStringLiteral("btnIgnoreAll")});
        QCOMPARE(learner->asked, QStringList{QStringLiteral("zorkish")});
    }
    QVERIFY(hasMarks(text->document()->firstBlock()));
    QCOMPARE(readAll(AppPaths::userDictionary()), QByteArray());
}

void TestStudyTools::addToDictionaryLastsBeyondTheRun()
{
    text->setPlainText(QStringLiteral("zorkish hello\nzorkish wrold"));
    QVERIFY(hasMarks(text->document()->firstBlock()));
    auto learner = runCheck({QStringLiteral("btnAddToDict"), QStringLiteral("btnIgnoreOnce")});
    // the run itself no longer asks about the word just added
    QCOMPARE(learner->asked, (QStringList{QStringLiteral("zorkish"), QStringLiteral("wrold")}));
    QCOMPARE(readAll(AppPaths::userDictionary()), QByteArray("zorkish\n"));
    QCOMPARE(text->toPlainText(), QStringLiteral("zorkish hello\nzorkish wrold"));
    QVERIFY(!hasMarks(text->document()->firstBlock()));
    QVERIFY(text->document()->isModified());

    learner.reset();
    learner = runCheck({QStringLiteral("btnIgnoreOnce")});
    QCOMPARE(learner->asked, QStringList{QStringLiteral("wrold")});
}

void TestStudyTools::phoneticLookupOpensOneMoreDialogEachTime()
{
    QAction *lookup = action("&PhoneticLookup");
    QVERIFY(lookup);
    lookup->trigger();
    lookup->trigger();
    QList<PhoneticDialog *> dialogs =
        editor->findChildren<PhoneticDialog *>(Qt::FindDirectChildrenOnly);
    QCOMPARE(dialogs.size(), 2);
    QVERIFY(dialogs[0] != dialogs[1]);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);

    const auto search = [](PhoneticDialog *dialog) {
        auto *input = dialog->findChild<QLineEdit *>(QStringLiteral("inputPhonetic"));
        auto *list = dialog->findChild<QListWidget *>(QStringLiteral("displayResult"));
        input->setText(QStringLiteral("igz"));
        // three rows: more than the two the dialog opens with
        return QTest::qWaitFor([list] { return list->count() == 3; });
    };
    for (PhoneticDialog *dialog : dialogs) {
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isModal());
        QVERIFY(search(dialog));
    }
    // the second dialog's connection outlives the first dialog
    delete dialogs.takeFirst();
    QVERIFY(search(dialogs.first()));
}

// The text to check is the cursor's paragraph or the selection; its result shows in one
// window, whose missed word opens the lookup on that word's entry.
void TestStudyTools::wordCheckOfTheParagraphLooksUpAMissedWord()
{
    text->setPlainText(QStringLiteral("A first try.\nAn exampel, here"));
    QTextCursor cursor = text->textCursor();
    cursor.movePosition(QTextCursor::End);
    text->setTextCursor(cursor);
    QCOMPARE(editor->checkText(), QStringLiteral("An exampel, here"));
    cursor.movePosition(QTextCursor::Start);
    cursor.movePosition(QTextCursor::Down, QTextCursor::KeepAnchor);
    text->setTextCursor(cursor);
    QCOMPARE(editor->checkText(), QStringLiteral("A first try.\n"));

    editor->showWordCheck(checkWords(QStringLiteral("A first try."), editor->checkText()));
    editor->showWordCheck(
        checkWords(QStringLiteral("An example here"), QStringLiteral("An exampel, here")));
    const QList<WordCheckDialog *> checks =
        editor->findChildren<WordCheckDialog *>(Qt::FindDirectChildrenOnly);
    QCOMPARE(checks.size(), 1);
    QVERIFY(QTest::qWaitForWindowExposed(checks[0]));
    auto *sentence = checks[0]->findChild<QTextBrowser *>();
    QTextCursor word = sentence->document()->find(QStringLiteral("example"));
    QVERIFY(!word.isNull());
    word.setPosition(word.selectionStart() + 3);
    QTest::mouseClick(sentence->viewport(), Qt::LeftButton, {},
                      sentence->cursorRect(word).center());

    const QList<PhoneticDialog *> lookups =
        editor->findChildren<PhoneticDialog *>(Qt::FindDirectChildrenOnly);
    QCOMPARE(lookups.size(), 1);
    QVERIFY(lookups[0]->isVisible());
    QVERIFY(lookups[0]->findChild<QRadioButton *>(QStringLiteral("captionMode"))->isChecked());
    QCOMPARE(lookups[0]->findChild<QLineEdit *>(QStringLiteral("inputPhonetic"))->text(),
             QStringLiteral("example"));
    const auto *entry = lookups[0]->findChild<QTextEdit *>(QStringLiteral("displayFull"));
    QTRY_COMPARE_WITH_TIMEOUT(entry->toPlainText(),
                              QStringLiteral("example\n[i\u0261\u02C8z\u0251\u02D0mpl]\na thing"),
                              10000);
}

void TestStudyTools::diffTextOpensAnEmptyComparison()
{
    text->setPlainText(QStringLiteral("hello world"));
    text->selectAll();
    QAction *diff = action("&DiffText");
    QVERIFY(diff);
    diff->trigger();
    diff->trigger();
    const QList<DiffDialog *> dialogs =
        editor->findChildren<DiffDialog *>(Qt::FindDirectChildrenOnly);
    QCOMPARE(dialogs.size(), 2);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    for (const DiffDialog *dialog : dialogs) {
        QVERIFY(dialog->isVisible());
        for (const char *name : {"sourceFile", "targetFile", "modifyFile"})
            QCOMPARE(dialog->findChild<QTextEdit *>(QLatin1String(name))->toPlainText(), QString());
    }
    QCOMPARE(text->toPlainText(), QStringLiteral("hello world"));
}

QTEST_MAIN(TestStudyTools)
#include "tst_studytools.moc"
