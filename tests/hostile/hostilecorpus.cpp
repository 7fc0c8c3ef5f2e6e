#include "hostilecorpus.h"

#include "testimages.h"

#include <Magick++.h>
#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QtEndian>
#include <list>
#include <sys/stat.h>
#include <zlib.h>

namespace HostileCorpus {

namespace {
const QSize smallSize(64, 48);

bool save(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray jpeg()
{
    return encoded(TestImages::photo(smallSize), "JPEG");
}

QByteArray png()
{
    return encoded(TestImages::photo(smallSize), "PNG");
}

QByteArray bigEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray pngChunk(const QByteArray &type, const QByteArray &data)
{
    const QByteArray typed = type + data;
    return bigEndian32(quint32(data.size())) + typed +
           bigEndian32(
               quint32(crc32(0, reinterpret_cast<const Bytef *>(typed.constData()), uInt(typed.size()))));
}

QByteArray pngHeader(const QSize &size, char colourType)
{
    const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
    QByteArray ihdr = bigEndian32(quint32(size.width())) + bigEndian32(quint32(size.height()));
    ihdr += QByteArray("\x08", 1) + QByteArray(1, colourType) + QByteArray(3, '\0');
    return signature + pngChunk("IHDR", ihdr);
}

// Offset of the first marker 0xFF 0xXX (XX = marker) of a JPEG, or -1.
int jpegMarker(const QByteArray &bytes, char marker)
{
    return bytes.indexOf(QByteArray("\xff", 1) + marker);
}

QByteArray withPatchedSize(QByteArray bytes, int width, int height)
{
    // The start-of-frame segment holds precision (1 byte), then height and width (2 bytes each).
    const int sof = jpegMarker(bytes, '\xc0');
    qToBigEndian(quint16(height), bytes.data() + sof + 5);
    qToBigEndian(quint16(width), bytes.data() + sof + 7);
    return bytes;
}

QByteArray withExtraneousBytes(QByteArray bytes)
{
    // Bytes between two segments: libjpeg warns "extraneous bytes before marker" and decodes on.
    const int afterApp0 = 4 + qFromBigEndian<quint16>(bytes.constData() + 4);
    return bytes.insert(afterApp0, QByteArray("\x12\x34\x56", 3));
}

QByteArray withBadPixelCrc(QByteArray bytes)
{
    const int idat = bytes.indexOf("IDAT");
    bytes[idat + 8] = char(bytes.at(idat + 8) ^ 0x5a);
    return bytes;
}

// One 1 x 1 frame on a logical screen of canvas: viewers that paint the screen must allocate all of it.
QByteArray gifWithCanvas(const QSize &canvas)
{
    QByteArray bytes("GIF89a");
    bytes += char(canvas.width() & 0xff) + QByteArray(1, char(canvas.width() >> 8));
    bytes += char(canvas.height() & 0xff) + QByteArray(1, char(canvas.height() >> 8));
    bytes += QByteArray("\x80\x00\x00", 3);             // two-colour global table, background 0
    bytes += QByteArray("\x00\x00\x00\xff\xff\xff", 6); // black, white
    bytes += QByteArray("\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00", 10);
    // LZW, minimum code size 2: clear (4), index 0, end (5) in 3-bit codes, packed from the low bit.
    bytes += QByteArray("\x02\x02\x44\x01\x00\x3b", 6);
    return bytes;
}

QByteArray magickBytes(std::list<Magick::Image> &frames)
{
    Magick::Blob blob;
    frames.front().adjoin(true);
    Magick::writeImages(frames.begin(), frames.end(), &blob, true);
    return QByteArray(static_cast<const char *>(blob.data()), int(blob.length()));
}

QByteArray cmykJpeg()
{
    Magick::Image image(Magick::Geometry(64, 48), Magick::Color("orange"));
    image.magick("JPEG");
    image.type(Magick::ColorSeparationType);
    std::list<Magick::Image> frames{image};
    return magickBytes(frames);
}

QByteArray multiPageTiff()
{
    std::list<Magick::Image> frames;
    for (const char *colour : {"red", "green", "blue"}) {
        Magick::Image page(Magick::Geometry(64, 48), Magick::Color(colour));
        page.magick("TIFF");
        frames.push_back(page);
    }
    return magickBytes(frames);
}

QByteArray deepPngWithAlpha()
{
    QImage image = TestImages::photo(smallSize).convertToFormat(QImage::Format_RGBA64);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            QColor colour = image.pixelColor(x, y);
            colour.setAlphaF(double(x) / image.width());
            image.setPixelColor(x, y, colour);
        }
    }
    return encoded(image, "PNG");
}

bool writeEntry(const QString &folder, const Entry &entry, const QByteArray &bytes)
{
    return save(folder + '/' + entry.name, bytes);
}
} // namespace

