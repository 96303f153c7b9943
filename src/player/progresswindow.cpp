#include "player/progresswindow.h"

#include <QEvent>
#include <QGridLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// The relative luminance of a colour, as the contrast of two colours is reckoned.
double luminance(const QColor &c)
{
    const auto channel = [](float v) {
        return v <= 0.03928f ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The top of a count axis: 1, 2 or 5 times a power of ten, at least count.
double countTop(double count)
{
    for (double power = 1;; power *= 10) {
        for (const double m : {1.0, 2.0, 5.0}) {
            if (m * power >= count)
                return m * power;
        }
    }
}

// A missed word's count as a bar beside its button, as long as its share of the most
// misses of any word, with the count after it.
class MissBar final : public QWidget
{
public:
    MissBar(int misses, int most, QWidget *parent)
        : QWidget(parent), misses_(misses), most_(std::max(1, most))
    {
        setMinimumWidth(80);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const QString count = QString::number(misses_);
        const int textWidth = fontMetrics().horizontalAdvance(QString::number(most_)) + 6;
        const double room = std::max(0, width() - textWidth);
        const double length = std::max(2.0, room * misses_ / most_);
        const double h = fontMetrics().height() * 0.6;
        p.fillRect(QRectF(0, (height() - h) / 2, length, h),
                   ProgressWindow::barColour(palette(), QPalette::Window));
        p.setPen(palette().windowText().color());
        p.drawText(QRectF(length + 4, 0, textWidth, height()), Qt::AlignLeft | Qt::AlignVCenter,
                   count);
    }

private:
    int misses_;
    int most_;
};

} // namespace

// A bar per day, oldest on the left: a fraction (as a percentage) or a count on the axis at
// the left, marked at its bottom, middle and top with lines across; the days named below
// (as many as fit, today always), each bar's value in its tooltip and above it where every
// value fits its column. Without a bar to show it says emptyText instead.
class DayChart final : public QWidget
{
public:
    enum class Scale
    {
        Fraction,
        Count,
    };

    DayChart(Scale scale, const QString &emptyText, QWidget *parent)
        : QWidget(parent), scale_(scale), emptyText_(emptyText)
    {
        setMinimumSize(360, 150);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }

    // One value per day from first on; NaN (and for a count, 0) where the day has none.
    void setDays(const QDate &first, const QDate &today, std::vector<double> values)
    {
        first_ = first;
        today_ = today;
        values_ = std::move(values);
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().base());
        const QColor ink = palette().text().color();
        p.setPen(ink);
        if (std::none_of(values_.begin(), values_.end(), [this](double v) { return hasBar(v); })) {
            p.drawText(rect().adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap,
                       emptyText_);
            return;
        }
        const QFontMetrics metrics = fontMetrics();
        const int line = metrics.height();
        const QRectF area = plotArea();
        const double top = axisTop();

        std::vector<double> levels{0, top};
        if (scale_ == Scale::Fraction || std::fmod(top, 2) == 0)
            levels.insert(levels.begin() + 1, top / 2);
        for (const double level : levels) {
            const double y = area.bottom() - level / top * area.height();
            p.drawText(QRectF(0, y - line / 2.0, area.left() - 6, line),
                       Qt::AlignRight | Qt::AlignVCenter, valueText(level));
            if (level > 0) {
                p.setPen(QPen(palette().mid().color(), 0, Qt::DashLine));
                p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
                p.setPen(ink);
            }
        }
        p.drawLine(area.bottomLeft(), area.topLeft());
        p.drawLine(area.bottomLeft(), area.bottomRight());

        const double step = area.width() / double(values_.size());
        const QColor bar = ProgressWindow::barColour(palette());
        // the values above the bars where every one fits its column, else in the tooltips only
        int widest = 0;
        for (const double v : values_)
            widest = std::max(widest, hasBar(v) ? metrics.horizontalAdvance(valueText(v)) : 0);
        const bool valuesFit = widest + 2 <= step;
        for (size_t i = 0; i < values_.size(); ++i) {
            const double v = values_[i];
            if (!hasBar(v))
                continue;
            const double width = std::min(step * 0.7, 48.0);
            const double x = area.left() + step * double(i) + (step - width) / 2;
            const double h = std::max(1.0, v / top * area.height());
            p.fillRect(QRectF(x, area.bottom() - h, width, h), bar);
            if (valuesFit)
                p.drawText(QRectF(x - step, area.bottom() - h - line, width + 2 * step, line),
                           Qt::AlignHCenter | Qt::AlignBottom, valueText(v));
        }

        // every k-th day named, counted from today, so that the names do not touch
        const QString todayText = ProgressWindow::tr("Today");
        const int nameWidth = std::max(metrics.horizontalAdvance(dayName(QDate(2000, 12, 28))),
                                       metrics.horizontalAdvance(todayText));
        const int every = std::max(1, int(std::ceil((nameWidth + 8) / step)));
        const qint64 anchor =
            std::clamp<qint64>(first_.daysTo(today_), 0, qint64(values_.size()) - 1);
        for (size_t i = 0; i < values_.size(); ++i) {
            if ((qint64(i) - anchor) % every != 0)
                continue;
            const double centre = area.left() + step * (double(i) + 0.5);
            p.drawLine(QPointF(centre, area.bottom()), QPointF(centre, area.bottom() + 3));
            const QDate day = first_.addDays(qint64(i));
            p.drawText(QRectF(centre - nameWidth, area.bottom() + 4, 2 * nameWidth, line),
                       Qt::AlignHCenter | Qt::AlignTop, day == today_ ? todayText : dayName(day));
        }
    }

    bool event(QEvent *e) override
    {
        if (e->type() != QEvent::ToolTip)
            return QWidget::event(e);
        const auto *help = static_cast<QHelpEvent *>(e);
        const QRectF area = plotArea();
        const double step = area.width() / double(std::max<size_t>(1, values_.size()));
        const double column = std::floor((help->pos().x() - area.left()) / step);
        if (column < 0 || column >= double(values_.size()) || !hasBar(values_[size_t(column)])) {
            QToolTip::hideText();
            e->ignore();
            return true;
        }
        const QDate day = first_.addDays(qint64(column));
        QToolTip::showText(
            help->globalPos(),
            ProgressWindow::tr("%1: %2").arg(locale().toString(day, QLocale::LongFormat),
                                             valueText(values_[size_t(column)])),
            this);
        return true;
    }

private:
    bool hasBar(double v) const { return scale_ == Scale::Fraction ? !std::isnan(v) : v > 0; }
    double axisTop() const
    {
        if (scale_ == Scale::Fraction)
            return 1;
        double most = 0;
        for (const double v : values_)
            most = std::max(most, v);
        return countTop(most);
    }
    QString valueText(double v) const
    {
        return scale_ == Scale::Fraction ? QStringLiteral("%1%").arg(std::lround(v * 100))
                                         : QString::number(std::lround(v));
    }
    QString dayName(const QDate &day) const
    {
        //: how a day is named under a bar of the progress charts (QDate format)
        return locale().toString(day, ProgressWindow::tr("d MMM"));
    }
    // where the bars go: room left for the axis's labels, above for the top bar's value and
    // below for the days
    QRectF plotArea() const
    {
        const QFontMetrics metrics = fontMetrics();
        const int labelWidth = std::max(metrics.horizontalAdvance(QStringLiteral("100%")),
                                        metrics.horizontalAdvance(valueText(axisTop())));
        return QRectF(rect()).adjusted(labelWidth + 10, metrics.height() + 4, -8,
                                       -metrics.height() - 8);
    }

    Scale scale_;
    QString emptyText_;
    QDate first_;
    QDate today_;
    std::vector<double> values_;
};

