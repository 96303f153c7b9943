#include "diff/numberwords.h"

#include <QHash>

#include <limits>

namespace wordcheck {

namespace {

QString numberKey(qint64 value, bool ordinal)
{
    return QLatin1Char('#') + QString::number(value) +
           (ordinal ? QLatin1String("th") : QLatin1String());
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

} // namespace

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

} // namespace wordcheck
