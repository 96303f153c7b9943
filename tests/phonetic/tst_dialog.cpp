// PhoneticDialog over a small enciphered dictionary in a temporary working directory: the
// opening state, delayed searches in both modes, the symbol keys and the focus, Return's
// unlimited search, the list refill and entry display, the Hear button, unreadable
// dictionaries; and the style that leaves out focus rectangles.
#include "phonetic/dictionaryfixture.h"
#include "phonetic/phoneticdialog.h"
#include "studystyle/nofocusrectanglestyle.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>

namespace {

QList<Row> sampleRows()
{
    QList<Row> rows{
        {"example", "i&#609;&#712;z&#593;&#720;mpl", "n. a thing<br/>v. to show"},
        {"exampling", "i&#609;&#712;z&#593;&#720;mpli&#331;", "showing"},
        {"exam", "i&#609;&#712;z&#230;m", "test"},
        {"exact", "i&#609;&#712;z&#230;kt", "precise"},
        {"air", "&#603;&#601;", "what we breathe"},
    };
    for (int i = 0; i < 150; ++i)
        rows.append({"zz" + QByteArray::number(i), "zz", "filler"});
    return rows;
}

const QString exampleEntry =
    QStringLiteral(u"example\n[i\u0261\u02C8z\u0251\u02D0mpl]\nn. a thing\nv. to show");

// Whether the dialog's delayed search after typing is still to run.
bool searchPending(const QDialog &dialog)
{
    const QList<QTimer *> timers = dialog.findChildren<QTimer *>();
    return std::any_of(timers.begin(), timers.end(), [](const QTimer *t) { return t->isActive(); });
}

QStringList texts(const QListWidget *list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result.append(list->item(i)->text());
    return result;
}

// The rows of what was typed, before the heading of the near matches.
int exactRows(const QListWidget *list)
{
    for (int i = 0; i < list->count(); ++i) {
        if (!(list->item(i)->flags() & Qt::ItemIsEnabled))
            return i;
    }
    return list->count();
}

} // namespace

class TestDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void openingState();
    void typing_data();
    void typing();
    void symbolKeys_data();
    void symbolKeys();
    void keysKeepTheFocusAndSearch();
    void returnKey_data();
    void returnKey();
    void modeChangeAloneDoesNotSearch();
    void refillShowsTheFirstEntryAndLookupsWork();
    void emptyResultSaysWhy_data();
    void emptyResultSaysWhy();
    void usageTextFits();
    void hearButtonAsksForTheChosenWord();
    void unreadableDictionarySaysSo_data();
    void unreadableDictionarySaysSo();
    void noFocusRectangleStyle_data();
    void noFocusRectangleStyle();

private:
    // Opens a dialog over the sample dictionary, shown and active so focus can be checked.
    std::unique_ptr<PhoneticDialog> openDialog();
    template <typename T> static T *child(const PhoneticDialog &dialog, const char *name)
    {
        return dialog.findChild<T *>(QLatin1String(name));
    }

    std::unique_ptr<QTemporaryDir> dir_;
    QString previousDir_;
};

void TestDialog::initTestCase()
{
    // The run tree's font, so the symbols render as the program shows them.
    QVERIFY(QFontDatabase::addApplicationFont(QStringLiteral("./font/mensch.ttf")) >= 0);
    QTest::failOnWarning(QRegularExpression(QStringLiteral("connectSlotsByName")));
}

// Every test runs in its own working directory, as the store finds "./dict" from there.
void TestDialog::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    previousDir_ = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir_->path()));
}

void TestDialog::cleanup()
{
    QDir::setCurrent(previousDir_);
    dir_.reset();
}

std::unique_ptr<PhoneticDialog> TestDialog::openDialog()
{
    if (!writeDictionary(dir_->path(), sampleRows(), storePassPhrase))
        return nullptr;
    auto dialog = std::make_unique<PhoneticDialog>();
    dialog->show();
    dialog->activateWindow();
    if (!QTest::qWaitForWindowActive(dialog.get()))
        return nullptr;
    return dialog;
}

void TestDialog::openingState()
{
    const auto dialog = openDialog();
    QVERIFY(dialog);
    const auto *list = child<QListWidget>(*dialog, "displayResult");
    QCOMPARE(texts(list), (QStringList{QStringLiteral("example"), QStringLiteral("exampling")}));
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(child<QTextEdit>(*dialog, "displayFull")->toPlainText(), exampleEntry);
    QCOMPARE(child<QLineEdit>(*dialog, "inputPhonetic")->text(), QStringLiteral(u"igz\u0251:mpl"));
    // A search would refill the list, which leaves no row current: none is pending.
    QVERIFY(!searchPending(*dialog));
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->currentRow(), 0);
}

