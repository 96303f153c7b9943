#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

// The sentences of a lesson, the stretches its loop steps through: from a subtitle file
// beside the lesson or a text subtitle stream inside it, else from the pauses of its
// speech. Times are seconds of the lesson's clock as LessonController counts them (the
// file's start time included). Plain data and pure functions; any thread.
namespace lesson {

// A word of a sentence's text and when it is heard, in seconds of the lesson's clock.
struct TimedWord
{
    qsizetype from = 0; // where the word lies in the sentence's text
    qsizetype length = 0;
    double start = 0;
    double end = 0;
};

// Why the place of a sentence of a lesson text may be wrong.
enum class Unsure : quint8
{
    No,
    // The sound has no stretch that fits it: its place is only guessed from its neighbours.
    NotHeard,
    // Much of its stretch, or of the sound beside it, is not the text's speech.
    OtherSound,
};

struct Sentence
{
    Sentence() = default;
    Sentence(double from, double to, QString said = {})
        : start(from), end(to), text(std::move(said))
    {}

    double start = 0;
    double end = 0;
    // what a subtitle or the lesson's text says, styling removed; empty for a sentence found
    // at pauses
    QString text;
    // the words of text as they are heard, in order; only a lesson text's sentences have them
    std::vector<TimedWord> words;
    Unsure unsure = Unsure::No;
};

enum class SentenceSource
{
    None,
    SubtitleFile,
    EmbeddedSubtitles,
    SpeechPauses,
    // a transcript of the lesson aligned to its sound
    LessonText,
};

struct Sentences
{
    SentenceSource source = SentenceSource::None;
    // the subtitle file or the lesson text's file, or the lesson's file for embedded
    // subtitles and pauses
    QString origin;
    // in time order, none overlapping the next
    std::vector<Sentence> items;
    // cues left out and why, one line each, to show the learner
    QStringList notes;
};

// The lowest and highest sample of the lesson's sound (its channels mixed) in each
// 1/perSecond of a second from `start` on: what the waveform strip draws.
struct Peaks
{
    double start = 0;
    int perSecond = 100;
    std::vector<int16_t> low;
    std::vector<int16_t> high;
};

// A stretch of the sound quiet enough to be a pause between sentences.
struct Pause
{
    double start = 0;
    double end = 0;
};

// What one pass over the lesson's sound finds: the pauses, the sentences between them,
// and the peaks.
struct SpeechAnalysis
{
    Sentences sentences;
    std::vector<Pause> pauses;
    Peaks peaks;
};

// Subtitle files beside mediaFile with its base name ("lesson.srt", "lesson.en.vtt",
// "lesson.ass", "lesson.ssa"), the one to use by default first.
QStringList subtitleFilesBeside(const QString &mediaFile);

// Reads a subtitle file (SRT, WebVTT, ASS or SSA, in UTF-8, UTF-16 or a legacy encoding),
// its cue times moved by offsetSeconds. Nothing, with error saying why, when the file
// cannot be read as subtitles at all.
std::optional<Sentences> readSubtitleFile(const QString &file, double offsetSeconds,
                                          QString *error);
// The first text subtitle stream inside a media file; nothing when it has none (error
// then empty) or when the file cannot be opened (error saying so).
std::optional<Sentences> readEmbeddedSubtitles(const QString &mediaFile, QString *error);

// What is said in a sentence, the text a learner's writing is checked against: its text
// without stage directions ("[laughs]", "(music)"), which subtitles for the hard of hearing
// and transcripts carry and no one writes down.
QString spokenText(const Sentence &sentence);

// A cue's text as the subtitle decoders give it, made plain: override tags ({\i1}) gone,
// line breaks (\N, \n) and hard spaces (\h) as spaces, white space simplified.
QString plainCueText(const QString &text);
// A time of the lesson as the notes show it: "1:02.5", "1:02:03.5".
QString clockText(double seconds);

// Sentences from subtitle cues: in time order, each padded by 150 ms before and 250 ms
// after without reaching into its neighbours; cues without text or length are left out
// with a note.
std::vector<Sentence> sentencesFromCues(std::vector<Sentence> cues, QStringList &notes);

// The lesson's sound as the pass hears it: 16 kHz mono, from start seconds of its clock.
struct LessonSound
{
    double start = 0;
    std::vector<int16_t> samples;
};

// The pass over the sound of mediaFile, for a background thread: decodes it once and finds
// pauses, sentences and peaks, and keeps the sound it heard in sound when one is given.
// Calls progress (0 to 1) now and then; gives up, returning nothing, once cancel is set or
// when the file has no sound.
std::optional<SpeechAnalysis> analyseSpeech(const QString &mediaFile,
                                            const std::atomic<bool> &cancel,
                                            const std::function<void(double)> &progress,
                                            LessonSound *sound = nullptr);

// The analysis of mediaFile kept in the user's cache folder, keyed by the file's path,
// size and modification time; nothing when none is kept for the file as it is now.
std::optional<SpeechAnalysis> cachedAnalysis(const QString &mediaFile);
void storeAnalysis(const QString &mediaFile, const SpeechAnalysis &analysis);

} // namespace lesson

Q_DECLARE_METATYPE(lesson::SpeechAnalysis)
