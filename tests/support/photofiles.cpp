#include "photofiles.h"

#include "testimages.h"

#include <Magick++.h>
#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QImageWriter>
#include <QPair>
#include <QTransform>
#include <QVector>

namespace PhotoFiles {

namespace {

const quint16 orientationTag = 0x0112;
const quint16 compressionTag = 0x0103;

// Every value here is a single one that fits its entry, so no directory has anything after it.
quint32 directorySize(int entries)
{
    return 2 + 12 * quint32(entries) + 4;
}

QByteArray directory(const QVector<QPair<quint16, quint32>> &entries, quint32 next)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(entries.size());
    for (const auto &[tag, value] : entries) {
        // A short sits in the first two bytes of the value field, which little-endian gives for free.
        const bool isShort = tag == orientationTag || tag == compressionTag;
        out << tag << quint16(isShort ? 3 : 4) << quint32(1) << value;
    }
    out << next;
    return bytes;
}

QByteArray segment(quint8 marker, const QByteArray &payload)
{
    QByteArray bytes("\xff");
    bytes.append(char(marker));
    bytes.append(char((payload.size() + 2) >> 8)).append(char((payload.size() + 2) & 0xff));
    return bytes + payload;
}

} // namespace

QImage stored(const QImage &upright, int orientation)
{
    // Undoes what a viewer does for the tag: every one is its own inverse but the two quarter turns.
    QImage image = upright;
    if (orientation >= 5)
        image = image.transformed(QTransform().rotate(orientation == 6 ? 270 : 90));
    return image.mirrored(orientation == 2 || orientation == 3 || orientation == 5,
                          orientation == 3 || orientation == 4 || orientation == 7);
}

QByteArray exifBlock(int orientation, const QSize &pixels, const QByteArray &thumbnailJpeg)
{
    const quint32 exifAt = 8 + directorySize(2);
    const quint32 thumbnailsAt = exifAt + directorySize(2);
    const bool thumbnail = !thumbnailJpeg.isEmpty();
    QByteArray block("Exif\0\0II*\0\x08\0\0\0", 14);
    block +=
        directory({{orientationTag, quint32(orientation)}, {0x8769, exifAt}}, thumbnail ? thumbnailsAt : 0);
    block += directory({{0xa002, quint32(pixels.width())}, {0xa003, quint32(pixels.height())}}, 0);
    if (thumbnail) {
        block += directory({{compressionTag, 6},
                            {0x0201, thumbnailsAt + directorySize(3)},
                            {0x0202, quint32(thumbnailJpeg.size())}},
                           0);
        block += thumbnailJpeg;
    }
    return block;
}

QByteArray exifSegment(const QByteArray &block)
{
    return segment(0xe1, block);
}

QByteArray commentSegment(const QByteArray &text)
{
    return segment(0xfe, text);
}

QByteArray jpeg(const QImage &pixels, const QByteArrayList &segments, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!pixels.save(&buffer, "JPEG", quality))
        return QByteArray();
    return bytes.left(2) + segments.join() + bytes.mid(2);
}

bool save(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return !bytes.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString writeOriented(const QString &path, const QSize &upright, int orientation, int seed)
{
    const QImage pixels = stored(TestImages::photo(upright, seed), orientation);
    if (!path.endsWith(QLatin1String(".tif"))) {
        const QByteArray thumbnail = jpeg(pixels.scaled(16, 16, Qt::KeepAspectRatio));
        const QByteArray block = exifBlock(orientation, pixels.size(), thumbnail);
        return save(path, jpeg(pixels, {exifSegment(block)})) ? path : QString();
    }
    // Qt names the eight tags by what a viewer does to the stored pixels: None, Mirror, Rotate180, Flip,
    // FlipAndRotate90, Rotate90, MirrorAndRotate90 and Rotate270.
    static const int transformations[] = {0, 1, 3, 2, 6, 4, 5, 7};
    QImageWriter writer(path, "tiff");
    writer.setTransformation(QImageIOHandler::Transformations(transformations[orientation - 1]));
    return writer.write(pixels) ? path : QString();
}

Facts facts(const QString &path)
{
    Facts facts;
    Magick::Image image;
    image.quiet(true);
    const QByteArray bytes = TestImages::fileBytes(path);
    image.read(Magick::Blob(bytes.constData(), size_t(bytes.size())));
    facts.orientation = int(image.orientation());
    MagickCore::ResetImageProfileIterator(image.image());
    while (const char *name = MagickCore::GetNextImageProfile(image.image()))
        facts.profiles << QString::fromLatin1(name);
    facts.comment = QString::fromStdString(image.comment());
    if (facts.profiles.contains(QLatin1String("exif"))) {
        const Magick::Blob exif = image.profile("exif");
        facts.exifThumbnail =
            QByteArray::fromRawData(static_cast<const char *>(exif.data()), int(exif.length()))
                .contains("\xff\xd8\xff");
        facts.exifPixels = QSize(QString::fromStdString(image.attribute("exif:PixelXDimension")).toInt(),
                                 QString::fromStdString(image.attribute("exif:PixelYDimension")).toInt());
    }
    facts.colourSpace = QString::fromLatin1(
        MagickCore::CommandOptionToMnemonic(MagickCore::MagickColorspaceOptions, image.colorSpace()));
    facts.depth = int(image.depth());
    facts.alpha = image.matte();
    facts.quality = int(image.quality());
    return facts;
}

} // namespace PhotoFiles
