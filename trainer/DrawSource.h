#pragma once

#include "proof/DrawStream.h"

// Where a run's chance comes from: one interface for the window's practice generator, a pinned source
// in tests and a sealed test run's stream. The face draw and the deal (proof/DrawStream.h) are the
// same code the record's replay runs, so play and replay can never consume a stream differently.
using DrawSource = proof::DrawSource;
