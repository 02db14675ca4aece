#pragma once

#include "DealOrder.h"

#include <cstdint>

// Whether a guess is a hit, in numbers: what the trainer counts and what the self-test checks.
namespace judging {

// The plain game: the clicked position (1..5) is the computer's card (face 1..5).
constexpr bool plainHit(std::int16_t guess, std::int16_t target)
{
    return guess == target;
}

// The find-hidden game: the face under the turned cover (1..5) is the chosen face.
constexpr bool hiddenHit(const DealtFaceIndexes &deal, std::int16_t cover)
{
    return cover >= 1 && cover <= 5 && deal[size_t(cover)] == deal[0];
}

} // namespace judging
