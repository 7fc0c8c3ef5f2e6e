#include "BrindleCore.h"
#include "testimages.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
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
    void estimateMatchesTheOutput_data();
    void estimateMatchesTheOutput();
    void outputNames_data();
    void outputNames();
    void refusedRuns_data();
    void refusedRuns();

private:
    QString source(const QString &name, const QSize &size = QSize(64, 48))
    {
        return TestImages::write(in + QLatin1Char('/') + name, size, "PNG");
    }
    void run(const QVector<CImageInfo> &images);

    QTemporaryDir dir;
    QString in;
    QString out;
    CImagesResizer *resizer = nullptr;
};

void tst_CImagesResizer::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(dir.isValid());
    QVERIFY(QDir::setCurrent(dir.path()));
}

void tst_CImagesResizer::init()
{
    static int round = 0;
    in = dir.filePath(QStringLiteral("in%1").arg(++round));
    out = dir.filePath(QStringLiteral("out%1").arg(round));
    QVERIFY(QDir().mkdir(in));
    delete resizer;
    resizer = new CImagesResizer(this);
    resizer->setSize(QSize(32, 24));
    resizer->setResizeParameters(Flags(CImagesResizer::UseWidth) | CImagesResizer::UseHeight);
    resizer->setOutputFolder(out);
}

// Runs the list to its end, which must come without a failure.
void tst_CImagesResizer::run(const QVector<CImageInfo> &images)
{
    QSignalSpy finished(resizer, &CImagesResizer::resizeFinished);
    resizer->resizeImages(images);
    QVERIFY(!finished.isEmpty() || finished.wait(20000));
    QVERIFY2(resizer->lastError().isEmpty(), qPrintable(resizer->lastError()));
}

void tst_CImagesResizer::newResolution_data()
{
    QTest::addColumn<QSize>("sourceSize");
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("neverEnlarge");
    QTest::addColumn<QSize>("expected");

    // Into the box 80x60; flags: 0x01 none, 0x02 width, 0x04 height, 0x08 keep ratio, 0x10 portrait turn.
    const auto row = [](const char *name, const QSize &source, int flags, const QSize &expected) {
        QTest::newRow(name) << source << flags << QByteArray(name).startsWith("never enlarge") << expected;
    };
    row("landscape, width, keep ratio", QSize(400, 300), 0x0a, QSize(80, 60));
    row("width rule truncates, never rounds", QSize(103, 77), 0x0a, QSize(80, 59));
    row("height rule, keep ratio", QSize(103, 77), 0x0c, QSize(80, 60));
    row("both sides, keep ratio: height wins", QSize(300, 200), 0x0e, QSize(90, 60));
    row("both sides, no ratio: exact box", QSize(300, 200), 0x06, QSize(80, 60));
    row("width alone distorts", QSize(300, 200), 0x02, QSize(80, 200));
    row("portrait, height, keep ratio", QSize(200, 300), 0x0c, QSize(40, 60));
    row("portrait turns the box", QSize(200, 300), 0x1e, QSize(60, 90));
    row("portrait turns the box and keeps ratio unasked", QSize(200, 300), 0x16, QSize(60, 90));
    row("square turns the box too", QSize(100, 100), 0x1a, QSize(60, 60));
    row("landscape ignores the turn", QSize(100, 50), 0x10, QSize(100, 50));
    row("no flags keep the size", QSize(100, 50), 0x01, QSize(100, 50));
    row("small source is enlarged", QSize(64, 48), 0x0a, QSize(80, 60));
    row("never enlarge keeps a small source", QSize(64, 48), 0x0a, QSize(64, 48));
    row("never enlarge still shrinks", QSize(103, 77), 0x0a, QSize(80, 59));
    row("never enlarge still stretches one side", QSize(300, 200), 0x02, QSize(80, 200));
}

// Checked through real outputs, since the rule is only seen in the files it makes.
void tst_CImagesResizer::newResolution()
{
    QFETCH(QSize, sourceSize);
    QFETCH(int, flags);
    QFETCH(bool, neverEnlarge);
    resizer->setSize(QSize(80, 60));
    resizer->setResizeParameters(Flags(flags));
    resizer->setNeverEnlarge(neverEnlarge);
    run({CImageInfo(source(QStringLiteral("source.png"), sourceSize))});
    QTEST(TestImages::pixelSize(out + QStringLiteral("/source.png")), "expected");
}

void tst_CImagesResizer::estimateMatchesTheOutput_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QSize>("sourceSize");
    QTest::addColumn<QSize>("target");
    QTest::addColumn<int>("quality");

    QTest::newRow("JPEG shrunk at its own quality") << "jpg" << QSize(480, 360) << QSize(240, 180) << 0;
    QTest::newRow("JPEG shrunk at a low quality") << "jpg" << QSize(480, 360) << QSize(240, 180) << 30;
    QTest::newRow("JPEG enlarged") << "jpg" << QSize(320, 240) << QSize(480, 360) << 0;
    QTest::newRow("PNG shrunk") << "png" << QSize(480, 360) << QSize(240, 180) << 0;
}

