// The speech analysis of each lesson kept in the user's cache folder: one file per lesson,
// named by a hash of the lesson's path, size and modification time. A file is a header
// (magic, version, the key it was made for, the payload's length and checksum) and the
// payload in little-endian binary. Anything that does not check out is ignored.
#include "lesson/sentences.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <type_traits>

namespace lesson {

namespace {

constexpr char magic[8] = {'V', 'L', 'S', 'P', 'E', 'E', 'C', 'H'};
constexpr quint32 version = 1;

// The lesson as it is now: its absolute path, size and modification time.
QByteArray cacheKey(const QString &mediaFile)
{
    const QFileInfo info(mediaFile);
    if (!info.exists())
        return {};
    return info.absoluteFilePath().toUtf8() + '\n' + QByteArray::number(info.size()) + '\n' +
           QByteArray::number(info.lastModified().toMSecsSinceEpoch());
}

QString cacheFile(const QByteArray &key)
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
           QStringLiteral("/sentences/") +
           QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex()) +
           QStringLiteral(".bin");
}

class Writer
{
public:
    template <typename T> void put(T value)
    {
        static_assert(std::is_arithmetic_v<T>);
        if constexpr (std::is_floating_point_v<T>) {
            quint64 bits;
            std::memcpy(&bits, &value, sizeof bits);
            put(bits);
        } else {
            const T le = qToLittleEndian(value);
            bytes.append(reinterpret_cast<const char *>(&le), sizeof le);
        }
    }
    void put(const QByteArray &data)
    {
        put(quint32(data.size()));
        bytes += data;
    }
    void put(const QString &text) { put(text.toUtf8()); }

    QByteArray bytes;
};

// Reads what Writer wrote; once anything runs past the end, every later read fails too.
class Reader
{
public:
    explicit Reader(const QByteArray &data) : bytes(data) {}

    template <typename T> bool get(T &value)
    {
        static_assert(std::is_arithmetic_v<T>);
        if constexpr (std::is_floating_point_v<T>) {
            quint64 bits;
            if (!get(bits))
                return false;
            std::memcpy(&value, &bits, sizeof value);
            return std::isfinite(value);
        } else {
            if (!ok || left() < qsizetype(sizeof(T)))
                return ok = false;
            value = qFromLittleEndian<T>(bytes.constData() + pos);
            pos += sizeof(T);
            return true;
        }
    }
    bool get(QByteArray &data)
    {
        quint32 size = 0;
        if (!get(size) || left() < qsizetype(size))
            return ok = false;
        data = bytes.mid(pos, size);
        pos += size;
        return true;
    }
    bool get(QString &text)
    {
        QByteArray utf8;
        if (!get(utf8))
            return false;
        text = QString::fromUtf8(utf8);
        return true;
    }
    // A count of items of at least itemSize bytes each that the rest can hold.
    bool getCount(size_t &count, qsizetype itemSize)
    {
        quint32 n = 0;
        if (!get(n) || left() / itemSize < qsizetype(n))
            return ok = false;
        count = n;
        return true;
    }
    qsizetype left() const { return bytes.size() - pos; }

private:
    const QByteArray &bytes;
    qsizetype pos = 0;
    bool ok = true;
};

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
    w.put(quint32(a.sentences.notes.size()));
    for (const QString &note : a.sentences.notes)
        w.put(note);
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
    if (!r.getCount(count, 4))
        return std::nullopt;
    for (size_t i = 0; i < count; ++i) {
        QString note;
        if (!r.get(note))
            return std::nullopt;
        a.sentences.notes += note;
    }
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
    const QByteArray key = cacheKey(mediaFile);
    if (key.isEmpty())
        return std::nullopt;
    QFile file(cacheFile(key));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    Reader header(bytes);
    QByteArray storedMagic, storedKey, checksum, body;
    quint32 storedVersion = 0;
    if (!header.get(storedMagic) || storedMagic != QByteArray(magic, sizeof magic) ||
        !header.get(storedVersion) || storedVersion != version || !header.get(storedKey) ||
        storedKey != key || !header.get(checksum) || !header.get(body) || header.left() != 0 ||
        checksum != QCryptographicHash::hash(body, QCryptographicHash::Sha1))
        return std::nullopt;
    return fromPayload(body);
}

void storeAnalysis(const QString &mediaFile, const SpeechAnalysis &analysis)
{
    const QByteArray key = cacheKey(mediaFile);
    if (key.isEmpty())
        return;
    const QString path = cacheFile(key);
    if (!QDir().mkpath(QFileInfo(path).path()))
        return;
    const QByteArray body = payload(analysis);
    Writer w;
    w.put(QByteArray(magic, sizeof magic));
    w.put(version);
    w.put(key);
    w.put(QCryptographicHash::hash(body, QCryptographicHash::Sha1));
    w.put(body);
    // a reader sees the old file or the whole new one, never a part
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(w.bytes) == w.bytes.size())
        file.commit();
}

} // namespace lesson
