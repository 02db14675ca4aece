// Card faces of the three decks, the card back and the program icon.
#include "Paint.h"
#include "Pictures.h"
#include "Zener.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <QTransform>

#include <cmath>
#include <numbers>

namespace artgen {

void drawZener(QPainter &p, Zener symbol, const QRectF &box, qreal lineWidth)
{
    p.save();
    p.setPen(QPen(Qt::black, lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const QPointF c = box.center();
    const qreal r = std::min(box.width(), box.height()) / 2 - lineWidth / 2;
    switch (symbol) {
    case Zener::Star: {
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const qreal radius = (i % 2 == 0) ? r * 1.04 : r * 0.42;
            const qreal a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
            star << c + QPointF(radius * std::cos(a), radius * std::sin(a) + r * 0.08);
        }
        p.drawPolygon(star);
        break;
    }
    case Zener::Circle:
        p.drawEllipse(c, r * 0.92, r * 0.92);
        break;
    case Zener::Waves: {
        const qreal amplitude = r * 0.16;
        const qreal spacing = r * 0.58;
        for (int line = -1; line <= 1; ++line) {
            QPainterPath wave;
            const int steps = 48;
            for (int i = 0; i <= steps; ++i) {
                const qreal t = qreal(i) / steps;
                const QPointF pt(c.x() - r + 2 * r * t,
                                 c.y() + line * spacing + amplitude * std::sin(t * 3 * std::numbers::pi));
                if (i == 0)
                    wave.moveTo(pt);
                else
                    wave.lineTo(pt);
            }
            p.drawPath(wave);
        }
        break;
    }
    case Zener::Square:
        p.drawRect(QRectF(c.x() - r * 0.8, c.y() - r * 0.8, r * 1.6, r * 1.6));
        break;
    case Zener::Cross:
        p.drawLine(c - QPointF(0, r * 0.95), c + QPointF(0, r * 0.95));
        p.drawLine(c - QPointF(r * 0.95, 0), c + QPointF(r * 0.95, 0));
        break;
    }
    p.restore();
}

namespace {

// The face row's slots: the Zener design gives 88, 88, 87, 87, 88 pixels wide and 126 high, the fifth
// 125; every deck keeps those sizes so that a card never changes size when the deck changes.
QSize faceSize(int face)
{
    return QSize(face == 3 || face == 4 ? 87 : 88, face == 5 ? 125 : 126);
}

QRectF faceArea(const QImage &image)
{
    const QSize size = logicalSize(image);
    return QRectF(0.5, 0.5, size.width() - 4.0, size.height() - 4.0);
}

// The small spade of the playing cards, filling `box`.
QPainterPath spade(const QRectF &box)
{
    QPainterPath path;
    const qreal w = box.width();
    const qreal h = box.height();
    const qreal x = box.left();
    const qreal y = box.top();
    path.moveTo(x + w / 2, y);
    path.cubicTo(x + w * 0.62, y + h * 0.18, x + w, y + h * 0.34, x + w, y + h * 0.56);
    path.cubicTo(x + w, y + h * 0.76, x + w * 0.66, y + h * 0.84, x + w * 0.54, y + h * 0.66);
    path.cubicTo(x + w * 0.56, y + h * 0.82, x + w * 0.64, y + h * 0.94, x + w * 0.74, y + h);
    path.lineTo(x + w * 0.26, y + h);
    path.cubicTo(x + w * 0.36, y + h * 0.94, x + w * 0.44, y + h * 0.82, x + w * 0.46, y + h * 0.66);
    path.cubicTo(x + w * 0.34, y + h * 0.84, x, y + h * 0.76, x, y + h * 0.56);
    path.cubicTo(x, y + h * 0.34, x + w * 0.38, y + h * 0.18, x + w / 2, y);
    path.closeSubpath();
    return path;
}

} // namespace

QImage zenerCard(int face, int scale)
{
    const QSize size = faceSize(face);
    QImage image = canvas(size.width(), size.height(), Qt::white, scale);
    cardBase(image);
    QPainter p(&image);
    prepare(p);
    const QPointF c = faceArea(image).center();
    const qreal s = 54;
    drawZener(p, Zener(face), QRectF(c.x() - s / 2, c.y() - s / 2, s, s), 5.5);
    return image;
}

QImage colourCard(int face, int scale)
{
    static const QColor kColours[5] = {QColor(230, 20, 20), QColor(255, 230, 0), QColor(20, 180, 40),
                                       QColor(30, 70, 230), QColor(230, 20, 210)};
    const QSize size = faceSize(face);
    QImage image = canvas(size.width(), size.height(), Qt::white, scale);
    cardBase(image);
    QPainter p(&image);
    prepare(p);
    const QPointF c = faceArea(image).center();
    const qreal s = 56;
    p.setPen(QPen(Qt::black, 2.5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(kColours[face - 1]);
    p.drawRect(QRectF(c.x() - s / 2, c.y() - s / 2, s, s));
    return image;
}

QImage spadeCard(int face, int scale)
{
    static const char *const kRanks[5] = {"A", "K", "Q", "J", "10"};
    constexpr qreal rankPixelSize = 56;
    const QSize size = faceSize(face);
    QImage image = canvas(size.width(), size.height(), Qt::white, scale);
    cardBase(image);
    QPainter p(&image);
    prepare(p);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    // The corner index, set in from the rounded corner as on a real card: the spade with the rank
    // small under it, both centred on one column.
    const QRectF pip(9, 10, 11, 13);
    p.drawPath(spade(pip));
    const QFont indexFont = serifFont(12, true);
    QPainterPath index;
    index.addText(QPointF(0, 0), indexFont, QString::fromLatin1(kRanks[face - 1]));
    const QRectF indexInk = index.boundingRect();
    p.drawPath(index.translated(pip.center().x() - indexInk.center().x(), pip.bottom() + 3 - indexInk.top()));
    // Every rank in the same size, its capital height centred a little below the card's middle.
    const QRectF area = faceArea(image);
    const QFont font = serifFont(rankPixelSize, true);
    QPainterPath capital;
    capital.addText(QPointF(0, 0), font, QStringLiteral("K"));
    const qreal baseline = area.center().y() + 4 + capital.boundingRect().height() / 2;
    QPainterPath rank;
    rank.addText(QPointF(0, 0), font, QString::fromLatin1(kRanks[face - 1]));
    p.drawPath(rank.translated(area.center().x() - rank.boundingRect().center().x(), baseline));
    return image;
}

QImage cardBack(int scale)
{
    QImage image = canvas(88, 126, Qt::white, scale);
    cardBase(image, QColor(8, 8, 10), QColor(40, 40, 44));
    QPainter p(&image);
    prepare(p);
    const QRectF area = faceArea(image);
    p.setPen(QPen(QColor(230, 230, 230), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(area.adjusted(4, 4, -4, -4), 4, 4);
    const QPointF c = area.center() - QPointF(0, 6);
    drawLogo(p, c, 25, false, QColor(8, 8, 10), Qt::white);
    p.setPen(QPen(Qt::white, 1.4));
    p.drawEllipse(c, 25, 25);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(
        centredText(QStringLiteral("ORVANTA"), sansFont(10, true), QPointF(area.center().x(), c.y() + 36)));
    return image;
}

QImage icon(int size)
{
    // Two cards on a 48-unit grid: the rear one with a star, tilted left, the front one with three
    // wavy lines, tilted right. The pair is fitted into the canvas with a margin for the outline.
    struct IconCard
    {
        QPointF centre;
        qreal angle;
        QPointF symbolAt;
        Zener symbol;
        QTransform placement() const
        {
            QTransform t;
            t.translate(centre.x(), centre.y());
            t.rotate(angle);
            return t;
        }
    };
    const IconCard cards[2] = {{QPointF(14, 18), -14, QPointF(-2.5, -4), Zener::Star},
                               {QPointF(33, 30), 10, QPointF(0, 0), Zener::Waves}};
    const QRectF cardRect(-12, -17, 24, 34);
    QRectF extent;
    for (const IconCard &card : cards)
        extent |= card.placement().mapRect(cardRect);
    const qreal margin = 1.2;
    const qreal scale = (48 - 2 * margin) / std::max(extent.width(), extent.height());

    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    prepare(p);
    p.scale(size / 48.0, size / 48.0);
    p.translate(24, 24);
    p.scale(scale, scale);
    p.translate(-extent.center());
    for (const IconCard &card : cards) {
        p.save();
        p.setTransform(card.placement(), true);
        p.setPen(QPen(Qt::black, 1.6));
        p.setBrush(Qt::white);
        p.drawRoundedRect(cardRect, 3, 3);
        drawZener(p, card.symbol, QRectF(card.symbolAt.x() - 8.5, card.symbolAt.y() - 8.5, 17, 17), 2.4);
        p.restore();
    }
    return image;
}

} // namespace artgen
