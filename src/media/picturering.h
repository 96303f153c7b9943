#pragma once

#include "media/ffmpeg.h"
#include "media/guardedmutex.h"
#include "media/videopicture.h"

#include <array>
#include <atomic>
#include <condition_variable>

// The four-slot picture ring between the video decode thread and the display, with the
// conversion of decoded pictures into the display's pixel format: planar YUV 4:2:0 of the
// slot's size is kept as the decoder made it, anything else is scaled and converted by
// swscale with the stream's own matrix and range.
//
// Threads: the video thread fills the slot at the write index while it is free, and alone
// uses the converter while it runs; the GUI thread reads the slot at the read index while
// it is handed out (from frameReady until releaseHead), and alone moves the read index.
// pictqSize, the slotCount filled and not yet handed back, is guarded by pictqMutex; the
// video thread waits on pictqCond for a free slot. allocate(), release() and reset() run
// in the GUI thread while the video thread is not running.
class PictureRing
{
public:
    PictureRing(int swsFlags, int pixelFormat, int width, int height, bool powerOfTwo);
    PictureRing(const PictureRing &) = delete;
    PictureRing &operator=(const PictureRing &) = delete;

    static constexpr int slotCount = 4;
    static constexpr int maxPendingPictures = 3;

    // Sets the slotCount up for pictures of the size given to the constructor (the decoder's,
    // when none was given), rounded to powers of two if asked; false when out of memory.
    bool allocate(int decoderWidth, int decoderHeight);
    // Frees the slotCount and the converter.
    void release();
    // Empties the ring: nothing is pending, both indexes at the first slot.
    void reset();

    // Video thread: the slot to fill next, once fewer than maxPendingPictures wait to be
    // shown; null once stopped, when the ring is emptied.
    VideoPicture *waitForFreeSlot(const std::atomic<bool> &stopped);
    // Video thread: puts frame into slot vp, as it is or converted; false when it cannot
    // be converted (the slot then stays free).
    bool store(const AVFrame *frame, VideoPicture &vp);
    // Video thread: hands the slot filled last to the display.
    void commit();
    // Wakes a video thread waiting for a free slot, so that it looks at stopped again.
    void wakeWriter();

    // GUI thread: the pictures waiting to be shown.
    int pending() const;
    // GUI thread: the slot at the read index and its number.
    const VideoPicture &head() const { return pictures[size_t(pictqRindex)]; }
    int headIndex() const { return pictqRindex; }
    // GUI thread: moves the read index on and frees its slot for the video thread.
    void releaseHead();

    // The slot id, or null for an id out of range.
    VideoPicture *picture(int id);

    // Whether pictures of this size and pixel format can be converted for display; a
    // header may not yet know the format (a file cut short after it).
    static bool convertible(int width, int height, int format, bool formatMayBeUnknown);
    // The power of two nearest to v (on the bit below the highest set bit); 0 gives 1.
    static int roundToPowerOfTwo(int v);
    // Whether the picture's levels use the full range (a yuvj format or the frame's tag).
    static bool isFullRange(const AVFrame *frame);

private:
    // Video thread: converts frame into slot vp's own buffer with the stream's matrix
    // and range; false when it cannot be converted.
    bool convert(const AVFrame *frame, VideoPicture &vp);

    std::array<VideoPicture, slotCount> pictures;
    mutable media::GuardedMutex pictqMutex;
    std::condition_variable pictqCond;
    int pictqSize VORLYN_GUARDED_BY(pictqMutex) = 0;
    int pictqRindex = 0; // GUI thread only
    int pictqWindex = 0; // video thread only while running

    // The converter to the ring's format and the source size and format it was made for.
    // Video thread only while running.
    media::SwsContextPtr swsContext;
    int swsSourceWidth = 0;
    int swsSourceHeight = 0;
    int swsSourceFormat = AV_PIX_FMT_NONE;
    int swsSourceColorSpace = AVCOL_SPC_UNSPECIFIED;
    bool swsSourceFullRange = false;
    // Conversion target with aligned rows for pictures whose packed rows are not aligned;
    // null otherwise. Video thread only while running.
    media::AvBufferPtr<uint8_t> convertScratch;
    std::array<uint8_t *, 4> convertScratchPlanes{};
    std::array<int, 4> convertScratchLinesizes{};
    static constexpr int convertAlignment = 64;

    const int swsFlags;
    const int targetPixelFormat;
    const int targetWidth;
    const int targetHeight;
    const bool powerOfTwo;
};
