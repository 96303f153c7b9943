#include "media/pulsestream.h"

#include <QCoreApplication>

#include <pulse/pulseaudio.h>

#include <algorithm>

namespace media {

namespace {

constexpr int connectTimeoutMs = 5000;

// State changes and the waiting deadline wake whoever waits on the client's lock.
void wakeWaiter(pa_threaded_mainloop *loop)
{
    pa_threaded_mainloop_signal(loop, 0);
}

void onContextState(pa_context *, void *loop)
{
    wakeWaiter(static_cast<pa_threaded_mainloop *>(loop));
}

void onStreamState(pa_stream *, void *loop)
{
    wakeWaiter(static_cast<pa_threaded_mainloop *>(loop));
}

void onDeadline(pa_mainloop_api *, pa_time_event *, const struct timeval *, void *loop)
{
    wakeWaiter(static_cast<pa_threaded_mainloop *>(loop));
}

// Holds the client's lock for a scope; nothing without a client thread.
class ClientLock
{
public:
    explicit ClientLock(pa_threaded_mainloop *l) : loop(l)
    {
        if (loop)
            pa_threaded_mainloop_lock(loop);
    }
    ~ClientLock()
    {
        if (loop)
            pa_threaded_mainloop_unlock(loop);
    }
    ClientLock(const ClientLock &) = delete;
    ClientLock &operator=(const ClientLock &) = delete;

private:
    pa_threaded_mainloop *loop;
};

// The name the server shows for this program and its stream.
QByteArray clientName()
{
    const QByteArray name = QCoreApplication::applicationName().toUtf8();
    return name.isEmpty() ? QByteArrayLiteral("vorlyn") : name;
}

pa_sample_spec specOf(const AudioFormat &fmt)
{
    pa_sample_spec spec{};
    spec.format = fmt.bytesPerSample == 1 ? PA_SAMPLE_U8 : PA_SAMPLE_S16NE;
    spec.rate = uint32_t(fmt.sampleRate);
    spec.channels = uint8_t(fmt.channels);
    return spec;
}

} // namespace

PulseStream::~PulseStream()
{
    shutdown();
}

bool PulseStream::supports(const AudioFormat &fmt) const
{
    if (!fmt.isValid() || fmt.channels > int(PA_CHANNELS_MAX))
        return false;
    const pa_sample_spec spec = specOf(fmt);
    return pa_sample_spec_valid(&spec) != 0;
}

template <typename Done> bool PulseStream::waitLocked(Done done, int timeoutMs)
{
    if (done())
        return true;
    struct timeval deadline;
    pa_timeval_add(pa_gettimeofday(&deadline), pa_usec_t(timeoutMs) * PA_USEC_PER_MSEC);
    pa_mainloop_api *api = pa_threaded_mainloop_get_api(loop);
    pa_time_event *timer = api->time_new(api, &deadline, onDeadline, loop);
    bool ok = false;
    for (;;) {
        if (done()) {
            ok = true;
            break;
        }
        struct timeval now;
        if (pa_timeval_cmp(pa_gettimeofday(&now), &deadline) >= 0)
            break;
        pa_threaded_mainloop_wait(loop);
    }
    api->time_free(timer);
    return ok;
}

bool PulseStream::connectLocked()
{
    if (context && pa_context_get_state(context) == PA_CONTEXT_READY)
        return true;
    disconnectLocked();
    pa_proplist *props = pa_proplist_new();
    pa_proplist_sets(props, PA_PROP_APPLICATION_NAME, clientName().constData());
    context = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(loop), nullptr, props);
    pa_proplist_free(props);
    if (!context)
        return false;
    pa_context_set_state_callback(context, onContextState, loop);
    // no autospawn: without a server the lesson plays silently rather than starting one
    if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        disconnectLocked();
        return false;
    }
    const bool settled = waitLocked(
        [this] {
            const pa_context_state_t s = pa_context_get_state(context);
            return s == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(s);
        },
        connectTimeoutMs);
    if (settled && pa_context_get_state(context) == PA_CONTEXT_READY)
        return true;
    disconnectLocked();
    return false;
}

bool PulseStream::open(const AudioFormat &fmt, int64_t bufferBytes)
{
    if (ended || !supports(fmt))
        return false;
    if (!loop) {
        loop = pa_threaded_mainloop_new();
        if (!loop)
            return false;
        pa_threaded_mainloop_set_name(loop, "sound-server");
        if (pa_threaded_mainloop_start(loop) < 0) {
            pa_threaded_mainloop_free(loop);
            loop = nullptr;
            return false;
        }
    }
    const ClientLock lock(loop);
    closeLocked();
    if (!connectLocked() || !openStreamLocked(fmt, bufferBytes)) {
        closeLocked();
        return false;
    }
    format = fmt;
    return true;
}

