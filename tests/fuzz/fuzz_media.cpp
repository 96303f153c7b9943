// Opening and playing a media file from memory through Media, on the engine's own threads:
// open, a few hundred milliseconds of play with the display consuming pictures, a seek to
// the middle (or a second on, without a known length), a little more play, stop.
#include "fuzzenvironment.h"

#include "media/media.h"

#include <QEventLoop>
#include <QTimer>

#include <cstddef>
#include <cstdint>

namespace {

void runEventsFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzenv::application<QCoreApplication>();
    // the player's ring: RGB24 pictures at the source size
    Media media(nullptr, false, SWS_BICUBIC, AV_PIX_FMT_RGB24, 0, 0);
    if (!media.openData(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)),
                        QStringLiteral("fuzz input")))
        return 0;
    media.start();
    runEventsFor(150);
    if (media.hasKnownLength())
        media.seek(media.startTime() + media.duration() / 2);
    else
        media.seekBySeconds(1.0);
    runEventsFor(150);
    media.stop();
    return 0;
}
