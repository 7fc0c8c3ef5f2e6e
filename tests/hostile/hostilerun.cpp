#include "hostilerun.h"

#include "cimagesmodel.h"

#include <QAbstractItemModelTester>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QSignalSpy>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace HostileRun {

namespace {
// A reader blocked in open() of a FIFO returns once a writer has opened and closed the other end.
void releaseFifoReaders(const QStringList &paths)
{
    for (const QString &path : paths) {
        struct stat status;
        const QByteArray name = QFile::encodeName(path);
        if (lstat(name.constData(), &status) != 0 || !S_ISFIFO(status.st_mode))
            continue;
        const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    }
}

bool waitUntil(QSignalSpy &spy, const std::function<bool()> &done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done() && !deadline.hasExpired())
        spy.wait(int(qMax<qint64>(1, deadline.remainingTime())));
    return done();
}

QString incompleteness(const QString &path, const QSize &size)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    const QByteArray bytes = file.readAll();
    QImageReader reader(path);
    const QByteArray format = reader.format();
    const bool ends = format == "jpeg"  ? bytes.endsWith("\xff\xd9")
                      : format == "png" ? bytes.right(8).startsWith("IEND")
                      : format == "gif" ? bytes.endsWith(';')
                                        : true;
    if (!ends)
        return QString("truncated %1 file").arg(QString(format));
    const QImage image = reader.read();
    if (image.size() != size)
        return QString("decodes to %1x%2 (%3)")
            .arg(image.width())
            .arg(image.height())
            .arg(reader.errorString());
    return {};
}
} // namespace

Opening open(const QStringList &paths, int timeoutMs)
{
    Opening opening;
    CImagesModel model;
    // Warnings only: the thumbnail column answers the display role with a QImage, which the tester takes
    // for a fault.
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    QSignalSpy opened(&model, &CImagesModel::imagesIsOpening);
    model.openImages(paths);
    const auto done = [&opened] { return !opened.isEmpty() && opened.constLast().at(0) == false; };
    opening.finished = waitUntil(opened, done, timeoutMs);
    if (!opening.finished) {
        releaseFifoReaders(paths);
        waitUntil(opened, done, timeoutMs);
    }
    opening.queued = model.images();
    return opening;
}

Run resize(const QVector<CImageInfo> &images, const QString &folder, const QString &prefix,
           const std::function<void(CImagesResizer &)> &onFirstImage, const QSize &target)
{
    Run run;
    CImagesResizer resizer;
    resizer.setSize(target);
    resizer.setResizeParameters(CImagesResizer::UseWidth | CImagesResizer::UseHeight);
    resizer.setOutputFolder(folder);
    resizer.setPrefixForResizedImages(prefix);
    QObject::connect(&resizer, &CImagesResizer::imageResized, [&](const QString &, const QString &written) {
        run.written.append(written);
        if (run.written.size() == 1 && onFirstImage)
            onFirstImage(resizer);
    });
    QObject::connect(&resizer, &CImagesResizer::resizeCanceled, [&run] { run.canceled = true; });
    QSignalSpy finished(&resizer, &CImagesResizer::resizeFinished);
    try {
        resizer.resizeImages(images);
    } catch (const std::exception &error) {
        run.refused = true;
        run.error = QString::fromUtf8(error.what());
        return run;
    }
    run.finished = finished.wait(60000);
    resizer.blockingCancel();
    run.error = resizer.lastError();
    return run;
}

QString outputPath(const QString &folder, const QString &prefix, const QString &source)
{
    const QFileInfo info(source);
    return folder + '/' + prefix + info.baseName() + '.' + info.completeSuffix();
}

QString badOutput(const QString &folder, const QStringList &expected, const QSize &size)
{
    const QFileInfoList files =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &file : files) {
        if (!expected.contains(file.filePath()))
            return "unexpected file " + file.fileName();
        const QString reason = incompleteness(file.filePath(), size);
        if (!reason.isEmpty())
            return file.fileName() + ": " + reason;
    }
    return {};
}

} // namespace HostileRun
