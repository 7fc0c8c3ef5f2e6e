#include "BrindleCore.h"
#include "testimages.h"
#include "testpool.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>
#include <stdexcept>

using Flags = CImagesResizer::ResizeParameters;

class tst_CImagesResizer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void newResolution_data();
    void newResolution();
    void estimate_data();
    void estimate();
    void outputNames_data();
    void outputNames();
    void formatsAndFrames_data();
    void formatsAndFrames();
    void subFolderMadeOncePerSourceFolder();
    void missingParentStopsTheRun();
    void refusedRuns_data();
    void refusedRuns();
    void sameSourceTwiceIsNoCollision();
    void signalsOfNormalRun();
    void signalsOfEmptyRun();
    void pauseHoldsTheClock();
    void cancelStopsReporting();
    void failingImageCancelsAndKeepsEarlierOutput();
    void failureStoredWhileResultsAreDelivered();
    void libraryWarningDoesNotCancel();

private:
    QString source(const QString &name, const QSize &size = QSize(64, 48));
    QStringList runAndRecord(const QVector<CImageInfo> &images);
    void toUserFolder(const QString &folder);

    QTemporaryDir dir;
    QString in;
    QString out;
    CImagesResizer *resizer = nullptr;
};

// Sources are flat colour where only the size matters: cheap to write and to decode.
QString tst_CImagesResizer::source(const QString &name, const QSize &size)
{
    const QString path = in + QLatin1Char('/') + name;
    if (!QFile::exists(path)) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        image.save(path, "PNG");
    }
    return path;
}

void tst_CImagesResizer::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(dir.isValid());
    QVERIFY(QDir::setCurrent(dir.path()));
}

void tst_CImagesResizer::init()
{
    static int round = 0;
    ++round;
    in = dir.filePath(QStringLiteral("in%1").arg(round));
    out = dir.filePath(QStringLiteral("out%1").arg(round));
    QVERIFY(QDir().mkdir(in));
    delete resizer;
    resizer = new CImagesResizer(this);
    resizer->setSize(QSize(32, 24));
    resizer->setResizeParameters(Flags(CImagesResizer::UseWidth) | CImagesResizer::UseHeight);
    toUserFolder(out);
}

void tst_CImagesResizer::toUserFolder(const QString &folder)
{
    resizer->setSameFolderForNewImages(false);
    resizer->setOutputFolder(folder);
    resizer->setPrefixForResizedImages(QString());
}

// Runs the list to its end and gives the names of the signals in the order they came, with their values.
QStringList tst_CImagesResizer::runAndRecord(const QVector<CImageInfo> &images)
{
    QStringList seen;
    const auto note = [&seen](const QString &what) { seen << what; };
    QList<QMetaObject::Connection> connections{
        connect(resizer, &CImagesResizer::resizeStarted, this, [=] { note("started"); }),
        connect(resizer, &CImagesResizer::progressValueChanged, this,
                [=](int value) { note(QStringLiteral("progress %1").arg(value)); }),
        connect(resizer, &CImagesResizer::resizeCanceled, this, [=] { note("canceled"); }),
        connect(resizer, &CImagesResizer::resizeFinished, this, [=] { note("finished"); }),
        connect(
            resizer, &CImagesResizer::imageResized, this,
            [=](const QString &, const QString &newPath) { note("image " + QFileInfo(newPath).fileName()); }),
        connect(resizer, &CImagesResizer::resizeElapsed, this,
                [=](uint msec) { note(QStringLiteral("elapsed %1").arg(msec)); }),
        connect(resizer, &CImagesResizer::speedChanged, this, [=](int) { note("speed"); }),
        connect(resizer, &CImagesResizer::remainingTimeChanged, this, [=](uint) { note("remaining"); }),
    };
    QSignalSpy finished(resizer, &CImagesResizer::resizeFinished);
    resizer->resizeImages(images);
    if (finished.isEmpty())
        finished.wait(20000);
    for (const auto &connection : connections)
        disconnect(connection);
    return seen;
}

