#include "player/controlbutton.h"

#include <QDir>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// At width 600: c = 100, m = 300, r = 500; the knob starts at r + 25.
struct Bar
{
    explicit Bar(int width = 600)
    {
        widget.resize(width, 24);
        widget.show();
        if (!QTest::qWaitForWindowExposed(&widget))
            qFatal("bar not exposed");
    }
    QWindow *window() { return widget.windowHandle(); }

    // The dot centred on x fills the pixels x - 2 to x + 1 of the track's line.
    int knobX()
    {
        const QImage image = widget.grab().toImage();
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, 12) == qRgb(255, 255, 0))
                return x + 2;
        }
        return -1;
    }

    ControlButton widget;
};

using Commands = QList<PlayerKeys::Command>;

// commands: what a press runs, in order; mutes: whether it silences the sound
void pressRow(const char *name, int x, int y, const Commands &commands, bool mutes = false)
{
    QTest::newRow(name) << QPoint(x, y) << commands << mutes;
}

void hoverRow(const char *name, int x, int y, const char *tip)
{
    QTest::newRow(name) << QPoint(x, y) << QString::fromLatin1(tip);
}

} // namespace

class TestControlButton : public QObject
{
    Q_OBJECT
private slots:
    void press_data();
    void press();
    void hoverToolTip_data();
    void hoverToolTip();
    void volumeGesture_data();
    void volumeGesture();
    void knobFollowsTrack_data();
    void knobFollowsTrack();
    void partialRepaintKeepsLayout();
    void playIconSwapsImage();
};

void TestControlButton::press_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<Commands>("commands");
    QTest::addColumn<bool>("mutes");

    pressRow("play/pause", 75, 12, {PlayerKeys::PlayPause});
    pressRow("play/pause above images", 75, 3, {});
    pressRow("stop and forward where they overlap", 122, 12,
             {PlayerKeys::Stop, PlayerKeys::SkipForward});
    pressRow("forward", 125, 17, {PlayerKeys::SkipForward});
    pressRow("backward", 40, 7, {PlayerKeys::SkipBack});
    pressRow("start nudge left, last pixel", 233, 12, {PlayerKeys::NudgeMarkInEarlier});
    pressRow("start nudge left, end excluded", 234, 12, {});
    pressRow("set loop start", 240, 0, {PlayerKeys::MarkInHere});
    pressRow("start nudge right", 294, 16, {PlayerKeys::NudgeMarkInLater});
    pressRow("cancel loop", 300, 2, {PlayerKeys::CancelLoop});
    pressRow("end nudge left, hover-only part", 343, 12, {});
    pressRow("end nudge left", 344, 12, {PlayerKeys::NudgeMarkOutEarlier});
    pressRow("set loop end", 384, 23, {PlayerKeys::MarkOutHere});
    pressRow("end nudge right", 390, 10, {PlayerKeys::NudgeMarkOutLater});
    pressRow("end nudge right below images", 414, 18, {});
    pressRow("loop before start", 180, 20, {PlayerKeys::PreviousStretch});
    pressRow("loop after end", 444, 5, {PlayerKeys::NextStretch});
    pressRow("mute", 470, 23, {}, true);
    pressRow("editor", 594, 0, {PlayerKeys::ShowEditor});
}

void TestControlButton::press()
{
    QFETCH(QPoint, pos);
    QFETCH(Commands, commands);
    QFETCH(bool, mutes);

    Bar bar;
    Commands ran;
    connect(&bar.widget, &ControlButton::commandChosen, &bar.widget,
            [&ran](PlayerKeys::Command command) { ran += command; });
    QSignalSpy volume(&bar.widget, &ControlButton::volumeChanged);
    // the right button does nothing
    QTest::mouseClick(bar.window(), Qt::RightButton, {}, pos);
    QTest::mouseClick(bar.window(), Qt::LeftButton, {}, pos);
    QCOMPARE(ran, commands);
    QCOMPARE(volume.count(), mutes ? 1 : 0);
}

void TestControlButton::hoverToolTip_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<QString>("tip");

    // a command's tip names its keys as they are
    hoverRow("play/pause above images", 75, 1, "play/pause (F5, Space)");
    hoverRow("overlap: the later area names it", 122, 12, "forward (Right)");
    hoverRow("start nudge left, wide hover", 210, 12, "sharp tune start left (F13)");
    hoverRow("end nudge left, wide hover", 330, 20, "sharp tune end left (F3)");
    hoverRow("volume", 497, 9, "volume control");
    hoverRow("a gap keeps the last tip", 160, 12, "editor");
    hoverRow("off the volume band keeps the last tip", 525, 16, "editor");
}

