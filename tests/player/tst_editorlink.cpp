// The main window and its dictation editor: where the transcript goes when the learner
// opens lessons through the player, function keys typed in the editor driving playback,
// the speed keys and the speed button, the drill's keys and the check, the progress and its
// lookup of a missed word, and the editor button. Lessons and transcripts live in a
// temporary folder.
#include "app/studysession.h"
#include "diff/wordcheckdialog.h"
#include "editor/textedit.h"
#include "lesson/drill.h"
#include "lesson/lessoncontroller.h"
#include "lesson/lessonstore.h"
#include "phonetic/phoneticdialog.h"
#include "player/controlbutton.h"
#include "player/drillbar.h"
#include "player/glrenderwidget.h"
#include "player/progresswindow.h"
#include "player/trayicon.h"
#include "player/vk.h"
#include "spelling/ctextcheckeredit.h"
#include "support/mediafixtures.h"
#include "support/modalanswers.h"
#include "testfiles.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>

#include <cmath>

namespace {

// Clicks the entry called entry in the next popup menu, as a learner would; gives up after
// ten seconds without one.
void pickFromPopup(const QString &entry, int tries = 200)
{
    QTimer::singleShot(50, qApp, [entry, tries] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu) {
            if (tries > 0)
                pickFromPopup(entry, tries - 1);
            return;
        }
        for (QAction *a : menu->actions())
            if (a->text() == entry)
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
    });
}

// The text a saved transcript shows, or a null string when there is no file.
QString transcriptText(const QString &path)
{
    if (!QFile::exists(path))
        return {};
    QTextDocument doc;
    doc.setHtml(QString::fromUtf8(readAll(path)));
    return doc.toPlainText();
}

} // namespace

class TestEditorLink final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void transcriptOnOpeningALesson_data();
    void transcriptOnOpeningALesson();
    void reopeningALessonWhoseTranscriptWentKeepsTheText();
    void functionKeysInTheEditorDriveThePlayer();
    void speedKeysAndTheSpeedButton();
    void drillKeysInTheEditorAndThePlayer();
    void drillLineIsReadableUnderThePicture();
    void checkKeyScoresTheSentenceAtTheCursor();
    void progressFollowsTheChecksAndLooksUpMissedWords();
    void editorButtonShowsAndHides();
    void typingIsSavedWhenTheProgramEnds();
    void quittingSettlesTheTypingBeforeAnythingCloses_data();
    void quittingSettlesTheTypingBeforeAnythingCloses();

private:
    void openLesson(const QString &name);
    void typeInEditor(const QString &s) { QTest::keyClicks(text, s); }

    MediaFixtures fx;
    QByteArray guide;
    std::unique_ptr<StudySession> session;
    Vk *window = nullptr;
    TextEdit *editor = nullptr;
    CTextCheckerEdit *text = nullptr;
};

void TestEditorLink::initTestCase()
{
    QVERIFY(fx.dir.isValid());
    for (const char *name : {"a.mp3", "b.mp3"})
        QVERIFY(fx.make(QLatin1String(name), MediaFixtures::toneSource(3)));
    guide = readAll(TextEdit::defaultDocument());
    QVERIFY(!guide.isEmpty());
    // a lesson with two subtitled sentences, the second with a sound no one writes down
    QVERIFY(fx.make(QStringLiteral("drill.mp3"), MediaFixtures::toneSource(4)));
    QFile srt(fx.path(QStringLiteral("drill.srt")));
    QVERIFY(srt.open(QIODevice::WriteOnly));
    QVERIFY(srt.write("1\n00:00:00,200 --> 00:00:01,200\nDon't go!\n\n"
                      "2\n00:00:02,000 --> 00:00:03,000\nWell done. [applause]\n") > 0);
    srt.close();
    // the same sentences under a picture
    QVERIFY(fx.make(QStringLiteral("film.mp4"),
                    MediaFixtures::videoSource(QStringLiteral("320x240"), 4) +
                        MediaFixtures::toneSource(4) + MediaFixtures::h264()));
    QVERIFY(QFile::copy(fx.path(QStringLiteral("drill.srt")), fx.path(QStringLiteral("film.srt"))));
}

