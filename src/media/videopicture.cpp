#include "media/videopicture.h"

#include <QtGlobal>

VideoPicture::~VideoPicture()
{
    release();
}

void VideoPicture::release()
{
    av_frame_free(&frame);
    av_freep(&buffer);
    allocated = false;
}

bool VideoPicture::allocate(int w, int h, int format)
{
    release();
    width = w;
    height = h;
    pixelFormat = format;
    const int bytes = av_image_get_buffer_size(AVPixelFormat(format), w, h, 1);
    if (bytes < 0)
        return false;
    buffer = static_cast<uint8_t *>(av_mallocz(size_t(bytes) + 16));
    if (!buffer) {
        qBadAlloc();
        return false;
    }
    frame = av_frame_alloc();
    if (!frame) {
        av_freep(&buffer);
        return false;
    }
    av_image_fill_arrays(frame->data, frame->linesize, buffer, AVPixelFormat(format), w, h, 1);
    frame->width = w;
    frame->height = h;
    frame->format = format;
    allocated = true;
    return true;
}
