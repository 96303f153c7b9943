#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// What a file handed to the program is, judged by its content and not by its name: a
// lesson's media, a document for the editor, or neither; Missing when it cannot be read.
enum class FileKind
{
    Missing,
    Media,
    Document,
    Other
};

// Reads the start of the file (the MIME database's magic), and probes it with FFmpeg when
// that finds neither sound, pictures nor text. Holds no state; any thread.
FileKind kindOfFile(const QString &path);

// Files handed over at once, sorted by kind: the first media file is the lesson, the first
// document the editor's; every other file is a problem, named with why it does not open.
struct OpenedFiles
{
    QString media;
    QString document;
    QStringList problems;
};
// kindOf judges each file (kindOfFile unless a caller knows better). Any thread.
OpenedFiles sortOpenedFiles(const QStringList &files,
                            const std::function<FileKind(const QString &)> &kindOf = kindOfFile);
