#include "notation.h"

#include "phonetic/notationfold.h"

#include <QList>

#include <algorithm>
#include <array>
#include <string>

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

bool isConsonant(char32_t c)
{
    return std::u32string_view(U"bdfhjklmnprstvwzðŋɡʃʒθ").find(c) != std::u32string_view::npos;
}

// Consonant groups that can begin an English syllable, beyond any single consonant but ŋ.
bool isOnset(std::u32string_view group)
{
    static constexpr std::array<std::u32string_view, 55> clusters{
        U"tʃ",  U"dʒ",  U"pl",  U"pr",  U"bl",  U"br",  U"tr",  U"dr",  U"kl",  U"kr",  U"ɡl",
        U"ɡr",  U"fl",  U"fr",  U"θr",  U"ʃr",  U"sp",  U"st",  U"sk",  U"sm",  U"sn",  U"sl",
        U"sw",  U"sf",  U"tw",  U"dw",  U"kw",  U"ɡw",  U"θw",  U"pj",  U"bj",  U"tj",  U"dj",
        U"kj",  U"ɡj",  U"mj",  U"nj",  U"fj",  U"vj",  U"hj",  U"lj",  U"sj",  U"θj",  U"zj",
        U"spl", U"spr", U"str", U"skr", U"skw", U"spj", U"skj", U"stj", U"tʃr", U"dʒr", U"smj"};
    if (group.size() == 1)
        return group.front() != U'ŋ';
    return std::find(clusters.begin(), clusters.end(), group) != clusters.end();
}

// The synthesizer puts a stress mark right before the stressed vowel (ɪɡzˈɑːmpəl), while
// dictionaries, and learners, put it where the syllable begins (ɪɡˈzɑːmpəl). Each mark
// moves left over the consonants before it that can begin a syllable together.
void moveStressToSyllableStart(std::u32string &symbols)
{
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        if (symbols[i] != U'ˈ' && symbols[i] != U'ˌ')
            continue;
        std::size_t runStart = i;
        while (runStart > 0 && isConsonant(symbols[runStart - 1]))
            --runStart;
        std::size_t onsetStart = i;
        for (std::size_t start = runStart; start < i; ++start) {
            if (isOnset(std::u32string_view(symbols).substr(start, i - start))) {
                onsetStart = start;
                break;
            }
        }
        const char32_t mark = symbols[i];
        symbols.erase(i, 1);
        symbols.insert(onsetStart, 1, mark);
    }
}

} // namespace

QByteArray fromIpa(const QString &ipa, QSet<char32_t> *dropped)
{
    const QList<uint> codes = ipa.toUcs4();
    const QList<char32_t> in(codes.cbegin(), codes.cend());
    std::u32string symbols = fold(std::u32string_view(in.constData(), std::size_t(in.size())),
                                  AsciiLetters::Folded, [dropped](char32_t c) {
                                      if (!isSilentMark(c) && dropped)
                                          dropped->insert(c);
                                      return false;
                                  });
    moveStressToSyllableStart(symbols);
    QByteArray out;
    for (const char32_t symbol : symbols)
        append(out, symbol);
    return out;
}

QString weakForm(const QString &ipa)
{
    constexpr std::u32string_view vowels = U"aæɐɑɒɔəɛeɜiɪoʊuʌ";
    std::u32string symbols;
    for (const uint c : ipa.toUcs4()) {
        if (c != U'ˈ' && c != U'ˌ')
            symbols += char32_t(c);
    }
    std::size_t vowel = std::u32string::npos;
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        if (vowels.find(symbols[i]) == vowels.npos)
            continue;
        if (vowel != std::u32string::npos)
            return {};
        vowel = i;
    }
    if (vowel == std::u32string::npos)
        return {};
    const std::size_t length = vowel + 1 < symbols.size() && symbols[vowel + 1] == U'ː' ? 2 : 1;
    symbols.replace(vowel, length, 1, U'ə');
    return QString::fromUcs4(symbols.data(), qsizetype(symbols.size()));
}

} // namespace notation
