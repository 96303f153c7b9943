#include "media/iaudio.h"
#include "media/media.h"

#include "support/mediafixtures.h"
#include "support/mediatestprobe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <memory>

namespace {

const char noOutputChild[] = "VORLYN_TEST_NO_AUDIO_OUTPUT";
const char quitChild[] = "VORLYN_TEST_QUIT_CHILD";
const char serverChild[] = "VORLYN_TEST_SERVER_CHILD";

// A sound server of the child's own, with a null sink, in folder: the one the tests run
// with is shared and must not be killed.
std::unique_ptr<QProcess> startSoundServer(const QString &folder)
{
    QDir(folder).mkpath(QStringLiteral("runtime/pulse"));
    QFile config(folder + QStringLiteral("/pulse.pa"));
    if (!config.open(QIODevice::WriteOnly))
        return nullptr;
    config.write("load-module module-native-protocol-unix auth-anonymous=1\n"
                 "load-module module-null-sink sink_name=child_null rate=48000 channels=2\n"
                 "set-default-sink child_null\n");
    config.close();
    auto server = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), folder);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder + QStringLiteral("/runtime"));
    server->setProcessEnvironment(env);
    server->setStandardOutputFile(QProcess::nullDevice());
    server->setStandardErrorFile(QProcess::nullDevice());
    server->start(QStringLiteral("pulseaudio"),
                  {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                   QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--disallow-exit"),
                   QStringLiteral("-F"), config.fileName()});
    if (!server->waitForStarted(10000))
        return nullptr;
    // ready once a client gets an answer (the clients use $PULSE_SERVER)
    const auto answers = [] {
        QProcess info;
        info.setStandardOutputFile(QProcess::nullDevice());
        info.setStandardErrorFile(QProcess::nullDevice());
        info.start(QStringLiteral("pactl"), {QStringLiteral("info")});
        return info.waitForFinished(10000) && info.exitCode() == 0;
    };
    return QTest::qWaitFor(answers, 20000) ? std::move(server) : nullptr;
}

QByteArray stereoFrames(int frames, int16_t left, int16_t right)
{
    QByteArray pcm(frames * 4, Qt::Uninitialized);
    auto *s = reinterpret_cast<int16_t *>(pcm.data());
    for (int i = 0; i < frames; ++i) {
        s[2 * i] = left;
        s[2 * i + 1] = right;
    }
    return pcm;
}

// Writes until the output takes nothing more; returns the bytes accepted.
int fill(IAudio *audio)
{
    int total = 0;
    for (int i = 0; i < 200; ++i) {
        QByteArray pcm = stereoFrames(4800, 100, 100);
        const int n = audio->write(pcm.data(), int(pcm.size()));
        if (n == 0)
            break;
        total += n;
    }
    return total;
}

} // namespace

class TestAudio : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void writeNeedsAnOpenOutput();
    void reopenKeepsOrReplacesTheSink();
    void volumeIsClamped_data();
    void volumeIsClamped();
    void volumeScalesEachChannel();
    void playingMakesTheSinkConsume();
    void audioOnlyLoopsBackAtMarkOut();
    void keepsPlayingAcrossFormatChanges();
    void soundEndsAtTheLoopEndSample();
    void stopSilencesTheOutputAtOnce();
    void nextStretchIsHeardFromItsFirstByte();
    void stopsPromptlyWithoutOutputDevice();
    void quitAfterPlayingNeverCrashes();
    void playThenQuit();
    void soundServerGoneAndBack();

private:
    MediaFixtures fx;
};

