// The dictation drill on a spoken lesson with subtitles: each sentence played as often as
// set with the pauses between, moving on after the last time, a pause until the play key,
// the rewind when the learner plays on after pausing, and the hints of sentences.
#include "lesson/drill.h"
#include "lesson/lessoncontroller.h"

#include "support/mediafixtures.h"
#include "support/monitorrecorder.h"
#include "support/spokenlesson.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <cmath>

using lesson::Drill;
using lesson::DrillSettings;

namespace {

QString srtTime(double seconds)
{
    const auto ms = qint64(seconds * 1000 + 0.5);
    return QStringLiteral("%1:%2:%3,%4")
        .arg(ms / 3600000, 2, 10, QLatin1Char('0'))
        .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

// What the drill and the engine report while a lesson plays, in order, with the wall time.
struct Event
{
    enum Kind
    {
        Repetition,
        Pause,
        Finished
    } kind;
    int sentence = -1;
    int repetition = 0;
    double pauseSeconds = 0;
    qint64 ms = 0;
    double position = 0; // where the engine is
};

} // namespace

class TestDrill : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void hints_data();
    void hints();
    void storedSettingsAreBroughtIntoRange();
    void repeatsPausesAndMovesOn();
    void pauseUntilThePlayKeyAndRewind_data();
    void pauseUntilThePlayKeyAndRewind();
    void eachTimeIsHeardToTheSentencesEnd_data();
    void eachTimeIsHeardToTheSentencesEnd();

private:
    // Opens the spoken lesson with drill settings s; false when it has not its sentences.
    bool openLesson(LessonController &lesson, const DrillSettings &s);

    MediaFixtures fx;
};

