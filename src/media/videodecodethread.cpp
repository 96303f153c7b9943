#include "media/videodecodethread.h"

#include "media/decodehost.h"
#include "media/packetqueue.h"

#include <algorithm>

VideoDecodeThread::VideoDecodeThread(DecodeHost &h, PacketQueue &q, QObject *parent)
    : WorkerThread(parent), host(h), queue(q)
{}

void VideoDecodeThread::setInput(AVCodecContext *c, const AVStream *st, AVRational rate)
{
    codec = c;
    stream = st;
    frameRate = rate;
}

void VideoDecodeThread::run()
{
    media::FramePtr frame = media::allocFrame();
    media::PacketPtr packet = media::allocPacket();
    const AVRational step =
        frameRate.num > 0 && frameRate.den > 0 ? av_inv_q(frameRate) : AVRational{1, 25};
    frameStep = std::max<int64_t>(1, av_rescale_q(1, step, stream->time_base));
    lastTs = AV_NOPTS_VALUE;
    host.appendLog(QStringLiteral("VideoDecodeThread:: run.\n"));
    // The first picture of a run has no picture before it to be timed from: a file whose
    // video starts at 0.54 s would otherwise hold it that long.
    afterFlush = true;
    pastLoopEnd = false;
    epoch = host.startingEpoch();

    while (host.nextPacket(queue, packet.get())) {
        if (PacketQueue::isFlushPacket(packet.get())) {
            host.appendLog(QStringLiteral("VideoDecodeThread:: Flushing the buffers.\n"));
            avcodec_flush_buffers(codec);
            afterFlush = true;
            pastLoopEnd = false;
            lastTs = AV_NOPTS_VALUE;
            serial = int(packet->pos);
            epoch = int(packet->duration);
            skipBefore = host.flushTarget(packet.get(), stream->time_base);
            av_packet_unref(packet.get());
            continue;
        }

        int64_t dts = packet->dts;
        if (dts == AV_NOPTS_VALUE)
            dts = packet->pts;
        if (dts == AV_NOPTS_VALUE)
            dts = 0;
        const bool atLoopEnd = host.applyMarkOutRule(dts, false);
        // What follows the loop end until the seek back arrives is not shown: not decoded
        // either, unless the learner has moved the mark out past it meanwhile.
        if (pastLoopEnd && atLoopEnd) {
            av_packet_unref(packet.get());
            continue;
        }
        pastLoopEnd = false;

        // An empty packet is the end sentinel: it drains the pictures the decoder still
        // holds back, so the last pictures before the loop end are shown too.
        const bool endOfInput = packet->size == 0;
        // Pictures before a seek target are decoded only as far as later ones need them.
        const bool beforeTarget = skipBefore != AV_NOPTS_VALUE && packet->pts != AV_NOPTS_VALUE &&
                                  packet->pts < skipBefore;
        codec->skip_frame = beforeTarget ? AVDISCARD_NONREF : AVDISCARD_DEFAULT;
        if (avcodec_send_packet(codec, endOfInput ? nullptr : packet.get()) >= 0 || endOfInput)
            queueDecodedFrames(frame.get(), packet->dts);
        if (atLoopEnd) {
            // The decoder holds back pictures (reordering, frame threads): the ones up to
            // the loop end are taken out now, before the flush of the seek back drops them.
            if (!endOfInput && avcodec_send_packet(codec, nullptr) >= 0)
                queueDecodedFrames(frame.get(), AV_NOPTS_VALUE);
            avcodec_flush_buffers(codec);
            pastLoopEnd = true;
        }
        av_packet_unref(packet.get());
    }
    host.appendLog(QStringLiteral("VideoDecodeThread:: No more packets.\n"));
    host.appendLog(QStringLiteral("DecodingThread:: ended.\n"));
}

void VideoDecodeThread::queueDecodedFrames(AVFrame *frame, int64_t packetDts)
{
    while (avcodec_receive_frame(codec, frame) >= 0) {
        host.noteAspectRatio();
        // The picture's own presentation time keeps pictures in step with the audio when
        // the file reorders frames; the packet's decoding time is the fallback, and a raw
        // stream without either is timed one frame step after the picture before.
        int64_t ts = frame->best_effort_timestamp;
        if (ts == AV_NOPTS_VALUE)
            ts = packetDts;
        if (ts == AV_NOPTS_VALUE)
            ts = lastTs == AV_NOPTS_VALUE ? 0 : lastTs + frameStep;
        lastTs = ts;
        // After a seek the key frame lies before the target: what comes before the target
        // is not shown, so the loop starts exactly at its mark. Nothing after the loop end
        // is shown either.
        bool show = ts <= host.markOut();
        if (skipBefore != AV_NOPTS_VALUE) {
            if (ts < skipBefore)
                show = false;
            else
                skipBefore = AV_NOPTS_VALUE;
        }
        if (show) {
            host.queuePicture(frame, ts, afterFlush, serial, epoch);
            afterFlush = false;
        }
        av_frame_unref(frame);
    }
}
