// The list of every picture and the contact sheet that shows them.
#include "Paint.h"
#include "Pictures.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace artgen {

namespace {

// The window and control pictures at `scale`, each named with `suffix` before ".png".
std::vector<NamedPicture> windowPictures(int scale, const QString &suffix)
{
    std::vector<NamedPicture> out;
    auto add = [&out, &suffix](const QString &name, const QImage &image) {
        out.push_back({name + suffix + QStringLiteral(".png"), image});
    };
    const QImage trainer = trainerBackground(scale);
    add(QStringLiteral("trainer-background"), trainer);
    add(QStringLiteral("splash"), splash(scale));
    add(QStringLiteral("login-background"), loginBackground(scale));
    add(QStringLiteral("meter"), meter(scale));
    add(QStringLiteral("score-bar"), scoreBar(scale));
    add(QStringLiteral("title-strip"), titleStrip(trainer));
    add(QStringLiteral("panel-plain"), panelPlain(scale));
    add(QStringLiteral("panel-hidden"), panelHidden(scale));
    add(QStringLiteral("options-panel"), optionsPanel(scale));
    add(QStringLiteral("card-back"), cardBack(scale));
    for (int i = 1; i <= 5; ++i)
        add(QStringLiteral("zener-%1").arg(i), zenerCard(i, scale));
    for (int i = 1; i <= 5; ++i)
        add(QStringLiteral("color-%1").arg(i), colourCard(i, scale));
    for (int i = 1; i <= 5; ++i)
        add(QStringLiteral("spade-%1").arg(i), spadeCard(i, scale));
    for (const bool lit : {false, true}) {
        const QString state = lit ? QStringLiteral("1") : QStringLiteral("0");
        add(QStringLiteral("btn-user-%1").arg(state), pillButton(QStringLiteral("User"), lit, scale));
        add(QStringLiteral("btn-test-%1").arg(state), pillButton(QStringLiteral("Test"), lit, scale));
        add(QStringLiteral("btn-drill-%1").arg(state), pillButton(QStringLiteral("Drill"), lit, scale));
        add(QStringLiteral("btn-stop-%1").arg(state), stopButton(lit, scale));
        add(QStringLiteral("btn-help-%1").arg(state), helpButton(lit, scale));
        add(QStringLiteral("btn-close-%1").arg(state), closeButton(trainer, lit));
    }
    return out;
}

} // namespace

std::vector<NamedPicture> allPictures()
{
    std::vector<NamedPicture> out = windowPictures(1, QString());
    out.push_back({QStringLiteral("icon.png"), icon(48)});
    // The window icon for screens of twice the density (QIcon picks up the "@2x" file by itself), and
    // larger sizes for the desktop's icon theme (installed by packaging/, not embedded).
    out.push_back({QStringLiteral("icon@2x.png"), icon(96)});
    for (const int size : {64, 128, 256})
        out.push_back({QStringLiteral("icon-%1.png").arg(size), icon(size)});
    return out;
}

std::vector<NamedPicture> doubleDensityPictures()
{
    return windowPictures(2, QStringLiteral("@2x"));
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
