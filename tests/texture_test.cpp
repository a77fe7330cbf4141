// Pixel access on packed buffers, texture creation with the library's filters and mipmaps, and
// the checked 24-bit bitmap loader.
#include "bitmap_file.h"
#include "support/bmp_writer.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Tarvik;
using TestSupport::RgbPicture;

namespace {

// ---------------------------------------------------------------- pixel functions, memory only

// A w x h picture whose pixel (column c, row r) holds (c, r, 200 + c + r) (red, green, blue).
std::vector<std::uint8_t> CoordinatePicture(int w, int h)
{
    std::vector<std::uint8_t> bits(std::size_t(w) * h * 3);
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) {
            std::uint8_t* p = &bits[(std::size_t(r) * w + c) * 3];
            p[0] = std::uint8_t(c);
            p[1] = std::uint8_t(r);
            p[2] = std::uint8_t(200 + c + r);
        }
    return bits;
}

void ExpectPixel(const TGLRGB2& colour, int column, int row)
{
    EXPECT_EQ(colour.R, float(column));
    EXPECT_EQ(colour.G, float(row));
    EXPECT_EQ(colour.B, float(200 + column + row));
}

struct PlainReadCase {
    int x, y;
    int column, row; // expected source pixel
};

TEST(GetRGBBits, ReadsColumnXRowYAndWrapsBothWays)
{
    const auto bits = CoordinatePicture(8, 4);
    const PlainReadCase cases[] = {
        {0, 0, 0, 0}, {3, 2, 3, 2}, {7, 3, 7, 3}, // inside
        {8, 4, 0, 0}, {9, 5, 1, 1}, {17, 10, 1, 2}, // beyond the last column and row
        {-1, 0, 7, 0}, {0, -1, 0, 3}, {-9, -5, 7, 3}, {-8, -4, 0, 0}, // left of and below
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "X=" << c.x << " Y=" << c.y);
        ExpectPixel(GetRGBBits(c.x, c.y, 8, 4, bits.data()), c.column, c.row);
    }
}

TEST(GetRGBBits, GivesRawByteValuesNotScaledOnes)
{
    const std::uint8_t white[3] = {255, 255, 255};
    const TGLRGB2 colour = GetRGBBits(0, 0, 1, 1, white);
    EXPECT_EQ(colour.R, 255.0f);
    EXPECT_EQ(colour.G, 255.0f);
    EXPECT_EQ(colour.B, 255.0f);
    EXPECT_EQ(FloatToByte(colour.R), 255);
}

TEST(GetRGBBits, EmptyPictureReadsNothing)
{
    const std::uint8_t pixel[3] = {9, 9, 9};
    for (const auto& size : {std::pair{0, 1}, std::pair{1, 0}, std::pair{-3, 2}}) {
        const TGLRGB2 colour = GetRGBBits(0, 0, size.first, size.second, pixel);
        EXPECT_EQ(colour.R + colour.G + colour.B, 0.0f);
    }
    const TGLRGB2 colour = GetRGBBits(0, 0, 1, 1, nullptr);
    EXPECT_EQ(colour.R + colour.G + colour.B, 0.0f);
}

struct TiledReadCase {
    int size, scale;
    std::vector<int> columns; // source column for X = 0, 1, 2, ...
};

TEST(GetRGBBitsTiled, ShrinksBySizeAndEnlargesByScale)
{
    const auto bits = CoordinatePicture(8, 8);
    const TiledReadCase cases[] = {
        {1, 1, {0, 1, 2, 3, 4, 5, 6, 7, 0, 1}},
        {2, 1, {0, 2, 4, 6, 0, 2, 4, 6, 0}},
        {1, 2, {0, 0, 1, 1, 2, 2, 3, 3, 0, 0}},
        {3, 1, {0, 3, 0, 3}},  // period 8 div 3 = 2
        {2, 2, {0, 1, 2, 3, 0, 1}},
        {8, 1, {0, 0, 0}},     // period 1
    };
    for (const auto& c : cases) {
        for (std::size_t x = 0; x < c.columns.size(); ++x) {
            SCOPED_TRACE(testing::Message() << "Size=" << c.size << " Scale=" << c.scale
                                            << " X=" << x);
            // Rows follow the same rule as columns.
            const int row = c.columns[x];
            ExpectPixel(GetRGBBits(int(x), int(x), 8, 8, c.size, c.scale, bits.data()),
                        c.columns[x], row);
        }
    }
}

