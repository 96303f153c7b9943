#include "media/soundsink.h"

#include "media/engineclock.h"
#include "media/nullsoundsink.h"
#include "media/pulsestream.h"

#include <QString>

namespace media {

std::unique_ptr<SoundSink> soundSinkFromEnvironment()
{
    if (qEnvironmentVariable("VORLYN_SOUND") == QLatin1String("null"))
        return std::make_unique<NullSoundSink>(EngineClock::steady());
    return std::make_unique<PulseStream>();
}

} // namespace media
