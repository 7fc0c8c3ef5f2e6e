#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class BenchReport;

// The queue's side of the program: opening files into CImagesModel, runs of thousands, the size estimate.
namespace BenchQueue {

// Opening photos the old way, two full decodes each, against the model's way.
void compareOpening(BenchReport &report, const QStringList &photos);

// Queues and resizes the first count images for each of counts, the rows marked as the program marks them.
void runBatches(BenchReport &report, const QStringList &images, const QVector<int> &counts,
                const QString &work);

// The estimate the program shows while settings change, over every one of images queued.
void timeEstimate(BenchReport &report, const QStringList &images);

} // namespace BenchQueue
