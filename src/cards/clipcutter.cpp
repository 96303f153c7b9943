#include "cards/clipcutter.h"

#include "media/audioresampler.h"
#include "media/ffmpeg.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace cards {

namespace {

// How far before a stretch the decoding begins after a seek: a compressed audio frame leans
// on the one before it, so the first frames after a seek are not yet the sound.
constexpr double preroll = 0.5;

// An output file's context with the file it opened.
struct OutputDeleter
{
    void operator()(AVFormatContext *ctx) const
    {
        if (ctx->pb)
            avio_closep(&ctx->pb);
        avformat_free_context(ctx);
    }
};
using OutputPtr = std::unique_ptr<AVFormatContext, OutputDeleter>;

QString ffmpegError(int err)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(err, text, sizeof text);
    return QString::fromUtf8(text);
}

enum class Decoded
{
    Done,
    // the seek landed after the stretch's start
    Late,
    Cancelled,
    Failed,
};

} // namespace

struct ClipCutter::Input
{
    media::FormatContextPtr ctx;
    media::CodecContextPtr dec;
    int index = -1;
    AVRational timeBase{1, 1};
    double streamStart = 0;

    // Decodes the stretch from start to end seconds into pcm, mono at clipRate: seeks near
    // start, or to the stream's beginning with fromBeginning.
    Decoded decode(double start, double end, bool fromBeginning, const std::atomic<bool> &cancel,
                   std::vector<int16_t> &pcm);
};

Decoded ClipCutter::Input::decode(double start, double end, bool fromBeginning,
                                  const std::atomic<bool> &cancel, std::vector<int16_t> &pcm)
{
    pcm.clear();
    fromBeginning = fromBeginning || start - preroll <= streamStart;
    const double target = fromBeginning ? streamStart : std::max(streamStart, start - preroll);
    const auto ts = int64_t(std::floor(target * timeBase.den / timeBase.num));
    if (av_seek_frame(ctx.get(), index, ts, AVSEEK_FLAG_BACKWARD) < 0)
        return fromBeginning ? Decoded::Failed : Decoded::Late;
    avcodec_flush_buffers(dec.get());

    // samples are counted on the lesson's clock at clipRate: the stretch is [first, last)
    const int64_t first = std::llround(start * clipRate);
    const int64_t last = std::llround(end * clipRate);
    pcm.reserve(size_t(std::max<int64_t>(0, last - first)));
    int64_t next = 0; // the clock's sample the resampler gives next
    bool started = false;
    AudioResampler resampler;
    resampler.setOutput(clipRate, 1);
    std::vector<int16_t> out(clipRate / 10);
    const int capacity = int(out.size() * sizeof(int16_t));
    const auto take = [&](const AVFrame *frame) {
        int bytes = 0;
        do {
            bytes = resampler.convert(frame, reinterpret_cast<uint8_t *>(out.data()), capacity);
            const int64_t count = std::max(bytes, 0) / int(sizeof(int16_t));
            const int64_t from = std::clamp(first - next, int64_t(0), count);
            const int64_t to = std::clamp(last - next, int64_t(0), count);
            if (from < to)
                pcm.insert(pcm.end(), out.begin() + from, out.begin() + to);
            next += count;
            frame = nullptr;
        } while (bytes == capacity);
    };

    const media::PacketPtr pkt = media::allocPacket();
    const media::FramePtr frame = media::allocFrame();
    bool more = true;
    while (more && (!started || next < last)) {
        // checked for every packet: a few tens of milliseconds of sound
        if (cancel.load(std::memory_order_relaxed))
            return Decoded::Cancelled;
        more = av_read_frame(ctx.get(), pkt.get()) >= 0;
        if (more && pkt->stream_index != index) {
            av_packet_unref(pkt.get());
            continue;
        }
        // a damaged packet is refused; the sound goes on after it
        avcodec_send_packet(dec.get(), more ? pkt.get() : nullptr);
        av_packet_unref(pkt.get());
        while (avcodec_receive_frame(dec.get(), frame.get()) >= 0) {
            if (!started && frame->best_effort_timestamp != AV_NOPTS_VALUE) {
                started = true;
                next = std::llround(media::toSeconds(frame->best_effort_timestamp, timeBase) *
                                    clipRate);
                if (!fromBeginning && next > first)
                    return Decoded::Late;
            }
            if (started)
                take(frame.get());
            av_frame_unref(frame.get());
        }
    }
    if (!more && started)
        take(nullptr);
    return pcm.empty() ? Decoded::Failed : Decoded::Done;
}

