#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// How near two pronunciations sound to a learner's ear, and a search for the entries
// nearest a typed pronunciation. Sounds are the notation's symbols (decoded, not stored
// references) without stress and length marks, which a learner rarely hears right.
// Pure functions, and an index that is read-only once built; safe on any thread.
namespace sounds {

// The sounds of a pronunciation in the notation's alphabet: stress and length marks left
// out.
std::u32string soundsOf(QStringView pronunciation);

// The sounds of a pronunciation as the dictionary stores it: ASCII letters and decimal
// character references ("&#593;"), stress and length marks left out.
std::u32string soundsOfStored(std::string_view stored);

// What a learner typed in the notation's alphabet, with the letters that stand for more
// than one vowel (a, o, e) kept for the search to read: 3 becomes ə, "ou" əu.
QString readLearnerLetters(QStringView typed);

// What a learner typed, read in the notation: the symbols they cannot reach written as
// learners write them (o for ɔ, 3 for ə, g for ɡ, : for ː, ' for ˈ, and the notation's
// own folds, ɪ as i and so on).
QString readLearnerTyping(QStringView typed);

// The cost of turning sounds a into sounds b: close vowels (ə/i/e/ʌ, ɔ/o, u, ɑ/æ) cost
// little, consonants that differ in voicing or barely in place (t/d, s/z, θ/ð/f, ʃ/ʒ)
// a little more, a missing or extra ə or r little; any other change about 1.
double distance(std::u32string_view a, std::u32string_view b);

// The same cost with a bound: anything above limit is reported as a value above limit,
// which lets the search give up early.
double distanceWithin(std::u32string_view a, std::u32string_view b, double limit);

// The spelling distance of two lower-case words: an edit of a letter costs 1, a vowel
// letter for another vowel letter 0.5 (learners hear the vowel and guess its letter), two
// letters swapped 1. Values above limit are reported as some value above limit.
double spellingDistanceWithin(std::u32string_view a, std::u32string_view b, double limit);

// The entries of a dictionary indexed for the search of near pronunciations: a candidate
// must share most of its pairs of neighbouring sound classes with what was typed, and
// only candidates are scored.
class NearIndex
{
public:
    struct Match
    {
        int entry;
        double distance;
    };

    // entries: the sounds of each entry, by entry number.
    explicit NearIndex(std::vector<std::u32string> entries);

    // The entries within maxDistance of typed, nearest first (ties in entry order).
    std::vector<Match> nearest(std::u32string_view typed, double maxDistance) const;

    const std::u32string &soundsOf(int entry) const { return entries_[size_t(entry)]; }
    int size() const { return int(entries_.size()); }

private:
    std::vector<std::u32string> entries_;
    // each entry's classes (see classOf), the cheap sounds ə and r left out
    std::vector<std::string> classes_;
    // entry numbers by the length of their classes, and by each pair of classes
    std::vector<std::vector<int>> byLength_;
    std::vector<std::vector<int>> byPair_;
};

} // namespace sounds