void TestDialog::typing_data()
{
    QTest::addColumn<bool>("caption");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("expected");
    // the entries the typing covers most of first
    const QStringList exa{QStringLiteral("exam"), QStringLiteral("exact"),
                          QStringLiteral("example"), QStringLiteral("exampling")};
    QTest::newRow("phonetic") << false << QStringLiteral("igz") << 4 << exa;
    QTest::newRow("phonetic limited to 100 rows")
        << false << QStringLiteral("zz") << 100 << QStringList();
    QTest::newRow("phonetic without tokens") << false << QStringLiteral("[x") << 0 << QStringList();
    QTest::newRow("caption regular expression") << true << QStringLiteral("^exa") << 4 << exa;
    QTest::newRow("caption limited to 100 rows")
        << true << QStringLiteral("^zz") << 100 << QStringList();
    QTest::newRow("caption invalid expression")
        << true << QStringLiteral("(exa") << 0 << QStringList();
}

void TestDialog::typing()
{
    QFETCH(bool, caption);
    QFETCH(QString, typed);
    QFETCH(int, count);
    QFETCH(QStringList, expected);
    const auto dialog = openDialog();
    QVERIFY(dialog);
    if (caption)
        child<QRadioButton>(*dialog, "captionMode")->click();
    auto *input = child<QLineEdit>(*dialog, "inputPhonetic");
    const auto *list = child<QListWidget>(*dialog, "displayResult");
    input->clear();
    QTest::keyClicks(input, typed);
    // The search waits for the event loop; until then the list is untouched.
    QCOMPARE(list->count(), 2);
    QTRY_COMPARE(exactRows(list), count);
    if (!expected.isEmpty())
        QCOMPARE(texts(list).mid(0, count), expected);
    QCOMPARE(list->currentRow(), count > 0 ? 0 : -1);
}

void TestDialog::symbolKeys_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("symbol");
    for (char16_t symbol : u"æðθŋɑəɡɔʃʌʒɛ") {
        if (!symbol)
            break;
        const QString name = QLatin1Char('k') + QString::number(int(symbol));
        QTest::newRow(qPrintable(name)) << name << QString(QChar(symbol));
    }
}

// Each key keeps its size and inserts its own symbol at the cursor, replacing the selection.
void TestDialog::symbolKeys()
{
    QFETCH(QString, key);
    QFETCH(QString, symbol);
    const auto dialog = openDialog();
    QVERIFY(dialog);
    auto *input = child<QLineEdit>(*dialog, "inputPhonetic");
    input->setText(QStringLiteral("abc"));
    input->setSelection(1, 1);
    auto *button = dialog->findChild<QPushButton *>(key);
    QVERIFY(button);
    QCOMPARE(button->text(), symbol);
    // The dialog's button rules must not widen a key over its neighbour.
    QCOMPARE(button->size(), QSize(37, 31));
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(input->text(), QLatin1Char('a') + symbol + QLatin1Char('c'));
}

void TestDialog::keysKeepTheFocusAndSearch()
{
    const auto dialog = openDialog();
    QVERIFY(dialog);
    auto *input = child<QLineEdit>(*dialog, "inputPhonetic");
    const auto *list = child<QListWidget>(*dialog, "displayResult");
    input->clear();
    input->setFocus();
    QTRY_VERIFY(input->hasFocus());
    // Focus that lands anywhere but the input; a late window activation on a busy machine
    // may hand the focus to the input once more, which is no fault.
    QList<QWidget *> focused;
    const QObject watching;
    connect(qApp, &QApplication::focusChanged, &watching,
            [&focused, input](QWidget *, QWidget *now) {
                if (now != input)
                    focused.append(now);
            });

    // ɛ alone is read as a learner's e, which finds the ɛ of ɛə too.
    QTest::mouseClick(child<QPushButton>(*dialog, "k603"), Qt::LeftButton);
    QCOMPARE(input->text(), QStringLiteral(u"\u025B"));
    QTRY_COMPARE(texts(list).mid(0, 1), QStringList{QStringLiteral("air")});
    QTest::keyClick(input, Qt::Key_Backspace);
    QTRY_COMPARE(list->count(), 0);
    // ɛə is one.
    QTest::mouseClick(child<QPushButton>(*dialog, "k601"), Qt::LeftButton);
    QTRY_COMPARE(texts(list), QStringList{QStringLiteral("air")});

    QCOMPARE(focused, QList<QWidget *>());
    QVERIFY(input->hasFocus());
}

