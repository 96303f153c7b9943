// The lesson's commands without any window: loop marks from the position, nudges, the
// stretches before and after the loop, the sentences as the loop's steps, marks snapping to
// pauses, the speed steps, and opening, replacing and closing lessons.
#include "lesson/lessoncontroller.h"

#include "support/lessontestprobe.h"
#include "support/mediafixtures.h"
#include "support/mediatestprobe.h"
#include "support/sentencefixtures.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

class TestLessonController : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void loopCommandsMoveTheMarks();
    void opensReplacesAndCloses();
    void speedCommands_data();
    void speedCommands();
    void speedCarriesOverToTheNextLesson();
    void stretchesWalkTheSentences_data();
    void stretchesWalkTheSentences();
    void sentenceUnderThePlayhead();
    void openedLessonFindsItsSentences();
    void handPlacedMarksSnapToPauses_data();
    void handPlacedMarksSnapToPauses();

private:
    MediaFixtures fx;
};

void TestLessonController::initTestCase()
{
    QVERIFY(fx.dir.isValid());
    // Matroska counts in milliseconds: a tenth of a second is exactly 100 ticks
    QVERIFY(fx.make(QStringLiteral("lesson.mkv"),
                    MediaFixtures::videoSource(QStringLiteral("320x240"), 6) +
                        MediaFixtures::toneSource(6) + MediaFixtures::h264()));
    QVERIFY(fx.make(QStringLiteral("speech.mp3"), MediaFixtures::toneSource(4)));
}

// A lesson with a subtitle file beside it has the subtitles' sentences as soon as it
// opens, and the pass over its sound brings the waveform; another file of the menu
// replaces the sentences, one that is no subtitle file or gives no sentences says so and
// changes nothing, and cues left out of a file of any name are told.
void TestLessonController::openedLessonFindsItsSentences()
{
    const QString srt = fx.path(QStringLiteral("lesson.srt"));
    const auto write = [](const QString &path, const QByteArray &text) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
    };
    QVERIFY(write(srt, "1\n00:00:01,000 --> 00:00:02,000\nOne.\n\n"
                       "2\n00:00:03,000 --> 00:00:04,000\nTwo.\n"));
    QVERIFY(write(fx.path(QStringLiteral("lesson.en.srt")),
                  "1\n00:00:02,000 --> 00:00:03,000\nOnly.\n"));
    LessonController lesson;
    QSignalSpy errors(&lesson, &LessonController::error);
    QVERIFY(lesson.open(fx.path(QStringLiteral("lesson.mkv"))));
    QCOMPARE(lesson.subtitleFiles().value(0), srt);
    QCOMPARE(lesson.sentences().source, lesson::SentenceSource::SubtitleFile);
    QCOMPARE(lesson.sentences().items.size(), size_t(2));
    QCOMPARE(lesson.sentences().items[1].text, QStringLiteral("Two."));
    lesson.nextStretch();
    QCOMPARE(lesson.currentSentence(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!lesson.peaks().low.empty(), 30000);
    QCOMPARE(lesson.sentences().items.size(), size_t(2)); // the pass keeps the subtitles'

    lesson.chooseSubtitleFile(lesson.subtitleFiles().value(1));
    QCOMPARE(lesson.sentences().items.size(), size_t(1));
    QSignalSpy notices(&lesson, &LessonController::notice);
    // (the file chosen, then: the error says, the notice says, the texts the lesson has)
    const struct
    {
        const char *name;
        QByteArray text;
        const char *error;
        const char *notice;
        const char *texts;
    } choices[] = {
        {"lesson.srt", QByteArray(64, '\xff'), "not a subtitle file", "", "Only."},
        // every cue's times unreadable or empty: the notes say why, the sentences stay
        {"lesson.srt",
         "1\n00:00:02,000 --> 00:00:02,000\nNone.\n\n2\n00:00:03,000 --> 00:00:03,000\nNo.\n",
         "gives no sentences", "", "Only."},
        // a file by another name, some of its cues left out
        {"notes/other name.srt",
         "1\n00:00:01,000 --> 00:00:02,000\nKept.\n\n"
         "2\n00:00:04,000 --> 00:00:04,000\nEmpty.\n",
         "", "were left out", "Kept."},
    };
    QVERIFY(QDir(fx.dir.path()).mkpath(QStringLiteral("notes")));
    for (const auto &c : choices) {
        const QString file = fx.path(QLatin1String(c.name));
        QVERIFY(write(file, c.text));
        errors.clear();
        notices.clear();
        lesson.chooseSubtitleFile(file);
        QCOMPARE(errors.size(), *c.error ? 1 : 0);
        QCOMPARE(notices.size(), *c.notice ? 1 : 0);
        if (*c.error)
            QVERIFY2(errors.at(0).at(0).toString().contains(QLatin1String(c.error)),
                     qPrintable(errors.at(0).at(0).toString()));
        if (*c.notice)
            QVERIFY2(notices.at(0).at(0).toString().contains(QLatin1String(c.notice)),
                     qPrintable(notices.at(0).at(0).toString()));
        QStringList texts;
        for (const lesson::Sentence &s : lesson.sentences().items)
            texts += s.text;
        QCOMPARE(texts.join(u'|'), QLatin1String(c.texts));
    }
    // a file loaded by another name joins the menu's files
    QVERIFY(lesson.subtitleFiles().contains(fx.path(QStringLiteral("notes/other name.srt"))));
    QFile::remove(srt);
    QFile::remove(fx.path(QStringLiteral("lesson.en.srt")));
}

