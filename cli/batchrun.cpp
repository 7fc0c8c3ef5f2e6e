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
        done = doneBefore + value;
        showProgress();
    });
    connect(&resizer, &CImagesResizer::speedChanged, this, [this](int value) { speed = value; });
    connect(&resizer, &CImagesResizer::remainingTimeChanged, this, [this](uint value) { remaining = value; });
    connect(&resizer, &CImagesResizer::resizeElapsed, this, [this](uint value) {
        elapsed = elapsedBefore + value;
        showProgress();
    });
    connect(&resizer, &CImagesResizer::imageResized, this,
            [this](const QString &sourcePath, const QString &newPath) {
                // An image abandoned by a cancel reports no output.
                if (newPath.isEmpty())
                    return;
                ++written;
                writtenSources.insert(sourcePath);
            });
    connect(&resizer, &CImagesResizer::resizeFinished, this, &BatchRun::onFinished);
}

int BatchRun::exec()
{
    QThreadPool::globalInstance()->setMaxThreadCount(options.jobs);
    // A run decodes every image anyway: reading only the headers first halves the work of a batch. A dry run
    // decodes them, for its estimate and to name the damaged files.
    decoded = options.dryRun;
    const SourceList sources(options.paths, options.recursive,
                             decoded ? CImageInfo::Reading::Decoded : CImageInfo::Reading::HeaderOnly);
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
    leftOut += sources.leftOut().size();
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
    pending = images;
    const SignalCatcher catcher;
    connect(&catcher, &SignalCatcher::caught, this, &BatchRun::onInterrupted);
    const QString refusal = startPass();
    if (!refusal.isEmpty()) {
        printError(QStringLiteral("refused: ") + refusal);
        return Refused;
    }
    return loop.exec();
}

// The engine's refusal of the pending images, empty when their run has started.
QString BatchRun::startPass()
{
    try {
        resizer.resizeImages(pending);
    } catch (const std::runtime_error &error) {
        const QString text = QString::fromLocal8Bit(error.what());
        return text == folderFailure ? missingFolderText(pending) : text;
    }
    showProgress();
    return QString();
}

// A file whose header reads but whose pixels do not stops the run it is in. Reads the images not yet
// written as a dry run would, names those that fail there as left out, and keeps the rest pending; false
// when every one of them decodes, so that the failure lies elsewhere.
bool BatchRun::leaveOutUndecodable()
{
    decoded = true;
    QStringList rest;
    for (const CImageInfo &image : qAsConst(pending)) {
        if (!writtenSources.contains(image.fullPath()))
            rest << image.fullPath();
    }
    const SourceList reread(rest, false, CImageInfo::Reading::Decoded);
    if (reread.leftOut().isEmpty())
        return false;
    progress.finish();
    reportLeftOut(reread);
    total -= reread.leftOut().size();
    doneBefore = written;
    elapsedBefore = elapsed;
    pending = reread.images();
    return true;
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
    const QString failure = resizer.lastError();
    if (failure.isEmpty() || decoded || !leaveOutUndecodable()) {
        finish(failure);
        return;
    }
    if (pending.isEmpty())
        finish(QString());
    else if (const QString refusal = startPass(); !refusal.isEmpty())
        finish(refusal);
}

void BatchRun::finish(const QString &failure)
{
    progress.finish();
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
