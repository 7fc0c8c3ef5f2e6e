#include "hostilecorpus.h"
#include "hostilerun.h"
#include "testimages.h"
#include "testpool.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using HostileCorpus::Expect;

Q_DECLARE_METATYPE(HostileCorpus::Expect)

class tst_HostileFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void openAndResize_data();
    void openAndResize();
    void names_data();
    void names();
    void hugeFlatImage();
    void brokenTiffAfterAResizedOne();

private:
    void addRows(const QVector<HostileCorpus::Entry> &entries);
    void checkOutputFolder(const QString &folder, const QStringList &expected);

    QTemporaryDir sandbox;
    QString corpus;
    QHash<QString, QByteArray> sums;
};

void tst_HostileFiles::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(sandbox.isValid());
    QDir::setCurrent(sandbox.path());
    corpus = sandbox.filePath("corpus");
    QVERIFY(QDir().mkdir(corpus));
}

void tst_HostileFiles::cleanupTestCase()
{
    for (auto it = sums.cbegin(); it != sums.cend(); ++it)
        QVERIFY2(HostileCorpus::checksum(it.key()) == it.value(), qPrintable(it.key() + " was changed"));
}

void tst_HostileFiles::addRows(const QVector<HostileCorpus::Entry> &entries)
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<Expect>("expect");
    for (const HostileCorpus::Entry &entry : entries) {
        const QString path = corpus + '/' + entry.name;
        sums.insert(path, HostileCorpus::checksum(path));
        QTest::newRow(entry.name.toUtf8().constData()) << path << entry.expect;
    }
}

// Everything in the folder must be a complete output under its expected name: a stray file is a leftover
// temporary file or a write under a name the image library made up.
void tst_HostileFiles::checkOutputFolder(const QString &folder, const QStringList &expected)
{
    const QFileInfoList files =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &file : files) {
        QVERIFY2(expected.contains(file.filePath()), qPrintable("unexpected file " + file.fileName()));
        QString reason;
        QVERIFY2(HostileRun::isComplete(file.filePath(), HostileRun::targetSize, &reason),
                 qPrintable(file.fileName() + ": " + reason));
    }
}

void tst_HostileFiles::openAndResize_data()
{
    addRows(HostileCorpus::make(corpus));
}

void tst_HostileFiles::openAndResize()
{
    QFETCH(QString, path);
    QFETCH(Expect, expect);
    const HostileRun::Opening opening = HostileRun::open({path});
    QVERIFY2(opening.finished, "opening did not end: the file blocks the queue");
    const bool queued = !opening.queued.isEmpty();
    if (expect != Expect::Either)
        QVERIFY2(queued == (expect == Expect::Queued), queued ? "queued, but nothing decodable is in it"
                                                              : "a good image was left out of the queue");
    if (!queued)
        return;

    QTemporaryDir output(sandbox.filePath("out-XXXXXX"));
    const HostileRun::Run run = HostileRun::resize(opening.queued, output.path());
    QVERIFY2(run.refused || run.finished, "the run did not end");
    const QString expected = HostileRun::outputPath(output.path(), {}, path);
    if (expect == Expect::Queued) {
        QVERIFY2(!run.refused && !run.canceled, qPrintable("a good image failed: " + run.error));
        QCOMPARE(run.written, QStringList{expected});
    }
    if (run.canceled || run.refused)
        QVERIFY2(run.error.contains(QFileInfo(path).fileName()),
                 qPrintable("the message does not name the file: " + run.error));
    checkOutputFolder(output.path(), {expected});
    QCOMPARE(HostileCorpus::checksum(path), sums.value(path));
}

void tst_HostileFiles::names_data()
{
    addRows(HostileCorpus::makeNames(corpus));
}

void tst_HostileFiles::names()
{
    QFETCH(QString, path);
    const HostileRun::Opening opening = HostileRun::open({path});
    QVERIFY(opening.finished);
    QCOMPARE(opening.queued.size(), 1);
    QCOMPARE(opening.queued.first().fullPath(), path);

    QTemporaryDir output(sandbox.filePath("names-XXXXXX"));
    const QString prefix = "%1 [0]-";
    const HostileRun::Run run = HostileRun::resize(opening.queued, output.path(), prefix);
    QVERIFY2(run.finished && !run.canceled, qPrintable(run.error));
    const QString expected = HostileRun::outputPath(output.path(), prefix, path);
    QCOMPARE(run.written, QStringList{expected});
    QVERIFY2(QFileInfo::exists(expected), "the reported output does not exist");
    checkOutputFolder(output.path(), {expected});
}

void tst_HostileFiles::hugeFlatImage()
{
    const QString path = sandbox.filePath("huge.png");
    QVERIFY(HostileCorpus::writeFlatPng(path, QSize(16000, 16000)));
    const QByteArray before = HostileCorpus::checksum(path);
    QElapsedTimer clock;
    clock.start();
    const HostileRun::Opening opening = HostileRun::open({path}, 60000);
    QVERIFY2(opening.finished, "opening a huge image did not end");
    qInfo("opening took %lld ms, queued: %d", clock.restart(), int(opening.queued.size()));
    if (!opening.queued.isEmpty()) {
        QTemporaryDir output(sandbox.filePath("huge-XXXXXX"));
        const HostileRun::Run run = HostileRun::resize(opening.queued, output.path(), {}, {}, 60000);
        qInfo("the run took %lld ms, canceled: %d, error: %s", clock.elapsed(), run.canceled,
              qPrintable(run.error));
        QVERIFY2(run.refused || run.finished, "the run did not end");
        checkOutputFolder(output.path(), {HostileRun::outputPath(output.path(), {}, path)});
    }
    QCOMPARE(HostileCorpus::checksum(path), before);
}

// The image library and Qt's TIFF reader share libtiff's message handlers; a broken TIFF opened in the pool
// thread that last resized a TIFF must be left out, not abort the program.
void tst_HostileFiles::brokenTiffAfterAResizedOne()
{
    const auto onePoolThread = TestPool::ofThreads(1);
    const QString good = TestImages::write(sandbox.filePath("good.tif"), QSize(64, 48));
    QTemporaryDir output(sandbox.filePath("tiff-XXXXXX"));
    const HostileRun::Run run = HostileRun::resize(HostileRun::open({good}).queued, output.path());
    QVERIFY2(run.finished && run.written.size() == 1, qPrintable(run.error));
    const QString broken = sandbox.filePath("broken.tif");
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("II*\0\x08\0\0\0\xff\xff", 10) + QByteArray(64, '\x7f'));
    file.close();
    const HostileRun::Opening opening = HostileRun::open({broken});
    QVERIFY(opening.finished);
    QVERIFY(opening.queued.isEmpty());
}

QTEST_MAIN(tst_HostileFiles)
#include "tst_hostilefiles.moc"
