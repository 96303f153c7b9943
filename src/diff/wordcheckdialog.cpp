#include "diff/wordcheckdialog.h"

#include "diff/wordcheck.h"

#include <QLabel>
#include <QTextBrowser>
#include <QVBoxLayout>

WordCheckDialog::WordCheckDialog(QWidget *parent)
    : QDialog(parent), accuracy_(new QLabel(this)), counts_(new QLabel(this)),
      sentence_(new QTextBrowser(this))
{
    setWindowTitle(tr("Word check"));
    accuracy_->setObjectName(QStringLiteral("accuracy"));
    counts_->setObjectName(QStringLiteral("counts"));
    sentence_->setObjectName(QStringLiteral("sentence"));
    QFont large = accuracy_->font();
    large.setPointSize(16);
    large.setBold(true);
    accuracy_->setFont(large);
    QFont sentenceFont = sentence_->font();
    sentenceFont.setPointSize(12);
    sentence_->setFont(sentenceFont);
    sentence_->setOpenLinks(false);
    sentence_->setContextMenuPolicy(Qt::NoContextMenu);
    sentence_->setStyleSheet(QStringLiteral("QTextBrowser { background-color: #f0eff3; }"));
    connect(sentence_, &QTextBrowser::anchorClicked, this, [this](const QUrl &link) {
        const QString word = lookupOfLink(link);
        if (!word.isEmpty())
            emit lookupRequested(word);
    });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(accuracy_);
    layout->addWidget(counts_);
    layout->addWidget(sentence_);
    resize(520, 240);
}

void WordCheckDialog::showCheck(const WordCheck &check)
{
    accuracy_->setText(tr("Word accuracy: %1%").arg(qRound(check.accuracy() * 100)));
    counts_->setText(tr("%1 of %2 words right, %3 wrong, %4 missing, %5 extra")
                         .arg(check.correct)
                         .arg(check.referenceWords)
                         .arg(check.substitutions)
                         .arg(check.deletions)
                         .arg(check.insertions));
    sentence_->setHtml(renderWordCheckHtml(check));
}
