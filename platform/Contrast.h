#pragma once

#include <QColor>

// Whether text stays readable on its background, by the contrast ratio of the Web Content
// Accessibility Guidelines: (L1 + 0.05) / (L2 + 0.05) of the two colours' relative luminances,
// 1 (the same) to 21 (black on white). Text of normal size wants at least 4.5.
namespace platform {

inline constexpr double kReadableContrast = 4.5;

// Relative luminance of an sRGB colour, 0 (black) to 1 (white).
double relativeLuminance(const QColor &color);

// Contrast ratio of two colours, 1..21, the same whichever is given first.
double contrastRatio(const QColor &a, const QColor &b);

// The preferred text colour when it reads on the background, else black or white, whichever reads
// better: a palette's text colour stays unless the background is fixed and the palette's is not
// meant for it (light text of a dark theme on a light grey face).
QColor readableTextOn(const QColor &background, const QColor &preferred);

} // namespace platform
