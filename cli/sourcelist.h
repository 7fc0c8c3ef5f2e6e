#pragma once

#include "BrindleCore.h"

#include <QStringList>
#include <QVector>

// The images named on the command line: files as given, folders opened like a drop onto the program's
// window (the files directly inside) or, recursively, at every depth. Reading decodes each file's header
// in the thread pool and blocks until all are read.
class SourceList
{
public:
    SourceList(const QStringList &paths, bool recursive);

    const QVector<CImageInfo> &images() const;
    // The files that cannot be resized; each record's nullReason() says why.
    const QVector<CImageInfo> &leftOut() const;

private:
    static QStringList filesOf(const QString &path, bool recursive);

    QVector<CImageInfo> m_images;
    QVector<CImageInfo> m_leftOut;
};