void TestDrill::initTestCase()
{
    QVERIFY(fx.dir.isValid());
    // three sentences spoken by espeak-ng with a second of silence around each, and their
    // subtitles beside
    const QStringList spoken = {
        QStringLiteral("Please close the window before you leave the room."),
        QStringLiteral("The train to London leaves at half past nine."),
        QStringLiteral("Thank you for listening to this lesson.")};
    const std::vector<SpokenSpan> spans =
        makeSpokenLesson(fx, QStringLiteral("speech.wav"), spoken);
    QCOMPARE(spans.size(), size_t(spoken.size()));
    QString srt;
    for (qsizetype i = 0; i < spoken.size(); ++i) {
        QVERIFY(spans[size_t(i)].end - spans[size_t(i)].start > 2);
        srt += QStringLiteral("%1\n%2 --> %3\n%4\n\n")
                   .arg(i + 1)
                   .arg(srtTime(spans[size_t(i)].start), srtTime(spans[size_t(i)].end), spoken[i]);
    }
    QFile f(fx.path(QStringLiteral("speech.srt")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    QVERIFY(f.write(srt.toUtf8()) > 0);
}

void TestDrill::hints_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("hint");
    QTest::newRow("words and punctuation")
        << QStringLiteral("Don't go!") << QStringLiteral("D.... g.!");
    QTest::newRow("hyphen and comma")
        << QStringLiteral("A well-known, old song.") << QStringLiteral("A w...-k...., o.. s....");
    QTest::newRow("digits") << QStringLiteral("At 10:45 sharp") << QStringLiteral("A. 1.:4. s....");
    QTest::newRow("quotes and typographic apostrophe")
        << QStringLiteral("\"It’s 'fine'\"") << QStringLiteral("\"I... 'f...'\"");
    QTest::newRow("accents written apart, modifier letter apostrophe")
        << QStringLiteral(u"E\u0301te\u0301 nai\u0308ve donʼt ʼem")
        << QStringLiteral(u"E\u0301.. n.... d.... ʼe.");
    QTest::newRow("other scripts")
        << QStringLiteral("你好，世界 café") << QStringLiteral("你.，世. c...");
    QTest::newRow("empty") << QString() << QString();
}

void TestDrill::hints()
{
    QFETCH(QString, text);
    QFETCH(QString, hint);
    QCOMPARE(Drill::hintOf(text), hint);
}

// A damaged memory or settings file may hold anything; the drill runs within its ranges.
void TestDrill::storedSettingsAreBroughtIntoRange()
{
    const double nan = std::nan("");
    // (repetitions, pause, first pass speed, rewind) stored, and as the drill takes them
    const struct
    {
        DrillSettings stored;
        DrillSettings taken;
    } rows[] = {
        {{3, 2, 0, false, 1}, {3, 2, 0, false, 1}},
        {{50, 99, 4, true, 60}, {10, 10, 1, true, 5}},
        {{-7, -0.5, -1, false, -2}, {0, DrillSettings::untilPlayKey, 0, false, 0}},
        {{3, nan, nan, false, nan}, {3, 2, 0, false, 1}},
    };
    LessonController lesson;
    for (const auto &row : rows) {
        lesson.setDrillSettings(row.stored);
        QVERIFY(lesson.drillSettings() == row.taken);
        QVERIFY(lesson.drill()->settings() == row.taken);
    }
}

bool TestDrill::openLesson(LessonController &lesson, const DrillSettings &s)
{
    lesson.setDrillSettings(s);
    if (!lesson.open(fx.path(QStringLiteral("speech.wav"))))
        return false;
    return lesson.sentences().items.size() == 3;
}

// Two times each sentence, the first at half speed, with a second between, then on to the
// next one: the engine plays each time from the sentence's start to its end, and pauses there.
void TestDrill::repeatsPausesAndMovesOn()
{
    LessonController lesson;
    DrillSettings s;
    s.repetitions = 2;
    s.pauseSeconds = 1;
    s.firstPassSpeed = 0.5;
    s.advance = true;
    QVERIFY(openLesson(lesson, s));
    Drill *drill = lesson.drill();

    QElapsedTimer clock;
    clock.start();
    QList<Event> events;
    connect(drill, &Drill::repetitionStarted, this, [&](int sentence, int repetition, int total) {
        QCOMPARE(total, 2);
        events.append({Event::Repetition, sentence, repetition, 0, clock.elapsed(),
                       lesson.positionSeconds()});
    });
    connect(drill, &Drill::pauseStarted, this, [&](double seconds) {
        events.append({Event::Pause, -1, 0, seconds, clock.elapsed(), lesson.positionSeconds()});
    });
    connect(drill, &Drill::sentenceFinished, this, [&](int sentence) {
        events.append({Event::Finished, sentence, 0, 0, clock.elapsed(), lesson.positionSeconds()});
    });
    // the positions the controller reports, each with the repetition playing then
    QList<std::pair<int, double>> positions;
    connect(&lesson, &LessonController::positionChanged, this, [&](double seconds) {
        positions.append({int(events.size()), seconds});
    });
    QSignalSpy onOff(drill, &Drill::onChanged);
    drill->setOn(true);
    QCOMPARE(onOff.count(), 1);
    QVERIFY(drill->isOn());
    QTRY_VERIFY_WITH_TIMEOUT(events.size() >= 9, 60000);
    drill->setOn(false);
    QVERIFY(!lesson.isHeld());

    // repetition, pause, repetition, finished; for the first two sentences; then the third
    const std::vector<std::pair<Event::Kind, int>> expected = {
        {Event::Repetition, 1}, {Event::Pause, 0},      {Event::Repetition, 2},
        {Event::Finished, 0},   {Event::Repetition, 1}, {Event::Pause, 0},
        {Event::Repetition, 2}, {Event::Finished, 0},   {Event::Repetition, 1}};
    const std::vector<lesson::Sentence> &items = lesson.sentences().items;
    for (qsizetype i = 0; i < qsizetype(expected.size()); ++i) {
        const Event &e = events[i];
        QCOMPARE(e.kind, expected[size_t(i)].first);
        const int sentence = int(i / 4);
        if (e.kind == Event::Repetition) {
            QCOMPARE(e.sentence, sentence);
            QCOMPARE(e.repetition, expected[size_t(i)].second);
        }
        if (e.kind == Event::Finished)
            QCOMPARE(e.sentence, sentence);
        if (e.kind == Event::Pause)
            QCOMPARE(e.pauseSeconds, 1.0);
        const lesson::Sentence &here = items[size_t(sentence)];
        // each time ends where the sentence does: the engine has paused at its end
        if (e.kind != Event::Repetition) {
            qInfo("sentence %d ends at %.3f, paused at %.3f", sentence, here.end, e.position);
            QVERIFY2(e.position > here.end - 0.5 && e.position < here.end + 0.05,
                     qPrintable(QString::number(e.position)));
        }
        // the pause lasts its second (the time before the next repetition)
        if (e.kind == Event::Pause) {
            const qint64 paused = events[i + 1].ms - e.ms;
            qInfo("pause of %lld ms", paused);
            QVERIFY2(paused >= 950, qPrintable(QString::number(paused)));
        }
        // each time plays from the sentence's start to its end, never beyond either (the
        // reports before the engine has played from the start show the clock before)
        if (e.kind == Event::Repetition && i + 1 < qsizetype(expected.size())) {
            double first = -1, last = -1;
            for (const auto &[during, seconds] : positions) {
                const bool inside = seconds >= here.start - 0.01 && seconds <= here.end + 0.05;
                if (during != i + 1 || (first < 0 && !inside))
                    continue;
                QVERIFY2(inside, qPrintable(QStringLiteral("%1 in %2").arg(seconds).arg(i)));
                if (first < 0)
                    first = seconds;
                last = seconds;
            }
            qInfo("repetition %lld of sentence %d (%.3f to %.3f): reported %.3f to %.3f", i,
                  sentence, here.start, here.end, first, last);
            QVERIFY2(first >= 0 && first < here.start + 0.6, qPrintable(QString::number(first)));
            QVERIFY2(last > here.end - 0.6, qPrintable(QString::number(last)));
        }
    }
    // the first time takes twice as long as the second, at the lesson's speed
    for (qsizetype i = 0; i < 8; i += 4) {
        const qint64 slow = events[i + 1].ms - events[i].ms;
        const qint64 normal = events[i + 3].ms - events[i + 2].ms;
        qInfo("sentence %lld: the first time %lld ms, the second %lld ms", i / 4, slow, normal);
        QVERIFY2(slow > normal * 3 / 2, qPrintable(QStringLiteral("%1 %2").arg(slow).arg(normal)));
    }
    QCOMPARE(lesson.speed(), 1.0);
}

void TestDrill::pauseUntilThePlayKeyAndRewind_data()
{
    QTest::addColumn<double>("rewind");
    QTest::newRow("a second back") << 1.0;
    QTest::newRow("not before the sentence's start") << 5.0;
}

// A pause until the play key lasts until the play key; the learner's own pause, resumed,
// plays on from the rewind seconds before, within the sentence, in the same repetition.
void TestDrill::pauseUntilThePlayKeyAndRewind()
{
    QFETCH(double, rewind);
    LessonController lesson;
    DrillSettings s;
    s.repetitions = DrillSettings::untilTold;
    s.pauseSeconds = DrillSettings::untilPlayKey;
    s.rewindSeconds = rewind;
    QVERIFY(openLesson(lesson, s));
    Drill *drill = lesson.drill();
    QSignalSpy repetitions(drill, &Drill::repetitionStarted);
    QSignalSpy pauses(drill, &Drill::pauseStarted);
    QSignalSpy playing(&lesson, &LessonController::playingChanged);
    drill->setOn(true);
    QCOMPARE(repetitions.count(), 1);
    QCOMPARE(repetitions.at(0).at(2).toInt(), DrillSettings::untilTold);
    const lesson::Sentence first = lesson.sentences().items.front();

    QTRY_COMPARE_WITH_TIMEOUT(pauses.count(), 1, 30000);
    QCOMPARE(pauses.at(0).at(0).toDouble(), DrillSettings::untilPlayKey);
    // no timer will end this pause: the lesson stays held until the play key
    QCOMPARE(drill->pauseRemainingMs(), -1);
    QCOMPARE(repetitions.count(), 1);
    QVERIFY(lesson.isHeld());

    lesson.playPause();
    QCOMPARE(repetitions.count(), 2);
    QCOMPARE(repetitions.at(1).at(1).toInt(), 2);
    // (the engine's clock shows the sentence's end until the sound from its start is heard)
    QTRY_VERIFY_WITH_TIMEOUT(lesson.positionSeconds() < first.start + 1, 30000);
    QTRY_VERIFY_WITH_TIMEOUT(lesson.positionSeconds() > first.start + 1.8, 30000);
    playing.clear();
    lesson.playPause();
    QCOMPARE(playing.count(), 1);
    QCOMPARE(playing.at(0).at(0).toBool(), false);
    QVERIFY(lesson.isStopped());
    const double stoppedAt = lesson.positionSeconds();

    QSignalSpy positions(&lesson, &LessonController::positionChanged);
    lesson.playPause();
    QCOMPARE(playing.at(1).at(0).toBool(), true);
    // the first report of the sound played since (the engine's clock starts from naught)
    const auto firstHeard = [&] {
        for (const QList<QVariant> &report : positions)
            if (report.at(0).toDouble() > 0)
                return report.at(0).toDouble();
        return -1.0;
    };
    QTRY_VERIFY_WITH_TIMEOUT(firstHeard() > 0, 30000);
    const double resumed = firstHeard();
    const double expected = std::max(first.start, stoppedAt - rewind);
    qInfo("stopped at %.3f, rewind %.1f: played on at %.3f (first report)", stoppedAt, rewind,
          resumed);
    // reported within a report's interval of playing from there
    QVERIFY2(resumed >= expected - 0.05 && resumed < expected + 0.5,
             qPrintable(QStringLiteral("%1 for %2").arg(resumed).arg(expected)));
    QCOMPARE(repetitions.count(), 2);
}

// Each time the sentence plays, it is heard from its start to its end, however much sound
// the output still held when the engine paused at the end (a tone, so every sample counts);
// the first time too, started from a stopped lesson as the drill loops the sentence.
void TestDrill::eachTimeIsHeardToTheSentencesEnd_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("source");
    QTest::newRow("sound only") << QStringLiteral("tone.wav") << MediaFixtures::toneSource(4);
    QTest::newRow("with pictures")
        << QStringLiteral("tone.mkv")
        << MediaFixtures::videoSource(QStringLiteral("160x120"), 4) + MediaFixtures::toneSource(4) +
               QStringList{QStringLiteral("-c:v"), QStringLiteral("mpeg4"), QStringLiteral("-c:a"),
                           QStringLiteral("mp2")};
}

