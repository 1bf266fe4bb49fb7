// Terrain: allocation of the class grid.
#include "world/Terrain.h"

#include <algorithm>

void TTerrain::SetSize(int w, int h) {
    Width = std::max(0, w);
    Height = std::max(0, h);
    Cells.assign(size_t(Width) * size_t(Height), TerrainEmpty);
}
