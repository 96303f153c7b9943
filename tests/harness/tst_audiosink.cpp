// The default audio output of the headless environment is a real device: a push-mode
// QAudioSink opened on it consumes what is written and its processed time advances.
#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>
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
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    QVERIFY2(!device.isNull(), "no default audio output");

    QAudioFormat format;
    format.setSampleRate(48000);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    QVERIFY(device.isFormatSupported(format));

    QAudioSink sink(device, format);
    QIODevice *io = sink.start();
    QVERIFY(io);

    // one second of a 440 Hz tone, pushed as space becomes free
    QByteArray pcm(48000 * 4, Qt::Uninitialized);
    auto *s = reinterpret_cast<qint16 *>(pcm.data());
    for (int i = 0; i < 48000; ++i)
        s[2 * i] = s[2 * i + 1] = qint16(8000 * std::sin(2 * M_PI * 440 * i / 48000.0));

    qint64 written = 0;
    QElapsedTimer clock;
    clock.start();
    while (written < pcm.size() && clock.elapsed() < 10000) {
        const qint64 n = io->write(pcm.constData() + written,
                                   qMin<qint64>(sink.bytesFree(), pcm.size() - written));
        QVERIFY(n >= 0);
        written += n;
        QTest::qWait(10);
    }
    QCOMPARE(written, pcm.size());
    QVERIFY(sink.error() == QAudio::NoError);
    QTRY_VERIFY_WITH_TIMEOUT(sink.processedUSecs() >= 500000, 5000);
    sink.stop();
}

QTEST_MAIN(TestAudioSink)
#include "tst_audiosink.moc"
