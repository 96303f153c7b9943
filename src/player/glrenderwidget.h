#pragma once

#include <QImage>
#include <QStringList>
#include <QWidget>

#include <array>
#include <memory>

class PictureSource;
class PictureWindow;
class QOpenGLShaderProgram;
struct VideoPicture;

// Shows the pictures of a PictureSource on a quad kept in a display list, letterboxed or
// pillarboxed to the video's display aspect ratio. Planar YUV 4:2:0 pictures go into
// three textures, one a plane, that a fragment shader turns into RGB with the picture's
// matrix and range; RGB pictures go into one texture drawn by the fixed-function
// pipeline. The pictures are drawn into a native child window of their own, which the
// X server puts on screen as it is: nothing of the window around them is drawn again for
// each picture. The child window takes no input; clicks and keys reach this widget and
// the window around it. Owns the child window, and in its context the textures, the
// shader program and the list; reads each picture slot while the source hands it out. GUI
// thread only.
class GLRenderWidget final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GLRenderWidget)

public:
    explicit GLRenderWidget(QWidget *parent = nullptr);
    ~GLRenderWidget() override;

    // Whether the OpenGL implementation offers the named extension (any case). Answers
    // before any view exists, from a temporary context.
    static bool hasGLExtension(const QString &name);
    // Whether views can show YUV pictures: the conversion shader compiles, and the
    // environment variable VORLYN_RGB_PICTURES does not ask for RGB pictures. Answers
    // before any view exists, from a temporary context.
    static bool showsYuvPictures();

    // The picture as the view draws it now, at the view's size.
    QImage grabFramebuffer();

signals:
    void windowClosed();
    // a drawn picture went to the screen
    void frameSwapped();

public slots:
    void updateFrame(int id);
    void setVideo(PictureSource *m);
    void setVideoAspectRatio(bool usevideoratio);

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    friend class PictureWindow;
    // Called by the child window with its context current.
    void initializeGL();
    void resizeGL(int w, int h);
    void paintGL();
    void releaseGL();
    static void readExtensions();
    void uploadRgb(const VideoPicture &p);
    void uploadPlanes(const VideoPicture &p);

    PictureSource *media = nullptr;  // not owned
    QWidget *container = nullptr;    // child widget holding the window
    PictureWindow *window = nullptr; // owned by the container
    unsigned displayList = 0;
    unsigned textureId = 0;
    bool useVideoRatio = true;
    QSize textureSize;          // shape of the RGB texture's storage
    unsigned textureFormat = 0; // its internal format

    // The YUV path: null where the shader does not compile.
    std::unique_ptr<QOpenGLShaderProgram> yuvProgram;
    std::array<unsigned, 3> planeTextures{};
    QSize planeSize; // the luma plane's size; the chroma planes are half of it, rounded up
    // what the last upload put on screen: YUV planes, with their matrix and range
    bool showingYuv = false;
    int colorSpace = 0;
    bool fullRange = false;

    static QStringList glExtensions;
};
