#pragma once

#include "lesson/sentences.h"

#include <QString>

// Writes a lesson's sentences to a file other programs read: SRT or WebVTT subtitles, or
// JSON with the times of their words. Owns nothing beyond the file it writes; any thread.
namespace lesson {

// Writes sentences to file in the format its suffix names: ".srt", ".vtt", or ".json".
// Times are counted from clockStart (the start of the lesson's clock, as
// LessonController::startSeconds() gives it) and clamped at 0, to the millisecond.
//
// In SRT and WebVTT a cue keeps the sentence's line breaks, but blank lines go (a blank
// line ends a cue), and a line that starts like a cue timing ("12 --> 13") gets a hard space
// before it so that no reader takes it for one. A sentence without text (one found at the
// speech's pauses) is written as a cue saying "…": readers drop cues without text, and its
// times are what it has to give.
//
// JSON keeps every sentence as it is:
// {"sentences":[{"start":1.5,"end":3.25,"text":"…","unsure":false,
//                "words":[{"word":"…","start":1.5,"end":1.9}]}]}
//
// The file is replaced whole or not at all. False, with why saying so, when the suffix names
// none of the formats or the file cannot be written.
bool writeSentencesFile(const QString &file, const Sentences &sentences, double clockStart,
                        QString *why);

} // namespace lesson
