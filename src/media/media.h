#pragma once

#include "media/decodehost.h"
#include "media/demuxer.h"
#include "media/displayclock.h"
#include "media/engineclock.h"
#include "media/ffmpeg.h"
#include "media/logtail.h"
#include "media/pictureclock.h"
#include "media/picturering.h"
#include "media/picturesource.h"
#include "media/soundclock.h"
#include "media/streamprobe.h"
#include "media/videopicture.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <optional>

class QTimer;
class ParsingThread;
class VideoDecodeThread;
class AudioDecodeThread;

// The playback of one media file: opens it with FFmpeg (its streams and decoders chosen
// by the stream probe), owns the decoders, the two packet queues, the four-slot
// PictureRing (planar YUV 4:2:0 or RGB: the pixelFormat given to the constructor), the
// display timer (timed by its PictureClock on the EngineClock), the loop marks and the
// worker threads. Lives in the GUI thread: its slots, signals, timer and accessors run
// there, except requestSeek() and pause(), which a decode thread also calls at the loop
// end mark.
//
// Positions are signed 64-bit tick counts of the reference stream's time base (the
// video stream when there is one, else the audio stream). The display's clocks (picture
// times, the heard clock) are media seconds, whose distance the speed turns into wall
// time; currentClock() gives seconds at the current play speed.
//
// The demux side (input, queues, seek request) is a Demuxer; the worker threads see
// this object only through the DemuxHost and DecodeHost interfaces.
//
// Threads: fields polled across threads are atomics; the ring's count is guarded by its
// pictqMutex, what is heard by the SoundClock's heardMutex, the log by the LogTail's
// mutex, each queue by its own mutex; no code path holds two of these at once. Each
// decoder context belongs to its decode thread while running; the audio decoder
// accessors are for the time between open and start. A ring slot's picture is written by
// the video thread while the slot is free and read by the GUI thread while frameReady
// hands it out (see PictureRing).
class Media final : public PictureSource, private DemuxHost, private DecodeHost
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Media)
    friend class MediaTestProbe; // tests look into the queues and seek state

public:
    // clock: the time the engine reads; it must outlive the Media.
    Media(QObject *parent, bool powerOfTwo, int swsFlags, int pixelFormat, int width, int height,
          const media::EngineClock &clock = media::EngineClock::steady());
    ~Media() override;

    int64_t position() const;
    int64_t startTime() const override;
    // The reference stream's length; 0 when unknown.
    int64_t duration() const;
    // Whether the input states its length. A raw elementary stream, a live-style
    // recording or a damaged file may not: it then plays to the end of its input.
    bool hasKnownLength() const { return duration() > 0; }
    // Where the reference stream ends: positions run from startTime() to here. A file may
    // start late (MPEG-TS at 1.4 s, a broadcast recording hours in), so its length alone
    // would cut off its end. Without a known length there is no end before the input's
    // own: unknownEnd, so the loop end lies nowhere until the learner sets one.
    int64_t endTime() const;
    static constexpr int64_t unknownEnd = media::unknownEnd;
    // seconds of media time as ticks of the reference stream's time base
    int64_t ticksFromSeconds(double seconds) const;
    // "hh:mm:ss" of a position in media time, whatever the speed.
    QString timeText(int64_t pos) const;
    void seek(int64_t target);
    void seekBy(int64_t delta);
    void seekBySeconds(double seconds);
    // Each mark is kept within the lesson and at least shortestLoop() from the other: a loop
    // of no length would show one picture and play nothing.
    void setMarkInAt(int64_t value);
    void setMarkOutAt(int64_t value);
    // The shortest loop, in ticks: one picture interval of the video stream's frame rate, or
    // 100 ms without pictures (or a frame rate). A lesson shorter than that loops whole.
    int64_t shortestLoop() const { return shortestLoop_; }
    int64_t markIn() const override { return markIn_.load(std::memory_order_relaxed); }
    int64_t markOut() const override { return markOut_.load(std::memory_order_relaxed); }
    bool isStopped() const override { return stopped.load(std::memory_order_acquire); }
    bool isPaused() const override { return paused_.load(std::memory_order_acquire); }
    VideoPicture *picture(int id) override;
    float videoAspectRatio() const override;
    double currentClock() const;

    // The last log lines of the worker threads and of setPlaySpeed, as one text.
    QString logText() const;
    // The attached cover picture of an audio file, decoded once by open(); null without.
    QImage coverArt() const { return coverArt_; }
    bool hasVideo() const override { return videoCodec != nullptr; }
    bool hasAudio() const override { return audioCodec != nullptr; }
    // The reference stream's time base.
    AVRational timeBase() const override;

    // Whether pictures of this size and pixel format can be converted for display; a
    // header may not yet know the format (a file cut short after it).
    static bool convertible(int width, int height, int format, bool formatMayBeUnknown)
    {
        return PictureRing::convertible(width, height, format, formatMayBeUnknown);
    }
    // The picture size rule for drivers without non-power-of-two textures (see PictureRing).
    static int roundToPowerOfTwo(int v) { return PictureRing::roundToPowerOfTwo(v); }
    // The display's step between pictures (see media::frameDelay).
    static double frameDelay(double pts, double lastPts, double lastDelay, bool afterSeek)
    {
        return media::frameDelay(pts, lastPts, lastDelay, afterSeek);
    }

signals:
    void running(bool run);
    void paused(bool state);
    void markingChanged();
    void error(QString msg);

