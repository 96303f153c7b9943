#include "lesson/sentences.h"

#include "lesson/filesbeside.h"
#include "media/ffmpeg.h"
#include "text/plaintext.h"
#include "text/transcript.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace lesson {

namespace {

// The subtitle formats read from files, by suffix, in the order the default is chosen.
struct SubtitleFormat
{
    const char *suffix;
    const char *demuxer;
};
constexpr SubtitleFormat subtitleFormats[] = {
    {"srt", "srt"}, {"vtt", "webvtt"}, {"ass", "ass"}, {"ssa", "ass"}};

// The memory a custom AVIOContext reads from.
struct MemoryInput
{
    QByteArray bytes;
    qint64 pos = 0;
};

int readMemory(void *opaque, uint8_t *buf, int size)
{
    auto *in = static_cast<MemoryInput *>(opaque);
    const qint64 left = in->bytes.size() - in->pos;
    if (left <= 0)
        return AVERROR_EOF;
    const int n = int(std::min<qint64>(size, left));
    std::memcpy(buf, in->bytes.constData() + in->pos, size_t(n));
    in->pos += n;
    return n;
}

int64_t seekMemory(void *opaque, int64_t offset, int whence)
{
    auto *in = static_cast<MemoryInput *>(opaque);
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
        return in->bytes.size();
    case SEEK_SET:
        break;
    case SEEK_CUR:
        offset += in->pos;
        break;
    case SEEK_END:
        offset += in->bytes.size();
        break;
    default:
        return AVERROR(EINVAL);
    }
    if (offset < 0 || offset > in->bytes.size())
        return AVERROR(EINVAL);
    in->pos = offset;
    return offset;
}

// What a decoded cue says: the Text field of the dialogue line the text subtitle decoders
// produce ("ReadOrder,Layer,Style,Name,MarginL,MarginR,MarginV,Effect,Text").
QString dialogueText(const char *ass)
{
    const QString line = QString::fromUtf8(ass);
    qsizetype at = 0;
    for (int field = 0; field < 8; ++field) {
        at = line.indexOf(u',', at);
        if (at < 0)
            return {};
        ++at;
    }
    return line.mid(at);
}

// Decodes the subtitle stream `index` of ctx into cues (raw text lines joined by "\N").
// Cues the decoder rejects are noted.
std::vector<Sentence> decodeCues(AVFormatContext *ctx, int index, double offsetSeconds,
                                 QStringList &notes)
{
    AVStream *stream = ctx->streams[index];
    for (unsigned i = 0; i < ctx->nb_streams; ++i)
        ctx->streams[i]->discard = int(i) == index ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    const AVCodec *codec = avcodec_find_decoder(stream->codecpar->codec_id);
    media::CodecContextPtr dec(avcodec_alloc_context3(codec));
    if (!codec || !dec || avcodec_parameters_to_context(dec.get(), stream->codecpar) < 0)
        return {};
    dec->pkt_timebase = stream->time_base;
    if (avcodec_open2(dec.get(), codec, nullptr) < 0)
        return {};

    std::vector<Sentence> cues;
    const media::PacketPtr pkt = media::allocPacket();
    while (av_read_frame(ctx, pkt.get()) >= 0) {
        if (pkt->stream_index != index || pkt->pts == AV_NOPTS_VALUE) {
            av_packet_unref(pkt.get());
            continue;
        }
        const double start = media::toSeconds(pkt->pts, stream->time_base) + offsetSeconds;
        const double end =
            start + media::toSeconds(std::max<int64_t>(pkt->duration, 0), stream->time_base);
        AVSubtitle sub{};
        int got = 0;
        const int ret = avcodec_decode_subtitle2(dec.get(), &sub, &got, pkt.get());
        av_packet_unref(pkt.get());
        if (ret < 0) {
            notes += QCoreApplication::translate(
                         "lesson::Sentences", "The cue at %1 cannot be decoded; it was left out.")
                         .arg(clockText(start));
            continue;
        }
        QStringList parts;
        for (unsigned r = 0; got && r < sub.num_rects; ++r)
            if (sub.rects[r]->ass)
                parts += dialogueText(sub.rects[r]->ass);
        avsubtitle_free(&sub);
        cues.push_back({start, end, parts.join(QLatin1String("\\N"))});
    }
    return cues;
}

