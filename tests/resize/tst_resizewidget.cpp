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
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

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
            if (modal && answered < this->answers.size())
                this->answers.at(answered++)(modal);
        });
        timer.start(10);
    }

    int answered = 0;

private:
    QList<Answer> answers;
    QTimer timer;
};

static const ModalAnswers::Answer acceptModal = [](QWidget *modal) {
    qobject_cast<QDialog *>(modal)->accept();
};
static const ModalAnswers::Answer rejectModal = [](QWidget *modal) {
    qobject_cast<QDialog *>(modal)->reject();
};

class tst_ResizeWidget : public QObject
{
    Q_OBJECT

public slots:
    // Stands in for the desktop's file browser.
    void open(const QUrl &url) { urls.append(url); }

private slots:
    void initTestCase();
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
    void makeScreen(const QString &prefix, const QStringList &names, const QSize &size = QSize(40, 30));
    template <typename T>
    T *child(const char *name) const
    {
        return screen->findChild<T *>(QLatin1String(name));
    }
    QPushButton *rowButton(int row) const
    {
        return qobject_cast<QPushButton *>(
            child<QTableView>("tvImagesQueue")->indexWidget(model->index(row, 2)));
    }
    void type(const char *field, const QString &text);
    QStringList estimateText() const { return child<QLabel>("lbEvaluationResult")->text().split(' '); }

    QList<QUrl> urls;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<CSettings> settings;
    std::unique_ptr<CImagesModel> model;
    std::unique_ptr<ResizeWidget> screen;
};

void tst_ResizeWidget::initTestCase()
{
    Magick::InitializeMagick(nullptr);
    QStandardPaths::setTestModeEnabled(true);
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open");
    // The texts are checked as their keys: no translation may lie next to the test program.
    QVERIFY(QDir(translationsPath()).removeRecursively());
}

void tst_ResizeWidget::init()
{
    dir.reset(new QTemporaryDir);
    QVERIFY(QDir::setCurrent(dir->path()));
    urls.clear();
}

void tst_ResizeWidget::cleanup()
{
    screen.reset();
    model.reset();
    settings.reset();
    QDir::setCurrent(QDir::tempPath());
}

// Queues names (made here at size unless they exist) on a screen built from settings that hold prefix.
void tst_ResizeWidget::makeScreen(const QString &prefix, const QStringList &names, const QSize &size)
{
    QSettings(QStringLiteral("Settings.ini"), QSettings::IniFormat)
        .setValue(QStringLiteral("Main/Prefix"), prefix);
    settings.reset(new CSettings(QStringLiteral("Settings.ini")));
    model.reset(new CImagesModel);
    {
        // A modal window during construction would block it for ever; this closes and counts it.
        ModalAnswers guard({rejectModal});
        screen.reset(new ResizeWidget(settings.get(), model.get(), nullptr));
        QVERIFY2(guard.answered == 0, "constructing the screen opened a modal window");
    }
    QStringList paths;
    for (const QString &name : names) {
        paths << dir->filePath(name);
        QVERIFY(QFile::exists(paths.last()) || !TestImages::write(paths.last(), size).isEmpty());
    }
    QSignalSpy opened(model.get(), &CImagesModel::rowsCountChanged);
    if (paths.isEmpty())
        return;
    model->openImages(paths);
    QVERIFY(opened.wait(10000));
    QCOMPARE(model->rowCount(), paths.size());
}

void tst_ResizeWidget::type(const char *field, const QString &text)
{
    auto *edit = child<QLineEdit>(field);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void tst_ResizeWidget::estimate_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<int>("quality");
    QTest::addColumn<bool>("strip");
    QTest::addColumn<bool>("neverEnlarge");
    QTest::newRow("as built, from the first profile") << QStringList() << 0 << false << false;
    QTest::newRow("typed width takes the manual profile") << QStringList{"500"} << 0 << false << false;
    QTest::newRow("typed height keeps the manual profile") << QStringList{"500", "76"} << 0 << false << false;
    QTest::newRow("a side that is no number") << QStringList{"x"} << 0 << false << false;
    // Stored after the screen was built, then announced, as the settings panel's save does.
    QTest::newRow("low JPEG quality") << QStringList() << 10 << false << false;
    QTest::newRow("details removed") << QStringList() << 0 << true << false;
    QTest::newRow("never enlarged") << QStringList() << 0 << false << true;
}

