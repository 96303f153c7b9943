#pragma once

#include <QList>
#include <QString>

// The tokens the word check compares: each word of a text with what it must equal, a
// contraction as the words of its long form and a number as one key. Pure functions; callable
// from any thread.

namespace wordcheck {

// A word as compared: what it must equal, how the result shows it, and its letters for the
// near misses and the spacing: the lower-case letters of the written word when it is the whole
// of its unit, else its key.
struct Token
{
    QString key;
    QString display;
    qsizetype unit = 0;
    QString spelt;
};

// A stretch of the text that gives one or more tokens: one written word (a contraction gives
// several) or the words of one number.
struct Unit
{
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype firstToken = 0;
    qsizetype tokenCount = 0;
};

// A text with its tokens and units, both in reading order.
struct Words
{
    QString text;
    QList<Token> tokens;
    QList<Unit> units;

    QString surface(const Unit &unit) const { return text.mid(unit.start, unit.end - unit.start); }
    // The written word for a token that is the whole of its unit, else its own form.
    QString shown(qsizetype token) const
    {
        const Unit &unit = units[tokens[token].unit];
        return unit.tokenCount == 1 ? surface(unit) : tokens[token].display;
    }
};

// The tokens of text: a number in digits or words is one token, a contraction the tokens of
// its long form, any other word one token of its own.
Words tokenize(const QString &text);

// Whether two keys are the same word: equal, or a contraction's ambiguous ending ("'s", "'d")
// and one of its long forms.
bool sameWord(const QString &a, const QString &b);

} // namespace wordcheck
