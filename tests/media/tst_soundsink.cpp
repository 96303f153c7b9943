// The null sound output: it plays nothing, at the real rate of its samples, and reports
// what is heard as a sound server's stream does.
#include "media/iaudio.h"
#include "media/media.h"
#include "media/nullsoundsink.h"

#include "support/mediafixtures.h"
#include "support/mediatestprobe.h"

#include <QElapsedTimer>
#include <QTest>

class TestSoundSink : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void nullSinkPlaysAtTheRealRate();
    void lessonPlaysWithoutASoundServer();

private:
    MediaFixtures fx;
};

void TestSoundSink::initTestCase()
{
    // before the process-wide output is made: the null output, and no server to reach
    qputenv("VORLYN_SOUND", "null");
    qputenv("PULSE_SERVER", "unix:/nonexistent/pulse");
    QVERIFY(fx.dir.isValid());
    QVERIFY(fx.makeClip(QStringLiteral("audio.mp3"),
                        {.picture = nullptr, .seconds = 3, .audio = "libmp3lame"}));
}

void TestSoundSink::nullSinkPlaysAtTheRealRate()
{
    ManualClock clock;
    media::NullSoundSink sink(clock);
    const media::AudioFormat fmt{48000, 2, 2}; // 192 bytes a millisecond
    QVERIFY(!sink.isPlaying());
    QVERIFY(sink.open(fmt, 38400));
    QVERIFY(sink.isPlaying());
    QByteArray pcm(76800, '\0');
    // it holds what it was opened for, and plays it in real time
    QCOMPARE(sink.write(pcm.constData(), pcm.size()), int64_t(38400));
    QCOMPARE(sink.writableBytes(), int64_t(0));
    clock.advance(0.1);
    QCOMPARE(sink.heardBytes(), int64_t(19200));
    QCOMPARE(sink.writableBytes(), int64_t(19200));
    // run dry, it never hears more than was written
    clock.advance(1.0);
    QCOMPARE(sink.heardBytes(), int64_t(38400));
    // and plays what comes next from when it comes
    QCOMPARE(sink.write(pcm.constData(), 9600), int64_t(9600));
    clock.advance(0.025);
    QCOMPARE(sink.heardBytes(), int64_t(38400 + 4800));
    // a rewrite replaces what is not heard yet, and nothing heard
    QCOMPARE(sink.rewrite(38400, pcm.constData(), 960), int64_t(0));
    QCOMPARE(sink.rewrite(38400 + 4800, pcm.constData(), 960), int64_t(960));
    QCOMPARE(sink.writtenBytes(), int64_t(38400 + 4800 + 960));
    sink.close();
    QVERIFY(!sink.isPlaying());
    QCOMPARE(sink.write(pcm.constData(), 960), int64_t(0));

    // whole frames, with no drift from rounding: 44.1 frames a millisecond
    QVERIFY(sink.open({44100, 2, 2}, 176400));
    QCOMPARE(sink.write(pcm.constData(), pcm.size()), int64_t(pcm.size()));
    clock.advance(0.001);
    QCOMPARE(sink.heardBytes(), int64_t(44 * 4));
    for (int i = 0; i < 9; ++i)
        clock.advance(0.001);
    QCOMPARE(sink.heardBytes(), int64_t(441 * 4));
}

void TestSoundSink::lessonPlaysWithoutASoundServer()
{
    IAudio *audio = IAudio::instance();
    Media m(nullptr, false, 16, 2, 0, 0);
    QVERIFY(m.open(fx.path(QStringLiteral("audio.mp3"))));
    QElapsedTimer t;
    t.start();
    m.start();
    QVERIFY(audio->isPlaying());
    QTRY_VERIFY_WITH_TIMEOUT(audio->processedUSecs() > 500000, 20000);
    // heard no faster than time passes, and the lesson's clock follows it
    QVERIFY2(audio->processedUSecs() <= t.nsecsElapsed() / 1000,
             qPrintable(QString::number(audio->processedUSecs())));
    QTRY_VERIFY_WITH_TIMEOUT(m.currentClock() > 0.4, 20000);
    m.stop();
}

QTEST_GUILESS_MAIN(TestSoundSink)
#include "tst_soundsink.moc"
