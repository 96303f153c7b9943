#include "spelling/wordsegmentation.h"

#include <algorithm>

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

// Whether the code unit at i belongs to an East Asian character.
bool isEastAsianAt(QStringView text, qsizetype i)
{
    const qsizetype s =
        text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate() ? i - 1 : i;
    if (text[s].isHighSurrogate() && s + 1 < text.size() && text[s + 1].isLowSurrogate())
        return isEastAsian(QChar::surrogateToUcs4(text[s], text[s + 1]));
    return isEastAsian(text[s].unicode());
}

bool hasDigit(QStringView word)
{
    return std::any_of(word.begin(), word.end(), [](QChar c) { return c.isDigit(); });
}

} // namespace

WordSpan nextWord(QStringView text, qsizetype from)
{
    from = qBound<qsizetype>(0, from, text.size());
    // The word from is in may hold East Asian characters, with an English word after them.
    qsizetype i = from;
    while (i > 0 && isWordCharacter(text, i - 1, Hyphens::Join))
        --i;
    for (WordSpan w = wordFrom(text, i, Hyphens::Join); w.isValid();
         w = wordFrom(text, w.end(), Hyphens::Join)) {
        // East Asian characters stand between English words like spaces: the rule reads the
        // pieces between them again, so an apostrophe or hyphen left at a piece's edge drops off.
        qsizetype pieceStart = w.start;
        for (qsizetype j = w.start; j <= w.end(); ++j) {
            if (j < w.end() && !isEastAsianAt(text, j))
                continue;
            const QStringView piece = text.sliced(pieceStart, j - pieceStart);
            for (WordSpan p = wordFrom(piece, 0, Hyphens::Join); p.isValid();
                 p = wordFrom(piece, p.end(), Hyphens::Join)) {
                if (pieceStart + p.start >= from && !hasDigit(piece.sliced(p.start, p.length)))
                    return {pieceStart + p.start, p.length};
            }
            pieceStart = j + 1;
        }
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
