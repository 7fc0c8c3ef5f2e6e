#include "coutputmodesmodel.h"

#include <QCoreApplication>
#include <QRegExp>

COutputModesModel::COutputModesModel(QObject *parent)
    : QAbstractListModel(parent)
    , modeTexts(countOutputModes)
{
    retranslate();
}

int COutputModesModel::rowCount(const QModelIndex &parent) const
{
    // A list has rows only under the root.
    return parent.isValid() ? 0 : int(countOutputModes);
}

QVariant COutputModesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= countOutputModes)
        return QVariant();
    // Even shortened, a folder can be longer than a box has room for.
    if (role == Qt::ToolTipRole)
        return index.row() == UserDir && !userDirPath.isEmpty() ? QVariant(userDirPath) : QVariant();
    if (role != Qt::DisplayRole)
        return QVariant();
    if (index.row() == UserDir && !userDirText.isEmpty())
        return userDirText;
    return modeTexts.at(index.row());
}

void COutputModesModel::retranslate()
{
    modeTexts[SameFolderWithPrefix] =
        QCoreApplication::translate("COutputModesModel", "t_prefix_same_folder");
    modeTexts[SubFolder] = QCoreApplication::translate("COutputModesModel", "t_subfolder");
    modeTexts[UserDir] = QCoreApplication::translate("COutputModesModel", "t_choose_folder");
}

void COutputModesModel::setUserDir(const QString &path)
{
    const QStringList parts = path.split(QRegExp("[\\\\/]"), Qt::KeepEmptyParts);
    userDirText = parts.size() < 3 ? path : parts.first() + "\\....\\" + parts.last();
    userDirPath = path;
    const QModelIndex userDirRow = index(UserDir, 0);
    emit dataChanged(userDirRow, userDirRow);
}

int COutputModesModel::modeFromString(const QString &text) const
{
    const QString mode = text.toLower();
    if (mode == "subfolder")
        return SubFolder;
    if (mode == "same")
        return SameFolderWithPrefix;
    return UserDir;
}
