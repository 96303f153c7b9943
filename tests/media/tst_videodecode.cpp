#include "media/media.h"

#include "support/mediafixtures.h"
#include "support/mediatestprobe.h"
#include "testfiles.h"

#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int rgb24 = 2;

struct Rgb
{
    int r, g, b;
};

Rgb pixelAt(const VideoPicture &p, int x, int y)
{
    if (p.pixelFormat == AV_PIX_FMT_YUV420P) {
        // a YUV picture's rows may be padded; of red and blue, red has the high Cr and
        // blue the high Cb
        const auto chroma = [&](int plane) {
            return p.frame->data[plane][ptrdiff_t(y / 2) * p.frame->linesize[plane] + x / 2];
        };
        return {chroma(2) > 192 ? 255 : 0, 0, chroma(1) > 192 ? 255 : 0};
    }
    // RGB rows are packed back to back: no padding whatever the width
    const uint8_t *px = p.frame->data[0] + (size_t(y) * size_t(p.width) + size_t(x)) * 3;
    return {px[0], px[1], px[2]};
}

} // namespace

class TestVideoDecode : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void picturesComeInPresentationOrder();
    void convertsOddWidthsWithoutShear_data();
    void convertsOddWidthsWithoutShear();
    void aspectRatio_data();
    void aspectRatio();
    void aspectRatioFollowsSizeChange();
    void pauseEmitsOncePerChange();
    void fullRingBlocksDecoderUntilHandOffOrStop();

private:
    MediaFixtures fx;
};

void TestVideoDecode::initTestCase()
{
    QVERIFY(fx.dir.isValid());
    // B-frames and a long GOP: decoding order differs from presentation order
    QVERIFY(fx.makeClip(QStringLiteral("bframes.mp4"), {.seconds = 2, .gop = 50}));
    for (int width : {854, 426, 1366}) {
        // left half red, right half blue
        const QString graph = QStringLiteral("color=c=blue:size=%1x64:duration=1,"
                                             "drawbox=x=0:y=0:w=%2:h=64:color=red:t=fill")
                                  .arg(width)
                                  .arg(width / 2);
        QVERIFY(fx.make(QStringLiteral("halves%1.mp4").arg(width),
                        QStringList{QStringLiteral("-f"), QStringLiteral("lavfi"),
                                    QStringLiteral("-i"), graph} +
                            MediaFixtures::h264()));
    }
    QVERIFY(fx.makeClip(QStringLiteral("pal.mp4"),
                        {.picture = "720x576",
                         .options = {QStringLiteral("-vf"), QStringLiteral("setsar=16/15")}}));
    // two MPEG-TS parts back to back, as a joined lesson: 320x240, then 480x240
    const QStringList noDelay{QStringLiteral("-muxdelay"), QStringLiteral("0"),
                              QStringLiteral("-muxpreload"), QStringLiteral("0")};
    QVERIFY(fx.makeClip(QStringLiteral("narrow.ts"), {.options = noDelay}));
    QVERIFY(fx.makeClip(QStringLiteral("wide.ts"),
                        {.picture = "480x240",
                         .options = noDelay + QStringList{QStringLiteral("-output_ts_offset"),
                                                          QStringLiteral("1")}}));
    QFile joined(fx.path(QStringLiteral("joined.ts")));
    QVERIFY(joined.open(QIODevice::WriteOnly));
    for (const char *part : {"narrow.ts", "wide.ts"})
        joined.write(readAll(fx.path(QString::fromLatin1(part))));
}

void TestVideoDecode::picturesComeInPresentationOrder()
{
    Media m(nullptr, false, 16, rgb24, 0, 0);
    QVERIFY(m.open(fx.path(QStringLiteral("bframes.mp4"))));
    m.setLoop(false);
    QList<double> shown;
    connect(&m, &Media::frameReady, &m, [&](int id) { shown << m.picture(id)->pts; });
    QSignalSpy pausedSpy(&m, &Media::paused);
    m.setPlaySpeed(4); // twice as fast
    m.start();
    QTRY_VERIFY_WITH_TIMEOUT(pausedSpy.count() == 2, 10000);
    m.stop();
    // with loop off the display stops at the pause, before the pictures still in flight
    QVERIFY2(shown.size() >= 40, qPrintable(QString::number(shown.size())));
    QCOMPARE(shown.first(), 0.0);
    for (qsizetype i = 1; i < shown.size(); ++i)
        QVERIFY2(shown[i] > shown[i - 1],
                 qPrintable(QStringLiteral("%1 after %2").arg(shown[i]).arg(shown[i - 1])));
}

void TestVideoDecode::convertsOddWidthsWithoutShear_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("pixelFormat");
    for (int width : {854, 426, 1366}) {
        QTest::addRow("%d RGB", width) << width << rgb24;
        QTest::addRow("%d YUV", width) << width << int(AV_PIX_FMT_YUV420P);
    }
}

