#include "diff/wordtokens.h"

#include "diff/numberwords.h"
#include "diff/wordsplit.h"

#include <QSet>

#include <optional>

namespace wordcheck {

namespace {

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

} // namespace

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

} // namespace wordcheck
