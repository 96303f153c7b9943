#pragma once

#include "media/audioresampler.h"
#include "media/ffmpeg.h"
#include "media/tempofilter.h"
#include "media/workerthread.h"

#include <deque>
#include <vector>

class DecodeHost;
class PacketQueue;

// The audio decode thread: takes packets from the audio queue, applies the loop end rule
// when the file has no video, decodes and converts to 16-bit PCM in one fixed buffer,
// cut at the loop end to the sample, and pushes it into the process-wide IAudio, holding
// back while what is heard is more than half a second ahead of the picture on screen.
// Keeps the audio clock: the time of the sample being heard, from what the output has
// played of the bytes written. Ends when its Media is stopped and the queue is empty.
class AudioDecodeThread final : public WorkerThread
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AudioDecodeThread)

public:
    AudioDecodeThread(DecodeHost &host, PacketQueue &queue, QObject *parent);
    ~AudioDecodeThread() override = default;

    // Before each start: the decoder and stream to run on. The decoder belongs to the
    // thread while it runs.
    void setInput(AVCodecContext *codec, const AVStream *stream);

    static constexpr int sampleBufferSize = 288000;

protected:
    void run() override;

private:
    // A run of bytes written to the output back to back: [begin, end) of the output's
    // byte count, playing media time `seconds` (of the audio stream) at begin, each
    // second of output playing `speed` seconds of media time.
    struct Written
    {
        int64_t begin;
        int64_t end;
        double seconds;
        double speed;
        int epoch;
    };

    void decodeAndPush(const AVPacket *packet, AVFrame *frame);
    // Stretches len bytes of the sample buffer, media time seconds on, to the play speed
    // and pushes what the stretch gives out; endOfStretch: the loop end follows, so all
    // it holds comes out now, faded out at its end.
    void play(int len, double seconds, bool endOfStretch);
    // Plays out what the stretch still holds, faded out, when nothing more of this
    // stretch of playback comes (the end of the input or the loop end); once per stretch.
    void finishStretch();
    // Pushes what the stretch gives out now; endOfStretch: it ends this stretch of
    // playback, faded out.
    void pushStretched(bool endOfStretch);
    // Pushes len bytes of data, which play from media time seconds at speed; gives up
    // when the playback stops, and drops them when there is no output to play them. A
    // speed change meanwhile stretches again what is not heard yet (restretch), which
    // takes the place of the rest of data.
    void push(const char *data, int len, double seconds, double speed);
    // Applies the speed the Media asks for. While sound of this stretch of playback is
    // written and not heard yet, it is stretched again from the kept input at the new
    // speed and written over the old from shortly after what is heard, cross-faded into
    // it, so the change is heard at once, without a gap or a click. True when it did so.
    bool restretch(double speed);
    // Keeps the latest input of the stretch and output written, for restretch().
    void keepInput(const int16_t *frames, int count, double seconds);
    void keepOutput(const char *data, int len, int64_t end);
    void dropInRealTime(int len, double seconds, double speed);
    // How many output samples of frame lie before the seek target.
    int64_t samplesBeforeTarget(const AVFrame *frame);
    // Notes bytes just written, playing from seconds at speed, ending at the output's
    // count end.
    void noteWritten(int64_t end, int bytes, double seconds, double speed);
    // Hands the Media the time being heard, from the output's played bytes.
    void publishHeard();
    double bytesPerSecond() const;

    DecodeHost &host;
    PacketQueue &queue;
    AVCodecContext *codec = nullptr;
    const AVStream *stream = nullptr;
    media::AvBufferPtr<uint8_t> samples;
    AudioResampler resampler;
    // Samples before this time (audio stream ticks) are not played: set by the flush
    // packet of a seek, cleared by the first frame that reaches it.
    int64_t skipBefore = AV_NOPTS_VALUE;
    // The epoch of the last flush packet: sound of one stretch of playback.
    int epoch = 0;
    // Media time after the last converted sample, for frames without a time stamp.
    double nextSeconds = 0;
    // What was written and not yet heard, oldest first.
    std::deque<Written> written;
    // The speed's time stretch, its output, the media time at the end of what went in,
    // and whether the next output starts a stretch of playback (faded in).
    media::TempoFilter tempo;
    std::vector<int16_t> stretched;
    double stretchInputEnd = 0;
    bool fadeInNext = false;
    // The stretch was flushed for the loop end, which its output ends at.
    bool stretchFlushed = false;
    // The latest input of the stretch in this stretch of playback, from media time
    // recentInputStart, and the latest output written, from byte recentOutputBegin of
    // the output.
    std::vector<int16_t> recentInput;
    double recentInputStart = 0;
    std::vector<int16_t> recentOutput;
    int64_t recentOutputBegin = 0;
};
