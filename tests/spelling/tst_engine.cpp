// SpellingEngine over tiny dictionary pairs written by each test into a temporary folder:
// the affix file's SET scan, every 8-bit charset a dictionary may declare, and the user
// dictionary's reading and appending rules.
#include "spelling/spellingengine.h"
#include "testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCodec>

#include <memory>

namespace {

// A dictionary pair at dir/base: the affix text as given, the words encoded by codecName.
QString writePair(const QTemporaryDir &dir, const QByteArray &affix, const QStringList &words,
                  const char *codecName = "ISO-8859-1")
{
    const QString base = dir.filePath(QStringLiteral("test"));
    writeFile(base + QStringLiteral(".aff"), affix);
    QTextCodec *codec = QTextCodec::codecForName(codecName);
    QByteArray dic = QByteArray::number(words.size()) + '\n';
    for (const QString &w : words)
        dic += codec->fromUnicode(w) + '\n';
    writeFile(base + QStringLiteral(".dic"), dic);
    return base;
}

} // namespace

class TestSpellingEngine final : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        tmp = std::make_unique<QTemporaryDir>();
        QVERIFY(tmp->isValid());
    }

    void setLineScan_data();
    void setLineScan();
    void declaredCharsets_data();
    void declaredCharsets();
    void unknownCharsetFallsBackToLatin1();
    void unencodableCharactersTakeTheCodecsReplacement();
    void userDictionaryReading_data();
    void userDictionaryReading();
    void addingTwiceAppendsTwoLines();
    void wordsTheFileCannotHoldAreRefused_data();
    void wordsTheFileCannotHoldAreRefused();
    void missingFolderIsCreated();
    void unwritableFileKeepsTheWordForTheSession();

private:
    QString userDict() const { return tmp->filePath(QStringLiteral("userDict.txt")); }
    // A fresh folder for every test function and data row.
    std::unique_ptr<QTemporaryDir> tmp;
};

void TestSpellingEngine::setLineScan_data()
{
    QTest::addColumn<QByteArray>("affix");
    QTest::addColumn<QString>("encoding");
    QTest::newRow("first line") << QByteArray("SET UTF-8\nTRY abc\n") << QStringLiteral("UTF-8");
    QTest::newRow("lower case") << QByteArray("set utf-8\n") << QStringLiteral("utf-8");
    QTest::newRow("after other lines")
        << QByteArray("# comment\nTRY abc\nSET KOI8-R\n") << QStringLiteral("KOI8-R");
    QTest::newRow("leading blanks") << QByteArray(" \t SET UTF-8\n") << QStringLiteral("UTF-8");
    QTest::newRow("byte order mark")
        << QByteArray("\xEF\xBB\xBFSET UTF-8\n") << QStringLiteral("UTF-8");
    // The British pair declares its charset after its comment block and a blank line.
    QTest::newRow("empty line before SET")
        << QByteArray("TRY abc\n\nSET UTF-8\n") << QStringLiteral("UTF-8");
    QTest::newRow("text before SET") << QByteArray("# SET UTF-8\n") << QStringLiteral("ISO8859-1");
}

void TestSpellingEngine::setLineScan()
{
    QFETCH(QByteArray, affix);
    QFETCH(QString, encoding);
    const QString base = writePair(*tmp, affix, {QStringLiteral("hello")});
    SpellingEngine engine(base, {});
    QCOMPARE(engine.encoding(), encoding);
    QVERIFY(engine.isCorrect(u"hello"));
}

