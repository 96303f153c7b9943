#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace speech {

// The process's one speech synthesizer (libespeak-ng), which keeps a single state per process
// and is not reentrant: every call below holds its lock, so any thread may call them. The
// first call loads the synthesizer's data.

// The accents the learner can hear, after the spelling dictionaries they match.
enum class Voice
{
    American,
    British
};

// The voice of a spelling dictionary: British for "en_GB", American for anything else.
Voice voiceOfDictionary(const QString &language);

// One word as the synthesizer says it: mono 16-bit samples at sampleRate, or why there are
// none (a text the learner can read).
struct SpokenWord
{
    std::vector<int16_t> samples;
    int sampleRate = 0;
    QString error;

    bool hasSound() const { return error.isEmpty(); }
};

// The longest text spoken as one word; a phrase of a few words fits.
inline constexpr int longestWord = 64;

// The sound of word (trimmed) in voice, at a speed a learner can follow. Empty text, text
// longer than longestWord and text with nothing to say give an error instead.
SpokenWord synthesizeWord(const QString &word, Voice voice);

// The pronunciation of word in IPA, as the synthesizer's voice reads it; empty when it
// has none.
QString wordInIpa(const QString &word, Voice voice);

} // namespace speech
