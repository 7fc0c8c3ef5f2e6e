#pragma once

#include <QByteArray>
#include <QSize>

// The few EXIF facts the engine reads and writes itself: reading them through the image library would mean
// decoding, and the library leaves the stored pixel size as the camera wrote it. Every offset in a block is
// checked, since a file may say anything.
namespace ExifBlock {

// The EXIF orientation (1 to 8) in a JPEG's first EXIF segment; 1 when it has none or it makes no sense.
int orientationOfJpeg(const QByteArray &jpeg);

// The block (as the image library keeps it, with or without its "Exif\0\0" head) made true to an upright
// output of the given pixels: orientation 1 and the stored pixel size. After a turn, the camera's thumbnail
// shows the picture the old way and is left out.
QByteArray matched(const QByteArray &block, const QSize &pixels, bool turned);

} // namespace ExifBlock
