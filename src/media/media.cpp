#include "media/media.h"

#include "media/audiodecodethread.h"
#include "media/iaudio.h"
#include "media/parsingthread.h"
#include "media/tempofilter.h"
#include "media/videodecodethread.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

void setUpFfmpegOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

// The text for an avformat_open_input failure; each situation keeps its own message.
QString openErrorText(int err)
{
    switch (err) {
    case AVERROR_INVALIDDATA:
        return Media::tr("Error opening %1:\nError while parsing header.");
    case AVERROR_DEMUXER_NOT_FOUND:
    case AVERROR(EILSEQ):
    case AVERROR(ENOMSG):
        return Media::tr("Error opening %1:\nUnknown format.");
    case AVERROR(EINVAL):
        return Media::tr("Error opening %1:\nIncorrect numbered image sequence syntax.");
    case AVERROR(ENOMEM):
        return Media::tr("Error opening %1:\nMemory allocation error.");
    case AVERROR(EIO):
    case AVERROR_EOF:
        return Media::tr("Error opening %1:\nI/O error. Usually that means that input file is "
                         "truncated and/or corrupted.");
    case AVERROR(ENOENT):
        return Media::tr("Error opening %1:\nNo such file.");
    default:
        return Media::tr("Error opening %1:\nCouldn't open the file.");
    }
}

} // namespace

Media::Media(QObject *parent, bool powerOfTwo, int swsFlags, int pixelFormat, int width, int height,
             const media::EngineClock &engineClock)
    : PictureSource(parent), clock(engineClock),
      ring(swsFlags, pixelFormat, width, height, powerOfTwo)
{
    setUpFfmpegOnce();
    parsingThread = new ParsingThread(demux, *this, this);
    videoThread = new VideoDecodeThread(*this, demux.videoQueue, this);
    audioThread = new AudioDecodeThread(*this, demux.audioQueue, this);
    for (WorkerThread *worker :
         {static_cast<WorkerThread *>(parsingThread), static_cast<WorkerThread *>(videoThread),
          static_cast<WorkerThread *>(audioThread)})
        connect(worker, &WorkerThread::finished, this, &Media::thread_terminated,
                Qt::QueuedConnection);
    refreshTimer = new QTimer(this);
    refreshTimer->setSingleShot(true);
    refreshTimer->setTimerType(Qt::PreciseTimer);
    connect(refreshTimer, &QTimer::timeout, this, &Media::video_refresh_timer);
    watchTimer = new QTimer(this);
    watchTimer->setInterval(1000);
    connect(watchTimer, &QTimer::timeout, this, &Media::watchInputAndOutput);
    resetClocks();
}

Media::~Media()
{
    // Nothing of this half-destroyed object may be reached while the workers are joined
    // and the sound output closed, so its timers and its signal connections go first.
    refreshTimer->stop();
    watchTimer->stop();
    disconnect();
    stopped.store(true, std::memory_order_release);
    demux.abortReads(true);
    joinWorkers();
    IAudio::instance()->close(this);
    releaseInput();
}

void Media::joinWorkers()
{
    // A decode thread blocked on an empty queue or a full ring looks at stopped again
    // when woken; the demux thread's closing flush wakes the queues too, but it may
    // already have ended on its own.
    demux.audioQueue.wakeAll();
    demux.videoQueue.wakeAll();
    parsingThread->wait();
    ring.wakeWriter();
    videoThread->wait();
    audioThread->wait();
}

