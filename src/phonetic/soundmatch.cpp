#include "phonetic/soundmatch.h"

#include "phonetic/phonetictokens.h"

#include <QList>

#include <algorithm>
#include <array>
#include <limits>

namespace sounds {

namespace {

constexpr std::u32string_view centralVowels = U"əieɛʌ";
constexpr std::u32string_view backVowels = U"ɔo";
constexpr std::u32string_view openVowels = U"ɑæa";

bool isVowel(char32_t c)
{
    return std::u32string_view(U"əieɛʌɔoɑæau").find(c) != std::u32string_view::npos;
}

// The group of close vowels a vowel belongs to, 0 for a consonant.
int vowelGroup(char32_t c)
{
    if (centralVowels.find(c) != centralVowels.npos)
        return 1;
    if (backVowels.find(c) != backVowels.npos)
        return 2;
    if (c == U'u')
        return 3;
    if (openVowels.find(c) != openVowels.npos)
        return 4;
    return 0;
}

// Consonants a learner easily hears one for the other: they differ in voicing or
// barely in place.
constexpr std::array<std::u32string_view, 8> closeConsonants{U"td", U"sz", U"θðf", U"fv",
                                                             U"ʃʒ", U"pb", U"kɡ",  U"mnŋ"};

bool areCloseConsonants(char32_t a, char32_t b)
{
    return std::any_of(closeConsonants.begin(), closeConsonants.end(), [a, b](auto set) {
        return set.find(a) != set.npos && set.find(b) != set.npos;
    });
}

double substitution(char32_t a, char32_t b)
{
    if (a == b)
        return 0;
    const int ga = vowelGroup(a);
    const int gb = vowelGroup(b);
    if (ga && gb) {
        if (ga == gb)
            return 0.2;
        // the short ʌ of cup is often heard as the open a of father
        if ((a == U'ʌ' && gb == 4) || (b == U'ʌ' && ga == 4))
            return 0.4;
        return 0.6;
    }
    if (!ga && !gb)
        return areCloseConsonants(a, b) ? 0.4 : 1.0;
    // a vowel against the glide made with the same tongue
    const auto pair = [a, b](char32_t v, char32_t g) {
        return (a == v && b == g) || (a == g && b == v);
    };
    return pair(U'i', U'j') || pair(U'u', U'w') ? 0.5 : 1.0;
}

// The cost of a sound heard but not there, or there but not heard.
double insertion(char32_t c)
{
    if (c == U'ə')
        return 0.25;
    if (c == U'r')
        return 0.3;
    if (c == U'h' || isVowel(c))
        return 0.5;
    if (c == U'j' || c == U'w')
        return 0.6;
    return 1.0;
}

// The sound classes the index is built on: close sounds share a class, so a candidate
// is found whichever of them the learner heard. ə and r, cheap to add or drop, have none.
char classOf(char32_t c)
{
    switch (vowelGroup(c)) {
    case 1:
        // ʌ is heard as ə or as a, and ə has no class: it goes with a
        return c == U'ə' ? 0 : c == U'ʌ' ? 'A' : 'E';
    case 2:
        return 'O';
    case 3:
        return 'U';
    case 4:
        return 'A';
    default:
        break;
    }
    constexpr std::pair<std::u32string_view, char> classes[] = {
        {U"td", 'T'},  {U"sz", 'S'}, {U"θðfv", 'F'}, {U"ʃʒ", 'H'}, {U"pb", 'P'}, {U"kɡ", 'K'},
        {U"mnŋ", 'N'}, {U"l", 'L'},  {U"w", 'W'},    {U"j", 'J'},  {U"h", 'X'}};
    if (c == U'r')
        return 0;
    for (const auto &[set, cls] : classes) {
        if (set.find(c) != set.npos)
            return cls;
    }
    return '?';
}

std::string classesOf(std::u32string_view s)
{
    std::string out;
    for (const char32_t c : s) {
        if (const char cls = classOf(c))
            out.push_back(cls);
    }
    return out;
}

// Classes are letters and '?'; a pair of them is a number below pairCount.
constexpr int classCount = 27;
constexpr int pairCount = classCount * classCount;

int classIndex(char c)
{
    return c == '?' ? 26 : c - 'A';
}

int pairIndex(char a, char b)
{
    return classIndex(a) * classCount + classIndex(b);
}

// Candidates may differ from what was typed by this many classes in length, and miss
// a third of its pairs, rounded up (at least one).
constexpr int lengthSlack = 2;

int missedPairs(int pairs)
{
    return std::max(1, (pairs + 1) / 3);
}

} // namespace

std::u32string soundsOf(QStringView pronunciation)
{
    std::u32string out;
    const QList<uint> codes = pronunciation.toUcs4();
    for (const uint c : codes) {
        if (c != U'ˈ' && c != U'ˌ' && c != U'ː' && c != U'\'' && c != U':')
            out.push_back(char32_t(c));
    }
    return out;
}

std::u32string soundsOfStored(std::string_view stored)
{
    std::u32string out;
    for (size_t i = 0; i < stored.size(); ++i) {
        char32_t c = uchar(stored[i]);
        // a reference: "&#" digits ";"
        if (c == '&' && i + 2 < stored.size() && stored[i + 1] == '#') {
            char32_t code = 0;
            size_t j = i + 2;
            while (j < stored.size() && stored[j] >= '0' && stored[j] <= '9' && code < 0x110000)
                code = code * 10 + char32_t(stored[j++] - '0');
            if (j < stored.size() && stored[j] == ';' && j > i + 2) {
                c = code;
                i = j;
            }
        }
        if (c != U'ˈ' && c != U'ˌ' && c != U'ː')
            out.push_back(c);
    }
    return out;
}

QString readLearnerLetters(QStringView typed)
{
    QString out;
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const QChar c = typed[i];
        // 3 is ɜ, which the notation writes ə; "ou" is how learners write the vowel of
        // go, əu
        if (c == u'3' || (c == u'o' && i + 1 < typed.size() && typed[i + 1] == u'u'))
            out += QChar(u'ə');
        else
            out += c;
    }
    return toNotationAlphabet(out);
}

