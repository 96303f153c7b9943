#pragma once

#include "media/ffmpeg.h"
#include "media/packetqueue.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstdint>

// What the demux thread reads of the playback it works for: whether it stops or pauses,
// the loop marks, which decoders exist, and the reference stream's time. Any thread.
class DemuxHost
{
public:
    virtual bool isStopped() const = 0;
    virtual bool isPaused() const = 0;
    virtual int64_t markIn() const = 0;
    virtual int64_t markOut() const = 0;
    virtual bool hasVideo() const = 0;
    virtual bool hasAudio() const = 0;
    virtual int64_t startTime() const = 0;
    virtual AVRational timeBase() const = 0;
    virtual void appendLog(const QString &line) = 0;

protected:
    ~DemuxHost() = default;
};

// The demux side of one playback: owns the input (the format context, and for bytes in
// memory their I/O context and read position), the chosen streams' indices, the audio and
// video packet queues and the seek request. Its thread is ParsingThread, which alone
// reads the input while running.
//
// Ownership, by field group below: the input is set up by the GUI thread while stopped
// (Media::open) and belongs to the demux thread while it runs; the queues guard
// themselves; the seek request is a handshake of atomics between the GUI thread and the
// demux thread (requestSeek / takeSeek).
class Demuxer
{
public:
    Demuxer() = default;
    Demuxer(const Demuxer &) = delete;
    Demuxer &operator=(const Demuxer &) = delete;

    // GUI thread while stopped: reads the bytes held in data instead of a file; the
    // format context to open on it, or null when out of memory.
    AVFormatContext *allocateMemoryInput(const QByteArray &data);
    // GUI thread while stopped: opens the input in raw (allocated by the caller, freed
    // here on failure) on url; FFmpeg's error code on failure, after which nothing is open.
    int openInput(AVFormatContext *raw, const char *url);
    // GUI thread while stopped: closes the input.
    void close();
    AVFormatContext *input() const { return formatContext.get(); }
    bool isOpen() const { return formatContext != nullptr; }
    // Makes blocking reads of the input give up (while stopping), or lets them run again.
    void abortReads(bool abort) { abortInput.store(abort, std::memory_order_release); }

    // The seek handshake. GUI thread (and a decode thread at the loop end): asks the
    // demux thread to seek to target, already clamped by the caller; a second request
    // while one is pending is dropped. dropPictures: the pictures decoded before it are
    // not shown (a learner's seek, not the loop going back), which bumps pictureSerial().
    void requestSeek(int64_t target, bool dropPictures);
    // GUI thread while stopped: forgets any request.
    void clearSeek();
    bool seekPending() const { return seekRequest.load() != SeekIdle; }
    int64_t seekTarget() const { return seekTarget_.load(std::memory_order_relaxed); }
    // The serial of the last seek that drops older pictures; the display drops pictures
    // of an older serial.
    int pictureSerial() const { return pictureSerial_.load(std::memory_order_relaxed); }
    void setAllowDirtySeek(bool dirty) { allowDirtySeek = dirty; }

    // Streams chosen by open; -1 for none. GUI thread while stopped, read-only after.
    int audioStreamIndex = -1;
    int videoStreamIndex = -1;
    PacketQueue audioQueue;
    PacketQueue videoQueue;
    // Every flush of the queues starts a new epoch (a stretch of playback). Demux thread
    // while running, GUI thread while stopped.
    int seekEpoch = 0;
    // The demux thread's copy of the pause state, so it tells the input of each change
    // once; reset by start().
    bool lastPaused = false;

    // The demux thread's loop: reads the input and distributes its packets to the queues,
    // carries out seek requests (flushing both queues), passes pause and resume on to the
    // input, throttles itself while the queues are full and, at the end of the input,
    // queues an end sentinel stamped with the loop end mark. Returns when the playback
    // stops or the input reports an I/O error, after a last flush that wakes the decoders.
    void run(DemuxHost &host);

    // Payload bytes above which the demux thread stops reading.
    static constexpr int maxVideoQueueBytes = 1310720;
    static constexpr int maxAudioQueueBytes = 81920;
    // How far before its target a seek looks for a video key frame at most; further
    // back, decoding starts at whatever video packet comes first.
    static constexpr int64_t maxSeekMarginSeconds = 64;

private:
    void doSeek(DemuxHost &host, bool &endOfInput);
    // Seeks the input to a place at or before ts (stream ticks of the reference stream).
    bool seekInput(const DemuxHost &host, int64_t ts, int flags);
    // Queues the flush packets of a seek; the decoders drop what lies before skipBefore.
    void flushQueues(const DemuxHost &host, int64_t skipBefore);
    // Seeks so that video decoding starts at a key frame at or before target; false when
    // the input refuses the seek (then endOfInput and the queues stay as they were).
    bool seekVideoKeyFrame(DemuxHost &host, int64_t target, bool &endOfInput);
    // After a seek: reads on, queuing audio and dropping video, up to the first video key
    // frame (with acceptAny, the first video packet), which it queues. False when a video
    // packet decoded after target, or the end of the input, comes first.
    bool readToKeyFrame(const DemuxHost &host, int64_t target, bool acceptAny, bool &endOfInput);
    void queueEndSentinel(const DemuxHost &host);

    // seekRequest: Idle; Claimed while one caller writes the target; Pending once the
    // target is published for the demux thread, which sets it back to Idle after use.
    enum SeekState : int
    {
        SeekIdle,
        SeekClaimed,
        SeekPending
    };
    static int readMemory(void *self, uint8_t *buf, int size);
    static int64_t seekMemory(void *self, int64_t offset, int whence);
    // FFmpeg's interrupt callback: ends a blocking read once the playback is stopping.
    static int interruptInput(void *self);

    // The input of allocateMemoryInput() and its read position: the bytes are set while
    // stopped and only read afterwards; the position belongs to the thread reading the
    // input. The I/O context reads from them and goes after formatContext.
    QByteArray memoryData;
    int64_t memoryPos = 0;
    media::IoContextPtr ioContext;
    media::FormatContextPtr formatContext;
    std::atomic<bool> abortInput{false};

    std::atomic<int> seekRequest{SeekIdle};
    std::atomic<bool> allowDirtySeek{false};
    std::atomic<int64_t> seekTarget_{0};
    // Whether the pending seek drops the pictures decoded before it; published with the
    // target.
    std::atomic<bool> seekDropsPictures{false};
    // Bumped with a request that drops pictures, so no older picture shows after the
    // learner's click; the demux thread hands it to the video thread with the flush
    // packet of the seek, or takes the bump back when the input refuses the seek.
    std::atomic<int> pictureSerial_{0};
    // At the end of the input after a refused loop-back seek: no more end sentinels until
    // a seek succeeds. Demux thread only.
    bool holdAtEnd = false;
};
