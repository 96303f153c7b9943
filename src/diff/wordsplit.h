#pragma once

#include <QList>
#include <QString>

// The written words of a text, the first step of the word check: where each word lies and its
// letters in lower case. Pure functions; callable from any thread.

namespace wordcheck {

// A word as written: its place in the text and its lower-case letters, digits and inner
// apostrophes (all written ').
struct RawWord
{
    qsizetype start = 0;
    qsizetype end = 0;
    QString lower;
    // Punctuation other than blanks and hyphens stands between this word and the one before.
    bool breakBefore = false;
};

// The digits that numbers are written in; other scripts' digits are letters of a word.
inline bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The words of text in reading order. A hyphen separates words; a comma or full stop between
// two digits stays inside the word ("5,000", "3.5").
QList<RawWord> splitWords(const QString &text);

} // namespace wordcheck
