#pragma once

#include "media/workerthread.h"

extern "C" {
struct AVFrame;
}

class Media;

// The video decode thread: takes packets from the video queue, decodes them, applies the
// loop end rule to each packet's decoding time stamp and converts every decoded picture
// into the next free slot of the picture ring, waiting while three are pending. Ends
// when its Media is stopped and the queue is empty.
class VideoDecodeThread final : public WorkerThread
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VideoDecodeThread)

public:
    explicit VideoDecodeThread(Media *media);
    ~VideoDecodeThread() override = default;

protected:
    void run() override;

private:
    void queueDecodedFrames(AVFrame *frame, int64_t packetDts);

    Media *media;
};
