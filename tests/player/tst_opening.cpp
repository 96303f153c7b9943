// Opening lessons and documents the ways a learner expects: files handed over (the command
// line, a later copy of the program) and dropped on either window, each judged by its
// content; Ctrl+O; the recent lessons; the window title; and where the editor opens beside
// the player, remembered for the next start. Settings live in a temporary folder.
#include "app/studysession.h"
#include "editor/textedit.h"
#include "player/editorlink.h"
#include "player/filekind.h"
#include "player/recentlessons.h"
#include "player/screenwidget.h"
#include "player/trayicon.h"
#include "player/vk.h"
#include "player/windowplacement.h"
#include "spelling/ctextcheckeredit.h"
#include "support/mediafixtures.h"
#include "support/modalanswers.h"
#include "testfiles.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace {

constexpr int waitMs = 20000;

// Drags files over target and drops them there, as a file manager does; whether the drag
// was taken.
bool drop(QWidget *target, const QStringList &files)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString &f : files)
        urls += QUrl::fromLocalFile(f);
    data.setUrls(urls);
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
    return dropped.isAccepted();
}

// File names written as one string, separated by spaces.
QStringList names(const char *list)
{
    return QString::fromLatin1(list).split(QLatin1Char(' '));
}

QString transcriptText(const QString &path)
{
    QTextDocument doc;
    doc.setHtml(QString::fromUtf8(readAll(path)));
    return doc.toPlainText();
}

// The entries of menu as it shows them: text, and whether each can be chosen.
QList<std::pair<QString, bool>> entries(QMenu *menu)
{
    menu->popup(QPoint(10, 10));
    QList<std::pair<QString, bool>> list;
    for (QAction *a : menu->actions())
        if (!a->isSeparator())
            list.append({a->text(), a->isEnabled()});
    menu->hide();
    return list;
}

} // namespace

class TestOpening final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void sortingByKind_data();
    void sortingByKind();
    void filesOpenByTheirContent_data();
    void filesOpenByTheirContent();
    void aDocumentDroppedOnTheEditorAsksAboutTyping();
    void ctrlOAndTheRecentLessons();
    void editorBesideThePlayer_data();
    void editorBesideThePlayer();
    void placesAreRememberedOnScreen();

private:
    void makeWindow();
    QRect available() const { return QGuiApplication::primaryScreen()->availableGeometry(); }

    QTemporaryDir settingsDir;
    MediaFixtures fx;
    std::unique_ptr<StudySession> session;
    Vk *window = nullptr;
    TextEdit *editor = nullptr;
    CTextCheckerEdit *text = nullptr;
};

void TestOpening::initTestCase()
{
    QVERIFY(settingsDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QVERIFY(fx.dir.isValid());
    // named for the other kind: only their content tells what they are
    const QStringList mp4{QStringLiteral("-c:a"), QStringLiteral("aac"), QStringLiteral("-f"),
                          QStringLiteral("mp4")};
    QVERIFY(fx.make(QStringLiteral("lesson.txt"), MediaFixtures::toneSource(2) + mp4));
    QVERIFY(fx.make(QStringLiteral("b.mp3"), MediaFixtures::toneSource(2)));
    writeFile(fx.path(QStringLiteral("notes.mp4")),
              "<html><body><p>notes typed before</p></body></html>");
    writeFile(fx.path(QStringLiteral("data.bin")), QByteArray(4096, '\x01'));
}

void TestOpening::makeWindow()
{
    session = std::make_unique<StudySession>();
    window = session->player();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *e = qobject_cast<TextEdit *>(w))
            editor = e;
    QVERIFY(editor);
    text = editor->findChild<CTextCheckerEdit *>();
}

void TestOpening::init()
{
    QSettings(QStringLiteral("vorlynplayer"), QStringLiteral("player")).clear();
    for (const QString &name : QDir(fx.dir.path()).entryList({QStringLiteral("*.html")}))
        QVERIFY(QFile::remove(fx.path(name)));
    makeWindow();
}

void TestOpening::cleanup()
{
    session.reset();
    window = nullptr;
    editor = nullptr;
}

