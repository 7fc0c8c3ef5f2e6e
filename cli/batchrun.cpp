#include "batchrun.h"

#include "signalcatcher.h"
#include "sourcelist.h"

#include <QDir>
#include <QFileInfo>
#include <QThreadPool>

#include <cstdio>
#include <stdexcept>

namespace {

void printTo(FILE *stream, const QString &text)
{
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stream);
}

void printError(const QString &text)
{
    printTo(stderr, QStringLiteral("brindle: ") + text);
}

QString nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// The engine's fixed words when it cannot make an output folder; its other refusals name their files.
const QString folderFailure = QStringLiteral("Don't can create output foledr for all images");

} // namespace

BatchRun::BatchRun(const CliOptions &options, QObject *parent)
    : QObject(parent)
    , options(options)
    , progress(options.quiet)
{
    connect(&resizer, &CImagesResizer::progressValueChanged, this, [this](int value) {
        done = value;
        showProgress();
    });
    connect(&resizer, &CImagesResizer::speedChanged, this, [this](int value) { speed = value; });
    connect(&resizer, &CImagesResizer::remainingTimeChanged, this, [this](uint value) { remaining = value; });
    connect(&resizer, &CImagesResizer::resizeElapsed, this, [this](uint value) {
        elapsed = value;
        showProgress();
    });
    connect(&resizer, &CImagesResizer::imageResized, this, [this](const QString &, const QString &newPath) {
        // An image abandoned by a cancel reports no output.
        if (!newPath.isEmpty())
            ++written;
    });
    connect(&resizer, &CImagesResizer::resizeFinished, this, &BatchRun::onFinished);
}

int BatchRun::exec()
{
    QThreadPool::globalInstance()->setMaxThreadCount(options.jobs);
    const SourceList sources(options.paths, options.recursive);
    reportLeftOut(sources);
    configure();
    if (options.dryRun)
        return dryRun(sources.images());
    if (sources.images().isEmpty()) {
        printError(QStringLiteral("no image to resize."));
        return SomeMissing;
    }
    return run(sources.images());
}

// The same settings as the program's resize screen for the same choices.
void BatchRun::configure()
{
    resizer.setSize(options.size);
    resizer.setResizeParameters(options.parameters);
    resizer.setSameFolderForNewImages(options.output != CliOptions::Output::Folder);
    resizer.setPrefixForResizedImages(options.prefix);
    resizer.setOutputFolder(options.folder);
    resizer.setJpegQuality(options.quality);
    resizer.setStripDetails(options.stripDetails);
    resizer.setNeverEnlarge(options.neverEnlarge);
}

void BatchRun::reportLeftOut(const SourceList &sources)
{
    for (const CImageInfo &info : sources.leftOut())
        printError(QStringLiteral("left out %1: %2").arg(nativePath(info.fullPath()), info.nullReason()));
    leftOut = sources.leftOut().size();
}

int BatchRun::dryRun(const QVector<CImageInfo> &images) const
{
    try {
        resizer.checkRun(images);
    } catch (const std::runtime_error &error) {
        printError(QStringLiteral("refused: ") + QString::fromLocal8Bit(error.what()));
        return Refused;
    }
    for (const CImageInfo &image : images)
        printTo(stdout,
                QStringLiteral("%1 -> %2").arg(nativePath(image.fullPath()), nativePath(outputPath(image))));
    const CEvaluatingResult estimate = resizer.evaluationResize(images);
    printTo(stdout, QStringLiteral("%1 images, %2 MB now, about %3 MB resized")
                        .arg(images.size())
                        .arg(estimate.currentSize(), 0, 'f', 2)
                        .arg(estimate.evalutionSize(), 0, 'f', 2));
    return leftOut == 0 ? AllResized : SomeMissing;
}

int BatchRun::run(const QVector<CImageInfo> &images)
{
    total = images.size();
    const SignalCatcher catcher;
    connect(&catcher, &SignalCatcher::caught, this, &BatchRun::onInterrupted);
    try {
        resizer.resizeImages(images);
    } catch (const std::runtime_error &error) {
        const QString text = QString::fromLocal8Bit(error.what());
        printError(QStringLiteral("refused: ") + (text == folderFailure ? missingFolderText(images) : text));
        return Refused;
    }
    showProgress();
    return loop.exec();
}

QString BatchRun::outputPath(const CImageInfo &image) const
{
    return QDir::cleanPath(resizer.getOutputPath(image));
}

// Which output folder the engine could not make, and why.
QString BatchRun::missingFolderText(const QVector<CImageInfo> &images) const
{
    for (const CImageInfo &image : images) {
        const QFileInfo folder(QFileInfo(outputPath(image)).absolutePath());
        if (folder.isDir())
            continue;
        const QFileInfo parent(folder.absolutePath());
        const QString parentPath = nativePath(parent.filePath());
        QString reason = parentPath + QStringLiteral(" is not writable");
        if (folder.exists())
            reason = QStringLiteral("a file has that name");
        else if (!parent.exists())
            reason = parentPath + QStringLiteral(" does not exist");
        else if (!parent.isDir())
            reason = parentPath + QStringLiteral(" is not a folder");
        return QStringLiteral("cannot make the folder %1: %2")
            .arg(nativePath(folder.absoluteFilePath()), reason);
    }
    return folderFailure;
}

void BatchRun::showProgress()
{
    progress.show(done, total, speed, elapsed, remaining);
}

void BatchRun::onFinished()
{
    if (ended)
        return;
    progress.finish();
    const QString failure = resizer.lastError();
    if (!failure.isEmpty())
        printError(QStringLiteral("failed: ") + failure);
    if (progress.isShown()) {
        QString summary = QStringLiteral("%1 of %2 images resized in %3")
                              .arg(written)
                              .arg(total)
                              .arg(ProgressLine::timeText(elapsed));
        if (leftOut > 0)
            summary += QStringLiteral(", %1 left out").arg(leftOut);
        printTo(stderr, summary + '.');
    }
    end(leftOut == 0 && failure.isEmpty() && written == total ? AllResized : SomeMissing);
}

void BatchRun::onInterrupted()
{
    if (ended)
        return;
    // Waits for the images in flight: each reaches its name whole or not at all.
    resizer.blockingCancel();
    progress.finish();
    say(QStringLiteral("cancelled: %1 of %2 images written.").arg(written).arg(total));
    end(Interrupted);
}

void BatchRun::end(int status)
{
    ended = true;
    loop.exit(status);
}

void BatchRun::say(const QString &text) const
{
    if (!options.quiet)
        printError(text);
}
