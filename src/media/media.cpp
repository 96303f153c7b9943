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
#include <limits>
#include <thread>

#include <sys/stat.h>

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

Media::Media(QObject *parent, bool powerOfTwo_, int swsFlags_, int pixelFormat, int width,
             int height)
    : PictureSource(parent), swsFlags(swsFlags_), targetPixelFormat(pixelFormat), targetWidth(width),
      targetHeight(height), powerOfTwo(powerOfTwo_)
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
    {
        media::GuardedLock lock(pictqMutex);
    }
    pictqCond.notify_all();
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
    return videoCodec && shownEpoch.load(std::memory_order_relaxed) == epoch &&
           videoCurrentPts.load() + 0.5 < audioClock.load();
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
    const double now = double(nowMicroseconds()) / 1000000.0;
    const auto clockOf = [&](const media::HeardStretch &s) {
        return HeardClock{s.seconds, s.until, now + s.in, s.speed, s.epoch};
    };
    {
        media::GuardedLock lock(heardMutex);
        heard = {true, clockOf(current), clockOf(next)};
    }
    publishClock(current.seconds);
}

void Media::publishClock(double seconds)
{
    audioClock = seconds / playSpeed.load();
    audioClockTicks = std::llround(seconds / av_q2d(audioStream->time_base));
}

Media::SoundFor Media::heardClock(int epoch, double &clock, double &switchIn, double &speed) const
{
    const double now = double(nowMicroseconds()) / 1000000.0;
    media::GuardedLock lock(heardMutex);
    switchIn = std::numeric_limits<double>::infinity();
    if (!heard.known)
        return SoundFor::NotYet;
    const bool switched = heard.next.epoch >= 0 && now >= heard.next.from;
    const HeardClock &current = switched ? heard.next : heard.current;
    const HeardClock *next = switched || heard.next.epoch < 0 ? nullptr : &heard.next;
    if (next && next->epoch != epoch)
        switchIn = next->from - now;
    const HeardClock *of = epoch == current.epoch         ? &current
                           : next && epoch == next->epoch ? next
                                                          : nullptr;
    if (!of)
        return epoch < current.epoch ? SoundFor::Past : SoundFor::NotYet;
    clock = std::min(of->seconds + (now - of->from) * of->speed, of->until);
    speed = of->speed;
    return SoundFor::Heard;
}

bool Media::picturesFollowSound(int epoch) const
{
    return audioOutputOpen && epoch != soundLostEpoch;
}

void Media::releaseInput()
{
    swsContext.reset();
    convertScratch.reset();
    for (VideoPicture &p : pictures)
        p.release();
    audioCodec.reset();
    videoCodec.reset();
    audioStream = videoStream = nullptr;
    demux.close();
    coverArt_ = QImage();
    aspectRatio_.store(1.0f, std::memory_order_relaxed);
}

void Media::appendLog(const QString &line)
{
    media::GuardedLock lock(logMutex);
    logLines.push_back(line);
    if (logLines.size() > maxLogLines)
        logLines.pop_front();
}

QString Media::logText() const
{
    media::GuardedLock lock(logMutex);
    QString text;
    for (const QString &line : logLines)
        text += line;
    return text;
}

bool Media::convertible(int width, int height, int format, bool formatMayBeUnknown)
{
    if (width <= 0 || height <= 0 ||
        av_image_check_size(unsigned(width), unsigned(height), 0, nullptr) < 0)
        return false;
    if (format == AV_PIX_FMT_NONE)
        return formatMayBeUnknown;
    return sws_isSupportedInput(AVPixelFormat(format)) > 0;
}

