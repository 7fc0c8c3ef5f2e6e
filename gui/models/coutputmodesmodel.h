#pragma once

#include <QAbstractListModel>
#include <QString>
#include <QVector>

// The three places resized copies can go; the rows are the values of OutputModes.
class COutputModesModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum OutputModes
    {
        SameFolderWithPrefix = 0,
        SubFolder = 1,
        UserDir = 2,
        countOutputModes = 3
    };
    Q_ENUM(OutputModes)

    explicit COutputModesModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // Emits no change signal: callers re-read the texts on a language change.
    void retranslate();
    // Row 2 shows the folder shortened to its first and last parts, with the whole path as its tool tip; an
    // empty path brings back the prompt.
    void setUserDir(const QString &path);
    // The row for a stored "Prefix" setting: "same", "subfolder" or a folder path.
    int modeFromString(const QString &text) const;

private:
    QVector<QString> modeTexts;
    QString userDirText;
    QString userDirPath;
};
