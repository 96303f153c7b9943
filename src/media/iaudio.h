#pragma once

#include <QAudioFormat>

#include <atomic>
#include <memory>
#include <mutex>

class QAudioDevice;
class QAudioSink;
class QIODevice;

// The process-wide audio output: one QAudioSink in push mode, with a left and a right
// volume applied to the samples before they are written.
//
// Threads: open() and close() run in the GUI thread, so the sink is a QObject of that
// thread. Qt 6.4's sink may be written from the audio decode thread through the device
// that start() returned, provided no two calls on the sink or its device overlap: open,
// close and write therefore hold `mutex` for their whole duration. Signals the sink
// emits while being written reach GUI receivers queued. setVolume() stores two atomics.
class IAudio
{
public:
    static IAudio *instance();
    virtual ~IAudio();
    IAudio(const IAudio &) = delete;
    IAudio &operator=(const IAudio &) = delete;

    // Opens the output for 16-bit (or 8-bit) integer samples; keeps a running output of
    // the same rate, size and channel count. An unsupported format keeps any existing
    // output and returns false.
    bool open(const QAudioDevice &device, int frequency, int sampleSize, int channels);
    void close();
    // Each value: above 0.999 becomes 1, below 0.001 becomes 0.
    void setVolume(double left, double right);
    // Writes at most what the output can take now, after applying the volumes in place;
    // returns the bytes accepted (0 without an active or idle output).
    int write(char *data, int len);

    // Whether an output exists that is active or idle, so that waiting for room makes
    // sense; without one the audio thread drops its samples.
    bool isPlaying() const;
    QAudioFormat format() const;
    // Microseconds of audio the output has played since it was opened (0 without one).
    qint64 processedUSecs() const;
    float volumeLeft() const { return volumeLeft_.load(std::memory_order_relaxed); }
    float volumeRight() const { return volumeRight_.load(std::memory_order_relaxed); }

protected:
    IAudio();

private:
    void closeLocked();
    void applyVolume(char *data, int len) const;

    QAudioFormat format_;
    std::unique_ptr<QAudioSink> output;
    QIODevice *device = nullptr; // owned by output
    std::atomic<float> volumeLeft_{0.5f};
    std::atomic<float> volumeRight_{0.5f};
    mutable std::mutex mutex; // guards format_, output and device
};
