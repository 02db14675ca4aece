#include "ArtChecks.h"

#include <cstdlib>

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

QStringList doubleDensityFaults(const QImage &picture, const QImage &variant, bool drawn, int tolerance)
{
    if (variant.size() != picture.size() * 2)
        return {QStringLiteral("variant is %1x%2, not %3x%4")
                    .arg(variant.width())
                    .arg(variant.height())
                    .arg(picture.width() * 2)
                    .arg(picture.height() * 2)};
    QStringList faults;
    const QImage small = picture.convertToFormat(QImage::Format_RGB32);
    const QImage large = variant.convertToFormat(QImage::Format_RGB32);
    bool drawnSharp = false;
    for (const QRgb key : {kTrainerKey, kSplashKey}) {
        for (int y = 0; y < large.height(); ++y) {
            for (int x = 0; x < large.width(); ++x) {
                const bool expected = isKey(small, x / 2, y / 2, key);
                if (isKey(large, x, y, key) != expected)
                    faults << QStringLiteral("variant pixel (%1, %2) %3 the key colour %4")
                                  .arg(x)
                                  .arg(y)
                                  .arg(expected ? QStringLiteral("lacks") : QStringLiteral("has"))
                                  .arg(key & 0xffffffu, 6, 16, QLatin1Char('0'));
            }
        }
    }
    constexpr int kBlock = 4;
    for (int by = 0; by < small.height(); by += kBlock) {
        for (int bx = 0; bx < small.width(); bx += kBlock) {
            const QRect block = QRect(bx, by, kBlock, kBlock).intersected(small.rect());
            int sum[2][3] = {};
            for (int y = block.top(); y <= block.bottom(); ++y) {
                for (int x = block.left(); x <= block.right(); ++x) {
                    const QRgb s = small.pixel(x, y);
                    sum[0][0] += 4 * qRed(s);
                    sum[0][1] += 4 * qGreen(s);
                    sum[0][2] += 4 * qBlue(s);
                    const QRgb quad[4] = {large.pixel(2 * x, 2 * y), large.pixel(2 * x + 1, 2 * y),
                                          large.pixel(2 * x, 2 * y + 1), large.pixel(2 * x + 1, 2 * y + 1)};
                    for (const QRgb l : quad) {
                        sum[1][0] += qRed(l);
                        sum[1][1] += qGreen(l);
                        sum[1][2] += qBlue(l);
                        drawnSharp = drawnSharp || l != quad[0];
                    }
                }
            }
            const int pixels = 4 * block.width() * block.height();
            for (int c = 0; c < 3; ++c) {
                if (std::abs(sum[0][c] - sum[1][c]) > tolerance * pixels) {
                    faults << QStringLiteral("block at (%1, %2) differs from the variant by %3 in channel %4")
                                  .arg(bx)
                                  .arg(by)
                                  .arg(std::abs(sum[0][c] - sum[1][c]) / pixels)
                                  .arg(c);
                    break;
                }
            }
        }
    }
    if (drawn && !drawnSharp)
        faults << QStringLiteral("variant is the picture enlarged pixel by pixel");
    return faults;
}

} // namespace artchecks
