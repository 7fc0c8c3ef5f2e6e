#include "benchresizing.h"

#include "BrindleCore.h"
#include "benchprocess.h"
#include "benchreport.h"

#include <Magick++.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImageReader>
#include <QThreadPool>
#include <QtConcurrent>

namespace BenchResizing {

namespace {

const QString childSwitch = QStringLiteral("--engine-child");
const QString engine = QStringLiteral("brindle");
const QString commandLine = QStringLiteral("brindle cli");

// Two images at a time for every tool, whatever the machine, so that the rows compare like with like.
const int parallel = 2;

struct EngineRun
{
    QSize target;
    int libraryThreads = 1;
    int poolThreads = parallel;
};

QString targetName(const QSize &target)
{
    return QStringLiteral("%1x%2").arg(target.width()).arg(target.height());
}

QByteArray statusValue(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').value(0);
    }
    return QByteArray();
}

// The records are the queue's work, not the run's: the peak is reset after they are built.
void resetPeakMemory()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
}

QString freshFolder(const QString &path)
{
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

// Built next to the benchmark, in build/bin.
QString commandLineProgram()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/brindle");
}

QString outputOf(const QString &folder, const QString &source)
{
    return QDir(folder).filePath(QFileInfo(source).fileName());
}

BenchRow runEngine(BenchReport &report, const QStringList &photos, const EngineRun &run,
                   const QString &outFolder)
{
    const QString figures = outFolder + QStringLiteral(".txt");
    QFile::remove(figures);
    QStringList command{QCoreApplication::applicationFilePath(),
                        childSwitch,
                        QString::number(run.target.width()),
                        QString::number(run.target.height()),
                        outFolder,
                        figures,
                        QString::number(run.libraryThreads),
                        QString::number(run.poolThreads)};
    BenchRow row{targetName(run.target), engine};
    row.images = photos.size();
    row.ok = BenchProcess::runOwn(command + photos);
    QFile file(figures);
    file.open(QIODevice::ReadOnly);
    const QList<QByteArray> parts = file.readAll().split(' ');
    row.seconds = parts.value(0).toDouble();
    row.peakMb = parts.value(1).toDouble();
    const QByteArray error = parts.mid(2).join(' ');
    if (!row.ok)
        report.addNote(QStringLiteral("brindle failed: ") + QString::fromUtf8(error));
    return row;
}

// Debian's own binary behind the "convert" link: a wrapper script earlier on the PATH would add its start-up
// to every image.
QString convertProgram()
{
    static const QString program = BenchProcess::available(QStringLiteral("convert-im6.q16"))
                                       ? QStringLiteral("convert-im6.q16")
                                       : QStringLiteral("convert");
    return program;
}

QStringList peerCommand(const QString &tool, const QString &file, const QSize &target, const QString &out)
{
    const QString box = targetName(target);
    if (tool == QLatin1String("convert"))
        return {convertProgram(), file, "-resize", box, out};
    if (tool == QLatin1String("convert+hint"))
        return {convertProgram(), "-define", "jpeg:size=" + box, file, "-resize", box, out};
    if (tool == QLatin1String("vipsthumbnail"))
        return {"vipsthumbnail", file, "-s", box, "-o", out};
    // Decoding alone at the scale that still covers the target: what no resizer can beat.
    return {"djpeg", "-scale", target.width() <= 1000 ? "1/4" : "1/2", "-outfile", "/dev/null", file};
}

BenchRow runPeer(const QString &tool, const QStringList &photos, const QSize &target,
                 const QString &outFolder)
{
    QVector<QStringList> commands;
    for (const QString &file : photos)
        commands << peerCommand(tool, file, target, outputOf(outFolder, file));
    // vipsthumbnail would otherwise spread each image over every core besides running two at a time.
    const BenchMeasure measure =
        BenchProcess::run(commands, parallel, {QStringLiteral("VIPS_CONCURRENCY=1")});
    return BenchRow{targetName(target), tool, measure.seconds, int(commands.size()),
                    measure.peakMb,     -1,   measure.ok};
}

// The command line as a script would start it: one process for the whole corpus, two images at a time.
BenchRow runCommandLine(const QStringList &photos, const QSize &target, const QString &outFolder)
{
    const QStringList command = QStringList{commandLineProgram(),
                                            "--jobs",
                                            QString::number(parallel),
                                            "--width",
                                            QString::number(target.width()),
                                            "--keep-ratio",
                                            "--out",
                                            outFolder,
                                            "--quiet"} +
                                photos;
    const BenchMeasure measure = BenchProcess::run({command}, 1);
    return BenchRow{targetName(target), commandLine, measure.seconds, int(photos.size()),
                    measure.peakMb,     -1,          measure.ok};
}

QString programOf(const QString &tool)
{
    return tool.startsWith(QLatin1String("convert")) ? convertProgram() : tool;
}

