// Marks, seeks, speed and the A-B loop of the engine, on real clips.
#include "media/media.h"

#include "support/mediafixtures.h"
#include "support/mediatestprobe.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

std::unique_ptr<Media> openMedia(const QString &file)
{
    auto m = std::make_unique<Media>(nullptr, false, 16, 2, 0, 0);
    if (!m->open(file))
        return nullptr;
    return m;
}

int64_t ticks(const Media &m, double seconds)
{
    const AVRational tb = m.timeBase();
    return int64_t(seconds * tb.den / tb.num + 0.5);
}

// A slowed lesson loops as the recorded one does: marks and positions are media time.
void speedColumn()
{
    QTest::addColumn<double>("speed");
    QTest::newRow("1x") << 1.0;
    QTest::newRow("0.75x") << 0.75;
}

} // namespace

class TestLoop : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void marksAreClamped_data();
    void marksAreClamped();
    void resetMarksRestoreTheWholeFile();
    void lateStartingFilePlaysToItsEnd();
    void seekRequestsAreClampedAndOneAtATime();
    void speedTable_data();
    void speedTable();
    void timeText_data();
    void timeText();
    void loopsExactlyBetweenTheMarks_data();
    void loopsExactlyBetweenTheMarks();
    void pausesAtMarkOutWithLoopOff();
    void audioOnlyLoopsOnTheAudioClock_data();
    void audioOnlyLoopsOnTheAudioClock();
    void learnerSeekShowsNoPictureFromBeforeIt_data();
    void learnerSeekShowsNoPictureFromBeforeIt();

private:
    MediaFixtures fx;
};

void TestLoop::initTestCase()
{
    QVERIFY(fx.dir.isValid());
    // a key frame every 5 s, so each loop-back seek lands well before the mark in
    QVERIFY(fx.makeClip(QStringLiteral("lesson.mp4"), {.seconds = 6, .audio = "aac", .gop = 125}));
    // MPEG-TS starts its clock at 1.4 s
    QVERIFY(fx.makeClip(QStringLiteral("late.ts"), {.seconds = 2}));
    QVERIFY(fx.makeClip(QStringLiteral("lesson.mp3"),
                        {.picture = nullptr, .seconds = 4, .audio = "libmp3lame"}));
}

void TestLoop::marksAreClamped_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("mark");
    QTest::addColumn<double>("given");
    QTest::addColumn<double>("expected"); // seconds; -1 stands for the end
    // the marks stand at 1 s and 4 s before each row; they stay a picture (25 a second)
    // apart, or 100 ms without pictures
    const QString video = QStringLiteral("lesson.mp4");
    const QString sound = QStringLiteral("lesson.mp3");
    QTest::newRow("in after out") << video << QStringLiteral("in") << 5.0 << 3.96;
    QTest::newRow("in on out") << video << QStringLiteral("in") << 4.0 << 3.96;
    QTest::newRow("in before start") << video << QStringLiteral("in") << -3.0 << 0.0;
    QTest::newRow("in inside") << video << QStringLiteral("in") << 2.5 << 2.5;
    QTest::newRow("in a picture before out") << video << QStringLiteral("in") << 3.96 << 3.96;
    QTest::newRow("out before in") << video << QStringLiteral("out") << 0.5 << 1.04;
    QTest::newRow("out beyond duration") << video << QStringLiteral("out") << 100.0 << -1.0;
    QTest::newRow("out inside") << video << QStringLiteral("out") << 3.0 << 3.0;
    QTest::newRow("in on out, no pictures") << sound << QStringLiteral("in") << 4.0 << 3.9;
    QTest::newRow("out on in, no pictures") << sound << QStringLiteral("out") << 1.0 << 1.1;
}

void TestLoop::marksAreClamped()
{
    QFETCH(QString, file);
    QFETCH(QString, mark);
    QFETCH(double, given);
    QFETCH(double, expected);
    auto m = openMedia(fx.path(file));
    QVERIFY(m);
    m->setMarkOutAt(ticks(*m, 4));
    m->setMarkInAt(ticks(*m, 1));
    QSignalSpy marking(m.get(), &Media::markingChanged);
    if (mark == QLatin1String("in"))
        m->setMarkInAt(ticks(*m, given));
    else
        m->setMarkOutAt(ticks(*m, given));
    QCOMPARE(marking.count(), 1);
    const int64_t want = expected < 0 ? m->endTime() : ticks(*m, expected);
    QCOMPARE(mark == QLatin1String("in") ? m->markIn() : m->markOut(), want);
    QVERIFY(m->markIn() < m->markOut());
}

void TestLoop::resetMarksRestoreTheWholeFile()
{
    auto m = openMedia(fx.path(QStringLiteral("lesson.mp4")));
    QVERIFY(m);
    m->setMarkOutAt(ticks(*m, 3));
    m->setMarkInAt(ticks(*m, 2));
    QSignalSpy marking(m.get(), &Media::markingChanged);
    m->resetMarkIn();
    m->resetMarkOut();
    QCOMPARE(marking.count(), 2);
    QCOMPARE(m->markIn(), m->startTime());
    QCOMPARE(m->markOut(), m->endTime());
    // setting a mark to where it already is still tells the listeners
    m->resetMarkOut();
    QCOMPARE(marking.count(), 3);
}

