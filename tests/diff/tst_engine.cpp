#include "diff/diffengine.h"

#include <QRandomGenerator>
#include <QTest>

#include <vector>

using Segments = QList<DiffSegment>;

namespace {

constexpr auto Del = DiffOperation::Delete;
constexpr auto Ins = DiffOperation::Insert;
constexpr auto Eq = DiffOperation::Equal;

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

// The text of one side of a result: text1 from equalities and deletions, text2 from
// equalities and insertions.
QString side(const Segments &segments, DiffOperation edit)
{
    QString text;
    for (const DiffSegment &segment : segments) {
        if (segment.operation == DiffOperation::Equal || segment.operation == edit)
            text += segment.text;
    }
    return text;
}

// Empty when the list keeps the shape that merging promises, else what is wrong.
QString mergedShapeFault(const Segments &segments)
{
    for (qsizetype i = 0; i < segments.size(); ++i) {
        if (segments[i].text.isEmpty())
            return QStringLiteral("empty segment at %1").arg(i);
        if (i == 0)
            continue;
        const DiffOperation before = segments[i - 1].operation;
        if (before == Eq && segments[i].operation == Eq)
            return QStringLiteral("adjacent equalities at %1").arg(i);
        if (before == Ins && segments[i].operation == Del)
            return QStringLiteral("insertion before deletion at %1").arg(i);
    }
    return {};
}

// Units deleted plus units inserted by a minimal edit script.
qsizetype minimalEditLength(const QString &a, const QString &b)
{
    std::vector<qsizetype> row(size_t(b.size() + 1), 0);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        qsizetype diagonal = 0;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const qsizetype above = row[size_t(j)];
            row[size_t(j)] =
                a[i - 1] == b[j - 1] ? diagonal + 1 : std::max(row[size_t(j)], row[size_t(j - 1)]);
            diagonal = above;
        }
    }
    return a.size() + b.size() - 2 * row[size_t(b.size())];
}

qsizetype editLength(const Segments &segments)
{
    qsizetype n = 0;
    for (const DiffSegment &segment : segments) {
        if (segment.operation != Eq)
            n += segment.text.size();
    }
    return n;
}

QString randomText(QRandomGenerator &rng, QStringView alphabet, int maxLength)
{
    QString text(QLatin1String(""));
    const int length = rng.bounded(maxLength + 1);
    for (int i = 0; i < length; ++i)
        text += alphabet[rng.bounded(int(alphabet.size()))];
    return text;
}

// A text of whole lines drawn from a small pool, so that two such texts share lines
// and each line of a pair may also differ in a few units.
QString randomLines(QRandomGenerator &rng, const QStringList &pool)
{
    QString text;
    const int lines = 8 + rng.bounded(20);
    for (int i = 0; i < lines; ++i) {
        QString line = pool[rng.bounded(int(pool.size()))];
        if (line.size() > 1 && rng.bounded(4) == 0)
            line[rng.bounded(int(line.size()) - 1)] = QLatin1Char('#');
        text += line;
    }
    return text;
}

// Distinct lines "<prefix><n>\n"; every `every`-th line of the second text is its own.
std::pair<QString, QString> manyDistinctLines(int count, int every)
{
    QString text1;
    QString text2;
    for (int i = 0; i < count; ++i) {
        const QString line = QStringLiteral("line %1\n").arg(i);
        text1 += line;
        text2 += i % every == 0 ? QStringLiteral("other %1\n").arg(i) : line;
    }
    return {text1, text2};
}

} // namespace

char *toString(const DiffSegment &segment)
{
    static const char *names[] = {"Delete", "Insert", "Equal"};
    return QTest::toString(QStringLiteral("%1 \"%2\"")
                               .arg(QLatin1String(names[int(segment.operation)]), segment.text));
}

class TestDiffEngine : public QObject
{
    Q_OBJECT
private slots:
    void diffMain_data();
    void diffMain();
    void nullInputRaises_data();
    void nullInputRaises();
    void semanticCleanup_data();
    void semanticCleanup();
    void randomPairsKeepInvariants_data();
    void randomPairsKeepInvariants();
    void lineCodesCoverEveryUnitValue_data();
    void lineCodesCoverEveryUnitValue();
    void moreDistinctLinesThanCodesStillDiff();
    void passedDeadlineStillGivesBothTexts();
    void deadlineFromTimeout_data();
    void deadlineFromTimeout();
    void middleSnakeOnShortestTexts_data();
    void middleSnakeOnShortestTexts();
};