// A line that starts like a cue timing ("00:01.000 -->"), readable or not.
const QRegularExpression &timingLine()
{
    static const QRegularExpression timing(QStringLiteral("^[ \\t]*[0-9][0-9:.,]*[ \\t]*-->"),
                                           QRegularExpression::MultilineOption);
    return timing;
}

// The cue's lines up to one that holds a cue timing: the subtitle reader takes the text of
// a cue whose timing it cannot read as more lines of the cue before it. Tells whether it
// cut anything.
bool cutAtStrayTiming(QString &text)
{
    QStringList lines = text.split(QLatin1String("\\N"));
    const auto timing = std::find_if(lines.begin(), lines.end(), [](const QString &line) {
        return timingLine().match(line).hasMatch();
    });
    if (timing == lines.end())
        return false;
    qsizetype keep = timing - lines.begin();
    // the number line of a numbered cue
    static const QRegularExpression number(QStringLiteral("^\\s*\\d+\\s*$"));
    if (keep > 0 && number.match(lines[keep - 1]).hasMatch())
        --keep;
    lines.resize(keep);
    text = lines.join(QLatin1String("\\N"));
    return true;
}

// How many cues the file states: lines with a cue timing, or dialogue lines of ASS/SSA.
qsizetype statedCues(const QString &text, bool ass)
{
    static const QRegularExpression dialogue(QStringLiteral("^Dialogue\\s*:"),
                                             QRegularExpression::MultilineOption);
    return text.count(ass ? dialogue : timingLine());
}

// Opens the UTF-8 text in memory with the named subtitle demuxer.
media::FormatContextPtr openText(MemoryInput &input, const AVInputFormat *format,
                                 media::IoContextPtr &io)
{
    constexpr int bufferSize = 1 << 14;
    auto *buffer = static_cast<unsigned char *>(av_malloc(bufferSize));
    if (!buffer)
        return nullptr;
    io.reset(avio_alloc_context(buffer, bufferSize, 0, &input, readMemory, nullptr, seekMemory));
    if (!io) {
        av_free(buffer);
        return nullptr;
    }
    AVFormatContext *ctx = avformat_alloc_context();
    if (!ctx)
        return nullptr;
    ctx->pb = io.get();
    ctx->flags |= AVFMT_FLAG_CUSTOM_IO;
    if (avformat_open_input(&ctx, "", format, nullptr) < 0)
        return nullptr;
    return media::FormatContextPtr(ctx);
}

// The demuxer for the text: what probing its content finds when that is one of the
// subtitle formats read here, else the one its suffix names.
const AVInputFormat *subtitleDemuxer(const QByteArray &utf8, const QString &suffix)
{
    QByteArray padded = utf8;
    padded.append(QByteArray(AVPROBE_PADDING_SIZE, '\0'));
    AVProbeData probe{};
    probe.filename = "";
    probe.buf = reinterpret_cast<unsigned char *>(padded.data());
    probe.buf_size = int(std::min<qsizetype>(utf8.size(), 1 << 20));
    int score = 0;
    const AVInputFormat *probed = av_probe_input_format2(&probe, 1, &score);
    for (const SubtitleFormat &f : subtitleFormats)
        if (probed && std::strcmp(probed->name, f.demuxer) == 0)
            return probed;
    for (const SubtitleFormat &f : subtitleFormats)
        if (suffix.compare(QLatin1String(f.suffix), Qt::CaseInsensitive) == 0)
            return av_find_input_format(f.demuxer);
    return nullptr;
}

