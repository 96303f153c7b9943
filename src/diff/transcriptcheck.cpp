#include "diff/transcriptcheck.h"

#include "diff/wordalignment.h"
#include "diff/wordcomparison.h"
#include "diff/wordtokens.h"

#include <algorithm>
#include <vector>

using wordcheck::alignTranscript;
using wordcheck::Step;
using wordcheck::tokenize;
using wordcheck::Unit;
using wordcheck::WordComparison;
using wordcheck::Words;

QList<SentenceCheck> checkTranscript(const QString &text, const QStringList &sentences,
                                     const SoundsAlike &soundsAlike)
{
    // Each sentence is read on its own, so that a number or a contraction never runs on into
    // the next one; the tokens are then joined as one reference.
    Words reference;
    QList<qsizetype> sentenceOf;
    for (qsizetype s = 0; s < sentences.size(); ++s) {
        const Words words = tokenize(sentences[s]);
        const qsizetype textOffset = reference.text.size();
        const qsizetype tokenOffset = reference.tokens.size();
        const qsizetype unitOffset = reference.units.size();
        reference.text += sentences[s] + QLatin1Char('\n');
        for (wordcheck::Token token : words.tokens) {
            token.unit += unitOffset;
            reference.tokens.append(std::move(token));
            sentenceOf.append(s);
        }
        for (Unit unit : words.units) {
            unit.start += textOffset;
            unit.end += textOffset;
            unit.firstToken += tokenOffset;
            reference.units.append(unit);
        }
    }
    const Words typed = tokenize(text);
    const QList<Step> steps =
        alignTranscript(WordComparison{reference, typed, soundsAlike}, sentenceOf);

    // the first and last typed token paired with each sentence's words
    struct Span
    {
        qsizetype first = -1;
        qsizetype last = -1;
        bool matched = false;
    };
    std::vector<Span> spans(size_t(sentences.size()));
    for (const Step &step : steps) {
        if (step.reference < 0 || step.typed < 0)
            continue;
        Span &span = spans[size_t(sentenceOf[step.reference])];
        if (span.first < 0)
            span.first = step.typed;
        span.last = step.typed + step.typedCount - 1;
        span.matched = span.matched || step.mark != WordMark::Wrong;
    }

    QList<SentenceCheck> result;
    result.reserve(sentences.size());
    for (qsizetype s = 0; s < sentences.size(); ++s) {
        const Span &span = spans[size_t(s)];
        if (!span.matched) {
            result.append(SentenceCheck{});
            continue;
        }
        const qsizetype from = typed.units[typed.tokens[span.first].unit].start;
        const qsizetype to = typed.units[typed.tokens[span.last].unit].end;
        result.append(
            SentenceCheck{true, from, to,
                          checkBestStretch(sentences[s], text.mid(from, to - from), soundsAlike)});
    }
    return result;
}
