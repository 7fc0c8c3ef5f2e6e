#include "cimagesmodel.h"
#include "csettings.h"
#include "initialwidget.h"
#include "mainwindow.h"
#include "modalanswer.h"
#include "resizewidget.h"
#include "testimages.h"

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <functional>
#include <memory>

namespace {

// Clicks a button of the modal window when it is the dialog of that class.
bool clickInModal(QWidget *modal, const char *className, const char *buttonName)
{
    if (!modal->inherits(className))
        return false;
    modal->findChild<QPushButton *>(QLatin1String(buttonName))->click();
    return true;
}

} // namespace

// Records the pages the program asks the desktop to open instead of launching a browser.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened.append(url); }
};

class tst_MainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void dropsQueueInDropOrder_data();
    void dropsQueueInDropOrder();
    void busyWhileOpeningAndRefusesDrops();
    void filesLeftOutAreNamed();
    void cancelledDialogsQueueNothing_data();
    void cancelledDialogsQueueNothing();
    void fullRunLocksAndReturnsToFirstScreen();
    void lastFolderBeforeAnyRunOpensNothing();
    void helpAndHomeOpenShippedPages_data();
    void helpAndHomeOpenShippedPages();
    void draggingMovesOnlyWithLeftButton_data();
    void draggingMovesOnlyWithLeftButton();
    void splashOnFirstShowOnly();
    void savedLanguageRelabelsEveryScreen();

private:
    QWidget *child(const char *name) const;
    QPushButton *button(const char *name) const
    {
        return window->findChild<QPushButton *>(QLatin1String(name));
    }
    QStackedWidget *pages() const { return window->findChild<QStackedWidget *>(QStringLiteral("wMain")); }
    CImagesModel *queue() const;
    QStringList queuedPaths() const;
    void showWindow();
    bool sendDrop(QWidget *target, const QStringList &paths);
    void dropAndWait(QWidget *target, const QStringList &paths);
    QString photo(const QString &relativePath, int seed = 0);

    QTemporaryDir workDir;
    std::unique_ptr<QTemporaryDir> images;
    std::unique_ptr<CSettings> settings;
    std::unique_ptr<MainWindow> window;
    UrlRecorder urls;
    int splashes = 0;
};

void tst_MainWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(workDir.isValid());
    QVERIFY(QDir::setCurrent(workDir.path()));
    // The program looks next to its executable for translations and its pages, which the build put in bin/.
    const QString here = QCoreApplication::applicationDirPath();
    const QString bin = QStringLiteral(BRINDLE_BIN_DIR);
    QDir(here + QStringLiteral("/Translations")).removeRecursively();
    QDir(here + QStringLiteral("/Manuals")).removeRecursively();
    QFile::remove(here + QStringLiteral("/index.html"));
    QVERIFY(QDir().mkpath(here + QStringLiteral("/Translations")));
    QVERIFY(QDir().mkpath(here + QStringLiteral("/Manuals/Brindle")));
    for (const QString &name : QDir(bin + QStringLiteral("/Translations")).entryList(QDir::Files))
        QVERIFY(QFile::copy(bin + QStringLiteral("/Translations/") + name,
                            here + QStringLiteral("/Translations/") + name));
    QVERIFY2(QFile::copy(bin + QStringLiteral("/Manuals/Brindle/index.html"),
                         here + QStringLiteral("/Manuals/Brindle/index.html")),
             "the build did not place the manual next to the program");
    QVERIFY2(QFile::copy(bin + QStringLiteral("/index.html"), here + QStringLiteral("/index.html")),
             "the build did not place the home page next to the program");
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &urls, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &urls, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &urls, "open");
}

void tst_MainWindow::init()
{
    images = std::make_unique<QTemporaryDir>();
    QFile::remove(QStringLiteral("Settings.ini"));
    settings = std::make_unique<CSettings>(QStringLiteral("Settings.ini"));
    settings->setLanguage(QStringLiteral("en_US"));
    window = std::make_unique<MainWindow>(settings.get());
    urls.opened.clear();
    splashes = 0;
}

void tst_MainWindow::cleanup()
{
    window.reset();
    settings.reset();
    images.reset();
}

QWidget *tst_MainWindow::child(const char *name) const
{
    return window->findChild<QWidget *>(QLatin1String(name));
}