void tst_CImagesResizer::newResolution_data()
{
    QTest::addColumn<QSize>("sourceSize");
    QTest::addColumn<QSize>("target");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QSize>("expected");
    QTest::addColumn<bool>("neverEnlarge");

    // Large photos of the rule are scaled down by ten with their targets, which keeps the arithmetic.
    const QSize box(800, 600);
    const QSize small(80, 60);
    QTest::newRow("landscape, width, keep ratio")
        << QSize(400, 300) << small << 0x0a << QSize(80, 60) << false;
    QTest::newRow("width rule truncates, never rounds")
        << QSize(1023, 767) << box << 0x0a << QSize(800, 599) << false;
    QTest::newRow("height rule truncates the width")
        << QSize(1023, 767) << box << 0x0c << QSize(800, 600) << false;
    QTest::newRow("both sides, keep ratio: height wins")
        << QSize(300, 200) << small << 0x0e << QSize(90, 60) << false;
    QTest::newRow("both sides, no ratio: exact box")
        << QSize(300, 200) << small << 0x06 << QSize(80, 60) << false;
    QTest::newRow("width alone distorts") << QSize(300, 200) << small << 0x02 << QSize(80, 200) << false;
    QTest::newRow("portrait, height, keep ratio")
        << QSize(200, 300) << small << 0x0c << QSize(40, 60) << false;
    QTest::newRow("portrait turns the box") << QSize(200, 300) << small << 0x1e << QSize(60, 90) << false;
    QTest::newRow("portrait turns the box and keeps ratio unasked")
        << QSize(200, 300) << small << 0x16 << QSize(60, 90) << false;
    QTest::newRow("square counts as portrait") << QSize(600, 600) << box << 0x10 << QSize(600, 600) << false;
    QTest::newRow("landscape ignores the turn")
        << QSize(1000, 500) << box << 0x10 << QSize(1000, 500) << false;
    QTest::newRow("no flags keep the size") << QSize(1000, 500) << box << 0x01 << QSize(1000, 500) << false;
    QTest::newRow("empty flags keep the size")
        << QSize(1000, 500) << box << 0x00 << QSize(1000, 500) << false;
    QTest::newRow("small source is enlarged") << QSize(640, 480) << box << 0x0a << QSize(800, 600) << false;
    QTest::newRow("never enlarge keeps a small source")
        << QSize(640, 480) << box << 0x0a << QSize(640, 480) << true;
    QTest::newRow("never enlarge still shrinks")
        << QSize(1023, 767) << box << 0x0a << QSize(800, 599) << true;
    QTest::newRow("never enlarge still stretches one side")
        << QSize(300, 200) << small << 0x02 << QSize(80, 200) << true;
}

// Checked through real outputs, since the rule is only seen in the files it makes.
void tst_CImagesResizer::newResolution()
{
    QFETCH(QSize, sourceSize);
    QFETCH(QSize, target);
    QFETCH(int, flags);
    QFETCH(QSize, expected);
    QFETCH(bool, neverEnlarge);
    resizer->setSize(target);
    resizer->setResizeParameters(Flags(flags));
    resizer->setNeverEnlarge(neverEnlarge);
    const QString path =
        source(QStringLiteral("%1x%2.png").arg(sourceSize.width()).arg(sourceSize.height()), sourceSize);
    runAndRecord({CImageInfo(path)});
    QCOMPARE(TestImages::pixelSize(out + QStringLiteral("/") + QFileInfo(path).fileName()), expected);
}

void tst_CImagesResizer::estimate_data()
{
    QTest::addColumn<QList<QSize>>("sizes");
    QTest::addColumn<int>("flags");
    QTest::addColumn<double>("pixelFactor");
    QTest::addColumn<bool>("neverEnlarge");

    QTest::newRow("empty list") << QList<QSize>() << 0x0a << 0.0 << false;
    QTest::newRow("too small to sample, two fifths of each side")
        << QList<QSize>{QSize(200, 150)} << 0x0a << 0.16 << false;
    QTest::newRow("enlarging doubles both sides") << QList<QSize>{QSize(40, 30)} << 0x0a << 4.0 << false;
    QTest::newRow("never enlarge counts the source size")
        << QList<QSize>{QSize(40, 30)} << 0x0a << 1.0 << true;
    QTest::newRow("three images are counted")
        << QList<QSize>{QSize(160, 120), QSize(160, 120), QSize(160, 120)} << 0x0a << 0.25 << false;
}

