#include "DealOrder.h"

#include "FaceDraw.h"

DealtFaceIndexes dealFaceIndexes(DrawSource &random)
{
    DealtFaceIndexes dealt{};
    std::array<bool, 6> taken{}; // by face index 1..5

    dealt[0] = facedraw::drawFace(random);
    dealt[1] = facedraw::drawFace(random);
    taken[dealt[1]] = true;
    for (std::size_t position = 2; position <= 5; ++position) {
        std::int16_t face = facedraw::drawFace(random);
        while (taken[face])
            face = facedraw::drawFace(random);
        dealt[position] = face;
        taken[face] = true;
    }
    return dealt;
}
