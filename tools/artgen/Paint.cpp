#include "Paint.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace artgen {

std::uint32_t Noise::next()
{
    // xorshift32: tiny, fast, and fully specified.
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return m_state;
}

int Noise::jitter(int spread)
{
    if (spread <= 0)
        return 0;
    return int(next() % std::uint32_t(2 * spread + 1)) - spread;
}

static int scaleOf(const QImage &image)
{
    return std::max(1, int(std::lround(image.devicePixelRatio())));
}

QImage canvas(int width, int height, QColor fill, int scale)
{
    QImage image(width * scale, height * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(fill);
    return image;
}

QSize logicalSize(const QImage &image)
{
    return image.size() / scaleOf(image);
}

QImage enlarged(const QImage &image, int scale)
{
    if (scale == 1)
        return image;
    QImage out(image.width() * scale, image.height() * scale, image.format());
    out.setDevicePixelRatio(scale);
    for (int y = 0; y < out.height(); ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(image.constScanLine(y / scale));
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            line[x] = from[x / scale];
    }
    return out;
}

void setLogicalPixel(QImage &image, int x, int y, QRgb colour)
{
    const int s = scaleOf(image);
    for (int dy = 0; dy < s; ++dy)
        for (int dx = 0; dx < s; ++dx)
            image.setPixel(x * s + dx, y * s + dy, colour);
}

QImage logicalCopy(const QImage &image, const QRect &rect)
{
    const int s = scaleOf(image);
    QImage out = image.copy(QRect(rect.topLeft() * s, rect.size() * s));
    out.setDevicePixelRatio(s);
    return out;
}

void prepare(QPainter &painter)
{
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

static QFont liberation(const QString &family, qreal pixelSize, bool bold)
{
    QFont font(family);
    font.setPixelSize(std::max(1, int(std::lround(pixelSize))));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferOutline));
    font.setKerning(true);
    return font;
}

QFont sansFont(qreal pixelSize, bool bold)
{
    return liberation(QStringLiteral("Liberation Sans"), pixelSize, bold);
}

QFont serifFont(qreal pixelSize, bool bold)
{
    return liberation(QStringLiteral("Liberation Serif"), pixelSize, bold);
}

QPainterPath fittedText(const QString &text, const QFont &font, const QRectF &box, bool keepAspect)
{
    QPainterPath path;
    path.addText(QPointF(0, 0), font, text);
    const QRectF ink = path.boundingRect();
    qreal sx = box.width() / ink.width();
    qreal sy = box.height() / ink.height();
    if (keepAspect)
        sx = sy = std::min(sx, sy);
    QTransform t;
    t.translate(box.center().x(), box.center().y());
    t.scale(sx, sy);
    t.translate(-ink.center().x(), -ink.center().y());
    return t.map(path);
}

QPainterPath centredText(const QString &text, const QFont &font, QPointF centre)
{
    QPainterPath path;
    path.addText(QPointF(0, 0), font, text);
    const QRectF ink = path.boundingRect();
    return path.translated(centre - ink.center());
}

void fillGrain(QImage &image, const QRect &rect, int base, int spread, std::uint32_t seed)
{
    Noise noise(seed);
    const QRect r = rect.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = r.left(); x <= r.right(); ++x) {
            // Two draws: a fine grain plus a sparser, brighter fleck, as on a printed dark band.
            int v = base + noise.jitter(spread);
            if (noise.next() % 23 == 0)
                v += spread + 2;
            v = std::clamp(v, 0, 255);
            line[x] = qRgb(v, v, v);
        }
    }
}

void bevelTop(QImage &image, const QRect &rect, int rows, int top)
{
    const QRect r = rect.intersected(image.rect());
    for (int i = 0; i < rows && r.top() + i <= r.bottom(); ++i) {
        const int add = top * (rows - i) / rows;
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(r.top() + i));
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = line[x];
            line[x] = qRgb(std::min(255, qRed(p) + add), std::min(255, qGreen(p) + add),
                           std::min(255, qBlue(p) + add));
        }
    }
}

// Three passes of a box blur on the alpha channel approximate a Gaussian; integer arithmetic keeps
// the result exact.
static void blurAlpha(std::vector<int> &alpha, int w, int h, int radius)
{
    if (radius <= 0)
        return;
    std::vector<int> tmp(alpha.size());
    const int span = 2 * radius + 1;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                int sum = 0;
                for (int k = -radius; k <= radius; ++k)
                    sum += alpha[y * w + std::clamp(x + k, 0, w - 1)];
                tmp[y * w + x] = sum / span;
            }
        }
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                int sum = 0;
                for (int k = -radius; k <= radius; ++k)
                    sum += tmp[std::clamp(y + k, 0, h - 1) * w + x];
                alpha[y * w + x] = sum / span;
            }
        }
    }
}

