#pragma once

#include "text/words.h"

#include <QList>
#include <QStringView>

// Where the words of a text are, for the spelling help: the underlining, the context menu
// and the document spell check all ask here, so they agree on what a word is. The words are
// those of the one word rule (text/words.h), hyphenated ones joined ("well-known"). Words
// holding a digit ("2B", "1990s", "7pm") are numbers with a unit, not words to check, and
// Chinese, Japanese and Korean text is no word either. Pure functions; safe on any thread.

// The first word of text that starts at from or later; invalid when there is none. A
// from inside a word skips the rest of that word.
WordSpan nextWord(QStringView text, qsizetype from);

// Every word of text, in order.
QList<WordSpan> wordsOf(QStringView text);

// The word that position touches (inside it or at either end); invalid between words.
WordSpan wordAt(QStringView text, qsizetype position);
