#include "diff/wordcheck.h"

#include "diff/diffengine.h"
#include "diff/diffrender.h"

#include "text/words.h"

#include <QHash>
#include <QSet>
#include <QUrl>

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

namespace {

// A word as written: its place in the text and its lower-case letters, digits and inner
// apostrophes (all written ').
struct RawWord
{
    qsizetype start = 0;
    qsizetype end = 0;
    QString lower;
    // Punctuation other than blanks and hyphens stands between this word and the one before.
    bool breakBefore = false;
};

// A word as compared: what it must equal, how the result shows it, and its letters for the
// near misses and the spacing: the lower-case letters of the written word when it is the whole
// of its unit, else its key.
struct Token
{
    QString key;
    QString display;
    qsizetype unit = 0;
    QString spelt;
};

// A stretch of the text that gives one or more tokens: one written word (a contraction gives
// several) or the words of one number.
struct Unit
{
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype firstToken = 0;
    qsizetype tokenCount = 0;
};

struct Words
{
    QString text;
    QList<Token> tokens;
    QList<Unit> units;

    QString surface(const Unit &unit) const { return text.mid(unit.start, unit.end - unit.start); }
    // The written word for a token that is the whole of its unit, else its own form.
    QString shown(qsizetype token) const
    {
        const Unit &unit = units[tokens[token].unit];
        return unit.tokenCount == 1 ? surface(unit) : tokens[token].display;
    }
};

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

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

QString numberKey(qint64 value, bool ordinal)
{
    return QLatin1Char('#') + QString::number(value) +
           (ordinal ? QLatin1String("th") : QLatin1String());
}

// "21", "5,000" and "21st" as number keys; nothing for other words, for decimals, for
// leading zeros and for more than twelve digits.
std::optional<QString> digitKey(QStringView word)
{
    bool ordinal = false;
    for (const char *suffix : {"st", "nd", "rd", "th"}) {
        if (word.size() > 2 && word.endsWith(QLatin1String(suffix))) {
            word.chop(2);
            ordinal = true;
            break;
        }
    }
    QString digits;
    qsizetype group = 0;
    bool grouped = false;
    for (const QChar c : word) {
        if (c == u',') {
            // every group after the first holds three digits, the first one to three
            if (group == 0 || (grouped ? group != 3 : group > 3))
                return std::nullopt;
            grouped = true;
            group = 0;
        } else if (isAsciiDigit(c)) {
            digits += c;
            ++group;
        } else {
            return std::nullopt;
        }
    }
    if (digits.isEmpty() || (grouped && group != 3) || digits.size() > 12 ||
        (digits.size() > 1 && digits.front() == u'0'))
        return std::nullopt;
    return numberKey(digits.toLongLong(), ordinal);
}

enum class NumberKind
{
    Small, // zero to nineteen
    Tens,
    Hundred,
    Scale, // thousand, million, billion
};

struct NumberWord
{
    qint64 value = 0;
    NumberKind kind = NumberKind::Small;
    bool ordinal = false;
};

const QHash<QString, NumberWord> &numberWords()
{
    static const QHash<QString, NumberWord> words = [] {
        QHash<QString, NumberWord> w;
        const char *small[] = {"zero",    "one",     "two",       "three",    "four",
                               "five",    "six",     "seven",     "eight",    "nine",
                               "ten",     "eleven",  "twelve",    "thirteen", "fourteen",
                               "fifteen", "sixteen", "seventeen", "eighteen", "nineteen"};
        const char *smallOrdinal[] = {nullptr,     "first",       "second",     "third",
                                      "fourth",    "fifth",       "sixth",      "seventh",
                                      "eighth",    "ninth",       "tenth",      "eleventh",
                                      "twelfth",   "thirteenth",  "fourteenth", "fifteenth",
                                      "sixteenth", "seventeenth", "eighteenth", "nineteenth"};
        for (int i = 0; i < 20; ++i) {
            w.insert(QLatin1String(small[i]), {i, NumberKind::Small, false});
            if (smallOrdinal[i])
                w.insert(QLatin1String(smallOrdinal[i]), {i, NumberKind::Small, true});
        }
        const char *tens[] = {"twenty", "thirty",  "forty",  "fifty",
                              "sixty",  "seventy", "eighty", "ninety"};
        for (int i = 0; i < 8; ++i) {
            const QString word = QLatin1String(tens[i]);
            w.insert(word, {20 + 10 * i, NumberKind::Tens, false});
            w.insert(word.chopped(1) + QLatin1String("ieth"),
                     {20 + 10 * i, NumberKind::Tens, true});
        }
        const std::pair<const char *, qint64> scales[] = {
            {"hundred", 100}, {"thousand", 1000}, {"million", 1000000}, {"billion", 1000000000}};
        for (const auto &[name, value] : scales) {
            const NumberKind kind = value == 100 ? NumberKind::Hundred : NumberKind::Scale;
            w.insert(QLatin1String(name), {value, kind, false});
            w.insert(QLatin1String(name) + QLatin1String("th"), {value, kind, true});
        }
        return w;
    }();
    return words;
}

// Reads the cardinal or ordinal that number words spell from words[from]: its key and the
// number of words it takes, or nothing when no number starts there.
std::optional<std::pair<QString, qsizetype>> readNumberWords(const QList<RawWord> &words,
                                                             qsizetype from)
{
    enum class Last
    {
        None,
        A,
        And,
        Small,
        Tens,
        Hundred,
        Scale
    };
    const QHash<QString, NumberWord> &table = numberWords();
    const auto numberAt = [&](qsizetype i) -> const NumberWord * {
        if (i >= words.size() || (i > from && words[i].breakBefore))
            return nullptr;
        const auto it = table.constFind(words[i].lower);
        return it == table.constEnd() ? nullptr : &*it;
    };

    qint64 total = 0;
    qint64 group = 0;
    qint64 lastScale = std::numeric_limits<qint64>::max();
    Last last = Last::None;
    qsizetype taken = 0;
    bool ordinal = false;
    for (qsizetype i = from; i < words.size() && !ordinal; ++i) {
        if (i > from && words[i].breakBefore)
            break;
        const QString &lower = words[i].lower;
        const NumberWord *next = numberAt(i + 1);
        if (lower == QLatin1String("a") && i == from) {
            // "a hundred", "a thousand"
            if (!next || (next->kind != NumberKind::Hundred && next->kind != NumberKind::Scale))
                break;
            group = 1;
            last = Last::A;
            continue;
        }
        if (lower == QLatin1String("and") && (last == Last::Hundred || last == Last::Scale)) {
            // "a hundred and five"
            if (!next || (next->kind != NumberKind::Small && next->kind != NumberKind::Tens))
                break;
            last = Last::And;
            continue;
        }
        const NumberWord *word = numberAt(i);
        if (!word)
            break;
        const bool afterGroupStart =
            last == Last::None || last == Last::And || last == Last::Hundred || last == Last::Scale;
        // "the hundredth" alone is one hundredth
        const qint64 quantity = last == Last::None && word->ordinal ? 1 : group;
        bool fits = false;
        qint64 nextTotal = total;
        qint64 nextGroup = group;
        switch (word->kind) {
        case NumberKind::Small:
            fits = (afterGroupStart && (word->value > 0 || last == Last::None)) ||
                   (last == Last::Tens && word->value > 0 && word->value < 10);
            nextGroup += word->value;
            break;
        case NumberKind::Tens:
            fits = afterGroupStart;
            nextGroup += word->value;
            break;
        case NumberKind::Hundred:
            fits = quantity >= 1 && quantity <= 99 && last != Last::And && last != Last::Hundred &&
                   last != Last::Scale;
            nextGroup = quantity * 100;
            break;
        case NumberKind::Scale:
            fits = quantity >= 1 && word->value < lastScale && last != Last::And;
            nextTotal += quantity * word->value;
            nextGroup = 0;
            break;
        }
        if (!fits)
            break;
        total = nextTotal;
        group = nextGroup;
        if (word->kind == NumberKind::Scale)
            lastScale = word->value;
        last = word->kind == NumberKind::Small     ? Last::Small
               : word->kind == NumberKind::Tens    ? Last::Tens
               : word->kind == NumberKind::Hundred ? Last::Hundred
                                                   : Last::Scale;
        ordinal = word->ordinal;
        taken = i - from + 1;
        if (word->value == 0)
            break; // "zero" stands alone
    }
    if (taken == 0)
        return std::nullopt;
    return std::pair{numberKey(total + group, ordinal), taken};
}

// The words a pronoun's "'s" may stand for "is" or "has" after; after any other word it is a
// possessive.
const QSet<QString> &sIsPronouns()
{
    static const QSet<QString> words = {
        QStringLiteral("it"),         QStringLiteral("he"),       QStringLiteral("she"),
        QStringLiteral("that"),       QStringLiteral("what"),     QStringLiteral("where"),
        QStringLiteral("who"),        QStringLiteral("there"),    QStringLiteral("here"),
        QStringLiteral("how"),        QStringLiteral("when"),     QStringLiteral("why"),
        QStringLiteral("this"),       QStringLiteral("everyone"), QStringLiteral("everybody"),
        QStringLiteral("everything"), QStringLiteral("someone"),  QStringLiteral("somebody"),
        QStringLiteral("something"),  QStringLiteral("nobody"),   QStringLiteral("nothing")};
    return words;
}

// A contraction's ambiguous endings keep their own key and match either long form.
const QLatin1String ambiguousIs("'s");
const QLatin1String ambiguousWould("'d");

bool sameWord(const QString &a, const QString &b)
{
    const auto fits = [](const QString &ending, const QString &word) {
        if (ending == ambiguousIs)
            return word == QLatin1String("is") || word == QLatin1String("has");
        if (ending == ambiguousWould)
            return word == QLatin1String("would") || word == QLatin1String("had");
        return false;
    };
    return a == b || fits(a, b) || fits(b, a);
}

// The long form of a lower-case word, as (key, display) pairs; written is the word as the
// text has it, whose letters show a long-form word that begins it ("Do" of "Don't").
void expandContraction(const QString &word, QStringView written, QList<Token> &out)
{
    const auto split = [&](qsizetype ending, const QString &base, const QString &longForm) {
        expandContraction(base, written.left(written.size() - ending), out);
        out.append({longForm, longForm, 0, {}});
    };
    if (word == QLatin1String("cannot"))
        return split(3, QStringLiteral("can"), QStringLiteral("not"));
    if (word.endsWith(QLatin1String("n't")) && word.size() > 4 && word != QLatin1String("ain't")) {
        QString base = word.chopped(3);
        if (word == QLatin1String("won't"))
            base = QStringLiteral("will");
        else if (word == QLatin1String("can't"))
            base = QStringLiteral("can");
        else if (word == QLatin1String("shan't"))
            base = QStringLiteral("shall");
        return split(3, base, QStringLiteral("not"));
    }
    const std::pair<const char *, const char *> endings[] = {
        {"'m", "am"}, {"'re", "are"}, {"'ve", "have"}, {"'ll", "will"}, {"'d", "'d"}};
    for (const auto &[ending, longForm] : endings) {
        const QLatin1String e(ending);
        if (word.endsWith(e) && word.size() > e.size())
            return split(e.size(), word.chopped(e.size()), QLatin1String(longForm));
    }
    if (word.endsWith(QLatin1String("'s")) && word.size() > 2) {
        const QString base = word.chopped(2);
        if (base == QLatin1String("let"))
            return split(2, base, QStringLiteral("us"));
        if (sIsPronouns().contains(base))
            return split(2, base, ambiguousIs);
    }
    // The word itself, or the start of a contraction: shown in the letters written if they
    // spell it ("Do" of "Don't"), else in its long form ("will" of "won't").
    const QStringView start = written.left(word.size());
    out.append(
        {word, start.compare(word, Qt::CaseInsensitive) == 0 ? start.toString() : word, 0, {}});
}

Words tokenize(const QString &text)
{
    Words result;
    result.text = text;
    const QList<RawWord> raw = splitWords(text);
    result.tokens.reserve(raw.size());
    result.units.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size();) {
        Unit unit{raw[i].start, raw[i].end, result.tokens.size(), 0};
        const qsizetype firstToken = unit.firstToken;
        const qsizetype firstRaw = i;
        if (const std::optional<QString> key = digitKey(raw[i].lower)) {
            result.tokens.append({*key, raw[i].lower, 0, {}});
            ++i;
        } else if (const auto number = readNumberWords(raw, i)) {
            unit.end = raw[i + number->second - 1].end;
            result.tokens.append({number->first, QString(), 0, {}});
            i += number->second;
        } else {
            expandContraction(raw[i].lower,
                              QStringView(text).mid(raw[i].start, raw[i].end - raw[i].start),
                              result.tokens);
            ++i;
        }
        unit.tokenCount = result.tokens.size() - firstToken;
        for (qsizetype t = firstToken; t < result.tokens.size(); ++t) {
            Token &token = result.tokens[t];
            token.unit = result.units.size();
            token.spelt = token.key;
        }
        if (unit.tokenCount == 1) {
            QString &spelt = result.tokens[firstToken].spelt;
            spelt.clear();
            for (qsizetype k = firstRaw; k < i; ++k)
                spelt += raw[k].lower;
        }
        result.units.append(unit);
    }
    return result;
}