int Media::roundToPowerOfTwo(int v)
{
    if (v <= 0)
        return 1;
    int k = 0;
    while ((v >> (k + 1)) != 0)
        ++k;
    if (k > 0 && (v & (1 << (k - 1))))
        return 1 << (k + 1);
    return 1 << k;
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
    openedStamp = stampOf(localPath);

    if (avformat_find_stream_info(formatContext, nullptr) < 0) {
        releaseInput();
        emit error(tr("Error opening %1:\nCouldn't find any stream information in this file.")
                       .arg(fileName));
        return false;
    }

    // The first audio and the first video stream; a cover picture is not video.
    int videoCandidate = -1;
    int audioCandidate = -1;
    for (unsigned i = 0; i < formatContext->nb_streams; ++i) {
        const AVStream *st = formatContext->streams[i];
        const AVMediaType type = st->codecpar->codec_type;
        const bool cover = st->disposition & AV_DISPOSITION_ATTACHED_PIC;
        if (type == AVMEDIA_TYPE_VIDEO && videoCandidate < 0 && !cover)
            videoCandidate = int(i);
        else if (type == AVMEDIA_TYPE_VIDEO && cover && coverArt_.isNull())
            decodeCoverArt(st);
        else if (type == AVMEDIA_TYPE_AUDIO && audioCandidate < 0)
            audioCandidate = int(i);
    }
    AVCodecContext *ctx = nullptr;
    if (audioCandidate >= 0 && openStreamComponent(audioCandidate, &ctx) == 0) {
        audioCodec.reset(ctx);
        demux.audioStreamIndex = audioCandidate;
        audioStream = formatContext->streams[audioCandidate];
    }
    ctx = nullptr;
    // a file whose pictures cannot be shown plays as sound
    bool picturesUnusable = false;
    if (videoCandidate >= 0 && openStreamComponent(videoCandidate, &ctx) == 0) {
        media::CodecContextPtr video(ctx);
        picturesUnusable = !convertible(video->width, video->height, video->pix_fmt, true);
        if (!picturesUnusable)
            videoCodec = std::move(video);
    }
    if (videoCodec) {
        demux.videoStreamIndex = videoCandidate;
        videoStream = formatContext->streams[videoCandidate];
        aspectRatio_.store(decoderAspectRatio(), std::memory_order_relaxed);
        frameTimer = double(nowMicroseconds()) / 1000000.0;
        frameLastDelay = 0.04;
        videoCurrentPtsTime = nowMicroseconds();
    }
    if (!audioCodec && !videoCodec) {
        releaseInput();
        emit error(
            picturesUnusable
                ? tr("Error opening %1:\nCannot create a suitable conversion context to RGB.")
                      .arg(fileName)
                : tr("Error opening %1:\nThe file has no sound or picture this program can "
                     "play.")
                      .arg(fileName));
        return false;
    }
    if (videoCodec)
        coverArt_ = QImage(); // a film shows its own pictures

    const AVRational frameRate =
        videoCodec ? av_guess_frame_rate(formatContext, videoStream, nullptr) : AVRational{0, 1};
    shortestLoop_ = frameRate.num > 0 && frameRate.den > 0
                        ? std::max<int64_t>(
                              1, av_rescale_q_rnd(1, av_inv_q(frameRate), timeBase(), AV_ROUND_UP))
                        : ticksFromSeconds(0.1);
    markIn_ = startTime();
    markOut_ = endTime();
    if (givenMarkIn != 0)
        markIn_ = clampedMarkIn(givenMarkIn);
    if (givenMarkOut != 0)
        setMarkOutAt(givenMarkOut);

    if (videoCodec) {
        int w = targetWidth;
        int h = targetHeight;
        if (w == 0 || h == 0) {
            w = videoCodec->width;
            h = videoCodec->height;
        }
        if (powerOfTwo) {
            w = roundToPowerOfTwo(w);
            h = roundToPowerOfTwo(h);
        }
        for (VideoPicture &p : pictures) {
            if (!p.allocate(w, h, targetPixelFormat)) {
                releaseInput();
                emit error(tr("Error opening %1:\nCannot allocate pictures buffer.").arg(fileName));
                return false;
            }
        }
        // swscale's vector converters leave the last pixels of a row unwritten when the
        // row length is not a multiple of their block; such pictures are converted into
        // rows of an aligned length and copied into the packed slot.
        int packed[4] = {};
        av_image_fill_linesizes(packed, AVPixelFormat(targetPixelFormat), w);
        if (std::any_of(std::begin(packed), std::end(packed),
                        [](int l) { return l % convertAlignment != 0; })) {
            uint8_t *planes[4] = {};
            if (av_image_alloc(planes, convertScratchLinesizes.data(), w, h,
                               AVPixelFormat(targetPixelFormat), convertAlignment) < 0)
                qBadAlloc();
            convertScratch.reset(planes[0]);
            std::copy(std::begin(planes), std::end(planes), convertScratchPlanes.begin());
        }
        // The converter is made for the first real picture, with its actual size and
        // format: a damaged or cut header may state neither.
        swsContext.reset();
        swsSourceWidth = swsSourceHeight = 0;
        swsSourceFormat = AV_PIX_FMT_NONE;
        swsSourceColorSpace = AVCOL_SPC_UNSPECIFIED;
        swsSourceFullRange = false;
    }

    paused_ = false;
    emit running(!stopped);
    return true;
}

