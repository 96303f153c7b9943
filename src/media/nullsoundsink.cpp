#include "media/nullsoundsink.h"

#include "media/engineclock.h"

#include <algorithm>

namespace media {

NullSoundSink::NullSoundSink(const EngineClock &c) : clock(c) {}

bool NullSoundSink::open(const AudioFormat &fmt, int64_t bufferBytes)
{
    close();
    if (ended || !supports(fmt) || bufferBytes < fmt.bytesPerFrame())
        return false;
    format = fmt;
    capacity = bufferBytes - bufferBytes % fmt.bytesPerFrame();
    playingFrom = clock.nowMicroseconds();
    opened = true;
    return true;
}

void NullSoundSink::close()
{
    opened = false;
    written = heard = heardBefore = 0;
}

void NullSoundSink::play() const
{
    if (!opened)
        return;
    const int64_t now = clock.nowMicroseconds();
    const int64_t reached = heardBefore + format.bytesForDuration(now - playingFrom);
    if (reached < written) {
        heard = std::max(heard, reached);
        return;
    }
    // ran dry: it waits from now on for what is written next
    heard = heardBefore = written;
    playingFrom = now;
}

int64_t NullSoundSink::writableBytes() const
{
    play();
    return opened ? std::max<int64_t>(0, capacity - (written - heard)) : 0;
}

int64_t NullSoundSink::write(const char *, int64_t len)
{
    const int64_t n = std::min(len, writableBytes());
    if (n <= 0)
        return 0;
    written += n;
    return n;
}

int64_t NullSoundSink::rewrite(int64_t at, const char *, int64_t len)
{
    play();
    if (!opened || len <= 0 || at < heard || at > written)
        return 0;
    written = at + len;
    return len;
}

int64_t NullSoundSink::heardBytes() const
{
    play();
    return heard;
}

void NullSoundSink::shutdown()
{
    close();
    ended = true;
}

} // namespace media