void tst_ResizeWidget::estimate()
{
    QFETCH(QStringList, typed);
    QFETCH(int, quality);
    QFETCH(bool, strip);
    QFETCH(bool, neverEnlarge);
    // The comment is details enough to show in two decimals of a megabyte; the padding (decoders stop at the
    // picture's end) puts the queue's current total far from any estimate.
    QVERIFY(PhotoFiles::save(dir->filePath("a.jpg"),
                             PhotoFiles::jpeg(TestImages::photo(QSize(400, 300)),
                                              {PhotoFiles::commentSegment(QByteArray(60000, 'c'))})));
    QFile padded(TestImages::write(dir->filePath("b.png"), QSize(400, 300)));
    QVERIFY(padded.open(QIODevice::Append) && padded.write(QByteArray(1 << 20, '\0')) == 1 << 20);
    padded.close();
    makeScreen("same", {"a.jpg", "b.png"});
    for (int side = 0; side < typed.size(); ++side)
        type(side == 0 ? "leWidth" : "leHeight", typed.at(side));
    settings->setJpegQuality(quality);
    settings->setStripDetails(strip);
    settings->setNeverEnlarge(neverEnlarge);
    screen->followSettings();

    CImagesResizer engine;
    engine.setSize(QSize(typed.value(0, "1024").toInt(), typed.value(1, "768").toInt()));
    engine.setResizeParameters(CImagesResizer::UseWidth | CImagesResizer::UseHeight);
    const double plain = engine.evaluationResize(model->images()).evalutionSize();
    engine.setJpegQuality(quality);
    engine.setStripDetails(strip);
    engine.setNeverEnlarge(neverEnlarge);
    const double expected = engine.evaluationResize(model->images()).evalutionSize();
    QVERIFY2(!(quality || strip || neverEnlarge) || expected != plain,
             "the choice does not change the estimate");
    const double current = double(QFileInfo(dir->filePath("a.jpg")).size() + padded.size()) / (1024 * 1024);
    // The estimate first, then what the queue takes now.
    const QStringList shown{"t_result_size", QString::number(expected, 'f', 2),
                            QString::number(current, 'f', 2), "2"};
    QCOMPARE(estimateText(), shown);
    QCOMPARE(child<CProfilesComboBox>("cbProfiles")->currentIndex(), typed.isEmpty() ? 0 : 1);

    // A change of language writes the texts anew, with the queue's figures in them.
    QEvent change(QEvent::LanguageChange);
    QApplication::sendEvent(screen.get(), &change);
    QCOMPARE(estimateText(), shown);
    QCOMPARE(child<QPushButton>("pbClearQueue")->text(), QStringLiteral("t_clear_queue 2"));
}

void tst_ResizeWidget::sideBoxes_data()
{
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QString>("state");
    // Boxes w(idth), h(eight), a(spect ratio), v(ertical images): those checked, then V when v is enabled.
    QTest::newRow("as built") << "" << QStringLiteral("wh");
    QTest::newRow("width off disables its field") << "w" << QStringLiteral("h");
    QTest::newRow("last side box cannot go") << "hw" << QStringLiteral("h");
    QTest::newRow("all three enable the vertical box") << "av" << QStringLiteral("whavV");
    QTest::newRow("aspect off clears the vertical box") << "ava" << QStringLiteral("wh");
    QTest::newRow("height off clears the vertical box") << "avh" << QStringLiteral("wa");
}

void tst_ResizeWidget::sideBoxes()
{
    QFETCH(QString, clicks);
    QFETCH(QString, state);
    makeScreen(QString(), {});
    const QMap<QChar, QCheckBox *> boxes{{'w', child<QCheckBox>("cbWidth")},
                                         {'h', child<QCheckBox>("cbHeight")},
                                         {'a', child<QCheckBox>("cbOriginalAspectRatio")},
                                         {'v', child<QCheckBox>("cbVeiar")}};
    for (const QChar box : clicks)
        boxes[box]->click();

    QString shown;
    for (const QChar box : QStringLiteral("whav"))
        shown += boxes[box]->isChecked() ? QString(box) : QString();
    QCOMPARE(shown + (boxes['v']->isEnabled() ? "V" : ""), state);
    QCOMPARE(child<QLineEdit>("leWidth")->isEnabled(), boxes['w']->isChecked());
    QCOMPARE(child<QLineEdit>("leHeight")->isEnabled(), boxes['h']->isChecked());
}

