// The composite terrain texture: classes by the lookup's red byte, tiles, the transposed write,
// the upload with mipmaps, and the refusals, read back from the real texture.
#include "terrain_texture.h"
#include "support/bmp_writer.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

using namespace Tarvik;
using TestSupport::RgbPicture;

namespace {

using Colour = std::array<std::uint8_t, 3>;

// Solid tiles, one colour a class, 8 x 8 pixels.
const Colour TILE_COLOUR[4] = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {100, 110, 120}};
const char* const TILE_FILE[4] = {"tile1.bmp", "tile2.bmp", "tile3.bmp", "tile4.bmp"};
const TerrainThresholds DEMO_HEIGHTS = {0, 35, 45, 120};

// ---------------------------------------------------------------- class tests, memory only

struct ClassCase {
    float red;
    TerrainThresholds heights;
    int expected; // 0 to 3, or NO_TERRAIN_CLASS
};

TEST(TerrainClass, InclusiveBoundsAndTheEarlierClassWins)
{
    const TerrainThresholds h0Is10 = {10, 35, 45, 120};
    const TerrainThresholds fractional = {0.5f, 35.5f, 45.5f, 120.5f};
    const ClassCase cases[] = {
        {0, DEMO_HEIGHTS, 0},     {34, DEMO_HEIGHTS, 0},   {34.5f, DEMO_HEIGHTS, 1},
        {35, DEMO_HEIGHTS, 1},    {44, DEMO_HEIGHTS, 1},   {45, DEMO_HEIGHTS, 2},
        {119, DEMO_HEIGHTS, 2},   {120, DEMO_HEIGHTS, 3},  {255, DEMO_HEIGHTS, 3},
        {255.5f, DEMO_HEIGHTS, NO_TERRAIN_CLASS},
        {5, h0Is10, NO_TERRAIN_CLASS}, {9.99f, h0Is10, NO_TERRAIN_CLASS}, {10, h0Is10, 0},
        // Lower bounds of classes 2 to 4 are the threshold minus 1: 34.5 belongs to both of
        // the first two tests and takes the first.
        {0.25f, fractional, NO_TERRAIN_CLASS}, {34.5f, fractional, 0}, {34.75f, fractional, 1},
        {44.5f, fractional, 1},   {44.75f, fractional, 2}, {119.5f, fractional, 2},
        {119.75f, fractional, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "red " << c.red << " H0 " << c.heights.H0);
        EXPECT_EQ(TerrainClass(c.red, c.heights), c.expected);
    }
}

// ---------------------------------------------------------------- GenTexTerrain (real GL)

class TerrainTextureTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        TestSupport::EnsureTestWindow();
        for (int k = 0; k < 4; ++k) {
            const Colour& c = TILE_COLOUR[k];
            ASSERT_TRUE(TestSupport::WriteBmp24(TILE_FILE[k], RgbPicture(8, 8, c[0], c[1], c[2])));
        }
    }
    void SetUp() override
    {
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glDisable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    void TearDown() override
    {
        if (texture_ != 0) glDeleteTextures(1, &texture_);
    }

    // Runs GenTexTerrain on a lookup written from Lookup, with the solid tiles unless replaced.
    void Compose(const RgbPicture& Lookup, TerrainThresholds Heights = DEMO_HEIGHTS,
                 int SizeTile = 1, std::array<std::string, 4> Tiles = {})
    {
        ASSERT_TRUE(TestSupport::WriteBmp24("lookup.bmp", Lookup));
        for (int k = 0; k < 4; ++k)
            if (Tiles[k].empty()) Tiles[k] = TILE_FILE[k];
        GenTexTerrain(Heights.H0, Heights.H1, Heights.H2, Heights.H3, SizeTile, "lookup.bmp",
                      Tiles[0].c_str(), Tiles[1].c_str(), Tiles[2].c_str(), Tiles[3].c_str(),
                      texture_);
        ASSERT_NE(texture_, 0u);
        width_ = LevelParam(0, GL_TEXTURE_WIDTH);
        height_ = LevelParam(0, GL_TEXTURE_HEIGHT);
        texels_.assign(std::size_t(width_) * std::size_t(height_) * 3, 0);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels_.data());
    }

    // Texel in memory row Row, column Column of level 0.
    Colour Texel(int Row, int Column) const
    {
        const std::uint8_t* p = &texels_[(std::size_t(Row) * width_ + Column) * 3];
        return {p[0], p[1], p[2]};
    }

    static GLint LevelParam(int level, GLenum name)
    {
        GLint value = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
        return value;
    }
    static GLint Param(GLenum name)
    {
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
        return value;
    }
    static GLint Bound()
    {
        GLint name = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
        return name;
    }

    GLuint texture_ = 0;
    GLint width_ = 0, height_ = 0;
    std::vector<std::uint8_t> texels_;
};

