#pragma once

#include <cstdint>
#include <memory>
#include <vector>

struct AVFilterGraph;
struct AVFilterContext;

namespace media {

// Changes the tempo of interleaved signed 16-bit audio and keeps its pitch, through
// FFmpeg's atempo filter in a small filter graph that it owns. The graph is built for
// the first samples at a new factor or format and only then; at factor 1 the samples
// pass through untouched and no graph exists. One thread uses it.
class TempoFilter final
{
public:
    static constexpr double minFactor = 0.25;
    static constexpr double maxFactor = 4.0;

    TempoFilter();
    ~TempoFilter();
    TempoFilter(const TempoFilter &) = delete;
    TempoFilter &operator=(const TempoFilter &) = delete;

    // The format of the samples pushed and pulled. A different format drops what the
    // filter holds, as reset() does. 48 kHz stereo until set.
    void setFormat(int rate, int channels);

    // Output lasts input / factor; the factor is clamped to [minFactor, maxFactor]. A
    // new factor applies to the samples pushed after it: what the filter holds is
    // stretched at the old one first and comes out with the next pull(), so the sound
    // goes on without a gap. Should the graph fail to build (an FFmpeg without atempo),
    // the factor falls back to 1 with a warning.
    void setFactor(double factor);
    double factor() const { return tempo; }

    // Takes `frames` frames (a frame holds one sample per channel).
    void push(const int16_t *samples, int frames);
    // Appends the frames ready so far to out and returns how many it appended.
    int pull(std::vector<int16_t> &out);
    // Stretches everything the filter holds, for the end of the input or the loop end:
    // the next pull() returns it all, after which heldInputFrames() is 0.
    void flush();
    // Drops everything the filter holds, for a seek or a loop-back.
    void reset();

    // Input frames pushed whose output has not been pulled yet, less the filter's own lag
    // (about 15 ms of input per stage): the last frame pulled stands for the end of the
    // input pushed less these frames, and each frame pulled before it for factor() input
    // frames. At factor 1 only what was not pulled; while stretching about one analysis
    // window more. The filter places each fragment up to half a window (1/48 s) per stage
    // from where its count puts it, and may leave out up to a window at a flush (the
    // count then jumps ahead by what it left out), so output time mapped back this way
    // is good to about 10 ms for factors from 0.5 to 2 (clicks measured: medians within
    // 6 ms).
    int64_t heldInputFrames() const;

private:
    struct GraphDeleter
    {
        void operator()(AVFilterGraph *graph) const;
    };
    using GraphPtr = std::unique_ptr<AVFilterGraph, GraphDeleter>;

    bool build();
    void pushToGraph(const int16_t *samples, int frames);
    // Appends what the graph has ready to out.
    void pullGraph(std::vector<int16_t> &out);

    GraphPtr graph;
    AVFilterContext *source = nullptr; // belongs to graph
    AVFilterContext *sink = nullptr;   // belongs to graph
    int sampleRate = 48000;
    int channelCount = 2;
    double tempo = 1.0;
    // Output made but not pulled yet, and the input frames it stands for.
    std::vector<int16_t> ready;
    double readyInput = 0;
    // Input frames in the graph whose output has not come out of it yet.
    double graphInput = 0;
    int64_t nextPts = 0;
};

// The length of the fades at a splice, 5 ms: long enough that a jump in the waveform
// does not click, short enough that no sound is lost to the ear.
int spliceFadeFrames(int rate);
// Fades interleaved 16-bit audio linearly from silence over its first fadeFrames frames
// (or all of them when there are fewer): the first frame becomes zero.
void fadeIn(int16_t *samples, int frames, int channels, int fadeFrames);
// Fades it linearly to silence over its last fadeFrames frames: the last frame becomes zero.
void fadeOut(int16_t *samples, int frames, int channels, int fadeFrames);

} // namespace media
