#include "photofiles.h"

#include "testimages.h"

#include <Magick++.h>
#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QTransform>
#include <QVector>

namespace PhotoFiles {

namespace {

enum Type : quint16
{
    Ascii = 2,
    Short = 3,
    Long = 4,
};

struct Entry
{
    quint16 tag;
    quint16 type;
    quint32 count;
    QByteArray value; // little-endian, as many bytes as count values of type take
};

void put16(QByteArray &bytes, quint16 value)
{
    bytes.append(char(value & 0xff)).append(char(value >> 8));
}

void put32(QByteArray &bytes, quint32 value)
{
    put16(bytes, quint16(value & 0xffff));
    put16(bytes, quint16(value >> 16));
}

QByteArray little16(quint16 value)
{
    QByteArray bytes;
    put16(bytes, value);
    return bytes;
}

QByteArray little32(quint32 value)
{
    QByteArray bytes;
    put32(bytes, value);
    return bytes;
}

Entry number(quint16 tag, quint16 type, quint32 value)
{
    return {tag, type, 1, type == Short ? little16(quint16(value)) : little32(value)};
}

Entry text(quint16 tag, const QByteArray &value)
{
    const QByteArray terminated = value + '\0';
    return {tag, Ascii, quint32(terminated.size()), terminated};
}

// Values over four bytes follow the directory, each at an even offset.
quint32 directorySize(const QVector<Entry> &entries)
{
    quint32 size = 2 + 12 * quint32(entries.size()) + 4;
    for (const Entry &entry : entries) {
        if (entry.value.size() > 4)
            size += quint32(entry.value.size() + (entry.value.size() & 1));
    }
    return size;
}

QByteArray directory(const QVector<Entry> &entries, quint32 at, quint32 next)
{
    QByteArray head;
    QByteArray tail;
    put16(head, quint16(entries.size()));
    const quint32 outside = at + 2 + 12 * quint32(entries.size()) + 4;
    for (const Entry &entry : entries) {
        put16(head, entry.tag);
        put16(head, entry.type);
        put32(head, entry.count);
        if (entry.value.size() <= 4) {
            head.append(entry.value.leftJustified(4, '\0'));
            continue;
        }
        put32(head, outside + quint32(tail.size()));
        tail.append(entry.value);
        if (entry.value.size() & 1)
            tail.append('\0');
    }
    put32(head, next);
    return head + tail;
}

QByteArray segment(quint8 marker, const QByteArray &payload)
{
    QByteArray bytes("\xff");
    bytes.append(char(marker));
    bytes.append(char((payload.size() + 2) >> 8)).append(char((payload.size() + 2) & 0xff));
    return bytes + payload;
}

QImage rotated(const QImage &image, int degrees)
{
    return image.transformed(QTransform().rotate(degrees));
}

// What a viewer does to the stored pixels for each tag.
QImage shown(const QImage &pixels, int orientation)
{
    switch (orientation) {
    case 2:
        return pixels.mirrored(true, false);
    case 3:
        return pixels.mirrored(true, true);
    case 4:
        return pixels.mirrored(false, true);
    case 5:
        return rotated(pixels, 90).mirrored(true, false);
    case 6:
        return rotated(pixels, 90);
    case 7:
        return rotated(pixels, 90).mirrored(false, true);
    case 8:
        return rotated(pixels, 270);
    default:
        return pixels;
    }
}

Magick::Image magickOf(const QImage &picture)
{
    const QImage rgba = picture.convertToFormat(QImage::Format_RGBA8888);
    return Magick::Image(size_t(rgba.width()), size_t(rgba.height()), "RGBA", Magick::CharPixel,
                         rgba.constBits());
}

QString writeMagick(Magick::Image &image, const QString &path, const char *format)
{
    image.magick(format);
    Magick::Blob blob;
    image.write(&blob);
    return save(path, QByteArray(static_cast<const char *>(blob.data()), int(blob.length()))) ? path
                                                                                              : QString();
}

} // namespace

QImage stored(const QImage &upright, int orientation)
{
    // Every turn is its own inverse but the two quarter turns, which undo each other.
    return shown(upright, orientation == 6 ? 8 : orientation == 8 ? 6 : orientation);
}

QByteArray exifBlock(int orientation, const QSize &pixels, const QByteArray &thumbnailJpeg)
{
    const QVector<Entry> first{text(0x010f, "BrindleCam"), number(0x0112, Short, quint32(orientation)),
                               number(0x8769, Long, 0)};
    const QVector<Entry> exif{text(0x9003, "2026:12:08 10:00:00"),
                              number(0xa002, Long, quint32(pixels.width())),
                              number(0xa003, Long, quint32(pixels.height()))};
    const quint32 exifAt = 8 + directorySize(first);
    const quint32 thumbnailDirectoryAt = exifAt + directorySize(exif);
    QVector<Entry> withPointer = first;
    withPointer[2] = number(0x8769, Long, exifAt);
    QByteArray block("Exif\0\0II*\0", 10);
    put32(block, 8);
    block += directory(withPointer, 8, thumbnailJpeg.isEmpty() ? 0 : thumbnailDirectoryAt);
    block += directory(exif, exifAt, 0);
    if (!thumbnailJpeg.isEmpty()) {
        const QVector<Entry> thumbnail{number(0x0103, Short, 6), number(0x0201, Long, 0),
                                       number(0x0202, Long, quint32(thumbnailJpeg.size()))};
        QVector<Entry> placed = thumbnail;
        placed[1] = number(0x0201, Long, thumbnailDirectoryAt + directorySize(thumbnail));
        block += directory(placed, thumbnailDirectoryAt, 0);
        block += thumbnailJpeg;
    }
    return block;
}

QByteArray exifSegment(const QByteArray &block)
{
    return segment(0xe1, block);
}

QByteArray xmpSegment()
{
    return segment(
        0xe1, QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) +
                  "<?xpacket begin=\"\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>"
                  "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
                  "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
                  "<rdf:Description rdf:about=\"\" xmlns:photoshop=\"http://ns.adobe.com/photoshop/1.0/\" "
                  "photoshop:City=\"Brindleton\"/></rdf:RDF></x:xmpmeta><?xpacket end=\"w\"?>");
}

