#include "cimagesmodel.h"
#include "csettings.h"
#include "initialwidget.h"
#include "mainwindow.h"
#include "modalanswer.h"
#include "testimages.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

class tst_InitialWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void dropOnAnyPartQueues_data();
    void dropOnAnyPartQueues();
    void addButtonQueuesPickedFiles_data();
    void addButtonQueuesPickedFiles();
    void languageChangeRelabels_data();
    void languageChangeRelabels();

private:
    InitialWidget *screen() const { return window->findChild<InitialWidget *>(); }
    int queuedCount() const
    {
        return window->findChild<QTableView *>(QStringLiteral("tvImagesQueue"))->model()->rowCount();
    }

    QTemporaryDir workDir;
    std::unique_ptr<CSettings> settings;
    std::unique_ptr<MainWindow> window;
};

void tst_InitialWidget::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(QDir::setCurrent(workDir.path()));
    const QDir shipped(QStringLiteral(BRINDLE_BIN_DIR "/Translations"));
    QDir(translationsPath()).removeRecursively();
    QVERIFY(QDir().mkpath(translationsPath()));
    for (const QString &name : shipped.entryList(QDir::Files))
        QVERIFY(QFile::copy(shipped.filePath(name), translationsPath() + QLatin1Char('/') + name));
}

void tst_InitialWidget::init()
{
    settings = std::make_unique<CSettings>(QStringLiteral("Settings.ini"));
    settings->setLanguage(QStringLiteral("en_US"));
    // The screen is only ever built by the main window, which hands it its page stack and its slots.
    window = std::make_unique<MainWindow>(settings.get());
}

void tst_InitialWidget::cleanup()
{
    window.reset();
    settings.reset();
}

void tst_InitialWidget::dropOnAnyPartQueues_data()
{
    QTest::addColumn<QString>("part");
    QTest::newRow("logo") << "lblLogo";
    QTest::newRow("add button") << "pbAddImage";
    QTest::newRow("hint label") << "lblDropFiles";
    QTest::newRow("screen itself") << "InitialWidget";
}

void tst_InitialWidget::dropOnAnyPartQueues()
{
    QFETCH(QString, part);
    QTemporaryDir images;
    const QString path = TestImages::write(images.filePath(QStringLiteral("p.png")), QSize(40, 30));
    QWidget *target =
        part == QLatin1String("InitialWidget") ? screen() : screen()->findChild<QWidget *>(part);
    QVERIFY(target);

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(1, 1), Qt::LinkAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QVERIFY2(enter.isAccepted(), "the first screen must accept a drag of files");
    QDropEvent drop(QPoint(1, 1), Qt::LinkAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    QTRY_COMPARE(queuedCount(), 1);
    QCOMPARE(window->findChild<QStackedWidget *>(QStringLiteral("wMain"))->currentWidget()->objectName(),
             QStringLiteral("ResizeWidget"));
}

void tst_InitialWidget::addButtonQueuesPickedFiles_data()
{
    QTest::addColumn<bool>("pick");
    QTest::newRow("picked file is queued") << true;
    QTest::newRow("cancelled dialog changes nothing") << false;
}

void tst_InitialWidget::addButtonQueuesPickedFiles()
{
    QFETCH(bool, pick);
    QTemporaryDir images;
    const QString path = TestImages::write(images.filePath(QStringLiteral("picked.jpg")), QSize(40, 30));
    QSignalSpy opening(window->findChild<QTableView *>(QStringLiteral("tvImagesQueue"))->model(),
                       SIGNAL(imagesIsOpening(bool)));
    TestModal::answer([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog)
            return false;
        if (pick) {
            dialog->setDirectory(images.path());
            dialog->selectFile(path);
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        } else {
            dialog->reject();
        }
        return true;
    });
    screen()->findChild<QPushButton *>(QStringLiteral("pbAddImage"))->click();
    if (pick) {
        QTRY_COMPARE(opening.count(), 2);
        QCOMPARE(queuedCount(), 1);
    } else {
        QCoreApplication::processEvents();
        QCOMPARE(opening.count(), 0);
        QCOMPARE(window->findChild<QStackedWidget *>(QStringLiteral("wMain"))->currentWidget(), screen());
    }
}

void tst_InitialWidget::languageChangeRelabels_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("hint");
    QTest::newRow("German") << "de_DE" << QStringLiteral("Fotos hinzufügen")
                            << QStringLiteral("Fotos hierher ziehen");
    QTest::newRow("Russian") << "ru_RU" << QStringLiteral("Добавить фото")
                             << QStringLiteral("Бросьте фото сюда");
}

void tst_InitialWidget::languageChangeRelabels()
{
    QFETCH(QString, language);
    QFETCH(QString, button);
    QFETCH(QString, hint);
    settings->setLanguage(language);
    QTRY_COMPARE(screen()->findChild<QPushButton *>(QStringLiteral("pbAddImage"))->text(), button);
    QCOMPARE(screen()->findChild<QLabel *>(QStringLiteral("lblDropFiles"))->text(), hint);
}

QTEST_MAIN(tst_InitialWidget)
#include "tst_initialwidget.moc"
