#pragma once

#include <QSize>
#include <QString>
#include <QtGlobal>

// Beyond this many pixels an image is refused instead of decoded: a 16-bit decode of it alone would need
// gigabytes, and a header can claim any size for a few bytes of file.
namespace ImageLimits {

constexpr qint64 maxPixels = 250'000'000;

// Long enough for the largest image allowed on a slow machine; a file that takes longer is taken to be
// built to make its decoder spin.
constexpr int secondsPerImage = 300;

inline qint64 pixelsOf(const QSize &size)
{
    return qint64(size.width()) * qint64(size.height());
}

inline bool tooLarge(const QSize &size)
{
    return pixelsOf(size) > maxPixels;
}

inline QString tooLargeText(const QSize &size)
{
    return QStringLiteral("%1x%2 pixels are more than %3 megapixels")
        .arg(size.width())
        .arg(size.height())
        .arg(maxPixels / 1000000);
}

} // namespace ImageLimits
