// The tidying passes of DiffEngine: merging runs of edits, turning equalities too short to
// help the reader into edits, sliding edits to word and line boundaries, and showing the
// overlap of a deletion and an insertion as kept text.
#include "diff/diffengine.h"

#include <QRegularExpression>

#include <algorithm>
#include <iterator>
#include <list>
#include <optional>
#include <vector>

namespace {

constexpr auto Delete = DiffOperation::Delete;
constexpr auto Insert = DiffOperation::Insert;
constexpr auto Equal = DiffOperation::Equal;

const char NoPrecedingEquality[] = "Previous diff should have been an equality.";

// The tidying passes insert and remove segments in the middle of long lists; on a linked
// list each such step costs the same however long the comparison is.
using SegmentList = std::list<DiffSegment>;

SegmentList toList(QList<DiffSegment> &segments)
{
    return SegmentList(std::make_move_iterator(segments.begin()),
                       std::make_move_iterator(segments.end()));
}

QList<DiffSegment> toQList(SegmentList &list)
{
    QList<DiffSegment> segments;
    segments.reserve(qsizetype(list.size()));
    std::move(list.begin(), list.end(), std::back_inserter(segments));
    return segments;
}

// Joins each run of edits into at most one deletion and one insertion, moves the text
// they share at either end into the equalities around them and joins adjacent
// equalities; returns whether sliding an edit changed anything.
bool mergeRuns(SegmentList &list)
{
    list.push_back({Equal, QString()});
    qsizetype deleteCount = 0;
    qsizetype insertCount = 0;
    QString deleted;
    QString inserted;
    auto runStart = list.end();
    auto it = list.begin();
    while (it != list.end()) {
        if (it->operation != Equal) {
            if (deleteCount + insertCount == 0)
                runStart = it;
            ++(it->operation == Insert ? insertCount : deleteCount);
            (it->operation == Insert ? inserted : deleted) += it->text;
            ++it;
            continue;
        }
        if (deleteCount + insertCount > 1) {
            list.erase(runStart, it);
            if (deleteCount != 0 && insertCount != 0) {
                qsizetype n = DiffEngine::commonPrefixLength(inserted, deleted);
                if (n != 0) {
                    if (it != list.begin()) {
                        DiffSegment &before = *std::prev(it);
                        if (before.operation != Equal)
                            throw DiffError(NoPrecedingEquality);
                        before.text += inserted.left(n);
                    } else {
                        list.push_front({Equal, inserted.left(n)});
                    }
                    inserted.remove(0, n);
                    deleted.remove(0, n);
                }
                n = DiffEngine::commonSuffixLength(inserted, deleted);
                if (n != 0) {
                    it->text.prepend(inserted.right(n));
                    inserted.chop(n);
                    deleted.chop(n);
                }
            }
            if (!deleted.isEmpty())
                list.insert(it, {Delete, deleted});
            if (!inserted.isEmpty())
                list.insert(it, {Insert, inserted});
            ++it;
        } else if (it != list.begin() && std::prev(it)->operation == Equal) {
            std::prev(it)->text += it->text;
            it = list.erase(it);
        } else {
            ++it;
        }
        deleteCount = insertCount = 0;
        deleted.clear();
        inserted.clear();
    }
    if (list.back().text.isEmpty())
        list.pop_back();

    // An edit between two equalities may slide onto one of them, which then joins the
    // other and leaves fewer, longer segments.
    bool slid = false;
    if (list.size() < 3)
        return false;
    for (auto edit = std::next(list.begin()); std::next(edit) != list.end();) {
        const auto before = std::prev(edit);
        const auto after = std::next(edit);
        qsizetype step = 1;
        if (before->operation == Equal && after->operation == Equal) {
            QString &text = edit->text;
            if (text.endsWith(before->text)) {
                text = before->text + text.left(text.size() - before->text.size());
                after->text = before->text + after->text;
                list.erase(before);
                // The joined equality is the next edit's left neighbour, not an edit.
                step = 2;
                slid = true;
            } else if (text.startsWith(after->text)) {
                before->text += after->text;
                text = text.mid(after->text.size()) + after->text;
                list.erase(after);
                slid = true;
            }
        }
        for (; step > 0; --step) {
            if (std::next(edit) == list.end())
                return slid;
            ++edit;
        }
    }
    return slid;
}

// Moves each edit between two equalities sideways to where it best fits word and line
// boundaries.
void alignToBoundaries(SegmentList &list)
{
    if (list.size() < 3)
        return;
    for (auto edit = std::next(list.begin()); edit != list.end() && std::next(edit) != list.end();
         ++edit) {
        const auto before = std::prev(edit);
        const auto after = std::next(edit);
        if (before->operation != Equal || after->operation != Equal)
            continue;
        QString equality1 = before->text;
        QString text = edit->text;
        QString equality2 = after->text;

        const qsizetype c = DiffEngine::commonSuffixLength(equality1, text);
        if (c > 0) {
            const QString common = text.right(c);
            equality1.chop(c);
            text = common + text.left(text.size() - c);
            equality2.prepend(common);
        }

        QString bestEquality1 = equality1;
        QString bestEdit = text;
        QString bestEquality2 = equality2;
        int bestScore =
            DiffEngine::boundaryScore(equality1, text) + DiffEngine::boundaryScore(text, equality2);
        while (!text.isEmpty() && !equality2.isEmpty() && text.front() == equality2.front()) {
            equality1 += text.front();
            text.remove(0, 1);
            text += equality2.front();
            equality2.remove(0, 1);
            const int score = DiffEngine::boundaryScore(equality1, text) +
                              DiffEngine::boundaryScore(text, equality2);
            if (score >= bestScore) {
                bestScore = score;
                bestEquality1 = equality1;
                bestEdit = text;
                bestEquality2 = equality2;
            }
        }

        if (before->text != bestEquality1) {
            if (bestEquality1.isEmpty())
                list.erase(before);
            else
                before->text = bestEquality1;
            edit->text = bestEdit;
            if (bestEquality2.isEmpty())
                list.erase(after);
            else
                after->text = bestEquality2;
        }
    }
}

} // namespace

