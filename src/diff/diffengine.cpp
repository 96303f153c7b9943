// The search of DiffEngine: the common ends, the half-match, the line mode and the shortest
// edit search over what is left, under one deadline. Its tidying passes are in diffcleanup.cpp.
#include "diff/diffengine.h"

#include <QHash>

#include <algorithm>
#include <chrono>
#include <iterator>
#include <vector>

namespace {

constexpr auto Delete = DiffOperation::Delete;
constexpr auto Insert = DiffOperation::Insert;
constexpr auto Equal = DiffOperation::Equal;

const char NullInputs[] = "Null inputs. (diff_main)";

} // namespace

DiffEngine::Deadline DiffEngine::now()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

DiffEngine::Deadline DiffEngine::deadlineFromNow() const
{
    if (timeoutSeconds <= 0)
        return NoDeadline;
    const Deadline start = now();
    const double ms = double(timeoutSeconds) * 1000.0;
    // A limit too large to add is no limit, rather than an overflow into the past.
    if (ms >= double(NoDeadline - start))
        return NoDeadline;
    return start + Deadline(ms);
}

QList<DiffSegment> DiffEngine::diff_main(const QString &text1, const QString &text2) const
{
    return diff_main(text1, text2, true);
}

QList<DiffSegment> DiffEngine::diff_main(const QString &text1, const QString &text2,
                                         bool lineCheck) const
{
    return diff_main(text1, text2, lineCheck, deadlineFromNow());
}

QList<DiffSegment> DiffEngine::diff_main(const QString &text1, const QString &text2, bool lineCheck,
                                         Deadline deadline) const
{
    if (text1.isNull() || text2.isNull())
        throw DiffError(NullInputs);
    if (text1 == text2) {
        if (text1.isEmpty())
            return {};
        return {{Equal, text1}};
    }

    qsizetype n = commonPrefixLength(text1, text2);
    const QString prefix = text1.left(n);
    QString rest1 = text1.mid(n);
    QString rest2 = text2.mid(n);
    n = commonSuffixLength(rest1, rest2);
    const QString suffix = rest1.right(n);
    rest1.chop(n);
    rest2.chop(n);

    QList<DiffSegment> segments = computeDiff(rest1, rest2, lineCheck, deadline);
    if (!prefix.isEmpty())
        segments.prepend({Equal, prefix});
    if (!suffix.isEmpty())
        segments.append({Equal, suffix});
    mergeSegments(segments);
    return segments;
}

QList<DiffSegment> DiffEngine::computeDiff(const QString &text1, const QString &text2,
                                           bool lineCheck, Deadline deadline) const
{
    if (text1.isEmpty())
        return {{Insert, text2}};
    if (text2.isEmpty())
        return {{Delete, text1}};

    const bool text1Longer = text1.size() > text2.size();
    const QString &longText = text1Longer ? text1 : text2;
    const QString &shortText = text1Longer ? text2 : text1;
    const qsizetype at = longText.indexOf(shortText);
    if (at >= 0) {
        const DiffOperation outer = text1Longer ? Delete : Insert;
        return {{outer, longText.left(at)},
                {Equal, shortText},
                {outer, longText.mid(at + shortText.size())}};
    }
    if (shortText.size() == 1)
        return {{Delete, text1}, {Insert, text2}};

    if (const std::optional<HalfMatch> hm = findHalfMatch(text1, text2)) {
        QList<DiffSegment> segments =
            diff_main(hm->text1Before, hm->text2Before, lineCheck, deadline);
        segments.append({Equal, hm->common});
        segments.append(diff_main(hm->text1After, hm->text2After, lineCheck, deadline));
        return segments;
    }
    if (lineCheck && text1.size() > 100 && text2.size() > 100)
        return lineModeDiff(text1, text2, deadline);
    return middleSnakeDiff(text1, text2, deadline);
}

qsizetype DiffEngine::commonPrefixLength(QStringView text1, QStringView text2)
{
    const qsizetype n = std::min(text1.size(), text2.size());
    return std::mismatch(text1.begin(), text1.begin() + n, text2.begin()).first - text1.begin();
}

qsizetype DiffEngine::commonSuffixLength(QStringView text1, QStringView text2)
{
    const qsizetype n = std::min(text1.size(), text2.size());
    return std::mismatch(text1.rbegin(), text1.rbegin() + n, text2.rbegin()).first - text1.rbegin();
}

