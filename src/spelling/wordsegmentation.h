#pragma once

#include <QList>
#include <QStringView>

// Where the words of a text are, for the spelling help: the underlining, the context menu
// and the document spell check all ask here, so they agree on what a word is. A word is a
// run of letters (and their combining marks) with apostrophes and hyphens inside it; the
// quotes, brackets and punctuation around it are never part of it. Runs holding a digit
// ("2B", "1990s", "7pm") are numbers with a unit, not words to check, and Chinese,
// Japanese and Korean text is no word either. Pure functions; safe on any thread.
struct WordSpan
{
    qsizetype start = -1;
    qsizetype length = 0;

    bool isValid() const { return start >= 0; }
    qsizetype end() const { return start + length; }
    friend bool operator==(const WordSpan &, const WordSpan &) = default;
};

// The first word of text that starts at from or later; invalid when there is none. A
// from inside a word skips the rest of that word.
WordSpan nextWord(QStringView text, qsizetype from);

// Every word of text, in order.
QList<WordSpan> wordsOf(QStringView text);

// The word that position touches (inside it or at either end); invalid between words.
WordSpan wordAt(QStringView text, qsizetype position);
