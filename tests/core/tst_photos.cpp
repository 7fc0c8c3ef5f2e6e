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
    void upright_data();
    void upright();
    void jpegQuality_data();
    void jpegQuality();
    void losslessIgnoresQuality_data();
    void losslessIgnoresQuality();
    void details_data();
    void details();
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

void tst_Photos::upright_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<int>("orientation");

    const char *names[] = {"as stored",  "mirrored",           "half turn",  "flipped",
                           "transposed", "quarter turn right", "transverse", "quarter turn left"};
    for (const char *suffix : {"jpg", "tif"}) {
        for (int orientation = 1; orientation <= 8; ++orientation)
            QTest::addRow("%s, %d %s", suffix, orientation, names[orientation - 1]) << suffix << orientation;
    }
}

// A portrait photo is seen upright everywhere: in its record, its thumbnail and its output, whose pixels
// need no tag any more.
void tst_Photos::upright()
{
    QFETCH(QString, suffix);
    QFETCH(int, orientation);
    const QSize upright(160, 240);
    const QImage picture = TestImages::photo(upright, orientation);
    const QString source = PhotoFiles::writeOriented(
        path(QStringLiteral("turned%1.%2").arg(orientation).arg(suffix)), upright, orientation, orientation);
    QVERIFY(!source.isEmpty());

    QImage thumbnail;
    const CImageInfo record(source, QSize(37, 37), &thumbnail);
    QCOMPARE(record.resolution(), upright);
    QCOMPARE(thumbnail.size(), QSize(24, 37));
    const double thumbnailDifference =
        TestImages::meanDifference(thumbnail, scaled(picture, thumbnail.size()));
    QVERIFY2(thumbnailDifference < 6,
             qPrintable(QStringLiteral("thumbnail differs by %1").arg(thumbnailDifference)));

    // The rule sees the upright size: height 60 wins, the width follows.
    const QString output = resized(source, Choices());
    const QImage pixels = storedPixels(output);
    QCOMPARE(pixels.size(), QSize(40, 60));
    const double difference = TestImages::meanDifference(pixels, scaled(picture, pixels.size()));
    QVERIFY2(difference < 6, qPrintable(QStringLiteral("output differs by %1").arg(difference)));
    const Facts facts = PhotoFiles::facts(output);
    QVERIFY2(facts.orientation <= 1, qPrintable(QStringLiteral("output says %1").arg(facts.orientation)));
    if (suffix == QLatin1String("jpg")) {
        QCOMPARE(facts.exifPixels, pixels.size());
        QVERIFY2(facts.exifThumbnail == (orientation == 1),
                 "only an unturned photo keeps its EXIF thumbnail");
    }
}

void tst_Photos::jpegQuality_data()
{
    QTest::addColumn<int>("quality");
    QTest::addColumn<int>("expected");

    QTest::newRow("as the source") << 0 << 50;
    QTest::newRow("low") << 30 << 30;
    QTest::newRow("high") << 95 << 95;
}

void tst_Photos::jpegQuality()
{
    QFETCH(int, quality);
    const QString source = path(QStringLiteral("quality50.jpg"));
    QVERIFY(PhotoFiles::save(source, PhotoFiles::jpeg(TestImages::photo(QSize(200, 150)), {}, 50)));
    Choices choices;
    choices.quality = quality;
    const QString output = resized(source, choices);
    QCOMPARE(TestImages::pixelSize(output), QSize(80, 60));
    QTEST(PhotoFiles::facts(output).quality, "expected");
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
    // The bytes are compared without the PNG writer's dates, which follow the clock.
    const auto written = [this, &source](int quality) {
        Choices choices;
        choices.quality = quality;
        const QString output = resized(source, choices);
        return qMakePair(QFileInfo(output).size(), storedPixels(output));
    };
    const auto asSource = written(0);
    QVERIFY(!asSource.second.isNull());
    for (const int quality : {1, 30, 100})
        QVERIFY2(written(quality) == asSource, qPrintable(QString::number(quality)));
}

void tst_Photos::details_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("strip");
    QTest::addColumn<QStringList>("profiles");
    QTest::addColumn<bool>("comment");

    QImage picture = TestImages::photo(QSize(240, 160), 3);
    picture.setColorSpace(QColorSpace::AdobeRgb);
    const QByteArray exif = PhotoFiles::exifBlock(
        1, picture.size(), PhotoFiles::jpeg(picture.scaled(16, 16, Qt::KeepAspectRatio)));
    const QString jpeg = path(QStringLiteral("detailed.jpg"));
    PhotoFiles::save(jpeg, PhotoFiles::jpeg(picture, {PhotoFiles::exifSegment(exif), PhotoFiles::xmpSegment(),
                                                      PhotoFiles::iptcSegment(),
                                                      PhotoFiles::commentSegment("taken at home")}));
    picture.setText(QStringLiteral("Comment"), QStringLiteral("taken at home"));
    const QString png = path(QStringLiteral("detailed.png"));
    picture.save(png);

    const QStringList all{"8bim", "exif", "icc", "iptc", "xmp"};
    QTest::newRow("JPEG, kept") << jpeg << false << all << true;
    QTest::newRow("JPEG, removed but the colour profile") << jpeg << true << QStringList{"icc"} << false;
    QTest::newRow("PNG, kept") << png << false << QStringList{"icc"} << true;
    QTest::newRow("PNG, removed but the colour profile") << png << true << QStringList{"icc"} << false;
}

void tst_Photos::details()
{
    QFETCH(QString, source);
    QFETCH(bool, strip);
    QFETCH(bool, comment);
    Choices choices;
    choices.strip = strip;
    const Facts facts = PhotoFiles::facts(resized(source, choices));
    QStringList profiles = facts.profiles;
    profiles.sort();
    QTEST(profiles, "profiles");
    QCOMPARE(!facts.comment.isEmpty(), comment);
    if (facts.profiles.contains(QLatin1String("exif"))) {
        QCOMPARE(facts.exifPixels, QSize(90, 60));
        QVERIFY2(facts.exifThumbnail, "an unturned photo keeps its EXIF thumbnail");
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
