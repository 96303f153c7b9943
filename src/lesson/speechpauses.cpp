// The pass over a lesson's sound: its audio decoded once to 16 kHz mono, a loudness
// envelope in 10 ms frames, pauses below a threshold that follows the recording's own
// noise floor and speech level, and the sentences between the pauses.
#include "lesson/sentences.h"

#include "media/audioresampler.h"
#include "media/ffmpeg.h"

#include <QFile>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace lesson {

namespace {

constexpr int analysisRate = 16000;
constexpr int framesPerSecond = 100;
constexpr int frameSamples = analysisRate / framesPerSecond;
// the shortest quiet run that is a pause, and the loud frames a pause may hold (a click)
constexpr int pauseFrames = 25;
constexpr int blipFrames = 2;
// the threshold follows the sound over this many frames around each second
constexpr int levelWindow = 12 * framesPerSecond;
constexpr double shortestSentence = 1.0;
constexpr double longestSentence = 12.0;
// a shorter stretch ("Thank you.") is a sentence of its own between two clear pauses
constexpr double shortestAlone = 0.5;
constexpr double clearPause = 0.4;
// how much of the pause a sentence keeps before and after its sound
constexpr double keepBefore = 0.10;
constexpr double keepAfter = 0.15;

// Loudness (dB of the mean square, full scale 0) and peaks of each 10 ms frame.
struct Envelope
{
    double start = 0;
    std::vector<float> db;
    std::vector<int16_t> low;
    std::vector<int16_t> high;
    double seconds() const { return double(db.size()) / framesPerSecond; }
};

// Gathers 16 kHz mono samples into frames.
class FrameAccumulator
{
public:
    explicit FrameAccumulator(Envelope &out) : env(out) {}

    void add(const int16_t *samples, int count)
    {
        for (int i = 0; i < count; ++i) {
            const int s = samples[i];
            squares += double(s) * s;
            low = std::min(low, s);
            high = std::max(high, s);
            if (++filled == frameSamples)
                flush();
        }
    }

