#pragma once

#include "media/ffmpeg.h"

// One slot of the picture ring: a pixel buffer of packed rows (no padding) in the
// display's pixel format, described by an AVFrame, and the picture's clock time.
// Written by the video decode thread, read by the GUI thread after the slot's hand-off.
struct VideoPicture
{
    VideoPicture() = default;
    ~VideoPicture();
    VideoPicture(const VideoPicture &) = delete;
    VideoPicture &operator=(const VideoPicture &) = delete;

    // Releases a previous buffer and allocates a zero-filled one for the given size and
    // format (16 spare bytes at the end for converters that write past the last row).
    bool allocate(int width, int height, int pixelFormat);
    void release();

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

private:
    uint8_t *buffer = nullptr;
};
