#include "csettings.h"
#include "resizewidget.h"
#include "shellwindow.h"
#include "startsplash.h"
#include "testimages.h"
#include "testpool.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QMovie>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <map>
#include <memory>

class tst_MainWindow : public QObject
{
    Q_OBJECT

public slots:
    // Records the pages the program asks the desktop to open instead of launching a browser.
    void open(const QUrl &url) { opened.append(url); }

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void dropsQueueInDropOrder_data();
    void dropsQueueInDropOrder();
    void openingIsBusyAndCancellable();
    void handedFilesWaitForTheOpening();
    void dialogsStartInLastChosenFolder_data();
    void dialogsStartInLastChosenFolder();
    void fullRunLocksAndReturnsToFirstScreen();
    void savedPanelRefreshesEveryScreen();
    void splashClosesItselfAfterItsTime();

private:
    QWidget *child(const char *name) const { return window->findChild<QWidget *>(QLatin1String(name)); }
    QPushButton *button(const char *name) const
    {
        return window->findChild<QPushButton *>(QLatin1String(name));
    }
    QStackedWidget *pages() const { return window->findChild<QStackedWidget *>(QStringLiteral("wMain")); }
    CImagesModel *queue() const { return ShellWindow::queue(window.get()); }
    QStringList queuedPaths() const;
    void showWindow() { ShellWindow::show(window.get()); }
    bool sendDrop(QWidget *target, const QStringList &paths);
    // Queues the paths as start arguments when there is no target, else drops them on it.
    void queueAndWait(QWidget *target, const QStringList &paths);
    QString dialogStartFolder(const std::function<void()> &open, const QString &choose = QString());
    QString photo(const QString &relativePath, int seed = 0);

    QTemporaryDir workDir;
    QTemporaryDir home;
    std::unique_ptr<QTemporaryDir> images;
    std::unique_ptr<CSettings> settings;
    std::unique_ptr<MainWindow> window;
    QList<QUrl> opened;
};

void tst_MainWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(workDir.isValid());
    QVERIFY(QDir::setCurrent(workDir.path()));
    // A home without a Pictures folder, where the file dialogs start before their first use.
    QVERIFY(home.isValid());
    qputenv("HOME", QFile::encodeName(home.path()));
    QVERIFY2(ShellWindow::placeTranslations(), "the build's translations could not be laid out");
    // The pages, like the translations, are looked for next to the executable.
    const QString here = QCoreApplication::applicationDirPath();
    for (const QString page : {"/Manuals/Brindle/index.html", "/index.html"}) {
        QFile::remove(here + page);
        QDir().mkpath(QFileInfo(here + page).absolutePath());
        QVERIFY2(QFile::copy(QStringLiteral(BRINDLE_BIN_DIR) + page, here + page),
                 qPrintable("the build did not place " + page + " next to the program"));
    }
    for (const char *scheme : {"file", "http", "https"})
        QDesktopServices::setUrlHandler(QLatin1String(scheme), this, "open");
}

void tst_MainWindow::init()
{
    images = std::make_unique<QTemporaryDir>();
    QFile::remove(QStringLiteral("Settings.ini"));
    settings = std::make_unique<CSettings>(QStringLiteral("Settings.ini"));
    settings->setLanguage(QStringLiteral("en_US"));
    window = std::make_unique<MainWindow>(settings.get());
    opened.clear();
}

void tst_MainWindow::cleanup()
{
    window.reset();
    settings.reset();
    images.reset();
}

QStringList tst_MainWindow::queuedPaths() const
{
    QStringList paths;
    for (int row = 0; row < queue()->rowCount(); ++row)
        paths.append(queue()->data(queue()->index(row, 1), Qt::UserRole).value<CImageInfo>().fullPath());
    return paths;
}