TEST(GetRGBBitsTiled, SizeAndScaleOneEqualThePlainReadIncludingWraps)
{
    const auto bits = CoordinatePicture(8, 4);
    for (int x = -10; x <= 10; x += 3)
        for (int y = -6; y <= 6; y += 2) {
            const TGLRGB2 plain = GetRGBBits(x, y, 8, 4, bits.data());
            const TGLRGB2 tiled = GetRGBBits(x, y, 8, 4, 1, 1, bits.data());
            EXPECT_EQ(plain.R, tiled.R);
            EXPECT_EQ(plain.G, tiled.G);
            EXPECT_EQ(plain.B, tiled.B);
        }
}

TEST(GetRGBBitsTiled, NegativeCoordinatesWrapWithinThePeriod)
{
    const auto bits = CoordinatePicture(8, 8);
    // Period 4 with Size 2: X = -1 is the last place of the period, column 3 x 2 = 6.
    ExpectPixel(GetRGBBits(-1, -2, 8, 8, 2, 1, bits.data()), 6, 4);
}

TEST(GetRGBBitsTiled, ZeroPeriodOrScaleReadsNothingAndGivesBlack)
{
    // The buffer is a single pixel: any read that went ahead would be out of bounds or wrong.
    const std::uint8_t pixel[3] = {10, 20, 30};
    struct { int width, height, size, scale; } cases[] = {
        {1, 1, 0, 1}, {1, 1, 1, 0}, {1, 1, -2, 1}, {1, 1, 1, -1}, {1, 1, 2, 1}, // Size > side
        {0, 1, 1, 1}, {1, 0, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " Size=" << c.size
                                        << " Scale=" << c.scale);
        const TGLRGB2 colour = GetRGBBits(3, 3, c.width, c.height, c.size, c.scale, pixel);
        EXPECT_EQ(colour.R, 0.0f);
        EXPECT_EQ(colour.G, 0.0f);
        EXPECT_EQ(colour.B, 0.0f);
    }
    const TGLRGB2 ok = GetRGBBits(3, 3, 1, 1, 1, 1, pixel);
    EXPECT_EQ(ok.R, 10.0f);
}

TEST(SwapRGB, ExchangesBytesZeroAndTwoOfEachPixelOnly)
{
    std::vector<std::uint8_t> data = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    SwapRGB(data.data(), 1);
    EXPECT_EQ(data, (std::vector<std::uint8_t>{3, 2, 1, 4, 5, 6, 7, 8, 9, 10}));
    SwapRGB(data.data(), 3);
    EXPECT_EQ(data, (std::vector<std::uint8_t>{1, 2, 3, 6, 5, 4, 9, 8, 7, 10}));
}

TEST(SwapRGB, NoPixelsDoesNothing)
{
    std::vector<std::uint8_t> data = {1, 2, 3};
    SwapRGB(data.data(), 0);
    SwapRGB(data.data(), -5);
    SwapRGB(nullptr, 4);
    EXPECT_EQ(data, (std::vector<std::uint8_t>{1, 2, 3}));
}

struct PutCase {
    int px, py;
    int offset; // first byte written, or -1 for none
};