struct PaintCase {
    Colour lookup;
    int tile; // 0 to 3
};

TEST_F(TerrainTextureTest, EachRedValuePaintsItsClassTileAndOnlyRedDecides)
{
    const PaintCase cases[] = {
        {{0, 0, 0}, 0},       {{34, 34, 34}, 0},    {{35, 35, 35}, 1},    {{44, 44, 44}, 1},
        {{45, 45, 45}, 2},    {{119, 119, 119}, 2}, {{120, 120, 120}, 3}, {{255, 255, 255}, 3},
        {{0, 255, 255}, 0},   {{34, 200, 250}, 0},  {{44, 255, 0}, 1},    {{120, 0, 0}, 3},
        {{255, 0, 0}, 3},     {{119, 255, 255}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "lookup " << int(c.lookup[0]) << "," << int(c.lookup[1])
                                        << "," << int(c.lookup[2]));
        Compose(RgbPicture(4, 4, c.lookup[0], c.lookup[1], c.lookup[2]));
        for (int r = 0; r < 4; ++r)
            for (int col = 0; col < 4; ++col) EXPECT_EQ(Texel(r, col), TILE_COLOUR[c.tile]);
        glDeleteTextures(1, &texture_);
        texture_ = 0;
    }
}

TEST_F(TerrainTextureTest, PixelBelowH0KeepsTheLookupColourInRedGreenBlueOrder)
{
    Compose(RgbPicture(4, 4, 5, 77, 200), TerrainThresholds{10, 35, 45, 120});
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(Texel(r, c), (Colour{5, 77, 200}));
}

TEST_F(TerrainTextureTest, BlackAndWhiteColumnHalvesBecomeRowHalves)
{
    RgbPicture lookup(8, 8, 0, 0, 0);
    for (int r = 0; r < 8; ++r)
        for (int c = 4; c < 8; ++c) lookup.Set(c, r, 255, 255, 255);
    Compose(lookup);
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) {
            SCOPED_TRACE(testing::Message() << "row " << r << " column " << c);
            EXPECT_EQ(Texel(r, c), r < 4 ? TILE_COLOUR[0] : TILE_COLOUR[3]);
        }
}

TEST_F(TerrainTextureTest, TileIsReadAtTheMirroredPositionAndShrunkBySizeTile)
{
    // Tile pixel (column c, row r) = (20 c, 20 r, 7).
    RgbPicture tile(8, 8);
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) tile.Set(c, r, std::uint8_t(20 * c), std::uint8_t(20 * r), 7);
    ASSERT_TRUE(TestSupport::WriteBmp24("pattern.bmp", tile));

    for (int sizeTile : {1, 2, 3}) {
        SCOPED_TRACE(testing::Message() << "SizeTile " << sizeTile);
        Compose(RgbPicture(8, 8, 200, 0, 0), DEMO_HEIGHTS, sizeTile, {"", "", "", "pattern.bmp"});
        const int period = 8 / sizeTile;
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c) {
                SCOPED_TRACE(testing::Message() << "row " << r << " column " << c);
                // Output row r, column c holds the tile's column r, row c (tiled).
                const int tileColumn = (r % period) * sizeTile;
                const int tileRow = (c % period) * sizeTile;
                EXPECT_EQ(Texel(r, c), (Colour{std::uint8_t(20 * tileColumn),
                                               std::uint8_t(20 * tileRow), 7}));
            }
        glDeleteTextures(1, &texture_);
        texture_ = 0;
    }
}

