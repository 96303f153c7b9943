#pragma once

#include "media/media.h"

// Looks into a Media's queues, seek state and picture ring, which the user interface
// never sees.
class MediaTestProbe
{
public:
    static PacketQueue &videoQueue(Media &m) { return m.videoQueue; }
    static PacketQueue &audioQueue(Media &m) { return m.audioQueue; }
    static bool seekPending(const Media &m) { return m.seekRequest.load() != Media::SeekIdle; }
    static int64_t seekTarget(const Media &m) { return m.seekTarget.load(); }
    static int pendingPictures(Media &m)
    {
        std::lock_guard lock(m.pictqMutex);
        return m.pictqSize;
    }
};
