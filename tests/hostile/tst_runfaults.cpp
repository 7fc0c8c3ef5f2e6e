#include "hostile.h"
#include "photofiles.h"
#include "testimages.h"
#include "testpool.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>
#include <sys/mount.h>

class tst_RunFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void failureEndsTheRun_data();
    void failureEndsTheRun();
    void bigPhotosWaitTheirTurn();

private:
    QTemporaryDir sandbox;
};

void tst_RunFaults::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(sandbox.isValid());
}

void tst_RunFaults::failureEndsTheRun_data()
{
    QTest::addColumn<QByteArray>("replacement"); // of the first source once queued; null: it is deleted
    QTest::addColumn<int>("mountFlags");         // of a small disk for the outputs; -1: none
    QTest::addColumn<QString>("reason");         // of the failure; empty: none
    const QByteArray photo = PhotoFiles::jpeg(TestImages::photo(QSize(640, 480), 9));
    const QString notAPicture = "not a JPEG, PNG, GIF, BMP or TIFF file";
    QTest::newRow("source deleted") << QByteArray() << -1 << QString(strerror(ENOENT));
    QTest::newRow("source replaced by text") << QByteArray("not a picture any more\n") << -1 << notAPicture;
    QTest::newRow("source replaced by a drawing script") << HostileCorpus::drawingScript << -1 << notAPicture;
    QTest::newRow("source replaced by a vector drawing") << HostileCorpus::vectorDrawing << -1 << notAPicture;
    QTest::newRow("source replaced by another photo") << photo << -1 << QString();
    // Permission bits do not stop root; a small or read-only file system does.
    QTest::newRow("disk full in the middle of the first output") << photo << 0 << QString(strerror(ENOSPC));
    QTest::newRow("read-only disk") << photo << int(MS_RDONLY) << QString(strerror(EROFS));
}

// A failure ends the run at the failed image, tells why and leaves nothing incomplete under an output name.
void tst_RunFaults::failureEndsTheRun()
{
    QFETCH(QByteArray, replacement);
    QFETCH(int, mountFlags);
    QFETCH(QString, reason);
    QString folder = sandbox.filePath(QTest::currentDataTag());
    QVERIFY(QDir().mkdir(folder));
    const QByteArray mountPoint = QFile::encodeName(folder);
    if (mountFlags >= 0 &&
        mount("tmpfs", mountPoint.constData(), "tmpfs", ulong(mountFlags), "size=256k") != 0)
        QSKIP("cannot mount a small file system here (needs root in a machine that allows mounts)");
    const auto unmount = qScopeGuard([&] {
        if (mountFlags >= 0)
            umount(mountPoint.constData());
    });
    if (mountFlags == 0) {
        QFile filler(folder + "/filler");
        folder += "/out";
        QVERIFY(QDir().mkdir(folder) && filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
        // Room for a block of the first output, which is larger.
        filler.resize(filler.size() - block.size());
    }
    QStringList sources;
    for (int i = 0; i < 3; ++i)
        sources.append(
            TestImages::write(QString("%1 %2.jpg").arg(sandbox.filePath("photo")).arg(i), QSize(640, 480)));
    const QVector<CImageInfo> images = HostileRun::open(sources);
    const QString first = images.value(0).fullPath();
    QFile::remove(first);
    QFile file(first);
    QVERIFY(replacement.isNull() || (file.open(QIODevice::WriteOnly) && file.write(replacement) > 0));
    file.close();

    // One image at a time, so that the first image's result is the first the run sees.
    const auto onePoolThread = TestPool::ofThreads(1);
    const QSize size(320, 240);
    const HostileRun::Run run = HostileRun::resize(images, folder, {}, {}, size);
    QVERIFY2(run.finished, "the run did not end");
    QCOMPARE(run.canceled, !reason.isEmpty());
    if (reason.isEmpty()) {
        QCOMPARE(run.written.size(), sources.size());
    } else {
        QVERIFY2(run.written.isEmpty(), qPrintable("the run went on: " + run.written.join(", ")));
        const QString failed = mountFlags < 0 ? first : HostileRun::outputPath(folder, {}, first);
        QCOMPARE(run.error, QDir::toNativeSeparators(failed) + ": " + reason);
    }
    QStringList outputs;
    for (const QString &source : sources)
        outputs.append(HostileRun::outputPath(folder, {}, source));
    const QString bad = HostileRun::badOutput(folder, outputs, size);
    QVERIFY2(bad.isEmpty(), qPrintable(bad));
}

// 36 megapixels each: the image library's pixel cache for one (8 bytes a pixel) is beyond the memory limit of
// Debian's policy, and two of them do not fit its disk limit together, so the second waits for its turn. A
// cancel must not wait for that turn.
void tst_RunFaults::bigPhotosWaitTheirTurn()
{
    QStringList sources;
    for (const char *name : {"big 0.png", "big 1.png"}) {
        sources.append(sandbox.filePath(name));
        QVERIFY(HostileCorpus::writeFlatPng(sources.last(), QSize(6000, 6000)));
    }
    const QVector<CImageInfo> images = HostileRun::open(sources);
    QCOMPARE(images.size(), sources.size());
    const auto restore = TestPool::ofThreads(8);

    QTemporaryDir output(sandbox.filePath("out-XXXXXX"));
    const auto cancel = [](CImagesResizer &resizer) { resizer.blockingCancel(); };
    const HostileRun::Run run = HostileRun::resize(images, output.path(), {}, cancel);
    QVERIFY2(run.finished && run.error.isEmpty(), qPrintable("a big photo failed: " + run.error));
    QCOMPARE(run.written.size(), 1);
    const QString bad = HostileRun::badOutput(output.path(), run.written);
    QVERIFY2(bad.isEmpty(), qPrintable(bad));
}

QTEST_MAIN(tst_RunFaults)
#include "tst_runfaults.moc"
