#include "diff/wordcheckdialog.h"

#include "diff/wordcheck.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTextBrowser>
#include <QVBoxLayout>

WordCheckDialog::WordCheckDialog(QWidget *parent)
    : QDialog(parent), accuracy_(new QLabel(this)), letters_(new QLabel(this)),
      counts_(new QLabel(this)), sentence_(new QTextBrowser(this))
{
    setWindowTitle(tr("Word check"));
    // Each check shows it anew while the learner goes on typing.
    setAttribute(Qt::WA_ShowWithoutActivating);
    accuracy_->setObjectName(QStringLiteral("accuracy"));
    letters_->setObjectName(QStringLiteral("letterAccuracy"));
    counts_->setObjectName(QStringLiteral("counts"));
    counts_->setTextFormat(Qt::RichText);
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
        if (word.isEmpty())
            return;
        emit hearRequested(word);
        emit lookupRequested(word);
    });

    auto *scores = new QHBoxLayout;
    scores->addWidget(accuracy_);
    scores->addSpacing(16);
    scores->addWidget(letters_, 1, Qt::AlignBottom);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(scores);
    layout->addWidget(counts_);
    layout->addWidget(sentence_);
    resize(520, 240);
}

void WordCheckDialog::showCheck(const WordCheck &check)
{
    accuracy_->setText(tr("Word accuracy: %1%").arg(qRound(check.accuracy() * 100)));
    letters_->setText(tr("Letter accuracy: %1%").arg(qRound(check.letterAccuracy() * 100)));
    const QString misspelt =
        QLatin1String("<font color=\"") + QLatin1String(misspellingColor) + QLatin1String("\">") +
        tr("%1 misspelt").arg(check.misspellings).toHtmlEscaped() + QLatin1String("</font>");
    //: %4 is the number of misspelt words, as "%1 misspelt" says it, in its own colour
    counts_->setText(
        tr("%1 of %2 words right, %3 wrong, %4, %5 split or joined, %6 missing, %7 extra")
            .toHtmlEscaped()
            .arg(check.correct)
            .arg(check.referenceWords)
            .arg(check.substitutions)
            .arg(misspelt)
            .arg(check.spacing)
            .arg(check.deletions)
            .arg(check.insertions));
    sentence_->setHtml(renderWordCheckHtml(check));
}
