#include "media/packetqueue.h"

#include <QDebug>

namespace {

// The flush packet: no buffer reference and size 0, so unreferencing a copy frees
// nothing; identified by its payload pointer to a one-byte 'F' that lives as long as
// the process.
std::once_flag flushOnce;
AVPacket *theFlushPacket = nullptr;

void createFlushPacket()
{
    AVPacket *pkt = av_packet_alloc();
    auto *payload = static_cast<uint8_t *>(av_malloc(1));
    if (!pkt || !payload)
        qBadAlloc();
    payload[0] = 'F';
    pkt->data = payload;
    pkt->size = 0;
    theFlushPacket = pkt;
}

} // namespace

PacketQueue::PacketQueue()
{
    init();
}

PacketQueue::~PacketQueue() = default;

void PacketQueue::init()
{
    std::call_once(flushOnce, createFlushPacket);
    media::GuardedLock lock(mutex);
    packets.clear();
    size.store(0, std::memory_order_relaxed);
}

const AVPacket *PacketQueue::flushPacket()
{
    std::call_once(flushOnce, createFlushPacket);
    return theFlushPacket;
}

bool PacketQueue::isFlushPacket(const AVPacket *pkt)
{
    return pkt && pkt->data && pkt->data == flushPacket()->data;
}

bool PacketQueue::put(const AVPacket *pkt)
{
    media::PacketPtr node = media::allocPacket();
    if (isFlushPacket(pkt)) {
        // copied field by field: a reference would copy the payload and lose its identity
        node->data = pkt->data;
        node->size = 0;
        node->pts = pkt->pts;
        node->pos = pkt->pos;
        node->duration = pkt->duration;
    } else if (av_packet_ref(node.get(), pkt) < 0) {
        return false;
    }
    append(std::move(node));
    return true;
}

void PacketQueue::append(media::PacketPtr node)
{
    {
        media::GuardedLock lock(mutex);
        size.store(size.load(std::memory_order_relaxed) + node->size, std::memory_order_relaxed);
        packets.push_back(std::move(node));
    }
    cond.notify_all();
}

bool PacketQueue::putMoved(AVPacket *pkt)
{
    if (!pkt->buf || isFlushPacket(pkt)) {
        const bool queued = put(pkt);
        av_packet_unref(pkt);
        return queued;
    }
    media::PacketPtr node = media::allocPacket();
    av_packet_move_ref(node.get(), pkt);
    append(std::move(node));
    return true;
}

bool PacketQueue::get(AVPacket *out, bool block, const std::atomic<bool> *cancel)
{
    media::GuardedLock lock(mutex);
    for (;;) {
        if (!packets.empty())
            break;
        if (!block || (cancel && cancel->load(std::memory_order_acquire)))
            return false;
        lock.wait(cond);
    }
    media::PacketPtr node = std::move(packets.front());
    packets.pop_front();
    size.store(size.load(std::memory_order_relaxed) - node->size, std::memory_order_relaxed);
    av_packet_move_ref(out, node.get());
    return true;
}

void PacketQueue::flush(int64_t seekTarget, int64_t serial, int64_t epoch, int64_t keepBefore)
{
    {
        media::GuardedLock lock(mutex);
        auto kept = packets.begin();
        if (keepBefore != AV_NOPTS_VALUE) {
            for (; kept != packets.end() && !isFlushPacket(kept->get()); ++kept) {
                const AVPacket *p = kept->get();
                const int64_t t = p->pts != AV_NOPTS_VALUE ? p->pts : p->dts;
                if (t == AV_NOPTS_VALUE || t >= keepBefore)
                    break;
            }
        }
        int bytes = 0;
        for (auto it = kept; it != packets.end(); ++it)
            bytes += (*it)->size;
        packets.erase(kept, packets.end());
        size.store(size.load(std::memory_order_relaxed) - bytes, std::memory_order_relaxed);
    }
    media::PacketPtr marker = media::allocPacket();
    marker->data = flushPacket()->data;
    marker->pts = seekTarget;
    marker->pos = serial;
    marker->duration = epoch;
    if (!put(marker.get()))
        qWarning("Couldn't queue flush packet.");
}

void PacketQueue::wakeAll()
{
    // Taking the lock orders the wake after a reader's look at its cancel flag.
    {
        media::GuardedLock lock(mutex);
    }
    cond.notify_all();
}

int PacketQueue::packetCount() const
{
    media::GuardedLock lock(mutex);
    return int(packets.size());
}