void TestControlButton::hoverToolTip()
{
    QFETCH(QPoint, pos);
    QFETCH(QString, tip);

    Bar bar;
    PlayerKeys keys;
    keys.setKey(PlayerKeys::NudgeMarkInEarlier, 0, QKeySequence(Qt::Key_F13));
    bar.widget.showCommandKeys(keys);
    QTest::mouseMove(bar.window(), QPoint(580, 12));
    QCOMPARE(bar.widget.toolTip(), QStringLiteral("editor"));
    QTest::mouseMove(bar.window(), pos);
    QCOMPARE(bar.widget.toolTip(), tip);
}

void TestControlButton::volumeGesture_data()
{
    QTest::addColumn<QList<QPoint>>("path");
    QTest::addColumn<QList<double>>("volumes");
    QTest::addColumn<int>("knob");

    const QList<double> dragged{5.0 / 56, 15.0 / 56, 30.0 / 56};
    QTest::newRow("press middle") << QList<QPoint>{{525, 12}} << QList<double>{25.0 / 56} << 525;
    QTest::newRow("press moves knob")
        << QList<QPoint>{{540, 15}} << QList<double>{40.0 / 56} << 540;
    QTest::newRow("mute keeps knob") << QList<QPoint>{{490, 5}} << QList<double>{0} << 525;
    QTest::newRow("below band") << QList<QPoint>{{540, 16}} << QList<double>{} << 525;
    QTest::newRow("drag") << QList<QPoint>{{505, 12}, {515, 12}, {530, 12}} << dragged << 530;
    QTest::newRow("drag on band edge")
        << QList<QPoint>{{505, 9}, {515, 9}, {530, 9}} << dragged << 530;
    QTest::newRow("drag 4 above") << QList<QPoint>{{505, 8}, {515, 8}, {530, 8}} << QList<double>{}
                                  << 525;
}

void TestControlButton::volumeGesture()
{
    QFETCH(QList<QPoint>, path);
    QFETCH(QList<double>, volumes);
    QFETCH(int, knob);

    Bar bar;
    QSignalSpy spy(&bar.widget, &ControlButton::volumeChanged);
    QTest::mousePress(bar.window(), Qt::LeftButton, {}, path.first());
    for (QPoint p : path.mid(1))
        QTest::mouseMove(bar.window(), p);
    QTest::mouseRelease(bar.window(), Qt::LeftButton, {}, path.last());

    QList<double> got;
    for (const QList<QVariant> &args : spy) {
        QCOMPARE(args.at(1), args.at(0));
        got << args.at(0).toDouble();
    }
    QCOMPARE(got, volumes);
    QCOMPARE(bar.knobX(), knob);
}

void TestControlButton::knobFollowsTrack_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("whileHidden");
    QTest::addColumn<int>("knob");

    QTest::newRow("wider by 120") << 720 << false << 625;
    QTest::newRow("r rounds down") << 605 << false << 529;
    QTest::newRow("wider while hidden") << 720 << true << 625;
}

void TestControlButton::knobFollowsTrack()
{
    QFETCH(int, width);
    QFETCH(bool, whileHidden);
    QFETCH(int, knob);

    Bar bar;
    if (whileHidden)
        bar.widget.hide();
    bar.widget.resize(width, 24);
    bar.widget.show();
    QTRY_COMPARE(bar.widget.width(), width);
    QCOMPARE(bar.knobX(), knob);
}

void TestControlButton::partialRepaintKeepsLayout()
{
    Bar bar;
    QTest::mouseClick(bar.window(), Qt::LeftButton, {}, QPoint(540, 12));
    const QImage whole = bar.widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    QImage right(300, 24, QImage::Format_ARGB32);
    right.fill(Qt::transparent);
    bar.widget.render(&right, QPoint(), QRegion(300, 0, 300, 24));
    QCOMPARE(right, whole.copy(300, 0, 300, 24));
}

void TestControlButton::playIconSwapsImage()
{
    QTemporaryDir skinRoot;
    QVERIFY(QDir(skinRoot.path()).mkpath(QStringLiteral("skin/default/images")));
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(skinRoot.filePath(QStringLiteral("skin/default/images/play.png"))));
    image.fill(Qt::green);
    QVERIFY(image.save(skinRoot.filePath(QStringLiteral("skin/default/images/pause.png"))));
    const QString runDir = QDir::currentPath();
    QDir::setCurrent(skinRoot.path());
    const auto restore = qScopeGuard([&] { QDir::setCurrent(runDir); });

    // The play image sits at (c - 30, 7).
    Bar bar;
    QCOMPARE(bar.widget.grab().toImage().pixel(75, 12), qRgb(255, 0, 0));
    bar.widget.playIcon(true);
    QCOMPARE(bar.widget.grab().toImage().pixel(75, 12), qRgb(0, 255, 0));
    bar.widget.playIcon(false);
    QCOMPARE(bar.widget.grab().toImage().pixel(75, 12), qRgb(255, 0, 0));
}

QTEST_MAIN(TestControlButton)
#include "tst_controlbutton.moc"
