#include "BrindleCore.h"

#include "cresizeerror.h"
#include "cresizeresult.h"
#include "imagedeadline.h"
#include "imagelimits.h"
#include "magickcodec.h"
#include "sizeestimate.h"

#include <Magick++.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <QThread>
#include <QtConcurrent>
#include <functional>
#include <stdexcept>

namespace {

// Both sides of a comparison of paths: absolute, links resolved; a file not yet made is resolved through
// its folder, when that exists.
QString fileKey(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    const QString folder = info.absoluteDir().canonicalPath();
    return folder.isEmpty() ? QDir::cleanPath(info.absoluteFilePath())
                            : folder + QLatin1Char('/') + info.fileName();
}

std::runtime_error runError(const QString &message)
{
    return std::runtime_error(message.toStdString());
}

void addEstimate(CEvaluatingResult &total, const CEvaluatingResult &one)
{
    total += one;
}

QByteArray readSource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CResizeError(path, file.errorString());
    return file.readAll();
}

// A disk that fills up mid-file first shows as a short write with no error set; writing the rest is what
// fails with the system's reason ("No space left on device").
bool writeAll(QFileDevice &file, const QByteArray &bytes)
{
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

void writeOutput(const QString &path, const QByteArray &bytes)
{
    // The bytes reach the output name only by a rename once they are all on disk, so a failure or a kill
    // never leaves a truncated file there nor spoils an earlier good one. Unbuffered, because QSaveFile
    // misses a failure of the buffer's last flush (a full disk) and renames an empty file into place.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || !writeAll(file, bytes) ||
        !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw CResizeError(path, reason);
    }
}

} // namespace

CImagesResizer::CImagesResizer(QObject *parent)
    : QObject(parent)
    , parameters(NoParameters)
    , outputFolder(QLatin1String(""))
    , elapsedMsec(0)
    , averageSpeed(0)
    , averageResizeTime(0)
    , sameFolder(false)
{
    MagickCodec::initialise();
    timer.setInterval(100);
    connect(&timer, &QTimer::timeout, this, &CImagesResizer::onResizeTimerTick);
    connect(&watcher, &QFutureWatcherBase::started, this, &CImagesResizer::onResizeStarted);
    connect(&watcher, &QFutureWatcherBase::finished, this, &CImagesResizer::onResizeFinished);
    connect(&watcher, &QFutureWatcherBase::progressValueChanged, this, &CImagesResizer::progressValueChanged);
    connect(&watcher, &QFutureWatcherBase::resultsReadyAt, this, [this](int beginIndex, int endIndex) {
        for (int index = beginIndex; index < endIndex; ++index)
            onImageResized(index);
    });
}

CImagesResizer::~CImagesResizer()
{
    // The pool's images read this object's settings until they end.
    blockingCancel();
}

void CImagesResizer::setSize(const QSize &size)
{
    m_size = size;
}

const QSize &CImagesResizer::size() const
{
    return m_size;
}

void CImagesResizer::setResizeParameters(ResizeParameters parameters)
{
    this->parameters = parameters;
}

CImagesResizer::ResizeParameters CImagesResizer::resizeParameters() const
{
    return parameters;
}

void CImagesResizer::setSameFolderForNewImages(bool sameFolder)
{
    this->sameFolder = sameFolder;
}

void CImagesResizer::setOutputFolder(const QString &outputFolder)
{
    this->outputFolder = outputFolder;
}

void CImagesResizer::setPrefixForResizedImages(const QString &prefix)
{
    this->prefix = prefix;
}

void CImagesResizer::setJpegQuality(int quality)
{
    m_jpegQuality = quality;
}

int CImagesResizer::jpegQuality() const
{
    return m_jpegQuality;
}

void CImagesResizer::setStripDetails(bool strip)
{
    m_stripDetails = strip;
}

bool CImagesResizer::stripDetails() const
{
    return m_stripDetails;
}

void CImagesResizer::setNeverEnlarge(bool neverEnlarge)
{
    m_neverEnlarge = neverEnlarge;
}

bool CImagesResizer::neverEnlarge() const
{
    return m_neverEnlarge;
}

QSize CImagesResizer::getNewResolution(const QSize &source) const
{
    QSize result = source;
    const double ratio = double(source.width()) / double(source.height());
    if (parameters.testFlag(UseWidth)) {
        result.setWidth(m_size.width());
        if (parameters.testFlag(KeepAspectRatio))
            result.setHeight(int(result.width() / ratio));
    }
    if (parameters.testFlag(UseHeight)) {
        result.setHeight(m_size.height());
        if (parameters.testFlag(KeepAspectRatio))
            result.setWidth(int(result.height() * ratio));
    }
    if (parameters.testFlag(VerticalImagesAutoRecognition) && source.width() <= source.height()) {
        result.setWidth(m_size.height());
        result.setHeight(int(result.width() / ratio));
    }
    if (m_neverEnlarge && result.width() >= source.width() && result.height() >= source.height())
        return source;
    return result;
}