// The edits that turn a into b: a letter changed, added or left out, or two neighbouring
// letters swapped.
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

// Edit distance per mille of the longer word: which typed word a reference word is most
// likely to have become.
qint64 unlikeness(const QString &a, const QString &b)
{
    const qsizetype longer = std::max(a.size(), b.size());
    return longer == 0 ? 0 : qint64(editDistance(a, b)) * 1000 / longer;
}

bool isNumberKey(const QString &key)
{
    return key.startsWith(u'#');
}

// A word of letters (an inner apostrophe allowed), as near misses and spacing compare them;
// digits and a contraction's ending alone ("'s") are not.
bool isSpeltInLetters(const QString &word)
{
    return !word.isEmpty() && word.front().isLetter() &&
           std::all_of(word.begin(), word.end(),
                       [](QChar c) { return c.isLetter() || c.isMark() || c == u'\''; });
}

// What the tokens of a reference and of a learner's text are to one another.
struct Comparison
{
    const Words &reference;
    const Words &learner;
    const SoundsAlike &soundsAlike;

    WordMark pairMark(qsizetype r, qsizetype t) const
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
    // Whether the typed words t and t + 1 spell reference word r.
    bool splits(qsizetype r, qsizetype t) const
    {
        return spellsAsTwo(reference.tokens[r], learner.tokens[t], learner.tokens[t + 1]);
    }
    // Whether the typed word t spells reference words r and r + 1.
    bool joins(qsizetype r, qsizetype t) const
    {
        return spellsAsTwo(learner.tokens[t], reference.tokens[r], reference.tokens[r + 1]);
    }

private:
    static bool spellsAsTwo(const Token &whole, const Token &first, const Token &second)
    {
        return isSpeltInLetters(first.spelt) && isSpeltInLetters(second.spelt) &&
               whole.spelt.size() == first.spelt.size() + second.spelt.size() &&
               whole.spelt.startsWith(first.spelt) && whole.spelt.endsWith(second.spelt);
    }
};

