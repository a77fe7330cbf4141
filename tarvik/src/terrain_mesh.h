// The heightmap terrain mesh, with its platform-free walk separated from the file loading.
#pragma once

#include "bitmap_file.h"
#include "tarvik/tvk_optimize.h"

namespace TVK_Optimize {

// Fills VBO from a heightmap in memory: one cell every Quality pixels, six corners a cell.
// False, with VBO unchanged, for a Quality below 1, above 2^24 or not a number, or an empty
// heightmap.
bool BuildTerrainMesh(const Tarvik::PackedImage& Map, float Scale, float Height, float Quality,
                      float TSize, GenVBO& VBO);

} // namespace TVK_Optimize
