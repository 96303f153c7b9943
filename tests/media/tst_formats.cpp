// Containers and codecs a learner may bring, generated at test time. Every picture of
// a clip carries its own time as a binary pattern, so each picture shown is checked
// against its time, and each pass of the loop against its marks.
#include "media/media.h"

#include "support/mediafixtures.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

constexpr int rgb24 = 2;
constexpr int pointScaling = 16;
constexpr int codeBits = 10;
constexpr double tolerance = 0.001; // seconds: far under a picture, over time base rounding

enum class Kind
{
    Video,     // checked picture by picture
    OneFrame,  // a single picture, shown on every pass
    AudioOnly, // checked on the audio clock
    Unreadable
};

QStringList lavfi(const QString &graph)
{
    return {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), graph};
}

// Pictures whose column i (of codeBits) is white when bit i of their time in centiseconds
// is set. before and after are filters around the pattern (a time change, a format).
QStringList codedPictures(const QString &size = QStringLiteral("160x120"),
                          const QString &before = {}, const QString &after = {})
{
    return lavfi(QStringLiteral("nullsrc=size=%1:rate=25:duration=3,%2"
                                "geq=lum='255*mod(floor(round(T*100)/pow(2,floor(X*%3/W))),2)'"
                                ":cb=128:cr=128%4")
                     .arg(size, before.isEmpty() ? QString() : before + QLatin1Char(','))
                     .arg(codeBits)
                     .arg(after.isEmpty() ? QString() : QLatin1Char(',') + after));
}

QStringList tone(int rate = 44100)
{
    return lavfi(QStringLiteral("sine=frequency=440:sample_rate=%1:duration=3").arg(rate));
}

QStringList args(const char *text)
{
    return QString::fromLatin1(text).split(QLatin1Char(' '));
}

// The time a picture shows, in centiseconds, read back from its columns.
int pictureCode(const VideoPicture &p)
{
    int code = 0;
    for (int bit = 0; bit < codeBits; ++bit) {
        const int x = (2 * bit + 1) * p.width / (2 * codeBits);
        const uint8_t *px =
            p.frame->data[0] + (size_t(p.height / 2) * size_t(p.width) + size_t(x)) * 3;
        if (px[1] > 127)
            code |= 1 << bit;
    }
    return code;
}

struct Shown
{
    double pts;
    int code;
    bool afterSeek;
};

// Indices of the pictures that begin a new pass: earlier than the one before.
QList<qsizetype> loopEntries(const QList<Shown> &shown)
{
    QList<qsizetype> entries;
    for (qsizetype i = 1; i < shown.size(); ++i)
        if (shown[i].pts < shown[i - 1].pts - tolerance)
            entries << i;
    return entries;
}

} // namespace

Q_DECLARE_METATYPE(Kind)

class TestFormats : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void loopsExactlyWithPicturesAtTheirTimes_data();
    void loopsExactlyWithPicturesAtTheirTimes();

private:
    // A new Media for file with its loop between in and out (seconds after its start;
    // out 0 for its end); null when it does not open.
    static std::unique_ptr<Media> openLoop(const QString &file, double in, double out);
    void checkPictureLoop(const QString &file, double in, double out);
    void checkAudioLoop(const QString &file, double in, double out);

    MediaFixtures fx;
};

void TestFormats::initTestCase()
{
    QVERIFY(fx.dir.isValid());
}

