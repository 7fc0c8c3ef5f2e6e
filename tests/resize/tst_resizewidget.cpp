#include "BrindleCore.h"
#include "cimagesmodel.h"
#include "cprofilescombobox.h"
#include "csettings.h"
#include "heldfile.h"
#include "photofiles.h"
#include "resizewidget.h"
#include "testimages.h"
#include "testpool.h"

#include <Magick++.h>
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

// Stands in for the desktop's file browser.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls.append(url); }
};

// Answers the modal windows (dialogs, message boxes, the folder chooser) in the order they are shown.
class ModalAnswers : public QObject
{
public:
    using Answer = std::function<void(QWidget *)>;

    explicit ModalAnswers(const QList<Answer> &answers)
        : answers(answers)
    {
        connect(&timer, &QTimer::timeout, this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || answered == this->answers.size())
                return;
            this->answers.at(answered++)(modal);
        });
        timer.start(10);
    }

    int answered = 0;

private:
    QList<Answer> answers;
    QTimer timer;
};

static void acceptModal(QWidget *modal)
{
    qobject_cast<QDialog *>(modal)->accept();
}

static void rejectModal(QWidget *modal)
{
    qobject_cast<QDialog *>(modal)->reject();
}

// Decoders stop at the image's end, so padding sets the file size without changing the picture.
static bool padTo(const QString &path, qint64 bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::Append) || file.size() > bytes)
        return false;
    return file.write(QByteArray(int(bytes - file.size()), '\0')) >= 0;
}

class tst_ResizeWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void timeText_data();
    void timeText();
    void storedOutputMode_data();
    void storedOutputMode();
    void constructionFillsFieldsAndEstimate();
    void profilesAndTypedSizes();
    void sideBoxes_data();
    void sideBoxes();
    void cancelledFolderChooserReturnsToPrefix();
    void rowButtonsFollowTheQueue();
    void confirmationRejectedStartsNothing();
    void wholeRun_data();
    void wholeRun();
    void cancelledRunKeepsTheQueue();
    void refusedRunKeepsTheQueue();
    void failingImageIsReported();
    void cancelLeavesTheWindowFree();
    void queueStaysDuringARun_data();
    void queueStaysDuringARun();
    void languageChangeRefillsQueueTexts();
    void estimateFollowsSavedChoices_data();
    void estimateFollowsSavedChoices();
    void runTakesChoicesStoredSinceStartUp();

private:
    void makeScreen(const QString &prefix, const QStringList &paths);
    QString image(const QString &name, const QSize &size);
    template <typename T>
    T *child(const char *name) const
    {
        T *found = screen->findChild<T *>(QLatin1String(name));
        Q_ASSERT(found);
        return found;
    }
    QPushButton *rowButton(int row) const
    {
        return qobject_cast<QPushButton *>(
            child<QTableView>("tvImagesQueue")->indexWidget(model->index(row, 2)));
    }
    bool startHeldRun(HeldFile &held, QSignalSpy &status);
    QStringList estimate() const { return child<QLabel>("lbEvaluationResult")->text().split(' '); }
    QString engineEstimate(const QSize &size, int quality = 0, bool strip = false,
                           bool neverEnlarge = false) const;

    UrlRecorder recorder;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<CSettings> settings;
    std::unique_ptr<CImagesModel> model;
    std::unique_ptr<QAbstractItemModelTester> tester;
    std::unique_ptr<ResizeWidget> screen;
};

void tst_ResizeWidget::initTestCase()
{
    Magick::InitializeMagick(nullptr);
    QStandardPaths::setTestModeEnabled(true);
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
    // The texts are checked as their keys: no translation may lie next to the test program.
    QVERIFY(QDir(translationsPath()).removeRecursively());
}

void tst_ResizeWidget::cleanupTestCase()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

void tst_ResizeWidget::init()
{
    dir.reset(new QTemporaryDir);
    QVERIFY(dir->isValid());
    QVERIFY(QDir::setCurrent(dir->path()));
    recorder.urls.clear();
}

void tst_ResizeWidget::cleanup()
{
    screen.reset();
    tester.reset();
    model.reset();
    settings.reset();
    QDir::setCurrent(QDir::tempPath());
    dir.reset();
}

