#include "pixelbudget.h"

#include <QMutexLocker>

PixelBudget::PixelBudget(qint64 capacity)
    : m_capacity(qMax<qint64>(capacity, 1))
{
}

qint64 PixelBudget::take(qint64 bytes)
{
    const qint64 taken = qBound<qint64>(0, bytes, m_capacity);
    QMutexLocker locker(&mutex);
    const quint64 ticket = nextTicket++;
    while (ticket != serving || used + taken > m_capacity)
        changed.wait(&mutex);
    used += taken;
    ++serving;
    changed.wakeAll();
    return taken;
}

void PixelBudget::give(qint64 bytes)
{
    QMutexLocker locker(&mutex);
    used -= bytes;
    changed.wakeAll();
}
