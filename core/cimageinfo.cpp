#include "BrindleCore.h"

#include <QDir>
#include <QFileInfo>

CImageInfo::CImageInfo() = default;

CImageInfo::CImageInfo(const QString &path)
    : m_fullPath(path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return;
    m_fileName = info.fileName();
    m_extension = info.suffix().toUpper();
    m_size = double(info.size()) * 0.0009765625 * 0.0009765625;
    m_baseName = info.baseName();
    m_completeSuffix = info.completeSuffix();
    m_suffix = info.suffix();
    // Opening a FIFO or a device would block the worker until someone writes to it.
    if (!info.isFile())
        return;
    const QImage image(path);
    m_null = image.isNull();
    if (!m_null)
        m_resolution = image.size();
}

CImageInfo::CImageInfo(const CImageInfo &other) = default;
CImageInfo &CImageInfo::operator=(const CImageInfo &other) = default;
CImageInfo::~CImageInfo() = default;

const QString &CImageInfo::fullPath() const
{
    return m_fullPath;
}

const QString &CImageInfo::fileName() const
{
    return m_fileName;
}

const QString &CImageInfo::extension() const
{
    return m_extension;
}

const QString &CImageInfo::baseName() const
{
    return m_baseName;
}

const QString &CImageInfo::completeSuffix() const
{
    return m_completeSuffix;
}

const QString &CImageInfo::suffix() const
{
    return m_suffix;
}

const QSize &CImageInfo::resolution() const
{
    return m_resolution;
}

double CImageInfo::size() const
{
    return m_size;
}

bool CImageInfo::isNull() const
{
    return m_null;
}

QImage CImageInfo::getImage() const
{
    return QImage(m_fullPath);
}

QString CImageInfo::getImageFolder() const
{
    return QFileInfo(m_fullPath).absoluteDir().path();
}

QString CImageInfo::getSizeString() const
{
    return QString::number(m_size, 'f', 2);
}

QString CImageInfo::getResolutionString() const
{
    return QStringLiteral("%1x%2").arg(m_resolution.width()).arg(m_resolution.height());
}
