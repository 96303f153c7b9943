#pragma once

#include <QString>

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
