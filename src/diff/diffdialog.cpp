#include "diff/diffdialog.h"

#include "diff/diffengine.h"
#include "diff/diffrender.h"
#include "diff/wordcheck.h"
#include "studystyle/nofocusrectanglestyle.h"
#include "text/plaintext.h"

#include "ui_diffdialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

DiffDialog::DiffDialog(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::DiffDialog>())
{
    ui->setupUi(this);
    setStyleSheet(studyToolButtonStyleSheet +
                  QLatin1String("\nQTextBrowser { background-color: #f0eff3; }"));
    // Created after the buttons, so as later children of the dialog they are destroyed
    // after the buttons that draw with them.
    for (QPushButton *button : {ui->importSource, ui->outputTarget, ui->diffResult}) {
        auto *style = new NoFocusRectangleStyle;
        style->setParent(this);
        button->setStyle(style);
    }

    connect(ui->importSource, &QPushButton::clicked, this,
            [this] { importSourceFile(askForFile(sourceLocation_)); });
    connect(ui->outputTarget, &QPushButton::clicked, this,
            [this] { importTargetFile(askForFile(targetLocation_)); });
    connect(ui->diffResult, &QPushButton::clicked, this, &DiffDialog::compare);
    // Choosing the other view shows the comparison on show in it.
    connect(ui->wordView, &QRadioButton::toggled, this, [this] {
        if (!ui->modifyFile->document()->isEmpty())
            compare();
    });
    ui->modifyFile->setOpenLinks(false);
    connect(ui->modifyFile, &QTextBrowser::anchorClicked, this, [this](const QUrl &link) {
        const QString word = lookupOfLink(link);
        if (!word.isEmpty())
            emit lookupRequested(word);
    });
    connect(ui->sourceFile, &QTextEdit::textChanged, this,
            [this] { sourceText_ = ui->sourceFile->toPlainText(); });
    connect(ui->targetFile, &QTextEdit::textChanged, this,
            [this] { targetText_ = ui->targetFile->toPlainText(); });
}

DiffDialog::~DiffDialog() = default;

QString DiffDialog::askForFile(QString &startLocation)
{
    if (startLocation.isEmpty())
        startLocation = QDir::homePath();
    const QString fileName = QFileDialog::getOpenFileName(
        this, tr("Open File"), QFileInfo(startLocation).absoluteFilePath(),
        QStringLiteral("*.txt"));
    // A cancel keeps the last place: forgetting it would send the next dialog to the
    // process's working directory.
    if (!fileName.isEmpty())
        startLocation = QFileInfo(fileName).absolutePath();
    return fileName;
}

void DiffDialog::importFile(const QString &fileName, QTextEdit *field)
{
    if (fileName.isEmpty())
        return;
    // The field reports the change, which stores its plain text in the member.
    if (const std::optional<QString> content = readPlainTextFile(fileName))
        field->setText(*content);
}

void DiffDialog::importSourceFile(const QString &fileName)
{
    importFile(fileName, ui->sourceFile);
}

void DiffDialog::importTargetFile(const QString &fileName)
{
    importFile(fileName, ui->targetFile);
}

void DiffDialog::compare()
{
    if (ui->wordView->isChecked()) {
        compareWords();
        return;
    }
    // The shared final blank gives both texts a common end, so a change in the last word
    // is still coloured as a whole word.
    sourceText_ += QLatin1Char(' ');
    targetText_ += QLatin1Char(' ');

    const DiffEngine engine;
    QList<DiffSegment> segments = engine.diff_main(targetText_, sourceText_);
    DiffEngine::semanticCleanup(segments);

    // HTML collapses runs of blanks and drops a trailing one; kept as written, the
    // learner's spacing survives the comparison and the next comparison sees the same text.
    const auto keepingBlanks = [](const QString &html) {
        return QLatin1String("<div style=\"white-space: pre-wrap;\">") + html +
               QLatin1String("</div>");
    };
    const QString sourceHtml = keepingBlanks(renderSecondTextHtml(segments));
    const QString targetHtml = keepingBlanks(renderFirstTextHtml(segments));
    const QString suggestionHtml = keepingBlanks(renderSuggestionHtml(segments));

    ui->sourceFile->clear();
    ui->sourceFile->setHtml(sourceHtml);
    ui->targetFile->clear();
    ui->targetFile->setHtml(targetHtml);
    ui->modifyFile->clear();
    ui->modifyFile->setHtml(suggestionHtml);
}

void DiffDialog::compareWords()
{
    const WordCheck check = checkWords(sourceText_, targetText_);
    // Both texts as typed, without the colours of an earlier letter comparison.
    const auto plainHtml = [](const QString &text) {
        return QLatin1String("<div style=\"white-space: pre-wrap;\">") + escapeForHtml(text) +
               QLatin1String("</div>");
    };
    ui->sourceFile->setHtml(plainHtml(sourceText_));
    ui->targetFile->setHtml(plainHtml(targetText_));
    ui->modifyFile->setHtml(
        QLatin1String("<p>") + tr("Word accuracy: %1%").arg(qRound(check.accuracy() * 100)) +
        QLatin1String("</p><p>") + renderWordCheckHtml(check) + QLatin1String("</p>"));
}
