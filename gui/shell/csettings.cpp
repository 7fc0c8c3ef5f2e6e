#include "csettings.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTextCodec>
#include <QTranslator>
#include <langinfo.h>

namespace {
const QString mainGroup = QStringLiteral("Main");
const QString languageKey = QStringLiteral("Language");
const QString prefixKey = QStringLiteral("Prefix");
const QString dialogFolderKey = QStringLiteral("DialogFolder");
} // namespace

CSettings::CSettings(const QString &fileName)
    : settings(fileName, QSettings::IniFormat)
{
    loadTranslation();
}

QString CSettings::language() const
{
    return settings.value(mainGroup + QLatin1Char('/') + languageKey).toString();
}

void CSettings::setLanguage(const QString &name)
{
    settings.beginGroup(mainGroup);
    settings.setValue(languageKey, name);
    settings.endGroup();
    loadTranslation();
}

QString CSettings::prefix() const
{
    return settings.value(mainGroup + QLatin1Char('/') + prefixKey, QStringLiteral("same")).toString();
}

void CSettings::setPrefix(const QString &value)
{
    settings.beginGroup(mainGroup);
    settings.setValue(prefixKey, value);
    settings.endGroup();
}

QString CSettings::dialogFolder() const
{
    const QString stored = settings.value(mainGroup + QLatin1Char('/') + dialogFolderKey).toString();
    if (!stored.isEmpty() && QDir(stored).exists())
        return stored;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return QDir(pictures).exists() ? pictures : QDir::homePath();
}

void CSettings::setDialogFolder(const QString &folder)
{
    settings.beginGroup(mainGroup);
    settings.setValue(dialogFolderKey, folder);
    settings.endGroup();
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

void followLocaleFileNames()
{
    const QByteArray codeset(nl_langinfo(CODESET));
    if (codeset == "UTF-8" || codeset == "ANSI_X3.4-1968")
        return;
    if (QTextCodec *codec = QTextCodec::codecForName(codeset))
        QTextCodec::setCodecForLocale(codec);
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