TEST_F(TerrainTextureTest, TextureHasTheLookupSizeFiltersWrapAndAFullMipmapChain)
{
    SetQualityTexture2(GL_NEAREST, GL_NEAREST);
    Compose(RgbPicture(16, 16, 100, 0, 0));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(Bound(), GLint(texture_));
    EXPECT_EQ(width_, 16);
    EXPECT_EQ(height_, 16);
    EXPECT_EQ(LevelParam(0, GL_TEXTURE_RED_SIZE), 8);
    EXPECT_EQ(LevelParam(0, GL_TEXTURE_ALPHA_SIZE), 0);
    EXPECT_EQ(Param(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(Param(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(Param(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(Param(GL_TEXTURE_WRAP_T), GL_REPEAT);
    for (int level = 0, side = 16; level <= 4; ++level, side /= 2) {
        SCOPED_TRACE(level);
        EXPECT_EQ(LevelParam(level, GL_TEXTURE_WIDTH), side);
        EXPECT_EQ(LevelParam(level, GL_TEXTURE_HEIGHT), side);
    }
    std::uint8_t smallest[3] = {};
    glGetTexImage(GL_TEXTURE_2D, 4, GL_RGB, GL_UNSIGNED_BYTE, smallest);
    EXPECT_EQ(smallest[0], TILE_COLOUR[2][0]);
    EXPECT_EQ(smallest[1], TILE_COLOUR[2][1]);
    EXPECT_EQ(smallest[2], TILE_COLOUR[2][2]);
    // The library's filters are back to linear for later textures.
    EXPECT_EQ(GL_MIN_FILTER, GL_LINEAR);
    EXPECT_EQ(GL_MAG_FILTER, GL_LINEAR);
}

TEST_F(TerrainTextureTest, UnusableLookupMakesNoTextureAndStillRestoresTheFilters)
{
    ASSERT_TRUE(TestSupport::WriteTextFile("text.bmp", "not a bitmap"));
    ASSERT_TRUE(TestSupport::WriteBmp24("wide.bmp", RgbPicture(8, 4, 100, 0, 0)));
    std::vector<std::string> lookups = {"missing.bmp", "text.bmp", "wide.bmp", ".", ""};
    if (TestSupport::SuitePresent())
        for (const char* name : {"g/pal8.bmp", "g/rgb32.bmp", "g/rgb16.bmp", "g/rgb24.bmp",
                                 "b/badbitcount.bmp", "b/shortfile.bmp", "b/reallybig.bmp"})
            lookups.push_back(TestSupport::SuiteFile(name));

    GLuint other = 0;
    glGenTextures(1, &other);
    for (const auto& name : lookups) {
        SCOPED_TRACE(name);
        glBindTexture(GL_TEXTURE_2D, other);
        glDisable(GL_TEXTURE_2D);
        SetQualityTexture2(GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST);
        GLuint texture = 4242;
        GenTexTerrain(0, 35, 45, 120, 3, name.c_str(), TILE_FILE[0], TILE_FILE[1], TILE_FILE[2],
                      TILE_FILE[3], texture);
        EXPECT_EQ(texture, 4242u);
        EXPECT_EQ(Bound(), GLint(other));
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        EXPECT_EQ(GL_MIN_FILTER, GL_LINEAR);
        EXPECT_EQ(GL_MAG_FILTER, GL_LINEAR);
    }
    glDeleteTextures(1, &other);
}

TEST_F(TerrainTextureTest, UnusableTileLeavesItsClassUnpainted)
{
    ASSERT_TRUE(TestSupport::WriteTextFile("text.bmp", "not a bitmap"));
    ASSERT_TRUE(TestSupport::WriteBmp24("tiny.bmp", RgbPicture(2, 2, 1, 1, 1)));
    std::string notTwentyFour = "text.bmp";
    if (TestSupport::SuitePresent()) notTwentyFour = TestSupport::SuiteFile("g/pal8.bmp");

    // Symmetric bands (by the larger of column and row), so transposing changes nothing:
    // red 10 (class 1), 40 (class 2), 100 (class 3), 200 (class 4).
    RgbPicture lookup(8, 8);
    const std::uint8_t bandRed[4] = {10, 40, 100, 200};
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) lookup.Set(c, r, bandRed[std::max(r, c) / 2], 7, 9);
    // Tile 2 is missing, tile 3 is no bitmap or not 24-bit, tile 4 is smaller than SizeTile.
    Compose(lookup, DEMO_HEIGHTS, 3, {"", "missing.bmp", notTwentyFour, "tiny.bmp"});
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) {
            SCOPED_TRACE(testing::Message() << "row " << r << " column " << c);
            const int band = std::max(r, c) / 2;
            const Colour own = {bandRed[band], 7, 9};
            EXPECT_EQ(Texel(r, c), band == 0 ? TILE_COLOUR[0] : own);
        }
}

TEST_F(TerrainTextureTest, WidthsThatAreNotMultiplesOfFourReadAndUploadWholeRows)
{
    // A 3 x 3 tile has a padding byte after each row; a 2 x 2 texture has 6-byte rows.
    RgbPicture tile(3, 3);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) tile.Set(c, r, std::uint8_t(50 + c), std::uint8_t(60 + r), 70);
    ASSERT_TRUE(TestSupport::WriteBmp24("odd-tile.bmp", tile));
    GLint alignment = 0;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);

    Compose(RgbPicture(2, 2, 200, 0, 0), DEMO_HEIGHTS, 1, {"", "", "", "odd-tile.bmp"});
    ASSERT_EQ(width_, 2);
    ASSERT_EQ(height_, 2);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c)
            EXPECT_EQ(Texel(r, c), (Colour{std::uint8_t(50 + r), std::uint8_t(60 + c), 70}));
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4) << "the caller's unpack alignment is restored";
}

