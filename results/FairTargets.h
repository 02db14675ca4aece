#pragma once

#include "stats/ChiSquared.h"

#include <QLocale>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace history {
struct TryRecord;
}

// "Is it fair?", the user's own targets: how often each face was the target and, in the find-hidden
// game, which face each position held and where the match lay, with the tests of fair drawing.
namespace results {

struct TargetCounts
{
    std::int64_t tries = 0;              // counted tries of both games
    std::int64_t findHiddenTries = 0;    // of which in the find-hidden game
    std::array<std::int64_t, 5> faces{}; // the target's face 1..5 (the computer's card or the shown card)
    std::array<std::int64_t, 5> matchPositions{}; // find-hidden: the position 1..5 holding the match
    std::vector<std::int64_t> facesByPosition = std::vector<std::int64_t>(25, 0); // position-major
};

// Counts the tries' targets and deals. Tries whose deal is not an order of the five faces (rows that
// cannot be true) are left to the row checks and not counted here.
TargetCounts countTargets(const std::vector<history::TryRecord> &tries);

// Below this many tries a cell expects fewer than five, and the chi-squared approximation is not
// trusted: the test is not made.
constexpr std::int64_t kFewestTriesToJudge = 25;

// Chi-squared with 4 degrees of freedom on the faces drawn as targets; none below the fewest tries.
std::optional<stats::ChiSquaredTest> faceTest(const TargetCounts &counts);
// The find-hidden positions-by-face table, scaled for dealt orders (stats::chiSquaredOfDeals).
std::optional<stats::ChiSquaredTest> positionTest(const TargetCounts &counts);

// The findings in words first, then the counts and the tests' figures, one finding a paragraph.
QString targetsText(const TargetCounts &counts, const QLocale &locale = QLocale());

} // namespace results