void Media::decodeCoverArt(const AVStream *st)
{
    const AVPacket &pic = st->attached_pic;
    const AVCodec *codec = avcodec_find_decoder(st->codecpar->codec_id);
    if (!codec || pic.size <= 0)
        return;
    media::CodecContextPtr ctx(avcodec_alloc_context3(codec));
    if (!ctx)
        qBadAlloc();
    if (avcodec_parameters_to_context(ctx.get(), st->codecpar) < 0 ||
        avcodec_open2(ctx.get(), codec, nullptr) < 0)
        return;
    media::FramePtr frame = media::allocFrame();
    if (avcodec_send_packet(ctx.get(), &pic) < 0 || avcodec_send_packet(ctx.get(), nullptr) < 0 ||
        avcodec_receive_frame(ctx.get(), frame.get()) < 0)
        return;
    const int w = frame->width;
    const int h = frame->height;
    const auto format = AVPixelFormat(frame->format);
    // a damaged picture may state any size or format: only what converts safely is shown
    if (!convertible(w, h, format, false))
        return;
    media::SwsContextPtr sws(sws_getContext(w, h, format, w, h, AV_PIX_FMT_RGB32, SWS_BILINEAR,
                                            nullptr, nullptr, nullptr));
    if (!sws)
        return;
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull())
        return;
    uint8_t *const dst[4] = {image.bits(), nullptr, nullptr, nullptr};
    const int dstLinesize[4] = {int(image.bytesPerLine()), 0, 0, 0};
    sws_scale(sws.get(), frame->data, frame->linesize, 0, h, dst, dstLinesize);
    coverArt_ = image;
}

int Media::openStreamComponent(int streamIndex, AVCodecContext **context)
{
    const AVFormatContext *formatContext = demux.input();
    if (!formatContext || streamIndex < 0 || unsigned(streamIndex) >= formatContext->nb_streams)
        return -1;
    const AVStream *st = formatContext->streams[streamIndex];
    const AVCodec *codec = avcodec_find_decoder(st->codecpar->codec_id);
    if (!codec)
        return -1;
    media::CodecContextPtr ctx(avcodec_alloc_context3(codec));
    if (!ctx)
        qBadAlloc();
    if (avcodec_parameters_to_context(ctx.get(), st->codecpar) < 0)
        return -1;
    ctx->pkt_timebase = st->time_base;
    if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
        // Decoding on a few threads halves the time a seek or loop-back spends decoding
        // from the key frame up to its target; more threads would add more frames of delay.
        ctx->thread_count = int(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
        ctx->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    }
    if (avcodec_open2(ctx.get(), codec, nullptr) < 0)
        return -1;
    *context = ctx.release();
    return 0;
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
    if (!st || st->start_time == AV_NOPTS_VALUE)
        return 0;
    return st->start_time;
}

