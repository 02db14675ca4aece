#include "WindowPlacement.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

namespace results {

namespace {

constexpr int kGap = 8; // pixels between the two windows

long long overlapArea(const QRect &a, const QRect &b)
{
    const QRect both = a.intersected(b);
    return both.isEmpty() ? 0 : static_cast<long long>(both.width()) * both.height();
}

int clampInto(int value, int low, int high)
{
    return std::max(low, std::min(value, high));
}

// The frame of the given size beside the owner on its right, left, below or above, kept inside the
// available area along the owner's side; none where it would not fit or would touch the owner.
std::optional<QRect> besideOwner(const PlacementRequest &r, QSize frame)
{
    const QRect &a = r.available;
    const int alignedY = clampInto(r.owner.top(), a.top(), a.bottom() + 1 - frame.height());
    const int alignedX = clampInto(r.owner.left(), a.left(), a.right() + 1 - frame.width());
    const std::array<QPoint, 4> places{QPoint(r.owner.right() + 1 + kGap, alignedY),
                                       QPoint(r.owner.left() - kGap - frame.width(), alignedY),
                                       QPoint(alignedX, r.owner.bottom() + 1 + kGap),
                                       QPoint(alignedX, r.owner.top() - kGap - frame.height())};
    for (const QPoint &place : places) {
        const QRect candidate(place, frame);
        if (a.contains(candidate) && !candidate.intersects(r.owner))
            return candidate;
    }
    return std::nullopt;
}

// The place inside the available area that covers least of the protected part, then of the owner.
QRect leastCovering(const PlacementRequest &r, QSize frame)
{
    const QRect &a = r.available;
    const int right = a.right() + 1 - frame.width();
    const int bottom = a.bottom() + 1 - frame.height();
    const std::array xs{a.left(), right, clampInto(r.owner.left() - frame.width(), a.left(), right),
                        clampInto(r.owner.right() + 1, a.left(), right)};
    const std::array ys{a.top(), bottom, clampInto(r.owner.top() - frame.height(), a.top(), bottom),
                        clampInto(r.owner.bottom() + 1, a.top(), bottom)};
    QRect best;
    auto bestCost = std::pair{std::numeric_limits<long long>::max(), std::numeric_limits<long long>::max()};
    for (int x : xs) {
        for (int y : ys) {
            const QRect candidate(QPoint(x, y), frame);
            const auto cost = std::pair{overlapArea(candidate, r.protect), overlapArea(candidate, r.owner)};
            if (cost < bestCost) {
                bestCost = cost;
                best = candidate;
            }
        }
    }
    return best;
}

} // namespace

QRect placeBeside(const PlacementRequest &request)
{
    const QMargins &d = request.decoration;
    const QSize extra(d.left() + d.right(), d.top() + d.bottom());
    const QSize room = request.available.size() - extra;
    const QSize minimum = request.minimum.boundedTo(room);
    const QSize wanted = request.wanted.boundedTo(room).expandedTo(minimum);

    std::optional<QRect> frame = besideOwner(request, wanted + extra);
    if (!frame)
        frame = besideOwner(request, minimum + extra);
    if (!frame)
        frame = leastCovering(request, minimum + extra);
    return frame->marginsRemoved(d);
}

} // namespace results
