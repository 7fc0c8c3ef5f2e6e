#pragma once

#include "BrindleCore.h"

#include <QAbstractTableModel>
#include <QFutureWatcher>
#include <QHash>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

// The library leaves the record unregistered; the program needs it inside QVariant rows.
Q_DECLARE_METATYPE(CImageInfo)

// The queue of images to resize: one row per opened file, columns thumbnail, description and action.
// A row holds, in this order: thumbnail (QImage), record (CImageInfo), resized flag (bool), written path.
class CImagesModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit CImagesModel(QObject *parent = nullptr);
    ~CImagesModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // Returns false, changing nothing, for a range that is not inside the queue.
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;

    // Opens the paths not yet queued, each once, in the global thread pool; call only while no opening runs.
    void openImages(const QStringList &paths);
    bool isOpening() const;
    // Gives up the running opening: none of its files is queued, none reported as left out.
    void cancelOpening();
    int indexOfPath(const QString &path) const;
    // Returns false for a path that is not queued.
    bool removeImage(const QString &path);
    void setImageResized(const QString &sourcePath, const QString &newPath);
    void resetResizedStates();
    void clear();
    QVector<CImageInfo> images() const;
    QString lastResizedPath() const;

signals:
    void rowsCountChanged(int rowsCount);
    void imagesIsOpening(bool isOpening);
    void openingProgress(int done, int total);
    // After an opening that left files out, one line per file: its path and why it is not queued.
    void imagesLeftOut(const QStringList &files);
    void imageResized(QString newPath, int row);

private slots:
    void onRowsCountChanged();
    void onOpeningFinished();
    void onOpeningStarted();

private:
    QVector<QVariant> openImage(const QString &path) const;
    static void appendOpenedRow(QList<QVector<QVariant>> &result, const QVector<QVariant> &row);
    void indexRows(int first) const;

    QList<QVector<QVariant>> rows;
    // First row of each queued path, so that a run marks its rows in constant time; rebuilt after a removal.
    mutable QHash<QString, int> rowOfPath;
    mutable bool rowOfPathValid = true;
    QSize thumbnailSize;
    QString lastResized;
    // Set from the call on, not from the watcher's start, which arrives only through the event loop.
    bool opening = false;
    QFutureWatcher<QList<QVector<QVariant>>> openingWatcher;
};