void tst_ResizeWidget::run_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<bool>("spoilt");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("output");
    const auto row = [](const char *name, const char *stored, int mode, bool confirmed, bool spoilt,
                        const char *message, const char *output) {
        QTest::newRow(name) << stored << mode << confirmed << spoilt << message << output;
    };
    row("beside the source with a prefix", "SAME", 0, true, false, "", "mini_%1");
    row("sub-folder named after the typed size", "same", 1, true, false, "", "resized_16x12/%1");
    row("stored folder, used without asking", "out", -1, true, false, "", "out/%1");
    // The chooser is answered No: the screen must go back to the prefix, not stay on the sub-folder.
    row("folder chooser cancelled", "SubFolder", 2, true, false, "", "mini_%1");
    row("question answered No", "same", -1, false, false, "", "");
    row("output folder under a file is refused", "file/out", -1, true, false, "e_run_refused ", "");
    // As when another program rewrites the files during a session.
    row("images spoilt since they were queued", "same", -1, true, true, "e_image_failed ", "");
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
    QFile blocker(dir->filePath(QStringLiteral("file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    makeScreen(stored.endsWith(QLatin1String("out")) ? dir->filePath(stored) : stored, names, QSize(64, 48));
    // Stored since start-up: the run must read it when it starts.
    settings->setJpegQuality(10);
    for (const QString &name : names) {
        QFile file(dir->filePath(name));
        QVERIFY(!spoilt ||
                (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write("no image") > 0));
    }

    QSignalSpy status(screen.get(), &ResizeWidget::resizeStatusChanged);
    QString question, told;
    int rowsAtEnd = -1;
    QList<ModalAnswers::Answer> replies{[&](QWidget *modal) {
        question = modal->findChild<QLabel *>(QStringLiteral("lblText"))->text();
        (confirmed ? acceptModal : rejectModal)(modal);
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
    // Before any event is handled: a run that was started after a No shows here.
    QVERIFY(confirmed || (answers.answered == 1 && !screen->isResizing() && status.isEmpty()));
    QTRY_COMPARE_WITH_TIMEOUT(answers.answered, replies.size(), 20000);

    QCOMPARE(question, QStringLiteral("t_resize_question 3"));
    QVERIFY2(message.isEmpty() ? told.isEmpty() : told.startsWith(message), qPrintable(told));
    QCOMPARE(child<QStackedWidget>("swResize")->currentIndex(), 0);
    QVERIFY(child<QWidget>("wMainSettings")->isEnabled());
    if (output.isEmpty()) {
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(QDir(dir->path()).entryList({QStringLiteral("mini_*")}), QStringList());
        QVERIFY2(!spoilt || told.contains(QRegularExpression("[abc]\\.(png|jpg|bmp)")), "no image is named");
        return;
    }
    QVERIFY2(rowsAtEnd == 0, "the queue must be empty before the completion dialog shows");
    QCOMPARE(child<QLabel>("lblResizeCount")->text(), QStringLiteral("t_resized_count 3 3"));
    QCOMPARE(status.count(), 2);
    for (const QString &name : names) {
        const QString written = dir->filePath(output.arg(name));
        QVERIFY2(QFile::exists(written), qPrintable(written + " was not written"));
        QCOMPARE(TestImages::pixelSize(written), QSize(16, 12));
    }
    QCOMPARE(Magick::Image(dir->filePath(output.arg("b.jpg")).toStdString()).quality(), size_t(10));
    QCOMPARE(urls, QList<QUrl>{QUrl::fromLocalFile(QFileInfo(model->lastResizedPath()).absolutePath())});
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
    makeScreen(QString(), {"a.png", "b.png", "c.png"});
    HeldFile held(model->images().first().fullPath());
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
    } else if (paused) {
        pause->click();
    }
    held.release();
    QTRY_COMPARE_WITH_TIMEOUT(status.count(), 2, 20000);
    const QStringList written = QDir(dir->path()).entryList({QStringLiteral("mini_*")});
    QCOMPARE(written.size(), cancelled ? 0 : 3);
    QVERIFY2(answers.answered == (cancelled ? 1 : 2), "a cancelled run must end without a dialog");
    if (!cancelled)
        return;
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