void TestFormats::loopsExactlyWithPicturesAtTheirTimes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("make"); // ffmpeg arguments; none for an empty file
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("audio");

    const QStringList h264 = MediaFixtures::h264(40);
    const QStringList aac = args("-c:a aac");
    // key frames at 0 s and 1.6 s: neither loop starts on one
    QTest::newRow("VP9/Opus webm")
        << QStringLiteral("lesson.webm")
        << codedPictures() + tone() +
               args("-c:v libvpx-vp9 -deadline realtime -cpu-used 8 -b:v 400k -g 40 -c:a libopus")
        << Kind::Video << true;
    QTest::newRow("Theora/Vorbis ogv")
        << QStringLiteral("lesson.ogv")
        << codedPictures() + tone() + args("-c:v libtheora -q:v 7 -g 40 -c:a libvorbis")
        << Kind::Video << true;
    QTest::newRow("WMV2/WMA2") << QStringLiteral("lesson.wmv")
                               << codedPictures() + tone() +
                                      args("-c:v wmv2 -q:v 3 -g 40 -c:a wmav2")
                               << Kind::Video << true;
    QTest::newRow("FLV") << QStringLiteral("lesson.flv")
                         << codedPictures() + tone() +
                                args("-c:v flv1 -q:v 3 -g 40 -c:a libmp3lame")
                         << Kind::Video << true;
    // its video starts at 0.54 s
    QTest::newRow("MPEG-2/MP2 program stream")
        << QStringLiteral("lesson.mpg")
        << codedPictures() + tone() + args("-c:v mpeg2video -q:v 3 -g 40 -bf 2 -c:a mp2 -f mpeg")
        << Kind::Video << true;
    QTest::newRow("m4a with cover")
        << QStringLiteral("cover.m4a")
        << tone() + lavfi(QStringLiteral("color=c=orange:size=64x64:duration=1")) +
               args("-map 0:a -map 1:v -frames:v 1 -c:a aac -c:v png -disposition:v attached_pic")
        << Kind::AudioOnly << true;
    QTest::newRow("5.1 AAC") << QStringLiteral("surround.m4a") << tone() + args("-ac 6 -c:a aac")
                             << Kind::AudioOnly << true;
    QTest::newRow("96 kHz FLAC") << QStringLiteral("hires.flac") << tone(96000) + args("-c:a flac")
                                 << Kind::AudioOnly << true;
    QTest::newRow("8 kHz WAV") << QStringLiteral("phone.wav") << tone(8000) + args("-c:a pcm_s16le")
                               << Kind::AudioOnly << true;
    QTest::newRow("mu-law") << QStringLiteral("mulaw.wav") << tone(8000) + args("-c:a pcm_mulaw")
                            << Kind::AudioOnly << true;
    // pictures of 40, 40, 120 and 200 ms in turn; both loops start and end on one
    QTest::newRow("variable frame rate mkv")
        << QStringLiteral("vfr.mkv")
        << codedPictures(QStringLiteral("160x120"),
                         QStringLiteral("setpts='(0.4*floor(N/4)+if(eq(mod(N,4),3),0.2,"
                                        "0.04*mod(N,4)))/TB'")) +
               tone() + h264 + aac + args("-fps_mode vfr")
        << Kind::Video << true;
    QTest::newRow("one-frame video")
        << QStringLiteral("still.mp4") << codedPictures() + h264 + args("-frames:v 1")
        << Kind::OneFrame << false;
    // MPEG-TS starts at 1.4 s, and a recording hours into the broadcast much later
    QTest::newRow("MPEG-TS") << QStringLiteral("lesson.ts") << codedPictures() + tone() + h264 + aac
                             << Kind::Video << true;
    QTest::newRow("MPEG-TS ten hours in")
        << QStringLiteral("late.ts")
        << codedPictures() + tone() + h264 + aac + args("-output_ts_offset 36000") << Kind::Video
        << true;
    QTest::newRow("odd size, 4:2:0")
        << QStringLiteral("odd.mkv")
        << codedPictures(QStringLiteral("161x121")) + args("-c:v mpeg4 -q:v 3 -g 40") << Kind::Video
        << false;
    QTest::newRow("10-bit 4:4:4")
        << QStringLiteral("deep.mp4")
        << codedPictures(QStringLiteral("160x120"), {}, QStringLiteral("format=yuv444p10le")) +
               args("-c:v libx264 -preset veryfast -g 40 -pix_fmt yuv444p10le")
        << Kind::Video << false;
    QTest::newRow("interlaced") << QStringLiteral("interlaced.mkv")
                                << codedPictures(QStringLiteral("160x120"), {},
                                                 QStringLiteral("setfield=tff")) +
                                       tone() + h264 + aac +
                                       args("-flags +ildct+ilme -x264-params tff=1")
                                << Kind::Video << true;
    QTest::newRow("ID3-tagged mp3")
        << QStringLiteral("tagged.mp3")
        << tone() + args("-c:a libmp3lame -id3v2_version 3 -metadata title=Lesson")
        << Kind::AudioOnly << true;
    QTest::newRow("empty file") << QStringLiteral("empty.mp4") << QStringList() << Kind::Unreadable
                                << false;
    const QStringList mp4 = codedPictures() + tone() + h264 + aac;
    QTest::newRow("name with spaces")
        << QStringLiteral("unit one lesson.mp4") << mp4 << Kind::Video << true;
    QTest::newRow("%20 in the name")
        << QStringLiteral("unit%201.mp4") << mp4 << Kind::Video << true;
    QTest::newRow("non-Latin name")
        << QStringLiteral("урок 第一課.mp4") << mp4 << Kind::Video << true;
}

