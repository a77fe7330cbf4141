// The heightmap terrain mesh: the walk, count, per-vertex formulas and wrap, the refusals, and
// the upload of a mesh built from a file.
#include "gl_extensions.h"
#include "terrain_mesh.h"
#include "support/bmp_writer.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

using namespace Tarvik;
using namespace TVK_Optimize;
using TestSupport::RgbPicture;

namespace {

constexpr float EPS = 1e-5f;

PackedImage Packed(const RgbPicture& picture)
{
    PackedImage image;
    image.Width = picture.width;
    image.Height = picture.height;
    image.Pixels = picture.rgb;
    return image;
}

// The 4 x 4 heightmap of the worked example: red 100 in column 0, row 0, the rest 0.
RgbPicture ExampleMap()
{
    RgbPicture map(4, 4, 0, 0, 0);
    map.Set(0, 0, 100, 0, 0);
    return map;
}

struct Corner {
    TGLVector position;
    TGLTexCoord texture;
    TGLVector normalDirection; // before normalising
};

void ExpectVector(const TGLVector& actual, const TGLVector& expected, float tolerance = EPS)
{
    EXPECT_NEAR(actual.X, expected.X, tolerance);
    EXPECT_NEAR(actual.Y, expected.Y, tolerance);
    EXPECT_NEAR(actual.Z, expected.Z, tolerance);
}

void ExpectNormalOf(const TGLVector& actual, const TGLVector& direction)
{
    const float length = std::sqrt(direction.X * direction.X + direction.Y * direction.Y +
                                   direction.Z * direction.Z);
    ExpectVector(actual, TGLVector{direction.X / length, direction.Y / length,
                                   direction.Z / length});
}

void ExpectExampleMesh(const GenVBO& vbo)
{
    const Corner corners[6] = {
        {{-2, 10, 2}, {0, 0}, {-2, 100, 2}},  {{2, 10, 2}, {1, 0}, {2, 100, 2}},
        {{2, 10, -2}, {1, 1}, {2, 100, -2}},  {{-2, 10, 2}, {0, 0}, {-2, 100, 2}},
        {{2, 10, -2}, {1, 1}, {2, 100, -2}},  {{-2, 10, -2}, {0, 1}, {-2, 100, -2}},
    };
    ASSERT_EQ(vbo.VertCount, 6);
    ASSERT_EQ(vbo.Vert.size(), 6u);
    ASSERT_EQ(vbo.Norm.size(), 6u);
    ASSERT_EQ(vbo.TexCoord.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(testing::Message() << "vertex " << i);
        ExpectVector(vbo.Vert[i], corners[i].position);
        EXPECT_NEAR(vbo.TexCoord[i].U, corners[i].texture.U, EPS);
        EXPECT_NEAR(vbo.TexCoord[i].V, corners[i].texture.V, EPS);
        ExpectNormalOf(vbo.Norm[i], corners[i].normalDirection);
    }
    ExpectVector(vbo.Norm[0], TGLVector{-0.019992f, 0.9996f, 0.019992f}, 1e-5f);
}

// ---------------------------------------------------------------- the walk, memory only

TEST(BuildTerrainMesh, FourByFourExampleReadsOnePixelForAllSixCorners)
{
    GenVBO vbo;
    ASSERT_TRUE(BuildTerrainMesh(Packed(ExampleMap()), 1, 1, 4, 1, vbo));
    ExpectExampleMesh(vbo);
    EXPECT_EQ(vbo.VBOVertices + vbo.VBONormal + vbo.VBOTexCoords, 0u);
}

// Heightmap 8 x 8 whose pixel (column c, row r) has red 10 c + r.
RgbPicture GradientMap(int side, std::uint8_t green = 0, std::uint8_t blue = 0)
{
    RgbPicture map(side, side);
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c) map.Set(c, r, std::uint8_t(10 * c + r), green, blue);
    return map;
}

