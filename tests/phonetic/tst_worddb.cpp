// The dictionary database the build generates into the run tree: the lookup dialog's own
// sample, inflected forms and their explanations, pronunciations in the dictionary's
// notation, the common words WordNet lacks, and that every stored pronunciation can be
// typed in the dialog.
#include "phonetic/dictionaryfixture.h"
#include "phonetic/phoneticdictionary.h"
#include "phonetic/phonetictokens.h"
#include "sqlite/statement.h"

#include <QTest>

#include <sqlite3.h>

namespace {

using Db = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;

// The run tree's dictionary, opened and keyed as the store does it.
Db openDictionary()
{
    sqlite3 *raw = nullptr;
    sqlite3_open_v2("./dict/words.db", &raw, SQLITE_OPEN_READONLY, dictcipher::vfsName());
    Db db(raw, sqlite3_close);
    if (dictcipher::key(db.get(), storePassPhrase.constData(), int(storePassPhrase.size())) !=
        SQLITE_OK)
        db.reset();
    return db;
}

} // namespace

class TestWordDb : public QObject
{
    Q_OBJECT

private slots:
    void dialogSample();
    void inflections_data();
    void inflections();
    void pronunciations_data();
    void pronunciations();
    void typedAsHeard_data();
    void typedAsHeard();
    void commonWords_data();
    void commonWords();
    void commonWordsFirst_data();
    void commonWordsFirst();
    void queryPlans_data();
    void queryPlans();
    void everyPronunciationCanBeTyped();
};

// The dialog's sample input and initial caption search, and the entry they lead to.
void TestWordDb::dialogSample()
{
    PhoneticDictionary store;
    store.searchByPhonetic(QStringLiteral(u"igz\u0251:mpl"), PhoneticDictionary::Limited);
    QVERIFY2(store.results().contains(QStringLiteral("example")),
             qPrintable(store.results().join(u' ')));

    store.searchByCaption("^exa", PhoneticDictionary::Limited);
    QVERIFY(store.results().contains(QStringLiteral("example")));
    QVERIFY(store.results().contains(QStringLiteral("exampling")));
    for (const QString &caption : store.results())
        QVERIFY2(caption.startsWith(QStringLiteral("exa")), qPrintable(caption));

    const QStringList entry = store.lookupWord("example");
    QCOMPARE(entry.size(), 3);
    QCOMPARE(entry.at(0), QStringLiteral("example"));
    QCOMPARE(entry.at(1), QStringLiteral(u"[i\u0261\u02C8z\u0251\u02D0mp\u0259l]"));
    QVERIFY2(entry.at(2).startsWith(QStringLiteral("n. an item of information")),
             qPrintable(entry.at(2)));
    // One sense a line.
    QVERIFY(entry.at(2).count(QLatin1Char('\n')) >= 5);
    QVERIFY(!entry.at(2).contains(QStringLiteral("<br/>")));

    // A search while typing lists the hundred entries the typing covers most of, near
    // matches after them.
    store.searchByPhonetic(QStringLiteral("lisn"), PhoneticDictionary::Limited);
    QCOMPARE(store.nearMatchesFrom(), 100);
    QVERIFY(store.results().contains(QStringLiteral("listen")));
    store.searchByPhonetic(QStringLiteral(u"ri'membə"), PhoneticDictionary::Limited);
    QVERIFY(store.results().contains(QStringLiteral("remember")));
}

