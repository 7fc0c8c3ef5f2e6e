#include "hostilecorpus.h"
#include "hostilerun.h"
#include "testimages.h"
#include "testpool.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

class tst_RunFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sourceChanged_data();
    void sourceChanged();
    void outputFolderLost_data();
    void outputFolderLost();
    void fullDisk();
    void killedMidRun();
    void secondRunAfterFailure();
    void latin1Names();
    void slowImageIsStopped_data();
    void slowImageIsStopped();
    void cancelLeavesTheBigPhotosWaiting();
    void bigPhotosOnManyThreads_data();
    void bigPhotosOnManyThreads();

private:
    QStringList bigPhotos();

    QStringList makeSources(const QString &name, int count, const QSize &size);
    QVector<CImageInfo> queue(const QStringList &paths);
    void checkReason(const QString &error, const QString &folder, int systemError);
    void checkNothingLost(const QStringList &sources, const QHash<QString, QByteArray> &before);
    void checkOutputs(const QString &folder, const QStringList &sources, const QSize &size);

    QTemporaryDir sandbox;
};

void tst_RunFaults::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(sandbox.isValid());
    QDir::setCurrent(sandbox.path());
}

QStringList tst_RunFaults::makeSources(const QString &name, int count, const QSize &size)
{
    const QString folder = sandbox.filePath(name);
    QDir().mkdir(folder);
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths.append(TestImages::write(QString("%1/photo %2.jpg").arg(folder).arg(i), size, "JPEG", i));
    return paths;
}

QVector<CImageInfo> tst_RunFaults::queue(const QStringList &paths)
{
    const HostileRun::Opening opening = HostileRun::open(paths);
    if (!opening.finished || opening.queued.size() != paths.size())
        qWarning("only %d of %d sources were queued", int(opening.queued.size()), int(paths.size()));
    return opening.queued;
}

// The user reads what the system said, after the output's name.
void tst_RunFaults::checkReason(const QString &error, const QString &folder, int systemError)
{
    const QString reason = QString::fromLocal8Bit(strerror(systemError));
    QVERIFY2(error.startsWith(QDir::toNativeSeparators(folder) + '/'), qPrintable(error));
    QVERIFY2(error.endsWith(": " + reason), qPrintable(QString("%1, not \"%2\"").arg(error, reason)));
}

void tst_RunFaults::checkNothingLost(const QStringList &sources, const QHash<QString, QByteArray> &before)
{
    for (const QString &source : sources) {
        if (before.contains(source))
            QVERIFY2(HostileCorpus::checksum(source) == before.value(source),
                     qPrintable(source + " was changed by the run"));
    }
}

// Every file left in folder is a complete output under a source's output name.
void tst_RunFaults::checkOutputs(const QString &folder, const QStringList &sources, const QSize &size)
{
    QStringList names;
    for (const QString &source : sources)
        names.append(QFileInfo(HostileRun::outputPath(folder, {}, source)).fileName());
    const QStringList files = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &file : files) {
        QVERIFY2(names.contains(file), qPrintable("left behind: " + file));
        QString reason;
        QVERIFY2(HostileRun::isComplete(folder + '/' + file, size, &reason),
                 qPrintable(file + ": " + reason));
    }
}

static QHash<QString, QByteArray> checksums(const QStringList &paths)
{
    QHash<QString, QByteArray> sums;
    for (const QString &path : paths)
        sums.insert(path, HostileCorpus::checksum(path));
    return sums;
}

void tst_RunFaults::sourceChanged_data()
{
    QTest::addColumn<QByteArray>("replacement");
    QTest::addColumn<bool>("fails");
    QTest::newRow("deleted") << QByteArray() << true;
    QTest::newRow("replaced by text") << QByteArray("not a picture any more\n") << true;
    // Were the image library to pick the coder by content, these would draw the file they name into the
    // output.
    QTest::newRow("replaced by a drawing script")
        << QByteArray("push graphic-context\nviewbox 0 0 64 48\nimage over 0,0 0,0 '/etc/hostname'\n"
                      "pop graphic-context\n")
        << true;
    QTest::newRow("replaced by a vector drawing")
        << QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"48\">"
                      "<image href=\"file:///etc/hostname\" width=\"64\" height=\"48\"/></svg>\n")
        << true;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TestImages::photo(QSize(80, 60), 9).save(&buffer, "JPEG");
    QTest::newRow("replaced by another photo") << buffer.data() << false;
}

