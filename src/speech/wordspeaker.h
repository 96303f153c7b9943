#pragma once

#include "speech/synthesizer.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QTimer;
namespace media {
class SoundSink;
}

namespace speech {

// Says one word at a time through a playback stream of its own, made as the process's sound
// output is (the sound server, or with VORLYN_SOUND=null nowhere at the real rate), at the
// lesson's volume. The stream opens for each word and closes once the word has been heard.
// Owns the stream and the sound being played. GUI thread only: a timer there feeds the stream.
class WordSpeaker final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WordSpeaker)

public:
    explicit WordSpeaker(QObject *parent = nullptr);
    ~WordSpeaker() override;

    // Synthesizes word in voice and starts saying it once, cutting off a word still being
    // said. Returns why it cannot (a text the learner can read), empty when it speaks.
    QString speak(const QString &word, Voice voice);
    // Whether a word is being said.
    bool isSpeaking() const;

signals:
    // The word has been heard to its end.
    void finished();

private:
    // Writes what the stream can take and closes it once the word has been heard.
    void feed();

    std::unique_ptr<media::SoundSink> sink;
    QTimer *feedTimer;
    // The word's samples as the stream takes them (stereo, the volume applied), a silence
    // after them, and how much of that is written; the word ends at wordBytes.
    std::vector<char> clip;
    int64_t writtenBytes = 0;
    int64_t wordBytes = 0;
};

} // namespace speech
