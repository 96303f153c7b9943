#include "media/iaudio.h"

#include <QCoreApplication>
#include <QDebug>

#include <algorithm>
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
    // Never destroyed: the audio thread of a Media may still hold it at exit. Its stream
    // and the sound server's client end with the application object, in the GUI thread.
    static IAudio *const audio = [] {
        qAddPostRoutine([] { IAudio::instance()->closeForExit(); });
        return new IAudio;
    }();
    return audio;
}

void IAudio::closeForExit()
{
    media::GuardedLock lock(mutex);
    owner_ = nullptr;
    stream->shutdown();
}

IAudio::IAudio() : stream(media::soundSinkFromEnvironment()) {}

IAudio::~IAudio()
{
    closeAll();
}

bool IAudio::open(const void *owner, int frequency, int sampleSize, int channels)
{
    const media::AudioFormat fmt{frequency, channels, sampleSize / 8};
    media::GuardedLock lock(mutex);
    // a stream the sound server dropped (it died or restarted) stays dead for good: it is
    // replaced like one of another format
    if (format_ == fmt && stream->isPlaying()) {
        owner_ = owner;
        return true;
    }
    if ((sampleSize != 8 && sampleSize != 16) || !stream->supports(fmt))
        return false;
    if (openLocked(owner, fmt)) {
        qDebug() << "sound output started:" << fmt.sampleRate << "Hz," << fmt.channels
                 << "channels";
        return true;
    }
    return false;
}

bool IAudio::openLocked(const void *owner, const media::AudioFormat &fmt)
{
    owner_ = nullptr;
    if (!stream->open(fmt, fmt.bytesForDuration(bufferDurationUSecs)))
        return false;
    format_ = fmt;
    owner_ = owner;
    return true;
}

void IAudio::close(const void *owner)
{
    media::GuardedLock lock(mutex);
    if (owner_ != owner)
        return;
    stream->close();
    owner_ = nullptr;
}

void IAudio::discard(const void *owner)
{
    media::GuardedLock lock(mutex);
    if (owner_ != owner || !stream->isPlaying())
        return;
    openLocked(owner, format_);
}

void IAudio::closeAll()
{
    media::GuardedLock lock(mutex);
    stream->close();
    owner_ = nullptr;
}

void IAudio::setVolume(double left, double right)
{
    volumeLeft_.store(clampVolume(left), std::memory_order_relaxed);
    volumeRight_.store(clampVolume(right), std::memory_order_relaxed);
}

bool IAudio::isPlaying() const
{
    media::GuardedLock lock(mutex);
    return stream->isPlaying();
}

media::AudioFormat IAudio::format() const
{
    media::GuardedLock lock(mutex);
    return format_;
}

qint64 IAudio::processedUSecs() const
{
    media::GuardedLock lock(mutex);
    return format_.durationForBytes(stream->heardBytes());
}

bool IAudio::playedBytes(qint64 &written, qint64 &heard) const
{
    media::GuardedLock lock(mutex);
    if (!stream->isPlaying())
        return false;
    written = stream->writtenBytes();
    heard = stream->heardBytes();
    return true;
}

int IAudio::write(const char *data, int len)
{
    media::GuardedLock lock(mutex);
    if (len <= 0)
        return 0;
    // whole sample frames only, so the volumes keep to their channels
    const int frameBytes = format_.bytesPerFrame();
    int n = int(std::min<int64_t>(len, stream->writableBytes()));
    n -= n % frameBytes;
    if (n <= 0)
        return 0;
    scratch.assign(data, data + n);
    applyVolume(scratch.data(), n, format_, volumeLeft(), volumeRight());
    return int(stream->write(scratch.data(), n));
}

int IAudio::rewrite(qint64 at, const char *data, int len)
{
    media::GuardedLock lock(mutex);
    const int frameBytes = format_.bytesPerFrame();
    if (len <= 0 || len % frameBytes != 0 || at % frameBytes != 0)
        return 0;
    scratch.assign(data, data + len);
    applyVolume(scratch.data(), len, format_, volumeLeft(), volumeRight());
    return int(stream->rewrite(at, scratch.data(), len));
}

void IAudio::applyVolume(char *data, int len, const media::AudioFormat &fmt, float left,
                         float right)
{
    const bool stereo = fmt.channels == 2;
    if (fmt.bytesPerSample == 1) {
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