void TestLessonController::loopCommandsMoveTheMarks()
{
    LessonController lesson;
    QSignalSpy marks(&lesson, &LessonController::marksChanged);
    QVERIFY(lesson.open(fx.path(QStringLiteral("lesson.mkv"))));
    // what the views were told last is where the engine put the marks
    const auto reported = [&] {
        return marks.isEmpty()
                   ? QPair<double, double>(-1, -1)
                   : qMakePair(marks.last().at(0).toDouble(), marks.last().at(1).toDouble());
    };
    const auto near = [](double a, double b) { return qAbs(a - b) < 0.0015; };

    QTRY_VERIFY_WITH_TIMEOUT(lesson.positionSeconds() > 1.0, 20000);
    lesson.playPause(); // stopped: the position holds still
    const double here = lesson.positionSeconds();
    lesson.setMarkInHere();
    QCOMPARE(lesson.markInSeconds(), here);
    lesson.playPause();
    QTRY_VERIFY_WITH_TIMEOUT(lesson.positionSeconds() > here + 1.0, 20000);
    lesson.setMarkOutHere();
    const double in = lesson.markInSeconds();
    const double out = lesson.markOutSeconds();
    QVERIFY2(out > here + 1.0, qPrintable(QString::number(out)));
    QCOMPARE(reported(), qMakePair(in, out));

    lesson.nudgeMarkIn(LessonController::markNudgeSeconds);
    lesson.nudgeMarkOut(-LessonController::markNudgeSeconds);
    QVERIFY(near(lesson.markInSeconds(), in + 0.1));
    QVERIFY(near(lesson.markOutSeconds(), out - 0.1));
    QCOMPARE(reported(), qMakePair(lesson.markInSeconds(), lesson.markOutSeconds()));

    // the stretch after the loop, then the one before it, become the loop
    const double nudgedOut = lesson.markOutSeconds();
    lesson.nextStretch();
    QCOMPARE(lesson.markInSeconds(), nudgedOut);
    QCOMPARE(lesson.fractionAt(lesson.markOutSeconds()), 1.0);
    lesson.previousStretch();
    QCOMPARE(lesson.markInSeconds(), lesson.startSeconds());
    QCOMPARE(lesson.markOutSeconds(), nudgedOut);
    QCOMPARE(reported(), qMakePair(lesson.startSeconds(), nudgedOut));

    lesson.resetMarks();
    QCOMPARE(lesson.fractionAt(lesson.markInSeconds()), 0.0);
    QCOMPARE(lesson.fractionAt(lesson.markOutSeconds()), 1.0);
    QCOMPARE(lesson.timeText(lesson.durationSeconds()), QStringLiteral("00:00:06"));

    // the end nudged onto the start stops one picture (25 a second) after it
    for (int i = 0; i < 70; ++i)
        lesson.nudgeMarkOut(-LessonController::markNudgeSeconds);
    QVERIFY(near(lesson.markOutSeconds(), lesson.markInSeconds() + 0.04));
}