QVector<Entry> make(const QString &folder)
{
    const QByteArray goodJpeg = jpeg();
    const QByteArray goodPng = png();
    const QByteArray text("These are the minutes of the meeting, not a picture.\n");
    const QByteArray svg("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"48\">"
                         "<image href=\"file:///etc/passwd\" width=\"64\" height=\"48\"/></svg>\n");
    const QByteArray mvg("push graphic-context\nviewbox 0 0 64 48\n"
                         "image over 0,0 0,0 'file:///etc/passwd'\npop graphic-context\n");
    const struct
    {
        Entry entry;
        QByteArray bytes;
    } files[] = {
        {{"good.jpg", Expect::Queued}, goodJpeg},
        {{"good.png", Expect::Queued}, goodPng},
        {{"empty.jpg", Expect::Refused}, {}},
        {{"empty.png", Expect::Refused}, {}},
        {{"text.jpg", Expect::Refused}, text},
        {{"text.png", Expect::Refused}, text},
        {{"jpeg-named.png", Expect::Either}, goodJpeg},
        {{"cut-before-scan.jpg", Expect::Refused}, goodJpeg.left(jpegMarker(goodJpeg, '\xda'))},
        {{"cut-mid-scan.jpg", Expect::Either}, goodJpeg.left(goodJpeg.size() / 2)},
        {{"cut-after-header.png", Expect::Refused}, goodPng.left(33)},
        {{"cut-half.png", Expect::Either}, goodPng.left(goodPng.size() / 2)},
        {{"bad-crc.png", Expect::Either}, withBadPixelCrc(goodPng)},
        {{"claims-huge.png", Expect::Refused},
         pngHeader(QSize(60000, 60000), '\x02') + pngChunk("IDAT", qCompress(QByteArray(64, '\0')).mid(4)) +
             pngChunk("IEND", {})},
        {{"claims-huge.jpg", Expect::Refused}, withPatchedSize(goodJpeg, 60000, 60000)},
        {{"huge-canvas.gif", Expect::Either}, gifWithCanvas(QSize(30000, 30000))},
        {{"cmyk.jpg", Expect::Queued}, cmykJpeg()},
        {{"deep-alpha.png", Expect::Queued}, deepPngWithAlpha()},
        {{"pages.tif", Expect::Queued}, multiPageTiff()},
        {{"extraneous.jpg", Expect::Queued}, withExtraneousBytes(goodJpeg)},
        {{"vector.jpg", Expect::Either}, svg},
        {{"vector.png", Expect::Either}, svg},
        {{"script.jpg", Expect::Refused}, mvg},
        {{"script.png", Expect::Refused}, mvg},
    };
    QVector<Entry> entries;
    for (const auto &file : files) {
        if (writeEntry(folder, file.entry, file.bytes))
            entries.append(file.entry);
    }
    if (!TestImages::writeAnimatedGif(folder + "/frames.gif", QSize(16, 12), 300).isEmpty())
        entries.append({"frames.gif", Expect::Queued});
    if (QDir(folder).mkdir("folder.jpg"))
        entries.append({"folder.jpg", Expect::Refused});
    if (mkfifo(QFile::encodeName(folder + "/pipe.png").constData(), 0600) == 0)
        entries.append({"pipe.png", Expect::Refused});
    if (QFile::link(folder + "/nowhere.jpg", folder + "/dangling.jpg"))
        entries.append({"dangling.jpg", Expect::Refused});
    if (QFile::link(folder + "/good.jpg", folder + "/link.jpg"))
        entries.append({"link.jpg", Expect::Queued});
    return entries;
}

QVector<Entry> makeNames(const QString &folder)
{
    const QByteArray goodJpeg = jpeg();
    const QByteArray goodPng = png();
    const QStringList names = {"with space.jpg", "quote'and\".jpg", "-leading.jpg",  "frame[0].jpg",
                               "scene%d.png",    "hex%x.jpg",       "retina@2x.png", "png:prefixed.png",
                               "trailing.jpg.",  "Ünïcødé 写真.png"};
    QVector<Entry> entries;
    for (const QString &name : names) {
        const Entry entry{name, Expect::Queued};
        if (writeEntry(folder, entry, name.contains(".png") ? goodPng : goodJpeg))
            entries.append(entry);
    }
    return entries;
}

bool writeFlatPng(const QString &path, const QSize &size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(pngHeader(size, '\0')) < 0)
        return false;
    z_stream stream{};
    deflateInit(&stream, Z_BEST_SPEED);
    // Each scan line is a filter byte (0, none) followed by one grey byte per pixel.
    QByteArray line(size.width() + 1, '\0');
    line.fill('\x80', size.width() + 1);
    line[0] = '\0';
    QByteArray out(1 << 16, '\0');
    bool written = true;
    for (int y = 0; y <= size.height() && written; ++y) {
        const bool last = y == size.height();
        stream.next_in = reinterpret_cast<Bytef *>(last ? nullptr : line.data());
        stream.avail_in = last ? 0 : uInt(line.size());
        do {
            stream.next_out = reinterpret_cast<Bytef *>(out.data());
            stream.avail_out = uInt(out.size());
            deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
            const int produced = out.size() - int(stream.avail_out);
            if (produced > 0)
                written = file.write(pngChunk("IDAT", out.left(produced))) > 0;
        } while (stream.avail_out == 0 && written);
    }
    deflateEnd(&stream);
    return written && file.write(pngChunk("IEND", {})) > 0;
}

QByteArray checksum(const QString &path)
{
    QFile file(path);
    // Opening a FIFO would wait for a writer.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(&file);
    return hash.result();
}

} // namespace HostileCorpus