void TestSpellingEngine::declaredCharsets_data()
{
    QTest::addColumn<QString>("declared");
    QTest::addColumn<QByteArray>("codec");
    QTest::addColumn<QString>("word");
    const auto row = [](const char *declared, const char *codec, const QString &word) {
        QTest::newRow(declared) << QString::fromLatin1(declared) << QByteArray(codec) << word;
    };
    row("ISO8859-1", "ISO-8859-1", QStringLiteral("café"));
    row("ISO8859-2", "ISO-8859-2", QStringLiteral("łódź"));
    row("ISO8859-3", "ISO-8859-3", QStringLiteral("ĉapelo"));
    row("ISO8859-4", "ISO-8859-4", QStringLiteral("ķēde"));
    row("ISO8859-5", "ISO-8859-5", QStringLiteral("мир"));
    row("ISO8859-6", "ISO-8859-6", QStringLiteral("سلام"));
    row("ISO8859-7", "ISO-8859-7", QStringLiteral("καλά"));
    row("ISO8859-8", "ISO-8859-8", QStringLiteral("שלום"));
    row("ISO8859-9", "ISO-8859-9", QStringLiteral("ağaç"));
    row("ISO8859-10", "ISO-8859-10", QStringLiteral("ŋár"));
    row("ISO8859-11", "TIS-620", QStringLiteral("ไทย"));
    row("ISO8859-13", "ISO-8859-13", QStringLiteral("ąžuolas"));
    row("ISO8859-14", "ISO-8859-14", QStringLiteral("ŵyn"));
    row("ISO8859-15", "ISO-8859-15", QStringLiteral("œuvre"));
    row("TIS620-2533", "TIS-620", QStringLiteral("ไทย"));
    row("KOI8-R", "KOI8-R", QStringLiteral("мир"));
    row("KOI8-U", "KOI8-U", QStringLiteral("їжак"));
    row("microsoft-cp1251", "windows-1251", QStringLiteral("мир"));
    row("UTF-8", "UTF-8", QStringLiteral("日本語"));
}

// The word is written in the charset's own bytes; it is found only when the engine
// converts through that same charset, and suggestions come back decoded through it.
void TestSpellingEngine::declaredCharsets()
{
    QFETCH(QString, declared);
    QFETCH(QByteArray, codec);
    QFETCH(QString, word);
    const QString base = writePair(*tmp, "SET " + declared.toLatin1() + '\n', {word}, codec);
    QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("Encoding set to ") + declared));
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    SpellingEngine engine(base, {});
    QCOMPARE(engine.encoding(), declared);
    QVERIFY(engine.isCorrect(word));
    QString swapped = word;
    std::swap(swapped[0], swapped[1]);
    QVERIFY(!engine.isCorrect(swapped));
    QVERIFY2(engine.suggestionsFor(swapped).contains(word),
             qPrintable(engine.suggestionsFor(swapped).join(u' ')));
}

void TestSpellingEngine::unknownCharsetFallsBackToLatin1()
{
    const QString base = writePair(*tmp, "SET X-NO-SUCH-CHARSET\n", {QStringLiteral("café")});
    QTest::ignoreMessage(QtDebugMsg, "Encoding set to X-NO-SUCH-CHARSET");
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("X-NO-SUCH-CHARSET")));
    SpellingEngine engine(base, {});
    QCOMPARE(engine.encoding(), QStringLiteral("ISO8859-1"));
    QVERIFY(engine.isCorrect(u"café"));
}

void TestSpellingEngine::unencodableCharactersTakeTheCodecsReplacement()
{
    // Latin-1 has no ĉ; its codec writes '?' in its place.
    const QString base = writePair(*tmp, "SET ISO8859-1\n", {QStringLiteral("x?y")});
    QTest::ignoreMessage(QtDebugMsg, "Encoding set to ISO8859-1");
    SpellingEngine engine(base, {});
    QVERIFY(engine.isCorrect(u"x\u0109y"));
    QVERIFY(!engine.isCorrect(u"xzy"));
}

void TestSpellingEngine::userDictionaryReading_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("known");
    QTest::addColumn<QStringList>("unknown");
    const QStringList both{QStringLiteral("zork"), QStringLiteral("frobnitz")};
    QTest::newRow("LF") << QByteArray("zork\nfrobnitz\n") << both << QStringList();
    QTest::newRow("CR LF") << QByteArray("zork\r\nfrobnitz\r\n") << both << QStringList();
    QTest::newRow("CR") << QByteArray("zork\rfrobnitz\r") << both << QStringList();
    QTest::newRow("empty line ends the list")
        << QByteArray("zork\n\nfrobnitz\n") << QStringList{QStringLiteral("zork")}
        << QStringList{QStringLiteral("frobnitz")};
}

