#pragma once

#include "media/ffmpeg.h"
#include "media/guardedmutex.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>

// Unbounded FIFO of compressed packets from the demux thread (the only producer) to one
// decode thread (the only consumer). Counts the payload bytes it holds so that the
// producer can throttle itself, and carries the process-wide flush packet, which tells
// the decoder to reset. Every member function is safe to call from any thread.
class PacketQueue final
{
public:
    PacketQueue();
    ~PacketQueue();
    PacketQueue(const PacketQueue &) = delete;
    PacketQueue &operator=(const PacketQueue &) = delete;

    // Creates the flush packet if it does not exist yet and empties the queue.
    void init();

    // Appends a reference to pkt (the flush packet is queued as itself). Returns false,
    // queuing nothing, when the payload cannot be referenced.
    bool put(const AVPacket *pkt);
    // Moves pkt's reference into the queue, leaving pkt blank, so that the producer holds
    // nothing a consumer reads: the last reference, and the free, stay with the consumer.
    // (FFmpeg counts references with atomics ThreadSanitizer cannot see, so a payload freed
    // by the producer after a consumer read it would pass for a race.) A payload without
    // a reference count is copied instead. Returns false, queuing nothing, on failure.
    bool putMoved(AVPacket *pkt);

    // Moves the oldest packet into out, which must be blank (freshly allocated or
    // unreferenced). Without block, returns false at once when the queue is empty.
    // With block, waits until a packet arrives; when cancel is given, the wait also ends,
    // with false, once *cancel is true and wakeAll() has been called (or the queue
    // is looked at again). The caller releases out with av_packet_unref; for the flush
    // packet that releases nothing.
    bool get(AVPacket *out, bool block, const std::atomic<bool> *cancel = nullptr);

    // Releases the queued packets, then queues the flush packet. Wakes a blocked reader.
    // After a seek, the queued flush packet carries the seek target (in ticks of the
    // seek's stream) as its pts, so the decoder can skip what lies before it (otherwise
    // AV_NOPTS_VALUE), the picture serial of the seek as its pos and the seek's epoch
    // (which tells the sound and the pictures of one stretch of playback) as its
    // duration. With keepBefore, the packets that start before it (ticks of the queue's
    // stream) and precede any flush packet stay queued ahead of the new one.
    void flush(int64_t seekTarget = AV_NOPTS_VALUE, int64_t serial = 0, int64_t epoch = 0,
               int64_t keepBefore = AV_NOPTS_VALUE);

    // Wakes blocked readers so that they look at their cancel flag again.
    void wakeAll();

    // Payload bytes held; read without the lock, so possibly stale.
    int byteSize() const { return size.load(std::memory_order_relaxed); }
    int packetCount() const;

    static bool isFlushPacket(const AVPacket *pkt);
    static const AVPacket *flushPacket();

private:
    // Queues node and wakes a blocked reader.
    void append(media::PacketPtr node);
    // A packet of the queue: a reference of the caller's payload, or the flush packet.
    // Guards packets (size is written only under it). Never held together
    // with any other lock of the engine.
    mutable media::GuardedMutex mutex;
    std::condition_variable cond;
    std::deque<media::PacketPtr> packets VORLYN_GUARDED_BY(mutex);
    std::atomic<int> size{0};
};