// The first text subtitle stream of ctx, or -1.
int textSubtitleStream(const AVFormatContext *ctx)
{
    for (unsigned i = 0; i < ctx->nb_streams; ++i) {
        const AVCodecParameters *par = ctx->streams[i]->codecpar;
        const AVCodecDescriptor *desc = avcodec_descriptor_get(par->codec_id);
        if (par->codec_type == AVMEDIA_TYPE_SUBTITLE && desc &&
            (desc->props & AV_CODEC_PROP_TEXT_SUB))
            return int(i);
    }
    return -1;
}

} // namespace

QString clockText(double seconds)
{
    // a time read from a damaged file may be anything: shown within a few decades
    const double shown = std::isfinite(seconds) ? std::clamp(seconds, 0.0, 1e9) : 0.0;
    const auto tenths = qint64(std::llround(shown * 10));
    const qint64 minutes = tenths / 600;
    const QString secs =
        QStringLiteral("%1.%2").arg((tenths / 10) % 60, 2, 10, QLatin1Char('0')).arg(tenths % 10);
    if (minutes < 60)
        return QStringLiteral("%1:%2").arg(minutes).arg(secs);
    return QStringLiteral("%1:%2:%3")
        .arg(minutes / 60)
        .arg(minutes % 60, 2, 10, QLatin1Char('0'))
        .arg(secs);
}

QString plainCueText(const QString &text)
{
    static const QRegularExpression overrides(QStringLiteral("\\{[^}]*\\}"));
    static const QRegularExpression breaks(QStringLiteral("\\\\[Nnh]"));
    QString plain = text;
    plain.remove(overrides);
    plain.replace(breaks, QStringLiteral(" "));
    return plain.simplified();
}

QStringList subtitleFilesBeside(const QString &mediaFile)
{
    QStringList suffixes;
    for (const SubtitleFormat &format : subtitleFormats)
        suffixes += QLatin1String(format.suffix);
    return filesBeside(mediaFile, suffixes);
}

