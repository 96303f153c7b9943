#include "player/glrenderwidget.h"

#include "media/picturesource.h"
#include "media/videopicture.h"

#include <QGenericMatrix>
#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLShaderProgram>
#include <QOpenGLWindow>
#include <QSurfaceFormat>
#include <QVBoxLayout>
#include <QVector3D>

#include <GL/gl.h>
#include <GL/glu.h>

#include <functional>
#include <optional>

QStringList GLRenderWidget::glExtensions;

namespace {

// The fixed-function calls (display list, flat shading, gluOrtho2D) need a
// compatibility-profile context. The view draws one opaque quad: no depth, no blending.
QSurfaceFormat viewFormat()
{
    QSurfaceFormat fmt;
    fmt.setRenderableType(QSurfaceFormat::OpenGL);
    fmt.setProfile(QSurfaceFormat::CompatibilityProfile);
    fmt.setVersion(2, 1);
    fmt.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    return fmt;
}

// Runs work in a temporary context when none is current; false when none can be made.
bool inSomeContext(const std::function<void(QOpenGLContext &)> &work)
{
    if (QOpenGLContext *current = QOpenGLContext::currentContext()) {
        work(*current);
        return true;
    }
    QOffscreenSurface surface;
    surface.setFormat(viewFormat());
    surface.create();
    QOpenGLContext ctx;
    ctx.setFormat(viewFormat());
    if (!ctx.create() || !ctx.makeCurrent(&surface))
        return false;
    work(ctx);
    ctx.doneCurrent();
    return true;
}

// The quad's texture coordinates pass through; the fixed-function transform places it.
const char yuvVertexShader[] = R"(
varying vec2 texCoord;
void main()
{
    texCoord = gl_MultiTexCoord0.xy;
    gl_Position = ftransform();
}
)";

const char yuvFragmentShader[] = R"(
uniform sampler2D planeY;
uniform sampler2D planeU;
uniform sampler2D planeV;
uniform mat3 toRgb;
uniform vec3 offset;
varying vec2 texCoord;
void main()
{
    vec3 yuv = vec3(texture2D(planeY, texCoord).r, texture2D(planeU, texCoord).r,
                    texture2D(planeV, texCoord).r);
    gl_FragColor = vec4(toRgb * (yuv - offset), 1.0);
}
)";

// A linked program of the shaders above, or null.
std::unique_ptr<QOpenGLShaderProgram> makeYuvProgram()
{
    auto program = std::make_unique<QOpenGLShaderProgram>();
    if (!program->addShaderFromSourceCode(QOpenGLShader::Vertex, yuvVertexShader) ||
        !program->addShaderFromSourceCode(QOpenGLShader::Fragment, yuvFragmentShader) ||
        !program->link())
        return nullptr;
    return program;
}

// YUV to RGB as swscale does it for the same picture: the stream's matrix (BT.601 when it
// states none), levels stretched from the limited range unless the picture uses the full
// one. rgb = matrix * (yuv - offset), all in 0..1.
struct YuvToRgb
{
    QMatrix3x3 matrix;
    QVector3D offset;
};

YuvToRgb yuvToRgb(int colorSpace, bool fullRange)
{
    float kr = 0.299f;
    float kb = 0.114f;
    switch (colorSpace) {
    case AVCOL_SPC_BT709:
        kr = 0.2126f;
        kb = 0.0722f;
        break;
    case AVCOL_SPC_FCC:
        kr = 0.30f;
        kb = 0.11f;
        break;
    case AVCOL_SPC_SMPTE240M:
        kr = 0.212f;
        kb = 0.087f;
        break;
    case AVCOL_SPC_BT2020_NCL:
    case AVCOL_SPC_BT2020_CL:
        kr = 0.2627f;
        kb = 0.0593f;
        break;
    default:
        break;
    }
    const float kg = 1.0f - kr - kb;
    const float ys = fullRange ? 1.0f : 255.0f / 219.0f;
    const float cs = fullRange ? 1.0f : 255.0f / 224.0f;
    const float crToR = cs * 2 * (1 - kr);
    const float cbToG = -cs * 2 * kb * (1 - kb) / kg;
    const float crToG = -cs * 2 * kr * (1 - kr) / kg;
    const float cbToB = cs * 2 * (1 - kb);
    const float rows[9] = {ys, 0.0f, crToR, ys, cbToG, crToG, ys, cbToB, 0.0f};
    return {QMatrix3x3(rows),
            QVector3D(fullRange ? 0.0f : 16.0f / 255.0f, 128.0f / 255.0f, 128.0f / 255.0f)};
}