void TestLoop::lateStartingFilePlaysToItsEnd()
{
    auto m = openMedia(fx.path(QStringLiteral("late.ts")));
    QVERIFY(m);
    const double start = media::toSeconds(m->startTime(), m->timeBase());
    const double end = media::toSeconds(m->endTime(), m->timeBase());
    QVERIFY2(start > 1.0, qPrintable(QString::number(start)));
    QVERIFY2(qAbs(end - start - 2.0) < 0.1, qPrintable(QString::number(end)));
    QCOMPARE(m->markOut(), m->endTime());
    m->setLoop(false);
    double last = 0;
    connect(m.get(), &Media::frameReady, m.get(), [&](int id) { last = m->picture(id)->pts; });
    QSignalSpy pausedSpy(m.get(), &Media::paused);
    m->start();
    QTRY_VERIFY_WITH_TIMEOUT(pausedSpy.count() == 2, 10000);
    // the whole two seconds play, not only what lies before the length taken as a position
    // (the display stops at the pause, a few pictures before the end)
    QVERIFY2(last > end - 0.5, qPrintable(QStringLiteral("%1 of %2").arg(last).arg(end)));
    m->stop();
}

void TestLoop::seekRequestsAreClampedAndOneAtATime()
{
    auto m = openMedia(fx.path(QStringLiteral("lesson.mp4")));
    QVERIFY(m);
    QList<int64_t> shown;
    connect(m.get(), &Media::frameReady, m.get(), [&](int id) { shown << m->picture(id)->ticks; });
    m->seekForward(); // stopped: ignored
    m->start();
    QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty(), 20000);
    QCOMPARE(shown.first(), m->startTime());

    // a tenth of the length forward, from the picture on screen
    m->pause(true);
    const int64_t from = m->position();
    shown.clear();
    m->seekForward();
    m->pause(false);
    QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty(), 20000);
    QCOMPARE(shown.first(), from + int64_t(0.1 * double(m->duration())));

    // a seek past the end is clamped to the end, then replaced by the mark in; a second
    // request before the demux thread acts on the first is ignored
    m->pause(true);
    m->setMarkOutAt(ticks(*m, 4));
    m->setMarkInAt(ticks(*m, 1));
    shown.clear();
    m->seek(m->endTime() * 3);
    m->seek(ticks(*m, 3));
    m->pause(false);
    QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty(), 20000);
    QCOMPARE(shown.first(), m->markIn());
    m->stop();
}

void TestLoop::speedTable_data()
{
    QTest::addColumn<int>("speed");
    QTest::addColumn<double>("factor");
    QTest::newRow("0") << 0 << 0.25;
    QTest::newRow("1") << 1 << 0.333;
    QTest::newRow("2") << 2 << 0.5;
    QTest::newRow("3") << 3 << 1.0;
    QTest::newRow("4") << 4 << 2.0;
    QTest::newRow("5") << 5 << 3.0;
    QTest::newRow("7") << 7 << 1.0;
    QTest::newRow("-1") << -1 << 1.0;
}

void TestLoop::speedTable()
{
    QFETCH(int, speed);
    QFETCH(double, factor);
    auto m = openMedia(fx.path(QStringLiteral("lesson.mp4")));
    QVERIFY(m);
    m->setPlaySpeed(speed);
    QCOMPARE(MediaTestProbe::speed(*m), factor);
    // the time text is the lesson's own time at any speed
    QCOMPARE(m->timeText(ticks(*m, 3)), QStringLiteral("00:00:03"));
}

void TestLoop::timeText_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0.0 << QStringLiteral("00:00:00");
    QTest::newRow("3725 s") << 3725.0 << QStringLiteral("01:02:05");
    QTest::newRow("360000 s") << 360000.0 << QStringLiteral("100:00:00");
    QTest::newRow("59.99 s") << 59.99 << QStringLiteral("00:00:59");
}

void TestLoop::timeText()
{
    QFETCH(double, seconds);
    QFETCH(QString, text);
    auto m = openMedia(fx.path(QStringLiteral("lesson.mp4")));
    QVERIFY(m);
    QCOMPARE(m->timeText(ticks(*m, seconds)), text);
}

void TestLoop::loopsExactlyBetweenTheMarks_data()
{
    speedColumn();
}