TEST(PutPixelTexture, WritesRowPXColumnPYOrNothingOutside)
{
    constexpr int SIZE = 4;
    const PutCase cases[] = {
        {0, 0, 0}, {1, 0, 3 * SIZE}, {0, 1, 3}, {3, 2, 3 * (3 * SIZE + 2)}, {3, 3, 3 * 15},
        {SIZE, 0, -1}, {0, SIZE, -1}, {-1, 0, -1}, {0, -1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "PX=" << c.px << " PY=" << c.py);
        std::vector<std::uint8_t> bits(SIZE * SIZE * 3 + 6, 0);
        PutPixelTexture(bits.data(), c.px, c.py, SIZE, 11, 22, 33);
        std::vector<std::uint8_t> expected(bits.size(), 0);
        if (c.offset >= 0) {
            expected[std::size_t(c.offset)] = 11;
            expected[std::size_t(c.offset) + 1] = 22;
            expected[std::size_t(c.offset) + 2] = 33;
        }
        EXPECT_EQ(bits, expected);
    }
}

TEST(PutPixelTexture, ZeroSizeWritesNothing)
{
    std::uint8_t bits[3] = {0, 0, 0};
    PutPixelTexture(bits, 0, 0, 0, 1, 2, 3);
    EXPECT_EQ(bits[0] + bits[1] + bits[2], 0);
}

// ---------------------------------------------------------------- textures (real GL)

