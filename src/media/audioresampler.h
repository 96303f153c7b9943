#pragma once

#include "media/ffmpeg.h"

extern "C" {
#include <libswresample/swresample.h>
}

// Converts decoded audio frames, in whatever sample format, layout and rate the decoder
// gives, to interleaved signed 16-bit samples at the output's rate and channel count.
// The converter is made once per stream and rebuilt only when the decoder's format
// changes midway (a concatenated file, a new programme). One thread uses it.
class AudioResampler final
{
public:
    AudioResampler() = default;
    ~AudioResampler();
    AudioResampler(const AudioResampler &) = delete;
    AudioResampler &operator=(const AudioResampler &) = delete;

    void setOutput(int rate, int channels);
    int outputRate() const { return outRate; }
    int outputChannels() const { return outChannels; }
    int bytesPerFrame() const { return 2 * outChannels; }

    // Converts frame into out (capacity bytes), returning the bytes written or -1 when
    // the frame cannot be converted. A converter that changes the rate may keep samples
    // back; convert(nullptr, ...) hands them out, and is worth calling again while it
    // fills the whole capacity.
    int convert(const AVFrame *frame, uint8_t *out, int capacity);

private:
    bool matches(const AVFrame *frame) const;
    bool rebuild(const AVFrame *frame);

    SwrContext *swr = nullptr;
    AVChannelLayout inLayout{};
    int inRate = 0;
    int inFormat = AV_SAMPLE_FMT_NONE;
    int outRate = 48000;
    int outChannels = 2;
};