void TestWordDb::inflections_data()
{
    QTest::addColumn<QByteArray>("form");
    QTest::addColumn<QString>("explanationStart");
    QTest::addColumn<QString>("alsoHolds");
    QTest::newRow("regular plural")
        << QByteArray("examples") << QStringLiteral("plural of example\nn. ") << QString();
    QTest::newRow("-ing the spelling dictionary knows")
        << QByteArray("exampling") << QStringLiteral("present participle of example\nn. ")
        << QString();
    QTest::newRow("regular past") << QByteArray("listened")
                                  << QStringLiteral("past tense and past participle of listen\nv. ")
                                  << QString();
    QTest::newRow("plural and third person")
        << QByteArray("needs") << QString()
        << QStringLiteral("\nplural of need\nn. a condition requiring relief");
    QTest::newRow("third person") << QByteArray("needs") << QString()
                                  << QStringLiteral("\nthird person singular of need\nv. ");
    QTest::newRow("irregular plural")
        << QByteArray("children") << QStringLiteral("plural of child\nn. ") << QString();
    QTest::newRow("irregular past")
        << QByteArray("went") << QStringLiteral("past tense or past participle of go\nv. ")
        << QString();
    QTest::newRow("doubled consonant")
        << QByteArray("stopped") << QString()
        << QStringLiteral("\npast tense and past participle of stop\nv. ");
    QTest::newRow("regular -ing of a verb")
        << QByteArray("listening") << QString()
        << QStringLiteral("\npresent participle of listen\nv. ");
    QTest::newRow("comparative") << QByteArray("better") << QString()
                                 << QStringLiteral("comparative of good\nadj. ");
    QTest::newRow("lemma that is also a form")
        << QByteArray("left") << QString()
        << QStringLiteral("\npast tense or past participle of leave\nv. ");
    // "cared" is spelt like car + ed but belongs to care.
    QTest::newRow("stem decides the base")
        << QByteArray("cared") << QStringLiteral("past tense and past participle of care\n")
        << QString();
}

void TestWordDb::inflections()
{
    QFETCH(QByteArray, form);
    QFETCH(QString, explanationStart);
    QFETCH(QString, alsoHolds);
    PhoneticDictionary store;
    const QStringList entry = store.lookupWord(form);
    QCOMPARE(entry.size(), 3);
    QVERIFY2(entry.at(2).startsWith(explanationStart), qPrintable(entry.at(2)));
    QVERIFY2(entry.at(2).contains(alsoHolds), qPrintable(entry.at(2)));
    QVERIFY(!entry.at(2).contains(QStringLiteral(" of car\n")));

    // Forms the spelling dictionary does not know are not invented.
    QVERIFY(store.lookupWord("informations").isEmpty());
    QVERIFY(store.lookupWord("childs").isEmpty());
    QVERIFY(store.lookupWord("stoped").isEmpty());
}

// Received Pronunciation in the dictionary's notation: ɪ and ʊ written i and u, ɒ as ɔ,
// ɜː as əː, eə as ɛə, ɐ as ə, ɹ as r; stress marks where the syllable begins, so a learner
// who types them as a dictionary writes them finds the word.
void TestWordDb::pronunciations_data()
{
    QTest::addColumn<QByteArray>("word");
    QTest::addColumn<QString>("pronunciation");
    QTest::newRow("think") << QByteArray("think") << QStringLiteral(u"[ˈθiŋk]");
    QTest::newRow("care") << QByteArray("care") << QStringLiteral(u"[ˈkɛə]");
    QTest::newRow("go") << QByteArray("go") << QStringLiteral(u"[ˈɡəu]");
    QTest::newRow("bird") << QByteArray("bird") << QStringLiteral(u"[ˈbəːd]");
    QTest::newRow("rock") << QByteArray("rock") << QStringLiteral(u"[ˈrɔk]");
    QTest::newRow("father") << QByteArray("father") << QStringLiteral(u"[ˈfɑːðə]");
    QTest::newRow("bed") << QByteArray("bed") << QStringLiteral(u"[ˈbed]");
    QTest::newRow("house") << QByteArray("house") << QStringLiteral(u"[ˈhaus]");
    QTest::newRow("boy") << QByteArray("boy") << QStringLiteral(u"[ˈbɔi]");
    QTest::newRow("near") << QByteArray("near") << QStringLiteral(u"[ˈniə]");
    QTest::newRow("church") << QByteArray("church") << QStringLiteral(u"[ˈtʃəːtʃ]");
    QTest::newRow("measure") << QByteArray("measure") << QStringLiteral(u"[ˈmeʒə]");
    QTest::newRow("stress after a vowel")
        << QByteArray("remember") << QStringLiteral(u"[riˈmembə]");
    QTest::newRow("three-consonant onset")
        << QByteArray("explain") << QStringLiteral(u"[ikˈsplein]");
    QTest::newRow("onset across a cluster")
        << QByteArray("communication") << QStringLiteral(u"[kəˌmjuːniˈkeiʃən]");
    QTest::newRow("hyphenated") << QByteArray("well-known") << QStringLiteral(u"[ˈwelˈnəun]");
}

