#include "text/words.h"

#include <QChar>

namespace {

// The character whose code units include the one at i.
struct CodePoint
{
    char32_t value;
    qsizetype start;
    qsizetype end;
};

CodePoint codePointAt(QStringView text, qsizetype i)
{
    if (text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate())
        return {QChar::surrogateToUcs4(text[i - 1], text[i]), i - 1, i + 1};
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return {QChar::surrogateToUcs4(text[i], text[i + 1]), i, i + 2};
    return {text[i].unicode(), i, i + 1};
}

// The characters a word is made of. The modifier letter apostrophe counts as a letter in
// Unicode, but joins like the other apostrophes.
bool isLetterDigitOrMark(char32_t c)
{
    return (QChar::isLetterOrNumber(c) || QChar::isMark(c)) && !isApostrophe(c);
}

} // namespace

bool isApostrophe(char32_t c)
{
    return c == U'\'' || c == U'\u2019' || c == U'\u02BC';
}

bool isHyphen(char32_t c)
{
    return c == U'-' || c == U'\u2010' || c == U'\u2011';
}

bool isWordCharacter(QStringView text, qsizetype i, Hyphens hyphens)
{
    const CodePoint c = codePointAt(text, i);
    if (isLetterDigitOrMark(c.value))
        return true;
    const bool joins = isApostrophe(c.value) || (hyphens == Hyphens::Join && isHyphen(c.value));
    return joins && c.start > 0 && c.end < text.size() &&
           isLetterDigitOrMark(codePointAt(text, c.start - 1).value) &&
           isLetterDigitOrMark(codePointAt(text, c.end).value);
}

WordSpan wordFrom(QStringView text, qsizetype from, Hyphens hyphens)
{
    const auto inWord = [&](qsizetype i) { return isWordCharacter(text, i, hyphens); };
    qsizetype i = qBound<qsizetype>(0, from, text.size());
    if (i > 0 && i < text.size() && inWord(i - 1) && inWord(i)) {
        while (i < text.size() && inWord(i))
            ++i;
    }
    while (i < text.size() && !inWord(i))
        ++i;
    if (i == text.size())
        return {};
    const qsizetype start = i;
    while (i < text.size() && inWord(i))
        ++i;
    return {start, i - start};
}