void TestLessonController::opensReplacesAndCloses()
{
    LessonController lesson;
    // without a lesson every command does nothing
    lesson.playPause();
    lesson.setMarkInHere();
    lesson.nudgeMarkOut(0.1);
    lesson.nextStretch();
    lesson.seekToFraction(0.5);
    lesson.reportPosition();
    QVERIFY(!lesson.isOpen());

    QStringList events;
    connect(&lesson, &LessonController::lessonClosing, this,
            [&] { events << QStringLiteral("closing"); });
    connect(&lesson, &LessonController::lessonOpened, this, [&](const QString &f) {
        events << QStringLiteral("opened ") + QFileInfo(f).fileName();
    });
    connect(&lesson, &LessonController::lessonClosed, this,
            [&] { events << QStringLiteral("closed"); });
    connect(&lesson, &LessonController::error, this, [&] { events << QStringLiteral("error"); });

    QVERIFY(lesson.open(fx.path(QStringLiteral("lesson.mkv"))));
    Media *first = LessonTestProbe::media(lesson);
    QTRY_VERIFY_WITH_TIMEOUT(lesson.positionSeconds() > 0.2, 20000);
    QSignalSpy positions(&lesson, &LessonController::positionChanged);
    QVERIFY(positions.wait(5000));
    // another lesson replaces it; one that does not open leaves none
    QVERIFY(lesson.open(fx.path(QStringLiteral("speech.mp3"))));
    QVERIFY(LessonTestProbe::media(lesson) != first);
    QVERIFY(!LessonTestProbe::media(lesson)->hasVideo());
    QVERIFY(!lesson.open(fx.path(QStringLiteral("missing.mkv"))));
    QVERIFY(!lesson.isOpen());
    QVERIFY(lesson.open(fx.path(QStringLiteral("speech.mp3"))));
    lesson.close();
    QVERIFY(!lesson.isOpen());
    QCOMPARE(events, (QStringList{QStringLiteral("opened lesson.mkv"), QStringLiteral("closing"),
                                  QStringLiteral("opened speech.mp3"), QStringLiteral("closing"),
                                  QStringLiteral("error"), QStringLiteral("closed"),
                                  QStringLiteral("opened speech.mp3"), QStringLiteral("closing"),
                                  QStringLiteral("closed")}));
}

namespace {

// The speed a Media plays at.
double mediaSpeed(const Media *m)
{
    return MediaTestProbe::speed(*m);
}

} // namespace

void TestLessonController::speedCommands_data()
{
    // commands: "slower", "faster", "normal" or a factor for setSpeed, from 1x
    QTest::addColumn<QString>("commands");
    QTest::addColumn<double>("speed");
    QTest::addColumn<int>("changes");

    QTest::newRow("one step faster") << "faster" << 1.1 << 1;
    QTest::newRow("one step slower") << "slower" << 0.9 << 1;
    QTest::newRow("slower stops at 0.5")
        << "slower slower slower slower slower slower slower slower" << 0.5 << 7;
    QTest::newRow("faster stops at 2") << "faster faster faster faster faster" << 2.0 << 4;
    QTest::newRow("a step is kept exactly") << "0.85" << 0.85 << 1;
    QTest::newRow("between steps: the nearest") << "0.77 1.17" << 1.1 << 2;
    QTest::newRow("below 0.5 clamps") << "0.1" << 0.5 << 1;
    QTest::newRow("above 2 clamps") << "7" << 2.0 << 1;
    QTest::newRow("the same speed is no change") << "1 1.02" << 1.0 << 0;
    QTest::newRow("steps go from the set speed") << "0.75 faster" << 0.8 << 2;
    QTest::newRow("normal from a step") << "0.6 normal normal" << 1.0 << 2;
}

void TestLessonController::speedCommands()
{
    QFETCH(QString, commands);
    QFETCH(double, speed);
    QFETCH(int, changes);

    LessonController lesson;
    QVERIFY(lesson.open(fx.path(QStringLiteral("speech.mp3"))));
    QSignalSpy changed(&lesson, &LessonController::speedChanged);
    for (const QString &c : commands.split(u' ')) {
        if (c == QLatin1String("slower"))
            lesson.slower();
        else if (c == QLatin1String("faster"))
            lesson.faster();
        else if (c == QLatin1String("normal"))
            lesson.normalSpeed();
        else
            lesson.setSpeed(c.toDouble());
        // every change is reported with the speed it made
        if (!changed.isEmpty())
            QCOMPARE(changed.last().at(0).toDouble(), lesson.speed());
    }
    QCOMPARE(lesson.speed(), speed);
    QCOMPARE(changed.count(), changes);
    QCOMPARE(mediaSpeed(LessonTestProbe::media(lesson)), speed);
}

