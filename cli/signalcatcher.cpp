#include "signalcatcher.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

int SignalCatcher::writeEnd = -1;

namespace {
const int caughtSignals[] = {SIGINT, SIGTERM};
}

SignalCatcher::SignalCatcher(QObject *parent)
    : QObject(parent)
    , pipeEnds{-1, -1}
    , notifier(nullptr)
{
    if (pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    writeEnd = pipeEnds[1];
    notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &SignalCatcher::onReadable);
    struct sigaction action = {};
    action.sa_handler = &SignalCatcher::handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : caughtSignals)
        sigaction(number, &action, nullptr);
}

SignalCatcher::~SignalCatcher()
{
    for (const int number : caughtSignals)
        std::signal(number, SIG_DFL);
    writeEnd = -1;
    for (const int end : pipeEnds) {
        if (end >= 0)
            close(end);
    }
}

void SignalCatcher::handle(int)
{
    const char byte = 1;
    // A full pipe already holds a wake-up, so a failed write loses nothing.
    if (write(writeEnd, &byte, 1) < 0)
        return;
}

void SignalCatcher::onReadable()
{
    char bytes[16];
    while (read(pipeEnds[0], bytes, sizeof bytes) > 0) {
    }
    emit caught();
}
