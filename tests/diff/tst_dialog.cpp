// DiffDialog: the coloured views after a comparison, repeated comparisons, the word view, the
// import of files that cannot be read or are not plain UTF-8, and where the file dialog starts.
// WordCheckDialog: what it shows and the lookup and the hearing its links ask for.
#include "diff/diffdialog.h"
#include "diff/wordcheck.h"
#include "diff/wordcheckdialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextEdit>
#include <QTimer>

#include <cmath>
#include <tuple>

namespace {

// One run of text with its look: colour name ("" when uncoloured), struck through,
// underlined.
using Run = std::tuple<QString, QString, bool, bool>;

// The runs of a document, neighbours of the same look merged.
QList<Run> runs(const QTextDocument *document)
{
    QList<Run> result;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const QString colour = format.hasProperty(QTextFormat::ForegroundBrush)
                                       ? format.foreground().color().name()
                                       : QString();
            const Run run{fragment.text(), colour, format.fontStrikeOut(), format.fontUnderline()};
            if (!result.isEmpty() && std::get<1>(result.last()) == colour &&
                std::get<2>(result.last()) == std::get<2>(run) &&
                std::get<3>(result.last()) == std::get<3>(run))
                std::get<0>(result.last()) += fragment.text();
            else
                result.append(run);
        }
    }
    return result;
}

QList<Run> runs(const QTextEdit *field)
{
    return runs(field->document());
}

// The runs of a label's rich text.
QList<Run> runs(const QLabel *label)
{
    QTextDocument document;
    document.setHtml(label->text());
    return runs(&document);
}

// The contrast ratio of two colours, 1 to 21.
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto linear = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Run plain(const QString &text)
{
    return {text, QString(), false, false};
}

void clickCompare(const DiffDialog &dialog)
{
    dialog.findChild<QPushButton *>(QStringLiteral("diffResult"))->click();
}

// Clicks the middle of the word where the browser shows it, as the learner would.
void clickWord(QTextBrowser *browser, const QString &word)
{
    const QTextCursor found = browser->document()->find(
        word, 0, QTextDocument::FindWholeWords | QTextDocument::FindCaseSensitively);
    QVERIFY2(!found.isNull(), qPrintable(word));
    QTextCursor middle(browser->document());
    middle.setPosition((found.selectionStart() + found.selectionEnd()) / 2);
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {},
                      browser->cursorRect(middle).center());
}

} // namespace

class TestDiffDialog final : public QObject
{
    Q_OBJECT

private slots:
    void titleAndSidesSayWhatTheyAre();
    void compare_data();
    void compare();
    void compareTwice();
    void wordViewMarksWholeWords();
    void wordCheckDialog();
    void unreadableFile_data();
    void unreadableFile();
    void importEncoding_data();
    void importEncoding();
    void importStartLocation_data();
    void importStartLocation();
};

// The reference is text A, whose own words the suggestion adds; the learner's text is B.
void TestDiffDialog::titleAndSidesSayWhatTheyAre()
{
    DiffDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("对比听写与参考原文"));
    const auto *source = dialog.findChild<QLabel *>(QStringLiteral("sourceTip"));
    const auto *target = dialog.findChild<QLabel *>(QStringLiteral("targetTip"));
    QVERIFY(source->text().startsWith(QStringLiteral("参考原文 — 对比文本A：")));
    QVERIFY(target->text().startsWith(QStringLiteral("你的听写 — 对比文本B：")));
}