// One entry of the alignment: the reference and typed tokens from reference and typed on, as
// many as the mark takes (one each; none of one side for Missing and Extra; two of one side
// for Spacing).
struct Step
{
    WordMark mark = WordMark::Correct;
    qsizetype reference = -1;
    qsizetype typed = -1;
    qsizetype referenceCount = 1;
    qsizetype typedCount = 1;
};

Step missingStep(qsizetype r)
{
    return {WordMark::Missing, r, -1, 1, 0};
}

Step extraStep(qsizetype t)
{
    return {WordMark::Extra, -1, t, 0, 1};
}

// The reference tokens [ref, ref + deleted) and the typed tokens [typed, typed + inserted)
// of one change, paired so that the errors weigh least (a misspelling half) and, among such
// pairings, each wrong or misspelt word is paired with the typed word spelt most like it. A
// change too large for that search is paired in order.
void pairChange(const Comparison &c, qsizetype ref, qsizetype deleted, qsizetype typed,
                qsizetype inserted, QList<Step> &steps)
{
    constexpr qsizetype searchLimit = 4096;
    if (deleted == 0 || inserted == 0 || deleted * inserted > searchLimit) {
        const qsizetype pairs = std::min(deleted, inserted);
        for (qsizetype k = 0; k < pairs; ++k)
            steps.append({c.pairMark(ref + k, typed + k), ref + k, typed + k});
        for (qsizetype k = pairs; k < deleted; ++k)
            steps.append(missingStep(ref + k));
        for (qsizetype k = pairs; k < inserted; ++k)
            steps.append(extraStep(typed + k));
        return;
    }
    // A word error outweighs any sum of unlikeness (at most 64 pairs of 1000 each), and so
    // does half of one.
    constexpr qint64 error = 2000000;
    const qsizetype columns = inserted + 1;
    std::vector<WordMark> marks(size_t(deleted * inserted));
    for (qsizetype i = 0; i < deleted; ++i)
        for (qsizetype j = 0; j < inserted; ++j)
            marks[size_t(i * inserted + j)] = c.pairMark(ref + i, typed + j);
    const auto pairCost = [&](qsizetype i, qsizetype j) -> qint64 {
        const WordMark mark = marks[size_t(i * inserted + j)];
        if (mark == WordMark::Correct)
            return 0;
        const qint64 weight = mark == WordMark::Spelling ? error / 2 : error;
        return weight +
               unlikeness(c.reference.tokens[ref + i].spelt, c.learner.tokens[typed + j].spelt);
    };
    const auto splitAt = [&](qsizetype i, qsizetype j) {
        return i > 0 && j > 1 && c.splits(ref + i - 1, typed + j - 2);
    };
    const auto joinAt = [&](qsizetype i, qsizetype j) {
        return i > 1 && j > 0 && c.joins(ref + i - 2, typed + j - 1);
    };
    std::vector<qint64> cost(size_t((deleted + 1) * columns));
    const auto at = [&](qsizetype i, qsizetype j) -> qint64 & {
        return cost[size_t(i * columns + j)];
    };
    for (qsizetype i = 0; i <= deleted; ++i) {
        for (qsizetype j = 0; j <= inserted; ++j) {
            if (i == 0 || j == 0) {
                at(i, j) = (i + j) * error;
                continue;
            }
            qint64 best = std::min({at(i - 1, j - 1) + pairCost(i - 1, j - 1), at(i - 1, j) + error,
                                    at(i, j - 1) + error});
            if (splitAt(i, j))
                best = std::min(best, at(i - 1, j - 2) + error);
            if (joinAt(i, j))
                best = std::min(best, at(i - 2, j - 1) + error);
            at(i, j) = best;
        }
    }
    QList<Step> reversed;
    qsizetype i = deleted;
    qsizetype j = inserted;
    while (i > 0 || j > 0) {
        if (i > 0 && j > 0 && at(i, j) == at(i - 1, j - 1) + pairCost(i - 1, j - 1)) {
            --i;
            --j;
            reversed.append({marks[size_t(i * inserted + j)], ref + i, typed + j});
        } else if (splitAt(i, j) && at(i, j) == at(i - 1, j - 2) + error) {
            i -= 1;
            j -= 2;
            reversed.append({WordMark::Spacing, ref + i, typed + j, 1, 2});
        } else if (joinAt(i, j) && at(i, j) == at(i - 2, j - 1) + error) {
            i -= 2;
            j -= 1;
            reversed.append({WordMark::Spacing, ref + i, typed + j, 2, 1});
        } else if (i > 0 && at(i, j) == at(i - 1, j) + error) {
            --i;
            reversed.append(missingStep(ref + i));
        } else {
            --j;
            reversed.append(extraStep(typed + j));
        }
    }
    std::reverse(reversed.begin(), reversed.end());
    steps.append(reversed);
}

