#include "FaceDraw.h"

// The draw itself is the record's, so a sealed run's replay takes its faces exactly as play does.
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