void TestDiffDialog::compare_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QList<Run>>("aView");
    QTest::addColumn<QList<Run>>("bView");
    QTest::addColumn<QList<Run>>("suggestion");

    const QString blue = QStringLiteral("#0000ff");
    const QString red = QStringLiteral("#ff0000");
    QTest::newRow("two empty fields")
        << QString() << QString() << QList<Run>{plain(QStringLiteral(" "))}
        << QList<Run>{plain(QStringLiteral(" "))} << QList<Run>{plain(QStringLiteral(" "))};
    QTest::newRow("identical texts") << QStringLiteral("I like it") << QStringLiteral("I like it")
                                     << QList<Run>{plain(QStringLiteral("I like it "))}
                                     << QList<Run>{plain(QStringLiteral("I like it "))}
                                     << QList<Run>{plain(QStringLiteral("I like it "))};
    QTest::newRow("blanks kept") << QStringLiteral("  I  like\tit")
                                 << QStringLiteral("  I  like\tit")
                                 << QList<Run>{plain(QStringLiteral("  I  like\tit "))}
                                 << QList<Run>{plain(QStringLiteral("  I  like\tit "))}
                                 << QList<Run>{plain(QStringLiteral("  I  like\tit "))};
    QTest::newRow("changed last word")
        << QStringLiteral("I like apples") << QStringLiteral("I like pears")
        << QList<Run>{plain(QStringLiteral("I like ")),
                      {QStringLiteral("apples"), blue, false, false},
                      plain(QStringLiteral(" "))}
        << QList<Run>{plain(QStringLiteral("I like ")),
                      {QStringLiteral("pears"), red, false, false},
                      plain(QStringLiteral(" "))}
        << QList<Run>{plain(QStringLiteral("I like ")),
                      {QStringLiteral("pear"), red, true, false},
                      {QStringLiteral("apple"), blue, false, true},
                      plain(QStringLiteral("s "))};
}

void TestDiffDialog::compare()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QList<Run>, aView);
    QFETCH(QList<Run>, bView);
    QFETCH(QList<Run>, suggestion);

    DiffDialog dialog;
    auto *sourceFile = dialog.findChild<QTextEdit *>(QStringLiteral("sourceFile"));
    auto *targetFile = dialog.findChild<QTextEdit *>(QStringLiteral("targetFile"));
    auto *modifyFile = dialog.findChild<QTextBrowser *>(QStringLiteral("modifyFile"));
    QVERIFY(sourceFile && targetFile && modifyFile);
    sourceFile->setPlainText(a);
    targetFile->setPlainText(b);

    clickCompare(dialog);

    QCOMPARE(runs(sourceFile), aView);
    QCOMPARE(runs(targetFile), bView);
    QCOMPARE(runs(modifyFile), suggestion);
}

void TestDiffDialog::compareTwice()
{
    DiffDialog dialog;
    auto *sourceFile = dialog.findChild<QTextEdit *>(QStringLiteral("sourceFile"));
    auto *targetFile = dialog.findChild<QTextEdit *>(QStringLiteral("targetFile"));
    sourceFile->setPlainText(QStringLiteral("I like apples"));
    targetFile->setPlainText(QStringLiteral("I like pears"));

    clickCompare(dialog);
    const QList<Run> firstA = runs(sourceFile);
    const QList<Run> firstB = runs(targetFile);
    clickCompare(dialog);

    const auto withBlank = [](QList<Run> view) {
        std::get<0>(view.last()) += QLatin1Char(' ');
        return view;
    };
    QCOMPARE(runs(sourceFile), withBlank(firstA));
    QCOMPARE(runs(targetFile), withBlank(firstB));
}

// The word view marks the misheard word whole, where the letter view would mark "e" and "a"
// inside it, and its missed word asks for a lookup.
void TestDiffDialog::wordViewMarksWholeWords()
{
    DiffDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *sourceFile = dialog.findChild<QTextEdit *>(QStringLiteral("sourceFile"));
    auto *targetFile = dialog.findChild<QTextEdit *>(QStringLiteral("targetFile"));
    auto *modifyFile = dialog.findChild<QTextBrowser *>(QStringLiteral("modifyFile"));
    sourceFile->setPlainText(QStringLiteral("The weather is fine"));
    targetFile->setPlainText(QStringLiteral("the whether is fine"));
    QVERIFY(dialog.findChild<QRadioButton *>(QStringLiteral("letterView"))->isChecked());

    dialog.findChild<QRadioButton *>(QStringLiteral("wordView"))->click();
    clickCompare(dialog);

    // a misspelling, half an error of four words
    const QString misspelt = QColor(QLatin1String(misspellingColor)).name();
    QCOMPARE(runs(modifyFile), (QList<Run>{plain(QStringLiteral("Word accuracy: 88%The ")),
                                           {QStringLiteral("whether"), misspelt, true, false},
                                           plain(QStringLiteral(" ")),
                                           {QStringLiteral("weather"), misspelt, false, true},
                                           plain(QStringLiteral(" is fine"))}));
    QCOMPARE(runs(sourceFile), QList<Run>{plain(QStringLiteral("The weather is fine"))});
    QCOMPARE(runs(targetFile), QList<Run>{plain(QStringLiteral("the whether is fine"))});

    QSignalSpy lookups(&dialog, &DiffDialog::lookupRequested);
    clickWord(modifyFile, QStringLiteral("weather"));
    QCOMPARE(lookups, QList<QVariantList>{{QStringLiteral("weather")}});
}

