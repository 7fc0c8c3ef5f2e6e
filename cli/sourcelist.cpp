#include "sourcelist.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QtConcurrent>

#include <functional>

SourceList::SourceList(const QStringList &paths, bool recursive, CImageInfo::Reading reading)
{
    QStringList files;
    for (const QString &path : paths)
        files.append(filesOf(path, recursive));
    const std::function<CImageInfo(const QString &)> read = [reading](const QString &file) {
        return CImageInfo(file, reading);
    };
    const QVector<CImageInfo> infos = QtConcurrent::blockingMapped<QVector<CImageInfo>>(files, read);
    for (const CImageInfo &info : infos)
        (info.isNull() ? m_leftOut : m_images).append(info);
}

const QVector<CImageInfo> &SourceList::images() const
{
    return m_images;
}

const QVector<CImageInfo> &SourceList::leftOut() const
{
    return m_leftOut;
}

QStringList SourceList::filesOf(const QString &path, bool recursive)
{
    if (!QFileInfo(path).isDir())
        return {QFileInfo(path).absoluteFilePath()};
    QStringList files;
    QDirIterator found(path, QDir::Files,
                       recursive ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
    while (found.hasNext())
        files.append(QFileInfo(found.next()).absoluteFilePath());
    // A stable order, so that listings and messages read the same on every run.
    files.sort();
    return files;
}
