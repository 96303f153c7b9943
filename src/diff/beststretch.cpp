#include "diff/beststretch.h"

#include <vector>

namespace wordcheck {

std::pair<qsizetype, qsizetype> bestStretch(const WordComparison &c)
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

} // namespace wordcheck
