// Checks the rendered artwork in the run tree: every image the player paints exists,
// loads, has the size its place on the button bar or the idle screen is made for, has a
// transparent background and shows a picture that is more than a dot. Runs in the
// run tree, without windows.

#include <QFileInfo>
#include <QImage>
#include <QTest>

namespace {

const QString imageDir = QStringLiteral("./skin/default/images/");

// Share of pixels that must be mostly opaque: every picture covers at least this much of
// its image, so a drawing that landed outside the canvas or scaled to a dot is caught.
constexpr double minCoverage = 0.05;

struct Coverage
{
    qsizetype visible = 0;     // alpha above half
    qsizetype transparent = 0; // alpha zero
};

Coverage coverageOf(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    Coverage c;
    for (int y = 0; y < argb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            const int alpha = qAlpha(line[x]);
            if (alpha > 127)
                ++c.visible;
            else if (alpha == 0)
                ++c.transparent;
        }
    }
    return c;
}

QImage load(const QString &file)
{
    return QImage(imageDir + file);
}

} // namespace

class TestArtwork final : public QObject
{
    Q_OBJECT
private slots:
    void image_data();
    void image();
    void pairsDiffer_data();
    void pairsDiffer();
};

void TestArtwork::image_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");

    // Bar buttons drawn at y 7 fill the 10 pixels down to y 17 of the 24 pixel bar; the
    // others are as high as the bar. Widths follow the press areas.
    const QSize transport(24, 10);
    const QSize nudge(10, 10);
    const QSize fullHeight(24, 24);
    QTest::newRow("play") << QStringLiteral("play.png") << transport;
    QTest::newRow("pause") << QStringLiteral("pause.png") << transport;
    QTest::newRow("stop") << QStringLiteral("stop.png") << transport;
    QTest::newRow("forward") << QStringLiteral("forward.png") << transport;
    QTest::newRow("backward") << QStringLiteral("backward.png") << transport;
    QTest::newRow("nudge left") << QStringLiteral("weitiao01.png") << nudge;
    QTest::newRow("nudge right") << QStringLiteral("weitiao02.png") << nudge;
    QTest::newRow("loop start") << QStringLiteral("start.png") << fullHeight;
    QTest::newRow("loop end") << QStringLiteral("end.png") << fullHeight;
    QTest::newRow("cancel loop") << QStringLiteral("repeat.png") << fullHeight;
    QTest::newRow("next segment") << QStringLiteral("xyd.png") << fullHeight;
    QTest::newRow("previous segment") << QStringLiteral("syd.png") << fullHeight;
    QTest::newRow("volume") << QStringLiteral("voice.png") << fullHeight;
    QTest::newRow("editor") << QStringLiteral("editor.png") << fullHeight;
    // The idle screen centres the picture 131 pixels either side of the middle, and the
    // open button reacts on 90 x 25 pixels.
    QTest::newRow("product picture") << QStringLiteral("vorlynscreen.png") << QSize(262, 80);
    QTest::newRow("open button") << QStringLiteral("open_button.png") << QSize(90, 25);
    QTest::newRow("window icon") << QStringLiteral("vorlynplayer.png") << QSize(64, 64);
}

void TestArtwork::image()
{
    QFETCH(QString, file);
    QFETCH(QSize, size);

    const QString path = imageDir + file;
    QVERIFY2(QFileInfo::exists(path), qPrintable(path + QStringLiteral(" is missing")));
    const QImage image = load(file);
    QVERIFY2(!image.isNull(), qPrintable(path + QStringLiteral(" does not load")));
    QCOMPARE(image.size(), size);
    // The bar's gradient and the black screen must show around the picture.
    QVERIFY(image.hasAlphaChannel());

    const Coverage c = coverageOf(image);
    const qsizetype pixels = qsizetype(size.width()) * size.height();
    QVERIFY2(c.transparent > 0, "no transparent background");
    QVERIFY2(double(c.visible) >= minCoverage * double(pixels),
             qPrintable(QStringLiteral("only %1 of %2 pixels visible").arg(c.visible).arg(pixels)));
}

void TestArtwork::pairsDiffer_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");

    // Images that stand for opposite commands and would be mixed up by a copied source.
    QTest::newRow("play, pause") << QStringLiteral("play.png") << QStringLiteral("pause.png");
    QTest::newRow("play, stop") << QStringLiteral("play.png") << QStringLiteral("stop.png");
    QTest::newRow("forward, backward")
        << QStringLiteral("forward.png") << QStringLiteral("backward.png");
    QTest::newRow("nudges") << QStringLiteral("weitiao01.png") << QStringLiteral("weitiao02.png");
    QTest::newRow("loop start, end") << QStringLiteral("start.png") << QStringLiteral("end.png");
    QTest::newRow("segments") << QStringLiteral("xyd.png") << QStringLiteral("syd.png");
}

void TestArtwork::pairsDiffer()
{
    QFETCH(QString, first);
    QFETCH(QString, second);

    const QImage a = load(first);
    const QImage b = load(second);
    QVERIFY(!a.isNull());
    QVERIFY(!b.isNull());
    QVERIFY2(
        a.convertToFormat(QImage::Format_ARGB32) != b.convertToFormat(QImage::Format_ARGB32),
        qPrintable(first + QStringLiteral(" and ") + second + QStringLiteral(" are the same")));
}

QTEST_GUILESS_MAIN(TestArtwork)
#include "tst_artwork.moc"
