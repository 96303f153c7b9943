#include "media/logtail.h"

void LogTail::append(const QString &line)
{
    media::GuardedLock lock(mutex);
    lines.push_back(line);
    if (lines.size() > maxLines)
        lines.pop_front();
}

QString LogTail::text() const
{
    media::GuardedLock lock(mutex);
    QString all;
    for (const QString &line : lines)
        all += line;
    return all;
}
