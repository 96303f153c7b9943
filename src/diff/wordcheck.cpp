#include "diff/wordcheck.h"

#include "diff/beststretch.h"
#include "diff/wordalignment.h"
#include "diff/wordcomparison.h"
#include "diff/wordsplit.h"
#include "diff/wordtokens.h"

#include "text/words.h"

#include <algorithm>

using wordcheck::align;
using wordcheck::bestStretch;
using wordcheck::editDistance;
using wordcheck::RawWord;
using wordcheck::splitWords;
using wordcheck::Step;
using wordcheck::tokenize;
using wordcheck::Unit;
using wordcheck::WordComparison;
using wordcheck::Words;

namespace {

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

QStringList WordCheck::missedWords() const
{
    QStringList missed;
    for (const CheckedWord &w : words) {
        const bool miss = w.mark == WordMark::Missing || w.mark == WordMark::Wrong ||
                          w.mark == WordMark::Spelling;
        if (miss && !missed.contains(w.reference, Qt::CaseInsensitive))
            missed.append(w.reference);
    }
    return missed;
}

WordCheck checkWords(const QString &reference, const QString &learner,
                     const SoundsAlike &soundsAlike)
{
    const Words ref = tokenize(reference);
    const Words typed = tokenize(learner);
    const QList<Step> steps = align(WordComparison{ref, typed, soundsAlike});

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
    const auto [first, last] = bestStretch(WordComparison{ref, typed, soundsAlike});
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
