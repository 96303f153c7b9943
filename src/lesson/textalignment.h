#pragma once

#include "lesson/sentences.h"

#include <QString>

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

// A lesson text's sentences placed in the lesson's sound: the transcript is split into
// sentences and words, the recogniser places the words, and each sentence becomes a loop
// step with its words' times. Free functions; any thread.
namespace lesson {

// Sentences of text placed in sound, with pauses the speech pass found (to snap their ends
// to): source LessonText, origin as given. A sentence spans its first to its last placed
// word, padded as subtitle cues are and snapped to a pause's edge within 150 ms; one over
// 12 s is split at a comma or the longest gap between its words. A sentence that could not
// be placed lies between its neighbours, marked unsure. Stage directions alone are left out.
// Nothing, with why saying so, when the text has no sentences to say, the recogniser's model
// is missing, or cancel is set (why then empty). progress goes from 0 to 1.
std::optional<Sentences> alignLessonText(const QString &text, const QString &origin,
                                         const LessonSound &sound, const std::vector<Pause> &pauses,
                                         const std::atomic<bool> &cancel,
                                         const std::function<void(double)> &progress, QString *why);

// Places the lesson text in textFile in the sound of mediaFile and writes the sentences to
// outputFile (".srt", ".vtt", or ".json" with word times), for a command line without a
// window; the cache is used and kept as in the player. False, with why saying so, when the
// text or the sound cannot be read, nothing could be placed, or the file cannot be written;
// what the learner should know of a written file (a text that is barely heard) goes to notes.
bool alignToFile(const QString &mediaFile, const QString &textFile, const QString &outputFile,
                 QString *why, QStringList *notes);

// The sentences of a lesson text kept in the user's cache folder, keyed by the lesson's
// path, size and modification time and by the text itself; nothing when none is kept.
// Written whole or not at all.
std::optional<Sentences> cachedTextAlignment(const QString &mediaFile, const QString &text);
void storeTextAlignment(const QString &mediaFile, const QString &text, const Sentences &sentences);

} // namespace lesson