void softShadow(QImage &image, const QPainterPath &shape, QPointF offset, qreal blur, qreal opacity)
{
    const int w = image.width();
    const int h = image.height();
    const int scale = scaleOf(image);
    QImage mask(w, h, QImage::Format_ARGB32_Premultiplied);
    mask.setDevicePixelRatio(scale);
    mask.fill(Qt::transparent);
    {
        QPainter p(&mask);
        prepare(p);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawPath(shape.translated(offset));
    }
    std::vector<int> alpha(std::size_t(w) * std::size_t(h));
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(mask.constScanLine(y));
        for (int x = 0; x < w; ++x)
            alpha[std::size_t(y) * std::size_t(w) + std::size_t(x)] = qAlpha(line[x]);
    }
    blurAlpha(alpha, w, h, int(std::lround(blur)) * scale);
    const int strength = int(std::lround(opacity * 256));
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int a = alpha[std::size_t(y) * std::size_t(w) + std::size_t(x)] * strength / 256;
            const QRgb p = line[x];
            line[x] =
                qRgb(qRed(p) * (255 - a) / 255, qGreen(p) * (255 - a) / 255, qBlue(p) * (255 - a) / 255);
        }
    }
}

QPainterPath cardBase(QImage &image, QColor face, QColor edge)
{
    // The card leaves three pixels at the right and bottom for its shadow.
    const QSize size = logicalSize(image);
    const QRectF rect(0.5, 0.5, size.width() - 4.0, size.height() - 4.0);
    QPainterPath shape;
    shape.addRoundedRect(rect, 7, 7);
    softShadow(image, shape, QPointF(1.5, 1.5), 1, 0.45);
    QPainter p(&image);
    prepare(p);
    p.setPen(QPen(edge, 1));
    p.setBrush(face);
    p.drawPath(shape);
    return shape;
}

void drawPill(QPainter &painter, const QRectF &rect, QColor colour)
{
    const qreal r = rect.height() / 2;
    QLinearGradient body(rect.topLeft(), rect.bottomLeft());
    body.setColorAt(0, colour.lighter(125));
    body.setColorAt(0.55, colour);
    body.setColorAt(1, colour.darker(135));
    painter.setPen(QPen(colour.darker(190), 1.2));
    painter.setBrush(body);
    painter.drawRoundedRect(rect, r, r);
    // A glossy highlight across the upper half.
    const QRectF gloss(rect.left() + r * 0.55, rect.top() + 2.5, rect.width() - r * 1.1,
                       rect.height() * 0.42);
    QLinearGradient shine(gloss.topLeft(), gloss.bottomLeft());
    shine.setColorAt(0, QColor(255, 255, 255, 150));
    shine.setColorAt(1, QColor(255, 255, 255, 10));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shine);
    painter.drawRoundedRect(gloss, gloss.height() / 2, gloss.height() / 2);
}

// Sets `text` round a circle of `radius`, reading clockwise from the top, spread evenly over the
// whole circle.
static QPainterPath ringText(const QString &text, const QFont &font, QPointF centre, qreal radius)
{
    const QFontMetricsF metrics(font);
    qreal total = 0;
    for (const QChar c : text)
        total += metrics.horizontalAdvance(c);
    const qreal circumference = 2 * std::numbers::pi * radius;
    const qreal stretch = circumference / total;
    QPainterPath out;
    qreal along = 0;
    for (const QChar c : text) {
        const qreal advance = metrics.horizontalAdvance(c);
        const qreal mid = (along + advance / 2) * stretch;
        along += advance;
        QPainterPath glyph;
        glyph.addText(QPointF(-advance / 2, 0), font, QString(c));
        QTransform t;
        t.translate(centre.x(), centre.y());
        t.rotateRadians(mid / radius);
        t.translate(0, -radius);
        out.addPath(t.map(glyph));
    }
    return out;
}

void drawLogo(QPainter &painter, QPointF centre, qreal discRadius, bool ring, QColor disc, QColor letters)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    QRadialGradient shade(centre - QPointF(discRadius * 0.3, discRadius * 0.35), discRadius * 1.3);
    shade.setColorAt(0, disc.lighter(210));
    shade.setColorAt(1, disc);
    painter.setBrush(shade);
    painter.drawEllipse(centre, discRadius, discRadius);
    // A thin inner ring and the monogram: an "O" holding a "V".
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(letters, std::max(1.0, discRadius * 0.045)));
    painter.drawEllipse(centre, discRadius * 0.86, discRadius * 0.86);
    painter.setPen(Qt::NoPen);
    painter.setBrush(letters);
    const qreal s = discRadius * 0.62;
    painter.drawPath(fittedText(QStringLiteral("O"), sansFont(64, true),
                                QRectF(centre.x() - s, centre.y() - s, 2 * s, 2 * s)));
    const qreal v = discRadius * 0.26;
    painter.drawPath(fittedText(QStringLiteral("V"), sansFont(64, true),
                                QRectF(centre.x() - v * 0.75, centre.y() - v, 1.5 * v, 2 * v), false));
    if (ring) {
        painter.setBrush(QColor(40, 40, 46));
        const QFont ringFont = sansFont(discRadius * 0.24, true);
        painter.drawPath(ringText(QStringLiteral("ORVANTA \u2022 WWW.ORVANTA.EXAMPLE \u2022 "), ringFont,
                                  centre, discRadius * 1.1));
    }
    painter.restore();
}

void removeColour(QImage &image, QRgb key)
{
    key |= 0xff000000u;
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] | 0xff000000u) == key) {
                const int b = qBlue(key);
                line[x] = qRgb(qRed(key), qGreen(key), b < 255 ? b + 1 : b - 1);
            }
        }
    }
}

} // namespace artgen
