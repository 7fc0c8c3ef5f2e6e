#include "photofiles.h"

#include "testimages.h"

#include <Magick++.h>
#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QImageWriter>
#include <QTransform>
#include <array>

namespace PhotoFiles {

namespace {

QByteArray segment(quint8 marker, const QByteArray &payload)
{
    QByteArray bytes("\xff");
    bytes.append(char(marker));
    bytes.append(char((payload.size() + 2) >> 8)).append(char((payload.size() + 2) & 0xff));
    return bytes + payload;
}

// The pixels a camera stores for the upright picture when it tags them with orientation: a viewer that
// applies the tag shows upright again.
QImage stored(const QImage &upright, int orientation)
{
    // Undoes what a viewer does for the tag: every one is its own inverse but the two quarter turns.
    QImage image = upright;
    if (orientation >= 5)
        image = image.transformed(QTransform().rotate(orientation == 6 ? 270 : 90));
    return image.mirrored(orientation == 2 || orientation == 3 || orientation == 5,
                          orientation == 3 || orientation == 4 || orientation == 7);
}

} // namespace

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

QByteArray cameraJpeg(const QImage &pixels, int orientation, const QByteArray &more)
{
    const QByteArray thumbnail = jpeg(pixels.scaled(16, 16, Qt::KeepAspectRatio));
    QByteArray block("Exif\0\0", 6);
    QDataStream out(&block, QIODevice::Append);
    out.setByteOrder(QDataStream::LittleEndian);
    // Single values (type 3 short, 4 long) that fit their entries, so that no directory has anything after
    // it: at 8 the orientation and a link to the one at 38 with the pixel size, at 68 the thumbnail's offset
    // (110) and length.
    const auto directory = [&out](std::initializer_list<std::array<quint32, 3>> entries, quint32 next) {
        out << quint16(entries.size());
        for (const auto &[tag, type, value] : entries)
            out << quint16(tag) << quint16(type) << quint32(1) << value;
        out << next;
    };
    out << quint16(0x4949) << quint16(42) << quint32(8);
    directory({{0x0112, 3, quint32(orientation)}, {0x8769, 4, 38}}, 68);
    directory({{0xa002, 4, quint32(pixels.width())}, {0xa003, 4, quint32(pixels.height())}}, 0);
    directory({{0x0103, 3, 6}, {0x0201, 4, 110}, {0x0202, 4, quint32(thumbnail.size())}}, 0);
    out.writeRawData(thumbnail.constData(), thumbnail.size());
    return jpeg(pixels, {segment(0xe1, block), more});
}

bool save(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return !bytes.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString writeOriented(const QString &path, const QSize &upright, int orientation, int seed)
{
    const QImage pixels = stored(TestImages::photo(upright, seed), orientation);
    if (!path.endsWith(QLatin1String(".tif")))
        return save(path, cameraJpeg(pixels, orientation)) ? path : QString();
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
    facts.pixels =
        QStringLiteral("%1 %2 %3")
            .arg(MagickCore::CommandOptionToMnemonic(MagickCore::MagickColorspaceOptions, image.colorSpace()))
            .arg(image.depth())
            .arg(image.matte() ? "alpha" : "opaque");
    facts.quality = int(image.quality());
    return facts;
}

} // namespace PhotoFiles
