#include "diff/wordsplit.h"

#include "text/words.h"

namespace wordcheck {

QList<RawWord> splitWords(const QString &text)
{
    QList<RawWord> words;
    bool pendingBreak = false;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        if (!isWordCharacter(text, i, Hyphens::Split)) {
            const QChar c = text[i];
            if (!c.isSpace() && !isHyphen(c.unicode()))
                pendingBreak = true;
            ++i;
            continue;
        }
        RawWord word;
        word.start = i;
        word.breakBefore = pendingBreak;
        pendingBreak = false;
        while (i < n) {
            const QChar c = text[i];
            if (isWordCharacter(text, i, Hyphens::Split)) {
                word.lower += isApostrophe(c.unicode()) ? u'\'' : c.toLower();
            } else if ((c == u',' || c == u'.') && isAsciiDigit(word.lower.back()) && i + 1 < n &&
                       isAsciiDigit(text[i + 1])) {
                word.lower += c; // digit grouping or a decimal point: "5,000", "3.5"
            } else {
                break;
            }
            ++i;
        }
        word.end = i;
        words.append(word);
    }
    return words;
}

} // namespace wordcheck
