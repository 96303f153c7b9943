// The word check: the score of learners' texts against reference sentences (expected values
// worked out by hand), and the marked sentence with its lookup links.
#include "diff/wordcheck.h"

#include <QTest>
#include <QUrl>

class TestWordCheck : public QObject
{
    Q_OBJECT

private slots:
    void score_data();
    void score();
    void markedSentence();
    void partAroundCursor();
};

void TestWordCheck::score_data()
{
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QString>("learner");
    // the best-matching stretch of the learner's text checked, not the whole
    QTest::addColumn<bool>("stretch");
    QTest::addColumn<int>("referenceWords");
    QTest::addColumn<int>("correct");
    QTest::addColumn<int>("wrong");
    QTest::addColumn<int>("misspelt");
    QTest::addColumn<int>("spacing");
    QTest::addColumn<int>("missing");
    QTest::addColumn<int>("extra");
    // per mille, rounded; letters -1 where the row is about words only
    QTest::addColumn<int>("accuracy");
    QTest::addColumn<int>("letters");

    const auto row = [](const char *name, const char *reference, const char *learner, int words,
                        int wrong, int missing, int extra, int accuracy) {
        QTest::newRow(name) << QString::fromUtf8(reference) << QString::fromUtf8(learner) << false
                            << words << words - wrong - missing << wrong << 0 << 0 << missing
                            << extra << accuracy << -1;
    };
    struct Counts
    {
        int words, correct, wrong, misspelt, spacing, missing, extra, accuracy, letters;
    };
    const auto nearRow = [](const char *name, const char *reference, const char *learner,
                            bool stretch, Counts c) {
        QTest::newRow(name) << QString::fromUtf8(reference) << QString::fromUtf8(learner) << stretch
                            << c.words << c.correct << c.wrong << c.misspelt << c.spacing
                            << c.missing << c.extra << c.accuracy << c.letters;
    };
    row("case, punctuation", "The weather is fine today.", "the weather, is FINE today", 5, 0, 0, 0,
        1000);
    row("spacing", "I like it", "  I   like\tit  ", 3, 0, 0, 0, 1000);
    row("hyphen or blank", "a well-known fact", "a well known fact", 4, 0, 0, 0, 1000);
    row("contraction typed long", "I don't know.", "I do not know", 4, 0, 0, 0, 1000);
    row("long form typed short", "We will not go", "We won't go", 4, 0, 0, 0, 1000);
    row("cannot, can't, can not", "You cannot stay", "you can't stay", 4, 0, 0, 0, 1000);
    row("can not", "You can't stay", "you can not stay", 4, 0, 0, 0, 1000);
    row("I'm, they've, we'll, you're", "I'm sure they've left, we'll see if you're right",
        "I am sure they have left we will see if you are right", 13, 0, 0, 0, 1000);
    row("curly apostrophe", "It’s raining", "it's raining", 3, 0, 0, 0, 1000);
    row("modifier letter apostrophe", "I don't know", "I donʼt know", 4, 0, 0, 0, 1000);
    row("it's as has", "It has been raining", "It's been raining", 4, 0, 0, 0, 1000);
    row("he'd as would", "He would go", "he’d go", 3, 0, 0, 0, 1000);
    row("he'd as had", "He'd gone", "he had gone", 3, 0, 0, 0, 1000);
    row("'s is not 'd", "It's late", "it'd late", 3, 1, 0, 0, 667);
    row("half a contraction missed", "I don't know", "I do know", 4, 0, 1, 0, 750);
    row("possessive matches itself", "John's car", "John's car", 2, 0, 0, 0, 1000);
    // "John" is two letters off "John's"
    nearRow("possessive is not is", "John's car", "John is car", false,
            {2, 1, 0, 1, 0, 0, 1, 250, 556});
    row("digits as words", "I have 3 cats and 21 dogs", "I have three cats and twenty-one dogs", 7,
        0, 0, 0, 1000);
    row("twenty one with a blank", "21 dogs", "twenty one dogs", 2, 0, 0, 0, 1000);
    row("a hundred", "It costs 100 dollars", "it costs a hundred dollars", 4, 0, 0, 0, 1000);
    row("hundred and five", "105 pages", "one hundred and five pages", 2, 0, 0, 0, 1000);
    row("grouped digits", "5,000 people", "five thousand people", 2, 0, 0, 0, 1000);
    row("thousands and hundreds", "2,500 miles", "two thousand five hundred miles", 2, 0, 0, 0,
        1000);
    row("ordinals", "the 1st and the 21st", "The first and the twenty-first", 5, 0, 0, 0, 1000);
    row("wrong number", "3 cats", "four cats", 2, 1, 0, 0, 500);
    row("year said in pairs", "in 1999", "in nineteen ninety-nine", 2, 1, 0, 1, 0);
    row("comma between numbers", "21", "twenty, one", 1, 1, 0, 1, 0);
    row("repeated word missed", "that that is is that that is not is not",
        "that is is that that is not is not", 10, 0, 1, 0, 900);
    row("repeated word typed twice", "the cat sat", "the the cat sat", 3, 0, 0, 1, 667);
    row("wrong word", "the cat sat down", "the dog sat down", 4, 1, 0, 0, 750);
    row("missing and extra", "the cat sat down", "the sat down dog", 4, 0, 1, 1, 500);
    row("more extra words than reference words", "yes", "no no no", 1, 1, 0, 2, 0);
    row("empty text", "I like it", "", 3, 0, 3, 0, 0);
    row("punctuation only", "Hi.", "...", 1, 0, 1, 0, 0);
    row("both empty", "", "", 0, 0, 0, 0, 1000);
    row("empty reference", "", "hello", 0, 0, 0, 1, 0);

    // 19 letters; one edit in "mornin", one blank in "every one"
    nearRow("near miss and split word", "Good morning, everyone.", "Good mornin every one", false,
            {3, 1, 0, 1, 1, 0, 0, 500, 895});
    nearRow("joined words", "We had a lot of fun", "we had alot of fun", false,
            {6, 4, 0, 0, 1, 0, 0, 833, 929});
    nearRow("swapped letters", "the cat", "teh cat", false, {2, 1, 0, 1, 0, 0, 0, 750, 833});
    nearRow("two letters off a short word", "today", "day", false, {1, 0, 1, 0, 0, 0, 0, 0, 600});
    nearRow("two numbers are never near", "fifteen", "fifty", false, {1, 0, 1, 0, 0, 0, 0, 0, 571});
    nearRow("sentence after another", "Well done.", "Don't go! Well done.", true,
            {2, 2, 0, 0, 0, 0, 0, 1000, 1000});
    nearRow("text before and after", "I'm not sure about that.",
            "Nice to meet you. I'm not sure about that. See you!", true,
            {6, 6, 0, 0, 0, 0, 0, 1000, 1000});
    nearRow("split word at the stretch's end", "Good morning, everyone.",
            "Hello! Good mornin every one. How are you?", true, {3, 1, 0, 1, 1, 0, 0, 500, 895});
    nearRow("stretch with a wrong word", "yes", "no no no", true, {1, 0, 1, 0, 0, 0, 0, 0, 0});
}

