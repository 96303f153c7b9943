#include "lesson/lessoncontroller.h"

#include "lesson/drill.h"
#include "lesson/reviewsession.h"
#include "lesson/speechanalyser.h"

#include "media/ffmpeg.h"
#include "media/iaudio.h"
#include "media/media.h"

#include <QTimer>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

LessonController::LessonController(QObject *parent)
    : QObject(parent), positionTimer(new QTimer(this)), saveTimer(new QTimer(this)),
      analyser(new lesson::SpeechAnalyser(this)), drill_(new lesson::Drill(this)),
      review_(new lesson::ReviewSession(this))
{
    connect(analyser, &lesson::SpeechAnalyser::progress, this,
            &LessonController::setAnalysisProgress);
    connect(analyser, &lesson::SpeechAnalyser::finished, this, &LessonController::setAnalysis);
    // a lesson without sound has no pauses to find: the pass just ends
    connect(analyser, &lesson::SpeechAnalyser::failed, this, [this] {
        aligningText_ = false;
        setAnalysisProgress(1.0);
    });
    connect(analyser, &lesson::SpeechAnalyser::textProgress, this, [this](double fraction) {
        if (aligningText_ && !analysing)
            emit analysisProgress(std::clamp(fraction, 0.0, 0.99));
    });
    connect(analyser, &lesson::SpeechAnalyser::textAligned, this,
            &LessonController::setTextAlignment);
    connect(analyser, &lesson::SpeechAnalyser::textFailed, this, [this](const QString &why) {
        aligningText_ = false;
        endProgress();
        emit error(why);
    });
    positionTimer->setInterval(positionIntervalMs);
    connect(positionTimer, &QTimer::timeout, this, &LessonController::reportPosition);
    saveTimer->setInterval(saveIntervalMs);
    connect(saveTimer, &QTimer::timeout, this, &LessonController::saveLesson);
}

LessonController::~LessonController()
{
    positionTimer->stop();
    saveTimer->stop();
    saveLesson();
    if (media_)
        media_->disconnect(this);
}

bool LessonController::hasKnownLength() const
{
    return media_ && media_->hasKnownLength();
}

PictureSource *LessonController::pictures() const
{
    return media_.get();
}

bool LessonController::hasVideo() const
{
    return media_ && media_->hasVideo();
}

QImage LessonController::coverArt() const
{
    return media_ ? media_->coverArt() : QImage();
}

bool LessonController::isStopped() const
{
    return !media_ || media_->isStopped();
}

bool LessonController::isHeld() const
{
    return media_ && media_->isPaused() && !media_->isStopped();
}

void LessonController::setLoopRepeats(bool on)
{
    if (media_)
        media_->setLoop(on);
}

void LessonController::playAtFactor(double factor)
{
    if (media_)
        media_->setPlaySpeedFactor(factor);
}

void LessonController::startAt(double seconds)
{
    if (!media_ || !media_->isStopped())
        return;
    media_->startAt(ticksOf(seconds));
    emit playingChanged(true);
}

void LessonController::seekToLoopStart()
{
    if (media_)
        media_->seek(media_->markIn());
}

void LessonController::releaseHold()
{
    if (isHeld())
        media_->pause(false);
}

void LessonController::stopEngine()
{
    if (!media_)
        return;
    // a lesson stopped while held would start held again
    if (media_->isPaused())
        media_->pause(false);
    media_->stop();
    emit playingChanged(false);
}

double LessonController::secondsOf(int64_t ticks) const
{
    if (ticks == Media::unknownEnd)
        return std::numeric_limits<double>::infinity();
    return media::toSeconds(ticks, media_->timeBase());
}

int64_t LessonController::ticksOf(double seconds) const
{
    if (std::isinf(seconds))
        return Media::unknownEnd;
    const AVRational tb = media_->timeBase();
    return std::llround(seconds * tb.den / tb.num);
}

double LessonController::positionSeconds() const
{
    return media_ ? secondsOf(media_->position()) : 0.0;
}

double LessonController::markInSeconds() const
{
    return media_ ? secondsOf(media_->markIn()) : 0.0;
}

double LessonController::markOutSeconds() const
{
    return media_ ? secondsOf(media_->markOut()) : 0.0;
}

double LessonController::startSeconds() const
{
    return media_ ? secondsOf(media_->startTime()) : 0.0;
}

double LessonController::durationSeconds() const
{
    return hasKnownLength() ? secondsOf(media_->duration()) : 0.0;
}