// Each distinct key as one code unit (0 left unused); keys beyond the last code share it, and
// the walk over the result tells them apart.
void encode(const Words &words, QHash<QString, char16_t> &codes, QString &out)
{
    constexpr char16_t lastCode = 0xFFFF;
    out.reserve(words.tokens.size());
    for (const Token &token : words.tokens) {
        auto it = codes.constFind(token.key);
        if (it == codes.constEnd()) {
            const auto code = char16_t(std::min<qsizetype>(codes.size() + 1, lastCode));
            it = codes.insert(token.key, code);
        }
        out += QChar(*it);
    }
}

QList<Step> align(const Comparison &c)
{
    const Words &reference = c.reference;
    const Words &learner = c.learner;
    QHash<QString, char16_t> codes;
    QString codes1;
    QString codes2;
    encode(reference, codes, codes1);
    encode(learner, codes, codes2);
    const QList<DiffSegment> segments = DiffEngine().diff_main(codes1, codes2, false);

    QList<Step> steps;
    steps.reserve(std::max(codes1.size(), codes2.size()));
    qsizetype ref = 0;
    qsizetype typed = 0;
    qsizetype deleted = 0;
    qsizetype inserted = 0;
    const auto flush = [&] {
        pairChange(c, ref, deleted, typed, inserted, steps);
        ref += deleted;
        typed += inserted;
        deleted = inserted = 0;
    };
    for (const DiffSegment &segment : segments) {
        if (segment.operation == DiffOperation::Delete) {
            deleted += segment.text.size();
        } else if (segment.operation == DiffOperation::Insert) {
            inserted += segment.text.size();
        } else {
            flush();
            for (qsizetype k = 0; k < segment.text.size(); ++k, ++ref, ++typed)
                steps.append({c.pairMark(ref, typed), ref, typed});
        }
    }
    flush();
    return steps;
}

