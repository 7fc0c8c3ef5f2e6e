#include "magickcodec.h"

#include "exifblock.h"
#include "imagedeadline.h"
#include "imagelimits.h"
#include "pixelbudget.h"
#include "tiffmessages.h"

#include <Magick++.h>
#include <QByteArrayList>
#include <QScopeGuard>
#include <limits>
#include <list>
#include <unistd.h>

namespace MagickCodec {

namespace {

using MagickCore::MagickSizeType;

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
bool reducesJpeg(const QSize &source, const QSize &target)
{
    return source.width() >= 2 * target.width() && source.height() >= 2 * target.height();
}

void hintJpegSize(Magick::Image &image, const QSize &target)
{
    image.defineValue("jpeg", "size",
                      QByteArray::number(target.width())
                          .append('x')
                          .append(QByteArray::number(target.height()))
                          .toStdString());
}

// Orientations 5 to 8 store the upright picture's columns as rows.
bool storedSideways(int orientation)
{
    return orientation >= int(Magick::LeftTopOrientation);
}

// The image library's own stripping also drops the colour profile, which decides the colours a viewer
// shows; only the details go here: profiles but the colour profile, comments, and the camera's and
// author's TIFF tags.
void dropDetails(Magick::Image &image)
{
    image.modifyImage();
    MagickCore::Image *core = image.image();
    QByteArrayList profiles;
    MagickCore::ResetImageProfileIterator(core);
    while (const char *name = MagickCore::GetNextImageProfile(core)) {
        if (qstricmp(name, "icc") != 0 && qstricmp(name, "icm") != 0)
            profiles.append(name);
    }
    for (const QByteArray &name : profiles)
        MagickCore::DeleteImageProfile(core, name.constData());
    for (const char *property :
         {"comment", "label", "tiff:artist", "tiff:copyright", "tiff:document", "tiff:hostcomputer",
          "tiff:make", "tiff:model", "tiff:software", "tiff:timestamp"})
        MagickCore::DeleteImageProperty(core, property);
    // The PNG writer would otherwise add the file's dates and the text it read. Leaving out compressed text
    // (zTXt) as well would make it leave out the colour profile too.
    MagickCore::SetImageArtifact(core, "png:exclude-chunk", "caNv,eXIf,iTXt,tEXt,date");
}

// Kept details must describe the output, not the camera's pixels.
void matchDetails(Magick::Image &image, bool turned)
{
    const Magick::Blob exif = image.profile("exif");
    if (exif.length() == 0)
        return;
    const QByteArray block =
        ExifBlock::matched(bytesOf(exif), QSize(int(image.columns()), int(image.rows())), turned);
    image.profile("exif", blobOf(block));
}

void finish(Magick::Image &image, const QByteArray &format, const Encoding &encoding, bool turned)
{
    image.quiet(true);
    if (encoding.jpegQuality > 0 && format == "JPEG")
        image.quality(size_t(encoding.jpegQuality));
    if (encoding.stripDetails)
        dropDetails(image);
    else
        matchDetails(image, turned);
    image.magick(format.toStdString());
}

QByteArray firstFrameResized(const QByteArray &bytes, const QByteArray &format, const QSize &source,
                             const QSize &target, const Encoding &encoding, ImageDeadline &deadline)
{
    Magick::Image image;
    image.quiet(true);
    deadline.watch(image.imageInfo());
    image.magick(format.toStdString());
    // Only the first frame survives, so the others need not be decoded.
    image.subRange(1);
    // The decoder reduces the stored pixels, so the hint needs the target as they lie.
    const int jpegOrientation = format == "JPEG" ? ExifBlock::orientationOfJpeg(bytes) : 0;
    const bool reduced = format == "JPEG" && reducesJpeg(source, target);
    if (reduced)
        hintJpegSize(image, storedSideways(jpegOrientation) ? target.transposed() : target);
    image.read(blobOf(bytes));
    deadline.check();
    if (jpegOrientation != 0)
        image.orientation(Magick::OrientationType(jpegOrientation));
    // Scaling first and turning after costs a turn of the small output, not of the source.
    const int orientation = int(image.orientation());
    const QSize stored = storedSideways(orientation) ? target.transposed() : target;
    // The decoder's scaling has already averaged the pixels; for a last step of less than a factor of 2, a
    // narrow filter gives the same picture as the default Lanczos in a fifth less time.
    if (reduced && image.columns() < 2 * size_t(stored.width()) && image.rows() < 2 * size_t(stored.height()))
        image.filterType(Magick::TriangleFilter);
    image.resize(exactGeometry(stored));
    const bool turned = orientation > int(Magick::TopLeftOrientation);
    if (turned) {
        image.autoOrient();
        // Some turns leave the picture at a negative offset on its page, which TIFF cannot store.
        image.page(Magick::Geometry(0, 0, 0, 0));
    }
    finish(image, format, encoding, turned);
    Magick::Blob output;
    image.write(&output);
    return bytesOf(output);
}

// The GIF writer would reduce every scaled frame to a palette on its own, and each reduction clears a
// table of 128 MB first: 300 frames took two minutes. One palette for all frames costs that once.
void quantizeTogether(std::list<Magick::Image> &frames)
{
    Magick::linkImages(frames.begin(), frames.end());
    MagickCore::QuantizeInfo *settings = MagickCore::AcquireQuantizeInfo(nullptr);
    MagickCore::QuantizeImages(settings, frames.front().image());
    MagickCore::DestroyQuantizeInfo(settings);
    Magick::unlinkImages(frames.begin(), frames.end());
}

QByteArray allFramesResized(const QByteArray &bytes, const QByteArray &format, const QSize &target,
                            const Encoding &encoding, ImageDeadline &deadline)
{
    Magick::ReadOptions options;
    options.quiet(true);
    deadline.watch(options.imageInfo());
    MagickCore::CopyMagickString(options.imageInfo()->magick, format.constData(), MaxTextExtent);
    std::list<Magick::Image> frames;
    Magick::readImages(&frames, blobOf(bytes), options);
    deadline.check();
    const Magick::Geometry geometry = exactGeometry(target);
    for (Magick::Image &frame : frames) {
        // Frames made from a read list do not inherit the read's quietness.
        frame.quiet(true);
        frame.resize(geometry);
    }
    std::list<Magick::Image> coalesced;
    Magick::coalesceImages(&coalesced, frames.begin(), frames.end());
    for (Magick::Image &frame : coalesced)
        finish(frame, format, encoding, false);
    if (format == "GIF")
        quantizeTogether(coalesced);
    Magick::Blob output;
    Magick::writeImages(coalesced.begin(), coalesced.end(), &output, true);
    return bytesOf(output);
}

// The image library's memory for one image at once: the decoded pixels, the half-scaled picture between the
// two passes of the resize and the target, 10 bytes a pixel each; PNG and TIFF decoders also hold the whole
// picture in their own layout first (up to 8 bytes a pixel), while libjpeg hands it over row by row. An
// animation counts as its first frame: how many frames it has is known only once it is read.
qint64 cacheBytes(const QByteArray &format, const QSize &source, const QSize &target)
{
    using ImageLimits::pixelsOf;
    QSize decoded = source;
    qint64 decoderBytesPerPixel = 8;
    if (format == "JPEG") {
        decoderBytesPerPixel = 0;
        if (reducesJpeg(source, target)) {
            int factor = 8;
            while (source.width() < factor * target.width() || source.height() < factor * target.height())
                factor /= 2;
            decoded = source / factor;
        }
    }
    const qint64 between = qMax(pixelsOf(QSize(target.width(), decoded.height())),
                                pixelsOf(QSize(decoded.width(), target.height())));
    constexpr qint64 cacheBytesPerPixel = sizeof(MagickCore::PixelPacket) + sizeof(MagickCore::IndexPacket);
    return cacheBytesPerPixel * (pixelsOf(decoded) + between + pixelsOf(target)) +
           decoderBytesPerPixel * pixelsOf(decoded);
}

void lowerLimit(MagickCore::ResourceType resource, MagickSizeType ceiling)
{
    if (MagickCore::GetMagickResourceLimit(resource) > ceiling)
        MagickCore::SetMagickResourceLimit(resource, ceiling);
}

// Ceilings of our own under whatever the system's policy allows (a program can only lower those), so that
// every program using the engine has them. The library's time limit is not among them: it counts from the
// start of the process, not of an image.
void setLimits()
{
    const MagickSizeType memory =
        MagickSizeType(sysconf(_SC_PHYS_PAGES)) * MagickSizeType(sysconf(_SC_PAGESIZE));
    lowerLimit(MagickCore::MemoryResource, memory / 2);
    lowerLimit(MagickCore::MapResource, memory);
    lowerLimit(MagickCore::DiskResource, MagickSizeType(4) << 30);
    lowerLimit(MagickCore::ListLengthResource, 10000);
    // The pool already runs one image per core; more threads inside one image only compete for them.
    lowerLimit(MagickCore::ThreadResource, 1);
}

// A cache that finds the memory limit reached goes to disk, so as long as the images in flight need no more
// than the disk limit together, each of them finds room in one or the other.
PixelBudget &budget()
{
    static PixelBudget shared(
        qint64(qMin<MagickSizeType>(MagickCore::GetMagickResourceLimit(MagickCore::DiskResource),
                                    MagickSizeType(std::numeric_limits<qint64>::max()))));
    return shared;
}

// Read at every image, so that a test or an administrator can set another limit for a run.
qint64 msecsPerImage()
{
    bool valid = false;
    const double seconds = qEnvironmentVariable("BRINDLE_SECONDS_PER_IMAGE").toDouble(&valid);
    return qint64(1000 * (valid && seconds > 0 ? seconds : ImageLimits::secondsPerImage));
}

} // namespace

void initialise()
{
    static const bool initialised = [] {
        Magick::InitializeMagick(nullptr);
        setLimits();
        TiffMessages::takeOver();
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
                   const QSize &target, bool allFrames, const Encoding &encoding,
                   const std::function<bool()> &abandoned)
{
    PixelBudget &shared = budget();
    const qint64 taken = shared.take(cacheBytes(format, source, target), abandoned);
    if (taken < 0)
        throw ImageAbandoned();
    const auto giveBack = qScopeGuard([&shared, taken] { shared.give(taken); });
    ImageDeadline deadline(msecsPerImage(), abandoned);
    const TiffMessages::LibraryAtWork atWork;
    try {
        const QByteArray output = allFrames
                                      ? allFramesResized(bytes, format, target, encoding, deadline)
                                      : firstFrameResized(bytes, format, source, target, encoding, deadline);
        deadline.check();
        return output;
    } catch (const Magick::Exception &) {
        // A call that the deadline stopped fails with a message of its own, which would hide the reason.
        deadline.check();
        throw;
    }
}

} // namespace MagickCodec
