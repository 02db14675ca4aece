#pragma once

#include <QColor>

#include <cmath>
#include <cstdint>

// Window positions and sizes are kept in twips (1/1440 inch); at 96 dots per inch 15 twips make one
// pixel. Controls keep their twips values and place their widget at the nearest pixel.
namespace platform {

constexpr int kTwipsPerPixel = 15;

// Nearest pixel for a twips position or size (123.47 px -> 123).
inline int twipsToPixels(double twips)
{
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

inline double pixelsToTwips(double pixels)
{
    return pixels * kTwipsPerPixel;
}

// Colours are 24-bit values 0x00BBGGRR (255 is pure red, 65280 pure green).
inline QColor colorFromBgr(std::int32_t bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

inline std::int32_t bgrFromColor(const QColor &color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

} // namespace platform