void TestVideoDecode::convertsOddWidthsWithoutShear()
{
    QFETCH(int, width);
    QFETCH(int, pixelFormat);
    Media m(nullptr, false, 16, pixelFormat, 0, 0);
    QVERIFY(m.open(fx.path(QStringLiteral("halves%1.mp4").arg(width))));
    int first = -1;
    connect(&m, &Media::frameReady, &m, [&](int id) {
        if (first < 0)
            first = id;
    });
    m.start();
    QTRY_VERIFY(first >= 0);
    m.pause(true);
    const VideoPicture &p = *m.picture(first);
    QCOMPARE(p.width, width);
    QCOMPARE(p.height, 64);
    QCOMPARE(p.pixelFormat, pixelFormat);
    for (int y : {0, 31, 63}) {
        for (int x : {0, 8, width / 2 - 8}) {
            const Rgb c = pixelAt(p, x, y);
            QVERIFY2(
                c.r > 200 && c.g < 60 && c.b < 60,
                qPrintable(
                    QStringLiteral("(%1,%2) %3 %4 %5").arg(x).arg(y).arg(c.r).arg(c.g).arg(c.b)));
        }
        for (int x : {width / 2 + 8, width - 1}) {
            const Rgb c = pixelAt(p, x, y);
            QVERIFY2(
                c.b > 200 && c.r < 60 && c.g < 60,
                qPrintable(
                    QStringLiteral("(%1,%2) %3 %4 %5").arg(x).arg(y).arg(c.r).arg(c.g).arg(c.b)));
        }
    }
    m.stop();
}

void TestVideoDecode::aspectRatio_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("ratio");
    QTest::newRow("720x576 at 16:15") << QStringLiteral("pal.mp4") << 720.0 / 576 * 16 / 15;
    QTest::newRow("square pixels") << QStringLiteral("bframes.mp4") << 320.0 / 240;
}

void TestVideoDecode::aspectRatio()
{
    QFETCH(QString, file);
    QFETCH(double, ratio);
    Media m(nullptr, false, 16, rgb24, 0, 0);
    QVERIFY(m.open(fx.path(file)));
    QVERIFY(qAbs(m.videoAspectRatio() - ratio) < 1e-4);
}

void TestVideoDecode::aspectRatioFollowsSizeChange()
{
    // a YUV ring keeps the first part's pictures as decoded and scales the second's
    Media m(nullptr, false, 16, AV_PIX_FMT_YUV420P, 0, 0);
    QVERIFY(m.open(fx.path(QStringLiteral("joined.ts"))));
    QVERIFY(qAbs(m.videoAspectRatio() - 320.0 / 240) < 1e-4);
    m.setLoop(false);
    QSignalSpy pausedSpy(&m, &Media::paused);
    m.start();
    QTRY_VERIFY_WITH_TIMEOUT(pausedSpy.count() == 2, 10000);
    // the video thread publishes the decoder's new shape for the screen to read
    QVERIFY2(qAbs(m.videoAspectRatio() - 2.0) < 1e-4,
             qPrintable(QString::number(m.videoAspectRatio())));
    m.stop();
}

void TestVideoDecode::pauseEmitsOncePerChange()
{
    // the display's time stands still unless the test moves it
    ManualClock clock;
    Media m(nullptr, false, 16, rgb24, 0, 0, clock);
    QVERIFY(m.open(fx.path(QStringLiteral("bframes.mp4"))));
    QSignalSpy pausedSpy(&m, &Media::paused);
    QSignalSpy frames(&m, &Media::frameReady);
    m.pause(false); // stopped: nothing
    m.pause(true);
    QCOMPARE(pausedSpy.count(), 0);
    m.start();
    QCOMPARE(pausedSpy.count(), 1);
    QTRY_VERIFY(frames.count() > 3);
    m.pause(true);
    m.pause(true);
    QCOMPARE(pausedSpy.count(), 2);
    QVERIFY(m.isPaused());
    // the display shows nothing more, and the clock stands on the picture shown last
    const int shown = int(frames.count());
    const double stoodAt = m.currentClock();
    clock.advance(1.0);
    m.video_refresh_timer();
    QCOMPARE(frames.count(), shown);
    QCOMPARE(m.currentClock(), stoodAt);
    QCOMPARE(m.position(), m.picture(frames.last().at(0).toInt())->ticks);
    m.pause(false);
    m.pause(false);
    QCOMPARE(pausedSpy.count(), 3);
    QCOMPARE(pausedSpy.at(2).at(0).toBool(), false);
    m.stop();
}

void TestVideoDecode::fullRingBlocksDecoderUntilHandOffOrStop()
{
    Media m(nullptr, false, 16, rgb24, 0, 0);
    QVERIFY(m.open(fx.path(QStringLiteral("bframes.mp4"))));
    QSignalSpy frames(&m, &Media::frameReady);
    // the display's timer hands nothing out: the test does, one picture at a time
    const QSignalBlocker noDisplay(MediaTestProbe::displayTimer(m));
    m.start();
    // the decoder stops at three pending pictures, however long it is left
    QTRY_COMPARE_WITH_TIMEOUT(MediaTestProbe::pendingPictures(m), 3, 30000);
    QVERIFY(!QTest::qWaitFor([&m] { return MediaTestProbe::pendingPictures(m) != 3; }, 100));

    // each hand-off frees one slot, which the decoder fills again
    for (int round = 0; round < 3; ++round) {
        m.video_refresh_timer();
        QCOMPARE(frames.count(), round + 1);
        QCOMPARE(frames.last().at(0).toInt(), round);
        QTRY_COMPARE_WITH_TIMEOUT(MediaTestProbe::pendingPictures(m), 3, 30000);
    }
    // stopping releases the blocked decoder for good
    m.stop();
    QVERIFY(m.isStopped());
    QCOMPARE(MediaTestProbe::pendingPictures(m), 0);
}

QTEST_GUILESS_MAIN(TestVideoDecode)
#include "tst_videodecode.moc"
