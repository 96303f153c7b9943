#pragma once

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

// Places the words of a transcript in its sound with the speech recogniser: a grammar of the
// text's words, in order, where each sentence may be left out and speech that is not in the
// text may come between sentences. Long sound is aligned in windows that slide along it, so
// memory stays bounded by a window whatever the length. No threads of its own: it runs on
// the caller's thread and returns soon after cancel is set.
namespace align {

// The sound the recogniser hears: 16 kHz mono, 16-bit.
constexpr int sampleRate = 16000;

// The folder with the recogniser's US English model (en-us/) and its dictionary
// (cmudict-en-us.dict): $VORLYN_SPEECH_MODEL when set, else where Debian's pocketsphinx-en-us
// installs them, /usr/share/pocketsphinx/model/en-us.
QString modelFolder();

// One word's place in the sound, in seconds; both negative for a word that was not placed.
struct WordTime
{
    double start = -1;
    double end = -1;

    bool isPlaced() const { return start >= 0; }
};

// How sure the aligner is of a sentence's place.
enum class Placement
{
    Confident,
    // The sound has no stretch that fits the sentence; its words are not placed.
    Skipped,
    // Placed, but much of its stretch, or of the sound beside it, is not the text's speech.
    MuchGarbage,
};

struct SentenceTimes
{
    std::vector<WordTime> words; // one per word handed in
    Placement placement = Placement::Skipped;
};

enum class Outcome
{
    Aligned,
    Cancelled,
    // The model or the dictionary is not where modelFolder() says.
    NoModel,
};

struct Alignment
{
    Outcome outcome = Outcome::Aligned;
    std::vector<SentenceTimes> sentences; // one per sentence handed in, when aligned
};

// The words of each sentence come prepared for the recogniser: lower case, apostrophes kept,
// numbers spelt out. Words the recogniser's dictionary lacks are pronounced by the speech
// synthesizer; a word neither knows stands for any sound. Checks cancel every 0.1 s of sound,
// and tells progress, the share of the sound heard so far, on the calling thread as often.
Alignment alignWords(const std::vector<int16_t> &samples16kMono,
                     const std::vector<std::vector<QString>> &sentences,
                     const std::atomic<bool> &cancel,
                     const std::function<void(double)> &progress = {});

} // namespace align
