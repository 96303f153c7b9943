#include "lesson/cachefile.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace lesson::cache {

namespace {

QString cachePath(const QString &subfolder, const QByteArray &key)
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + u'/' + subfolder +
           u'/' +
           QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex()) +
           QStringLiteral(".bin");
}

} // namespace

QByteArray lessonKey(const QString &mediaFile)
{
    const QFileInfo info(mediaFile);
    if (!info.exists())
        return {};
    return info.absoluteFilePath().toUtf8() + '\n' + QByteArray::number(info.size()) + '\n' +
           QByteArray::number(info.lastModified().toMSecsSinceEpoch());
}

std::optional<QByteArray> read(const QString &subfolder, const QByteArray &key,
                               const QByteArray &magic, quint32 version)
{
    if (key.isEmpty())
        return std::nullopt;
    QFile file(cachePath(subfolder, key));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    Reader header(bytes);
    QByteArray storedMagic, storedKey, checksum, body;
    quint32 storedVersion = 0;
    if (!header.get(storedMagic) || storedMagic != magic || !header.get(storedVersion) ||
        storedVersion != version || !header.get(storedKey) || storedKey != key ||
        !header.get(checksum) || !header.get(body) || header.left() != 0 ||
        checksum != QCryptographicHash::hash(body, QCryptographicHash::Sha1))
        return std::nullopt;
    return body;
}

void write(const QString &subfolder, const QByteArray &key, const QByteArray &magic,
           quint32 version, const QByteArray &payload)
{
    if (key.isEmpty())
        return;
    const QString path = cachePath(subfolder, key);
    if (!QDir().mkpath(QFileInfo(path).path()))
        return;
    Writer w;
    w.put(magic);
    w.put(version);
    w.put(key);
    w.put(QCryptographicHash::hash(payload, QCryptographicHash::Sha1));
    w.put(payload);
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
        file.write(w.bytes) == w.bytes.size())
        file.commit();
}

} // namespace lesson::cache
