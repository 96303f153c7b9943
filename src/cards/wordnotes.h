#pragma once

#include "cards/cardtext.h"

// What the word dictionary says of the words the cards of items explain (a Word item's word,
// a Sentence item's missed words): the pronunciation and the first sense of each. A word
// the dictionary lacks, or a dictionary that cannot be read, gives no note. Opens the
// dictionary for the call; GUI thread only, as the dictionary is.
namespace cards {

WordNotes lookUpWords(const std::vector<lesson::ReviewItem> &items);

} // namespace cards