void TestEditorLink::init()
{
    for (const QString &name :
         QDir(fx.dir.path()).entryList({QStringLiteral("*.html"), QStringLiteral("*.txt")}))
        QVERIFY(QFile::remove(fx.path(name)));
    session = std::make_unique<StudySession>();
    window = session->player();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    editor = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *e = qobject_cast<TextEdit *>(w))
            editor = e;
    QVERIFY(editor);
    QVERIFY(editor->isHidden());
    QCOMPARE(editor->size(), QSize(610, 400));
    text = editor->findChild<CTextCheckerEdit *>();
    // the editor starts on the practice guide
    QCOMPARE(editor->windowTitle(), QStringLiteral("vorlynplayer.txt[*] - Rich Text"));
}

void TestEditorLink::cleanup()
{
    session.reset();
    window = nullptr;
    // the guide in the run tree is never written
    QCOMPARE(readAll(TextEdit::defaultDocument()), guide);
}

void TestEditorLink::openLesson(const QString &name)
{
    chooseFile(fx.path(name));
    window->on_actionOpen_activated();
    QVERIFY(window->lesson()->isOpen());
}

void TestEditorLink::transcriptOnOpeningALesson_data()
{
    QTest::addColumn<QString>("before");        // what the learner did before opening b.mp3
    QTest::addColumn<QString>("existing");      // b.mp3.html before, or null for none
    QTest::addColumn<QString>("shown");         // the editor's text afterwards
    QTest::addColumn<QString>("title");         // the editor's shown file name afterwards
    QTest::addColumn<bool>("modified");         // the document afterwards
    QTest::addColumn<QString>("transcript");    // b.mp3.html afterwards, or null for none
    QTest::addColumn<QString>("otherFile");     // a file that must hold the learner's typing
    QTest::addColumn<QString>("otherFileText"); // ... and its text

    const QString none;
    QTest::newRow("the other lesson's transcript is saved to its own file")
        << "lesson a, type" << none << ""
        << "b.mp3.html" << false << ""
        << "a.mp3.html"
        << "alpha";
    QTest::newRow("the unchanged guide is not copied")
        << "" << none << ""
        << "b.mp3.html" << false << "" << none << none;
    QTest::newRow("an existing transcript is loaded, not overwritten")
        << ""
        << "earlier work"
        << "earlier work"
        << "b.mp3.html" << false << "earlier work" << none << none;
    QTest::newRow("coming back from another lesson loads the transcript")
        << "lesson a, type"
        << "earlier work"
        << "earlier work"
        << "b.mp3.html" << false << "earlier work"
        << "a.mp3.html"
        << "alpha";
    QTest::newRow("untitled typing is saved under the lesson's name")
        << "new, type" << none << "alpha"
        << "b.mp3.html" << false << "alpha" << none << none;
    QTest::newRow("typing in the guide is saved under the lesson's name, not the guide's")
        << "clear guide, type" << none << "alpha"
        << "b.mp3.html" << false << "alpha" << none << none;
    QTest::newRow("a file opened on its own keeps the typing, the transcript starts empty")
        << "open notes, type" << none << ""
        << "b.mp3.html" << false << ""
        << "notes.txt"
        << "alphanotes";
    QTest::newRow("typing in the guide neither replaces nor overwrites a transcript")
        << "clear guide, type"
        << "earlier work"
        << "alpha"
        << "untitled.html" << true << "earlier work" << none << none;
    QTest::newRow("untitled typing neither replaces nor overwrites a transcript")
        << "new, type"
        << "earlier work"
        << "alpha"
        << "untitled.html" << true << "earlier work" << none << none;
}

