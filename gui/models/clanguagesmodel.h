#pragma once

#include <QAbstractListModel>
#include <QLocale>
#include <QVector>

// The interface languages that have a translation file (*_<locale>.qm) in a folder.
class CLanguagesModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit CLanguagesModel(const QString &translationsFolder, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    QString localeName(int row) const;
    // Compares ignoring case; -1 when no row matches.
    int indexOfLanguage(const QString &name) const;

private:
    QVector<QLocale> locales;
};