// The typed tokens [first, last) that match the whole reference best, where typed tokens
// before first and from last on cost nothing. Wrong and missing words cost a little more than
// the other errors, so a stretch takes a typed word in rather than leave a reference word
// without one, and takes a split word whole. Among stretches that match equally well the
// last wins: the learner checks what they have just typed.
std::pair<qsizetype, qsizetype> bestStretch(const Comparison &c)
{
    constexpr int misspelt = 2;
    constexpr int otherError = 4;
    constexpr int wrong = 5;
    constexpr int missing = 6;
    struct Cell
    {
        qint64 cost = 0;
        qsizetype first = 0; // where the stretch ending here begins
    };
    const qsizetype n = c.reference.tokens.size();
    const qsizetype m = c.learner.tokens.size();
    // rows i - 2, i - 1 and i of the alignment of the first i reference tokens
    std::vector<Cell> older(size_t(m + 1));
    std::vector<Cell> previous(size_t(m + 1));
    std::vector<Cell> row(size_t(m + 1));
    for (qsizetype j = 0; j <= m; ++j)
        row[size_t(j)] = {0, j};
    for (qsizetype i = 1; i <= n; ++i) {
        std::swap(older, previous);
        std::swap(previous, row);
        row[0] = {previous[0].cost + missing, 0};
        for (qsizetype j = 1; j <= m; ++j) {
            const WordMark mark = c.pairMark(i - 1, j - 1);
            const int pairCost = mark == WordMark::Correct    ? 0
                                 : mark == WordMark::Spelling ? misspelt
                                                              : wrong;
            Cell best{previous[size_t(j - 1)].cost + pairCost, previous[size_t(j - 1)].first};
            const auto consider = [&best](const Cell &from, int cost) {
                if (from.cost + cost < best.cost)
                    best = {from.cost + cost, from.first};
            };
            if (j > 1 && c.splits(i - 1, j - 2))
                consider(previous[size_t(j - 2)], otherError);
            if (i > 1 && c.joins(i - 2, j - 1))
                consider(older[size_t(j - 1)], otherError);
            consider(previous[size_t(j)], missing);
            consider(row[size_t(j - 1)], otherError);
            row[size_t(j)] = best;
        }
    }
    qsizetype last = 0;
    for (qsizetype j = 1; j <= m; ++j)
        if (row[size_t(j)].cost <= row[size_t(last)].cost)
            last = j;
    return {row[size_t(last)].first, last};
}

