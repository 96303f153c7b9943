#pragma once

#include "media/audiodecodethread.h"
#include "media/engineclock.h"
#include "media/media.h"
#include "media/parsingthread.h"
#include "media/videodecodethread.h"

#include <QTimer>

#include <atomic>

// Looks into a Media's queues, seek state and picture ring, which the user interface
// never sees.
class MediaTestProbe
{
public:
    using HeardStretch = media::HeardStretch;
    static PacketQueue &videoQueue(Media &m) { return m.demux.videoQueue; }
    static PacketQueue &audioQueue(Media &m) { return m.demux.audioQueue; }
    static bool seekPending(const Media &m) { return m.demux.seekPending(); }
    static double speed(const Media &m) { return m.speed(); }
    static int64_t seekTarget(const Media &m) { return m.demux.seekTarget(); }
    static void publishHeard(Media &m, const HeardStretch &now, const HeardStretch &next)
    {
        m.publishHeard(now, next);
    }
    // How the sound of the stretch epoch stands now, on the Media's own clock.
    static media::HeardNow heardNow(const Media &m, int epoch)
    {
        return m.soundClock.at(epoch, m.clock.nowSeconds());
    }
    static int pendingPictures(const Media &m) { return m.ring.pending(); }
    // Whether any of the worker threads runs.
    static bool workersRunning(const Media &m)
    {
        return m.parsingThread->isRunning() || m.videoThread->isRunning() ||
               m.audioThread->isRunning();
    }
    // The display's timer, whose signals a test blocks to hand pictures out itself.
    static QTimer *displayTimer(Media &m) { return m.refreshTimer; }
};

// A clock a test moves by hand; it stands still in between.
class ManualClock final : public media::EngineClock
{
public:
    int64_t nowMicroseconds() const override { return now.load(); }
    void advance(double seconds) { now += int64_t(seconds * 1000000.0); }

private:
    std::atomic<int64_t> now{1000000};
};
