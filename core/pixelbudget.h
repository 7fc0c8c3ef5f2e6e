#pragma once

#include <QMutex>
#include <QSet>
#include <QWaitCondition>
#include <QtGlobal>
#include <functional>

// Bytes of pixel cache that the images being resized at once may hold together. The image library counts
// its cache against limits of the whole process, and an image that finds them used up fails with "cache
// resources exhausted"; waiting here for room lets a batch of big photos run fewer at a time instead.
// Requests are served in the order they came, so a big image is not starved by a stream of small ones.
class PixelBudget
{
public:
    explicit PixelBudget(qint64 capacity);

    // Blocks until bytes fit beside what the others hold; a request beyond the whole capacity waits until
    // nobody else holds anything. Returns what was taken, to be given back, or -1 when abandoned() turned
    // true while waiting (looked at every tenth of a second).
    qint64 take(qint64 bytes, const std::function<bool()> &abandoned);
    void give(qint64 bytes);

private:
    void serveNext();

    const qint64 m_capacity;
    QMutex mutex;
    QWaitCondition changed;
    qint64 used = 0;
    quint64 nextTicket = 0;
    quint64 serving = 0;
    QSet<quint64> abandonedTickets;
};
