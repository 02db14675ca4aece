#pragma once

#include <QRectF>

class QPainter;

namespace artgen {

// The five Zener symbols in the deck's order.
enum class Zener
{
    Star = 1,
    Circle,
    Waves,
    Square,
    Cross
};

// Draws `symbol` in black lines of `lineWidth` filling `box`.
void drawZener(QPainter &painter, Zener symbol, const QRectF &box, qreal lineWidth);

} // namespace artgen