double psnrAgainst(const Magick::Image &original, const QString &output)
{
    try {
        Magick::Image resized(output.toStdString());
        Magick::Image reference = original;
        Magick::Geometry geometry(resized.columns(), resized.rows());
        geometry.aspect(true);
        reference.resize(geometry);
        return reference.compare(resized, Magick::PeakSignalToNoiseRatioMetric);
    } catch (const Magick::Exception &e) {
        qWarning("psnr: %s", e.what());
        return 0;
    }
}

// Runs in pool threads: the PSNR of each folder's output of source against the same size resized from the
// full decode, as a plain convert -resize does it.
QVector<double> psnrOfOutputs(const QString &source, const QStringList &outFolders)
{
    QVector<double> values;
    const Magick::Image original(source.toStdString());
    for (const QString &folder : outFolders)
        values << psnrAgainst(original, outputOf(folder, source));
    return values;
}

QVector<double> lowestPsnr(const QStringList &photos, const QStringList &outFolders)
{
    const std::function<QVector<double>(const QString &)> measure = [&](const QString &source) {
        return psnrOfOutputs(source, outFolders);
    };
    const QList<QVector<double>> perSource =
        QtConcurrent::blockingMapped<QList<QVector<double>>>(photos, measure);
    QVector<double> lowest(outFolders.size(), qInf());
    for (const QVector<double> &values : perSource) {
        for (int i = 0; i < values.size(); ++i)
            lowest[i] = qMin(lowest[i], values[i]);
    }
    return lowest;
}

int offSizeOutputs(const QStringList &photos, const QString &outFolder, const QSize &target)
{
    int count = 0;
    for (const QString &source : photos) {
        const QSize expected = QImageReader(source).size().scaled(target, Qt::KeepAspectRatio);
        const QSize written = QImageReader(outputOf(outFolder, source)).size();
        const bool near =
            qAbs(written.width() - expected.width()) <= 1 && qAbs(written.height() - expected.height()) <= 1;
        count += near ? 0 : 1;
    }
    return count;
}

double secondsRatio(const BenchReport &report, const QString &caseName, const QString &ours,
                    const QString &peer)
{
    const BenchRow theirs = report.row(caseName, peer);
    const BenchRow mine = report.row(caseName, ours);
    return theirs.images > 0 && mine.images > 0 ? mine.seconds / theirs.seconds : -1;
}

void addRatioGoal(BenchReport &report, const QString &caseName, const QString &peer, double limit,
                  const QString &ours = engine)
{
    const double ratio = secondsRatio(report, caseName, ours, peer);
    if (ratio >= 0)
        report.addGoal(QStringLiteral("%1 %2/%3 seconds").arg(caseName, ours, peer), ratio, limit, true);
}

void addGoals(BenchReport &report)
{
    addRatioGoal(report, QStringLiteral("800x600"), QStringLiteral("vipsthumbnail"), 0.7);
    addRatioGoal(report, QStringLiteral("800x600"), QStringLiteral("djpeg"), 2);
    addRatioGoal(report, QStringLiteral("1920x1440"), QStringLiteral("vipsthumbnail"), 1);
    addRatioGoal(report, QStringLiteral("800x600"), QStringLiteral("vipsthumbnail"), 0.6, commandLine);
    addRatioGoal(report, QStringLiteral("1920x1440"), QStringLiteral("vipsthumbnail"), 0.9, commandLine);
    report.addGoal(QStringLiteral("800x600 brindle peak MB"),
                   report.row(QStringLiteral("800x600"), engine).peakMb, 120, true);
}

QStringList installedPeers(BenchReport &report)
{
    const QStringList candidates{"convert", "convert+hint", "vipsthumbnail", "djpeg"};
    QStringList installed;
    for (const QString &peer : candidates) {
        if (BenchProcess::available(programOf(peer)))
            installed << peer;
        else
            report.addNote(QStringLiteral("skipped %1: %2 is not installed").arg(peer, programOf(peer)));
    }
    return installed;
}

