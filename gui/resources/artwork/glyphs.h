#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

// Line glyphs designed on a 24 x 24 grid and scaled into the box they are given.
namespace Glyphs {

enum class Shape
{
    Plus,
    Cross,
    Minus,
    Photo,
    Folder,
    Gear,
    Help,
    Globe,
    Back,
    Pause,
    Play,
    Check,
    Info,
    Trash,
    Resize,
    ChevronDown,
    ChevronUp,
    ChevronLeft,
    ChevronRight,
    Drop,
};

void draw(QPainter &painter, Shape shape, const QRectF &box, const QColor &colour, qreal stroke = 2.0);

} // namespace Glyphs
