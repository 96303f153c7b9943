#pragma once

// What the default sink plays, recorded from its monitor by `parec` on a thread of its
// own: mono 16-bit samples at 48 kHz, each with the steady-clock time it left the sound
// server. Tests and benchmarks use it to hear the player from outside.

#include <QtGlobal>

#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <thread>
#include <vector>

class MonitorRecorder
{
public:
    static constexpr int rate = 48000;

    // Seconds on the steady clock, the one timeOf() answers in.
    static double now()
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    MonitorRecorder()
    {
        pipe = popen("exec parec -d @DEFAULT_MONITOR@ --raw --format=s16le --rate=48000 "
                     "--channels=1 --latency-msec=5 2>/dev/null",
                     "r");
        samples.reserve(size_t(rate) * 120);
        if (pipe)
            thread = std::thread([this] { run(); });
    }
    ~MonitorRecorder()
    {
        quit = true;
        if (thread.joinable())
            thread.join();
    }
    Q_DISABLE_COPY_MOVE(MonitorRecorder)

    // Whether the server has delivered anything yet: what plays before is not recorded.
    bool recording() const
    {
        std::lock_guard lock(mutex);
        return !samples.empty();
    }
    // The wall time of recorded sample i: the earliest delivery bounds the capture delay.
    double timeOf(size_t i) const
    {
        std::lock_guard lock(mutex);
        return start + double(i) / rate;
    }
    // The recorded sample at wall time t (may lie outside the recording).
    int64_t indexAt(double t) const
    {
        std::lock_guard lock(mutex);
        return int64_t((t - start) * rate);
    }
    std::vector<int16_t> take() const
    {
        std::lock_guard lock(mutex);
        return samples;
    }
    // Where each burst of sound in rec starts: the first sample louder than threshold
    // after at least 100 ms below it.
    static std::vector<size_t> onsets(const std::vector<int16_t> &rec, int threshold)
    {
        std::vector<size_t> out;
        size_t quiet = 0;
        for (size_t i = 0; i < rec.size(); ++i) {
            if (std::abs(int(rec[i])) > threshold) {
                if (quiet >= size_t(rate) / 10)
                    out.push_back(i);
                quiet = 0;
            } else {
                ++quiet;
            }
        }
        return out;
    }

    // CPU seconds of the reading thread.
    double cpu()
    {
        clockid_t id;
        timespec ts{};
        if (!thread.joinable() || pthread_getcpuclockid(thread.native_handle(), &id) != 0 ||
            clock_gettime(id, &ts) != 0)
            return 0;
        return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
    }

private:
    void run()
    {
        int16_t chunk[240];
        while (!quit) {
            const size_t n = fread(chunk, 2, 240, pipe);
            if (n == 0)
                break;
            const double t = now();
            std::lock_guard lock(mutex);
            samples.insert(samples.end(), chunk, chunk + n);
            start = std::min(start, t - double(samples.size()) / rate);
        }
        pclose(pipe);
    }

    FILE *pipe = nullptr;
    std::atomic<bool> quit{false};
    // guards samples and start, written by the reading thread
    mutable std::mutex mutex;
    std::vector<int16_t> samples;
    double start = 1e300;
    std::thread thread;
};
