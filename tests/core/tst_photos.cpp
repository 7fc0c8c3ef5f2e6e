#include "BrindleCore.h"
#include "photofiles.h"
#include "testimages.h"

#include <QBuffer>
#include <QColorSpace>
#include <QDir>
#include <QImageReader>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using Flags = CImagesResizer::ResizeParameters;
using PhotoFiles::Facts;

// Photos as cameras and editors leave them: turned by a tag, carrying details, profiles and odd depths.
class tst_Photos : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void losslessIgnoresQuality_data();
    void losslessIgnoresQuality();
    void colourAndDepth_data();
    void colourAndDepth();

private:
    struct Choices
    {
        QSize target = QSize(80, 60);
        int flags = CImagesResizer::UseWidth | CImagesResizer::UseHeight | CImagesResizer::KeepAspectRatio;
        int quality = 0;
        bool strip = false;
    };
    QString resized(const QString &source, const Choices &choices);
    QString path(const QString &name) const;

    QTemporaryDir dir;
};

namespace {

// The pixels as stored, without any turn a tag asks for.
QImage storedPixels(const QString &path)
{
    QImageReader reader(path);
    reader.setAutoTransform(false);
    return reader.read();
}

QImage scaled(const QImage &image, const QSize &size)
{
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Transparent blocks over the photo, so that a lost or flattened alpha channel shows.
QImage withHoles(const QImage &photo)
{
    QImage image = photo.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((x / 40 + y / 40) % 3 == 0)
                image.setPixel(x, y, qRgba(0, 0, 0, 0));
        }
    }
    return image;
}

} // namespace

void tst_Photos::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(dir.isValid());
}

QString tst_Photos::path(const QString &name) const
{
    return dir.filePath(name);
}

// Runs one image through a fresh engine into a folder of its own and gives the output's path.
QString tst_Photos::resized(const QString &source, const Choices &choices)
{
    static int round = 0;
    const QString folder = path(QStringLiteral("out%1").arg(++round));
    CImagesResizer resizer;
    resizer.setSize(choices.target);
    resizer.setResizeParameters(Flags(choices.flags));
    resizer.setOutputFolder(folder);
    resizer.setJpegQuality(choices.quality);
    resizer.setStripDetails(choices.strip);
    QSignalSpy finished(&resizer, &CImagesResizer::resizeFinished);
    resizer.resizeImages({CImageInfo(source)});
    if (finished.isEmpty() && !finished.wait(20000))
        return QString();
    if (!resizer.lastError().isEmpty())
        qWarning("%s", qPrintable(resizer.lastError()));
    return folder + QLatin1Char('/') + QFileInfo(source).fileName();
}

void tst_Photos::losslessIgnoresQuality_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("PNG") << "still.png";
    QTest::newRow("TIFF") << "still.tif";
    QTest::newRow("BMP") << "still.bmp";
}

void tst_Photos::losslessIgnoresQuality()
{
    QFETCH(QString, name);
    const QString source = TestImages::write(path(name), QSize(200, 150));
    QVERIFY(!source.isEmpty());
    const QByteArray asSource = fileBytes(resized(source, Choices()));
    QVERIFY(!asSource.isEmpty());
    for (const int quality : {1, 30, 100}) {
        Choices choices;
        choices.quality = quality;
        QVERIFY2(fileBytes(resized(source, choices)) == asSource, qPrintable(QString::number(quality)));
    }
}

void tst_Photos::colourAndDepth_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<double>("tolerance");

    const QImage photo = TestImages::photo(QSize(240, 160), 5);
    QTest::newRow("CMYK JPEG") << PhotoFiles::writeCmykJpeg(path("cmyk.jpg"), photo) << 6.0;
    QImage profiled = photo;
    profiled.setColorSpace(QColorSpace::AdobeRgb);
    profiled.save(path("profiled.jpg"));
    QTest::newRow("JPEG with a colour profile") << path("profiled.jpg") << 6.0;
    profiled.save(path("profiled.png"));
    QTest::newRow("PNG with a colour profile") << path("profiled.png") << 3.0;
    photo.convertToFormat(QImage::Format_RGBA64).save(path("deep.png"));
    QTest::newRow("16-bit PNG") << path("deep.png") << 3.0;
    QTest::newRow("grey PNG with transparency")
        << PhotoFiles::writeGreyAlphaPng(path("grey.png"), withHoles(photo)) << 6.0;
    withHoles(photo).convertToFormat(QImage::Format_Indexed8).save(path("palette.png"));
    QTest::newRow("palette PNG with transparency") << path("palette.png") << 8.0;
    photo.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither).save(path("bilevel.tif"));
    QTest::newRow("bilevel TIFF") << path("bilevel.tif") << 20.0;
}

// Each comes out as what it was, in the same format, and looks like the source scaled the same way.
void tst_Photos::colourAndDepth()
{
    QFETCH(QString, source);
    QFETCH(double, tolerance);
    const QString output = resized(source, Choices());
    const Facts before = PhotoFiles::facts(source);
    const Facts after = PhotoFiles::facts(output);
    QCOMPARE(after.format, before.format);
    QCOMPARE(after.colourSpace, before.colourSpace);
    QCOMPARE(after.depth, before.depth);
    QCOMPARE(after.alpha, before.alpha);
    QCOMPARE(after.profiles.contains("icc"), before.profiles.contains("icc"));
    const QImage pixels = storedPixels(output);
    QCOMPARE(pixels.size(), QSize(90, 60));
    const double difference = TestImages::meanDifference(pixels, scaled(storedPixels(source), pixels.size()));
    QVERIFY2(difference < tolerance, qPrintable(QStringLiteral("output differs by %1").arg(difference)));
}

QTEST_GUILESS_MAIN(tst_Photos)
#include "tst_photos.moc"
