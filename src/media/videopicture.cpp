#include "media/videopicture.h"

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
    if (av_image_get_buffer_size(AVPixelFormat(format), w, h, 1) < 0)
        return false;
    frame = av_frame_alloc();
    allocated = frame != nullptr;
    return allocated;
}

bool VideoPicture::hold(const AVFrame *decoded)
{
    av_frame_unref(frame);
    return av_frame_ref(frame, decoded) >= 0;
}

AVFrame *VideoPicture::conversionTarget()
{
    const auto format = AVPixelFormat(pixelFormat);
    if (!buffer) {
        const int bytes = av_image_get_buffer_size(format, width, height, 1);
        buffer = static_cast<uint8_t *>(av_mallocz(size_t(bytes) + 16));
        if (!buffer)
            return nullptr;
    }
    // a frame without buffer references of its own only forgets its pointers here
    av_frame_unref(frame);
    av_image_fill_arrays(frame->data, frame->linesize, buffer, format, width, height, 1);
    frame->width = width;
    frame->height = height;
    frame->format = pixelFormat;
    return frame;
}
