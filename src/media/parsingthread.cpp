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
                m.audioQueue.put(packet.get());
            else if (packet->stream_index == m.videoStreamIndex)
                m.videoQueue.put(packet.get());
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

    m.videoQueue.flush(AV_NOPTS_VALUE, m.pictureSerial.load(std::memory_order_relaxed));
    m.audioQueue.flush();
    m.appendLog(QStringLiteral("ParsingThread:: ended.\n"));
}

void ParsingThread::doSeek(bool &endOfInput)
{
    Media &m = *media;
    int64_t target = m.seekTarget.load(std::memory_order_relaxed);
    // read once: the learner may switch the option while this seek is carried out
    const bool dirty = m.allowDirtySeek;
    int flags = dirty ? AVSEEK_FLAG_ANY : 0;
    if (target < m.position() || m.seekBackwardFlag)
        flags |= AVSEEK_FLAG_BACKWARD;
    if (target > m.markOut())
        target = m.markIn();
    m.seekTarget.store(target, std::memory_order_relaxed);

    const int refIndex = m.videoCodec ? m.videoStreamIndex : m.audioStreamIndex;
    const int err =
        avformat_seek_file(m.formatContext.get(), refIndex, std::numeric_limits<int64_t>::min(),
                           target, std::numeric_limits<int64_t>::max(), flags);
    if (err < 0) {
        m.appendLog(QStringLiteral("ParsingThread:: Seeking error.\n"));
        // an input that cannot go back (a pipe, a raw stream) stays at its end instead of
        // asking for the same refused loop-back again and again
        holdAtEnd = endOfInput;
        // no flush carries the serial the request set, so the display would drop every
        // later picture waiting for it: the pictures go on where they were
        if (m.seekDropsPictures.load(std::memory_order_relaxed))
            m.pictureSerial.fetch_sub(1, std::memory_order_relaxed);
    } else {
        // the decoders skip what lies before the target, so playback starts exactly there
        // (a dirty seek shows whatever it lands on)
        const int64_t skipBefore = dirty ? AV_NOPTS_VALUE : target;
        if (m.videoCodec)
            m.videoQueue.flush(skipBefore, m.pictureSerial.load(std::memory_order_relaxed));
        if (m.audioCodec)
            m.audioQueue.flush(skipBefore);
    }
    if (err >= 0) {
        endOfInput = false;
        holdAtEnd = false;
    }
    m.seekBackwardFlag = false;
    m.seekRequest.store(Media::SeekIdle, std::memory_order_release);
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
