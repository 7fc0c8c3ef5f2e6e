#include "glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace Glyphs {
namespace {

QPainterPath polyline(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    auto it = points.begin();
    path.moveTo(*it);
    for (++it; it != points.end(); ++it)
        path.lineTo(*it);
    return path;
}

QPainterPath gear()
{
    QPainterPath teeth;
    for (int i = 0; i < 8; ++i) {
        QTransform turn;
        turn.translate(12, 12);
        turn.rotate(i * 45.0);
        QPainterPath tooth;
        tooth.addRoundedRect(QRectF(-2.0, -10.5, 4.0, 5.0), 1.0, 1.0);
        teeth.addPath(turn.map(tooth));
    }
    QPainterPath body;
    body.addEllipse(QPointF(12, 12), 7.2, 7.2);
    QPainterPath hole;
    hole.addEllipse(QPointF(12, 12), 3.0, 3.0);
    return body.united(teeth).subtracted(hole);
}

// Filled shapes are returned in `fill`, stroked ones in the return value.
QPainterPath outline(Shape shape, QPainterPath &fill)
{
    QPainterPath path;
    switch (shape) {
    case Shape::Plus:
        path = polyline({{12, 5}, {12, 19}});
        path.addPath(polyline({{5, 12}, {19, 12}}));
        break;
    case Shape::Cross:
        path = polyline({{6.5, 6.5}, {17.5, 17.5}});
        path.addPath(polyline({{17.5, 6.5}, {6.5, 17.5}}));
        break;
    case Shape::Minus:
        path = polyline({{6, 12}, {18, 12}});
        break;
    case Shape::Photo:
        path.addRoundedRect(QRectF(3, 5, 18, 14), 2.5, 2.5);
        path.addPath(polyline({{4, 17.5}, {9.5, 11.5}, {13.5, 15.5}, {16, 13}, {20, 17}}));
        fill.addEllipse(QPointF(15.8, 9.2), 1.7, 1.7);
        break;
    case Shape::Folder:
        path = polyline({{3, 18}, {3, 6}, {9.5, 6}, {11.5, 8.5}, {21, 8.5}, {21, 18}});
        path.closeSubpath();
        path.addPath(polyline({{3, 11}, {21, 11}}));
        break;
    case Shape::Gear:
        fill = gear();
        break;
    case Shape::Help:
        path.moveTo(8.8, 9.3);
        path.cubicTo(8.8, 6.8, 10.4, 5.3, 12.2, 5.3);
        path.cubicTo(14.1, 5.3, 15.5, 6.7, 15.5, 8.6);
        path.cubicTo(15.5, 11.2, 12.2, 11.5, 12.2, 14.2);
        path.lineTo(12.2, 14.8);
        fill.addEllipse(QPointF(12.2, 18.6), 1.5, 1.5);
        break;
    case Shape::Globe:
        path.addEllipse(QPointF(12, 12), 8.5, 8.5);
        path.addEllipse(QPointF(12, 12), 3.8, 8.5);
        path.addPath(polyline({{3.5, 12}, {20.5, 12}}));
        path.addPath(polyline({{5, 7.5}, {19, 7.5}}));
        path.addPath(polyline({{5, 16.5}, {19, 16.5}}));
        break;
    case Shape::Back:
        path = polyline({{19, 12}, {5.5, 12}});
        path.addPath(polyline({{11, 6.5}, {5.5, 12}, {11, 17.5}}));
        break;
    case Shape::Pause:
        fill.addRoundedRect(QRectF(7.5, 6, 3.2, 12), 1.2, 1.2);
        fill.addRoundedRect(QRectF(13.3, 6, 3.2, 12), 1.2, 1.2);
        break;
    case Shape::Play:
        fill = polyline({{9, 6}, {18.5, 12}, {9, 18}});
        fill.closeSubpath();
        break;
    case Shape::Check:
        path = polyline({{5.5, 12.5}, {10, 17}, {18.5, 7.5}});
        break;
    case Shape::Info:
        fill.addEllipse(QPointF(12, 6.8), 1.7, 1.7);
        path = polyline({{12, 10.5}, {12, 18}});
        break;
    case Shape::Trash:
        path = polyline({{4.5, 7}, {19.5, 7}});
        path.addPath(polyline({{9.5, 7}, {9.5, 4.5}, {14.5, 4.5}, {14.5, 7}}));
        path.addPath(polyline({{6.5, 7}, {7.5, 19.5}, {16.5, 19.5}, {17.5, 7}}));
        path.addPath(polyline({{10.2, 10.5}, {10.5, 16.5}}));
        path.addPath(polyline({{13.8, 10.5}, {13.5, 16.5}}));
        break;
    case Shape::Resize:
        // The target frame around the source picture keeps the arrow from reading as a gender sign.
        path.addRoundedRect(QRectF(3.5, 3.5, 17, 17), 2, 2);
        fill.addRoundedRect(QRectF(3.5, 12, 8.5, 8.5), 1.5, 1.5);
        path.addPath(polyline({{14, 10.5}, {17.3, 6.7}}));
        path.addPath(polyline({{12.8, 6.7}, {17.3, 6.7}, {17.3, 11.2}}));
        break;
    case Shape::ChevronDown:
        path = polyline({{6, 9}, {12, 15}, {18, 9}});
        break;
    case Shape::ChevronUp:
        path = polyline({{6, 15}, {12, 9}, {18, 15}});
        break;
    case Shape::ChevronLeft:
        path = polyline({{15, 6}, {9, 12}, {15, 18}});
        break;
    case Shape::ChevronRight:
        path = polyline({{9, 6}, {15, 12}, {9, 18}});
        break;
    case Shape::Drop:
        path = polyline({{12, 3.5}, {12, 14.5}});
        path.addPath(polyline({{7.5, 10}, {12, 14.5}, {16.5, 10}}));
        path.addPath(polyline({{4, 14.5}, {4, 20}, {20, 20}, {20, 14.5}}));
        break;
    }
    return path;
}

} // namespace

void draw(QPainter &painter, Shape shape, const QRectF &box, const QColor &colour, qreal stroke)
{
    QPainterPath fill;
    const QPainterPath path = outline(shape, fill);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(box.topLeft());
    painter.scale(box.width() / 24.0, box.height() / 24.0);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colour, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(fill);
    painter.restore();
}

} // namespace Glyphs
