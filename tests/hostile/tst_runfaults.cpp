#include "hostilecorpus.h"
#include "hostilerun.h"
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
    void changedSource_data();
    void changedSource();
    void diskTrouble_data();
    void diskTrouble();
    void pauseHoldsTheRun();
    void bigPhotosWaitTheirTurn();

private:
    QStringList makeSources(const QString &name, int count, const QSize &size);

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

void tst_RunFaults::changedSource_data()
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
    QTest::newRow("replaced by another photo") << QByteArray() << false;
}

// The first source changes between queueing and the run; a failure must end the run there.
void tst_RunFaults::changedSource()
{
    QFETCH(QByteArray, replacement);
    QFETCH(bool, fails);
    const QStringList sources = makeSources(QTest::currentDataTag(), 4, QSize(64, 48));
    const QVector<CImageInfo> images = HostileRun::open(sources).queued;
    const QString changed = images.value(0).fullPath();
    QFile::remove(changed);
    if (!fails)
        TestImages::write(changed, QSize(80, 60), "JPEG", 9);
    else if (!replacement.isNull()) {
        QFile file(changed);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(replacement) == replacement.size());
    }

    // One image at a time, so that the changed source's result is the first the run sees.
    const auto onePoolThread = TestPool::ofThreads(1);
    QTemporaryDir output(sandbox.filePath("out-XXXXXX"));
    const HostileRun::Run run = HostileRun::resize(images, output.path());
    QVERIFY2(run.finished, "the run did not end");
    QCOMPARE(run.canceled, fails);
    if (fails) {
        QVERIFY2(run.error.contains(QFileInfo(changed).fileName()), qPrintable("not named: " + run.error));
        QVERIFY2(run.written.isEmpty(), qPrintable("the run went on: " + run.written.join(", ")));
    } else {
        QCOMPARE(run.written.size(), sources.size());
    }
    QStringList outputs;
    for (const QString &source : sources)
        outputs.append(HostileRun::outputPath(output.path(), {}, source));
    const QString bad = HostileRun::badOutput(output.path(), outputs);
    QVERIFY2(bad.isEmpty(), qPrintable(bad));
}

void tst_RunFaults::diskTrouble_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<int>("systemError");
    QTest::newRow("full in the middle of the first output") << false << ENOSPC;
    QTest::newRow("read-only") << true << EROFS;
}

// Nothing that did not fit may be left under an output's name, and the user reads what the system said.
void tst_RunFaults::diskTrouble()
{
    QFETCH(bool, readOnly);
    QFETCH(int, systemError);
    const QString disk = sandbox.filePath(readOnly ? "read-only disk" : "full disk");
    QVERIFY(QDir().mkdir(disk));
    const QByteArray mountPoint = QFile::encodeName(disk);
    // Permission bits do not stop root; a small or read-only file system does.
    if (mount("tmpfs", mountPoint.constData(), "tmpfs", readOnly ? MS_RDONLY : 0, "size=256k") != 0)
        QSKIP("cannot mount a small file system here (needs root in a machine that allows mounts)");
    const auto unmount = qScopeGuard([&mountPoint] { umount(mountPoint.constData()); });
    const QString folder = readOnly ? disk : disk + "/out";
    if (!readOnly) {
        QVERIFY(QDir().mkdir(folder));
        QFile filler(disk + "/filler");
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
        // Room for a block of the first output, which is larger: the disk fills up in the middle of it.
        filler.resize(filler.size() - block.size());
    }

    const auto onePoolThread = TestPool::ofThreads(1);
    const QSize size(320, 240);
    const QStringList sources = makeSources("disk sources", 3, QSize(640, 480));
    const HostileRun::Run run = HostileRun::resize(HostileRun::open(sources).queued, folder, {}, {}, size);
    QVERIFY2(run.finished && run.canceled, "the run went on although its outputs could not be written");
    QVERIFY2(run.written.isEmpty(), qPrintable("reported, but not on the disk: " + run.written.join(", ")));
    const QString reason = QString::fromLocal8Bit(strerror(systemError));
    QVERIFY2(run.error.startsWith(QDir::toNativeSeparators(folder) + '/'), qPrintable(run.error));
    QVERIFY2(run.error.endsWith(": " + reason), qPrintable(QString("%1, not \"%2\"").arg(run.error, reason)));
    const QString bad = HostileRun::badOutput(folder, {}, size);
    QVERIFY2(bad.isEmpty(), qPrintable(bad));
}

// While paused the run writes nothing more (an image already being resized may end); resumed, it
// finishes every image.
void tst_RunFaults::pauseHoldsTheRun()
{
    const QStringList sources = makeSources("pause sources", 4, QSize(64, 48));
    bool wentOn = false;
    const auto pauseAWhile = [&wentOn](CImagesResizer &resizer) {
        resizer.setPause(true);
        QSignalSpy resized(&resizer, &CImagesResizer::imageResized);
        wentOn = resized.wait(300);
        resizer.setPause(false);
    };
    QTemporaryDir output(sandbox.filePath("out-XXXXXX"));
    const HostileRun::Run run =
        HostileRun::resize(HostileRun::open(sources).queued, output.path(), {}, pauseAWhile);
    QVERIFY2(!wentOn, "images went on being resized while the run was paused");
    QVERIFY2(run.finished && !run.canceled, qPrintable(run.error));
    QCOMPARE(run.written.size(), sources.size());
}

// 36 megapixels each: the image library's pixel cache for one (8 bytes a pixel) is beyond the memory limit
// of Debian's policy, and two of them do not fit its disk limit together, so the second waits for its turn.
// A cancel must not wait for that turn.
void tst_RunFaults::bigPhotosWaitTheirTurn()
{
    QStringList sources;
    for (const char *name : {"big 0.png", "big 1.png"}) {
        sources.append(sandbox.filePath(name));
        QVERIFY(HostileCorpus::writeFlatPng(sources.last(), QSize(6000, 6000)));
    }
    const QVector<CImageInfo> images = HostileRun::open(sources).queued;
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
