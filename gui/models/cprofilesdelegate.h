#pragma once

#include <QStyledItemDelegate>

class QAbstractItemView;

// Paints each entry of the open profile list with its size at the right edge.
class CProfilesDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // view is the list whose selection turns the size white; it is not owned.
    CProfilesDelegate(QAbstractItemView *view, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

private:
    QAbstractItemView *view;
};
