#include "speech/wordspeaker.h"

#include "media/audioformat.h"
#include "media/iaudio.h"
#include "media/soundsink.h"

#include <QTimer>

#include <algorithm>
#include <cstring>

namespace {

// Often enough that the stream never runs dry while a word plays.
constexpr int feedIntervalMs = 20;
// The stream holds as much as the lesson's does: a word starts at once and stops at once.
constexpr int64_t bufferUSecs = IAudio::bufferDurationUSecs;

} // namespace

namespace speech {

WordSpeaker::WordSpeaker(QObject *parent)
    : QObject(parent), sink(media::soundSinkFromEnvironment()), feedTimer(new QTimer(this))
{
    feedTimer->setInterval(feedIntervalMs);
    connect(feedTimer, &QTimer::timeout, this, &WordSpeaker::feed);
}

WordSpeaker::~WordSpeaker() = default;

QString WordSpeaker::speak(const QString &word, Voice voice)
{
    const SpokenWord spoken = synthesizeWord(word, voice);
    if (!spoken.hasSound())
        return spoken.error;
    // Stereo, so the lesson's left and right volumes both apply. A silence as long as the
    // stream's buffer follows the word: the server starts a stream once its buffer has
    // filled, and a short word alone might never fill it.
    const media::AudioFormat format{spoken.sampleRate, 2, 2};
    const int64_t silenceBytes = format.bytesForDuration(bufferUSecs);
    wordBytes = int64_t(spoken.samples.size()) * format.bytesPerFrame();
    clip.assign(size_t(wordBytes + silenceBytes), 0);
    for (size_t i = 0; i < spoken.samples.size(); ++i) {
        const int16_t frame[2] = {spoken.samples[i], spoken.samples[i]};
        std::memcpy(clip.data() + i * sizeof frame, frame, sizeof frame);
    }
    const IAudio *lessonOutput = IAudio::instance();
    IAudio::applyVolume(clip.data(), int(wordBytes), format, lessonOutput->volumeLeft(),
                        lessonOutput->volumeRight());
    writtenBytes = 0;
    if (!sink->open(format, format.bytesForDuration(bufferUSecs))) {
        feedTimer->stop();
        return tr("There is no sound output to say \"%1\" on.").arg(word.trimmed());
    }
    feed();
    feedTimer->start();
    return {};
}

bool WordSpeaker::isSpeaking() const
{
    return feedTimer->isActive();
}

void WordSpeaker::feed()
{
    const int64_t free = std::min(sink->writableBytes(), int64_t(clip.size()) - writtenBytes);
    if (free > 0)
        writtenBytes += sink->write(clip.data() + writtenBytes, free);
    // a server that went away has said all it will
    if (sink->heardBytes() < wordBytes && sink->isPlaying())
        return;
    sink->close();
    feedTimer->stop();
    emit finished();
}

} // namespace speech
