// The progress window as the learner sees it: bars in the columns of their days, as high as
// their values, standing out from the chart in a light palette, a dark one and one whose
// highlight is dim; what it says when nothing was checked yet.
#include "player/progresswindow.h"

#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QDate today(2026, 3, 20);

double contrast(QRgb a, QRgb b)
{
    const auto luminance = [](QRgb c) {
        const auto channel = [](int v) {
            const double s = v / 255.0;
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The bars painted in colour, left to right, as runs of columns holding it: the middle of
// each and its height.
std::vector<std::pair<double, int>> paintedBars(const QImage &shot, QRgb colour)
{
    std::vector<std::pair<double, int>> bars;
    int start = -1;
    int height = 0;
    for (int x = 0; x <= shot.width(); ++x) {
        int n = 0;
        for (int y = 0; x < shot.width() && y < shot.height(); ++y)
            n += shot.pixel(x, y) == colour;
        if (n > 0 && start < 0)
            start = x, height = 0;
        if (n == 0 && start >= 0)
            bars.emplace_back((start + x - 1) / 2.0, height), start = -1;
        height = std::max(height, n);
    }
    return bars;
}

QPalette palette(QColor base, QColor text, QColor highlight)
{
    QPalette p(text, base, base, base, QColor(0x80, 0x80, 0x80), text, base);
    p.setColor(QPalette::Highlight, highlight);
    return p;
}

} // namespace

class TestProgressWindow final : public QObject
{
    Q_OBJECT

private slots:
    void chartsShowTheDays_data();
    void chartsShowTheDays();
    void nothingCheckedYet();
};

void TestProgressWindow::chartsShowTheDays_data()
{
    QTest::addColumn<QPalette>("colours");
    QTest::newRow("light") << palette(Qt::white, Qt::black, QColor(0x30, 0x8c, 0xc6));
    QTest::newRow("dark") << palette(QColor(0x1e, 0x1e, 0x1e), QColor(0xe0, 0xe0, 0xe0),
                                     QColor(0x2a, 0x82, 0xda));
    QTest::newRow("dim highlight")
        << palette(QColor(0x30, 0x30, 0x30), QColor(0xf0, 0xf0, 0xf0), QColor(0x3c, 0x3c, 0x44));
}

// Ten days: one check nine days ago at 50%, two two days ago at 100%, four today at 25%;
// three items due today, six in three days.
void TestProgressWindow::chartsShowTheDays()
{
    QFETCH(QPalette, colours);
    lesson::LearningProgress p{today, {}, std::vector<int>(14), {}};
    for (int d = -9; d <= 0; ++d)
        p.checks.push_back({today.addDays(d)});
    p.checks[0] = {today.addDays(-9), 1, 0.5};
    p.checks[7] = {today.addDays(-2), 2, 1.0};
    p.checks[9] = {today, 4, 0.25};
    p.due[0] = 3;
    p.due[3] = 6;
    ProgressWindow window;
    window.setPalette(colours);
    window.showProgress(p);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QRgb bar = ProgressWindow::barColour(colours).rgb();
    // (chart, the days of its bars from its first, their heights against the first one's)
    const std::tuple<const char *, std::vector<int>, std::vector<double>> charts[] = {
        {"accuracyChart", {0, 7, 9}, {1, 2, 0.5}},
        {"checkedChart", {0, 7, 9}, {1, 2, 4}},
        {"dueChart", {0, 3}, {1, 2}},
    };
    for (const auto &[name, days, heights] : charts) {
        const QImage shot = window.findChild<QWidget *>(QLatin1String(name))->grab().toImage();
        QCOMPARE(shot.pixel(1, 1), colours.color(QPalette::Base).rgb());
        QVERIFY2(contrast(bar, shot.pixel(1, 1)) >= 3, name);
        const auto bars = paintedBars(shot, bar);
        QCOMPARE(bars.size(), days.size());
        // evenly spaced columns: the gaps between bars go as the days between them
        const double column = (bars.back().first - bars[0].first) / (days.back() - days[0]);
        QVERIFY(column > 10);
        for (size_t i = 0; i < bars.size(); ++i) {
            QVERIFY2(std::abs(bars[i].first - bars[0].first - days[i] * column) <= 1.5, name);
            QVERIFY2(std::abs(bars[i].second - heights[i] * bars[0].second) <= 1.5, name);
        }
    }
}

// Without a check and with nothing due, the charts say so across their middle, readable,
// instead of drawing bars; the missed words shown before go.
void TestProgressWindow::nothingCheckedYet()
{
    ProgressWindow window;
    window.showProgress({today, {}, std::vector<int>(14), {{u"the"_s, 2}}});
    window.showProgress({today, {}, std::vector<int>(14), {}});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    for (const char *name : {"accuracyChart", "checkedChart", "dueChart"}) {
        const QImage shot = window.findChild<QWidget *>(QLatin1String(name))->grab().toImage();
        QVERIFY2(paintedBars(shot, ProgressWindow::barColour(window.palette()).rgb()).empty(),
                 name);
        int ink = 0;
        for (int y = shot.height() / 3; y < shot.height() * 2 / 3; ++y)
            for (int x = 0; x < shot.width(); ++x)
                ink += contrast(shot.pixel(x, y), shot.pixel(1, 1)) >= 4.5;
        QVERIFY2(ink > 100, name);
    }
    QVERIFY(window.findChildren<QWidget *>(u"missedWord"_s).isEmpty());
    QVERIFY(window.findChild<QWidget *>(u"noWords"_s)->isVisible());
}

QTEST_MAIN(TestProgressWindow)
#include "tst_progresswindow.moc"
