#include "csettings.h"
#include "modalanswer.h"
#include "settingswindow.h"
#include "shellwindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

class tst_SettingsWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void opensWithStoredChoices_data();
    void opensWithStoredChoices();
    void leavingStoresOnSaveOnly_data();
    void leavingStoresOnSaveOnly();
    void folderRowAsksOnSave_data();
    void folderRowAsksOnSave();
    void cancelDuringSlideInJumpsToShownPosition();

private:
    void buildPanel();
    QPushButton *button(const QString &name) const { return panel->findChild<QPushButton *>(name); }
    QComboBox *combo(const char *name) const { return panel->findChild<QComboBox *>(QLatin1String(name)); }
    void pickLanguage(const QString &name)
    {
        combo("cbLanguages")->setCurrentIndex(combo("cbLanguages")->findText(name, Qt::MatchStartsWith));
    }
    QPoint parked() const { return QPoint(veil->width() - 1, 0); }
    QPoint shown() const { return QPoint(veil->width() - panel->width(), 0); }

    QTemporaryDir workDir;
    std::unique_ptr<CSettings> settings;
    std::unique_ptr<QFrame> veil;
    SettingsWindow *panel = nullptr;
};

void tst_SettingsWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(workDir.isValid());
    QVERIFY(QDir::setCurrent(workDir.path()));
    QVERIFY2(ShellWindow::placeTranslations(), "the build's translations could not be laid out");
}

void tst_SettingsWindow::init()
{
    QFile::remove(QStringLiteral("Settings.ini"));
    settings = std::make_unique<CSettings>(QStringLiteral("Settings.ini"));
    settings->setLanguage(QStringLiteral("en_US"));
}

void tst_SettingsWindow::cleanup()
{
    veil.reset();
    panel = nullptr;
    settings.reset();
}

void tst_SettingsWindow::buildPanel()
{
    veil = std::make_unique<QFrame>();
    veil->resize(703, 466);
    panel = new SettingsWindow(settings.get(), veil.get());
}

void tst_SettingsWindow::opensWithStoredChoices_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("prefixRow");
    QTest::addColumn<QString>("shownLanguage");

    QTest::newRow("same, English") << "same"
                                   << "en_US" << 0 << "English (US)";
    QTest::newRow("subfolder in capitals, German in lower case") << "SubFolder"
                                                                 << "de_de" << 1 << "German (DE)";
    QTest::newRow("a folder, Russian") << workDir.path() << "ru_RU" << 2 << "Russian (RU)";
    QTest::newRow("language without a translation, kept on saving") << "same"
                                                                    << "xx_YY" << 0 << "";
}

void tst_SettingsWindow::opensWithStoredChoices()
{
    QFETCH(QString, prefix);
    QFETCH(QString, language);
    QFETCH(int, prefixRow);
    QFETCH(QString, shownLanguage);
    settings->setPrefix(prefix);
    settings->setLanguage(language);
    buildPanel();

    QCOMPARE(combo("cbPrefix")->currentIndex(), prefixRow);
    QAbstractItemModelTester prefixTester(combo("cbPrefix")->model());
    QAbstractItemModelTester languagesTester(combo("cbLanguages")->model());
    QCOMPARE(combo("cbLanguages")->currentText(), shownLanguage);
    QVERIFY2(!veil->isVisible() && panel->pos() == parked(), "the panel starts hidden and parked");
    if (shownLanguage.isEmpty()) {
        panel->startShowAnimation();
        button(QStringLiteral("pbSaveSettings"))->click();
        QCOMPARE(settings->language(), language);
    }
}

void tst_SettingsWindow::leavingStoresOnSaveOnly_data()
{
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<QString>("storedPrefix");
    QTest::addColumn<int>("prefixRow");
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("quality");
    QTest::addColumn<bool>("strip");
    QTest::addColumn<bool>("neverEnlarge");
    QTest::addColumn<QString>("expectedPrefix");
    QTest::addColumn<QString>("expectedLanguage");
    QTest::addColumn<QString>("title");

    // Stored before: the chosen place, English, quality 70, details removed, enlarging. Nothing stored is
    // a null prefix, which the settings give as the same folder.
    const QString folder = workDir.path();
    QTest::newRow("cancel") << "pbCancel" << QString() << 1 << "German" << 1 << false << true << "same"
                            << "en_US" << QString();
    QTest::newRow("back arrow") << "pbCloseSettings" << QString() << 1 << "German" << 100 << false << true
                                << "same"
                                << "en_US" << QString();
    QTest::newRow("small close button")
        << "pbClose" << folder << 0 << "Russian" << 0 << false << true << folder << "en_US" << QString();
    QTest::newRow("save, sub-folder, German, other quality, details kept, never enlarged")
        << "pbSaveSettings" << QString() << 1 << "German" << 1 << false << true << "subfolder"
        << "de_DE"
        << "Einstellungen";
    QTest::newRow("save, same over a folder, Russian, the source's quality")
        << "pbSaveSettings" << folder << 0 << "Russian" << 0 << true << false << "same"
        << "ru_RU"
        << "Настройки";
}