void TestLessonController::speedCarriesOverToTheNextLesson()
{
    LessonController lesson;
    // a speed chosen before any lesson applies to the first one
    lesson.setSpeed(0.75);
    QVERIFY(lesson.open(fx.path(QStringLiteral("lesson.mkv"))));
    QCOMPARE(mediaSpeed(LessonTestProbe::media(lesson)), 0.75);
    lesson.slower();
    QSignalSpy changed(&lesson, &LessonController::speedChanged);
    QVERIFY(lesson.open(fx.path(QStringLiteral("speech.mp3"))));
    QCOMPARE(lesson.speed(), 0.7);
    QCOMPARE(mediaSpeed(LessonTestProbe::media(lesson)), 0.7);
    QCOMPARE(changed.count(), 0);
    // the clock shows the lesson's own time, however slowly it is heard
    QCOMPARE(lesson.timeText(7.0), QStringLiteral("00:00:07"));
}

namespace {

bool near(double a, double b)
{
    return qAbs(a - b) < 0.0015;
}

} // namespace

void TestLessonController::stretchesWalkTheSentences_data()
{
    // commands: "next", "previous", "loop<i>", "in<s>" (a mark placed by hand); after each,
    // the sentence the loop is (-1: none)
    QTest::addColumn<QString>("commands");
    QTest::addColumn<QString>("sentences");

    QTest::newRow("from the whole lesson, next walks on and stays at the end")
        << "next next next next next"
        << "0 1 2 3 3";
    QTest::newRow("previous walks back and stays at the start")
        << "loop3 previous previous previous previous"
        << "3 2 1 0 0";
    QTest::newRow("from a loop set by hand inside a sentence") << "in2 next"
                                                               << "-1 2";
    QTest::newRow("back from a loop set by hand") << "in3.5 previous"
                                                  << "-1 2";
    QTest::newRow("back from a loop set by hand where a sentence starts") << "loop3 in3 previous"
                                                                          << "3 -1 1";
    QTest::newRow("an index out of range changes nothing") << "loop2 loop4 loop-1"
                                                           << "2 2 2";
}

void TestLessonController::stretchesWalkTheSentences()
{
    QFETCH(QString, commands);
    QFETCH(QString, sentences);

    LessonController lesson;
    QVERIFY(lesson.open(fx.path(QStringLiteral("lesson.mkv"))));
    // the lesson's own pass ends before the test's sentences and pauses go in
    QTRY_VERIFY_WITH_TIMEOUT(!lesson.isAnalysing(), 30000);
    QSignalSpy changed(&lesson, &LessonController::sentencesChanged);
    QSignalSpy current(&lesson, &LessonController::currentSentenceChanged);
    const lesson::SpeechAnalysis four = fourSentences();
    lesson.setSentences(four.sentences);
    lesson.setAnalysis(four); // its pauses, for the marks set by hand
    QCOMPARE(changed.count(), 1);
    const QStringList expected = sentences.split(u' ');
    const QStringList steps = commands.split(u' ');
    for (qsizetype i = 0; i < steps.size(); ++i) {
        const QString &c = steps[i];
        if (c == QLatin1String("next"))
            lesson.nextStretch();
        else if (c == QLatin1String("previous"))
            lesson.previousStretch();
        else if (c.startsWith(QLatin1String("loop")))
            lesson.loopSentence(c.mid(4).toInt());
        else
            lesson.setMarkAt(true, c.mid(2).toDouble());
        const int want = expected[i].toInt();
        QCOMPARE(lesson.currentSentence(), want);
        if (!current.isEmpty())
            QCOMPARE(current.last().at(0).toInt(), want);
        if (want < 0)
            continue;
        // the engine's marks are the sentence's ends, the first one's start clamped to the
        // lesson's (the file starts a few milliseconds in)
        const lesson::Sentence &s = four.sentences.items[size_t(want)];
        QVERIFY2(near(lesson.markInSeconds(), qMax(s.start, lesson.startSeconds())) &&
                     near(lesson.markOutSeconds(), s.end),
                 qPrintable(QStringLiteral("%1: %2 to %3")
                                .arg(c)
                                .arg(lesson.markInSeconds())
                                .arg(lesson.markOutSeconds())));
    }
    // the loop plays from its new start
    QTRY_VERIFY_WITH_TIMEOUT(lesson.positionSeconds() >= lesson.markInSeconds() &&
                                 lesson.positionSeconds() <= lesson.markOutSeconds(),
                             20000);

    // the speech pass's sentences do not replace the subtitles'; a closed lesson has none
    lesson::SpeechAnalysis found;
    found.sentences.source = lesson::SentenceSource::SpeechPauses;
    found.sentences.items = {{0.5, 5.5, {}}};
    found.pauses = {{5.5, 5.9}};
    lesson.setAnalysis(found);
    QCOMPARE(lesson.sentences().items.size(), size_t(4));
    QCOMPARE(lesson.pauses().size(), size_t(1));
    lesson.close();
    QVERIFY(lesson.sentences().items.empty());
    QVERIFY(lesson.pauses().empty());
    QCOMPARE(lesson.currentSentence(), -1);
    QCOMPARE(changed.count(), 2);
}