void TestDiffEngine::diffMain_data()
{
    QTest::addColumn<QString>("text1");
    QTest::addColumn<QString>("text2");
    QTest::addColumn<Segments>("expected");

    QTest::newRow("both empty") << s("") << s("") << Segments{};
    QTest::newRow("equal") << s("abc") << s("abc") << Segments{{Eq, s("abc")}};
    QTest::newRow("deleted end") << s("abc") << s("ab") << Segments{{Eq, s("ab")}, {Del, s("c")}};
    QTest::newRow("one unit replaced")
        << s("a") << s("b") << Segments{{Del, s("a")}, {Ins, s("b")}};
    QTest::newRow("The cat / The hat")
        << s("The cat") << s("The hat")
        << Segments{{Eq, s("The ")}, {Del, s("c")}, {Ins, s("h")}, {Eq, s("at")}};
    QTest::newRow("text2 inside text1")
        << s("xaby") << s("ab") << Segments{{Del, s("x")}, {Eq, s("ab")}, {Del, s("y")}};
    QTest::newRow("text1 inside text2")
        << s("ab") << s("xaby") << Segments{{Ins, s("x")}, {Eq, s("ab")}, {Ins, s("y")}};
}

// Results that the semantic clean-up must also leave as they are: each equality is longer
// than the edits beside it.
void TestDiffEngine::diffMain()
{
    QFETCH(QString, text1);
    QFETCH(QString, text2);
    QFETCH(Segments, expected);

    DiffEngine engine;
    Segments result = engine.diff_main(text1, text2);
    QCOMPARE(result, expected);
    DiffEngine::semanticCleanup(result);
    QCOMPARE(result, expected);
}

void TestDiffEngine::nullInputRaises_data()
{
    QTest::addColumn<QString>("text1");
    QTest::addColumn<QString>("text2");
    QTest::newRow("text1 null") << QString() << s("a");
    QTest::newRow("text2 null") << s("") << QString();
}

void TestDiffEngine::nullInputRaises()
{
    QFETCH(QString, text1);
    QFETCH(QString, text2);
    DiffEngine engine;
    try {
        engine.diff_main(text1, text2);
        QFAIL("no exception");
    } catch (const DiffError &e) {
        QCOMPARE(e.what(), "Null inputs. (diff_main)");
    }
}

void TestDiffEngine::semanticCleanup_data()
{
    QTest::addColumn<Segments>("segments");
    QTest::addColumn<Segments>("expected");

    QTest::newRow("short equality between deletions")
        << Segments{{Del, s("a")}, {Eq, s("b")}, {Del, s("c")}}
        << Segments{{Del, s("abc")}, {Ins, s("b")}};
    QTest::newRow("earlier equality survives")
        << Segments{{Eq, s("ab")}, {Del, s("cd")}, {Eq, s("e")}, {Del, s("f")}, {Ins, s("g")}}
        << Segments{{Eq, s("ab")}, {Del, s("cdef")}, {Ins, s("eg")}};
    QTest::newRow("edit moves to word boundary")
        << Segments{{Eq, s("The c")}, {Ins, s("ow and the c")}, {Eq, s("at.")}}
        << Segments{{Eq, s("The ")}, {Ins, s("cow and the ")}, {Eq, s("cat.")}};
    QTest::newRow("edit moves to blank line")
        << Segments{{Eq, s("a\n\nb")}, {Ins, s("x\n\nb")}, {Eq, s("y")}}
        << Segments{{Eq, s("a\n\n")}, {Ins, s("bx\n\n")}, {Eq, s("by")}};
    QTest::newRow("edit moves to start of text")
        << Segments{{Eq, s("a")}, {Del, s("ba")}, {Eq, s("c")}}
        << Segments{{Del, s("ab")}, {Eq, s("ac")}};
    QTest::newRow("overlap becomes equality")
        << Segments{{Del, s("abcxxx")}, {Ins, s("xxxdef")}}
        << Segments{{Del, s("abc")}, {Eq, s("xxx")}, {Ins, s("def")}};
    QTest::newRow("overlap of two in three units")
        << Segments{{Del, s("abc")}, {Ins, s("bcx")}}
        << Segments{{Del, s("a")}, {Eq, s("bc")}, {Ins, s("x")}};
    QTest::newRow("overlap under half stays") << Segments{{Del, s("abc")}, {Ins, s("cxyz1")}}
                                              << Segments{{Del, s("abc")}, {Ins, s("cxyz1")}};
    QTest::newRow("overlap of a whole insertion leaves no empty segment")
        << Segments{{Del, s("jumps over\n")}, {Ins, s("\n")}}
        << Segments{{Del, s("jumps over")}, {Eq, s("\n")}};
    QTest::newRow("overlap of a whole deletion leaves no empty segment")
        << Segments{{Eq, s("x")}, {Del, s("ab")}, {Ins, s("abcd")}, {Eq, s("y")}}
        << Segments{{Eq, s("x")}, {Eq, s("ab")}, {Ins, s("cd")}, {Eq, s("y")}};
    QTest::newRow("insertion then deletion is not split")
        << Segments{{Ins, s("abcxxx")}, {Del, s("xxxdef")}}
        << Segments{{Ins, s("abcxxx")}, {Del, s("xxxdef")}};
}