void TestOpening::sortingByKind_data()
{
    // each file's kind is its name's first letter: m(edia), d(ocument), x (missing), o(ther)
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("media");
    QTest::addColumn<QString>("document");
    QTest::addColumn<QStringList>("refused");
    QTest::newRow("none") << QStringList() << QString() << QString() << QStringList();
    QTest::newRow("one of each, either order")
        << QStringList{u"d1"_qs, u"m1"_qs} << u"m1"_qs << u"d1"_qs << QStringList();
    QTest::newRow("the first of a kind wins")
        << QStringList{u"m1"_qs, u"d1"_qs, u"m2"_qs, u"d2"_qs} << u"m1"_qs << u"d1"_qs
        << QStringList{u"m2"_qs, u"d2"_qs};
    QTest::newRow("missing and other files are refused, the rest open")
        << QStringList{u"x1"_qs, u"o1"_qs, u"m1"_qs} << u"m1"_qs << QString()
        << QStringList{u"x1"_qs, u"o1"_qs};
}

void TestOpening::sortingByKind()
{
    QFETCH(QStringList, files);
    const OpenedFiles sorted = sortOpenedFiles(files, [](const QString &file) {
        switch (file.front().toLatin1()) {
        case 'm':
            return FileKind::Media;
        case 'd':
            return FileKind::Document;
        case 'x':
            return FileKind::Missing;
        default:
            return FileKind::Other;
        }
    });
    QTEST(sorted.media, "media");
    QTEST(sorted.document, "document");
    QFETCH(QStringList, refused);
    QCOMPARE(sorted.problems.size(), refused.size());
    for (qsizetype i = 0; i < refused.size(); ++i)
        QVERIFY2(sorted.problems[i].startsWith(refused[i] + u':'), qPrintable(sorted.problems[i]));
}

void TestOpening::filesOpenByTheirContent_data()
{
    QTest::addColumn<QString>("route"); // handed over, or dropped on which window
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("playerTitle"); // afterwards
    QTest::addColumn<QString>("editorTitle"); // afterwards, its shown file name
    QTest::addColumn<QString>("editorText");
    QTest::addColumn<QStringList>("refused"); // named in the message, or none

    const QString idle = QStringLiteral("Vorlyn Player");
    const QString lesson = QStringLiteral("lesson.txt - Vorlyn Player");
    const QString guide = QStringLiteral("vorlynplayer.txt");
    const QString notes = QStringLiteral("notes typed before");
    QTest::newRow("a media file becomes the lesson, its transcript the document")
        << "handed" << names("lesson.txt") << lesson << "lesson.txt.html"
        << "" << QStringList();
    QTest::newRow("a document becomes the editor's")
        << "handed" << names("notes.mp4") << idle << "notes.mp4" << notes << QStringList();
    QTest::newRow("with both, the document starts the lesson's transcript")
        << "handed" << names("lesson.txt notes.mp4") << lesson << "lesson.txt.html" << notes
        << QStringList();
    QTest::newRow("missing files, files of neither kind and a second lesson are named")
        << "handed" << names("gone.mp3 data.bin lesson.txt b.mp3") << lesson << "lesson.txt.html"
        << "" << names("gone.mp3 data.bin b.mp3");
    QTest::newRow("a media file dropped on the player")
        << "player" << names("lesson.txt") << lesson << "lesson.txt.html"
        << "" << QStringList();
    QTest::newRow("a document dropped on the editor")
        << "editor" << names("notes.mp4") << idle << "notes.mp4" << notes << QStringList();
    QTest::newRow("a media file dropped on the editor becomes the lesson")
        << "editor" << names("lesson.txt") << lesson << "lesson.txt.html"
        << "" << QStringList();
    QTest::newRow("nothing opens from a missing file")
        << "player" << names("gone.mp3") << idle << guide << QString() << names("gone.mp3");
}

