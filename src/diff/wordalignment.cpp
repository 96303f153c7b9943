#include "diff/wordalignment.h"

#include "diff/diffengine.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace wordcheck {

namespace {

// Edit distance per mille of the longer word: which typed word a reference word is most
// likely to have become.
qint64 unlikeness(const QString &a, const QString &b)
{
    const qsizetype longer = std::max(a.size(), b.size());
    return longer == 0 ? 0 : qint64(editDistance(a, b)) * 1000 / longer;
}

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
// change too large for that search is paired in order, or left as missing and extra words
// when largeInOrder is false.
void pairChange(const WordComparison &c, qsizetype ref, qsizetype deleted, qsizetype typed,
                qsizetype inserted, bool largeInOrder, QList<Step> &steps)
{
    constexpr qsizetype searchLimit = 4096;
    const bool large = deleted * inserted > searchLimit;
    if (deleted == 0 || inserted == 0 || large) {
        const qsizetype pairs = large && !largeInOrder ? 0 : std::min(deleted, inserted);
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

// align() and alignTranscript(): the transcript's alignment has no time limit, drops short
// equalities and leaves large changes unpaired. equalSteps, when given, tells for each step
// whether it lies in a run of equal words.
QList<Step> alignWith(const WordComparison &c, bool transcript, std::vector<bool> *equalSteps)
{
    const Words &reference = c.reference;
    const Words &learner = c.learner;
    QHash<QString, char16_t> codes;
    QString codes1;
    QString codes2;
    encode(reference, codes, codes1);
    encode(learner, codes, codes2);
    DiffEngine engine;
    if (transcript)
        engine.timeoutSeconds = 0;
    QList<DiffSegment> segments = engine.diff_main(codes1, codes2, false);
    if (transcript)
        DiffEngine::semanticCleanup(segments);

    QList<Step> steps;
    steps.reserve(std::max(codes1.size(), codes2.size()));
    qsizetype ref = 0;
    qsizetype typed = 0;
    qsizetype deleted = 0;
    qsizetype inserted = 0;
    const auto flush = [&] {
        pairChange(c, ref, deleted, typed, inserted, !transcript, steps);
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
            if (equalSteps)
                equalSteps->resize(size_t(steps.size()), false);
            for (qsizetype k = 0; k < segment.text.size(); ++k, ++ref, ++typed)
                steps.append({c.pairMark(ref, typed), ref, typed});
            if (equalSteps)
                equalSteps->resize(size_t(steps.size()), true);
        }
    }
    flush();
    if (equalSteps)
        equalSteps->resize(size_t(steps.size()), false);
    return steps;
}

double stepErrors(const Step &step)
{
    switch (step.mark) {
    case WordMark::Correct:
        return 0;
    case WordMark::Spelling:
        return 0.5;
    default:
        return 1;
    }
}

} // namespace

QList<Step> align(const WordComparison &c)
{
    return alignWith(c, false, nullptr);
}

QList<Step> alignTranscript(const WordComparison &c, const QList<qsizetype> &sentenceOf)
{
    std::vector<bool> equal;
    const QList<Step> steps = alignWith(c, true, &equal);
    const qsizetype sentences = sentenceOf.isEmpty() ? 0 : sentenceOf.back() + 1;
    // per sentence: whether a run of equal words reaches it, its errors and the typed words
    // paired with it
    std::vector<bool> anchored(size_t(sentences), false);
    std::vector<double> errors(size_t(sentences), 0);
    std::vector<qsizetype> paired(size_t(sentences), 0);
    for (qsizetype s = 0; s < steps.size(); ++s) {
        const Step &step = steps[s];
        if (step.reference < 0)
            continue;
        const auto sentence = size_t(sentenceOf[step.reference]);
        anchored[sentence] = anchored[sentence] || equal[size_t(s)];
        errors[sentence] += stepErrors(step);
        if (step.typed >= 0)
            paired[sentence] += step.typedCount;
    }
    const auto unpaired = [&](qsizetype r) {
        const auto sentence = size_t(sentenceOf[r]);
        return !anchored[sentence] && errors[sentence] >= double(paired[sentence]);
    };
    QList<Step> result;
    result.reserve(steps.size());
    for (const Step &step : steps) {
        if (step.reference < 0 || step.typed < 0 || !unpaired(step.reference)) {
            result.append(step);
            continue;
        }
        for (qsizetype r = step.reference; r < step.reference + step.referenceCount; ++r)
            result.append(missingStep(r));
        for (qsizetype t = step.typed; t < step.typed + step.typedCount; ++t)
            result.append(extraStep(t));
    }
    return result;
}

} // namespace wordcheck
