#include "media/iaudio.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QDebug>

#include <cstring>

namespace {

float clampVolume(double v)
{
    if (v > 0.999)
        return 1.0f;
    if (v < 0.001)
        return 0.0f;
    return float(v);
}

} // namespace

IAudio *IAudio::instance()
{
    // never destroyed: the audio thread of a Media may still hold it at exit
    static IAudio *const audio = new IAudio;
    return audio;
}

IAudio::IAudio()
{
    format_.setSampleRate(48000);
    format_.setChannelCount(2);
    format_.setSampleFormat(QAudioFormat::Int16);
}

IAudio::~IAudio()
{
    close();
}

bool IAudio::open(const QAudioDevice &dev, int frequency, int sampleSize, int channels)
{
    std::lock_guard lock(mutex);
    const QAudioFormat::SampleFormat sampleFormat = sampleSize == 8    ? QAudioFormat::UInt8
                                                    : sampleSize == 16 ? QAudioFormat::Int16
                                                                       : QAudioFormat::Unknown;
    if (output && format_.sampleRate() == frequency && format_.sampleFormat() == sampleFormat &&
        format_.channelCount() == channels)
        return true;

    QAudioFormat fmt;
    fmt.setSampleRate(frequency);
    fmt.setChannelCount(channels);
    fmt.setSampleFormat(sampleFormat);
    if (dev.isNull() || !fmt.isValid() || !dev.isFormatSupported(fmt))
        return false;

    closeLocked();
    format_ = fmt;
    output = std::make_unique<QAudioSink>(dev, fmt);
    device = output->start();
    qDebug() << dev.description() << "started";
    return true;
}

void IAudio::close()
{
    std::lock_guard lock(mutex);
    closeLocked();
}

void IAudio::closeLocked()
{
    if (!output)
        return;
    output->stop();
    output.reset();
    device = nullptr;
}

void IAudio::setVolume(double left, double right)
{
    volumeLeft_.store(clampVolume(left), std::memory_order_relaxed);
    volumeRight_.store(clampVolume(right), std::memory_order_relaxed);
}

bool IAudio::isPlaying() const
{
    std::lock_guard lock(mutex);
    if (!output || !device)
        return false;
    const QAudio::State state = output->state();
    return state == QAudio::ActiveState || state == QAudio::IdleState;
}

QAudioFormat IAudio::format() const
{
    std::lock_guard lock(mutex);
    return format_;
}

qint64 IAudio::processedUSecs() const
{
    std::lock_guard lock(mutex);
    return output ? output->processedUSecs() : 0;
}

int IAudio::write(char *data, int len)
{
    std::lock_guard lock(mutex);
    if (!output || !device || len <= 0)
        return 0;
    const QAudio::State state = output->state();
    if (state != QAudio::ActiveState && state != QAudio::IdleState)
        return 0;
    // whole sample frames only, so the volumes keep to their channels
    const int frameBytes = format_.bytesPerFrame();
    int n = int(qMin<qint64>(len, output->bytesFree()));
    if (frameBytes > 0)
        n -= n % frameBytes;
    if (n <= 0)
        return 0;
    applyVolume(data, n);
    return int(qMax<qint64>(0, device->write(data, n)));
}

void IAudio::applyVolume(char *data, int len) const
{
    const float left = volumeLeft();
    const float right = volumeRight();
    const bool stereo = format_.channelCount() == 2;
    if (format_.sampleFormat() == QAudioFormat::UInt8) {
        auto *p = reinterpret_cast<unsigned char *>(data);
        for (int i = 0; i < len; ++i)
            p[i] = static_cast<unsigned char>(float(p[i]) * (stereo && (i & 1) ? right : left));
        return;
    }
    // 16-bit samples, copied through memcpy since the bytes need not be aligned
    for (int i = 0; i + 1 < len; i += 2) {
        int16_t s;
        std::memcpy(&s, data + i, 2);
        const float v = stereo && ((i / 2) & 1) ? right : left;
        s = static_cast<int16_t>(float(s) * v); // truncated toward zero
        std::memcpy(data + i, &s, 2);
    }
}
