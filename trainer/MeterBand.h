#pragma once

#include <cstdint>
#include <optional>

// Where the accuracy meter's bar stands for an accuracy: one of sixteen rows, from red at the bottom
// through white at chance level (20 up to but not including 22 percent) to green at the top.
namespace meterband {

struct MeterPosition
{
    int top = 0;                // twips from the top of the meter picture box
    std::int32_t fillColor = 0; // 0x00BBGGRR

    friend bool operator==(const MeterPosition &, const MeterPosition &) = default;
};

constexpr std::int32_t kRed = 255;
constexpr std::int32_t kWhite = 16777215;
constexpr std::int32_t kGreen = 65280;
// The accuracy of pure chance (percent): its row is where the bar stands when the window opens.
constexpr double kChanceAccuracy = 20.0;

// The last row whose condition holds; rows 1 to 15 need at least their threshold, row 16 strictly
// more than 50. No row holds below 0 (or for NaN): the bar then keeps its place.
std::optional<MeterPosition> meterPosition(double accuracy);

} // namespace meterband