void compareAt(BenchReport &report, const QStringList &photos, const QSize &target, const QStringList &peers,
               const QString &work)
{
    const QString name = targetName(target);
    const QString engineFolder = freshFolder(work + QStringLiteral("/brindle-") + name);
    QVector<BenchRow> rows{runEngine(report, photos, EngineRun{target}, engineFolder)};
    // The folders that hold images, and the row of each: the decode floor writes none.
    QStringList outFolders{engineFolder};
    QVector<int> rowOfFolder{0};
    if (BenchProcess::available(commandLineProgram())) {
        outFolders << freshFolder(work + QStringLiteral("/brindle-cli-") + name);
        rows << runCommandLine(photos, target, outFolders.last());
        rowOfFolder << rows.size() - 1;
    } else {
        report.addNote(QStringLiteral("skipped the command line: build the brindle target"));
    }
    for (const QString &peer : peers) {
        const QString folder = freshFolder(work + QLatin1Char('/') + peer + QLatin1Char('-') + name);
        rows << runPeer(peer, photos, target, folder);
        if (peer != QLatin1String("djpeg")) {
            outFolders << folder;
            rowOfFolder << rows.size() - 1;
        }
    }
    const QVector<double> psnr = lowestPsnr(photos, outFolders);
    for (int i = 0; i < psnr.size(); ++i)
        rows[rowOfFolder[i]].psnr = psnr[i];
    for (const BenchRow &row : qAsConst(rows))
        report.add(row);
    report.addGoal(name + QStringLiteral(" lowest brindle PSNR dB"), psnr.value(0), 38, false);
    report.addGoal(name + QStringLiteral(" brindle outputs more than 1 px off"),
                   offSizeOutputs(photos, engineFolder, target), 0, true);
}

} // namespace

bool isChild(int argc, char *argv[])
{
    return argc > 1 && childSwitch == QLatin1String(argv[1]);
}

// Arguments after the switch: width, height, output folder, report file, library threads, pool threads,
// then the photos. The report holds seconds, peak MB and the engine's error.
int runChild(const QStringList &arguments)
{
    const QStringList values = arguments.mid(2);
    QVector<CImageInfo> images;
    for (const QString &path : values.mid(6))
        images << CImageInfo(path);
    CImagesResizer resizer;
    Magick::ResourceLimits::thread(size_t(values[4].toInt()));
    QThreadPool::globalInstance()->setMaxThreadCount(values[5].toInt());
    resizer.setSize(QSize(values[0].toInt(), values[1].toInt()));
    resizer.setResizeParameters(CImagesResizer::UseWidth | CImagesResizer::KeepAspectRatio);
    resizer.setOutputFolder(values[2]);
    resetPeakMemory();
    QEventLoop loop;
    QObject::connect(&resizer, &CImagesResizer::resizeFinished, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    QString error;
    try {
        resizer.resizeImages(images);
        loop.exec();
        error = resizer.lastError();
    } catch (const std::runtime_error &refused) {
        error = QString::fromUtf8(refused.what());
    }
    const double seconds = clock.nsecsElapsed() / 1e9;
    QFile out(values[3]);
    out.open(QIODevice::WriteOnly);
    // VmHWM is in kilobytes.
    out.write(QByteArray::number(seconds) + ' ' +
              QByteArray::number(statusValue("VmHWM:").toDouble() / 1024) + ' ' + error.toUtf8());
    return error.isEmpty() ? 0 : 1;
}

void compareTools(BenchReport &report, const QStringList &photos, const QString &work)
{
    const QStringList peers = installedPeers(report);
    for (const QSize &target : {QSize(800, 600), QSize(1920, 1440)})
        compareAt(report, photos, target, peers, work);
    addGoals(report);
}

void timeCommandLineStart(BenchReport &report)
{
    if (!BenchProcess::available(commandLineProgram()))
        return;
    const int starts = 20;
    const QVector<QStringList> commands(starts,
                                        QStringList{commandLineProgram(), QStringLiteral("--version")});
    const BenchMeasure measure = BenchProcess::run(commands, 1);
    report.addGoal(QStringLiteral("brindle --version start-up ms"), measure.seconds * 1000 / starts, 60,
                   true);
}

void compareFormats(BenchReport &report, const QStringList &files, const QString &work)
{
    const QString peer = QStringLiteral("convert");
    if (!BenchProcess::available(programOf(peer))) {
        report.addNote(QStringLiteral("skipped png+gif: %1 is not installed").arg(programOf(peer)));
        return;
    }
    const QSize target(800, 600);
    const QString caseName = QStringLiteral("png+gif ") + targetName(target);
    BenchRow ours =
        runEngine(report, files, EngineRun{target}, freshFolder(work + QStringLiteral("/brindle-png+gif")));
    BenchRow theirs = runPeer(peer, files, target, freshFolder(work + QStringLiteral("/convert-png+gif")));
    ours.caseName = theirs.caseName = caseName;
    report.add(ours);
    report.add(theirs);
    addRatioGoal(report, caseName, peer, 1);
}

void compareLibraryThreads(BenchReport &report, const QStringList &photos, const QString &work)
{
    const QString caseName = QStringLiteral("library threads");
    const QSize target(800, 600);
    const QString folder = work + QStringLiteral("/threads");
    for (const EngineRun &run : {EngineRun{target, 1, 2}, EngineRun{target, 2, 2}, EngineRun{target, 2, 1}}) {
        BenchRow row = runEngine(report, photos, run, freshFolder(folder));
        row.caseName = caseName;
        row.tool = QStringLiteral("pool %1 x magick %2").arg(run.poolThreads).arg(run.libraryThreads);
        report.add(row);
    }
}

} // namespace BenchResizing