void TestDialog::returnKey_data()
{
    QTest::addColumn<bool>("caption");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<int>("count");
    QTest::newRow("phonetic all rows")
        << false << QStringLiteral("zz") << QStringList{QStringLiteral("zz0")} << 150;
    QTest::newRow("caption all rows")
        << true << QStringLiteral("^zz") << QStringList{QStringLiteral("zz0")} << 150;
    // Nothing typed: the text on show since the opening is searched.
    QTest::newRow("opening text") << false << QString()
                                  << QStringList{QStringLiteral("example"),
                                                 QStringLiteral("exampling")}
                                  << 2;
    QTest::newRow("opening text in caption mode") << true << QString() << QStringList() << 0;
}

void TestDialog::returnKey()
{
    QFETCH(bool, caption);
    QFETCH(QString, typed);
    QFETCH(QStringList, first);
    QFETCH(int, count);
    const auto dialog = openDialog();
    QVERIFY(dialog);
    if (caption)
        child<QRadioButton>(*dialog, "captionMode")->click();
    auto *input = child<QLineEdit>(*dialog, "inputPhonetic");
    const auto *list = child<QListWidget>(*dialog, "displayResult");
    if (!typed.isEmpty()) {
        input->clear();
        QTest::keyClicks(input, typed);
        QTRY_COMPARE(exactRows(list), 100);
    }
    QTest::keyClick(input, Qt::Key_Return);
    QCOMPARE(exactRows(list), count);
    QCOMPARE(texts(list).mid(0, int(first.size())), first);
    QCOMPARE(list->currentRow(), count > 0 ? 0 : -1);
}

void TestDialog::modeChangeAloneDoesNotSearch()
{
    const auto dialog = openDialog();
    QVERIFY(dialog);
    auto *input = child<QLineEdit>(*dialog, "inputPhonetic");
    const auto *list = child<QListWidget>(*dialog, "displayResult");
    input->setText(QStringLiteral("^exa"));
    QTRY_COMPARE(list->count(), 0);
    QTest::mouseClick(child<QRadioButton>(*dialog, "captionMode"), Qt::LeftButton);
    QVERIFY(!searchPending(*dialog));
    QCOMPARE(list->count(), 0);
    QTest::keyClick(input, Qt::Key_Return);
    QCOMPARE(list->count(), 4);
}

// A refill shows the first word's entry at once, never the previous search's; afterwards
// clicks and row changes show entries again, refill after refill.
void TestDialog::refillShowsTheFirstEntryAndLookupsWork()
{
    const auto dialog = openDialog();
    QVERIFY(dialog);
    auto *input = child<QLineEdit>(*dialog, "inputPhonetic");
    auto *list = child<QListWidget>(*dialog, "displayResult");
    auto *full = child<QTextEdit>(*dialog, "displayFull");
    const std::pair<QString, int> searches[] = {{QStringLiteral(u"z\u00E6k"), 1},
                                                {QStringLiteral("gz"), 4}};
    for (const auto &[typed, count] : searches) {
        list->setCurrentRow(list->count() - 1);
        input->clear();
        QTest::keyClicks(input, typed);
        QTRY_COMPARE(exactRows(list), count);
        QCOMPARE(list->currentRow(), 0);
        QVERIFY2(full->toPlainText().startsWith(list->item(0)->text() + QLatin1Char('\n')),
                 qPrintable(full->toPlainText()));

        const QList<QListWidgetItem *> found =
            list->findItems(QStringLiteral("exact"), Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        const QListWidgetItem *exact = found[0];
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(exact).center());
        QCOMPARE(full->toPlainText(), QStringLiteral(u"exact\n[i\u0261\u02C8z\u00E6kt]\nprecise"));
        // A click on the current row changes no row: only the click connection shows it.
        full->clear();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(exact).center());
        QCOMPARE(full->toPlainText(), QStringLiteral(u"exact\n[i\u0261\u02C8z\u00E6kt]\nprecise"));
    }
    const QString screenshot = qEnvironmentVariable("VORLYN_SCREENSHOT");
    if (!screenshot.isEmpty())
        QVERIFY(dialog->grab().save(screenshot));
}

