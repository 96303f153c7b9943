#include "player/lessonsummary.h"

#include "lesson/lessoncontroller.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// Each sentence's best accuracy as a bar, in the lesson's order; a sentence never checked
// leaves a gap over a grey tick. The accuracy axis on the left is marked at 0, 50 and 100%,
// with lines across at 50 and 100%; the sentence axis below numbers the first, the middle
// and the last sentence.
class ScoreChart final : public QWidget
{
public:
    ScoreChart(const LessonController *lesson, QWidget *parent) : QWidget(parent), lesson_(lesson)
    {
        setObjectName(QStringLiteral("scoreChart"));
        setMinimumSize(320, 160);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().base());
        const QFontMetrics metrics = fontMetrics();
        const int line = metrics.height();
        const QString yTitle = LessonSummary::tr("Accuracy");
        const QString xTitle = LessonSummary::tr("Sentence");
        const int labelWidth = metrics.horizontalAdvance(QStringLiteral("100%"));
        // room for the axis title above and the labels left of and below the bars
        const QRectF area = QRectF(rect()).adjusted(labelWidth + 10, line + 6, -8, -2 * line - 6);
        const QColor ink = palette().text().color();

        p.setPen(ink);
        p.drawText(QPointF(4, metrics.ascent() + 2), yTitle);
        for (const double level : {0.0, 0.5, 1.0}) {
            const double y = area.bottom() - level * area.height();
            const QString label = QStringLiteral("%1%").arg(int(level * 100));
            p.drawText(QRectF(2, y - line / 2.0, labelWidth + 4, line),
                       Qt::AlignRight | Qt::AlignVCenter, label);
            if (level > 0) {
                p.setPen(QPen(palette().mid().color(), 0, Qt::DashLine));
                p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
                p.setPen(ink);
            }
        }
        p.drawLine(area.bottomLeft(), area.topLeft());
        p.drawLine(area.bottomLeft(), area.bottomRight());
        p.drawText(QRectF(area.left(), area.bottom() + line + 4, area.width(), line),
                   Qt::AlignHCenter | Qt::AlignTop, xTitle);

        const lesson::Scores &scores = lesson_->scores();
        if (scores.empty())
            return;
        // the bars start right of the axis line
        const double step = (area.width() - 1) / double(scores.size());
        const double gap = step > 4 ? 1 : 0;
        for (const size_t i : {size_t(0), scores.size() / 2, scores.size() - 1}) {
            const double centre = area.left() + step * (double(i) + 0.5);
            p.drawText(QRectF(centre - 30, area.bottom() + 2, 60, line),
                       Qt::AlignHCenter | Qt::AlignTop, QString::number(i + 1));
        }
        for (size_t i = 0; i < scores.size(); ++i) {
            const double x = area.left() + 1 + step * double(i);
            if (!scores[i]) {
                p.fillRect(QRectF(x, area.bottom() - 2, step - gap, 1), palette().mid());
                continue;
            }
            const double h = std::max(1.0, scores[i]->best * area.height());
            p.fillRect(QRectF(x, area.bottom() - h, step - gap, h),
                       LessonSummary::scoreColour(scores[i]->best));
        }
    }

private:
    const LessonController *lesson_;
};

int percent(double fraction)
{
    return int(std::lround(fraction * 100));
}

} // namespace

LessonSummary::LessonSummary(LessonController *lesson, QWidget *parent)
    : QDialog(parent), lesson_(lesson)
{
    setWindowTitle(tr("Lesson Summary"));
    auto *layout = new QVBoxLayout(this);
    checked = new QLabel(this);
    mean = new QLabel(this);
    chart = new ScoreChart(lesson, this);
    chart->setToolTip(tr("The best accuracy of each sentence, in the lesson's order"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(checked);
    layout->addWidget(mean);
    layout->addWidget(chart, 1);
    layout->addWidget(buttons);
    connect(lesson, &LessonController::scoresChanged, this, &LessonSummary::showScores);
    showScores();
}

QColor LessonSummary::scoreColour(double accuracy)
{
    // hue 0 (red) through 40 (amber) to 120 (green), steepest where the learner improves
    const double a = std::clamp(accuracy, 0.0, 1.0);
    const double hue = a < 0.6 ? a / 0.6 * 40 : 40 + (a - 0.6) / 0.4 * 80;
    return QColor::fromHsvF(float(hue / 360), 0.85f, 0.9f);
}

QString LessonSummary::checkedText() const
{
    return checked->text();
}

QString LessonSummary::meanText() const
{
    return mean->text();
}

void LessonSummary::showScores()
{
    const lesson::ScoreSummary s = lesson::summarise(lesson_->scores());
    checked->setText(tr("Sentences checked: %1 of %2 (%3%)")
                         .arg(s.checked)
                         .arg(s.total)
                         .arg(s.total > 0 ? percent(double(s.checked) / s.total) : 0));
    mean->setText(s.checked > 0 ? tr("Mean best accuracy: %1%").arg(percent(s.meanBest))
                                : tr("No sentence has been checked yet."));
    chart->update();
}