bool Media::nextPacket(PacketQueue &queue, AVPacket *packet)
{
    for (;;) {
        const bool stopping = stopped.load(std::memory_order_acquire);
        if (!paused_.load(std::memory_order_acquire) || stopping)
            return queue.get(packet, !stopping, &stopped);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

int64_t Media::flushTarget(const AVPacket *flush, AVRational tb) const
{
    return flush->pts == AV_NOPTS_VALUE ? AV_NOPTS_VALUE : av_rescale_q(flush->pts, timeBase(), tb);
}

void Media::noteAspectRatio()
{
    aspectRatio_.store(decoderAspectRatio(), std::memory_order_relaxed);
}

bool Media::soundFarAhead(int epoch) const
{
    return videoCodec && pictureClock.shownEpoch() == epoch &&
           pictureClock.shownSeconds() + 0.5 < soundClock.seconds();
}

bool Media::allWorkersRunning() const
{
    return parsingThread->isRunning() && (!videoCodec || videoThread->isRunning()) &&
           (!audioCodec || audioThread->isRunning());
}

bool Media::openAudioOutput()
{
    IAudio *audio = IAudio::instance();
    if (audio->open(this, audioSampleRate(), 16, audioChannels()))
        return audioCodec != nullptr;
    if (!audioCodec)
        return false;
    // The server cannot take the file's own format (more channels or a higher rate than
    // it plays): open it in stereo at 48 kHz; the audio thread converts to that.
    return audio->open(this, 48000, 16, 2);
}

void Media::publishHeard(const media::HeardStretch &current, const media::HeardStretch &next)
{
    soundClock.publish(current, next, clock.nowSeconds());
    publishClock(current.seconds);
}

void Media::publishClock(double seconds)
{
    soundClock.publishSeconds(seconds, playSpeed.load(), audioStream->time_base);
}

void Media::releaseInput()
{
    ring.release();
    audioCodec.reset();
    videoCodec.reset();
    audioStream = videoStream = nullptr;
    demux.close();
    coverArt_ = QImage();
    aspectRatio_.store(1.0f, std::memory_order_relaxed);
}

void Media::appendLog(const QString &line)
{
    log.append(line);
}

QString Media::logText() const
{
    return log.text();
}

bool Media::open(const QString &file)
{
    return open(file, 0, 0);
}

bool Media::open(const QString &file, int64_t markIn)
{
    return open(file, markIn, 0);
}

bool Media::open(const QString &file, int64_t givenMarkIn, int64_t givenMarkOut)
{
    if (demux.isOpen()) // one input per object
        return false;
    fileName = file;

    // A name the learner picked is used as it stands; only a name that does not exist
    // is taken as percent-encoded (for example "unit%201.mp3" that does exist opens).
    QByteArray name = QFile::encodeName(file);
    if (!QFileInfo::exists(file))
        name = QByteArray::fromPercentEncoding(name);

    AVFormatContext *raw = avformat_alloc_context();
    if (!raw)
        qBadAlloc();
    return openInput(raw, name.constData(), givenMarkIn, givenMarkOut);
}

bool Media::openData(const QByteArray &data, const QString &name)
{
    if (demux.isOpen())
        return false;
    fileName = name;
    AVFormatContext *raw = demux.allocateMemoryInput(data);
    if (!raw)
        qBadAlloc();
    return openInput(raw, "", 0, 0);
}

bool Media::openInput(AVFormatContext *raw, const char *url, int64_t givenMarkIn,
                      int64_t givenMarkOut)
{
    const int err = demux.openInput(raw, url);
    if (err < 0) {
        emit error(openErrorText(err).arg(fileName));
        return false;
    }
    AVFormatContext *formatContext = demux.input();
    localPath = url; // empty for bytes in memory, which have no file to watch
    openedStamp = media::stampOf(localPath);

    if (avformat_find_stream_info(formatContext, nullptr) < 0) {
        releaseInput();
        emit error(tr("Error opening %1:\nCouldn't find any stream information in this file.")
                       .arg(fileName));
        return false;
    }

    media::ChosenStreams chosen = media::chooseStreams(formatContext);
    audioCodec = std::move(chosen.audioCodec);
    audioStream = chosen.audioStream;
    demux.audioStreamIndex = chosen.audioIndex;
    videoCodec = std::move(chosen.videoCodec);
    videoStream = chosen.videoStream;
    demux.videoStreamIndex = chosen.videoIndex;
    coverArt_ = std::move(chosen.coverArt);
    if (videoCodec) {
        aspectRatio_.store(decoderAspectRatio(), std::memory_order_relaxed);
        pictureClock.reset(clock.nowSeconds());
    }
    if (!audioCodec && !videoCodec) {
        releaseInput();
        emit error(
            chosen.picturesUnusable
                ? tr("Error opening %1:\nCannot create a suitable conversion context to RGB.")
                      .arg(fileName)
                : tr("Error opening %1:\nThe file has no sound or picture this program can "
                     "play.")
                      .arg(fileName));
        return false;
    }
    shortestLoop_ = media::shortestLoopTicks(formatContext, videoStream, timeBase());
    markIn_ = startTime();
    markOut_ = endTime();
    if (givenMarkIn != 0)
        markIn_ = clampedMarkIn(givenMarkIn);
    if (givenMarkOut != 0)
        setMarkOutAt(givenMarkOut);

    if (videoCodec && !ring.allocate(videoCodec->width, videoCodec->height)) {
        releaseInput();
        emit error(tr("Error opening %1:\nCannot allocate pictures buffer.").arg(fileName));
        return false;
    }

    paused_ = false;
    emit running(!stopped);
    return true;
}

AVStream *Media::referenceStream() const
{
    return videoCodec ? videoStream : audioStream;
}

AVRational Media::timeBase() const
{
    const AVStream *st = referenceStream();
    return st ? st->time_base : AVRational{1, 1000000};
}

int64_t Media::startTime() const
{
    const AVStream *st = referenceStream();
    return st ? media::streamStart(st) : 0;
}

int64_t Media::duration() const
{
    const AVStream *st = referenceStream();
    const AVFormatContext *formatContext = demux.input();
    return formatContext && st ? media::streamLength(formatContext, st) : 0;
}

int64_t Media::endTime() const
{
    return hasKnownLength() ? startTime() + duration() : unknownEnd;
}

int64_t Media::ticksFromSeconds(double seconds) const
{
    return av_rescale_q(int64_t(std::llround(seconds * 1000000.0)), AVRational{1, 1000000},
                        timeBase());
}

void Media::start()
{
    startFrom(std::nullopt);
}

void Media::startAt(int64_t target)
{
    startFrom(target);
}

void Media::startFrom(std::optional<int64_t> target)
{
    if (!stopped || !demux.isOpen())
        return;
    const bool soundOutput = openAudioOutput();
    stopped.store(false, std::memory_order_release);
    resetClocks();
    startEpoch = demux.seekEpoch;
    pictureClock.restart(demux.seekEpoch, soundOutput);
    if (target)
        seek(*target);
    else if (resumePosition > 0)
        seek(resumePosition);
    else if (markIn() > startTime())
        seek(markIn());
    if (!paused_) {
        paused_ = true;
        pause(false);
        demux.lastPaused = false;
    }
    parsingThread->start();
    watchTimer->start();
    if (videoCodec) {
        videoThread->setInput(videoCodec.get(), videoStream,
                              av_guess_frame_rate(demux.input(), videoStream, nullptr));
        videoThread->start();
    }
    if (audioCodec) {
        audioThread->setInput(audioCodec.get(), audioStream);
        audioThread->start();
    }
    emit running(true);
}

void Media::stop()
{
    if (stopped || !demux.isOpen())
        return;
    refreshTimer->stop();
    watchTimer->stop();
    stopped.store(true, std::memory_order_release);
    demux.abortReads(true);
    joinWorkers();
    // the sound ends now, not once the output has played what it holds
    IAudio::instance()->discard(this);
    demux.abortReads(false);
    resumePosition = position();
    emit running(false);
}

void Media::play(bool startorstop)
{
    if (startorstop)
        start();
    else
        stop();
}

void Media::thread_terminated()
{
    if (stopped || allWorkersRunning())
        return; // a stale notice from a run that was stopped and started again
    emit error(tr("Error reading %1 !\n\nLogs;\n%2Decoding interupted. ").arg(fileName, logText()));
    stop();
}

void Media::watchInputAndOutput()
{
    if (stopped)
        return;
    // A learner who deletes, re-downloads or re-encodes the lesson while it plays would
    // otherwise hear the old file go on, or garbage from a half-written one.
    if (openedStamp && media::stampOf(localPath) != openedStamp) {
        emit error(tr("The lesson file %1 was removed or changed while it played.").arg(fileName));
        stop();
        return;
    }
    // Until the output is back, the audio thread drops its samples and the pictures go on.
    if (audioCodec && !paused_ && !IAudio::instance()->isPlaying())
        pictureClock.setFollowSound(openAudioOutput());
}

void Media::resetClocks()
{
    soundClock.reset();
    pictureClock.reset(clock.nowSeconds());
    ring.reset();
    demux.clearSeek();
}

double Media::currentClock() const
{
    if (!videoCodec)
        return soundClock.seconds();
    return pictureClock.current(clock.nowSeconds(), paused_);
}

int64_t Media::position() const
{
    // the reference stream is the video stream when there is one, else the audio stream
    return videoCodec ? pictureClock.shownTicks() : soundClock.ticks();
}

void Media::pause(bool p)
{
    if (stopped || paused_.exchange(p) == p)
        return;
    if (!p) {
        pictureClock.resume(clock.nowSeconds());
        refreshTimer->start(10);
    }
    emit paused(p);
}

void Media::video_refresh_timer()
{
    // a stopped or paused media has nothing to show: pause(false) and start() resume
    if (stopped || paused_)
        return;
    if (!videoCodec) {
        refreshTimer->start(100);
        return;
    }
    const PictureClock::Tick tick = pictureClock.tick(ring, soundClock, demux.pictureSerial(),
                                                      playSpeed.load(), clock.nowSeconds());
    if (tick.outcome == PictureClock::Tick::Outcome::Show) {
        emit frameReady(ring.headIndex());
        if (!paused_)
            refreshTimer->start(tick.nextInMs);
        ring.releaseHead();
        return;
    }
    refreshTimer->start(tick.nextInMs);
}

void Media::queuePicture(const AVFrame *frame, int64_t ticks, bool afterSeek, int serial, int epoch)
{
    VideoPicture *vp = ring.waitForFreeSlot(stopped);
    if (!vp || !ring.store(frame, *vp))
        return;
    vp->pts = media::toSeconds(ticks, videoStream->time_base);
    vp->ticks = ticks;
    vp->afterSeek = afterSeek;
    vp->serial = serial;
    vp->epoch = epoch;
    ring.commit();
}

bool Media::applyMarkOutRule(int64_t t, bool sound)
{
    // Not a tick earlier: in a coarse time base (Theora's 1/25 s) a tick is a whole
    // picture, and the one at the mark out would never be decoded.
    if (t < markOut())
        return false;
    const bool reference = sound != hasVideo();
    if (loop) {
        if (reference)
            requestSeek(markIn(), false);
    } else if (sound || !hasAudio() || markOut() >= endTime()) {
        // The pictures run ahead of the sound: pausing when they reach the mark would cut
        // off the sound still to be decoded before it. At the file's end the sound's
        // thread sees no packet past the mark, so the pictures' end pauses there.
        pause(true);
    }
    return true;
}

VideoPicture *Media::picture(int id)
{
    return ring.picture(id);
}

float Media::videoAspectRatio() const
{
    return aspectRatio_.load(std::memory_order_relaxed);
}

// Marks --------------------------------------------------------------------------------

int64_t Media::clampedMarkIn(int64_t value) const
{
    return std::max(startTime(), std::min(value, markOut() - shortestLoop_));
}

int64_t Media::clampedMarkOut(int64_t value) const
{
    // written so that an end that lies nowhere (unknownEnd) cannot overflow
    const int64_t end = endTime();
    const int64_t earliest = markIn() > end - shortestLoop_ ? end : markIn() + shortestLoop_;
    return std::min(end, std::max(value, earliest));
}

void Media::setMarkInAt(int64_t value)
{
    markIn_ = clampedMarkIn(value);
    emit markingChanged();
}

void Media::setMarkOutAt(int64_t value)
{
    markOut_ = clampedMarkOut(value);
    emit markingChanged();
}

void Media::resetMarkIn()
{
    setMarkInAt(startTime());
}

void Media::resetMarkOut()
{
    setMarkOutAt(endTime());
}

void Media::setMarkIn()
{
    setMarkInAt(position());
}

void Media::setMarkOut()
{
    setMarkOutAt(position());
}

void Media::setLoop(bool on)
{
    loop = on;
}

// Seeks ---------------------------------------------------------------------------------

void Media::seek(int64_t target)
{
    requestSeek(target, true);
}

void Media::requestSeek(int64_t target, bool dropPictures)
{
    if (!demux.isOpen() || stopped)
        return;
    demux.requestSeek(std::max(startTime(), std::min(target, endTime())), dropPictures);
}

void Media::seekBy(int64_t delta)
{
    seek(position() + delta);
}

void Media::seekBySeconds(double seconds)
{
    seek(ticksFromSeconds((currentClock() + seconds) * playSpeed));
}

void Media::seekBackward()
{
    seekBy(int64_t(-0.1 * double(duration())));
}

void Media::seekForward()
{
    seekBy(int64_t(0.1 * double(duration())));
}

void Media::seekBegin()
{
    seek(startTime());
}

void Media::setOptionAllowDirtySeek(bool dirty)
{
    demux.setAllowDirtySeek(dirty);
}

void Media::setPlaySpeed(int playspeed)
{
    static constexpr double factors[] = {0.25, 0.333, 0.5, 1.0, 2.0, 3.0};
    const double factor =
        playspeed >= 0 && playspeed < int(std::size(factors)) ? factors[playspeed] : 1.0;
    playSpeed = factor;
    appendLog(QStringLiteral("Playing speed set to %2.\n").arg(factor, 0, 'g'));
}

void Media::setPlaySpeedFactor(double factor)
{
    // sound can be stretched this far and no further, and pictures keep to the sound
    const double speed = factor > 0 ? std::clamp(factor, media::TempoFilter::minFactor,
                                                 media::TempoFilter::maxFactor)
                                    : 1.0;
    playSpeed = speed;
    appendLog(QStringLiteral("Playing speed set to %2.\n").arg(speed, 0, 'g'));
}

QString Media::timeText(int64_t pos) const
{
    // media time at every speed: the lesson's 8 s are 8 s however slowly they are heard
    const auto seconds = int64_t(media::toSeconds(pos, timeBase()));
    const QChar zero(u'0');
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, zero)
        .arg((seconds % 3600) / 60, 2, 10, zero)
        .arg(seconds % 60, 2, 10, zero);
}

// Audio decoder properties --------------------------------------------------------------

int Media::audioSampleRate()
{
    return audioCodec ? audioCodec->sample_rate : 0;
}

int Media::audioBitRate()
{
    return audioCodec ? int(audioCodec->bit_rate) : 0;
}

int Media::audioChannels()
{
    return audioCodec ? audioCodec->ch_layout.nb_channels : 0;
}
