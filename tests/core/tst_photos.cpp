#include "BrindleCore.h"
#include "photofiles.h"
#include "testimages.h"

#include <QColorSpace>
#include <QDir>
#include <QImageReader>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using TestImages::Library;

// Photos as cameras and editors leave them: turned by a tag, carrying details, profiles and odd depths.
class tst_Photos : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void unreadable_data();
    void unreadable();
    void outputs_data();
    void outputs();

private:
    QString resized(const QString &source, int quality = 0, bool strip = false);
    QString path(const QString &name) const { return dir.filePath(name); }

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

// Whether pixels look like the source scaled to their size; says by how much they differ when not.
bool looksLike(const QImage &pixels, const QImage &source, double tolerance)
{
    const double difference = TestImages::meanDifference(
        pixels, source.scaled(pixels.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    if (difference >= tolerance)
        qWarning("differs by %g levels", difference);
    return difference < tolerance;
}

// A transparent hole in the photo, so that a lost or flattened alpha channel shows.
QImage withHole(const QImage &photo)
{
    QImage image = photo.convertToFormat(QImage::Format_ARGB32);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.fillRect(image.rect().adjusted(40, 40, -40, -40), Qt::transparent);
    painter.end();
    return image;
}

} // namespace

void tst_Photos::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(dir.isValid());
}

// Runs one image through a fresh engine into the box 80x60 (both sides, ratio kept), in a folder of its
// own, and gives the output's path; empty when the run failed.
QString tst_Photos::resized(const QString &source, int quality, bool strip)
{
    static int round = 0;
    const QString folder = path(QStringLiteral("out%1").arg(++round));
    CImagesResizer resizer;
    resizer.setSize(QSize(80, 60));
    resizer.setResizeParameters(CImagesResizer::UseWidth | CImagesResizer::UseHeight |
                                CImagesResizer::KeepAspectRatio);
    resizer.setOutputFolder(folder);
    resizer.setJpegQuality(quality);
    resizer.setStripDetails(strip);
    QSignalSpy finished(&resizer, &CImagesResizer::resizeFinished);
    resizer.resizeImages({CImageInfo(source)});
    const bool ended = !finished.isEmpty() || finished.wait(20000);
    if (!resizer.lastError().isEmpty())
        qWarning("%s", qPrintable(resizer.lastError()));
    return ended && resizer.lastError().isEmpty() ? folder + QLatin1Char('/') + QFileInfo(source).fileName()
                                                  : QString();
}

void tst_Photos::unreadable_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("reason");

    QTest::newRow("missing file") << path("gone.png") << "does not exist";
    QDir().mkdir(path("folder.jpg"));
    QTest::newRow("folder named like an image") << path("folder.jpg") << "not a regular file";
    PhotoFiles::save(path("text.png"), "no picture here");
    QTest::newRow("text under an image name: the decoder's words") << path("text.png") << "";
    const QString webp = TestImages::write(path("webp.jpg"), QSize(8, 6), "WEBP");
    if (!webp.isEmpty())
        QTest::newRow("a format Qt reads but the engine does not") << webp << "WEBP content";
    // A few hundred bytes whose frame header claims 20000x13000 pixels.
    QByteArray huge = PhotoFiles::jpeg(TestImages::photo(QSize(16, 16)));
    huge.replace(huge.indexOf("\xff\xc0") + 5, 4, QByteArray("\x32\xc8\x4e\x20", 4));
    QVERIFY(PhotoFiles::save(path("huge.jpg"), huge));
    QTest::newRow("header claiming too many pixels") << path("huge.jpg") << "megapixels";
}

// Whichever way a record is read, a file the engine cannot take is null and says why.
void tst_Photos::unreadable()
{
    QFETCH(QString, source);
    QFETCH(QString, reason);
    QImage thumbnail(1, 1, QImage::Format_RGB32);
    const CImageInfo queued(source, QSize(37, 37), &thumbnail);
    QVERIFY(thumbnail.isNull());
    for (const CImageInfo &info :
         {queued, CImageInfo(source), CImageInfo(source, CImageInfo::Reading::HeaderOnly)}) {
        QVERIFY2(info.isNull(), qPrintable(info.getResolutionString()));
        QVERIFY2(!info.nullReason().isEmpty() && info.nullReason().contains(reason),
                 qPrintable(info.nullReason()));
    }
}