ProgressWindow::ProgressWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(tr("Progress"));
    resize(960, 680);
    const QString noChecks =
        tr("No sentence has been checked in the last %n day(s). Check what you wrote against "
           "a sentence, and your progress shows here.",
           nullptr, lesson::LearningProgress::checkDays);
    accuracy = new DayChart(DayChart::Scale::Fraction, noChecks, this);
    accuracy->setObjectName(QStringLiteral("accuracyChart"));
    checked = new DayChart(DayChart::Scale::Count, noChecks, this);
    checked->setObjectName(QStringLiteral("checkedChart"));
    due = new DayChart(DayChart::Scale::Count,
                       tr("Nothing is due for review in the next %n day(s).", nullptr,
                          lesson::LearningProgress::dueDays),
                       this);
    due->setObjectName(QStringLiteral("dueChart"));

    const auto heading = [this](const QString &text) {
        auto *label = new QLabel(text, this);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        return label;
    };
    auto *grid = new QGridLayout(this);
    grid->addWidget(heading(tr("Mean accuracy of the checks by day")), 0, 0);
    grid->addWidget(accuracy, 1, 0);
    grid->addWidget(heading(tr("Sentences checked by day")), 2, 0);
    grid->addWidget(checked, 3, 0);
    grid->addWidget(heading(tr("Review items due by day")), 4, 0);
    grid->addWidget(due, 5, 0);

    auto *missed = new QVBoxLayout;
    missed->addWidget(heading(tr("Words missed most")));
    auto *hint = new QLabel(tr("Click a word to look up its pronunciation."), this);
    hint->setWordWrap(true);
    missed->addWidget(hint);
    noWords = new QLabel(tr("No word has been missed yet."), this);
    noWords->setObjectName(QStringLiteral("noWords"));
    noWords->setWordWrap(true);
    missed->addWidget(noWords);
    words = new QWidget(this);
    wordRows = new QGridLayout(words);
    wordRows->setContentsMargins(0, 0, 0, 0);
    wordRows->setColumnStretch(1, 1);
    missed->addWidget(words);
    missed->addStretch(1);
    grid->addLayout(missed, 0, 1, 6, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 1);
}