TEST_F(TerrainTextureTest, DemoDataMakesA1024TextureUsingAllFourTiles)
{
    const std::string folder = "../../../terrain_demo/";
    if (!FileExists((folder + "terreno-test00-big.bmp").c_str()))
        GTEST_SKIP() << "the demo's generated data is not in " << folder;
    const std::string name[6] = {folder + "terreno-test00-big.bmp", folder + "water4.bmp",
                                 folder + "Floor04.bmp", folder + "Floor09.bmp",
                                 folder + "WP25.bmp"};
    GenTexTerrain(0, 35, 45, 120, 3, name[0].c_str(), name[1].c_str(), name[2].c_str(),
                  name[3].c_str(), name[4].c_str(), texture_);
    ASSERT_NE(texture_, 0u);
    EXPECT_EQ(LevelParam(0, GL_TEXTURE_WIDTH), 1024);
    EXPECT_EQ(LevelParam(10, GL_TEXTURE_WIDTH), 1);

    // Every texel comes from one of the tiles: count the texels that each tile could give.
    std::array<PackedImage, 4> tiles;
    for (int k = 0; k < 4; ++k) ASSERT_TRUE(LoadPackedBitmap24(name[k + 1].c_str(), tiles[k]));
    PackedImage lookup;
    ASSERT_TRUE(LoadPackedBitmap24(name[0].c_str(), lookup));
    std::vector<std::uint8_t> texels(1024 * 1024 * 3);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    int perClass[4] = {};
    for (int x = 0; x < 1024; x += 7)
        for (int z = 0; z < 1024; z += 5) {
            const int k = TerrainClass(GetRGBBits(x, z, 1024, 1024, lookup.Pixels.data()).R,
                                       DEMO_HEIGHTS);
            ASSERT_NE(k, NO_TERRAIN_CLASS);
            const TGLRGB2 c = GetRGBBits(x, z, 256, 256, 3, 1, tiles[k].Pixels.data());
            const std::uint8_t* t = &texels[(std::size_t(x) * 1024 + z) * 3];
            ASSERT_EQ(t[0], c.R);
            ASSERT_EQ(t[1], c.G);
            ASSERT_EQ(t[2], c.B);
            ++perClass[k];
        }
    for (int k = 0; k < 4; ++k) EXPECT_GT(perClass[k], 0) << "class " << k + 1;
}

} // namespace
