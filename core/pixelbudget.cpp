#include "pixelbudget.h"

#include <QMutexLocker>

PixelBudget::PixelBudget(qint64 capacity)
    : m_capacity(qMax<qint64>(capacity, 1))
{
}

qint64 PixelBudget::take(qint64 bytes, const std::function<bool()> &abandoned)
{
    const qint64 taken = qBound<qint64>(0, bytes, m_capacity);
    QMutexLocker locker(&mutex);
    const quint64 ticket = nextTicket++;
    while (ticket != serving || used + taken > m_capacity) {
        if (abandoned()) {
            if (ticket == serving)
                serveNext();
            else
                abandonedTickets.insert(ticket);
            return -1;
        }
        changed.wait(&mutex, 100);
    }
    used += taken;
    serveNext();
    return taken;
}

// Under the lock: the next ticket whose holder still waits.
void PixelBudget::serveNext()
{
    ++serving;
    while (abandonedTickets.remove(serving))
        ++serving;
    changed.wakeAll();
}

void PixelBudget::give(qint64 bytes)
{
    QMutexLocker locker(&mutex);
    used -= bytes;
    changed.wakeAll();
}