void TestEditorLink::transcriptOnOpeningALesson()
{
    QFETCH(QString, before);
    QFETCH(QString, existing);
    QFETCH(QString, shown);
    QFETCH(QString, title);
    QFETCH(bool, modified);
    QFETCH(QString, transcript);
    QFETCH(QString, otherFile);
    QFETCH(QString, otherFileText);

    const QString b = fx.path(QStringLiteral("b.mp3.html"));
    if (!existing.isNull()) {
        QTextDocument doc(existing);
        QFile f(b);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(doc.toHtml().toUtf8());
    }
    if (before.startsWith(QLatin1String("lesson a"))) {
        openLesson(QStringLiteral("a.mp3"));
        QCOMPARE(transcriptText(fx.path(QStringLiteral("a.mp3.html"))), QString());
    } else if (before.startsWith(QLatin1String("new"))) {
        editor->fileNew();
    } else if (before.startsWith(QLatin1String("clear guide"))) {
        text->clear();
    } else if (before.startsWith(QLatin1String("open notes"))) {
        QFile notes(fx.path(QStringLiteral("notes.txt")));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("notes");
        notes.close();
        chooseFile(notes.fileName());
        editor->fileOpen();
        QCOMPARE(text->toPlainText(), QStringLiteral("notes"));
    }
    if (before.endsWith(QLatin1String("type"))) {
        text->moveCursor(QTextCursor::Start);
        typeInEditor(QStringLiteral("alpha"));
    }

    openLesson(QStringLiteral("b.mp3"));
    QCOMPARE(text->toPlainText(), shown);
    QCOMPARE(editor->windowTitle(), title + QLatin1String("[*] - Rich Text"));
    QCOMPARE(text->document()->isModified(), modified);
    QCOMPARE(editor->isWindowModified(), modified);
    if (transcript.isNull())
        QVERIFY(!QFile::exists(b));
    else
        QCOMPARE(transcriptText(b), transcript);
    if (!otherFile.isNull()) {
        const QString other = fx.path(otherFile);
        QCOMPARE(other.endsWith(QLatin1String(".txt")) ? QString::fromUtf8(readAll(other))
                                                       : transcriptText(other),
                 otherFileText);
    }
}

void TestEditorLink::reopeningALessonWhoseTranscriptWentKeepsTheText()
{
    openLesson(QStringLiteral("a.mp3"));
    typeInEditor(QStringLiteral("alpha"));
    QVERIFY(editor->fileSave());
    const QString a = fx.path(QStringLiteral("a.mp3.html"));
    QVERIFY(QFile::remove(a));
    openLesson(QStringLiteral("a.mp3"));
    QCOMPARE(text->toPlainText(), QStringLiteral("alpha"));
    QCOMPARE(transcriptText(a), QStringLiteral("alpha"));
}

void TestEditorLink::typingIsSavedWhenTheProgramEnds()
{
    // the tray's quit entry and a termination signal end the event loop without asking
    openLesson(QStringLiteral("a.mp3"));
    typeInEditor(QStringLiteral("unsaved words"));
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(transcriptText(fx.path(QStringLiteral("a.mp3.html"))),
             QStringLiteral("unsaved words"));
}

void TestEditorLink::quittingSettlesTheTypingBeforeAnythingCloses_data()
{
    QTest::addColumn<bool>("lesson");   // typing in a lesson's transcript, else in the guide
    QTest::addColumn<bool>("fromTray"); // the tray's quit entry, else closing the player
    QTest::addColumn<int>("answer");    // to the question about unsaved typing, if asked
    QTest::addColumn<bool>("quits");
    QTest::newRow("untitled, close, cancel") << false << false << int(QMessageBox::Cancel) << false;
    QTest::newRow("untitled, tray, cancel") << false << true << int(QMessageBox::Cancel) << false;
    QTest::newRow("untitled, close, discard")
        << false << false << int(QMessageBox::Discard) << true;
    // a transcript is saved without a question, as switching lessons saves it
    QTest::newRow("transcript, close") << true << false << int(QMessageBox::NoButton) << true;
    QTest::newRow("transcript, tray") << true << true << int(QMessageBox::NoButton) << true;
}