QString lookupForm(const QString &word)
{
    QString lower = word.toLower();
    for (QChar &c : lower) {
        if (isApostrophe(c.unicode()))
            c = u'\'';
    }
    return lower;
}

} // namespace

double WordCheck::accuracy() const
{
    if (referenceWords == 0)
        return errors() == 0 ? 1.0 : 0.0;
    return std::max(0.0, 1.0 - double(errors()) / double(referenceWords));
}

double WordCheck::letterAccuracy() const
{
    if (referenceLetters == 0)
        return letterErrors == 0 ? 1.0 : 0.0;
    return std::max(0.0, 1.0 - double(letterErrors) / double(referenceLetters));
}

WordCheck checkWords(const QString &reference, const QString &learner,
                     const SoundsAlike &soundsAlike)
{
    const Words ref = tokenize(reference);
    const Words typed = tokenize(learner);
    const QList<Step> steps = align(Comparison{ref, typed, soundsAlike});

    WordCheck check;
    check.referenceWords = ref.tokens.size();
    check.words.reserve(steps.size());
    const auto refLetters = [&](qsizetype token) { return ref.tokens[token].spelt.size(); };
    for (qsizetype s = 0; s < steps.size(); ++s) {
        const Step &step = steps[s];
        if (step.mark == WordMark::Extra) {
            ++check.insertions;
            check.letterErrors += typed.tokens[step.typed].spelt.size();
            check.words.append({step.mark, QString(), typed.shown(step.typed), QString()});
            continue;
        }
        if (step.mark == WordMark::Spacing) {
            ++check.spacing;
            ++check.letterErrors;
            QStringList refWords;
            for (qsizetype k = step.reference; k < step.reference + step.referenceCount; ++k) {
                refWords.append(ref.shown(k));
                check.referenceLetters += refLetters(k);
            }
            QStringList typedWords;
            for (qsizetype k = step.typed; k < step.typed + step.typedCount; ++k)
                typedWords.append(typed.shown(k));
            const QString shown = refWords.join(QLatin1Char(' '));
            check.words.append(
                {step.mark, shown, typedWords.join(QLatin1Char(' ')), lookupForm(shown)});
            continue;
        }
        // A contraction whose every word was typed shows as written, with the typed words
        // that stood for it.
        const Unit &unit = ref.units[ref.tokens[step.reference].unit];
        const qsizetype count = unit.tokenCount;
        if (count > 1 && step.reference == unit.firstToken && s + count <= steps.size() &&
            std::all_of(steps.begin() + s, steps.begin() + s + count, [&](const Step &t) {
                return t.mark == WordMark::Correct && t.reference - step.reference == &t - &step;
            })) {
            QStringList typedWords;
            qsizetype lastUnit = -1;
            for (qsizetype k = s; k < s + count; ++k) {
                const qsizetype typedUnit = typed.tokens[steps[k].typed].unit;
                if (typedUnit != lastUnit)
                    typedWords.append(typed.surface(typed.units[typedUnit]));
                lastUnit = typedUnit;
                check.referenceLetters += refLetters(steps[k].reference);
            }
            const QString written = ref.surface(unit);
            check.words.append({WordMark::Correct, written, typedWords.join(QLatin1Char(' ')),
                                lookupForm(written)});
            check.correct += count;
            s += count - 1;
            continue;
        }
        check.referenceLetters += refLetters(step.reference);
        if (step.mark == WordMark::Correct) {
            ++check.correct;
        } else if (step.mark == WordMark::Missing) {
            ++check.deletions;
            check.letterErrors += refLetters(step.reference);
        } else {
            ++(step.mark == WordMark::Spelling ? check.misspellings : check.substitutions);
            check.letterErrors +=
                editDistance(ref.tokens[step.reference].spelt, typed.tokens[step.typed].spelt);
        }
        const QString shown = ref.shown(step.reference);
        check.words.append({step.mark, shown, step.typed >= 0 ? typed.shown(step.typed) : QString(),
                            lookupForm(shown)});
    }
    return check;
}