std::optional<DiffEngine::HalfMatch> DiffEngine::findHalfMatch(const QString &text1,
                                                               const QString &text2) const
{
    // Without a time limit the caller wants a minimal result, which a half-match may miss.
    if (timeoutSeconds <= 0)
        return std::nullopt;
    const bool text1Long = text2.size() < text1.size();
    const QString &longText = text1Long ? text1 : text2;
    const QString &shortText = text1Long ? text2 : text1;
    if (longText.size() < 4 || shortText.size() * 2 < longText.size())
        return std::nullopt;

    const std::optional<HalfMatch> first =
        halfMatchAt(longText, shortText, (longText.size() + 3) / 4);
    const std::optional<HalfMatch> second =
        halfMatchAt(longText, shortText, (longText.size() + 1) / 2);
    std::optional<HalfMatch> hm;
    if (!first && !second)
        return std::nullopt;
    if (!second)
        hm = first;
    else if (!first)
        hm = second;
    else
        hm = first->common.size() > second->common.size() ? first : second;

    if (text1Long)
        return hm;
    return HalfMatch{hm->text2Before, hm->text2After, hm->text1Before, hm->text1After, hm->common};
}

std::optional<DiffEngine::HalfMatch> DiffEngine::halfMatchAt(const QString &longText,
                                                             const QString &shortText, qsizetype i)
{
    const QString seed = longText.mid(i, longText.size() / 4);
    const QStringView longView(longText);
    const QStringView shortView(shortText);
    HalfMatch best;
    qsizetype bestLength = 0;
    for (qsizetype j = shortText.indexOf(seed); j >= 0; j = shortText.indexOf(seed, j + 1)) {
        const qsizetype prefix = commonPrefixLength(longView.mid(i), shortView.mid(j));
        const qsizetype suffix = commonSuffixLength(longView.left(i), shortView.left(j));
        if (prefix + suffix > bestLength) {
            bestLength = prefix + suffix;
            best.common = shortText.mid(j - suffix, suffix + prefix);
            best.text1Before = longText.left(i - suffix);
            best.text1After = longText.mid(i + prefix);
            best.text2Before = shortText.left(j - suffix);
            best.text2After = shortText.mid(j + prefix);
        }
    }
    if (bestLength * 2 < longText.size())
        return std::nullopt;
    return best;
}

QList<DiffSegment> DiffEngine::lineModeDiff(const QString &text1, const QString &text2,
                                            Deadline deadline) const
{
    const std::optional<LineCodes> codes = linesToCodes(text1, text2);
    // Too many distinct lines to number: compare unit by unit, which is slower but exact.
    if (!codes)
        return middleSnakeDiff(text1, text2, deadline);

    QList<DiffSegment> segments = diff_main(codes->codes1, codes->codes2, false, deadline);
    codesToLines(segments, codes->lines);
    semanticCleanup(segments);

    // Lines that changed on both sides are compared again unit by unit. The result is
    // built in order, so each run is spliced in once instead of shifting the whole tail.
    QList<DiffSegment> result;
    result.reserve(segments.size());
    qsizetype runStart = 0;
    bool deletes = false;
    bool inserts = false;
    QString deleted;
    QString inserted;
    // Once the time is up the changed lines stay whole: comparing them unit by unit would
    // cost a half-match search over all of them before the deadline could stop it.
    const auto flushRun = [&](qsizetype runEnd) {
        if (deletes && inserts && now() <= deadline)
            result.append(diff_main(deleted, inserted, false, deadline));
        else
            std::move(segments.begin() + runStart, segments.begin() + runEnd,
                      std::back_inserter(result));
        deletes = inserts = false;
        deleted.clear();
        inserted.clear();
    };
    for (qsizetype i = 0; i < segments.size(); ++i) {
        DiffSegment &segment = segments[i];
        if (segment.operation == Equal) {
            flushRun(i);
            result.append(std::move(segment));
            runStart = i + 1;
        } else if (segment.operation == Insert) {
            inserts = true;
            inserted += segment.text;
        } else {
            deletes = true;
            deleted += segment.text;
        }
    }
    flushRun(segments.size());
    return result;
}

std::optional<DiffEngine::LineCodes> DiffEngine::linesToCodes(const QString &text1,
                                                              const QString &text2)
{
    // Code 0 stays unused, so the largest code is the last value of one unit.
    constexpr qsizetype MaxCode = 0xFFFF;
    LineCodes result;
    result.lines.append(QString());
    QHash<QStringView, qsizetype> codeOfLine;

    const auto encode = [&](const QString &text, QString &codes) {
        codes.reserve(text.count(QLatin1Char('\n')) + 1);
        qsizetype start = 0;
        while (start < text.size()) {
            qsizetype end = text.indexOf(QLatin1Char('\n'), start);
            end = end < 0 ? text.size() : end + 1;
            const QStringView line = QStringView(text).mid(start, end - start);
            auto it = codeOfLine.constFind(line);
            if (it == codeOfLine.constEnd()) {
                if (result.lines.size() > MaxCode)
                    return false;
                it = codeOfLine.insert(line, result.lines.size());
                result.lines.append(line.toString());
            }
            codes.append(QChar(char16_t(*it)));
            start = end;
        }
        return true;
    };
    if (!encode(text1, result.codes1) || !encode(text2, result.codes2))
        return std::nullopt;
    return result;
}

