#include "media/parsingthread.h"

#include "media/media.h"

#include <limits>

ParsingThread::ParsingThread(Media *m) : WorkerThread(m), media(m) {}

void ParsingThread::run()
{
    Media &m = *media;
    m.appendLog(QStringLiteral("ParsingThread:: run.\n"));
    media::PacketPtr packet = media::allocPacket();
    bool endOfInput = false;
    holdAtEnd = false;
    AVFormatContext *input = m.formatContext.get();

    while (!m.stopped.load(std::memory_order_acquire)) {
        const bool nowPaused = m.paused_.load(std::memory_order_acquire);
        if (nowPaused != m.lastPaused) {
            m.lastPaused = nowPaused;
            if (nowPaused)
                av_read_pause(input);
            else
                av_read_play(input);
        }

        if (m.seekRequest.load(std::memory_order_acquire) == Media::SeekPending) {
            doSeek(endOfInput);
            continue;
        }

        if (m.videoQueue.byteSize() > maxVideoQueueBytes ||
            m.audioQueue.byteSize() > maxAudioQueueBytes) {
            msleep(10);
            continue;
        }

        // The end is what av_read_frame says: the byte stream may be at its end long
        // before the demuxer has handed out the packets it buffered while probing.
        if (endOfInput) {
            if (!holdAtEnd)
                queueEndSentinel();
            msleep(10);
            continue;
        }

        const int err = av_read_frame(input, packet.get());
        if (err >= 0) {
            // a packet of another stream, or one the queue refuses, is dropped here
            if (packet->stream_index == m.audioStreamIndex)
                m.audioQueue.putMoved(packet.get());
            else if (packet->stream_index == m.videoStreamIndex)
                m.videoQueue.putMoved(packet.get());
            av_packet_unref(packet.get());
            continue;
        }
        if (err == AVERROR_EOF)
            endOfInput = true;
        if (input->pb && input->pb->error) {
            m.appendLog(QStringLiteral("ParsingThread:: Couldn't read frame.\n"));
            break;
        }
        if (err != AVERROR_EOF)
            msleep(100);
    }

    m.videoQueue.flush(AV_NOPTS_VALUE, m.pictureSerial.load(std::memory_order_relaxed),
                       m.seekEpoch);
    m.audioQueue.flush(AV_NOPTS_VALUE, 0, m.seekEpoch);
    m.appendLog(QStringLiteral("ParsingThread:: ended.\n"));
}

void ParsingThread::doSeek(bool &endOfInput)
{
    Media &m = *media;
    int64_t target = m.seekTarget.load(std::memory_order_relaxed);
    if (target > m.markOut())
        target = m.markIn();
    m.seekTarget.store(target, std::memory_order_relaxed);

    // read once: the learner may switch the option while this seek is carried out
    const bool dirty = m.allowDirtySeek;
    bool sought = false;
    if (!dirty && m.videoCodec) {
        sought = seekVideoKeyFrame(target, endOfInput);
    } else {
        // a dirty seek shows whatever it lands on
        sought = seekInput(target, dirty ? AVSEEK_FLAG_ANY : 0);
        if (sought) {
            endOfInput = false;
            flushQueues(dirty ? AV_NOPTS_VALUE : target);
        }
    }
    if (!sought) {
        m.appendLog(QStringLiteral("ParsingThread:: Seeking error.\n"));
        // an input that cannot go back (a pipe, a raw stream) stays at its end instead of
        // asking for the same refused loop-back again and again
        holdAtEnd = endOfInput;
        // no flush carries the serial the request set, so the display would drop every
        // later picture waiting for it: the pictures go on where they were
        if (m.seekDropsPictures.load(std::memory_order_relaxed))
            m.pictureSerial.fetch_sub(1, std::memory_order_relaxed);
    } else {
        holdAtEnd = false;
    }
    m.seekRequest.store(Media::SeekIdle, std::memory_order_release);
}

