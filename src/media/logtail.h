#pragma once

#include "media/guardedmutex.h"

#include <QString>

#include <deque>

// The last lines of the engine's log: the worker threads and the GUI thread append, an
// error message shows them. Bounded, so a file that fails on every packet does not grow
// it without end. Safe from any thread: the lines are guarded by their mutex.
class LogTail
{
public:
    static constexpr size_t maxLines = 200;

    void append(const QString &line);
    // The lines, oldest first, as one text.
    QString text() const;

private:
    mutable media::GuardedMutex mutex;
    std::deque<QString> lines VORLYN_GUARDED_BY(mutex);
};