void TestAudio::initTestCase()
{
    if (qEnvironmentVariableIsSet(noOutputChild) || qEnvironmentVariableIsSet(quitChild) ||
        qEnvironmentVariableIsSet(serverChild))
        return;
    QVERIFY(fx.dir.isValid());
    QVERIFY(fx.make(QStringLiteral("audio.mp3"),
                    MediaFixtures::toneSource(3) +
                        QStringList{QStringLiteral("-c:a"), QStringLiteral("libmp3lame")}));
    QVERIFY(fx.make(QStringLiteral("mono22.mp3"),
                    MediaFixtures::toneSource(1.5, 22050, 1) +
                        QStringList{QStringLiteral("-c:a"), QStringLiteral("libmp3lame")}));
    QVERIFY(fx.make(QStringLiteral("stereo44.mp3"),
                    MediaFixtures::toneSource(1.5, 44100, 2) +
                        QStringList{QStringLiteral("-c:a"), QStringLiteral("libmp3lame")}));
    // two mp3 files back to back, as a joined lesson: rate and layout change midway
    QFile joined(fx.path(QStringLiteral("joined.mp3")));
    QVERIFY(joined.open(QIODevice::WriteOnly));
    for (const char *part : {"mono22.mp3", "stereo44.mp3"}) {
        QFile f(fx.path(QString::fromLatin1(part)));
        QVERIFY(f.open(QIODevice::ReadOnly));
        joined.write(f.readAll());
    }
}

void TestAudio::writeNeedsAnOpenOutput()
{
    if (qEnvironmentVariableIsSet(noOutputChild))
        QSKIP("child run");
    IAudio *audio = IAudio::instance();
    QByteArray pcm = stereoFrames(480, 1, 1);
    QCOMPARE(audio->write(pcm.data(), int(pcm.size())), 0); // before any open
    QVERIFY(!audio->isPlaying());
    QVERIFY(audio->open(this, 44100, 16, 2));
    QVERIFY(audio->write(pcm.data(), int(pcm.size())) > 0);
    audio->close(this);
    QCOMPARE(audio->write(pcm.data(), int(pcm.size())), 0);
    QVERIFY(!audio->isPlaying());
}

void TestAudio::reopenKeepsOrReplacesTheSink()
{
    if (qEnvironmentVariableIsSet(noOutputChild))
        QSKIP("child run");
    IAudio *audio = IAudio::instance();
    QVERIFY(audio->open(this, 44100, 16, 2));
    QVERIFY(fill(audio) > 0);
    // the same format keeps the running sink: its played time goes on from where it was,
    // where a new sink, given nothing yet, would start again from zero
    QTRY_VERIFY_WITH_TIMEOUT(audio->processedUSecs() > 0, 10000);
    const qint64 played = audio->processedUSecs();
    QVERIFY(audio->open(this, 44100, 16, 2));
    QVERIFY(audio->processedUSecs() >= played);
    QByteArray pcm = stereoFrames(480, 1, 1);
    // an unsupported sample size is refused and leaves the output as it was
    QVERIFY(!audio->open(this, 44100, 24, 2));
    QCOMPARE(audio->format().sampleRate, 44100);
    QVERIFY(audio->isPlaying());
    // another format replaces it: a new, empty buffer
    QVERIFY(audio->open(this, 48000, 16, 1));
    QCOMPARE(audio->format().channels, 1);
    QVERIFY(audio->write(pcm.data(), int(pcm.size())) > 0);
    // a second owner taking the same format over: the first one's close leaves it alone
    const int second = 0;
    QVERIFY(audio->open(&second, 48000, 16, 1));
    audio->close(this);
    QVERIFY(audio->isPlaying());
    audio->close(&second);
    QVERIFY(!audio->isPlaying());
}

void TestAudio::volumeIsClamped_data()
{
    QTest::addColumn<double>("given");
    QTest::addColumn<float>("stored");
    QTest::newRow("1.5") << 1.5 << 1.0f;
    QTest::newRow("-0.2") << -0.2 << 0.0f;
    QTest::newRow("0.9995") << 0.9995 << 1.0f;
    QTest::newRow("0.0005") << 0.0005 << 0.0f;
    QTest::newRow("0.5") << 0.5 << 0.5f;
    QTest::newRow("0.999") << 0.999 << 0.999f;
    QTest::newRow("0.001") << 0.001 << 0.001f;
}

void TestAudio::volumeIsClamped()
{
    QFETCH(double, given);
    QFETCH(float, stored);
    IAudio *audio = IAudio::instance();
    audio->setVolume(given, 0.25);
    QCOMPARE(audio->volumeLeft(), stored);
    QCOMPARE(audio->volumeRight(), 0.25f);
    audio->setVolume(0.25, given);
    QCOMPARE(audio->volumeRight(), stored);
}

