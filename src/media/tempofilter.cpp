#include "media/tempofilter.h"

#include "media/ffmpeg.h"

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/opt.h>
}

#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace media {

namespace {

// One atempo instance blends its input for factors up to 2 and takes at least 0.5;
// beyond that two instances share the factor.
constexpr double stageMin = 0.5;
constexpr double stageMax = 2.0;
constexpr double stageLagSeconds = 0.015;

// Adds a filter to graph with the given options; the graph owns it.
AVFilterContext *addFilter(AVFilterGraph *graph, const char *filter, const char *name,
                           const char *options)
{
    AVFilterContext *ctx = nullptr;
    if (avfilter_graph_create_filter(&ctx, avfilter_get_by_name(filter), name, options, nullptr,
                                     graph) < 0)
        return nullptr;
    return ctx;
}

// atempo's factor goes in through av_opt, not an option string, so the process's
// numeric locale cannot turn its decimal point into a comma.
AVFilterContext *addTempo(AVFilterGraph *graph, const char *name, double factor)
{
    AVFilterContext *ctx = avfilter_graph_alloc_filter(graph, avfilter_get_by_name("atempo"), name);
    if (!ctx || av_opt_set_double(ctx, "tempo", factor, AV_OPT_SEARCH_CHILDREN) < 0 ||
        avfilter_init_str(ctx, nullptr) < 0)
        return nullptr;
    return ctx;
}

} // namespace

void TempoFilter::GraphDeleter::operator()(AVFilterGraph *g) const
{
    avfilter_graph_free(&g);
}

TempoFilter::TempoFilter() = default;
TempoFilter::~TempoFilter() = default;

void TempoFilter::setFormat(int rate, int channels)
{
    if (rate == sampleRate && channels == channelCount)
        return;
    reset();
    sampleRate = rate;
    channelCount = channels;
}

void TempoFilter::setFactor(double factor)
{
    factor = std::clamp(factor, minFactor, maxFactor);
    if (factor == tempo)
        return;
    flush();
    tempo = factor;
}

void TempoFilter::reset()
{
    graph.reset();
    source = nullptr;
    sink = nullptr;
    ready.clear();
    readyInput = 0;
    graphInput = 0;
}

int64_t TempoFilter::heldInputFrames() const
{
    // Each stage's output comes from fragments it places about 15 ms of input later than
    // its count of input used up says (measured with clicks from 0.5 to 3): what the graph
    // holds counts that much less.
    const int stages = !graph ? 0 : tempo < stageMin || tempo > stageMax ? 2 : 1;
    const double lag = stages * stageLagSeconds * sampleRate;
    return std::llround(std::max(0.0, readyInput + std::max(0.0, graphInput - lag)));
}

bool TempoFilter::build()
{
    GraphPtr g(avfilter_graph_alloc());
    if (!g)
        return false;
    g->nb_threads = 1; // a few filters on small frames: a thread pool costs more than it saves

    AVChannelLayout layout{};
    av_channel_layout_default(&layout, channelCount);
    char layoutName[64];
    const bool described = av_channel_layout_describe(&layout, layoutName, sizeof layoutName) > 0;
    av_channel_layout_uninit(&layout);
    if (!described)
        return false;
    char sourceOptions[160];
    std::snprintf(sourceOptions, sizeof sourceOptions,
                  "sample_rate=%d:sample_fmt=s16:channel_layout=%s:time_base=1/%d", sampleRate,
                  layoutName, sampleRate);
    char formatOptions[160];
    std::snprintf(formatOptions, sizeof formatOptions,
                  "sample_fmts=s16:sample_rates=%d:channel_layouts=%s", sampleRate, layoutName);

    AVFilterContext *in = addFilter(g.get(), "abuffer", "in", sourceOptions);
    const bool twoStages = tempo < stageMin || tempo > stageMax;
    const double stageFactor = twoStages ? std::sqrt(tempo) : tempo;
    AVFilterContext *first = addTempo(g.get(), "tempo0", stageFactor);
    AVFilterContext *second = twoStages ? addTempo(g.get(), "tempo1", stageFactor) : nullptr;
    AVFilterContext *format = addFilter(g.get(), "aformat", "format", formatOptions);
    AVFilterContext *out = addFilter(g.get(), "abuffersink", "out", nullptr);
    if (!in || !first || (twoStages && !second) || !format || !out)
        return false;
    int err = avfilter_link(in, 0, first, 0);
    AVFilterContext *last = first;
    if (second) {
        if (err >= 0)
            err = avfilter_link(first, 0, second, 0);
        last = second;
    }
    if (err >= 0)
        err = avfilter_link(last, 0, format, 0);
    if (err >= 0)
        err = avfilter_link(format, 0, out, 0);
    if (err < 0 || avfilter_graph_config(g.get(), nullptr) < 0)
        return false;

    graph = std::move(g);
    source = in;
    sink = out;
    nextPts = 0;
    return true;
}

