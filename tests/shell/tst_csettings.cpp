#include "csettings.h"

#include <QLocale>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

class TestCSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void firstStartStoresSystemLocale();
    void storedFileIsRead_data();
    void storedFileIsRead();
    void dialogFolderFallsBack_data();
    void dialogFolderFallsBack();

private:
    std::unique_ptr<QTemporaryDir> workDir;
    QString file;
};

void TestCSettings::init()
{
    QStandardPaths::setTestModeEnabled(true);
    workDir = std::make_unique<QTemporaryDir>();
    QVERIFY(workDir->isValid());
    file = workDir->filePath(QStringLiteral("Settings.ini"));
}

void TestCSettings::firstStartStoresSystemLocale()
{
    {
        CSettings settings(file);
        QCOMPARE(settings.language(), QLocale::system().name());
        QCOMPARE(settings.prefix(), QStringLiteral("same"));
    }
    const QSettings stored(file, QSettings::IniFormat);
    QCOMPARE(stored.value(QStringLiteral("Main/Language")).toString(), QLocale::system().name());
    QVERIFY2(!stored.contains(QStringLiteral("Main/Prefix")), "a default prefix was written");
}

void TestCSettings::storedFileIsRead_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("quality");
    QTest::addColumn<bool>("strip");
    QTest::addColumn<bool>("neverEnlarge");
    const auto row = [](const char *name, const char *lines, const char *prefix, int quality, bool strip,
                        bool neverEnlarge) {
        QTest::newRow(name) << QByteArray(lines) << prefix << quality << strip << neverEnlarge;
    };
    row("file of an earlier version", "Prefix=subfolder\n", "subfolder", 0, false, false);
    row("all output choices stored", "JpegQuality=85\nStripDetails=true\nNeverEnlarge=true\n", "same", 85,
        true, true);
    row("quality above 100 is the source's", "JpegQuality=250\n", "same", 0, false, false);
    row("negative quality is the source's", "JpegQuality=-5\n", "same", 0, false, false);
    row("quality in words is the source's", "JpegQuality=high\n", "same", 0, false, false);
}

// Written as text, so the key names a stored file holds are checked and not only a round trip. The stored
// language must survive the start, which stores the system's only when there is none.
void TestCSettings::storedFileIsRead()
{
    QFETCH(QByteArray, lines);
    QFETCH(QString, prefix);
    QFETCH(int, quality);
    QFETCH(bool, strip);
    QFETCH(bool, neverEnlarge);
    QFile written(file);
    QVERIFY(written.open(QIODevice::WriteOnly) && written.write("[Main]\nLanguage=ru_RU\n" + lines) > 0);
    written.close();
    CSettings settings(file);
    QCOMPARE(settings.language(), QStringLiteral("ru_RU"));
    QCOMPARE(settings.prefix(), prefix);
    QCOMPARE(settings.jpegQuality(), quality);
    QCOMPARE(settings.stripDetails(), strip);
    QCOMPARE(settings.neverEnlarge(), neverEnlarge);
}

void TestCSettings::dialogFolderFallsBack_data()
{
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expected");
    // Folders are made in a fresh home; "-" before the stored one means it was removed since.
    QTest::newRow("before any use, no Pictures folder") << QStringList() << QString() << "";
    QTest::newRow("before any use, Pictures folder") << QStringList{"Pictures"} << QString() << "Pictures";
    QTest::newRow("last chosen folder") << QStringList{"Pictures", "trip"} << "trip"
                                        << "trip";
    QTest::newRow("last chosen folder removed since") << QStringList{"Pictures"} << "-trip"
                                                      << "Pictures";
}

void TestCSettings::dialogFolderFallsBack()
{
    QFETCH(QStringList, folders);
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    const QDir home(workDir->filePath(QStringLiteral("home")));
    for (const QString &folder : qAsConst(folders))
        QVERIFY(home.mkpath(folder));
    qputenv("HOME", QFile::encodeName(home.path()));
    if (!stored.isEmpty()) {
        CSettings settings(file);
        settings.setDialogFolder(home.filePath(stored.startsWith('-') ? stored.mid(1) : stored));
    }
    CSettings settings(file);
    QCOMPARE(settings.dialogFolder(), expected.isEmpty() ? home.path() : home.filePath(expected));
}

QTEST_MAIN(TestCSettings)
#include "tst_csettings.moc"
