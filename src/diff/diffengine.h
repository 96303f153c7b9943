#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <limits>
#include <optional>
#include <stdexcept>

enum class DiffOperation
{
    Delete = 0,
    Insert = 1,
    Equal = 2
};

// One piece of a comparison result: text only in text1 (Delete), only in text2 (Insert)
// or in both (Equal).
struct DiffSegment
{
    DiffOperation operation = DiffOperation::Equal;
    QString text;

    friend bool operator==(const DiffSegment &, const DiffSegment &) = default;
};

// Raised for broken preconditions of the engine; what() is one of its fixed texts.
class DiffError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Computes how text1 turns into text2 as a list of segments and tidies that list for
// reading. Holds only its settings, so one engine may serve any number of comparisons;
// it runs entirely on the calling thread.
class DiffEngine
{
public:
    // Milliseconds of a monotonic clock; every call of one comparison shares one deadline.
    using Deadline = qint64;
    static constexpr Deadline NoDeadline = std::numeric_limits<Deadline>::max();

    // Pieces around a common middle that is at least half as long as the longer text.
    struct HalfMatch
    {
        QString text1Before;
        QString text1After;
        QString text2Before;
        QString text2After;
        QString common;
    };

    // Each distinct line as one code unit; lines[code] gives the line back.
    struct LineCodes
    {
        QString codes1;
        QString codes2;
        QStringList lines;
    };

    // Bounds the search for a minimal difference; 0 or less means no limit.
    float timeoutSeconds = 1.0f;

    QList<DiffSegment> diff_main(const QString &text1, const QString &text2) const;
    QList<DiffSegment> diff_main(const QString &text1, const QString &text2, bool lineCheck) const;
    QList<DiffSegment> diff_main(const QString &text1, const QString &text2, bool lineCheck,
                                 Deadline deadline) const;

    QList<DiffSegment> computeDiff(const QString &text1, const QString &text2, bool lineCheck,
                                   Deadline deadline) const;

    static qsizetype commonPrefixLength(QStringView text1, QStringView text2);
    static qsizetype commonSuffixLength(QStringView text1, QStringView text2);
    static qsizetype commonOverlapLength(QStringView text1, QStringView text2);

    std::optional<HalfMatch> findHalfMatch(const QString &text1, const QString &text2) const;
    // The result is in long/short order: text1* is the long text, text2* the short one.
    static std::optional<HalfMatch> halfMatchAt(const QString &longText, const QString &shortText,
                                                qsizetype i);

    QList<DiffSegment> lineModeDiff(const QString &text1, const QString &text2,
                                    Deadline deadline) const;
    // Nothing when the two texts hold more distinct lines than one code unit can number.
    static std::optional<LineCodes> linesToCodes(const QString &text1, const QString &text2);
    static void codesToLines(QList<DiffSegment> &segments, const QStringList &lines);

    QList<DiffSegment> middleSnakeDiff(const QString &text1, const QString &text2,
                                       Deadline deadline) const;
    QList<DiffSegment> splitAndDiff(const QString &text1, const QString &text2, qsizetype x,
                                    qsizetype y, Deadline deadline) const;

    // Tidying a result for reading, and the score of the boundaries its edits slide to.
    static void mergeSegments(QList<DiffSegment> &segments);
    static void semanticCleanup(QList<DiffSegment> &segments);
    static void alignEditsToBoundaries(QList<DiffSegment> &segments);
    static int boundaryScore(QStringView one, QStringView two);

    // The deadline that timeoutSeconds gives for a comparison starting now.
    Deadline deadlineFromNow() const;
    static Deadline now();
};
