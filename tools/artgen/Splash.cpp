// The splash picture. Its outline is behaviour: every pixel outside the panel and the two cards that
// jut out of it has the key colour, and the window is cut to the rest.
#include "Paint.h"
#include "Pictures.h"
#include "Zener.h"

#include <QPainter>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>

namespace artgen {

namespace {

constexpr int kWidth = 424;
constexpr int kHeight = 367;
constexpr int kKeyPixels = 8641;

// The panel's sides, as edges between pixels: x 14 at the left and x 411 at the right in the middle
// rows, which keeps columns 14..410 there.
constexpr double kPanelLeftEdge = 14.0;
constexpr double kPanelRightEdge = 411.0;
// Both sides follow one smooth curve, the same at the left and the right: `depth` times |d|^power,
// d running from -1 at the top row's centre to 1 at the bottom row's. The depth, near 7, keeps rows 0
// and 366 at x 21..403; the power sets how soon the sides leave the full width. The generator
// chooses the pair that cuts exactly kKeyPixels.
struct SideCurve
{
    double depth;
    double power;
};

double sideInset(double y, SideCurve curve)
{
    const double half = kHeight / 2.0;
    const double end = (kHeight - 0.5 - half) / half;
    const double d = std::abs(y - half) / half;
    return curve.depth * std::pow(d / end, curve.power);
}

struct TiltedCard
{
    QPointF centre;
    qreal width;
    qreal height;
    qreal angle; // degrees, clockwise

