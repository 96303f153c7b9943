#include "media/picturering.h"

#include <QtGlobal>

#include <algorithm>
#include <iterator>

PictureRing::PictureRing(int flags, int pixelFormat, int width, int height, bool roundUp)
    : swsFlags(flags), targetPixelFormat(pixelFormat), targetWidth(width), targetHeight(height),
      powerOfTwo(roundUp)
{}

bool PictureRing::allocate(int decoderWidth, int decoderHeight)
{
    int w = targetWidth;
    int h = targetHeight;
    if (w == 0 || h == 0) {
        w = decoderWidth;
        h = decoderHeight;
    }
    if (powerOfTwo) {
        w = roundToPowerOfTwo(w);
        h = roundToPowerOfTwo(h);
    }
    for (VideoPicture &p : pictures) {
        if (!p.allocate(w, h, targetPixelFormat))
            return false;
    }
    // swscale's vector converters leave the last pixels of a row unwritten when the row
    // length is not a multiple of their block; such pictures are converted into rows of
    // an aligned length and copied into the packed slot.
    convertScratch.reset();
    int packed[4] = {};
    av_image_fill_linesizes(packed, AVPixelFormat(targetPixelFormat), w);
    if (std::any_of(std::begin(packed), std::end(packed),
                    [](int l) { return l % convertAlignment != 0; })) {
        uint8_t *planes[4] = {};
        if (av_image_alloc(planes, convertScratchLinesizes.data(), w, h,
                           AVPixelFormat(targetPixelFormat), convertAlignment) < 0)
            qBadAlloc();
        convertScratch.reset(planes[0]);
        std::copy(std::begin(planes), std::end(planes), convertScratchPlanes.begin());
    }
    // The converter is made for the first real picture, with its actual size and format:
    // a damaged or cut header may state neither.
    swsContext.reset();
    swsSourceWidth = swsSourceHeight = 0;
    swsSourceFormat = AV_PIX_FMT_NONE;
    swsSourceColorSpace = AVCOL_SPC_UNSPECIFIED;
    swsSourceFullRange = false;
    return true;
}

void PictureRing::release()
{
    swsContext.reset();
    convertScratch.reset();
    for (VideoPicture &p : pictures)
        p.release();
}

void PictureRing::reset()
{
    {
        media::GuardedLock lock(pictqMutex);
        pictqSize = 0;
    }
    pictqRindex = 0;
    pictqWindex = 0;
}

VideoPicture *PictureRing::waitForFreeSlot(const std::atomic<bool> &stopped)
{
    media::GuardedLock lock(pictqMutex);
    while (pictqSize >= maxPendingPictures && !stopped)
        lock.wait(pictqCond);
    if (stopped) {
        pictqSize = 0;
        return nullptr;
    }
    return &pictures[size_t(pictqWindex)];
}

bool PictureRing::store(const AVFrame *frame, VideoPicture &vp)
{
    if (!vp.frame)
        return false;
    // Planar 4:2:0 pictures of the slot's size are kept as the decoder made them: the
    // view converts them to RGB as it draws them.
    if (vp.pixelFormat == AV_PIX_FMT_YUV420P &&
        (frame->format == AV_PIX_FMT_YUV420P || frame->format == AV_PIX_FMT_YUVJ420P) &&
        frame->width == vp.width && frame->height == vp.height && frame->linesize[0] > 0 &&
        frame->linesize[1] > 0 && frame->linesize[2] > 0) {
        if (!vp.hold(frame))
            return false;
        vp.colorSpace = frame->colorspace;
        vp.fullRange = isFullRange(frame);
        return true;
    }
    return convert(frame, vp);
}

void PictureRing::commit()
{
    pictqWindex = (pictqWindex + 1) % slotCount;
    media::GuardedLock lock(pictqMutex);
    ++pictqSize;
}

void PictureRing::wakeWriter()
{
    {
        media::GuardedLock lock(pictqMutex);
    }
    pictqCond.notify_all();
}

int PictureRing::pending() const
{
    media::GuardedLock lock(pictqMutex);
    return pictqSize;
}

void PictureRing::releaseHead()
{
    pictqRindex = (pictqRindex + 1) % slotCount;
    {
        media::GuardedLock lock(pictqMutex);
        if (pictqSize > 0) // a stopping video thread may have emptied the ring meanwhile
            --pictqSize;
    }
    pictqCond.notify_all();
}