void TestLoop::loopsExactlyBetweenTheMarks()
{
    QFETCH(double, speed);
    auto m = openMedia(fx.path(QStringLiteral("lesson.mp4")));
    QVERIFY(m);
    m->setPlaySpeedFactor(speed);
    const double in = 2.2;
    const double out = 3.0;
    m->setMarkOutAt(ticks(*m, out));
    m->setMarkInAt(ticks(*m, in));
    QList<double> shown;
    connect(m.get(), &Media::frameReady, m.get(), [&](int id) { shown << m->picture(id)->pts; });
    QSignalSpy pausedSpy(m.get(), &Media::paused);
    m->start();

    // count loop-backs: a picture earlier than the one before it
    const auto loopBacks = [&] {
        QList<qsizetype> starts;
        for (qsizetype i = 1; i < shown.size(); ++i)
            if (shown[i] < shown[i - 1])
                starts << i;
        return starts;
    };
    QTRY_VERIFY_WITH_TIMEOUT(loopBacks().size() >= 3, 10000);
    m->stop();
    QCOMPARE(pausedSpy.count(), 1); // only the start's resume

    const double frame = 0.04;
    // the very first picture already is the one at the mark in, not the key frame at 0
    QVERIFY2(qAbs(shown.first() - in) < frame / 2, qPrintable(QString::number(shown.first())));
    for (qsizetype start : loopBacks())
        QVERIFY2(qAbs(shown[start] - in) < frame / 2, qPrintable(QString::number(shown[start])));
    for (double pts : shown)
        QVERIFY2(pts >= in - frame / 2 && pts <= out + frame, qPrintable(QString::number(pts)));
}

void TestLoop::pausesAtMarkOutWithLoopOff()
{
    auto m = openMedia(fx.path(QStringLiteral("lesson.mp4")));
    QVERIFY(m);
    m->setMarkOutAt(ticks(*m, 1.6));
    m->setMarkInAt(ticks(*m, 1.0));
    m->setLoop(false);
    QList<double> shown;
    connect(m.get(), &Media::frameReady, m.get(), [&](int id) { shown << m->picture(id)->pts; });
    QSignalSpy pausedSpy(m.get(), &Media::paused);
    m->start();
    QTRY_VERIFY_WITH_TIMEOUT(pausedSpy.count() == 2, 5000);
    QCOMPARE(pausedSpy.at(1).at(0).toBool(), true);
    // paused, the display shows nothing more
    const qsizetype count = shown.size();
    m->video_refresh_timer();
    QCOMPARE(shown.size(), count);
    QVERIFY(!shown.isEmpty());
    QVERIFY2(qAbs(shown.first() - 1.0) < 0.02, qPrintable(QString::number(shown.first())));
    QVERIFY2(shown.last() <= 1.6 + 0.001, qPrintable(QString::number(shown.last())));
    // resuming without moving the marks stops again at once
    m->pause(false);
    QTRY_VERIFY_WITH_TIMEOUT(pausedSpy.count() == 4, 5000);
    QVERIFY(m->isPaused());
    m->stop();
}

void TestLoop::audioOnlyLoopsOnTheAudioClock_data()
{
    speedColumn();
}

void TestLoop::audioOnlyLoopsOnTheAudioClock()
{
    QFETCH(double, speed);
    auto m = openMedia(fx.path(QStringLiteral("lesson.mp3")));
    QVERIFY(m);
    m->setPlaySpeedFactor(speed);
    m->setMarkOutAt(ticks(*m, 1.5));
    m->setMarkInAt(ticks(*m, 1.0));
    m->start();
    // the position is the sound being heard: it loops once the output has played its
    // start, which a busy machine may delay
    QList<double> heard;
    int loops = 0;
    QTimer sampler;
    sampler.setTimerType(Qt::PreciseTimer);
    connect(&sampler, &QTimer::timeout, &sampler, [&] {
        heard << media::toSeconds(m->position(), m->timeBase());
        if (heard.size() > 1 && heard.back() < heard[heard.size() - 2] - 0.2)
            ++loops;
    });
    sampler.start(5);
    QTRY_VERIFY_WITH_TIMEOUT(loops >= 2, 20000);
    sampler.stop();
    m->stop();
    // one mp3 frame (26 ms) of tolerance on either side
    for (double s : heard)
        QVERIFY2(s == 0 || (s >= 1.0 - 0.03 && s <= 1.5 + 0.03), qPrintable(QString::number(s)));
}

void TestLoop::learnerSeekShowsNoPictureFromBeforeIt_data()
{
    QTest::addColumn<double>("target");
    QTest::newRow("forward, mid-GOP") << 4.2;
    QTest::newRow("forward, under a second") << 1.6;
    QTest::newRow("backward") << 0.4;
}

void TestLoop::learnerSeekShowsNoPictureFromBeforeIt()
{
    QFETCH(double, target);
    auto m = openMedia(fx.path(QStringLiteral("lesson.mp4")));
    QVERIFY(m);
    m->setMarkInAt(ticks(*m, 1.0));
    QList<double> shown;
    connect(m.get(), &Media::frameReady, m.get(), [&](int id) { shown << m->picture(id)->pts; });
    m->start();
    QTRY_VERIFY(shown.size() > 5); // the ring is full by now
    shown.clear();
    m->seek(ticks(*m, target));
    QTRY_VERIFY(shown.size() > 3);
    m->stop();
    // no picture decoded before the seek, and the one at the target first
    QVERIFY2(qAbs(shown.first() - target) < 0.02, qPrintable(QString::number(shown.first())));
    for (qsizetype i = 1; i < shown.size(); ++i)
        QVERIFY(shown[i] > shown[i - 1]);
}

QTEST_GUILESS_MAIN(TestLoop)
#include "tst_loop.moc"