void tst_RunFaults::sourceChanged()
{
    QFETCH(QByteArray, replacement);
    QFETCH(bool, fails);
    const QStringList sources = makeSources(QTest::currentDataTag(), 3, QSize(64, 48));
    const QVector<CImageInfo> images = queue(sources);
    const QString changed = sources.at(1);
    QFile::remove(changed);
    if (!replacement.isNull()) {
        QFile file(changed);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(replacement);
    }
    const QHash<QString, QByteArray> before = checksums(sources);

    QTemporaryDir output(sandbox.filePath("out-XXXXXX"));
    const HostileRun::Run run = HostileRun::resize(images, output.path());
    QVERIFY2(run.finished, "the run did not end");
    QCOMPARE(run.canceled, fails);
    if (fails)
        QVERIFY2(run.error.contains(QFileInfo(changed).fileName()), qPrintable("not named: " + run.error));
    QVERIFY2(!run.sources.contains(changed) || !fails, "a vanished source was reported as written");
    checkOutputs(output.path(), sources, HostileRun::targetSize);
    checkNothingLost(sources, before);
}

void tst_RunFaults::outputFolderLost_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("replaced by a file mid-run") << false;
    QTest::newRow("read-only") << true;
}

void tst_RunFaults::outputFolderLost()
{
    QFETCH(bool, readOnly);
    const QStringList sources = makeSources(QTest::currentDataTag(), 12, QSize(400, 300));
    const QVector<CImageInfo> images = queue(sources);
    const QHash<QString, QByteArray> before = checksums(sources);
    const QString folder = sandbox.filePath(QString("lost-%1").arg(readOnly));
    QVERIFY(QDir().mkdir(folder));
    const QByteArray mountPoint = QFile::encodeName(folder);
    // Permission bits do not stop root; a file system mounted read-only does.
    const bool mounted = readOnly && geteuid() == 0 &&
                         mount("tmpfs", mountPoint.constData(), "tmpfs", MS_RDONLY, "size=64k") == 0;
    const auto unmount = qScopeGuard([&] {
        if (mounted)
            umount(mountPoint.constData());
    });
    if (readOnly && geteuid() == 0 && !mounted)
        QSKIP("running as root where no read-only file system can be mounted");
    if (readOnly && !mounted)
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    const auto replaceFolder = [&folder] {
        QDir(folder).removeRecursively();
        QFile file(folder);
        file.open(QIODevice::WriteOnly);
    };

    const HostileRun::Run run =
        HostileRun::resize(images, folder, {}, readOnly ? std::function<void()>() : replaceFolder);
    QVERIFY2(run.finished, "the run did not end");
    // The first result reaches this thread only after the pool has moved on, perhaps to the end.
    if (!run.canceled && !readOnly && run.written.size() == sources.size())
        QSKIP("every image was written before the folder could be taken away");
    QVERIFY2(run.canceled, "the run went on although its outputs could not be written");
    QVERIFY2(!run.error.isEmpty(), "the failure left no message");
    checkNothingLost(sources, before);
    if (readOnly)
        checkReason(run.error, folder, mounted ? EROFS : EACCES);
    if (readOnly)
        QVERIFY(QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

void tst_RunFaults::fullDisk()
{
    const QString disk = sandbox.filePath("disk");
    QVERIFY(QDir().mkdir(disk));
    const QByteArray target = QFile::encodeName(disk);
    if (mount("tmpfs", target.constData(), "tmpfs", 0, "size=512k") != 0)
        QSKIP("cannot mount a small file system here (needs root in a machine that allows mounts)");
    const auto unmount = qScopeGuard([&target] { umount(target.constData()); });
    // Room for part of one output: a disk that fills up in the middle of a file.
    QFile filler(disk + "/filler");
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) {
    }
    const QString folder = disk + "/out";
    QVERIFY(QDir().mkdir(folder));
    filler.resize(filler.size() - 2 * block.size());
    filler.close();

    const QStringList sources = makeSources("disk sources", 16, QSize(640, 480));
    const QHash<QString, QByteArray> before = checksums(sources);
    // One image at a time, so that the first failure is the one cut off mid-file.
    const auto pool = TestPool::ofThreads(1);
    const QSize size(320, 240);
    const HostileRun::Run run = HostileRun::resize(queue(sources), folder, {}, {}, 30000, size);
    QVERIFY2(run.finished, "the run did not end");
    QVERIFY2(run.canceled, "the run went on although its outputs did not fit on the disk");
    checkReason(run.error, folder, ENOSPC);
    checkOutputs(folder, sources, size);
    checkNothingLost(sources, before);
}

void tst_RunFaults::killedMidRun()
{
    const QStringList sources = makeSources("kill sources", 40, QSize(1200, 900));
    const QHash<QString, QByteArray> before = checksums(sources);
    QTemporaryDir output(sandbox.filePath("out-XXXXXX"));
    // An earlier run's outputs, which the killed run may only replace by complete ones.
    const HostileRun::Run earlier = HostileRun::resize(queue(sources), output.path());
    QVERIFY(earlier.finished && !earlier.canceled);
    const QHash<QString, QByteArray> earlierSums = checksums(earlier.written);

    QProcess child;
    child.start(HOSTILE_CHILD, QStringList{output.path()} + sources);
    QVERIFY2(child.waitForStarted(), qPrintable(child.errorString()));
    QVERIFY2(child.waitForReadyRead(30000), "the child wrote nothing");
    const QString firstWritten = QString::fromUtf8(child.readLine()).trimmed();
    child.kill();
    QVERIFY(child.waitForFinished(10000));
    QVERIFY2(child.exitStatus() == QProcess::CrashExit, "the child ended before it was killed");

    checkNothingLost(sources, before);
    QString reason;
    QVERIFY2(HostileRun::isComplete(firstWritten, QSize(320, 240), &reason), qPrintable(reason));
    QStringList leftovers;
    for (const QString &path : earlier.written) {
        if (HostileCorpus::checksum(path) == earlierSums.value(path))
            continue;
        QVERIFY2(HostileRun::isComplete(path, QSize(320, 240), &reason), qPrintable(path + ": " + reason));
    }
    for (const QString &file : QDir(output.path()).entryList(QDir::Files | QDir::Hidden)) {
        if (!earlier.written.contains(output.filePath(file)))
            leftovers.append(file);
    }
    // A killed process cannot remove its temporary files; they must at least not carry an output name.
    if (!leftovers.isEmpty())
        qInfo("temporary files left by the kill: %s", qPrintable(leftovers.join(", ")));
}

void tst_RunFaults::secondRunAfterFailure()
{
    const QStringList sources = makeSources("second run", 6, QSize(320, 240));
    QTemporaryDir output(sandbox.filePath("out-XXXXXX"));
    const HostileRun::Run first = HostileRun::resize(queue(sources), output.path());
    QVERIFY(first.finished && !first.canceled);
    const QHash<QString, QByteArray> firstSums = checksums(first.written);

    const QVector<CImageInfo> images = queue(sources);
    QFile broken(sources.at(2));
    QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("broken after queueing\n");
    broken.close();
    const HostileRun::Run second = HostileRun::resize(images, output.path());
    QVERIFY2(second.finished && second.canceled, "the broken source did not stop the second run");
    const QString brokenOutput = HostileRun::outputPath(output.path(), {}, sources.at(2));
    QVERIFY2(HostileCorpus::checksum(brokenOutput) == firstSums.value(brokenOutput),
             "the output of the broken source was replaced");
    for (const QString &path : first.written) {
        QVERIFY2(QFileInfo::exists(path), qPrintable(path + ": an earlier output was lost"));
        if (HostileCorpus::checksum(path) != firstSums.value(path))
            QVERIFY2(second.written.contains(path), qPrintable(path + " was changed but not reported"));
    }
    checkOutputs(output.path(), sources, HostileRun::targetSize);
}

// This process runs in a UTF-8 locale, where Qt cannot name a file whose name is not UTF-8: such files are
// listed and read here by their bytes.
static QList<QByteArray> rawFileNames(const QByteArray &folder)
{
    QList<QByteArray> names;
    DIR *dir = opendir(folder.constData());
    while (dirent *entry = dir ? readdir(dir) : nullptr) {
        if (entry->d_type == DT_REG)
            names.append(entry->d_name);
    }
    if (dir)
        closedir(dir);
    return names;
}

static QByteArray rawContents(const QByteArray &path)
{
    QFile file;
    const int fd = ::open(path.constData(), O_RDONLY);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return {};
    return file.readAll();
}

static bool rawWrite(const QByteArray &path, const QByteArray &bytes)
{
    QFile file;
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    return fd >= 0 && file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle) &&
           file.write(bytes) == bytes.size();
}

