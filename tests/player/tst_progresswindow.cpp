// The progress window as the learner sees it: bars in the columns of the days that have
// them, as high as their values, standing out from the chart in a light and a dark palette
// and one whose highlight is dim; the missed words as buttons that ask for their lookup;
// what it says when nothing was checked yet.
#include "player/progresswindow.h"

#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QDate today(2026, 3, 20);

double luminance(QRgb c)
{
    const auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A painted bar: the middle of its columns and its height in pixels.
struct Bar
{
    double centre;
    int height;
};

// The bars painted in colour, left to right: runs of columns holding it.
std::vector<Bar> paintedBars(const QImage &shot, QRgb colour)
{
    std::vector<Bar> bars;
    int start = -1;
    int height = 0;
    for (int x = 0; x <= shot.width(); ++x) {
        int n = 0;
        for (int y = 0; x < shot.width() && y < shot.height(); ++y)
            n += shot.pixel(x, y) == colour;
        if (n > 0 && start < 0)
            start = x, height = 0;
        if (n == 0 && start >= 0) {
            bars.push_back({(start + x - 1) / 2.0, height});
            start = -1;
        }
        height = std::max(height, n);
    }
    return bars;
}

// Ten days: one check nine days ago at 50%, two two days ago at 100%, four today at 25%;
// three items due today, six in three days; three missed words.
lesson::LearningProgress sample()
{
    lesson::LearningProgress p;
    p.today = today;
    for (int d = -9; d <= 0; ++d)
        p.checks.push_back({today.addDays(d)});
    p.checks[0] = {today.addDays(-9), 1, 0.5};
    p.checks[7] = {today.addDays(-2), 2, 1.0};
    p.checks[9] = {today, 4, 0.25};
    p.due.assign(lesson::LearningProgress::dueDays, 0);
    p.due[0] = 3;
    p.due[3] = 6;
    p.missedWords = {{u"the"_s, 3}, {u"ant"_s, 2}, {u"dog"_s, 1}};
    return p;
}

QPalette palette(QColor base, QColor text, QColor highlight)
{
    QPalette p;
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::Window, base);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Highlight, highlight);
    p.setColor(QPalette::Mid, QColor(0x80, 0x80, 0x80));
    return p;
}

QStringList wordButtons(const ProgressWindow &window)
{
    QStringList shown;
    for (const QToolButton *b : window.findChildren<QToolButton *>(u"missedWord"_s))
        if (b->isVisible())
            shown << b->text();
    return shown;
}

} // namespace

class TestProgressWindow final : public QObject
{
    Q_OBJECT

private slots:
    void chartsShowTheDays_data();
    void chartsShowTheDays();
    void missedWordsAskForTheirLookup();
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

void TestProgressWindow::chartsShowTheDays()
{
    QFETCH(QPalette, colours);
    ProgressWindow window;
    window.setPalette(colours);
    window.showProgress(sample());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QRgb bar = ProgressWindow::barColour(colours).rgb();
    // (chart, the days of its bars counted from its first, their heights as fractions of
    // the first bar's)
    const struct
    {
        const char *chart;
        std::vector<int> days;
        std::vector<double> heights;
    } charts[] = {
        {"accuracyChart", {0, 7, 9}, {1, 2, 0.5}},
        {"checkedChart", {0, 7, 9}, {1, 2, 4}},
        {"dueChart", {0, 3}, {1, 2}},
    };
    for (const auto &c : charts) {
        auto *chart = window.findChild<QWidget *>(QLatin1String(c.chart));
        QVERIFY(chart);
        const QImage shot = chart->grab().toImage();
        const QRgb base = shot.pixel(1, 1);
        QCOMPARE(base, colours.color(QPalette::Base).rgb());
        QVERIFY2(contrast(bar, base) >= 3, c.chart);
        const std::vector<Bar> bars = paintedBars(shot, bar);
        QCOMPARE(bars.size(), c.days.size());
        // the columns are evenly spaced: the gaps between bars go as the days between them
        const double column =
            (bars.back().centre - bars.front().centre) / (c.days.back() - c.days.front());
        QVERIFY(column > 10);
        for (size_t i = 0; i < bars.size(); ++i) {
            QVERIFY2(std::abs(bars[i].centre - bars[0].centre - c.days[i] * column) <= 1.5,
                     c.chart);
            QVERIFY2(std::abs(bars[i].height - c.heights[i] * bars[0].height) <= 1.5, c.chart);
        }
    }
}

void TestProgressWindow::missedWordsAskForTheirLookup()
{
    ProgressWindow window;
    window.showProgress(sample());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(wordButtons(window), (QStringList{u"the"_s, u"ant"_s, u"dog"_s}));
    QVERIFY(!window.findChild<QWidget *>(u"noWords"_s)->isVisible());

    QSignalSpy chosen(&window, &ProgressWindow::wordChosen);
    QToolButton *ant = window.findChildren<QToolButton *>(u"missedWord"_s)[1];
    QTest::mouseClick(ant, Qt::LeftButton);
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen[0][0].toString(), u"ant"_s);
}

// Without a check and with nothing due, the charts say so instead of drawing bars; the
// words shown before go.
void TestProgressWindow::nothingCheckedYet()
{
    ProgressWindow window;
    window.showProgress(sample());
    lesson::LearningProgress none;
    none.today = today;
    none.due.assign(lesson::LearningProgress::dueDays, 0);
    window.showProgress(none);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QRgb bar = ProgressWindow::barColour(window.palette()).rgb();
    for (const char *name : {"accuracyChart", "checkedChart", "dueChart"}) {
        const QImage shot = window.findChild<QWidget *>(QLatin1String(name))->grab().toImage();
        QVERIFY2(paintedBars(shot, bar).empty(), name);
        // the text is across the middle, readable
        const QRgb base = shot.pixel(1, 1);
        int ink = 0;
        for (int y = shot.height() / 3; y < shot.height() * 2 / 3; ++y)
            for (int x = 0; x < shot.width(); ++x)
                ink += contrast(shot.pixel(x, y), base) >= 4.5;
        QVERIFY2(ink > 100, name);
    }
    QVERIFY(wordButtons(window).isEmpty());
    QVERIFY(window.findChild<QWidget *>(u"noWords"_s)->isVisible());
}

QTEST_MAIN(TestProgressWindow)
#include "tst_progresswindow.moc"
