#include "csettings.h"

#include "BrindleCore.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTranslator>

namespace {
const QString mainGroup = QStringLiteral("Main");
const QString languageKey = QStringLiteral("Language");
const QString prefixKey = QStringLiteral("Prefix");
const QString dialogFolderKey = QStringLiteral("DialogFolder");
const QString jpegQualityKey = QStringLiteral("JpegQuality");
const QString stripDetailsKey = QStringLiteral("StripDetails");
const QString neverEnlargeKey = QStringLiteral("NeverEnlarge");
} // namespace

CSettings::CSettings(const QString &fileName)
    : settings(fileName, QSettings::IniFormat)
{
    loadTranslation();
}

QString CSettings::language() const
{
    return value(languageKey).toString();
}

void CSettings::setLanguage(const QString &name)
{
    store(languageKey, name);
    loadTranslation();
}

QString CSettings::prefix() const
{
    return value(prefixKey, QStringLiteral("same")).toString();
}

void CSettings::setPrefix(const QString &value)
{
    store(prefixKey, value);
}

QString CSettings::dialogFolder() const
{
    const QString stored = value(dialogFolderKey).toString();
    if (!stored.isEmpty() && QDir(stored).exists())
        return stored;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return QDir(pictures).exists() ? pictures : QDir::homePath();
}

void CSettings::setDialogFolder(const QString &folder)
{
    store(dialogFolderKey, folder);
}

int CSettings::jpegQuality() const
{
    bool isNumber = false;
    const int quality = value(jpegQualityKey).toInt(&isNumber);
    return isNumber && quality >= 0 && quality <= 100 ? quality : 0;
}

void CSettings::setJpegQuality(int quality)
{
    store(jpegQualityKey, quality);
}

bool CSettings::stripDetails() const
{
    return value(stripDetailsKey, false).toBool();
}

void CSettings::setStripDetails(bool strip)
{
    store(stripDetailsKey, strip);
}

bool CSettings::neverEnlarge() const
{
    return value(neverEnlargeKey, false).toBool();
}

void CSettings::setNeverEnlarge(bool neverEnlarge)
{
    store(neverEnlargeKey, neverEnlarge);
}

QVariant CSettings::value(const QString &key, const QVariant &fallback) const
{
    return settings.value(mainGroup + QLatin1Char('/') + key, fallback);
}

void CSettings::store(const QString &key, const QVariant &value)
{
    settings.setValue(mainGroup + QLatin1Char('/') + key, value);
}

void CSettings::loadTranslation()
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (language().isEmpty())
        setLanguage(QLocale::system().name());
    // The translator falls back from de_DE to de and then to the file without a language part.
    translator->load(translationsPath() + QStringLiteral("/BrindleGUI_") + language());
    QCoreApplication::installTranslator(translator);
}

QString translationsPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Translations");
}

void prepareApplication(QApplication &app)
{
    followLocaleFileNames();
    auto *translator = new QTranslator(&app);
    translator->load(QStringLiteral("qt_") + QLocale::system().name(),
                     QLibraryInfo::location(QLibraryInfo::TranslationsPath));
    QCoreApplication::installTranslator(translator);

    // The font database answers a missing family with the application's default font.
    const QFont segoe = QFontDatabase().font(QStringLiteral("Segoe UI"), QStringLiteral("normal"), 12);
    app.setStyleSheet(segoe == QApplication::font() ? QStringLiteral("QWidget {font-family: \"Tahoma\"}")
                                                    : QStringLiteral("QWidget {font-family: \"Segoe UI\"}"));
}

void showErrorMessage(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, QObject::tr("t_error"), text);
    box.exec();
}
