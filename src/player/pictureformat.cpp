#include "player/pictureformat.h"

#include "media/ffmpeg.h"
#include "player/glrenderwidget.h"

namespace {

// The converter's scaling, with and without textures of any size (without, pictures are
// scaled to powers of two, where speed matters more).
constexpr int scaleForAnySize = SWS_BICUBIC;
constexpr int scaleForPowerOfTwo = SWS_FAST_BILINEAR;

} // namespace

LessonController::PictureFormat pictureFormatForView()
{
    const bool npot =
        GLRenderWidget::hasGLExtension(QStringLiteral("GL_EXT_texture_non_power_of_two")) ||
        GLRenderWidget::hasGLExtension(QStringLiteral("GL_ARB_texture_non_power_of_two"));
    LessonController::PictureFormat format;
    format.powerOfTwo = !npot;
    format.scaleFlags = npot ? scaleForAnySize : scaleForPowerOfTwo;
    format.pixelFormat = GLRenderWidget::showsYuvPictures() ? AV_PIX_FMT_YUV420P : AV_PIX_FMT_RGB24;
    return format;
}
