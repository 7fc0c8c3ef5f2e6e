#include "hostilecorpus.h"
#include "hostilerun.h"

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
    void cleanupTestCase();
    void openAndResize_data();
    void openAndResize();

private:
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
    // One pool thread opens and resizes every file in turn, so that each file meets the library state the
    // one before it left.
    QThreadPool::globalInstance()->setMaxThreadCount(1);
}

void tst_HostileFiles::cleanupTestCase()
{
    for (auto it = sums.cbegin(); it != sums.cend(); ++it)
        QVERIFY2(HostileCorpus::checksum(it.key()) == it.value(), qPrintable(it.key() + " was changed"));
}

void tst_HostileFiles::openAndResize_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<Expect>("expect");
    for (const HostileCorpus::Entry &entry : HostileCorpus::make(corpus)) {
        const QString path = corpus + '/' + entry.name;
        sums.insert(path, HostileCorpus::checksum(path));
        QTest::newRow(entry.name.toUtf8().constData()) << path << entry.expect;
    }
}

void tst_HostileFiles::openAndResize()
{
    QFETCH(QString, path);
    QFETCH(Expect, expect);
    if (expect == Expect::Slow)
        qputenv("BRINDLE_SECONDS_PER_IMAGE", "0.001");
    const auto unset = qScopeGuard([] { qunsetenv("BRINDLE_SECONDS_PER_IMAGE"); });
    const HostileRun::Opening opening = HostileRun::open({path});
    QVERIFY2(opening.finished, "opening did not end: the file blocks the queue");
    const bool queued = !opening.queued.isEmpty();
    if (expect != Expect::Either)
        QVERIFY2(queued == (expect != Expect::Refused), queued ? "queued, but nothing decodable is in it"
                                                               : "a good image was left out of the queue");
    if (!queued)
        return;
    QCOMPARE(opening.queued.first().fullPath(), path);

    QTemporaryDir output(sandbox.filePath("out-XXXXXX"));
    // A prefix with the image library's and QString::arg's own place holders in it.
    const QString prefix = "%1 [0]-";
    const HostileRun::Run run = HostileRun::resize(opening.queued, output.path(), prefix);
    QVERIFY2(run.refused || run.finished, "the run did not end");
    const QString expected = HostileRun::outputPath(output.path(), prefix, path);
    if (expect == Expect::Queued) {
        QVERIFY2(!run.refused && !run.canceled, qPrintable("a good image failed: " + run.error));
        QCOMPARE(run.written, QStringList{expected});
        QVERIFY2(QFileInfo::exists(expected), "the reported output does not exist");
    }
    if (expect == Expect::Slow)
        QVERIFY2(run.canceled && run.error.contains("took longer than 0.001 seconds"), qPrintable(run.error));
    if (run.canceled || run.refused)
        QVERIFY2(run.error.contains(QFileInfo(path).fileName()),
                 qPrintable("the message does not name the file: " + run.error));
    const QString bad = HostileRun::badOutput(output.path(), {expected});
    QVERIFY2(bad.isEmpty(), qPrintable(bad));
    QCOMPARE(HostileCorpus::checksum(path), sums.value(path));
}

QTEST_MAIN(tst_HostileFiles)
#include "tst_hostilefiles.moc"