void tst_SettingsWindow::leavingStoresOnSaveOnly()
{
    QFETCH(QString, buttonName);
    QFETCH(QString, storedPrefix);
    QFETCH(int, prefixRow);
    QFETCH(QString, language);
    QFETCH(int, quality);
    QFETCH(bool, strip);
    QFETCH(bool, neverEnlarge);
    QFETCH(QString, expectedPrefix);
    QFETCH(QString, expectedLanguage);
    QFETCH(QString, title);
    if (!storedPrefix.isNull())
        settings->setPrefix(storedPrefix);
    settings->setJpegQuality(70);
    settings->setStripDetails(true);
    buildPanel();
    auto *label = panel->findChild<QLabel *>(QStringLiteral("label"));
    const QString english = label->text();
    auto *qualityBox = panel->findChild<QSpinBox *>(QStringLiteral("sbJpegQuality"));
    auto *stripBox = panel->findChild<QCheckBox *>(QStringLiteral("cbStripDetails"));
    auto *enlargeBox = panel->findChild<QCheckBox *>(QStringLiteral("cbNeverEnlarge"));
    QSignalSpy saved(panel, &SettingsWindow::saved);
    veil->show();
    panel->startShowAnimation();
    QCOMPARE(qualityBox->value(), 70);
    QVERIFY(stripBox->isChecked() && !enlargeBox->isChecked());
    combo("cbPrefix")->setCurrentIndex(prefixRow);
    pickLanguage(language);
    qualityBox->setValue(quality);
    stripBox->setChecked(strip);
    enlargeBox->setChecked(neverEnlarge);

    button(buttonName)->click();
    QVERIFY2(!panel->isEnabled(), "the panel must refuse a second click while it slides out");
    const bool save = !title.isEmpty();
    QCOMPARE(saved.count(), save ? 1 : 0);
    QCOMPARE(settings->prefix(), expectedPrefix);
    QCOMPARE(settings->language(), expectedLanguage);
    QCOMPARE(settings->jpegQuality(), save ? quality : 70);
    QCOMPARE(settings->stripDetails(), save ? strip : true);
    QCOMPARE(settings->neverEnlarge(), save && neverEnlarge);
    QTRY_VERIFY(!veil->isVisible());
    QCOMPARE(panel->pos(), parked());
    QCOMPARE(label->text(), save ? title : english);
    // Opened again, the panel shows what is stored, not what was left in it.
    panel->startShowAnimation();
    QCOMPARE(qualityBox->value(), settings->jpegQuality());
    QCOMPARE(stripBox->isChecked(), settings->stripDetails());
    QCOMPARE(enlargeBox->isChecked(), settings->neverEnlarge());
}

void tst_SettingsWindow::folderRowAsksOnSave_data()
{
    QTest::addColumn<bool>("choose");
    QTest::newRow("folder chosen") << true;
    QTest::newRow("dialog cancelled keeps the place but saves the language") << false;
}

void tst_SettingsWindow::folderRowAsksOnSave()
{
    QFETCH(bool, choose);
    QTemporaryDir chosen;
    settings->setPrefix(QStringLiteral("subfolder"));
    settings->setDialogFolder(workDir.path());
    buildPanel();
    panel->startShowAnimation();
    combo("cbPrefix")->setCurrentIndex(2);
    pickLanguage(QStringLiteral("Russian"));
    QString startFolder;
    TestModal::answer([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog)
            return false;
        startFolder = dialog->directory().absolutePath();
        if (choose)
            dialog->setDirectory(chosen.path());
        QMetaObject::invokeMethod(dialog, choose ? "accept" : "reject", Qt::QueuedConnection);
        return true;
    });
    button(QStringLiteral("pbSaveSettings"))->click();
    QCOMPARE(startFolder, workDir.path());
    QCOMPARE(settings->prefix(), choose ? chosen.path() : QStringLiteral("subfolder"));
    QCOMPARE(settings->dialogFolder(), choose ? chosen.path() : workDir.path());
    QCOMPARE(settings->language(), QStringLiteral("ru_RU"));
    QTRY_VERIFY(!veil->isVisible());
}

void tst_SettingsWindow::cancelDuringSlideInJumpsToShownPosition()
{
    buildPanel();
    veil->show();
    panel->startShowAnimation();
    QVERIFY2(panel->pos() != shown(), "the slide-in must not be over yet");
    button(QStringLiteral("pbCancel"))->click();
    QCOMPARE(panel->pos(), shown());
    QTRY_COMPARE(panel->pos(), parked());
    QTRY_VERIFY(!veil->isVisible());
}

QTEST_MAIN(tst_SettingsWindow)
#include "tst_settingswindow.moc"