void tst_CImagesResizer::estimate()
{
    QFETCH(QList<QSize>, sizes);
    QFETCH(int, flags);
    QFETCH(double, pixelFactor);
    QFETCH(bool, neverEnlarge);
    resizer->setSize(QSize(80, 60));
    resizer->setResizeParameters(Flags(flags));
    resizer->setNeverEnlarge(neverEnlarge);
    QVector<CImageInfo> images;
    double total = 0;
    for (int i = 0; i < sizes.size(); ++i) {
        images << CImageInfo(TestImages::write(in + QStringLiteral("/e%1.png").arg(i), sizes[i]));
        total += images.last().size();
    }
    const CEvaluatingResult result = resizer->evaluationResize(images);
    QCOMPARE(result.count(), sizes.size());
    QCOMPARE(result.currentSize(), total);
    QVERIFY2(
        qAbs(result.evalutionSize() - total * pixelFactor) < 1e-9,
        qPrintable(
            QStringLiteral("estimate %1, expected %2").arg(result.evalutionSize()).arg(total * pixelFactor)));
}

void tst_CImagesResizer::outputNames_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");

    QTest::newRow("no dot ends in a dot") << "o"
                                          << ""
                                          << "README"
                                          << "o/README.";
    QTest::newRow("every suffix kept") << "o"
                                       << "p_"
                                       << "photo.final.jpg"
                                       << "o/p_photo.final.jpg";
    QTest::newRow("percent and digit in folder") << "50%2off"
                                                 << ""
                                                 << "a.jpg"
                                                 << "50%2off/a.jpg";
    QTest::newRow("percent and digit in prefix") << "o"
                                                 << "%1_"
                                                 << "a.jpg"
                                                 << "o/%1_a.jpg";
    QTest::newRow("percent and digit in name") << "o"
                                               << ""
                                               << "a%2d.jpg"
                                               << "o/a%2d.jpg";
    QTest::newRow("frame selector in name") << "o"
                                            << ""
                                            << "photo[0].jpg"
                                            << "o/photo[0].jpg";
    QTest::newRow("format prefix in name") << "o"
                                           << ""
                                           << "png:x.jpg"
                                           << "o/png:x.jpg";
    QTest::newRow("leading dash") << "o"
                                  << "-"
                                  << "-x.png"
                                  << "o/--x.png";
    QTest::newRow("spaces and non-ASCII")
        << QString::fromUtf8("Ausgabe ä") << "klein " << QString::fromUtf8("Bild ß.png")
        << QString::fromUtf8("Ausgabe ä/klein Bild ß.png");
}

void tst_CImagesResizer::outputNames()
{
    QFETCH(QString, folder);
    QFETCH(QString, prefix);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    const QString path = in + QLatin1Char('/') + name;
    QVERIFY(!TestImages::write(path, QSize(40, 30), name.endsWith("png") ? "PNG" : "JPEG").isEmpty());
    QVERIFY(QDir().mkdir(out));
    toUserFolder(out + QLatin1Char('/') + folder);
    resizer->setPrefixForResizedImages(prefix);

    QSignalSpy resized(resizer, &CImagesResizer::imageResized);
    runAndRecord({CImageInfo(path)});
    QCOMPARE(resized.count(), 1);
    const QString written = out + QLatin1Char('/') + expected;
    QCOMPARE(resized[0][1].toString(), written);
    QVERIFY2(QFileInfo(written).isFile(), "the reported path must be the file that was written");
    QCOMPARE(TestImages::pixelSize(written), QSize(32, 24));
    QCOMPARE(QFileInfo(written).dir().entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void tst_CImagesResizer::formatsAndFrames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<int>("frames");

    QTest::newRow("JPEG") << "a.jpg" << QByteArray("jpeg") << 1;
    QTest::newRow("PNG") << "a.png" << QByteArray("png") << 1;
    QTest::newRow("BMP") << "a.bmp" << QByteArray("bmp") << 1;
    QTest::newRow("TIFF") << "a.tif" << QByteArray("tiff") << 1;
    QTest::newRow("lower-case gif keeps every frame") << "anim.gif" << QByteArray("gif") << 3;
    QTest::newRow("upper-case GIF keeps the first frame") << "anim.GIF" << QByteArray("gif") << 1;
    QTest::newRow("content decides, not the suffix") << "png-inside.jpg" << QByteArray("png") << 1;
}

void tst_CImagesResizer::formatsAndFrames()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    QFETCH(int, frames);
    const QString path = in + QLatin1Char('/') + name;
    if (format == "gif")
        QVERIFY(!TestImages::writeAnimatedGif(path, QSize(40, 30), 3).isEmpty());
    else
        QVERIFY(!TestImages::write(path, QSize(40, 30), format.toUpper().constData()).isEmpty());
    const CImageInfo info(path);
    QVERIFY2(!info.isNull(), "Qt must decode the source (is the TIFF plug-in installed?)");

    runAndRecord({info});
    const QString output = out + QLatin1Char('/') + name;
    QImageReader reader(output);
    QCOMPARE(reader.format(), format);
    QCOMPARE(TestImages::frameCount(output), frames);
    QCOMPARE(TestImages::pixelSize(output), QSize(32, 24));
}

