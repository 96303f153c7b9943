#pragma once

#include <QOpenGLWidget>
#include <QStringList>

class Media;

// Shows the pictures of a Media as one OpenGL texture on a quad kept in a display list,
// letterboxed or pillarboxed to the video's display aspect ratio. Owns the texture and
// the list; reads each picture slot while the Media hands it out. GUI thread only.
class GLRenderWidget final : public QOpenGLWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GLRenderWidget)

public:
    explicit GLRenderWidget(QWidget *parent = nullptr);
    ~GLRenderWidget() override;

    // Whether the OpenGL implementation offers the named extension (any case). Answers
    // before any view exists, from a temporary context.
    static bool hasGLExtension(const QString &name);

signals:
    void windowClosed();

public slots:
    void updateFrame(int id);
    void setVideo(Media *m);
    void setVideoAspectRatio(bool usevideoratio);

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;

private:
    static void readExtensions();

    Media *media = nullptr; // not owned
    unsigned displayList = 0;
    unsigned textureId = 0;
    bool useVideoRatio = true;
    QSize textureSize;          // shape of the texture's storage
    unsigned textureFormat = 0; // its internal format

    static QStringList glExtensions;
};
