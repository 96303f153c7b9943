#pragma once

// Sentences, pauses and peaks of a six-second lesson, as its subtitles and the pass over
// its sound would give them, for the tests of the controller and of the views.
#include "lesson/sentences.h"

// Four subtitle sentences, the pauses between them, a note of a cue left out, and six
// seconds of peaks.
inline lesson::SpeechAnalysis fourSentences()
{
    lesson::SpeechAnalysis a;
    a.sentences.source = lesson::SentenceSource::SubtitleFile;
    a.sentences.items = {{0.0, 1.2, QStringLiteral("one")},
                         {1.5, 2.6, QStringLiteral("two")},
                         {3.0, 4.1, QStringLiteral("three")},
                         {4.4, 5.8, QStringLiteral("four")}};
    a.sentences.notes = {QStringLiteral("cue 5: no text")};
    a.pauses = {{1.2, 1.5}, {2.6, 3.0}, {4.1, 4.4}};
    for (int i = 0; i < 600; ++i) {
        a.peaks.low.push_back(int16_t(-100 * (i % 200)));
        a.peaks.high.push_back(int16_t(100 * (i % 200)));
    }
    return a;
}
