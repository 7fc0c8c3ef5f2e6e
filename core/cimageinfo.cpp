#include "BrindleCore.h"

#include "imagelimits.h"
#include "sizeestimate.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace {

// The decoder's own reduction (JPEG: 1/2, 1/4, 1/8) that still leaves twice the box, so that the smooth
// scaling into the box sees as many pixels as it needs for the same look.
QSize reducedSize(const QSize &source, const QSize &box)
{
    for (const int factor : {8, 4, 2}) {
        const QSize reduced((source.width() + factor - 1) / factor, (source.height() + factor - 1) / factor);
        if (reduced.width() >= 2 * box.width() && reduced.height() >= 2 * box.height())
            return reduced;
    }
    return source;
}

} // namespace

CImageInfo::CImageInfo() = default;

CImageInfo::CImageInfo(const QString &path, Reading reading)
    : m_fullPath(path)
{
    QImageReader reader(path);
    if (!readHeader(reader))
        return;
    const QSize header = reader.size();
    if (reading == Reading::HeaderOnly && header.isValid()) {
        const bool sideways = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
        m_resolution = sideways ? header.transposed() : header;
        m_null = false;
        return;
    }
    decode(reader, QSize(), nullptr);
}

CImageInfo::CImageInfo(const QString &path, const QSize &thumbnailBox, QImage *thumbnail)
    : m_fullPath(path)
{
    if (thumbnail)
        *thumbnail = QImage();
    QImageReader reader(path);
    if (readHeader(reader))
        decode(reader, thumbnailBox, thumbnail);
}

// The facts of the file, and the refusals that need no more than its header.
bool CImageInfo::readHeader(QImageReader &reader)
{
    const QFileInfo info(m_fullPath);
    if (!info.exists()) {
        m_nullReason = QStringLiteral("the file does not exist");
        return false;
    }
    m_fileName = info.fileName();
    m_extension = info.suffix().toUpper();
    m_size = double(info.size()) * 0.0009765625 * 0.0009765625;
    m_baseName = info.baseName();
    m_completeSuffix = info.completeSuffix();
    m_suffix = info.suffix();
    // Opening a FIFO or a device would block the worker until someone writes to it.
    if (!info.isFile()) {
        m_nullReason = QStringLiteral("not a regular file");
        return false;
    }
    // The engine resizes only these, and takes the format from the content too: anything else (WebP, an
    // icon, a TGA guessed from a suffix) would be queued only to stop the run.
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    if (!format.isEmpty() && !QByteArrayList{"jpeg", "png", "gif", "bmp", "tiff"}.contains(format)) {
        m_nullReason = QStringLiteral("%1 content, not JPEG, PNG, GIF, BMP or TIFF")
                           .arg(QString::fromLatin1(format.toUpper()));
        return false;
    }
    const QSize header = reader.size();
    // A header can claim any size for a few bytes; believing it would mean a decode of gigabytes.
    if (ImageLimits::tooLarge(header)) {
        m_nullReason = ImageLimits::tooLargeText(header);
        return false;
    }
    // The record and its thumbnail are what a viewer shows: the stored pixels turned as their tag says.
    reader.setAutoTransform(true);
    return true;
}

void CImageInfo::decode(QImageReader &reader, const QSize &thumbnailBox, QImage *thumbnail)
{
    const QSize header = reader.size();
    // Asked before the read: the handler no longer tells it once the data is consumed.
    const QByteArray format = reader.format();
    // The decoder reduces the stored pixels, before the turn.
    const bool sideways = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    const bool scaled = header.isValid() && reader.supportsOption(QImageIOHandler::ScaledSize);
    if (scaled)
        reader.setScaledSize(reducedSize(header, sideways ? thumbnailBox.transposed() : thumbnailBox));
    const QImage image = reader.read();
    if (image.isNull()) {
        m_nullReason = reader.errorString();
        return;
    }
    const QSize resolution = !scaled ? image.size() : sideways ? header.transposed() : header;
    if (ImageLimits::tooLarge(resolution)) {
        m_nullReason = ImageLimits::tooLargeText(resolution);
        return;
    }
    m_resolution = resolution;
    m_null = false;
    m_encodingSample = SizeEstimate::measure(m_fullPath, format, image, resolution, reader.imageCount());
    if (thumbnail)
        *thumbnail = image.scaled(resolution.scaled(thumbnailBox, Qt::KeepAspectRatio), Qt::IgnoreAspectRatio,
                                  Qt::SmoothTransformation);
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

const QString &CImageInfo::nullReason() const
{
    return m_nullReason;
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

const CEncodingSample &CImageInfo::encodingSample() const
{
    return m_encodingSample;
}

QString CImageInfo::getResolutionString() const
{
    return QStringLiteral("%1x%2").arg(m_resolution.width()).arg(m_resolution.height());
}
