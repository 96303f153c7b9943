#pragma once

#include "diff/wordcomparison.h"

#include <utility>

// Where in a longer text a reference sentence was typed. Pure functions; callable from any
// thread.

namespace wordcheck {

// The typed tokens [first, last) that match the whole reference best, where typed tokens
// before first and from last on cost nothing. Wrong and missing words cost a little more than
// the other errors, so a stretch takes a typed word in rather than leave a reference word
// without one, and takes a split word whole. Among stretches that match equally well the
// last wins: the learner checks what they have just typed.
std::pair<qsizetype, qsizetype> bestStretch(const WordComparison &c);

} // namespace wordcheck