void TestOpening::filesOpenByTheirContent()
{
    QFETCH(QString, route);
    QFETCH(QStringList, files);
    QFETCH(QString, playerTitle);
    QFETCH(QString, editorTitle);
    QFETCH(QString, editorText);
    QFETCH(QStringList, refused);

    const QString guideText = text->toPlainText();
    QStringList paths;
    for (const QString &f : files)
        paths += fx.path(f);
    if (route == QLatin1String("handed")) {
        session->editorLink()->openFiles(paths);
    } else if (route == QLatin1String("player")) {
        QVERIFY(drop(window->findChild<QScreenWidget *>(), paths));
    } else {
        editor->show();
        QVERIFY(QTest::qWaitForWindowExposed(editor));
        QVERIFY(drop(text->viewport(), paths));
    }

    QCOMPARE(window->windowTitle(), playerTitle);
    QCOMPARE(editor->windowTitle(), editorTitle + QLatin1String("[*] - Rich Text"));
    QCOMPARE(text->toPlainText(), editorText.isNull() ? guideText : editorText);
    // a document handed over is shown
    if (files.contains(QStringLiteral("notes.mp4")))
        QVERIFY(editor->isVisible());
    if (editorTitle.endsWith(QLatin1String(".html")))
        QCOMPARE(transcriptText(fx.path(editorTitle)), editorText);

    auto *box = window->findChild<QMessageBox *>();
    QCOMPARE(box != nullptr, !refused.isEmpty());
    if (box) {
        for (const QString &f : refused)
            QVERIFY2(box->text().contains(fx.path(f)), qPrintable(box->text()));
        QVERIFY(!box->text().contains(fx.path(QStringLiteral("lesson.txt"))));
        box->close();
    }
    window->on_actionStop();
    QCOMPARE(window->windowTitle(), QStringLiteral("Vorlyn Player"));
}

void TestOpening::aDocumentDroppedOnTheEditorAsksAboutTyping()
{
    editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(editor));
    editor->fileNew();
    QTest::keyClicks(text, QStringLiteral("alpha"));
    const QString notes = fx.path(QStringLiteral("notes.mp4"));

    answerBox(QMessageBox::Cancel);
    QVERIFY(drop(text->viewport(), {notes}));
    QCOMPARE(text->toPlainText(), QStringLiteral("alpha"));

    answerBox(QMessageBox::Discard);
    QVERIFY(drop(text->viewport(), {notes}));
    QCOMPARE(text->toPlainText(), QStringLiteral("notes typed before"));
}

void TestOpening::ctrlOAndTheRecentLessons()
{
    auto *recent = window->findChild<RecentLessonsMenu *>();
    QVERIFY(recent);
    // the tray menu offers the same list
    QVERIFY(session->tray()->contextMenu()->actions().contains(recent->menuAction()));
    QCOMPARE(entries(recent), (QList<std::pair<QString, bool>>{{QStringLiteral("Clear"), false}}));

    for (int i = 0; i < 10; ++i)
        RecentLessonsMenu::add(fx.path(QStringLiteral("gone%1.mp3").arg(i)));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    chooseFile(fx.path(QStringLiteral("lesson.txt")));
    QTest::keyClick(window, Qt::Key_O, Qt::ControlModifier);
    QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QStringLiteral("lesson.txt - Vorlyn Player"),
                              waitMs);
    session->editorLink()->openFiles({fx.path(QStringLiteral("b.mp3"))});

    // newest first, ten at most, the missing ones greyed out
    QList<std::pair<QString, bool>> expected{{QStringLiteral("b.mp3"), true},
                                             {QStringLiteral("lesson.txt"), true}};
    for (int i = 9; i >= 2; --i)
        expected.append({QStringLiteral("gone%1.mp3").arg(i), false});
    expected.append({QStringLiteral("Clear"), true});
    QCOMPARE(entries(recent), expected);

    // reopening moves a lesson to the front; from the tray, the window in the tray comes back
    window->hide();
    entries(recent);
    recent->actions().at(1)->trigger();
    QCOMPARE(window->windowTitle(), QStringLiteral("lesson.txt - Vorlyn Player"));
    QVERIFY(window->isVisible());
    QCOMPARE(
        RecentLessonsMenu::lessons().mid(0, 2),
        (QStringList{fx.path(QStringLiteral("lesson.txt")), fx.path(QStringLiteral("b.mp3"))}));

    recent->actions().last()->trigger();
    QCOMPARE(entries(recent), (QList<std::pair<QString, bool>>{{QStringLiteral("Clear"), false}}));
}