void TestAudio::volumeScalesEachChannel()
{
    const media::AudioFormat fmt{44100, 2, 2};
    QByteArray pcm = stereoFrames(2, 1000, -1001);
    IAudio::applyVolume(pcm.data(), int(pcm.size()), fmt, 0.5f, 0.5f);
    const auto *s = reinterpret_cast<const int16_t *>(pcm.constData());
    QCOMPARE(s[0], int16_t(500));
    QCOMPARE(s[1], int16_t(-500)); // truncated toward zero
    QByteArray loud = stereoFrames(1, -32768, 32767);
    IAudio::applyVolume(loud.data(), int(loud.size()), fmt, 1.0f, 0.0f);
    const auto *l = reinterpret_cast<const int16_t *>(loud.constData());
    QCOMPARE(l[0], int16_t(-32768));
    QCOMPARE(l[1], int16_t(0));
}

void TestAudio::playingMakesTheSinkConsume()
{
    if (qEnvironmentVariableIsSet(noOutputChild))
        QSKIP("child run");
    Media m(nullptr, false, 16, 2, 0, 0);
    QVERIFY(m.open(fx.path(QStringLiteral("audio.mp3"))));
    m.start();
    QTRY_VERIFY_WITH_TIMEOUT(IAudio::instance()->processedUSecs() > 500000, 5000);
    QCOMPARE(IAudio::instance()->format().sampleRate, m.audioSampleRate());
    // the audio clock follows the packets and drives the position of an audio-only file
    QVERIFY(m.currentClock() > 0.3);
    QVERIFY(m.position() > 0);
    m.stop();
}

void TestAudio::audioOnlyLoopsBackAtMarkOut()
{
    if (qEnvironmentVariableIsSet(noOutputChild))
        QSKIP("child run");
    Media m(nullptr, false, 16, 2, 0, 0);
    QVERIFY(m.open(fx.path(QStringLiteral("audio.mp3"))));
    const AVRational tb = m.timeBase();
    const int64_t second = tb.den / tb.num;
    m.setMarkInAt(m.endTime() - second / 2);
    QSignalSpy pausedSpy(&m, &Media::paused);
    // one loop-back per half second: the position heard goes back
    int64_t last = 0;
    int loops = 0;
    QTimer sampler;
    connect(&sampler, &QTimer::timeout, &sampler, [&] {
        loops += m.position() < last - second / 5;
        last = m.position();
    });
    sampler.start(5);
    m.start();
    QTRY_VERIFY_WITH_TIMEOUT(loops >= 2, 5000);
    sampler.stop();
    QCOMPARE(pausedSpy.count(), 1); // only the start's resume: loop on never pauses
    QVERIFY(m.position() >= m.markIn() - second);
    m.stop();
}

void TestAudio::keepsPlayingAcrossFormatChanges()
{
    if (qEnvironmentVariableIsSet(noOutputChild))
        QSKIP("child run");
    Media m(nullptr, false, 16, 2, 0, 0);
    QVERIFY(m.open(fx.path(QStringLiteral("joined.mp3"))));
    m.setLoop(false);
    QSignalSpy pausedSpy(&m, &Media::paused);
    m.start();
    // the joined lesson plays through its second half to the end
    QTRY_VERIFY_WITH_TIMEOUT(pausedSpy.count() == 2, 8000);
    QVERIFY(m.currentClock() > 2.0);
    QVERIFY(IAudio::instance()->processedUSecs() > 1500000);
    m.stop();
}

