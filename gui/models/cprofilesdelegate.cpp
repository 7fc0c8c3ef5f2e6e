#include "cprofilesdelegate.h"

#include "paintprofilesize.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

CProfilesDelegate::CProfilesDelegate(QAbstractItemView *view, QObject *parent)
    : QStyledItemDelegate(parent)
    , view(view)
{
}

void CProfilesDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const bool selected = view->selectionModel()->selectedIndexes().contains(index);
    paintProfileSize(painter, option.rect, 25, index, selected ? "#ffffff" : "#a597b5");
}
