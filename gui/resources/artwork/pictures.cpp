#include "pictures.h"

#include "palette.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

using Glyphs::Shape;

namespace Pictures {
namespace {

struct Painter : QPainter
{
    explicit Painter(QImage *image)
        : QPainter(image)
    {
        setRenderHint(QPainter::Antialiasing);
        setRenderHint(QPainter::TextAntialiasing);
        setPen(Qt::NoPen);
    }
};

QRectF centred(const QSizeF &outer, qreal side)
{
    return QRectF((outer.width() - side) / 2.0, (outer.height() - side) / 2.0, side, side);
}

void disc(QPainter &painter, const QRectF &box, const QColor &colour)
{
    painter.setBrush(colour);
    painter.drawEllipse(box);
}

// Three passes of a box blur come close enough to a Gaussian for a drop shadow.
QImage blurredAlpha(const QImage &source, int radius)
{
    QImage image = source.convertToFormat(QImage::Format_Alpha8);
    const int w = image.width();
    const int h = image.height();
    QVector<int> line;
    auto pass = [&](bool horizontal) {
        const int count = horizontal ? w : h;
        const int lines = horizontal ? h : w;
        line.resize(count);
        for (int l = 0; l < lines; ++l) {
            auto at = [&](int i) -> uchar & {
                return horizontal ? image.scanLine(l)[i] : image.scanLine(i)[l];
            };
            for (int i = 0; i < count; ++i)
                line[i] = at(i);
            int sum = 0;
            for (int i = -radius; i <= radius; ++i)
                sum += line[qBound(0, i, count - 1)];
            for (int i = 0; i < count; ++i) {
                at(i) = uchar(sum / (2 * radius + 1));
                sum += line[qMin(i + radius + 1, count - 1)] - line[qMax(i - radius, 0)];
            }
        }
    };
    for (int i = 0; i < 3; ++i) {
        pass(true);
        pass(false);
    }
    return image;
}

QLinearGradient ramp(const QPointF &from, const QPointF &to, const QColor &start, const QColor &end)
{
    QLinearGradient gradient(from, to);
    gradient.setColorAt(0, start);
    gradient.setColorAt(1, end);
    return gradient;
}

// Fills a rounded shape and keeps later drawing inside it.
void fillClipped(QPainter &painter, const QRectF &rect, qreal radius, const QBrush &brush)
{
    QPainterPath shape;
    shape.addRoundedRect(rect, radius, radius);
    painter.fillPath(shape, brush);
    painter.setClipPath(shape);
}

void wordmark(QPainter &painter, const QPointF &baseline, int pixelSize, const QBrush &brush)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Bold);
    font.setLetterSpacing(QFont::PercentageSpacing, 96);
    QPainterPath text;
    text.addText(baseline, font, QStringLiteral("Brindle"));
    painter.fillPath(text, brush);
}

} // namespace

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage badgeIcon(int size, Shape shape, State state, bool withPlus)
{
    const QColor fill = state == State::Normal  ? Palette::lavender
                        : state == State::Hover ? Palette::accent
                                                : Palette::accentDark;
    const QColor glyph = state == State::Normal ? Palette::accent : QColor(Qt::white);
    QImage image = canvas(size, size);
    Painter painter(&image);
    disc(painter, centred(image.size(), size - 2), fill);
    const qreal side = size * 0.6;
    QRectF box = centred(image.size(), side);
    if (withPlus)
        box.translate(-size * 0.06, -size * 0.04);
    Glyphs::draw(painter, shape, box, glyph, 2.2);
    if (withPlus) {
        const QRectF badge(size * 0.52, size * 0.5, size * 0.4, size * 0.4);
        disc(painter, badge, fill);
        disc(painter, badge.adjusted(1.5, 1.5, -1.5, -1.5), glyph);
        Glyphs::draw(painter, Shape::Plus, badge.adjusted(2, 2, -2, -2), fill, 3.4);
    }
    return image;
}

QImage primaryIcon(int size, State state)
{
    const QColor fill = state == State::Normal  ? Palette::accent
                        : state == State::Hover ? Palette::accentLight
                                                : Palette::accentDark;
    QImage image = canvas(size, size);
    Painter painter(&image);
    if (state == State::Hover)
        disc(painter, centred(image.size(), size), Palette::lavender);
    disc(painter, centred(image.size(), size - 6), fill);
    Glyphs::draw(painter, Shape::Plus, centred(image.size(), size * 0.6), Qt::white, 2.6);
    return image;
}