TEST(BuildTerrainMesh, EightByEightWalksColumnStripsCornerByCorner)
{
    GenVBO vbo;
    ASSERT_TRUE(BuildTerrainMesh(Packed(GradientMap(8)), 1, 1, 4, 1, vbo));
    ASSERT_EQ(vbo.VertCount, 24);
    EXPECT_EQ(vbo.GetNumTriangles(), 8);
    const int cells[4][2] = {{0, 0}, {0, 4}, {4, 0}, {4, 4}};          // (X, Z) in order
    const int offsets[6][2] = {{0, 0}, {4, 0}, {4, 4}, {0, 0}, {4, 4}, {0, 4}};
    for (int cell = 0; cell < 4; ++cell)
        for (int n = 0; n < 6; ++n) {
            SCOPED_TRACE(testing::Message() << "cell " << cell << " corner " << n);
            const int flx = cells[cell][0] + offsets[n][0];
            const int flz = cells[cell][1] + offsets[n][1];
            const float red = float(10 * (flx % 8) + flz % 8); // far corners wrap to 0
            const std::size_t i = std::size_t(cell * 6 + n);
            ExpectVector(vbo.Vert[i], TGLVector{float(flx - 4), red / 10, float(-(flz - 4))});
            EXPECT_NEAR(vbo.TexCoord[i].U, flx / 8.0f, EPS);
            EXPECT_NEAR(vbo.TexCoord[i].V, flz / 8.0f, EPS);
            ExpectNormalOf(vbo.Norm[i], TGLVector{float(flx - 4), red, float(-(flz - 4))});
        }
}

TEST(BuildTerrainMesh, ScaleHeightAndTSizeEnterAsDocumented)
{
    GenVBO vbo;
    ASSERT_TRUE(BuildTerrainMesh(Packed(ExampleMap()), 0.5f, 3, 4, 2, vbo));
    ExpectVector(vbo.Vert[0], TGLVector{-1, 100.0f / 10 * 0.5f * 3, 1});
    ExpectNormalOf(vbo.Norm[0], TGLVector{-2, 300, 2}); // Height x red, no Scale, no /10
    EXPECT_NEAR(vbo.TexCoord[2].U, 2, EPS);
    EXPECT_NEAR(vbo.TexCoord[2].V, 2, EPS);
    EXPECT_NEAR(vbo.TexCoord[5].U, 0, EPS);
    EXPECT_NEAR(vbo.TexCoord[5].V, 2, EPS);
}

TEST(BuildTerrainMesh, GreenAndBlueHaveNoEffect)
{
    GenVBO plain, coloured;
    ASSERT_TRUE(BuildTerrainMesh(Packed(GradientMap(8)), 0.15f, 2.25f, 2, 1, plain));
    ASSERT_TRUE(BuildTerrainMesh(Packed(GradientMap(8, 255, 77)), 0.15f, 2.25f, 2, 1, coloured));
    ASSERT_EQ(plain.VertCount, coloured.VertCount);
    EXPECT_EQ(0, std::memcmp(plain.Vert.data(), coloured.Vert.data(), plain.Vert.size() * 12));
    EXPECT_EQ(0, std::memcmp(plain.Norm.data(), coloured.Norm.data(), plain.Norm.size() * 12));
    EXPECT_EQ(0, std::memcmp(plain.TexCoord.data(), coloured.TexCoord.data(),
                             plain.TexCoord.size() * 8));
}

TEST(BuildTerrainMesh, StepThatDoesNotDivideTheSidesStillFillsEveryCountedVertex)
{
    struct { int side; float quality; int vertices; } cases[] = {
        {6, 4, 24},     // cells at 0 and 4 in each direction
        {4, 2.5f, 24},  // step 2, corners at X + 2.5
        {5, 1, 150},
        {4, 5, 6},      // one cell larger than the map
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.side << "x" << c.side << " Quality " << c.quality);
        GenVBO vbo;
        ASSERT_TRUE(BuildTerrainMesh(Packed(GradientMap(c.side)), 1, 1, c.quality, 1, vbo));
        EXPECT_EQ(vbo.VertCount, c.vertices);
        EXPECT_EQ(vbo.Vert.size(), std::size_t(c.vertices));
        // Every normal written has length 1, so none was left as the zero of the sizing.
        for (const TGLVector& n : vbo.Norm)
            EXPECT_NEAR(n.X * n.X + n.Y * n.Y + n.Z * n.Z, 1.0f, 1e-4f);
    }
    // The last corner of the 6 x 6, Quality 4 walk: cell (4, 4), corner (X, Z + 4) = (4, 8),
    // its height from row 8 wrapped to row 2.
    GenVBO vbo;
    ASSERT_TRUE(BuildTerrainMesh(Packed(GradientMap(6)), 1, 1, 4, 1, vbo));
    ExpectVector(vbo.Vert[23], TGLVector{1, (10 * 4 + 2) / 10.0f, -5});
    // Quality 2.5: the second corner lies at column 2.5 and reads column 2.
    ASSERT_TRUE(BuildTerrainMesh(Packed(GradientMap(4)), 1, 1, 2.5f, 1, vbo));
    ExpectVector(vbo.Vert[1], TGLVector{0.5f, 2, 2});
}

