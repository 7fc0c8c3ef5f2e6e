#pragma once

#include <QByteArray>
#include <QSize>
#include <functional>

// Decoding, scaling and encoding in memory, so that file names never reach the image library, which
// would read meaning into "[0]", "%d" or a "png:" prefix.
namespace MagickCodec {

// Safe to call from any thread, any number of times; the first call sets the library up.
void initialise();

// The image library's name of the format the bytes are in ("JPEG", "PNG", "GIF", "BMP", "TIFF"), or an empty
// array for anything else, which is then never decoded.
QByteArray formatOf(const QByteArray &bytes);

// How outputs are written beyond their pixels; the defaults write what the source had.
struct Encoding
{
    // 0 keeps a JPEG source's own quality; only JPEG outputs have one.
    int jpegQuality = 0;
    // Drops EXIF, IPTC, XMP and comments, but not the colour profile, which decides the colours shown.
    bool stripDetails = false;
};

// Runs in pool threads; throws Magick::Error, std::runtime_error when the image takes too long, and
// ImageAbandoned when abandoned() turns true. Scales an image of the upright source pixel size (as its
// orientation tag shows it) to exactly target, upright, and encodes it in format; allFrames keeps every
// frame (coalesced after scaling), otherwise only the first.
QByteArray resized(const QByteArray &bytes, const QByteArray &format, const QSize &source,
                   const QSize &target, bool allFrames, const Encoding &encoding,
                   const std::function<bool()> &abandoned);

} // namespace MagickCodec
