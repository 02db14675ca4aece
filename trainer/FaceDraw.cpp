#include "FaceDraw.h"

#include "DrawSource.h"

#include <algorithm>
#include <cmath>

namespace facedraw {

std::int16_t faceFromUnit(double r)
{
    if (!(r >= 0.0)) // also catches NaN
        return kFirstFace;
    const double face = 1.0 + std::floor(r * 5.0);
    return static_cast<std::int16_t>(std::clamp(face, double(kFirstFace), double(kLastFace)));
}

std::int16_t drawFace(DrawSource &random)
{
    return faceFromUnit(random.next());
}

} // namespace facedraw