double LessonController::fractionAt(double seconds) const
{
    // a file whose length is unknown has no place on the slider
    if (!hasKnownLength())
        return 0.0;
    const double s = double(media_->startTime());
    const double d = double(media_->endTime());
    return std::clamp((double(ticksOf(seconds)) - s) / (d - s), 0.0, 1.0);
}

QString LessonController::timeText(double seconds) const
{
    return media_ ? media_->timeText(ticksOf(seconds)) : QStringLiteral("00:00:00");
}

int64_t LessonController::ticksAtFraction(double f) const
{
    const int64_t s = media_->startTime();
    if (!media_->hasKnownLength())
        return s;
    return s + int64_t(double(media_->endTime() - s) * f);
}

std::unique_ptr<Media> LessonController::takeMedia()
{
    // the last state of the lesson, while it is still there to read
    saveLesson();
    std::unique_ptr<Media> old = std::exchange(media_, nullptr);
    positionTimer->stop();
    saveTimer->stop();
    seekPending = false;
    if (old) {
        old->disconnect(this);
        emit lessonClosing();
    }
    clearLessonData();
    return old;
}

void LessonController::clearLessonData()
{
    // a pass over the lesson that goes reports nothing more
    analyser->cancel();
    if (analysing || aligningText_) {
        analysing = false;
        aligningText_ = false;
        emit analysisProgress(1.0);
    }
    subtitleFiles_.clear();
    lessonTextFiles_.clear();
    textFile_.clear();
    if (!pauses_.empty() || !peaks_.low.empty()) {
        pauses_.clear();
        peaks_ = {};
        emit waveformChanged();
    }
    if (!sentences_.items.empty() || !sentences_.notes.isEmpty()) {
        sentences_ = {};
        emit sentencesChanged();
    }
    givenSentences_ = {};
    lastCurrentSentence_ = -1;
    if (!scores_.empty()) {
        scores_.clear();
        emit scoresChanged();
    }
    followCurrentSentence();
}

bool LessonController::open(const QString &file)
{
    // The lesson playing until now stops first and goes last: a new one of the same sound
    // format takes its sink over instead of closing and opening one.
    std::unique_ptr<Media> old = takeMedia();
    if (old)
        old->stop();

    auto next = std::make_unique<Media>(nullptr, pictureFormat.powerOfTwo, pictureFormat.scaleFlags,
                                        pictureFormat.pixelFormat, 0, 0);
    // a file that cannot be played says why, instead of leaving a black screen
    connect(next.get(), &Media::error, this, &LessonController::error);
    if (!next->open(file)) {
        fileName_.clear();
        emit lessonClosed();
        emit playingChanged(false);
        return false;
    }
    // a command that arrived while the old lesson's sound closed may have opened another
    // lesson meanwhile: the file asked for last wins
    std::unique_ptr<Media> superseded = takeMedia();
    media_ = std::move(next);
    fileName_ = file;
    connect(media_.get(), &Media::running, this, &LessonController::followRunning);
    connect(media_.get(), &Media::paused, this, &LessonController::followRunning);
    // the engine holds at the loop end from a decode thread: the signal arrives queued
    connect(media_.get(), &Media::paused, this, &LessonController::held);
    connect(media_.get(), &Media::markingChanged, this, &LessonController::emitMarks);
    const std::optional<lesson::LessonMemory> memory = store_ ? store_->lesson(file) : std::nullopt;
    if (memory) {
        setSpeed(memory->speed);
        setDrillSettings(memory->drill);
    } else if (drillDefaults_) {
        setDrillSettings(*drillDefaults_);
    }
    media_->setPlaySpeedFactor(speed_);

    emit lessonOpened(file);
    emit playingChanged(true);
    media_->start();
    emit positionChanged(startSeconds());
    findSentences(memory ? memory->subtitleFile : QString());
    // the marks after the sentences, so that a looped sentence is known as one
    if (memory && memory->place)
        restorePlace(*memory->place);
    superseded.reset();
    old.reset(); // may run the event loop while its sound closes
    return true;
}

void LessonController::close()
{
    std::unique_ptr<Media> old = takeMedia();
    if (old)
        old->stop();
    fileName_.clear();
    emit lessonClosed();
    emit playingChanged(false);
    old.reset(); // may run the event loop while its sound closes
}

void LessonController::playPause()
{
    if (!media_)
        return;
    if (drill_->isOn()) {
        drill_->playKey();
        return;
    }
    const bool start = media_->isStopped();
    media_->play(start);
    emit playingChanged(start);
}

