#include "player/sentencelist.h"

#include "lesson/lessoncontroller.h"
#include "player/lessonsummary.h"

#include <QAction>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// What a hidden text shows: that there is one, not how long it is.
const QString hiddenText = QStringLiteral("• • •");
const QString shownEye = QStringLiteral("●");
const QString hiddenEye = QStringLiteral("○");
constexpr int progressSteps = 1000;
const QColor unsureColour(0xf0, 0xa0, 0x00);

} // namespace

SentenceList::SentenceList(LessonController *lesson, QWidget *parent)
    : QWidget(parent), lesson_(lesson)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    tree = new QTreeWidget(this);
    tree->setObjectName(QStringLiteral("sentenceRows"));
    tree->setRootIsDecorated(false);
    tree->setUniformRowHeights(true);
    tree->setSelectionMode(QAbstractItemView::NoSelection);
    tree->setFocusPolicy(Qt::NoFocus);
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    tree->setHeaderLabels({QString(), tr("Start"), tr("Length (s)"), QString(), tr("Text")});
    // every column as wide as its widest text: a long sentence scrolls instead of being cut
    tree->header()->setStretchLastSection(false);
    tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(tree);

    progressLine = new QWidget(this);
    auto *line = new QHBoxLayout(progressLine);
    line->setContentsMargins(4, 0, 4, 0);
    progressLabel = new QLabel(tr("Finding the sentences"), progressLine);
    progress = new QProgressBar(progressLine);
    progress->setObjectName(QStringLiteral("analysisProgress"));
    progress->setRange(0, progressSteps);
    progress->setTextVisible(false);
    progress->setMaximumHeight(8);
    line->addWidget(progressLabel);
    line->addWidget(progress, 1);
    progressLine->hide();
    layout->addWidget(progressLine);

    notesLabel = new QLabel(this);
    notesLabel->setObjectName(QStringLiteral("skippedCues"));
    notesLabel->setContentsMargins(4, 0, 4, 2);
    notesLabel->hide();
    layout->addWidget(notesLabel);

    showAllAction = new QAction(tr("Show All Sentence Texts"), this);
    showAllAction->setCheckable(true);
    connect(showAllAction, &QAction::toggled, this, &SentenceList::showTexts);

    connect(tree, &QTreeWidget::itemClicked, this, &SentenceList::clicked);
    connect(tree, &QWidget::customContextMenuRequested, this, &SentenceList::showMenu);
    connect(lesson, &LessonController::sentencesChanged, this, &SentenceList::fill);
    connect(lesson, &LessonController::currentSentenceChanged, this, &SentenceList::showCurrent);
    connect(lesson, &LessonController::analysisProgress, this, &SentenceList::showProgress);
    connect(lesson, &LessonController::scoresChanged, this, &SentenceList::showScores);
    fill();
}

QString SentenceList::clockText(double seconds) const
{
    // the media's own time, a tenth of a second fine, whatever the speed
    const auto tenths = std::llround(std::max(0.0, seconds - lesson_->startSeconds()) * 10);
    const long long minutes = tenths / 600;
    const QString rest =
        QStringLiteral("%1.%2").arg((tenths / 10) % 60, 2, 10, QLatin1Char('0')).arg(tenths % 10);
    if (minutes >= 60)
        return QStringLiteral("%1:%2:%3")
            .arg(minutes / 60)
            .arg(minutes % 60, 2, 10, QLatin1Char('0'))
            .arg(rest);
    return QStringLiteral("%1:%2").arg(minutes).arg(rest);
}

void SentenceList::fill()
{
    const lesson::Sentences &sentences = lesson_->sentences();
    tree->clear();
    highlighted = -1;
    revealed.assign(sentences.items.size(), false);
    bool anyText = false;
    QList<QTreeWidgetItem *> items;
    items.reserve(qsizetype(sentences.items.size()));
    for (const lesson::Sentence &s : sentences.items) {
        auto *item = new QTreeWidgetItem;
        item->setText(StartColumn, clockText(s.start));
        item->setText(LengthColumn, QString::number(s.end - s.start, 'f', 1));
        item->setTextAlignment(LengthColumn, Qt::AlignRight | Qt::AlignVCenter);
        anyText = anyText || !s.text.isEmpty();
        items << item;
    }
    tree->addTopLevelItems(items);
    // sentences found at pauses have no text to hide or show
    tree->setColumnHidden(EyeColumn, !anyText);
    tree->setColumnHidden(TextColumn, !anyText);
    showTexts();

    notesLabel->setVisible(!sentences.notes.isEmpty());
    notesLabel->setText(tr("Subtitle lines left out: %1").arg(sentences.notes.size()));
    notesLabel->setToolTip(sentences.notes.join(u'\n'));
    showScores();
    showUnsure();
    showCurrent(lesson_->currentSentence());
}

void SentenceList::showScores()
{
    const lesson::Scores &scores = lesson_->scores();
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = tree->topLevelItem(i);
        const std::optional<lesson::SentenceScore> score =
            size_t(i) < scores.size() ? scores[size_t(i)] : std::nullopt;
        if (!score) {
            item->setData(StartColumn, Qt::DecorationRole, QVariant());
            item->setToolTip(StartColumn, QString());
            continue;
        }
        item->setData(StartColumn, Qt::DecorationRole, LessonSummary::scoreColour(score->best));
        const auto shown = [](double accuracy, const QDateTime &at) {
            return tr("%1% on %2")
                .arg(std::lround(accuracy * 100))
                .arg(QLocale().toString(at.toLocalTime(), QLocale::ShortFormat));
        };
        item->setToolTip(StartColumn, tr("Best: %1; last: %2")
                                          .arg(shown(score->best, score->bestAt),
                                               shown(score->last, score->lastAt)));
    }
}

