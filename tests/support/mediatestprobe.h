#pragma once

#include "media/media.h"

// Looks into a Media's queues, seek state and picture ring, which the user interface
// never sees.
class MediaTestProbe
{
public:
    using HeardStretch = media::HeardStretch;
    using SoundFor = Media::SoundFor;
    static PacketQueue &videoQueue(Media &m) { return m.demux.videoQueue; }
    static PacketQueue &audioQueue(Media &m) { return m.demux.audioQueue; }
    static bool seekPending(const Media &m) { return m.demux.seekPending(); }
    static double speed(const Media &m) { return m.speed(); }
    static int64_t seekTarget(const Media &m) { return m.demux.seekTarget(); }
    static void publishHeard(Media &m, const HeardStretch &now, const HeardStretch &next)
    {
        m.publishHeard(now, next);
    }
    static SoundFor heardClock(const Media &m, int epoch, double &clock, double &switchIn)
    {
        double speed = 1;
        return m.heardClock(epoch, clock, switchIn, speed);
    }
    static int pendingPictures(Media &m)
    {
        std::lock_guard lock(m.pictqMutex);
        return m.pictqSize;
    }
};