void tst_ResizeWidget::makeScreen(const QString &prefix, const QStringList &paths)
{
    if (!prefix.isNull()) {
        QSettings ini(QStringLiteral("Settings.ini"), QSettings::IniFormat);
        ini.setValue(QStringLiteral("Main/Prefix"), prefix);
    }
    settings.reset(new CSettings(QStringLiteral("Settings.ini")));
    model.reset(new CImagesModel);
    // Warnings only: the queue answers its display role with the thumbnail, which the tester wants as text.
    tester.reset(
        new QAbstractItemModelTester(model.get(), QAbstractItemModelTester::FailureReportingMode::Warning));
    {
        // A modal window during construction would block it for ever; this closes and counts it.
        ModalAnswers guard({rejectModal});
        screen.reset(new ResizeWidget(settings.get(), model.get(), nullptr));
        QVERIFY2(guard.answered == 0, "constructing the screen opened a modal window");
    }
    if (!paths.isEmpty()) {
        QSignalSpy opened(model.get(), &CImagesModel::rowsCountChanged);
        model->openImages(paths);
        QVERIFY(opened.wait(10000));
        QCOMPARE(model->rowCount(), paths.size());
    }
}

// The engine's own estimate of the queue at size for the screen's side boxes as built, as the band shows it.
QString tst_ResizeWidget::engineEstimate(const QSize &size, int quality, bool strip, bool neverEnlarge) const
{
    CImagesResizer engine;
    engine.setSize(size);
    engine.setResizeParameters(CImagesResizer::UseWidth | CImagesResizer::UseHeight);
    engine.setJpegQuality(quality);
    engine.setStripDetails(strip);
    engine.setNeverEnlarge(neverEnlarge);
    return QString::number(engine.evaluationResize(model->images()).evalutionSize(), 'f', 2);
}

QString tst_ResizeWidget::image(const QString &name, const QSize &size)
{
    const QString path = TestImages::write(dir->filePath(name), size);
    Q_ASSERT(!path.isEmpty());
    return path;
}

void tst_ResizeWidget::timeText_data()
{
    QTest::addColumn<uint>("msecs");
    QTest::addColumn<QString>("text");
    QTest::newRow("milliseconds dropped") << 83456u << "00:01:23";
    QTest::newRow("hours, minutes and seconds") << 3723000u << "01:02:03";
    QTest::newRow("just under a day") << 86399999u << "23:59:59";
    QTest::newRow("more than a day") << 90187000u << "25:03:07";
}

void tst_ResizeWidget::timeText()
{
    QFETCH(uint, msecs);
    QFETCH(QString, text);
    QCOMPARE(ResizeWidget::timeText(msecs), text);
}

void tst_ResizeWidget::storedOutputMode_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("folderRowText");
    const QString prompt = QStringLiteral("t_choose_folder");
    QTest::newRow("nothing stored") << QString() << 0 << prompt;
    QTest::newRow("same in capitals") << "SAME" << 0 << prompt;
    QTest::newRow("subfolder") << "SubFolder" << 1 << prompt;
    QTest::newRow("short folder shown whole") << "/out" << 2 << "/out";
    QTest::newRow("long folder shortened") << "/home/user/Pictures/Small" << 2 << "\\....\\Small";
}

void tst_ResizeWidget::storedOutputMode()
{
    QFETCH(QString, prefix);
    QFETCH(int, row);
    QFETCH(QString, folderRowText);
    makeScreen(prefix, {});
    auto *modes = child<QComboBox>("cbOutputModes");
    QCOMPARE(modes->currentIndex(), row);
    QCOMPARE(modes->itemText(2), folderRowText);
}

void tst_ResizeWidget::constructionFillsFieldsAndEstimate()
{
    const QString a = image(QStringLiteral("a.png"), QSize(400, 300));
    const QString b = image(QStringLiteral("b.png"), QSize(400, 300));
    QVERIFY(padTo(a, 1572864));
    QVERIFY(padTo(b, 2359296));
    makeScreen(QString(), {a, b});

    QCOMPARE(child<QLineEdit>("leWidth")->text(), QStringLiteral("1024"));
    QCOMPARE(child<QLineEdit>("leHeight")->text(), QStringLiteral("768"));
    QCOMPARE(estimate(), QStringList({"t_result_size", engineEstimate(QSize(1024, 768)), "3.75", "2"}));
    QVERIFY(child<QTableView>("tvImagesQueue")->isEnabled());
    QCOMPARE(child<QPushButton>("pbClearQueue")->text(), QStringLiteral("t_clear_queue 2"));
}

