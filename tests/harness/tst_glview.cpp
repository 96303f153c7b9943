// A compatibility-profile QOpenGLWidget really renders under the headless display:
// fixed-function drawing lands in the framebuffer and can be read back.
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLWidget>
#include <QSurfaceFormat>
#include <QTest>

#include <GL/gl.h>

namespace {

class QuadView final : public QOpenGLWidget
{
public:
    QuadView()
    {
        QSurfaceFormat fmt;
        fmt.setRenderableType(QSurfaceFormat::OpenGL);
        fmt.setProfile(QSurfaceFormat::CompatibilityProfile);
        fmt.setVersion(2, 1);
        setFormat(fmt);
    }
    int paints = 0;

protected:
    void paintGL() override
    {
        ++paints;
        glViewport(0, 0, width(), height());
        glClearColor(0.f, 0.f, 1.f, 1.f);
        glClear(GL_COLOR_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 1, 0, 1, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        // a red quad over the left half
        glColor3f(1.f, 0.f, 0.f);
        glBegin(GL_QUADS);
        glVertex2f(0.f, 0.f);
        glVertex2f(0.5f, 0.f);
        glVertex2f(0.5f, 1.f);
        glVertex2f(0.f, 1.f);
        glEnd();
    }
};

} // namespace

class TestGlView : public QObject
{
    Q_OBJECT
private slots:
    void offscreenContextExists();
    void fixedFunctionQuadIsReadBack();
};

void TestGlView::offscreenContextExists()
{
    QOpenGLContext ctx;
    QVERIFY(ctx.create());
    QVERIFY(ctx.isValid());
}

void TestGlView::fixedFunctionQuadIsReadBack()
{
    QuadView view;
    view.resize(200, 100);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QTRY_VERIFY(view.paints > 0);
    QVERIFY(view.context()->format().profile() != QSurfaceFormat::CoreProfile);

    const QImage img = view.grabFramebuffer();
    QCOMPARE(img.size(), QSize(200, 100));
    QCOMPARE(QColor(img.pixel(20, 50)), QColor(Qt::red));
    QCOMPARE(QColor(img.pixel(180, 50)), QColor(Qt::blue));
}

QTEST_MAIN(TestGlView)
#include "tst_glview.moc"
