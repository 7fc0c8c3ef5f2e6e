#include "paintprofilesize.h"

#include <QModelIndex>
#include <QPainter>
#include <QSize>
#include <QStaticText>

void paintProfileSize(QPainter *painter, const QRect &rect, int rightMargin, const QModelIndex &index,
                      const QString &color)
{
    const QSize size = index.data(Qt::UserRole).toSize();
    if (size == QSize(0, 0))
        return;
    const QStaticText text(
        QString("<span style=\"color:%3;\">%1x%2</span>").arg(size.width()).arg(size.height()).arg(color));
    const QSizeF textSize = text.size();
    const QPointF position(rect.left() + (rect.width() - textSize.width() - rightMargin),
                           rect.top() + rect.height() * 0.5 - textSize.height() * 0.5 - 3);
    painter->drawStaticText(position, text);
}
