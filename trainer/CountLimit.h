#pragma once

#include "settings/AccountEntries.h"

#include <cstdint>

// Tries and hits are 16-bit counts, like the totals they are stored as. A guess that would take either
// past the largest count is not counted at all, so nothing ever wraps or stores a corrupt value.
namespace countlimit {

constexpr std::int16_t kLargestCount = accountstore::kLargestCount;

// Whether a guess can be counted: one more try, and one more hit when it is a hit.
constexpr bool guessFits(std::int16_t tries, std::int16_t hits, bool hit)
{
    return tries < kLargestCount && (!hit || hits < kLargestCount);
}

} // namespace countlimit