void tst_ResizeWidget::profilesAndTypedSizes()
{
    const QString source = image(QStringLiteral("a.png"), QSize(1000, 500));
    QVERIFY(padTo(source, 2 * 1024 * 1024));
    makeScreen(QString(), {source});
    auto *profiles = child<CProfilesComboBox>("cbProfiles");
    auto *width = child<QLineEdit>("leWidth");
    auto *height = child<QLineEdit>("leHeight");

    profiles->setCurrentIndex(2);
    const QSize desktop = profiles->itemData(2, Qt::UserRole).toSize();
    QCOMPARE(width->text(), QString::number(desktop.width()));
    QCOMPARE(height->text(), QString::number(desktop.height()));

    profiles->setCurrentIndex(0);
    QCOMPARE(width->text(), QStringLiteral("1024"));
    profiles->setCurrentIndex(1);
    QVERIFY2(width->text() == QStringLiteral("1024"), "the manual profile must keep the typed size");

    profiles->setCurrentIndex(0);
    width->selectAll();
    QTest::keyClicks(width, QStringLiteral("500"));
    QCOMPARE(profiles->currentIndex(), 1);
    QCOMPARE(estimate().at(1), engineEstimate(QSize(500, 768)));
    height->end(false);
    QTest::keyClick(height, Qt::Key_Backspace);
    QVERIFY(engineEstimate(QSize(500, 76)) != engineEstimate(QSize(500, 768)));
    QVERIFY2(estimate().at(1) == engineEstimate(QSize(500, 76)),
             "an edit with the manual profile chosen is lost");
    width->selectAll();
    QTest::keyClicks(width, QStringLiteral("x"));
    QCOMPARE(estimate().at(1), QStringLiteral("0.00"));
}

void tst_ResizeWidget::sideBoxes_data()
{
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QString>("enabled");
    // Boxes w(idth), h(eight), a(spect ratio), v(ertical images); enabled: width field, height field, v.
    QTest::newRow("as built") << ""
                              << "wh"
                              << "WH";
    QTest::newRow("width off disables its field") << "w"
                                                  << "h"
                                                  << "H";
    QTest::newRow("height off disables its field") << "h"
                                                   << "w"
                                                   << "W";
    QTest::newRow("last side box cannot go") << "hw"
                                             << "h"
                                             << "H";
    QTest::newRow("all three enable the vertical box") << "a"
                                                       << "wha"
                                                       << "WHV";
    QTest::newRow("aspect off clears the vertical box") << "ava"
                                                        << "wh"
                                                        << "WH";
    QTest::newRow("height off clears the vertical box") << "avh"
                                                        << "wa"
                                                        << "W";
}

void tst_ResizeWidget::sideBoxes()
{
    QFETCH(QString, clicks);
    QFETCH(QString, checked);
    QFETCH(QString, enabled);
    makeScreen(QString(), {});
    const QMap<QChar, QCheckBox *> boxes{{'w', child<QCheckBox>("cbWidth")},
                                         {'h', child<QCheckBox>("cbHeight")},
                                         {'a', child<QCheckBox>("cbOriginalAspectRatio")},
                                         {'v', child<QCheckBox>("cbVeiar")}};
    for (const QChar box : clicks)
        boxes[box]->click();

    QString isChecked;
    for (auto it = boxes.cbegin(); it != boxes.cend(); ++it)
        if (it.value()->isChecked())
            isChecked += it.key();
    std::sort(checked.begin(), checked.end());
    QCOMPARE(isChecked, checked);
    QCOMPARE(child<QLineEdit>("leWidth")->isEnabled(), enabled.contains('W'));
    QCOMPARE(child<QLineEdit>("leHeight")->isEnabled(), enabled.contains('H'));
    QCOMPARE(boxes['v']->isEnabled(), enabled.contains('V'));
}

