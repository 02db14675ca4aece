// The list of every picture and the contact sheet that shows them.
#include "Paint.h"
#include "Pictures.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace artgen {

std::vector<NamedPicture> allPictures()
{
    std::vector<NamedPicture> out;
    auto add = [&out](const QString &name, const QImage &image) { out.push_back({name, image}); };
    const QImage trainer = trainerBackground();
    add(QStringLiteral("trainer-background.png"), trainer);
    add(QStringLiteral("splash.png"), splash());
    add(QStringLiteral("login-background.png"), loginBackground());
    add(QStringLiteral("meter.png"), meter());
    add(QStringLiteral("score-bar.png"), scoreBar());
    add(QStringLiteral("title-strip.png"), titleStrip(trainer));
    add(QStringLiteral("panel-plain.png"), panelPlain());
    add(QStringLiteral("panel-hidden.png"), panelHidden());
    add(QStringLiteral("options-panel.png"), optionsPanel());
    add(QStringLiteral("card-back.png"), cardBack());
    for (int i = 1; i <= 5; ++i)
        add(QStringLiteral("zener-%1.png").arg(i), zenerCard(i));
    for (int i = 1; i <= 5; ++i)
        add(QStringLiteral("color-%1.png").arg(i), colourCard(i));
    for (int i = 1; i <= 5; ++i)
        add(QStringLiteral("spade-%1.png").arg(i), spadeCard(i));
    for (const bool lit : {false, true}) {
        const QString state = lit ? QStringLiteral("1") : QStringLiteral("0");
        add(QStringLiteral("btn-user-%1.png").arg(state), pillButton(QStringLiteral("User"), lit));
        add(QStringLiteral("btn-test-%1.png").arg(state), pillButton(QStringLiteral("Test"), lit));
        add(QStringLiteral("btn-drill-%1.png").arg(state), pillButton(QStringLiteral("Drill"), lit));
        add(QStringLiteral("btn-stop-%1.png").arg(state), stopButton(lit));
        add(QStringLiteral("btn-help-%1.png").arg(state), helpButton(lit));
        add(QStringLiteral("btn-close-%1.png").arg(state), closeButton(trainer, lit));
    }
    add(QStringLiteral("icon.png"), icon(48));
    // The window icon for screens of twice the density (QIcon picks up the "@2x" file by itself), and
    // larger sizes for the desktop's icon theme (installed by packaging/, not embedded).
    add(QStringLiteral("icon@2x.png"), icon(96));
    for (const int size : {64, 128, 256})
        add(QStringLiteral("icon-%1.png").arg(size), icon(size));
    return out;
}

QImage contactSheet(const std::vector<NamedPicture> &pictures)
{
    // Pictures flow left to right in rows no wider than the trainer picture plus the splash.
    constexpr int kMaxWidth = 1240;
    constexpr int kGap = 14;
    constexpr int kLabel = 18;
    struct Placed
    {
        QPoint at;
        const NamedPicture *picture;
    };
    std::vector<Placed> placed;
    int x = kGap;
    int y = kGap;
    int rowHeight = 0;
    int width = 0;
    const QFont labelFont = sansFont(11);
    const QFontMetricsF metrics(labelFont);
    auto label = [](const NamedPicture &picture) {
        return QStringLiteral("%1  %2x%3")
            .arg(picture.name)
            .arg(picture.image.width())
            .arg(picture.image.height());
    };
    for (const NamedPicture &picture : pictures) {
        const QSize s = picture.image.size();
        const int cell = std::max(s.width(), int(std::ceil(metrics.horizontalAdvance(label(picture)))));
        if (x + cell + kGap > kMaxWidth && x > kGap) {
            x = kGap;
            y += rowHeight + kLabel + kGap;
            rowHeight = 0;
        }
        placed.push_back({QPoint(x, y), &picture});
        x += cell + kGap;
        width = std::max(width, x);
        rowHeight = std::max(rowHeight, s.height());
    }
    const int height = y + rowHeight + kLabel + kGap;

    QImage sheet = canvas(width, height, QColor(112, 116, 122));
    QPainter p(&sheet);
    prepare(p);
    for (const Placed &item : placed) {
        // A checker under the picture shows where the icon is transparent.
        const QRect r(item.at, item.picture->image.size());
        for (int cy = r.top(); cy <= r.bottom(); cy += 6)
            for (int cx = r.left(); cx <= r.right(); cx += 6)
                p.fillRect(QRect(cx, cy, 6, 6).intersected(r), ((cx - r.left()) / 6 + (cy - r.top()) / 6) % 2
                                                                   ? QColor(200, 200, 200)
                                                                   : Qt::white);
        p.drawImage(item.at, item.picture->image);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        QPainterPath text;
        text.addText(QPointF(item.at.x(), r.bottom() + 14), labelFont, label(*item.picture));
        p.drawPath(text);
    }
    return sheet;
}

} // namespace artgen
