#pragma once

#include <QImage>
#include <QStringList>

// Checks of the pixels that are behaviour: the key-coloured pixels that cut the trainer's and the
// splash window's outlines. Each returns a description of every fault found; empty means correct.
namespace artchecks {

inline constexpr QRgb kTrainerKey = 0xff000033u; // RGB(0, 0, 51)
inline constexpr QRgb kSplashKey = 0xff000011u;  // RGB(0, 0, 17)

// The trainer background: exactly the 32 corner pixels (4, 2, 1 and 1 in the outermost rows of each
// corner) have the key colour, and no other pixel has it.
QStringList trainerKeyFaults(const QImage &image);

// The splash: key colour at the top left, 8641 key pixels, every row exactly one run of non-key
// pixels, rows 0 and 366 keeping x 21..403, the logo card reaching the left edge in rows 98..187 and
// the wavy-lines card the right edge in rows 224..302 (and in no other rows), the panel inset 14 and 13
// pixels between the two cards.
QStringList splashKeyFaults(const QImage &image);

// A window or control picture's @2x variant against the picture itself. Faults: a size other than
// twice the picture's; a pixel with one of the key colours whose 1x pixel lacks it, or the reverse (the
// window outline is cut from the 1x picture, so the variant's key pixels must be exactly its key pixels
// doubled); a block of 4x4 picture pixels whose average colour differs from the variant's by more than
// `tolerance` in a channel (something drawn at the wrong place or scale); with `drawn`, a variant that
// is only the picture enlarged pixel by pixel (not drawn sharp; a picture of pure texture is enlarged).
QStringList doubleDensityFaults(const QImage &picture, const QImage &variant, bool drawn = true,
                                int tolerance = 24);

} // namespace artchecks