WordCheck checkBestStretch(const QString &reference, const QString &text,
                           const SoundsAlike &soundsAlike)
{
    const Words ref = tokenize(reference);
    const Words typed = tokenize(text);
    const auto [first, last] = bestStretch(Comparison{ref, typed, soundsAlike});
    if (first == last)
        return checkWords(reference, QString(), soundsAlike);
    // whole units, so that a number or a contraction reads as it did in the text
    const qsizetype start = typed.units[typed.tokens[first].unit].start;
    const qsizetype end = typed.units[typed.tokens[last - 1].unit].end;
    return checkWords(reference, text.mid(start, end - start), soundsAlike);
}

QString partAroundCursor(const QString &text, qsizetype position, const QString &reference)
{
    const qsizetype size = splitWords(reference).size();
    const QList<RawWord> words = splitWords(text);
    const qsizetype after =
        std::find_if(words.begin(), words.end(),
                     [position](const RawWord &word) { return word.start >= position; }) -
        words.begin();
    const qsizetype first = std::max<qsizetype>(0, after - 2 * size);
    const qsizetype last = std::min(words.size(), after + size);
    if (first >= last)
        return QString();
    return text.mid(words[first].start, words[last - 1].end - words[first].start);
}

QString renderWordCheckHtml(const WordCheck &check)
{
    const QLatin1String red("#FF0000");
    const QLatin1String blue("#0000FF");
    const QLatin1String misspelt(misspellingColor);
    const auto struck = [](const QString &word, QLatin1String color) {
        return QLatin1String("<b style=\"text-decoration: line-through;\"><font color=\"") + color +
               QLatin1String("\">") + escapeForHtml(word) + QLatin1String("</font></b>");
    };
    const auto link = [](const CheckedWord &word, QLatin1String color) {
        return QLatin1String("<a href=\"lookup:") +
               QString::fromLatin1(QUrl::toPercentEncoding(word.lookup)) +
               QLatin1String("\"><b style=\"text-decoration: underline;\"><font color=\"") + color +
               QLatin1String("\">") + escapeForHtml(word.reference) +
               QLatin1String("</font></b></a>");
    };
    QString html;
    for (const CheckedWord &word : check.words) {
        if (!html.isEmpty())
            html += QLatin1Char(' ');
        switch (word.mark) {
        case WordMark::Correct:
            html += escapeForHtml(word.reference);
            break;
        case WordMark::Missing:
            html += link(word, blue);
            break;
        case WordMark::Wrong:
        case WordMark::Spacing:
            html += struck(word.typed, red) + QLatin1Char(' ') + link(word, blue);
            break;
        case WordMark::Spelling:
            html += struck(word.typed, misspelt) + QLatin1Char(' ') + link(word, misspelt);
            break;
        case WordMark::Extra:
            html += struck(word.typed, red);
            break;
        }
    }
    return html;
}

QString lookupOfLink(const QUrl &link)
{
    return link.scheme() == QLatin1String("lookup") ? link.path(QUrl::FullyDecoded) : QString();
}
