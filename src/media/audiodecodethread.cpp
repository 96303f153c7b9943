#include "media/audiodecodethread.h"

#include "media/iaudio.h"
#include "media/media.h"

#include <algorithm>
#include <chrono>
#include <cstring>

AudioDecodeThread::AudioDecodeThread(Media *m)
    : WorkerThread(m), media(m), samples(static_cast<uint8_t *>(av_malloc(sampleBufferSize)))
{
    if (!samples)
        qBadAlloc();
}

void AudioDecodeThread::run()
{
    Media &m = *media;
    m.appendLog(QStringLiteral("AudioThread:: run.\n"));
    media::FramePtr frame = media::allocFrame();
    media::PacketPtr packet = media::allocPacket();
    // samples go out in the format the output was opened with
    const QAudioFormat out = IAudio::instance()->format();
    resampler.setOutput(out.sampleRate(), out.channelCount());
    const AVRational tb = m.audioStream->time_base;

    while (m.nextPacket(m.audioQueue, packet.get())) {
        if (PacketQueue::isFlushPacket(packet.get())) {
            m.appendLog(QStringLiteral("AudioThread:: Flushing the buffers.\n"));
            avcodec_flush_buffers(m.audioCodec.get());
            skipBefore = m.flushTarget(packet.get(), tb);
            av_packet_unref(packet.get());
            continue;
        }
        const int64_t dts = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
        if (!m.videoCodec && dts != AV_NOPTS_VALUE)
            m.applyMarkOutRule(dts);
        // Packets that start after the loop end, taken while the loop-back seek is still
        // on its way, are not played: the loop ends where the learner put its end.
        const bool afterLoopEnd =
            dts != AV_NOPTS_VALUE && av_compare_ts(dts, tb, m.markOut(), m.timeBase()) > 0;
        // the end sentinel only carries the time stamp for the rule
        if (packet->size > 0 && !afterLoopEnd) {
            // while samples before a seek target are skipped, what plays next is the target
            if (dts != AV_NOPTS_VALUE) {
                const int64_t heard =
                    skipBefore != AV_NOPTS_VALUE ? std::max(dts, skipBefore) : dts;
                m.audioClock = m.clockSeconds(heard, tb);
                m.audioClockTicks = heard;
            }
            decodeAndPush(packet.get(), frame.get());
        }
        av_packet_unref(packet.get());
    }
    m.appendLog(QStringLiteral("AudioThread:: No more packets.\n"));
    m.appendLog(QStringLiteral("AudioThread:: ended.\n"));
}

void AudioDecodeThread::decodeAndPush(const AVPacket *packet, AVFrame *frame)
{
    AVCodecContext *codec = media->audioCodec.get();
    if (avcodec_send_packet(codec, packet) < 0)
        return; // a decode error drops this packet
    while (avcodec_receive_frame(codec, frame) >= 0) {
        const int64_t skip = samplesBeforeTarget(frame);
        int len = resampler.convert(frame, samples.get(), sampleBufferSize);
        av_frame_unref(frame);
        if (len <= 0)
            continue; // a conversion error drops this frame
        if (skip > 0) {
            // after a seek, the samples before the target are not played; a damaged file
            // may put the target any distance away, so the count is bounded by what is here
            const int64_t skipBytes = skip * resampler.bytesPerFrame();
            const int bytes = int(std::min<int64_t>(len, skipBytes));
            len -= bytes;
            std::memmove(samples.get(), samples.get() + bytes, size_t(len));
        }
        // a rate-changing converter may hold more than one buffer's worth
        while (len > 0) {
            push(len);
            len = len == sampleBufferSize
                      ? resampler.convert(nullptr, samples.get(), sampleBufferSize)
                      : 0;
        }
    }
}

int64_t AudioDecodeThread::samplesBeforeTarget(const AVFrame *frame)
{
    if (skipBefore == AV_NOPTS_VALUE)
        return 0;
    const int64_t pts = frame->best_effort_timestamp;
    const AVRational tb = media->audioStream->time_base;
    if (pts == AV_NOPTS_VALUE || pts >= skipBefore) {
        skipBefore = AV_NOPTS_VALUE;
        return 0;
    }
    // counted in output samples; a frame wholly before the target is skipped whole
    // in doubles: a damaged stamp may lie any distance from the target, and the difference
    // of two such ticks can exceed 64 bits; a skip beyond a day is as good as any larger
    const double seconds = (double(skipBefore) - double(pts)) * tb.num / tb.den;
    const auto skip =
        int64_t(std::clamp(seconds * resampler.outputRate() + 0.5, 0.0, 86400.0 * 384000));
    const int64_t frameOut =
        frame->sample_rate > 0
            ? av_rescale(frame->nb_samples, resampler.outputRate(), frame->sample_rate)
            : 0;
    if (skip < frameOut)
        skipBefore = AV_NOPTS_VALUE;
    return skip;
}

void AudioDecodeThread::push(int len)
{
    Media &m = *media;
    IAudio *audio = IAudio::instance();
    char *data = reinterpret_cast<char *>(samples.get());
    while (len > 0) {
        if (m.audioClock.load() < 0 || m.stopped.load(std::memory_order_acquire))
            return;
        // Hold back while more than half a second ahead of the picture on screen. A file
        // without video has no picture to wait for; it is paced by the output alone.
        if (m.videoCodec && m.videoCurrentPts.load() + 0.5 < m.audioClock.load())
            msleep(30);
        const int written = audio->write(data, len);
        data += written;
        len -= written;
        if (len <= 0)
            return;
        if (written == 0 && !audio->isPlaying()) {
            dropInRealTime(len);
            return;
        }
        msleep(10);
    }
}

void AudioDecodeThread::dropInRealTime(int len)
{
    // Without an output the samples are dropped, but over the time they would have
    // played: the clock then runs as it would with sound instead of racing through the
    // file at full processor load.
    const double seconds = double(len) / (resampler.bytesPerFrame() * resampler.outputRate());
    const auto until =
        std::chrono::steady_clock::now() + std::chrono::microseconds(int64_t(seconds * 1e6));
    while (!media->stopped.load(std::memory_order_acquire) &&
           std::chrono::steady_clock::now() < until)
        msleep(10);
}