QColor SentenceList::scoreColour(int index) const
{
    const QTreeWidgetItem *item = tree->topLevelItem(index);
    return item ? item->data(StartColumn, Qt::DecorationRole).value<QColor>() : QColor();
}

QString SentenceList::shownText(int index) const
{
    const QTreeWidgetItem *item = tree->topLevelItem(index);
    return item ? item->text(TextColumn) : QString();
}

void SentenceList::showTexts()
{
    const std::vector<lesson::Sentence> &items = lesson_->sentences().items;
    const bool all = showAllAction->isChecked();
    for (int i = 0; i < tree->topLevelItemCount() && size_t(i) < items.size(); ++i) {
        QTreeWidgetItem *item = tree->topLevelItem(i);
        const QString &text = items[size_t(i)].text;
        if (text.isEmpty())
            continue;
        const bool shown = all || revealed[size_t(i)];
        item->setText(TextColumn, shown ? text : hiddenText);
        item->setToolTip(TextColumn, shown ? text : QString());
        item->setText(EyeColumn, shown ? shownEye : hiddenEye);
    }
}

void SentenceList::toggleText(int index)
{
    if (index < 0 || size_t(index) >= revealed.size())
        return;
    revealed[size_t(index)] = !revealed[size_t(index)];
    showTexts();
}

void SentenceList::clicked(QTreeWidgetItem *item, int column)
{
    const int index = tree->indexOfTopLevelItem(item);
    if (column == EyeColumn && !tree->isColumnHidden(EyeColumn))
        toggleText(index);
    else
        lesson_->loopSentence(index);
}

void SentenceList::showCurrent(int index)
{
    const auto mark = [this](int row, bool on) {
        QTreeWidgetItem *item = tree->topLevelItem(row);
        if (!item)
            return;
        for (int c = 0; c < tree->columnCount(); ++c) {
            item->setBackground(c, on ? palette().highlight() : QBrush());
            item->setForeground(c, on ? palette().highlightedText() : QBrush());
        }
    };
    mark(highlighted, false);
    highlighted = index;
    mark(highlighted, true);
    if (QTreeWidgetItem *item = tree->topLevelItem(index))
        tree->scrollToItem(item);
}

void SentenceList::showProgress(double fraction)
{
    // the pass over the sound, then the lesson text's placing in it
    progressLabel->setText(lesson_->isAligningText() && !lesson_->isAnalysing()
                               ? tr("Placing the lesson text in the sound")
                               : tr("Finding the sentences"));
    progressLine->setVisible(fraction < 1.0);
    progress->setValue(int(std::lround(fraction * progressSteps)));
}

void SentenceList::showMenu(const QPoint &pos)
{
    QTreeWidgetItem *item = tree->itemAt(pos);
    const int index = item ? tree->indexOfTopLevelItem(item) : -1;
    QMenu menu;
    if (index >= 0) {
        menu.addAction(tr("Loop This Sentence"), this,
                       [this, index] { lesson_->loopSentence(index); });
        if (!lesson_->sentences().items[size_t(index)].text.isEmpty() &&
            !showAllAction->isChecked())
            menu.addAction(revealed[size_t(index)] ? tr("Hide Its Text") : tr("Show Its Text"),
                           this, [this, index] { toggleText(index); });
        menu.addSeparator();
    }
    menu.addAction(showAllAction);
    menu.exec(tree->viewport()->mapToGlobal(pos));
}

void SentenceList::showLoopKey(const QString &key)
{
    tree->setToolTip(tr("Click a sentence to loop it, or its circle to show its text; %1 "
                        "loops the sentence under the playhead")
                         .arg(key));
}

void SentenceList::showUnsure()
{
    const std::vector<lesson::Sentence> &items = lesson_->sentences().items;
    const bool any = std::any_of(items.begin(), items.end(), [](const lesson::Sentence &s) {
        return s.unsure != lesson::Unsure::No;
    });
    tree->setColumnHidden(UnsureColumn, !any);
    if (!any)
        return;
    // a dark "?" on an amber disc: seen at a glance, whatever the row's highlight
    const int side = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, tree);
    const qreal ratio = devicePixelRatioF();
    QPixmap picture(QSize(side, side) * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    {
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(unsureColour);
        p.drawEllipse(QRectF(0.5, 0.5, side - 1, side - 1));
        QFont bold = font();
        bold.setBold(true);
        bold.setPixelSize(side * 3 / 4);
        p.setFont(bold);
        p.setPen(QColor(0x20, 0x20, 0x20));
        p.drawText(QRect(0, 0, side, side), Qt::AlignCenter, QStringLiteral("?"));
    }
    const QIcon mark(picture);
    for (int i = 0; i < tree->topLevelItemCount() && size_t(i) < items.size(); ++i) {
        QTreeWidgetItem *item = tree->topLevelItem(i);
        switch (items[size_t(i)].unsure) {
        case lesson::Unsure::No:
            break;
        case lesson::Unsure::NotHeard:
            item->setIcon(UnsureColumn, mark);
            item->setToolTip(UnsureColumn,
                             tr("Not heard in the sound: its place is a guess between its "
                                "neighbours."));
            break;
        case lesson::Unsure::OtherSound:
            item->setIcon(UnsureColumn, mark);
            item->setToolTip(UnsureColumn, tr("Much other sound around it: its place may be off."));
            break;
        }
    }
}
