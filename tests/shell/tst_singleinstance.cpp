#include "singleinstance.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The hand-over between two starts of the program: this test is the running window, the built program the
// second start, which must give its files over and end instead of opening a window of its own.
class tst_SingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void secondStartHandsOverAndEnds_data();
    void secondStartHandsOverAndEnds();

private:
    QTemporaryDir sockets;
};

void tst_SingleInstance::initTestCase()
{
    QVERIFY(sockets.isValid());
    // The socket lies in the temporary folder; a folder of our own keeps a Brindle the user runs out of this,
    // and the program started below inherits it.
    qputenv("TMPDIR", QFile::encodeName(sockets.path()));
}

void tst_SingleInstance::secondStartHandsOverAndEnds_data()
{
    QTest::addColumn<bool>("staleSocketFile");
    QTest::newRow("nothing left from an earlier start") << false;
    QTest::newRow("socket file left by a crashed start") << true;
}

void tst_SingleInstance::secondStartHandsOverAndEnds()
{
    QFETCH(bool, staleSocketFile);
    if (staleSocketFile) {
        QFile stale(QDir(sockets.path()).filePath(SingleInstance::userServerName()));
        QVERIFY(stale.open(QIODevice::WriteOnly));
    }
    SingleInstance running;
    QVERIFY2(!running.handOver({}), "a hand-over succeeded with no window running");
    QVERIFY2(running.listen(), "the first start could not become the window");
    // A start that raced the running one to the socket must leave it alone.
    SingleInstance racing;
    QVERIFY2(!racing.listen(), "a later start took the socket of the running window");
    QSignalSpy received(&running, &SingleInstance::pathsReceived);

    QTemporaryDir work;
    QProcess second;
    second.setWorkingDirectory(work.path());
    const QString folder = work.filePath(QStringLiteral("album"));
    second.start(QStringLiteral(BRINDLE_GUI), {QStringLiteral("photo one.jpg"), folder});
    QSignalSpy finished(&second, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished));
    const bool ended = finished.wait(30000);
    if (!ended)
        second.kill();
    QVERIFY2(ended, "the second start opened a window of its own instead of handing over");
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(received.count(), 1);
    QCOMPARE(received.first().first().toStringList(),
             QStringList({work.filePath(QStringLiteral("photo one.jpg")), folder}));
}

QTEST_MAIN(tst_SingleInstance)
#include "tst_singleinstance.moc"