    QTransform placement() const
    {
        QTransform t;
        t.translate(centre.x(), centre.y());
        t.rotate(angle);
        return t;
    }
    QPainterPath shape() const
    {
        QPainterPath path;
        path.addRoundedRect(QRectF(-width / 2, -height / 2, width, height), 5, 5);
        return placement().map(path);
    }
};

// A card tilted by `angle` whose top and bottom edges cross the pixel-centre column `columnX` at
// `topY` and `bottomY`; the top edge crosses `fromCorner` pixels from the corner on that side.
TiltedCard cardCrossing(qreal columnX, qreal topY, qreal bottomY, qreal angle, qreal width, qreal fromCorner,
                        bool leftSide)
{
    const qreal a = angle * std::numbers::pi / 180.0;
    const QPointF u(std::cos(a), std::sin(a));  // along the top edge, left to right
    const QPointF v(-std::sin(a), std::cos(a)); // down the card
    const qreal height = (bottomY - topY) * std::cos(a);
    const qreal along = leftSide ? -width / 2 + fromCorner : width / 2 - fromCorner;
    const QPointF crossing(columnX, topY);
    const QPointF centre = crossing + v * (height / 2) - u * along;
    return TiltedCard{centre, width, height, angle};
}

// The logo card juts out at the left in rows 98..187, the wavy-lines card at the right in rows
// 224..302. Between the two the panel keeps its full width, so the wavy card may tilt only a few
// degrees: tilted more, its top corner would stick out above row 224.
const TiltedCard kLogoCard = cardCrossing(0.5, 98.0, 188.0, -6.0, 70, 18, true);
const TiltedCard kWavyCard = cardCrossing(kWidth - 0.5, 224.0, 303.0, 5.0, 56, 17, false);

// The fan: five cards of the wavy card's size, each tilted by its angle about a common pivot far
// below them, 6 degrees apart, so that neighbours overlap a little and the fan sinks towards the
// lower left.
constexpr qreal kFanRadius = 470;
constexpr qreal kFanStep = 6;

TiltedCard fanCard(int index) // 0..4, left to right; 4 is the wavy card
{
    const auto radians = [](qreal degrees) { return degrees * std::numbers::pi / 180.0; };
    const qreal last = radians(kWavyCard.angle);
    const QPointF pivot = kWavyCard.centre - kFanRadius * QPointF(std::sin(last), -std::cos(last));
    const qreal angle = kWavyCard.angle - (4 - index) * kFanStep;
    const QPointF centre = pivot + kFanRadius * QPointF(std::sin(radians(angle)), -std::cos(radians(angle)));
    return TiltedCard{centre, kWavyCard.width, kWavyCard.height, angle};
}

struct Row
{
    int first;
    int last;
};

using Outline = std::array<Row, kHeight>;

// The columns of each row whose pixel centres lie inside one of the two jutting cards (first > last
// where neither card reaches).
const Outline &cardRows()
{
    static const Outline rows = [] {
        const QPainterPath logo = kLogoCard.shape();
        const QPainterPath wavy = kWavyCard.shape();
        Outline out{};
        for (int y = 0; y < kHeight; ++y) {
            Row row{kWidth, -1};
            for (int x = 0; x < kWidth; ++x) {
                const QPointF centre(x + 0.5, y + 0.5);
                if (logo.contains(centre) || wavy.contains(centre)) {
                    row.first = std::min(row.first, x);
                    row.last = std::max(row.last, x);
                }
            }
            out[std::size_t(y)] = row;
        }
        return out;
    }();
    return rows;
}

// Each row keeps the pixels whose centres lie inside the panel or one of the two jutting cards.
Outline outline(SideCurve curve)
{
    Outline rows{};
    for (int y = 0; y < kHeight; ++y) {
        const double inset = sideInset(y + 0.5, curve);
        const Row &cards = cardRows()[std::size_t(y)];
        rows[std::size_t(y)] = Row{std::min(int(std::ceil(kPanelLeftEdge + inset - 0.5)), cards.first),
                                   std::max(int(std::floor(kPanelRightEdge - inset - 0.5)), cards.last)};
    }
    return rows;
}

int keyPixels(const Outline &rows)
{
    int keys = 0;
    for (const Row &row : rows)
        keys += kWidth - (row.last - row.first + 1);
    return keys;
}

// The curve that cuts exactly kKeyPixels. A higher power keeps the sides at full width longer and so
// cuts fewer pixels; as the count moves in steps of several pixels (rows at the top and bottom, left
// and right change together), a few depths near 7 are tried until one reaches the count exactly.
SideCurve outlineCurve()
{
    for (int attempt = 0; attempt < 40; ++attempt) {
        const double depth = 7.0 + (attempt % 2 ? 1 : -1) * 0.01 * ((attempt + 1) / 2);
        double low = 1.0;
        double high = 40.0;
        for (int i = 0; i < 60; ++i) {
            const SideCurve curve{depth, (low + high) / 2};
            const int keys = keyPixels(outline(curve));
            if (keys == kKeyPixels)
                return curve;
            (keys > kKeyPixels ? low : high) = curve.power;
        }
    }
    throw std::runtime_error("no smooth splash outline cuts exactly " + std::to_string(kKeyPixels) +
                             " pixels");
}

// `shift` moves the symbol along the card, off its centre, for a card partly cut away by the edge.
void drawFanCard(QPainter &p, const TiltedCard &card, Zener symbol, qreal shift = 0)
{
    p.save();
    p.setTransform(card.placement(), true);
    const QRectF rect(-card.width / 2, -card.height / 2, card.width, card.height);
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(QColor(250, 250, 248));
    p.drawRoundedRect(rect, 5, 5);
    const qreal size = 32;
    drawZener(p, symbol, QRectF(shift - size / 2, -size / 2, size, size), 3.4);
    p.restore();
}

} // namespace

QImage splash(int scale)
{
    static const SideCurve curve = outlineCurve();
    const Outline rows = outline(curve);
    for (int y = 0; y < kHeight; ++y) {
        const Row &row = rows[std::size_t(y)];
        const bool logoRow = y >= 98 && y <= 187;
        const bool wavyRow = y >= 224 && y <= 302;
        if ((row.first == 0) != logoRow || (row.last == kWidth - 1) != wavyRow)
            throw std::runtime_error("splash cards meet the edges in the wrong rows at row " +
                                     std::to_string(y));
    }
    for (const int y : {0, kHeight - 1}) {
        if (rows[std::size_t(y)].first != 21 || rows[std::size_t(y)].last != 403)
            throw std::runtime_error("splash corners are not rounded as designed");
    }

    // The panel: dark, faintly grained, a shade lighter towards the top; made pixel by pixel at 1x.
    // Its rim is a light line along the smooth curve, drawn by each pixel's distance from the curve
    // rather than by whole pixels, so the one-pixel steps of the cut do not show against a light
    // desktop.
    const QColor rim(136, 140, 152);
    QImage base = canvas(kWidth, kHeight, QColor(28, 30, 38));
    Noise noise(0x5eed0201u);
    for (int y = 0; y < kHeight; ++y) {
        auto *line = reinterpret_cast<QRgb *>(base.scanLine(y));
        const int lift = 14 - 14 * y / kHeight;
        const double inset = sideInset(y + 0.5, curve);
        const double left = kPanelLeftEdge + inset;
        const double right = kPanelRightEdge - inset;
        for (int x = 0; x < kWidth; ++x) {
            const int g = noise.jitter(3);
            const QColor panel(22 + lift + g, 24 + lift + g, 34 + lift + g);
            // Distance of the pixel's centre inside the nearest edge of the panel.
            const double inside = std::min({x + 0.5 - left, right - (x + 0.5), y + 0.5, kHeight - (y + 0.5)});
            const double light = std::clamp((2.2 - inside) / 1.7, 0.0, 1.0);
            const auto mix = [light](int from, int to) {
                return int(std::lround(from + (to - from) * light));
            };
            line[x] = qRgb(mix(panel.red(), rim.red()), mix(panel.green(), rim.green()),
                           mix(panel.blue(), rim.blue()));
        }
    }

    QImage image = enlarged(base, scale);
    QPainter p(&image);
    prepare(p);

    // A faint blue glow behind the name gives the panel some depth.
    QRadialGradient glow(QPointF(212, 104), 190);
    glow.setColorAt(0, QColor(70, 86, 130, 110));
    glow.setColorAt(1, QColor(70, 86, 130, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawRect(QRectF(0, 0, kWidth, kHeight));

    // "Orvanta presents", the product's name in two lines of large white letters with a dark
    // outline, the notice: all centred on the picture's middle.
    const qreal middle = kWidth / 2.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(190, 196, 210));
    p.drawPath(centredText(QStringLiteral("Orvanta presents"), sansFont(12, false), QPointF(middle, 22)));
    const QFont big = sansFont(52, true);
    const QPainterPath line1 = centredText(QStringLiteral("qxOrvanta"), big, QPointF(middle, 68));
    const QPainterPath line2 = centredText(QStringLiteral("Trainer"), big, QPointF(middle, 130));
    for (const QPainterPath &line : {line1, line2}) {
        p.setPen(QPen(QColor(8, 8, 12), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(line);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPath(line);
    }
    p.end();

    // The fan of Zener cards, left to right, each lying over the one before and casting a soft
    // shadow on it; the wavy lines last, jutting out at the right, its symbol moved onto the part
    // that shows.
    const Zener fan[5] = {Zener::Cross, Zener::Circle, Zener::Star, Zener::Square, Zener::Waves};
    for (int i = 0; i < 5; ++i) {
        const TiltedCard card = fanCard(i);
        softShadow(image, card.shape(), QPointF(2, 2.5), 3, 0.5);
        p.begin(&image);
        prepare(p);
        drawFanCard(p, card, fan[i], i == 4 ? -5 : 0);
        p.end();
    }
    softShadow(image, kLogoCard.shape(), QPointF(2, 2.5), 3, 0.5);
    p.begin(&image);
    prepare(p);

    // The black logo card at the left.
    p.save();
    p.setTransform(kLogoCard.placement(), true);
    const QRectF logoRect(-kLogoCard.width / 2, -kLogoCard.height / 2, kLogoCard.width, kLogoCard.height);
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.setBrush(QColor(6, 6, 8));
    p.drawRoundedRect(logoRect, 5, 5);
    drawLogo(p, QPointF(7, -2), 24, false, QColor(6, 6, 8), Qt::white);
    p.restore();

    // The notice and the hint to click, below the fan.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 204, 214));
    p.drawPath(centredText(QStringLiteral("\u00a9 2008 Orvanta \u2022 www.orvanta.example"), sansFont(12),
                           QPointF(middle, 340)));
    p.setBrush(Qt::white);
    QPainterPath hint;
    hint.addText(QPointF(0, 0), sansFont(11), QStringLiteral("(click to continue)"));
    p.drawPath(hint.translated(392 - hint.boundingRect().right(), 359));
    p.end();

    // Cut the outline: the key outside each row's run, never inside it (in whole logical pixels).
    removeColour(image, kSplashKey);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        const Row &row = rows[std::size_t(y / scale)];
        for (int x = 0; x < image.width(); ++x) {
            if (x / scale < row.first || x / scale > row.last)
                line[x] = kSplashKey;
        }
    }
    return image;
}

} // namespace artgen
