#include "diff/diffdialog.h"

#include "diff/diffengine.h"
#include "diff/diffrender.h"
#include "diff/plaintext.h"
#include "studystyle/nofocusrectanglestyle.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextEdit>

// The dialog's children; each is owned by its Qt parent, so this holds no owners.
struct DiffDialog::Widgets
{
    QGridLayout *gridLayout_2;
    QGridLayout *gridLayout;
    QLabel *sourceTip;
    QPushButton *importSource;
    QLabel *targetTip;
    QPushButton *outputTarget;
    QTextEdit *sourceFile;
    QPushButton *diffResult;
    QTextEdit *targetFile;
    QLabel *modifyTip;
    QTextBrowser *modifyFile;
};

DiffDialog::DiffDialog(QWidget *parent) : QDialog(parent), ui(std::make_unique<Widgets>())
{
    setupWidgets();
}

DiffDialog::~DiffDialog() = default;

void DiffDialog::setupWidgets()
{
    setObjectName(QStringLiteral("DiffDialog"));
    resize(780, 352);
    setStyleSheet(studyToolButtonStyleSheet +
                  QLatin1String("\nQTextBrowser { background-color: #f0eff3; }"));
    // Text A is the reference: the suggestion view turns text B, the learner's, into it.
    setWindowTitle(tr("对比听写与参考原文"));

    ui->gridLayout_2 = new QGridLayout(this);
    ui->gridLayout_2->setObjectName(QStringLiteral("gridLayout_2"));
    ui->gridLayout = new QGridLayout;
    ui->gridLayout->setObjectName(QStringLiteral("gridLayout"));
    ui->gridLayout_2->addLayout(ui->gridLayout, 0, 0, 1, 1);

    const auto label = [this](const char *name, const QString &text) {
        auto *widget = new QLabel(text, this);
        widget->setObjectName(QLatin1String(name));
        return widget;
    };
    const auto button = [this](const char *name, const QString &text) {
        auto *widget = new QPushButton(text, this);
        widget->setObjectName(QLatin1String(name));
        widget->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        // Created after the button, so as a later child of the dialog it is destroyed
        // after the button that draws with it.
        auto *style = new NoFocusRectangleStyle;
        style->setParent(this);
        widget->setStyle(style);
        return widget;
    };
    const auto textView = [](QTextEdit *widget, const char *name) {
        widget->setObjectName(QLatin1String(name));
        QFont font = widget->font();
        font.setPointSize(12);
        widget->setFont(font);
        widget->setContextMenuPolicy(Qt::NoContextMenu);
        return widget;
    };

    ui->sourceTip = label(
        "sourceTip", tr("参考原文") + QStringLiteral(u" \u2014 ") +
                         tr("对比文本A：\n请输入或[Ctrl+V]粘贴或点击[导入A]按钮导入纯文本文件"));
    ui->importSource = button("importSource", tr("导入A"));
    ui->targetTip = label(
        "targetTip", tr("你的听写") + QStringLiteral(u" \u2014 ") +
                         tr("对比文本B：\n请输入或[Ctrl+V]粘贴或点击[导入B]按钮导入纯文本文件"));
    ui->outputTarget = button("outputTarget", tr("导入B"));
    ui->sourceFile = textView(new QTextEdit(this), "sourceFile");
    ui->diffResult = button("diffResult", tr("比较"));
    ui->targetFile = textView(new QTextEdit(this), "targetFile");
    ui->modifyTip = label("modifyTip", tr("修改建议："));
    ui->modifyFile = static_cast<QTextBrowser *>(textView(new QTextBrowser(this), "modifyFile"));

    ui->gridLayout->addWidget(ui->sourceTip, 0, 0, 1, 1);
    ui->gridLayout->addWidget(ui->importSource, 0, 1, 1, 1);
    ui->gridLayout->addWidget(ui->targetTip, 0, 3, 1, 1);
    ui->gridLayout->addWidget(ui->outputTarget, 0, 4, 1, 1);
    ui->gridLayout->addWidget(ui->sourceFile, 1, 0, 1, 2);
    ui->gridLayout->addWidget(ui->diffResult, 1, 2, 1, 1);
    ui->gridLayout->addWidget(ui->targetFile, 1, 3, 1, 2);
    ui->gridLayout->addWidget(ui->modifyTip, 2, 0, 1, 1);
    ui->gridLayout->addWidget(ui->modifyFile, 9, 0, 8, 5);

    QMetaObject::connectSlotsByName(this);
}

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

void DiffDialog::on_importSource_clicked()
{
    importSourceFile(askForFile(sourceLocation_));
}

void DiffDialog::on_outputTarget_clicked()
{
    importTargetFile(askForFile(targetLocation_));
}

void DiffDialog::on_diffResult_clicked()
{
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

void DiffDialog::on_sourceFile_textChanged()
{
    sourceText_ = ui->sourceFile->toPlainText();
}

void DiffDialog::on_targetFile_textChanged()
{
    targetText_ = ui->targetFile->toPlainText();
}
