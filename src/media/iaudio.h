#pragma once

#include "media/audioformat.h"
#include "media/guardedmutex.h"
#include "media/soundsink.h"

#include <QtGlobal>

#include <atomic>
#include <memory>
#include <vector>

// The process-wide audio output: one playback stream on the sound server, with a left
// and a right volume applied to the samples before they are written. With VORLYN_SOUND=null
// in the environment the stream is a NullSoundSink instead, which plays nothing at the
// real rate, for machines and tests without a sound server; without that variable a
// server that cannot be reached leaves the process without an output (the audio thread
// then drops its samples in real time) until it can be reached again. The stream belongs
// to the owner that opened it last (a Media); close() by any other owner leaves it alone,
// so a Media going away never silences the one that replaced it.
//
// Threads: open(), close() and discard() run in the GUI thread, write() and
// playedBytes() in the audio decode thread; every call on the stream holds `mutex`.
// setVolume() stores two atomics. The stream and its client thread end with the
// application object (closeForExit), before any library finaliser runs.
//
// The stream holds about bufferDuration of sound, the device's buffer included: enough
// for an audio thread that writes every few tens of milliseconds on a busy machine,
// little enough that a stop is silent at once and that what is heard follows what is
// written closely.
class IAudio
{
public:
    static IAudio *instance();
    virtual ~IAudio();
    IAudio(const IAudio &) = delete;
    IAudio &operator=(const IAudio &) = delete;

    // Opens the output for owner with 16-bit (or 8-bit) integer samples; keeps a running
    // output of the same rate, size and channel count, which then belongs to owner. An
    // unsupported format keeps any existing output and returns false; so does a server
    // that cannot be reached or refuses the stream, after which there is no output.
    bool open(const void *owner, int frequency, int sampleSize, int channels);
    // Closes the output if owner opened it last.
    void close(const void *owner);
    // Drops the sound the output of owner still holds, so it falls silent now instead of
    // playing its buffer out, and keeps the output open for the next start: the stream
    // is replaced by an empty one of the same format.
    void discard(const void *owner);
    // Closes the output whoever opened it.
    void closeAll();
    // Each value: above 0.999 becomes 1, below 0.001 becomes 0.
    void setVolume(double left, double right);
    // Writes at most what the output can take now, with the volumes applied to a copy;
    // returns the bytes accepted (0 without a playing output). data is left as
    // it was, so bytes not accepted can be offered again.
    int write(const char *data, int len);
    // Writes len bytes, with the volumes applied, from byte `at` of the output on (at least
    // the heard bytes, at most the written ones), replacing the sound written there not
    // heard yet, so a change reaches the ear before the buffer has played out. Returns
    // len, or 0 when the output cannot take them.
    int rewrite(qint64 at, const char *data, int len);

    // Whether an output exists that the server plays, so that waiting for room makes
    // sense; without one the audio thread drops its samples.
    bool isPlaying() const;
    media::AudioFormat format() const;
    // Microseconds of audio heard from the output since it was opened (0 without one).
    qint64 processedUSecs() const;
    // Bytes written to the output since it opened, and bytes of them heard by now (see
    // SoundSink::heardBytes). Safe from the audio thread. False without a playing
    // output.
    bool playedBytes(qint64 &written, qint64 &heard) const;
    static constexpr qint64 bufferDurationUSecs = 200000;
    // Scales len bytes of samples in format fmt in place: left and right channel by
    // their volume (a mono stream by left), 16-bit values truncated toward zero.
    static void applyVolume(char *data, int len, const media::AudioFormat &fmt, float left,
                            float right);
    float volumeLeft() const { return volumeLeft_.load(std::memory_order_relaxed); }
    float volumeRight() const { return volumeRight_.load(std::memory_order_relaxed); }

protected:
    IAudio();

private:
    // Ends the stream and the sound server's client for good: run when the application
    // object goes, while the client is whole.
    void closeForExit();
    // Replaces the stream by a new one of fmt for owner; no output on failure.
    bool openLocked(const void *owner, const media::AudioFormat &fmt) VORLYN_REQUIRES(mutex);

    mutable media::GuardedMutex mutex;
    const std::unique_ptr<media::SoundSink> stream VORLYN_GUARDED_BY(mutex);
    media::AudioFormat format_ VORLYN_GUARDED_BY(mutex){48000, 2, 2};
    const void *owner_ VORLYN_GUARDED_BY(mutex) = nullptr;
    // The volume-scaled copy of the bytes being written; audio thread.
    std::vector<char> scratch VORLYN_GUARDED_BY(mutex);
    std::atomic<float> volumeLeft_{0.5f};
    std::atomic<float> volumeRight_{0.5f};
};