void tst_CImagesResizer::subFolderMadeOncePerSourceFolder()
{
    QVERIFY(QDir(in).mkdir("second"));
    const QVector<CImageInfo> images{CImageInfo(source("a.png")), CImageInfo(source("b.png")),
                                     CImageInfo(source("second/c.png"))};
    resizer->setSameFolderForNewImages(true);
    resizer->setOutputFolder(QStringLiteral("resized_32x24"));
    const QStringList seen = runAndRecord(images);
    QVERIFY2(!seen.contains("canceled"), qPrintable(resizer->lastError()));
    QCOMPARE(QDir(in + "/resized_32x24").entryList(QDir::Files), QStringList({"a.png", "b.png"}));
    QCOMPARE(QDir(in + "/second/resized_32x24").entryList(QDir::Files), QStringList({"c.png"}));
}

void tst_CImagesResizer::missingParentStopsTheRun()
{
    toUserFolder(out + QStringLiteral("/missing/deeper"));
    QSignalSpy started(resizer, &CImagesResizer::resizeStarted);
    try {
        resizer->resizeImages({CImageInfo(source("a.png"))});
        QFAIL("a folder whose parent is missing must stop the run");
    } catch (const std::runtime_error &error) {
        QCOMPARE(QString(error.what()), QStringLiteral("Don't can create output foledr for all images"));
    }
    QCoreApplication::processEvents();
    QCOMPARE(started.count(), 0);
    QVERIFY(!QFileInfo::exists(out));
}

void tst_CImagesResizer::refusedRuns_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QSize>("target");
    QTest::addColumn<QString>("named");

    // mode: 0 user folder, 1 beside the source; a folder "IN" means the sources' own folder.
    QTest::newRow("user folder is the sources' folder") << 0 << "IN"
                                                        << "" << QSize(32, 24) << "a.png";
    QTest::newRow("beside the source without prefix") << 1 << ""
                                                      << "" << QSize(32, 24) << "a.png";
    QTest::newRow("user folder reached through a link") << 0 << "LINK"
                                                        << "" << QSize(32, 24) << "a.png";
    QTest::newRow("one name in two folders") << 0 << ""
                                             << "" << QSize(32, 24) << "other";
    QTest::newRow("empty width") << 0 << ""
                                 << "" << QSize(0, 24) << "a.png";
    QTest::newRow("negative height") << 0 << ""
                                     << "" << QSize(32, -1) << "a.png";
    QTest::newRow("target beyond the pixel limit") << 0 << ""
                                                   << "" << QSize(20000, 20000) << "a.png";
}

