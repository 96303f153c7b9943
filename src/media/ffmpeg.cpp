#include "media/ffmpeg.h"

#include <QtGlobal>

namespace media {

PacketPtr allocPacket()
{
    PacketPtr pkt(av_packet_alloc());
    if (!pkt)
        qBadAlloc();
    return pkt;
}

FramePtr allocFrame()
{
    FramePtr frame(av_frame_alloc());
    if (!frame)
        qBadAlloc();
    return frame;
}

} // namespace media
