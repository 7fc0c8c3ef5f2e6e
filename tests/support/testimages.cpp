#include "testimages.h"

#include "photofiles.h"

#include <Magick++.h>
#include <QFile>
#include <QPainter>
#include <QRandomGenerator>
#include <list>

namespace TestImages {

QImage photo(const QSize &size, int seed)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, size.width(), size.height());
    sky.setColorAt(0, QColor::fromHsv((seed * 47) % 360, 120, 230));
    sky.setColorAt(1, QColor::fromHsv((seed * 47 + 140) % 360, 200, 90));
    painter.fillRect(image.rect(), sky);
    QRandomGenerator random(quint32(seed + 1));
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 24; ++i) {
        painter.setBrush(QColor::fromHsv(random.bounded(360), 160, 200, 140));
        const int radius = 1 + random.bounded(qMax(2, size.width() / 4));
        painter.drawEllipse(
            QPoint(random.bounded(qMax(1, size.width())), random.bounded(qMax(1, size.height()))), radius,
            radius);
    }
    painter.end();
    // Fine noise, so that encoders see detail as in a real photo.
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int noise = int(random.bounded(17)) - 8;
            const QRgb pixel = line[x];
            line[x] = qRgb(qBound(0, qRed(pixel) + noise, 255), qBound(0, qGreen(pixel) + noise, 255),
                           qBound(0, qBlue(pixel) + noise, 255));
        }
    }
    return image;
}

QString write(const QString &path, const QSize &size, const char *format, int seed)
{
    return photo(size, seed).save(path, format) ? path : QString();
}

QByteArray encodeWithLibrary(const QVector<QImage> &pictures, Library kind)
{
    static const char *const formats[] = {"GIF", "TIFF", "JPEG", "PNG"};
    std::list<Magick::Image> images;
    for (const QImage &picture : pictures) {
        // Four bytes a pixel: Qt's scan lines are packed as the image library wants them.
        const QImage rgba = picture.convertToFormat(QImage::Format_RGBA8888);
        Magick::Image image(size_t(rgba.width()), size_t(rgba.height()), "RGBA", Magick::CharPixel,
                            rgba.constBits());
        image.matte(kind == Library::GreyAlphaPng);
        image.magick(formats[int(kind)]);
        image.animationDelay(10);
        if (kind == Library::BigEndianTiff)
            image.defineValue("tiff", "endian", "msb");
        if (kind == Library::CmykJpeg)
            image.colorSpace(Magick::CMYKColorspace);
        if (kind == Library::GreyAlphaPng)
            image.type(Magick::GrayscaleMatteType);
        images.push_back(image);
    }
    Magick::Blob blob;
    Magick::writeImages(images.begin(), images.end(), &blob, true);
    return QByteArray(static_cast<const char *>(blob.data()), int(blob.length()));
}

QString writeWithLibrary(const QString &path, const QVector<QImage> &pictures, Library kind)
{
    return PhotoFiles::save(path, encodeWithLibrary(pictures, kind)) ? path : QString();
}

QString writeAnimatedGif(const QString &path, const QSize &size, int frameCount)
{
    QVector<QImage> frames;
    for (int i = 0; i < frameCount; ++i)
        frames << photo(size, i);
    return writeWithLibrary(path, frames, Library::AnimatedGif);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QSize pixelSize(const QString &path)
{
    const QByteArray bytes = fileBytes(path);
    std::list<Magick::Image> frames;
    Magick::readImages(&frames, Magick::Blob(bytes.constData(), size_t(bytes.size())));
    return frames.empty() ? QSize() : QSize(int(frames.front().columns()), int(frames.front().rows()));
}

double meanDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.isNull())
        return 255;
    // Premultiplied, so that the colour under a fully transparent pixel, which nobody sees, does not count.
    const QImage one = a.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    const QImage other = b.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    qint64 difference = 0;
    for (int y = 0; y < one.height(); ++y) {
        const uchar *p = one.constScanLine(y);
        const uchar *q = other.constScanLine(y);
        for (int i = 0; i < 4 * one.width(); ++i)
            difference += qAbs(p[i] - q[i]);
    }
    return double(difference) / (4.0 * one.width() * one.height());
}

} // namespace TestImages
