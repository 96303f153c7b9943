// Reading and writing whole files in the tests.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

// Writes bytes to path; a file that cannot be opened fails the running test.
inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The whole content of path, or an empty array when it cannot be read.
inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
