// The sound server of the headless environment is real: it has a default sink, and a
// stream played to it is consumed at the pace of a device, not swallowed at once.
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

#include <cmath>

class TestAudioSink : public QObject
{
    Q_OBJECT
private slots:
    void defaultOutputConsumesPushedSamples();
};

void TestAudioSink::defaultOutputConsumesPushedSamples()
{
    QProcess info;
    info.start(QStringLiteral("pactl"), {QStringLiteral("get-default-sink")});
    QVERIFY(info.waitForFinished(20000));
    QVERIFY2(info.exitCode() == 0 && !info.readAllStandardOutput().trimmed().isEmpty(),
             "no default sink");

    // one second of a 440 Hz tone, which the player drains before it exits
    QByteArray pcm(48000 * 4, Qt::Uninitialized);
    auto *s = reinterpret_cast<qint16 *>(pcm.data());
    for (int i = 0; i < 48000; ++i)
        s[2 * i] = s[2 * i + 1] = qint16(8000 * std::sin(2 * M_PI * 440 * i / 48000.0));
    QProcess player;
    player.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer clock;
    clock.start();
    player.start(QStringLiteral("pacat"),
                 {QStringLiteral("--playback"), QStringLiteral("--raw"),
                  QStringLiteral("--format=s16le"), QStringLiteral("--rate=48000"),
                  QStringLiteral("--channels=2")});
    QVERIFY(player.waitForStarted(20000));
    player.write(pcm);
    player.closeWriteChannel();
    QVERIFY(player.waitForFinished(30000));
    QVERIFY2(player.exitCode() == 0, player.readAll().constData());
    QVERIFY2(clock.elapsed() >= 500, qPrintable(QString::number(clock.elapsed())));
}

QTEST_GUILESS_MAIN(TestAudioSink)
#include "tst_audiosink.moc"
