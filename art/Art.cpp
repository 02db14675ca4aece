#include "Art.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initArtResources()
{
    Q_INIT_RESOURCE(art);
}

namespace art {

void initResources()
{
    initArtResources();
}

} // namespace art
