#pragma once

#include <QImage>
#include <QString>
#include <QVector>

// Writers for the formats Qt cannot be relied on to write. Each returns false when the file could not be
// written.
namespace PictureFiles {

bool writePng(const QImage &image, const QString &path);
// An icon container whose entries are PNG streams (readable by every ICO reader since Windows Vista).
bool writeIco(const QVector<QImage> &sizes, const QString &path);
// A looping GIF; partly transparent pixels are settled first, as GIF knows only on or off.
bool writeGif(const QVector<QImage> &frames, int delayCentiseconds, const QString &path);

} // namespace PictureFiles
