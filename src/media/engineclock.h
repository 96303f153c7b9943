#pragma once

#include <cstdint>

namespace media {

// The monotonic time the engine reads: for the display timer, the clock being heard, the
// sound dropped without an output and the time a pause lasted. The default reads the
// steady clock; a test hands the engine a clock of its own to drive time by hand.
//
// Threads: nowMicroseconds() is called from the GUI thread and the decode threads at once,
// so an implementation is safe from any thread.
class EngineClock
{
public:
    virtual ~EngineClock() = default;
    // Microseconds since some fixed moment; never goes back.
    virtual int64_t nowMicroseconds() const = 0;
    double nowSeconds() const { return double(nowMicroseconds()) / 1000000.0; }

    // The process's steady clock; lives as long as the process.
    static const EngineClock &steady();

protected:
    EngineClock() = default;
    EngineClock(const EngineClock &) = default;
    EngineClock &operator=(const EngineClock &) = default;
};

} // namespace media