TEST(BuildTerrainMesh, QualityBelowOneOrHugeOrEmptyMapIsRefusedAndLeavesTheObject)
{
    const float qualities[] = {0.999f, 0.5f, 0, -1, -4, std::numeric_limits<float>::quiet_NaN(),
                               std::numeric_limits<float>::infinity(), 1e30f};
    for (float quality : qualities) {
        SCOPED_TRACE(quality);
        GenVBO vbo;
        vbo.VertCount = 3;
        vbo.Vert.assign(3, TGLVector{7, 7, 7});
        EXPECT_FALSE(BuildTerrainMesh(Packed(GradientMap(8)), 1, 1, quality, 1, vbo));
        EXPECT_EQ(vbo.VertCount, 3);
        EXPECT_EQ(vbo.Vert.size(), 3u);
        EXPECT_EQ(vbo.Vert[0].X, 7.0f);
        EXPECT_TRUE(vbo.Norm.empty());
    }
    GenVBO vbo;
    EXPECT_FALSE(BuildTerrainMesh(PackedImage{}, 1, 1, 1, 1, vbo));
    EXPECT_EQ(vbo.VertCount, 0);
}

TEST(BuildTerrainMesh, CentreCornerWithoutDirectionPointsStraightUp)
{
    // Red 0 at the centre pixel (4, 4), which the Quality 4 grid has as a corner.
    RgbPicture map(8, 8, 50, 0, 0);
    map.Set(4, 4, 0, 0, 0);
    for (float height : {1.0f, 0.0f}) {
        SCOPED_TRACE(height);
        if (height == 0.0f) map = RgbPicture(8, 8, 50, 0, 0); // Height 0 flattens every corner
        GenVBO vbo;
        ASSERT_TRUE(BuildTerrainMesh(Packed(map), 1, height, 4, 1, vbo));
        int centreCorners = 0;
        for (std::size_t i = 0; i < 24; ++i) {
            const bool centre = vbo.Vert[i].X == 0.0f && vbo.Vert[i].Z == 0.0f;
            if (!centre) continue;
            ++centreCorners;
            EXPECT_EQ(vbo.Norm[i].X, 0.0f);
            EXPECT_EQ(vbo.Norm[i].Y, 1.0f);
            EXPECT_EQ(vbo.Norm[i].Z, 0.0f);
        }
        EXPECT_EQ(centreCorners, 6); // two in cells (0, 0) and (4, 4), one in the other two
    }
}

// ---------------------------------------------------------------- from files

class TerrainMeshFileTest : public testing::Test {
protected:
    static void SetUpTestSuite() { TestSupport::EnsureTestWindow(); }
};

TEST_F(TerrainMeshFileTest, ExampleHeightmapFileGivesTheExampleMesh)
{
    ASSERT_TRUE(TestSupport::WriteBmp24("example.bmp", ExampleMap()));
    GenVBO vbo;
    vbo.Vert.resize(100); // longer arrays are cut to the count
    VBOGenTerrain(vbo, 1, 1, 4, 1, "example.bmp");
    ExpectExampleMesh(vbo);
}

