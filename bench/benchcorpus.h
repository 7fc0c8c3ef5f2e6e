#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

// The images the benchmark works on, made once and kept in a cache folder.
namespace BenchCorpus {

// Returns count photo-like JPEGs of size in folder, writing those that are missing; an empty list when one
// could not be written.
QStringList photos(const QString &folder, int count, const QSize &size);

// The same without grain.
QStringList smoothPhotos(const QString &folder, int count, const QSize &size);

// The same for stills photo-like PNGs of stillSize and animations 12-frame GIFs of 640x480.
QStringList stillsAndAnimations(const QString &folder, int stills, const QSize &stillSize, int animations);

// The same for count small JPEGs: the batches of thousands.
QStringList smallImages(const QString &folder, int count);

} // namespace BenchCorpus