void TestEditorLink::quittingSettlesTheTypingBeforeAnythingCloses()
{
    QFETCH(bool, lesson);
    QFETCH(bool, fromTray);
    QFETCH(int, answer);
    QFETCH(bool, quits);
    // the headless server has no system tray: closing the player quits
    QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
    if (lesson)
        openLesson(QStringLiteral("a.mp3"));
    window->on_actionEidtor();
    QVERIFY(QTest::qWaitForWindowExposed(editor));
    typeInEditor(QStringLiteral("unsaved words"));

    QString asked;
    if (answer != QMessageBox::NoButton)
        answerBox(QMessageBox::StandardButton(answer), &asked);
    QTimer::singleShot(0, window, [this, fromTray] {
        if (fromTray)
            session->tray()->quit();
        else
            window->close();
    });
    bool bothShown = false;
    // still running a few seconds later: both windows are looked at, the loop ends with 1
    QTimer later;
    later.setSingleShot(true);
    connect(&later, &QTimer::timeout, qApp, [this, &bothShown] {
        bothShown = window->isVisible() && editor->isVisible();
        QCoreApplication::exit(1);
    });
    later.start(3000);
    QCOMPARE(QApplication::exec(), quits ? 0 : 1);
    QCOMPARE(asked.isEmpty(), answer == QMessageBox::NoButton);
    if (!quits) {
        QVERIFY(bothShown);
        QVERIFY(text->toPlainText().startsWith(QLatin1String("unsaved words")));
    }
    if (lesson)
        QCOMPARE(transcriptText(fx.path(QStringLiteral("a.mp3.html"))),
                 QStringLiteral("unsaved words"));
}

void TestEditorLink::functionKeysInTheEditorDriveThePlayer()
{
    openLesson(QStringLiteral("a.mp3"));
    LessonController *m = window->lesson();
    window->on_actionEidtor();
    QVERIFY(QTest::qWaitForWindowExposed(editor));
    QVERIFY(!m->isStopped());

    QTest::keyClick(text, Qt::Key_F5);
    QVERIFY(m->isStopped());
    QTest::keyClick(text, Qt::Key_F5, Qt::ControlModifier);
    QVERIFY(m->isStopped());
    QTest::keyClick(text, Qt::Key_Space);
    QVERIFY(m->isStopped());
    QTest::keyClick(text, Qt::Key_F5);
    QVERIFY(!m->isStopped());
    // the space went into the text, not to the player
    QCOMPARE(text->toPlainText(), QStringLiteral(" "));
}

void TestEditorLink::speedKeysAndTheSpeedButton()
{
    LessonController *lesson = window->lesson();
    auto *button = window->findChild<QToolButton *>(QStringLiteral("speedButton"));
    QVERIFY(button);
    QVERIFY(button->isVisible());
    QCOMPARE(button->text(), QStringLiteral("1x"));
    QVERIFY(button->toolTip().contains(QLatin1String("F10")));
    window->on_actionEidtor();
    QVERIFY(QTest::qWaitForWindowExposed(editor));
    const QString typed = text->toPlainText();

    // (where the key is typed, key, the speed afterwards)
    const struct
    {
        QWidget *where;
        Qt::Key key;
        double speed;
    } presses[] = {
        {window, Qt::Key_F10, 0.9}, {text, Qt::Key_F10, 0.85},  {text, Qt::Key_F11, 0.9},
        {window, Qt::Key_F11, 1.0}, {text, Qt::Key_F11, 1.1},   {text, Qt::Key_F12, 1.0},
        {window, Qt::Key_F10, 0.9}, {window, Qt::Key_F12, 1.0},
    };
    for (const auto &p : presses) {
        QTest::keyClick(p.where, p.key);
        QCOMPARE(lesson->speed(), p.speed);
        QCOMPARE(button->text(), QString::number(p.speed) + u'x');
    }
    // with a modifier the keys are not the player's; in the editor they type nothing
    QTest::keyClick(text, Qt::Key_F10, Qt::ControlModifier);
    QTest::keyClick(window, Qt::Key_F11, Qt::ShiftModifier);
    QCOMPARE(lesson->speed(), 1.0);
    QCOMPARE(text->toPlainText(), typed);

    // the button's menu lists the steps with the current one ticked
    const QList<QAction *> steps = button->menu()->actions();
    QCOMPARE(steps.size(), qsizetype(LessonController::speedSteps.size()));
    const auto ticked = [&] {
        QStringList on;
        for (const QAction *a : steps)
            if (a->isChecked())
                on << a->text();
        return on;
    };
    QCOMPARE(ticked(), QStringList{QStringLiteral("1x")});
    // a click opens the menu; the step picked there becomes the speed
    pickFromPopup(QStringLiteral("0.75x"));
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(lesson->speed(), 0.75, 10000);
    QCOMPARE(button->text(), QStringLiteral("0.75x"));
    QCOMPARE(ticked(), QStringList{QStringLiteral("0.75x")});
}