public slots:
    bool open(const QString &file, int64_t markIn, int64_t markOut);
    bool open(const QString &file, int64_t markIn);
    bool open(const QString &file);
    // Opens the media file held in data, called name in messages; plays like open(name).
    bool openData(const QByteArray &data, const QString &name);
    void start();
    // Starts a stopped media at target instead of where it stopped; a running one ignores it.
    void startAt(int64_t target);
    void stop();
    void play(bool startorstop);
    void pause(bool p);
    void resetMarkIn();
    void resetMarkOut();
    void setMarkIn();
    void setMarkOut();
    void setLoop(bool on);
    void setPlaySpeed(int playspeed);
    // Plays at factor times the recorded speed, held within 0.25 to 4 (as far as the sound
    // is stretched); a factor that is not above 0 plays at 1.
    void setPlaySpeedFactor(double factor);
    void seekBackward();
    void seekForward();
    void seekBegin();
    void setOptionAllowDirtySeek(bool dirty);
    int audioSampleRate();
    int audioBitRate();
    int audioChannels();
    void video_refresh_timer();
    void thread_terminated();

private:
    // Starts a stopped media at target, or where it stopped (the loop's start at first);
    // the one seek request a start may make, as a second would be refused until the demux
    // thread had taken the first.
    void startFrom(std::optional<int64_t> target);
    // GUI thread, once a second while running: stops with a message when the file
    // played is no longer the one opened, and opens the sound output again when the
    // sound server dropped it (it died or restarted).
    void watchInputAndOutput();

    // Opens raw (allocated by the caller, freed here on failure) on url, then chooses and
    // opens the streams; the rest of open().
    bool openInput(AVFormatContext *raw, const char *url, int64_t givenMarkIn,
                   int64_t givenMarkOut);
    // The display aspect ratio of the decoder's pictures. Reads the decoder: open, or the
    // video thread while running.
    float decoderAspectRatio() const
    {
        return media::displayAspectRatio(videoStream, videoCodec.get());
    }
    void releaseInput();
    void resetClocks();
    void appendLog(const QString &line) override;
    void joinWorkers();
    // What the decode threads call (DecodeHost); a pause is waited out in 100 ms steps.
    int startingEpoch() const override { return startEpoch; }
    double speed() const override { return playSpeed.load(); }
    const media::EngineClock &engineClock() const override { return clock; }
    bool nextPacket(PacketQueue &queue, AVPacket *packet) override;
    int64_t flushTarget(const AVPacket *flush, AVRational tb) const override;
    bool applyMarkOutRule(int64_t t, bool sound) override;
    void queuePicture(const AVFrame *frame, int64_t ticks, bool afterSeek, int serial,
                      int epoch) override;
    void noteAspectRatio() override;
    void publishHeard(const media::HeardStretch &now, const media::HeardStretch &next) override;
    void publishClock(double seconds) override;
    bool soundFarAhead(int epoch) const override;
    // Opens the audio output for this media; false when there is none to play its sound.
    bool openAudioOutput();
    bool allWorkersRunning() const;
    // A seek request; dropPictures: the pictures decoded before it are not shown (a
    // learner's seek, as opposed to the loop going back to its start).
    void requestSeek(int64_t target, bool dropPictures);
    AVStream *referenceStream() const;
    // Where a mark set to value lies, the other mark staying where it is.
    int64_t clampedMarkIn(int64_t value) const;
    int64_t clampedMarkOut(int64_t value) const;

    const media::EngineClock &clock;
    QString fileName;
    // Set by open for a local regular file; GUI thread only.
    QByteArray localPath;
    std::optional<media::FileStamp> openedStamp;
    QTimer *watchTimer = nullptr;
    QImage coverArt_;
    LogTail log;
    // The input, the packet queues and the seek request.
    Demuxer demux;
    AVStream *audioStream = nullptr;
    media::CodecContextPtr audioCodec;
    AVStream *videoStream = nullptr;
    media::CodecContextPtr videoCodec;
    // videoAspectRatio(): set by open and, since the decoder may change its picture size or
    // aspect midway, by the video thread after each decoded picture.
    std::atomic<float> aspectRatio_{1.0f};
    std::atomic<int64_t> markIn_{0};
    std::atomic<int64_t> markOut_{0};
    // Set by open; GUI thread only, as are the mark setters that read it.
    int64_t shortestLoop_ = 0;
    int64_t resumePosition = 0;

    // The picture on screen and the display's timing: GUI thread, but for the picture on
    // screen, which the demux and audio threads read.
    PictureClock pictureClock;
    // The audio clock: the time of the sample being heard, and what of which stretch is
    // heard. Written by the audio thread, read by the GUI and demux threads.
    SoundClock soundClock;

    // Sound and picture. Every flush of the queues starts a new epoch (a stretch of
    // playback: a seek, a loop going back; counted by the demuxer), carried by the flush
    // packets to both decode threads, so a picture and a sound of the same time but of
    // different stretches are never compared. startEpoch: set by start() before the
    // workers start.
    int startEpoch = 0;
    QTimer *refreshTimer = nullptr;
    std::atomic<double> playSpeed{1.0};

    PictureRing ring;

    ParsingThread *parsingThread = nullptr;
    VideoDecodeThread *videoThread = nullptr;
    AudioDecodeThread *audioThread = nullptr;

    std::atomic<bool> stopped{true};
    std::atomic<bool> loop{true};
    std::atomic<bool> paused_{false};
};
