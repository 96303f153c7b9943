#pragma once

#include "media/guardedmutex.h"

#include <QAudioFormat>

#include <atomic>
#include <chrono>
#include <memory>
#include <vector>

class QAudioDevice;
class QAudioSink;
class QIODevice;

// The process-wide audio output: one QAudioSink in push mode, with a left and a right
// volume applied to the samples before they are written. The sink belongs to the owner
// that opened it last (a Media); close() by any other owner leaves it alone, so a Media
// going away never silences the one that replaced it.
//
// Threads: open() and close() run in the GUI thread, so the sink is a QObject of that
// thread. Qt 6.4's sink may be written from the audio decode thread through the device
// that start() returned, provided no two calls on the sink or its device overlap: every
// call on the sink holds `mutex`. Stopping and destroying a sink can run a nested event
// loop, in which another open() or close() may arrive: a sink is therefore taken out of
// the object under the lock and stopped and destroyed after the lock is released.
// Signals the sink emits while being written reach GUI receivers queued. setVolume()
// stores two atomics.
//
// The sink holds about bufferDuration of sound: enough for an audio thread that writes
// every few tens of milliseconds on a busy machine, little enough that a stop is silent
// at once and that what is heard follows what is written closely.
class IAudio
{
public:
    static IAudio *instance();
    virtual ~IAudio();
    IAudio(const IAudio &) = delete;
    IAudio &operator=(const IAudio &) = delete;

    // Opens the output for owner with 16-bit (or 8-bit) integer samples; keeps a running
    // output of the same rate, size and channel count, which then belongs to owner. An
    // unsupported format keeps any existing output and returns false; so does a sink that
    // does not start, which is then gone.
    bool open(const void *owner, const QAudioDevice &device, int frequency, int sampleSize,
              int channels);
    // Closes the output if owner opened it last.
    void close(const void *owner);
    // Drops the sound the output of owner still holds, so it falls silent now instead of
    // playing its buffer out, and keeps the output open for the next start. The sink is
    // taken out of the object for this, like a sink being closed.
    void discard(const void *owner);
    // Closes the output whoever opened it; runs when the application object goes, before
    // the multimedia library does.
    void closeAll();
    // Each value: above 0.999 becomes 1, below 0.001 becomes 0.
    void setVolume(double left, double right);
    // Writes at most what the output can take now, with the volumes applied to a copy;
    // returns the bytes accepted (0 without an active or idle output). data is left as
    // it was, so bytes not accepted can be offered again.
    int write(const char *data, int len);

    // Whether an output exists that is active or idle, so that waiting for room makes
    // sense; without one the audio thread drops its samples.
    bool isPlaying() const;
    QAudioFormat format() const;
    // Microseconds of audio the output has played since it was opened (0 without one).
    qint64 processedUSecs() const;
    // Bytes written to the output since it started, and bytes of them the sound server
    // has taken from the stream by now (what the device plays next). Safe from the audio
    // thread. False without an output.
    bool playedBytes(qint64 &written, qint64 &heard) const;
    static constexpr qint64 bufferDurationUSecs = 200000;
    // Scales len bytes of samples in format fmt in place: left and right channel by
    // their volume (a mono stream by left), 16-bit values truncated toward zero.
    static void applyVolume(char *data, int len, const QAudioFormat &fmt, float left, float right);
    float volumeLeft() const { return volumeLeft_.load(std::memory_order_relaxed); }
    float volumeRight() const { return volumeRight_.load(std::memory_order_relaxed); }

protected:
    IAudio();

private:
    // Takes the sink out of the object; the caller stops it outside the lock.
    std::unique_ptr<QAudioSink> takeOutputLocked() VORLYN_REQUIRES(mutex);
    // Starts sink in push mode with the output's buffer size; its device, or null.
    static QIODevice *startSink(QAudioSink &sink);
    void stopAndDestroy(std::unique_ptr<QAudioSink> sink);
    // closeAll(), then a short wait for the sound server's notices about it: run when the
    // application object goes.
    void closeForExit();

    mutable media::GuardedMutex mutex;
    QAudioFormat format_ VORLYN_GUARDED_BY(mutex);
    std::unique_ptr<QAudioSink> output VORLYN_GUARDED_BY(mutex);
    QIODevice *device VORLYN_GUARDED_BY(mutex) = nullptr; // owned by output
    const void *owner_ VORLYN_GUARDED_BY(mutex) = nullptr;
    qint64 written_ VORLYN_GUARDED_BY(mutex) = 0; // bytes written since the sink started
    // The volume-scaled copy of the bytes being written; audio thread.
    std::vector<char> scratch VORLYN_GUARDED_BY(mutex);
    // When a sink was last stopped; GUI thread.
    std::chrono::steady_clock::time_point lastClose{};
    static constexpr std::chrono::milliseconds quietAfterClose{1000};
    std::atomic<float> volumeLeft_{0.5f};
    std::atomic<float> volumeRight_{0.5f};
};