bool tst_MainWindow::sendDrop(QWidget *target, const QStringList &paths)
{
    QMimeData data;
    QList<QUrl> list;
    for (const QString &path : paths)
        list.append(QUrl::fromLocalFile(path));
    data.setUrls(list);
    QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction | Qt::LinkAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(QPoint(2, 2), Qt::CopyAction | Qt::LinkAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return enter.isAccepted() && drop.isAccepted();
}

void tst_MainWindow::queueAndWait(QWidget *target, const QStringList &paths)
{
    if (!target) {
        QVERIFY2(ShellWindow::queueAndWait(window.get(), paths), "the opening did not end");
        return;
    }
    QSignalSpy opening(queue(), &CImagesModel::imagesIsOpening);
    QVERIFY2(sendDrop(target, paths), "the drop was refused");
    QTRY_VERIFY(opening.count() == 2);
}

// Opens a file dialog through open and returns the folder it starts in; in it the file or folder choose is
// accepted, or the dialog cancelled when that is empty.
QString tst_MainWindow::dialogStartFolder(const std::function<void()> &open, const QString &choose)
{
    QString startFolder;
    TestModal::answer([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog)
            return false;
        if (startFolder.isNull())
            startFolder = dialog->directory().absolutePath();
        if (choose.isEmpty()) {
            dialog->reject();
            return true;
        }
        const QFileInfo chosen(choose);
        dialog->setDirectory(chosen.isDir() ? choose : chosen.absolutePath());
        // Typed, not selected: a selection waits for the folder's listing in the background. The file
        // dialog's accept() is protected, so it is reached through the base.
        if (!chosen.isDir())
            dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(chosen.fileName());
        static_cast<QDialog *>(dialog)->accept();
        return !dialog->isVisible();
    });
    open();
    return startFolder;
}

QString tst_MainWindow::photo(const QString &relativePath, int seed)
{
    const QString path = images->filePath(relativePath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    return TestImages::write(path, QSize(32, 24), nullptr, seed);
}

void tst_MainWindow::dropsQueueInDropOrder_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("dropped");
    QTest::addColumn<QStringList>("expected");
    // Paths are relative to the image folder; a trailing slash marks a folder.
    QTest::newRow("one file on the logo") << "lblLogo" << QStringList{"a.jpg"} << QStringList{"a.jpg"};
    QTest::newRow("files on the hint label")
        << "lblDropFiles" << QStringList{"b.png", "a.jpg"} << QStringList{"b.png", "a.jpg"};
    QTest::newRow("folder on the first screen, one level deep")
        << "InitialWidget" << QStringList{"album/"} << QStringList{"album/one.png", "album/two.jpg"};
    QTest::newRow("file, folder, file on the title bar")
        << "lblTitle" << QStringList{"b.png", "single/", "a.jpg"}
        << QStringList{"b.png", "single/only.png", "a.jpg"};
    QTest::newRow("start arguments: file, folder, file")
        << QString() << QStringList{"b.png", "single/", "a.jpg"}
        << QStringList{"b.png", "single/only.png", "a.jpg"};
    QTest::newRow("undecodable file dropped is named")
        << "lblDropFiles" << QStringList{"broken.jpg", "a.jpg"} << QStringList{"a.jpg"};
    QTest::newRow("undecodable start argument is named")
        << QString() << QStringList{"b.png", "broken.jpg"} << QStringList{"b.png"};
}

