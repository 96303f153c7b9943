#include "phonetic/notationfold.h"

#include <utility>

namespace notation {

namespace {

// What each symbol is written as: itself for the ASCII letters a learner can type as
// tokens and for the notation's symbols, otherwise the nearest of them; 0 for none.
char32_t written(char32_t c)
{
    constexpr std::u32string_view kept = U"abdfhijklmnoprstuvwzæðŋɑɔəʃʌʒˈˌːθɡ";
    constexpr std::pair<std::u32string_view, char32_t> nearest[] = {
        {U"g", U'ɡ'}, {U"ɪᵻɨ", U'i'}, {U"ʊy", U'u'}, {U"ɒ", U'ɔ'},   {U"ɐɜɚɝɵ", U'ə'}, {U"ɹ", U'r'},
        {U"ɾ", U't'}, {U"ɫɬ", U'l'},  {U"ʍ", U'w'},  {U"xcq", U'k'}, {U"çχ", U'h'}};
    if (kept.find(c) != kept.npos)
        return c;
    for (const auto &[symbols, replacement] : nearest) {
        if (symbols.find(c) != symbols.npos)
            return replacement;
    }
    return 0;
}

} // namespace

std::u32string fold(std::u32string_view symbols, AsciiLetters ascii,
                    const std::function<bool(char32_t)> &unplaced)
{
    std::u32string out;
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        const char32_t c = symbols[i];
        const char32_t next = i + 1 < symbols.size() ? symbols[i + 1] : 0;
        // The diphthong eə is written ɛə; ɛ on its own is written e. The long ɛː that some
        // transcriptions use for the same vowel becomes ɛə too.
        if (c == U'e' || c == U'ɛ') {
            const bool diphthong = next == U'ə' || (c == U'ɛ' && next == U'ː');
            out += diphthong ? U"ɛə" : U"e";
            i += diphthong ? 1 : 0;
        } else if (c < 0x80 && ascii == AsciiLetters::AsTyped) {
            out.push_back(c);
        } else if (const char32_t w = written(c)) {
            out.push_back(w);
        } else if (unplaced(c)) {
            out.push_back(c);
        }
    }
    return out;
}

} // namespace notation
