#pragma once

#include "media/ffmpeg.h"

// One slot of the picture ring: a picture in the display's pixel format, described by an
// AVFrame, and the picture's clock time. The slot either holds a reference to the
// decoder's own picture (planar 4:2:0 of the slot's size, rows padded as the decoder made
// them) or a picture converted into the slot's own buffer of packed rows (no padding),
// made with the first conversion. Written by the video decode thread, read by the GUI
// thread after the slot's hand-off.
struct VideoPicture
{
    VideoPicture() = default;
    ~VideoPicture();
    VideoPicture(const VideoPicture &) = delete;
    VideoPicture &operator=(const VideoPicture &) = delete;

    // Releases what the slot holds and sets it up for pictures of the given size and
    // format; false for a size the format cannot have.
    bool allocate(int width, int height, int pixelFormat);
    void release();
    // Keeps a reference to decoded, a picture of the slot's size and format, as the
    // slot's picture; false when out of memory.
    bool hold(const AVFrame *decoded);
    // The slot's own buffer as the target of a conversion (zero-filled when made, with 16
    // spare bytes at the end for converters that write past the last row); drops a held
    // decoder picture. Null when out of memory.
    AVFrame *conversionTarget();

    AVFrame *frame = nullptr;
    int width = 0;
    int height = 0;
    bool allocated = false;
    double pts = 0;
    // The same time as a tick count of the video stream, for exact positions.
    int64_t ticks = 0;
    // The first picture after a seek: its time does not follow from the one before.
    bool afterSeek = false;
    // Pictures of an older serial than the Media's were decoded before the learner's
    // last seek: the display drops them.
    int serial = 0;
    // The stretch of playback (seek, loop going back) the picture belongs to; its sound
    // carries the same epoch.
    int epoch = 0;
    int pixelFormat = 0;
    // For YUV pictures: the matrix (an AVColorSpace) and whether the levels use the full
    // 0-255 range rather than the limited 16-235 (chroma 16-240).
    int colorSpace = AVCOL_SPC_UNSPECIFIED;
    bool fullRange = false;

private:
    uint8_t *buffer = nullptr;
};
