#include "BrindleCore.h"
#include "testimages.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(CImageInfo)

class tst_CImageInfo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void names_data();
    void names();
    void fileSize_data();
    void fileSize();
    void recordWithoutImage_data();
    void recordWithoutImage();
    void relativePathKeepsItsForm();
    void nullReason_data();
    void nullReason();
    void thumbnailFromTheSameDecode_data();
    void thumbnailFromTheSameDecode();

private:
    QTemporaryDir dir;
};

void tst_CImageInfo::initTestCase()
{
    QVERIFY(dir.isValid());
}

void tst_CImageInfo::names_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("baseName");
    QTest::addColumn<QString>("completeSuffix");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("extension");

    QTest::newRow("two dots split at the first") << "photo.final.jpg"
                                                 << "photo"
                                                 << "final.jpg"
                                                 << "jpg"
                                                 << "JPG";
    QTest::newRow("no dot") << "README"
                            << "README" << QString() << QString() << QString();
    QTest::newRow("upper-case suffix kept as written") << "ANIM.GIF"
                                                       << "ANIM"
                                                       << "GIF"
                                                       << "GIF"
                                                       << "GIF";
    QTest::newRow("spaces and non-ASCII")
        << QString::fromUtf8("Straße am Fluß.png") << QString::fromUtf8("Straße am Fluß") << "png"
        << "png"
        << "PNG";
}

void tst_CImageInfo::names()
{
    QFETCH(QString, name);
    const QString path = dir.filePath(name);
    QVERIFY(!TestImages::write(path, QSize(8, 6), "PNG").isEmpty());

    const CImageInfo info(path);
    QCOMPARE(info.fullPath(), path);
    QCOMPARE(info.fileName(), name);
    QTEST(info.baseName(), "baseName");
    QTEST(info.completeSuffix(), "completeSuffix");
    QTEST(info.suffix(), "suffix");
    QTEST(info.extension(), "extension");
    QVERIFY2(!info.isNull(), "a PNG under any name must decode");
    QCOMPARE(info.resolution(), QSize(8, 6));
    QCOMPARE(info.getResolutionString(), QStringLiteral("8x6"));
    QCOMPARE(info.getImage().size(), QSize(8, 6));
}

void tst_CImageInfo::fileSize_data()
{
    QTest::addColumn<int>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("one mebibyte") << 1048576 << "1.00";
    QTest::newRow("two and a half mebibytes") << 2621440 << "2.50";
    QTest::newRow("empty file") << 0 << "0.00";
}

void tst_CImageInfo::fileSize()
{
    QFETCH(int, bytes);
    const QString path = dir.filePath(QStringLiteral("blob%1.jpg").arg(bytes));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(bytes, 'x'));
    file.close();

    const CImageInfo info(path);
    QCOMPARE(info.size(), bytes / 1048576.0);
    QTEST(info.getSizeString(), "text");
    QVERIFY2(info.isNull(), "bytes that are no image must give a null record");
    QCOMPARE(info.fileName(), QFileInfo(path).fileName());
}

void tst_CImageInfo::recordWithoutImage_data()
{
    QTest::addColumn<CImageInfo>("info");
    QTest::addColumn<QString>("path");

    QTest::newRow("default") << CImageInfo() << QString();
    const QString missing = QStringLiteral("/nonexistent/folder/photo.jpg");
    QTest::newRow("missing file") << CImageInfo(missing) << missing;
}

void tst_CImageInfo::recordWithoutImage()
{
    QFETCH(CImageInfo, info);
    QTEST(info.fullPath(), "path");
    QVERIFY(info.isNull());
    QCOMPARE(info.size(), 0.0);
    QCOMPARE(info.resolution(), QSize());
    QCOMPARE(info.getResolutionString(), QStringLiteral("-1x-1"));
    QVERIFY(info.fileName().isEmpty() && info.baseName().isEmpty() && info.suffix().isEmpty());
}