void tst_CImagesResizer::refusedRuns()
{
    QFETCH(int, mode);
    QFETCH(QString, folder);
    QFETCH(QString, prefix);
    QFETCH(QSize, target);
    QFETCH(QString, named);
    QVERIFY(QDir(in).mkdir("other"));
    QVERIFY(QFile::link(in, in + "_link"));
    QVector<CImageInfo> images{CImageInfo(source("a.png"))};
    if (named == "other")
        images << CImageInfo(source("other/a.png"));
    const QDateTime modified = QFileInfo(images[0].fullPath()).lastModified();
    resizer->setSize(target);
    resizer->setSameFolderForNewImages(mode == 1);
    resizer->setOutputFolder(folder == "IN"     ? in
                             : folder == "LINK" ? in + "_link"
                             : mode == 1        ? folder
                                                : out);
    resizer->setPrefixForResizedImages(prefix);

    QSignalSpy started(resizer, &CImagesResizer::resizeStarted);
    try {
        resizer->resizeImages(images);
        QFAIL("the run must be refused");
    } catch (const std::runtime_error &error) {
        QVERIFY2(QString(error.what()).contains(named), error.what());
    }
    QCoreApplication::processEvents();
    QCOMPARE(started.count(), 0);
    QVERIFY2(!QFileInfo::exists(out), "a refused run must not make folders");
    QCOMPARE(QFileInfo(images[0].fullPath()).lastModified(), modified);
}

void tst_CImagesResizer::sameSourceTwiceIsNoCollision()
{
    const CImageInfo image(source("a.png"));
    const QStringList seen = runAndRecord({image, image});
    QCOMPARE(seen.filter("image ").size(), 2);
    QCOMPARE(QDir(out).entryList(QDir::Files), QStringList{"a.png"});
}

void tst_CImagesResizer::signalsOfNormalRun()
{
    const QStringList seen = runAndRecord({CImageInfo(source("a.png")), CImageInfo(source("b.png"))});
    QStringList expectedStart{"started", "elapsed 0", "speed", "remaining"};
    QCOMPARE(seen.mid(0, 4), expectedStart);
    QVERIFY2(seen.value(4).startsWith("progress"), qPrintable(seen.join(", ")));
    QCOMPARE(seen.last(), QStringLiteral("finished"));
    QVERIFY(seen.contains("progress 2"));
    QVERIFY(!seen.contains("canceled"));
    for (const QString &name : {QStringLiteral("a.png"), QStringLiteral("b.png")}) {
        const int at = seen.indexOf("image " + name);
        QVERIFY2(at > 0, qPrintable(seen.join(", ")));
        QCOMPARE(seen.mid(at + 1, 2), QStringList({"speed", "remaining"}));
    }
    QVERIFY(resizer->lastError().isEmpty());
    QVERIFY(!resizer->isRunning());
}

void tst_CImagesResizer::signalsOfEmptyRun()
{
    const QStringList seen = runAndRecord({});
    QCOMPARE(seen, QStringList({"started", "elapsed 0", "speed", "remaining", "progress 0", "finished"}));
    QVERIFY2(QFileInfo(out).isDir(), "the user folder is made even for an empty list");
}

void tst_CImagesResizer::pauseHoldsTheClock()
{
    QSignalSpy elapsed(resizer, &CImagesResizer::resizeElapsed);
    resizer->setPause(false);
    QVERIFY2(elapsed.wait(1000), "the clock runs after a resume even without a run");
    resizer->setPause(true);
    const uint stoppedAt = elapsed.last()[0].toUInt();
    elapsed.clear();
    QVERIFY(!elapsed.wait(300));
    resizer->setPause(false);
    QVERIFY(elapsed.wait(1000));
    QCOMPARE(elapsed[0][0].toUInt(), stoppedAt + 100);
    resizer->setPause(true);
}

void tst_CImagesResizer::cancelStopsReporting()
{
    QVector<CImageInfo> images;
    for (int i = 0; i < 40; ++i)
        images << CImageInfo(source(QStringLiteral("c%1.png").arg(i), QSize(320, 240)));
    QStringList seen;
    connect(resizer, &CImagesResizer::resizeStarted, resizer, [&] { resizer->cancel(); });
    seen = runAndRecord(images);
    const int canceledAt = seen.indexOf("canceled");
    QVERIFY2(canceledAt > 0, qPrintable(seen.join(", ")));
    QCOMPARE(seen.last(), QStringLiteral("finished"));
    QVERIFY2(seen.mid(canceledAt).filter("image ").isEmpty(), "no image may be reported after the cancel");
    QVERIFY2(seen.filter("image ").size() < images.size(), "a cancelled run must not resize everything");
    const QStringList left = QDir(out).entryList(QDir::Files);
    QVERIFY2(left.filter(QRegularExpression("\\.png.")).isEmpty(), qPrintable(left.join(", ")));
}

