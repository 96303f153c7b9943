// Hearing a word in the program as it is built: the lookup's Hear button and a missed word of
// the word check say the word, and a lesson playing meanwhile stops first and stays stopped.
// The sound goes to the null output, at the real rate.
#include "app/studysession.h"
#include "diff/wordcheck.h"
#include "diff/wordcheckdialog.h"
#include "editor/textedit.h"
#include "lesson/lessoncontroller.h"
#include "phonetic/phoneticdialog.h"
#include "speech/wordspeaker.h"
#include "support/mediafixtures.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>

namespace {

void clickWord(QTextBrowser *browser, const QString &word)
{
    const QTextCursor found = browser->document()->find(
        word, 0, QTextDocument::FindWholeWords | QTextDocument::FindCaseSensitively);
    QVERIFY2(!found.isNull(), qPrintable(word));
    QTextCursor middle(browser->document());
    middle.setPosition((found.selectionStart() + found.selectionEnd()) / 2);
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {},
                      browser->cursorRect(middle).center());
}

} // namespace

class TestHearWord final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void aPlayingLessonStopsForTheWord_data();
    void aPlayingLessonStopsForTheWord();

private:
    MediaFixtures fx;
};

void TestHearWord::initTestCase()
{
    // before any sound output is made
    qputenv("VORLYN_SOUND", "null");
    QVERIFY(fx.dir.isValid());
    QVERIFY(fx.make(QStringLiteral("lesson.mp3"), MediaFixtures::toneSource(30)));
}

void TestHearWord::aPlayingLessonStopsForTheWord_data()
{
    QTest::addColumn<bool>("fromWordCheck");
    QTest::newRow("the lookup's Hear button") << false;
    QTest::newRow("a missed word of the word check") << true;
}

void TestHearWord::aPlayingLessonStopsForTheWord()
{
    QFETCH(bool, fromWordCheck);
    StudySession session;
    LessonController *lesson = session.lesson();
    TextEdit *editor = session.editor();
    QVERIFY(lesson->open(fx.path(QStringLiteral("lesson.mp3"))));
    QTRY_VERIFY_WITH_TIMEOUT(lesson->positionSeconds() > 0.5, 10000);
    QVERIFY(!lesson->isStopped());

    QSignalSpy finished(session.speaker(), &speech::WordSpeaker::finished);
    if (fromWordCheck) {
        editor->showWordCheck(
            checkWords(QStringLiteral("I do not like it"), QStringLiteral("I do like it")));
        auto *check = editor->findChild<WordCheckDialog *>();
        QVERIFY(check);
        QVERIFY(QTest::qWaitForWindowExposed(check));
        clickWord(check->findChild<QTextBrowser *>(QStringLiteral("sentence")),
                  QStringLiteral("not"));
    } else {
        editor->lookupPhonetic();
        auto *lookup = editor->findChild<PhoneticDialog *>();
        QVERIFY(lookup);
        QVERIFY(QTest::qWaitForWindowExposed(lookup));
        auto *hear = lookup->findChild<QPushButton *>(QStringLiteral("hearButton"));
        QVERIFY(hear->isEnabled());
        QTest::mouseClick(hear, Qt::LeftButton);
    }
    // the lesson stopped before the word began
    QVERIFY(lesson->isStopped());
    QVERIFY(session.speaker()->isSpeaking());
    const double stoppedAt = lesson->positionSeconds();
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
    // and stays where it stopped for the learner to play on
    QVERIFY(lesson->isStopped());
    QCOMPARE(lesson->positionSeconds(), stoppedAt);
}

QTEST_MAIN(TestHearWord)
#include "tst_hearword.moc"