void TestDiffEngine::semanticCleanup()
{
    QFETCH(Segments, segments);
    QFETCH(Segments, expected);
    DiffEngine::semanticCleanup(segments);
    QCOMPARE(segments, expected);
}

void TestDiffEngine::randomPairsKeepInvariants_data()
{
    QTest::addColumn<float>("timeout");
    QTest::addColumn<bool>("lineCheck");
    QTest::addColumn<int>("pairs");
    // 0 short random units, 1 lines from a shared pool, 2 a long text and a copy with a
    // third of its lines changed, whose result has thousands of segments to splice
    QTest::addColumn<int>("kind");

    QTest::newRow("short texts") << 1.0f << true << 3000 << 0;
    QTest::newRow("short texts, no time limit, minimal") << 0.0f << false << 2000 << 0;
    QTest::newRow("shared lines, line mode") << 1.0f << true << 400 << 1;
    QTest::newRow("shared lines, zero time limit") << 0.0f << true << 200 << 1;
    QTest::newRow("long texts, a third of the lines changed") << 1.0f << true << 3 << 2;
}

void TestDiffEngine::randomPairsKeepInvariants()
{
    QFETCH(float, timeout);
    QFETCH(bool, lineCheck);
    QFETCH(int, pairs);
    QFETCH(int, kind);

    QRandomGenerator rng(20261207u + quint32(kind) * 7u + quint32(lineCheck));
    const QStringList pool{s("the quick brown fox\n"), s("jumps over\n"),     s("\n"),
                           s("the lazy dog\n"),        s("and runs away.\n"), s("the quick dog\n")};
    DiffEngine engine;
    engine.timeoutSeconds = timeout;
    for (int n = 0; n < pairs; ++n) {
        QString text1;
        QString text2;
        if (kind == 0) {
            text1 = randomText(rng, u"ab c\n", 16);
            text2 = rng.bounded(3) == 0 ? randomText(rng, u"ab c\n", 16) : text1;
            for (int edits = rng.bounded(4); edits > 0 && !text2.isEmpty(); --edits)
                text2.insert(rng.bounded(int(text2.size())), randomText(rng, u"abx ", 3));
        } else if (kind == 1) {
            text1 = randomLines(rng, pool);
            text2 = randomLines(rng, pool);
        } else {
            for (int line = 0; line < 3000; ++line) {
                const QString words = randomText(rng, u"abcdef ", 40) + QLatin1Char('\n');
                text1 += words;
                text2 += rng.bounded(3) == 0 ? randomText(rng, u"abcdef ", 40) + QLatin1Char('\n')
                                             : words;
            }
        }
        const QString pairText = text1 + QStringLiteral(" | ") + text2;
        const QByteArray pair = pairText.toUtf8();

        Segments result = engine.diff_main(text1, text2, lineCheck);
        QVERIFY2(side(result, Del) == text1, pair.constData());
        QVERIFY2(side(result, Ins) == text2, pair.constData());
        QVERIFY2(mergedShapeFault(result).isEmpty(),
                 qPrintable(mergedShapeFault(result) + QLatin1String(": ") + pairText));
        if (timeout <= 0 && !lineCheck)
            QVERIFY2(editLength(result) == minimalEditLength(text1, text2), pair.constData());

        DiffEngine::semanticCleanup(result);
        QVERIFY2(side(result, Del) == text1, pair.constData());
        QVERIFY2(side(result, Ins) == text2, pair.constData());
        DiffEngine::mergeSegments(result);
        QVERIFY2(mergedShapeFault(result).isEmpty(),
                 qPrintable(mergedShapeFault(result) + QLatin1String(": ") + pairText));

        if (kind != 0) {
            const Segments lines = engine.lineModeDiff(text1, text2, engine.deadlineFromNow());
            QVERIFY2(side(lines, Del) == text1, pair.constData());
            QVERIFY2(side(lines, Ins) == text2, pair.constData());
        }
    }
}

