#include "media/demuxer.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <limits>
#include <thread>

namespace {

void pauseFor(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace

AVFormatContext *Demuxer::allocateMemoryInput(const QByteArray &data)
{
    memoryData = data;
    memoryPos = 0;
    constexpr int bufferSize = 32768;
    auto *buffer = static_cast<unsigned char *>(av_malloc(bufferSize));
    if (!buffer)
        return nullptr;
    ioContext.reset(avio_alloc_context(buffer, bufferSize, 0, this, &Demuxer::readMemory, nullptr,
                                       &Demuxer::seekMemory));
    if (!ioContext) {
        av_free(buffer);
        return nullptr;
    }
    AVFormatContext *raw = avformat_alloc_context();
    if (raw)
        raw->pb = ioContext.get();
    return raw;
}

int Demuxer::openInput(AVFormatContext *raw, const char *url)
{
    raw->interrupt_callback = AVIOInterruptCB{&Demuxer::interruptInput, this};
    // on failure avformat_open_input frees the context
    const int err = avformat_open_input(&raw, url, nullptr, nullptr);
    if (err < 0) {
        close();
        return err;
    }
    formatContext.reset(raw);
    return 0;
}

void Demuxer::close()
{
    audioStreamIndex = videoStreamIndex = -1;
    formatContext.reset();
    ioContext.reset();
    memoryData.clear();
}

int Demuxer::interruptInput(void *self)
{
    return static_cast<const Demuxer *>(self)->abortInput.load(std::memory_order_acquire) ? 1 : 0;
}

int Demuxer::readMemory(void *self, uint8_t *buf, int size)
{
    auto *d = static_cast<Demuxer *>(self);
    const int64_t left = d->memoryData.size() - d->memoryPos;
    if (left <= 0)
        return AVERROR_EOF;
    const int n = int(std::min<int64_t>(size, left));
    memcpy(buf, d->memoryData.constData() + d->memoryPos, size_t(n));
    d->memoryPos += n;
    return n;
}

int64_t Demuxer::seekMemory(void *self, int64_t offset, int whence)
{
    auto *d = static_cast<Demuxer *>(self);
    const int64_t size = d->memoryData.size();
    int64_t base = 0;
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
        return size;
    case SEEK_SET:
        break;
    case SEEK_CUR:
        base = d->memoryPos;
        break;
    case SEEK_END:
        base = size;
        break;
    default:
        return AVERROR(EINVAL);
    }
    // a damaged index may ask for any offset; the sum must not overflow
    if ((offset > 0 && base > std::numeric_limits<int64_t>::max() - offset) || base + offset < 0)
        return AVERROR(EINVAL);
    d->memoryPos = base + offset;
    return d->memoryPos;
}

void Demuxer::requestSeek(int64_t target, bool dropPictures)
{
    int expected = SeekIdle;
    if (!seekRequest.compare_exchange_strong(expected, SeekClaimed, std::memory_order_acq_rel))
        return; // one request at a time
    seekTarget_.store(target, std::memory_order_relaxed);
    seekDropsPictures.store(dropPictures, std::memory_order_relaxed);
    if (dropPictures)
        pictureSerial_.fetch_add(1, std::memory_order_relaxed);
    seekRequest.store(SeekPending, std::memory_order_release);
}

void Demuxer::clearSeek()
{
    seekTarget_ = 0;
    seekRequest = SeekIdle;
}

void Demuxer::run(DemuxHost &host)
{
    host.appendLog(QStringLiteral("ParsingThread:: run.\n"));
    media::PacketPtr packet = media::allocPacket();
    bool endOfInput = false;
    holdAtEnd = false;
    AVFormatContext *input = formatContext.get();

    while (!host.isStopped()) {
        const bool nowPaused = host.isPaused();
        if (nowPaused != lastPaused) {
            lastPaused = nowPaused;
            if (nowPaused)
                av_read_pause(input);
            else
                av_read_play(input);
        }

        if (seekRequest.load(std::memory_order_acquire) == SeekPending) {
            doSeek(host, endOfInput);
            continue;
        }

        if (videoQueue.byteSize() > maxVideoQueueBytes ||
            audioQueue.byteSize() > maxAudioQueueBytes) {
            pauseFor(10);
            continue;
        }

        // The end is what av_read_frame says: the byte stream may be at its end long
        // before the demuxer has handed out the packets it buffered while probing.
        if (endOfInput) {
            if (!holdAtEnd)
                queueEndSentinel(host);
            pauseFor(10);
            continue;
        }

        const int err = av_read_frame(input, packet.get());
        if (err >= 0) {
            // a packet of another stream, or one the queue refuses, is dropped here
            if (packet->stream_index == audioStreamIndex)
                audioQueue.putMoved(packet.get());
            else if (packet->stream_index == videoStreamIndex)
                videoQueue.putMoved(packet.get());
            av_packet_unref(packet.get());
            continue;
        }
        if (err == AVERROR_EOF)
            endOfInput = true;
        if (input->pb && input->pb->error) {
            host.appendLog(QStringLiteral("ParsingThread:: Couldn't read frame.\n"));
            break;
        }
        if (err != AVERROR_EOF)
            pauseFor(100);
    }

    videoQueue.flush(AV_NOPTS_VALUE, pictureSerial(), seekEpoch);
    audioQueue.flush(AV_NOPTS_VALUE, 0, seekEpoch);
    host.appendLog(QStringLiteral("ParsingThread:: ended.\n"));
}

void Demuxer::doSeek(DemuxHost &host, bool &endOfInput)
{
    int64_t target = seekTarget_.load(std::memory_order_relaxed);
    if (target > host.markOut())
        target = host.markIn();
    seekTarget_.store(target, std::memory_order_relaxed);

    // read once: the learner may switch the option while this seek is carried out
    const bool dirty = allowDirtySeek;
    bool sought = false;
    if (!dirty && host.hasVideo()) {
        sought = seekVideoKeyFrame(host, target, endOfInput);
    } else {
        // a dirty seek shows whatever it lands on
        sought = seekInput(host, target, dirty ? AVSEEK_FLAG_ANY : 0);
        if (sought) {
            endOfInput = false;
            flushQueues(host, dirty ? AV_NOPTS_VALUE : target);
        }
    }
    if (!sought) {
        host.appendLog(QStringLiteral("ParsingThread:: Seeking error.\n"));
        // an input that cannot go back (a pipe, a raw stream) stays at its end instead of
        // asking for the same refused loop-back again and again
        holdAtEnd = endOfInput;
        // no flush carries the serial the request set, so the display would drop every
        // later picture waiting for it: the pictures go on where they were
        if (seekDropsPictures.load(std::memory_order_relaxed))
            pictureSerial_.fetch_sub(1, std::memory_order_relaxed);
    } else {
        holdAtEnd = false;
    }
    seekRequest.store(SeekIdle, std::memory_order_release);
}

bool Demuxer::seekInput(const DemuxHost &host, int64_t ts, int flags)
{
    const int refIndex = host.hasVideo() ? videoStreamIndex : audioStreamIndex;
    // the largest allowed time stamp is ts itself: the input lands at or before it
    return avformat_seek_file(formatContext.get(), refIndex, std::numeric_limits<int64_t>::min(),
                              ts, ts, flags) >= 0;
}

void Demuxer::flushQueues(const DemuxHost &host, int64_t skipBefore)
{
    // the decoders skip what lies before the target, so playback starts exactly there
    ++seekEpoch;
    if (host.hasVideo())
        videoQueue.flush(skipBefore, pictureSerial(), seekEpoch);
    if (host.hasAudio()) {
        // The video thread meets the loop end while the sound before it still waits in
        // the audio queue: the loop going back keeps that sound, so each repetition
        // sounds up to its end.
        const int64_t markOut = host.markOut();
        const bool loopBack = !seekDropsPictures.load(std::memory_order_relaxed);
        const int64_t keepBefore =
            loopBack && host.hasVideo() && markOut != media::unknownEnd
                ? av_rescale_q(markOut, host.timeBase(),
                               formatContext->streams[audioStreamIndex]->time_base)
                : AV_NOPTS_VALUE;
        audioQueue.flush(skipBefore, 0, seekEpoch, keepBefore);
    }
}

bool Demuxer::seekVideoKeyFrame(DemuxHost &host, int64_t target, bool &endOfInput)
{
    // Only a demuxer with an index (MP4, Matroska) lands on a key frame. Others (MPEG-TS,
    // MPEG-PS, Ogg) land on whatever packet lies at the time asked for, and decoding
    // from there would resume at the next key frame, after the target. So the packets
    // after the landing place are read up to the first video key frame; when that lies
    // after the target, the seek goes further back, doubling its margin each time.
    const int64_t second = av_rescale_q(1, AVRational{1, 1}, host.timeBase());
    const int64_t start = host.startTime();
    int64_t margin = 0;
    int64_t workingMargin = -1; // of the last seek the input accepted
    bool last = false;
    for (;;) {
        last = last || target - margin < start || margin >= maxSeekMarginSeconds * second;
        if (!seekInput(host, target - margin, 0)) {
            if (workingMargin < 0)
                return false;
            if (margin == workingMargin)
                return true; // flushed already: reading goes on where the input stands
            // further back is refused: the last seek that worked, taking what it finds
            margin = workingMargin;
            last = true;
            continue;
        }
        workingMargin = margin;
        endOfInput = false;
        flushQueues(host, target);
        if (readToKeyFrame(host, target, last, endOfInput) || last)
            return true;
        margin = margin == 0 ? second : 2 * margin;
    }
}

bool Demuxer::readToKeyFrame(const DemuxHost &host, int64_t target, bool acceptAny,
                             bool &endOfInput)
{
    media::PacketPtr packet = media::allocPacket();
    while (!host.isStopped()) {
        const int err = av_read_frame(formatContext.get(), packet.get());
        if (err == AVERROR_EOF) {
            endOfInput = true;
            return acceptAny;
        }
        if (err < 0)
            return true; // a read error is the main loop's to meet again
        bool done = false;
        bool found = false;
        if (packet->stream_index == audioStreamIndex) {
            audioQueue.putMoved(packet.get());
        } else if (packet->stream_index == videoStreamIndex) {
            const bool key = (packet->flags & AV_PKT_FLAG_KEY) != 0;
            const int64_t shown = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            const int64_t decoded = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
            if (acceptAny || (key && (shown == AV_NOPTS_VALUE || shown <= target))) {
                videoQueue.putMoved(packet.get());
                done = found = true;
            } else if (decoded != AV_NOPTS_VALUE && decoded > target) {
                // every later picture is decoded after this one, so lies after the target
                done = true;
            }
            // otherwise a picture before the key frame: without its references it cannot
            // be decoded, so it is dropped
        }
        av_packet_unref(packet.get());
        if (done)
            return found;
    }
    return true;
}

void Demuxer::queueEndSentinel(const DemuxHost &host)
{
    // The sentinel goes to the decoder that applies the loop end rule: the video one
    // when there is video, so the end of a file whose last packet is audio still loops.
    const bool toVideo = host.hasVideo();
    PacketQueue &queue = toVideo ? videoQueue : audioQueue;
    // One sentinel at a time: a new one only once the decoder has taken the last, so a
    // lesson left paused at its end does not grow the queue.
    if (queue.packetCount() > 0)
        return;
    media::PacketPtr sentinel = media::allocPacket();
    sentinel->stream_index = toVideo ? videoStreamIndex : audioStreamIndex;
    sentinel->dts = host.markOut();
    queue.put(sentinel.get());
}
