#include "hostile.h"

#include "cimagesmodel.h"
#include "photofiles.h"
#include "testimages.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QSignalSpy>
#include <QtEndian>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace HostileCorpus {

const QByteArray drawingScript("push graphic-context\nviewbox 0 0 64 48\n"
                               "image over 0,0 0,0 'file:///etc/passwd'\npop graphic-context\n");
const QByteArray vectorDrawing("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"48\">"
                               "<image href=\"file:///etc/passwd\" width=\"64\" height=\"48\"/></svg>\n");

namespace {
QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
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
    const auto crc = crc32(0, reinterpret_cast<const Bytef *>(typed.constData()), uInt(typed.size()));
    return bigEndian32(quint32(data.size())) + typed + bigEndian32(quint32(crc));
}

QByteArray pngHeader(const QSize &size, char colourType)
{
    QByteArray ihdr = bigEndian32(quint32(size.width())) + bigEndian32(quint32(size.height()));
    ihdr += QByteArray("\x08", 1) + QByteArray(1, colourType) + QByteArray(3, '\0');
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", ihdr);
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
    for (const int side : {canvas.width(), canvas.height()})
        bytes += char(side & 0xff) + QByteArray(1, char(side >> 8));
    bytes += QByteArray("\x80\x00\x00", 3);             // two-colour global table, background 0
    bytes += QByteArray("\x00\x00\x00\xff\xff\xff", 6); // black, white
    bytes += QByteArray("\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00", 10);
    // LZW, minimum code size 2: clear (4), index 0, end (5) in 3-bit codes, packed from the low bit.
    return bytes + QByteArray("\x02\x02\x44\x01\x00\x3b", 6);
}

// Flat pages of the image library's own making, in colours.
QByteArray libraryPages(const QStringList &colours, TestImages::Library kind)
{
    QVector<QImage> pages;
    for (const QString &colour : colours) {
        pages << QImage(64, 48, QImage::Format_RGB32);
        pages.last().fill(QColor(colour));
    }
    return TestImages::encodeWithLibrary(pages, kind);
}

} // namespace