void TempoFilter::push(const int16_t *samples, int frames)
{
    if (frames <= 0)
        return;
    if (tempo != 1.0 && !graph && !build()) {
        qWarning("TempoFilter: cannot build the atempo filter graph; playing at normal tempo");
        tempo = 1.0;
    }
    const size_t count = size_t(frames) * size_t(channelCount);
    if (tempo == 1.0) {
        ready.insert(ready.end(), samples, samples + count);
        readyInput += frames;
        return;
    }
    // The filter gives out the output of a frame only once that output is whole: pieces
    // of up to 1024 frames (21 ms at 48 kHz) keep what it holds back small.
    constexpr int piece = 1024;
    for (int at = 0; at < frames; at += piece)
        pushToGraph(samples + size_t(at) * size_t(channelCount), std::min(piece, frames - at));
}

void TempoFilter::pushToGraph(const int16_t *samples, int frames)
{
    const size_t count = size_t(frames) * size_t(channelCount);
    FramePtr frame = allocFrame();
    frame->format = AV_SAMPLE_FMT_S16;
    frame->sample_rate = sampleRate;
    frame->nb_samples = frames;
    frame->pts = nextPts;
    av_channel_layout_default(&frame->ch_layout, channelCount);
    if (av_frame_get_buffer(frame.get(), 0) < 0)
        qFatal("TempoFilter: out of memory");
    std::memcpy(frame->data[0], samples, count * sizeof(int16_t));
    if (av_buffersrc_add_frame(source, frame.get()) < 0) {
        qWarning("TempoFilter: the filter graph refused %d frames", frames);
        return;
    }
    nextPts += frames;
    graphInput += frames;
}

void TempoFilter::pullGraph(std::vector<int16_t> &out)
{
    FramePtr frame = allocFrame();
    const size_t before = out.size();
    while (av_buffersink_get_frame(sink, frame.get()) >= 0) {
        const auto *data = reinterpret_cast<const int16_t *>(frame->data[0]);
        out.insert(out.end(), data, data + size_t(frame->nb_samples) * size_t(channelCount));
        av_frame_unref(frame.get());
    }
    graphInput -= double(out.size() - before) / channelCount * tempo;
}

void TempoFilter::flush()
{
    if (!graph)
        return;
    // at the end of its input the graph gives out all it holds
    if (av_buffersrc_add_frame(source, nullptr) >= 0) {
        const double held = graphInput;
        pullGraph(ready);
        readyInput += held;
    }
    graph.reset();
    source = nullptr;
    sink = nullptr;
    graphInput = 0;
}

int TempoFilter::pull(std::vector<int16_t> &out)
{
    const size_t before = out.size();
    out.insert(out.end(), ready.begin(), ready.end());
    ready.clear();
    readyInput = 0;
    if (graph)
        pullGraph(out);
    return int((out.size() - before) / size_t(channelCount));
}

int spliceFadeFrames(int rate)
{
    return std::max(1, rate / 200);
}

void fadeIn(int16_t *samples, int frames, int channels, int fadeFrames)
{
    const int n = std::min(frames, fadeFrames);
    for (int i = 0; i < n; ++i) {
        const double gain = double(i) / n;
        for (int c = 0; c < channels; ++c) {
            int16_t &s = samples[i * channels + c];
            s = int16_t(std::lround(s * gain));
        }
    }
}

void fadeOut(int16_t *samples, int frames, int channels, int fadeFrames)
{
    const int n = std::min(frames, fadeFrames);
    for (int i = 0; i < n; ++i) {
        const double gain = double(i) / n;
        for (int c = 0; c < channels; ++c) {
            int16_t &s = samples[(frames - 1 - i) * channels + c];
            s = int16_t(std::lround(s * gain));
        }
    }
}

} // namespace media
