#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a Qt signal in the event loop, through a pipe that the handler writes
// one byte to (the only safe thing a handler can do); the default actions come back on destruction.
class SignalCatcher : public QObject
{
    Q_OBJECT

public:
    explicit SignalCatcher(QObject *parent = nullptr);
    ~SignalCatcher() override;

signals:
    void caught();

private:
    static void handle(int signalNumber);
    void onReadable();

    static int writeEnd;
    int pipeEnds[2];
    QSocketNotifier *notifier;
};
