#pragma once

#include "glyphs.h"

#include <QImage>

// The building blocks every picture of the bundle is made of, so that one change restyles a whole family.
namespace Pictures {

enum class State
{
    Normal,
    Hover,
    Pressed
};

QImage canvas(int width, int height);

// A glyph on a disc whose colours follow the hover and pressed states of the bar buttons.
QImage badgeIcon(int size, Glyphs::Shape shape, State state, bool withPlus = false);
// The big add button of the first screen: a filled accent disc that lightens on hover.
QImage primaryIcon(int size, State state);
QImage ringIcon(int size, Glyphs::Shape shape, const QColor &colour, bool filled);
QImage rowIcon(int size, Glyphs::Shape shape, const QColor &hoverFill, State state);
QImage plainGlyph(int width, int height, Glyphs::Shape shape, const QColor &colour, qreal glyphSize,
                  qreal stroke = 2.0);
QImage whiteIcon(int size, Glyphs::Shape shape, bool hover);
QImage titleButton(int width, int height, Glyphs::Shape shape, bool hover, const QColor &hoverFill,
                   const QColor &hoverGlyph);
QImage checkBox(bool checked, State state);
QImage infoSign(bool hover);
QImage backButton(bool hover);

// Flat button faces, even along their width so that a wider button tiles them without a seam.
QImage buttonFace(int width, int height, const QColor &face, const QColor &shade, bool pressed);
QImage buttonSlice(int width, int height, Glyphs::Shape shape, const QColor &face, bool pressed);

QImage shadow(const QSize &size, const QRect &body, qreal radius);
QImage mainPanel();
QImage settingsPanel();
QImage completionPanel();
QImage splashCard();
QImage dropZone();
QImage logoMark(int size);
QImage logo();
QImage progressBar(bool filled);

QImage dotsFrame(int lit);
QImage spinnerFrame(int step, int steps);

} // namespace Pictures
