#include "cimagesmodel.h"

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QThreadPool>
#include <QtConcurrent>

namespace {
enum RowItem
{
    Thumbnail = 0,
    Record = 1,
    Resized = 2,
    WrittenPath = 3,
    rowItemsCount = 4
};
}

CImagesModel::CImagesModel(QObject *parent)
    : QAbstractTableModel(parent)
    , thumbnailSize(37, 37)
{
    connect(this, &CImagesModel::rowsInserted, this, &CImagesModel::onRowsCountChanged);
    connect(this, &CImagesModel::rowsRemoved, this, &CImagesModel::onRowsCountChanged);
    connect(this, &CImagesModel::modelReset, this, &CImagesModel::onRowsCountChanged);
    connect(&openingWatcher, &QFutureWatcherBase::started, this, &CImagesModel::onOpeningStarted);
    connect(&openingWatcher, &QFutureWatcherBase::finished, this, &CImagesModel::onOpeningFinished);
}

CImagesModel::~CImagesModel()
{
    // Opening tasks call back into this object; none may outlive it.
    QThreadPool::globalInstance()->waitForDone(-1);
}

int CImagesModel::rowCount(const QModelIndex &parent) const
{
    // A table has rows only under the root.
    return parent.isValid() ? 0 : rows.size();
}

int CImagesModel::columnCount(const QModelIndex &) const
{
    return 3;
}

Qt::ItemFlags CImagesModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

QVariant CImagesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const QVector<QVariant> &row = rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == 0 ? row.at(Thumbnail) : QVariant();
    case Qt::BackgroundRole:
        return row.at(Resized).toBool() ? QBrush(QColor("#f1f1f1")) : QBrush(Qt::white, Qt::SolidPattern);
    case Qt::SizeHintRole:
        return thumbnailSize + QSize(4, 4);
    case Qt::UserRole:
        return row.at(index.column());
    default:
        return QVariant();
    }
}

bool CImagesModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count < 1 || row + count > rows.size())
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    rows.erase(rows.begin() + row, rows.begin() + row + count);
    endRemoveRows();
    return true;
}

void CImagesModel::openImages(const QStringList &paths)
{
    QStringList newPaths;
    for (const QString &path : paths) {
        if (indexOfPath(path) == -1)
            newPaths.append(path);
    }
    const std::function<QVector<QVariant>(const QString &)> open = [this](const QString &path) {
        return openImage(path);
    };
    openingWatcher.setFuture(QtConcurrent::mappedReduced<QList<QVector<QVariant>>>(
        newPaths, open, &CImagesModel::appendOpenedRow,
        QtConcurrent::UnorderedReduce | QtConcurrent::SequentialReduce));
}

int CImagesModel::indexOfPath(const QString &path) const
{
    for (int row = 0; row < rows.size(); ++row) {
        if (rows.at(row).at(Record).value<CImageInfo>().fullPath() == path)
            return row;
    }
    return -1;
}

bool CImagesModel::removeImage(const QString &path)
{
    return removeRow(indexOfPath(path), QModelIndex());
}

void CImagesModel::setImageResized(const QString &sourcePath, const QString &newPath)
{
    // The file is written even when its row was deleted during the run, so its folder stays reachable.
    lastResized = newPath;
    const int row = indexOfPath(sourcePath);
    if (row == -1)
        return;
    rows[row][Resized] = true;
    rows[row][WrittenPath] = newPath;
    emit imageResized(newPath, row);
}

void CImagesModel::resetResizedStates()
{
    beginResetModel();
    for (QVector<QVariant> &row : rows) {
        row[Resized] = false;
        row[WrittenPath] = QString("");
    }
    endResetModel();
}

void CImagesModel::clear()
{
    removeRows(0, rowCount());
}

QVector<CImageInfo> CImagesModel::images() const
{
    QVector<CImageInfo> result;
    result.reserve(rows.size());
    for (const QVector<QVariant> &row : rows)
        result.append(row.at(Record).value<CImageInfo>());
    return result;
}

QString CImagesModel::lastResizedPath() const
{
    return lastResized;
}

void CImagesModel::onRowsCountChanged()
{
    emit rowsCountChanged(rowCount());
}

void CImagesModel::onOpeningFinished()
{
    const QList<QVector<QVariant>> opened = openingWatcher.result();
    if (!opened.isEmpty()) {
        beginInsertRows(QModelIndex(), rows.size(), rows.size() + opened.size() - 1);
        rows.append(opened);
        endInsertRows();
    }
    emit imagesIsOpening(false);
}

void CImagesModel::onOpeningStarted()
{
    emit imagesIsOpening(true);
}

// Runs in pool threads; reads only thumbnailSize, which never changes after construction.
QVector<QVariant> CImagesModel::openImage(const QString &path) const
{
    QVector<QVariant> row(rowItemsCount);
    const CImageInfo info(path);
    if (info.isNull())
        return QVector<QVariant>();
    row[Thumbnail] = info.getImage().scaled(thumbnailSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    row[Record] = QVariant::fromValue(info);
    row[Resized] = false;
    return row;
}

// Runs in pool threads, one call at a time.
void CImagesModel::appendOpenedRow(QList<QVector<QVariant>> &result, const QVector<QVariant> &row)
{
    if (row.size() == rowItemsCount)
        result.append(row);
}