void tst_CImageInfo::relativePathKeepsItsForm()
{
    QVERIFY(QDir::setCurrent(dir.path()));
    QVERIFY(QDir().mkdir(QStringLiteral("sub")));
    QVERIFY(!TestImages::write(QStringLiteral("sub/pic.png"), QSize(4, 4)).isEmpty());

    const CImageInfo info(QStringLiteral("sub/pic.png"));
    QCOMPARE(info.fullPath(), QStringLiteral("sub/pic.png"));
    QCOMPARE(info.getImageFolder(), QDir(dir.path()).canonicalPath() + QStringLiteral("/sub"));
}

void tst_CImageInfo::nullReason_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("null");
    QTest::addColumn<QString>("reason");

    QTest::newRow("decodable image has none")
        << TestImages::write(dir.filePath("good.jpg"), QSize(8, 6)) << false << "";
    QTest::newRow("missing file") << dir.filePath("gone.png") << true << "does not exist";
    const QString folder = dir.filePath("folder.jpg");
    QDir().mkdir(folder);
    QTest::newRow("folder named like an image") << folder << true << "not a regular file";
    const QString text = dir.filePath("text.png");
    QFile file(text);
    file.open(QIODevice::WriteOnly);
    file.write("no picture here");
    file.close();
    QTest::newRow("text under an image name: the decoder's words") << text << true << "";
    const QString webp = TestImages::write(dir.filePath("webp.jpg"), QSize(8, 6), "WEBP");
    if (!webp.isEmpty())
        QTest::newRow("a format Qt reads but the engine does not") << webp << true << "WEBP content";
}

void tst_CImageInfo::nullReason()
{
    QFETCH(QString, path);
    QFETCH(bool, null);
    QFETCH(QString, reason);
    QImage thumbnail(1, 1, QImage::Format_RGB32);
    const CImageInfo info(path, QSize(37, 37), &thumbnail);
    QCOMPARE(info.isNull(), null);
    QCOMPARE(thumbnail.isNull(), null);
    QCOMPARE(info.nullReason().isEmpty(), !null);
    QVERIFY2(info.nullReason().contains(reason), qPrintable(info.nullReason()));
    QCOMPARE(CImageInfo(path).nullReason(), info.nullReason());
}

void tst_CImageInfo::thumbnailFromTheSameDecode_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("resolution");

    const auto row = [this](const char *name, const QSize &size) {
        QTest::newRow(name) << TestImages::write(dir.filePath(name), size, nullptr, size.width()) << size;
    };
    // JPEGs that the decoder reduces by 8, by 4 and not at all; formats that cannot be reduced.
    row("landscape.jpg", QSize(1600, 1200));
    row("portrait.jpg", QSize(300, 530));
    row("odd sides.jpg", QSize(1601, 1199));
    row("smaller than the box.jpg", QSize(30, 20));
    row("plain.png", QSize(320, 200));
}

// The picture the queue once made from a second, full decode, and the one it makes now must match.
void tst_CImageInfo::thumbnailFromTheSameDecode()
{
    QFETCH(QString, path);
    QFETCH(QSize, resolution);
    const QSize box(37, 37);
    QImage thumbnail;
    const CImageInfo info(path, box, &thumbnail);
    QVERIFY(!info.isNull());
    QCOMPARE(info.resolution(), resolution);
    QCOMPARE(CImageInfo(path).resolution(), resolution);

    const QImage full = QImage(path).scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QCOMPARE(thumbnail.size(), full.size());
    const QImage a = thumbnail.convertToFormat(QImage::Format_RGB32);
    const QImage b = full.convertToFormat(QImage::Format_RGB32);
    qint64 difference = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            difference += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q));
        }
    }
    const double mean = double(difference) / (3.0 * a.width() * a.height());
    QVERIFY2(mean < 2.0, qPrintable(QStringLiteral("thumbnails differ by %1 levels on average").arg(mean)));
}

QTEST_GUILESS_MAIN(tst_CImageInfo)
#include "tst_cimageinfo.moc"
