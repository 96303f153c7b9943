#include "media/audiodecodethread.h"

#include "media/decodehost.h"
#include "media/iaudio.h"
#include "media/packetqueue.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// How far after what is heard a speed change is written over what was written: the
// heard position is estimated, and the write takes a moment to reach the server.
constexpr double rewriteLeadSeconds = 0.03;
// How much input and output is kept for a speed change: the output holds about 0.2 s,
// more right after a change to a slower speed; its input spans up to 4 times that.
constexpr double keptOutputSeconds = 1.0;
constexpr double keptInputSeconds = 2.5;

// Drops the oldest elements of v beyond keep, once it holds twice as many, so the cost
// is spread over many appends; returns how many it dropped.
size_t trimFront(std::vector<int16_t> &v, size_t keep)
{
    if (v.size() <= 2 * keep)
        return 0;
    const size_t drop = v.size() - keep;
    v.erase(v.begin(), v.begin() + std::ptrdiff_t(drop));
    return drop;
}

} // namespace

AudioDecodeThread::AudioDecodeThread(DecodeHost &h, PacketQueue &q, QObject *parent)
    : WorkerThread(parent), host(h), queue(q),
      samples(static_cast<uint8_t *>(av_malloc(sampleBufferSize)))
{
    if (!samples)
        qBadAlloc();
}

void AudioDecodeThread::setInput(AVCodecContext *c, const AVStream *st)
{
    codec = c;
    stream = st;
}

void AudioDecodeThread::run()
{
    host.appendLog(QStringLiteral("AudioThread:: run.\n"));
    media::FramePtr frame = media::allocFrame();
    media::PacketPtr packet = media::allocPacket();
    // samples go out in the format the output was opened with
    const media::AudioFormat out = IAudio::instance()->format();
    resampler.setOutput(out.sampleRate, out.channels);
    tempo.setFormat(out.sampleRate, out.channels);
    // nothing held from before a stop or pause is played after it
    tempo.reset();
    tempo.setFactor(host.speed());
    fadeInNext = false;
    stretchFlushed = false;
    recentInput.clear();
    recentOutput.clear();
    const AVRational tb = stream->time_base;
    epoch = host.startingEpoch();
    nextSeconds = 0;
    written.clear();

    while (host.nextPacket(queue, packet.get())) {
        if (PacketQueue::isFlushPacket(packet.get())) {
            host.appendLog(QStringLiteral("AudioThread:: Flushing the buffers.\n"));
            // the sound before the loop-back or seek comes to its end first (the input's
            // end in a file with pictures sends the audio thread no sentinel)
            finishStretch();
            avcodec_flush_buffers(codec);
            skipBefore = host.flushTarget(packet.get(), tb);
            epoch = int(packet->duration);
            // a new stretch of playback: nothing of the old one is stretched into it, and
            // it starts with a short fade, so a repeated sentence never starts with a click
            tempo.reset();
            fadeInNext = true;
            stretchFlushed = false;
            recentInput.clear();
            av_packet_unref(packet.get());
            continue;
        }
        const int64_t dts = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
        if (dts != AV_NOPTS_VALUE)
            host.applyMarkOutRule(av_rescale_q(dts, tb, host.timeBase()), true);
        // Packets that start after the loop end, taken while the loop-back seek is still
        // on its way, are not played: the loop ends where the learner put its end.
        const bool afterLoopEnd =
            dts != AV_NOPTS_VALUE && av_compare_ts(dts, tb, host.markOut(), host.timeBase()) > 0;
        // The end sentinel only carries the time stamp for the rule. Nothing of this
        // stretch of playback follows it or a packet past the loop end: what the time
        // stretch still holds is played out now, before the loop-back drops it.
        if (packet->size > 0 && !afterLoopEnd)
            decodeAndPush(packet.get(), frame.get());
        else
            finishStretch();
        av_packet_unref(packet.get());
    }
    host.appendLog(QStringLiteral("AudioThread:: No more packets.\n"));
    host.appendLog(QStringLiteral("AudioThread:: ended.\n"));
}

double AudioDecodeThread::bytesPerSecond() const
{
    return double(resampler.outputRate()) * resampler.bytesPerFrame();
}

