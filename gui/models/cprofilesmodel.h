#pragma once

#include "profile.h"

#include <QAbstractListModel>
#include <QVector>

// The built-in profiles "Email", "Manual" and "Desktop", then one per file of the profiles folder.
class CProfilesModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Fields
    {
        Name = 0,
        Size = 1,
        countFields = 2
    };
    Q_ENUM(Fields)

    // Throws std::runtime_error when a profile file cannot be read.
    explicit CProfilesModel(const QString &profilesFolder, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    const Profile &profileAt(int row) const;
    int manualProfileIndex() const;

private:
    QVector<Profile> profiles;
};
