#include "DealOrder.h"

// The deal is the record's, so a sealed run's replay deals exactly as play does.
DealtFaceIndexes dealFaceIndexes(DrawSource &random)
{
    return proof::dealFaces(random);
}
