#pragma once

#include <QStyledItemDelegate>

// Paints a queue row: the state's background band, the centred thumbnail and the two-line description.
class CImagesTableDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CImagesTableDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

private:
    int textMargin;
};
