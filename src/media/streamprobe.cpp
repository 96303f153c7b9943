#include "media/streamprobe.h"

#include "media/picturering.h"

#include <algorithm>
#include <thread>

#include <sys/stat.h>

namespace media {

ChosenStreams chooseStreams(AVFormatContext *input)
{
    ChosenStreams chosen;
    int videoCandidate = -1;
    int audioCandidate = -1;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream *st = input->streams[i];
        const AVMediaType type = st->codecpar->codec_type;
        const bool cover = st->disposition & AV_DISPOSITION_ATTACHED_PIC;
        if (type == AVMEDIA_TYPE_VIDEO && videoCandidate < 0 && !cover)
            videoCandidate = int(i);
        else if (type == AVMEDIA_TYPE_VIDEO && cover && chosen.coverArt.isNull())
            chosen.coverArt = decodeCoverArt(st);
        else if (type == AVMEDIA_TYPE_AUDIO && audioCandidate < 0)
            audioCandidate = int(i);
    }
    if (audioCandidate >= 0) {
        chosen.audioCodec = openDecoder(input->streams[audioCandidate]);
        if (chosen.audioCodec) {
            chosen.audioIndex = audioCandidate;
            chosen.audioStream = input->streams[audioCandidate];
        }
    }
    if (videoCandidate >= 0) {
        CodecContextPtr video = openDecoder(input->streams[videoCandidate]);
        // a file whose pictures cannot be shown plays as sound
        chosen.picturesUnusable =
            video && !PictureRing::convertible(video->width, video->height, video->pix_fmt, true);
        if (video && !chosen.picturesUnusable) {
            chosen.videoCodec = std::move(video);
            chosen.videoIndex = videoCandidate;
            chosen.videoStream = input->streams[videoCandidate];
            chosen.coverArt = QImage(); // a film shows its own pictures
        }
    }
    return chosen;
}

CodecContextPtr openDecoder(const AVStream *st)
{
    const AVCodec *codec = avcodec_find_decoder(st->codecpar->codec_id);
    if (!codec)
        return nullptr;
    CodecContextPtr ctx(avcodec_alloc_context3(codec));
    if (!ctx)
        qBadAlloc();
    if (avcodec_parameters_to_context(ctx.get(), st->codecpar) < 0)
        return nullptr;
    ctx->pkt_timebase = st->time_base;
    if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
        // Decoding on a few threads halves the time a seek or loop-back spends decoding
        // from the key frame up to its target; more threads would add more frames of delay.
        ctx->thread_count = int(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
        ctx->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    }
    if (avcodec_open2(ctx.get(), codec, nullptr) < 0)
        return nullptr;
    return ctx;
}

QImage decodeCoverArt(const AVStream *st)
{
    const AVPacket &pic = st->attached_pic;
    const AVCodec *codec = avcodec_find_decoder(st->codecpar->codec_id);
    if (!codec || pic.size <= 0)
        return {};
    CodecContextPtr ctx(avcodec_alloc_context3(codec));
    if (!ctx)
        qBadAlloc();
    if (avcodec_parameters_to_context(ctx.get(), st->codecpar) < 0 ||
        avcodec_open2(ctx.get(), codec, nullptr) < 0)
        return {};
    FramePtr frame = allocFrame();
    if (avcodec_send_packet(ctx.get(), &pic) < 0 || avcodec_send_packet(ctx.get(), nullptr) < 0 ||
        avcodec_receive_frame(ctx.get(), frame.get()) < 0)
        return {};
    const int w = frame->width;
    const int h = frame->height;
    const auto format = AVPixelFormat(frame->format);
    // a damaged picture may state any size or format: only what converts safely is shown
    if (!PictureRing::convertible(w, h, format, false))
        return {};
    SwsContextPtr sws(sws_getContext(w, h, format, w, h, AV_PIX_FMT_RGB32, SWS_BILINEAR, nullptr,
                                     nullptr, nullptr));
    if (!sws)
        return {};
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    uint8_t *const dst[4] = {image.bits(), nullptr, nullptr, nullptr};
    const int dstLinesize[4] = {int(image.bytesPerLine()), 0, 0, 0};
    sws_scale(sws.get(), frame->data, frame->linesize, 0, h, dst, dstLinesize);
    return image;
}

float displayAspectRatio(const AVStream *video, const AVCodecContext *decoder)
{
    if (!decoder || decoder->height == 0)
        return 1.0f;
    AVRational sar = video->sample_aspect_ratio;
    if (sar.num == 0)
        sar = decoder->sample_aspect_ratio;
    float ratio = sar.num != 0 && sar.den != 0 ? float(av_q2d(sar)) : 1.0f;
    if (!(ratio > 0))
        ratio = 1.0f;
    return float(decoder->width) / float(decoder->height) * ratio;
}

int64_t streamStart(const AVStream *st)
{
    return st->start_time == AV_NOPTS_VALUE ? 0 : st->start_time;
}

int64_t streamLength(const AVFormatContext *input, const AVStream *st)
{
    if (st->duration != AV_NOPTS_VALUE)
        return st->duration;
    if (input->duration == AV_NOPTS_VALUE)
        return 0;
    return int64_t(double(input->duration) / 1000000.0 * st->time_base.den / st->time_base.num);
}

int64_t shortestLoopTicks(AVFormatContext *input, AVStream *video, AVRational tb)
{
    const AVRational frameRate =
        video ? av_guess_frame_rate(input, video, nullptr) : AVRational{0, 1};
    if (frameRate.num > 0 && frameRate.den > 0)
        return std::max<int64_t>(1, av_rescale_q_rnd(1, av_inv_q(frameRate), tb, AV_ROUND_UP));
    return av_rescale_q(100000, AVRational{1, 1000000}, tb);
}

std::optional<FileStamp> stampOf(const QByteArray &path)
{
    struct stat st = {};
    if (stat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return FileStamp{st.st_dev, st.st_ino, st.st_size,
                     st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
}

} // namespace media