void TestWordDb::pronunciations()
{
    QFETCH(QByteArray, word);
    QFETCH(QString, pronunciation);
    PhoneticDictionary store;
    const QStringList entry = store.lookupWord(word);
    QCOMPARE(entry.size(), 3);
    QCOMPARE(entry.at(1), pronunciation);
}

// Neither search reads the table with its explanations: the caption search scans the caption
// index alphabetically, the phonetic search the index ordered by pronunciation length.
// Symbols a learner hears and types, which the dictionary writes with a neighbour of its
// notation, find the word as the stored spelling of the sound does.
void TestWordDb::typedAsHeard_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("word");
    QTest::newRow("near-close i") << QStringLiteral(u"lɪsn") << QStringLiteral("listen");
    QTest::newRow("near-close u") << QStringLiteral(u"bʊk") << QStringLiteral("book");
    QTest::newRow("open back o") << QStringLiteral(u"rɒk") << QStringLiteral("rock");
    QTest::newRow("open-mid central") << QStringLiteral(u"bɜ:d") << QStringLiteral("bird");
    QTest::newRow("e schwa") << QStringLiteral(u"keə") << QStringLiteral("care");
    QTest::newRow("lone open e") << QStringLiteral(u"bɛd") << QStringLiteral("bed");
    QTest::newRow("turned r") << QStringLiteral(u"ɹɒk") << QStringLiteral("rock");
}

void TestWordDb::typedAsHeard()
{
    QFETCH(QString, typed);
    QFETCH(QString, word);
    PhoneticDictionary store;
    store.searchByPhonetic(typed, PhoneticDictionary::AllRows);
    QVERIFY2(store.results().contains(word), qPrintable(typed));
}

// Function words and contractions, added from the common words list: each row's
// pronunciation, the first row's explanation, a weak form in a row of its own, and no
// markup of the dictionary the explanations come from.
void TestWordDb::commonWords_data()
{
    QTest::addColumn<QByteArray>("word");
    QTest::addColumn<QStringList>("pronunciations");
    QTest::addColumn<QString>("explanationStart");
    QTest::newRow("pronoun") << QByteArray("this") << QStringList{QStringLiteral(u"[ˈðis]")}
                             << QStringLiteral("pron. as a demonstrative pronoun");
    QTest::newRow("conjunction") << QByteArray("because")
                                 << QStringList{QStringLiteral(u"[biˈkɔz]")}
                                 << QStringLiteral("conj. by or for the cause that");
    QTest::newRow("plural pronoun") << QByteArray("they") << QStringList{QStringLiteral(u"[ðei]")}
                                    << QStringLiteral("pron. the plural of he, she, or it");
    QTest::newRow("modal with a weak form")
        << QByteArray("would") << QStringList{QStringLiteral(u"[ˈwud]"), QStringLiteral(u"[wəd]")}
        << QStringLiteral("v. commonly used as an auxiliary verb");
    QTest::newRow("preposition with a weak form")
        << QByteArray("from") << QStringList{QStringLiteral(u"[frɔm]"), QStringLiteral(u"[frəm]")}
        << QStringLiteral("prep. out of the neighborhood of");
    QTest::newRow("contraction") << QByteArray("don't") << QStringList{QStringLiteral(u"[ˈdəunt]")}
                                 << QStringLiteral("short for do not");
    // spelt like the plural of doe, which the entry explains after it
    QTest::newRow("form the list explains")
        << QByteArray("does") << QStringList{QStringLiteral(u"[ˈdʌz]"), QStringLiteral(u"[dəz]")}
        << QStringLiteral("third person singular of do");
}

void TestWordDb::commonWords()
{
    QFETCH(QByteArray, word);
    QFETCH(QStringList, pronunciations);
    QFETCH(QString, explanationStart);
    PhoneticDictionary store;
    const QStringList rows = store.lookupWord(word);
    QCOMPARE(rows.size(), 3 * pronunciations.size());
    QVERIFY2(rows.at(2).startsWith(explanationStart), qPrintable(rows.at(2)));
    for (qsizetype row = 0; row < pronunciations.size(); ++row) {
        QCOMPARE(rows.at(3 * row + 1), pronunciations.at(row));
        const QString &explanation = rows.at(3 * row + 2);
        QVERIFY(!explanation.isEmpty());
        for (const char *markup : {"{", "}", "[", "]", "\\", "*", "--", "<", "  "})
            QVERIFY2(!explanation.contains(QLatin1String(markup)), qPrintable(explanation));
    }
    if (pronunciations.size() > 1)
        QCOMPARE(rows.at(5), QStringLiteral("weak form of %1, as it mostly sounds in a sentence")
                                 .arg(QString::fromUtf8(word)));
}