void TestSpellingEngine::userDictionaryReading()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, known);
    QFETCH(QStringList, unknown);
    const QString base = writePair(*tmp, "TRY abc\n", {QStringLiteral("hello")});
    writeFile(userDict(), content);
    SpellingEngine engine(base, userDict());
    for (const QString &w : known)
        QVERIFY2(engine.isCorrect(w), qPrintable(w));
    for (const QString &w : unknown)
        QVERIFY2(!engine.isCorrect(w), qPrintable(w));
}

void TestSpellingEngine::addingTwiceAppendsTwoLines()
{
    const QString base = writePair(*tmp, "TRY abc\n", {QStringLiteral("hello")});
    writeFile(userDict(), "zork\n");
    SpellingEngine engine(base, userDict());
    QVERIFY(!engine.isCorrect(u"frobnitz"));
    engine.addToUserDictionary(QStringLiteral("frobnitz"));
    QVERIFY(engine.isCorrect(u"frobnitz"));
    engine.addToUserDictionary(QStringLiteral("frobnitz"));
    QCOMPARE(readAll(userDict()), QByteArray("zork\nfrobnitz\nfrobnitz\n"));
}

void TestSpellingEngine::wordsTheFileCannotHoldAreRefused_data()
{
    QTest::addColumn<QString>("word");
    QTest::newRow("empty") << QString();
    QTest::newRow("blanks") << QStringLiteral(" \t ");
    QTest::newRow("line feed") << QStringLiteral("ab\ncd");
    QTest::newRow("carriage return") << QStringLiteral("ab\rcd");
}

// An empty line would end the reading of the file, losing every word added after it.
void TestSpellingEngine::wordsTheFileCannotHoldAreRefused()
{
    QFETCH(QString, word);
    const QString base = writePair(*tmp, "TRY abc\n", {QStringLiteral("hello")});
    writeFile(userDict(), "zork\n");
    {
        SpellingEngine engine(base, userDict());
        engine.addToUserDictionary(word);
        engine.addToUserDictionary(QStringLiteral("frobnitz"));
    }
    QCOMPARE(readAll(userDict()), QByteArray("zork\nfrobnitz\n"));
    SpellingEngine reread(base, userDict());
    QVERIFY(reread.isCorrect(u"frobnitz"));
}

void TestSpellingEngine::missingFolderIsCreated()
{
    const QString base = writePair(*tmp, "TRY abc\n", {QStringLiteral("hello")});
    const QString path = tmp->filePath(QStringLiteral("users/new/userDict.txt"));
    // a learner who has added no word yet is not warned about the missing list
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    SpellingEngine engine(base, path);
    engine.addToUserDictionary(QStringLiteral("zork"));
    QCOMPARE(readAll(path), QByteArray("zork\n"));
}

void TestSpellingEngine::unwritableFileKeepsTheWordForTheSession()
{
    const QString base = writePair(*tmp, "TRY abc\n", {QStringLiteral("hello")});
    // A regular file where the folder should be: nothing can create or open the path.
    writeFile(tmp->filePath(QStringLiteral("users")), "not a folder");
    const QString path = tmp->filePath(QStringLiteral("users/userDict.txt"));
    SpellingEngine engine(base, path);
    QTest::ignoreMessage(
        QtWarningMsg,
        qPrintable(
            QStringLiteral("User dictionary in %1 could not be opened for appending a new word")
                .arg(path)));
    engine.addToUserDictionary(QStringLiteral("zork"));
    QVERIFY(engine.isCorrect(u"zork"));
}

QTEST_GUILESS_MAIN(TestSpellingEngine)
#include "tst_engine.moc"
