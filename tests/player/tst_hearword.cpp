// Hearing a word in the program as it is built: the lookup's Hear button and a missed word of
// the word check say the word once, at the real rate of the null output, and a lesson playing
// meanwhile stops first and stays stopped.
#include "app/studysession.h"
#include "diff/wordcheck.h"
#include "diff/wordcheckdialog.h"
#include "editor/textedit.h"
#include "lesson/lessoncontroller.h"
#include "phonetic/phoneticdialog.h"
#include "speech/wordspeaker.h"
#include "support/mediafixtures.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>

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
    qputenv("VORLYN_SOUND", "null"); // before any sound output is made
    QVERIFY(fx.make(QStringLiteral("lesson.mp3"), MediaFixtures::toneSource(30)));
}

void TestHearWord::aPlayingLessonStopsForTheWord_data()
{
    QTest::addColumn<bool>("fromWordCheck");
    QTest::addColumn<QString>("word");
    QTest::newRow("the lookup's Hear button") << false << QStringLiteral("example");
    QTest::newRow("a missed word of the word check") << true << QStringLiteral("not");
}

void TestHearWord::aPlayingLessonStopsForTheWord()
{
    QFETCH(bool, fromWordCheck);
    QFETCH(QString, word);
    StudySession session;
    LessonController *lesson = session.lesson();
    TextEdit *editor = session.editor();
    QVERIFY(lesson->open(fx.path(QStringLiteral("lesson.mp3"))));
    QTRY_VERIFY_WITH_TIMEOUT(lesson->positionSeconds() > 0.5, 10000);
    const speech::SpokenWord spoken = speech::synthesizeWord(word, speech::Voice::American);
    const qint64 wordMs = qint64(spoken.samples.size()) * 1000 / spoken.sampleRate;

    QSignalSpy finished(session.speaker(), &speech::WordSpeaker::finished);
    QElapsedTimer clock;
    if (fromWordCheck) {
        editor->showWordCheck(
            checkWords(QStringLiteral("I do not like it"), QStringLiteral("I do like it")));
        auto *sentence = editor->findChild<QTextBrowser *>(QStringLiteral("sentence"));
        QVERIFY(QTest::qWaitForWindowExposed(sentence->window()));
        QTextCursor missed = sentence->document()->find(word);
        missed.setPosition(missed.selectionStart() + 1);
        clock.start();
        QTest::mouseClick(sentence->viewport(), Qt::LeftButton, {},
                          sentence->cursorRect(missed).center());
    } else {
        editor->lookupPhonetic();
        auto *lookup = editor->findChild<PhoneticDialog *>();
        QVERIFY(QTest::qWaitForWindowExposed(lookup));
        clock.start();
        QTest::mouseClick(lookup->findChild<QPushButton *>(QStringLiteral("hearButton")),
                          Qt::LeftButton);
    }
    // the lesson stopped before the word began
    QVERIFY(lesson->isStopped());
    QVERIFY(session.speaker()->isSpeaking());
    const double stoppedAt = lesson->positionSeconds();
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
    const qint64 took = clock.elapsed();
    QVERIFY2(took >= wordMs && took < wordMs + 2000,
             qPrintable(QStringLiteral("%1 ms for a word of %2 ms").arg(took).arg(wordMs)));
    // and stays where it stopped for the learner to play on
    QVERIFY(lesson->isStopped());
    QCOMPARE(lesson->positionSeconds(), stoppedAt);
}

QTEST_MAIN(TestHearWord)
#include "tst_hearword.moc"
