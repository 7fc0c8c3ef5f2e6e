#pragma once

#include <QString>
#include <QStringList>

// The images the benchmark works on, made once and kept in a cache folder.
namespace BenchCorpus {

// Returns the files of the corpus in folder, writing those that are missing. The quick corpus is a few
// smaller images, so that a run shows its table in seconds.
QStringList ensure(const QString &folder, bool quick);

} // namespace BenchCorpus
