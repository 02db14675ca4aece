#pragma once

#include "proof/DrawStream.h"

// Where a run's chance comes from: a stream of values r with 0 <= r < 1, from which the face draw
// (1 + floor(5r)) and the deal take everything they need, in a fixed order. The window's own generator
// is one; a sealed run's stream is another, and the record's replay consumes it through the same
// interface, so play and replay can never drift apart.
using DrawSource = proof::DrawSource;
