#include "singleinstance.h"

#include <QDataStream>
#include <QLocalSocket>
#include <unistd.h>

namespace {
// Long enough for a window busy painting a big queue, short enough that a hung one does not stall the start.
const int answerTimeoutMsecs = 5000;
const char acknowledgement = '\x06';
} // namespace

SingleInstance::SingleInstance(const QString &name, QObject *parent)
    : QObject(parent)
    , name(name)
{
    // Only the user who owns the window may add files to it.
    server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readPaths(socket); });
            readPaths(socket);
        }
    });
}

QString SingleInstance::userServerName()
{
    return QStringLiteral("brindle-") + QString::number(getuid());
}

bool SingleInstance::handOver(const QStringList &paths) const
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(answerTimeoutMsecs))
        return false;
    QDataStream out(&socket);
    out.setVersion(QDataStream::Qt_5_15);
    out << paths;
    socket.flush();
    // Only the answer says the list arrived; a socket written to and closed at once can lose it.
    while (socket.bytesAvailable() == 0) {
        if (!socket.waitForReadyRead(answerTimeoutMsecs))
            return false;
    }
    char answer = 0;
    return socket.getChar(&answer) && answer == acknowledgement;
}

bool SingleInstance::listen()
{
    // Two starts at once (a double click in a file manager) both find nobody to hand over to. Qt moves a new
    // socket over an existing file, so the later start would silently take the socket of the earlier one:
    // asked first, a socket that answers is left alone.
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(answerTimeoutMsecs))
        return false;
    if (server.listen(name))
        return true;
    // Nobody answers, so a socket file still there is stale.
    QLocalServer::removeServer(name);
    return server.listen(name);
}

void SingleInstance::readPaths(QLocalSocket *socket)
{
    QDataStream in(socket);
    in.setVersion(QDataStream::Qt_5_15);
    in.startTransaction();
    QStringList paths;
    in >> paths;
    // A long list can come in pieces; the transaction rolls back until the last one is there.
    if (!in.commitTransaction())
        return;
    socket->putChar(acknowledgement);
    socket->flush();
    emit pathsReceived(paths);
}
