#include "speech/synthesizer.h"

#include "media/guardedmutex.h"

#include <espeak-ng/speak_lib.h>

#include <QCoreApplication>

#include <algorithm>
#include <cstdlib>

namespace speech {

namespace {

// A learner's speed: a little slower than the synthesizer's 175 words a minute.
constexpr int wordsPerMinute = 150;
// Samples quieter than this everywhere are silence: the synthesizer found nothing to say.
constexpr int silenceLevel = 200;

// The synthesizer's voice names: its General American voice, and for British English the
// Received Pronunciation voice that the lookup's pronunciations were written with.
const char *voiceName(Voice voice)
{
    return voice == Voice::British ? "en-gb-x-rp" : "en-us";
}

// Every call into the synthesizer holds this lock: it has one state per process.
media::GuardedMutex synthesizerLock;
// Its sample rate once it has started, 0 before, -1 when it cannot start.
int sampleRate VORLYN_GUARDED_BY(synthesizerLock) = 0;

// Starts the synthesizer on first use, without sound output of its own: it hands its samples
// to a callback in the caller's thread. True when it runs.
bool startLocked() VORLYN_REQUIRES(synthesizerLock)
{
    if (sampleRate == 0) {
        const int rate =
            espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
        sampleRate = rate > 0 ? rate : -1;
    }
    return sampleRate > 0;
}

// Takes the samples of one synthesis; user_data is the caller's SpokenWord.
int collectSamples(short *samples, int count, espeak_EVENT *events)
{
    auto *word = static_cast<SpokenWord *>(events->user_data);
    if (samples && count > 0)
        word->samples.insert(word->samples.end(), samples, samples + count);
    return 0;
}

bool isSilent(const std::vector<int16_t> &samples)
{
    return std::none_of(samples.begin(), samples.end(),
                        [](int16_t s) { return std::abs(int(s)) >= silenceLevel; });
}

} // namespace

Voice voiceOfDictionary(const QString &language)
{
    return language == QLatin1String("en_GB") ? Voice::British : Voice::American;
}

SpokenWord synthesizeWord(const QString &word, Voice voice)
{
    SpokenWord spoken;
    const QString text = word.trimmed();
    if (text.isEmpty()) {
        spoken.error =
            QCoreApplication::translate("speech::Synthesizer", "There is no word to hear.");
        return spoken;
    }
    if (text.size() > longestWord) {
        spoken.error =
            QCoreApplication::translate("speech::Synthesizer",
                                        "Only a word or a short phrase can be heard, not \"%1…\".")
                .arg(text.left(longestWord));
        return spoken;
    }
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return c.isLetterOrNumber(); })) {
        spoken.error = QCoreApplication::translate("speech::Synthesizer",
                                                   "\"%1\" has nothing to say: it has no letters.")
                           .arg(text);
        return spoken;
    }
    const QByteArray utf8 = text.toUtf8();
    media::GuardedLock lock(synthesizerLock);
    if (!startLocked()) {
        spoken.error = QCoreApplication::translate(
            "speech::Synthesizer",
            "The speech synthesizer cannot start: its data (Debian's package "
            "espeak-ng-data) is missing.");
        return spoken;
    }
    // another user of the synthesizer may have changed any of these
    espeak_SetSynthCallback(collectSamples);
    if (espeak_SetVoiceByName(voiceName(voice)) != EE_OK ||
        espeak_SetParameter(espeakRATE, wordsPerMinute, 0) != EE_OK) {
        spoken.error = QCoreApplication::translate("speech::Synthesizer",
                                                   "The speech synthesizer has no voice %1.")
                           .arg(QLatin1String(voiceName(voice)));
        return spoken;
    }
    if (espeak_Synth(utf8.constData(), size_t(utf8.size()) + 1, 0, POS_CHARACTER, 0,
                     espeakCHARS_UTF8, nullptr, &spoken) != EE_OK ||
        isSilent(spoken.samples)) {
        spoken.samples.clear();
        spoken.error =
            QCoreApplication::translate("speech::Synthesizer",
                                        "The speech synthesizer made no sound for \"%1\".")
                .arg(text);
        return spoken;
    }
    spoken.sampleRate = sampleRate;
    return spoken;
}

QString wordInIpa(const QString &word, Voice voice)
{
    const QByteArray text = word.toUtf8();
    media::GuardedLock lock(synthesizerLock);
    if (!startLocked() || espeak_SetVoiceByName(voiceName(voice)) != EE_OK)
        return {};
    const void *position = text.constData();
    QString ipa;
    while (position) {
        if (const char *phonemes =
                espeak_TextToPhonemes(&position, espeakCHARS_UTF8, espeakPHONEMES_IPA))
            ipa += QString::fromUtf8(phonemes);
    }
    return ipa;
}

} // namespace speech
