// PhoneticDictionary over small enciphered dictionaries that each test writes into a
// temporary working directory: both searches, the exact lookup's row handling, the quiet
// failures, and values that would break or change a query spliced from text.
#include "phonetic/dictionaryfixture.h"
#include "phonetic/phoneticdictionary.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

QList<Row> sampleRows()
{
    QList<Row> rows{
        {"example", "i&#609;&#712;z&#593;&#720;mpl", "n. a thing<br/>v. to show"},
        {"example", "e&#609;&#712;z&#230;mpl", "variant"},
        {"exam", "i&#609;&#712;z&#230;m", "test"},
        {"exact", "i&#609;&#712;z&#230;kt", "precise"},
        {"exaggerate", "i&#609;&#712;z&#230;d&#658;&#601;reit", "overstate"},
        {"ample", "&#712;&#230;mpl", "enough"},
        {"apple", "&#712;&#230;pl", "fruit<BR/>tree"},
        {"say \"hi\"", "sei", "greet"},
        {"caf\xe9", "kaf", "not UTF-8"},
        {QByteArray(40, 'a') + '!', "a", "backtracking bait"},
    };
    for (int i = 0; i < 150; ++i)
        rows.append({"zz" + QByteArray::number(i), "zz", "filler"});
    return rows;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

class TestDictionary : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void searches_data();
    void searches();
    void limits_data();
    void limits();
    void lookup_data();
    void lookup();
    void unusableDatabase_data();
    void unusableDatabase();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString previousDir_;
};

// Every test runs in its own working directory, as the store finds "./dict" from there.
void TestDictionary::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    previousDir_ = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir_->path()));
}

void TestDictionary::cleanup()
{
    QDir::setCurrent(previousDir_);
    dir_.reset();
}

void TestDictionary::searches_data()
{
    QTest::addColumn<bool>("phonetic");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("expected");
    // a word with two rows (two pronunciations) is listed once
    const QStringList exa{QStringLiteral("exaggerate"), QStringLiteral("exam"),
                          QStringLiteral("exact"), QStringLiteral("example")};
    QTest::newRow("caption anchored") << false << QStringLiteral("^exa") << exa;
    QTest::newRow("caption unanchored")
        << false << QStringLiteral("mpl")
        << QStringList{QStringLiteral("ample"), QStringLiteral("example")};
    QTest::newRow("caption invalid pattern") << false << QStringLiteral("(exa") << QStringList();
    QTest::newRow("caption quote injection")
        << false << QStringLiteral("x\" OR 1=1 OR \"") << QStringList();
    QTest::newRow("caption names a column")
        << false << QStringLiteral("w_caption") << QStringList();
    QTest::newRow("caption with a quote")
        << false << QStringLiteral("\"hi\"") << QStringList{QStringLiteral("say \"hi\"")};
    QTest::newRow("caption over a value that is not UTF-8")
        << false << QStringLiteral("^caf") << QStringList{QString::fromUtf8("caf\xe9")};
    // Nested quantifiers over a long run of a's would backtrack for hours; the matcher's
    // limit ends the query instead.
    QTest::newRow("caption too complex") << false << QStringLiteral("^(a+)+$") << QStringList();
    QTest::newRow("phonetic sample")
        << true << QStringLiteral(u"igz\u0251:mpl") << QStringList{QStringLiteral("example")};
    QTest::newRow("phonetic gaps between tokens")
        << true << QStringLiteral(u"\u00E6pl")
        << QStringList{QStringLiteral("ample"), QStringLiteral("apple"), QStringLiteral("example")};
    QTest::newRow("phonetic unanchored")
        << true << QStringLiteral(u"z\u00E6")
        << QStringList{QStringLiteral("exaggerate"), QStringLiteral("exam"),
                       QStringLiteral("exact"), QStringLiteral("example")};
    // The stored notation writes ɛ on its own as e, and ɪ as i.
    QTest::newRow("phonetic lone open e")
        << true << QStringLiteral(u"\u025Bi")
        << QStringList{QStringLiteral("exaggerate"), QStringLiteral("say \"hi\"")};
    QTest::newRow("phonetic near-close i")
        << true << QStringLiteral(u"\u026A\u0261z\u00E6")
        << QStringList{QStringLiteral("exaggerate"), QStringLiteral("exam"),
                       QStringLiteral("exact")};
    QTest::newRow("phonetic bracket") << true << QStringLiteral("[sei]") << QStringList();
}