void TestDiffDialog::wordCheckDialog()
{
    WordCheckDialog dialog;
    dialog.showCheck(checkWords(QStringLiteral("I don't like the weather"),
                                QStringLiteral("I do like the whether today")));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    // 6 reference words ("don't" is two), 1 missing + 1 extra + half for 1 misspelt: 1 - 2.5/6;
    // 20 letters, 3 missing, 5 extra and 2 misspelt: 1 - 10/20.
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("accuracy"))->text(),
             QStringLiteral("Word accuracy: 58%"));
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("letterAccuracy"))->text(),
             QStringLiteral("Letter accuracy: 50%"));
    const QString misspelt = QColor(QLatin1String(misspellingColor)).name();
    QCOMPARE(runs(dialog.findChild<QLabel *>(QStringLiteral("counts"))),
             (QList<Run>{plain(QStringLiteral("4 of 6 words right, 0 wrong, ")),
                         {QStringLiteral("1 misspelt"), misspelt, false, false},
                         plain(QStringLiteral(", 0 split or joined, 1 missing, 1 extra"))}));
    auto *sentence = dialog.findChild<QTextBrowser *>(QStringLiteral("sentence"));
    QCOMPARE(sentence->toPlainText(), QStringLiteral("I do not like the whether weather today"));
    const QList<Run> marked = runs(sentence);
    QVERIFY(marked.contains(Run{QStringLiteral("weather"), misspelt, false, true}));
    // readable on the sentence's background as drawn
    const QColor background = sentence->viewport()->grab().toImage().pixelColor(1, 1);
    QVERIFY2(contrast(QColor(misspelt), background) >= 4.5, qPrintable(background.name()));

    QSignalSpy lookups(&dialog, &WordCheckDialog::lookupRequested);
    QSignalSpy hearings(&dialog, &WordCheckDialog::hearRequested);
    clickWord(sentence, QStringLiteral("not"));
    clickWord(sentence, QStringLiteral("like"));
    clickWord(sentence, QStringLiteral("whether"));
    clickWord(sentence, QStringLiteral("weather"));
    // the missed words are heard and looked up; those typed right are neither
    const QList<QVariantList> missed{{QStringLiteral("not")}, {QStringLiteral("weather")}};
    QCOMPARE(lookups, missed);
    QCOMPARE(hearings, missed);
}

void TestDiffDialog::unreadableFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("missing") << QStringLiteral("missing.txt");
    QTest::newRow("directory") << QStringLiteral("folder");
    QTest::newRow("empty name") << QString();
}

void TestDiffDialog::unreadableFile()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    const QString path = name.isEmpty() ? name : dir.filePath(name);

    DiffDialog dialog;
    auto *sourceFile = dialog.findChild<QTextEdit *>(QStringLiteral("sourceFile"));
    auto *targetFile = dialog.findChild<QTextEdit *>(QStringLiteral("targetFile"));
    sourceFile->setPlainText(QStringLiteral("kept A"));
    targetFile->setPlainText(QStringLiteral("kept B"));

    dialog.importSourceFile(path);
    dialog.importTargetFile(path);

    QCOMPARE(sourceFile->toPlainText(), QStringLiteral("kept A"));
    QCOMPARE(targetFile->toPlainText(), QStringLiteral("kept B"));
}

