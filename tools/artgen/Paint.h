#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QString>

#include <cstdint>

class QPainter;

namespace artgen {

// A small fixed-seed generator for textures. Its sequence is defined here, not by the standard
// library, so the pictures come out the same with every compiler.
class Noise
{
public:
    explicit Noise(std::uint32_t seed) : m_state(seed ? seed : 0x9e3779b9u) {}
    std::uint32_t next();
    // An integer in -spread..spread.
    int jitter(int spread);

private:
    std::uint32_t m_state;
};

// An opaque 24-bit canvas of `width` x `height` logical pixels filled with one colour, holding
// `scale` x `scale` image pixels per logical pixel (its device pixel ratio). Painters on it draw in
// logical pixels, so the same drawing code makes the 1x picture and its sharper @2x variant.
QImage canvas(int width, int height, QColor fill, int scale = 1);
// The picture's size in logical pixels.
QSize logicalSize(const QImage &image);
// The 1x `image` with every pixel repeated into a `scale` x `scale` block, device pixel ratio
// `scale`: textures (grain, bevels, rims) keep their 1x grain in the larger variants, and the part of
// a picture made pixel by pixel is drawn once, at 1x.
QImage enlarged(const QImage &image, int scale);
// Sets every image pixel of the logical pixel (x, y).
void setLogicalPixel(QImage &image, int x, int y, QRgb colour);
// The part of `image` under the logical rectangle `rect`, at the same scale.
QImage logicalCopy(const QImage &image, const QRect &rect);
// A painter with antialiasing for shapes and text.
void prepare(QPainter &painter);

// Liberation fonts by pixel size, unhinted so the outlines do not depend on the screen.
QFont sansFont(qreal pixelSize, bool bold = false);
QFont serifFont(qreal pixelSize, bool bold = false);

// Text as an outline whose ink box is scaled and moved to fill `box` exactly (keeping the aspect
// ratio when `keepAspect`, then centred in the box).
QPainterPath fittedText(const QString &text, const QFont &font, const QRectF &box, bool keepAspect = true);
// Text as an outline with its ink centred on `centre`.
QPainterPath centredText(const QString &text, const QFont &font, QPointF centre);

// The pixel operations below work on 1x images (device pixel ratio 1) only; draw them at 1x and
// enlarge the result.

// Dark grey grain: every pixel of `rect` becomes base +- spread, equal in red, green and blue.
void fillGrain(QImage &image, const QRect &rect, int base, int spread, std::uint32_t seed);
// Lightens the top rows of `rect` into a bevel: row 0 by `top`, fading to nothing after `rows` rows.
void bevelTop(QImage &image, const QRect &rect, int rows, int top);

// A soft shadow: `shape` filled in black at `opacity`, blurred by about `blur` pixels, offset (all in
// logical pixels; works at any scale).
void softShadow(QImage &image, const QPainterPath &shape, QPointF offset, qreal blur, qreal opacity);

// A white playing card with a black edge and a soft shadow to its right and bottom, on white.
// Returns the card's shape so callers can clip the symbol to it.
QPainterPath cardBase(QImage &image, QColor face = Qt::white, QColor edge = Qt::black);

// A pill (fully rounded ends) filling `rect`, with a glossy top and a darker rim.
void drawPill(QPainter &painter, const QRectF &rect, QColor colour);

// The maker's round logo: a dark disc with a white monogram and, when `ring` is set, the maker's name
// and web address set round it in dark letters.
void drawLogo(QPainter &painter, QPointF centre, qreal discRadius, bool ring,
              QColor disc = QColor(24, 24, 28), QColor letters = Qt::white);

// Replaces every pixel of colour `key` by the colour one step bluer (or less blue), so that the key
// colour appears only where it is set on purpose afterwards (any scale).
void removeColour(QImage &image, QRgb key);

} // namespace artgen