    void flush()
    {
        if (filled == 0)
            return;
        const double meanSquare = squares / filled / (32768.0 * 32768.0);
        env.db.push_back(float(10 * std::log10(meanSquare + 1e-10)));
        env.low.push_back(int16_t(low));
        env.high.push_back(int16_t(high));
        squares = 0;
        filled = 0;
        low = 32767;
        high = -32768;
    }

private:
    Envelope &env;
    double squares = 0;
    int filled = 0;
    int low = 32767;
    int high = -32768;
};

// Decodes the first audio stream of mediaFile into an envelope; only that stream's
// packets are read and decoded. Nothing when cancelled or without sound.
std::optional<Envelope> decodeEnvelope(const QString &mediaFile, const std::atomic<bool> &cancel,
                                       const std::function<void(double)> &progress,
                                       LessonSound *sound)
{
    AVFormatContext *raw = nullptr;
    if (avformat_open_input(&raw, QFile::encodeName(mediaFile).constData(), nullptr, nullptr) < 0)
        return std::nullopt;
    const media::FormatContextPtr ctx(raw);
    int index = av_find_best_stream(ctx.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    // formats that state no audio parameters in their header need a look at the packets
    if (index < 0 || ctx->streams[index]->codecpar->sample_rate <= 0) {
        if (avformat_find_stream_info(ctx.get(), nullptr) < 0)
            return std::nullopt;
        index = av_find_best_stream(ctx.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    }
    if (index < 0)
        return std::nullopt;
    AVStream *stream = ctx->streams[index];
    for (unsigned i = 0; i < ctx->nb_streams; ++i)
        ctx->streams[i]->discard = int(i) == index ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    const AVCodec *codec = avcodec_find_decoder(stream->codecpar->codec_id);
    const media::CodecContextPtr dec(avcodec_alloc_context3(codec));
    if (!codec || !dec || avcodec_parameters_to_context(dec.get(), stream->codecpar) < 0)
        return std::nullopt;
    dec->pkt_timebase = stream->time_base;
    dec->thread_count = 1;
    if (avcodec_open2(dec.get(), codec, nullptr) < 0)
        return std::nullopt;

    Envelope env;
    if (stream->start_time != AV_NOPTS_VALUE)
        env.start = media::toSeconds(stream->start_time, stream->time_base);
    else if (ctx->start_time != AV_NOPTS_VALUE)
        env.start = double(ctx->start_time) / AV_TIME_BASE;
    double duration = 0;
    if (stream->duration > 0)
        duration = media::toSeconds(stream->duration, stream->time_base);
    else if (ctx->duration > 0)
        duration = double(ctx->duration) / AV_TIME_BASE;
    if (duration > 0)
        env.db.reserve(size_t(duration * framesPerSecond) + 1);
    if (sound) {
        sound->start = env.start;
        sound->samples.clear();
        if (duration > 0)
            sound->samples.reserve(size_t(duration * analysisRate) + analysisRate);
    }
    env.low.reserve(env.db.capacity());
    env.high.reserve(env.db.capacity());

    AudioResampler resampler;
    resampler.setOutput(analysisRate, 1);
    FrameAccumulator frames(env);
    std::vector<uint8_t> out(size_t(analysisRate) * 2);
    const auto convert = [&](const AVFrame *frame) {
        int bytes = 0;
        do {
            bytes = resampler.convert(frame, out.data(), int(out.size()));
            if (bytes > 0) {
                const auto *samples = reinterpret_cast<const int16_t *>(out.data());
                frames.add(samples, bytes / 2);
                if (sound)
                    sound->samples.insert(sound->samples.end(), samples, samples + bytes / 2);
            }
            frame = nullptr;
        } while (bytes == int(out.size()));
    };

    using Clock = std::chrono::steady_clock;
    auto lastReport = Clock::now();
    const media::PacketPtr pkt = media::allocPacket();
    const media::FramePtr frame = media::allocFrame();
    const auto drain = [&] {
        while (avcodec_receive_frame(dec.get(), frame.get()) >= 0) {
            convert(frame.get());
            av_frame_unref(frame.get());
        }
    };
    bool more = true;
    while (more) {
        // checked for every packet: a few tens of milliseconds of sound
        if (cancel.load(std::memory_order_relaxed))
            return std::nullopt;
        more = av_read_frame(ctx.get(), pkt.get()) >= 0;
        if (more && pkt->stream_index != index) {
            av_packet_unref(pkt.get());
            continue;
        }
        // a damaged packet is refused; the sound goes on after it
        avcodec_send_packet(dec.get(), more ? pkt.get() : nullptr);
        av_packet_unref(pkt.get());
        drain();
        const auto now = Clock::now();
        if (progress && duration > 0 && now - lastReport >= std::chrono::milliseconds(50)) {
            lastReport = now;
            progress(std::clamp(env.seconds() / duration, 0.0, 1.0));
        }
    }
    convert(nullptr);
    frames.flush();
    if (env.db.empty())
        return std::nullopt;
    return env;
}

// The loudness below which a frame is quiet, for each frame: a fraction of the way from
// the noise floor to the speech level of the frames around it.
std::vector<float> quietThresholds(const std::vector<float> &db)
{
    std::vector<float> thresholds(db.size());
    std::vector<float> window;
    for (size_t block = 0; block < db.size(); block += framesPerSecond) {
        const size_t from = block > levelWindow / 2 ? block - levelWindow / 2 : 0;
        const size_t to = std::min(db.size(), block + framesPerSecond + levelWindow / 2);
        window.assign(db.begin() + qsizetype(from), db.begin() + qsizetype(to));
        const auto at = [&](double fraction) {
            const auto nth = window.begin() + qsizetype(fraction * double(window.size() - 1));
            std::nth_element(window.begin(), nth, window.end());
            return *nth;
        };
        const float floor = at(0.05);
        const float speech = at(0.90);
        const float threshold = std::max(floor + 6.0f, floor + 0.3f * (speech - floor));
        std::fill(thresholds.begin() + qsizetype(block),
                  thresholds.begin() + qsizetype(std::min(db.size(), block + framesPerSecond)),
                  threshold);
    }
    return thresholds;
}

// Runs of quiet frames at least a pause long, a click inside one not breaking it.
std::vector<Pause> findPauses(const Envelope &env)
{
    const std::vector<float> thresholds = quietThresholds(env.db);
    const size_t n = env.db.size();
    std::vector<Pause> pauses;
    size_t runStart = 0;
    size_t lastQuiet = 0;
    bool inRun = false;
    const auto close = [&] {
        if (inRun && lastQuiet + 1 - runStart >= pauseFrames)
            pauses.push_back({env.start + double(runStart) / framesPerSecond,
                              env.start + double(lastQuiet + 1) / framesPerSecond});
        inRun = false;
    };
    for (size_t i = 0; i < n; ++i) {
        if (env.db[i] >= thresholds[i]) {
            if (inRun && i - lastQuiet > blipFrames)
                close();
            continue;
        }
        if (!inRun) {
            inRun = true;
            runStart = i;
        }
        lastQuiet = i;
    }
    close();
    return pauses;
}

// The sound of one sentence: from the end of the pause before it to the start of the next.
struct Span
{
    double soundStart;
    double soundEnd;
    double length() const { return soundEnd - soundStart; }
};

// The quietest point of [from, to] of the envelope, averaged over 200 ms so that a longer
// dip wins over a single quiet frame.
double deepestDip(const Envelope &env, double from, double to)
{
    constexpr int smooth = 20;
    const auto frameAt = [&](double t) {
        return size_t(std::clamp((t - env.start) * framesPerSecond, 0.0, double(env.db.size())));
    };
    const size_t first = frameAt(from);
    const size_t last = frameAt(to);
    double best = first;
    double bestLevel = HUGE_VAL;
    double sum = 0;
    for (size_t i = first; i < last; ++i) {
        sum += env.db[i];
        if (i >= first + smooth)
            sum -= env.db[i - smooth];
        if (i + 1 >= first + smooth && sum < bestLevel) {
            bestLevel = sum;
            best = double(i + 1) - smooth / 2.0;
        }
    }
    return env.start + best / framesPerSecond;
}

// The sentences between the pauses: long ones split at their deepest dip, short ones
// joined to the neighbour across the shorter pause unless clear pauses set them apart.
std::vector<Sentence> sentencesBetween(const Envelope &env, const std::vector<Pause> &pauses)
{
    const double end = env.start + env.seconds();
    std::vector<Span> spans;
    double from = env.start;
    for (const Pause &p : pauses) {
        if (p.start > from)
            spans.push_back({from, p.start});
        from = p.end;
    }
    if (end > from)
        spans.push_back({from, end});

    for (size_t i = 0; i < spans.size(); ++i) {
        while (spans[i].length() > longestSentence) {
            const double at = deepestDip(env, spans[i].soundStart + shortestSentence,
                                         spans[i].soundEnd - shortestSentence);
            spans.insert(spans.begin() + qsizetype(i) + 1, {at, spans[i].soundEnd});
            spans[i].soundEnd = at;
        }
    }

    const auto fits = [&](size_t a) { // spans a and a + 1 joined
        return spans[a + 1].soundEnd - spans[a].soundStart <= longestSentence;
    };
    const auto gapAfter = [&](size_t a) { return spans[a + 1].soundStart - spans[a].soundEnd; };
    // the recording's own quiet start and end count as pauses too
    const auto standsAlone = [&](size_t a) {
        const double before = a == 0 ? spans[a].soundStart - env.start : gapAfter(a - 1);
        const double after = a + 1 == spans.size() ? end - spans[a].soundEnd : gapAfter(a);
        return spans[a].length() >= shortestAlone && before >= clearPause && after >= clearPause;
    };
    for (size_t i = 0; i < spans.size();) {
        if (spans[i].length() >= shortestSentence || standsAlone(i)) {
            ++i;
            continue;
        }
        const bool left = i > 0 && fits(i - 1);
        const bool right = i + 1 < spans.size() && fits(i);
        if (!left && !right) {
            ++i;
            continue;
        }
        const size_t a = left && (!right || gapAfter(i - 1) <= gapAfter(i)) ? i - 1 : i;
        spans[a].soundEnd = spans[a + 1].soundEnd;
        spans.erase(spans.begin() + qsizetype(a) + 1);
        i = a;
    }

    // boundaries at the middle of each pause; a sentence keeps a little of it
    const double leadIn = pauses.empty() || pauses.front().start > env.start
                              ? env.start
                              : (pauses.front().start + pauses.front().end) / 2;
    const double tail = pauses.empty() || pauses.back().end < end
                            ? end
                            : (pauses.back().start + pauses.back().end) / 2;
    std::vector<Sentence> sentences;
    for (size_t i = 0; i < spans.size(); ++i) {
        const double before = i == 0 ? leadIn : (spans[i - 1].soundEnd + spans[i].soundStart) / 2;
        const double after =
            i + 1 == spans.size() ? tail : (spans[i].soundEnd + spans[i + 1].soundStart) / 2;
        sentences.push_back({std::max(before, spans[i].soundStart - keepBefore),
                             std::min(after, spans[i].soundEnd + keepAfter),
                             {}});
    }
    return sentences;
}

} // namespace

std::optional<SpeechAnalysis> analyseSpeech(const QString &mediaFile,
                                            const std::atomic<bool> &cancel,
                                            const std::function<void(double)> &progress,
                                            LessonSound *sound)
{
    std::optional<Envelope> env = decodeEnvelope(mediaFile, cancel, progress, sound);
    if (!env)
        return std::nullopt;
    SpeechAnalysis analysis;
    analysis.pauses = findPauses(*env);
    analysis.sentences.source = SentenceSource::SpeechPauses;
    analysis.sentences.origin = mediaFile;
    analysis.sentences.items = sentencesBetween(*env, analysis.pauses);
    analysis.peaks.start = env->start;
    analysis.peaks.perSecond = framesPerSecond;
    analysis.peaks.low = std::move(env->low);
    analysis.peaks.high = std::move(env->high);
    if (progress)
        progress(1.0);
    return analysis;
}

} // namespace lesson