CImagesModel *tst_MainWindow::queue() const
{
    return qobject_cast<CImagesModel *>(
        window->findChild<QTableView *>(QStringLiteral("tvImagesQueue"))->model());
}

QStringList tst_MainWindow::queuedPaths() const
{
    QStringList paths;
    for (int row = 0; row < queue()->rowCount(); ++row)
        paths.append(queue()->data(queue()->index(row, 1), Qt::UserRole).value<CImageInfo>().fullPath());
    return paths;
}

void tst_MainWindow::showWindow()
{
    // The program's splash stays three seconds; the tests close it as soon as it is up.
    TestModal::answer([this](QWidget *modal) {
        if (!modal->inherits("StartSplash"))
            return false;
        ++splashes;
        modal->close();
        return true;
    });
    window->show();
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

void tst_MainWindow::dropAndWait(QWidget *target, const QStringList &paths)
{
    QSignalSpy opening(queue(), &CImagesModel::imagesIsOpening);
    QVERIFY2(sendDrop(target, paths), "the drop was refused");
    QTRY_VERIFY(opening.count() == 2);
}

QString tst_MainWindow::photo(const QString &relativePath, int seed)
{
    const QString path = images->filePath(relativePath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    return TestImages::write(path, QSize(64, 48), nullptr, seed);
}

void tst_MainWindow::dropsQueueInDropOrder_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("dropped");
    QTest::addColumn<QStringList>("expected");

    // Paths are relative to the image folder; a trailing slash marks a folder.
    QTest::newRow("files on the hint label")
        << "lblDropFiles" << QStringList{"b.png", "a.jpg"} << QStringList{"b.png", "a.jpg"};
    QTest::newRow("folder on the logo, one level deep")
        << "lblLogo" << QStringList{"album/"} << QStringList{"album/one.png", "album/two.jpg"};
    QTest::newRow("file, folder, file on the title bar")
        << "lblTitle" << QStringList{"b.png", "single/", "a.jpg"}
        << QStringList{"b.png", "single/only.png", "a.jpg"};
    QTest::newRow("folder on the body")
        << "wBody" << QStringList{"album/"} << QStringList{"album/one.png", "album/two.jpg"};
}

void tst_MainWindow::dropsQueueInDropOrder()
{
    QFETCH(QString, target);
    QFETCH(QStringList, dropped);
    QFETCH(QStringList, expected);
    photo(QStringLiteral("a.jpg"), 1);
    photo(QStringLiteral("b.png"), 2);
    photo(QStringLiteral("album/one.png"), 3);
    photo(QStringLiteral("album/two.jpg"), 4);
    photo(QStringLiteral("album/deeper/three.png"), 5);
    photo(QStringLiteral("single/only.png"), 6);
    showWindow();
    // Warnings only: the queue answers the display role with a thumbnail picture, which the tester rejects.
    QAbstractItemModelTester tester(queue(), QAbstractItemModelTester::FailureReportingMode::Warning);
    QCOMPARE(pages()->currentIndex(), 0);

    QStringList paths;
    for (const QString &name : dropped)
        paths.append(images->filePath(name));
    // The queue takes files in the order they finish opening; with a single worker that is the order they
    // were handed over, which is what this test looks at.
    QThreadPool *pool = QThreadPool::globalInstance();
    const int threads = pool->maxThreadCount();
    pool->setMaxThreadCount(1);
    dropAndWait(child(target.toLatin1().constData()), paths);
    pool->setMaxThreadCount(threads);

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
    QCOMPARE(pages()->currentIndex(), 1);
}

void tst_MainWindow::busyWhileOpeningAndRefusesDrops()
{
    const QString first = photo(QStringLiteral("first.png"), 1);
    const QString second = photo(QStringLiteral("second.png"), 2);
    showWindow();
    bool disabled = false, overlayShown = false, secondDropAccepted = true;
    connect(queue(), &CImagesModel::imagesIsOpening, this, [&](bool isOpening) {
        if (!isOpening)
            return;
        disabled = !window->isEnabled();
        overlayShown = window->findChild<QWidget *>(QStringLiteral("LoadingWindow"))->isVisible();
        secondDropAccepted = sendDrop(child("lblTitle"), {second});
    });
    dropAndWait(child("lblDropFiles"), {first});
    QVERIFY2(disabled && overlayShown, "opening must disable the window and show the busy overlay");
    QVERIFY2(!secondDropAccepted, "a drop during an opening must be refused");
    QVERIFY(window->isEnabled());
    QTRY_VERIFY(!window->findChild<QWidget *>(QStringLiteral("LoadingWindow"))->isVisible());
    QCOMPARE(queuedPaths(), QStringList{first});
}

void tst_MainWindow::cancelledDialogsQueueNothing_data()
{
    QTest::addColumn<QString>("buttonName");
    QTest::newRow("add image") << "pbAddImage";
    QTest::newRow("add folder") << "pbAddFolder";
}

void tst_MainWindow::cancelledDialogsQueueNothing()
{
    QFETCH(QString, buttonName);
    showWindow();
    QSignalSpy opening(queue(), &CImagesModel::imagesIsOpening);
    QString startFolder;
    TestModal::answer([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog)
            return false;
        startFolder = dialog->directory().absolutePath();
        dialog->reject();
        return true;
    });
    button(buttonName.toLatin1().constData())->click();
    QCOMPARE(startFolder, QDir(QCoreApplication::applicationDirPath()).absolutePath());
    QCoreApplication::processEvents();
    QCOMPARE(opening.count(), 0);
    QCOMPARE(pages()->currentIndex(), 0);
}

