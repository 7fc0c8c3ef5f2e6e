#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QVector>

namespace TestImages {

// Photo-like content (gradients and noise, not flat colour), the same for the same size and seed.
QImage photo(const QSize &size, int seed = 0);

// Writes photo(size, seed) to path in the given Qt format ("JPEG", "PNG", "BMP", "TIFF"; by default the
// suffix decides) and returns the path, or an empty string when it could not be written.
QString write(const QString &path, const QSize &size, const char *format = nullptr, int seed = 0);

// Files that Qt cannot write, made by the image library from the pictures given.
enum class Library
{
    AnimatedGif,   // every picture a frame
    BigEndianTiff, // "MM", as Mac and some scanner software write them
    CmykJpeg,
    GreyAlphaPng,
};
QByteArray encodeWithLibrary(const QVector<QImage> &pictures, Library kind);
QString writeWithLibrary(const QString &path, const QVector<QImage> &pictures, Library kind);
// An animated GIF of photo(size, frame) frames.
QString writeAnimatedGif(const QString &path, const QSize &size, int frameCount);

QByteArray fileBytes(const QString &path);
// The pixel size of the first frame of a file as the image library reads it, empty when it cannot. The
// library is given bytes, never a file name: it reads meaning into some names.
QSize pixelSize(const QString &path);

// Mean absolute difference of two pictures over premultiplied red, green, blue and alpha, in levels of 0 to
// 255; pictures of different sizes differ by 255.
double meanDifference(const QImage &a, const QImage &b);

} // namespace TestImages
