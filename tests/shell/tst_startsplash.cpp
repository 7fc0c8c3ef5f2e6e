#include "startsplash.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMovie>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

class TestStartSplash : public QObject
{
    Q_OBJECT

private slots:
    void closesItselfAfterItsTime_data();
    void closesItselfAfterItsTime();
    void dotsKeepMoving();
    void showsTranslatedText();
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

void TestStartSplash::dotsKeepMoving()
{
    StartSplash splash(0);
    auto *dots = splash.findChild<QLabel *>(QStringLiteral("lblDots"));
    QVERIFY(dots);
    QMovie *movie = dots->movie();
    QVERIFY2(movie, "the dots label shows no movie");
    QCOMPARE(movie->fileName(), QStringLiteral(":/Images/dots.gif"));
    if (!movie->isValid())
        QSKIP("the resource bundle holds no dots.gif yet");
    QCOMPARE(movie->state(), QMovie::Running);

    movie->stop();
    emit movie->finished();
    QVERIFY2(movie->state() == QMovie::Running,
             "the animation stops after its last frame instead of looping");
}

void TestStartSplash::showsTranslatedText()
{
    QTranslator german;
    QVERIFY(german.load(QStringLiteral(BRINDLE_BIN_DIR "/Translations/BrindleGUI_de.qm")));
    QCoreApplication::installTranslator(&german);
    StartSplash splash(0);
    QCoreApplication::removeTranslator(&german);

    auto *label = splash.findChild<QLabel *>(QStringLiteral("label"));
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("Wird geladen"));
}

QTEST_MAIN(TestStartSplash)
#include "tst_startsplash.moc"