void tst_ResizeWidget::cancelledFolderChooserReturnsToPrefix()
{
    const QString source = image(QStringLiteral("a.png"), QSize(40, 30));
    makeScreen(QStringLiteral("subfolder"), {source});
    ModalAnswers answers({rejectModal, acceptModal, rejectModal});
    child<QComboBox>("cbOutputModes")->setCurrentIndex(2);
    QCOMPARE(answers.answered, 1);
    QCOMPARE(child<QComboBox>("cbOutputModes")->currentIndex(), 0);

    child<QPushButton>("pbResize")->click();
    QTRY_COMPARE_WITH_TIMEOUT(answers.answered, 3, 20000);
    QVERIFY2(QFile::exists(dir->filePath(QStringLiteral("mini_a.png"))), "not back in prefix mode");
}

void tst_ResizeWidget::rowButtonsFollowTheQueue()
{
    const QStringList paths{image(QStringLiteral("a.png"), QSize(40, 30)),
                            image(QStringLiteral("b.png"), QSize(40, 30)),
                            image(QStringLiteral("c.png"), QSize(40, 30))};
    makeScreen(QString(), paths);
    auto *table = child<QTableView>("tvImagesQueue");
    const auto button = [&](int row) {
        return qobject_cast<QPushButton *>(table->indexWidget(model->index(row, 2)));
    };
    for (int row = 0; row < 3; ++row) {
        QVERIFY(button(row));
        QCOMPARE(button(row)->objectName(), model->images().at(row).fullPath());
    }

    const QString written = dir->filePath(QStringLiteral("out/b.png"));
    model->setImageResized(model->images().at(1).fullPath(), written);
    QCOMPARE(button(1)->objectName(), written);
    button(1)->click();
    QCOMPARE(recorder.urls, QList<QUrl>{QUrl::fromLocalFile(dir->filePath(QStringLiteral("out")))});

    const QString first = button(0)->objectName();
    button(0)->click();
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->indexOfPath(first), -1);
    QCOMPARE(child<QPushButton>("pbClearQueue")->text(), QStringLiteral("t_clear_queue 2"));
    child<QPushButton>("pbClearQueue")->click();
    QVERIFY(!table->isEnabled());
}

void tst_ResizeWidget::confirmationRejectedStartsNothing()
{
    makeScreen(QString(), {image(QStringLiteral("a.png"), QSize(40, 30))});
    QSignalSpy status(screen.get(), &ResizeWidget::resizeStatusChanged);
    QString question;
    ModalAnswers answers({[&](QWidget *modal) {
        question = modal->findChild<QLabel *>(QStringLiteral("lblText"))->text();
        rejectModal(modal);
    }});
    child<QPushButton>("pbResize")->click();
    QCOMPARE(question, QStringLiteral("t_resize_question 1"));
    QVERIFY(!screen->isResizing());
    QCOMPARE(status.count(), 0);
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(child<QStackedWidget>("swResize")->currentIndex(), 0);
}

void tst_ResizeWidget::wholeRun_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("output");
    QTest::newRow("beside the source with a prefix") << "same" << 0 << "mini_%1";
    QTest::newRow("sub-folder named after the typed size") << "same" << 1 << "resized_16x12/%1";
    QTest::newRow("stored folder, used without asking") << "out" << 2 << "out/%1";
}