// Alt and a letter, typed in the editor or the player, work the drill; in the editor they
// type nothing.
void TestEditorLink::drillKeysInTheEditorAndThePlayer()
{
    openLesson(QStringLiteral("drill.mp3"));
    LessonController *lesson = window->lesson();
    lesson::Drill *drill = lesson->drill();
    QCOMPARE(lesson->sentences().items.size(), size_t(2));
    lesson->loopSentence(0);
    auto *bar = window->findChild<DrillBar *>();
    QVERIFY(bar);
    QVERIFY(bar->isHidden());
    window->on_actionEidtor();
    QVERIFY(QTest::qWaitForWindowExposed(editor));
    const QString typed = text->toPlainText();
    QSignalSpy repetitions(drill, &lesson::Drill::repetitionStarted);

    // (where the key is typed, Alt and key, then: the drill on, the sentence looped, the
    // repetitions started, the text revealed)
    const struct
    {
        QWidget *where;
        Qt::Key key;
        bool on;
        int sentence;
        int started;
        QString revealed;
    } presses[] = {
        {text, Qt::Key_D, true, 0, 1, {}},
        {text, Qt::Key_H, true, 0, 1, QStringLiteral("D.... g.!")},
        {window, Qt::Key_R, true, 0, 1, QStringLiteral("Don't go!")},
        {text, Qt::Key_N, true, 1, 2, {}},
        {window, Qt::Key_H, true, 1, 2, QStringLiteral("W... d....")},
        {text, Qt::Key_A, true, 1, 3, QStringLiteral("W... d....")},
        {window, Qt::Key_N, true, 1, 3, QStringLiteral("W... d....")}, // the last one
        {window, Qt::Key_D, false, 1, 3, {}},
        {text, Qt::Key_A, false, 1, 3, {}},
        {text, Qt::Key_H, false, 1, 3, {}},
    };
    for (const auto &p : presses) {
        QTest::keyClick(p.where, p.key, Qt::AltModifier);
        QCOMPARE(drill->isOn(), p.on);
        QCOMPARE(bar->isVisible(), p.on);
        QCOMPARE(lesson->currentSentence(), p.sentence);
        QCOMPARE(repetitions.count(), p.started);
        QCOMPARE(bar->revealedText(), p.revealed);
    }
    QCOMPARE(repetitions.at(1).at(0).toInt(), 1);
    QCOMPARE(repetitions.at(2).at(1).toInt(), 1);
    QCOMPARE(text->toPlainText(), typed);
}