void TestDialog::emptyResultSaysWhy_data()
{
    QTest::addColumn<bool>("caption");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("said");
    QTest::newRow("no sound matches")
        << false << QStringLiteral("bbb") << QStringLiteral("No word sounds like \"bbb\".");
    QTest::newRow("no pronunciation")
        << false << QStringLiteral("xyz")
        << QStringLiteral("\"xyz\" cannot be read as a pronunciation.");
    QTest::newRow("no caption matches")
        << true << QStringLiteral("^zzz") << QStringLiteral("No word matches \"^zzz\".");
    QTest::newRow("no pattern") << true << QStringLiteral("ex(")
                                << QStringLiteral(
                                       "\"ex(\" is not a search pattern the dialog can read.");
}

void TestDialog::emptyResultSaysWhy()
{
    QFETCH(bool, caption);
    QFETCH(QString, typed);
    QFETCH(QString, said);
    const auto dialog = openDialog();
    QVERIFY(dialog);
    if (caption)
        child<QRadioButton>(*dialog, "captionMode")->click();
    child<QLineEdit>(*dialog, "inputPhonetic")->setText(typed);
    const auto *full = child<QTextEdit>(*dialog, "displayFull");
    QTRY_VERIFY2(full->toPlainText().startsWith(said), qPrintable(full->toPlainText()));
    QCOMPARE(child<QListWidget>(*dialog, "displayResult")->count(), 0);
    // The sounds a learner can type in plain letters are named, with an example.
    if (!caption)
        QVERIFY(full->toPlainText().contains(QStringLiteral("igza:mpl finds example")));
}

// The usage text is shown whole inside its box.
void TestDialog::usageTextFits()
{
    const auto dialog = openDialog();
    QVERIFY(dialog);
    const auto *label = child<QLabel>(*dialog, "manualLabel");
    const auto *group = child<QGroupBox>(*dialog, "manualGroup");
    QVERIFY(group->geometry().right() < dialog->width());
    QVERIFY(group->geometry().bottom() < child<QRadioButton>(*dialog, "phoneticMode")->y());
    QTRY_VERIFY(label->isVisible());
    QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
             qPrintable(QStringLiteral("%1 > %2")
                            .arg(label->heightForWidth(label->width()))
                            .arg(label->height())));
    QVERIFY(group->contentsRect().contains(label->geometry()));
}

