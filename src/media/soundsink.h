#pragma once

#include "media/audioformat.h"

#include <cstdint>
#include <memory>

namespace media {

// One playback stream of interleaved integer samples to wherever sound goes: the sound
// server (PulseStream), or nowhere at the real rate (NullSoundSink). Byte counts run from
// the stream's opening; heardBytes() is what the listener has heard of writtenBytes().
//
// Threads: not synchronised for its callers; one owner serialises every call (IAudio,
// under its mutex).
class SoundSink
{
public:
    virtual ~SoundSink() = default;

    // Whether the sink can take samples of fmt at all (rate, channel count, size).
    virtual bool supports(const AudioFormat &fmt) const = 0;
    // Opens a stream of fmt that holds about bufferBytes; any stream open before is
    // closed. False when it cannot be opened; after shutdown() always false.
    virtual bool open(const AudioFormat &fmt, int64_t bufferBytes) = 0;
    // Closes the stream; what it still held is dropped, so it falls silent at once.
    virtual void close() = 0;
    // A stream is open and plays.
    virtual bool isPlaying() const = 0;
    // Bytes the stream can take now.
    virtual int64_t writableBytes() const = 0;
    // Writes len bytes (at most writableBytes()); returns the bytes taken.
    virtual int64_t write(const char *data, int64_t len) = 0;
    // Writes len bytes from byte `at` of the stream on (heardBytes() <= at <=
    // writtenBytes()), replacing what was written there; writtenBytes() becomes at + len.
    // Returns the bytes taken.
    virtual int64_t rewrite(int64_t at, const char *data, int64_t len) = 0;
    // Bytes written to the stream since it opened.
    virtual int64_t writtenBytes() const = 0;
    // Bytes of the stream heard by now, in whole frames: never goes back, never passes
    // writtenBytes(); 0 until the stream has played anything.
    virtual int64_t heardBytes() const = 0;
    // Closes the stream and whatever the sink connected to; for good.
    virtual void shutdown() = 0;

protected:
    SoundSink() = default;
    SoundSink(const SoundSink &) = default;
    SoundSink &operator=(const SoundSink &) = default;
};

// A sink of the kind the environment asks for: with VORLYN_SOUND=null a NullSoundSink on the
// steady clock, for machines and tests without a sound server; else a PulseStream.
std::unique_ptr<SoundSink> soundSinkFromEnvironment();

} // namespace media