void TestAudio::soundEndsAtTheLoopEndSample()
{
    if (qEnvironmentVariableIsSet(noOutputChild))
        QSKIP("child run");
    Media m(nullptr, false, 16, 2, 0, 0);
    QVERIFY(m.open(fx.path(QStringLiteral("audio.mp3"))));
    const AVRational tb = m.timeBase();
    // marks inside the mp3 frames of 26 ms, so a frame reaches past each of them
    const int64_t markIn = m.startTime() + m.ticksFromSeconds(0.51);
    const int64_t markOut = m.startTime() + m.ticksFromSeconds(1.52);
    m.setMarkOutAt(markOut);
    m.setMarkInAt(markIn);
    m.setLoop(false);
    IAudio *audio = IAudio::instance();
    // the output the media will keep, so its byte count can be read before and after
    QVERIFY(audio->open(this, m.audioSampleRate(), 16, m.audioChannels()));
    qint64 before = 0;
    qint64 heard = 0;
    QVERIFY(audio->playedBytes(before, heard));
    QSignalSpy pausedSpy(&m, &Media::paused);
    m.start();
    // the start's resume, then the pause at the mark out
    QTRY_COMPARE_WITH_TIMEOUT(pausedSpy.count(), 2, 20000);
    // exactly the stretch between the marks reaches the output, to a few samples, and
    // nothing after it
    const double expected = media::toSeconds(markOut - markIn, tb) * m.audioSampleRate();
    double frames = 0;
    const auto writtenFrames = [&] {
        qint64 written = 0;
        audio->playedBytes(written, heard);
        frames = double(written - before) / audio->format().bytesPerFrame();
        return frames;
    };
    QTRY_VERIFY_WITH_TIMEOUT(writtenFrames() > expected - 8, 20000);
    QVERIFY(!QTest::qWaitFor([&] { return writtenFrames() > expected + 8; }, 300));
    QVERIFY2(std::abs(frames - expected) < 8,
             qPrintable(QStringLiteral("%1 frames, expected %2").arg(frames).arg(expected)));
    m.stop();
}

void TestAudio::stopSilencesTheOutputAtOnce()
{
    if (qEnvironmentVariableIsSet(noOutputChild))
        QSKIP("child run");
    IAudio *audio = IAudio::instance();
    Media m(nullptr, false, 16, 2, 0, 0);
    QVERIFY(m.open(fx.path(QStringLiteral("audio.mp3"))));
    m.start();
    QTRY_VERIFY_WITH_TIMEOUT(audio->processedUSecs() > 500000, 20000);
    m.stop();
    // the output drops what it held instead of playing it out after the stop: it is open,
    // with nothing left to play
    qint64 written = -1;
    qint64 heard = -1;
    QVERIFY(audio->playedBytes(written, heard));
    QVERIFY2(written == heard, qPrintable(QStringLiteral("%1 bytes left").arg(written - heard)));
}

// What the audio thread tells of the stretches it wrote is placed on the engine's clock:
// a loop-back written 30 s ahead is heard 30 s from the moment it was told, from its
// first byte on (the rule itself: tst_displayclock).
void TestAudio::nextStretchIsHeardFromItsFirstByte()
{
    if (qEnvironmentVariableIsSet(noOutputChild))
        QSKIP("child run");
    ManualClock clock;
    Media m(nullptr, false, 16, 2, 0, 0, clock);
    QVERIFY(m.open(fx.path(QStringLiteral("audio.mp3"))));
    MediaTestProbe::publishHeard(m, {2.50, 2.52, 0, 1, 1}, {1.52, 1.60, 30, 1, 2});
    QCOMPARE(MediaTestProbe::heardNow(m, 1).clock, 2.50);
    QCOMPARE(MediaTestProbe::heardNow(m, 1).switchIn, 30.0);
    QCOMPARE(MediaTestProbe::heardNow(m, 2).clock, 1.52 - 30);
    clock.advance(30);
    QCOMPARE(MediaTestProbe::heardNow(m, 1).sound, media::SoundFor::Past);
    QCOMPARE(MediaTestProbe::heardNow(m, 2).clock, 1.52);
}

void TestAudio::stopsPromptlyWithoutOutputDevice()
{
    if (!qEnvironmentVariableIsSet(noOutputChild)) {
        // run this function again in a process that has no sound server at all
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(noOutputChild), fx.path(QStringLiteral("audio.mp3")));
        env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:/nonexistent/pulse"));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("stopsPromptlyWithoutOutputDevice")});
        QVERIFY(child.waitForFinished(60000));
        QVERIFY2(child.exitCode() == 0, child.readAllStandardOutput().constData());
        return;
    }
    QVERIFY(!IAudio::instance()->open(this, 48000, 16, 2));
    Media m(nullptr, false, 16, 2, 0, 0);
    QVERIFY(m.open(qEnvironmentVariable(noOutputChild)));
    m.start();
    // samples are dropped, so the clip still runs through its packets
    QTRY_VERIFY_WITH_TIMEOUT(m.currentClock() > 1.0, 20000); // generous: sanitizer builds are slow
    m.stop();
    QVERIFY(m.isStopped());
    QVERIFY(!MediaTestProbe::workersRunning(m));
}