QString CImagesResizer::getOutputFolder(const CImageInfo &image) const
{
    return sameFolder ? image.getImageFolder() + QLatin1Char('/') + outputFolder : outputFolder;
}

QString CImagesResizer::getOutputPath(const CImageInfo &image) const
{
    // The multi-argument arg() fills all places in one pass, so a "%1" inside a piece stays as it is.
    return QStringLiteral("%1/%2%3.%4")
        .arg(getOutputFolder(image), prefix, image.baseName(), image.completeSuffix());
}

// Runs in pool threads; reads the settings without a lock. Never throws: a failure stored in the run's
// future would be raised again by every read of the future on the GUI thread, inside the event loop.
CResizeResult CImagesResizer::resizeImage(const CImageInfo &image) const
{
    QElapsedTimer elapsed;
    elapsed.start();
    try {
        const QString newImagePath = getOutputPath(image);
        writeOutput(newImagePath, resizedBytes(image));
        return CResizeResult(image, newImagePath, uint(elapsed.elapsed()));
    } catch (const ImageAbandoned &) {
        // The run is cancelled already, so this result is dropped unseen.
        return CResizeResult();
    } catch (const CResizeError &error) {
        return CResizeResult::failure(error.text());
    } catch (const std::exception &error) {
        return CResizeResult::failure(
            CResizeError(image.fullPath(), QString::fromLocal8Bit(error.what())).text());
    }
}

// Runs in pool threads; throws CResizeError, ImageAbandoned or the image library's exceptions.
QByteArray CImagesResizer::resizedBytes(const CImageInfo &image) const
{
    const QByteArray source = readSource(image.fullPath());
    const QByteArray format = MagickCodec::formatOf(source);
    if (format.isEmpty())
        throw CResizeError(image.fullPath(), QStringLiteral("not a JPEG, PNG, GIF, BMP or TIFF file"));
    return MagickCodec::resized(source, format, image.resolution(), getNewResolution(image.resolution()),
                                image.suffix() == QLatin1String("gif"),
                                MagickCodec::Encoding{m_jpegQuality, m_stripDetails},
                                [this] { return canceling.loadRelaxed() != 0; });
}

bool CImagesResizer::createFoldersForNewImages(const QVector<CImageInfo> &images) const
{
    const auto made = [](const QString &folder) { return QDir(folder).exists() || QDir().mkdir(folder); };
    if (!sameFolder)
        return made(outputFolder);
    for (const CImageInfo &image : images) {
        if (!made(getOutputFolder(image)))
            return false;
    }
    return true;
}

// A record made elsewhere than by the queue, or a typed size, may ask for more pixels than a decode should
// ever allocate; such a run is refused before anything is touched.
static void checkSizes(const CImageInfo &image, const QSize &target)
{
    const QString path = QDir::toNativeSeparators(image.fullPath());
    if (target.width() <= 0 || target.height() <= 0)
        throw runError(QStringLiteral("The target size %1x%2 of %3 is empty: give both sides a size.")
                           .arg(target.width())
                           .arg(target.height())
                           .arg(path));
    for (const QSize &size : {image.resolution(), target}) {
        if (ImageLimits::tooLarge(size))
            throw runError(QStringLiteral("%1 cannot be resized to %2x%3: %4.")
                               .arg(path)
                               .arg(target.width())
                               .arg(target.height())
                               .arg(ImageLimits::tooLargeText(size)));
    }
}

void CImagesResizer::checkRun(const QVector<CImageInfo> &images) const
{
    QSet<QString> sources;
    for (const CImageInfo &image : images)
        sources.insert(fileKey(image.fullPath()));
    QHash<QString, QString> sourceOfOutput;
    for (const CImageInfo &image : images) {
        checkSizes(image, getNewResolution(image.resolution()));
        const QString output = fileKey(getOutputPath(image));
        if (sources.contains(output))
            throw runError(
                QStringLiteral("The resized copy of %1 would replace the source image %2.")
                    .arg(QDir::toNativeSeparators(image.fullPath()), QDir::toNativeSeparators(output)));
        const QString source = fileKey(image.fullPath());
        const QString other = sourceOfOutput.value(output, source);
        if (other != source)
            throw runError(QStringLiteral("%1 and %2 would both be resized into %3.")
                               .arg(QDir::toNativeSeparators(other), QDir::toNativeSeparators(source),
                                    QDir::toNativeSeparators(output)));
        sourceOfOutput.insert(output, source);
    }
}

