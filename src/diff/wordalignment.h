#pragma once

#include "diff/wordcomparison.h"

#include <QList>

// The alignment of a learner's tokens with the reference's: which typed word stands for which
// reference word, and what is missing, extra, misspelt or split. Pure functions; callable from
// any thread.

namespace wordcheck {

// One entry of the alignment: the reference and typed tokens from reference and typed on, as
// many as the mark takes (one each; none of one side for Missing and Extra; two of one side
// for Spacing).
struct Step
{
    WordMark mark = WordMark::Correct;
    qsizetype reference = -1;
    qsizetype typed = -1;
    qsizetype referenceCount = 1;
    qsizetype typedCount = 1;
};

// The alignment of all of the learner's tokens with all of the reference's, in reading order:
// the fewest changed words by the diff engine over the tokens' keys; within each change, the
// pairing whose errors weigh least, with each wrong or misspelt word paired with the typed
// word spelt most like it.
QList<Step> align(const WordComparison &c);

// The alignment of a whole transcript with a learner's running text, as align() gives it with
// four differences: the diff has no time limit; a run of equal words no longer than the
// changes on both sides of it is taken as chance (a common word of a sentence the learner left
// out is not theirs) and paired again within its change; a change too large to search is left
// as missing and extra words rather than paired in order; and a sentence that no run of equal
// words reaches, whose pairing costs at least as many errors as it has typed words, is left
// unpaired, its typed words extra. sentenceOf gives the sentence of each reference token,
// numbered from 0 in order.
QList<Step> alignTranscript(const WordComparison &c, const QList<qsizetype> &sentenceOf);

} // namespace wordcheck