void tst_MainWindow::dropsQueueInDropOrder()
{
    QFETCH(QString, target);
    QFETCH(QStringList, dropped);
    QFETCH(QStringList, expected);
    int seed = 0;
    for (const char *name :
         {"a.jpg", "b.png", "album/one.png", "album/two.jpg", "album/deeper/three.png", "single/only.png"})
        photo(QLatin1String(name), ++seed);
    QFile broken(images->filePath(QStringLiteral("broken.jpg")));
    QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("no picture") > 0);
    broken.close();
    QString told;
    if (dropped.contains(QStringLiteral("broken.jpg"))) {
        TestModal::answer([&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            if (box) {
                told = box->text();
                box->accept();
            }
            return box != nullptr;
        });
    }
    showWindow();
    QCOMPARE(pages()->currentIndex(), 0);

    QStringList paths;
    for (const QString &name : dropped)
        paths.append(images->filePath(name));
    // The queue takes files in the order they finish opening; with a single worker that is the order they
    // were handed over, which is what this test looks at.
    {
        const auto oneThread = TestPool::ofThreads(1);
        queueAndWait(target.isEmpty() ? nullptr : child(target.toLatin1().constData()), paths);
    }

    QStringList expectedPaths;
    for (const QString &name : expected)
        expectedPaths.append(images->filePath(name));
    QStringList queued = queuedPaths();
    if (dropped.size() == 1) {
        // The files of one folder come in the order the file system lists them.
        queued.sort();
        expectedPaths.sort();
    }
    QCOMPARE(queued, expectedPaths);
    if (dropped.contains(QStringLiteral("broken.jpg"))) {
        QTRY_VERIFY(!told.isEmpty());
        QVERIFY2(told.contains(QDir::toNativeSeparators(broken.fileName())) &&
                     !told.contains(expectedPaths[0]),
                 qPrintable(told));
    }
    QCOMPARE(pages()->currentWidget()->objectName(), QStringLiteral("ResizeWidget"));
}

void tst_MainWindow::openingIsBusyAndCancellable()
{
    const QString kept = photo(QStringLiteral("kept.png"), 1);
    QStringList batch;
    for (int i = 0; i < 3; ++i)
        batch.append(photo(QStringLiteral("batch/photo%1.png").arg(i), i));
    batch.append(images->filePath(QStringLiteral("missing.jpg")));
    showWindow();
    queueAndWait(nullptr, {kept});
    auto *overlay = window->findChild<QWidget *>(QStringLiteral("LoadingWindow"));
    auto *cancel = overlay->findChild<QPushButton *>(QStringLiteral("pbCancel"));
    bool disabled = false, overlayShown = false, cancelUsable = false, dropAccepted = true;
    QString progress;
    connect(queue(), &CImagesModel::imagesIsOpening, this, [&](bool isOpening) {
        if (!isOpening)
            return;
        disabled = !window->isEnabled();
        overlayShown = overlay->isVisible();
        cancelUsable = cancel->isVisible() && cancel->isEnabled();
        progress = overlay->findChild<QLabel *>(QStringLiteral("lblProgress"))->text();
        dropAccepted = sendDrop(child("lblTitle"), {kept});
        QTest::mouseClick(cancel, Qt::LeftButton);
    });
    QSignalSpy leftOut(queue(), &CImagesModel::imagesLeftOut);
    queueAndWait(nullptr, batch);
    QVERIFY2(disabled && overlayShown, "opening must disable the window and show the busy overlay");
    QVERIFY2(cancelUsable, "the overlay's cancel button must be usable during an opening");
    QVERIFY2(!dropAccepted, "a drop during an opening must be refused");
    QCOMPARE(progress, QStringLiteral("0 of 4"));
    QCOMPARE(queuedPaths(), QStringList{kept});
    QCoreApplication::processEvents();
    QVERIFY2(leftOut.isEmpty(), "a cancelled opening must not report its files as left out");
    QVERIFY(window->isEnabled());
    QTRY_VERIFY(!overlay->isVisible());
}

void tst_MainWindow::handedFilesWaitForTheOpening()
{
    const QString first = photo(QStringLiteral("first.png"), 1);
    const QString second = photo(QStringLiteral("second.png"), 2);
    showWindow();
    connect(queue(), &CImagesModel::imagesIsOpening, this, [&](bool isOpening) {
        if (isOpening && queuedPaths().isEmpty())
            window->takeHandedPaths({second});
    });
    QSignalSpy opening(queue(), &CImagesModel::imagesIsOpening);
    window->queuePaths({first});
    QTRY_COMPARE(opening.count(), 4);
    QCOMPARE(queuedPaths(), QStringList({first, second}));
}

