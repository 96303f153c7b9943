// A subtitle file as a learner may find it beside a lesson: the first byte picks its
// suffix (.srt, .vtt, .ass, .ssa), the rest is the file. Reading it must give sentences in
// time order, each with a finite start before its end and none overlapping the next, or
// an error saying why; never a crash, a hang or a leak.
#include "lesson/sentences.h"

#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    static const QTemporaryDir dir;
    static const char *const suffixes[] = {"srt", "vtt", "ass", "ssa"};
    const QString path =
        dir.filePath(QStringLiteral("lesson.") + QLatin1String(suffixes[data[0] % 4]));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data + 1), qint64(size - 1));
    }
    QString error;
    const std::optional<lesson::Sentences> read = lesson::readSubtitleFile(path, 0.5, &error);
    if (!read) {
        if (error.isEmpty())
            abort(); // a file that cannot be read says why
        return 0;
    }
    double previousEnd = -INFINITY;
    for (const lesson::Sentence &s : read->items) {
        if (!std::isfinite(s.start) || !std::isfinite(s.end) || s.start >= s.end ||
            s.start < previousEnd)
            abort();
        previousEnd = s.end;
    }
    return 0;
}