// Hear asks for the word chosen in the list, by a click or its key, and can be pressed only
// while a word is chosen; it sits clear of the dialog's other widgets.
void TestDialog::hearButtonAsksForTheChosenWord()
{
    const auto dialog = openDialog();
    QVERIFY(dialog);
    auto *hear = child<QPushButton>(*dialog, "hearButton");
    QVERIFY(hear);
    QVERIFY(hear->isVisible());
    QCOMPARE(hear->text(), QStringLiteral("&Hear"));
    QVERIFY(dialog->rect().contains(hear->geometry()));
    for (const QWidget *other : dialog->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        QVERIFY2(other == hear || !other->geometry().intersects(hear->geometry()),
                 qPrintable(other->objectName()));
    QVERIFY(hear->sizeHint().width() <= hear->width());

    QSignalSpy asked(dialog.get(), &PhoneticDialog::hearRequested);
    QVERIFY(hear->isEnabled());
    QTest::mouseClick(hear, Qt::LeftButton);
    auto *list = child<QListWidget>(*dialog, "displayResult");
    list->setCurrentRow(1);
    // the key presses the button as a click does, a moment later
    QTest::keyClick(dialog.get(), Qt::Key_H, Qt::AltModifier);
    QTRY_COMPARE(asked,
                 (QList<QVariantList>{{QStringLiteral("example")}, {QStringLiteral("exampling")}}));

    // nothing found, nothing to hear
    child<QLineEdit>(*dialog, "inputPhonetic")->setText(QStringLiteral("bbb"));
    QTRY_COMPARE(list->count(), 0);
    QVERIFY(!hear->isEnabled());
    QTest::mouseClick(hear, Qt::LeftButton);
    QCOMPARE(asked.size(), 2);
}

// A dictionary that is missing, keyed otherwise or damaged opens the dialog as usual;
// a search then finds nothing and says that the dictionary cannot be read.
void TestDialog::unreadableDictionarySaysSo_data()
{
    QTest::addColumn<QByteArray>("writtenWith");
    QTest::addColumn<QString>("damage");
    QTest::newRow("no database") << QByteArray() << QString();
    QTest::newRow("other pass phrase") << QByteArray("other pass phrase") << QString();
    QTest::newRow("cut after its first page") << storePassPhrase << QStringLiteral("cut");
    QTest::newRow("pages overwritten") << storePassPhrase << QStringLiteral("overwrite");
}

void TestDialog::unreadableDictionarySaysSo()
{
    QFETCH(QByteArray, writtenWith);
    QFETCH(QString, damage);
    if (writtenWith.isEmpty())
        QTest::ignoreMessage(QtDebugMsg, "initDB(): Error");
    else
        QVERIFY(writeDictionary(dir_->path(), sampleRows(), writtenWith));
    QFile file(QStringLiteral("dict/words.db"));
    if (damage == QLatin1String("cut")) {
        QVERIFY(file.resize(1024));
    } else if (damage == QLatin1String("overwrite")) {
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(1024));
        QVERIFY(file.write(QByteArray(int(file.size()) - 1024, '\x5a')) > 0);
        file.close();
    }
    PhoneticDialog dialog;
    auto *input = child<QLineEdit>(dialog, "inputPhonetic");
    auto *list = child<QListWidget>(dialog, "displayResult");
    const auto *full = child<QTextEdit>(dialog, "displayFull");
    QCOMPARE(list->count(), 2);
    QCOMPARE(full->toPlainText(), QString());
    list->setCurrentRow(1);
    QCOMPARE(full->toPlainText(), QString());
    for (const bool caption : {false, true}) {
        if (caption)
            child<QRadioButton>(dialog, "captionMode")->click();
        input->setText(caption ? QStringLiteral("^ex") : QStringLiteral("igz"));
        QTest::keyClick(input, Qt::Key_Return);
        QCOMPARE(list->count(), 0);
        QVERIFY2(full->toPlainText().startsWith(
                     QStringLiteral("The dictionary \"./dict/words.db\" cannot be read: ")),
                 qPrintable(full->toPlainText()));
    }
}

void TestDialog::noFocusRectangleStyle_data()
{
    QTest::addColumn<bool>("focusRectangle");
    QTest::addColumn<QString>("widgetClass");
    QTest::addColumn<bool>("drawn");
    QTest::newRow("focus rectangle, list widget") << true << QStringLiteral("QListWidget") << false;
    QTest::newRow("focus rectangle, push button") << true << QStringLiteral("QPushButton") << false;
    QTest::newRow("focus rectangle, line edit") << true << QStringLiteral("QLineEdit") << true;
    QTest::newRow("focus rectangle, no widget") << true << QString() << true;
    QTest::newRow("push button, tree widget") << false << QStringLiteral("QTreeWidget") << false;
    QTest::newRow("push button, push button") << false << QStringLiteral("QPushButton") << true;
    QTest::newRow("push button, no widget") << false << QString() << true;
}

void TestDialog::noFocusRectangleStyle()
{
    QFETCH(bool, focusRectangle);
    QFETCH(QString, widgetClass);
    QFETCH(bool, drawn);
    std::unique_ptr<QWidget> widget;
    if (widgetClass == QLatin1String("QListWidget"))
        widget = std::make_unique<QListWidget>();
    else if (widgetClass == QLatin1String("QPushButton"))
        widget = std::make_unique<QPushButton>();
    else if (widgetClass == QLatin1String("QLineEdit"))
        widget = std::make_unique<QLineEdit>();
    else if (widgetClass == QLatin1String("QTreeWidget"))
        widget = std::make_unique<QTreeWidget>();

    NoFocusRectangleStyle style;
    QImage image(60, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const QImage blank = image;
    {
        QPainter painter(&image);
        if (focusRectangle) {
            QStyleOptionFocusRect option;
            option.rect = image.rect().adjusted(4, 4, -4, -4);
            option.state = QStyle::State_Enabled | QStyle::State_HasFocus;
            style.drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, widget.get());
        } else {
            QStyleOptionButton option;
            option.rect = image.rect();
            option.state = QStyle::State_Enabled | QStyle::State_Raised;
            option.text = QStringLiteral("x");
            style.drawControl(QStyle::CE_PushButton, &option, &painter, widget.get());
        }
    }
    QCOMPARE(image != blank, drawn);
}

QTEST_MAIN(TestDialog)
#include "tst_dialog.moc"