void CImagesResizer::resizeImages(const QVector<CImageInfo> &images)
{
    checkRun(images);
    if (!this->images.isSharedWith(images))
        this->images = images;
    if (!createFoldersForNewImages(this->images))
        throw std::runtime_error("Don't can create output foledr for all images");
    m_lastError.clear();
    canceling.storeRelaxed(0);
    const std::function<CResizeResult(const CImageInfo &)> resizeOne = [this](const CImageInfo &image) {
        return resizeImage(image);
    };
    watcher.setFuture(QtConcurrent::mapped(this->images, resizeOne));
}

bool CImagesResizer::isRunning() const
{
    return watcher.isRunning();
}

QString CImagesResizer::lastError() const
{
    return m_lastError;
}

void CImagesResizer::setPause(bool isPause)
{
    if (isPause)
        timer.stop();
    else
        timer.start();
    watcher.setPaused(isPause);
}

void CImagesResizer::cancel()
{
    // Cancelled first, so that an image that gives up on seeing the flag has its result dropped.
    watcher.cancel();
    canceling.storeRelaxed(1);
    timer.stop();
}

void CImagesResizer::blockingCancel()
{
    cancel();
    watcher.waitForFinished();
    m_lastError = runFailure();
}

// The first failed image's reason among the results the run stored, whether or not they were delivered
// before a cancel; empty when none failed.
QString CImagesResizer::runFailure() const
{
    const QFuture<CResizeResult> run = watcher.future();
    for (int index = 0; index < images.size(); ++index) {
        if (run.isResultReadyAt(index) && !run.resultAt(index).error().isEmpty())
            return run.resultAt(index).error();
    }
    return QString();
}

void CImagesResizer::onResizeStarted()
{
    elapsedMsec = 0;
    averageResizeTime = 0;
    averageSpeed = 0;
    timer.start();
    emit resizeStarted();
    emit resizeElapsed(0);
    emit speedChanged(0);
    emit remainingTimeChanged(0);
}

void CImagesResizer::onResizeFinished()
{
    timer.stop();
    m_lastError = runFailure();
    // Told here, not when the watcher reports the cancel: the failure of a run's last image is seen only
    // after the run has ended, and its cancel must still come before the end.
    if (watcher.isCanceled() || !m_lastError.isEmpty())
        emit resizeCanceled();
    emit resizeFinished();
}

void CImagesResizer::onImageResized(int index)
{
    const CResizeResult result = watcher.resultAt(index);
    if (!result.error().isEmpty()) {
        // The first failure ends the run; lastError() finds it among the results when the run has ended.
        cancel();
        return;
    }
    const QString &sourceImagePath = images[index].fullPath();
    averageSpeed = (result.speed() + averageSpeed) >> 1;
    averageResizeTime = (result.resizeTime() + averageResizeTime) >> 1;
    emit imageResized(sourceImagePath, result.newImagePath());
    emit speedChanged(int(averageSpeed >> 10));
    const uint remaining = uint(watcher.progressMaximum() - watcher.progressValue()) * averageResizeTime /
                           uint(QThread::idealThreadCount());
    emit remainingTimeChanged(remaining);
}

void CImagesResizer::onResizeTimerTick()
{
    elapsedMsec += 100;
    emit resizeElapsed(elapsedMsec);
}

CEvaluatingResult CImagesResizer::evaluate(const CImageInfo &image) const
{
    const double size = image.size();
    const QSize source = image.resolution();
    const QSize target = getNewResolution(source);
    const double bytes = SizeEstimate::outputBytes(image, target, m_jpegQuality, m_stripDetails);
    if (bytes >= 0)
        return CEvaluatingResult(size, bytes / 1048576);
    const uint oldPixels = uint(source.width() * source.height());
    const uint newPixels = uint(target.width() * target.height());
    return CEvaluatingResult(size, size * newPixels / oldPixels);
}

// Runs the estimate in pool threads; each reads the settings without a lock while the caller waits.
CEvaluatingResult CImagesResizer::evaluationResize(const QVector<CImageInfo> &images) const
{
    const std::function<CEvaluatingResult(const CImageInfo &)> estimateOne = [this](const CImageInfo &image) {
        return evaluate(image);
    };
    return QtConcurrent::blockingMappedReduced<CEvaluatingResult>(
        images, estimateOne, addEstimate, QtConcurrent::UnorderedReduce | QtConcurrent::SequentialReduce);
}
