#include "csettings.h"
#include "modalanswer.h"
#include "settingswindow.h"

#include <QApplication>
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
#include <QTimer>
#include <QtTest>
#include <functional>
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
    void leavingStoresNothing_data();
    void leavingStoresNothing();
    void savingStoresPlaceAndLanguage_data();
    void savingStoresPlaceAndLanguage();
    void savingFolderAsksAgainFromLastChosenFolder();
    void cancelledFolderDialogKeepsPrefixButClosesPanel();
    void unknownLanguageIsKeptOnSave();
    void cancelDuringSlideInJumpsToShownPosition();
    void savedLanguageRelabelsPanel();
    void outputChoicesStoredOnSaveOnly_data();
    void outputChoicesStoredOnSaveOnly();

private:
    void buildPanel();
    QPushButton *button(const char *name) const;
    QComboBox *combo(const char *name) const;
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
    // The panel lists the translations next to the executable, which the build put elsewhere.
    const QDir shipped(QStringLiteral(BRINDLE_BIN_DIR "/Translations"));
    QDir(translationsPath()).removeRecursively();
    QVERIFY(QDir().mkpath(translationsPath()));
    const QStringList files = shipped.entryList(QStringList{QStringLiteral("*.qm")}, QDir::Files);
    QVERIFY2(!files.isEmpty(), "the build made no translations");
    for (const QString &name : files)
        QVERIFY(QFile::copy(shipped.filePath(name), translationsPath() + QLatin1Char('/') + name));
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

QPushButton *tst_SettingsWindow::button(const char *name) const
{
    return panel->findChild<QPushButton *>(QLatin1String(name));
}

QComboBox *tst_SettingsWindow::combo(const char *name) const
{
    return panel->findChild<QComboBox *>(QLatin1String(name));
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
    QTest::newRow("language without a translation") << "same"
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
}

void tst_SettingsWindow::leavingStoresNothing_data()
{
    QTest::addColumn<QString>("buttonName");
    QTest::newRow("cancel") << "pbCancel";
    QTest::newRow("back arrow") << "pbCloseSettings";
    QTest::newRow("small close button") << "pbClose";
}

void tst_SettingsWindow::leavingStoresNothing()
{
    QFETCH(QString, buttonName);
    buildPanel();
    veil->show();
    panel->startShowAnimation();
    QTRY_COMPARE(panel->pos(), shown());
    combo("cbPrefix")->setCurrentIndex(1);
    combo("cbLanguages")
        ->setCurrentIndex(combo("cbLanguages")->findText(QStringLiteral("German"), Qt::MatchContains));

    button(buttonName.toLatin1().constData())->click();
    QVERIFY2(!panel->isEnabled(), "the panel must refuse a second click while it slides out");
    QTRY_VERIFY(!veil->isVisible());
    QCOMPARE(panel->pos(), parked());
    QCOMPARE(settings->prefix(), QStringLiteral("same"));
    QCOMPARE(settings->language(), QStringLiteral("en_US"));
}

void tst_SettingsWindow::savingStoresPlaceAndLanguage_data()
{
    QTest::addColumn<QString>("storedPrefix");
    QTest::addColumn<int>("prefixRow");
    QTest::addColumn<QString>("expectedPrefix");

    QTest::newRow("subfolder over same") << "same" << 1 << "subfolder";
    QTest::newRow("same over a folder") << workDir.path() << 0 << "same";
}

void tst_SettingsWindow::savingStoresPlaceAndLanguage()
{
    QFETCH(QString, storedPrefix);
    QFETCH(int, prefixRow);
    QFETCH(QString, expectedPrefix);
    settings->setPrefix(storedPrefix);
    buildPanel();
    panel->startShowAnimation();
    combo("cbPrefix")->setCurrentIndex(prefixRow);
    combo("cbLanguages")
        ->setCurrentIndex(combo("cbLanguages")->findText(QStringLiteral("Russian"), Qt::MatchStartsWith));

    button("pbSaveSettings")->click();
    QVERIFY(!panel->isEnabled());
    QCOMPARE(settings->prefix(), expectedPrefix);
    QCOMPARE(settings->language(), QStringLiteral("ru_RU"));
    QTRY_VERIFY(!veil->isVisible());
}

void tst_SettingsWindow::savingFolderAsksAgainFromLastChosenFolder()
{
    QTemporaryDir chosen;
    settings->setPrefix(workDir.path());
    settings->setDialogFolder(workDir.path());
    buildPanel();
    panel->startShowAnimation();
    QString startFolder;
    TestModal::answer([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog)
            return false;
        startFolder = dialog->directory().absolutePath();
        dialog->setDirectory(chosen.path());
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        return true;
    });
    button("pbSaveSettings")->click();
    QCOMPARE(startFolder, workDir.path());
    QCOMPARE(QDir(settings->prefix()).absolutePath(), QDir(chosen.path()).absolutePath());
    QCOMPARE(settings->dialogFolder(), chosen.path());
    QTRY_VERIFY(!veil->isVisible());
}

