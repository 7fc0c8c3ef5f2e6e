#include "exifblock.h"

#include <QtEndian>

namespace ExifBlock {

namespace {

constexpr quint16 orientationTag = 0x0112;
constexpr quint16 exifDirectoryTag = 0x8769;
constexpr quint16 pixelWidthTag = 0xa002;
constexpr quint16 pixelHeightTag = 0xa003;
constexpr quint16 thumbnailOffsetTag = 0x0201;
constexpr quint16 thumbnailLengthTag = 0x0202;
constexpr quint16 shortType = 3;
constexpr quint16 longType = 4;

// A TIFF structure inside the block: offsets count from its byte-order mark.
class Tiff
{
public:
    explicit Tiff(QByteArray &block)
        : bytes(block)
        , base(block.startsWith(QByteArray("Exif\0\0", 6)) ? 6 : 0)
    {
        const QByteArray order = bytes.mid(base, 2);
        big = order == "MM";
        valid = (big || order == "II") && fits(0, 8);
    }

    bool isValid() const { return valid; }
    quint32 firstDirectory() const { return read32(4); }

    quint16 read16(quint32 at) const
    {
        if (!fits(at, 2))
            return 0;
        const char *data = bytes.constData() + base + at;
        return big ? qFromBigEndian<quint16>(data) : qFromLittleEndian<quint16>(data);
    }

    quint32 read32(quint32 at) const
    {
        if (!fits(at, 4))
            return 0;
        const char *data = bytes.constData() + base + at;
        return big ? qFromBigEndian<quint32>(data) : qFromLittleEndian<quint32>(data);
    }

    void write16(quint32 at, quint16 value)
    {
        if (fits(at, 2))
            big ? qToBigEndian(value, bytes.data() + base + at)
                : qToLittleEndian(value, bytes.data() + base + at);
    }

    void write32(quint32 at, quint32 value)
    {
        if (fits(at, 4))
            big ? qToBigEndian(value, bytes.data() + base + at)
                : qToLittleEndian(value, bytes.data() + base + at);
    }

    void clear(quint32 at, quint32 length)
    {
        if (fits(at, length))
            bytes.replace(int(base + at), int(length), QByteArray(int(length), '\0'));
    }

    // Offset of the entry with tag in the directory at offset, or 0.
    quint32 entry(quint32 directory, quint16 tag) const
    {
        const quint16 count = read16(directory);
        for (quint32 i = 0; i < count && fits(directory + 2 + 12 * i, 12); ++i) {
            const quint32 at = directory + 2 + 12 * i;
            if (read16(at) == tag)
                return at;
        }
        return 0;
    }

    // Offset of the link to the directory after the one at offset, or 0.
    quint32 nextLink(quint32 directory) const
    {
        const quint32 at = directory + 2 + 12 * quint32(read16(directory));
        return directory != 0 && fits(at, 4) ? at : 0;
    }

    // A one-value SHORT or LONG entry's value, or 0.
    quint32 value(quint32 entry) const
    {
        if (entry == 0 || read32(entry + 4) != 1)
            return 0;
        const quint16 type = read16(entry + 2);
        return type == shortType ? read16(entry + 8) : type == longType ? read32(entry + 8) : 0;
    }

    void setValue(quint32 entry, quint32 value)
    {
        if (entry == 0 || read32(entry + 4) != 1)
            return;
        const quint16 type = read16(entry + 2);
        if (type == shortType)
            write16(entry + 8, quint16(value));
        else if (type == longType)
            write32(entry + 8, value);
    }

private:
    bool fits(quint32 at, quint32 length) const
    {
        return quint64(base) + at + length <= quint64(bytes.size());
    }

    QByteArray &bytes;
    const int base;
    bool big = false;
    bool valid = false;
};

int orientationOf(QByteArray block)
{
    const Tiff tiff(block);
    if (!tiff.isValid())
        return 1;
    const quint32 orientation = tiff.value(tiff.entry(tiff.firstDirectory(), orientationTag));
    return orientation >= 1 && orientation <= 8 ? int(orientation) : 1;
}

void dropThumbnail(Tiff &tiff, quint32 firstDirectory)
{
    const quint32 link = tiff.nextLink(firstDirectory);
    const quint32 thumbnails = link ? tiff.read32(link) : 0;
    if (thumbnails == 0)
        return;
    tiff.clear(tiff.value(tiff.entry(thumbnails, thumbnailOffsetTag)),
               tiff.value(tiff.entry(thumbnails, thumbnailLengthTag)));
    tiff.write32(link, 0);
}

} // namespace

int orientationOfJpeg(const QByteArray &jpeg)
{
    int at = 2;
    while (at + 4 <= jpeg.size() && quint8(jpeg.at(at)) == 0xff) {
        const int marker = quint8(jpeg.at(at + 1));
        const int length = qFromBigEndian<quint16>(jpeg.constData() + at + 2);
        if (marker == 0xda || length < 2)
            break;
        if (marker == 0xe1 && jpeg.mid(at + 4, 6) == QByteArray("Exif\0\0", 6))
            return orientationOf(jpeg.mid(at + 4, length - 2));
        at += 2 + length;
    }
    return 1;
}

QByteArray matched(const QByteArray &block, const QSize &pixels, bool turned)
{
    QByteArray result = block;
    Tiff tiff(result);
    if (!tiff.isValid())
        return result;
    const quint32 first = tiff.firstDirectory();
    tiff.setValue(tiff.entry(first, orientationTag), 1);
    const quint32 exif = tiff.value(tiff.entry(first, exifDirectoryTag));
    if (exif != 0) {
        tiff.setValue(tiff.entry(exif, pixelWidthTag), quint32(pixels.width()));
        tiff.setValue(tiff.entry(exif, pixelHeightTag), quint32(pixels.height()));
    }
    if (turned)
        dropThumbnail(tiff, first);
    return result;
}

} // namespace ExifBlock