void TestDrill::eachTimeIsHeardToTheSentencesEnd()
{
    QFETCH(QString, name);
    QFETCH(QStringList, source);
    QVERIFY(fx.make(name, source));
    QFile srt(fx.path(QFileInfo(name).completeBaseName() + QStringLiteral(".srt")));
    QVERIFY(srt.open(QIODevice::WriteOnly));
    QVERIFY(srt.write("1\n00:00:01,000 --> 00:00:02,000\nA tone.\n") > 0);
    srt.close();
    LessonController lesson;
    DrillSettings s;
    s.repetitions = 3;
    s.pauseSeconds = 1;
    lesson.setDrillSettings(s);
    QVERIFY(lesson.open(fx.path(name)));
    QCOMPARE(lesson.sentences().items.size(), size_t(1));
    const lesson::Sentence sentence = lesson.sentences().items.front();
    lesson.stopPlaying();
    MonitorRecorder recorder;
    QVERIFY(QTest::qWaitFor([&] { return recorder.recording(); }, 20000));
    QSignalSpy finished(lesson.drill(), &Drill::sentenceFinished);
    lesson.drill()->setOn(true);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
    QTest::qWait(500);
    const std::vector<int16_t> rec = recorder.take();

    int loudest = 0;
    for (int16_t v : rec)
        loudest = std::max(loudest, std::abs(int(v)));
    QVERIFY(loudest > 1000);
    // the stretches of tone, apart where the sound stays quiet for 100 ms or more
    const int threshold = loudest / 10;
    constexpr size_t rate = MonitorRecorder::rate;
    std::vector<std::pair<size_t, size_t>> heard;
    for (size_t i = 0; i < rec.size(); ++i) {
        if (std::abs(int(rec[i])) <= threshold)
            continue;
        if (heard.empty() || i - heard.back().second > rate / 10)
            heard.push_back({i, i + 1});
        heard.back().second = i + 1;
    }
    QCOMPARE(heard.size(), size_t(3));
    const double length = sentence.end - sentence.start;
    for (size_t i = 0; i < heard.size(); ++i) {
        const double seconds = double(heard[i].second - heard[i].first) / rate;
        qInfo("heard %.3f s of a sentence %.3f s long", seconds, length);
        QVERIFY2(seconds > length - 0.03 && seconds < length + 0.03,
                 qPrintable(QString::number(seconds)));
    }
}

QTEST_MAIN(TestDrill)
#include "tst_drill.moc"