void LessonController::stopPlaying()
{
    if (!media_)
        return;
    if (drill_->isOn()) {
        drill_->hold();
        return;
    }
    stopEngine();
}

void LessonController::setMarkInHere()
{
    // the position already counts from the stream's own zero, start time included
    if (media_)
        media_->setMarkInAt(media_->position());
}

void LessonController::setMarkOutHere()
{
    if (media_)
        media_->setMarkOutAt(media_->position());
}

void LessonController::nudge(bool markIn, double seconds)
{
    if (!media_)
        return;
    const int64_t step = media_->ticksFromSeconds(std::abs(seconds));
    const int64_t delta = seconds < 0 ? -step : step;
    if (markIn) {
        media_->setMarkInAt(media_->markIn() + delta);
        return;
    }
    // a loop end the learner never set lies nowhere: there is nothing to nudge
    if (media_->markOut() != Media::unknownEnd)
        media_->setMarkOutAt(media_->markOut() + delta);
}

void LessonController::nudgeMarkIn(double seconds)
{
    nudge(true, seconds);
}

void LessonController::nudgeMarkOut(double seconds)
{
    nudge(false, seconds);
}

namespace {

// Two marks closer than this, or a mark and a sentence's end, are the same place.
constexpr double samePlaceSeconds = 0.002;

} // namespace

int LessonController::sentenceAt(double seconds) const
{
    const std::vector<lesson::Sentence> &items = sentences_.items;
    if (items.empty())
        return -1;
    const auto after =
        std::upper_bound(items.begin(), items.end(), seconds,
                         [](double t, const lesson::Sentence &s) { return t < s.start; });
    if (after == items.begin())
        return 0;
    const auto before = std::prev(after);
    if (seconds < before->end || after == items.end() ||
        seconds - before->end <= after->start - seconds)
        return int(before - items.begin());
    return int(after - items.begin());
}

void LessonController::followCurrentSentence()
{
    int found = -1;
    if (media_) {
        // the engine rounds a mark to its time base and clamps it to the lesson
        const double tick = av_q2d(media_->timeBase());
        const double tolerance = std::max(samePlaceSeconds, tick);
        const double in = markInSeconds();
        const double out = markOutSeconds();
        const double first = startSeconds();
        const double last = hasKnownLength() ? secondsOf(media_->endTime())
                                             : std::numeric_limits<double>::infinity();
        const std::vector<lesson::Sentence> &items = sentences_.items;
        for (size_t i = 0; i < items.size() && found < 0; ++i) {
            if (std::abs(std::max(items[i].start, first) - in) <= tolerance &&
                std::abs(std::min(items[i].end, last) - out) <= tolerance)
                found = int(i);
        }
    }
    if (found >= 0)
        lastCurrentSentence_ = found;
    if (found == currentSentence_)
        return;
    currentSentence_ = found;
    emit currentSentenceChanged(found);
}

template <typename Move> void LessonController::moveLoop(Move move)
{
    holdingMarks_ = true;
    move();
    holdingMarks_ = false;
    loopStartSought_ = true;
    emitMarks();
    loopStartSought_ = false;
}

void LessonController::loopBetween(double in, double out)
{
    const int64_t from = ticksOf(in);
    const int64_t to = ticksOf(out);
    moveLoop([this, from, to] {
        // each mark is clamped by the other: move first the one that makes room
        if (from > media_->markOut()) {
            media_->setMarkOutAt(to);
            media_->setMarkInAt(from);
        } else {
            media_->setMarkInAt(from);
            media_->setMarkOutAt(to);
        }
        media_->seek(media_->markIn());
    });
}

void LessonController::loopSentence(int index)
{
    if (!media_ || index < 0 || size_t(index) >= sentences_.items.size())
        return;
    const lesson::Sentence &s = sentences_.items[size_t(index)];
    loopBetween(s.start, s.end);
}

void LessonController::loopSentenceHere()
{
    if (media_)
        loopSentence(sentenceAt(positionSeconds()));
}

void LessonController::setMarkAt(bool markIn, double seconds)
{
    if (!media_ || std::isnan(seconds))
        return;
    double best = snapSeconds;
    double at = seconds;
    for (const lesson::Pause &p : pauses_) {
        for (const double edge : {p.start, (p.start + p.end) / 2, p.end}) {
            if (std::abs(edge - seconds) <= best) {
                best = std::abs(edge - seconds);
                at = edge;
            }
        }
    }
    if (markIn) {
        moveLoop([this, at] {
            media_->setMarkInAt(ticksOf(at));
            media_->seek(media_->markIn());
        });
    } else {
        media_->setMarkOutAt(ticksOf(at));
    }
}

