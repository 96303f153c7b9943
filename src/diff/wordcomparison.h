#pragma once

#include "diff/wordcheck.h"
#include "diff/wordtokens.h"

#include <QStringView>

// Near misses and spacing: whether a typed word is the reference word, a misspelling of it or
// another word, and whether two typed words spell one reference word or one typed word two.
// Pure functions; callable from any thread.

namespace wordcheck {

// The edits that turn a into b: a letter changed, added or left out, or two neighbouring
// letters swapped.
qsizetype editDistance(QStringView a, QStringView b);

// What the tokens of a reference and of a learner's text are to one another.
struct WordComparison
{
    const Words &reference;
    const Words &learner;
    const SoundsAlike &soundsAlike;

    // Correct, Spelling (a near miss, or a word that sounds the same) or Wrong: what typed
    // token t is for reference token r.
    WordMark pairMark(qsizetype r, qsizetype t) const;
    // Whether the typed words t and t + 1 spell reference word r.
    bool splits(qsizetype r, qsizetype t) const;
    // Whether the typed word t spells reference words r and r + 1.
    bool joins(qsizetype r, qsizetype t) const;
};

} // namespace wordcheck
