#include "notation.h"

#include <QList>

namespace notation {

namespace {

// Symbols the stored form keeps as they are: ASCII letters stand for themselves, the
// sixteen IPA symbols become references such as "&#601;".
void append(QByteArray &out, char32_t symbol)
{
    if (symbol < 0x80) {
        out += char(symbol);
    } else {
        out += "&#";
        out += QByteArray::number(uint(symbol));
        out += ';';
    }
}

// Marks that carry no sound of their own in a dictionary entry: word breaks, the glottal
// stop, palatalisation and aspiration marks, and combining diacritics (nasal vowels,
// syllabic consonants, tie bars).
bool isSilentMark(char32_t c)
{
    return c == U' ' || c == U'-' || c == U'_' || c == U'\'' || c == U'ʔ' || c == U'ʲ' ||
           c == U'ʰ' || (c >= 0x300 && c <= 0x36F);
}

} // namespace

QByteArray fromIpa(const QString &ipa, QSet<char32_t> *dropped)
{
    const QList<uint> codes = ipa.toUcs4();
    const QList<char32_t> in(codes.cbegin(), codes.cend());
    QByteArray out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        const char32_t c = in[i];
        const char32_t next = i + 1 < in.size() ? in[i + 1] : 0;
        switch (c) {
        // The symbols of the notation and the ASCII letters a learner can type as tokens.
        case U'a':
        case U'b':
        case U'd':
        case U'f':
        case U'h':
        case U'i':
        case U'j':
        case U'k':
        case U'l':
        case U'm':
        case U'n':
        case U'o':
        case U'p':
        case U'r':
        case U's':
        case U't':
        case U'u':
        case U'v':
        case U'w':
        case U'z':
        case U'æ':
        case U'ð':
        case U'ŋ':
        case U'ɑ':
        case U'ɔ':
        case U'ə':
        case U'ʃ':
        case U'ʌ':
        case U'ʒ':
        case U'ˈ':
        case U'ˌ':
        case U'ː':
        case U'θ':
        case U'ɡ':
            append(out, c);
            break;
        case U'g':
            append(out, U'ɡ');
            break;
        // The diphthong eə is written ɛə; ɛ on its own is written e. The long ɛː that
        // some transcriptions use for the same vowel becomes ɛə too.
        case U'e':
            append(out, next == U'ə' ? U'ɛ' : U'e');
            break;
        case U'ɛ':
            if (next == U'ə') {
                append(out, U'ɛ');
            } else if (next == U'ː') {
                append(out, U'ɛ');
                append(out, U'ə');
                ++i;
            } else {
                append(out, U'e');
            }
            break;
        case U'ɪ':
        case U'ᵻ':
        case U'ɨ':
            append(out, U'i');
            break;
        case U'ʊ':
        case U'y':
            append(out, U'u');
            break;
        case U'ɒ':
            append(out, U'ɔ');
            break;
        case U'ɐ':
        case U'ɜ':
        case U'ɚ':
        case U'ɝ':
        case U'ɵ':
            append(out, U'ə');
            break;
        case U'ɹ':
            append(out, U'r');
            break;
        case U'ɾ':
            append(out, U't');
            break;
        case U'ɫ':
        case U'ɬ':
            append(out, U'l');
            break;
        case U'ʍ':
            append(out, U'w');
            break;
        case U'x':
        case U'c':
        case U'q':
            append(out, U'k');
            break;
        case U'ç':
        case U'χ':
            append(out, U'h');
            break;
        default:
            if (!isSilentMark(c) && dropped)
                dropped->insert(c);
            break;
        }
    }
    return out;
}

} // namespace notation
