#pragma once

// Whoever checks words shows the result: its rendering comes with the check.
#include "diff/wordcheckhtml.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Checks a learner's text against a reference sentence word by word (wordcheckhtml.h renders
// the result). Pure functions; callable from any thread.
//
// What counts as the same word: case, punctuation, spacing and the kind of apostrophe do not
// count; a hyphen separates words. A contraction stands for its long form and counts as the
// words of that form ("don't" is "do not", two reference words either way); "'s" after a
// pronoun ("it's") and "'d" ("he'd") match either long form ("is" or "has", "would" or "had"),
// any other "'s" is a possessive that matches only itself. A number counts as one word, written
// as digits or as words: "21" is "twenty-one", "100" is "a hundred", "5,000" is "five
// thousand", "1st" is "first". Number words are read as one cardinal, so a year said in pairs
// ("nineteen ninety-nine", which could as well be two numbers) stays two numbers and does not
// match "1999"; numbers with a decimal point or a leading zero match only themselves; a comma
// or full stop ends a number ("twenty, one" is two).
//
// Near misses: a reference word typed one letter off (for a word of three to five letters) or
// two letters off (a longer word), an adjacent swap counting as one, or typed as another word
// that sounds the same, is misspelt, half an error. A word typed as two ("every one" for
// "everyone") or two typed as one is one spacing error. Numbers are never near one another.

enum class WordMark
{
    Correct,  // the reference word was typed
    Missing,  // the reference word was left out
    Wrong,    // another word was typed in its place
    Extra,    // a typed word that stands for no reference word
    Spelling, // the reference word was typed with a near miss
    Spacing   // the reference word typed as two words, or two reference words typed as one
};

// One reference word (or, for Extra, one typed word) as the learner sees it in the result.
// A contraction checked wholly correct is one entry in its written form; one with a mistake
// shows its long form word by word. A number is one entry, however many words spell it.
struct CheckedWord
{
    WordMark mark = WordMark::Correct;
    // as written in the reference, without surrounding punctuation; both words of a Spacing
    // entry that joined two
    QString reference;
    QString typed; // what the learner typed for it; empty for Missing
    // The reference word as the phonetic lookup searches it (lower case); empty for Extra.
    QString lookup;

    friend bool operator==(const CheckedWord &, const CheckedWord &) = default;
};

struct WordCheck
{
    QList<CheckedWord> words; // in reading order
    qsizetype referenceWords = 0;
    qsizetype correct = 0;
    qsizetype substitutions = 0;
    qsizetype deletions = 0;
    qsizetype insertions = 0;
    qsizetype misspellings = 0;
    qsizetype spacing = 0; // words split or joined, one per split or join
    // The letters of the reference words, and the letter edits that turn the typed words into
    // them: a wrong or misspelt word costs its edits, a missing or extra word its letters, a
    // split or join one.
    qsizetype referenceLetters = 0;
    qsizetype letterErrors = 0;

    // A misspelling counts half, any other error one.
    double errors() const
    {
        return double(substitutions + deletions + insertions + spacing) +
               0.5 * double(misspellings);
    }
    // 1 - errors / reference words, at least 0 (more extra words than reference words would
    // take it below). An empty reference gives 1 for an empty text and 0 for any other.
    double accuracy() const;
    // 1 - letter errors / reference letters, at least 0; for an empty reference as accuracy().
    double letterAccuracy() const;
    // The reference words left out, typed as another word or misspelt, as written in the
    // reference, in reading order, each once whatever its case.
    QStringList missedWords() const;
};

// Whether a typed word sounds the same as a reference word; both come as lower-case letters.
using SoundsAlike = std::function<bool(const QString &reference, const QString &typed)>;

// Scores the whole of learner against the whole of reference. soundsAlike, when given, finds
// the misspellings that letters alone do not.
WordCheck checkWords(const QString &reference, const QString &learner,
                     const SoundsAlike &soundsAlike = {});

// Scores the stretch of text that best matches reference, as checkWords does; the text before
// and after that stretch is not counted, so a sentence can be checked inside a paragraph.
WordCheck checkBestStretch(const QString &reference, const QString &text,
                           const SoundsAlike &soundsAlike = {});

// The part of text a check against reference looks at when the cursor is at position and
// nothing is selected: from twice as many words before the cursor as the reference has to as
// many after it, cut at word boundaries. A learner's sentence lies around the cursor, usually
// just before it, within a paragraph or a running transcript.
QString partAroundCursor(const QString &text, qsizetype position, const QString &reference);
