#pragma once

#include "DrawSource.h"

#include <array>
#include <cstdint>

// One try of the find-hidden game as numbers: slot 0 the chosen face, slots 1..5 the faces placed in
// hidden positions 1..5 (each of 1..5 exactly once). Face indexes are 1..5.
using DealtFaceIndexes = proof::DealtFaces;

// Deals a try: the chosen face is drawn on its own; position 1 takes the next draw; positions 2..5
// each draw again while the drawn face is already taken. Draws are taken from the source in exactly
// that order, so a pinned source gives a pinned deal.
DealtFaceIndexes dealFaceIndexes(DrawSource &random);
