#pragma once

#include <QStringView>

// What a word is, for every part of the program that looks for words: the spelling help,
// the word check and the drill's hints. A word is a run of letters, digits and combining
// marks. An apostrophe (' ’ ʼ) between two of them belongs to the word ("don't",
// "rock'n'roll"), and so does a hyphen (- ‐ ‑) between two of them where the caller joins
// hyphenated words ("well-known"); at a word's edge neither is part of it, nor is any
// other quote or punctuation mark. Pure functions; safe on any thread.

// Where one word lies in a text, in code units.
struct WordSpan
{
    qsizetype start = -1;
    qsizetype length = 0;

    bool isValid() const { return start >= 0; }
    qsizetype end() const { return start + length; }
    friend bool operator==(const WordSpan &, const WordSpan &) = default;
};

// Whether a hyphen between two word characters joins them into one word.
enum class Hyphens
{
    Split,
    Join
};

bool isApostrophe(char32_t c);
bool isHyphen(char32_t c);

// Whether the code unit at i is part of a word (either half of a surrogate pair answers for
// the character they make).
bool isWordCharacter(QStringView text, qsizetype i, Hyphens hyphens);

// The first word of text that starts at from or later; invalid when there is none. A from
// inside a word skips the rest of that word.
WordSpan wordFrom(QStringView text, qsizetype from, Hyphens hyphens);