namespace {

// The relative luminance of a colour, as contrast ratios count it.
double luminance(QRgb c)
{
    const auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

} // namespace

// The drill's line as the learner sees it: the revealed sentence painted in a colour that
// stands out from the line's background, in a line no taller than its text, the picture
// keeping the rest of its room.
void TestEditorLink::drillLineIsReadableUnderThePicture()
{
    openLesson(QStringLiteral("film.mp4"));
    auto *picture = window->findChild<GLRenderWidget *>();
    QVERIFY(picture);
    QTRY_VERIFY_WITH_TIMEOUT(picture->isVisible(), 10000);
    const int pictureHeight = picture->height();
    window->lesson()->loopSentence(0);
    QTest::keyClick(window, Qt::Key_D, Qt::AltModifier);
    QTest::keyClick(window, Qt::Key_R, Qt::AltModifier);
    auto *bar = window->findChild<DrillBar *>();
    QTRY_VERIFY_WITH_TIMEOUT(bar->isVisible(), 10000);
    QCOMPARE(bar->revealedText(), QStringLiteral("Don't go!"));

    auto *label = bar->findChild<QLabel *>(QStringLiteral("drillText"));
    const int line = label->fontMetrics().height();
    QTRY_VERIFY_WITH_TIMEOUT(bar->height() <= 2 * line + 8, 10000);
    QVERIFY2(picture->height() >= pictureHeight - bar->height(),
             qPrintable(QStringLiteral("%1 of %2").arg(picture->height()).arg(pictureHeight)));

    // What the screen shows, not what the bar would paint: the picture's own window lies
    // next to it. The background is the colour of the text's corner; the text's ink is what
    // differs most from it, and it spans about the sentence's width.
    const QRect where = label->geometry();
    const int width = label->fontMetrics().horizontalAdvance(bar->revealedText());
    double contrast = 0;
    int inkWidth = 0;
    const auto look = [&] {
        const QPoint at = bar->mapToGlobal(QPoint(0, 0));
        const QImage shot =
            bar->screen()->grabWindow(0, at.x(), at.y(), bar->width(), bar->height()).toImage();
        const QRgb background = shot.pixel(where.right(), where.bottom());
        QRgb ink = background;
        int left = where.right();
        int right = where.left();
        for (int y = where.top(); y <= where.bottom(); ++y) {
            for (int x = where.left(); x <= where.right(); ++x) {
                const double difference = qAbs(luminance(shot.pixel(x, y)) - luminance(background));
                if (difference > 0.2) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
                if (difference > qAbs(luminance(ink) - luminance(background)))
                    ink = shot.pixel(x, y);
            }
        }
        const double lighter = std::max(luminance(ink), luminance(background));
        const double darker = std::min(luminance(ink), luminance(background));
        contrast = (lighter + 0.05) / (darker + 0.05);
        inkWidth = right - left;
        return contrast >= 4.5 && inkWidth >= width * 8 / 10;
    };
    QTRY_VERIFY2_WITH_TIMEOUT(
        look(),
        qPrintable(
            QStringLiteral("contrast %1, ink %2 px of %3").arg(contrast).arg(inkWidth).arg(width)),
        10000);
}

void TestEditorLink::checkKeyScoresTheSentenceAtTheCursor()
{
    openLesson(QStringLiteral("drill.mp3"));
    LessonController *lesson = window->lesson();
    QCOMPARE(lesson->sentences().items.size(), size_t(2));
    lesson->loopSentence(1); // "Well done. [applause]": the applause is not checked
    window->on_actionEidtor();
    QVERIFY(QTest::qWaitForWindowExposed(editor));
    text->selectAll();
    QTest::keyClick(text, Qt::Key_Delete);

    editor->activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(editor->isActiveWindow(), 10000);

    // (the paragraph typed, where Alt+C is pressed, then the sentence's last and best score)
    const struct
    {
        const char *typed;
        QWidget *where;
        double last;
        double best;
    } checks[] = {
        {"well dun", text, 0.75, 0.75}, // "dun" sounds as "done" does: half an error
        {"done", text, 0.5, 0.75},
        {"Don't go! Well, done!", window, 1.0, 1.0}, // the second sentence on the line
    };
    for (const auto &c : checks) {
        QTest::keyClick(text, Qt::Key_Return);
        typeInEditor(QLatin1String(c.typed));
        QTest::keyClick(c.where, Qt::Key_C, Qt::AltModifier);
        const auto &score = lesson->scores().at(1);
        QVERIFY(score);
        QCOMPARE(score->last, c.last);
        QCOMPARE(score->best, c.best);
        QVERIFY(!lesson->scores().at(0));
        // The learner types on in the editor. A window manager gives a new window the
        // keyboard unless asked not to; the headless server has none to hand it over, so
        // the asking is what the test can see.
        auto *result = editor->findChild<WordCheckDialog *>();
        QVERIFY(result);
        QVERIFY(QTest::qWaitForWindowExposed(result));
        QVERIFY(result->testAttribute(Qt::WA_ShowWithoutActivating));
    }
    QCOMPARE(editor->findChildren<WordCheckDialog *>().size(), 1);
}

// The player's menu entry shows the progress with the words a check missed; it follows the
// next check while it is open, and a click on a word opens the editor's phonetic lookup of it.
void TestEditorLink::progressFollowsTheChecksAndLooksUpMissedWords()
{
    const QString db = fx.path(QStringLiteral("progress.db"));
    QFile::remove(db);
    session->setLessonStore(std::make_unique<lesson::LessonStore>(db));
    openLesson(QStringLiteral("drill.mp3"));
    window->lesson()->loopSentence(1); // "Well done. [applause]"
    window->on_actionEidtor();
    QVERIFY(QTest::qWaitForWindowExposed(editor));
    const auto check = [this](const QString &typed) {
        text->selectAll();
        QTest::keyClick(text, Qt::Key_Delete);
        typeInEditor(typed);
        QTest::keyClick(text, Qt::Key_C, Qt::AltModifier);
    };
    check(QStringLiteral("well"));

    pickFromPopup(QStringLiteral("Progress..."));
    const QPoint at = window->rect().center();
    QContextMenuEvent menu(QContextMenuEvent::Mouse, at, window->mapToGlobal(at));
    QCoreApplication::sendEvent(window, &menu);
    ProgressWindow *progress = window->findChild<ProgressWindow *>();
    QVERIFY(progress && progress->isVisible());
    const auto words = [progress] {
        QMap<QString, QToolButton *> shown;
        for (QToolButton *b : progress->findChildren<QToolButton *>(QStringLiteral("missedWord")))
            shown[b->text()] = b;
        return shown;
    };
    QCOMPARE(words().keys(), QStringList{QStringLiteral("done")});

    check(QStringLiteral("done"));
    QCOMPARE(words().keys(), (QStringList{QStringLiteral("Well"), QStringLiteral("done")}));
    QTest::mouseClick(words().value(QStringLiteral("done")), Qt::LeftButton);
    auto *lookup = editor->findChild<PhoneticDialog *>();
    QVERIFY(lookup && QTest::qWaitForWindowExposed(lookup));
    QCOMPARE(lookup->findChild<QLineEdit *>(QStringLiteral("inputPhonetic"))->text(),
             QStringLiteral("done"));
}

void TestEditorLink::editorButtonShowsAndHides()
{
    auto *bar = window->findChild<ControlButton *>();
    QVERIFY(bar);
    text->setPlainText(QStringLiteral("kept"));
    // the editor button at the bar's right end, pressed as a learner would
    const auto press = [bar] {
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 18, 12));
    };
    press();
    QTRY_VERIFY_WITH_TIMEOUT(editor->isVisible(), 10000);
    press();
    QTRY_VERIFY_WITH_TIMEOUT(editor->isHidden(), 10000);
    press();
    QTRY_VERIFY_WITH_TIMEOUT(editor->isVisible(), 10000);
    QCOMPARE(text->toPlainText(), QStringLiteral("kept"));
}

QTEST_MAIN(TestEditorLink)
#include "tst_editorlink.moc"