void tst_Photos::outputs_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QImage>("upright");
    QTest::addColumn<int>("quality");
    QTest::addColumn<bool>("strip");
    QTest::addColumn<int>("frames");
    QTest::addColumn<double>("tolerance");

    // Portrait photos as a camera turns them, tagged so that a viewer shows them upright.
    const char *turns[] = {"as stored",  "mirrored",           "half turn",  "flipped",
                           "transposed", "quarter turn right", "transverse", "quarter turn left"};
    for (const char *suffix : {"jpg", "tif"}) {
        for (int orientation = 1; orientation <= 8; ++orientation) {
            const QString name = path(QStringLiteral("turned%1.%2").arg(orientation).arg(suffix));
            QTest::addRow("%s, %d %s", suffix, orientation, turns[orientation - 1])
                << PhotoFiles::writeOriented(name, QSize(80, 120), orientation, orientation)
                << TestImages::photo(QSize(80, 120), orientation) << 0 << false << 1 << 6.0;
        }
    }
    const QImage photo = TestImages::photo(QSize(240, 160), 5);
    const auto row = [](const char *name, const QString &source, double tolerance, int quality = 0,
                        bool strip = false, int frames = 1) {
        QTest::newRow(name) << source << storedPixels(source) << quality << strip << frames << tolerance;
    };
    const auto saved = [this](const char *name, const QImage &picture, const char *format = nullptr) {
        return picture.save(path(name), format) ? path(name) : QString();
    };
    const auto library = [this](const char *name, const QImage &picture, Library kind) {
        return TestImages::writeWithLibrary(path(name), {picture}, kind);
    };
    const auto file = [this](const char *name, const QByteArray &bytes) {
        return PhotoFiles::save(path(name), bytes) ? path(name) : QString();
    };
    const QString plain = file("quality50.jpg", PhotoFiles::jpeg(photo, {}, 50));
    row("JPEG at its own quality", plain, 8);
    row("JPEG at a lower quality", plain, 8, 30);
    row("JPEG at a higher quality", plain, 6, 95);
    row("JPEG the decoder reduces by 8",
        file("large.jpg", PhotoFiles::jpeg(TestImages::photo(QSize(1440, 960), 5))), 6);
    row("PNG ignores the quality", saved("lossless.png", photo), 3, 1);
    row("TIFF ignores the quality", saved("lossless.tif", photo), 3, 1);
    row("BMP", saved("plain.bmp", photo), 3);
    row("content decides, not the suffix", saved("png-inside.jpg", photo, "PNG"), 3);
    QVERIFY(TestImages::fileBytes(library("mm.tif", photo, Library::BigEndianTiff)).startsWith("MM"));
    row("big-endian TIFF", path("mm.tif"), 3);
    row("CMYK JPEG", library("cmyk.jpg", photo, Library::CmykJpeg), 6);
    row("grey PNG with transparency", library("grey.png", withHole(photo), Library::GreyAlphaPng), 6);
    row("16-bit PNG", saved("deep.png", photo.convertToFormat(QImage::Format_RGBA64)), 3);
    row("palette PNG with transparency",
        saved("palette.png", withHole(photo).convertToFormat(QImage::Format_Indexed8)), 8);
    row("bilevel TIFF", saved("bilevel.tif", photo.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither)),
        20);
    TestImages::writeAnimatedGif(path("anim.gif"), photo.size(), 3);
    row("lower-case gif keeps every frame", path("anim.gif"), 12, 0, false, 3);
    QFile::copy(path("anim.gif"), path("anim.GIF"));
    row("upper-case GIF keeps the first frame", path("anim.GIF"), 12);
    // Bytes between two markers: the JPEG decoder warns about extraneous data and carries on.
    QByteArray warned = PhotoFiles::jpeg(photo);
    warned.insert(4 + ((uchar(warned[4]) << 8) | uchar(warned[5])), "junk");
    row("JPEG the decoder warns about", file("warned.jpg", warned), 6);

    QImage detailed = photo;
    detailed.setColorSpace(QColorSpace::AdobeRgb);
    const QString jpeg = file(
        "detailed.jpg", PhotoFiles::cameraJpeg(detailed, 1, PhotoFiles::commentSegment("taken at home")));
    row("JPEG with details, kept", jpeg, 6);
    row("JPEG with details, removed but the colour profile", jpeg, 6, 0, true);
    detailed.setText(QStringLiteral("Comment"), QStringLiteral("taken at home"));
    const QString png = saved("detailed.png", detailed);
    row("PNG with details, kept", png, 3);
    row("PNG with details, removed but the colour profile", png, 3, 0, true);
}

// Each is seen upright everywhere: in its record, its thumbnail and its output, whose pixels need no tag any
// more. It comes out in the same format, frames and kind of pixels, looking like the source scaled the same
// way. A chosen quality reaches JPEG outputs alone; removed details take all but the colour profile, kept
// EXIF details describe the output.
void tst_Photos::outputs()
{
    QFETCH(QString, source);
    QFETCH(QImage, upright);
    QFETCH(int, quality);
    QFETCH(bool, strip);
    QFETCH(double, tolerance);
    QImage thumbnail;
    QCOMPARE(CImageInfo(source, QSize(37, 37), &thumbnail).resolution(), upright.size());
    QCOMPARE(CImageInfo(source, CImageInfo::Reading::HeaderOnly).resolution(), upright.size());
    QCOMPARE(thumbnail.size(), upright.size().scaled(37, 37, Qt::KeepAspectRatio));
    // From a decode the decoder may have reduced, yet as the full picture scaled.
    QVERIFY2(looksLike(thumbnail, upright, tolerance), "the thumbnail is not the upright picture");

    // The rule sees the upright size: height 60 wins, the width follows.
    const QString output = resized(source, quality, strip);
    QVERIFY(!output.isEmpty());
    const QImage pixels = storedPixels(output);
    QCOMPARE(pixels.size(), QSize(60 * upright.width() / upright.height(), 60));
    QVERIFY2(looksLike(pixels, upright, tolerance), "the output is not the upright source scaled");
    const QByteArray format = QImageReader(source).format();
    QCOMPARE(QImageReader(output).format(), format);
    QTEST(QImageReader(output).imageCount(), "frames");
    const PhotoFiles::Facts before = PhotoFiles::facts(source);
    const PhotoFiles::Facts after = PhotoFiles::facts(output);
    QVERIFY2(after.orientation <= 1, "the output's pixels are upright and must ask for no turn");
    QCOMPARE(after.pixels, before.pixels);
    if (format == "jpeg")
        QCOMPARE(after.quality, quality != 0 ? quality : before.quality);
    QCOMPARE(after.profiles, strip ? before.profiles.filter("icc") : before.profiles);
    QCOMPARE(after.comment, strip ? QString() : before.comment);
    if (after.profiles.contains("exif")) {
        QCOMPARE(after.exifPixels, pixels.size());
        QVERIFY2(after.exifThumbnail == (before.orientation <= 1),
                 "only an unturned photo keeps its thumbnail");
    }
}

QTEST_GUILESS_MAIN(tst_Photos)
#include "tst_photos.moc"
