#include "ArtChecks.h"

namespace artchecks {

namespace {

bool isKey(const QImage &image, int x, int y, QRgb key)
{
    return (image.pixel(x, y) | 0xff000000u) == key;
}

// Key pixels expected in row `y` at each side of the trainer picture.
int trainerCornerCut(int y, int height)
{
    static constexpr int kCut[4] = {4, 2, 1, 1};
    const int fromEdge = std::min(y, height - 1 - y);
    return fromEdge < 4 ? kCut[fromEdge] : 0;
}

} // namespace

QStringList trainerKeyFaults(const QImage &image)
{
    QStringList faults;
    if (image.size() != QSize(783, 590))
        return {QStringLiteral("size %1x%2").arg(image.width()).arg(image.height())};
    int keys = 0;
    for (int y = 0; y < image.height(); ++y) {
        const int cut = trainerCornerCut(y, image.height());
        for (int x = 0; x < image.width(); ++x) {
            const bool expected = x < cut || x >= image.width() - cut;
            const bool key = isKey(image, x, y, kTrainerKey);
            keys += key;
            if (key != expected)
                faults << QStringLiteral("pixel (%1, %2) %3 the key colour")
                              .arg(x)
                              .arg(y)
                              .arg(key ? QStringLiteral("has") : QStringLiteral("lacks"));
        }
    }
    if (keys != 32)
        faults << QStringLiteral("%1 key pixels instead of 32").arg(keys);
    return faults;
}

QStringList splashKeyFaults(const QImage &image)
{
    QStringList faults;
    if (image.size() != QSize(424, 367))
        return {QStringLiteral("size %1x%2").arg(image.width()).arg(image.height())};
    if (!isKey(image, 0, 0, kSplashKey))
        faults << QStringLiteral("top left pixel is not the key colour");
    const int last = image.width() - 1;
    int keys = 0;
    for (int y = 0; y < image.height(); ++y) {
        int first = -1;
        int end = -1;
        int runs = 0;
        for (int x = 0; x < image.width(); ++x) {
            if (isKey(image, x, y, kSplashKey)) {
                ++keys;
                continue;
            }
            if (x == 0 || isKey(image, x - 1, y, kSplashKey))
                ++runs;
            if (first < 0)
                first = x;
            end = x;
        }
        if (runs != 1) {
            faults << QStringLiteral("row %1 has %2 runs").arg(y).arg(runs);
            continue;
        }
        const bool logoRow = y >= 98 && y <= 187;
        const bool wavyRow = y >= 224 && y <= 302;
        if ((first == 0) != logoRow)
            faults << QStringLiteral("row %1 starts at x %2").arg(y).arg(first);
        if ((end == last) != wavyRow)
            faults << QStringLiteral("row %1 ends at x %2").arg(y).arg(end);
        if ((y == 0 || y == image.height() - 1) && (first != 21 || end != 403))
            faults << QStringLiteral("row %1 keeps x %2..%3, not 21..403").arg(y).arg(first).arg(end);
        // The panel keeps at least the width of its top row everywhere, so no corner is cut deeper.
        if (first > 21 || end < 403)
            faults << QStringLiteral("row %1 cuts into the panel (x %2..%3)").arg(y).arg(first).arg(end);
        // Between the two cards the panel is at its widest, 14 pixels in from the left, 13 from the right.
        if (y >= 188 && y <= 222 && (first != 14 || end != last - 13))
            faults << QStringLiteral("row %1 keeps x %2..%3, not 14..410").arg(y).arg(first).arg(end);
    }
    if (keys != 8641)
        faults << QStringLiteral("%1 key pixels instead of 8641").arg(keys);
    return faults;
}

} // namespace artchecks
