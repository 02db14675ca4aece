// Pictures of the trainer window's controls: meter, score bar, panels and the picture buttons.
#include "Paint.h"
#include "Pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QTransform>

#include <algorithm>

namespace artgen {

QImage meter(int scale)
{
    QImage image = canvas(73, 163, QColor(kBodyGrey), scale);
    // The tube: about 21 pixels wide at the left, with a soft shadow to its right.
    const QRectF tube(2.5, 1.5, 21, 158);
    QPainterPath tubeShape;
    tubeShape.addRoundedRect(tube, 9, 9);
    softShadow(image, tubeShape, QPointF(3, 2), 2, 0.45);

    QPainter p(&image);
    prepare(p);
    QLinearGradient glass(tube.topLeft(), tube.topRight());
    glass.setColorAt(0, QColor(70, 70, 76));
    glass.setColorAt(0.35, QColor(44, 44, 50));
    glass.setColorAt(1, QColor(18, 18, 22));
    p.setPen(QPen(QColor(10, 10, 12), 1));
    p.setBrush(glass);
    p.drawPath(tubeShape);

    // The green upper end (rows 4..23) and the red lower end (rows 136..150).
    auto segment = [&p](const QRectF &r, QColor c) {
        QLinearGradient g(r.topLeft(), r.topRight());
        g.setColorAt(0, c.lighter(150));
        g.setColorAt(0.4, c);
        g.setColorAt(1, c.darker(170));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(r, 3, 3);
    };
    segment(QRectF(4, 4, 18, 20), QColor(30, 190, 40));
    segment(QRectF(4, 136, 18, 15), QColor(210, 30, 24));

    // The chance-level tick with its word.
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(QPointF(1, 77), QPointF(28, 77));
    // The word in near-black bold, one size up, narrowed a little where it would not fit the 42
    // pixels right of the tube's shadow.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(14, 14, 14));
    QPainterPath word;
    word.addText(QPointF(0, 0), sansFont(12, true), QStringLiteral("average"));
    const QRectF ink = word.boundingRect();
    const qreal narrow = std::min(1.0, 42.0 / ink.width());
    QTransform place;
    place.translate(29.5, 77);
    place.scale(narrow, 1);
    place.translate(-ink.left(), -ink.center().y());
    p.drawPath(place.map(word));
    return image;
}

QImage scoreBar(int scale)
{
    QImage image = canvas(536, 48, QColor(kBodyGrey), scale);
    const QRectF bar(2.5, 2.5, 530, 42);
    QPainterPath shape;
    shape.addRoundedRect(bar, 21, 21);
    softShadow(image, shape, QPointF(1, 1.5), 1, 0.35);
    QPainter p(&image);
    prepare(p);
    QLinearGradient face(bar.topLeft(), bar.bottomLeft());
    face.setColorAt(0, QColor(46, 46, 50));
    face.setColorAt(0.5, QColor(8, 8, 10));
    face.setColorAt(1, QColor(0, 0, 0));
    p.setPen(QPen(QColor(186, 186, 190), 1.6));
    p.setBrush(face);
    p.drawPath(shape);
    return image;
}

QImage titleStrip(const QImage &trainer)
{
    // The strip lies in the title band at x 319..733 and must match it pixel for pixel.
    return logicalCopy(trainer, QRect(319, 0, 415, 28));
}

static QImage whitePanel(int width, int height, qreal radius, int scale)
{
    QImage image = canvas(width, height, QColor(kBodyGrey), scale);
    const QRectF rect(6, 5, width - 14, height - 14);
    QPainterPath shape;
    shape.addRoundedRect(rect, radius, radius);
    softShadow(image, shape, QPointF(2, 3), 3, 0.55);
    QPainter p(&image);
    prepare(p);
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.setBrush(Qt::white);
    p.drawPath(shape);
    return image;
}

QImage panelPlain(int scale)
{
    return whitePanel(588, 306, 12, scale);
}

QImage panelHidden(int scale)
{
    return whitePanel(579, 310, 18, scale);
}

QImage optionsPanel(int scale)
{
    QImage image = canvas(402, 173, QColor(kBodyGrey), scale);
    // The panel hangs from the title band: its top corners lie above the picture.
    const QRectF panel(2.5, -12.5, 397, 178);
    QPainterPath shape;
    shape.addRoundedRect(panel, 10, 10);
    QPainter p(&image);
    prepare(p);
    p.setPen(QPen(QColor(112, 112, 112), 1));
    p.setBrush(QColor(kBodyGrey));
    p.drawPath(shape);
    // Depth: a frame a shade lighter than the face round a sunken field (lit from the top left, so
    // its left edge lies in shadow and its right and bottom edges catch the light). The field itself
    // is exactly body grey, the back colour of the controls on it, so no control shows as a box.
    p.setClipPath(shape);
    p.setPen(Qt::NoPen);
    p.fillRect(QRect(0, 0, 402, 133), QColor(214, 214, 214));
    p.fillRect(QRect(12, 0, 1, 132), QColor(150, 150, 150));
    p.fillRect(QRect(13, 0, 1, 131), QColor(180, 180, 180));
    p.fillRect(QRect(389, 0, 1, 132), QColor(242, 242, 242));
    p.fillRect(QRect(388, 0, 1, 131), QColor(226, 226, 226));
    p.fillRect(QRect(13, 131, 377, 1), QColor(242, 242, 242));
    p.fillRect(QRect(14, 130, 375, 1), QColor(226, 226, 226));
    p.fillRect(QRect(14, 0, 374, 130), QColor(kBodyGrey));
    // The outer rim, lit from the left: light inside the left edge, dark inside the right.
    QLinearGradient leftRim(QPointF(3, 0), QPointF(9, 0));
    leftRim.setColorAt(0, QColor(248, 248, 248));
    leftRim.setColorAt(1, QColor(214, 214, 214));
    p.setBrush(leftRim);
    p.drawRect(QRectF(3, 0, 6, 133));
    QLinearGradient rightRim(QPointF(393, 0), QPointF(399, 0));
    rightRim.setColorAt(0, QColor(214, 214, 214));
    rightRim.setColorAt(1, QColor(150, 150, 150));
    p.setBrush(rightRim);
    p.drawRect(QRectF(393, 0, 6, 133));
    // Row 133, the last row above the tab, is dark: with the panel closed it is the first row below
    // the title band and continues the band's dark edge instead of showing as a light line.
    p.fillRect(QRect(0, 133, 402, 1), QColor(12, 12, 12));
    p.setClipping(false);
    p.setPen(QPen(QColor(112, 112, 112), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
    p.end();

    // The tab: a dark grained strip in rows 134..165, rounded with the panel.
    QImage strip = canvas(402, 173, QColor(kBodyGrey));
    fillGrain(strip, QRect(0, 134, 402, 32), 26, 5, 0x5eed0301u);
    bevelTop(strip, QRect(0, 134, 402, 32), 4, 40);
    strip = enlarged(strip, scale);
    QPainterPath tab;
    tab.addRect(QRectF(0, 134, 402, 32));
    p.begin(&image);
    prepare(p);
    p.setClipPath(shape.intersected(tab));
    p.drawImage(0, 0, strip);
    p.setClipping(false);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPainterPath word;
    word.addText(QPointF(0, 0), sansFont(15, true), QStringLiteral("options"));
    const QRectF ink = word.boundingRect();
    p.drawPath(word.translated(382 - ink.right(), 150 - ink.center().y()));
    p.end();
    // Rows 166..172 stay body grey.
    for (int y = 166; y < 173; ++y)
        for (int x = 0; x < 402; ++x)
            setLogicalPixel(image, x, y, kBodyGrey);
    return image;
}

static QImage pill(int width, int height, QColor background, QColor colour, const QString &label, int scale)
{
    QImage image = canvas(width, height, background, scale);
    const QRectF rect(1.5, 1.5, width - 5, height - 6);
    QPainterPath shape;
    shape.addRoundedRect(rect, rect.height() / 2, rect.height() / 2);
    softShadow(image, shape, QPointF(1.5, 2), 1, 0.4);
    QPainter p(&image);
    prepare(p);
    drawPill(p, rect, colour);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(22, 22, 22));
    p.drawPath(centredText(label, sansFont(17, true), rect.center() + QPointF(0, 0.5)));
    return image;
}

QImage pillButton(const QString &label, bool lit, int scale)
{
    QColor dull;
    QColor bright;
    if (label == QStringLiteral("User")) {
        dull = QColor(112, 128, 156);
        bright = QColor(48, 128, 245);
    } else if (label == QStringLiteral("Test")) {
        dull = QColor(110, 150, 104);
        bright = QColor(52, 210, 40);
    } else {
        dull = QColor(168, 122, 78);
        bright = QColor(255, 150, 20);
    }
    return pill(87, 43, QColor(kBodyGrey), lit ? bright : dull, label, scale);
}

QImage stopButton(bool lit, int scale)
{
    return pill(78, 42, Qt::white, lit ? QColor(232, 30, 30) : QColor(236, 168, 176), QStringLiteral("Stop"),
                scale);
}

QImage helpButton(bool lit, int scale)
{
    QImage image = canvas(30, 48, QColor(kBodyGrey), scale);
    const QPainterPath mark = fittedText(QStringLiteral("?"), sansFont(48, true), QRectF(4, 3, 22, 40));
    softShadow(image, mark, QPointF(1.5, 1.5), 1, 0.4);
    QPainter p(&image);
    prepare(p);
    p.setPen(QPen(lit ? QColor(120, 86, 0) : QColor(130, 120, 80), 1.4));
    p.setBrush(lit ? QColor(255, 214, 0) : QColor(238, 228, 160));
    p.drawPath(mark);
    return image;
}

QImage closeButton(const QImage &trainer, bool lit)
{
    // The close box sits on the title band; its corners are the band's own pixels. The lit picture
    // (27 x 23 at 745, 2) lies behind the dim one (22 x 21 at 748, 3), so its margin outside the dim
    // picture's footprint shows at rest: that margin stays the band, and the lit box fills the whole
    // footprint, larger than the dim box inside it.
    const QRect place = lit ? QRect(745, 2, 27, 23) : QRect(748, 3, 22, 21);
    const QRect footprint = QRect(748, 3, 22, 21).translated(-place.topLeft());
    QImage image = logicalCopy(trainer, place);
    QPainter p(&image);
    prepare(p);
    p.setClipRect(footprint);
    const QRectF box = lit ? QRectF(footprint).adjusted(0.5, 0.5, -0.5, -0.5) : QRectF(2.5, 2.5, 17, 16);
    QLinearGradient red(box.topLeft(), box.bottomLeft());
    red.setColorAt(0, lit ? QColor(255, 96, 80) : QColor(170, 62, 56));
    red.setColorAt(1, lit ? QColor(210, 20, 12) : QColor(112, 24, 20));
    p.setPen(QPen(lit ? QColor(255, 200, 190) : QColor(60, 14, 12), 1));
    p.setBrush(red);
    p.drawRoundedRect(box, 3, 3);
    const qreal arm = lit ? 5.5 : 4.0;
    const QPointF c = box.center();
    p.setPen(QPen(lit ? Qt::white : QColor(230, 200, 196), lit ? 2.6 : 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-arm, -arm), c + QPointF(arm, arm));
    p.drawLine(c + QPointF(arm, -arm), c + QPointF(-arm, arm));
    return image;
}

} // namespace artgen
