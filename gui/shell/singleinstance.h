#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QStringList>

class QLocalSocket;

// Keeps the program to one window per user: a later start hands its files to the running one through a
// local socket and ends, so "Open with" in a file manager adds to the queue the user is looking at.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // The socket file lies in the temporary folder, which is why the name only has to be unique per user.
    explicit SingleInstance(const QString &name = userServerName(), QObject *parent = nullptr);

    // Gives the paths to the running window and returns true once it has taken them; false when none runs
    // or it did not answer in time, and then this start goes on as the one window.
    bool handOver(const QStringList &paths) const;
    // Becomes the window that later starts hand their files to; a socket file left by a crashed start is
    // replaced. Returns false when another start listens already (hand over to it then) or the socket cannot
    // be made (the program then runs on its own).
    bool listen();

    static QString userServerName();

signals:
    void pathsReceived(const QStringList &paths);

private:
    void readPaths(QLocalSocket *socket);

    QString name;
    QLocalServer server;
};
