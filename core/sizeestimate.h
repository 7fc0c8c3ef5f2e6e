#pragma once

#include "BrindleCore.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// The output-size estimate. Encoding a small copy of a picture while it is opened tells how many bits a
// pixel of it costs in the encoder the engine uses; the estimate then only interpolates, decoding nothing.
namespace SizeEstimate {

// Runs in pool threads. decoded is the picture as the queue decoded it (possibly reduced), format Qt's name
// of the file's format ("jpeg", "png", ...), resolution the full pixel size.
CEncodingSample measure(const QString &path, const QByteArray &format, const QImage &decoded,
                        const QSize &resolution, int frameCount);

// Bytes of image's output at target, for a JPEG quality (0: the source's own) and with or without the
// details; negative when the record carries no sample.
double outputBytes(const CImageInfo &image, const QSize &target, int quality, bool stripDetails);

} // namespace SizeEstimate
