#include "DealOrder.h"

#include "DrawSource.h"

DealtFaceIndexes dealFaceIndexes(DrawSource &random)
{
    return proof::dealFaces(random);
}
