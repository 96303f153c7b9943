#pragma once

#include "media/ffmpeg.h"
#include "media/guardedmutex.h"
#include "media/packetqueue.h"
#include "media/videopicture.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <limits>
#include <optional>

class QTimer;
class ParsingThread;
class VideoDecodeThread;
class AudioDecodeThread;

// The playback of one media file: opens it with FFmpeg, chooses the first audio and
// video stream, owns the decoders, the two packet queues, the four-slot picture ring
// (planar YUV 4:2:0 or RGB: the pixelFormat given to the constructor), the display
// timer, the loop marks and the worker threads. Lives in the GUI thread: its slots,
// signals, timer and accessors run there, except requestSeek() and pause(), which a
// decode thread also calls at the loop end mark.
//
// Positions are signed 64-bit tick counts of the reference stream's time base (the
// video stream when there is one, else the audio stream); clocks are doubles in seconds
// at the current play speed.
//
// Threads: fields polled across threads are atomics; the picture ring count is guarded
// by pictqMutex, the log by logMutex, each queue by its own mutex; no code path holds
// two of these at once. Each decoder context belongs to its decode thread while running;
// the audio decoder accessors are for the time between open and start. A ring slot's
// picture (its own pixels or its reference to a decoder picture) is written by the video
// thread while the slot is free and read by the GUI thread while frameReady hands it out;
// the decoder never writes into a picture it has given out.
class Media final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Media)
    friend class ParsingThread;
    friend class VideoDecodeThread;
    friend class AudioDecodeThread;
    friend class MediaTestProbe; // tests look into the queues and seek state

public:
    Media(QObject *parent, bool powerOfTwo, int swsFlags, int pixelFormat, int width, int height);
    ~Media() override;

    int64_t position() const;
    int64_t startTime() const;
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
    static constexpr int64_t unknownEnd = std::numeric_limits<int64_t>::max();
    // seconds of media time as ticks of the reference stream's time base
    int64_t ticksFromSeconds(double seconds) const;
    QString timeText(int64_t pos) const;
    void seek(int64_t target);
    void seekBy(int64_t delta);
    void seekBySeconds(double seconds);
    void setMarkInAt(int64_t value);
    void setMarkOutAt(int64_t value);
    int64_t markIn() const { return markIn_.load(std::memory_order_relaxed); }
    int64_t markOut() const { return markOut_.load(std::memory_order_relaxed); }
    bool isStopped() const { return stopped.load(std::memory_order_acquire); }
    bool isPaused() const { return paused_.load(std::memory_order_acquire); }
    VideoPicture *picture(int id);
    float videoAspectRatio() const;
    double currentClock() const;

    // The last log lines of the worker threads and of setPlaySpeed, as one text.
    QString logText() const;
    // The attached cover picture of an audio file, decoded once by open(); null without.
    QImage coverArt() const { return coverArt_; }
    bool hasVideo() const { return videoCodec != nullptr; }
    bool hasAudio() const { return audioCodec != nullptr; }
    // The reference stream's time base.
    AVRational timeBase() const;
    // A tick count of time base tb as a clock value: seconds at the current play speed.
    double clockSeconds(int64_t ticks, AVRational tb) const
    {
        return media::toSeconds(ticks, tb) / playSpeed.load();
    }

    // Whether pictures of this size and pixel format can be converted for display; a
    // header may not yet know the format (a file cut short after it).
    static bool convertible(int width, int height, int format, bool formatMayBeUnknown);
    // The picture size rule for drivers without non-power-of-two textures: the power of
    // two nearest to v (on the bit below the highest set bit); 0 gives 1.
    static int roundToPowerOfTwo(int v);
    // The display's step from the previous picture (at lastPts) to one at pts: their
    // distance when it is a plausible frame step (above 0, under a second, not across a
    // seek), else the last accepted step.
    static double frameDelay(double pts, double lastPts, double lastDelay, bool afterSeek);

