#include "MeterBand.h"

#include <array>

namespace meterband {

namespace {

struct Row
{
    double threshold;
    bool strictlyAbove;
    MeterPosition position;
};

constexpr std::array<Row, 16> kRows{{
    {0, false, {1580, kRed}},
    {5, false, {1530, kRed}},
    {9, false, {1430, kRed}},
    {12, false, {1330, kRed}},
    {15, false, {1230, kRed}},
    {18, false, {1130, kRed}},
    {20, false, {1080, kWhite}},
    {22, false, {1030, kGreen}},
    {25, false, {930, kGreen}},
    {28, false, {830, kGreen}},
    {30, false, {730, kGreen}},
    {32, false, {630, kGreen}},
    {35, false, {580, kGreen}},
    {40, false, {530, kGreen}},
    {45, false, {480, kGreen}},
    {50, true, {430, kGreen}},
}};

} // namespace

std::optional<MeterPosition> meterPosition(double accuracy)
{
    std::optional<MeterPosition> result;
    for (const Row &row : kRows) {
        const bool holds = row.strictlyAbove ? accuracy > row.threshold : accuracy >= row.threshold;
        if (holds)
            result = row.position;
    }
    return result;
}

} // namespace meterband
