#include "BrindleCore.h"
#include "testimages.h"

#include <QDir>
#include <QFile>
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

QTEST_GUILESS_MAIN(tst_CImageInfo)
#include "tst_cimageinfo.moc"
