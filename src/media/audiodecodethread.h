#pragma once

#include "media/audioresampler.h"
#include "media/ffmpeg.h"
#include "media/workerthread.h"

class Media;

// The audio decode thread: takes packets from the audio queue, keeps the audio clock,
// applies the loop end rule when the file has no video, decodes and converts to 16-bit
// PCM in one fixed buffer and pushes it into the process-wide IAudio, holding back while
// it is more than half a second ahead of the picture on screen. Ends when its Media is
// stopped and the queue is empty.
class AudioDecodeThread final : public WorkerThread
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AudioDecodeThread)

public:
    explicit AudioDecodeThread(Media *media);
    ~AudioDecodeThread() override = default;

    static constexpr int sampleBufferSize = 288000;

protected:
    void run() override;

private:
    void decodeAndPush(const AVPacket *packet, AVFrame *frame);
    // Pushes len bytes of the sample buffer; gives up when the Media stops, and drops
    // them when there is no output to play them.
    void push(int len);
    void dropInRealTime(int len);
    // How many output samples of frame lie before the seek target.
    int64_t samplesBeforeTarget(const AVFrame *frame);

    Media *media;
    media::AvBufferPtr<uint8_t> samples;
    AudioResampler resampler;
    // Samples before this time (audio stream ticks) are not played: set by the flush
    // packet of a seek, cleared by the first frame that reaches it.
    int64_t skipBefore = AV_NOPTS_VALUE;
};