void tst_ResizeWidget::wholeRun()
{
    QFETCH(QString, prefix);
    QFETCH(int, mode);
    QFETCH(QString, output);
    QStringList names{"a.png", "b.jpg", "c.bmp", "d.png", "e.jpg"};
    QStringList paths;
    for (const QString &name : names)
        paths << image(name, QSize(64, 48));
    makeScreen(prefix == QLatin1String("out") ? dir->filePath(prefix) : prefix, paths);
    auto *width = child<QLineEdit>("leWidth");
    auto *height = child<QLineEdit>("leHeight");
    child<QComboBox>("cbOutputModes")->setCurrentIndex(mode);
    // Typed after choosing the mode: the sub-folder name must follow.
    width->selectAll();
    QTest::keyClicks(width, QStringLiteral("16"));
    height->selectAll();
    QTest::keyClicks(height, QStringLiteral("12"));

    QSignalSpy status(screen.get(), &ResizeWidget::resizeStatusChanged);
    QString countAtStart;
    connect(screen.get(), &ResizeWidget::resizeStatusChanged, this, [&](bool running) {
        if (running)
            countAtStart = child<QLabel>("lblResizeCount")->text();
    });
    int rowsAtDialog = -1;
    ModalAnswers answers({acceptModal, [&](QWidget *modal) {
                              rowsAtDialog = model->rowCount();
                              acceptModal(modal);
                          }});
    child<QPushButton>("pbResize")->click();
    QCOMPARE(child<QProgressBar>("pbrResizeProgress")->maximum(), 5);
    QTRY_COMPARE_WITH_TIMEOUT(answers.answered, 2, 20000);
    QVERIFY2(rowsAtDialog == 0, "the queue must be empty before the completion dialog shows");

    QCOMPARE(status.count(), 2);
    QCOMPARE(status.at(0).at(0).toBool(), true);
    QCOMPARE(status.at(1).at(0).toBool(), false);
    QCOMPARE(countAtStart, QStringLiteral("t_resized_count 0 5"));
    QCOMPARE(child<QLabel>("lblResizeCount")->text(), QStringLiteral("t_resized_count 5 5"));
    QCOMPARE(child<QStackedWidget>("swResize")->currentIndex(), 0);
    QVERIFY(child<QWidget>("wMainSettings")->isEnabled());
    for (const QString &name : names) {
        const QString written = dir->filePath(output.arg(name));
        QVERIFY2(QFile::exists(written), qPrintable(written + " was not written"));
        QCOMPARE(TestImages::pixelSize(written), QSize(16, 12));
    }
    QCOMPARE(recorder.urls.size(), 1);
    QCOMPARE(recorder.urls.first(), QUrl::fromLocalFile(QFileInfo(model->lastResizedPath()).absolutePath()));
}

void tst_ResizeWidget::cancelledRunKeepsTheQueue()
{
    const QStringList paths{image(QStringLiteral("a.png"), QSize(40, 30)),
                            image(QStringLiteral("b.png"), QSize(40, 30))};
    makeScreen(QString(), paths);
    QSignalSpy status(screen.get(), &ResizeWidget::resizeStatusChanged);
    // The engine's order of signals for a cancel, without racing a real run to its end.
    QVERIFY(QMetaObject::invokeMethod(screen.get(), "onResizeStarted"));
    auto *pause = child<QPushButton>("pbPauseResize");
    pause->setChecked(true);
    model->setImageResized(paths.at(0), dir->filePath(QStringLiteral("mini_a.png")));
    QVERIFY(QMetaObject::invokeMethod(screen.get(), "onResizeCanceled"));
    ModalAnswers answers({rejectModal});
    QVERIFY(QMetaObject::invokeMethod(screen.get(), "onResizeFinished"));
    QVERIFY2(answers.answered == 0, "a cancelled run showed a dialog");
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(status.count(), 2);
    QVERIFY2(!pause->isChecked(), "the next run would start showing the resume picture");
    QCOMPARE(child<QStackedWidget>("swResize")->currentIndex(), 0);
    auto *table = child<QTableView>("tvImagesQueue");
    // Rows come in the order the files finished opening, not the order they were given.
    const QVector<CImageInfo> queued = model->images();
    for (int row = 0; row < 2; ++row)
        QCOMPARE(table->indexWidget(model->index(row, 2))->objectName(), queued.at(row).fullPath());

    // No engine ran, so the reset pause button must not have started the elapsed-time clock.
    const QString elapsed = child<QLabel>("lblElapsedTime")->text();
    QVERIFY(!QTest::qWaitFor([&] { return child<QLabel>("lblElapsedTime")->text() != elapsed; }, 300));
}