void tst_MainWindow::dialogsStartInLastChosenFolder_data()
{
    QTest::addColumn<QString>("firstButton");
    QTest::addColumn<bool>("choose");
    QTest::addColumn<QString>("secondDialog");
    QTest::newRow("folder chosen, then add images") << "pbAddFolder" << true << "add images";
    QTest::newRow("photo chosen, then add folder") << "pbAddImage" << true << "add folder";
    QTest::newRow("photo chosen, then output folder of the resize screen")
        << "pbAddImage" << true << "output folder";
    QTest::newRow("folder chosen, then folder of the settings panel") << "pbAddFolder" << true << "settings";
    QTest::newRow("cancelled add images, then add folder") << "pbAddImage" << false << "add folder";
}

void tst_MainWindow::dialogsStartInLastChosenFolder()
{
    QFETCH(QString, firstButton);
    QFETCH(bool, choose);
    QFETCH(QString, secondDialog);
    const QString picked = photo(QStringLiteral("chosen/one.png"));
    const QString chosen = images->filePath(QStringLiteral("chosen"));
    const QString choice = !choose ? QString() : firstButton == QLatin1String("pbAddImage") ? picked : chosen;
    showWindow();
    QSignalSpy opening(queue(), &CImagesModel::imagesIsOpening);
    const QString firstStart =
        dialogStartFolder([&] { button(firstButton.toLatin1().constData())->click(); }, choice);
    QVERIFY2(firstStart == home.path(), qPrintable(firstStart + " is not the home folder"));
    QCoreApplication::processEvents();
    QTRY_COMPARE(opening.count(), choose ? 2 : 0);
    QCOMPARE(queuedPaths(), choose ? QStringList{picked} : QStringList());
    QCOMPARE(pages()->currentIndex(), choose ? 1 : 0);

    const std::map<QString, std::function<void()>> opens{
        {"add images", [this] { button("pbAddImage")->click(); }},
        {"add folder", [this] { button("pbAddFolder")->click(); }},
        {"output folder",
         [this] { window->findChild<QComboBox *>(QStringLiteral("cbOutputModes"))->setCurrentIndex(2); }},
        {"settings", [this] {
             button("pbSettings")->click();
             window->findChild<QComboBox *>(QStringLiteral("cbPrefix"))->setCurrentIndex(2);
             button("pbSaveSettings")->click();
         }}};
    QCOMPARE(dialogStartFolder(opens.at(secondDialog)), choose ? chosen : home.path());
}

