#include "cimagesmodel.h"

#include <QBrush>
#include <QColor>
#include <QDir>
#include <QImage>
#include <QSet>
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
    connect(&openingWatcher, &QFutureWatcherBase::progressValueChanged, this,
            [this](int done) { emit openingProgress(done, openingWatcher.progressMaximum()); });
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
    rowOfPathValid = false;
    endRemoveRows();
    return true;
}

void CImagesModel::openImages(const QStringList &paths)
{
    // A dropped folder together with a file inside it names that file twice.
    QSet<QString> seen;
    QStringList newPaths;
    for (const QString &path : paths) {
        if (indexOfPath(path) == -1 && !seen.contains(path)) {
            seen.insert(path);
            newPaths.append(path);
        }
    }
    opening = true;
    emit openingProgress(0, newPaths.size());
    const std::function<QVector<QVariant>(const QString &)> open = [this](const QString &path) {
        return openImage(path);
    };
    openingWatcher.setFuture(QtConcurrent::mappedReduced<QList<QVector<QVariant>>>(
        newPaths, open, &CImagesModel::appendOpenedRow,
        QtConcurrent::UnorderedReduce | QtConcurrent::SequentialReduce));
}

bool CImagesModel::isOpening() const
{
    return opening;
}

void CImagesModel::cancelOpening()
{
    openingWatcher.cancel();
}

int CImagesModel::indexOfPath(const QString &path) const
{
    if (!rowOfPathValid) {
        rowOfPath.clear();
        indexRows(0);
        rowOfPathValid = true;
    }
    return rowOfPath.value(path, -1);
}

void CImagesModel::indexRows(int first) const
{
    for (int row = first; row < rows.size(); ++row) {
        const QString path = rows.at(row).at(Record).value<CImageInfo>().fullPath();
        if (!rowOfPath.contains(path))
            rowOfPath.insert(path, row);
    }
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
    opening = false;
    // A cancelled future holds no result to read.
    const QList<QVector<QVariant>> result =
        openingWatcher.isCanceled() ? QList<QVector<QVariant>>() : openingWatcher.result();
    QList<QVector<QVariant>> opened;
    QStringList leftOut;
    for (const QVector<QVariant> &row : result) {
        const CImageInfo info = row.at(Record).value<CImageInfo>();
        if (info.isNull())
            leftOut.append(
                QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(info.fullPath()), info.nullReason()));
        else
            opened.append(row);
    }
    if (!opened.isEmpty()) {
        const int first = rows.size();
        beginInsertRows(QModelIndex(), first, first + opened.size() - 1);
        rows.append(opened);
        if (rowOfPathValid)
            indexRows(first);
        endInsertRows();
    }
    emit imagesIsOpening(false);
    if (!leftOut.isEmpty())
        emit imagesLeftOut(leftOut);
}

void CImagesModel::onOpeningStarted()
{
    emit imagesIsOpening(true);
}

// Runs in pool threads; reads only thumbnailSize, which never changes after construction.
QVector<QVariant> CImagesModel::openImage(const QString &path) const
{
    QVector<QVariant> row(rowItemsCount);
    QImage thumbnail;
    row[Record] = QVariant::fromValue(CImageInfo(path, thumbnailSize, &thumbnail));
    row[Thumbnail] = thumbnail;
    row[Resized] = false;
    return row;
}

// Runs in pool threads, one call at a time. Rows of files that could not be opened come along too, so that
// the user can be told why they are not queued.
void CImagesModel::appendOpenedRow(QList<QVector<QVariant>> &result, const QVector<QVariant> &row)
{
    result.append(row);
}