void TestDictionary::searches()
{
    QFETCH(bool, phonetic);
    QFETCH(QString, input);
    QFETCH(QStringList, expected);
    QVERIFY(writeDictionary(dir_->path(), sampleRows(), storePassPhrase));
    PhoneticDictionary store;
    for (int mode : {int(PhoneticDictionary::Limited), int(PhoneticDictionary::AllRows)}) {
        if (phonetic)
            store.searchByPhonetic(input, mode);
        else
            store.searchByCaption(input.toUtf8(), mode);
        // what matches the pattern; near matches may follow
        QCOMPARE(sorted(store.results().mid(0, store.nearMatchesFrom())), sorted(expected));
    }
}

void TestDictionary::limits_data()
{
    QTest::addColumn<bool>("phonetic");
    QTest::addColumn<int>("limitMode");
    QTest::addColumn<int>("count");
    QTest::newRow("caption limited") << false << 0 << 100;
    QTest::newRow("caption all") << false << 1 << 150;
    QTest::newRow("caption other mode is all") << false << 7 << 150;
    QTest::newRow("phonetic limited") << true << 0 << 100;
    QTest::newRow("phonetic all") << true << 1 << 150;
    QTest::newRow("phonetic other mode runs nothing") << true << 2 << 0;
}

void TestDictionary::limits()
{
    QFETCH(bool, phonetic);
    QFETCH(int, limitMode);
    QFETCH(int, count);
    QVERIFY(writeDictionary(dir_->path(), sampleRows(), storePassPhrase));
    PhoneticDictionary store;
    store.searchByCaption("^exa", 0);
    QVERIFY(!store.results().isEmpty());
    if (phonetic)
        store.searchByPhonetic(QStringLiteral("zz"), limitMode);
    else
        store.searchByCaption("^zz", limitMode);
    QCOMPARE(store.nearMatchesFrom(), count);
}

void TestDictionary::lookup_data()
{
    QTest::addColumn<QByteArray>("caption");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("two rows") << QByteArray("example")
                              << QStringList{QStringLiteral("example"),
                                             QStringLiteral(u"[i\u0261\u02C8z\u0251\u02D0mpl]"),
                                             QStringLiteral("n. a thing\nv. to show"),
                                             QStringLiteral("example"),
                                             QStringLiteral(u"[e\u0261\u02C8z\u00E6mpl]"),
                                             QStringLiteral("variant")};
    QTest::newRow("capital tag stays")
        << QByteArray("apple")
        << QStringList{QStringLiteral("apple"), QStringLiteral(u"[\u02C8\u00E6pl]"),
                       QStringLiteral("fruit<BR/>tree")};
    QTest::newRow("quote in the word")
        << QByteArray("say \"hi\"")
        << QStringList{QStringLiteral("say \"hi\""), QStringLiteral("[sei]"),
                       QStringLiteral("greet")};
    QTest::newRow("absent") << QByteArray("examples") << QStringList();
    QTest::newRow("quote injection") << QByteArray("x\" OR \"1\"=\"1") << QStringList();
}

void TestDictionary::lookup()
{
    QFETCH(QByteArray, caption);
    QFETCH(QStringList, expected);
    QVERIFY(writeDictionary(dir_->path(), sampleRows(), storePassPhrase));
    PhoneticDictionary store;
    QCOMPARE(store.lookupWord(caption), expected);
    QCOMPARE(store.results(), expected);
}

void TestDictionary::unusableDatabase_data()
{
    QTest::addColumn<bool>("makeDirectory");
    QTest::addColumn<QByteArray>("writtenWith");
    QTest::addColumn<bool>("opens");
    QTest::newRow("directory absent") << false << QByteArray() << false;
    QTest::newRow("file absent") << true << QByteArray() << true;
    QTest::newRow("other pass phrase") << true << QByteArray("other pass phrase") << true;
}

// Every query of a store that cannot read the dictionary leaves the results empty,
// including ones that a previous query had filled.
void TestDictionary::unusableDatabase()
{
    QFETCH(bool, makeDirectory);
    QFETCH(QByteArray, writtenWith);
    QFETCH(bool, opens);
    if (!writtenWith.isEmpty())
        QVERIFY(writeDictionary(dir_->path(), sampleRows(), writtenWith));
    else if (makeDirectory)
        QVERIFY(QDir(dir_->path()).mkpath(QStringLiteral("dict")));
    if (!opens)
        QTest::ignoreMessage(QtDebugMsg, "initDB(): Error");
    PhoneticDictionary store;
    QCOMPARE(store.initDB(), opens);
    store.searchByCaption("e", 1);
    QVERIFY(store.results().isEmpty());
    store.searchByPhonetic(QStringLiteral("ig"), 0);
    QVERIFY(store.results().isEmpty());
    QVERIFY(store.lookupWord("example").isEmpty());
}

QTEST_GUILESS_MAIN(TestDictionary)
#include "tst_dictionary.moc"
