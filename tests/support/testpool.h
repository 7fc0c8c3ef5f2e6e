#pragma once

#include <QScopeGuard>
#include <QThreadPool>

namespace TestPool {

// The engine's pool set to threads until the guard goes, as on a machine of that many cores.
inline auto ofThreads(int threads)
{
    QThreadPool *pool = QThreadPool::globalInstance();
    const int before = pool->maxThreadCount();
    pool->setMaxThreadCount(threads);
    return qScopeGuard([pool, before] { pool->setMaxThreadCount(before); });
}

} // namespace TestPool
