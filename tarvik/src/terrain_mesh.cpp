// The heightmap terrain mesh: a regular grid of two-triangle cells over a bitmap, heights from
// the red byte, stored in a GenVBO ready for upload.
#include "terrain_mesh.h"

#include <cmath>
#include <limits>

namespace TVK_Optimize {

namespace {

// Larger steps would put corner columns beyond what the integer pixel reads can hold.
constexpr float MAX_QUALITY = 16777216.0f;

// Written so that a Quality that is not a number fails too.
bool UsableQuality(float Quality) { return Quality >= 1.0f && Quality <= MAX_QUALITY; }

// Corner n of a cell (0 to 5): two counter-clockwise triangles sharing the (X, Z)-(X+q, Z+q) diagonal.
bool CornerAcross(int n) { return n == 1 || n == 2 || n == 4; }
bool CornerDeep(int n) { return n == 2 || n == 4 || n == 5; }

std::int64_t CellsAlong(std::int32_t Side, std::int64_t Step) { return (Side + Step - 1) / Step; }

void WriteCorner(GenVBO& VBO, std::int32_t Index, const Tarvik::PackedImage& Map, float FLX,
                 float FLZ, float Scale, float Height, float TSize)
{
    const float halfW = float(Map.Width) / 2.0f;
    const float halfH = float(Map.Height) / 2.0f;
    const Tarvik::TGLRGB2 rgb = Tarvik::GetRGBBits(std::int32_t(FLX), std::int32_t(FLZ),
                                                   Map.Width, Map.Height, Map.Pixels.data());
    const float r = rgb.R;

    VBOVertex3f(VBO, Index, (FLX - halfW) * Scale, r / 10.0f * Scale * Height,
                -(FLZ - halfH) * Scale);

    const float nx = FLX - halfW;
    const float ny = Height * r;
    const float nz = -(FLZ - halfH);
    const float length = std::sqrt(nx * nx + ny * ny + nz * nz);
    // The centre corner at height 0 has no direction: it points straight up.
    if (length > 0.0f)
        VBONormal3f(VBO, Index, nx / length, ny / length, nz / length);
    else
        VBONormal3f(VBO, Index, 0.0f, 1.0f, 0.0f);

    VBOTexCoord2f(VBO, Index, FLX / float(Map.Width) * TSize, FLZ / float(Map.Height) * TSize);
}

} // namespace

bool BuildTerrainMesh(const Tarvik::PackedImage& Map, float Scale, float Height, float Quality,
                      float TSize, GenVBO& VBO)
{
    if (!UsableQuality(Quality) || Map.Width <= 0 || Map.Height <= 0) return false;
    if (Map.Pixels.size() < std::size_t(Map.Width) * std::size_t(Map.Height) * 3) return false;

    // The arrays are sized from the walk itself, so a step that does not divide the sides
    // still writes every vertex it counts.
    const std::int64_t step = std::int64_t(Quality);
    const std::int64_t vertices = CellsAlong(Map.Width, step) * CellsAlong(Map.Height, step) * 6;
    if (vertices > std::numeric_limits<std::int32_t>::max()) return false;

    VBO.VertCount = std::int32_t(vertices);
    VBO.Vert.assign(std::size_t(vertices), TGLVector{});
    VBO.Norm.assign(std::size_t(vertices), TGLVector{});
    VBO.TexCoord.assign(std::size_t(vertices), TGLTexCoord{});

    std::int32_t index = 0;
    for (std::int64_t x = 0; x < Map.Width; x += step) {
        for (std::int64_t z = 0; z < Map.Height; z += step) {
            for (int n = 0; n < 6; ++n) {
                const float flx = CornerAcross(n) ? float(x) + Quality : float(x);
                const float flz = CornerDeep(n) ? float(z) + Quality : float(z);
                WriteCorner(VBO, index++, Map, flx, flz, Scale, Height, TSize);
            }
        }
    }
    return true;
}

void VBOGenTerrain(GenVBO& VBO, float Scale, float Height, float Quality, float TSize,
                   const char* BmpName)
{
    if (!UsableQuality(Quality)) return; // refused before the file is read
    // The heightmap lives only for this call; its platform bitmap is already released here.
    Tarvik::PackedImage map;
    if (!Tarvik::LoadPackedBitmap24(BmpName, map)) return;
    BuildTerrainMesh(map, Scale, Height, Quality, TSize, VBO);
}

} // namespace TVK_Optimize
