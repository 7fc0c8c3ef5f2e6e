#pragma once

#include <QRect>
#include <QString>

class QModelIndex;
class QPainter;

// Draws the profile's size "WxH" right-aligned in rect, rightMargin pixels from its right edge; nothing
// for the manual profile.
void paintProfileSize(QPainter *painter, const QRect &rect, int rightMargin, const QModelIndex &index,
                      const QString &color);
