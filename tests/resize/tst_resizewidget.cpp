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

    void estimate_data();
    void estimate();
    void sideBoxes_data();
    void sideBoxes();
    void run_data();
    void run();
    void duringARun_data();
    void duringARun();

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
    void type(const char *field, const QString &text);
    QStringList estimateText() const { return child<QLabel>("lbEvaluationResult")->text().split(' '); }
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

void tst_ResizeWidget::type(const char *field, const QString &text)
{
    auto *edit = child<QLineEdit>(field);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void tst_ResizeWidget::estimate_data()
{
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<int>("quality");
    QTest::addColumn<bool>("strip");
    QTest::addColumn<bool>("neverEnlarge");
    QTest::newRow("as built, from the first profile") << ""
                                                      << "" << 0 << false << false;
    QTest::newRow("typed width takes the manual profile") << "500"
                                                          << "" << 0 << false << false;
    QTest::newRow("typed height keeps the manual profile") << "500"
                                                           << "76" << 0 << false << false;
    QTest::newRow("a side that is no number") << "x"
                                              << "" << 0 << false << false;
    // Stored after the screen was built, then announced, as the settings panel's save does.
    QTest::newRow("low JPEG quality") << ""
                                      << "" << 10 << false << false;
    QTest::newRow("details removed") << ""
                                     << "" << 0 << true << false;
    QTest::newRow("never enlarged") << ""
                                    << "" << 0 << false << true;
}

void tst_ResizeWidget::estimate()
{
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(int, quality);
    QFETCH(bool, strip);
    QFETCH(bool, neverEnlarge);
    // The comment is details enough to show in two decimals of a megabyte; the padding makes the queue's
    // current total far from any estimate.
    const QString photo = dir->filePath(QStringLiteral("a.jpg"));
    QVERIFY(PhotoFiles::save(photo, PhotoFiles::jpeg(TestImages::photo(QSize(400, 300)),
                                                     {PhotoFiles::commentSegment(QByteArray(60000, 'c'))})));
    const QString padded = image(QStringLiteral("b.png"), QSize(400, 300));
    QVERIFY(padTo(padded, 1572864));
    makeScreen(QString(), {photo, padded});
    if (!width.isEmpty())
        type("leWidth", width);
    if (!height.isEmpty())
        type("leHeight", height);
    settings->setJpegQuality(quality);
    settings->setStripDetails(strip);
    settings->setNeverEnlarge(neverEnlarge);
    screen->followSettings();

    const QSize size(width.isEmpty() ? 1024 : width.toInt(), height.isEmpty() ? 768 : height.toInt());
    const QString expected = engineEstimate(size, quality, strip, neverEnlarge);
    if (quality || strip || neverEnlarge)
        QVERIFY2(expected != engineEstimate(size), "the choice does not change the estimate");
    const double current = double(QFileInfo(photo).size() + QFileInfo(padded).size()) / (1024 * 1024);
    const QStringList shown{"t_result_size", expected, QString::number(current, 'f', 2), "2"};
    QCOMPARE(estimateText(), shown);
    QCOMPARE(child<CProfilesComboBox>("cbProfiles")->currentIndex(), width.isEmpty() ? 0 : 1);

    // A change of language writes the texts anew, with the queue's figures in them.
    QEvent change(QEvent::LanguageChange);
    QApplication::sendEvent(screen.get(), &change);
    QCOMPARE(estimateText(), shown);
    QCOMPARE(child<QLabel>("lbTotal")->text(), QStringLiteral("t_total_images2"));
    QCOMPARE(child<QPushButton>("pbClearQueue")->text(), QStringLiteral("t_clear_queue 2"));
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

void tst_ResizeWidget::run_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<bool>("spoilt");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("output");
    QTest::newRow("beside the source with a prefix") << "SAME" << 0 << true << false << ""
                                                     << "mini_%1";
    QTest::newRow("sub-folder named after the typed size") << "same" << 1 << true << false << ""
                                                           << "resized_16x12/%1";
    QTest::newRow("stored folder, used without asking") << "out" << -1 << true << false << ""
                                                        << "out/%1";
    // The chooser is answered No: the screen must go back to the prefix, not stay on the sub-folder.
    QTest::newRow("folder chooser cancelled") << "SubFolder" << 2 << true << false << ""
                                              << "mini_%1";
    QTest::newRow("question answered No") << "same" << -1 << false << false << ""
                                          << "";
    QTest::newRow("output folder under a file is refused")
        << "file/out" << -1 << true << false << "e_run_refused "
        << "";
    // As when another program rewrites the files during a session.
    QTest::newRow("images spoilt since they were queued") << "same" << -1 << true << true << "e_image_failed "
                                                          << "";
}

void tst_ResizeWidget::run()
{
    QFETCH(QString, stored);
    QFETCH(int, mode);
    QFETCH(bool, confirmed);
    QFETCH(bool, spoilt);
    QFETCH(QString, message);
    QFETCH(QString, output);
    const QStringList names{"a.png", "b.jpg", "c.bmp"};
    QStringList paths;
    for (const QString &name : names)
        paths << image(name, QSize(64, 48));
    QFile blocker(dir->filePath(QStringLiteral("file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    makeScreen(stored.endsWith(QLatin1String("out")) ? dir->filePath(stored) : stored, paths);
    // Stored since start-up: the run must read it when it starts.
    settings->setJpegQuality(10);
    for (const QString &path : paths) {
        QFile file(path);
        QVERIFY(!spoilt ||
                (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write("no image") > 0));
    }

    QSignalSpy status(screen.get(), &ResizeWidget::resizeStatusChanged);
    QString countAtStart;
    connect(screen.get(), &ResizeWidget::resizeStatusChanged, this, [&](bool running) {
        if (running)
            countAtStart = child<QLabel>("lblResizeCount")->text();
    });
    QString question;
    int rowsAtEnd = -1;
    QString told;
    QList<ModalAnswers::Answer> replies{[&](QWidget *modal) {
        question = modal->findChild<QLabel *>(QStringLiteral("lblText"))->text();
        confirmed ? acceptModal(modal) : rejectModal(modal);
    }};
    if (confirmed) {
        replies << [&](QWidget *modal) {
            rowsAtEnd = model->rowCount();
            told = modal->property("text").toString();
            acceptModal(modal);
        };
    }
    if (mode == 2)
        replies.prepend(rejectModal);
    ModalAnswers answers(replies);
    if (mode >= 0)
        child<QComboBox>("cbOutputModes")->setCurrentIndex(mode);
    // Typed after choosing the mode: the sub-folder name must follow.
    type("leWidth", QStringLiteral("16"));
    type("leHeight", QStringLiteral("12"));
    child<QPushButton>("pbResize")->click();
    // Before any event is handled: a run that was started after a No would show up here.
    QVERIFY(confirmed || (answers.answered == 1 && !screen->isResizing() && status.isEmpty()));
    QTRY_COMPARE_WITH_TIMEOUT(answers.answered, replies.size(), 20000);

    QCOMPARE(question, QStringLiteral("t_resize_question 3"));
    QVERIFY2(message.isEmpty() ? told.isEmpty() : told.startsWith(message), qPrintable(told));
    QVERIFY(!screen->isResizing());
    QCOMPARE(child<QStackedWidget>("swResize")->currentIndex(), 0);
    QVERIFY(child<QWidget>("wMainSettings")->isEnabled());
    if (output.isEmpty()) {
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(QDir(dir->path()).entryList({QStringLiteral("mini_*")}), QStringList());
        QVERIFY2(!spoilt || told.contains(QStringLiteral(".png")) || told.contains(QStringLiteral(".jpg")) ||
                     told.contains(QStringLiteral(".bmp")),
                 "the failure does not name the image");
        return;
    }
    QVERIFY2(rowsAtEnd == 0, "the queue must be empty before the completion dialog shows");
    QCOMPARE(child<QProgressBar>("pbrResizeProgress")->maximum(), 3);
    QCOMPARE(status.count(), 2);
    QCOMPARE(countAtStart, QStringLiteral("t_resized_count 0 3"));
    QCOMPARE(child<QLabel>("lblResizeCount")->text(), QStringLiteral("t_resized_count 3 3"));
    for (const QString &name : names) {
        const QString written = dir->filePath(output.arg(name));
        QVERIFY2(QFile::exists(written), qPrintable(written + " was not written"));
        QCOMPARE(TestImages::pixelSize(written), QSize(16, 12));
    }
    QCOMPARE(Magick::Image(dir->filePath(output.arg("b.jpg")).toStdString()).quality(), size_t(10));
    QCOMPARE(recorder.urls,
             QList<QUrl>{QUrl::fromLocalFile(QFileInfo(model->lastResizedPath()).absolutePath())});
}

void tst_ResizeWidget::duringARun_data()
{
    QTest::addColumn<bool>("paused");
    QTest::addColumn<int>("removed");
    QTest::addColumn<bool>("resizeAgain");
    QTest::addColumn<bool>("cancelled");
    QTest::newRow("paused, every row removed, resumed") << true << 3 << false << false;
    QTest::newRow("running, a row removed, then Resize") << false << 1 << true << false;
    QTest::newRow("cancelled while running") << false << 0 << false << true;
    QTest::newRow("cancelled while paused, a row removed") << true << 1 << false << true;
}

// The first image is held in flight all along, so the run cannot end behind the test's back.
void tst_ResizeWidget::duringARun()
{
    QFETCH(bool, paused);
    QFETCH(int, removed);
    QFETCH(bool, resizeAgain);
    QFETCH(bool, cancelled);
    const auto pool = TestPool::ofThreads(1);
    const QStringList names{"a.png", "b.png", "c.png"};
    QStringList paths;
    for (const QString &name : names)
        paths << image(name, QSize(40, 30));
    makeScreen(QString(), paths);
    HeldFile held(model->images().first().fullPath());
    QVERIFY(held.isValid());
    QSignalSpy status(screen.get(), &ResizeWidget::resizeStatusChanged);
    ModalAnswers answers({acceptModal, acceptModal, acceptModal});
    // Small outputs: writing the profile's 1024 x 768 takes a single thread a good part of a second.
    type("leWidth", QStringLiteral("16"));
    type("leHeight", QStringLiteral("16"));
    child<QPushButton>("pbResize")->click();
    QVERIFY2(held.waitForReader(), "the run did not start on the held image");
    QTRY_COMPARE(status.count(), 1);
    auto *pause = child<QPushButton>("pbPauseResize");
    auto *cancel = child<QPushButton>("pbCancelResize");

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

    if (cancelled) {
        cancel->click();
        QVERIFY2(screen->isResizing(), "the cancel waited for the image in flight");
        QCOMPARE(child<QLabel>("lblResizeCount")->text(), QStringLiteral("t_stopping"));
        QVERIFY2(!pause->isEnabled() && !cancel->isEnabled(), "a stopping run can be resumed or cancelled");
        QCOMPARE(child<QStackedWidget>("swResize")->currentIndex(), 1);
    } else if (paused) {
        pause->click();
    }
    held.release();
    QTRY_COMPARE_WITH_TIMEOUT(status.count(), 2, 20000);
    QVERIFY(!status.at(1).at(0).toBool());
    const QStringList written = QDir(dir->path()).entryList({QStringLiteral("mini_*")});
    if (!cancelled) {
        QCOMPARE(answers.answered, 2);
        QCOMPARE(written.size(), 3);
        return;
    }
    QVERIFY2(answers.answered == 1, "the end of a cancelled run showed a dialog");
    QCOMPARE(written, QStringList());
    QCOMPARE(child<QStackedWidget>("swResize")->currentIndex(), 0);
    QVERIFY(pause->isEnabled() && cancel->isEnabled() && child<QPushButton>("pbResize")->isEnabled());
    QVERIFY2(!pause->isChecked(), "the next run would start showing the resume picture");
    // Rows come in the order the files finished opening; each button must still act on its own row.
    const QString second = model->images().at(1).fullPath();
    QCOMPARE(rowButton(1)->objectName(), second);
    rowButton(0)->click();
    QCOMPARE(model->images().at(0).fullPath(), second);
}

QTEST_MAIN(tst_ResizeWidget)
#include "tst_resizewidget.moc"
