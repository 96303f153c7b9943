#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <optional>
#include <type_traits>

// Files the lessons keep in the user's cache folder: one per key, named by the key's hash,
// holding a header (magic, version, the key, the payload's checksum) and the payload in
// little-endian binary. A file that does not check out is not read. Any thread.
namespace lesson::cache {

// The lesson file as it is now: its absolute path, size and modification time; empty when
// it does not exist.
QByteArray lessonKey(const QString &mediaFile);

// The payload kept under key in the cache folder's subfolder, made by a writer of this
// magic and version; nothing when there is none or it does not check out.
std::optional<QByteArray> read(const QString &subfolder, const QByteArray &key,
                               const QByteArray &magic, quint32 version);
// Keeps payload under key, whole or not at all: a reader sees the old file or the new one.
void write(const QString &subfolder, const QByteArray &key, const QByteArray &magic,
           quint32 version, const QByteArray &payload);

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
    void put(const QStringList &texts)
    {
        put(quint32(texts.size()));
        for (const QString &text : texts)
            put(text);
    }

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
    bool get(QStringList &texts)
    {
        size_t count = 0;
        if (!getCount(count, 4))
            return false;
        for (size_t i = 0; i < count; ++i) {
            QString text;
            if (!get(text))
                return false;
            texts += text;
        }
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

} // namespace lesson::cache