void TestAudio::quitAfterPlayingNeverCrashes()
{
    if (qEnvironmentVariableIsSet(noOutputChild) || qEnvironmentVariableIsSet(quitChild))
        QSKIP("child run");
    // the sound server's client must not be torn down at exit while its thread dispatches
    for (int run = 0; run < 50; ++run) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QLatin1String(quitChild), fx.path(QStringLiteral("audio.mp3")));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("playThenQuit")});
        QVERIFY(child.waitForFinished(60000));
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 qPrintable(QStringLiteral("run %1: %2")
                                .arg(run)
                                .arg(QString::fromLocal8Bit(child.readAll().right(2000)))));
    }
}

void TestAudio::playThenQuit()
{
    const QString file = qEnvironmentVariable(quitChild);
    if (file.isEmpty())
        QSKIP("the child of quitAfterPlayingNeverCrashes");
    auto m = std::make_unique<Media>(nullptr, false, 16, 2, 0, 0);
    QVERIFY(m->open(file));
    m->start();
    QTRY_VERIFY_WITH_TIMEOUT(IAudio::instance()->processedUSecs() > 100000, 20000);
    m.reset();
}

// The sound server dies while a lesson plays: the lesson plays on silently or stops, the
// event loop keeps running, and once the server is back, the lesson is heard again. Runs in
// a child process, which talks to a server of its own from its first sound on.
void TestAudio::soundServerGoneAndBack()
{
    if (qEnvironmentVariableIsSet(noOutputChild) || qEnvironmentVariableIsSet(quitChild))
        QSKIP("child run");
    if (!qEnvironmentVariableIsSet(serverChild)) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QLatin1String(serverChild), fx.path(QStringLiteral("audio.mp3")));
        env.insert(QStringLiteral("PULSE_SERVER"),
                   QStringLiteral("unix:%1/server/runtime/pulse/native").arg(fx.dir.path()));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("soundServerGoneAndBack")});
        QVERIFY(child.waitForFinished(180000));
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 child.readAll().right(3000).constData());
        return;
    }
    const QString folder =
        QFileInfo(qEnvironmentVariable(serverChild)).path() + QStringLiteral("/server");
    std::unique_ptr<QProcess> server = startSoundServer(folder);
    QVERIFY(server);
    QTRY_VERIFY_WITH_TIMEOUT(IAudio::instance()->open(this, 48000, 16, 2), 20000);
    IAudio::instance()->close(this);
    Media m(nullptr, false, 16, 2, 0, 0);
    QVERIFY(m.open(qEnvironmentVariable(serverChild)));
    m.start();
    QTRY_VERIFY_WITH_TIMEOUT(IAudio::instance()->processedUSecs() > 300000, 20000);

    server->kill();
    QVERIFY(server->waitForFinished(10000));
    // the timer ticks on while the engine copes, and the lesson goes on or stops
    int ticks = 0;
    QTimer tick;
    connect(&tick, &QTimer::timeout, [&ticks] { ++ticks; });
    tick.start(100);
    QTRY_VERIFY_WITH_TIMEOUT(ticks > 5, 20000);
    const double heard = m.currentClock();
    QTRY_VERIFY_WITH_TIMEOUT(m.isStopped() || m.currentClock() > heard + 0.5, 20000);
    m.stop();
    QVERIFY(m.isStopped());

    // back while the lesson plays: the sound comes back by itself
    m.start();
    server = startSoundServer(folder);
    QVERIFY(server);
    // a live output now is a new one: the dropped one stays stopped
    QTRY_VERIFY_WITH_TIMEOUT(
        IAudio::instance()->isPlaying() && IAudio::instance()->processedUSecs() > 300000, 30000);
    m.stop();
    server->kill();
    server->waitForFinished(10000);
}

QTEST_GUILESS_MAIN(TestAudio)
#include "tst_audio.moc"
