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
    QStringList written;
};

// Resizes images to exactly target into folder with prefix; onFirstImage runs once, after the first
// imageResized, while the run goes on.
Run resize(const QVector<CImageInfo> &images, const QString &folder, const QString &prefix = {},
           const std::function<void(CImagesResizer &)> &onFirstImage = {}, const QSize &target = targetSize);

// The name the engine must write for source into folder.
QString outputPath(const QString &folder, const QString &prefix, const QString &source);

// Why folder holds something else than complete outputs of size among expected (paths); empty when not.
// A stray file is a leftover temporary file, a truncated write or a name the image library made up.
QString badOutput(const QString &folder, const QStringList &expected, const QSize &size = targetSize);

} // namespace HostileRun
