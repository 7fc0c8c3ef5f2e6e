#include "startsplash.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QMovie>
#include <QTimer>
#include <QtTest>

class TestStartSplash : public QObject
{
    Q_OBJECT

private slots:
    void closesItselfAfterItsTime_data();
    void closesItselfAfterItsTime();
};

void TestStartSplash::closesItselfAfterItsTime_data()
{
    QTest::addColumn<int>("displayTime");
    QTest::newRow("no delay") << 0;
    QTest::newRow("short delay") << 150;
}

void TestStartSplash::closesItselfAfterItsTime()
{
    QFETCH(int, displayTime);
    StartSplash splash(displayTime);
    QMovie *dots = splash.findChild<QLabel *>(QStringLiteral("lblDots"))->movie();
    QVERIFY2(dots && dots->state() == QMovie::Running, "the dots do not move");
    dots->stop();
    emit dots->finished();
    QVERIFY2(dots->state() == QMovie::Running, "the dots stop after their last frame instead of looping");
    // Guards the test run: without its own timer the splash would block here for ever.
    bool rescued = false;
    QTimer::singleShot(displayTime + 5000, &splash, [&] {
        rescued = true;
        splash.reject();
    });

    QElapsedTimer clock;
    clock.start();
    const int result = splash.exec();

    QVERIFY2(!rescued, "the splash did not close itself");
    QVERIFY2(clock.elapsed() >= displayTime,
             qPrintable(QStringLiteral("closed after %1 ms").arg(clock.elapsed())));
    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(!splash.isVisible());
}

QTEST_MAIN(TestStartSplash)
#include "tst_startsplash.moc"
