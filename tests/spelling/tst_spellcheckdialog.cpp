// SpellCheckDialog over a tiny Hunspell pair in a temporary folder: the answer of every
// button and what it does to the engine, the suggestions and the replacement field, and the
// word shown as it is, markup characters included.
#include "spelling/spellcheckdialog.h"
#include "spelling/spellingengine.h"
#include "testfiles.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include <functional>
#include <memory>

class TestSpellCheckDialog final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void answers_data();
    void answers();
    void suggestionsFillListAndField_data();
    void suggestionsFillListAndField();
    void wordIsShownAsWritten();

private:
    // Runs checkWord(word) and, once the dialog is up, hands it to act.
    SpellCheckAction ask(const QString &word, const std::function<void()> &act);
    template <typename T> T *child(const char *name) const
    {
        return dialog->findChild<T *>(QLatin1String(name));
    }

    QTemporaryDir dir;
    std::unique_ptr<SpellingEngine> engine;
    std::unique_ptr<SpellCheckDialog> dialog;
};

void TestSpellCheckDialog::initTestCase()
{
    QVERIFY(dir.isValid());
    writeFile(dir.filePath(QStringLiteral("en_US.aff")), "SET UTF-8\nTRY esaitrnold\n");
    writeFile(dir.filePath(QStringLiteral("en_US.dic")), "5\nhello\nworld\nword\nwords\nsword\n");
}

void TestSpellCheckDialog::init()
{
    engine = std::make_unique<SpellingEngine>(dir.filePath(QStringLiteral("en_US")), QString());
    dialog = std::make_unique<SpellCheckDialog>(engine.get());
}

void TestSpellCheckDialog::cleanup()
{
    dialog.reset();
    engine.reset();
}

SpellCheckAction TestSpellCheckDialog::ask(const QString &word, const std::function<void()> &act)
{
    // Posted before the dialog's own event loop starts, so it runs with the dialog up.
    QTimer::singleShot(0, dialog.get(), [&] {
        QCOMPARE(QApplication::activeModalWidget(), dialog.get());
        act();
        // a failed check inside act must not leave the dialog waiting for an answer
        if (dialog->isVisible())
            dialog->reject();
    });
    return dialog->checkWord(word);
}

void TestSpellCheckDialog::answers_data()
{
    QTest::addColumn<QString>("button");     // a button's name, or "escape" / "close"
    QTest::addColumn<int>("expected");       // a SpellCheckAction
    QTest::addColumn<bool>("engineAccepts"); // the engine knows the word afterwards
    QTest::addColumn<bool>("addSignalled");

    QTest::newRow("ignore once") << "btnIgnoreOnce" << int(SpellCheckAction::IgnoreOnce) << false
                                 << false;
    QTest::newRow("ignore all") << "btnIgnoreAll" << int(SpellCheckAction::IgnoreAll) << true
                                << false;
    QTest::newRow("replace once") << "btnReplaceOnce" << int(SpellCheckAction::ReplaceOnce) << false
                                  << false;
    QTest::newRow("replace all") << "btnReplaceAll" << int(SpellCheckAction::ReplaceAll) << false
                                 << false;
    QTest::newRow("add to dictionary")
        << "btnAddToDict" << int(SpellCheckAction::AddToDict) << true << true;
    QTest::newRow("cancel") << "btnCancel" << int(SpellCheckAction::CheckCancelled) << false
                            << false;
    QTest::newRow("Escape") << "escape" << int(SpellCheckAction::CheckCancelled) << false << false;
    QTest::newRow("window closed")
        << "close" << int(SpellCheckAction::CheckCancelled) << false << false;
}

void TestSpellCheckDialog::answers()
{
    QFETCH(QString, button);
    QFETCH(int, expected);
    QFETCH(bool, engineAccepts);
    QFETCH(bool, addSignalled);

    QSignalSpy added(dialog.get(), &SpellCheckDialog::newDictSig);
    // a cancelled question after an answered one must not report the earlier answer
    QCOMPARE(ask(QStringLiteral("wrold"), [this] { child<QPushButton>("btnIgnoreOnce")->click(); }),
             SpellCheckAction::IgnoreOnce);
    const SpellCheckAction action = ask(QStringLiteral("zorkish"), [&] {
        if (button == QLatin1String("escape"))
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        else if (button == QLatin1String("close"))
            dialog->close();
        else
            child<QPushButton>(qPrintable(button))->click();
    });
    QCOMPARE(int(action), expected);
    QVERIFY(dialog->isHidden());
    QCOMPARE(engine->isCorrect(u"zorkish"), engineAccepts);
    QCOMPARE(added.count(), addSignalled ? 1 : 0);
    QVERIFY(!engine->isCorrect(u"wrold"));
}

void TestSpellCheckDialog::suggestionsFillListAndField_data()
{
    QTest::addColumn<QString>("word");
    QTest::newRow("several suggestions") << QStringLiteral("wordd");
    QTest::newRow("no suggestions") << QStringLiteral("qqxqqxqq");
}

void TestSpellCheckDialog::suggestionsFillListAndField()
{
    QFETCH(QString, word);
    const QStringList suggestions = engine->suggestionsFor(word);
    auto *list = child<QListWidget>("listWidget");
    auto *field = child<QLineEdit>("ledtReplaceWith");

    // A question before leaves its own suggestions and typing behind.
    ask(QStringLiteral("wrold"), [&] {
        field->setText(QStringLiteral("typed"));
        child<QPushButton>("btnIgnoreOnce")->click();
    });

    QStringList shown;
    QString fieldShown;
    int current = -2;
    qsizetype selected = -1;
    QString afterSecondRow;
    ask(word, [&] {
        for (int i = 0; i < list->count(); ++i)
            shown.append(list->item(i)->text());
        fieldShown = field->text();
        current = list->currentRow();
        selected = list->selectedItems().size();
        if (list->count() > 1) {
            // the learner edits the field; picking another suggestion overwrites it
            QTest::keyClicks(field, QStringLiteral("xy"));
            list->setCurrentRow(1);
            afterSecondRow = dialog->replacementText();
        }
        child<QPushButton>("btnReplaceOnce")->click();
    });

    QCOMPARE(shown, suggestions);
    if (suggestions.isEmpty()) {
        QCOMPARE(fieldShown, QString());
        QCOMPARE(current, -1);
    } else {
        QVERIFY(suggestions.size() > 1);
        QCOMPARE(fieldShown, suggestions.first());
        QCOMPARE(current, 0);
        QCOMPARE(selected, 1);
        QCOMPARE(afterSecondRow, suggestions.at(1));
    }
}

void TestSpellCheckDialog::wordIsShownAsWritten()
{
    const QString word = QStringLiteral("<i>a&b</i>");
    QString label;
    ask(word, [&] {
        label = child<QLabel>("lblUnknownWord")->text();
        child<QPushButton>("btnIgnoreAll")->click();
    });
    QTextDocument shown;
    shown.setHtml(label);
    QCOMPARE(shown.toPlainText(), word);
    QVERIFY(label.startsWith(QLatin1String("<b>")));
    // everywhere else it is the word itself
    QVERIFY(engine->isCorrect(word));
}

QTEST_MAIN(TestSpellCheckDialog)
#include "tst_spellcheckdialog.moc"
