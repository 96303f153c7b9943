#pragma once

#include <QLocalServer>
#include <QObject>
#include <QStringList>

// The per-user channel through which a later copy of the program hands its files to the
// copy that runs: a local socket named with the user's id, so one user's copy never talks to
// another's. The running copy listens; the later one sends its files, waits until they are
// taken and ends. GUI thread only.
class InstanceChannel final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InstanceChannel)

public:
    explicit InstanceChannel(QObject *parent = nullptr);

    static QString name();
    // Starts listening. A socket left behind by a copy that crashed answers nobody: it is
    // removed and the channel made anew. False when the channel cannot be made.
    bool listen();
    // Hands files to the running copy, trying until timeoutMs have passed (that copy may
    // still be starting); true once it has taken them.
    static bool send(const QStringList &files, int timeoutMs);

signals:
    // A later copy asked for files (none: it was started without any).
    void filesRequested(const QStringList &files);

private:
    void readRequest(QLocalSocket *socket);

    QLocalServer server;
};
