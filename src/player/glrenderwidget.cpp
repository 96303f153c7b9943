#include "player/glrenderwidget.h"

#include "media/media.h"

#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QSurfaceFormat>

#include <GL/gl.h>
#include <GL/glu.h>

QStringList GLRenderWidget::glExtensions;

namespace {

// The fixed-function calls (display list, flat shading, gluOrtho2D) need a
// compatibility-profile context.
QSurfaceFormat viewFormat()
{
    QSurfaceFormat fmt;
    fmt.setRenderableType(QSurfaceFormat::OpenGL);
    fmt.setProfile(QSurfaceFormat::CompatibilityProfile);
    fmt.setVersion(2, 1);
    fmt.setAlphaBufferSize(8);
    fmt.setDepthBufferSize(24);
    fmt.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    return fmt;
}

} // namespace

GLRenderWidget::GLRenderWidget(QWidget *parent) : QOpenGLWidget(parent)
{
    setFormat(viewFormat());
}

GLRenderWidget::~GLRenderWidget()
{
    if (displayList == 0)
        return;
    makeCurrent();
    glDeleteLists(displayList, 1);
    glDeleteTextures(1, &textureId);
    doneCurrent();
}

void GLRenderWidget::readExtensions()
{
    if (!glExtensions.isEmpty())
        return;
    QOpenGLContext *current = QOpenGLContext::currentContext();
    if (current) {
        for (const QByteArray &e : current->extensions())
            glExtensions << QString::fromLatin1(e);
        return;
    }
    QOffscreenSurface surface;
    surface.setFormat(viewFormat());
    surface.create();
    QOpenGLContext ctx;
    ctx.setFormat(viewFormat());
    if (!ctx.create() || !ctx.makeCurrent(&surface))
        return;
    for (const QByteArray &e : ctx.extensions())
        glExtensions << QString::fromLatin1(e);
    ctx.doneCurrent();
}

bool GLRenderWidget::hasGLExtension(const QString &name)
{
    readExtensions();
    return glExtensions.contains(name, Qt::CaseInsensitive);
}

void GLRenderWidget::setVideo(Media *m)
{
    media = m;
    if (m)
        connect(m, &Media::frameReady, this, &GLRenderWidget::updateFrame);
    else
        update();
}

void GLRenderWidget::setVideoAspectRatio(bool usevideoratio)
{
    useVideoRatio = usevideoratio;
}

void GLRenderWidget::updateFrame(int id)
{
    const VideoPicture *p = media ? media->picture(id) : nullptr;
    // Before the view is first shown there is no context to upload into; the next
    // picture after that is uploaded.
    if (p && p->allocated && p->frame && p->frame->data[0] && displayList != 0) {
        makeCurrent();
        glBindTexture(GL_TEXTURE_2D, textureId);
        GLenum internal = GL_RGB;
        GLenum format = GL_RGB;
        if (p->pixelFormat == AV_PIX_FMT_RGBA || p->pixelFormat == AV_PIX_FMT_BGRA) {
            internal = GL_RGBA;
            format = p->pixelFormat == AV_PIX_FMT_RGBA ? GL_RGBA : GL_BGRA;
        }
        // rows are packed without padding: a row of 3-byte pixels need not end on a
        // 4-byte boundary (widths 854, 426, 1366)
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        // the texture storage is made again only when the picture's shape changes
        const QSize size(p->width, p->height);
        if (size != textureSize || internal != textureFormat) {
            glTexImage2D(GL_TEXTURE_2D, 0, GLint(internal), p->width, p->height, 0, format,
                         GL_UNSIGNED_BYTE, p->frame->data[0]);
            textureSize = size;
            textureFormat = internal;
        } else {
            glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, p->width, p->height, format, GL_UNSIGNED_BYTE,
                            p->frame->data[0]);
        }
        doneCurrent();
    }
    update();
}

void GLRenderWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (!(windowState() & Qt::WindowFullScreen))
        emit windowClosed();
    event->accept();
}

void GLRenderWidget::initializeGL()
{
    const QSurfaceFormat actual = context()->format();
    if (actual.depthBufferSize() < 1)
        qWarning("Could not get depth buffer; results will be suboptimal");
    if (actual.redBufferSize() < 1 || actual.greenBufferSize() < 1 || actual.blueBufferSize() < 1)
        qWarning("Could not set rgba buffer; results will be suboptimal");
    if (actual.swapBehavior() == QSurfaceFormat::SingleBuffer)
        qWarning("Could not set double buffering; results will be suboptimal");
    readExtensions();

    glShadeModel(GL_FLAT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_LINE_SMOOTH);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glClearColor(0, 0, 0, 1);

    glGenTextures(1, &textureId);
    glBindTexture(GL_TEXTURE_2D, textureId);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);

    // Texture row 0, the first row of the picture, goes to the top of the view; the quad
    // covers the whole texture, so a picture stretched to power-of-two sizes is shown at
    // its true proportions again.
    displayList = glGenLists(1);
    glNewList(displayList, GL_COMPILE);
    const QColor grey = QColor::fromRgb(100, 100, 100, 255).lighter(150);
    glColor4f(GLfloat(grey.redF()), GLfloat(grey.greenF()), GLfloat(grey.blueF()), 1.0f);
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    glTexCoord2f(0, 1);
    glVertex3f(-1, -1, 0);
    glTexCoord2f(1, 1);
    glVertex3f(1, -1, 0);
    glTexCoord2f(1, 0);
    glVertex3f(1, 1, 0);
    glTexCoord2f(0, 0);
    glVertex3f(-1, 1, 0);
    glEnd();
    glEndList();
}

void GLRenderWidget::resizeGL(int w, int h)
{
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(-1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
}

void GLRenderWidget::paintGL()
{
    // texturing follows whether a Media is attached; without one the quad is grey
    if (media)
        glEnable(GL_TEXTURE_2D);
    else
        glDisable(GL_TEXTURE_2D);
    glClear(GL_COLOR_BUFFER_BIT);
    glPushMatrix();
    if (media && useVideoRatio && height() > 0) {
        const float widgetRatio = float(width()) / float(height());
        const float videoRatio = media->videoAspectRatio();
        if (videoRatio > widgetRatio)
            glScalef(1, widgetRatio / videoRatio, 1);
        else
            glScalef(videoRatio / widgetRatio, 1, 1);
    }
    glCallList(displayList);
    glPopMatrix();
}