QVector<Entry> make(const QString &folder)
{
    const QImage photo = TestImages::photo(QSize(64, 48));
    const QByteArray jpeg = encoded(photo, "JPEG");
    const QByteArray png = encoded(photo, "PNG");
    QImage deep(64, 48, QImage::Format_RGBA64);
    deep.fill(QColor(200, 120, 40, 100));
    const QByteArray text("These are the minutes of the meeting, not a picture.\n");
    // Bytes between two segments: libjpeg warns "extraneous bytes before marker" and decodes on.
    const QByteArray extraneous =
        QByteArray(jpeg).insert(4 + qFromBigEndian<quint16>(jpeg.constData() + 4), "\x12\x34\x56");
    const QByteArray hugePng = pngHeader(QSize(60000, 60000), '\x02') +
                               pngChunk("IDAT", qCompress(QByteArray(64, '\0')).mid(4)) +
                               pngChunk("IEND", {});
    const struct
    {
        const char *name; // a * stands for both jpg and png
        Expect expect;
        QByteArray bytes;
    } files[] = {
        {"good.*", Expect::Queued, {}},
        {"empty.*", Expect::Refused, ""},
        {"text.*", Expect::Refused, text},
        {"vector.*", Expect::Either, vectorDrawing},
        {"script.*", Expect::Refused, drawingScript},
        {"jpeg-named.png", Expect::Either, jpeg},
        {"cut-before-scan.jpg", Expect::Refused, jpeg.left(jpegMarker(jpeg, '\xda'))},
        {"cut-mid-scan.jpg", Expect::Either, jpeg.left(jpeg.size() / 2)},
        {"cut-after-header.png", Expect::Refused, png.left(33)},
        {"cut-half.png", Expect::Either, png.left(png.size() / 2)},
        {"bad-crc.png", Expect::Either, withBadPixelCrc(png)},
        {"claims-huge.png", Expect::Refused, hugePng},
        {"claims-huge.jpg", Expect::Refused, withPatchedSize(jpeg, 60000, 60000)},
        {"huge-canvas.gif", Expect::Either, gifWithCanvas(QSize(30000, 30000))},
        {"cmyk.jpg", Expect::Queued, libraryPages({"orange"}, TestImages::Library::CmykJpeg)},
        {"deep-alpha.png", Expect::Queued, encoded(deep, "PNG")},
        {"pages.tif", Expect::Queued,
         libraryPages({"red", "green", "blue"}, TestImages::Library::BigEndianTiff)},
        // The image library and Qt's TIFF reader share libtiff's message handlers: opened in the thread that
        // has just resized a TIFF, a broken one must be left out, not abort the program.
        {"broken.tif", Expect::Refused, QByteArray("II*\0\x08\0\0\0\xff\xff", 10) + QByteArray(64, '\x7f')},
        {"extraneous.jpg", Expect::Queued, extraneous},
    };
    QVector<Entry> entries;
    const auto add = [&entries](const QString &name, Expect expect, bool made) {
        if (made)
            entries.append({name, expect});
    };
    for (const auto &file : files) {
        const QString name = QString::fromUtf8(file.name);
        for (const QString &suffix : name.endsWith('*') ? QStringList{"jpg", "png"} : QStringList{{}}) {
            const QString path = folder + '/' + QString(name).replace('*', suffix);
            // Good pictures are given no bytes: a name's format decides which.
            const QByteArray bytes = !file.bytes.isNull() ? file.bytes : path.contains(".png") ? png : jpeg;
            add(QFileInfo(path).fileName(), file.expect, PhotoFiles::save(path, bytes));
        }
    }
    for (const char *name :
         {"with space.jpg", "quote'and\".jpg", "-leading.jpg", "frame[0].jpg", "scene%d.png", "hex%x.jpg",
          "retina@2x.png", "png:prefixed.png", "trailing.jpg.", "Ünïcødé 写真.png"})
        add(name, Expect::Queued, PhotoFiles::save(folder + '/' + name, strstr(name, ".png") ? png : jpeg));
    add("frames.gif", Expect::Queued,
        !TestImages::writeAnimatedGif(folder + "/frames.gif", QSize(16, 12), 300).isEmpty());
    // Just over the pixel limit, and complete: a decoder that believes it allocates gigabytes.
    add("huge-flat.png", Expect::Either, writeFlatPng(folder + "/huge-flat.png", QSize(15900, 15900)));
    add("slow.png", Expect::Slow, writeFlatPng(folder + "/slow.png", QSize(1600, 1200)));
    add("slow.gif", Expect::Slow,
        !TestImages::writeAnimatedGif(folder + "/slow.gif", QSize(64, 48), 40).isEmpty());
    add("folder.jpg", Expect::Refused, QDir(folder).mkdir("folder.jpg"));
    add("pipe.png", Expect::Refused, mkfifo(QFile::encodeName(folder + "/pipe.png").constData(), 0600) == 0);
    add("dangling.jpg", Expect::Refused, QFile::link(folder + "/nowhere.jpg", folder + "/dangling.jpg"));
    add("link.jpg", Expect::Queued, QFile::link(folder + "/good.jpg", folder + "/link.jpg"));
    return entries;
}

