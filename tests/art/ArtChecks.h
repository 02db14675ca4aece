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

} // namespace artchecks
