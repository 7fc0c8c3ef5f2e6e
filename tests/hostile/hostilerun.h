#pragma once

#include "BrindleCore.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

// Drives the queue model and the engine the way the resize screen does, with a time limit on every wait
// so that a hang shows as a failure instead of a test that never ends.
namespace HostileRun {

const QSize targetSize(32, 24);

struct Opening
{
    bool finished = false;
    QVector<CImageInfo> queued;
};

// Opens paths through a fresh queue model; a FIFO opened by mistake is released after the time limit.
Opening open(const QStringList &paths, int timeoutMs = 10000);

struct Run
{
    bool refused = false; // resizeImages threw before the run began
    bool finished = false;
    bool canceled = false;
    QString error; // lastError(), or the refusal's message
    QStringList sources;
    QStringList written;
};

// Resizes images to exactly target into folder with prefix; onFirstImage runs once, after the first
// imageResized.
Run resize(const QVector<CImageInfo> &images, const QString &folder, const QString &prefix = {},
           const std::function<void()> &onFirstImage = {}, int timeoutMs = 30000,
           const QSize &target = targetSize);

// The name the engine must write for source into folder.
QString outputPath(const QString &folder, const QString &prefix, const QString &source);

// True when the file ends as its format requires (no truncated write) and decodes to size.
bool isComplete(const QString &path, const QSize &size, QString *reason);

} // namespace HostileRun