void setUpTexture(unsigned id)
{
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

} // namespace

// The native window the pictures are drawn in; its view does the drawing.
class PictureWindow final : public QOpenGLWindow
{
public:
    explicit PictureWindow(GLRenderWidget &v) : view(v)
    {
        setFormat(viewFormat());
        // clicks go through to the view, keys stay with the window around it
        setFlag(Qt::WindowTransparentForInput);
    }
    ~PictureWindow() override
    {
        if (!context())
            return;
        makeCurrent();
        view.releaseGL();
        doneCurrent();
    }
    Q_DISABLE_COPY_MOVE(PictureWindow)

protected:
    void initializeGL() override { view.initializeGL(); }
    void resizeGL(int w, int h) override { view.resizeGL(w, h); }
    void paintGL() override { view.paintGL(); }

private:
    GLRenderWidget &view;
};

GLRenderWidget::GLRenderWidget(QWidget *parent) : QWidget(parent), window(new PictureWindow(*this))
{
    container = QWidget::createWindowContainer(window, this);
    container->setFocusPolicy(Qt::NoFocus);
    connect(window, &QOpenGLWindow::frameSwapped, this, &GLRenderWidget::frameSwapped);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(container);
}

GLRenderWidget::~GLRenderWidget()
{
    // the window frees its textures through this view, which must still be whole
    delete container;
}

void GLRenderWidget::releaseGL()
{
    if (displayList == 0)
        return;
    glDeleteLists(displayList, 1);
    glDeleteTextures(1, &textureId);
    if (yuvProgram)
        glDeleteTextures(GLsizei(planeTextures.size()), planeTextures.data());
    yuvProgram.reset();
    displayList = 0;
}

QImage GLRenderWidget::grabFramebuffer()
{
    if (!window->isValid())
        return {};
    // drawn afresh: the window reads back what was last drawn, which may predate a change
    window->makeCurrent();
    paintGL();
    return window->grabFramebuffer();
}

void GLRenderWidget::readExtensions()
{
    if (!glExtensions.isEmpty())
        return;
    inSomeContext([](QOpenGLContext &ctx) {
        for (const QByteArray &e : ctx.extensions())
            glExtensions << QString::fromLatin1(e);
    });
}

bool GLRenderWidget::hasGLExtension(const QString &name)
{
    readExtensions();
    return glExtensions.contains(name, Qt::CaseInsensitive);
}

bool GLRenderWidget::showsYuvPictures()
{
    static std::optional<bool> compiles;
    if (!compiles) {
        bool linked = false;
        inSomeContext([&linked](QOpenGLContext &) { linked = makeYuvProgram() != nullptr; });
        compiles = linked;
    }
    return *compiles && qEnvironmentVariableIntValue("VORLYN_RGB_PICTURES") == 0;
}

void GLRenderWidget::setVideo(PictureSource *m)
{
    media = m;
    showingYuv = false;
    if (m)
        connect(m, &PictureSource::frameReady, this, &GLRenderWidget::updateFrame);
    else
        window->update();
}

void GLRenderWidget::setVideoAspectRatio(bool usevideoratio)
{
    useVideoRatio = usevideoratio;
    window->update();
}

void GLRenderWidget::updateFrame(int id)
{
    const VideoPicture *p = media ? media->picture(id) : nullptr;
    // Before the view is first shown there is no context to upload into; the next
    // picture after that is uploaded.
    if (p && p->allocated && p->frame && p->frame->data[0] && displayList != 0) {
        window->makeCurrent();
        if (p->pixelFormat == AV_PIX_FMT_YUV420P)
            uploadPlanes(*p);
        else
            uploadRgb(*p);
        window->doneCurrent();
    }
    window->update();
}