void TestWordCheck::score()
{
    QFETCH(QString, reference);
    QFETCH(QString, learner);
    QFETCH(bool, stretch);
    QFETCH(int, referenceWords);
    QFETCH(int, correct);
    QFETCH(int, wrong);
    QFETCH(int, misspelt);
    QFETCH(int, spacing);
    QFETCH(int, missing);
    QFETCH(int, extra);
    QFETCH(int, accuracy);
    QFETCH(int, letters);

    const WordCheck check =
        stretch ? checkBestStretch(reference, learner) : checkWords(reference, learner);

    QCOMPARE(check.referenceWords, referenceWords);
    QCOMPARE(check.correct, correct);
    QCOMPARE(check.substitutions, wrong);
    QCOMPARE(check.misspellings, misspelt);
    QCOMPARE(check.spacing, spacing);
    QCOMPARE(check.deletions, missing);
    QCOMPARE(check.insertions, extra);
    QCOMPARE(qRound(check.accuracy() * 1000), accuracy);
    if (letters >= 0)
        QCOMPARE(qRound(check.letterAccuracy() * 1000), letters);
}

// A misspelt word is paired with the typed word spelt most like it; a contraction typed in
// full is one correct word, a word typed as two one spacing error; only words not typed right
// link to their lookup; the misspelt and missing words are the ones missed.
void TestWordCheck::markedSentence()
{
    const WordCheck check = checkWords(QStringLiteral("The weather really isn't bad today."),
                                       QStringLiteral("the whether is not bad to day"));

    const QList<CheckedWord> expected{
        {WordMark::Correct, QStringLiteral("The"), QStringLiteral("the"), QStringLiteral("the")},
        {WordMark::Spelling, QStringLiteral("weather"), QStringLiteral("whether"),
         QStringLiteral("weather")},
        {WordMark::Missing, QStringLiteral("really"), QString(), QStringLiteral("really")},
        {WordMark::Correct, QStringLiteral("isn't"), QStringLiteral("is not"),
         QStringLiteral("isn't")},
        {WordMark::Correct, QStringLiteral("bad"), QStringLiteral("bad"), QStringLiteral("bad")},
        {WordMark::Spacing, QStringLiteral("today"), QStringLiteral("to day"),
         QStringLiteral("today")},
    };
    QCOMPARE(check.words, expected);
    // a word typed as two was heard right
    QCOMPARE(check.missedWords(),
             QStringList({QStringLiteral("weather"), QStringLiteral("really")}));

    const auto struck = [](const char *word, const char *color = "#FF0000") {
        return QStringLiteral("<b style=\"text-decoration: line-through;\"><font color=\"%1\">%2"
                              "</font></b>")
            .arg(QLatin1String(color), QLatin1String(word));
    };
    const auto link = [](const char *word, const char *color = "#0000FF") {
        return QStringLiteral(
                   "<a href=\"lookup:%1\"><b style=\"text-decoration: underline;\"><font "
                   "color=\"%2\">%1</font></b></a>")
            .arg(QLatin1String(word), QLatin1String(color));
    };
    QCOMPARE(renderWordCheckHtml(check),
             QStringLiteral("The ") + struck("whether", misspellingColor) + QLatin1Char(' ') +
                 link("weather", misspellingColor) + QLatin1Char(' ') + link("really") +
                 QStringLiteral(" isn't bad ") + struck("to day") + QLatin1Char(' ') +
                 link("today"));

    // A missed word with an apostrophe survives its link.
    const QString html =
        renderWordCheckHtml(checkWords(QStringLiteral("Tom’s car"), QStringLiteral("car")));
    QVERIFY2(html.startsWith(QStringLiteral("<a href=\"lookup:tom%27s\">")), qPrintable(html));
    QCOMPARE(lookupOfLink(QUrl(QStringLiteral("lookup:tom%27s"))), QStringLiteral("tom's"));
}

// The part around the cursor of a running transcript: twice the reference's words before the
// cursor, as many after it; a word the cursor is in counts as before it.
void TestWordCheck::partAroundCursor()
{
    const QString text = QStringLiteral("we walked home it was late, well done said the teacher");
    const QString reference = QStringLiteral("Well done.");
    QCOMPARE(::partAroundCursor(text, text.indexOf(QLatin1String(" said")), reference),
             QStringLiteral("was late, well done said the"));
    QCOMPARE(::partAroundCursor(text, text.indexOf(QLatin1String("one")), reference),
             QStringLiteral("was late, well done said the"));
    QCOMPARE(::partAroundCursor(text, 0, reference), QStringLiteral("we walked"));
}

QTEST_APPLESS_MAIN(TestWordCheck)
#include "tst_wordcheck.moc"
