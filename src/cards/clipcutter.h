#pragma once

#include <QCoreApplication>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>

// Cuts stretches of one lesson's sound and encodes each to a small MP3 file (mono, 44.1 kHz,
// 64 kbit/s) that flashcard programs play: seeks to each stretch and decodes only it, so
// stretches taken in time order cost little more than their own length. Owns the lesson's
// demuxer and decoder; one thread uses it.
namespace cards {

class ClipCutter final
{
    Q_DECLARE_TR_FUNCTIONS(cards::ClipCutter)
    Q_DISABLE_COPY_MOVE(ClipCutter)

public:
    // The rate and bit rate of the clips.
    static constexpr int clipRate = 44100;
    static constexpr int clipBitRate = 64000;

    // Opens the first audio stream of lessonFile; a file that cannot be read, or has no
    // sound, gives NoSound for every stretch.
    explicit ClipCutter(const QString &lessonFile);
    ~ClipCutter();

    enum class Cut
    {
        Written,
        // the stretch has no sound this cutter can read
        NoSound,
        Cancelled,
        // the clip could not be written
        Failed,
    };
    // Writes the sound from start to end (seconds of the lesson's clock, its start time
    // included) to file: what the player loops, so a stretch that reaches before the
    // sound's first sample or past its last is cut where the sound begins or ends. cancel is
    // polled while the stretch is decoded. Failed says why; a file begun is then removed.
    Cut cut(double start, double end, const QString &file, const std::atomic<bool> &cancel,
            QString *why);

private:
    struct Input;
    std::unique_ptr<Input> in;
};

// Encodes count mono samples at rate to file as the clips are encoded (resampled to
// ClipCutter::clipRate, MP3 at ClipCutter::clipBitRate). False with why when it cannot; a
// file begun is then removed.
bool encodeMp3(const int16_t *samples, int count, int rate, const QString &file, QString *why);

} // namespace cards
