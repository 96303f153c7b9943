#pragma once

#include "lesson/sentences.h"

#include <QString>
#include <QStringList>

#include <vector>

// What the learner reads beside a sentence while it plays: the word being heard, and the
// sentence in the learner's language from a second subtitle file. Pure functions of the
// times handed to them; any thread.
namespace lesson {

// The word of words (in time order) heard at seconds: the last one started by then, while
// it lasts; -1 before the first, between two words and after the last.
int wordAt(const std::vector<TimedWord> &words, double seconds);

// The translation of each sentence: every cue goes to the sentence it overlaps most, and a
// sentence's cues are joined with a space in time order. A cue counts only when that
// overlap is at least a third of the shorter of the two; a sentence without a cue that
// counts gets an empty string. One string per sentence.
QStringList translationsOf(const std::vector<Sentence> &sentences,
                           const std::vector<Sentence> &cues);

// The language tag of a subtitle file of mediaFile: "zh" of "lesson.zh.srt" beside
// "lesson.mp4"; empty for "lesson.srt" and for a file named otherwise.
QString languageTag(const QString &subtitleFile, const QString &mediaFile);

// The translation among the subtitle files beside mediaFile: a file whose language tag is
// not empty and not that of sentenceFile (the file that gives the lesson's sentences, or
// none), one in the learner's language (a tag starting with its language code, "zh" of
// "zh_CN") first; empty when none is.
QString translationBeside(const QStringList &subtitleFiles, const QString &mediaFile,
                          const QString &sentenceFile, const QString &learnerLocale);

} // namespace lesson
