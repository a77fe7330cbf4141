// The composite terrain texture: each pixel of a heightmap lookup is classed by its red byte and
// painted from the tile of its class, then uploaded with a full mipmap chain.
#include "terrain_texture.h"

namespace Tarvik {

namespace {

bool TileUsable(const PackedImage* Tile, std::int32_t SizeTile)
{
    return Tile != nullptr && SizeTile >= 1 && Tile->Width >= SizeTile &&
           Tile->Height >= SizeTile;
}

// Packed rows of any width: the buffer has no row padding, so OpenGL must not expect any.
void UploadWithMipmaps(const PackedImage& Image, const std::vector<std::uint8_t>& Pixels,
                       GLuint& Texture)
{
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    GenNewTexture(Image.Width, Image.Height, GL_REPEAT, 3, GL_RGB, Pixels.data(), Texture);
    AddMipmapsTexture(24, Image.Width, Image.Height, Pixels.data());
    glPopClientAttrib();
}

} // namespace

int TerrainClass(float Red, const TerrainThresholds& Heights)
{
    if (Heights.H0 <= Red && Red <= Heights.H1 - 1) return 0;
    if (Heights.H1 - 1 <= Red && Red <= Heights.H2 - 1) return 1;
    if (Heights.H2 - 1 <= Red && Red <= Heights.H3 - 1) return 2;
    if (Heights.H3 - 1 <= Red && Red <= 255) return 3;
    return NO_TERRAIN_CLASS;
}

void ComposeTerrainTexture(const PackedImage& Lookup, const std::array<const PackedImage*, 4>& Tiles,
                           const TerrainThresholds& Heights, std::int32_t SizeTile,
                           std::vector<std::uint8_t>& Output)
{
    Output = Lookup.Pixels;
    if (Lookup.Width != Lookup.Height) return;
    const std::int32_t side = Lookup.Width;
    for (std::int32_t x = 0; x < side; ++x) {
        for (std::int32_t z = 0; z < side; ++z) {
            const TGLRGB2 height = GetRGBBits(x, z, side, side, 1, 1, Lookup.Pixels.data());
            const int k = TerrainClass(height.R, Heights);
            if (k == NO_TERRAIN_CLASS || !TileUsable(Tiles[k], SizeTile)) continue;
            const PackedImage& tile = *Tiles[k];
            const TGLRGB2 c = GetRGBBits(x, z, tile.Width, tile.Height, SizeTile, 1,
                                         tile.Pixels.data());
            PutPixelTexture(Output.data(), x, z, side, FloatToByte(c.R), FloatToByte(c.G),
                            FloatToByte(c.B));
        }
    }
}

void GenTexTerrain(float H0, float H1, float H2, float H3, std::int32_t SizeTile,
                   const char* Lookup, const char* Tex1, const char* Tex2, const char* Tex3,
                   const char* Tex4, GLuint& Texture)
{
    SetQualityTexture2(GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR);

    // A lookup that is missing, not 24-bit or not square makes no texture.
    PackedImage lookup;
    if (LoadPackedBitmap24(Lookup, lookup) && lookup.Width == lookup.Height) {
        // The tiles are loaded after the lookup; one that cannot be used leaves its class unpainted.
        std::array<PackedImage, 4> tiles;
        std::array<const PackedImage*, 4> usable = {};
        const char* names[4] = {Tex1, Tex2, Tex3, Tex4};
        for (int k = 0; k < 4; ++k)
            if (LoadPackedBitmap24(names[k], tiles[k])) usable[k] = &tiles[k];

        std::vector<std::uint8_t> composite;
        ComposeTerrainTexture(lookup, usable, TerrainThresholds{H0, H1, H2, H3}, SizeTile,
                              composite);
        UploadWithMipmaps(lookup, composite, Texture);
    }

    SetQualityTexture2(GL_LINEAR, GL_LINEAR);
}

} // namespace Tarvik
