#pragma once

#include "media/displayclock.h"
#include "media/engineclock.h"
#include "media/ffmpeg.h"

#include <QString>

#include <cstdint>

class PacketQueue;

// What a decode thread sees of the playback it works for: the next packet, the loop end
// rule, the picture ring and the clocks. Called from the decode threads while they run;
// each call is safe there (see the implementation's locks).
class DecodeHost
{
public:
    virtual bool isStopped() const = 0;
    virtual bool hasVideo() const = 0;
    virtual int64_t markOut() const = 0;
    // The reference stream's time base, in which flush targets and marks are counted.
    virtual AVRational timeBase() const = 0;
    virtual void appendLog(const QString &line) = 0;
    // The epoch the workers start in, before the first flush packet.
    virtual int startingEpoch() const = 0;
    // The play speed: media seconds per second heard or shown.
    virtual double speed() const = 0;
    // The time the playback is measured in.
    virtual const media::EngineClock &engineClock() const = 0;
    // Waits out a pause, then takes the next packet from queue, blocking unless stopping;
    // false once stopped with nothing left to take.
    virtual bool nextPacket(PacketQueue &queue, AVPacket *packet) = 0;
    // The seek target a flush packet carries, in ticks of tb; AV_NOPTS_VALUE for none.
    virtual int64_t flushTarget(const AVPacket *flush, AVRational tb) const = 0;
    // The loop end rule for a packet's time stamp t (reference stream ticks) of the sound
    // (sound) or the pictures: at the mark out, seek back to the mark in (loop on) or pause
    // (loop off). The reference stream's thread seeks back; with both streams, the sound's
    // thread pauses, so the sound up to the mark is heard. True when t is at or past the
    // mark out.
    virtual bool applyMarkOutRule(int64_t t, bool sound) = 0;

    // Video thread: puts frame into the next free ring slot, timed at ticks of the video
    // stream (afterSeek: the first picture after a seek); waits while the ring is full,
    // drops the picture once stopped.
    virtual void queuePicture(const AVFrame *frame, int64_t ticks, bool afterSeek, int serial,
                              int epoch) = 0;
    // Video thread: the decoder's picture size or aspect may have changed.
    virtual void noteAspectRatio() = 0;

    // Audio thread: what is heard now, and the stretch written after it (a loop-back, a
    // seek; epoch -1 for none), heard from when the output reaches it.
    virtual void publishHeard(const media::HeardStretch &now, const media::HeardStretch &next) = 0;
    // Audio thread: the audio clock and position, without telling the display.
    virtual void publishClock(double seconds) = 0;
    // Audio thread: whether the sound of epoch runs more than half a second ahead of the
    // picture on screen of the same stretch (a decoder too slow): the sound then waits.
    virtual bool soundFarAhead(int epoch) const = 0;

protected:
    ~DecodeHost() = default;
};