qsizetype DiffEngine::commonOverlapLength(QStringView text1, QStringView text2)
{
    if (text1.isEmpty() || text2.isEmpty())
        return 0;
    if (text1.size() > text2.size())
        text1 = text1.right(text2.size());
    else if (text2.size() > text1.size())
        text2 = text2.left(text1.size());
    const qsizetype length = text1.size();
    if (text1 == text2)
        return length;

    qsizetype best = 0;
    qsizetype n = 1;
    for (;;) {
        const QStringView pattern = text1.right(n);
        const qsizetype found = text2.indexOf(pattern);
        if (found < 0)
            return best;
        n += found;
        if (found == 0 || text1.right(n) == text2.left(n)) {
            best = n;
            ++n;
        }
    }
}

void DiffEngine::mergeSegments(QList<DiffSegment> &segments)
{
    SegmentList list = toList(segments);
    while (mergeRuns(list)) {
    }
    segments = toQList(list);
}

void DiffEngine::semanticCleanup(QList<DiffSegment> &segments)
{
    SegmentList list = toList(segments);
    bool changed = false;
    std::vector<SegmentList::iterator> equalities;
    std::optional<QString> lastEquality;
    qsizetype insertedBefore = 0;
    qsizetype deletedBefore = 0;
    qsizetype insertedAfter = 0;
    qsizetype deletedAfter = 0;
    auto it = list.begin();
    while (it != list.end()) {
        if (it->operation == Equal) {
            equalities.push_back(it);
            insertedBefore = insertedAfter;
            deletedBefore = deletedAfter;
            insertedAfter = deletedAfter = 0;
            lastEquality = it->text;
            ++it;
            continue;
        }
        (it->operation == Insert ? insertedAfter : deletedAfter) += it->text.size();
        if (lastEquality && lastEquality->size() <= std::max(insertedBefore, deletedBefore) &&
            lastEquality->size() <= std::max(insertedAfter, deletedAfter)) {
            // The equality is too short to help the reader: show it as deleted and inserted.
            const auto e = equalities.back();
            equalities.pop_back();
            e->operation = Delete;
            list.insert(std::next(e), {Insert, *lastEquality});
            if (!equalities.empty())
                equalities.pop_back();
            it = equalities.empty() ? list.begin() : equalities.back();
            insertedBefore = deletedBefore = insertedAfter = deletedAfter = 0;
            lastEquality.reset();
            changed = true;
            continue;
        }
        ++it;
    }
    if (changed) {
        while (mergeRuns(list)) {
        }
    }
    alignToBoundaries(list);

    // A deletion whose end reappears at the start of the following insertion shows that
    // overlap as kept text.
    for (auto insertion = list.begin(); insertion != list.end(); ++insertion) {
        if (insertion == list.begin())
            continue;
        const auto deletion = std::prev(insertion);
        if (deletion->operation != Delete || insertion->operation != Insert)
            continue;
        const qsizetype n = commonOverlapLength(deletion->text, insertion->text);
        if (n != 0 && (2 * n >= deletion->text.size() || 2 * n >= insertion->text.size())) {
            const QString overlap = insertion->text.left(n);
            deletion->text.chop(n);
            insertion->text.remove(0, n);
            list.insert(insertion, {Equal, overlap});
            // An overlap may take a whole side; an empty edit would show nothing. The next
            // pair starts after this insertion.
            const auto next = std::next(insertion);
            if (insertion->text.isEmpty())
                list.erase(insertion);
            if (deletion->text.isEmpty())
                list.erase(deletion);
            if (next == list.end())
                break;
            insertion = next;
        }
    }
    segments = toQList(list);
}

void DiffEngine::alignEditsToBoundaries(QList<DiffSegment> &segments)
{
    SegmentList list = toList(segments);
    alignToBoundaries(list);
    segments = toQList(list);
}

int DiffEngine::boundaryScore(QStringView one, QStringView two)
{
    if (one.isEmpty() || two.isEmpty())
        return 10;
    const QChar last = one.back();
    const QChar first = two.front();
    if (last.isLetterOrNumber() && first.isLetterOrNumber())
        return 0;
    if (!last.isSpace() && !first.isSpace())
        return 1;
    const auto isControl = [](QChar ch) { return ch.category() == QChar::Other_Control; };
    if (!isControl(last) && !isControl(first))
        return 2;
    static const QRegularExpression blankLineEnd(QStringLiteral("\\n\\r?\\n$"));
    static const QRegularExpression blankLineStart(QStringLiteral("^\\r?\\n\\r?\\n"));
    if (blankLineEnd.match(one).hasMatch() || blankLineStart.match(two).hasMatch())
        return 4;
    return 3;
}
