#include "diff/wordcomparison.h"

#include "diff/numberwords.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace wordcheck {

namespace {

// A word of letters (an inner apostrophe allowed), as near misses and spacing compare them;
// digits and a contraction's ending alone ("'s") are not.
bool isSpeltInLetters(const QString &word)
{
    return !word.isEmpty() && word.front().isLetter() &&
           std::all_of(word.begin(), word.end(),
                       [](QChar c) { return c.isLetter() || c.isMark() || c == u'\''; });
}

// Whether whole is spelt as first followed by second, both words of letters.
bool spellsAsTwo(const Token &whole, const Token &first, const Token &second)
{
    return isSpeltInLetters(first.spelt) && isSpeltInLetters(second.spelt) &&
           whole.spelt.size() == first.spelt.size() + second.spelt.size() &&
           whole.spelt.startsWith(first.spelt) && whole.spelt.endsWith(second.spelt);
}

} // namespace

qsizetype editDistance(QStringView a, QStringView b)
{
    const qsizetype columns = b.size() + 1;
    std::vector<qsizetype> d(size_t((a.size() + 1) * columns));
    const auto at = [&](qsizetype i, qsizetype j) -> qsizetype & {
        return d[size_t(i * columns + j)];
    };
    for (qsizetype i = 0; i <= a.size(); ++i) {
        for (qsizetype j = 0; j <= b.size(); ++j) {
            if (i == 0 || j == 0) {
                at(i, j) = i + j;
                continue;
            }
            at(i, j) = std::min({at(i - 1, j) + 1, at(i, j - 1) + 1,
                                 at(i - 1, j - 1) + (a[i - 1] == b[j - 1] ? 0 : 1)});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                at(i, j) = std::min(at(i, j), at(i - 2, j - 2) + 1);
        }
    }
    return at(a.size(), b.size());
}

WordMark WordComparison::pairMark(qsizetype r, qsizetype t) const
{
    const Token &ref = reference.tokens[r];
    const Token &typed = learner.tokens[t];
    if (sameWord(ref.key, typed.key))
        return WordMark::Correct;
    if (!isSpeltInLetters(ref.spelt) || !isSpeltInLetters(typed.spelt) ||
        (isNumberKey(ref.key) && isNumberKey(typed.key)))
        return WordMark::Wrong;
    // Two letters off would turn most short words into others.
    const qsizetype letters = ref.spelt.size();
    const qsizetype allowed = letters >= 6 ? 2 : letters >= 3 ? 1 : 0;
    if (std::abs(letters - typed.spelt.size()) <= allowed &&
        editDistance(ref.spelt, typed.spelt) <= allowed)
        return WordMark::Spelling;
    return soundsAlike && soundsAlike(ref.spelt, typed.spelt) ? WordMark::Spelling
                                                              : WordMark::Wrong;
}

bool WordComparison::splits(qsizetype r, qsizetype t) const
{
    return spellsAsTwo(reference.tokens[r], learner.tokens[t], learner.tokens[t + 1]);
}

bool WordComparison::joins(qsizetype r, qsizetype t) const
{
    return spellsAsTwo(learner.tokens[t], reference.tokens[r], reference.tokens[r + 1]);
}

} // namespace wordcheck