QImage ringIcon(int size, Shape shape, const QColor &colour, bool filled)
{
    QImage image = canvas(size, size);
    Painter painter(&image);
    const QRectF ring = centred(image.size(), size - 3);
    if (filled) {
        disc(painter, centred(image.size(), size - 1.5), colour);
    } else {
        painter.setPen(QPen(colour, 1.5));
        painter.drawEllipse(ring);
        painter.setPen(Qt::NoPen);
    }
    Glyphs::draw(painter, shape, centred(image.size(), size * 0.62), filled ? QColor(Qt::white) : colour,
                 2.2);
    return image;
}

QImage rowIcon(int size, Shape shape, const QColor &hoverFill, State state)
{
    QImage image = canvas(size, size);
    Painter painter(&image);
    QColor glyph = shape == Shape::Cross ? Palette::neutral : Palette::accent;
    if (state != State::Normal) {
        disc(painter, centred(image.size(), size - 1),
             state == State::Hover ? hoverFill : hoverFill.darker(125));
        glyph = Qt::white;
    }
    Glyphs::draw(painter, shape, centred(image.size(), size * 0.7), glyph, 2.4);
    return image;
}

QImage plainGlyph(int width, int height, Shape shape, const QColor &colour, qreal glyphSize, qreal stroke)
{
    QImage image = canvas(width, height);
    Painter painter(&image);
    Glyphs::draw(painter, shape, centred(image.size(), glyphSize), colour, stroke);
    return image;
}

QImage whiteIcon(int size, Shape shape, bool hover)
{
    QImage image = canvas(size, size);
    Painter painter(&image);
    if (hover)
        disc(painter, centred(image.size(), size - 1), QColor(255, 255, 255, 60));
    Glyphs::draw(painter, shape, centred(image.size(), size * 0.66), Qt::white, 2.2);
    return image;
}

QImage titleButton(int width, int height, Shape shape, bool hover, const QColor &hoverFill,
                   const QColor &hoverGlyph)
{
    QImage image = canvas(width, height);
    Painter painter(&image);
    if (hover) {
        // Flush with the top edge of the panel, rounded only where it meets the panel's inside.
        QPainterPath face;
        face.addRoundedRect(QRectF(0, -6, width, height + 6), 4, 4);
        painter.fillPath(face, hoverFill);
    }
    Glyphs::draw(painter, shape, QRectF((width - 14) / 2.0, (height - 14) / 2.0, 14, 14),
                 hover ? hoverGlyph : Palette::quiet, 2.4);
    return image;
}

QImage checkBox(bool checked, State state)
{
    QImage image = canvas(16, 16);
    Painter painter(&image);
    const QRectF box(0.75, 0.75, 14.5, 14.5);
    if (checked) {
        const QColor fill = state == State::Normal  ? Palette::accent
                            : state == State::Hover ? Palette::accentLight
                                                    : Palette::accentDeep;
        painter.setBrush(fill);
        painter.drawRoundedRect(box.adjusted(-0.75, -0.75, 0.75, 0.75), 3, 3);
        Glyphs::draw(painter, Shape::Check, QRectF(1, 1, 14, 14), Qt::white, 3.0);
    } else {
        const QColor fill = state == State::Normal  ? QColor(Qt::white)
                            : state == State::Hover ? QColor(0xf4, 0xf1, 0xf7)
                                                    : Palette::lavender;
        painter.setBrush(fill);
        painter.setPen(QPen(state == State::Normal ? Palette::neutral : Palette::accent, 1.5));
        painter.drawRoundedRect(box, 2.5, 2.5);
    }
    return image;
}

QImage infoSign(bool hover)
{
    QImage image = canvas(18, 18);
    Painter painter(&image);
    disc(painter, QRectF(0.5, 0.5, 17, 17), hover ? Palette::accent : Palette::accentLight.lighter(112));
    Glyphs::draw(painter, Shape::Info, QRectF(2, 2, 14, 14), Qt::white, 3.0);
    return image;
}

QImage backButton(bool hover)
{
    QImage image = canvas(30, 30);
    Painter painter(&image);
    if (hover) {
        disc(painter, QRectF(1, 1, 28, 28), QColor(255, 255, 255, 55));
    } else {
        painter.setPen(QPen(QColor(255, 255, 255, 200), 1.5));
        painter.drawEllipse(QRectF(1.5, 1.5, 27, 27));
    }
    Glyphs::draw(painter, Shape::Back, QRectF(6, 6, 18, 18), Qt::white, 2.4);
    return image;
}

QImage buttonFace(int width, int height, const QColor &face, const QColor &shade, bool pressed)
{
    QImage image = canvas(width, height);
    Painter painter(&image);
    painter.fillRect(image.rect(), face);
    if (pressed)
        painter.fillRect(QRect(0, 0, width, 2), shade);
    else
        painter.fillRect(QRect(0, height - 2, width, 2), shade);
    return image;
}

