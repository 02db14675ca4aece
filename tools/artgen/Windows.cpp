// The trainer and login window backgrounds.
#include "Paint.h"
#include "Pictures.h"

#include <QPainter>
#include <QRadialGradient>

#include <cmath>

namespace artgen {

namespace {

constexpr int kTrainerWidth = 783;
constexpr int kTrainerHeight = 590;
constexpr int kTitleBandRows = 28;  // rows 0..27
constexpr int kBottomBandTop = 562; // rows 562..589
constexpr int kEdgeShadeWidth = 10; // the body darkens over this many pixels at each side
constexpr int kEdgeShadeGrey = 177;

// Cuts the trainer's rounded corners: 4, 2, 1 and 1 key pixels in the four outermost rows of each
// corner, 32 in all.
void cutTrainerCorners(QImage &image)
{
    static constexpr int kCut[4] = {4, 2, 1, 1};
    const int w = kTrainerWidth;
    const int h = kTrainerHeight;
    for (int i = 0; i < 4; ++i) {
        for (const int y : {i, h - 1 - i}) {
            for (int k = 0; k < kCut[i]; ++k) {
                setLogicalPixel(image, k, y, kTrainerKey);
                setLogicalPixel(image, w - 1 - k, y, kTrainerKey);
            }
        }
    }
}

void drawBand(QImage &image, int top, int rows, std::uint32_t seed)
{
    const QRect band(0, top, image.width(), rows);
    fillGrain(image, band, 24, 5, seed);
    bevelTop(image, band, 5, 56);
    // A dark last row separates the band from the body.
    QPainter p(&image);
    p.setPen(QColor(8, 8, 8));
    p.drawLine(0, top + rows - 1, image.width() - 1, top + rows - 1);
}

} // namespace

QImage trainerBackground(int scale)
{
    // The shaded edges and the grained bands are made pixel by pixel at 1x.
    QImage base = canvas(kTrainerWidth, kTrainerHeight, QColor(kBodyGrey));

    // The body darkens softly towards its left and right edges.
    for (int i = 0; i < kEdgeShadeWidth; ++i) {
        const double t = (i + 0.5) / kEdgeShadeWidth;
        const int grey = kEdgeShadeGrey + int(std::lround((204 - kEdgeShadeGrey) * std::sin(t * M_PI / 2)));
        for (int y = kTitleBandRows; y < kBottomBandTop; ++y) {
            base.setPixel(i, y, qRgb(grey, grey, grey));
            base.setPixel(kTrainerWidth - 1 - i, y, qRgb(grey, grey, grey));
        }
    }

    drawBand(base, 0, kTitleBandRows, 0x5eed0001u);
    drawBand(base, kBottomBandTop, kTrainerHeight - kBottomBandTop, 0x5eed0002u);

    QImage image = enlarged(base, scale);
    QPainter p(&image);
    prepare(p);
    p.setPen(Qt::NoPen);

    // The product name in the title band.
    p.setBrush(QColor(0, 0, 0, 150));
    const QPainterPath name =
        fittedText(QStringLiteral("qxOrvanta Trainer"), sansFont(17, true), QRectF(19, 8, 178, 15), false);
    p.drawPath(name.translated(1, 1));
    p.setBrush(Qt::white);
    p.drawPath(name);

    // The maker's logo on a soft white glow, centred in the body.
    // The glow fills an ellipse of 182 by 163 pixels (x 301..482, y 222..384).
    const QPointF centre(391.5, 303.0);
    QRadialGradient glow(QPointF(0, 0), 91);
    glow.setColorAt(0, QColor(255, 255, 255, 255));
    glow.setColorAt(0.7, QColor(255, 255, 255, 235));
    glow.setColorAt(0.86, QColor(255, 255, 255, 120));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.save();
    p.translate(centre);
    p.scale(1.0, 81.5 / 91.0);
    p.setBrush(glow);
    p.drawEllipse(QPointF(0, 0), 91, 91);
    p.restore();
    drawLogo(p, centre, 52, true);
    p.end();

    removeColour(image, kTrainerKey);
    cutTrainerCorners(image);
    return image;
}

QImage loginBackground(int scale)
{
    QImage base = canvas(343, 316, QColor(60, 60, 60));
    fillGrain(base, base.rect(), 58, 4, 0x5eed0101u);
    // The title strip.
    fillGrain(base, QRect(0, 0, 343, 32), 30, 4, 0x5eed0102u);
    bevelTop(base, QRect(0, 0, 343, 32), 5, 50);

    QImage image = enlarged(base, scale);
    QPainter p(&image);
    prepare(p);
    p.setPen(QColor(14, 14, 14));
    p.drawLine(0, 31, 342, 31);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(fittedText(QStringLiteral("Login Screen"), sansFont(15, true), QRectF(12, 10, 104, 12)));

    // The close square with its white cross at 314..329 x 8..23.
    const QRectF closeBox(314, 8, 16, 16);
    QLinearGradient red(closeBox.topLeft(), closeBox.bottomLeft());
    red.setColorAt(0, QColor(236, 64, 52));
    red.setColorAt(1, QColor(170, 18, 14));
    p.setBrush(red);
    p.setPen(QPen(QColor(90, 6, 4), 1));
    p.drawRoundedRect(closeBox.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(318.5, 12.5), QPointF(325.5, 19.5));
    p.drawLine(QPointF(325.5, 12.5), QPointF(318.5, 19.5));

    // The blue bar that starts a new account, 31..309 x 42..61.
    const QRectF bar(31, 42, 279, 20);
    QLinearGradient blue(bar.topLeft(), bar.bottomLeft());
    blue.setColorAt(0, QColor(92, 150, 240));
    blue.setColorAt(0.5, QColor(38, 96, 210));
    blue.setColorAt(1, QColor(22, 64, 160));
    p.setPen(QPen(QColor(12, 36, 96), 1));
    p.setBrush(blue);
    p.drawRoundedRect(bar.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(
        centredText(QStringLiteral("Click here to create a new account"), sansFont(12, true), bar.center()));

    // The black panel holding the name and password boxes, 66..273 x 101..251.
    const QRectF panel(66, 101, 208, 151);
    QPainterPath panelShape;
    panelShape.addRoundedRect(panel, 12, 12);
    p.end();
    softShadow(image, panelShape, QPointF(2, 2), 2, 0.6);
    p.begin(&image);
    prepare(p);
    p.setPen(QPen(QColor(110, 110, 110), 1));
    p.setBrush(Qt::black);
    p.drawRoundedRect(panel.adjusted(0.5, 0.5, -0.5, -0.5), 12, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 200, 200));
    const QFont labels = sansFont(13, true);
    QPainterPath user;
    user.addText(QPointF(86, 124), labels, QStringLiteral("username:"));
    QPainterPath password;
    password.addText(QPointF(86, 182), labels, QStringLiteral("password:"));
    p.drawPath(user);
    p.drawPath(password);

    // The green continue button, 253..321 x 266..292.
    const QRectF go(253, 266, 69, 27);
    QLinearGradient green(go.topLeft(), go.bottomLeft());
    green.setColorAt(0, QColor(120, 214, 96));
    green.setColorAt(0.5, QColor(52, 160, 40));
    green.setColorAt(1, QColor(28, 110, 22));
    p.setPen(QPen(QColor(14, 60, 10), 1));
    p.setBrush(green);
    p.drawRoundedRect(go.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(centredText(QStringLiteral("continue"), sansFont(13, true), go.center()));
    return image;
}

} // namespace artgen