int64_t Media::duration() const
{
    const AVStream *st = referenceStream();
    const AVFormatContext *formatContext = demux.input();
    if (!formatContext || !st)
        return 0;
    if (st->duration != AV_NOPTS_VALUE)
        return st->duration;
    if (formatContext->duration == AV_NOPTS_VALUE)
        return 0;
    return int64_t(double(formatContext->duration) / 1000000.0 * st->time_base.den /
                   st->time_base.num);
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
    audioOutputOpen = openAudioOutput();
    stopped.store(false, std::memory_order_release);
    resetClocks();
    startEpoch = demux.seekEpoch;
    shownEpoch = demux.seekEpoch;
    soundLostEpoch = -1;
    waitingSince = 0;
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

std::optional<Media::FileStamp> Media::stampOf(const QByteArray &path)
{
    struct stat st = {};
    if (stat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return FileStamp{st.st_dev, st.st_ino, st.st_size,
                     st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
}

void Media::watchInputAndOutput()
{
    if (stopped)
        return;
    // A learner who deletes, re-downloads or re-encodes the lesson while it plays would
    // otherwise hear the old file go on, or garbage from a half-written one.
    if (openedStamp && stampOf(localPath) != openedStamp) {
        emit error(tr("The lesson file %1 was removed or changed while it played.").arg(fileName));
        stop();
        return;
    }
    // Until the output is back, the audio thread drops its samples and the pictures go on.
    if (audioCodec && !paused_ && !IAudio::instance()->isPlaying())
        audioOutputOpen = openAudioOutput();
}

void Media::resetClocks()
{
    audioClock = 0;
    audioClockTicks = 0;
    {
        media::GuardedLock lock(heardMutex);
        heard = {};
    }
    frameLastPts = 0;
    videoCurrentPts = 0;
    videoCurrentTicks = 0;
    {
        media::GuardedLock lock(pictqMutex);
        pictqSize = 0;
    }
    pictqRindex = 0;
    pictqWindex = 0;
    demux.clearSeek();
    videoCurrentPtsTime = nowMicroseconds();
    frameTimer = double(videoCurrentPtsTime) / 1000000.0;
    frameLastDelay = 0.04;
}

double Media::currentClock() const
{
    if (!videoCodec)
        return audioClock;
    if (paused_)
        return videoCurrentPts;
    return videoCurrentPts + double(nowMicroseconds() - videoCurrentPtsTime) / 1000000.0;
}

int64_t Media::position() const
{
    // the reference stream is the video stream when there is one, else the audio stream
    return videoCodec ? videoCurrentTicks.load() : audioClockTicks.load();
}

void Media::pause(bool p)
{
    if (stopped || paused_.exchange(p) == p)
        return;
    if (!p) {
        videoCurrentPts = currentClock();
        frameTimer += double(nowMicroseconds() - videoCurrentPtsTime) / 1000000.0;
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
    const int serial = demux.pictureSerial();
    for (;;) {
        {
            media::GuardedLock lock(pictqMutex);
            if (pictqSize < 1) {
                refreshTimer->start(10);
                return;
            }
        }
        // pictures decoded before the learner's last seek are dropped; the picture on
        // screen stays until the first one at the seek target
        if (pictures[size_t(pictqRindex)].serial == serial)
            break;
        releaseShownSlot();
    }
    const VideoPicture &vp = pictures[size_t(pictqRindex)];
    const int64_t now = nowMicroseconds();
    // While the sound plays, the pictures follow what is heard: the sound cannot wait
    // without a gap the learner hears, and it starts late by the output's buffer and
    // start-up, so a picture early for its sound waits for it, and one late for it is
    // shown at once, its successors following quickly until they catch up. The sound in
    // turn is held back only when the pictures lag far behind (a decoder too slow).
    // The picture times and the clock heard are media seconds; the speed turns their
    // distance into wall time.
    double heardNow = 0;
    double heardSpeed = 1;
    bool onSound = false;
    double switchIn = std::numeric_limits<double>::infinity();
    if (picturesFollowSound(vp.epoch)) {
        double early = 0;
        switch (heardClock(vp.epoch, heardNow, switchIn, heardSpeed)) {
        case SoundFor::NotYet:
            early = 0.005; // the sound of this stretch has not begun yet
            break;
        case SoundFor::Heard:
            early = (vp.pts - heardNow) / heardSpeed - pictureLead;
            onSound = true;
            break;
        case SoundFor::Past:
            break;
        }
        if (early > 0.002) {
            if (waitingSince == 0)
                waitingSince = now;
            if (now - waitingSince < maxSoundWaitMicroseconds) {
                // the clock stays with the picture on screen until its successor is shown
                videoCurrentPtsTime = now;
                refreshTimer->start(std::clamp(int(early * 1000), 1, 20));
                return;
            }
            // the sound does not come (a stalled output, a stretch without sound): this
            // stretch's pictures go by their own times
            soundLostEpoch = vp.epoch;
            onSound = false;
        }
    }
    waitingSince = 0;
    const double speed = playSpeed.load();
    videoCurrentPts = vp.pts / speed;
    videoCurrentTicks = vp.ticks;
    videoCurrentPtsTime = now;
    shownEpoch.store(vp.epoch, std::memory_order_relaxed);
    const double delay = frameDelay(vp.pts, frameLastPts, frameLastDelay, vp.afterSeek);
    frameLastDelay = delay;
    frameLastPts = vp.pts;
    double actual = 0;
    if (onSound) {
        // the next picture is due when the sound reaches its time, or when the sound of
        // the next stretch (a loop-back) begins, whose first picture then waits no longer
        actual = std::min((vp.pts + delay - heardNow) / heardSpeed, switchIn) - pictureLead;
        frameTimer = double(now) / 1000000.0 + actual;
        actual = std::max(actual, 0.002);
    } else {
        frameTimer += delay / speed;
        actual = std::max(frameTimer - double(now) / 1000000.0, 0.01);
    }
    emit frameReady(pictqRindex);
    if (!paused_)
        refreshTimer->start(int(actual * 1000 + 0.5));
    releaseShownSlot();
}

void Media::releaseShownSlot()
{
    pictqRindex = (pictqRindex + 1) % int(pictures.size());
    {
        media::GuardedLock lock(pictqMutex);
        if (pictqSize > 0) // a stopping video thread may have emptied the ring meanwhile
            --pictqSize;
    }
    pictqCond.notify_all();
}

void Media::queuePicture(const AVFrame *frame, int64_t ticks, bool afterSeek, int serial, int epoch)
{
    {
        media::GuardedLock lock(pictqMutex);
        while (pictqSize >= maxPendingPictures && !stopped)
            lock.wait(pictqCond);
        if (stopped) {
            pictqSize = 0;
            return;
        }
    }
    VideoPicture &vp = pictures[size_t(pictqWindex)];
    if (!vp.frame)
        return;
    const bool fullRange = isFullRange(frame);
    // Planar 4:2:0 pictures of the slot's size are kept as the decoder made them: the
    // view converts them to RGB as it draws them.
    if (vp.pixelFormat == AV_PIX_FMT_YUV420P &&
        (frame->format == AV_PIX_FMT_YUV420P || frame->format == AV_PIX_FMT_YUVJ420P) &&
        frame->width == vp.width && frame->height == vp.height && frame->linesize[0] > 0 &&
        frame->linesize[1] > 0 && frame->linesize[2] > 0) {
        if (!vp.hold(frame))
            return;
        vp.colorSpace = frame->colorspace;
        vp.fullRange = fullRange;
    } else if (!convertPicture(frame, vp)) {
        return;
    }
    vp.pts = media::toSeconds(ticks, videoStream->time_base);
    vp.ticks = ticks;
    vp.afterSeek = afterSeek;
    vp.serial = serial;
    vp.epoch = epoch;
    pictqWindex = (pictqWindex + 1) % int(pictures.size());
    media::GuardedLock lock(pictqMutex);
    ++pictqSize;
}

bool Media::isFullRange(const AVFrame *frame)
{
    switch (frame->format) {
    case AV_PIX_FMT_YUVJ420P:
    case AV_PIX_FMT_YUVJ422P:
    case AV_PIX_FMT_YUVJ444P:
    case AV_PIX_FMT_YUVJ440P:
    case AV_PIX_FMT_YUVJ411P:
        return true;
    default:
        return frame->color_range == AVCOL_RANGE_JPEG;
    }
}

bool Media::convertPicture(const AVFrame *frame, VideoPicture &vp)
{
    const bool fullRange = isFullRange(frame);
    // A stream whose picture size, format or colours change midway gets a new converter:
    // the old one would read past the new frame's planes. The comparison is our own
    // because sws_getCachedContext compares with the format it renamed for full-range
    // sources (yuvj420p and the like) and so made a new converter for every such frame.
    if (frame->width != swsSourceWidth || frame->height != swsSourceHeight ||
        frame->format != swsSourceFormat || frame->colorspace != swsSourceColorSpace ||
        fullRange != swsSourceFullRange) {
        // a picture that cannot be converted is not shown (and no converter is made for
        // it: the converter's set-up aborts on some sizes and formats)
        swsContext.reset(convertible(frame->width, frame->height, frame->format, false)
                             ? sws_getContext(frame->width, frame->height,
                                              AVPixelFormat(frame->format), vp.width, vp.height,
                                              AVPixelFormat(vp.pixelFormat), swsFlags, nullptr,
                                              nullptr, nullptr)
                             : nullptr);
        swsSourceWidth = frame->width;
        swsSourceHeight = frame->height;
        swsSourceFormat = frame->format;
        swsSourceColorSpace = frame->colorspace;
        swsSourceFullRange = fullRange;
        // The stream's own matrix and range (BT.601 when it states none); a YUV target
        // keeps the matrix and gets the limited range.
        if (swsContext) {
            int *invTable = nullptr;
            int *table = nullptr;
            int srcRange = 0;
            int dstRange = 0;
            int brightness = 0;
            int contrast = 0;
            int saturation = 0;
            sws_getColorspaceDetails(swsContext.get(), &invTable, &srcRange, &table, &dstRange,
                                     &brightness, &contrast, &saturation);
            const int *matrix = sws_getCoefficients(frame->colorspace);
            const bool toYuv = vp.pixelFormat == AV_PIX_FMT_YUV420P;
            sws_setColorspaceDetails(swsContext.get(), matrix, fullRange ? 1 : 0,
                                     toYuv ? matrix : table, toYuv ? 0 : dstRange, brightness,
                                     contrast, saturation);
        }
    }
    SwsContext *sws = swsContext.get();
    AVFrame *target = sws ? vp.conversionTarget() : nullptr;
    if (!target)
        return false;
    if (!convertScratch) {
        sws_scale(sws, frame->data, frame->linesize, 0, frame->height, target->data,
                  target->linesize);
    } else {
        sws_scale(sws, frame->data, frame->linesize, 0, frame->height, convertScratchPlanes.data(),
                  convertScratchLinesizes.data());
        av_image_copy(target->data, target->linesize,
                      const_cast<const uint8_t **>(convertScratchPlanes.data()),
                      convertScratchLinesizes.data(), AVPixelFormat(vp.pixelFormat), vp.width,
                      vp.height);
    }
    vp.colorSpace = frame->colorspace;
    vp.fullRange = false;
    return true;
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

double Media::frameDelay(double pts, double lastPts, double lastDelay, bool afterSeek)
{
    // A seek less than a second ahead would otherwise pass for a long frame and hold the
    // picture before it on screen that long.
    const double delay = pts - lastPts;
    return delay > 0 && delay < 1.0 && !afterSeek ? delay : lastDelay;
}

VideoPicture *Media::picture(int id)
{
    if (id < 0 || id >= int(pictures.size()))
        return nullptr;
    return &pictures[size_t(id)];
}

float Media::videoAspectRatio() const
{
    return aspectRatio_.load(std::memory_order_relaxed);
}

float Media::decoderAspectRatio() const
{
    if (!videoCodec || videoCodec->height == 0)
        return 1.0f;
    AVRational sar = videoStream->sample_aspect_ratio;
    if (sar.num == 0)
        sar = videoCodec->sample_aspect_ratio;
    float ratio = sar.num != 0 && sar.den != 0 ? float(av_q2d(sar)) : 1.0f;
    if (!(ratio > 0))
        ratio = 1.0f;
    return float(videoCodec->width) / float(videoCodec->height) * ratio;
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
