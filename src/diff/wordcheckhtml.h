#pragma once

#include <QString>

class QUrl;
struct WordCheck;

// The result of a word check as the learner sees it: the marked reference sentence in HTML,
// with links that ask for a word's lookup. Pure functions; callable from any thread.

// The colour of misspellings, wherever the check is shown.
inline constexpr char misspellingColor[] = "#A04800";

// The reference sentence as the check marks it, in the comparison's colours: a wrong word, or
// one split or joined, is the typed word struck through in red followed by the reference word
// underlined in blue, a missing word is underlined in blue, an extra word is struck through
// in red; a misspelt word is marked as a wrong one, in misspellingColor. Every reference word
// not typed right links to "lookup:" + its percent-encoded lookup form.
QString renderWordCheckHtml(const WordCheck &check);
// The word a link of that rendering looks up; empty for any other link.
QString lookupOfLink(const QUrl &link);