namespace {

// Encodes count mono samples at clipRate to an MP3 file at clipBitRate; the FFmpeg error
// when it cannot.
int writeMp3(const int16_t *pcm, size_t count, const QString &file)
{
    constexpr int rate = ClipCutter::clipRate;
    const AVCodec *codec = avcodec_find_encoder(AV_CODEC_ID_MP3);
    const media::CodecContextPtr enc(codec ? avcodec_alloc_context3(codec) : nullptr);
    if (!enc)
        return AVERROR_ENCODER_NOT_FOUND;
    enc->sample_fmt = AV_SAMPLE_FMT_S16P; // mono: the samples as they are
    enc->sample_rate = rate;
    av_channel_layout_default(&enc->ch_layout, 1);
    enc->bit_rate = ClipCutter::clipBitRate;
    enc->time_base = AVRational{1, rate};
    AVFormatContext *raw = nullptr;
    int rc = avformat_alloc_output_context2(&raw, nullptr, "mp3", nullptr);
    const OutputPtr out(raw);
    if (rc < 0)
        return rc;
    if ((rc = avcodec_open2(enc.get(), codec, nullptr)) < 0)
        return rc;
    AVStream *stream = avformat_new_stream(out.get(), nullptr);
    if (!stream)
        return AVERROR(ENOMEM);
    stream->time_base = enc->time_base;
    if ((rc = avcodec_parameters_from_context(stream->codecpar, enc.get())) < 0 ||
        (rc = avio_open(&out->pb, QFile::encodeName(file).constData(), AVIO_FLAG_WRITE)) < 0 ||
        (rc = avformat_write_header(out.get(), nullptr)) < 0)
        return rc;

    const media::PacketPtr pkt = media::allocPacket();
    const media::FramePtr frame = media::allocFrame();
    const auto send = [&](const AVFrame *f) {
        int err = avcodec_send_frame(enc.get(), f);
        while (err >= 0) {
            err = avcodec_receive_packet(enc.get(), pkt.get());
            if (err == AVERROR(EAGAIN) || err == AVERROR_EOF)
                return 0;
            if (err < 0)
                break;
            av_packet_rescale_ts(pkt.get(), enc->time_base, stream->time_base);
            pkt->stream_index = stream->index;
            err = av_interleaved_write_frame(out.get(), pkt.get());
        }
        return err;
    };
    const auto frameSize = size_t(enc->frame_size);
    for (size_t at = 0; at < count; at += frameSize) {
        const size_t n = std::min(frameSize, count - at);
        av_frame_unref(frame.get());
        frame->format = enc->sample_fmt;
        frame->sample_rate = rate;
        frame->nb_samples = int(n);
        frame->pts = int64_t(at);
        if ((rc = av_channel_layout_copy(&frame->ch_layout, &enc->ch_layout)) < 0 ||
            (rc = av_frame_get_buffer(frame.get(), 0)) < 0)
            return rc;
        std::memcpy(frame->data[0], pcm + at, n * sizeof(int16_t));
        if ((rc = send(frame.get())) < 0)
            return rc;
    }
    if ((rc = send(nullptr)) < 0 || (rc = av_write_trailer(out.get())) < 0 ||
        (rc = avio_closep(&out->pb)) < 0)
        return rc;
    return 0;
}

// count mono samples at rate, resampled to clipRate into pcm; the FFmpeg error when they
// cannot be.
int resampled(const int16_t *samples, int count, int rate, std::vector<int16_t> &pcm)
{
    if (rate <= 0 || count <= 0)
        return AVERROR(EINVAL);
    const media::FramePtr frame = media::allocFrame();
    frame->format = AV_SAMPLE_FMT_S16;
    frame->sample_rate = rate;
    frame->nb_samples = count;
    av_channel_layout_default(&frame->ch_layout, 1);
    if (const int rc = av_frame_get_buffer(frame.get(), 0); rc < 0)
        return rc;
    std::memcpy(frame->data[0], samples, size_t(count) * sizeof(int16_t));
    AudioResampler resampler;
    resampler.setOutput(ClipCutter::clipRate, 1);
    pcm.resize(size_t(std::llround(double(count) * ClipCutter::clipRate / rate)) + 4096);
    size_t got = 0;
    const AVFrame *in = frame.get();
    int bytes = 0;
    // the converter keeps samples back until it is flushed
    do {
        const int capacity = int((pcm.size() - got) * sizeof(int16_t));
        bytes = resampler.convert(in, reinterpret_cast<uint8_t *>(pcm.data() + got), capacity);
        if (bytes < 0)
            return AVERROR(EINVAL);
        got += size_t(bytes) / sizeof(int16_t);
        if (got == pcm.size())
            pcm.resize(pcm.size() * 2);
        in = nullptr;
    } while (bytes > 0);
    pcm.resize(got);
    return 0;
}

} // namespace

