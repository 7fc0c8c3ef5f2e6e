#include "csettings.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QtTest>
#include <memory>

class TestCSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void firstStartStoresSystemLocale();
    void storedLanguageIsKept();
    void prefixRoundTrip_data();
    void prefixRoundTrip();
    void languageRoundTrip();
    void outputChoicesFromFile_data();
    void outputChoicesFromFile();
    void outputChoicesRoundTrip_data();
    void outputChoicesRoundTrip();
    void dialogFolderFallsBack_data();
    void dialogFolderFallsBack();
    void fontRule();
    void errorMessage();

private:
    QVariant storedValue(const QString &key) const;

    std::unique_ptr<QTemporaryDir> workDir;
    QString startDir;
};

QVariant TestCSettings::storedValue(const QString &key) const
{
    return QSettings(workDir->filePath(QStringLiteral("Settings.ini")), QSettings::IniFormat)
        .value(QStringLiteral("Main/") + key);
}

void TestCSettings::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    startDir = QDir::currentPath();
}

// The program opens "Settings.ini" by its bare name, so every test runs in a fresh working folder.
void TestCSettings::init()
{
    workDir = std::make_unique<QTemporaryDir>();
    QVERIFY(workDir->isValid());
    QVERIFY(QDir::setCurrent(workDir->path()));
}

void TestCSettings::cleanup()
{
    QDir::setCurrent(startDir);
    workDir.reset();
}

void TestCSettings::firstStartStoresSystemLocale()
{
    {
        CSettings settings(QStringLiteral("Settings.ini"));
        QCOMPARE(settings.language(), QLocale::system().name());
        QCOMPARE(settings.prefix(), QStringLiteral("same"));
    }
    QVERIFY2(QFile::exists(workDir->filePath(QStringLiteral("Settings.ini"))),
             "the settings file was not written into the working folder");
    QCOMPARE(storedValue(QStringLiteral("Language")).toString(), QLocale::system().name());
    QVERIFY2(!storedValue(QStringLiteral("Prefix")).isValid(),
             "a default prefix was written although none was set");
}

void TestCSettings::storedLanguageIsKept()
{
    {
        QSettings file(QStringLiteral("Settings.ini"), QSettings::IniFormat);
        file.setValue(QStringLiteral("Main/Language"), QStringLiteral("ru_RU"));
    }
    CSettings settings(QStringLiteral("Settings.ini"));
    QCOMPARE(settings.language(), QStringLiteral("ru_RU"));
}

void TestCSettings::prefixRoundTrip_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::newRow("same folder") << "same";
    QTest::newRow("sub-folder") << "subfolder";
    QTest::newRow("folder with spaces and umlauts") << "/home/anna/Bilder für März";
    QTest::newRow("Windows folder with backslashes") << "D:\\Photos\\Out";
}

void TestCSettings::prefixRoundTrip()
{
    QFETCH(QString, prefix);
    {
        CSettings settings(QStringLiteral("Settings.ini"));
        settings.setPrefix(prefix);
        QCOMPARE(settings.prefix(), prefix);
    }
    QCOMPARE(storedValue(QStringLiteral("Prefix")).toString(), prefix);
    CSettings reopened(QStringLiteral("Settings.ini"));
    QCOMPARE(reopened.prefix(), prefix);
}

void TestCSettings::languageRoundTrip()
{
    {
        CSettings settings(QStringLiteral("Settings.ini"));
        settings.setLanguage(QStringLiteral("de_DE"));
        QCOMPARE(settings.language(), QStringLiteral("de_DE"));
    }
    QCOMPARE(storedValue(QStringLiteral("Language")).toString(), QStringLiteral("de_DE"));
    CSettings reopened(QStringLiteral("Settings.ini"));
    QCOMPARE(reopened.language(), QStringLiteral("de_DE"));
}