TEST_F(TerrainMeshFileTest, UnusableFileOrQualityLeavesTheObjectUnchanged)
{
    ASSERT_TRUE(TestSupport::WriteBmp24("example.bmp", ExampleMap()));
    ASSERT_TRUE(TestSupport::WriteTextFile("text.bmp", "no bitmap here"));
    ASSERT_TRUE(TestSupport::WriteBmp24("top-down.bmp", ExampleMap(), true));
    struct { std::string file; float quality; } cases[] = {
        {"missing.bmp", 4}, {"text.bmp", 4}, {"top-down.bmp", 4}, {".", 4}, {"", 4},
        {"example.bmp", 0.5f}, {"example.bmp", 0},
    };
    std::vector<std::pair<std::string, float>> all;
    for (const auto& c : cases) all.emplace_back(c.file, c.quality);
    if (TestSupport::SuitePresent())
        for (const char* name : {"g/pal8.bmp", "g/rgb32.bmp", "g/rgb16.bmp", "b/badbitcount.bmp",
                                 "b/shortfile.bmp", "b/reallybig.bmp", "q/rgb24rle24.bmp"})
            all.emplace_back(TestSupport::SuiteFile(name), 1.0f);

    for (const auto& [file, quality] : all) {
        SCOPED_TRACE(testing::Message() << file << " Quality " << quality);
        GenVBO vbo;
        vbo.VertCount = 2;
        vbo.Vert.assign(2, TGLVector{5, 5, 5});
        vbo.TexCoord.assign(1, TGLTexCoord{1, 1});
        VBOGenTerrain(vbo, 1, 1, quality, 1, file.c_str());
        EXPECT_EQ(vbo.VertCount, 2);
        EXPECT_EQ(vbo.Vert.size(), 2u);
        EXPECT_EQ(vbo.Vert[1].Y, 5.0f);
        EXPECT_TRUE(vbo.Norm.empty());
        EXPECT_EQ(vbo.TexCoord.size(), 1u);
    }
}

TEST_F(TerrainMeshFileTest, WidthNotAMultipleOfFourReadsEachRowWithItsStride)
{
    if (!TestSupport::SuitePresent()) GTEST_SKIP() << "BMP suite not found at " TARVIK_TESTDATA_DIR;
    const std::string file = TestSupport::SuiteFile("g/rgb24.bmp");
    RgbPicture picture;
    ASSERT_TRUE(TestSupport::ReadBmp24(file, picture)); // 127 x 64
    GenVBO vbo;
    VBOGenTerrain(vbo, 1, 1, 1, 1, file.c_str());
    ASSERT_EQ(vbo.VertCount, picture.width * picture.height * 6);
    // Corner 0 of cell (X, Z) is vertex 6 (X H + Z) and stands on pixel (X, Z).
    for (int x = 0; x < picture.width; x += 9)
        for (int z = 0; z < picture.height; z += 7) {
            SCOPED_TRACE(testing::Message() << "column " << x << " row " << z);
            const std::size_t i = std::size_t(6 * (x * picture.height + z));
            EXPECT_NEAR(vbo.Vert[i].Y, picture.At(x, z)[0] / 10.0f, EPS);
            EXPECT_NEAR(vbo.Vert[i].X, x - picture.width / 2.0f, EPS);
        }
}

TEST_F(TerrainMeshFileTest, DemoHeightmapBuildsAndUploads8192Triangles)
{
    const std::string file = "../../../terrain_demo/terreno-test00.bmp";
    if (!FileExists(file.c_str())) GTEST_SKIP() << "the demo's generated data is not at " << file;
    GenVBO vbo;
    VBOGenTerrain(vbo, 0.15f, 2.25f, 4, 1, file.c_str());
    ASSERT_EQ(vbo.VertCount, 64 * 64 * 6);
    EXPECT_EQ(vbo.GetNumTriangles(), 8192);
    float highest = 0, lowest = 1e9f, left = 0, right = 0;
    for (const TGLVector& v : vbo.Vert) {
        highest = std::max(highest, v.Y);
        lowest = std::min(lowest, v.Y);
        left = std::min(left, v.X);
        right = std::max(right, v.X);
    }
    EXPECT_LE(highest, 8.60625f + EPS);
    EXPECT_GT(highest, 4.0f) << "the landscape has mountains";
    EXPECT_GE(lowest, 0.0f);
    EXPECT_NEAR(left, -19.2f, EPS);
    EXPECT_NEAR(right, 19.2f, EPS);

    vbo.SetVBO();
    ASSERT_NE(vbo.VBOVertices, 0u);
    const VertexBufferFunctions& gl = VertexBuffers();
    GLint size = 0;
    gl.BindBuffer(GL_ARRAY_BUFFER_ARB, vbo.VBOVertices);
    gl.GetBufferParameteriv(GL_ARRAY_BUFFER_ARB, GL_BUFFER_SIZE_ARB, &size);
    EXPECT_EQ(size, 24576 * 12);
    gl.BindBuffer(GL_ARRAY_BUFFER_ARB, vbo.VBOTexCoords);
    gl.GetBufferParameteriv(GL_ARRAY_BUFFER_ARB, GL_BUFFER_SIZE_ARB, &size);
    EXPECT_EQ(size, 24576 * 8);
    EXPECT_TRUE(vbo.Vert.empty());
}

} // namespace
