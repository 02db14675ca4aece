#include "FaceDraw.h"

#include "DrawSource.h"

namespace facedraw {

std::int16_t faceFromUnit(double r)
{
    return proof::faceFromUnit(r);
}

std::int16_t drawFace(DrawSource &random)
{
    return proof::pickTarget(random);
}

} // namespace facedraw