bool ParsingThread::seekInput(int64_t ts, int flags)
{
    Media &m = *media;
    const int refIndex = m.videoCodec ? m.videoStreamIndex : m.audioStreamIndex;
    // the largest allowed time stamp is ts itself: the input lands at or before it
    return avformat_seek_file(m.formatContext.get(), refIndex, std::numeric_limits<int64_t>::min(),
                              ts, ts, flags) >= 0;
}

void ParsingThread::flushQueues(int64_t skipBefore)
{
    // the decoders skip what lies before the target, so playback starts exactly there
    Media &m = *media;
    ++m.seekEpoch;
    if (m.videoCodec)
        m.videoQueue.flush(skipBefore, m.pictureSerial.load(std::memory_order_relaxed),
                           m.seekEpoch);
    if (m.audioCodec) {
        // The video thread meets the loop end while the sound before it still waits in
        // the audio queue: the loop going back keeps that sound, so each repetition
        // sounds up to its end.
        const int64_t markOut = m.markOut();
        const bool loopBack = !m.seekDropsPictures.load(std::memory_order_relaxed);
        const int64_t keepBefore =
            loopBack && m.videoCodec && markOut != Media::unknownEnd
                ? av_rescale_q(markOut, m.timeBase(), m.audioStream->time_base)
                : AV_NOPTS_VALUE;
        m.audioQueue.flush(skipBefore, 0, m.seekEpoch, keepBefore);
    }
}

bool ParsingThread::seekVideoKeyFrame(int64_t target, bool &endOfInput)
{
    // Only a demuxer with an index (MP4, Matroska) lands on a key frame. Others (MPEG-TS,
    // MPEG-PS, Ogg) land on whatever packet lies at the time asked for, and decoding
    // from there would resume at the next key frame, after the target. So the packets
    // after the landing place are read up to the first video key frame; when that lies
    // after the target, the seek goes further back, doubling its margin each time.
    Media &m = *media;
    const int64_t second = av_rescale_q(1, AVRational{1, 1}, m.timeBase());
    const int64_t start = m.startTime();
    int64_t margin = 0;
    int64_t workingMargin = -1; // of the last seek the input accepted
    bool last = false;
    for (;;) {
        last = last || target - margin < start || margin >= maxSeekMarginSeconds * second;
        if (!seekInput(target - margin, 0)) {
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
        flushQueues(target);
        if (readToKeyFrame(target, last, endOfInput) || last)
            return true;
        margin = margin == 0 ? second : 2 * margin;
    }
}

bool ParsingThread::readToKeyFrame(int64_t target, bool acceptAny, bool &endOfInput)
{
    Media &m = *media;
    media::PacketPtr packet = media::allocPacket();
    while (!m.stopped.load(std::memory_order_acquire)) {
        const int err = av_read_frame(m.formatContext.get(), packet.get());
        if (err == AVERROR_EOF) {
            endOfInput = true;
            return acceptAny;
        }
        if (err < 0)
            return true; // a read error is the main loop's to meet again
        bool done = false;
        bool found = false;
        if (packet->stream_index == m.audioStreamIndex) {
            m.audioQueue.putMoved(packet.get());
        } else if (packet->stream_index == m.videoStreamIndex) {
            const bool key = (packet->flags & AV_PKT_FLAG_KEY) != 0;
            const int64_t shown = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            const int64_t decoded = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
            if (acceptAny || (key && (shown == AV_NOPTS_VALUE || shown <= target))) {
                m.videoQueue.putMoved(packet.get());
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

void ParsingThread::queueEndSentinel()
{
    Media &m = *media;
    // The sentinel goes to the decoder that applies the loop end rule: the video one
    // when there is video, so the end of a file whose last packet is audio still loops.
    const bool toVideo = m.videoCodec != nullptr;
    PacketQueue &queue = toVideo ? m.videoQueue : m.audioQueue;
    // One sentinel at a time: a new one only once the decoder has taken the last, so a
    // lesson left paused at its end does not grow the queue.
    if (queue.packetCount() > 0)
        return;
    media::PacketPtr sentinel = media::allocPacket();
    sentinel->stream_index = toVideo ? m.videoStreamIndex : m.audioStreamIndex;
    sentinel->dts = m.markOut();
    queue.put(sentinel.get());
}
