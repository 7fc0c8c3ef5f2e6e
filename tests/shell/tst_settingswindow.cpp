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
    QTest::newRow("same, English") << QString("same") << "en_US" << 0 << "English (US)";
    QTest::newRow("subfolder in capitals, German in lower case")
        << QString("SubFolder") << "de_de" << 1 << "German (DE)";
    QTest::newRow("a folder, Russian") << workDir.path() << "ru_RU" << 2 << "Russian (RU)";
    QTest::newRow("language without a translation, kept on saving") << QString("same") << "xx_YY" << 0 << "";
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
    QCOMPARE(combo("cbLanguages")->currentText(), shownLanguage);
    QVERIFY2(!veil->isVisible() && panel->pos() == parked(), "the panel starts hidden and parked");
    panel->startShowAnimation();
    combo("cbPrefix")->setCurrentIndex(0);
    button(QStringLiteral("pbSaveSettings"))->click();
    QCOMPARE(settings->language().toLower(), language.toLower());
}

void tst_SettingsWindow::leavingStoresOnSaveOnly_data()
{
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<int>("prefixRow");
    QTest::addColumn<QString>("storedPrefix");
    QTest::addColumn<bool>("german");
    QTest::addColumn<QString>("expectedPrefix");
    // A null prefix is none stored. "chosen" is the folder picked in the dialog that the folder row asks.
    const QString folder = workDir.path();
    QTest::newRow("cancel") << "pbCancel" << 1 << QString() << true << "same";
    QTest::newRow("back arrow") << "pbCloseSettings" << 0 << folder << true << folder;
    QTest::newRow("small close button") << "pbClose" << 1 << QString() << false << "same";
    QTest::newRow("save sub-folder and German") << "pbSaveSettings" << 1 << QString() << true << "subfolder";
    QTest::newRow("save same over a folder and Russian")
        << "pbSaveSettings" << 0 << folder << false << "same";
    QTest::newRow("save a chosen folder") << "pbSaveSettings" << 2 << "subfolder" << true << "chosen";
    QTest::newRow("save with the folder dialog cancelled")
        << "pbSaveSettings" << 2 << "subfolder" << false << "subfolder";
}

void tst_SettingsWindow::leavingStoresOnSaveOnly()
{
    QFETCH(QString, buttonName);
    QFETCH(int, prefixRow);
    QFETCH(QString, storedPrefix);
    QFETCH(bool, german);
    QFETCH(QString, expectedPrefix);
    const bool save = buttonName == QLatin1String("pbSaveSettings");
    QTemporaryDir chosen;
    const bool choose = expectedPrefix == QLatin1String("chosen");
    if (!storedPrefix.isNull())
        settings->setPrefix(storedPrefix);
    settings->setDialogFolder(workDir.path());
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
    QVERIFY(qualityBox->value() == 70 && stripBox->isChecked() && !enlargeBox->isChecked());
    combo("cbPrefix")->setCurrentIndex(prefixRow);
    pickLanguage(german ? QStringLiteral("German") : QStringLiteral("Russian"));
    qualityBox->setValue(1);
    stripBox->setChecked(false);
    enlargeBox->setChecked(true);
    QString dialogStart;
    if (prefixRow == 2) {
        TestModal::answer([&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            if (!dialog)
                return false;
            dialogStart = dialog->directory().absolutePath();
            if (choose)
                dialog->setDirectory(chosen.path());
            QMetaObject::invokeMethod(dialog, choose ? "accept" : "reject", Qt::QueuedConnection);
            return true;
        });
    }

    QVERIFY2(panel->pos() != shown(), "the slide-in must not be over yet");
    button(buttonName)->click();
    QVERIFY2(!panel->isEnabled(), "the panel must refuse a second click while it slides out");
    QVERIFY2(panel->pos() == shown(),
             "the slide-out must start from the shown place, not where the slide-in was");
    QCOMPARE(saved.count(), save ? 1 : 0);
    QCOMPARE(settings->prefix(), choose ? chosen.path() : expectedPrefix);
    QCOMPARE(dialogStart, prefixRow == 2 ? workDir.path() : QString());
    QCOMPARE(settings->dialogFolder(), choose ? chosen.path() : workDir.path());
    QCOMPARE(settings->language(), !save ? "en_US" : german ? "de_DE" : "ru_RU");
    QCOMPARE(settings->jpegQuality(), save ? 1 : 70);
    QCOMPARE(settings->stripDetails(), !save);
    QCOMPARE(settings->neverEnlarge(), save);
    QTRY_VERIFY(!veil->isVisible());
    QCOMPARE(panel->pos(), parked());
    QCOMPARE(label->text(), !save ? english : german ? "Einstellungen" : "Настройки");
    // Opened again, the panel shows what is stored, not what was left in it.
    panel->startShowAnimation();
    QCOMPARE(qualityBox->value(), settings->jpegQuality());
    QCOMPARE(stripBox->isChecked(), settings->stripDetails());
    QCOMPARE(enlargeBox->isChecked(), settings->neverEnlarge());
}

QTEST_MAIN(tst_SettingsWindow)
#include "tst_settingswindow.moc"