bool PulseStream::openStreamLocked(const AudioFormat &fmt, int64_t bufferBytes)
{
    const pa_sample_spec spec = specOf(fmt);
    pa_channel_map map;
    pa_channel_map_init_extend(&map, spec.channels, PA_CHANNEL_MAP_DEFAULT);
    stream = pa_stream_new(context, clientName().constData(), &spec, &map);
    if (!stream)
        return false;
    pa_stream_set_state_callback(stream, onStreamState, loop);
    // The stream holds about bufferBytes in all, the device's own buffer included, so a
    // stop is silent at once and what is heard follows what is written closely.
    pa_buffer_attr attr;
    attr.maxlength = uint32_t(-1);
    attr.tlength = uint32_t(bufferBytes);
    attr.prebuf = uint32_t(-1);
    attr.minreq = uint32_t(-1);
    attr.fragsize = uint32_t(-1);
    const auto flags = pa_stream_flags_t(PA_STREAM_AUTO_TIMING_UPDATE | PA_STREAM_ADJUST_LATENCY);
    if (pa_stream_connect_playback(stream, nullptr, &attr, flags, nullptr, nullptr) != 0)
        return false;
    waitLocked(
        [this] {
            const pa_stream_state_t st = pa_stream_get_state(stream);
            return st == PA_STREAM_READY || !PA_STREAM_IS_GOOD(st);
        },
        connectTimeoutMs);
    return playingLocked();
}

void PulseStream::closeLocked()
{
    if (!stream)
        return;
    pa_stream_set_state_callback(stream, nullptr, nullptr);
    if (PA_STREAM_IS_GOOD(pa_stream_get_state(stream)))
        pa_stream_disconnect(stream);
    pa_stream_unref(stream);
    stream = nullptr;
    written = 0;
    heard = 0;
}

void PulseStream::disconnectLocked()
{
    closeLocked();
    if (!context)
        return;
    pa_context_set_state_callback(context, nullptr, nullptr);
    pa_context_disconnect(context);
    pa_context_unref(context);
    context = nullptr;
}

void PulseStream::close()
{
    const ClientLock lock(loop);
    closeLocked();
}

bool PulseStream::playingLocked() const
{
    return stream && pa_stream_get_state(stream) == PA_STREAM_READY;
}

bool PulseStream::isPlaying() const
{
    const ClientLock lock(loop);
    return loop && playingLocked();
}

int64_t PulseStream::writableBytes() const
{
    const ClientLock lock(loop);
    if (!loop || !playingLocked())
        return 0;
    const size_t free = pa_stream_writable_size(stream);
    return free == size_t(-1) ? 0 : int64_t(free);
}

int64_t PulseStream::write(const char *data, int64_t len)
{
    const ClientLock lock(loop);
    if (!loop || len <= 0 || !playingLocked() ||
        pa_stream_write(stream, data, size_t(len), nullptr, 0, PA_SEEK_RELATIVE) != 0)
        return 0;
    written += len;
    return len;
}

int64_t PulseStream::rewrite(int64_t at, const char *data, int64_t len)
{
    const ClientLock lock(loop);
    if (!loop || len <= 0 || at < heard || at > written || !playingLocked() ||
        pa_stream_write(stream, data, size_t(len), nullptr, at - written, PA_SEEK_RELATIVE) != 0)
        return 0;
    written = at + len;
    return len;
}

int64_t PulseStream::heardBytes() const
{
    const ClientLock lock(loop);
    const pa_timing_info *timing = loop && stream ? pa_stream_get_timing_info(stream) : nullptr;
    if (!timing || timing->read_index_corrupt)
        return heard;
    int64_t usec = -int64_t(timing->sink_usec);
    // The report is some time old; while the stream plays, the device went on.
    if (timing->playing)
        usec += int64_t(pa_timeval_age(&timing->timestamp)) + int64_t(timing->transport_usec);
    int64_t bytes = timing->read_index +
                    (usec >= 0 ? format.bytesForDuration(usec) : -format.bytesForDuration(-usec));
    bytes = std::clamp<int64_t>(bytes, heard, written);
    heard = bytes - bytes % format.bytesPerFrame();
    return heard;
}

void PulseStream::shutdown()
{
    ended = true;
    if (!loop)
        return;
    {
        const ClientLock lock(loop);
        disconnectLocked();
    }
    pa_threaded_mainloop_stop(loop);
    pa_threaded_mainloop_free(loop);
    loop = nullptr;
}

} // namespace media
