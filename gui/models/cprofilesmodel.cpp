#include "cprofilesmodel.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>

CProfilesModel::CProfilesModel(const QString &profilesFolder, QObject *parent)
    : QAbstractListModel(parent)
{
    const QDir folder(profilesFolder);
    const QStringList names = folder.entryList(QDir::Files);
    for (const QString &name : names)
        profiles.append(Profile(folder.absoluteFilePath(name)));
    profiles.prepend(Profile("Desktop", QGuiApplication::primaryScreen()->geometry().size()));
    profiles.prepend(Profile());
    profiles.prepend(Profile("Email", QSize(1024, 768)));
}

int CProfilesModel::rowCount(const QModelIndex &parent) const
{
    // A list has rows only under the root.
    return parent.isValid() ? 0 : profiles.size();
}

int CProfilesModel::columnCount(const QModelIndex &) const
{
    return countFields;
}

QVariant CProfilesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const Profile &profile = profiles.at(index.row());
    if (role == Qt::DisplayRole && index.column() == Name)
        return profile.name();
    if (role == Qt::UserRole)
        return profile.size();
    return QVariant();
}

const Profile &CProfilesModel::profileAt(int row) const
{
    return profiles.at(row);
}

int CProfilesModel::manualProfileIndex() const
{
    return 1;
}
