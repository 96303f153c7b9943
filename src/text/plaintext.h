#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Reading plain-text files whose encoding nobody declared: a learner's reference texts and
// notes come in UTF-8, UTF-16, GB18030 and the legacy single-byte encodings of Windows.
// Pure functions; safe on any thread.

// bytes decoded in the encoding they are in: the byte-order mark's, UTF-16 recognised by
// its zero bytes, valid UTF-8, else what the character-set detector finds, except that
// Windows-1252 quotes and dashes are not read as a Mac code page. Nothing is dropped: bytes
// no detection accepts are read as Windows-1252.
QString decodePlainText(const QByteArray &bytes);

// The text of a plain-text file, decoded as above; nothing when the file cannot be read.
std::optional<QString> readPlainTextFile(const QString &fileName);