ClipCutter::ClipCutter(const QString &lessonFile)
{
    AVFormatContext *raw = nullptr;
    if (avformat_open_input(&raw, QFile::encodeName(lessonFile).constData(), nullptr, nullptr) < 0)
        return;
    auto input = std::make_unique<Input>();
    input->ctx.reset(raw);
    AVFormatContext *ctx = raw;
    if (avformat_find_stream_info(ctx, nullptr) < 0)
        return;
    input->index = av_find_best_stream(ctx, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (input->index < 0)
        return;
    AVStream *stream = ctx->streams[input->index];
    for (unsigned i = 0; i < ctx->nb_streams; ++i)
        ctx->streams[i]->discard = int(i) == input->index ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    const AVCodec *codec = avcodec_find_decoder(stream->codecpar->codec_id);
    input->dec.reset(codec ? avcodec_alloc_context3(codec) : nullptr);
    if (!input->dec || avcodec_parameters_to_context(input->dec.get(), stream->codecpar) < 0)
        return;
    input->dec->pkt_timebase = stream->time_base;
    input->dec->thread_count = 1;
    if (avcodec_open2(input->dec.get(), codec, nullptr) < 0)
        return;
    input->timeBase = stream->time_base;
    // the lesson's clock counts from the stream's own start, as the sentences do
    if (stream->start_time != AV_NOPTS_VALUE)
        input->streamStart = media::toSeconds(stream->start_time, stream->time_base);
    else if (ctx->start_time != AV_NOPTS_VALUE)
        input->streamStart = double(ctx->start_time) / AV_TIME_BASE;
    in = std::move(input);
}

ClipCutter::~ClipCutter() = default;

ClipCutter::Cut ClipCutter::cut(double start, double end, const QString &file,
                                const std::atomic<bool> &cancel, QString *why)
{
    std::vector<int16_t> pcm;
    Decoded decoded = in ? in->decode(start, end, false, cancel, pcm) : Decoded::Failed;
    // a seek that lands late (a file without an index) is made good by decoding from the
    // beginning
    if (decoded == Decoded::Late)
        decoded = in->decode(start, end, true, cancel, pcm);
    if (decoded == Decoded::Cancelled)
        return Cut::Cancelled;
    if (decoded != Decoded::Done)
        return Cut::NoSound;
    return encodeMp3(pcm.data(), int(pcm.size()), clipRate, file, why) ? Cut::Written : Cut::Failed;
}

bool encodeMp3(const int16_t *samples, int count, int rate, const QString &file, QString *why)
{
    std::vector<int16_t> pcm;
    int rc = 0;
    if (rate != ClipCutter::clipRate) {
        rc = resampled(samples, count, rate, pcm);
        samples = pcm.data();
        count = int(pcm.size());
    }
    if (rc == 0)
        rc = writeMp3(samples, size_t(count), file);
    if (rc == 0)
        return true;
    QFile::remove(file);
    *why = ClipCutter::tr("Cannot write the sound clip %1: %2")
               .arg(QDir::toNativeSeparators(file), ffmpegError(rc));
    return false;
}

} // namespace cards
