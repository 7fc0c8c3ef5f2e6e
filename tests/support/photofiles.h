#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

// Photos as cameras and editors leave them: turned pixels with an EXIF orientation, details and colour
// profiles. Everything is made here, byte by byte where no writer would do it.
namespace PhotoFiles {

QByteArray commentSegment(const QByteArray &text);

// A JPEG of the given pixels with the segments inserted right after its start marker.
QByteArray jpeg(const QImage &pixels, const QByteArrayList &segments = QByteArrayList(), int quality = 90);

// The pixels as a camera stores them, with an EXIF block that tells the orientation (1 to 8), their size and
// a thumbnail; more segments may follow it.
QByteArray cameraJpeg(const QImage &pixels, int orientation, const QByteArray &more = QByteArray());

bool save(const QString &path, const QByteArray &bytes);

// Writes TestImages::photo(upright, seed) as a JPEG (orientation in an EXIF segment, with an EXIF
// thumbnail) or a TIFF (orientation in its own tag, by suffix) holding the stored pixels.
QString writeOriented(const QString &path, const QSize &upright, int orientation, int seed = 0);

// What the image library reads from a file, beyond its pixels.
struct Facts
{
    int orientation = 0;  // 0 when the file says nothing
    QStringList profiles; // "icc", "exif", ...
    QString comment;
    QSize exifPixels; // PixelXDimension and PixelYDimension of the EXIF block
    bool exifThumbnail = false;
    QString pixels;  // colour space, bits per sample and alpha, as "sRGB 8 alpha"
    int quality = 0; // the JPEG quality the encoder's tables tell
};
Facts facts(const QString &path);

} // namespace PhotoFiles