void tst_MainWindow::fullRunLocksAndReturnsToFirstScreen()
{
    QStringList sources;
    for (int i = 0; i < 4; ++i)
        sources.append(photo(QStringLiteral("run/photo%1.jpg").arg(i), i));
    showWindow();
    dropAndWait(child("lblDropFiles"), {images->filePath(QStringLiteral("run"))});
    QCOMPARE(pages()->currentIndex(), 1);

    bool locked = false, othersFree = false, dropAccepted = true;
    const QString late = photo(QStringLiteral("late.png"));
    auto *resizeScreen = window->findChild<ResizeWidget *>();
    QSignalSpy status(resizeScreen, &ResizeWidget::resizeStatusChanged);
    connect(resizeScreen, &ResizeWidget::resizeStatusChanged, this, [&](bool isResizing) {
        if (!isResizing)
            return;
        locked = !button("pbAddImage")->isEnabled() && !button("pbAddFolder")->isEnabled() &&
                 !button("pbSettings")->isEnabled();
        othersFree = button("pbHelp")->isEnabled() && button("pbTamarind")->isEnabled() &&
                     button("pbOpenFolder")->isEnabled() && button("pbClose")->isEnabled();
        dropAccepted = sendDrop(child("lblTitle"), {late});
    });
    TestModal::answer([](QWidget *modal) { return clickInModal(modal, "ResizeQueueDialog", "pbAccept"); });
    TestModal::answer([](QWidget *modal) { return clickInModal(modal, "ResizeFinishedDialog", "pbClose"); });
    resizeScreen->findChild<QPushButton *>(QStringLiteral("pbResize"))->click();

    QTRY_COMPARE(status.count(), 2);
    QVERIFY2(locked, "adding images and the settings must be locked during a run");
    QVERIFY2(othersFree, "help, home, folder and close buttons stay usable during a run");
    QVERIFY2(!dropAccepted, "a drop during a run must be refused");
    QTRY_COMPARE(pages()->currentIndex(), 0);
    for (const QString &source : qAsConst(sources)) {
        const QFileInfo info(source);
        const QString output = info.absolutePath() + QStringLiteral("/mini_") + info.fileName();
        QVERIFY2(QFileInfo::exists(output), qPrintable(output + " was not written"));
        QCOMPARE(TestImages::pixelSize(source), QSize(64, 48));
    }
    QVERIFY(button("pbAddImage")->isEnabled() && button("pbSettings")->isEnabled());
    QTRY_VERIFY(!QApplication::activeModalWidget());

    button("pbOpenFolder")->click();
    QCOMPARE(urls.opened, QList<QUrl>{QUrl::fromLocalFile(images->filePath(QStringLiteral("run")))});
}