void DiffEngine::codesToLines(QList<DiffSegment> &segments, const QStringList &lines)
{
    for (DiffSegment &segment : segments) {
        QString text;
        for (const QChar code : std::as_const(segment.text))
            text += lines.at(code.unicode());
        segment.text = text;
    }
}

QList<DiffSegment> DiffEngine::middleSnakeDiff(const QString &text1, const QString &text2,
                                               Deadline deadline) const
{
    const qsizetype len1 = text1.size();
    const qsizetype len2 = text2.size();
    const qsizetype maxD = (len1 + len2 + 1) / 2;
    const qsizetype offset = maxD;
    // Two spare entries keep the seed at offset + 1 inside the arrays for the shortest texts.
    const qsizetype vLength = 2 * maxD + 2;
    std::vector<qsizetype> v1(size_t(vLength), -1);
    std::vector<qsizetype> v2(size_t(vLength), -1);
    v1[size_t(offset + 1)] = 0;
    v2[size_t(offset + 1)] = 0;
    const qsizetype delta = len1 - len2;
    const bool forwardChecksOverlap = delta % 2 != 0;
    qsizetype k1Start = 0;
    qsizetype k1End = 0;
    qsizetype k2Start = 0;
    qsizetype k2End = 0;
    const QChar *a = text1.constData();
    const QChar *b = text2.constData();
    const auto at = [](const std::vector<qsizetype> &v, qsizetype index) {
        return index >= 0 && index < qsizetype(v.size()) ? v[size_t(index)] : -1;
    };

    for (qsizetype d = 0; d < maxD; ++d) {
        if (now() > deadline)
            break;
        for (qsizetype k1 = -d + k1Start; k1 <= d - k1End; k1 += 2) {
            const size_t k1Offset = size_t(offset + k1);
            qsizetype x1;
            if (k1 == -d || (k1 != d && v1[k1Offset - 1] < v1[k1Offset + 1]))
                x1 = v1[k1Offset + 1];
            else
                x1 = v1[k1Offset - 1] + 1;
            qsizetype y1 = x1 - k1;
            while (x1 < len1 && y1 < len2 && a[x1] == b[y1]) {
                ++x1;
                ++y1;
            }
            v1[k1Offset] = x1;
            if (x1 > len1) {
                k1End += 2;
            } else if (y1 > len2) {
                k1Start += 2;
            } else if (forwardChecksOverlap) {
                const qsizetype reverse = at(v2, offset + delta - k1);
                if (reverse != -1 && x1 >= len1 - reverse)
                    return splitAndDiff(text1, text2, x1, y1, deadline);
            }
        }
        for (qsizetype k2 = -d + k2Start; k2 <= d - k2End; k2 += 2) {
            const size_t k2Offset = size_t(offset + k2);
            qsizetype x2;
            if (k2 == -d || (k2 != d && v2[k2Offset - 1] < v2[k2Offset + 1]))
                x2 = v2[k2Offset + 1];
            else
                x2 = v2[k2Offset - 1] + 1;
            qsizetype y2 = x2 - k2;
            while (x2 < len1 && y2 < len2 && a[len1 - x2 - 1] == b[len2 - y2 - 1]) {
                ++x2;
                ++y2;
            }
            v2[k2Offset] = x2;
            if (x2 > len1) {
                k2End += 2;
            } else if (y2 > len2) {
                k2Start += 2;
            } else if (!forwardChecksOverlap) {
                const qsizetype k1Offset = offset + delta - k2;
                const qsizetype x1 = at(v1, k1Offset);
                if (x1 != -1 && x1 >= len1 - x2) {
                    const qsizetype y1 = offset + x1 - k1Offset;
                    return splitAndDiff(text1, text2, x1, y1, deadline);
                }
            }
        }
    }
    return {{Delete, text1}, {Insert, text2}};
}

QList<DiffSegment> DiffEngine::splitAndDiff(const QString &text1, const QString &text2, qsizetype x,
                                            qsizetype y, Deadline deadline) const
{
    QList<DiffSegment> segments = diff_main(text1.left(x), text2.left(y), false, deadline);
    segments.append(diff_main(text1.mid(x), text2.mid(y), false, deadline));
    return segments;
}