QString readLearnerTyping(QStringView typed)
{
    // the learner's letter, and the notation's symbol it is read as
    static constexpr std::pair<char16_t, char16_t> symbols[] = {
        {u'o', u'ɔ'}, {u'g', u'ɡ'}, {u':', u'ː'}, {u'\'', u'ˈ'}};
    QString out = readLearnerLetters(typed);
    for (QChar &c : out) {
        for (const auto &[letter, symbol] : symbols) {
            if (c == letter)
                c = QChar(symbol);
        }
    }
    return out;
}

namespace {

// The weighted edit distance of a and b: insert(c) for a sound or letter added or dropped,
// substitute(x, y) for one heard as another, and extra(i, j, before, row) for a step over
// two of them (rows i - 2 and i - 1 of the table). Above limit it gives up and returns some
// value above limit. The rows live on for the next call: a search scores thousands.
template <typename Insert, typename Substitute, typename Extra>
double editDistance(std::u32string_view a, std::u32string_view b, double limit, Insert insert,
                    Substitute substitute, Extra extra)
{
    thread_local std::vector<double> before;
    thread_local std::vector<double> row;
    thread_local std::vector<double> next;
    before.assign(b.size() + 1, 0);
    row.resize(b.size() + 1);
    next.resize(b.size() + 1);
    row[0] = 0;
    for (size_t j = 1; j <= b.size(); ++j)
        row[j] = row[j - 1] + insert(b[j - 1]);
    for (size_t i = 1; i <= a.size(); ++i) {
        next[0] = row[0] + insert(a[i - 1]);
        double best = next[0];
        for (size_t j = 1; j <= b.size(); ++j) {
            next[j] =
                std::min({row[j] + insert(a[i - 1]), next[j - 1] + insert(b[j - 1]),
                          row[j - 1] + substitute(a[i - 1], b[j - 1]), extra(i, j, before, row)});
            best = std::min(best, next[j]);
        }
        if (best > limit)
            return best;
        std::swap(before, row);
        std::swap(row, next);
    }
    return row[b.size()];
}

constexpr double never = std::numeric_limits<double>::infinity();

} // namespace

