#pragma once

#include "media/audioformat.h"
#include "media/soundsink.h"

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
// Threads: as every SoundSink, serialised by its owner. Any thread but the client's own
// may call. Calls that wait for the
// server (open) give up after a few seconds, so a server that hangs never hangs the caller
// for good.
class PulseStream final : public SoundSink
{
public:
    PulseStream() = default;
    ~PulseStream() override;
    PulseStream(const PulseStream &) = delete;
    PulseStream &operator=(const PulseStream &) = delete;

    // Whether the server can take samples of fmt at all (rate, channel count, size).
    bool supports(const AudioFormat &fmt) const override;
    // Connects to the server first if there is no live connection. False when the server
    // cannot be reached or refuses the stream.
    bool open(const AudioFormat &fmt, int64_t bufferBytes) override;
    void close() override;
    // False once the server went away.
    bool isPlaying() const override;
    int64_t writableBytes() const override;
    int64_t write(const char *data, int64_t len) override;
    // Bytes the device took already are played again from the new ones where the server
    // can rewind its device, and skipped where it cannot.
    int64_t rewrite(int64_t at, const char *data, int64_t len) override;
    int64_t writtenBytes() const override { return written; }
    // What the server has read from the stream less what the device still holds, carried
    // forward by the clock while the server says the stream plays; 0 until it reports.
    int64_t heardBytes() const override;
    // Closes the stream and the connection and stops the client's thread.
    void shutdown() override;

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
