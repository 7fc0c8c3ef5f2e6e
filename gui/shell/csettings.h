#pragma once

#include <QSettings>
#include <QString>

class QApplication;

// The program's one settings object: "Language", "Prefix", "DialogFolder" and the output choices
// "JpegQuality", "StripDetails" and "NeverEnlarge" in the group "Main" of an INI file.
// Storing a language installs its translation at once, so every window re-labels itself.
class CSettings
{
public:
    explicit CSettings(const QString &fileName);

    QString language() const;
    void setLanguage(const QString &name);
    QString prefix() const;
    void setPrefix(const QString &value);
    // Where the file dialogs start: the folder last chosen in any of them while it still exists, else the
    // user's Pictures folder, else home. Never the program's own folder, where no photos are.
    QString dialogFolder() const;
    void setDialogFolder(const QString &folder);
    // The output choices start as the engine's defaults: each JPEG's own quality (0), details kept,
    // small images enlarged. A stored quality outside 0 to 100 is taken for 0.
    int jpegQuality() const;
    void setJpegQuality(int quality);
    bool stripDetails() const;
    void setStripDetails(bool strip);
    bool neverEnlarge() const;
    void setNeverEnlarge(bool neverEnlarge);

private:
    QVariant value(const QString &key, const QVariant &fallback = QVariant()) const;
    void store(const QString &key, const QVariant &value);
    void loadTranslation();

    QSettings settings;
};

// The folder the program's translations are loaded from: "Translations" next to the executable.
QString translationsPath();
// File names in the encoding of the user's locale, Qt's own translation for the system locale and the
// interface font rule.
void prepareApplication(QApplication &app);
// The fatal-error box of the entry function.
void showErrorMessage(const QString &text);
