#pragma once

#include "BrindleCore.h"

#include <QStringList>
#include <QVector>

// The images named on the command line: files as given, folders opened like a drop onto the program's
// window (the files directly inside) or, recursively, at every depth. The files are read in the thread
// pool, as far as reading says, and the constructor blocks until all are read.
class SourceList
{
public:
    SourceList(const QStringList &paths, bool recursive, CImageInfo::Reading reading);

    const QVector<CImageInfo> &images() const;
    // The files that cannot be resized; each record's nullReason() says why.
    const QVector<CImageInfo> &leftOut() const;

private:
    static QStringList filesOf(const QString &path, bool recursive);

    QVector<CImageInfo> m_images;
    QVector<CImageInfo> m_leftOut;
};
