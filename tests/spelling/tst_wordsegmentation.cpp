// What the spelling help takes for a word: the one segmentation behind the underlining,
// the context menu and the document check.
#include "spelling/wordsegmentation.h"

#include <QTest>

class TestWordSegmentation final : public QObject
{
    Q_OBJECT

private slots:
    void words_data();
    void words();
    void wordAtPosition_data();
    void wordAtPosition();
    void nextWordFromInsideAWord();
};

void TestWordSegmentation::words_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("opening quote and brackets")
        << QStringLiteral("\"recieve\" (definately) [tommorow]")
        << QStringList{QStringLiteral("recieve"), QStringLiteral("definately"),
                       QStringLiteral("tommorow")};
    QTest::newRow("contractions") << QStringLiteral("aren't isn’t doesn't I've rock'n'roll")
                                  << QStringList{QStringLiteral("aren't"),
                                                 QStringLiteral(u"isn\u2019t"),
                                                 QStringLiteral("doesn't"), QStringLiteral("I've"),
                                                 QStringLiteral("rock'n'roll")};
    QTest::newRow("quotes and hyphens at the ends are not inside")
        << QStringLiteral("‘wich’ 'tis well-known -dash- seven…")
        << QStringList{QStringLiteral("wich"), QStringLiteral("tis"), QStringLiteral("well-known"),
                       QStringLiteral("dash"), QStringLiteral("seven")};
    QTest::newRow("numbers with a unit are not words")
        << QStringLiteral("2B 1990s 7pm 10:30am 2nd 42 ok") << QStringList{QStringLiteral("ok")};
    QTest::newRow("east asian text between English words")
        << QStringLiteral("the 港口，harbour 世界 ことば 한국 end")
        << QStringList{QStringLiteral("the"), QStringLiteral("harbour"), QStringLiteral("end")};
    QTest::newRow("east asian text joined to English words")
        << QStringLiteral("我喜欢harbour港口it's，well-known港")
        << QStringList{QStringLiteral("harbour"), QStringLiteral("it's"),
                       QStringLiteral("well-known")};
    QTest::newRow("accents and combining marks")
        << QStringLiteral(u"café nai\u0308ve")
        << QStringList{QStringLiteral("café"), QStringLiteral(u"nai\u0308ve")};
    QTest::newRow("no letters") << QStringLiteral(" , . ; -- ?! ''") << QStringList{};
}

void TestWordSegmentation::words()
{
    QFETCH(QString, text);
    QFETCH(QStringList, words);
    QStringList found;
    for (const WordSpan &w : wordsOf(text))
        found.append(text.mid(w.start, w.length));
    QCOMPARE(found, words);
}

void TestWordSegmentation::wordAtPosition_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("word");
    // "(don't) 7pm"
    QTest::newRow("at the start") << 1 << QStringLiteral("don't");
    QTest::newRow("at the apostrophe") << 4 << QStringLiteral("don't");
    QTest::newRow("at the end") << 6 << QStringLiteral("don't");
    QTest::newRow("before the bracket") << 0 << QString();
    QTest::newRow("in a number") << 9 << QString();
}

void TestWordSegmentation::wordAtPosition()
{
    QFETCH(int, position);
    QFETCH(QString, word);
    const QString text = QStringLiteral("(don't) 7pm");
    const WordSpan w = wordAt(text, position);
    QCOMPARE(w.isValid() ? text.mid(w.start, w.length) : QString(), word);
}

// The document check resumes after a replacement, which may leave it inside a run.
void TestWordSegmentation::nextWordFromInsideAWord()
{
    const QString text = QStringLiteral("don't stop");
    QCOMPARE(nextWord(text, 3), (WordSpan{6, 4}));
    QCOMPARE(nextWord(text, 4), (WordSpan{6, 4}));
    QCOMPARE(nextWord(text, 5), (WordSpan{6, 4}));
    QCOMPARE(nextWord(text, 10), WordSpan{});
}

QTEST_GUILESS_MAIN(TestWordSegmentation)
#include "tst_wordsegmentation.moc"