void tst_SettingsWindow::cancelledFolderDialogKeepsPrefixButClosesPanel()
{
    settings->setPrefix(QStringLiteral("subfolder"));
    buildPanel();
    panel->startShowAnimation();
    combo("cbPrefix")->setCurrentIndex(2);
    combo("cbLanguages")
        ->setCurrentIndex(combo("cbLanguages")->findText(QStringLiteral("Russian"), Qt::MatchStartsWith));
    TestModal::answer([](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (dialog)
            dialog->reject();
        return dialog != nullptr;
    });
    button("pbSaveSettings")->click();
    QCOMPARE(settings->prefix(), QStringLiteral("subfolder"));
    QVERIFY2(settings->language() == QStringLiteral("ru_RU"), "the language must be saved all the same");
    QTRY_VERIFY(!veil->isVisible());
}

void tst_SettingsWindow::unknownLanguageIsKeptOnSave()
{
    settings->setLanguage(QStringLiteral("xx_YY"));
    buildPanel();
    panel->startShowAnimation();
    QCOMPARE(combo("cbLanguages")->currentIndex(), -1);
    button("pbSaveSettings")->click();
    QCOMPARE(settings->language(), QStringLiteral("xx_YY"));
}

void tst_SettingsWindow::cancelDuringSlideInJumpsToShownPosition()
{
    buildPanel();
    veil->show();
    panel->startShowAnimation();
    QVERIFY2(panel->pos() != shown(), "the slide-in must not be over yet");
    button("pbCancel")->click();
    QCOMPARE(panel->pos(), shown());
    QTRY_COMPARE(panel->pos(), parked());
    QTRY_VERIFY(!veil->isVisible());
}

void tst_SettingsWindow::savedLanguageRelabelsPanel()
{
    buildPanel();
    const QString english = panel->findChild<QLabel *>(QStringLiteral("label"))->text();
    panel->startShowAnimation();
    combo("cbLanguages")
        ->setCurrentIndex(combo("cbLanguages")->findText(QStringLiteral("German"), Qt::MatchContains));
    QVERIFY2(combo("cbLanguages")->currentIndex() >= 0, "no German row in the language list");
    button("pbSaveSettings")->click();
    QTRY_COMPARE(panel->findChild<QLabel *>(QStringLiteral("label"))->text(),
                 QStringLiteral("Einstellungen"));
    QVERIFY(english != QStringLiteral("Einstellungen"));
}

void tst_SettingsWindow::outputChoicesStoredOnSaveOnly_data()
{
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<int>("quality");
    QTest::addColumn<bool>("strip");
    QTest::addColumn<bool>("neverEnlarge");
    // Stored before: quality 70, details removed, enlarging.
    QTest::newRow("save, other quality, details kept, never enlarged")
        << "pbSaveSettings" << 1 << false << true;
    QTest::newRow("save, back to the source's quality") << "pbSaveSettings" << 0 << true << false;
    QTest::newRow("cancel") << "pbCancel" << 100 << false << true;
}

void tst_SettingsWindow::outputChoicesStoredOnSaveOnly()
{
    QFETCH(QString, buttonName);
    QFETCH(int, quality);
    QFETCH(bool, strip);
    QFETCH(bool, neverEnlarge);
    settings->setJpegQuality(70);
    settings->setStripDetails(true);
    buildPanel();
    auto *qualityBox = panel->findChild<QSpinBox *>(QStringLiteral("sbJpegQuality"));
    auto *stripBox = panel->findChild<QCheckBox *>(QStringLiteral("cbStripDetails"));
    auto *enlargeBox = panel->findChild<QCheckBox *>(QStringLiteral("cbNeverEnlarge"));
    QSignalSpy saved(panel, &SettingsWindow::saved);
    panel->startShowAnimation();
    QCOMPARE(qualityBox->value(), 70);
    QVERIFY(stripBox->isChecked() && !enlargeBox->isChecked());
    qualityBox->setValue(quality);
    stripBox->setChecked(strip);
    enlargeBox->setChecked(neverEnlarge);

    button(buttonName.toLatin1().constData())->click();
    const bool save = buttonName == QLatin1String("pbSaveSettings");
    QCOMPARE(saved.count(), save ? 1 : 0);
    QCOMPARE(settings->jpegQuality(), save ? quality : 70);
    QCOMPARE(settings->stripDetails(), save ? strip : true);
    QCOMPARE(settings->neverEnlarge(), save && neverEnlarge);
    QTRY_VERIFY(!veil->isVisible());
    // Opened again, the panel shows what is stored, not what was left in it.
    panel->startShowAnimation();
    QCOMPARE(qualityBox->value(), settings->jpegQuality());
    QCOMPARE(stripBox->isChecked(), settings->stripDetails());
    QCOMPARE(enlargeBox->isChecked(), settings->neverEnlarge());
}

QTEST_MAIN(tst_SettingsWindow)
#include "tst_settingswindow.moc"
