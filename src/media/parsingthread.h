#pragma once

#include "media/workerthread.h"

class Media;

// The demux thread: alone reads the input of its Media and distributes packets to the
// audio and video queues, carries out seek requests (flushing both queues), passes
// pause and resume on to the demuxer, throttles itself while the queues are full and,
// at the end of the input, queues an end sentinel stamped with the loop end mark.
// Ends when the Media is stopped or the input reports an I/O error.
class ParsingThread final : public WorkerThread
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ParsingThread)

public:
    explicit ParsingThread(Media *media);
    ~ParsingThread() override = default;

    // Payload bytes above which the demux thread stops reading.
    static constexpr int maxVideoQueueBytes = 1310720;
    static constexpr int maxAudioQueueBytes = 81920;

protected:
    void run() override;

private:
    void doSeek(bool &endOfInput);
    void queueEndSentinel();

    Media *media;
    // At the end of the input after a refused loop-back seek: no more end sentinels until
    // a seek succeeds. Demux thread only.
    bool holdAtEnd = false;
};
