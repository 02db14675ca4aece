#include "WindowRegion.h"

#include "platform/Controls.h"
#include "platform/Twips.h"

#include <QWidget>

#include <cmath>

namespace shape {

QRegion WindowRegion;

long roundHalfEven(double value)
{
    const double lower = std::floor(value);
    const double fraction = value - lower;
    long result = static_cast<long>(lower);
    if (fraction > 0.5 || (fraction == 0.5 && (result % 2 != 0)))
        ++result;
    return result;
}

void forEachRun(const platform::PictureBox &source, std::int32_t keyColor,
                const std::function<void(const QRect &run)> &run)
{
    const long rows =
        roundHalfEven(static_cast<double>(source.TwipsPlacement::height()) / platform::kTwipsPerPixel);
    const long columns =
        roundHalfEven(static_cast<double>(source.TwipsPlacement::width()) / platform::kTwipsPerPixel);
    for (int y = 0; y < rows; ++y) {
        int x = 0;
        while (x < columns) {
            while (x < columns && source.pixel(x, y) == keyColor)
                ++x;
            if (x >= columns)
                break;
            const int start = x;
            while (x < columns && source.pixel(x, y) != keyColor)
                ++x;
            run(QRect(start, y, x - start, 1));
        }
    }
}

QRegion BuildWindowRegion(const platform::PictureBox &source, std::int32_t &keyColor)
{
    if (keyColor < 1)
        keyColor = source.pixel(0, 0);
    QRegion result;
    forEachRun(source, keyColor, [&result](const QRect &run) { result += run; });
    return result;
}

void SetWindowRgn(QWidget *window, const QRegion &region, bool redraw)
{
    if (!window)
        return;
    // QWidget::setMask with an empty region removes the mask, which is the outline we want there.
    window->setMask(region);
    if (redraw)
        window->update();
}

} // namespace shape