signals:
    void frameReady(int id);
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
    void stop();
    void play(bool startorstop);
    void pause(bool p);
    void resetMarkIn();
    void resetMarkOut();
    void setMarkIn();
    void setMarkOut();
    void setLoop(bool on);
    void setPlaySpeed(int playspeed);
    // Plays at factor times the recorded speed; a factor that is not above 0 plays at 1.
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
    // What identifies the opened file on disk: a removed, replaced, cut or rewritten
    // file no longer matches.
    struct FileStamp
    {
        unsigned long long device = 0, inode = 0;
        long long size = 0, modifiedNs = 0;
        bool operator==(const FileStamp &) const = default;
    };
    static std::optional<FileStamp> stampOf(const QByteArray &path);
    // GUI thread, once a second while running: stops with a message when the file
    // played is no longer the one opened, and opens the sound output again when the
    // sound server dropped it (it died or restarted).
    void watchInputAndOutput();

    // seekRequest: Idle; Claimed while one caller writes seekTarget; Pending once the
    // target is published for the demux thread, which sets it back to Idle after use.
    enum SeekState : int
    {
        SeekIdle,
        SeekClaimed,
        SeekPending
    };

    // Opens raw (allocated by the caller, freed here on failure) on url, then chooses and
    // opens the streams; the rest of open().
    bool openInput(AVFormatContext *raw, const char *url, int64_t givenMarkIn,
                   int64_t givenMarkOut);
    // Read and seek callbacks of the input held in memory.
    static int readMemory(void *self, uint8_t *buf, int size);
    static int64_t seekMemory(void *self, int64_t offset, int whence);
    int openStreamComponent(int streamIndex, AVCodecContext **context);
    // Decodes the attached picture of stream st into coverArt_.
    void decodeCoverArt(const AVStream *st);
    // FFmpeg's interrupt callback: ends a blocking read once the media is stopping.
    static int interruptInput(void *self);
    // The display aspect ratio from the decoder's picture size and the sample aspect of the
    // stream, else of the decoder. Reads the decoder: open, or the video thread while running.
    float decoderAspectRatio() const;
    void releaseInput();
    void resetClocks();
    // GUI thread: moves the read index on and frees its slot for the video thread.
    void releaseShownSlot();
    void appendLog(const QString &line);
    void joinWorkers();
    // Decode threads: waits out a pause in 100 ms steps, then takes the next packet from
    // queue, blocking unless stopping; false once stopped with nothing left to take.
    bool nextPacket(PacketQueue &queue, AVPacket *packet);
    // The seek target a flush packet carries, in ticks of tb; AV_NOPTS_VALUE for none.
    int64_t flushTarget(const AVPacket *flush, AVRational tb) const;
    // Opens the audio output for this media; false when there is none to play its sound.
    bool openAudioOutput();
    // A stretch of playback (epoch) as heard: media time seconds (of the audio stream)
    // is heard in `in` seconds from now, and what was written of it ends at until.
    struct HeardStretch
    {
        double seconds = 0;
        double until = 0;
        double in = 0;
        int epoch = -1;
    };
    // Audio thread: what is heard now, and the stretch written after it (a loop-back, a
    // seek; epoch -1 for none), heard from when the output reaches it.
    void publishHeard(const HeardStretch &now, const HeardStretch &next);
    // Audio thread: the audio clock and position, without telling the display.
    void publishClock(double seconds);
    // How the sound stands for the stretch of playback of a picture.
    enum class SoundFor
    {
        Heard,
        NotYet,
        Past
    };
    // GUI thread: for the stretch epoch, the clock time heard now (Heard; extrapolated
    // back when the stretch is the next one, written but not heard yet), NotYet (no sound
    // of it known), or Past (a later stretch is heard). switchIn: seconds until a next
    // stretch of another epoch is heard, +infinity for none.
    SoundFor heardClock(int epoch, double &clock, double &switchIn) const;
    // GUI thread: whether the pictures follow the sound, for a picture of epoch.
    bool picturesFollowSound(int epoch) const;
    bool allWorkersRunning() const;
    // Loop end rule, run by a decode thread for each packet's time stamp t: at the mark
    // out, seek back to the mark in (loop on) or pause (loop off). True when t is at or
    // past the mark out.
    bool applyMarkOutRule(int64_t t);
    // Video thread: puts frame into the next free ring slot, timed at ticks of the video
    // stream (afterSeek: the first picture after a seek); waits while three pictures are
    // pending, drops the picture once stopped. A planar 4:2:0 picture of the slot's size
    // is kept by reference when the ring holds YUV; any other is converted.
    void queuePicture(const AVFrame *frame, int64_t ticks, bool afterSeek, int serial, int epoch);
    // Video thread: converts frame into slot vp's own buffer with the stream's matrix
    // and range; false when it cannot be converted.
    bool convertPicture(const AVFrame *frame, VideoPicture &vp);
    // Whether the picture's levels use the full range (a yuvj format or the frame's tag).
    static bool isFullRange(const AVFrame *frame);
    // A seek request; dropPictures: the pictures decoded before it are not shown (a
    // learner's seek, as opposed to the loop going back to its start).
    void requestSeek(int64_t target, bool dropPictures);
    AVStream *referenceStream() const;
    static int64_t nowMicroseconds() { return av_gettime(); }

    QString fileName;
    // Set by open for a local regular file; GUI thread only.
    QByteArray localPath;
    std::optional<FileStamp> openedStamp;
    QTimer *watchTimer = nullptr;
    // The input of openData() and its read position: the bytes are set by openData and
    // only read afterwards; the position belongs to the thread reading the input (open,
    // then the demux thread). The I/O context reads from them and goes after formatContext.
    QByteArray memoryData;
    int64_t memoryPos = 0;
    media::IoContextPtr ioContext;
    QImage coverArt_;
    // the last log lines; a file that fails on every packet must not grow it without end
    mutable media::GuardedMutex logMutex;
    std::deque<QString> logLines VORLYN_GUARDED_BY(logMutex);
    static constexpr size_t maxLogLines = 200;
    media::FormatContextPtr formatContext;
    AVStream *audioStream = nullptr;
    int audioStreamIndex = -1;
    PacketQueue audioQueue;
    media::CodecContextPtr audioCodec;
    AVStream *videoStream = nullptr;
    // The converter to the ring's format and the source size and format it was made for.
    // Set by open; video thread only while running.
    media::SwsContextPtr swsContext;
    int swsSourceWidth = 0;
    int swsSourceHeight = 0;
    int swsSourceFormat = AV_PIX_FMT_NONE;
    int swsSourceColorSpace = AVCOL_SPC_UNSPECIFIED;
    bool swsSourceFullRange = false;
    // Conversion target with aligned rows for pictures whose packed rows are not aligned;
    // null otherwise. Video thread only while running.
    media::AvBufferPtr<uint8_t> convertScratch;
    std::array<uint8_t *, 4> convertScratchPlanes{};
    std::array<int, 4> convertScratchLinesizes{};
    static constexpr int convertAlignment = 64;
    int videoStreamIndex = -1;
    PacketQueue videoQueue;
    media::CodecContextPtr videoCodec;
    // videoAspectRatio(): set by open and, since the decoder may change its picture size or
    // aspect midway, by the video thread after each decoded picture.
    std::atomic<float> aspectRatio_{1.0f};
    std::atomic<int> seekRequest{SeekIdle};
    std::atomic<bool> allowDirtySeek{false};
    std::atomic<int64_t> seekTarget{0};
    // Whether the pending seek drops the pictures decoded before it (a learner's seek);
    // published with seekTarget.
    std::atomic<bool> seekDropsPictures{false};
    // Serial of the last seek that drops the pictures decoded before it. Bumped by the
    // GUI thread with the request, so no older picture shows after the learner's click;
    // the demux thread hands it to the video thread with the flush packet of the seek, or
    // takes the bump back when the input refuses the seek and no flush carries it.
    std::atomic<int> pictureSerial{0};
    // Set while stop() waits for the workers: a blocking read of the input gives up.
    std::atomic<bool> abortInput{false};
    std::atomic<int64_t> markIn_{0};
    std::atomic<int64_t> markOut_{0};
    int64_t resumePosition = 0;

    // Display timing: GUI thread only, except videoCurrentPts, which the demux and audio
    // threads read.
    double frameTimer = 0;
    double frameLastPts = 0;
    double frameLastDelay = 0.04;
    std::atomic<double> videoCurrentPts{0};
    // The picture on screen as ticks of the video stream: position() without rounding.
    std::atomic<int64_t> videoCurrentTicks{0};
    int64_t videoCurrentPtsTime = 0;
    // The audio clock: the time of the sample being heard. Written by the audio thread,
    // read by the GUI and demux threads; the ticks are of the audio stream.
    std::atomic<double> audioClock{0};
    std::atomic<int64_t> audioClockTicks{0};

    // Sound and picture. Every flush of the queues starts a new epoch (a stretch of
    // playback: a seek, a loop going back), carried by the flush packets to both decode
    // threads, so a picture and a sound of the same time but of different stretches are
    // never compared. seekEpoch: demux thread while running, GUI thread while stopped;
    // startEpoch: set by start() before the workers start.
    int seekEpoch = 0;
    int startEpoch = 0;
    // The epoch of the picture on screen; written by the GUI thread, read by the audio
    // thread.
    std::atomic<int> shownEpoch{0};
    // What is being heard: clock time = base + now (seconds), at most until, the end of
    // what was written of that stretch; from the wall time `from` on, the next stretch
    // (epoch -1: none). Written by the audio thread, read by the GUI thread, under
    // heardMutex (a lock of its own, never held with another).
    struct HeardClock
    {
        double base = 0;
        double until = 0;
        double from = 0;
        int epoch = -1;
    };
    struct Heard
    {
        bool known = false;
        HeardClock current;
        HeardClock next;
    };
    mutable media::GuardedMutex heardMutex;
    Heard heard VORLYN_GUARDED_BY(heardMutex);
    // Display against the sound; GUI thread only. audioOutputOpen: start() opened an
    // output for the sound. waitingSince: when the picture at the head of the ring began
    // to wait for its sound (0: not waiting). soundLostEpoch: the epoch whose sound did
    // not come in time, shown by the pictures' own times instead.
    bool audioOutputOpen = false;
    int64_t waitingSince = 0;
    int soundLostEpoch = -1;
    // How long a picture waits for its sound at most.
    static constexpr int64_t maxSoundWaitMicroseconds = 1000000;
    // How much earlier than its sound a picture is handed out: it reaches the screen a
    // paint and a composition of the window after frameReady. Measured from outside
    // (bench_avsync), about this.
    static constexpr double pictureLead = 0.025;
    QTimer *refreshTimer = nullptr;
    std::atomic<double> playSpeed{1.0};

    std::array<VideoPicture, 4> pictures;
    media::GuardedMutex pictqMutex;
    std::condition_variable pictqCond;
    int pictqSize VORLYN_GUARDED_BY(pictqMutex) = 0;
    int pictqRindex = 0; // GUI thread only
    int pictqWindex = 0; // video thread only while running
    static constexpr int maxPendingPictures = 3;

    int swsFlags;
    int targetPixelFormat;
    int targetWidth;
    int targetHeight;
    bool powerOfTwo;

    ParsingThread *parsingThread = nullptr;
    VideoDecodeThread *videoThread = nullptr;
    AudioDecodeThread *audioThread = nullptr;

    std::atomic<bool> stopped{true};
    std::atomic<bool> loop{true};
    std::atomic<bool> paused_{false};
    bool lastPaused = false; // demux thread's copy of paused_; reset by start()
};