QByteArray iptcSegment()
{
    const QByteArray caption("A caption with a secret");
    QByteArray record("\x1c\x02\x78", 3);
    record.append(char(caption.size() >> 8)).append(char(caption.size() & 0xff)).append(caption);
    if (record.size() & 1)
        record.append('\0');
    QByteArray resource("8BIM\x04\x04\0\0", 8);
    resource.append(char(0))
        .append(char(0))
        .append(char(record.size() >> 8))
        .append(char(record.size() & 0xff));
    return segment(0xed, QByteArray("Photoshop 3.0\0", 14) + resource + record);
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
    // Qt names the eight tags by what a viewer does to the stored pixels, in the tags' order.
    static const QImageIOHandler::Transformations tags[] = {QImageIOHandler::TransformationNone,
                                                            QImageIOHandler::TransformationMirror,
                                                            QImageIOHandler::TransformationRotate180,
                                                            QImageIOHandler::TransformationFlip,
                                                            QImageIOHandler::TransformationFlipAndRotate90,
                                                            QImageIOHandler::TransformationRotate90,
                                                            QImageIOHandler::TransformationMirrorAndRotate90,
                                                            QImageIOHandler::TransformationRotate270};
    QImageWriter writer(path, "tiff");
    writer.setTransformation(tags[orientation - 1]);
    return writer.write(pixels) ? path : QString();
}

QString writeCmykJpeg(const QString &path, const QImage &picture)
{
    Magick::Image image = magickOf(picture);
    image.matte(false);
    image.colorSpace(Magick::CMYKColorspace);
    return writeMagick(image, path, "JPEG");
}

QString writeGreyAlphaPng(const QString &path, const QImage &picture)
{
    Magick::Image image = magickOf(picture);
    image.type(Magick::GrayscaleMatteType);
    return writeMagick(image, path, "PNG");
}

Facts facts(const QString &path)
{
    Facts facts;
    Magick::Image image;
    image.quiet(true);
    const QByteArray bytes = TestImages::fileBytes(path);
    image.read(Magick::Blob(bytes.constData(), size_t(bytes.size())));
    facts.format = QByteArray::fromStdString(image.magick());
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