void tst_ResizeWidget::refusedRunKeepsTheQueue()
{
    const QString source = image(QStringLiteral("a.png"), QSize(40, 30));
    QFile blocker(dir->filePath(QStringLiteral("file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    makeScreen(dir->filePath(QStringLiteral("file/out")), {source});
    QString message;
    ModalAnswers answers({acceptModal, [&](QWidget *modal) {
                              message = modal->property("text").toString();
                              acceptModal(modal);
                          }});
    child<QPushButton>("pbResize")->click();
    QTRY_COMPARE(answers.answered, 2);
    QVERIFY2(message.startsWith(QStringLiteral("e_run_refused ")), qPrintable(message));
    QCOMPARE(model->rowCount(), 1);
    QVERIFY(!screen->isResizing());
    QCOMPARE(child<QStackedWidget>("swResize")->currentIndex(), 0);
}

void tst_ResizeWidget::failingImageIsReported()
{
    const QString source = image(QStringLiteral("a.png"), QSize(40, 30));
    makeScreen(QString(), {source});
    // Spoilt after it was queued, as when another program rewrites the file during a session.
    QFile file(source);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("not an image any more");
    file.close();

    QSignalSpy status(screen.get(), &ResizeWidget::resizeStatusChanged);
    QString message;
    ModalAnswers answers({acceptModal, [&](QWidget *modal) {
                              message = modal->property("text").toString();
                              rejectModal(modal);
                          }});
    child<QPushButton>("pbResize")->click();
    QTRY_COMPARE_WITH_TIMEOUT(answers.answered, 2, 20000);
    QVERIFY2(message.startsWith(QStringLiteral("e_image_failed ")) &&
                 message.contains(QStringLiteral("a.png")),
             qPrintable(message));
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(status.count(), 2);
}

// Starts a run whose first image is held in flight, and waits for the run view.
bool tst_ResizeWidget::startHeldRun(HeldFile &held, QSignalSpy &status)
{
    if (!held.isValid())
        return false;
    // Small outputs: writing the profile's 1024 x 768 takes a single thread a good part of a second.
    for (auto *side : {child<QLineEdit>("leWidth"), child<QLineEdit>("leHeight")}) {
        side->selectAll();
        QTest::keyClicks(side, QStringLiteral("16"));
    }
    child<QPushButton>("pbResize")->click();
    return held.waitForReader() && QTest::qWaitFor([&] { return status.count() == 1; });
}

void tst_ResizeWidget::cancelLeavesTheWindowFree()
{
    const auto pool = TestPool::ofThreads(1);
    makeScreen(QString(), {image(QStringLiteral("a.png"), QSize(40, 30)),
                           image(QStringLiteral("b.png"), QSize(40, 30))});
    HeldFile held(model->images().first().fullPath());
    QSignalSpy status(screen.get(), &ResizeWidget::resizeStatusChanged);
    ModalAnswers answers({acceptModal, rejectModal});
    QVERIFY2(startHeldRun(held, status), "the run did not start on the held image");
    auto *pause = child<QPushButton>("pbPauseResize");
    auto *cancel = child<QPushButton>("pbCancelResize");

    cancel->click();
    QVERIFY2(screen->isResizing(), "the cancel waited for the image in flight");
    QCOMPARE(child<QLabel>("lblResizeCount")->text(), QStringLiteral("t_stopping"));
    QVERIFY2(!pause->isEnabled() && !cancel->isEnabled(), "a stopping run can be resumed or cancelled");
    QCOMPARE(child<QStackedWidget>("swResize")->currentIndex(), 1);

    held.release();
    QTRY_COMPARE(status.count(), 2);
    QVERIFY(!status.at(1).at(0).toBool());
    QVERIFY2(answers.answered == 1, "the end of a cancelled run showed a dialog");
    QCOMPARE(QDir(dir->path()).entryList({QStringLiteral("mini_*")}), QStringList());
    QCOMPARE(child<QStackedWidget>("swResize")->currentIndex(), 0);
    QVERIFY(pause->isEnabled() && cancel->isEnabled() && child<QPushButton>("pbResize")->isEnabled());
    rowButton(0)->click();
    QCOMPARE(model->rowCount(), 1);
}

void tst_ResizeWidget::queueStaysDuringARun_data()
{
    QTest::addColumn<bool>("paused");
    QTest::addColumn<int>("removed");
    QTest::addColumn<bool>("resizeAgain");
    QTest::newRow("paused, every row removed") << true << 3 << false;
    QTest::newRow("running, a row removed, then Resize") << false << 1 << true;
}

void tst_ResizeWidget::queueStaysDuringARun()
{
    QFETCH(bool, paused);
    QFETCH(int, removed);
    QFETCH(bool, resizeAgain);
    const auto pool = TestPool::ofThreads(1);
    const QStringList names{"a.png", "b.png", "c.png"};
    QStringList paths;
    for (const QString &name : names)
        paths << image(name, QSize(40, 30));
    makeScreen(QString(), paths);
    HeldFile held(model->images().first().fullPath());
    QSignalSpy status(screen.get(), &ResizeWidget::resizeStatusChanged);
    ModalAnswers answers({acceptModal, acceptModal, acceptModal});
    QVERIFY2(startHeldRun(held, status), "the run did not start on the held image");
    auto *pause = child<QPushButton>("pbPauseResize");

    if (paused)
        pause->click();
    // The first row's button each time, as a user clearing the list from the top would.
    for (int click = 0; click < removed; ++click)
        rowButton(0)->click();
    if (resizeAgain)
        child<QPushButton>("pbResize")->click();
    QCOMPARE(model->rowCount(), 3);
    QVERIFY2(answers.answered == 1, "a second run was asked for during the first");
    QCOMPARE(child<QStackedWidget>("swResize")->currentIndex(), 1);

    if (paused)
        pause->click();
    held.release();
    QTRY_COMPARE_WITH_TIMEOUT(status.count(), 2, 20000);
    QCOMPARE(answers.answered, 2);
    for (const QString &name : names)
        QVERIFY2(QFile::exists(dir->filePath(QStringLiteral("mini_") + name)), qPrintable(name));
}

void tst_ResizeWidget::languageChangeRefillsQueueTexts()
{
    makeScreen(QString(), {image(QStringLiteral("a.png"), QSize(40, 30))});
    QEvent change(QEvent::LanguageChange);
    QApplication::sendEvent(screen.get(), &change);
    QCOMPARE(child<QLabel>("lbTotal")->text(), QStringLiteral("t_total_images1"));
    QCOMPARE(child<QPushButton>("pbClearQueue")->text(), QStringLiteral("t_clear_queue 1"));
    QCOMPARE(estimate().last(), QStringLiteral("1"));
}

void tst_ResizeWidget::estimateFollowsSavedChoices_data()
{
    QTest::addColumn<int>("quality");
    QTest::addColumn<bool>("strip");
    QTest::addColumn<bool>("neverEnlarge");
    QTest::newRow("low JPEG quality") << 10 << false << false;
    QTest::newRow("high JPEG quality") << 95 << false << false;
    QTest::newRow("details removed") << 0 << true << false;
    QTest::newRow("never enlarged") << 0 << false << true;
}

// As the settings panel leaves them: stored after the screen was built, then announced by its save.
void tst_ResizeWidget::estimateFollowsSavedChoices()
{
    QFETCH(int, quality);
    QFETCH(bool, strip);
    QFETCH(bool, neverEnlarge);
    // The comment is details enough to show in the band's two decimals of a megabyte.
    const QString source = dir->filePath(QStringLiteral("a.jpg"));
    QVERIFY(PhotoFiles::save(source, PhotoFiles::jpeg(TestImages::photo(QSize(400, 300)),
                                                      {PhotoFiles::commentSegment(QByteArray(60000, 'c'))})));
    makeScreen(QString(), {source});
    const QString expected = engineEstimate(QSize(1024, 768), quality, strip, neverEnlarge);
    QVERIFY2(expected != engineEstimate(QSize(1024, 768)), "the choice does not change the estimate");

    settings->setJpegQuality(quality);
    settings->setStripDetails(strip);
    settings->setNeverEnlarge(neverEnlarge);
    screen->followSettings();
    QCOMPARE(estimate().at(1), expected);
}

void tst_ResizeWidget::runTakesChoicesStoredSinceStartUp()
{
    const QString source = image(QStringLiteral("a.jpg"), QSize(64, 48));
    makeScreen(QString(), {source});
    settings->setNeverEnlarge(true);
    settings->setJpegQuality(10);
    ModalAnswers answers({acceptModal, acceptModal});
    child<QPushButton>("pbResize")->click();
    QTRY_COMPARE_WITH_TIMEOUT(answers.answered, 2, 20000);
    const QString output = dir->filePath(QStringLiteral("mini_a.jpg"));
    QCOMPARE(TestImages::pixelSize(output), QSize(64, 48));
    QCOMPARE(Magick::Image(output.toStdString()).quality(), size_t(10));
}

QTEST_MAIN(tst_ResizeWidget)
#include "tst_resizewidget.moc"