void AudioDecodeThread::decodeAndPush(const AVPacket *packet, AVFrame *frame)
{
    if (avcodec_send_packet(codec, packet) < 0)
        return; // a decode error drops this packet
    const AVRational tb = stream->time_base;
    const int64_t markOut = host.markOut();
    const double loopEnd =
        markOut == media::unknownEnd ? HUGE_VAL : media::toSeconds(markOut, host.timeBase());
    const int frameBytes = resampler.bytesPerFrame();
    while (avcodec_receive_frame(codec, frame) >= 0) {
        const int64_t skip = samplesBeforeTarget(frame);
        const int64_t pts = frame->best_effort_timestamp;
        double seconds = pts != AV_NOPTS_VALUE ? media::toSeconds(pts, tb) : nextSeconds;
        int len = resampler.convert(frame, samples.get(), sampleBufferSize);
        av_frame_unref(frame);
        if (len <= 0)
            continue; // a conversion error drops this frame
        if (skip > 0) {
            // after a seek, the samples before the target are not played; a damaged file
            // may put the target any distance away, so the count is bounded by what is here
            const int64_t skipBytes = skip * frameBytes;
            const int bytes = int(std::min<int64_t>(len, skipBytes));
            len -= bytes;
            std::memmove(samples.get(), samples.get() + bytes, size_t(len));
            seconds += double(bytes) / bytesPerSecond();
        }
        // Nothing after the loop end is played: the frame that reaches past it is cut at
        // its sample, so each repetition sounds exactly up to the mark.
        const double room = (loopEnd - seconds) * resampler.outputRate();
        int64_t budget = room >= double(INT32_MAX)
                             ? INT64_MAX
                             : std::max<int64_t>(0, std::llround(room)) * frameBytes;
        // a rate-changing converter may hold more than one buffer's worth
        while (len > 0) {
            const bool full = len == sampleBufferSize;
            const int n = int(std::min<int64_t>(len, budget));
            budget -= n;
            if (n > 0)
                play(n, seconds, n < len);
            seconds += double(len) / bytesPerSecond();
            len = full ? resampler.convert(nullptr, samples.get(), sampleBufferSize) : 0;
        }
        nextSeconds = seconds;
    }
}