QImage buttonSlice(int width, int height, Shape shape, const QColor &face, bool pressed)
{
    const QColor slice = pressed ? face.darker(118) : face.darker(108);
    QImage image = buttonFace(width, height, slice, slice.darker(118), pressed);
    Painter painter(&image);
    painter.fillRect(QRect(width - 1, 0, 1, height), QColor(255, 255, 255, 70));
    const int side = 24;
    Glyphs::draw(painter, shape,
                 QRectF((width - 1 - side) / 2.0, (height - side) / 2.0 + (pressed ? 1 : 0), side, side),
                 Qt::white, 2.0);
    return image;
}

QImage shadow(const QSize &size, const QRect &body, qreal radius)
{
    QImage mask = canvas(size.width(), size.height());
    {
        Painter painter(&mask);
        painter.setBrush(Qt::black);
        painter.drawRoundedRect(QRectF(body).translated(0, 3), radius + 2, radius + 2);
    }
    const QImage alpha = blurredAlpha(mask, 5);
    QImage image = canvas(size.width(), size.height());
    for (int y = 0; y < image.height(); ++y) {
        const uchar *a = alpha.constScanLine(y);
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int value = a[x] * 70 / 255;
            line[x] = qRgba(value * 0x30 / 255, value * 0x26 / 255, value * 0x3a / 255, value);
        }
    }
    Painter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.setBrush(Qt::black);
    painter.drawRoundedRect(QRectF(body), radius, radius);
    return image;
}

