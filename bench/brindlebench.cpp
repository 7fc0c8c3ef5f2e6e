#include "BrindleCore.h"
#include "benchcorpus.h"
#include "benchprocess.h"

#include <Magick++.h>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QStandardPaths>
#include <QTextStream>
#include <QtConcurrent>
#include <cstdio>

namespace {

struct Row
{
    QString target;
    QString tool;
    BenchMeasure measure;
    int images = 0;
    double psnr = 0;
};

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

// The child that runs our engine: the records are built first (that is the queue's work, not the run's),
// then the peak memory is reset so that VmHWM covers the run alone.
int runChild(const QStringList &arguments)
{
    const QSize target(arguments[0].toInt(), arguments[1].toInt());
    const QString outFolder = arguments[2];
    const QString report = arguments[3];
    const int magickThreads = arguments[4].toInt();
    QVector<CImageInfo> images;
    for (const QString &path : arguments.mid(5))
        images << CImageInfo(path);
    CImagesResizer resizer;
    if (magickThreads > 0)
        Magick::ResourceLimits::thread(size_t(magickThreads));
    resizer.setSize(target);
    resizer.setResizeParameters(CImagesResizer::UseWidth | CImagesResizer::KeepAspectRatio);
    resizer.setOutputFolder(outFolder);
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
    clearRefs.close();
    QEventLoop loop;
    QObject::connect(&resizer, &CImagesResizer::resizeFinished, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    resizer.resizeImages(images);
    loop.exec();
    const double seconds = clock.nsecsElapsed() / 1e9;
    QFile out(report);
    out.open(QIODevice::WriteOnly);
    // VmHWM is in kilobytes.
    out.write(QByteArray::number(seconds) + ' ' +
              QByteArray::number(statusValue("VmHWM:").toDouble() / 1024) + ' ' +
              resizer.lastError().toUtf8());
    return resizer.lastError().isEmpty() ? 0 : 1;
}

// Runs in pool threads; PSNR of one output against the same size made from the fully decoded source.
double psnrOf(const QString &source, const QString &output)
{
    Magick::Image ours(output.toStdString());
    Magick::Image reference(source.toStdString());
    Magick::Geometry geometry(ours.columns(), ours.rows());
    geometry.aspect(true);
    reference.resize(geometry);
    return reference.compare(ours, Magick::PeakSignalToNoiseRatioMetric);
}

double lowestPsnr(const QStringList &files, const QString &outFolder)
{
    QStringList stills;
    for (const QString &file : files) {
        if (!file.endsWith(QLatin1String(".gif")))
            stills << file;
    }
    const QList<double> values = QtConcurrent::blockingMapped<QList<double>>(
        stills, std::function<double(const QString &)>([&](const QString &file) {
            return psnrOf(file, QDir(outFolder).filePath(QFileInfo(file).fileName()));
        }));
    return values.isEmpty() ? 0 : *std::min_element(values.begin(), values.end());
}

QString freshFolder(const QString &path)
{
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

Row runOurs(const QStringList &files, const QSize &target, const QString &work, int magickThreads)
{
    const QString outFolder = freshFolder(work + QStringLiteral("/ours"));
    const QString report = work + QStringLiteral("/ours.txt");
    QStringList command{QCoreApplication::applicationFilePath(),
                        QStringLiteral("--child"),
                        QString::number(target.width()),
                        QString::number(target.height()),
                        outFolder,
                        report,
                        QString::number(magickThreads)};
    command += files;
    Row row{QString(), QStringLiteral("brindle"), BenchProcess::run({command}, 1), int(files.size()), 0};
    QFile file(report);
    file.open(QIODevice::ReadOnly);
    const QList<QByteArray> parts = file.readAll().split(' ');
    row.measure.seconds = parts.value(0).toDouble();
    row.measure.peakMb = parts.value(1).toDouble();
    row.psnr = row.measure.ok ? lowestPsnr(files, outFolder) : 0;
    return row;
}

Row runPeer(const QString &tool, const QStringList &files, const QSize &target, const QString &work)
{
    const QString outFolder = freshFolder(work + QLatin1Char('/') + tool);
    const QString box = QStringLiteral("%1x%2").arg(target.width()).arg(target.height());
    QVector<QStringList> commands;
    QStringList environment;
    for (const QString &file : files) {
        const QString out = QDir(outFolder).filePath(QFileInfo(file).fileName());
        if (tool == QLatin1String("convert"))
            commands << QStringList{"convert", file, "-resize", box, out};
        else if (tool == QLatin1String("convert+hint"))
            commands << QStringList{"convert", "-define", "jpeg:size=" + box, file, "-resize", box, out};
        else if (tool == QLatin1String("vipsthumbnail"))
            commands << QStringList{"vipsthumbnail", file, "-s", box, "-o", out};
        else if (file.endsWith(QLatin1String(".jpg")))
            commands << QStringList{"djpeg",    "-scale",    target.width() <= 1000 ? "1/4" : "1/2",
                                    "-outfile", "/dev/null", file};
    }
    if (tool == QLatin1String("vipsthumbnail"))
        environment << QStringLiteral("VIPS_CONCURRENCY=1");
    return Row{QString(), tool, BenchProcess::run(commands, 2, environment), int(commands.size()), 0};
}

QString programOf(const QString &tool)
{
    return tool.startsWith(QLatin1String("convert")) ? QStringLiteral("convert") : tool;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Magick::InitializeMagick(argv[0]);
    if (app.arguments().value(1) == QLatin1String("--child"))
        return runChild(app.arguments().mid(2));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Resizes a generated corpus with the engine and with the command-line tools people use."));
    parser.addHelpOption();
    const QCommandLineOption quick(QStringLiteral("quick"),
                                   QStringLiteral("A small corpus that runs in seconds."));
    const QCommandLineOption csv(QStringLiteral("csv"), QStringLiteral("Also write the rows to <file>."),
                                 QStringLiteral("file"));
    const QCommandLineOption cache(QStringLiteral("cache"), QStringLiteral("Corpus folder (made once)."),
                                   QStringLiteral("folder"),
                                   QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                                       QStringLiteral("/brindle-bench"));
    const QCommandLineOption threads(
        QStringLiteral("magick-threads"),
        QStringLiteral("Threads the image library may use inside one image (0: the "
                       "engine's choice)."),
        QStringLiteral("n"), QStringLiteral("0"));
    parser.addOptions({quick, csv, cache, threads});
    parser.process(app);

    QTextStream out(stdout);
    const bool isQuick = parser.isSet(quick);
    const QString folder =
        parser.value(cache) + (isQuick ? QStringLiteral("/quick") : QStringLiteral("/full"));
    out << "corpus: " << QDir::toNativeSeparators(folder) << Qt::endl;
    const QStringList files = BenchCorpus::ensure(folder, isQuick);
    const QString work = folder + QStringLiteral("-work");

    const QStringList peers{"convert", "convert+hint", "vipsthumbnail", "djpeg"};
    QVector<Row> rows;
    for (const QSize &target : {QSize(800, 600), QSize(1920, 1440)}) {
        const QString name = QStringLiteral("%1x%2").arg(target.width()).arg(target.height());
        Row ours = runOurs(files, target, work, parser.value(threads).toInt());
        ours.target = name;
        rows << ours;
        for (const QString &peer : peers) {
            if (!BenchProcess::available(programOf(peer))) {
                out << "skipped " << peer << ": " << programOf(peer) << " is not installed" << Qt::endl;
                continue;
            }
            Row row = runPeer(peer, files, target, work);
            row.target = name;
            rows << row;
        }
    }

    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
               .arg("tool", -14)
               .arg("target", -10)
               .arg("seconds", 8)
               .arg("images/s", 9)
               .arg("peak MB", 8)
               .arg("PSNR dB", 8)
               .arg("ours/theirs", 12)
        << Qt::endl;
    QFile csvFile(parser.value(csv));
    QTextStream csvOut(&csvFile);
    if (parser.isSet(csv) && csvFile.open(QIODevice::WriteOnly | QIODevice::Text))
        csvOut << "case,tool,seconds,images_per_s,peak_mb,psnr_db\n";
    double oursSeconds = 0;
    for (const Row &row : rows) {
        if (row.tool == QLatin1String("brindle"))
            oursSeconds = row.measure.seconds;
        const double perSecond = row.images / row.measure.seconds;
        const QString ratio = row.tool == QLatin1String("brindle")
                                  ? QStringLiteral("")
                                  : QString::number(oursSeconds / row.measure.seconds, 'f', 2);
        out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
                   .arg(row.tool, -14)
                   .arg(row.target, -10)
                   .arg(row.measure.seconds, 8, 'f', 2)
                   .arg(perSecond, 9, 'f', 1)
                   .arg(row.measure.peakMb, 8, 'f', 0)
                   .arg(row.psnr > 0 ? QString::number(row.psnr, 'f', 1) : QStringLiteral("-"), 8)
                   .arg(ratio, 12)
            << (row.measure.ok ? "" : "  (failures)") << Qt::endl;
        if (csvFile.isOpen())
            csvOut << row.target << ',' << row.tool << ',' << row.measure.seconds << ',' << perSecond << ','
                   << row.measure.peakMb << ',' << row.psnr << '\n';
    }
    return 0;
}