void TestDiffEngine::lineCodesCoverEveryUnitValue_data()
{
    QTest::addColumn<int>("distinctLines");
    QTest::addColumn<bool>("fits");
    QTest::newRow("last code") << 0xFFFF << true;
    QTest::newRow("one line too many") << 0x10000 << false;
}

// Codes run from 1 to 0xFFFF; every one of them, surrogate values included, must map
// back to its own line.
void TestDiffEngine::lineCodesCoverEveryUnitValue()
{
    QFETCH(int, distinctLines);
    QFETCH(bool, fits);

    // Half the lines in each text, the second half ending without a line feed.
    const auto [all, unused] = manyDistinctLines(distinctLines, distinctLines + 1);
    const qsizetype middle = all.indexOf(QStringLiteral("line %1\n").arg(distinctLines / 2));
    const QString text1 = all.left(middle);
    const QString text2 = all.mid(middle).chopped(1);

    const std::optional<DiffEngine::LineCodes> codes = DiffEngine::linesToCodes(text1, text2);
    QCOMPARE(codes.has_value(), fits);
    if (!codes)
        return;
    QCOMPARE(codes->lines.size(), qsizetype(distinctLines) + 1);
    Segments segments{{Del, codes->codes1}, {Ins, codes->codes2}};
    DiffEngine::codesToLines(segments, codes->lines);
    QCOMPARE(segments[0].text, text1);
    QCOMPARE(segments[1].text, text2);
}

void TestDiffEngine::moreDistinctLinesThanCodesStillDiff()
{
    // Edits every 1,000 lines leave no half-match, so the comparison goes by lines.
    const auto [text1, text2] = manyDistinctLines(70000, 1000);
    DiffEngine engine;
    Segments result = engine.diff_main(text1, text2);
    QVERIFY(side(result, Del) == text1);
    QVERIFY(side(result, Ins) == text2);
    QCOMPARE(mergedShapeFault(result), QString());
    DiffEngine::semanticCleanup(result);
    QVERIFY(side(result, Del) == text1);
    QVERIFY(side(result, Ins) == text2);
}

void TestDiffEngine::passedDeadlineStillGivesBothTexts()
{
    DiffEngine engine;
    const QString text1 = s("abcdefghij");
    const QString text2 = s("ajihgfedcb");
    const Segments result = engine.diff_main(text1, text2, false, DiffEngine::now() - 1);
    QCOMPARE(result, (Segments{{Eq, s("a")}, {Del, s("bcdefghij")}, {Ins, s("jihgfedcb")}}));
}

void TestDiffEngine::deadlineFromTimeout_data()
{
    QTest::addColumn<float>("timeout");
    QTest::addColumn<qint64>("expectedMs"); // from now; -1 for no deadline
    QTest::newRow("zero is no limit") << 0.0f << qint64(-1);
    QTest::newRow("negative is no limit") << -2.0f << qint64(-1);
    QTest::newRow("too large to add") << 1e30f << qint64(-1);
    QTest::newRow("fraction of a second") << 1.5f << qint64(1500);
}

void TestDiffEngine::deadlineFromTimeout()
{
    QFETCH(float, timeout);
    QFETCH(qint64, expectedMs);
    DiffEngine engine;
    engine.timeoutSeconds = timeout;
    const DiffEngine::Deadline before = DiffEngine::now();
    const DiffEngine::Deadline deadline = engine.deadlineFromNow();
    const DiffEngine::Deadline after = DiffEngine::now();
    if (expectedMs < 0) {
        QCOMPARE(deadline, DiffEngine::NoDeadline);
    } else {
        QVERIFY(deadline >= before + expectedMs);
        QVERIFY(deadline <= after + expectedMs);
    }
}

void TestDiffEngine::middleSnakeOnShortestTexts_data()
{
    QTest::addColumn<QString>("text1");
    QTest::addColumn<QString>("text2");
    QTest::newRow("one unit each") << s("a") << s("b");
    QTest::newRow("one unit against none") << s("a") << s("");
}

// The search's seed entry lies past a minimal array for one-unit texts.
void TestDiffEngine::middleSnakeOnShortestTexts()
{
    QFETCH(QString, text1);
    QFETCH(QString, text2);
    DiffEngine engine;
    const Segments result = engine.middleSnakeDiff(text1, text2, DiffEngine::NoDeadline);
    QCOMPARE(side(result, Del), text1);
    QCOMPARE(side(result, Ins), text2);
    QCOMPARE(editLength(result), minimalEditLength(text1, text2));
}

QTEST_GUILESS_MAIN(TestDiffEngine)
#include "tst_engine.moc"