void TestLessonController::sentenceUnderThePlayhead()
{
    LessonController lesson;
    QVERIFY(lesson.open(fx.path(QStringLiteral("lesson.mkv"))));
    // the lesson's own pass ends before the test's sentences and pauses go in
    QTRY_VERIFY_WITH_TIMEOUT(!lesson.isAnalysing(), 30000);
    lesson.setSentences(fourSentences().sentences);
    // inside a sentence it is that one; between two, the nearer
    const struct
    {
        double seconds;
        int sentence;
    } cases[] = {{-1, 0},  {0.5, 0}, {1.3, 0}, {1.45, 1}, {2.0, 1}, {2.7, 1},
                 {2.9, 2}, {4.2, 2}, {4.3, 3}, {5.0, 3},  {60, 3}};
    for (const auto &c : cases)
        QVERIFY2(lesson.sentenceAt(c.seconds) == c.sentence,
                 qPrintable(QString::number(c.seconds)));

    QTRY_VERIFY_WITH_TIMEOUT(lesson.positionSeconds() > 3.1, 20000);
    lesson.playPause(); // stopped: the position holds still
    const double here = lesson.positionSeconds();
    lesson.loopSentenceHere();
    const int looped = lesson.currentSentence();
    QCOMPARE(looped, lesson.sentenceAt(here));
    // the sentence holds the playhead, or borders the pause it is in
    const lesson::Sentence s = fourSentences().sentences.items[size_t(looped)];
    QVERIFY2(here > s.start - 0.25 && here < s.end + 0.25, qPrintable(QString::number(here)));
}

void TestLessonController::handPlacedMarksSnapToPauses_data()
{
    // pauses: 1.2 to 1.5, 2.6 to 3.0, 4.1 to 4.4
    QTest::addColumn<bool>("markIn");
    QTest::addColumn<double>("asked");
    QTest::addColumn<double>("placed");

    QTest::newRow("start near a pause's end") << true << 1.56 << 1.5;
    QTest::newRow("start near a pause's middle") << true << 1.30 << 1.35;
    QTest::newRow("start just past the snap distance") << true << 1.59 << 1.59;
    QTest::newRow("start far from any pause") << true << 2.0 << 2.0;
    QTest::newRow("end near a pause's start") << false << 2.53 << 2.6;
    QTest::newRow("end between two edges: the nearer") << false << 4.17 << 4.1;
    QTest::newRow("end far from any pause") << false << 5.0 << 5.0;
    // infinity: the lesson's end, minus infinity its start
    QTest::newRow("end past the lesson is clamped") << false << 9.0 << qInf();
    QTest::newRow("start before the lesson is clamped") << true << -2.0 << -qInf();
}

void TestLessonController::handPlacedMarksSnapToPauses()
{
    QFETCH(bool, markIn);
    QFETCH(double, asked);
    QFETCH(double, placed);

    LessonController lesson;
    QVERIFY(lesson.open(fx.path(QStringLiteral("lesson.mkv"))));
    // the lesson's own pass ends before the test's sentences and pauses go in
    QTRY_VERIFY_WITH_TIMEOUT(!lesson.isAnalysing(), 30000);
    QSignalSpy waveform(&lesson, &LessonController::waveformChanged);
    lesson.setAnalysis(fourSentences());
    QCOMPARE(waveform.count(), 1);
    lesson.setMarkAt(markIn, asked);
    const double mark = markIn ? lesson.markInSeconds() : lesson.markOutSeconds();
    if (qIsInf(placed))
        QCOMPARE(lesson.fractionAt(mark), placed > 0 ? 1.0 : 0.0);
    else
        QVERIFY2(near(mark, placed), qPrintable(QString::number(mark)));
}

QTEST_GUILESS_MAIN(TestLessonController)
#include "tst_lessoncontroller.moc"
