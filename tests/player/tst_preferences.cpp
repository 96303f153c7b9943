// The learner's preferences: a reassigned key drives the player in its window and from the
// editor while the old one no longer does, the nudge step and the drill's defaults apply,
// all of it kept for the next start; the dialog takes keys and refuses those that clash;
// the key list and the help show the keys as they are.
#include "app/studysession.h"
#include "editor/textedit.h"
#include "lesson/lessoncontroller.h"
#include "lesson/lessonstore.h"
#include "player/helpwindow.h"
#include "player/keylistdialog.h"
#include "player/preferences.h"
#include "player/preferencesdialog.h"
#include "player/preferenceskeeper.h"
#include "player/vk.h"
#include "spelling/ctextcheckeredit.h"
#include "support/mediafixtures.h"
#include "support/modalanswers.h"

#include <QKeySequenceEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

class TestPreferences final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void reassignedKeyDrivesThePlayerAndTheEditor();
    void dialogTakesOrRefusesAKey_data();
    void dialogTakesOrRefusesAKey();
    void keyListShowsTheKeysAsTheyAre();

private:
    std::unique_ptr<StudySession> startPlayer();
    void openLesson(Vk *window, const QString &name);

    MediaFixtures fx;
};

void TestPreferences::initTestCase()
{
    QVERIFY(fx.dir.isValid());
    for (const char *name : {"a.mp3", "b.mp3"})
        QVERIFY(fx.make(QLatin1String(name), MediaFixtures::toneSource(3)));
}

std::unique_ptr<StudySession> TestPreferences::startPlayer()
{
    auto session = std::make_unique<StudySession>();
    session->player()->show();
    if (!QTest::qWaitForWindowExposed(session->player()))
        return nullptr;
    return session;
}

void TestPreferences::openLesson(Vk *window, const QString &name)
{
    chooseFile(fx.path(name));
    window->on_actionOpen_activated();
    QVERIFY(window->lesson()->isOpen());
}

void TestPreferences::reassignedKeyDrivesThePlayerAndTheEditor()
{
    {
        std::unique_ptr<StudySession> session = startPlayer();
        QVERIFY(session);
        Preferences p = session->preferences()->preferences();
        p.keys.setKey(PlayerKeys::NudgeMarkInLater, 0, QKeySequence(Qt::Key_F13));
        p.nudgeSeconds = 0.5;
        p.drillDefaults.repetitions = 5;
        p.drillDefaults.advance = true;
        p.desiredRetention = 0.8;
        session->preferences()->setPreferences(p);
    }
    // what the learner set is there at the next start
    std::unique_ptr<StudySession> session = startPlayer();
    QVERIFY(session);
    Vk *window = session->player();
    QCOMPARE(session->preferences()->preferences().keys.keys(PlayerKeys::NudgeMarkInLater)[0],
             QKeySequence(Qt::Key_F13));
    // the lesson memory, opened after the preferences are read, schedules with their retention
    QTemporaryDir data;
    session->setLessonStore(
        std::make_unique<lesson::LessonStore>(data.filePath(QStringLiteral("lessons.db"))));
    QCOMPARE(session->player()->lesson()->store()->desiredRetention(), 0.8);
    openLesson(window, QStringLiteral("a.mp3"));
    LessonController *lesson = window->lesson();
    // a lesson opened for the first time gets the drill's defaults
    QCOMPARE(lesson->drillSettings().repetitions, 5);
    QVERIFY(lesson->drillSettings().advance);

    TextEdit *editor = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *e = qobject_cast<TextEdit *>(w))
            editor = e;
    QVERIFY(editor);
    window->on_actionEidtor();
    QVERIFY(QTest::qWaitForWindowExposed(editor));
    auto *text = editor->findChild<CTextCheckerEdit *>();
    const QString typed = text->toPlainText();
    const double start = lesson->markInSeconds();

    // (where the key is pressed, the key, how far the loop's start has moved)
    const struct
    {
        QWidget *where;
        Qt::Key key;
        double markIn;
    } presses[] = {
        {window, Qt::Key_F2, 0.0}, {window, Qt::Key_F13, 0.5}, {text, Qt::Key_F2, 0.5},
        {text, Qt::Key_F13, 1.0},  {window, Qt::Key_F1, 0.5},
    };
    for (const auto &press : presses) {
        QTest::keyClick(press.where, press.key);
        QTRY_VERIFY2_WITH_TIMEOUT(
            std::abs(lesson->markInSeconds() - start - press.markIn) < 0.02,
            qPrintable(QStringLiteral("%1 after %2 in %3")
                           .arg(lesson->markInSeconds())
                           .arg(QKeySequence(press.key).toString(),
                                QLatin1String(press.where->metaObject()->className()))),
            5000);
    }
    // neither key typed anything in the editor
    QCOMPARE(text->toPlainText(), typed);
}

