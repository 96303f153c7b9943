#include "media/audioresampler.h"

AudioResampler::~AudioResampler()
{
    swr_free(&swr);
    av_channel_layout_uninit(&inLayout);
}

void AudioResampler::setOutput(int rate, int channels)
{
    if (rate == outRate && channels == outChannels)
        return;
    outRate = rate;
    outChannels = channels;
    swr_free(&swr); // rebuilt for the next frame
}

bool AudioResampler::matches(const AVFrame *frame) const
{
    return swr && frame->sample_rate == inRate && frame->format == inFormat &&
           av_channel_layout_compare(&frame->ch_layout, &inLayout) == 0;
}

bool AudioResampler::rebuild(const AVFrame *frame)
{
    swr_free(&swr);
    av_channel_layout_uninit(&inLayout);
    AVChannelLayout in{};
    if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&in, frame->ch_layout.nb_channels);
    else if (av_channel_layout_copy(&in, &frame->ch_layout) < 0)
        return false;
    AVChannelLayout out{};
    av_channel_layout_default(&out, outChannels);
    const int err =
        swr_alloc_set_opts2(&swr, &out, AV_SAMPLE_FMT_S16, outRate, &in,
                            AVSampleFormat(frame->format), frame->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&in);
    av_channel_layout_uninit(&out);
    if (err < 0 || swr_init(swr) < 0) {
        swr_free(&swr);
        return false;
    }
    av_channel_layout_copy(&inLayout, &frame->ch_layout);
    inRate = frame->sample_rate;
    inFormat = frame->format;
    return true;
}

int AudioResampler::convert(const AVFrame *frame, uint8_t *out, int capacity)
{
    if (frame && !matches(frame) && !rebuild(frame))
        return -1;
    if (!swr)
        return 0;
    const int frames = capacity / bytesPerFrame();
    uint8_t *outPlanes[1] = {out};
    const int got =
        swr_convert(swr, outPlanes, frames,
                    frame ? const_cast<const uint8_t **>(frame->extended_data) : nullptr,
                    frame ? frame->nb_samples : 0);
    return got < 0 ? -1 : got * bytesPerFrame();
}