// Under a Latin-1 locale "Grüße été.jpg" is a name whose bytes are not UTF-8: read or written through any
// other encoding than the locale's, it comes out as another file or none.
void tst_RunFaults::latin1Names()
{
    const QString locales = sandbox.filePath("locales");
    QVERIFY(QDir().mkpath(locales));
    QProcess localedef;
    localedef.start("localedef", {"-i", "de_DE", "-f", "ISO-8859-1", locales + "/de_DE.ISO-8859-1"});
    if (!localedef.waitForFinished(60000) || localedef.exitStatus() != QProcess::NormalExit ||
        localedef.exitCode() != 0)
        QSKIP("cannot make a Latin-1 locale here (localedef and Debian's locales package)");
    const QByteArray sources = QFile::encodeName(sandbox.filePath("latin1 sources"));
    QVERIFY(QDir().mkdir(QFile::decodeName(sources)));
    const QByteArray name("Gr\xfc\xdf"
                          "e \xe9t\xe9.jpg");
    QBuffer photo;
    photo.open(QIODevice::WriteOnly);
    QVERIFY(TestImages::photo(QSize(640, 480)).save(&photo, "JPEG"));
    QVERIFY(rawWrite(sources + '/' + name, photo.data()));

    QTemporaryDir output(sandbox.filePath("out-XXXXXX"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LOCPATH", locales);
    environment.insert("LC_ALL", "de_DE.ISO-8859-1");
    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(HOSTILE_CHILD, {output.path(), QFile::decodeName(sources)});
    QVERIFY2(child.waitForFinished(30000), "the child did not end");
    QCOMPARE(child.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()).trimmed(),
             output.path() + '/' + QString::fromLatin1(name));
    const QByteArray outputFolder = QFile::encodeName(output.path());
    QCOMPARE(rawFileNames(outputFolder), QList<QByteArray>{name});
    QCOMPARE(QImage::fromData(rawContents(outputFolder + '/' + name)).size(), QSize(320, 240));
    QVERIFY2(rawContents(sources + '/' + name) == photo.data(), "the source was changed");
    // Qt could not remove them with the temporary folders.
    QVERIFY(::unlink((outputFolder + '/' + name).constData()) == 0);
    QVERIFY(::unlink((sources + '/' + name).constData()) == 0);
}

void tst_RunFaults::slowImageIsStopped_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("still image") << "slow.png";
    QTest::newRow("animation, every frame") << "slow.gif";
}