void TestPreferences::dialogTakesOrRefusesAKey_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<QString>("refusal"); // a part of the message, or empty when taken

    QTest::newRow("a free key") << int(PlayerKeys::Slower) << 0 << QKeySequence(Qt::Key_F13)
                                << QString();
    QTest::newRow("another command's key")
        << int(PlayerKeys::Slower) << 1 << QKeySequence(Qt::Key_F5)
        << QStringLiteral("already the key of \u201cPlay or pause\u201d");
    QTest::newRow("the command's other key")
        << int(PlayerKeys::PlayPause) << 1 << QKeySequence(Qt::Key_F5)
        << QStringLiteral("already the key of \u201cPlay or pause\u201d");
    QTest::newRow("the editor's own key")
        << int(PlayerKeys::DrillNext) << 0 << QKeySequence(Qt::CTRL | Qt::Key_S)
        << QStringLiteral("the editor's key for \u201cSave\u201d");
    QTest::newRow("the editor's key for a command of the player's own")
        << int(PlayerKeys::OpenLesson) << 1 << QKeySequence(Qt::CTRL | Qt::Key_S) << QString();
    QTest::newRow("a keypad key") << int(PlayerKeys::Faster) << 0
                                  << QKeySequence(Qt::KeypadModifier | Qt::Key_Plus) << QString();
}

void TestPreferences::dialogTakesOrRefusesAKey()
{
    QFETCH(int, command);
    QFETCH(int, slot);
    QFETCH(QKeySequence, key);
    QFETCH(QString, refusal);
    const auto c = PlayerKeys::Command(command);
    TextEdit editor;
    Preferences p;
    PreferencesDialog dialog(p, editor.ownShortcuts());
    dialog.show();
    QKeySequenceEdit *edit = dialog.keyEdit(c, slot);
    const QKeySequence before = p.keys.keys(c)[size_t(slot)];

    QString message;
    if (!refusal.isEmpty())
        answerBox(QMessageBox::Ok, &message);
    QTest::keyClick(edit, key[0].key(), key[0].keyboardModifiers());
    if (refusal.isEmpty()) {
        const QKeySequence taken = PlayerKeys::normalized(key);
        QTRY_COMPARE_WITH_TIMEOUT(dialog.preferences().keys.keys(c)[size_t(slot)], taken, 5000);
        QCOMPARE(edit->keySequence(), taken);
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(message.contains(refusal), 10000);
        QCOMPARE(dialog.preferences().keys.keys(c)[size_t(slot)], before);
        QCOMPARE(edit->keySequence(), before);
    }

    dialog.findChild<QPushButton *>(QStringLiteral("restoreKeys"))->click();
    QVERIFY(dialog.preferences().keys == PlayerKeys());
    QCOMPARE(edit->keySequence(), before);
}

void TestPreferences::keyListShowsTheKeysAsTheyAre()
{
    std::unique_ptr<StudySession> session = startPlayer();
    QVERIFY(session);
    Vk *window = session->player();
    Preferences p = session->preferences()->preferences();
    p.keys = PlayerKeys();
    p.keys.setKey(PlayerKeys::Slower, 0, QKeySequence(Qt::Key_F13));
    p.keys.setKey(PlayerKeys::Slower, 1, QKeySequence(Qt::Key_S));
    session->preferences()->setPreferences(p);

    // (command, its keys in the player, those of them that work from the editor)
    const struct
    {
        PlayerKeys::Command command;
        const char *inPlayer;
        const char *inEditor;
    } rows[] = {
        {PlayerKeys::Slower, "F13, S", "F13"},
        {PlayerKeys::PlayPause, "F5, Space", "F5"},
        {PlayerKeys::DrillOnOff, "Alt+D", "Alt+D"},
        {PlayerKeys::OpenLesson, "Ctrl+O", ""},
    };
    bool shown = false;
    onNextModal<KeyListDialog>([&](KeyListDialog *list) {
        for (const auto &row : rows) {
            QCOMPARE(list->table()->item(row.command, 0)->text(), PlayerKeys::label(row.command));
            QCOMPARE(list->table()->item(row.command, 1)->text(), QString::fromUtf8(row.inPlayer));
            QCOMPARE(list->table()->item(row.command, 2)->text(), QString::fromUtf8(row.inEditor));
        }
        shown = true;
        list->reject();
    });
    window->showKeyList();
    QVERIFY(shown);

    // Help, with no browser or network needed, lists the same keys in the shipped guide
    window->loadHelp();
    auto *help = window->findChild<HelpWindow *>();
    QVERIFY(help);
    QTRY_VERIFY_WITH_TIMEOUT(help->isVisible(), 10000);
    const QStringList lines = help->shownText().split(u'\n');
    for (const auto &row : rows) {
        const QString label = PlayerKeys::label(row.command);
        const QString expected =
            *row.inEditor ? HelpWindow::tr("%1 (also in the editor)").arg(label) : label;
        const auto line = std::find_if(lines.begin(), lines.end(), [&](const QString &l) {
            return l.startsWith(QLatin1String("  ") + QString::fromUtf8(row.inPlayer) +
                                QLatin1Char(' ')) &&
                   l.endsWith(expected);
        });
        QVERIFY2(line != lines.end(), row.inPlayer);
    }
    // the guide's fixed list gave way; the rest of the guide stays
    QVERIFY(!lines.contains(QStringLiteral("  F10     slower (one speed step, down to 0.5x)")));
    QVERIFY(lines.contains(QStringLiteral("Dictation drill")));
}

QTEST_MAIN(TestPreferences)
#include "tst_preferences.moc"