bool writeFlatPng(const QString &path, const QSize &size)
{
    // Each scan line is a filter byte (0, none) followed by one grey byte per pixel.
    QByteArray line(size.width() + 1, '\x80');
    line[0] = '\0';
    QByteArray compressed;
    QByteArray out(1 << 16, '\0');
    z_stream stream{};
    deflateInit(&stream, Z_BEST_SPEED);
    for (int y = 0; y <= size.height(); ++y) {
        stream.next_in = reinterpret_cast<Bytef *>(line.data());
        stream.avail_in = y < size.height() ? uInt(line.size()) : 0;
        do {
            stream.next_out = reinterpret_cast<Bytef *>(out.data());
            stream.avail_out = uInt(out.size());
            deflate(&stream, y < size.height() ? Z_NO_FLUSH : Z_FINISH);
            compressed += out.left(out.size() - int(stream.avail_out));
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    return PhotoFiles::save(path,
                            pngHeader(size, '\0') + pngChunk("IDAT", compressed) + pngChunk("IEND", {}));
}

QByteArray checksum(const QString &path)
{
    // Opening a FIFO would wait for a writer.
    return QFileInfo(path).isFile()
               ? QCryptographicHash::hash(TestImages::fileBytes(path), QCryptographicHash::Sha1)
               : QByteArray();
}

} // namespace HostileCorpus

namespace HostileRun {

namespace {
QString incompleteness(const QString &path, const QSize &size)
{
    const QByteArray bytes = TestImages::fileBytes(path);
    QImageReader reader(path);
    const QByteArray format = reader.format();
    const bool ends = format == "jpeg"  ? bytes.endsWith("\xff\xd9")
                      : format == "png" ? bytes.right(8).startsWith("IEND")
                      : format == "gif" ? bytes.endsWith(';')
                                        : true;
    if (!ends)
        return QString("truncated %1 file").arg(QString(format));
    const QImage image = reader.read();
    if (image.size() != size)
        return QString("decodes to %1x%2").arg(image.width()).arg(image.height());
    return {};
}
} // namespace

QVector<CImageInfo> open(const QStringList &paths, bool *finished)
{
    CImagesModel model;
    QSignalSpy opened(&model, &CImagesModel::imagesIsOpening);
    model.openImages(paths);
    const auto waited = [&opened] {
        const auto done = [&opened] { return !opened.isEmpty() && !opened.constLast().at(0).toBool(); };
        const QDeadlineTimer deadline(10000);
        while (!done() && !deadline.hasExpired())
            opened.wait(int(qMax<qint64>(1, deadline.remainingTime())));
        return done();
    };
    const bool inTime = waited();
    if (!inTime) {
        // A reader blocked in opening a FIFO goes on once a writer has come and gone.
        for (const QString &path : paths)
            ::close(::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK));
        waited();
    }
    if (finished)
        *finished = inTime;
    return model.images();
}

Run resize(const QVector<CImageInfo> &images, const QString &folder, const QString &prefix,
           const std::function<void(CImagesResizer &)> &onFirstImage, const QSize &target)
{
    Run run;
    CImagesResizer resizer;
    resizer.setSize(target);
    resizer.setResizeParameters(CImagesResizer::UseWidth | CImagesResizer::UseHeight);
    resizer.setOutputFolder(folder);
    resizer.setPrefixForResizedImages(prefix);
    QObject::connect(&resizer, &CImagesResizer::imageResized, [&](const QString &, const QString &written) {
        run.written.append(written);
        if (run.written.size() == 1 && onFirstImage)
            onFirstImage(resizer);
    });
    QObject::connect(&resizer, &CImagesResizer::resizeCanceled, [&run] { run.canceled = true; });
    QSignalSpy finished(&resizer, &CImagesResizer::resizeFinished);
    try {
        resizer.resizeImages(images);
    } catch (const std::exception &error) {
        run.finished = run.canceled = true;
        run.error = QString::fromUtf8(error.what());
        return run;
    }
    run.finished = finished.wait(60000);
    resizer.blockingCancel();
    run.error = resizer.lastError();
    return run;
}

QString outputPath(const QString &folder, const QString &prefix, const QString &source)
{
    const QFileInfo info(source);
    return folder + '/' + prefix + info.baseName() + '.' + info.completeSuffix();
}

QString badOutput(const QString &folder, const QStringList &expected, const QSize &size)
{
    const QFileInfoList files =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &file : files) {
        const QString reason =
            expected.contains(file.filePath()) ? incompleteness(file.filePath(), size) : "unexpected file";
        if (!reason.isEmpty())
            return file.fileName() + ": " + reason;
    }
    return {};
}

} // namespace HostileRun