QImage mainPanel()
{
    QImage image = canvas(703, 466);
    Painter painter(&image);
    fillClipped(painter, QRectF(image.rect()), 6, Palette::panel);
    painter.fillRect(QRect(0, 0, 703, 3), Palette::accent);
    painter.setPen(QPen(QColor(0xdf, 0xd8, 0xcc), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(image.rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    return image;
}

QImage settingsPanel()
{
    QImage image = canvas(547, 466);
    Painter painter(&image);
    const QLinearGradient gradient =
        ramp(QPointF(0, 0), QPointF(0, 466), QColor(0x7d, 0x6a, 0x93), QColor(0x62, 0x52, 0x76));
    // Square on the left, where the panel slides in over the veil.
    fillClipped(painter, QRectF(-10, 0, 557, 466), 6, gradient);
    painter.fillRect(QRect(0, 0, 547, 3), Palette::accentDeep);
    painter.fillRect(QRect(0, 0, 2, 466), QColor(0, 0, 0, 40));
    painter.fillRect(QRect(0, 466 - 72, 547, 72), QColor(0, 0, 0, 28));
    return image;
}

QImage completionPanel()
{
    QImage image = canvas(381, 173);
    Painter painter(&image);
    painter.fillRect(image.rect(), Palette::panel);
    painter.fillRect(QRect(0, 0, 381, 3), Palette::green);
    // A few flat confetti pieces in the free corners beside the title.
    const struct
    {
        QPointF at;
        qreal angle;
        QColor colour;
    } pieces[] = {{{18, 44}, 20, Palette::accent},       {{34, 60}, -35, Palette::green},
                  {{14, 76}, 60, Palette::red},          {{363, 44}, -20, Palette::green},
                  {{347, 62}, 40, Palette::accentLight}, {{366, 80}, -60, Palette::accent}};
    for (const auto &piece : pieces) {
        painter.save();
        painter.translate(piece.at);
        painter.rotate(piece.angle);
        QColor colour = piece.colour;
        colour.setAlpha(150);
        painter.setBrush(colour);
        painter.drawRoundedRect(QRectF(-4, -1.5, 8, 3), 1.2, 1.2);
        painter.restore();
    }
    return image;
}

QImage splashCard()
{
    QImage image = canvas(363, 179);
    Painter painter(&image);
    const QLinearGradient gradient =
        ramp(QPointF(0, 0), QPointF(0, 100), QColor(0x96, 0x82, 0xac), Palette::splash);
    fillClipped(painter, QRectF(image.rect()), 8, gradient);
    painter.setPen(QPen(QColor(255, 255, 255, 18), 10));
    for (int i = 0; i < 5; ++i)
        painter.drawLine(QPointF(250 + i * 26, -10), QPointF(330 + i * 26, 110));
    painter.setPen(Qt::NoPen);
    // A light rim lifts the mark off a card of nearly its own colour.
    painter.setBrush(QColor(255, 255, 255, 70));
    painter.drawRoundedRect(QRectF(28, 24, 62, 62), 15, 15);
    painter.drawImage(QPoint(30, 26), logoMark(58));
    wordmark(painter, QPointF(102, 72), 44, Qt::white);
    painter.fillRect(QRectF(104, 86, 150, 2), QColor(255, 255, 255, 90));
    return image;
}

QImage dropZone()
{
    QImage image = canvas(400, 54);
    Painter painter(&image);
    const QRectF zone = QRectF(image.rect()).adjusted(1, 1, -1, -1);
    painter.setBrush(QColor(0xe0, 0xdb, 0xe6, 110));
    QPen dashes(Palette::accentLight, 1.5, Qt::CustomDashLine, Qt::RoundCap);
    dashes.setDashPattern({4, 3});
    painter.setPen(dashes);
    painter.drawRoundedRect(zone, 8, 8);
    Glyphs::draw(painter, Shape::Drop, QRectF(14, 12, 30, 30), Palette::accentLight, 1.8);
    Glyphs::draw(painter, Shape::Drop, QRectF(356, 12, 30, 30), Palette::accentLight, 1.8);
    return image;
}

QImage logoMark(int size)
{
    QImage image = canvas(size, size);
    Painter painter(&image);
    const QLinearGradient gradient =
        ramp(QPointF(0, 0), QPointF(size, size), QColor(0xa0, 0x8c, 0xb6), Palette::accentDark);
    fillClipped(painter, QRectF(0, 0, size, size), size * 0.23, gradient);
    if (size >= 32) {
        // The brindle: soft tiger stripes across the mark.
        painter.setPen(QPen(QColor(0x4a, 0x3c, 0x5c, 50), size * 0.07, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 4; ++i) {
            const qreal x = size * (0.1 + i * 0.28);
            QPainterPath stripe;
            stripe.moveTo(x, -size * 0.1);
            stripe.cubicTo(x + size * 0.18, size * 0.3, x - size * 0.12, size * 0.6, x + size * 0.1,
                           size * 1.1);
            painter.drawPath(stripe);
        }
        painter.setPen(Qt::NoPen);
    }
    const qreal inset = size * 0.17;
    Glyphs::draw(painter, Shape::Resize, QRectF(inset, inset, size - 2 * inset, size - 2 * inset), Qt::white,
                 size >= 32 ? 2.4 : 3.2);
    return image;
}

QImage logo()
{
    QImage image = canvas(330, 70);
    Painter painter(&image);
    painter.drawImage(QPoint(3, 3), logoMark(64));
    const QLinearGradient gradient =
        ramp(QPointF(0, 10), QPointF(0, 62), Palette::accentDark, Palette::accentDeep);
    wordmark(painter, QPointF(84, 55), 52, gradient);
    return image;
}

QImage progressBar(bool filled)
{
    QImage image = canvas(100, 19);
    Painter painter(&image);
    if (filled) {
        painter.fillRect(image.rect(), Palette::accent);
        painter.fillRect(QRect(0, 0, 100, 1), Palette::accentLight);
    } else {
        painter.fillRect(image.rect(), Qt::white);
        painter.setPen(Palette::border);
        painter.drawRect(QRectF(0.5, 0.5, 99, 18));
    }
    return image;
}

QImage dotsFrame(int lit)
{
    QImage image(40, 12, QImage::Format_ARGB32_Premultiplied);
    image.fill(Palette::splash);
    Painter painter(&image);
    for (int i = 0; i < 3; ++i) {
        const bool on = i == lit;
        disc(painter, centred(QSizeF(12, 12), on ? 8 : 6).translated(i * 14, 0),
             on ? QColor(Qt::white) : QColor(255, 255, 255, 110));
    }
    return image;
}

QImage spinnerFrame(int step, int steps)
{
    QImage image = canvas(112, 112);
    Painter painter(&image);
    painter.setBrush(Qt::white);
    painter.setPen(QPen(Palette::border, 1));
    painter.drawRoundedRect(QRectF(0.5, 0.5, 111, 111), 12, 12);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < steps; ++i) {
        const int age = (step - i + steps) % steps;
        QColor colour = Palette::accent;
        colour.setAlphaF(qMax(0.15, 1.0 - age / qreal(steps - 2)));
        const qreal angle = 2 * M_PI * i / steps - M_PI / 2;
        const QPointF at(56 + 30 * qCos(angle), 56 + 30 * qSin(angle));
        const qreal r = age == 0 ? 5.5 : 4.5;
        disc(painter, QRectF(at.x() - r, at.y() - r, 2 * r, 2 * r), colour);
    }
    return image;
}

} // namespace Pictures
