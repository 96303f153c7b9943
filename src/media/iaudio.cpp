#include "media/iaudio.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QCoreApplication>
#include <QDebug>

#include <algorithm>
#include <cstring>
#include <thread>

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
    // Never destroyed: the audio thread of a Media may still hold it at exit. Its sink
    // goes with the application object, in the GUI thread, while the sound server's client
    // is whole; left to the multimedia library's own finaliser, it can meet the client's
    // thread still dispatching.
    static IAudio *const audio = [] {
        qAddPostRoutine([] { IAudio::instance()->closeForExit(); });
        return new IAudio;
    }();
    return audio;
}

void IAudio::closeForExit()
{
    closeAll();
    // The multimedia library's finaliser disconnects from the sound server without
    // stopping its client thread first; a server notice about the stream just closed,
    // dispatched at that moment, aborts or hangs the process. Such notices follow a close
    // within milliseconds, or some hundreds of them on a busy machine, so the exit waits
    // until the last close is a second past.
    const auto since = std::chrono::steady_clock::now() - lastClose;
    if (since < quietAfterClose)
        std::this_thread::sleep_for(quietAfterClose - since);
}

IAudio::IAudio()
{
    format_.setSampleRate(48000);
    format_.setChannelCount(2);
    format_.setSampleFormat(QAudioFormat::Int16);
}

IAudio::~IAudio()
{
    closeAll();
}

bool IAudio::open(const void *owner, const QAudioDevice &dev, int frequency, int sampleSize,
                  int channels)
{
    const QAudioFormat::SampleFormat sampleFormat = sampleSize == 8    ? QAudioFormat::UInt8
                                                    : sampleSize == 16 ? QAudioFormat::Int16
                                                                       : QAudioFormat::Unknown;
    QAudioFormat fmt;
    fmt.setSampleRate(frequency);
    fmt.setChannelCount(channels);
    fmt.setSampleFormat(sampleFormat);
    // A sink of another format is closed first; its closing may let a nested open() in,
    // so the state is looked at again afterwards.
    for (;;) {
        std::unique_ptr<QAudioSink> old;
        bool startFailed = false;
        {
            media::GuardedLock lock(mutex);
            // a sink the sound server dropped (it died or restarted) stays stopped for
            // good: it is replaced like one of another format
            if (output && format_ == fmt && output->state() != QAudio::StoppedState) {
                owner_ = owner;
                return true;
            }
            if (dev.isNull() || !fmt.isValid() || !dev.isFormatSupported(fmt))
                return false;
            if (!output) {
                auto sink = std::make_unique<QAudioSink>(dev, fmt);
                QIODevice *io = startSink(*sink);
                if (io) {
                    format_ = fmt;
                    output = std::move(sink);
                    device = io;
                    owner_ = owner;
                    written_ = 0;
                    qDebug() << dev.description() << "started";
                    return true;
                }
                // it did not start: the caller may try another format
                old = std::move(sink);
                startFailed = true;
            } else {
                old = takeOutputLocked();
            }
        }
        stopAndDestroy(std::move(old));
        if (startFailed)
            return false;
    }
}

void IAudio::close(const void *owner)
{
    std::unique_ptr<QAudioSink> old;
    {
        media::GuardedLock lock(mutex);
        if (owner_ == owner)
            old = takeOutputLocked();
    }
    stopAndDestroy(std::move(old));
}

void IAudio::discard(const void *owner)
{
    std::unique_ptr<QAudioSink> sink;
    {
        media::GuardedLock lock(mutex);
        if (owner_ != owner)
            return;
        sink = takeOutputLocked();
    }
    if (!sink)
        return;
    // A stopped stream drops what it holds; started again it is empty.
    sink->stop();
    QIODevice *io = startSink(*sink);
    std::unique_ptr<QAudioSink> unused;
    {
        media::GuardedLock lock(mutex);
        // another output may have been opened meanwhile: it stays, this one goes
        if (io && !output) {
            output = std::move(sink);
            device = io;
            owner_ = owner;
            written_ = 0;
        } else {
            unused = std::move(sink);
        }
    }
    stopAndDestroy(std::move(unused));
}

QIODevice *IAudio::startSink(QAudioSink &sink)
{
    sink.setBufferSize(sink.format().bytesForDuration(bufferDurationUSecs));
    QIODevice *io = sink.start();
    if (io && sink.error() == QAudio::NoError && sink.state() != QAudio::StoppedState)
        return io;
    return nullptr;
}

void IAudio::closeAll()
{
    std::unique_ptr<QAudioSink> old;
    {
        media::GuardedLock lock(mutex);
        old = takeOutputLocked();
    }
    stopAndDestroy(std::move(old));
}

std::unique_ptr<QAudioSink> IAudio::takeOutputLocked()
{
    device = nullptr;
    owner_ = nullptr;
    written_ = 0;
    return std::move(output);
}

void IAudio::stopAndDestroy(std::unique_ptr<QAudioSink> sink)
{
    if (!sink)
        return;
    sink->stop();
    sink.reset();
    lastClose = std::chrono::steady_clock::now();
}

void IAudio::setVolume(double left, double right)
{
    volumeLeft_.store(clampVolume(left), std::memory_order_relaxed);
    volumeRight_.store(clampVolume(right), std::memory_order_relaxed);
}

bool IAudio::isPlaying() const
{
    media::GuardedLock lock(mutex);
    if (!output || !device)
        return false;
    const QAudio::State state = output->state();
    return state == QAudio::ActiveState || state == QAudio::IdleState;
}

QAudioFormat IAudio::format() const
{
    media::GuardedLock lock(mutex);
    return format_;
}

qint64 IAudio::processedUSecs() const
{
    media::GuardedLock lock(mutex);
    return output ? output->processedUSecs() : 0;
}

bool IAudio::playedBytes(qint64 &written, qint64 &heard) const
{
    media::GuardedLock lock(mutex);
    if (!output || !device)
        return false;
    // What the stream still holds is its buffer less the room in it. The played time
    // (processedUSecs) would also count the device's latency, but Qt reads it from the
    // sound server's timing data without the server's lock, so it is left to the GUI
    // thread; the display makes up for that latency.
    written = written_;
    const qint64 held = std::max<qint64>(0, output->bufferSize() - output->bytesFree());
    heard = std::max<qint64>(0, written_ - held);
    return true;
}

int IAudio::write(const char *data, int len)
{
    media::GuardedLock lock(mutex);
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
    scratch.assign(data, data + n);
    applyVolume(scratch.data(), n, format_, volumeLeft(), volumeRight());
    const qint64 written = qMax<qint64>(0, device->write(scratch.data(), n));
    written_ += written;
    return int(written);
}

void IAudio::applyVolume(char *data, int len, const QAudioFormat &fmt, float left, float right)
{
    const bool stereo = fmt.channelCount() == 2;
    if (fmt.sampleFormat() == QAudioFormat::UInt8) {
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