void tst_CImagesResizer::failingImageCancelsAndKeepsEarlierOutput()
{
    const QString broken = in + QStringLiteral("/broken.jpg");
    {
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(2000, '\x13'));
    }
    QVERIFY(QDir().mkdir(out));
    {
        QFile earlier(out + QStringLiteral("/broken.jpg"));
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("good output");
    }
    const QStringList seen = runAndRecord({CImageInfo(source("a.png")), CImageInfo(broken)});
    QVERIFY2(seen.contains("canceled"), qPrintable(seen.join(", ")));
    QCOMPARE(seen.last(), QStringLiteral("finished"));
    QVERIFY2(resizer->lastError().contains(QDir::toNativeSeparators(broken)),
             qPrintable(resizer->lastError()));
    resizer->blockingCancel();

    // A good name over an earlier output is not spoilt by a failure and leaves no temporary file.
    QVERIFY(QDir(out).entryList(QDir::Files).filter("broken").size() == 1);
    QFile earlier(out + QStringLiteral("/broken.jpg"));
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    QCOMPARE(earlier.readAll(), QByteArray("good output"));

    const QStringList next = runAndRecord({CImageInfo(source("c.png"))});
    QVERIFY2(!next.contains("canceled"), "a new run starts clean");
    QVERIFY2(resizer->lastError().isEmpty(), "a new run clears the failure of the last one");
}

// The GUI thread is held in the first image's handler until the pool has met the failure of the last
// image, so the results of the images between are delivered after it, whatever the machine's timing.
void tst_CImagesResizer::failureStoredWhileResultsAreDelivered()
{
    const auto restore = TestPool::ofThreads(1);
    QThreadPool *pool = QThreadPool::globalInstance();
    const QString broken = in + QStringLiteral("/broken.png");
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("\x89PNG\r\n\x1A\n", 8) + QByteArray(2000, '\x13'));
    file.close();
    QVector<CImageInfo> images;
    for (const char *name : {"a.png", "b.png", "c.png"})
        images << CImageInfo(source(name));
    images << CImageInfo(source("broken-record.png"));
    // The record stands for a file that was a picture when it was queued.
    QVERIFY(QFile::remove(images.last().fullPath()) && QFile::rename(broken, images.last().fullPath()));
    bool held = false;
    connect(resizer, &CImagesResizer::imageResized, this, [&held, pool] {
        if (!held)
            held = pool->waitForDone(20000);
    });

    const QStringList seen = runAndRecord(images);
    QVERIFY2(held, "the pool did not finish while the GUI thread waited");
    QCOMPARE(seen.filter(QRegularExpression("^(image .*|canceled|finished)$")),
             QStringList({"image a.png", "image b.png", "image c.png", "canceled", "finished"}));
    QVERIFY2(resizer->lastError().contains(QDir::toNativeSeparators(images.last().fullPath())),
             qPrintable(resizer->lastError()));
}

void tst_CImagesResizer::libraryWarningDoesNotCancel()
{
    const QString clean = TestImages::write(in + QStringLiteral("/clean.jpg"), QSize(64, 48), "JPEG");
    QFile file(clean);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    // Bytes between two markers: the JPEG decoder warns about extraneous data and carries on.
    const int afterApp0 = 4 + ((uchar(bytes[4]) << 8) | uchar(bytes[5]));
    bytes.insert(afterApp0, "junk");
    QFile warned(in + QStringLiteral("/warned.jpg"));
    QVERIFY(warned.open(QIODevice::WriteOnly));
    warned.write(bytes);
    warned.close();
    const CImageInfo info(warned.fileName());
    QVERIFY2(!info.isNull(), "Qt must take the file, or the test proves nothing");

    const QStringList seen = runAndRecord({info});
    QVERIFY2(!seen.contains("canceled"), qPrintable(resizer->lastError()));
    QCOMPARE(TestImages::pixelSize(out + QStringLiteral("/warned.jpg")), QSize(32, 24));
}

QTEST_GUILESS_MAIN(tst_CImagesResizer)
#include "tst_cimagesresizer.moc"
