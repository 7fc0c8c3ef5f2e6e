#include "BrindleCore.h"
#include "photofiles.h"
#include "testimages.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class tst_CImageInfo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void refused_data();
    void refused();
    void thumbnailFromTheSameDecode_data();
    void thumbnailFromTheSameDecode();

private:
    QTemporaryDir dir;
};

void tst_CImageInfo::initTestCase()
{
    QVERIFY(dir.isValid());
}

void tst_CImageInfo::refused_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reason");

    QTest::newRow("missing file") << dir.filePath("gone.png") << "does not exist";
    const QString folder = dir.filePath("folder.jpg");
    QDir().mkdir(folder);
    QTest::newRow("folder named like an image") << folder << "not a regular file";
    PhotoFiles::save(dir.filePath("text.png"), "no picture here");
    QTest::newRow("text under an image name: the decoder's words") << dir.filePath("text.png") << "";
    const QString webp = TestImages::write(dir.filePath("webp.jpg"), QSize(8, 6), "WEBP");
    if (!webp.isEmpty())
        QTest::newRow("a format Qt reads but the engine does not") << webp << "WEBP content";
    // A few hundred bytes whose frame header claims 20000x13000 pixels.
    QByteArray huge = PhotoFiles::jpeg(TestImages::photo(QSize(16, 16)));
    huge.replace(huge.indexOf("\xff\xc0") + 5, 4, QByteArray("\x32\xc8\x4e\x20", 4));
    PhotoFiles::save(dir.filePath("huge.jpg"), huge);
    QTest::newRow("header claiming too many pixels") << dir.filePath("huge.jpg") << "megapixels";
}

// Whichever way a record is read, a file the engine cannot take is null and says why.
void tst_CImageInfo::refused()
{
    QFETCH(QString, path);
    QFETCH(QString, reason);
    QImage thumbnail(1, 1, QImage::Format_RGB32);
    const CImageInfo queued(path, QSize(37, 37), &thumbnail);
    QVERIFY(thumbnail.isNull());
    for (const CImageInfo &info :
         {queued, CImageInfo(path), CImageInfo(path, CImageInfo::Reading::HeaderOnly)}) {
        QVERIFY2(info.isNull(), qPrintable(info.getResolutionString()));
        QVERIFY2(!info.nullReason().isEmpty() && info.nullReason().contains(reason),
                 qPrintable(info.nullReason()));
    }
}

void tst_CImageInfo::thumbnailFromTheSameDecode_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("resolution");

    const auto row = [this](const char *name, const QSize &size) {
        QTest::newRow(name) << TestImages::write(dir.filePath(name), size, nullptr, size.width()) << size;
    };
    // JPEGs that the decoder reduces by 8, by 4 and not at all; formats that cannot be reduced.
    row("landscape.jpg", QSize(800, 600));
    row("portrait.jpg", QSize(300, 530));
    row("odd sides.jpg", QSize(801, 599));
    row("smaller than the box.jpg", QSize(30, 20));
    row("plain.png", QSize(320, 200));
}

// The thumbnail of the reduced decode looks as the full picture scaled into the box.
void tst_CImageInfo::thumbnailFromTheSameDecode()
{
    QFETCH(QString, path);
    QFETCH(QSize, resolution);
    const QSize box(37, 37);
    QImage thumbnail;
    const CImageInfo info(path, box, &thumbnail);
    QVERIFY2(info.nullReason().isEmpty(), qPrintable(info.nullReason()));
    QCOMPARE(info.resolution(), resolution);
    QCOMPARE(CImageInfo(path).resolution(), resolution);
    QCOMPARE(CImageInfo(path, CImageInfo::Reading::HeaderOnly).resolution(), resolution);

    const QImage full = QImage(path).scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    const double difference = TestImages::meanDifference(thumbnail, full);
    QVERIFY2(difference < 1.5, qPrintable(QStringLiteral("thumbnails differ by %1 levels").arg(difference)));
}

QTEST_GUILESS_MAIN(tst_CImageInfo)
#include "tst_cimageinfo.moc"