VideoPicture *PictureRing::picture(int id)
{
    if (id < 0 || id >= slotCount)
        return nullptr;
    return &pictures[size_t(id)];
}

bool PictureRing::convertible(int width, int height, int format, bool formatMayBeUnknown)
{
    if (width <= 0 || height <= 0 ||
        av_image_check_size(unsigned(width), unsigned(height), 0, nullptr) < 0)
        return false;
    if (format == AV_PIX_FMT_NONE)
        return formatMayBeUnknown;
    return sws_isSupportedInput(AVPixelFormat(format)) > 0;
}

int PictureRing::roundToPowerOfTwo(int v)
{
    if (v <= 0)
        return 1;
    int k = 0;
    while ((v >> (k + 1)) != 0)
        ++k;
    if (k > 0 && (v & (1 << (k - 1))))
        return 1 << (k + 1);
    return 1 << k;
}

bool PictureRing::isFullRange(const AVFrame *frame)
{
    switch (frame->format) {
    case AV_PIX_FMT_YUVJ420P:
    case AV_PIX_FMT_YUVJ422P:
    case AV_PIX_FMT_YUVJ444P:
    case AV_PIX_FMT_YUVJ440P:
    case AV_PIX_FMT_YUVJ411P:
        return true;
    default:
        return frame->color_range == AVCOL_RANGE_JPEG;
    }
}

bool PictureRing::convert(const AVFrame *frame, VideoPicture &vp)
{
    const bool fullRange = isFullRange(frame);
    // A stream whose picture size, format or colours change midway gets a new converter:
    // the old one would read past the new frame's planes. The comparison is our own
    // because sws_getCachedContext compares with the format it renamed for full-range
    // sources (yuvj420p and the like) and so made a new converter for every such frame.
    if (frame->width != swsSourceWidth || frame->height != swsSourceHeight ||
        frame->format != swsSourceFormat || frame->colorspace != swsSourceColorSpace ||
        fullRange != swsSourceFullRange) {
        // a picture that cannot be converted is not shown (and no converter is made for
        // it: the converter's set-up aborts on some sizes and formats)
        swsContext.reset(convertible(frame->width, frame->height, frame->format, false)
                             ? sws_getContext(frame->width, frame->height,
                                              AVPixelFormat(frame->format), vp.width, vp.height,
                                              AVPixelFormat(vp.pixelFormat), swsFlags, nullptr,
                                              nullptr, nullptr)
                             : nullptr);
        swsSourceWidth = frame->width;
        swsSourceHeight = frame->height;
        swsSourceFormat = frame->format;
        swsSourceColorSpace = frame->colorspace;
        swsSourceFullRange = fullRange;
        // The stream's own matrix and range (BT.601 when it states none); a YUV target
        // keeps the matrix and gets the limited range.
        if (swsContext) {
            int *invTable = nullptr;
            int *table = nullptr;
            int srcRange = 0;
            int dstRange = 0;
            int brightness = 0;
            int contrast = 0;
            int saturation = 0;
            sws_getColorspaceDetails(swsContext.get(), &invTable, &srcRange, &table, &dstRange,
                                     &brightness, &contrast, &saturation);
            const int *matrix = sws_getCoefficients(frame->colorspace);
            const bool toYuv = vp.pixelFormat == AV_PIX_FMT_YUV420P;
            sws_setColorspaceDetails(swsContext.get(), matrix, fullRange ? 1 : 0,
                                     toYuv ? matrix : table, toYuv ? 0 : dstRange, brightness,
                                     contrast, saturation);
        }
    }
    SwsContext *sws = swsContext.get();
    AVFrame *target = sws ? vp.conversionTarget() : nullptr;
    if (!target)
        return false;
    if (!convertScratch) {
        sws_scale(sws, frame->data, frame->linesize, 0, frame->height, target->data,
                  target->linesize);
    } else {
        sws_scale(sws, frame->data, frame->linesize, 0, frame->height, convertScratchPlanes.data(),
                  convertScratchLinesizes.data());
        av_image_copy(target->data, target->linesize,
                      const_cast<const uint8_t **>(convertScratchPlanes.data()),
                      convertScratchLinesizes.data(), AVPixelFormat(vp.pixelFormat), vp.width,
                      vp.height);
    }
    vp.colorSpace = frame->colorspace;
    vp.fullRange = false;
    return true;
}