// What the resize screen shows before a run, in megabytes, against what the run then writes.
void tst_CImagesResizer::estimateMatchesTheOutput()
{
    QFETCH(QString, suffix);
    QFETCH(QSize, sourceSize);
    QFETCH(QSize, target);
    QFETCH(int, quality);
    resizer->setSize(target);
    resizer->setResizeParameters(CImagesResizer::UseWidth | CImagesResizer::KeepAspectRatio);
    resizer->setJpegQuality(quality);
    QVector<CImageInfo> images;
    for (int seed = 0; seed < 2; ++seed)
        images << CImageInfo(TestImages::write(in + QStringLiteral("/%1.%2").arg(seed).arg(suffix),
                                               sourceSize, nullptr, seed));
    const double estimate = resizer->evaluationResize(images).evalutionSize();
    run(images);
    double written = 0;
    for (const QFileInfo &output : QDir(out).entryInfoList(QDir::Files))
        written += double(output.size()) / (1024 * 1024);
    QVERIFY2(qAbs(estimate / written - 1) < 0.3,
             qPrintable(QStringLiteral("estimate %1 MB, written %2 MB").arg(estimate).arg(written)));
}

void tst_CImagesResizer::outputNames_data()
{
    QTest::addColumn<bool>("besideSource");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");

    // Under the user folder, or beside the source, which the last row names by a relative path.
    const auto row = [](const char *name, const char *folder, const char *prefix, const char *file,
                        const char *expected) {
        QTest::newRow(name) << QByteArray(name).startsWith("beside") << QString::fromUtf8(folder)
                            << QString::fromUtf8(prefix) << QString::fromUtf8(file)
                            << QString::fromUtf8(expected);
    };
    row("no dot ends in a dot", "o", "", "README", "o/README.");
    row("every suffix kept", "o", "p_", "photo.final.jpg", "o/p_photo.final.jpg");
    row("percent signs and digits stay", "50%2off", "%1_", "a%2d.jpg", "50%2off/%1_a%2d.jpg");
    row("format prefix and frame selector in name", "o", "", "png:x[0].jpg", "o/png:x[0].jpg");
    row("leading dash", "o", "-", "-x.png", "o/--x.png");
    row("spaces and non-ASCII", "Ausgabe ä", "klein ", "Bild ß.png", "Ausgabe ä/klein Bild ß.png");
    row("beside a source given relative", "resized_32x24", "", "a.jpg", "resized_32x24/a.jpg");
}

void tst_CImagesResizer::outputNames()
{
    QFETCH(bool, besideSource);
    QFETCH(QString, folder);
    QFETCH(QString, prefix);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    const QString path = in + QLatin1Char('/') + name;
    QVERIFY(!TestImages::write(path, QSize(40, 30), name.endsWith("png") ? "PNG" : "JPEG").isEmpty());
    QVERIFY(QDir().mkdir(out));
    resizer->setSameFolderForNewImages(besideSource);
    resizer->setOutputFolder(besideSource ? folder : out + QLatin1Char('/') + folder);
    resizer->setPrefixForResizedImages(prefix);

    QSignalSpy resized(resizer, &CImagesResizer::imageResized);
    run({CImageInfo(besideSource ? QDir().relativeFilePath(path) : path)});
    QCOMPARE(resized.count(), 1);
    const QString written = (besideSource ? in : out) + QLatin1Char('/') + expected;
    QCOMPARE(QFileInfo(resized[0][1].toString()).absoluteFilePath(), written);
    QCOMPARE(TestImages::pixelSize(written), QSize(32, 24));
    QCOMPARE(QFileInfo(written).dir().entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void tst_CImagesResizer::refusedRuns_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QSize>("target");
    QTest::addColumn<QString>("named");

    // "IN" is the sources' folder, "IN_link" a link to it, "OUT" the output folder, none: beside the source.
    const QSize box(32, 24);
    QTest::newRow("user folder is the sources' folder") << "IN" << box << "a.png";
    QTest::newRow("beside the source without prefix") << "" << box << "a.png";
    QTest::newRow("user folder reached through a link") << "IN_link" << box << "a.png";
    QTest::newRow("one name in two folders") << "OUT" << box << "other";
    QTest::newRow("empty width") << "OUT" << QSize(0, 24) << "a.png";
    QTest::newRow("negative height") << "OUT" << QSize(32, -1) << "a.png";
    QTest::newRow("target beyond the pixel limit") << "OUT" << QSize(20000, 20000) << "a.png";
    QTest::newRow("user folder under a missing folder") << "OUT/missing/deeper" << box << "output";
}

void tst_CImagesResizer::refusedRuns()
{
    QFETCH(QString, folder);
    QFETCH(QSize, target);
    QFETCH(QString, named);
    QVERIFY(QDir(in).mkdir("other"));
    QVERIFY(QFile::link(in, in + "_link"));
    QVector<CImageInfo> images{CImageInfo(source("a.png"))};
    if (named == "other")
        images << CImageInfo(source("other/a.png"));
    const QDateTime modified = QFileInfo(images[0].fullPath()).lastModified();
    resizer->setSize(target);
    resizer->setSameFolderForNewImages(folder.isEmpty());
    resizer->setOutputFolder(folder.startsWith("IN") ? in + folder.mid(2) : folder.replace("OUT", out));

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

QTEST_GUILESS_MAIN(tst_CImagesResizer)
#include "tst_cimagesresizer.moc"
