// The composite terrain texture, split into its platform-free pieces so they can be tested alone.
#pragma once

#include "bitmap_file.h"

#include <array>

namespace Tarvik {

struct TerrainThresholds {
    float H0, H1, H2, H3;
};

constexpr int NO_TERRAIN_CLASS = -1;

// The class (0 to 3, for Tex1 to Tex4) of a lookup pixel with red value Red, or NO_TERRAIN_CLASS.
// Both bounds of each test are inclusive; where two tests hold, the earlier class wins.
int TerrainClass(float Red, const TerrainThresholds& Heights);

// Paints a square lookup from its four tiles. Output starts as a copy of the lookup's pixels;
// the pixel in column x, row z of the lookup picks a class, and the tile's pixel read (tiled,
// shrunk by SizeTile) at column x, row z is written to row x, column z of Output: the result is
// the straight composite transposed. A null tile, or one too small for SizeTile, paints nothing.
void ComposeTerrainTexture(const PackedImage& Lookup, const std::array<const PackedImage*, 4>& Tiles,
                           const TerrainThresholds& Heights, std::int32_t SizeTile,
                           std::vector<std::uint8_t>& Output);

} // namespace Tarvik