void tst_RunFaults::slowImageIsStopped()
{
    QFETCH(QString, name);
    const QString path = sandbox.filePath(name);
    QVERIFY(name.endsWith("png") ? HostileCorpus::writeFlatPng(path, QSize(4000, 3000))
                                 : !TestImages::writeAnimatedGif(path, QSize(160, 120), 100).isEmpty());
    const QVector<CImageInfo> images = queue({path});
    QCOMPARE(images.size(), 1);
    qputenv("BRINDLE_SECONDS_PER_IMAGE", "0.001");
    const auto unset = qScopeGuard([] { qunsetenv("BRINDLE_SECONDS_PER_IMAGE"); });

    QTemporaryDir output(sandbox.filePath("out-XXXXXX"));
    const HostileRun::Run run = HostileRun::resize(images, output.path());
    QVERIFY2(run.finished && run.canceled, "the image ran past its time");
    QVERIFY2(run.error.contains(name) && run.error.contains("took longer than 0.001 seconds"),
             qPrintable(run.error));
    QVERIFY(QDir(output.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

// 48 megapixels each, flat so that they are quick to make: the image library's pixel cache for one of them
// (8 bytes a pixel) is larger than the memory limit of Debian's policy.
QStringList tst_RunFaults::bigPhotos()
{
    const QString folder = sandbox.filePath("big");
    const QSize size(8000, 6000);
    if (QDir().mkdir(folder)) {
        QImage flat(size, QImage::Format_RGB888);
        flat.fill(QColor(120, 140, 90));
        for (const char *format : {"jpg", "tif"}) {
            QImageWriter writer(QString("%1/big 0.%2").arg(folder, format));
            writer.setCompression(1);
            if (!writer.write(flat))
                qWarning("%s", qPrintable(writer.errorString()));
        }
        HostileCorpus::writeFlatPng(folder + "/big 0.png", size);
        for (const char *format : {"jpg", "png", "tif"})
            QFile::copy(QString("%1/big 0.%2").arg(folder, format),
                        QString("%1/big 1.%2").arg(folder, format));
    }
    QStringList paths;
    for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files, QDir::Name))
        paths.append(file.filePath());
    return paths;
}

void tst_RunFaults::bigPhotosOnManyThreads_data()
{
    QTest::addColumn<int>("threads");
    QTest::newRow("4 threads") << 4;
    QTest::newRow("8 threads") << 8;
}

void tst_RunFaults::bigPhotosOnManyThreads()
{
    QFETCH(int, threads);
    const QStringList sources = bigPhotos();
    QCOMPARE(sources.size(), 6);
    const QVector<CImageInfo> images = queue(sources);
    QCOMPARE(images.size(), sources.size());
    const auto restore = TestPool::ofThreads(threads);

    QTemporaryDir output(sandbox.filePath("out-XXXXXX"));
    const HostileRun::Run run = HostileRun::resize(images, output.path(), {}, {}, 180000);
    QVERIFY2(run.finished, "the run did not end");
    QVERIFY2(!run.canceled, qPrintable(run.error));
    QCOMPARE(run.written.size(), sources.size());
    checkOutputs(output.path(), sources, HostileRun::targetSize);
}

// The big photos take their turns one after another; a cancel must not wait for every turn.
void tst_RunFaults::cancelLeavesTheBigPhotosWaiting()
{
    const QStringList sources = bigPhotos();
    const QVector<CImageInfo> images = queue(sources);
    QCOMPARE(images.size(), sources.size());
    const auto restore = TestPool::ofThreads(8);

    QTemporaryDir output(sandbox.filePath("out-XXXXXX"));
    CImagesResizer resizer;
    resizer.setSize(HostileRun::targetSize);
    resizer.setResizeParameters(CImagesResizer::UseWidth | CImagesResizer::UseHeight);
    resizer.setOutputFolder(output.path());
    connect(&resizer, &CImagesResizer::imageResized, &resizer, &CImagesResizer::blockingCancel);
    QSignalSpy finished(&resizer, &CImagesResizer::resizeFinished);
    resizer.resizeImages(images);
    QVERIFY(finished.wait(120000));
    const QStringList written = QDir(output.path()).entryList(QDir::Files | QDir::Hidden);
    QVERIFY2(written.size() < sources.size(), qPrintable("every image was finished: " + written.join(", ")));
    QVERIFY2(resizer.lastError().isEmpty(),
             qPrintable("a cancel reported a failure: " + resizer.lastError()));
    checkOutputs(output.path(), sources, HostileRun::targetSize);
}

QTEST_MAIN(tst_RunFaults)
#include "tst_runfaults.moc"
