#pragma once

// RAII holders for the FFmpeg objects the engine keeps, so that every error path
// releases them, and the few FFmpeg includes the engine needs.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libavutil/imgutils.h>
#include <libavutil/time.h>
#include <libswscale/swscale.h>
}

#include <limits>
#include <memory>

namespace media {

struct FormatContextDeleter
{
    void operator()(AVFormatContext *ctx) const { avformat_close_input(&ctx); }
};
struct CodecContextDeleter
{
    void operator()(AVCodecContext *ctx) const { avcodec_free_context(&ctx); }
};
struct PacketDeleter
{
    void operator()(AVPacket *pkt) const { av_packet_free(&pkt); }
};
struct FrameDeleter
{
    void operator()(AVFrame *frame) const { av_frame_free(&frame); }
};
struct SwsContextDeleter
{
    void operator()(SwsContext *ctx) const { sws_freeContext(ctx); }
};
struct AvFreeDeleter
{
    void operator()(void *p) const { av_free(p); }
};
// FFmpeg may have replaced the buffer the context was made with, so the context's own goes.
struct IoContextDeleter
{
    void operator()(AVIOContext *ctx) const
    {
        av_freep(&ctx->buffer);
        avio_context_free(&ctx);
    }
};

using FormatContextPtr = std::unique_ptr<AVFormatContext, FormatContextDeleter>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextDeleter>;
using PacketPtr = std::unique_ptr<AVPacket, PacketDeleter>;
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;
using SwsContextPtr = std::unique_ptr<SwsContext, SwsContextDeleter>;
using IoContextPtr = std::unique_ptr<AVIOContext, IoContextDeleter>;
template <typename T> using AvBufferPtr = std::unique_ptr<T, AvFreeDeleter>;

// The loop end of an input that does not state its length: no end before the input's own.
inline constexpr int64_t unknownEnd = std::numeric_limits<int64_t>::max();

// A tick count of time base tb in seconds.
inline double toSeconds(int64_t ticks, AVRational tb)
{
    return double(ticks) * tb.num / tb.den;
}

// av_packet_alloc / av_frame_alloc that report exhaustion through Qt's handler.
PacketPtr allocPacket();
FramePtr allocFrame();

} // namespace media