int64_t AudioDecodeThread::samplesBeforeTarget(const AVFrame *frame)
{
    if (skipBefore == AV_NOPTS_VALUE)
        return 0;
    const int64_t pts = frame->best_effort_timestamp;
    const AVRational tb = stream->time_base;
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

void AudioDecodeThread::play(int len, double seconds, bool endOfStretch)
{
    const double speed = host.speed();
    if (speed != tempo.factor())
        restretch(speed);
    const int rate = resampler.outputRate();
    const int frames = len / resampler.bytesPerFrame();
    const auto *input = reinterpret_cast<const int16_t *>(samples.get());
    tempo.push(input, frames);
    keepInput(input, frames, seconds);
    stretchInputEnd = seconds + double(frames) / rate;
    if (endOfStretch) {
        tempo.flush();
        stretchFlushed = true;
    }
    pushStretched(endOfStretch);
}

void AudioDecodeThread::finishStretch()
{
    if (stretchFlushed)
        return;
    tempo.flush();
    stretchFlushed = true;
    pushStretched(true);
}

void AudioDecodeThread::pushStretched(bool endOfStretch)
{
    const int rate = resampler.outputRate();
    const int channels = resampler.outputChannels();
    stretched.clear();
    const int got = tempo.pull(stretched);
    if (got <= 0)
        return;
    const int fade = media::spliceFadeFrames(rate);
    if (fadeInNext) {
        media::fadeIn(stretched.data(), got, channels, fade);
        fadeInNext = false;
    }
    if (endOfStretch)
        media::fadeOut(stretched.data(), got, channels, fade);
    // the last frame out stands for the end of the input less what the stretch holds
    const double end = stretchInputEnd - double(tempo.heldInputFrames()) / rate;
    const double start = end - double(got) * tempo.factor() / rate;
    push(reinterpret_cast<const char *>(stretched.data()), got * resampler.bytesPerFrame(), start,
         tempo.factor());
}

void AudioDecodeThread::keepInput(const int16_t *frames, int count, double seconds)
{
    const int rate = resampler.outputRate();
    const int channels = resampler.outputChannels();
    // the kept input is one run without holes: a jump in time starts it again
    const double keptEnd = recentInputStart + double(recentInput.size() / size_t(channels)) / rate;
    if (recentInput.empty() || std::abs(keptEnd - seconds) > 0.001) {
        recentInput.clear();
        recentInputStart = seconds;
    }
    recentInput.insert(recentInput.end(), frames, frames + ptrdiff_t(count) * channels);
    const size_t dropped =
        trimFront(recentInput, size_t(keptInputSeconds * rate) * size_t(channels));
    recentInputStart += double(dropped / size_t(channels)) / rate;
}

void AudioDecodeThread::keepOutput(const char *data, int len, int64_t end)
{
    const int64_t begin = end - len;
    const auto keptEnd = int64_t(recentOutputBegin + int64_t(recentOutput.size()) * 2);
    if (recentOutput.empty() || keptEnd != begin) {
        recentOutput.clear();
        recentOutputBegin = begin;
    }
    const auto *p = reinterpret_cast<const int16_t *>(data);
    recentOutput.insert(recentOutput.end(), p, p + len / 2);
    const size_t dropped =
        trimFront(recentOutput, size_t(keptOutputSeconds * bytesPerSecond()) / sizeof(int16_t));
    recentOutputBegin += int64_t(dropped) * 2;
}

bool AudioDecodeThread::restretch(double speed)
{
    IAudio *audio = IAudio::instance();
    const int rate = resampler.outputRate();
    const int channels = resampler.outputChannels();
    const int frameBytes = resampler.bytesPerFrame();
    qint64 end = 0;
    qint64 heard = 0;
    const auto applyToNextInput = [&] {
        tempo.setFactor(speed);
        return false;
    };
    if (recentInput.empty() || !audio->playedBytes(end, heard))
        return applyToNextInput();
    int64_t at = heard + std::llround(rewriteLeadSeconds * rate) * frameBytes;
    at -= at % frameBytes;
    // what is written from `at` on must be one run of this stretch of playback, whose
    // output and input are both still kept
    auto run = std::find_if(written.begin(), written.end(),
                            [at](const Written &w) { return w.begin <= at && at < w.end; });
    if (run == written.end() || at < recentOutputBegin ||
        std::any_of(run, written.end(), [this](const Written &w) { return w.epoch != epoch; }))
        return applyToNextInput();
    const double from = run->seconds + double(at - run->begin) / bytesPerSecond() * run->speed;
    const int64_t skip = std::llround((from - recentInputStart) * rate);
    const auto inputFrames = int64_t(recentInput.size()) / channels;
    if (skip < 0 || skip >= inputFrames)
        return applyToNextInput();

    // The stretch starts again a little before `from`: it gives out nothing until it has
    // a window of input, and its first window is not yet its steady output.
    const int64_t preroll = std::min<int64_t>(skip, rate / 10);
    tempo.reset();
    tempo.setFactor(speed);
    tempo.push(recentInput.data() + (skip - preroll) * channels, int(inputFrames - skip + preroll));
    if (stretchFlushed)
        tempo.flush();
    stretched.clear();
    const int pulled = tempo.pull(stretched);
    const double outEnd = stretchInputEnd - double(tempo.heldInputFrames()) / rate;
    const auto primed = int(std::clamp<int64_t>(
        pulled - std::llround((outEnd - from) * rate / tempo.factor()), 0, pulled));
    const int got = pulled - primed;
    // Too little input after `from` for any output: what was written stays, and the
    // stretch goes on from where it was, at the new speed, with the next input.
    if (got <= 0)
        return true;
    stretched.erase(stretched.begin(), stretched.begin() + ptrdiff_t(primed) * channels);
    // cross-fade from the sound written before into the new one over a splice's length
    const auto oldFrom = size_t((at - recentOutputBegin) / 2);
    const int fade = std::min<int>(
        {media::spliceFadeFrames(rate), got,
         int((recentOutput.size() - std::min(oldFrom, recentOutput.size())) / size_t(channels))});
    for (int f = 0; f < fade; ++f) {
        const double w = double(f + 1) / (fade + 1);
        for (int c = 0; c < channels; ++c) {
            int16_t &s = stretched[size_t(f * channels + c)];
            const int16_t old = recentOutput[oldFrom + size_t(f * channels + c)];
            s = int16_t(std::lround(old * (1 - w) + s * w));
        }
    }
    if (stretchFlushed)
        media::fadeOut(stretched.data(), got, channels, media::spliceFadeFrames(rate));
    const int bytes = got * frameBytes;
    if (audio->rewrite(at, reinterpret_cast<const char *>(stretched.data()), bytes) != bytes)
        return true; // the output went away: the sound of this stretch is gone with it
    // what was written from `at` on is replaced
    while (!written.empty() && written.back().begin >= at)
        written.pop_back();
    if (!written.empty())
        written.back().end = std::min(written.back().end, at);
    recentOutput.resize(std::min(oldFrom, recentOutput.size()));
    keepOutput(reinterpret_cast<const char *>(stretched.data()), bytes, at + bytes);
    noteWritten(at + bytes, bytes, outEnd - double(got) * tempo.factor() / rate, tempo.factor());
    publishHeard();
    return true;
}

void AudioDecodeThread::push(const char *data, int len, double seconds, double speed)
{
    IAudio *audio = IAudio::instance();
    while (len > 0) {
        if (seconds < 0 || host.isStopped())
            return;
        // Hold back while what is heard is more than half a second ahead of the picture
        // on screen of the same stretch of playback (after a seek the picture comes later
        // by design: it waits for this sound). A file without video has no picture to wait
        // for; it is paced by the output alone.
        if (host.soundFarAhead(epoch))
            msleep(30);
        if (host.speed() != speed && restretch(host.speed()))
            return;
        const int n = audio->write(data, len);
        if (n > 0) {
            qint64 end = 0;
            qint64 heard = 0;
            if (audio->playedBytes(end, heard)) {
                noteWritten(end, n, seconds, speed);
                keepOutput(data, n, end);
            }
            data += n;
            len -= n;
            seconds += double(n) / bytesPerSecond() * speed;
        }
        publishHeard();
        if (len <= 0)
            return;
        if (n == 0 && !audio->isPlaying()) {
            dropInRealTime(len, seconds, speed);
            return;
        }
        msleep(10);
    }
}

void AudioDecodeThread::noteWritten(int64_t end, int bytes, double seconds, double speed)
{
    const int64_t begin = end - bytes;
    // an output started again (a stop, another format) counts from zero
    if (!written.empty() && begin < written.back().end)
        written.clear();
    if (!written.empty()) {
        Written &last = written.back();
        const double lastEnd =
            last.seconds + double(last.end - last.begin) / bytesPerSecond() * last.speed;
        if (last.end == begin && last.epoch == epoch && last.speed == speed &&
            std::abs(lastEnd - seconds) < 0.0005) {
            last.end = end;
            return;
        }
    }
    written.push_back({begin, end, seconds, speed, epoch});
}

void AudioDecodeThread::publishHeard()
{
    qint64 end = 0;
    qint64 heard = 0;
    if (!IAudio::instance()->playedBytes(end, heard))
        return;
    while (written.size() > 1 && written.front().end <= heard)
        written.pop_front();
    if (written.empty() || heard < written.front().begin)
        return; // nothing of this run heard yet
    const Written &w = written.front();
    const double rate = bytesPerSecond();
    // media seconds at the output's byte count b of run r
    const auto mediaAt = [rate](const Written &r, int64_t b) {
        return r.seconds + double(b - r.begin) / rate * r.speed;
    };
    const double at = mediaAt(w, std::min<int64_t>(heard, w.end));
    // The end of what was written of each stretch (the sound stops there), and the next
    // stretch's start: a loop-back or seek already written is heard when the output
    // reaches its first byte, which the display can then switch to on time.
    const auto endOf = [&](int ofEpoch, size_t from) {
        double stretchEnd = 0;
        for (size_t i = from; i < written.size(); ++i)
            if (written[i].epoch == ofEpoch)
                stretchEnd = mediaAt(written[i], written[i].end);
        return stretchEnd;
    };
    media::HeardStretch next;
    for (size_t i = 1; i < written.size(); ++i) {
        if (written[i].epoch != w.epoch) {
            next = {written[i].seconds, endOf(written[i].epoch, i),
                    double(written[i].begin - heard) / rate, written[i].speed, written[i].epoch};
            break;
        }
    }
    host.publishHeard({at, endOf(w.epoch, 0), 0, w.speed, w.epoch}, next);
}

void AudioDecodeThread::dropInRealTime(int len, double seconds, double speed)
{
    // Without an output the samples are dropped, but over the time they would have
    // played: the clock then runs as it would with sound instead of racing through the
    // file at full processor load.
    const double duration = double(len) / bytesPerSecond();
    const media::EngineClock &clock = host.engineClock();
    const int64_t until = clock.nowMicroseconds() + int64_t(duration * 1e6);
    host.publishClock(seconds);
    while (!host.isStopped() && clock.nowMicroseconds() < until)
        msleep(10);
    host.publishClock(seconds + duration * speed);
}
