#include "spelling/wordsegmentation.h"

namespace {

// Scripts written without spaces between words, which the English dictionary cannot judge.
bool isEastAsian(char32_t c)
{
    switch (QChar::script(c)) {
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Hangul:
    case QChar::Script_Bopomofo:
        return true;
    default:
        return false;
    }
}

// One code point of text at i with the number of code units it takes.
struct CodePoint
{
    char32_t value;
    qsizetype units;
};

CodePoint codePointAt(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return {QChar::surrogateToUcs4(c, text[i + 1]), 2};
    return {c.unicode(), 1};
}

// Letters, digits and combining marks make up a run; a run with a digit is a number.
bool isRunCharacter(char32_t c)
{
    return (QChar::isLetterOrNumber(c) || QChar::isMark(c)) && !isEastAsian(c);
}

// Joins two run characters into one word: "don't", "don’t", "well-known".
bool isJoiner(char32_t c)
{
    return c == U'\'' || c == U'\u2019' || c == U'-' || c == U'\u2010';
}

// The run starting at start (a run character): its end and whether it holds a digit.
struct Run
{
    qsizetype end;
    bool hasDigit;
};

Run runFrom(QStringView text, qsizetype start)
{
    Run run{start, false};
    qsizetype i = start;
    while (i < text.size()) {
        const CodePoint cp = codePointAt(text, i);
        if (isRunCharacter(cp.value)) {
            run.hasDigit = run.hasDigit || QChar::isDigit(cp.value);
            i += cp.units;
            run.end = i;
            continue;
        }
        if (isJoiner(cp.value) && i + cp.units < text.size() &&
            isRunCharacter(codePointAt(text, i + cp.units).value)) {
            i += cp.units;
            continue;
        }
        break;
    }
    return run;
}

// Where the run that reaches position begins (position itself when none reaches it).
qsizetype runStartBefore(QStringView text, qsizetype position)
{
    const auto codePointBefore = [text](qsizetype i) {
        const qsizetype back = i >= 2 && text[i - 1].isLowSurrogate() ? i - 2 : i - 1;
        return CodePoint{codePointAt(text, back).value, i - back};
    };
    qsizetype j = position;
    while (j > 0) {
        const CodePoint before = codePointBefore(j);
        if (isRunCharacter(before.value)) {
            j -= before.units;
        } else if (isJoiner(before.value) && j - before.units > 0 && j < text.size() &&
                   isRunCharacter(codePointAt(text, j).value) &&
                   isRunCharacter(codePointBefore(j - before.units).value)) {
            j -= before.units;
        } else {
            break;
        }
    }
    return j;
}

} // namespace

WordSpan nextWord(QStringView text, qsizetype from)
{
    qsizetype i = qBound<qsizetype>(0, from, text.size());
    // A position inside a run continues that run, which is not a word starting here.
    const qsizetype start = runStartBefore(text, i);
    if (start < i)
        i = qMax(i, runFrom(text, start).end);
    while (i < text.size()) {
        const CodePoint cp = codePointAt(text, i);
        if (!isRunCharacter(cp.value)) {
            i += cp.units;
            continue;
        }
        const Run run = runFrom(text, i);
        if (!run.hasDigit)
            return {i, run.end - i};
        i = run.end;
    }
    return {};
}

QList<WordSpan> wordsOf(QStringView text)
{
    QList<WordSpan> words;
    for (WordSpan w = nextWord(text, 0); w.isValid(); w = nextWord(text, w.end()))
        words.append(w);
    return words;
}

WordSpan wordAt(QStringView text, qsizetype position)
{
    for (WordSpan w = nextWord(text, 0); w.isValid() && w.start <= position;
         w = nextWord(text, w.end())) {
        if (position <= w.end())
            return w;
    }
    return {};
}
