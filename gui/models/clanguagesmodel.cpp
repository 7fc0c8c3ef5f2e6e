#include "clanguagesmodel.h"

#include <QDir>
#include <QFileInfo>

CLanguagesModel::CLanguagesModel(const QString &translationsFolder, QObject *parent)
    : QAbstractListModel(parent)
{
    const QFileInfoList entries = QDir(translationsFolder).entryInfoList();
    for (const QFileInfo &entry : entries) {
        if (entry.isDir() || entry.suffix() != "qm")
            continue;
        const QStringList parts = entry.baseName().split('_', Qt::KeepEmptyParts);
        // A name that is no language gives a locale without a country.
        const QLocale locale(parts.last());
        if (locale.country() != QLocale::AnyCountry)
            locales.append(locale);
    }
}

int CLanguagesModel::rowCount(const QModelIndex &parent) const
{
    // A list has rows only under the root.
    return parent.isValid() ? 0 : locales.size();
}

QVariant CLanguagesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return QVariant();
    const QLocale &locale = locales.at(index.row());
    const QString code = locale.name().split('_', Qt::KeepEmptyParts).last().toUpper();
    return QString("%1 (%2)").arg(QLocale::languageToString(locale.language()), code);
}

QString CLanguagesModel::localeName(int row) const
{
    return locales.at(row).name();
}

int CLanguagesModel::indexOfLanguage(const QString &name) const
{
    const QString wanted = name.toLower();
    for (int row = 0; row < locales.size(); ++row) {
        if (locales.at(row).name().toLower() == wanted)
            return row;
    }
    return -1;
}
