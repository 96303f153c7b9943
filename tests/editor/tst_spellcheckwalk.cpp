// The document spell-check walk without a window: a tiny Hunspell pair in a temporary
// folder, and a script that answers each word the walk stops at.
#include "editor/spellcheckwalk.h"

#include "spelling/spellingengine.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

class TestSpellCheckWalk : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void walksAndApplies_data();
    void walksAndApplies();

private:
    QTemporaryDir dir;
};

void TestSpellCheckWalk::initTestCase()
{
    QVERIFY(dir.isValid());
    writeFile(dir.filePath(QStringLiteral("en_US.aff")), "SET UTF-8\nTRY elorwdh\n");
    writeFile(dir.filePath(QStringLiteral("en_US.dic")), "3\nhello\nworld\nthe\n");
}

void TestSpellCheckWalk::walksAndApplies_data()
{
    // Each answer is "<verb>[:text]": ignore, ignore all, replace, replace all, or edit
    // (text typed at the start of the document while the word is asked about, then ignore).
    QTest::addColumn<QString>("document");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QString>("result");

    QTest::newRow("replace all covers later paragraphs without a stop")
        << QStringLiteral("wrold hello wrold\n\nthe wrold zorkish")
        << QStringList{QStringLiteral("replace all:world"), QStringLiteral("ignore")}
        << QStringList{QStringLiteral("wrold"), QStringLiteral("zorkish")}
        << QStringLiteral("world hello world\n\nthe world zorkish");
    QTest::newRow("ignore all goes through the engine and lasts the walk")
        << QStringLiteral("zorkish hello\nzorkish wrold")
        << QStringList{QStringLiteral("ignore all"), QStringLiteral("ignore")}
        << QStringList{QStringLiteral("zorkish"), QStringLiteral("wrold")}
        << QStringLiteral("zorkish hello\nzorkish wrold");
    QTest::newRow("replace once asks again, and the walk goes on after the replacement")
        << QStringLiteral("wrold hello wrold")
        << QStringList{QStringLiteral("replace:zorkish wrold"), QStringLiteral("replace:")}
        << QStringList{QStringLiteral("wrold"), QStringLiteral("wrold")}
        << QStringLiteral("zorkish wrold hello ");
    QTest::newRow("an edit before the asked word moves the walk along")
        << QStringLiteral("wrold zorkish")
        << QStringList{QStringLiteral("edit:zorkish "), QStringLiteral("ignore")}
        << QStringList{QStringLiteral("wrold"), QStringLiteral("zorkish")}
        << QStringLiteral("zorkish wrold zorkish");
    QTest::newRow("punctuation stays around a replaced word")
        << QStringLiteral("\"wrold\", (wrold).") << QStringList{QStringLiteral("replace all:world")}
        << QStringList{QStringLiteral("wrold")} << QStringLiteral("\"world\", (world).");
}

void TestSpellCheckWalk::walksAndApplies()
{
    QFETCH(QString, document);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, asked);
    QFETCH(QString, result);

    QTextDocument doc(document);
    SpellingEngine engine(dir.filePath(QStringLiteral("en_US")), QString());
    SpellCheckWalk walk(&doc, engine);
    QStringList seen;
    for (SpellCheckWalk::Step step = walk.step(); step != SpellCheckWalk::Step::End;
         step = walk.step()) {
        if (step == SpellCheckWalk::Step::Checked)
            continue;
        const QString word = walk.word().selectedText();
        seen.append(word);
        QVERIFY2(seen.size() <= answers.size(), qPrintable(seen.join(QLatin1Char(' '))));
        const QString answer = answers.at(seen.size() - 1);
        const QString verb = answer.section(QLatin1Char(':'), 0, 0);
        const QString text = answer.section(QLatin1Char(':'), 1);
        if (verb == QLatin1String("ignore all"))
            engine.acceptForSession(word);
        else if (verb == QLatin1String("replace"))
            walk.replace(text);
        else if (verb == QLatin1String("replace all"))
            walk.replaceAll(text);
        else if (verb == QLatin1String("edit"))
            QTextCursor(&doc).insertText(text);
    }
    QCOMPARE(seen, asked);
    QCOMPARE(doc.toPlainText(), result);
}

QTEST_MAIN(TestSpellCheckWalk)
#include "tst_spellcheckwalk.moc"
