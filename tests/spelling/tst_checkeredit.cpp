// CTextCheckerEdit and CTextSyntaxHighlighter on a real widget, run in a temporary working
// folder holding a tiny "./spell/dict/en_US" pair, with the user's data folder in it too, so
// the user dictionary the edit appends to is the test's own.
#include "spelling/ctextcheckeredit.h"
#include "spelling/ctextsyntaxhighlighter.h"
#include "spelling/spellingengine.h"
#include "testfiles.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

#include <functional>
#include <memory>

using Range = std::pair<int, int>;

namespace {

// The [start, length) ranges of a block that carry the red spell-check underline.
QList<Range> marks(const QTextBlock &block)
{
    QList<Range> result;
    for (const QTextLayout::FormatRange &r : block.layout()->formats()) {
        if (r.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline &&
            r.format.underlineColor() == QColor(Qt::red))
            result.append({r.start, r.length});
    }
    return result;
}

// The menu as text: "-" for a separator, a suggestion's text wrapped in "*" when bold.
QStringList describe(const QMenu *menu)
{
    QStringList entries;
    for (const QAction *a : menu->actions())
        entries.append(a->isSeparator()   ? QStringLiteral("-")
                       : a->font().bold() ? QLatin1Char('*') + a->text() + QLatin1Char('*')
                                          : a->text());
    return entries;
}

QAction *entry(const QMenu *menu, const QString &text)
{
    for (QAction *a : menu->actions())
        if (a->text() == text)
            return a;
    return nullptr;
}

} // namespace

class TestCheckerEdit final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void highlightsRejectedWordPieces_data();
    void highlightsRejectedWordPieces();
    void contextMenu_data();
    void contextMenu();
    void choosingASuggestionReplacesTheWord();
    void addToDictionaryUnmarksEveryOccurrence();
    void addToDictionaryFromTheDialog();
    void editActionsFollowSelectionAndClipboard();

private:
    // Opens the context menu at the document position and hands the running menu to act,
    // which may trigger an entry; the menu is closed afterwards.
    void openContextMenu(int position, const std::function<void(QMenu *)> &act);
    QByteArray userDictionary() const;

    QTemporaryDir dir;
    QString userDictionaryPath;
    QString previousFolder;
    std::unique_ptr<CTextCheckerEdit> edit;
};

void TestCheckerEdit::initTestCase()
{
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("spell/dict")));
    // the learner's word list belongs in the user's data folder, never in the data tree
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
    userDictionaryPath =
        dir.filePath(QStringLiteral("data/") + QCoreApplication::applicationName() +
                     QStringLiteral("/userDict.txt"));
    QVERIFY(QDir().mkpath(QFileInfo(userDictionaryPath).path()));
    writeFile(dir.filePath(QStringLiteral("spell/dict/en_US.aff")), "SET UTF-8\nTRY elorwdh\n");
    writeFile(dir.filePath(QStringLiteral("spell/dict/en_US.dic")), "2\nhello\nworld\n");
    previousFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
}

void TestCheckerEdit::cleanupTestCase()
{
    QDir::setCurrent(previousFolder);
}

void TestCheckerEdit::init()
{
    writeFile(userDictionaryPath, {});
    QGuiApplication::clipboard()->clear();
    edit = std::make_unique<CTextCheckerEdit>();
    edit->resize(400, 300);
    edit->show();
    QVERIFY(QTest::qWaitForWindowExposed(edit.get()));
}

void TestCheckerEdit::cleanup()
{
    edit.reset();
}

QByteArray TestCheckerEdit::userDictionary() const
{
    QFile f(userDictionaryPath);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestCheckerEdit::openContextMenu(int position, const std::function<void(QMenu *)> &act)
{
    QTextCursor at(edit->document());
    at.setPosition(position);
    const QPoint point = edit->cursorRect(at).center() + QPoint(1, 0);
    bool ran = false;
    QTimer::singleShot(0, edit.get(), [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        act(menu);
        ran = true;
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, edit->viewport()->mapToGlobal(point));
    QApplication::sendEvent(edit->viewport(), &event);
    QVERIFY(ran);
}

void TestCheckerEdit::highlightsRejectedWordPieces_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<Range>>("expected");
    QTest::newRow("word after a comma") << QStringLiteral("Hello, wrold") << QList<Range>{{7, 5}};
    // A hyphenated word is one word, as the document check asks about it.
    QTest::newRow("hyphenated") << QStringLiteral("hello-wrold-hello") << QList<Range>{{0, 17}};
    QTest::newRow("no letters") << QStringLiteral(" , . ; 42 -- ?! ") << QList<Range>{};
    QTest::newRow("quotes and brackets stay unmarked")
        << QStringLiteral("\"wrold\" (wrold)") << QList<Range>{{1, 5}, {9, 5}};
    QTest::newRow("numbers with a unit and east asian text")
        << QStringLiteral("7pm 1990s 港口，wrold") << QList<Range>{{13, 5}};
    QTest::newRow("two rejected") << QStringLiteral("hlelo world wrold")
                                  << QList<Range>{{0, 5}, {12, 5}};
    QTest::newRow("empty") << QString() << QList<Range>{};
}

void TestCheckerEdit::highlightsRejectedWordPieces()
{
    QFETCH(QString, text);
    QFETCH(QList<Range>, expected);
    edit->setPlainText(text);
    QCOMPARE(marks(edit->document()->firstBlock()), expected);
}

void TestCheckerEdit::contextMenu_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selectionStart");
    QTest::addColumn<int>("selectionEnd");
    QTest::addColumn<int>("clickAt");
    QTest::addColumn<QStringList>("menu");
    QTest::addColumn<QString>("selectedAfter");
    const QStringList common{QStringLiteral("&Copy"), QStringLiteral("&Cut"),
                             QStringLiteral("&Paste"), QStringLiteral("-")};
    QTest::newRow("misspelled word, nothing selected")
        << QStringLiteral("Hello, wrold") << -1 << -1 << 9
        << common + QStringList{QStringLiteral("*world*"), QStringLiteral("-"),
                                QStringLiteral("Add to dictionary")}
        << QStringLiteral("wrold");
    QTest::newRow("a selection is kept")
        << QStringLiteral("Hello, wrold") << 0 << 5 << 9 << common << QStringLiteral("Hello");
    QTest::newRow("empty line") << QStringLiteral("hello\n\nworld") << -1 << -1 << 6 << common
                                << QString();
}

