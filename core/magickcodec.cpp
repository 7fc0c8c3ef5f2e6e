#include "magickcodec.h"

#include <Magick++.h>
#include <list>

namespace MagickCodec {

namespace {

Magick::Geometry exactGeometry(const QSize &target)
{
    Magick::Geometry geometry(size_t(target.width()), size_t(target.height()), 0, 0, false, false);
    geometry.aspect(true);
    return geometry;
}

Magick::Blob blobOf(const QByteArray &bytes)
{
    return Magick::Blob(bytes.constData(), size_t(bytes.size()));
}

QByteArray bytesOf(const Magick::Blob &blob)
{
    return QByteArray(static_cast<const char *>(blob.data()), int(blob.length()));
}

// libjpeg can decode at 1/2, 1/4 or 1/8 of the size almost for free; the hint asks for the smallest of
// those that still covers the target. Below a factor of 2 no reduced size helps, and the library would
// turn a factor under 1 into an enlarged decode.
void hintJpegSize(Magick::Image &image, const QSize &source, const QSize &target)
{
    if (source.width() < 2 * target.width() || source.height() < 2 * target.height())
        return;
    image.defineValue("jpeg", "size",
                      QByteArray::number(target.width())
                          .append('x')
                          .append(QByteArray::number(target.height()))
                          .toStdString());
}

QByteArray firstFrameResized(const QByteArray &bytes, const QByteArray &format, const QSize &source,
                             const QSize &target)
{
    Magick::Image image;
    image.quiet(true);
    image.magick(format.toStdString());
    // Only the first frame survives, so the others need not be decoded.
    image.subRange(1);
    if (format == "JPEG")
        hintJpegSize(image, source, target);
    image.read(blobOf(bytes));
    image.resize(exactGeometry(target));
    image.magick(format.toStdString());
    Magick::Blob output;
    image.write(&output);
    return bytesOf(output);
}

QByteArray allFramesResized(const QByteArray &bytes, const QByteArray &format, const QSize &target)
{
    Magick::ReadOptions options;
    options.quiet(true);
    MagickCore::CopyMagickString(options.imageInfo()->magick, format.constData(), MaxTextExtent);
    std::list<Magick::Image> frames;
    Magick::readImages(&frames, blobOf(bytes), options);
    const Magick::Geometry geometry = exactGeometry(target);
    for (Magick::Image &frame : frames) {
        // Frames made from a read list do not inherit the read's quietness.
        frame.quiet(true);
        frame.resize(geometry);
    }
    std::list<Magick::Image> coalesced;
    Magick::coalesceImages(&coalesced, frames.begin(), frames.end());
    for (Magick::Image &frame : coalesced) {
        frame.quiet(true);
        frame.magick(format.toStdString());
    }
    Magick::Blob output;
    Magick::writeImages(coalesced.begin(), coalesced.end(), &output, true);
    return bytesOf(output);
}

} // namespace

void initialise()
{
    static const bool initialised = [] {
        Magick::InitializeMagick(nullptr);
        // The pool already runs one image per core; more threads inside one image only compete for them.
        Magick::ResourceLimits::thread(1);
        return true;
    }();
    Q_UNUSED(initialised);
}

QByteArray formatOf(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xD8\xFF"))
        return QByteArrayLiteral("JPEG");
    if (bytes.startsWith("\x89PNG\r\n\x1A\n"))
        return QByteArrayLiteral("PNG");
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return QByteArrayLiteral("GIF");
    if (bytes.startsWith("BM"))
        return QByteArrayLiteral("BMP");
    if (bytes.startsWith(QByteArray("II*\0", 4)) || bytes.startsWith(QByteArray("MM\0*", 4)))
        return QByteArrayLiteral("TIFF");
    return QByteArray();
}

QByteArray resized(const QByteArray &bytes, const QByteArray &format, const QSize &source,
                   const QSize &target, bool allFrames)
{
    return allFrames ? allFramesResized(bytes, format, target)
                     : firstFrameResized(bytes, format, source, target);
}

} // namespace MagickCodec
