#include "hostile.h"
#include "testimages.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>

using HostileCorpus::Expect;

Q_DECLARE_METATYPE(HostileCorpus::Expect)

class tst_HostileFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void openAndResize_data();
    void openAndResize();
    void pauseHoldsTheRun();

private:
    QTemporaryDir sandbox;
};

void tst_HostileFiles::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(sandbox.isValid());
    QDir::setCurrent(sandbox.path());
    // One pool thread opens and resizes every file in turn, so that each file meets the library state the one
    // before it left.
    QThreadPool::globalInstance()->setMaxThreadCount(1);
}

void tst_HostileFiles::openAndResize_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<Expect>("expect");
    for (const HostileCorpus::Entry &entry : HostileCorpus::make(sandbox.path())) {
        QTest::newRow(entry.name.toUtf8().constData()) << sandbox.filePath(entry.name) << entry.expect;
    }
}

void tst_HostileFiles::openAndResize()
{
    QFETCH(QString, path);
    QFETCH(Expect, expect);
    if (expect == Expect::Slow)
        qputenv("BRINDLE_SECONDS_PER_IMAGE", "0.001");
    const auto unset = qScopeGuard([] { qunsetenv("BRINDLE_SECONDS_PER_IMAGE"); });
    const QByteArray before = HostileCorpus::checksum(path);
    bool finished = false;
    const QVector<CImageInfo> images = HostileRun::open({path}, &finished);
    QVERIFY2(finished, "opening did not end: the file blocks the queue");
    const bool queued = !images.isEmpty();
    if (expect != Expect::Either)
        QVERIFY2(queued == (expect != Expect::Refused), queued ? "queued, but nothing decodable is in it"
                                                               : "a good image was left out of the queue");
    if (!queued)
        return;
    QCOMPARE(images.first().fullPath(), path);

    QTemporaryDir output(sandbox.filePath("out-XXXXXX"));
    // A prefix with the image library's and QString::arg's own place holders in it.
    const QString prefix = "%1 [0]-";
    const HostileRun::Run run = HostileRun::resize(images, output.path(), prefix);
    QVERIFY2(run.finished, "the run did not end");
    const QString expected = HostileRun::outputPath(output.path(), prefix, path);
    if (expect == Expect::Queued) {
        QVERIFY2(!run.canceled, qPrintable("a good image failed: " + run.error));
        QCOMPARE(run.written, QStringList{expected});
        QVERIFY2(QFileInfo::exists(expected), "the reported output does not exist");
    }
    if (expect == Expect::Slow)
        QVERIFY2(run.canceled && run.error.contains("took longer than 0.001 seconds"), qPrintable(run.error));
    if (run.canceled)
        QVERIFY2(run.error.contains(QFileInfo(path).fileName()),
                 qPrintable("the message does not name the file: " + run.error));
    const QString bad = HostileRun::badOutput(output.path(), {expected});
    QVERIFY2(bad.isEmpty(), qPrintable(bad));
    QVERIFY2(HostileCorpus::checksum(path) == before, "the source was changed");
}

// While paused the run writes nothing more (an image already being resized may end); resumed, it finishes
// every image.
void tst_HostileFiles::pauseHoldsTheRun()
{
    QStringList sources;
    for (int i = 0; i < 4; ++i)
        sources.append(TestImages::write(sandbox.filePath(QString("pause %1.jpg").arg(i)), QSize(64, 48)));
    bool wentOn = false;
    const auto pauseAWhile = [&wentOn](CImagesResizer &resizer) {
        resizer.setPause(true);
        QSignalSpy resized(&resizer, &CImagesResizer::imageResized);
        wentOn = resized.wait(300);
        resizer.setPause(false);
    };
    QTemporaryDir output(sandbox.filePath("out-XXXXXX"));
    const HostileRun::Run run = HostileRun::resize(HostileRun::open(sources), output.path(), {}, pauseAWhile);
    QVERIFY2(!wentOn, "images went on being resized while the run was paused");
    QVERIFY2(run.finished && !run.canceled, qPrintable(run.error));
    QCOMPARE(run.written.size(), sources.size());
}

QTEST_MAIN(tst_HostileFiles)
#include "tst_hostilefiles.moc"