// Function words typed as a learner hears them, weak forms too, come first, listed once.
void TestWordDb::commonWordsFirst_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("word");
    QTest::newRow("this") << QStringLiteral(u"ðis") << QStringLiteral("this");
    QTest::newRow("because, o for ɔ") << QStringLiteral("bikoz") << QStringLiteral("because");
    QTest::newRow("the") << QStringLiteral(u"ðə") << QStringLiteral("the");
    QTest::newRow("would") << QStringLiteral("wud") << QStringLiteral("would");
    QTest::newRow("weak from") << QStringLiteral(u"frəm") << QStringLiteral("from");
    QTest::newRow("weak of") << QStringLiteral(u"əv") << QStringLiteral("of");
}

void TestWordDb::commonWordsFirst()
{
    QFETCH(QString, typed);
    QFETCH(QString, word);
    static PhoneticDictionary store; // read into memory once for all rows
    store.searchByPhonetic(typed, PhoneticDictionary::Limited);
    QCOMPARE(store.results().value(0), word);
    QCOMPARE(store.results().count(word), 1);
}

void TestWordDb::queryPlans_data()
{
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QByteArray>("plan");
    QTest::newRow("exact lookup")
        << QByteArray("SELECT w_caption, w_phonetic, w_explain FROM dict_word WHERE w_caption=?")
        << QByteArray("SEARCH dict_word USING INDEX dict_word_caption (w_caption=?)");
    // the searches read every caption and pronunciation once, from an index that holds
    // both, not from the table with its explanations
    QTest::newRow("entries for the searches")
        << QByteArray("SELECT w_caption, w_phonetic FROM dict_word")
        << QByteArray("SCAN dict_word USING COVERING INDEX dict_word_phonetic");
}

void TestWordDb::queryPlans()
{
    QFETCH(QByteArray, query);
    QFETCH(QByteArray, plan);
    const Db db = openDictionary();
    QVERIFY(db);
    const sqlite::Statement explain = sqlite::prepare(db.get(), "EXPLAIN QUERY PLAN " + query);
    QVERIFY(explain);
    QCOMPARE(sqlite3_step(explain.get()), SQLITE_ROW);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(explain.get(), 3))),
             plan);
}

// Every row has a pronunciation made only of tokens the dialog accepts, and typing it
// back finds the word: nothing is stored that a learner could not type.
void TestWordDb::everyPronunciationCanBeTyped()
{
    const Db db = openDictionary();
    QVERIFY(db);
    const sqlite::Statement rows =
        sqlite::prepare(db.get(), "SELECT w_caption, w_phonetic FROM dict_word");
    QVERIFY(rows);
    int count = 0;
    QStringList untypable;
    QList<QByteArray> sample;
    while (sqlite3_step(rows.get()) == SQLITE_ROW) {
        const QByteArray caption(
            reinterpret_cast<const char *>(sqlite3_column_text(rows.get(), 0)));
        const QByteArray stored(reinterpret_cast<const char *>(sqlite3_column_text(rows.get(), 1)));
        if (!isPhoneticSequence(decodeEntities(QString::fromUtf8(stored))))
            untypable.append(QString::fromUtf8(caption + " " + stored));
        if (++count % 9973 == 0)
            sample.append(caption);
    }
    QVERIFY2(untypable.isEmpty(), qPrintable(untypable.mid(0, 20).join(QStringLiteral(", "))));
    QVERIFY2(count > 100000, qPrintable(QString::number(count)));

    PhoneticDictionary store;
    for (const QByteArray &caption : std::as_const(sample)) {
        const QString typed = store.lookupWord(caption).at(1).chopped(1).mid(1);
        store.searchByPhonetic(typed, PhoneticDictionary::AllRows);
        QVERIFY2(store.results().contains(QString::fromUtf8(caption)), caption.constData());
    }
}

QTEST_GUILESS_MAIN(TestWordDb)
#include "tst_worddb.moc"
