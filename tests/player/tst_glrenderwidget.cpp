// The picture view under a real (software) OpenGL context: extensions, letterboxing,
// upload of packed rows and of 4-byte pixels, and the double click.
#include "player/glrenderwidget.h"

#include "media/media.h"
#include "support/mediafixtures.h"

#include <QSignalSpy>
#include <QTest>

namespace {

bool isColour(QRgb px, int r, int g, int b)
{
    return qAbs(qRed(px) - r) < 40 && qAbs(qGreen(px) - g) < 40 && qAbs(qBlue(px) - b) < 40;
}

QString describe(QRgb px)
{
    return QStringLiteral("(%1, %2, %3)").arg(qRed(px)).arg(qGreen(px)).arg(qBlue(px));
}

} // namespace

class TestGLRenderWidget : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void answersExtensionsBeforeAnyView();
    void keepsTheVideoRatio_data();
    void keepsTheVideoRatio();
    void uploadsPackedRowsAndFourBytePixels_data();
    void uploadsPackedRowsAndFourBytePixels();
    void doubleClickEmitsOnce();

private:
    // Shows file in a view of the given size until its first picture is drawn.
    std::unique_ptr<Media> play(GLRenderWidget &view, const QString &file, int pixelFormat);
    MediaFixtures fx;
};

void TestGLRenderWidget::initTestCase()
{
    QVERIFY(fx.dir.isValid());
    const auto colour = [this](const QString &name, const QString &graph) {
        return fx.make(name, QStringList{QStringLiteral("-f"), QStringLiteral("lavfi"),
                                         QStringLiteral("-i"), graph} +
                                 MediaFixtures::h264());
    };
    QVERIFY(colour(QStringLiteral("wide.mp4"), QStringLiteral("color=c=red:size=470x200:duration=2")));
    QVERIFY(colour(QStringLiteral("square.mp4"), QStringLiteral("color=c=red:size=320x240:duration=2")));
    // left half red, right half blue, at a width whose RGB rows are not 4-byte multiples
    QVERIFY(colour(QStringLiteral("halves.mp4"),
                   QStringLiteral("color=c=blue:size=854x480:duration=2,"
                                  "drawbox=x=0:y=0:w=427:h=480:color=red:t=fill")));
}

std::unique_ptr<Media> TestGLRenderWidget::play(GLRenderWidget &view, const QString &file,
                                                int pixelFormat)
{
    auto m = std::make_unique<Media>(nullptr, false, 16, pixelFormat, 0, 0);
    if (!m->open(fx.path(file)))
        return nullptr;
    view.show();
    if (!QTest::qWaitForWindowExposed(&view))
        return nullptr;
    view.setVideo(m.get());
    QSignalSpy frames(m.get(), &Media::frameReady);
    m->start();
    if (!frames.wait(5000))
        return nullptr;
    m->pause(true);
    QTest::qWait(50);
    return m;
}

void TestGLRenderWidget::answersExtensionsBeforeAnyView()
{
    // no view exists yet: the answer comes from a temporary context
    QVERIFY(GLRenderWidget::hasGLExtension(QStringLiteral("gl_arb_texture_non_power_of_two")));
    QVERIFY(GLRenderWidget::hasGLExtension(QStringLiteral("GL_ARB_texture_non_power_of_two")));
    QVERIFY(!GLRenderWidget::hasGLExtension(QStringLiteral("GL_VORLYN_no_such_extension")));
}

void TestGLRenderWidget::keepsTheVideoRatio_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("view");
    QTest::addColumn<QPoint>("band");    // a point in a black band
    QTest::addColumn<QPoint>("picture"); // a point of the picture
    // 2.35:1 in 4:3: full width, bands of 65 pixels above and below
    QTest::newRow("letterbox") << QStringLiteral("wide.mp4") << QSize(400, 300) << QPoint(200, 40)
                               << QPoint(200, 80);
    // 4:3 in 16:9: full height, bands of 60 pixels left and right
    QTest::newRow("pillarbox") << QStringLiteral("square.mp4") << QSize(480, 270) << QPoint(40, 135)
                               << QPoint(80, 135);
}

void TestGLRenderWidget::keepsTheVideoRatio()
{
    QFETCH(QString, file);
    QFETCH(QSize, view);
    QFETCH(QPoint, band);
    QFETCH(QPoint, picture);
    GLRenderWidget w;
    w.resize(view);
    auto m = play(w, file, AV_PIX_FMT_RGB24);
    QVERIFY(m);
    QImage img = w.grabFramebuffer();
    QCOMPARE(img.size(), view);
    const QPoint mirrored(view.width() - 1 - band.x(), view.height() - 1 - band.y());
    QVERIFY2(isColour(img.pixel(band), 0, 0, 0), qPrintable(describe(img.pixel(band))));
    QVERIFY2(isColour(img.pixel(mirrored), 0, 0, 0), qPrintable(describe(img.pixel(mirrored))));
    QVERIFY2(isColour(img.pixel(picture), 255, 0, 0), qPrintable(describe(img.pixel(picture))));

    // without the ratio the picture fills the view
    w.setVideoAspectRatio(false);
    w.update();
    img = w.grabFramebuffer();
    QVERIFY2(isColour(img.pixel(band), 255, 0, 0), qPrintable(describe(img.pixel(band))));
    QVERIFY2(isColour(img.pixel(mirrored), 255, 0, 0), qPrintable(describe(img.pixel(mirrored))));
    m->stop();
    w.setVideo(nullptr);
}

void TestGLRenderWidget::uploadsPackedRowsAndFourBytePixels_data()
{
    QTest::addColumn<int>("pixelFormat");
    QTest::newRow("RGB24") << int(AV_PIX_FMT_RGB24);
    QTest::newRow("RGBA") << int(AV_PIX_FMT_RGBA);
    QTest::newRow("BGRA") << int(AV_PIX_FMT_BGRA);
}

void TestGLRenderWidget::uploadsPackedRowsAndFourBytePixels()
{
    QFETCH(int, pixelFormat);
    GLRenderWidget w;
    w.resize(854, 480);
    auto m = play(w, QStringLiteral("halves.mp4"), pixelFormat);
    QVERIFY(m);
    const QImage img = w.grabFramebuffer();
    // a sheared upload would move the colour boundary further down each row
    for (int y : {2, 240, 477}) {
        for (int x : {5, 380})
            QVERIFY2(isColour(img.pixel(x, y), 255, 0, 0),
                     qPrintable(QStringLiteral("(%1,%2) %3").arg(x).arg(y).arg(describe(img.pixel(x, y)))));
        for (int x : {474, 848})
            QVERIFY2(isColour(img.pixel(x, y), 0, 0, 255),
                     qPrintable(QStringLiteral("(%1,%2) %3").arg(x).arg(y).arg(describe(img.pixel(x, y)))));
    }
    m->stop();
    w.setVideo(nullptr);
}

void TestGLRenderWidget::doubleClickEmitsOnce()
{
    GLRenderWidget w;
    w.resize(200, 150);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QSignalSpy closed(&w, &GLRenderWidget::windowClosed);
    QTest::mouseDClick(&w, Qt::LeftButton, {}, QPoint(100, 75));
    QCOMPARE(closed.count(), 1);
}

QTEST_MAIN(TestGLRenderWidget)
#include "tst_glrenderwidget.moc"