void TestDiffDialog::importEncoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("utf-8") << QByteArray("caf\xc3\xa9 \xe4\xb8\xad") << QStringLiteral("café 中");
    QTest::newRow("utf-8 with mark") << QByteArray("\xef\xbb\xbf"
                                                   "caf\xc3\xa9")
                                     << QStringLiteral("café");
    QTest::newRow("utf-16le with mark") << QByteArray("\xff\xfe"
                                                      "c\0a\0f\0\xe9\0",
                                                      10)
                                        << QStringLiteral("café");
    QTest::newRow("latin-1") << QByteArray("caf\xe9 au lait") << QStringLiteral("café au lait");
    QTest::newRow("gb18030") << QByteArray("\xd6\xd0\xce\xc4 text") << QStringLiteral("中文 text");
    QTest::newRow("utf-16be with mark")
        << QByteArray("\xfe\xff\0c\0a\0f\0\xe9", 10) << QStringLiteral("café");
    QTest::newRow("utf-16le without mark")
        << QByteArray("W\0e\0 \0d\0o\0n\0\x19\x20t\0", 16) << QStringLiteral(u"We don\u2019t");
    // The GB18030 decoder accepts these bytes too, and turns them into Chinese.
    QTest::newRow("windows-1252")
        << QByteArray("We don\x92t think it\x92s late \x96 the caf\xe9 closes at ten.")
        << QStringLiteral("We don’t think it’s late – the café closes at ten.");
    // A detector takes these for a Mac code page, where 0x92 is a letter.
    QTest::newRow("windows-1252 apostrophes only") << QByteArray("We don\x92t think it\x92s late")
                                                   << QStringLiteral("We don’t think it’s late");
    QTest::newRow("gb18030 sentence")
        << QByteArray("\xce\xd2\xc3\xc7\xb2\xbb\xc8\xcf\xce\xaa\xcc\xab\xcd\xed\xc1\xcb\xa1\xa3")
        << QStringLiteral("我们不认为太晚了。");
}

void TestDiffDialog::importEncoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("text.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    DiffDialog dialog;
    auto *sourceFile = dialog.findChild<QTextEdit *>(QStringLiteral("sourceFile"));
    auto *targetFile = dialog.findChild<QTextEdit *>(QStringLiteral("targetFile"));
    dialog.importSourceFile(file.fileName());
    dialog.importTargetFile(file.fileName());

    QCOMPARE(sourceFile->toPlainText(), text);
    QCOMPARE(targetFile->toPlainText(), text);
}

void TestDiffDialog::importStartLocation_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("field");
    QTest::newRow("A") << QStringLiteral("importSource") << QStringLiteral("sourceFile");
    QTest::newRow("B") << QStringLiteral("outputTarget") << QStringLiteral("targetFile");
}

// The file dialog starts at home, then where the last file was chosen, and a cancel keeps
// that place.
void TestDiffDialog::importStartLocation()
{
    QFETCH(QString, button);
    QFETCH(QString, field);
    QTemporaryDir home;
    QTemporaryDir texts;
    QVERIFY(home.isValid() && texts.isValid());
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    QFile file(texts.filePath(QStringLiteral("text.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("imported");
    file.close();

    DiffDialog dialog;
    auto *importButton = dialog.findChild<QPushButton *>(button);
    auto *edit = dialog.findChild<QTextEdit *>(field);
    QVERIFY(importButton && edit);

    QStringList startDirectories;
    QStringList filters;
    // Answers the next file dialog: picks the text file, or cancels.
    const auto answer = [&](bool pick) {
        QTimer::singleShot(0, [&, pick] {
            auto *fileDialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!fileDialog)
                return;
            startDirectories.append(QDir(fileDialog->directory()).canonicalPath());
            filters = fileDialog->nameFilters();
            if (pick) {
                fileDialog->selectFile(file.fileName());
                static_cast<QDialog *>(fileDialog)->accept();
            } else {
                fileDialog->reject();
            }
        });
    };
    answer(true);
    importButton->click();
    QCOMPARE(edit->toPlainText(), QStringLiteral("imported"));
    edit->clear();
    answer(false);
    importButton->click();
    QCOMPARE(edit->toPlainText(), QString());
    answer(false);
    importButton->click();
    qputenv("HOME", oldHome);

    const QString textsPath = QDir(texts.path()).canonicalPath();
    QCOMPARE(startDirectories,
             (QStringList{QDir(home.path()).canonicalPath(), textsPath, textsPath}));
    QCOMPARE(filters, QStringList{QStringLiteral("*.txt")});
}

int main(int argc, char *argv[])
{
    // Widget-based file dialogs, which the test can find and answer.
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    TestDiffDialog test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_dialog.moc"