void GLRenderWidget::uploadRgb(const VideoPicture &p)
{
    glBindTexture(GL_TEXTURE_2D, textureId);
    GLenum internal = GL_RGB;
    GLenum format = GL_RGB;
    if (p.pixelFormat == AV_PIX_FMT_RGBA || p.pixelFormat == AV_PIX_FMT_BGRA) {
        internal = GL_RGBA;
        format = p.pixelFormat == AV_PIX_FMT_RGBA ? GL_RGBA : GL_BGRA;
    }
    // rows are packed without padding: a row of 3-byte pixels need not end on a 4-byte
    // boundary (widths 854, 426, 1366)
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // the texture storage is made again only when the picture's shape changes
    const QSize size(p.width, p.height);
    if (size != textureSize || internal != textureFormat) {
        glTexImage2D(GL_TEXTURE_2D, 0, GLint(internal), p.width, p.height, 0, format,
                     GL_UNSIGNED_BYTE, p.frame->data[0]);
        textureSize = size;
        textureFormat = internal;
    } else {
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, p.width, p.height, format, GL_UNSIGNED_BYTE,
                        p.frame->data[0]);
    }
    showingYuv = false;
}

void GLRenderWidget::uploadPlanes(const VideoPicture &p)
{
    if (!yuvProgram)
        return;
    const QSize size(p.width, p.height);
    const bool reshape = size != planeSize;
    // The planes' rows are as long as the decoder made them (padded) or packed (a
    // converted picture): the texture takes only the picture's width of each.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (size_t i = 0; i < planeTextures.size(); ++i) {
        const int w = i == 0 ? p.width : (p.width + 1) / 2;
        const int h = i == 0 ? p.height : (p.height + 1) / 2;
        glBindTexture(GL_TEXTURE_2D, planeTextures[i]);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, p.frame->linesize[i]);
        if (reshape)
            glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, w, h, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE,
                         nullptr);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, GL_LUMINANCE, GL_UNSIGNED_BYTE,
                        p.frame->data[i]);
    }
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    planeSize = size;
    showingYuv = true;
    colorSpace = p.colorSpace;
    fullRange = p.fullRange;
}

void GLRenderWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (!(windowState() & Qt::WindowFullScreen))
        emit windowClosed();
    event->accept();
}

void GLRenderWidget::initializeGL()
{
    const QSurfaceFormat actual = window->context()->format();
    if (actual.redBufferSize() < 1 || actual.greenBufferSize() < 1 || actual.blueBufferSize() < 1)
        qWarning("Could not set rgba buffer; results will be suboptimal");
    if (actual.swapBehavior() == QSurfaceFormat::SingleBuffer)
        qWarning("Could not set double buffering; results will be suboptimal");
    readExtensions();

    glShadeModel(GL_FLAT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glClearColor(0, 0, 0, 1);

    glGenTextures(1, &textureId);
    setUpTexture(textureId);
    yuvProgram = makeYuvProgram();
    if (yuvProgram) {
        glGenTextures(GLsizei(planeTextures.size()), planeTextures.data());
        for (unsigned id : planeTextures)
            setUpTexture(id);
        yuvProgram->bind();
        yuvProgram->setUniformValue("planeY", 0);
        yuvProgram->setUniformValue("planeU", 1);
        yuvProgram->setUniformValue("planeV", 2);
        yuvProgram->release();
    } else {
        qWarning("The picture shader does not compile; only RGB pictures can be shown");
    }

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
    glClear(GL_COLOR_BUFFER_BIT);
    glPushMatrix();
    if (media && useVideoRatio && window->height() > 0) {
        const float widgetRatio = float(window->width()) / float(window->height());
        const float videoRatio = media->videoAspectRatio();
        if (videoRatio > widgetRatio)
            glScalef(1, widgetRatio / videoRatio, 1);
        else
            glScalef(videoRatio / widgetRatio, 1, 1);
    }
    if (media && showingYuv) {
        for (size_t i = 0; i < planeTextures.size(); ++i) {
            glActiveTexture(GLenum(GL_TEXTURE0 + i));
            glBindTexture(GL_TEXTURE_2D, planeTextures[i]);
        }
        glActiveTexture(GL_TEXTURE0);
        const YuvToRgb conversion = yuvToRgb(colorSpace, fullRange);
        yuvProgram->bind();
        yuvProgram->setUniformValue("toRgb", conversion.matrix);
        yuvProgram->setUniformValue("offset", conversion.offset);
        glCallList(displayList);
        yuvProgram->release();
    } else {
        // texturing follows whether a source is attached; without one the quad is grey
        if (media)
            glEnable(GL_TEXTURE_2D);
        else
            glDisable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, textureId);
        glCallList(displayList);
    }
    glPopMatrix();
}