void LessonController::previousStretch()
{
    if (media_ && !sentences_.items.empty()) {
        // the last sentence starting before the loop does
        const double in = markInSeconds() - samePlaceSeconds;
        const std::vector<lesson::Sentence> &items = sentences_.items;
        const auto it = std::find_if(items.rbegin(), items.rend(), [in, this](const auto &s) {
            return std::max(s.start, startSeconds()) < in;
        });
        if (it != items.rend())
            loopSentence(int(items.rend() - it) - 1);
        return;
    }
    if (!media_ || media_->markIn() == media_->startTime())
        return; // the loop already starts at the beginning
    const int64_t in = media_->markIn();
    media_->resetMarkIn();
    media_->setMarkOutAt(in);
}

void LessonController::nextStretch()
{
    if (media_ && !sentences_.items.empty()) {
        // the first sentence starting after the loop does; a loop that is no sentence (the
        // whole lesson, say) goes to the first one starting where it does or later
        const double in = markInSeconds();
        const double from = currentSentence_ < 0 ? in - samePlaceSeconds : in + samePlaceSeconds;
        const std::vector<lesson::Sentence> &items = sentences_.items;
        const auto it = std::find_if(items.begin(), items.end(), [from, this](const auto &s) {
            return std::max(s.start, startSeconds()) > from;
        });
        if (it != items.end())
            loopSentence(int(it - items.begin()));
        return;
    }
    if (!media_ || media_->markOut() == media_->endTime())
        return; // the loop already ends at the end
    const int64_t out = media_->markOut();
    moveLoop([this, out] {
        media_->seek(out);
        media_->resetMarkOut();
        media_->setMarkInAt(out);
    });
}

void LessonController::resetMarks()
{
    if (!media_)
        return;
    media_->resetMarkIn();
    media_->resetMarkOut();
}

void LessonController::seekBy(double seconds)
{
    if (media_)
        media_->seekBySeconds(seconds);
}

void LessonController::seekToFraction(double f)
{
    if (!media_)
        return;
    seekPending = true;
    const int64_t t = ticksAtFraction(f);
    const int64_t in = media_->markIn();
    const int64_t out = media_->markOut();
    if (in < media_->startTime() || out > media_->endTime()) {
        media_->seek(t);
        return;
    }
    if (in < t && t < out)
        media_->seek(t);
    if (in > t)
        media_->setMarkInAt(t);
    if (out < t)
        media_->setMarkOutAt(t);
}

void LessonController::setVolume(double left, double right)
{
    IAudio::instance()->setVolume(left, right);
}

void LessonController::setSpeed(double factor)
{
    if (std::isnan(factor))
        return;
    const double clamped = std::clamp(factor, speedSteps.front(), speedSteps.back());
    const double step =
        *std::min_element(speedSteps.begin(), speedSteps.end(), [clamped](double a, double b) {
            return std::abs(a - clamped) < std::abs(b - clamped);
        });
    if (step == speed_)
        return;
    speed_ = step;
    if (media_)
        media_->setPlaySpeedFactor(speed_);
    emit speedChanged(speed_);
}

void LessonController::stepSpeed(int steps)
{
    const auto here = std::find(speedSteps.begin(), speedSteps.end(), speed_) - speedSteps.begin();
    const auto next = std::clamp<std::ptrdiff_t>(here + steps, 0, std::ssize(speedSteps) - 1);
    setSpeed(speedSteps[size_t(next)]);
}

void LessonController::slower()
{
    stepSpeed(-1);
}

void LessonController::faster()
{
    stepSpeed(1);
}

void LessonController::normalSpeed()
{
    setSpeed(1.0);
}

void LessonController::reportPosition()
{
    if (seekPending) {
        seekPending = false;
        return;
    }
    if (media_)
        emit positionChanged(positionSeconds());
}

void LessonController::emitMarks()
{
    if (!media_ || holdingMarks_)
        return;
    emit marksChanged(markInSeconds(), markOutSeconds());
    followCurrentSentence();
}

void LessonController::followRunning()
{
    if (media_ && !media_->isPaused() && !media_->isStopped()) {
        positionTimer->start();
        if (!saveTimer->isActive())
            saveTimer->start();
        return;
    }
    positionTimer->stop();
    // where the learner stopped is kept at once
    if (saveTimer->isActive()) {
        saveTimer->stop();
        saveLesson();
    }
}
