#pragma once

#include <functional>
#include <string>
#include <string_view>

// The symbol folds of the dictionary's pronunciation notation, shared by the build that
// writes the stored pronunciations and the lookup that reads what a learner typed, so both
// sides spell a sound alike. Pure functions; safe on any thread.
namespace notation {

// How ASCII letters outside the notation (c, q, x, y) are read: as the synthesizer's IPA
// symbols, folded to their nearest notation symbol, or as a learner's typing, kept.
enum class AsciiLetters
{
    Folded,
    AsTyped
};

// symbols with every symbol written in the notation's alphabet: kept symbols stay, others
// become the nearest kept one (ɪ as i, ʊ as u, ɒ as ɔ, ɜ as ə, ...), eə and ɛː become ɛə
// and any other e or ɛ becomes e. A symbol with no place in the notation goes to unplaced,
// and stays in the result when unplaced returns true.
std::u32string fold(std::u32string_view symbols, AsciiLetters ascii,
                    const std::function<bool(char32_t)> &unplaced);

} // namespace notation
