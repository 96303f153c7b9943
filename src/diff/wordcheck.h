#pragma once

#include <QList>
#include <QString>

class QUrl;

// Checks a learner's text against a reference sentence word by word, and renders the result.
// Pure functions; callable from any thread.
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

enum class WordMark
{
    Correct, // the reference word was typed
    Missing, // the reference word was left out
    Wrong,   // another word was typed in its place
    Extra    // a typed word that stands for no reference word
};

// One reference word (or, for Extra, one typed word) as the learner sees it in the result.
// A contraction checked wholly correct is one entry in its written form; one with a mistake
// shows its long form word by word. A number is one entry, however many words spell it.
struct CheckedWord
{
    WordMark mark = WordMark::Correct;
    QString reference; // as written in the reference, without surrounding punctuation
    QString typed;     // what the learner typed for it; empty for Missing
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

    qsizetype errors() const { return substitutions + deletions + insertions; }
    // 1 - errors / reference words, at least 0 (more extra words than reference words would
    // take it below). An empty reference gives 1 for an empty text and 0 for any other.
    double accuracy() const;
};

WordCheck checkWords(const QString &reference, const QString &learner);

// The reference sentence as the check marks it, in the comparison's colours: a wrong word is
// the typed word struck through in red followed by the reference word underlined in blue, a
// missing word is underlined in blue, an extra word is struck through in red. Every missing or
// wrong reference word links to "lookup:" + its percent-encoded lookup form.
QString renderWordCheckHtml(const WordCheck &check);
// The word a link of that rendering looks up; empty for any other link.
QString lookupOfLink(const QUrl &link);