void TestCSettings::outputChoicesFromFile_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<int>("quality");
    QTest::addColumn<bool>("strip");
    QTest::addColumn<bool>("neverEnlarge");
    QTest::newRow("file of an earlier version")
        << QByteArray("Language=de_DE\nPrefix=subfolder\n") << 0 << false << false;
    QTest::newRow("all three stored")
        << QByteArray("JpegQuality=85\nStripDetails=true\nNeverEnlarge=true\n") << 85 << true << true;
    QTest::newRow("quality above 100 is the source's")
        << QByteArray("JpegQuality=250\n") << 0 << false << false;
    QTest::newRow("negative quality is the source's")
        << QByteArray("JpegQuality=-5\n") << 0 << false << false;
    QTest::newRow("quality in words is the source's")
        << QByteArray("JpegQuality=high\n") << 0 << false << false;
}

// Written as text, so the key names a stored file holds are checked and not only a round trip.
void TestCSettings::outputChoicesFromFile()
{
    QFETCH(QByteArray, lines);
    QFETCH(int, quality);
    QFETCH(bool, strip);
    QFETCH(bool, neverEnlarge);
    QFile file(QStringLiteral("Settings.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Main]\n" + lines);
    file.close();
    CSettings settings(QStringLiteral("Settings.ini"));
    QCOMPARE(settings.jpegQuality(), quality);
    QCOMPARE(settings.stripDetails(), strip);
    QCOMPARE(settings.neverEnlarge(), neverEnlarge);
}

void TestCSettings::outputChoicesRoundTrip_data()
{
    QTest::addColumn<int>("quality");
    QTest::addColumn<bool>("strip");
    QTest::addColumn<bool>("neverEnlarge");
    QTest::newRow("lowest quality, details removed") << 1 << true << false;
    QTest::newRow("highest quality, never enlarged") << 100 << false << true;
}

void TestCSettings::outputChoicesRoundTrip()
{
    QFETCH(int, quality);
    QFETCH(bool, strip);
    QFETCH(bool, neverEnlarge);
    {
        CSettings settings(QStringLiteral("Settings.ini"));
        settings.setJpegQuality(quality);
        settings.setStripDetails(strip);
        settings.setNeverEnlarge(neverEnlarge);
    }
    CSettings reopened(QStringLiteral("Settings.ini"));
    QCOMPARE(reopened.jpegQuality(), quality);
    QCOMPARE(reopened.stripDetails(), strip);
    QCOMPARE(reopened.neverEnlarge(), neverEnlarge);
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
        CSettings settings(QStringLiteral("Settings.ini"));
        settings.setDialogFolder(home.filePath(stored.startsWith('-') ? stored.mid(1) : stored));
    }
    CSettings settings(QStringLiteral("Settings.ini"));
    QCOMPARE(settings.dialogFolder(), expected.isEmpty() ? home.path() : home.filePath(expected));
}

void TestCSettings::fontRule()
{
    prepareApplication(*qApp);
    const bool hasSegoe =
        QFontDatabase().families().contains(QStringLiteral("Segoe UI"), Qt::CaseInsensitive);
    QCOMPARE(qApp->styleSheet(), hasSegoe ? QStringLiteral("QWidget {font-family: \"Segoe UI\"}")
                                          : QStringLiteral("QWidget {font-family: \"Tahoma\"}"));
}

void TestCSettings::errorMessage()
{
    QTranslator german;
    QVERIFY(german.load(QStringLiteral(BRINDLE_BIN_DIR "/Translations/BrindleGUI_de.qm")));
    QCoreApplication::installTranslator(&german);

    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->buttons().size();
        box->accept();
    });
    showErrorMessage(QStringLiteral("Cannot create /tmp/out"));
    QCoreApplication::removeTranslator(&german);

    QCOMPARE(title, QStringLiteral("Fehler"));
    QCOMPARE(text, QStringLiteral("Cannot create /tmp/out"));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(buttons, 1);
}

QTEST_MAIN(TestCSettings)
#include "tst_csettings.moc"