std::optional<Sentences> readSubtitleFile(const QString &file, double offsetSeconds, QString *error)
{
    const auto fail = [&](const QString &message) -> std::optional<Sentences> {
        if (error)
            *error = message.arg(QDir::toNativeSeparators(file));
        return std::nullopt;
    };
    const auto notSubtitles = [&] {
        return fail(QCoreApplication::translate(
            "lesson::Sentences", "%1 is not a subtitle file this program can read."));
    };
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return fail(
            QCoreApplication::translate("lesson::Sentences", "Cannot open the subtitle file %1."));
    QString text = decodePlainText(in.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    MemoryInput input{text.toUtf8()};
    const AVInputFormat *demuxer = subtitleDemuxer(input.bytes, QFileInfo(file).suffix());
    if (!demuxer)
        return notSubtitles();
    media::IoContextPtr io;
    const media::FormatContextPtr ctx = openText(input, demuxer, io);
    const int index = ctx ? textSubtitleStream(ctx.get()) : -1;
    if (index < 0)
        return notSubtitles();

    Sentences result;
    result.source = SentenceSource::SubtitleFile;
    result.origin = file;
    std::vector<Sentence> cues = decodeCues(ctx.get(), index, offsetSeconds, result.notes);
    if (cues.empty())
        return notSubtitles();
    // cues the reader dropped: what the file states less what was read, noted, or cut
    const bool ass = std::strcmp(demuxer->name, "ass") == 0;
    qsizetype lost = statedCues(text, ass) - qsizetype(cues.size()) - result.notes.size();
    for (Sentence &cue : cues) {
        if (!ass && cutAtStrayTiming(cue.text)) {
            result.notes += QCoreApplication::translate(
                                "lesson::Sentences",
                                "A cue after %1 has times that cannot be read; it was left out.")
                                .arg(clockText(cue.start));
            --lost;
        }
        cue.text = plainCueText(cue.text);
    }
    if (lost > 0)
        result.notes +=
            QCoreApplication::translate("lesson::Sentences",
                                        "Cues with times that cannot be read were left out: %1.")
                .arg(lost);
    result.items = sentencesFromCues(std::move(cues), result.notes);
    return result;
}

std::optional<Sentences> readEmbeddedSubtitles(const QString &mediaFile, QString *error)
{
    AVFormatContext *raw = nullptr;
    if (avformat_open_input(&raw, QFile::encodeName(mediaFile).constData(), nullptr, nullptr) < 0) {
        if (error)
            *error = QCoreApplication::translate("lesson::Sentences", "Cannot open %1.")
                         .arg(QDir::toNativeSeparators(mediaFile));
        return std::nullopt;
    }
    const media::FormatContextPtr ctx(raw);
    const int index = textSubtitleStream(ctx.get());
    if (error)
        error->clear();
    if (index < 0)
        return std::nullopt;
    Sentences result;
    result.source = SentenceSource::EmbeddedSubtitles;
    result.origin = mediaFile;
    std::vector<Sentence> cues = decodeCues(ctx.get(), index, 0, result.notes);
    for (Sentence &cue : cues)
        cue.text = plainCueText(cue.text);
    result.items = sentencesFromCues(std::move(cues), result.notes);
    return result;
}

QString spokenText(const Sentence &sentence)
{
    return withoutStageDirections(sentence.text);
}

std::vector<Sentence> sentencesFromCues(std::vector<Sentence> cues, QStringList &notes)
{
    constexpr double padBefore = 0.15;
    constexpr double padAfter = 0.25;
    std::stable_sort(cues.begin(), cues.end(),
                     [](const Sentence &a, const Sentence &b) { return a.start < b.start; });
    std::vector<Sentence> kept;
    for (Sentence &cue : cues) {
        if (cue.text.trimmed().isEmpty()) {
            notes += QCoreApplication::translate("lesson::Sentences",
                                                 "The cue at %1 has no text; it was left out.")
                         .arg(clockText(cue.start));
            continue;
        }
        if (!(cue.end > cue.start)) {
            notes += QCoreApplication::translate("lesson::Sentences",
                                                 "The cue at %1 has no length; it was left out.")
                         .arg(clockText(cue.start));
            continue;
        }
        // a time that overflowed in the file can put a cue before anything plays
        if (cue.end <= 0) {
            notes += QCoreApplication::translate(
                         "lesson::Sentences",
                         "The cue at %1 ends before the lesson begins; it was left out.")
                         .arg(clockText(cue.start));
            continue;
        }
        if (!kept.empty()) {
            Sentence &prev = kept.back();
            // each line is heard once: a cue starting with the previous one or wholly
            // inside it joins it, one overlapping its end starts where it ends
            if (cue.start - prev.start < 0.001 || cue.end <= prev.end) {
                prev.text += u' ' + cue.text;
                prev.end = std::max(prev.end, cue.end);
                continue;
            }
            cue.start = std::max(cue.start, prev.end);
        }
        kept.push_back(std::move(cue));
    }
    // padding into the gaps; where both pads want more than the gap, it is split
    std::vector<Sentence> padded = kept;
    for (size_t i = 0; i < kept.size(); ++i) {
        if (i == 0) {
            padded[i].start = std::max(0.0, kept[i].start - padBefore);
        } else {
            const double gap = kept[i].start - kept[i - 1].end;
            const double before = std::min(padBefore, gap / 2);
            const double after = std::min(padAfter, gap - before);
            padded[i - 1].end = kept[i - 1].end + after;
            padded[i].start = std::max(0.0, kept[i].start - before);
        }
    }
    if (!kept.empty())
        padded.back().end = kept.back().end + padAfter;
    return padded;
}

} // namespace lesson