void tst_MainWindow::fullRunLocksAndReturnsToFirstScreen()
{
    QStringList sources;
    for (int i = 0; i < 4; ++i)
        sources.append(photo(QStringLiteral("run/photo%1.jpg").arg(i), i));
    showWindow();
    queueAndWait(child("lblDropFiles"), {images->filePath(QStringLiteral("run"))});
    QCOMPARE(pages()->currentIndex(), 1);
    button("pbOpenFolder")->click();
    window->findChild<QAbstractButton *>(QStringLiteral("tbOpenLastFolder"))->click();
    QVERIFY2(opened.isEmpty(), "nothing was resized yet, so no folder may be opened");
    window->showMinimized();

    bool locked = false, othersFree = false, dropAccepted = true;
    const QString late = photo(QStringLiteral("late.png"));
    auto *resizeScreen = window->findChild<ResizeWidget *>();
    QSignalSpy status(resizeScreen, &ResizeWidget::resizeStatusChanged);
    connect(resizeScreen, &ResizeWidget::resizeStatusChanged, this, [&](bool isResizing) {
        if (!isResizing)
            return;
        locked = !button("pbAddImage")->isEnabled() && !button("pbAddFolder")->isEnabled() &&
                 !button("pbSettings")->isEnabled();
        othersFree = button("pbOpenFolder")->isEnabled() && button("pbClose")->isEnabled();
        // Help and home open their shipped pages during a run too.
        button("pbHelp")->click();
        button("pbTamarind")->click();
        dropAccepted = sendDrop(child("lblTitle"), {late});
        window->takeHandedPaths({late});
    });
    for (const char *dialog : {"ResizeQueueDialog/pbAccept", "ResizeFinishedDialog/pbClose"}) {
        const QStringList parts = QString::fromLatin1(dialog).split(QLatin1Char('/'));
        TestModal::answer([parts](QWidget *modal) {
            if (!modal->inherits(parts[0].toLatin1().constData()))
                return false;
            modal->findChild<QPushButton *>(parts[1])->click();
            return true;
        });
    }
    resizeScreen->findChild<QPushButton *>(QStringLiteral("pbResize"))->click();

    QTRY_COMPARE(status.count(), 2);
    QVERIFY2(locked, "adding images and the settings must be locked during a run");
    QVERIFY2(othersFree, "help, home, folder and close buttons stay usable during a run");
    QVERIFY2(!dropAccepted, "a drop during a run must be refused");
    QVERIFY2(!window->isMinimized(), "a hand-over must bring the window to the front");
    // The run's rows are gone and the file handed over during the run came in after it.
    QTRY_COMPARE(queuedPaths(), QStringList{late});
    for (const QString &source : qAsConst(sources)) {
        const QFileInfo info(source);
        const QString output = info.absolutePath() + QStringLiteral("/mini_") + info.fileName();
        QVERIFY2(QFileInfo::exists(output), qPrintable(output + " was not written"));
        QCOMPARE(TestImages::pixelSize(source), QSize(32, 24));
    }
    QVERIFY(button("pbAddImage")->isEnabled() && button("pbSettings")->isEnabled());
    QTRY_VERIFY(!QApplication::activeModalWidget());

    button("pbOpenFolder")->click();
    const QString here = QCoreApplication::applicationDirPath();
    QCOMPARE(opened, QList<QUrl>({QUrl::fromLocalFile(here + QStringLiteral("/Manuals/Brindle/index.html")),
                                  QUrl::fromLocalFile(here + QStringLiteral("/index.html")),
                                  QUrl::fromLocalFile(images->filePath(QStringLiteral("run")))}));
}

// Language and output choices saved in the panel reach the screens at once, without a restart.
void tst_MainWindow::savedPanelRefreshesEveryScreen()
{
    showWindow();
    queueAndWait(nullptr, {TestImages::write(images->filePath(QStringLiteral("a.jpg")), QSize(400, 300))});
    auto *band = window->findChild<QLabel *>(QStringLiteral("lbEvaluationResult"));
    const QString enlarged = band->text();
    const QString home = button("pbTamarind")->text();
    button("pbSettings")->click();
    auto *languages = window->findChild<QComboBox *>(QStringLiteral("cbLanguages"));
    languages->setCurrentIndex(languages->findText(QStringLiteral("German"), Qt::MatchStartsWith));
    QVERIFY2(languages->currentIndex() >= 0, "no German row in the language list");
    window->findChild<QCheckBox *>(QStringLiteral("cbNeverEnlarge"))->setChecked(true);
    button("pbSaveSettings")->click();
    QTRY_COMPARE(button("pbHelp")->text(), QStringLiteral("Hilfe"));
    QCOMPARE(button("pbAddImage")->text(), QStringLiteral("Fotos hinzufügen"));
    QCOMPARE(window->findChild<QLabel *>(QStringLiteral("lblDropFiles"))->text(),
             QStringLiteral("Fotos hierher ziehen"));
    QCOMPARE(button("pbTamarind")->text(), home);
    QVERIFY2(band->text() != enlarged, qPrintable("saving the panel left the estimate at " + enlarged));
}

void tst_MainWindow::splashClosesItselfAfterItsTime()
{
    const int displayTime = 150;
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

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
