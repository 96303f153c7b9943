#pragma once

#include "media/workerthread.h"

#include <cstdint>

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

    // How far before its target a seek looks for a video key frame at most; further
    // back, decoding starts at whatever video packet comes first.
    static constexpr int64_t maxSeekMarginSeconds = 64;

protected:
    void run() override;

private:
    void doSeek(bool &endOfInput);
    // Seeks the input to a place at or before ts (stream ticks of the reference stream).
    bool seekInput(int64_t ts, int flags);
    // Queues the flush packets of a seek; the decoders drop what lies before skipBefore.
    void flushQueues(int64_t skipBefore);
    // Seeks so that video decoding starts at a key frame at or before target; false when
    // the input refuses the seek (then endOfInput and the queues stay as they were).
    bool seekVideoKeyFrame(int64_t target, bool &endOfInput);
    // After a seek: reads on, queuing audio and dropping video, up to the first video key
    // frame (with acceptAny, the first video packet), which it queues. False when a video
    // packet decoded after target, or the end of the input, comes first.
    bool readToKeyFrame(int64_t target, bool acceptAny, bool &endOfInput);
    void queueEndSentinel();

    Media *media;
    // At the end of the input after a refused loop-back seek: no more end sentinels until
    // a seek succeeds. Demux thread only.
    bool holdAtEnd = false;
};
