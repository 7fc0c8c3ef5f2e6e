#include "benchestimate.h"

#include "BrindleCore.h"
#include "benchreport.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>

namespace BenchEstimate {

namespace {

const QVector<QSize> targets{{320, 240}, {800, 600}, {1600, 1200}};
// 0 is the source's own quality.
const QVector<int> qualities{0, 85, 60};

void setUp(CImagesResizer &resizer, const QSize &target, int quality)
{
    resizer.setSize(target);
    resizer.setResizeParameters(CImagesResizer::UseWidth | CImagesResizer::KeepAspectRatio);
    resizer.setJpegQuality(quality);
}

qint64 folderBytes(const QString &folder)
{
    qint64 total = 0;
    for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files))
        total += file.size();
    return total;
}

// The engine's run, summed over what it wrote.
qint64 realBytes(const QVector<CImageInfo> &records, const QSize &target, int quality, const QString &folder)
{
    QDir(folder).removeRecursively();
    CImagesResizer resizer;
    setUp(resizer, target, quality);
    resizer.setOutputFolder(folder);
    QEventLoop loop;
    QObject::connect(&resizer, &CImagesResizer::resizeFinished, &loop, &QEventLoop::quit);
    resizer.resizeImages(records);
    loop.exec();
    return resizer.lastError().isEmpty() ? folderBytes(folder) : -1;
}

} // namespace

void compareWithRuns(BenchReport &report, const QVector<Kind> &kinds, const QString &work)
{
    double worst = 0;
    for (const Kind &kind : kinds) {
        QVector<CImageInfo> records;
        for (const QString &file : kind.files)
            records << CImageInfo(file);
        for (const QSize &target : targets) {
            for (const int quality : qualities) {
                if (quality != 0 && records.first().suffix() != QLatin1String("jpg"))
                    continue;
                CImagesResizer resizer;
                setUp(resizer, target, quality);
                const double estimated = resizer.evaluationResize(records).evalutionSize() * 1048576;
                const qint64 real = realBytes(records, target, quality, work + QStringLiteral("/estimate"));
                const double ratio = estimated / double(real);
                worst = qMax(worst, qAbs(ratio - 1));
                report.addNote(
                    QStringLiteral("estimate %1 %2x%3 q%4: estimated %5 KB, real %6 KB, ratio %7%8")
                        .arg(kind.name)
                        .arg(target.width())
                        .arg(target.height())
                        .arg(quality == 0 ? QStringLiteral("=source") : QString::number(quality))
                        .arg(estimated / 1024, 0, 'f', 0)
                        .arg(double(real) / 1024, 0, 'f', 0)
                        .arg(ratio, 0, 'f', 2)
                        .arg(qAbs(ratio - 1) <= 0.2 ? QString() : QStringLiteral("  OUTSIDE 20 %")));
            }
        }
    }
    report.addGoal(QStringLiteral("estimate, largest miss of a run's real total"), worst, 0.2, true);
}

} // namespace BenchEstimate
