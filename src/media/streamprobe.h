#pragma once

#include "media/ffmpeg.h"

#include <QByteArray>
#include <QImage>

#include <optional>

// Opening and probing an input: which of its streams play, their decoders, an audio
// file's cover picture, the display aspect ratio, and what identifies the file on disk.
// Free functions without state; the GUI thread calls them while opening, and the video
// thread calls displayAspectRatio() on the decoder it owns while running.
namespace media {

// The streams of an input the engine plays, with their open decoders.
struct ChosenStreams
{
    int audioIndex = -1;
    AVStream *audioStream = nullptr;
    CodecContextPtr audioCodec;
    int videoIndex = -1;
    AVStream *videoStream = nullptr;
    CodecContextPtr videoCodec;
    // The attached picture of a file without video; null otherwise.
    QImage coverArt;
    // There was a video stream, but its pictures cannot be converted for display.
    bool picturesUnusable = false;
};

// The first audio and the first video stream of input (whose stream information was
// read), each with its decoder open; a stream whose decoder does not open is left out, as
// is a video stream whose pictures cannot be shown, and a cover picture is not video.
ChosenStreams chooseStreams(AVFormatContext *input);

// Opens a decoder for st; null when there is none or it does not open. A video decoder
// runs on a few threads.
CodecContextPtr openDecoder(const AVStream *st);

// The attached picture of stream st as an RGB32 image; null when it does not decode or
// cannot be converted safely.
QImage decodeCoverArt(const AVStream *st);

// The display aspect ratio of the pictures of video, decoded by decoder: their size and
// the sample aspect of the stream, else of the decoder; 1 without pictures.
float displayAspectRatio(const AVStream *video, const AVCodecContext *decoder);

// The first tick of st; 0 when it states none.
int64_t streamStart(const AVStream *st);
// The length of st in its own ticks: its own length, else the input's; 0 when unknown.
int64_t streamLength(const AVFormatContext *input, const AVStream *st);

// The shortest loop in ticks of tb: one picture interval of the video stream's frame
// rate, or 100 ms without pictures or a frame rate.
int64_t shortestLoopTicks(AVFormatContext *input, AVStream *video, AVRational tb);

// What identifies a file on disk: a removed, replaced, cut or rewritten file no longer
// matches.
struct FileStamp
{
    unsigned long long device = 0, inode = 0;
    long long size = 0, modifiedNs = 0;
    bool operator==(const FileStamp &) const = default;
};
// The stamp of the regular file at path; none for anything else.
std::optional<FileStamp> stampOf(const QByteArray &path);

} // namespace media