void TestOpening::editorBesideThePlayer_data()
{
    QTest::addColumn<QRect>("player");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("playerAfter");
    QTest::addColumn<QRect>("editorAfter"); // the editor asks for 610 x 400

    QTest::newRow("to the right") << QRect(100, 100, 640, 480) << QRect(0, 0, 1600, 1200)
                                  << QRect(100, 100, 640, 480) << QRect(740, 100, 610, 400);
    QTest::newRow("both moved left to fit side by side")
        << QRect(900, 100, 640, 480) << QRect(0, 0, 1600, 1200) << QRect(350, 100, 640, 480)
        << QRect(990, 100, 610, 400);
    QTest::newRow("below on a narrow screen, both moved up")
        << QRect(0, 500, 640, 480) << QRect(0, 0, 1000, 1000) << QRect(0, 120, 640, 480)
        << QRect(0, 600, 610, 400);
    // 260 of 400 pixels below keep more of it than 384 of 610 beside
    QTest::newRow("shrunk where more of it fits, on a small screen with a panel")
        << QRect(300, 200, 640, 480) << QRect(0, 28, 1024, 740) << QRect(300, 28, 640, 480)
        << QRect(300, 508, 610, 260);
    QTest::newRow("a player off the screen comes back")
        << QRect(-800, -600, 640, 480) << QRect(0, 0, 1600, 1200) << QRect(0, 0, 640, 480)
        << QRect(640, 0, 610, 400);
}

void TestOpening::editorBesideThePlayer()
{
    QFETCH(QRect, player);
    QFETCH(QRect, available);
    QFETCH(QRect, playerAfter);
    QFETCH(QRect, editorAfter);
    const placement::Pair pair = placement::besidePlayer(player, QSize(610, 400), available);
    QCOMPARE(pair.player, playerAfter);
    QCOMPARE(pair.editor, editorAfter);
}

void TestOpening::placesAreRememberedOnScreen()
{
    // the editor button opens the editor beside the player, both on the screen
    window->setGeometry(QRect(available().right() - 700, available().top() + 50, 640, 480));
    window->on_actionEidtor();
    QVERIFY(QTest::qWaitForWindowExposed(editor));
    QTRY_COMPARE_WITH_TIMEOUT(editor->geometry().left(), window->geometry().right() + 1, waitMs);
    QCOMPARE(editor->geometry().top(), window->geometry().top());
    QVERIFY(available().contains(window->geometry()));
    QVERIFY(available().contains(editor->geometry()));

    const QRect playerPlace(available().left() + 30, available().top() + 40, 600, 450);
    const QRect editorPlace(available().left() + 60, available().top() + 500, 500, 300);
    window->setGeometry(playerPlace);
    editor->setGeometry(editorPlace);
    QTRY_COMPARE_WITH_TIMEOUT(editor->geometry(), editorPlace, waitMs);
    // kept once the windows have stopped moving, without waiting for the program's end
    QSettings kept(QStringLiteral("vorlynplayer"), QStringLiteral("player"));
    QTRY_COMPARE_WITH_TIMEOUT(kept.value(QStringLiteral("windows/player")).toRect(), playerPlace,
                              waitMs);
    QTRY_COMPARE_WITH_TIMEOUT(kept.value(QStringLiteral("windows/editor")).toRect(), editorPlace,
                              waitMs);
    cleanup();
    makeWindow();
    QCOMPARE(window->geometry(), playerPlace);
    QCOMPARE(editor->geometry(), editorPlace);
    // a remembered editor stays where it was when it is shown again
    window->on_actionEidtor();
    QVERIFY(QTest::qWaitForWindowExposed(editor));
    QCOMPARE(editor->geometry(), editorPlace);

    // places on a screen that is gone come back onto the one there is
    QSettings settings(QStringLiteral("vorlynplayer"), QStringLiteral("player"));
    settings.setValue(QStringLiteral("windows/player"), QRect(5000, 4000, 640, 480));
    settings.setValue(QStringLiteral("windows/editor"), QRect(-3000, 200, 4000, 300));
    settings.sync();
    cleanup();
    makeWindow();
    QVERIFY(available().contains(window->geometry()));
    QCOMPARE(window->geometry().size(), QSize(640, 480));
    QVERIFY(available().contains(editor->geometry()));
    QCOMPARE(editor->geometry().width(), available().width());
}

QTEST_MAIN(TestOpening)
#include "tst_opening.moc"
