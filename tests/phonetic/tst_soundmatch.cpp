// How near the lookup finds a pronunciation typed by ear: the reading of a learner's
// typing, the costs of the sound distance, and where common words typed by ear come in the
// results of the run tree's dictionary.
#include "phonetic/phoneticdictionary.h"
#include "phonetic/soundmatch.h"

#include <QTest>

class TestSoundMatch : public QObject
{
    Q_OBJECT

private slots:
    void learnerTyping_data();
    void learnerTyping();
    void distanceCosts();
    void rankingByEar_data();
    void rankingByEar();
};

void TestSoundMatch::learnerTyping_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("read");
    QTest::newRow("o and a colon") << QStringLiteral("wo:tə") << QStringLiteral(u"wɔːtə");
    QTest::newRow("ou is the vowel of go") << QStringLiteral("gou") << QStringLiteral(u"ɡəu");
    QTest::newRow("3 and a stress mark") << QStringLiteral("'b3:d") << QStringLiteral(u"ˈbəːd");
    QTest::newRow("IPA folds to the notation")
        << QStringLiteral(u"ˈlɪsən") << QStringLiteral(u"ˈlisən");
    QTest::newRow("the notation stays") << QStringLiteral(u"θiŋk") << QStringLiteral(u"θiŋk");
}

void TestSoundMatch::learnerTyping()
{
    QFETCH(QString, typed);
    QFETCH(QString, read);
    QCOMPARE(sounds::readLearnerTyping(typed), read);
}

// The properties the ranking relies on, each against its alternative.
void TestSoundMatch::distanceCosts()
{
    const auto d = [](const char16_t *a, const char16_t *b) {
        return sounds::distance(sounds::soundsOf(QString::fromUtf16(a)),
                                sounds::soundsOf(QString::fromUtf16(b)));
    };
    // stress and length marks cost nothing
    QCOMPARE(d(u"ˈwɔːtə", u"wɔtə"), 0.0);
    // the distance is symmetric
    QCOMPARE(d(u"intrəstiŋ", u"intrestiŋ"), d(u"intrestiŋ", u"intrəstiŋ"));
    QCOMPARE(d(u"puə", u"pɔ"), d(u"pɔ", u"puə"));
    // a reduced vowel heard as ə costs less than a changed consonant
    QVERIFY(d(u"intrəstiŋ", u"intrestiŋ") < d(u"intrestiŋ", u"intrektiŋ"));
    // a dropped ə costs less than a consonant changed in voicing, which costs less than
    // any other consonant
    QVERIFY(d(u"lisən", u"lisn") < d(u"lisn", u"lizn"));
    QVERIFY(d(u"lisn", u"lizn") < d(u"lisn", u"likn"));
    // close vowels cost less than far ones
    QVERIFY(d(u"kæt", u"kɑt") < d(u"kæt", u"kut"));
}

// Common words typed by ear against the run tree's dictionary: the word meant comes
// among the exact or the near matches, within the rank given there (0 is first).
void TestSoundMatch::rankingByEar_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("near");
    QTest::addColumn<int>("rankAtMost");
    QTest::newRow("listen") << QStringLiteral("lisn") << QStringLiteral("listen") << false << 0;
    QTest::newRow("cat, a for æ") << QStringLiteral("kat") << QStringLiteral("cat") << false << 0;
    QTest::newRow("water, o for ɔ")
        << QStringLiteral(u"wo:tə") << QStringLiteral("water") << false << 2;
    QTest::newRow("interesting, reduced vowel")
        << QStringLiteral(u"intrəstiŋ") << QStringLiteral("interesting") << true << 2;
    QTest::newRow("necessary, reduced vowels")
        << QStringLiteral(u"nesəsəri") << QStringLiteral("necessary") << true << 2;
    QTest::newRow("poor heard as a diphthong")
        << QStringLiteral(u"puə") << QStringLiteral("poor") << true << 2;
}

void TestSoundMatch::rankingByEar()
{
    QFETCH(QString, typed);
    QFETCH(QString, word);
    QFETCH(bool, near);
    QFETCH(int, rankAtMost);
    PhoneticDictionary store;
    store.searchByPhonetic(typed, PhoneticDictionary::Limited);
    const int from = near ? store.nearMatchesFrom() : 0;
    const qsizetype rank = store.results().indexOf(word) - from;
    const qsizetype tierEnd = near ? store.results().size() : store.nearMatchesFrom();
    QVERIFY2(rank >= 0 && rank <= rankAtMost && rank + from < tierEnd,
             qPrintable(QStringLiteral("%1 at %2 of %3")
                            .arg(word)
                            .arg(rank + from)
                            .arg(store.results().mid(from, 12).join(QLatin1Char(' ')))));
}

QTEST_GUILESS_MAIN(TestSoundMatch)
#include "tst_soundmatch.moc"
