#include "media/audioresampler.h"

#include <QTest>

namespace {

// A decoded-looking frame of `samples` samples per channel, every sample set to value.
media::FramePtr makeFrame(AVSampleFormat fmt, int channels, int rate, int samples, float value)
{
    media::FramePtr f = media::allocFrame();
    f->format = fmt;
    f->sample_rate = rate;
    f->nb_samples = samples;
    av_channel_layout_default(&f->ch_layout, channels);
    if (av_frame_get_buffer(f.get(), 0) < 0)
        qFatal("av_frame_get_buffer failed");
    const int planes = av_sample_fmt_is_planar(fmt) ? channels : 1;
    const int perPlane = av_sample_fmt_is_planar(fmt) ? samples : samples * channels;
    for (int p = 0; p < planes; ++p) {
        if (fmt == AV_SAMPLE_FMT_FLTP || fmt == AV_SAMPLE_FMT_FLT) {
            auto *d = reinterpret_cast<float *>(f->extended_data[p]);
            std::fill(d, d + perPlane, value);
        } else {
            auto *d = reinterpret_cast<int16_t *>(f->extended_data[p]);
            std::fill(d, d + perPlane, int16_t(value * 32767));
        }
    }
    return f;
}

} // namespace

class TestAudioResampler : public QObject
{
    Q_OBJECT
private slots:
    void convertsPlanarFloatToInterleavedShorts();
    void downmixesAndResamplesAndFollowsFormatChanges();
};

void TestAudioResampler::convertsPlanarFloatToInterleavedShorts()
{
    AudioResampler r;
    r.setOutput(44100, 2);
    media::FramePtr f = makeFrame(AV_SAMPLE_FMT_FLTP, 2, 44100, 1024, 0.5f);
    std::vector<uint8_t> out(288000);
    const int bytes = r.convert(f.get(), out.data(), int(out.size()));
    QCOMPARE(bytes, 1024 * 4); // format conversion only: every sample comes out at once
    const auto *s = reinterpret_cast<const int16_t *>(out.data());
    for (int i = 0; i < 2 * 1024; ++i)
        QVERIFY(qAbs(s[i] - 16384) <= 1);
}

void TestAudioResampler::downmixesAndResamplesAndFollowsFormatChanges()
{
    AudioResampler r;
    r.setOutput(44100, 2);
    std::vector<uint8_t> out(288000);
    // a 5.1 film at 48 kHz: one second of it, frame by frame, comes out as about one
    // second of stereo at 44.1 kHz
    qint64 total = 0;
    for (int i = 0; i < 48; ++i) {
        media::FramePtr f = makeFrame(AV_SAMPLE_FMT_FLTP, 6, 48000, 1000, 0.25f);
        const int bytes = r.convert(f.get(), out.data(), int(out.size()));
        QVERIFY(bytes >= 0);
        total += bytes;
    }
    QVERIFY2(qAbs(total / 4 - 44100) < 300, qPrintable(QString::number(total / 4)));

    // the decoder switches to mono 16-bit at 22.05 kHz midway: the converter follows
    media::FramePtr mono = makeFrame(AV_SAMPLE_FMT_S16, 1, 22050, 2205, 0.5f);
    total = 0;
    for (int i = 0; i < 10; ++i)
        total += r.convert(mono.get(), out.data(), int(out.size()));
    QVERIFY2(qAbs(total / 4 - 44100) < 300, qPrintable(QString::number(total / 4)));
    const auto *s = reinterpret_cast<const int16_t *>(out.data());
    QCOMPARE(s[100], s[101]); // both channels carry the mono signal
    QVERIFY(s[100] > 5000);

    // a buffer too small for a frame: the rest comes out on the following calls
    media::FramePtr big = makeFrame(AV_SAMPLE_FMT_S16, 1, 22050, 4000, 0.5f);
    std::vector<uint8_t> small(4000);
    qint64 drained = r.convert(big.get(), small.data(), int(small.size()));
    QCOMPARE(drained, qint64(small.size()));
    for (int n = int(small.size()); n == int(small.size());) {
        n = r.convert(nullptr, small.data(), int(small.size()));
        drained += n;
    }
    QVERIFY2(qAbs(drained / 4 - 8000) < 100, qPrintable(QString::number(drained / 4)));
}

QTEST_GUILESS_MAIN(TestAudioResampler)
#include "tst_audioresampler.moc"
