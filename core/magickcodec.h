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

// Runs in pool threads; throws Magick::Error, std::runtime_error when the image takes too long, and
// ImageAbandoned when abandoned() turns true. Scales an image of the source pixel size to exactly target
// and encodes it in format; allFrames keeps every frame (coalesced after scaling), otherwise only the first.
QByteArray resized(const QByteArray &bytes, const QByteArray &format, const QSize &source,
                   const QSize &target, bool allFrames, const std::function<bool()> &abandoned);

} // namespace MagickCodec
