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

namespace artgen {

namespace {

constexpr int kWidth = 424;
constexpr int kHeight = 367;
constexpr int kPanelLeft = 14;   // first panel column in the middle rows
constexpr int kPanelRight = 410; // last panel column in the middle rows
constexpr int kKeyPixels = 8641;

// The panel's sides are a shallow curve: 7 pixels further in at the top and bottom rows than at
// mid-height, which rounds the corners and keeps the middle rows at the full width.
constexpr double kBulgeDepth = 7.25;
constexpr double kBulgeHalfHeight = 183.8;

int sideInset(int y)
{
    const double d = (y + 0.5 - kHeight / 2.0) / kBulgeHalfHeight;
    return int(std::lround(kBulgeDepth * (1.0 - std::sqrt(std::max(0.0, 1.0 - d * d)))));
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
// 224..302.
const TiltedCard kLogoCard = cardCrossing(0.5, 98.0, 188.0, -6.0, 70, 18, true);
const TiltedCard kWavyCard = cardCrossing(kWidth - 0.5, 224.0, 303.0, 4.0, 56, 15, false);

struct Row
{
    int first;
    int last;
};

std::array<Row, kHeight> outline()
{
    const QPainterPath logo = kLogoCard.shape();
    const QPainterPath wavy = kWavyCard.shape();
    std::array<Row, kHeight> rows{};
    for (int y = 0; y < kHeight; ++y) {
        Row row{kPanelLeft + sideInset(y), kPanelRight - sideInset(y)};
        for (int x = 0; x < kWidth; ++x) {
            const QPointF centre(x + 0.5, y + 0.5);
            if (logo.contains(centre) || wavy.contains(centre)) {
                row.first = std::min(row.first, x);
                row.last = std::max(row.last, x);
            }
        }
        rows[std::size_t(y)] = row;
    }
    return rows;
}

// `shift` moves the symbol along the card, off its centre, for a card partly cut away by the edge.
void drawFanCard(QPainter &p, const TiltedCard &card, Zener symbol, qreal shift = 0)
{
    p.save();
    p.setTransform(card.placement());
    const QRectF rect(-card.width / 2, -card.height / 2, card.width, card.height);
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.setBrush(QColor(250, 250, 248));
    p.drawRoundedRect(rect, 5, 5);
    const qreal size = card.width * 0.6;
    drawZener(p, symbol, QRectF(shift - size / 2, -size / 2, size, size), 3.2);
    p.restore();
}

} // namespace

QImage splash(int scale)
{
    const std::array<Row, kHeight> rows = outline();
    int keys = 0;
    for (const Row &row : rows)
        keys += kWidth - (row.last - row.first + 1);
    if (keys != kKeyPixels)
        throw std::runtime_error("splash outline has " + std::to_string(keys) + " key pixels");
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
    QImage base = canvas(kWidth, kHeight, QColor(28, 30, 38));
    Noise noise(0x5eed0201u);
    for (int y = 0; y < kHeight; ++y) {
        auto *line = reinterpret_cast<QRgb *>(base.scanLine(y));
        const int lift = 14 - 14 * y / kHeight;
        for (int x = 0; x < kWidth; ++x) {
            const int g = noise.jitter(3);
            line[x] = qRgb(22 + lift + g, 24 + lift + g, 34 + lift + g);
        }
        // A light rim along the panel's edge.
        const int first = kPanelLeft + sideInset(y);
        const int last = kPanelRight - sideInset(y);
        line[first] = line[last] = qRgb(120, 124, 136);
        line[first + 1] = line[last - 1] = qRgb(70, 74, 86);
    }
    for (const int y : {0, kHeight - 1}) {
        auto *line = reinterpret_cast<QRgb *>(base.scanLine(y));
        for (int x = rows[std::size_t(y)].first; x <= rows[std::size_t(y)].last; ++x)
            line[x] = qRgb(120, 124, 136);
    }

    QImage image = enlarged(base, scale);
    QPainter p(&image);
    prepare(p);

    // A faint blue glow behind the name gives the panel some depth.
    QRadialGradient glow(QPointF(236, 104), 190);
    glow.setColorAt(0, QColor(70, 86, 130, 110));
    glow.setColorAt(1, QColor(70, 86, 130, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawRect(QRectF(0, 0, kWidth, kHeight));

    // "Orvanta presents"
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(190, 196, 210));
    p.drawPath(centredText(QStringLiteral("Orvanta presents"), sansFont(12, false), QPointF(212, 22)));

    // The product name in two lines of large white letters with a dark outline.
    const QFont big = sansFont(52, true);
    const QPainterPath line1 = centredText(QStringLiteral("qxOrvanta"), big, QPointF(240, 70));
    const QPainterPath line2 = centredText(QStringLiteral("Trainer"), big, QPointF(252, 132));
    for (const QPainterPath &line : {line1, line2}) {
        p.setPen(QPen(QColor(8, 8, 12), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(line);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPath(line);
    }

    // The fan of Zener cards, left to right, the wavy lines last and jutting out at the right.
    drawFanCard(p, TiltedCard{QPointF(190, 272), 56, 78.7, -21}, Zener::Cross);
    drawFanCard(p, TiltedCard{QPointF(242, 259), 56, 78.7, -13}, Zener::Circle);
    drawFanCard(p, TiltedCard{QPointF(296, 252), 56, 78.7, -5}, Zener::Star);
    drawFanCard(p, TiltedCard{QPointF(351, 254), 56, 78.7, 1}, Zener::Square);
    drawFanCard(p, kWavyCard, Zener::Waves, -5);

    // The black logo card at the left.
    p.save();
    p.setTransform(kLogoCard.placement());
    const QRectF logoRect(-kLogoCard.width / 2, -kLogoCard.height / 2, kLogoCard.width, kLogoCard.height);
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.setBrush(QColor(6, 6, 8));
    p.drawRoundedRect(logoRect, 5, 5);
    drawLogo(p, QPointF(7, -2), 24, false, QColor(6, 6, 8), Qt::white);
    p.restore();

    // The notice and the hint to click.
    p.setBrush(QColor(200, 204, 214));
    p.drawPath(centredText(QStringLiteral("\u00a9 2008 Orvanta \u2022 www.orvanta.example"), sansFont(12),
                           QPointF(212, 328)));
    p.setBrush(Qt::white);
    QPainterPath hint;
    hint.addText(QPointF(0, 0), sansFont(11), QStringLiteral("(click to continue)"));
    p.drawPath(hint.translated(392 - hint.boundingRect().right(), 352));
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
