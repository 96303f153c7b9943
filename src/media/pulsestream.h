#pragma once

#include "media/audioformat.h"

#include <cstdint>

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

namespace media {

// One playback stream on the desktop's sound server (PulseAudio, or PipeWire through its
// PulseAudio service), with the client connection it needs. Owns the client's thread, the
// connection and the stream; shutdown() ends all three in order, with the client's lock
// held while anything is torn down, so no server notice is dispatched meanwhile.
//
// Threads: not synchronised for its callers; one owner serialises every call (IAudio,
// under its mutex). Any thread but the client's own may call. Calls that wait for the
// server (open) give up after a few seconds, so a server that hangs never hangs the caller
// for good.
class PulseStream
{
public:
    PulseStream() = default;
    ~PulseStream();
    PulseStream(const PulseStream &) = delete;
    PulseStream &operator=(const PulseStream &) = delete;

    // Whether the server can take samples of fmt at all (rate, channel count, size).
    static bool supports(const AudioFormat &fmt);
    // Opens a stream of fmt that holds about bufferBytes, connecting to the server first
    // if there is no live connection. Any stream open before is closed. False when the
    // server cannot be reached or refuses the stream; after shutdown() always false.
    bool open(const AudioFormat &fmt, int64_t bufferBytes);
    // Closes the stream; what it still held is dropped, so it falls silent at once.
    void close();
    // A stream is open and the server plays it (false once the server went away).
    bool isPlaying() const;
    // Bytes the stream can take now.
    int64_t writableBytes() const;
    // Writes len bytes (at most writableBytes()); returns the bytes taken.
    int64_t write(const char *data, int64_t len);
    // Writes len bytes from byte `at` of the stream on (heardBytes() <= at <=
    // writtenBytes()), replacing what was written there; writtenBytes() becomes at + len.
    // Bytes the device took already are played again from the new ones where the server
    // can rewind its device, and skipped where it cannot. Returns the bytes taken.
    int64_t rewrite(int64_t at, const char *data, int64_t len);
    // Bytes written to the stream since it opened.
    int64_t writtenBytes() const { return written; }
    // Bytes of the stream heard by now: what the server has read from it less what the
    // device still holds, carried forward by the clock while the server says the stream
    // plays. Never goes back, never passes writtenBytes(); 0 until the server reports.
    int64_t heardBytes() const;
    // Closes the stream and the connection and stops the client's thread; for good.
    void shutdown();

private:
    bool connectLocked();
    // Opens the stream on the live connection; false when the server refuses it.
    bool openStreamLocked(const AudioFormat &fmt, int64_t bufferBytes);
    bool playingLocked() const;
    void closeLocked();
    void disconnectLocked();
    // Waits, with the client's lock held, until done() or for at most timeoutMs.
    template <typename Done> bool waitLocked(Done done, int timeoutMs);

    pa_threaded_mainloop *loop = nullptr;
    pa_context *context = nullptr;
    pa_stream *stream = nullptr;
    AudioFormat format;
    int64_t written = 0;
    mutable int64_t heard = 0; // the last heardBytes(), so it never goes back
    bool ended = false;
};

} // namespace media