class TextureTest : public testing::Test {
protected:
    static void SetUpTestSuite() { TestSupport::EnsureTestWindow(); }
    void SetUp() override
    {
        SetQualityTexture2(GL_LINEAR, GL_LINEAR);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glDisable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    void TearDown() override { SetQualityTexture2(GL_LINEAR, GL_LINEAR); }

    static GLint Param(GLenum name)
    {
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
        return value;
    }
    static GLint LevelParam(int level, GLenum name)
    {
        GLint value = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
        return value;
    }
    static GLint BoundTexture()
    {
        GLint name = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
        return name;
    }
};

TEST_F(TextureTest, FilterVariablesStartLinearAndTakeWhatIsSet)
{
    EXPECT_EQ(GL_MIN_FILTER, GL_LINEAR);
    EXPECT_EQ(GL_MAG_FILTER, GL_LINEAR);
    SetQualityTexture2(GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST);
    EXPECT_EQ(GL_MIN_FILTER, GL_NEAREST_MIPMAP_NEAREST);
    EXPECT_EQ(GL_MAG_FILTER, GL_NEAREST);
}

TEST_F(TextureTest, GenNewTextureUploadsWithCurrentFiltersAndWrapAndStaysBound)
{
    // 4 x 2 pixels: width 4 keeps the rows unpadded under the default unpack alignment.
    const auto bits = CoordinatePicture(4, 2);
    SetQualityTexture2(GL_NEAREST, GL_NEAREST);
    GLuint texture = 0;
    GenNewTexture(4, 2, GL_CLAMP_TO_EDGE, GL_RGB8, GL_RGB, bits.data(), texture);
    ASSERT_NE(texture, 0u);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(BoundTexture(), GLint(texture));
    EXPECT_EQ(Param(GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    EXPECT_EQ(Param(GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    EXPECT_EQ(Param(GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(Param(GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(LevelParam(0, GL_TEXTURE_WIDTH), 4);
    EXPECT_EQ(LevelParam(0, GL_TEXTURE_HEIGHT), 2);
    EXPECT_EQ(LevelParam(1, GL_TEXTURE_WIDTH), 0) << "no mipmaps from GenNewTexture";

    std::vector<std::uint8_t> read(bits.size());
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, read.data());
    EXPECT_EQ(read, bits);

    // Settings changed later apply to the next texture only.
    SetQualityTexture2(GL_LINEAR, GL_LINEAR);
    EXPECT_EQ(Param(GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    glDeleteTextures(1, &texture);
}

TEST_F(TextureTest, AddMipmapsTexture24BuildsTheFullChainFromRedGreenBlue)
{
    std::vector<std::uint8_t> bits(8 * 8 * 3);
    for (std::size_t i = 0; i < bits.size(); i += 3) {
        bits[i] = 200;
        bits[i + 1] = 100;
        bits[i + 2] = 50;
    }
    SetQualityTexture2(GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR);
    GLuint texture = 0;
    GenNewTexture(8, 8, GL_REPEAT, 3, GL_RGB, bits.data(), texture);
    AddMipmapsTexture(24, 8, 8, bits.data());
    for (int level = 0, side = 8; level <= 3; ++level, side /= 2) {
        SCOPED_TRACE(level);
        EXPECT_EQ(LevelParam(level, GL_TEXTURE_WIDTH), side);
        EXPECT_EQ(LevelParam(level, GL_TEXTURE_HEIGHT), side);
    }
    std::uint8_t last[3] = {};
    glGetTexImage(GL_TEXTURE_2D, 3, GL_RGB, GL_UNSIGNED_BYTE, last);
    EXPECT_EQ(last[0], 200);
    EXPECT_EQ(last[1], 100);
    EXPECT_EQ(last[2], 50);
    glDeleteTextures(1, &texture);
}

TEST_F(TextureTest, AddMipmapsTexture32ReadsBlueGreenRedAlpha)
{
    std::vector<std::uint8_t> bgra(4 * 4 * 4);
    for (std::size_t i = 0; i < bgra.size(); i += 4) {
        bgra[i] = 10;      // blue
        bgra[i + 1] = 20;  // green
        bgra[i + 2] = 30;  // red
        bgra[i + 3] = 255; // alpha
    }
    GLuint texture = 0;
    GenNewTexture(4, 4, GL_REPEAT, 4, GL_BGRA, bgra.data(), texture);
    AddMipmapsTexture(32, 4, 4, bgra.data());
    EXPECT_EQ(LevelParam(2, GL_TEXTURE_WIDTH), 1);
    std::uint8_t last[4] = {};
    glGetTexImage(GL_TEXTURE_2D, 2, GL_RGBA, GL_UNSIGNED_BYTE, last);
    EXPECT_EQ(last[0], 30);
    EXPECT_EQ(last[1], 20);
    EXPECT_EQ(last[2], 10);
    EXPECT_EQ(last[3], 255);
    glDeleteTextures(1, &texture);
}

TEST_F(TextureTest, AddMipmapsTextureOtherDepthsMakeNoLevels)
{
    std::vector<std::uint8_t> bits(4 * 4 * 4, 77);
    GLuint texture = 0;
    GenNewTexture(4, 4, GL_REPEAT, 3, GL_RGB, bits.data(), texture);
    for (int depth : {8, 16, 0, 25}) {
        AddMipmapsTexture(depth, 4, 4, bits.data());
        EXPECT_EQ(LevelParam(1, GL_TEXTURE_WIDTH), 0) << depth;
    }
    glDeleteTextures(1, &texture);
}

// ---------------------------------------------------------------- the checked bitmap loader

class BitmapLoaderTest : public testing::Test {};

TEST_F(BitmapLoaderTest, WrittenFileLoadsPackedBottomRowFirstAsRedGreenBlue)
{
    // Widths 1 to 6 cover every row padding (0 to 3 bytes).
    for (int width = 1; width <= 6; ++width) {
        SCOPED_TRACE(testing::Message() << "width " << width);
        RgbPicture picture(width, 3);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < width; ++c)
                picture.Set(c, r, std::uint8_t(10 * c + r), std::uint8_t(100 + r),
                            std::uint8_t(250 - c));
        ASSERT_TRUE(TestSupport::WriteBmp24("loader.bmp", picture));
        PackedImage image;
        ASSERT_TRUE(LoadPackedBitmap24("loader.bmp", image));
        EXPECT_EQ(image.Width, width);
        EXPECT_EQ(image.Height, 3);
        EXPECT_EQ(image.Pixels, picture.rgb);
    }
}

TEST_F(BitmapLoaderTest, SuiteTwentyFourBitFileMatchesAnIndependentRead)
{
    if (!TestSupport::SuitePresent()) GTEST_SKIP() << "BMP suite not found at " TARVIK_TESTDATA_DIR;
    // 127 pixels wide: rows carry a padding byte.
    RgbPicture expected;
    ASSERT_TRUE(TestSupport::ReadBmp24(TestSupport::SuiteFile("g/rgb24.bmp"), expected));
    PackedImage image;
    ASSERT_TRUE(LoadPackedBitmap24(TestSupport::SuiteFile("g/rgb24.bmp").c_str(), image));
    EXPECT_EQ(image.Width, expected.width);
    EXPECT_EQ(image.Height, expected.height);
    EXPECT_EQ(image.Pixels, expected.rgb);
}

TEST_F(BitmapLoaderTest, RefusesWhatIsNotAUsable24BitBitmapAndKeepsTheImage)
{
    ASSERT_TRUE(TestSupport::WriteTextFile("not-a-bitmap.bmp", "just some text, no header"));
    // Top-down rows: the platform loader gives zeros for them, so they are refused outright.
    RgbPicture topDown(4, 2, 10, 20, 30);
    ASSERT_TRUE(TestSupport::WriteBmp24("top-down.bmp", topDown, true));
    // Cut short: the platform loader would fill the missing rows with whatever follows.
    PackedImage whole;
    ASSERT_TRUE(TestSupport::WriteBmp24("whole.bmp", RgbPicture(5, 3, 10, 20, 30)));
    ASSERT_TRUE(LoadPackedBitmap24("whole.bmp", whole));
    const std::vector<std::uint8_t> bytes = TestSupport::ReadFileBytes("whole.bmp");
    ASSERT_TRUE(TestSupport::WriteFileBytes("one-byte-short.bmp", {bytes.begin(), bytes.end() - 1}));
    ASSERT_TRUE(TestSupport::WriteFileBytes("headers-only.bmp", {bytes.begin(), bytes.begin() + 54}));
    std::vector<std::string> refused = {"", "missing.bmp", "not-a-bitmap.bmp", ".",
                                        "top-down.bmp", "one-byte-short.bmp", "headers-only.bmp"};
    if (TestSupport::SuitePresent()) {
        for (const char* name :
             {"g/pal1.bmp", "g/pal4.bmp", "g/pal8.bmp", "g/pal8topdown.bmp", "g/rgb16.bmp", "g/rgb32.bmp",
              "b/badbitcount.bmp", "b/badbitssize.bmp", "b/badfilesize.bmp", "b/badheadersize.bmp",
              "b/badplanes.bmp", "b/badwidth.bmp", "b/reallybig.bmp", "b/shortfile.bmp",
              "b/rgb16-880.bmp", "q/rgb24rle24.bmp", "q/rgb24jpeg.bmp", "q/rgb24png.bmp"})
            refused.push_back(TestSupport::SuiteFile(name));
    }
    for (const auto& name : refused) {
        SCOPED_TRACE(name);
        PackedImage image;
        image.Width = 7;
        image.Pixels = {1, 2, 3};
        EXPECT_FALSE(LoadPackedBitmap24(name.c_str(), image));
        EXPECT_EQ(image.Width, 7);
        EXPECT_EQ(image.Pixels, (std::vector<std::uint8_t>{1, 2, 3}));
    }
    PackedImage image;
    EXPECT_FALSE(LoadPackedBitmap24(nullptr, image));
}

TEST_F(BitmapLoaderTest, FileExistsOnlyForFiles)
{
    ASSERT_TRUE(TestSupport::WriteTextFile("exists.txt", "x"));
    EXPECT_TRUE(FileExists("exists.txt"));
    EXPECT_FALSE(FileExists("does-not-exist.txt"));
    EXPECT_FALSE(FileExists("."));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists(nullptr));
}

} // namespace