double distanceWithin(std::u32string_view a, std::u32string_view b, double limit)
{
    // the diphthong uə and the long ɔ sound alike in many words (poor, sure), so either
    // heard for the other costs little
    const auto merged = [](std::u32string_view x, size_t i, std::u32string_view y, size_t j) {
        return i >= 2 && j >= 1 && x[i - 2] == U'u' && x[i - 1] == U'ə' && y[j - 1] == U'ɔ';
    };
    constexpr double mergedCost = 0.2;
    return editDistance(
        a, b, limit, insertion, substitution,
        [&](size_t i, size_t j, const std::vector<double> &before, const std::vector<double> &row) {
            if (merged(a, i, b, j))
                return before[j - 1] + mergedCost;
            if (merged(b, j, a, i))
                return row[j - 2] + mergedCost;
            return never;
        });
}

double distance(std::u32string_view a, std::u32string_view b)
{
    return distanceWithin(a, b, never);
}

double spellingDistanceWithin(std::u32string_view a, std::u32string_view b, double limit)
{
    const auto isVowelLetter = [](char32_t c) {
        return std::u32string_view(U"aeiouy").find(c) != std::u32string_view::npos;
    };
    return editDistance(
        a, b, limit, [](char32_t) { return 1.0; },
        [&](char32_t x, char32_t y) {
            return x == y ? 0.0 : isVowelLetter(x) && isVowelLetter(y) ? 0.5 : 1.0;
        },
        // two neighbouring letters swapped
        [&](size_t i, size_t j, const std::vector<double> &before, const std::vector<double> &) {
            return i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]
                       ? before[j - 2] + 1
                       : never;
        });
}

NearIndex::NearIndex(std::vector<std::u32string> entries)
    : entries_(std::move(entries)), byPair_(pairCount)
{
    classes_.reserve(entries_.size());
    for (size_t e = 0; e < entries_.size(); ++e) {
        std::string cls = classesOf(entries_[e]);
        if (byLength_.size() <= cls.size())
            byLength_.resize(cls.size() + 1);
        byLength_[cls.size()].push_back(int(e));
        for (size_t i = 1; i < cls.size(); ++i) {
            std::vector<int> &list = byPair_[size_t(pairIndex(cls[i - 1], cls[i]))];
            // an entry is listed once per pair, however often the pair recurs in it
            if (list.empty() || list.back() != int(e))
                list.push_back(int(e));
        }
        classes_.push_back(std::move(cls));
    }
}

std::vector<NearIndex::Match> NearIndex::nearest(std::u32string_view typed,
                                                 double maxDistance) const
{
    const std::string cls = classesOf(typed);
    const int length = int(cls.size());
    const auto fits = [&](int e) {
        return std::abs(int(classes_[size_t(e)].size()) - length) <= lengthSlack;
    };
    std::vector<int> candidates;
    const int pairs = std::max(0, length - 1);
    if (pairs <= 1) {
        // too few pairs to choose by: every entry of about that length
        for (int l = std::max(0, length - lengthSlack);
             l <= length + lengthSlack && l < int(byLength_.size()); ++l)
            candidates.insert(candidates.end(), byLength_[size_t(l)].begin(),
                              byLength_[size_t(l)].end());
    } else {
        std::vector<uint8_t> shared(entries_.size(), 0);
        std::vector<int> touched;
        std::vector<int> seenPairs;
        for (int i = 1; i < length; ++i) {
            const int p = pairIndex(cls[size_t(i - 1)], cls[size_t(i)]);
            if (std::find(seenPairs.begin(), seenPairs.end(), p) != seenPairs.end())
                continue;
            seenPairs.push_back(p);
            for (const int e : byPair_[size_t(p)]) {
                if (shared[size_t(e)]++ == 0)
                    touched.push_back(e);
            }
        }
        const int needed = int(seenPairs.size()) - missedPairs(int(seenPairs.size()));
        for (const int e : touched) {
            if (shared[size_t(e)] >= needed && fits(e))
                candidates.push_back(e);
        }
        std::sort(candidates.begin(), candidates.end());
    }
    std::vector<Match> matches;
    for (const int e : candidates) {
        const double d = distanceWithin(typed, entries_[size_t(e)], maxDistance);
        if (d <= maxDistance)
            matches.push_back({e, d});
    }
    std::stable_sort(matches.begin(), matches.end(),
                     [](const Match &a, const Match &b) { return a.distance < b.distance; });
    return matches;
}

} // namespace sounds
