#include "benchcorpus.h"
#include "benchestimate.h"
#include "benchqueue.h"
#include "benchreport.h"
#include "benchresizing.h"

#include <Magick++.h>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTextStream>

namespace {

// How much each case works on; the quick plan shows its table in well under a minute.
struct Plan
{
    int photos;
    QSize photoSize;
    int stills;
    QSize stillSize;
    int animations;
    QVector<int> batches;
    int records;
};

const Plan fullPlan{12, QSize(4000, 3000), 8, QSize(3000, 2000), 2, {500, 5000}, 10000};
const Plan quickPlan{4, QSize(2000, 1500), 2, QSize(1500, 1000), 1, {100, 1000}, 2000};

// Two of each kind are enough for the estimate: it is held to every case, not to an average.
QVector<BenchEstimate::Kind> estimateKinds(const QString &folder, const QStringList &photos,
                                           const QStringList &stillsAndAnimations)
{
    const QSize small(1024, 768);
    const QString smallFolder =
        folder + QStringLiteral("/estimate-%1x%2").arg(small.width()).arg(small.height());
    const QStringList pngs = stillsAndAnimations.filter(QStringLiteral(".png"));
    const QStringList gifs = stillsAndAnimations.filter(QStringLiteral(".gif"));
    return {{QStringLiteral("noisy JPEG large"), photos.mid(0, 2)},
            {QStringLiteral("smooth JPEG large"),
             BenchCorpus::smoothPhotos(folder + QStringLiteral("/estimate-smooth"), 2, QSize(3000, 2000))},
            {QStringLiteral("noisy JPEG small"), BenchCorpus::photos(smallFolder, 2, small)},
            {QStringLiteral("smooth JPEG small"), BenchCorpus::smoothPhotos(smallFolder, 2, small)},
            {QStringLiteral("PNG still"), pngs.mid(0, 2)},
            {QStringLiteral("GIF clip"), gifs}};
}

int runChild(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Magick::InitializeMagick(argv[0]);
    return BenchResizing::runChild(app.arguments());
}

} // namespace

int main(int argc, char *argv[])
{
    if (BenchResizing::isChild(argc, argv))
        return runChild(argc, argv);
    // The queue's cases need no screen; a machine without one must run them too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Magick::InitializeMagick(argv[0]);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Resizes a generated corpus with the engine and with the command-line tools people use, and times "
        "the queue: opening, runs of thousands of images and the size estimate."));
    parser.addHelpOption();
    const QCommandLineOption quick(QStringLiteral("quick"),
                                   QStringLiteral("A small corpus that runs in seconds."));
    const QCommandLineOption csv(QStringLiteral("csv"), QStringLiteral("Also write the rows to <file>."),
                                 QStringLiteral("file"));
    const QCommandLineOption cache(QStringLiteral("cache"), QStringLiteral("Corpus folder (made once)."),
                                   QStringLiteral("folder"),
                                   QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                                       QStringLiteral("/brindle-bench"));
    const QCommandLineOption estimateOnly(QStringLiteral("estimate"),
                                          QStringLiteral("Only the size estimate against real runs."));
    parser.addOptions({quick, csv, cache, estimateOnly});
    parser.process(app);

    QTextStream out(stdout);
    const Plan &plan = parser.isSet(quick) ? quickPlan : fullPlan;
    const QString folder = parser.value(cache);
    out << "corpus: " << QDir::toNativeSeparators(folder) << Qt::endl;
    const QStringList photos = BenchCorpus::photos(
        folder + QStringLiteral("/photos-%1x%2").arg(plan.photoSize.width()).arg(plan.photoSize.height()),
        plan.photos, plan.photoSize);
    const QStringList stillsAndAnimations = BenchCorpus::stillsAndAnimations(
        folder + QStringLiteral("/stills-%1x%2").arg(plan.stillSize.width()).arg(plan.stillSize.height()),
        plan.stills, plan.stillSize, plan.animations);
    const QStringList smallImages =
        BenchCorpus::smallImages(folder + QStringLiteral("/small"), qMax(plan.records, plan.batches.last()));
    if (photos.isEmpty() || stillsAndAnimations.isEmpty() || smallImages.isEmpty()) {
        out << "could not write the corpus into " << QDir::toNativeSeparators(folder) << Qt::endl;
        return 1;
    }
    const QString work = folder + QStringLiteral("/work");

    BenchReport report;
    if (parser.isSet(estimateOnly)) {
        BenchEstimate::compareWithRuns(report, estimateKinds(folder, photos, stillsAndAnimations), work);
        report.print(out);
        return 0;
    }
    BenchResizing::compareTools(report, photos, work);
    BenchResizing::timeCommandLineStart(report);
    BenchResizing::compareFormats(report, stillsAndAnimations, work);
    BenchQueue::compareOpening(report, photos);
    BenchQueue::runBatches(report, smallImages, plan.batches, work);
    BenchQueue::timeEstimate(report, smallImages.mid(0, plan.records));
    BenchResizing::compareLibraryThreads(report, photos, work);
    BenchEstimate::compareWithRuns(report, estimateKinds(folder, photos, stillsAndAnimations), work);
    report.print(out);
    if (parser.isSet(csv) && !report.writeCsv(parser.value(csv))) {
        out << "could not write " << QDir::toNativeSeparators(parser.value(csv)) << Qt::endl;
        return 1;
    }
    return 0;
}
