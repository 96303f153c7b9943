#include "text/spokenwords.h"

#include <QHash>
#include <QStringList>

namespace {

const char *const smallNumbers[] = {"zero",    "one",     "two",       "three",    "four",
                                    "five",    "six",     "seven",     "eight",    "nine",
                                    "ten",     "eleven",  "twelve",    "thirteen", "fourteen",
                                    "fifteen", "sixteen", "seventeen", "eighteen", "nineteen"};
const char *const tens[] = {"",      "",      "twenty",  "thirty", "forty",
                            "fifty", "sixty", "seventy", "eighty", "ninety"};

bool isDigit(QStringView text, qsizetype i)
{
    return i >= 0 && i < text.size() && text[i] >= u'0' && text[i] <= u'9';
}

quint64 valueOf(QStringView digits)
{
    quint64 n = 0;
    for (QChar c : digits) {
        if (c != u',')
            n = n * 10 + (c.unicode() - u'0');
    }
    return n;
}

void appendBelowThousand(QStringList &out, quint64 n)
{
    if (n >= 100) {
        out.append(QLatin1String(smallNumbers[n / 100]));
        out.append(QStringLiteral("hundred"));
        n %= 100;
        if (n == 0)
            return;
    }
    if (n < 20) {
        out.append(QLatin1String(smallNumbers[n]));
        return;
    }
    out.append(QLatin1String(tens[n / 10]));
    if (n % 10 != 0)
        out.append(QLatin1String(smallNumbers[n % 10]));
}

// n below a thousand trillion.
void appendCardinal(QStringList &out, quint64 n)
{
    if (n == 0) {
        out.append(QStringLiteral("zero"));
        return;
    }
    static const struct
    {
        quint64 value;
        const char *name;
    } scales[] = {{1'000'000'000'000, "trillion"},
                  {1'000'000'000, "billion"},
                  {1'000'000, "million"},
                  {1'000, "thousand"}};
    for (const auto &scale : scales) {
        if (n >= scale.value) {
            appendBelowThousand(out, n / scale.value);
            out.append(QLatin1String(scale.name));
            n %= scale.value;
        }
    }
    if (n != 0)
        appendBelowThousand(out, n);
}

void appendDigits(QStringList &out, QStringView digits)
{
    for (QChar c : digits) {
        if (c != u',')
            out.append(QLatin1String(smallNumbers[c.unicode() - u'0']));
    }
}

// A whole number as it is said: digit by digit when it starts with a zero or is too long
// to be said otherwise.
void appendWhole(QStringList &out, QStringView digits)
{
    if ((digits.size() > 1 && digits[0] == u'0') || digits.size() > 15)
        appendDigits(out, digits);
    else
        appendCardinal(out, valueOf(digits));
}

// "nineteen ninety nine", "nineteen oh five", "nineteen hundred", "two thousand five".
void appendYear(QStringList &out, quint64 year)
{
    if (year >= 2000 && year < 2010) {
        appendCardinal(out, year);
        return;
    }
    appendBelowThousand(out, year / 100);
    if (year % 100 == 0) {
        out.append(QStringLiteral("hundred"));
    } else {
        if (year % 100 < 10)
            out.append(QStringLiteral("oh"));
        appendBelowThousand(out, year % 100);
    }
}

void makeLastOrdinal(QStringList &out)
{
    QString &w = out.last();
    static const QHash<QString, QString> irregular{
        {QStringLiteral("one"), QStringLiteral("first")},
        {QStringLiteral("two"), QStringLiteral("second")},
        {QStringLiteral("three"), QStringLiteral("third")},
        {QStringLiteral("five"), QStringLiteral("fifth")},
        {QStringLiteral("eight"), QStringLiteral("eighth")},
        {QStringLiteral("nine"), QStringLiteral("ninth")},
        {QStringLiteral("twelve"), QStringLiteral("twelfth")}};
    if (const auto it = irregular.find(w); it != irregular.end())
        w = *it;
    else if (w.endsWith(u'y'))
        w = w.chopped(1) + QStringLiteral("ieth");
    else
        w += QStringLiteral("th");
}

void makeLastPlural(QStringList &out)
{
    QString &w = out.last();
    if (w.endsWith(u'y'))
        w = w.chopped(1) + QStringLiteral("ies");
    else if (w.endsWith(u'x'))
        w += QStringLiteral("es");
    else
        w += u's';
}

// Whether "am", "pm", "a.m." or "p.m." follows position i, after any spaces.
bool isFollowedByAmPm(QStringView text, qsizetype i)
{
    while (i < text.size() && text[i].isSpace())
        ++i;
    const QStringView rest = text.sliced(i);
    for (const QStringView ampm : {u"a.m.", u"p.m.", u"am", u"pm"}) {
        if (rest.startsWith(ampm, Qt::CaseInsensitive) &&
            (rest.size() == ampm.size() || !rest[ampm.size()].isLetterOrNumber()))
            return true;
    }
    return false;
}

struct Currency
{
    QChar sign;
    const char *one;
    const char *many;
    const char *minorOne;
    const char *minorMany;
};

const Currency currencies[] = {{u'$', "dollar", "dollars", "cent", "cents"},
                               {u'\u00A3', "pound", "pounds", "penny", "pence"},
                               {u'\u20AC', "euro", "euros", "cent", "cents"}};

const Currency *currencyBefore(QStringView text, qsizetype i)
{
    if (i == 0)
        return nullptr;
    for (const Currency &c : currencies) {
        if (text[i - 1] == c.sign)
            return &c;
    }
    return nullptr;
}

// A number written in digits from start: the words it is said in and where it ends.
struct Reading
{
    QStringList words;
    qsizetype start = 0;
    qsizetype end = 0;
};

Reading readNumber(QStringView text, qsizetype start)
{
    Reading r;
    r.start = start;
    qsizetype i = start;
    while (isDigit(text, i))
        ++i;
    // thousands grouped by commas: "5,000", not "12,34"
    if (i - start <= 3) {
        while (i + 3 < text.size() && text[i] == u',' && isDigit(text, i + 1) &&
               isDigit(text, i + 2) && isDigit(text, i + 3) && !isDigit(text, i + 4))
            i += 4;
    }
    const QStringView whole = text.sliced(start, i - start);
    const bool grouped = whole.contains(u',');
    qsizetype fractionEnd = i;
    if (i + 1 < text.size() && (text[i] == u'.' || text[i] == u':') && isDigit(text, i + 1)) {
        fractionEnd = i + 1;
        while (isDigit(text, fractionEnd))
            ++fractionEnd;
    }
    const QStringView fraction =
        text.sliced(i, fractionEnd - i).sliced(qMin<qsizetype>(1, fractionEnd - i));
    const bool clock = !grouped && whole.size() <= 2 && valueOf(whole) <= 24 &&
                       fraction.size() == 2 && valueOf(fraction) <= 59;
    const bool afterAmPm = isFollowedByAmPm(text, fractionEnd);
    const Currency *const currency = currencyBefore(text, start);
    if (currency)
        r.start = start - 1;

    if (!fraction.isEmpty() && text[i] == u':' && !clock) {
        appendWhole(r.words, whole);
        r.end = i;
        return r;
    }
    r.end = fractionEnd;
    if (currency) {
        const quint64 major = whole.size() > 15 ? 0 : valueOf(whole);
        if (!fraction.isEmpty() && (text[i] == u':' || fraction.size() != 2)) {
            appendWhole(r.words, whole);
            r.words.append(QStringLiteral("point"));
            appendDigits(r.words, fraction);
            r.words.append(QLatin1String(currency->many));
            return r;
        }
        const quint64 minor = valueOf(fraction);
        if (major != 0 || minor == 0) {
            appendWhole(r.words, whole);
            r.words.append(QLatin1String(major == 1 ? currency->one : currency->many));
        }
        if (minor != 0) {
            appendCardinal(r.words, minor);
            if (major == 0)
                r.words.append(
                    QLatin1String(minor == 1 ? currency->minorOne : currency->minorMany));
        }
        return r;
    }
    if (!fraction.isEmpty()) {
        const quint64 minutes = clock ? valueOf(fraction) : 0;
        if (clock && (text[i] == u':' || minutes % 15 == 0 || afterAmPm)) {
            appendCardinal(r.words, valueOf(whole));
            if (minutes == 0 && !afterAmPm) {
                r.words.append(QStringLiteral("o'clock"));
            } else if (minutes != 0) {
                if (minutes < 10)
                    r.words.append(QStringLiteral("oh"));
                appendCardinal(r.words, minutes);
            }
        } else {
            appendWhole(r.words, whole);
            r.words.append(QStringLiteral("point"));
            appendDigits(r.words, fraction);
        }
        if (r.end < text.size() && text[r.end] == u'%') {
            r.words.append(QStringLiteral("percent"));
            ++r.end;
        }
        return r;
    }

    // A whole number, perhaps with a percent sign or the ending of an ordinal or a plural.
    qsizetype suffixEnd = i;
    while (
        suffixEnd < text.size() &&
        (text[suffixEnd].isLetter() || text[suffixEnd] == u'\'' || text[suffixEnd] == u'\u2019') &&
        suffixEnd - i < 3)
        ++suffixEnd;
    const bool suffixAlone = suffixEnd == text.size() || !text[suffixEnd].isLetterOrNumber();
    const QString suffix =
        text.sliced(i, suffixEnd - i).toString().toLower().replace(u'\u2019', u'\'');
    const bool ordinal =
        suffixAlone && (suffix == u"st" || suffix == u"nd" || suffix == u"rd" || suffix == u"th");
    const bool plural = suffixAlone && (suffix == u"s" || suffix == u"'s");
    const quint64 value = whole.size() > 15 ? 0 : valueOf(whole);
    if (!grouped && !ordinal && whole.size() == 4 && whole[0] != u'0' && value >= 1100 &&
        value < 2100)
        appendYear(r.words, value);
    else
        appendWhole(r.words, whole);
    if (ordinal || plural) {
        if (ordinal)
            makeLastOrdinal(r.words);
        else
            makeLastPlural(r.words);
        r.end = suffixEnd;
    } else if (i < text.size() && text[i] == u'%') {
        r.words.append(QStringLiteral("percent"));
        r.end = i + 1;
    }
    return r;
}

// A stretch of a word without ASCII digits, as the recogniser's word: letters in lower
// case and inner apostrophes; nothing when no letter is left.
QString letterWord(QStringView text)
{
    const QString folded = text.toString().normalized(QString::NormalizationForm_C).toLower();
    QString word;
    word.reserve(folded.size());
    for (const char32_t c : folded.toUcs4()) {
        if (isApostrophe(c))
            word.append(u'\'');
        else if (QChar::isLetter(c))
            word.append(QChar::fromUcs4(c));
    }
    while (word.startsWith(u'\''))
        word.remove(0, 1);
    while (word.endsWith(u'\''))
        word.chop(1);
    return word;
}

// Titles and Latin abbreviations as they are said.
const QHash<QString, QStringList> &abbreviations()
{
    static const QHash<QString, QStringList> said{
        {QStringLiteral("mr"), {QStringLiteral("mister")}},
        {QStringLiteral("mrs"), {QStringLiteral("missus")}},
        {QStringLiteral("dr"), {QStringLiteral("doctor")}},
        {QStringLiteral("prof"), {QStringLiteral("professor")}},
        {QStringLiteral("vs"), {QStringLiteral("versus")}},
        {QStringLiteral("etc"), {QStringLiteral("et"), QStringLiteral("cetera")}}};
    return said;
}

} // namespace

QList<SpokenWord> spokenWords(QStringView text)
{
    QList<SpokenWord> out;
    const auto inWord = [&](qsizetype i) {
        return i < text.size() && isWordCharacter(text, i, Hyphens::Split);
    };
    qsizetype from = 0;
    for (WordSpan w = wordFrom(text, 0, Hyphens::Split); w.isValid();
         w = wordFrom(text, from, Hyphens::Split)) {
        qsizetype end = w.end();
        qsizetype i = w.start;
        while (i < end) {
            if (isDigit(text, i)) {
                const Reading r = readNumber(text, i);
                for (const QString &word : r.words)
                    out.append({word, {r.start, r.end - r.start}});
                i = r.end;
                end = qMax(end, i);
                while (inWord(end))
                    ++end;
                continue;
            }
            qsizetype j = i;
            while (j < end && !isDigit(text, j))
                ++j;
            const QString word = letterWord(text.sliced(i, j - i));
            const auto said =
                i == w.start && j == end ? abbreviations().constFind(word) : abbreviations().cend();
            if (said != abbreviations().cend()) {
                for (const QString &part : *said)
                    out.append({part, {i, j - i}});
            } else if (!word.isEmpty()) {
                out.append({word, {i, j - i}});
            }
            i = j;
        }
        from = end;
    }
    return out;
}