void TestFormats::loopsExactlyWithPicturesAtTheirTimes()
{
    QFETCH(QString, name);
    QFETCH(QStringList, make);
    QFETCH(Kind, kind);
    QFETCH(bool, audio);

    // made under a plain name: the name itself is part of what is tested
    const QString file = fx.path(name);
    const QString plain = QStringLiteral("made.") + QFileInfo(name).suffix();
    if (make.isEmpty()) {
        QFile empty(file);
        QVERIFY(empty.open(QIODevice::WriteOnly));
    } else {
        QFile::remove(fx.path(plain));
        QVERIFY(fx.make(plain, make));
        QVERIFY(QFile::rename(fx.path(plain), file));
    }

    {
        Media m(nullptr, false, pointScaling, rgb24, 0, 0);
        QSignalSpy errors(&m, &Media::error);
        const bool opened = m.open(file);
        QCOMPARE(opened, kind != Kind::Unreadable);
        QCOMPARE(errors.count(), opened ? 0 : 1);
        if (!opened)
            return;
        QCOMPARE(m.hasVideo(), kind == Kind::Video || kind == Kind::OneFrame);
        QCOMPARE(m.hasAudio(), audio);
    }

    switch (kind) {
    case Kind::Video:
        // a loop from the very start, then one that starts and ends between key frames
        checkPictureLoop(file, 0.0, 0.8);
        if (QTest::currentTestFailed())
            return;
        checkPictureLoop(file, 1.2, 2.0);
        break;
    case Kind::OneFrame:
        checkPictureLoop(file, 0.0, 0.0);
        break;
    case Kind::AudioOnly:
        checkAudioLoop(file, 1.2, 2.0);
        break;
    case Kind::Unreadable:
        break;
    }
}

std::unique_ptr<Media> TestFormats::openLoop(const QString &file, double in, double out)
{
    auto m = std::make_unique<Media>(nullptr, false, pointScaling, rgb24, 0, 0);
    if (!m->open(file))
        return nullptr;
    const auto at = [&](double seconds) {
        return m->startTime() +
               av_rescale_q(llround(seconds * 1000), AVRational{1, 1000}, m->timeBase());
    };
    if (out > 0)
        m->setMarkOutAt(at(out));
    m->setMarkInAt(at(in));
    return m;
}

void TestFormats::checkPictureLoop(const QString &file, double in, double out)
{
    std::unique_ptr<Media> m = openLoop(file, in, out);
    QVERIFY(m);
    QList<Shown> shown;
    connect(m.get(), &Media::frameReady, m.get(), [&](int id) {
        const VideoPicture &p = *m->picture(id);
        shown << Shown{p.pts, pictureCode(p), p.afterSeek};
    });
    m->start();
    if (out > 0)
        QTRY_VERIFY_WITH_TIMEOUT(loopEntries(shown).size() >= 2, 30000);
    else
        QTRY_VERIFY_WITH_TIMEOUT(shown.size() >= 3, 30000);
    m->stop();

    const double start = media::toSeconds(m->startTime(), m->timeBase());
    const double first = start + in;
    const double last = out > 0 ? start + out : start;
    const auto describe = [&](qsizetype i) {
        return QStringLiteral("picture %1 of %2: at %3 s after the start, shows %4 cs")
            .arg(i)
            .arg(shown.size())
            .arg(shown[i].pts - start, 0, 'f', 3)
            .arg(shown[i].code)
            .toUtf8();
    };
    QVERIFY2(qAbs(shown.first().pts - first) < tolerance, describe(0).constData());
    for (qsizetype i : loopEntries(shown)) {
        // every pass starts at the loop start and ends on the last picture before its end
        QVERIFY2(qAbs(shown[i].pts - first) < tolerance, describe(i).constData());
        QVERIFY2(qAbs(shown[i - 1].pts - last) < tolerance, describe(i - 1).constData());
    }
    for (qsizetype i = 0; i < shown.size(); ++i) {
        QVERIFY2(shown[i].pts > first - tolerance && shown[i].pts < last + tolerance,
                 describe(i).constData());
        QVERIFY2(shown[i].code == qRound((shown[i].pts - start) * 100), describe(i).constData());
    }
    // the first picture is not held for the time from 0 to it (a file whose video starts
    // late), since nothing was shown before it
    QVERIFY2(shown.first().afterSeek, describe(0).constData());
}

void TestFormats::checkAudioLoop(const QString &file, double in, double out)
{
    std::unique_ptr<Media> m = openLoop(file, in, out);
    QVERIFY(m);
    const double start = media::toSeconds(m->startTime(), m->timeBase());
    m->start();
    // the clock stands at the start of what is heard; 0 until the first packet
    QList<double> clock;
    int passes = 0;
    QTimer sampler;
    sampler.setTimerType(Qt::PreciseTimer);
    connect(&sampler, &QTimer::timeout, &sampler, [&] {
        const double c = m->currentClock();
        if (c == 0)
            return;
        if (!clock.isEmpty() && c < clock.last() - 0.2)
            ++passes;
        clock << c;
    });
    sampler.start(5);
    QTRY_VERIFY_WITH_TIMEOUT(passes >= 2, 30000);
    sampler.stop();
    m->stop();
    for (double c : clock)
        QVERIFY2(c > start + in - tolerance && c < start + out + tolerance,
                 qPrintable(QString::number(c - start)));
}

QTEST_GUILESS_MAIN(TestFormats)
#include "tst_formats.moc"
