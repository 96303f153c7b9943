// The speech analysis of each lesson kept in the user's cache folder, one file per lesson
// as the lesson file is now, its payload in little-endian binary.
#include "lesson/cachefile.h"
#include "lesson/sentences.h"

namespace lesson {

namespace {

const QByteArray magic("VLSPEECH");
constexpr quint32 version = 1;
const QString folder = QStringLiteral("sentences");

using cache::Reader;
using cache::Writer;

QByteArray payload(const SpeechAnalysis &a)
{
    Writer w;
    w.put(quint32(a.sentences.source));
    w.put(a.sentences.origin);
    w.put(quint32(a.sentences.items.size()));
    for (const Sentence &s : a.sentences.items) {
        w.put(s.start);
        w.put(s.end);
        w.put(s.text);
    }
    w.put(a.sentences.notes);
    w.put(quint32(a.pauses.size()));
    for (const Pause &p : a.pauses) {
        w.put(p.start);
        w.put(p.end);
    }
    w.put(a.peaks.start);
    w.put(qint32(a.peaks.perSecond));
    w.put(quint32(a.peaks.low.size()));
    for (size_t i = 0; i < a.peaks.low.size(); ++i) {
        w.put(a.peaks.low[i]);
        w.put(i < a.peaks.high.size() ? a.peaks.high[i] : a.peaks.low[i]);
    }
    return w.bytes;
}

std::optional<SpeechAnalysis> fromPayload(const QByteArray &bytes)
{
    Reader r(bytes);
    SpeechAnalysis a;
    quint32 source = 0;
    size_t count = 0;
    if (!r.get(source) || source > quint32(SentenceSource::SpeechPauses) ||
        !r.get(a.sentences.origin) || !r.getCount(count, 20))
        return std::nullopt;
    a.sentences.source = SentenceSource(source);
    a.sentences.items.resize(count);
    for (Sentence &s : a.sentences.items)
        if (!r.get(s.start) || !r.get(s.end) || !r.get(s.text))
            return std::nullopt;
    if (!r.get(a.sentences.notes))
        return std::nullopt;
    if (!r.getCount(count, 16))
        return std::nullopt;
    a.pauses.resize(count);
    for (Pause &p : a.pauses)
        if (!r.get(p.start) || !r.get(p.end))
            return std::nullopt;
    qint32 perSecond = 0;
    if (!r.get(a.peaks.start) || !r.get(perSecond) || perSecond <= 0 || !r.getCount(count, 4))
        return std::nullopt;
    a.peaks.perSecond = perSecond;
    a.peaks.low.resize(count);
    a.peaks.high.resize(count);
    for (size_t i = 0; i < count; ++i)
        if (!r.get(a.peaks.low[i]) || !r.get(a.peaks.high[i]))
            return std::nullopt;
    if (r.left() != 0)
        return std::nullopt;
    return a;
}

} // namespace

std::optional<SpeechAnalysis> cachedAnalysis(const QString &mediaFile)
{
    const std::optional<QByteArray> body =
        cache::read(folder, cache::lessonKey(mediaFile), magic, version);
    return body ? fromPayload(*body) : std::nullopt;
}

void storeAnalysis(const QString &mediaFile, const SpeechAnalysis &analysis)
{
    cache::write(folder, cache::lessonKey(mediaFile), magic, version, payload(analysis));
}

} // namespace lesson