void tst_MainWindow::filesLeftOutAreNamed()
{
    const QString good = photo(QStringLiteral("good.png"), 1);
    const QString broken = images->filePath(QStringLiteral("broken.jpg"));
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("no picture");
    file.close();
    showWindow();
    QString told;
    TestModal::answer([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box)
            return false;
        told = box->text();
        box->accept();
        return true;
    });
    dropAndWait(child("lblDropFiles"), {broken, good});
    QCOMPARE(queuedPaths(), QStringList{good});
    QTRY_VERIFY(!told.isEmpty());
    QVERIFY2(told.contains(QDir::toNativeSeparators(broken)) && !told.contains(good), qPrintable(told));
}

void tst_MainWindow::lastFolderBeforeAnyRunOpensNothing()
{
    showWindow();
    button("pbOpenFolder")->click();
    window->findChild<QToolButton *>(QStringLiteral("tbOpenLastFolder"))->click();
    QVERIFY2(urls.opened.isEmpty(), "nothing was resized yet, so no folder may be opened");
}

void tst_MainWindow::helpAndHomeOpenShippedPages_data()
{
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<QString>("page");
    QTest::newRow("help opens the manual") << "pbHelp"
                                           << "/Manuals/Brindle/index.html";
    QTest::newRow("home opens the home page") << "pbTamarind"
                                              << "/index.html";
}

void tst_MainWindow::helpAndHomeOpenShippedPages()
{
    QFETCH(QString, buttonName);
    QFETCH(QString, page);
    showWindow();
    button(buttonName.toLatin1().constData())->click();
    QCOMPARE(urls.opened.size(), 1);
    const QString opened = urls.opened.first().toLocalFile();
    QCOMPARE(opened, QCoreApplication::applicationDirPath() + page);
    QVERIFY2(QFileInfo::exists(opened), qPrintable(opened + " does not exist"));
}

void tst_MainWindow::draggingMovesOnlyWithLeftButton_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("moves");
    QTest::newRow("left button moves") << int(Qt::LeftButton) << true;
    QTest::newRow("right button does not") << int(Qt::RightButton) << false;
}

void tst_MainWindow::draggingMovesOnlyWithLeftButton()
{
    QFETCH(int, button);
    QFETCH(bool, moves);
    showWindow();
    window->move(100, 100);
    const QPoint start = window->pos();
    QWidget *title = child("lblTitle");
    const QPoint local(10, 10);
    const QPoint global = title->mapToGlobal(local);
    const auto mouseButton = Qt::MouseButton(button);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, mouseButton, mouseButton, Qt::NoModifier);
    QCoreApplication::sendEvent(title, &press);
    const QPoint delta(37, 21);
    QMouseEvent move(QEvent::MouseMove, local + delta, global + delta, Qt::NoButton, mouseButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(title, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, local + delta, global + delta, mouseButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(title, &release);
    QCOMPARE(window->pos(), moves ? start + delta : start);
}

void tst_MainWindow::splashOnFirstShowOnly()
{
    showWindow();
    QCOMPARE(splashes, 1);
    window->showMinimized();
    window->showNormal();
    window->hide();
    window->show();
    QCoreApplication::processEvents();
    QCOMPARE(splashes, 1);
}

void tst_MainWindow::savedLanguageRelabelsEveryScreen()
{
    showWindow();
    const QString home = button("pbTamarind")->text();
    button("pbSettings")->click();
    auto *languages = window->findChild<QComboBox *>(QStringLiteral("cbLanguages"));
    languages->setCurrentIndex(languages->findText(QStringLiteral("German"), Qt::MatchStartsWith));
    QVERIFY2(languages->currentIndex() >= 0, "no German row in the language list");
    button("pbSaveSettings")->click();
    auto *firstScreen = window->findChild<InitialWidget *>();
    QTRY_COMPARE(button("pbHelp")->text(), QStringLiteral("Hilfe"));
    QCOMPARE(firstScreen->findChild<QPushButton *>(QStringLiteral("pbAddImage"))->text(),
             QStringLiteral("Fotos hinzufügen"));
    QCOMPARE(window->findChild<QFrame *>(QStringLiteral("wShadow"))
                 ->findChild<QLabel *>(QStringLiteral("label"))
                 ->text(),
             QStringLiteral("Einstellungen"));
    QCOMPARE(button("pbTamarind")->text(), home);
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
