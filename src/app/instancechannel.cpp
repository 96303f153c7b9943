#include "app/instancechannel.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QThread>

#include <unistd.h>

namespace {

constexpr QDataStream::Version streamVersion = QDataStream::Qt_6_4;
// The running copy's answer once it has taken the files.
constexpr char taken = 1;

} // namespace

InstanceChannel::InstanceChannel(QObject *parent) : QObject(parent)
{
    server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this,
                    [this, socket] { readRequest(socket); });
        }
    });
}

QString InstanceChannel::name()
{
    return QStringLiteral("vorlynplayer-%1").arg(::getuid());
}

bool InstanceChannel::listen()
{
    if (server.listen(name()))
        return true;
    if (server.serverError() != QAbstractSocket::AddressInUseError)
        return false;
    // Only a copy that answers keeps the name; a socket nobody answers on is stale.
    QLocalSocket probe;
    probe.connectToServer(name());
    if (probe.waitForConnected(1000))
        return false;
    QLocalServer::removeServer(name());
    return server.listen(name());
}

void InstanceChannel::readRequest(QLocalSocket *socket)
{
    QDataStream in(socket);
    in.setVersion(streamVersion);
    in.startTransaction();
    QStringList files;
    in >> files;
    if (!in.commitTransaction())
        return;
    socket->write(&taken, 1);
    socket->flush();
    socket->disconnectFromServer();
    emit filesRequested(files);
}

bool InstanceChannel::send(const QStringList &files, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(name());
        if (socket.waitForConnected(int(deadline.remainingTime())))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
    QByteArray request;
    QDataStream out(&request, QIODevice::WriteOnly);
    out.setVersion(streamVersion);
    out << files;
    socket.write(request);
    socket.flush();
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    return socket.read(1) == QByteArray(1, taken);
}