void TestCheckerEdit::contextMenu()
{
    QFETCH(QString, text);
    QFETCH(int, selectionStart);
    QFETCH(int, selectionEnd);
    QFETCH(int, clickAt);
    QFETCH(QStringList, menu);
    QFETCH(QString, selectedAfter);
    edit->setPlainText(text);
    QTextCursor cursor(edit->document());
    if (selectionStart >= 0) {
        cursor.setPosition(selectionStart);
        cursor.setPosition(selectionEnd, QTextCursor::KeepAnchor);
    }
    edit->setTextCursor(cursor);
    QStringList shown;
    openContextMenu(clickAt, [&](QMenu *m) { shown = describe(m); });
    QCOMPARE(shown, menu);
    QCOMPARE(edit->textCursor().selectedText(), selectedAfter);
}

void TestCheckerEdit::choosingASuggestionReplacesTheWord()
{
    edit->setHtml(QStringLiteral("Hello, <b>wrold</b> hello"));
    openContextMenu(9, [](QMenu *m) {
        QAction *suggestion = entry(m, QStringLiteral("world"));
        QVERIFY(suggestion);
        suggestion->trigger();
    });
    QCOMPARE(edit->toPlainText(), QStringLiteral("Hello, world hello"));
}

void TestCheckerEdit::addToDictionaryUnmarksEveryOccurrence()
{
    edit->setPlainText(QStringLiteral("zorkish hello\nworld zorkish"));
    const QTextBlock second = edit->document()->lastBlock();
    QCOMPARE(marks(second), (QList<Range>{{6, 7}}));
    edit->document()->setModified(false);
    openContextMenu(2, [](QMenu *m) {
        QAction *add = entry(m, QStringLiteral("Add to dictionary"));
        QVERIFY(add);
        add->trigger();
    });
    QCOMPARE(userDictionary(), QByteArray("zorkish\n"));
    QCOMPARE(edit->toPlainText(), QStringLiteral("zorkish hello\nworld zorkish"));
    QCOMPARE(marks(edit->document()->firstBlock()), QList<Range>{});
    QCOMPARE(marks(second), QList<Range>{});
    QVERIFY(edit->document()->isModified());
    // a new edit builds the shared engine anew from the file
    edit = std::make_unique<CTextCheckerEdit>();
    QVERIFY(CTextCheckerEdit::sharedEngine()->isCorrect(u"zorkish"));
}

void TestCheckerEdit::addToDictionaryFromTheDialog()
{
    edit->setPlainText(QStringLiteral("hello zorkish world"));
    QTextCursor cursor(edit->document());
    cursor.setPosition(8);
    edit->setTextCursor(cursor);
    edit->addToDictionaryS();
    QCOMPARE(userDictionary(), QByteArray("zorkish\n"));
    QCOMPARE(marks(edit->document()->firstBlock()), QList<Range>{});
}

void TestCheckerEdit::editActionsFollowSelectionAndClipboard()
{
    const auto action = [this](const char *text) {
        for (QAction *a : edit->findChildren<QAction *>())
            if (a->text() == QLatin1String(text))
                return a;
        return static_cast<QAction *>(nullptr);
    };
    QAction *copy = action("&Copy");
    QAction *cut = action("&Cut");
    QAction *paste = action("&Paste");
    QVERIFY(copy && cut && paste);
    QVERIFY(!paste->isEnabled());

    edit->setPlainText(QStringLiteral("hello world"));
    QVERIFY(!copy->isEnabled() && !cut->isEnabled());
    openContextMenu(2, [](QMenu *) {});
    QVERIFY(copy->isEnabled() && cut->isEnabled());

    copy->trigger();
    QTRY_COMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("hello"));
    QTRY_VERIFY(paste->isEnabled());
    cut->trigger();
    QCOMPARE(edit->toPlainText(), QStringLiteral(" world"));
    QVERIFY(!copy->isEnabled() && !cut->isEnabled());
    edit->moveCursor(QTextCursor::End);
    paste->trigger();
    QCOMPARE(edit->toPlainText(), QStringLiteral(" worldhello"));

    QGuiApplication::clipboard()->clear();
    QTRY_VERIFY(!paste->isEnabled());
}

QTEST_MAIN(TestCheckerEdit)
#include "tst_checkeredit.moc"
