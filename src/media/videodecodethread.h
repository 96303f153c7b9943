#pragma once

#include "media/ffmpeg.h"
#include "media/workerthread.h"

class DecodeHost;
class PacketQueue;

// The video decode thread: takes packets from the video queue, decodes them, applies the
// loop end rule to each packet's decoding time stamp and converts every decoded picture
// into the next free slot of the picture ring, waiting while three are pending. Ends
// when its Media is stopped and the queue is empty.
class VideoDecodeThread final : public WorkerThread
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VideoDecodeThread)

public:
    VideoDecodeThread(DecodeHost &host, PacketQueue &queue, QObject *parent);
    ~VideoDecodeThread() override = default;

    // Before each start: the decoder and stream to run on, and the stream's frame rate
    // (for pictures without a time stamp). The decoder belongs to the thread while it runs.
    void setInput(AVCodecContext *codec, const AVStream *stream, AVRational frameRate);

protected:
    void run() override;

private:
    void queueDecodedFrames(AVFrame *frame, int64_t packetDts);

    DecodeHost &host;
    PacketQueue &queue;
    AVCodecContext *codec = nullptr;
    const AVStream *stream = nullptr;
    AVRational frameRate{0, 1};
    // Pictures before this time (video stream ticks) are not shown: set by the flush
    // packet of a seek, cleared by the first picture at or after it.
    int64_t skipBefore = AV_NOPTS_VALUE;
    bool afterFlush = false; // no picture shown since the last flush or the start
    // The loop end is reached and the decoder drained: packets up to the seek back are
    // dropped.
    bool pastLoopEnd = false;
    int serial = 0; // picture serial of the last flush
    int epoch = 0;  // epoch of the last flush
    // The time of the last picture and one frame's length, for pictures that carry no time.
    int64_t lastTs = AV_NOPTS_VALUE;
    int64_t frameStep = 1;
};
