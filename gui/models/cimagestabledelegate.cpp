#include "cimagestabledelegate.h"

#include "cimagesmodel.h"
#include "imagedescription.h"

#include <QImage>
#include <QPainter>

CImagesTableDelegate::CImagesTableDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
    , textMargin(16)
{
}

void CImagesTableDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);

    // The top row and the two bottom rows keep the row separator drawn by the view's style.
    QRect band = option.rect;
    band.setTop(band.top() + 1);
    band.setHeight(band.height() - 2);
    painter->fillRect(band, index.data(Qt::BackgroundRole).value<QBrush>());

    if (index.column() == 0) {
        const QImage thumbnail = index.data(Qt::DisplayRole).value<QImage>();
        const QPoint topLeft = option.rect.center() - QPoint(thumbnail.width() / 2, thumbnail.height() / 2);
        painter->drawImage(topLeft, thumbnail, thumbnail.rect());
    } else if (index.column() == 1) {
        const QStaticText text =
            imageDescription(index.data(Qt::UserRole).value<CImageInfo>(), option.rect.width() - textMargin);
        const int y = int(option.rect.top() + (option.rect.height() - text.size().height()) * 0.5);
        painter->drawStaticText(QPoint(option.rect.left() + textMargin, y), text);
    }
}