void ProgressWindow::showProgress(const lesson::LearningProgress &progress)
{
    const double none = std::nan("");
    std::vector<double> means, counts;
    for (const lesson::DayChecks &day : progress.checks) {
        means.push_back(day.checks > 0 ? day.meanAccuracy : none);
        counts.push_back(day.checks);
    }
    const QDate first = progress.checks.empty() ? progress.today : progress.checks.front().day;
    accuracy->setDays(first, progress.today, means);
    checked->setDays(first, progress.today, counts);
    due->setDays(progress.today, progress.today,
                 std::vector<double>(progress.due.begin(), progress.due.end()));

    // no word button is in the middle of its click here: the progress is shown on request
    // and after a check
    qDeleteAll(words->findChildren<QWidget *>(Qt::FindDirectChildrenOnly));
    noWords->setVisible(progress.missedWords.empty());
    const int most = progress.missedWords.empty() ? 1 : progress.missedWords.front().misses;
    int row = 0;
    for (const lesson::MissedWord &missed : progress.missedWords) {
        auto *button = new QToolButton(words);
        button->setObjectName(QStringLiteral("missedWord"));
        button->setText(missed.word);
        button->setAutoRaise(true);
        button->setCursor(Qt::PointingHandCursor);
        button->setToolTip(tr("Look up the pronunciation of \u201c%1\u201d").arg(missed.word));
        QFont link = button->font();
        link.setUnderline(true);
        button->setFont(link);
        const QString word = missed.word;
        connect(button, &QToolButton::clicked, this, [this, word] { emit wordChosen(word); });
        auto *bar = new MissBar(missed.misses, most, words);
        bar->setToolTip(tr("Missed %n time(s)", nullptr, missed.misses));
        wordRows->addWidget(button, row, 0);
        wordRows->addWidget(bar, row, 1);
        ++row;
    }
}

QColor ProgressWindow::barColour(const QPalette &palette, QPalette::ColorRole on)
{
    const QColor background = palette.color(on);
    QColor bar = palette.color(QPalette::Highlight).toHsl();
    // away from the background's lightness, keeping the hue, until it stands out
    const int step = background.lightness() < 128 ? 8 : -8;
    for (int l = bar.lightness(); contrast(bar, background) < 3 && l > 0 && l < 255;) {
        l = std::clamp(l + step, 0, 255);
        bar.setHsl(bar.hslHue(), bar.hslSaturation(), l);
    }
    return bar.toRgb();
}
