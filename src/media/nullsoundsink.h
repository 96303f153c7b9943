#pragma once

#include "media/soundsink.h"

namespace media {

class EngineClock;

// A sound output without a sound server: it takes samples as a device would, at the real
// rate of their format (sample rate x channels x bytes per sample) measured on an
// EngineClock, and counts them heard as that time passes. It plays as soon as it holds
// anything and waits, silent, when it runs dry. For machines and tests without sound.
//
// Threads: as every SoundSink, serialised by its owner.
class NullSoundSink final : public SoundSink
{
public:
    explicit NullSoundSink(const EngineClock &clock);

    bool supports(const AudioFormat &fmt) const override { return fmt.isValid(); }
    bool open(const AudioFormat &fmt, int64_t bufferBytes) override;
    void close() override;
    bool isPlaying() const override { return opened; }
    int64_t writableBytes() const override;
    int64_t write(const char *data, int64_t len) override;
    int64_t rewrite(int64_t at, const char *data, int64_t len) override;
    int64_t writtenBytes() const override { return written; }
    int64_t heardBytes() const override;
    void shutdown() override;

private:
    // Brings heard up to now: what played since playingFrom, up to what was written.
    void play() const;

    const EngineClock &clock;
    AudioFormat format;
    int64_t capacity = 0;
    int64_t written = 0;
    // What was heard when it last ran dry or opened, and since when it has played on.
    mutable int64_t heardBefore = 0;
    mutable int64_t playingFrom = 0;
    mutable int64_t heard = 0;
    bool opened = false;
    bool ended = false;
};

} // namespace media
