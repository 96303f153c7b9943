// Left clicks and drags inside the slider become fractions of its width, and the track,
// loop band and handle are painted where the positions say; both are read back from
// grabs of hidden widgets, as is the control panel's gradient.
#include "player/controlwidget.h"
#include "player/seekslider.h"

#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <functional>

namespace {

struct Probe
{
    QPoint at;
    QColor color;
};
using Setup = std::function<void(QSeekSlider &)>;

const QColor black(Qt::black), white(Qt::white), grey(Qt::gray), band(209, 201, 134),
    bandTop(168, 169, 101), handleTop(118, 169, 196), handleBottom(17, 113, 163);

void verifyProbes(QWidget &widget, const QList<Probe> &probes, int tolerance)
{
    const QImage image = widget.grab().toImage();
    for (const Probe &p : probes) {
        const QColor got = image.pixelColor(p.at);
        QVERIFY2(qAbs(got.red() - p.color.red()) <= tolerance &&
                     qAbs(got.green() - p.color.green()) <= tolerance &&
                     qAbs(got.blue() - p.color.blue()) <= tolerance,
                 qPrintable(QStringLiteral("(%1, %2) is %3, not %4")
                                .arg(p.at.x())
                                .arg(p.at.y())
                                .arg(got.name(), p.color.name())));
    }
}

void mouse(QWidget &w, QEvent::Type type, QPointF pos, Qt::MouseButton button = Qt::LeftButton,
           Qt::MouseButtons buttons = Qt::LeftButton)
{
    QMouseEvent event(type, pos, w.mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &event);
}

} // namespace

Q_DECLARE_METATYPE(Probe)
Q_DECLARE_METATYPE(Setup)

class TestSeekSlider : public QObject
{
    Q_OBJECT
private slots:
    void reportsAndPaints_data();
    void reportsAndPaints();
    void panelGradient();
};

void TestSeekSlider::reportsAndPaints_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QList<double>>("reported");
    QTest::addColumn<QList<Probe>>("probes");
    const auto row = [](const char *name, const Setup &setup, const QList<double> &reported,
                        const QList<Probe> &probes) {
        QTest::newRow(name) << setup << reported << probes;
    };

    const Setup press = [](QSeekSlider &s) { mouse(s, QEvent::MouseButtonPress, {150, 4}); };
    const Setup loop = [](QSeekSlider &s) {
        s.setMarkInFlag(0.2);
        s.setMarkOutFlag(0.6);
    };

    // The slider is 600 × 8. The band is a 6-pixel line at y = 5 with 3-pixel round caps:
    // one pixel in from its ends is band, six out is track.
    row("left click", press, {0.25},
        {{{150, 1}, handleTop}, {{150, 6}, handleBottom}, {{300, 1}, white}});
    row("right click",
        [](QSeekSlider &s) {
            mouse(s, QEvent::MouseButtonPress, {150, 4}, Qt::RightButton, Qt::RightButton);
        },
        {}, {{{150, 1}, black}});
    row("left and right held",
        [](QSeekSlider &s) {
            mouse(s, QEvent::MouseButtonPress, {150, 4}, Qt::RightButton,
                  Qt::LeftButton | Qt::RightButton);
        },
        {}, {{{150, 1}, black}});
    row("drag leaving the widget",
        [](QSeekSlider &s) {
            mouse(s, QEvent::MouseButtonPress, {300, 4});
            const QList<QPointF> moves{{600, 8}, {600.5, 4}, {-0.5, 4}, {0, 0}, {60, -1}, {60, 9}};
            for (const QPointF &pos : moves)
                mouse(s, QEvent::MouseMove, pos, Qt::NoButton);
        },
        {0.5, 1.0, 0.0}, {});
    row("loop 0.2 to 0.6", loop, {},
        {{{114, 5}, black}, {{121, 5}, band}, {{240, 0}, bandTop}, {{359, 5}, band}});
    row("loop end 0 is the right end",
        [](QSeekSlider &s) {
            s.setMarkInFlag(0.2);
            s.setMarkOutFlag(0);
        },
        {}, {{{114, 5}, black}, {{121, 5}, band}, {{599, 5}, band}});
    row("reset",
        [loop](QSeekSlider &s) {
            loop(s);
            s.resetMark();
        },
        {}, {{{240, 0}, black}, {{240, 5}, black}});
    row("handle at the right end is hidden", [](QSeekSlider &s) { s.setValue(1.0); }, {},
        {{{598, 1}, white}, {{598, 6}, grey}});
    row("600 to 300 halves all",
        [press, loop](QSeekSlider &s) {
            press(s);
            loop(s);
            s.grab();
            s.resize(300, 8);
        },
        {0.25}, {{{54, 5}, grey}, {{61, 5}, band}, {{75, 1}, handleTop}, {{179, 5}, band}});
    // painting stores the loop end as 600, and 600 × (310 ÷ 600) is not quite 310
    row("no loop after resize to 310",
        [](QSeekSlider &s) {
            s.grab();
            s.resize(310, 8);
        },
        {}, {{{155, 0}, black}, {{155, 5}, black}});
}

void TestSeekSlider::reportsAndPaints()
{
    QFETCH(Setup, setup);
    QFETCH(QList<double>, reported);
    QFETCH(QList<Probe>, probes);

    QSeekSlider slider;
    slider.resize(600, 8);
    QSignalSpy spy(&slider, &QSeekSlider::valueChanged);
    setup(slider);
    QList<double> got;
    for (const QList<QVariant> &args : spy)
        got << args.at(0).toDouble();
    QCOMPARE(got, reported);
    verifyProbes(slider, probes, 2);
}

void TestSeekSlider::panelGradient()
{
    ControlWidget panel;
    panel.resize(900, 50);
    verifyProbes(panel,
                 {{{0, 0}, black},
                  {{899, 0}, black},
                  {{450, 25}, QColor(10, 64, 92)},
                  {{0, 49}, QColor(19, 126, 182)},
                  {{899, 49}, QColor(19, 126, 182)}},
                 4);
}

QTEST_MAIN(TestSeekSlider)
#include "tst_seekslider.moc"
