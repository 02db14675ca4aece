#pragma once

#include "proof/SealedRun.h"

#include <memory>

// A test run draws from its own sealed stream, not from the window's generator. While this lives, every
// run's seed is `seed`, so twin() replays a run's draws from its start (one twin per Test started).
struct PinnedSeal
{
    PinnedSeal() { proof::setFixedSeedForTesting(&seed); }
    ~PinnedSeal() { proof::setFixedSeedForTesting(nullptr); }
    PinnedSeal(const PinnedSeal &) = delete;
    PinnedSeal &operator=(const PinnedSeal &) = delete;
    std::unique_ptr<proof::DrawStream> twin() const { return std::make_unique<proof::DrawStream>(seed); }
    proof::Digest seed{7, 7, 7};
};
