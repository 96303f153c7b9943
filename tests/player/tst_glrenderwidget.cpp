// The picture view under a real (software) OpenGL context: extensions, letterboxing,
// upload of rows of any width in YUV and RGB, the stream's colours, and the double click.
#include "player/glrenderwidget.h"

#include "lesson/lessoncontroller.h"
#include "media/ffmpeg.h"
#include "media/picturesource.h"
#include "support/mediafixtures.h"

#include <QSignalSpy>
#include <QTest>

namespace {

bool isColour(QRgb px, int r, int g, int b, int tolerance = 40)
{
    return qAbs(qRed(px) - r) < tolerance && qAbs(qGreen(px) - g) < tolerance &&
           qAbs(qBlue(px) - b) < tolerance;
}

constexpr int yuv = AV_PIX_FMT_YUV420P;
constexpr int rgb = AV_PIX_FMT_RGB24;

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
    void answersCapabilitiesBeforeAnyView();
    void keepsTheVideoRatio_data();
    void keepsTheVideoRatio();
    void uploadsRowsOfAnyWidth_data();
    void uploadsRowsOfAnyWidth();
    void showsTheStreamsColours_data();
    void showsTheStreamsColours();
    void doubleClickEmitsOnce();

private:
    // Shows file in a view of the given size until its first picture is drawn.
    std::unique_ptr<LessonController> play(GLRenderWidget &view, const QString &file,
                                           int pixelFormat);
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
    QVERIFY(
        colour(QStringLiteral("wide.mp4"), QStringLiteral("color=c=red:size=470x200:duration=2")));
    QVERIFY(colour(QStringLiteral("square.mp4"),
                   QStringLiteral("color=c=red:size=320x240:duration=2")));
    // left half red, right half blue, at a width whose RGB rows are not 4-byte multiples
    // left half red, right half blue, at widths whose rows are not 4-byte multiples: in
    // 4:2:0 as the decoder pads it, in 4:4:4 (converted), and odd (a chroma column more)
    const QString halves = QStringLiteral("color=c=blue:size=%1x480:duration=2,"
                                          "drawbox=x=0:y=0:w=%2:h=480:color=red:t=fill");
    QVERIFY(colour(QStringLiteral("halves.mp4"), halves.arg(854).arg(427)));
    QVERIFY(fx.make(QStringLiteral("halves444.mp4"),
                    {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                     halves.arg(854).arg(427), QStringLiteral("-c:v"), QStringLiteral("libx264"),
                     QStringLiteral("-pix_fmt"), QStringLiteral("yuv444p")}));
    QVERIFY(fx.make(QStringLiteral("halvesodd.mkv"),
                    {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                     halves.arg(853).arg(427), QStringLiteral("-c:v"), QStringLiteral("ffv1"),
                     QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p")}));
    // one green in the matrices and ranges a stream may state
    const QString green = QStringLiteral("color=c=0x28C83C:size=320x240:duration=2");
    const auto greenAs = [&](const QString &name, const QStringList &tags) {
        return fx.make(name, QStringList{QStringLiteral("-f"), QStringLiteral("lavfi"),
                                         QStringLiteral("-i"), green} +
                                 tags + MediaFixtures::h264());
    };
    QVERIFY(greenAs(QStringLiteral("green601.mp4"), {}));
    QVERIFY(greenAs(QStringLiteral("green709.mp4"),
                    {QStringLiteral("-vf"), QStringLiteral("scale=out_color_matrix=bt709"),
                     QStringLiteral("-colorspace"), QStringLiteral("bt709")}));
    QVERIFY(greenAs(QStringLiteral("greenfull.mp4"),
                    {QStringLiteral("-vf"), QStringLiteral("scale=out_range=pc"),
                     QStringLiteral("-color_range"), QStringLiteral("pc")}));
}

std::unique_ptr<LessonController> TestGLRenderWidget::play(GLRenderWidget &view,
                                                           const QString &file, int pixelFormat)
{
    view.show();
    if (!QTest::qWaitForWindowExposed(&view))
        return nullptr;
    auto lesson = std::make_unique<LessonController>();
    lesson->setPictureFormat({false, 16, pixelFormat});
    // the clips are of one picture repeated: the view shows it however far they play
    if (!lesson->open(fx.path(file)))
        return nullptr;
    view.setVideo(lesson->pictures());
    QSignalSpy frames(lesson->pictures(), &PictureSource::frameReady);
    if (!frames.wait(5000))
        return nullptr;
    return lesson;
}

void TestGLRenderWidget::answersCapabilitiesBeforeAnyView()
{
    // no view exists yet: the answer comes from a temporary context
    QVERIFY(GLRenderWidget::hasGLExtension(QStringLiteral("gl_arb_texture_non_power_of_two")));
    QVERIFY(GLRenderWidget::hasGLExtension(QStringLiteral("GL_ARB_texture_non_power_of_two")));
    QVERIFY(!GLRenderWidget::hasGLExtension(QStringLiteral("GL_VORLYN_no_such_extension")));
    // the shader compiles under Mesa; the environment can still ask for RGB pictures
    QVERIFY(GLRenderWidget::showsYuvPictures());
    qputenv("VORLYN_RGB_PICTURES", "1");
    QVERIFY(!GLRenderWidget::showsYuvPictures());
    qunsetenv("VORLYN_RGB_PICTURES");
}

void TestGLRenderWidget::keepsTheVideoRatio_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("view");
    QTest::addColumn<QPoint>("band");    // a point in a black band
    QTest::addColumn<QPoint>("picture"); // a point of the picture
    QTest::addColumn<int>("pixelFormat");
    for (const int format : {yuv, rgb}) {
        const char *path = format == yuv ? "YUV" : "RGB";
        // 2.35:1 in 4:3: full width, bands of 65 pixels above and below
        QTest::addRow("letterbox %s", path) << QStringLiteral("wide.mp4") << QSize(400, 300)
                                            << QPoint(200, 40) << QPoint(200, 80) << format;
        // 4:3 in 16:9: full height, bands of 60 pixels left and right
        QTest::addRow("pillarbox %s", path) << QStringLiteral("square.mp4") << QSize(480, 270)
                                            << QPoint(40, 135) << QPoint(80, 135) << format;
    }
}

void TestGLRenderWidget::keepsTheVideoRatio()
{
    QFETCH(QString, file);
    QFETCH(QSize, view);
    QFETCH(QPoint, band);
    QFETCH(QPoint, picture);
    QFETCH(int, pixelFormat);
    GLRenderWidget w;
    w.resize(view);
    auto m = play(w, file, pixelFormat);
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
    w.setVideo(nullptr);
    m->close();
}

void TestGLRenderWidget::uploadsRowsOfAnyWidth_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("pixelFormat");
    const QString h264 = QStringLiteral("halves.mp4");
    QTest::newRow("YUV as decoded") << h264 << yuv;
    QTest::newRow("YUV converted from 4:4:4") << QStringLiteral("halves444.mp4") << yuv;
    QTest::newRow("YUV odd width") << QStringLiteral("halvesodd.mkv") << yuv;
    QTest::newRow("RGB24") << h264 << rgb;
    QTest::newRow("RGB24 odd width") << QStringLiteral("halvesodd.mkv") << rgb;
    QTest::newRow("RGBA") << h264 << int(AV_PIX_FMT_RGBA);
    QTest::newRow("BGRA") << h264 << int(AV_PIX_FMT_BGRA);
}

void TestGLRenderWidget::uploadsRowsOfAnyWidth()
{
    QFETCH(QString, file);
    QFETCH(int, pixelFormat);
    GLRenderWidget w;
    w.resize(854, 480);
    auto m = play(w, file, pixelFormat);
    QVERIFY(m);
    const QImage img = w.grabFramebuffer();
    // a sheared upload would move the colour boundary further down each row
    for (int y : {2, 240, 477}) {
        for (int x : {5, 380, 474, 848}) {
            const bool red = x < 427;
            QVERIFY2(
                isColour(img.pixel(x, y), red ? 255 : 0, 0, red ? 0 : 255),
                qPrintable(
                    QStringLiteral("(%1,%2) %3").arg(x).arg(y).arg(describe(img.pixel(x, y)))));
        }
    }
    w.setVideo(nullptr);
    m->close();
}

void TestGLRenderWidget::showsTheStreamsColours_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("pixelFormat");
    for (const int format : {yuv, rgb}) {
        const char *path = format == yuv ? "YUV" : "RGB";
        QTest::addRow("BT.601 %s", path) << QStringLiteral("green601.mp4") << format;
        QTest::addRow("BT.709 %s", path) << QStringLiteral("green709.mp4") << format;
        QTest::addRow("full range %s", path) << QStringLiteral("greenfull.mp4") << format;
    }
}

void TestGLRenderWidget::showsTheStreamsColours()
{
    QFETCH(QString, file);
    QFETCH(int, pixelFormat);
    GLRenderWidget w;
    w.resize(320, 240);
    auto m = play(w, file, pixelFormat);
    QVERIFY(m);
    const QRgb px = w.grabFramebuffer().pixel(160, 120);
    // read with the wrong matrix or range the green is off by 12 to 26 in one channel
    QVERIFY2(isColour(px, 0x28, 0xC8, 0x3C, 8), qPrintable(describe(px)));
    w.setVideo(nullptr);
    m->close();
}

void TestGLRenderWidget::doubleClickEmitsOnce()
{
    GLRenderWidget w;
    w.resize(200, 150);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QSignalSpy closed(&w, &GLRenderWidget::windowClosed);
    // through the window, as the display delivers it: over the picture's own window
    QTest::mouseDClick(w.windowHandle(), Qt::LeftButton, {}, QPoint(100, 75));
    QCOMPARE(closed.count(), 1);
}

QTEST_MAIN(TestGLRenderWidget)
#include "tst_glrenderwidget.moc"
