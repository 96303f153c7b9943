#include "media/engineclock.h"

#include <chrono>

namespace media {

namespace {

class SteadyClock final : public EngineClock
{
public:
    int64_t nowMicroseconds() const override
    {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

} // namespace

const EngineClock &EngineClock::steady()
{
    static const SteadyClock clock;
    return clock;
}

} // namespace media
