#include "picturefiles.h"

#include <Magick++.h>

#include <QBuffer>
#include <QFile>
#include <QSaveFile>
#include <QtEndian>

namespace PictureFiles {
namespace {

QByteArray pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

void appendLittleEndian16(QByteArray &out, quint16 value)
{
    out.append(char(value & 0xff));
    out.append(char(value >> 8));
}

void appendLittleEndian32(QByteArray &out, quint32 value)
{
    appendLittleEndian16(out, quint16(value & 0xffff));
    appendLittleEndian16(out, quint16(value >> 16));
}

// Pixels under half opacity vanish; the others keep their look but become opaque.
QImage settleAlpha(const QImage &frame)
{
    QImage image = frame.convertToFormat(QImage::Format_RGBA8888);
    for (int y = 0; y < image.height(); ++y) {
        uchar *p = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x, p += 4)
            p[3] = p[3] < 128 ? 0 : 255;
    }
    return image;
}

bool saveBytes(const QByteArray &bytes, const QString &path)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

} // namespace

bool writePng(const QImage &image, const QString &path)
{
    return saveBytes(pngBytes(image), path);
}

bool writeIco(const QVector<QImage> &sizes, const QString &path)
{
    QByteArray header;
    appendLittleEndian16(header, 0);
    appendLittleEndian16(header, 1);
    appendLittleEndian16(header, quint16(sizes.size()));
    QByteArray data;
    quint32 offset = quint32(6 + 16 * sizes.size());
    for (const QImage &image : sizes) {
        const QByteArray png = pngBytes(image);
        // A side of 256 does not fit the byte and is written as 0.
        header.append(char(image.width() & 0xff));
        header.append(char(image.height() & 0xff));
        header.append(char(0));
        header.append(char(0));
        appendLittleEndian16(header, 1);
        appendLittleEndian16(header, 32);
        appendLittleEndian32(header, quint32(png.size()));
        appendLittleEndian32(header, offset);
        offset += quint32(png.size());
        data.append(png);
    }
    return saveBytes(header + data, path);
}

bool writeGif(const QVector<QImage> &frames, int delayCentiseconds, const QString &path)
{
    try {
        std::vector<Magick::Image> images;
        for (const QImage &frame : frames) {
            const QImage settled = settleAlpha(frame);
            Magick::Image image(size_t(settled.width()), size_t(settled.height()), "RGBA", Magick::CharPixel,
                                settled.constBits());
            image.animationDelay(size_t(delayCentiseconds));
            image.animationIterations(0);
            image.gifDisposeMethod(2); // restore to background, so transparent corners stay transparent
            image.magick("GIF");
            images.push_back(image);
        }
        Magick::writeImages(images.begin(), images.end(), path.toStdString());
        return true;
    } catch (const Magick::Exception &) {
        return false;
    }
}

} // namespace PictureFiles
