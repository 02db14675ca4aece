#pragma once

#include "DrawSource.h"

#include <cstdint>

// Turning chance into one of the five cards.
namespace facedraw {

constexpr std::int16_t kFirstFace = 1;
constexpr std::int16_t kLastFace = 5;

// Face index 1 + floor(5r) for 0 <= r < 1, each of 1..5 equally likely. Kept within 1..5 even where
// the product rounds up to 5 (r just below 1 in single precision) or r lies outside its range.
std::int16_t faceFromUnit(double r);

// Draws the next face index (1..5) from the source.
std::int16_t drawFace(DrawSource &random);

} // namespace facedraw
