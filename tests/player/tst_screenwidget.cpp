// The idle screen reports a press of any button on its open button and a left double
// click anywhere, and draws its two images centred on black when they exist.
#include "player/screenwidget.h"

#include <QDir>
#include <QImage>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestScreenWidget : public QObject
{
    Q_OBJECT
private slots:
    void clicks_data();
    void clicks();
    void drawsImagesCentred_data();
    void drawsImagesCentred();
};

void TestScreenWidget::clicks_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("twice");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("doubleClicks");

    // In 640 × 430 the button spans x 275 to 365 and y 250 to 275, edges included.
    QTest::newRow("button top edge") << QPoint(320, 250) << Qt::LeftButton << false << 1 << 0;
    QTest::newRow("picture") << QPoint(320, 200) << Qt::LeftButton << false << 0 << 0;
    QTest::newRow("button, right") << QPoint(320, 250) << Qt::RightButton << false << 1 << 0;
    QTest::newRow("above button") << QPoint(320, 249) << Qt::LeftButton << false << 0 << 0;
    QTest::newRow("bottom left corner") << QPoint(275, 275) << Qt::LeftButton << false << 1 << 0;
    QTest::newRow("below button") << QPoint(275, 276) << Qt::LeftButton << false << 0 << 0;
    QTest::newRow("left of button") << QPoint(274, 260) << Qt::LeftButton << false << 0 << 0;
    QTest::newRow("right edge") << QPoint(365, 260) << Qt::LeftButton << false << 1 << 0;
    QTest::newRow("right of button") << QPoint(366, 260) << Qt::LeftButton << false << 0 << 0;
    QTest::newRow("double, left") << QPoint(40, 40) << Qt::LeftButton << true << 0 << 1;
    QTest::newRow("double, right") << QPoint(40, 40) << Qt::RightButton << true << 0 << 0;
}

void TestScreenWidget::clicks()
{
    QFETCH(QPoint, pos);
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, twice);
    QFETCH(int, clicks);
    QFETCH(int, doubleClicks);

    QScreenWidget screen;
    screen.resize(640, 430);
    QSignalSpy clickSpy(&screen, &QScreenWidget::click);
    QSignalSpy doubleSpy(&screen, &QScreenWidget::doubleClick);
    if (twice)
        QTest::mouseDClick(&screen, button, Qt::NoModifier, pos);
    else
        QTest::mouseClick(&screen, button, Qt::NoModifier, pos);
    QCOMPARE(clickSpy.count(), clicks);
    QCOMPARE(doubleSpy.count(), doubleClicks);
}

void TestScreenWidget::drawsImagesCentred_data()
{
    QTest::addColumn<bool>("withImages");
    QTest::newRow("artwork") << true;
    QTest::newRow("no artwork") << false;
}

void TestScreenWidget::drawsImagesCentred()
{
    QFETCH(bool, withImages);

    // the images are read relative to the working directory
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    const auto restore = qScopeGuard([&] { QDir::setCurrent(previous); });
    const auto writeImage = [](const QString &name, QSize size, QColor color) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(color);
        return QDir().mkpath(QStringLiteral("skin/default/images")) &&
               image.save(QStringLiteral("skin/default/images/") + name);
    };
    if (withImages) {
        QVERIFY(writeImage(QStringLiteral("vorlynscreen.png"), {262, 100}, Qt::red));
        QVERIFY(writeImage(QStringLiteral("open_button.png"), {90, 25}, Qt::green));
    }

    QScreenWidget screen;
    screen.resize(640, 430);
    const QImage image = screen.grab().toImage();
    const QColor picture = withImages ? Qt::red : Qt::black;
    const QColor button = withImages ? Qt::green : Qt::black;
    const QList<std::pair<QPoint, QColor>> probes{
        {{189, 165}, picture},   {{450, 264}, picture}, {{188, 215}, Qt::black},
        {{320, 164}, Qt::black}, {{275, 250}, button},  {{364, 274}, button},
        {{320, 275}, Qt::black}, {{0, 0}, Qt::black},   {{639, 429}, Qt::black}};
    for (const auto &[at, color] : probes)
        QCOMPARE(image.pixelColor(at), color);

    QSignalSpy clickSpy(&screen, &QScreenWidget::click);
    QTest::mouseClick(&screen, Qt::LeftButton, Qt::NoModifier, {320, 260});
    QCOMPARE(clickSpy.count(), 1);
}

QTEST_MAIN(TestScreenWidget)
#include "tst_screenwidget.moc"
