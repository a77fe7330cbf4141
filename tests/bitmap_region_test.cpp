// Bitmap files with palettes, and regions cut from a bitmap's shape, checked through GDI itself:
// palette entries, region rectangles (GetRegionData) and regions built independently.
#include "support/bmp_writer.h"
#include "tarvik/tarvik.h"

#include "bitmap_region_scan.h"
#include "bmp_file_header.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace Tarvik;
using TestSupport::BmpImage;
using TestSupport::SolidBmp;
using TestSupport::WriteBmp;

namespace {

const std::string BMPSUITE = std::string(TARVIK_TESTDATA_DIR) + "/bmpsuite";

constexpr COLORREF MAGENTA = RGB(255, 0, 255);
constexpr std::uint32_t MAGENTA_PIXEL = 0xFF00FF; // as written to a file: 0xRRGGBB
constexpr std::uint32_t OPAQUE_PIXEL = 0x204060;

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool HaveBmpSuite() { return FileExists(BMPSUITE + "/g"); }

std::vector<RECT> RegionRects(HRGN region)
{
    const DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<std::uint8_t> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (size == 0 || GetRegionData(region, size, data) != size) return {};
    const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
    return {rects, rects + data->rdh.nCount};
}

HRGN RegionOfRects(const std::vector<RECT>& rects)
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    for (const RECT& r : rects) {
        HRGN piece = CreateRectRgn(r.left, r.top, r.right, r.bottom);
        CombineRgn(region, region, piece, RGN_OR);
        DeleteObject(piece);
    }
    return region;
}

std::string Describe(const std::vector<RECT>& rects)
{
    std::string text;
    for (const RECT& r : rects) {
        text += "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                std::to_string(r.right) + "," + std::to_string(r.bottom) + ") ";
    }
    return text.empty() ? "(none)" : text;
}

void ExpectRects(HRGN region, const std::vector<RECT>& expected)
{
    const std::vector<RECT> actual = RegionRects(region);
    bool same = actual.size() == expected.size();
    for (size_t i = 0; same && i < actual.size(); ++i) same = EqualRect(&actual[i], &expected[i]);
    EXPECT_TRUE(same) << "got " << Describe(actual) << "expected " << Describe(expected);
}

void ExpectSameRegion(HRGN region, const std::vector<RECT>& rects)
{
    HRGN reference = RegionOfRects(rects);
    EXPECT_TRUE(EqualRgn(region, reference));
    DeleteObject(reference);
}

// The runs of '#' in each row of a text mask, as one-pixel-high rectangles.
std::vector<RECT> RunsOfMask(const std::vector<std::string>& rows)
{
    std::vector<RECT> rects;
    for (size_t y = 0; y < rows.size(); ++y) {
        const std::string& row = rows[y];
        for (size_t x = 0; x < row.size();) {
            if (row[x] != '#') { ++x; continue; }
            const size_t left = x;
            while (x < row.size() && row[x] == '#') ++x;
            rects.push_back({LONG(left), LONG(y), LONG(x), LONG(y + 1)});
        }
    }
    return rects;
}

// A 24-bit picture whose '#' pixels are opaque and '.' pixels magenta.
BmpImage MaskBmp(const std::vector<std::string>& rows)
{
    BmpImage image = SolidBmp(int(rows[0].size()), int(rows.size()), MAGENTA_PIXEL);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (rows[y][x] == '#') image.At(x, y) = OPAQUE_PIXEL;
        }
    }
    return image;
}

// A checkerboard: in row y the pixels with x + y even are opaque.
BmpImage CheckerBmp(int width, int height)
{
    BmpImage image = SolidBmp(width, height, MAGENTA_PIXEL);
    for (int y = 0; y < height; ++y) {
        for (int x = (y % 2); x < width; x += 2) image.At(x, y) = OPAQUE_PIXEL;
    }
    return image;
}

std::vector<RECT> CheckerRects(int width, int height)
{
    std::vector<RECT> rects;
    for (LONG y = 0; y < height; ++y) {
        for (LONG x = (y % 2); x < width; x += 2) rects.push_back({x, y, x + 1, y + 1});
    }
    return rects;
}

HRGN RegionOfPicture(const std::string& name, const BmpImage& image, COLORREF colour,
                     std::uint8_t tolerance)
{
    EXPECT_TRUE(WriteBmp(name, image));
    return BitmapToRegion(name.c_str(), colour, tolerance);
}

// ---------------------------------------------------------------- transparent-colour bounds

struct BoundsCase {
    const char* name;
    COLORREF colour;
    std::uint8_t tolerance;
    TransparentBounds expected;
};

TEST(TransparentBoundsTest, ExtendUpwardsOnlyAndCapAt255)
{
    const BoundsCase cases[] = {
        {"magenta, tolerance 1", RGB(255, 0, 255), 1, {255, 0, 255, 255, 1, 255}},
        {"tolerance 0 is the colour itself", RGB(10, 20, 30), 0, {10, 20, 30, 10, 20, 30}},
        {"250 + 10 caps at 255", RGB(250, 0, 0), 10, {250, 0, 0, 255, 10, 10}},
        {"tolerance 255 from black", RGB(0, 0, 0), 255, {0, 0, 0, 255, 255, 255}},
        {"high byte of the colour ignored", 0xAB00FF00, 2, {0, 255, 0, 2, 255, 2}},
    };
    for (const BoundsCase& c : cases) {
        const TransparentBounds b = MakeTransparentBounds(c.colour, c.tolerance);
        const TransparentBounds& e = c.expected;
        EXPECT_EQ(std::vector<int>({b.lowRed, b.lowGreen, b.lowBlue, b.highRed, b.highGreen,
                                    b.highBlue}),
                  std::vector<int>({e.lowRed, e.lowGreen, e.lowBlue, e.highRed, e.highGreen,
                                    e.highBlue}))
            << c.name;
    }
}

TEST(TransparentBoundsTest, PixelWordsAreBlueGreenRedFromTheLowByte)
{
    const TransparentBounds magenta = MakeTransparentBounds(RGB(255, 0, 255), 1);
    const struct {
        std::uint32_t pixel;
        bool transparent;
    } cases[] = {
        {0x00FF00FF, true},  {0x00FF01FF, true},  {0x00FF02FF, false}, {0x00FE00FF, false},
        {0x00FF00FE, false}, {0xFFFF00FF, true},  {0x0000FF00, false}, {0x00000000, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsTransparentPixel(c.pixel, magenta), c.transparent) << std::hex << c.pixel;
    }
}

// ---------------------------------------------------------------- the row scan

std::vector<std::uint32_t> RowOfMask(const std::string& mask)
{
    std::vector<std::uint32_t> row;
    for (char c : mask) row.push_back(c == '#' ? 0x00204060u : 0x00FF00FFu);
    return row;
}

TEST(OpaqueRunTest, FindsEveryRunOfARowOnce)
{
    const TransparentBounds magenta = MakeTransparentBounds(RGB(255, 0, 255), 0);
    const struct {
        const char* mask;
        std::vector<std::pair<int, int>> runs;
    } cases[] = {
        {"#######", {{0, 7}}},
        {"...#....", {{3, 4}}},
        {"#.#.#", {{0, 1}, {2, 3}, {4, 5}}},
        {"..###", {{2, 5}}},
        {"###..", {{0, 3}}},
        {".##..##.", {{1, 3}, {5, 7}}},
        {"......", {}},
        {"#", {{0, 1}}},
        {".", {}},
        {"", {}},
    };
    for (const auto& c : cases) {
        const std::vector<std::uint32_t> row = RowOfMask(c.mask);
        std::vector<std::pair<int, int>> runs;
        std::int32_t x = 0, left = -1, right = -1;
        while (NextOpaqueRun(row.data(), std::int32_t(row.size()), magenta, x, left, right)) {
            runs.emplace_back(left, right);
        }
        EXPECT_EQ(runs, c.runs) << c.mask;
    }
}

// ---------------------------------------------------------------- regions from files

class BitmapToRegionTest : public testing::Test {};

struct ToleranceCase {
    const char* name;
    COLORREF colour;
    std::uint8_t tolerance;
    std::vector<std::uint32_t> pixels; // one row, 0xRRGGBB
    const char* mask;                  // '#' opaque, '.' transparent
};

const ToleranceCase TOLERANCE_CASES[] = {
    {"magenta with tolerance 1",
     RGB(255, 0, 255),
     1,
     {0xFF00FF, 0xFF01FF, 0xFF02FF, 0xFE00FF, 0xFF00FE, 0xFE01FE, 0x000000},
     "..#####"},
    {"tolerance 0: the exact colour only", RGB(255, 0, 255), 0, {0xFF00FF, 0xFF01FF, 0xFF00FF},
     ".#."},
    {"250 + 10 is capped at 255, not wrapped",
     RGB(250, 0, 0),
     10,
     {0xFA0000, 0xFF0000, 0xFF0A00, 0xFF0B00, 0xF90000},
     "...##"},
    {"a darker channel is never transparent",
     RGB(255, 1, 255),
     5,
     {0xFF00FF, 0xFF01FF, 0xFF06FF, 0xFF07FF, 0xFF01FE},
     "#..##"},
    {"tolerance 255 from mid grey",
     RGB(128, 128, 128),
     255,
     {0x808080, 0xFFFFFF, 0x7F8080, 0x80807F, 0x808080},
     "..##."},
};

TEST_F(BitmapToRegionTest, ToleranceCasesIn24And32AndIndexedFiles)
{
    for (const ToleranceCase& c : TOLERANCE_CASES) {
        for (int bits : {24, 32, 8}) {
            SCOPED_TRACE(std::string(c.name) + ", " + std::to_string(bits) + " bits");
            BmpImage image;
            image.width = int(c.pixels.size());
            image.height = 1;
            image.bitsPerPixel = bits;
            if (bits == 8) {
                image.colourTable = c.pixels;
                for (size_t i = 0; i < c.pixels.size(); ++i) image.pixels.push_back(i);
            } else {
                image.pixels = c.pixels;
            }
            HRGN region = RegionOfPicture("tolerance.bmp", image, c.colour, c.tolerance);
            ASSERT_NE(region, nullptr);
            ExpectRects(region, RunsOfMask({c.mask}));
            DeleteObject(region);
        }
    }
}

struct ShapeCase {
    const char* name;
    std::vector<std::string> mask;
    std::vector<RECT> rects; // as GetRegionData reports them
};

const ShapeCase SHAPE_CASES[] = {
    {"a full opaque row is one rectangle", {"#######"}, {{0, 0, 7, 1}}},
    {"a single pixel at (3, 0)", {"...#....", "........", "........", "........"},
     {{3, 0, 4, 1}}},
    {"the top row of the picture is y = 0", {"#####", ".....", ".....", "....."},
     {{0, 0, 5, 1}}},
    {"the bottom row of the picture is the last", {".....", ".....", ".....", "#####"},
     {{0, 3, 5, 4}}},
    {"runs reaching the right edge", {"..###", "#...#"},
     {{2, 0, 5, 1}, {0, 1, 1, 2}, {4, 1, 5, 2}}},
    {"a fully opaque picture is its rectangle", {"####", "####", "####"}, {{0, 0, 4, 3}}},
    {"an odd width (rows padded in the file)", {"#.#", ".#.", "#.#"},
     {{0, 0, 1, 1}, {2, 0, 3, 1}, {1, 1, 2, 2}, {0, 2, 1, 3}, {2, 2, 3, 3}}},
};

void ExpectShapes(bool topDown)
{
    for (const ShapeCase& c : SHAPE_CASES) {
        SCOPED_TRACE(c.name);
        BmpImage image = MaskBmp(c.mask);
        image.topDown = topDown;
        HRGN region = RegionOfPicture("shape.bmp", image, MAGENTA, 1);
        ASSERT_NE(region, nullptr);
        ExpectRects(region, c.rects);
        ExpectSameRegion(region, RunsOfMask(c.mask));
        DeleteObject(region);
    }
}

// Wine's loader leaves the pixels of top-down files blank; Windows loads them.
bool PlatformLoadsTopDownFiles()
{
    BmpImage image = SolidBmp(1, 1, 0xFFFFFF);
    image.topDown = true;
    WriteBmp("probe.bmp", image);
    auto bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, "probe.bmp", IMAGE_BITMAP, 0, 0,
                                                  LR_CREATEDIBSECTION | LR_LOADFROMFILE));
    DIBSECTION section = {};
    const bool loaded = bitmap && GetObjectA(bitmap, sizeof section, &section) &&
                        static_cast<const std::uint8_t*>(section.dsBm.bmBits)[0] == 0xFF;
    if (bitmap) DeleteObject(bitmap);
    return loaded;
}

TEST_F(BitmapToRegionTest, ShapesGiveTheirRectanglesWithTheTopRowAtZero)
{
    ExpectShapes(false);
}

TEST_F(BitmapToRegionTest, TopDownFilesGiveTheSameShapes)
{
    if (!PlatformLoadsTopDownFiles()) GTEST_SKIP() << "this platform loads top-down files blank";
    ExpectShapes(true);
}

// Rectangles reach the platform in batches of 2000: counts around and across the batch size
// must all arrive.
TEST_F(BitmapToRegionTest, ManyRectanglesAcrossBatchesAllArrive)
{
    const struct {
        int width, height;
        size_t rects;
    } cases[] = {
        {2, 1999, 1999}, {200, 20, 2000}, {2, 2001, 2001}, {2, 4000, 4000}, {320, 60, 9600},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        const std::vector<RECT> expected = CheckerRects(c.width, c.height);
        ASSERT_EQ(expected.size(), c.rects);
        HRGN region = RegionOfPicture("checker.bmp", CheckerBmp(c.width, c.height), MAGENTA, 1);
        ASSERT_NE(region, nullptr);
        EXPECT_EQ(RegionRects(region).size(), c.rects);
        ExpectSameRegion(region, expected);
        RECT box;
        EXPECT_EQ(GetRgnBox(region, &box), COMPLEXREGION);
        EXPECT_EQ(box.right, c.width);
        EXPECT_EQ(box.bottom, c.height);
        DeleteObject(region);
    }
}

TEST_F(BitmapToRegionTest, AllTransparentGivesAnEmptyRegionNotNone)
{
    for (bool large : {false, true}) {
        const BmpImage image = large ? SolidBmp(300, 300, 0xFF01FF) : SolidBmp(6, 3, MAGENTA_PIXEL);
        HRGN region = RegionOfPicture("clear.bmp", image, MAGENTA, 1);
        ASSERT_NE(region, nullptr);
        EXPECT_EQ(GetObjectType(region), DWORD(OBJ_REGION));
        RECT box;
        EXPECT_EQ(GetRgnBox(region, &box), NULLREGION);
        EXPECT_TRUE(RegionRects(region).empty());
        DeleteObject(region);
    }
}

TEST_F(BitmapToRegionTest, FilesThatDoNotLoadGiveNoRegion)
{
    ASSERT_TRUE(WriteBmp("valid.bmp", SolidBmp(4, 4, OPAQUE_PIXEL)));
    const std::vector<std::uint8_t> valid = TestSupport::ReadFileBytes("valid.bmp");
    ASSERT_TRUE(TestSupport::WriteFileBytes("truncated.bmp", {valid.begin(), valid.begin() + 40}));
    ASSERT_TRUE(TestSupport::WriteTextFile("text.bmp", "not a bitmap at all\n"));
    for (const char* name : {"missing.bmp", "", ".", "truncated.bmp", "text.bmp"}) {
        EXPECT_EQ(BitmapToRegion(name, MAGENTA, 1), nullptr) << '"' << name << '"';
    }
    EXPECT_EQ(BitmapToRegion(nullptr, MAGENTA, 1), nullptr);
}

// ---------------------------------------------------------------- the BMP suite

struct FileHeader {
    LONG width = 0, height = 0;
    int bits = 0;
    bool indexed = false;
    std::vector<std::uint32_t> colourTable; // 0xRRGGBB
};

std::uint32_t Read32(const std::vector<std::uint8_t>& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}

// Reads the header and colour table of a file with a Windows header (40 bytes or more).
bool ReadFileHeader(const std::string& path, FileHeader& header)
{
    const std::vector<std::uint8_t> b = TestSupport::ReadFileBytes(path);
    if (b.size() < 54) return false;
    const std::uint32_t headerSize = Read32(b, 14);
    if (headerSize < 40) return false;
    header.width = LONG(Read32(b, 18));
    header.height = std::abs(LONG(Read32(b, 22)));
    header.bits = b[28] | (b[29] << 8);
    header.indexed = header.bits <= 8;
    if (!header.indexed) return true;
    std::uint32_t used = Read32(b, 46);
    if (used == 0 || used > (1u << header.bits)) used = 1u << header.bits;
    for (std::uint32_t i = 0; i < used; ++i) {
        const size_t at = 14 + headerSize + 4 * i;
        if (at + 3 > b.size()) break;
        header.colourTable.push_back((b[at + 2] << 16) | (b[at + 1] << 8) | b[at]);
    }
    return true;
}

// The picture as 0xRRGGBB pixels from the top row, read by GDI itself.
std::vector<std::uint32_t> PixelsOf(HBITMAP bitmap, LONG width, LONG height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<std::uint32_t> pixels(size_t(width) * height);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    for (auto& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

// The region every pixel of the picture outside [colour, colour + tolerance] would give,
// computed pixel by pixel.
std::vector<RECT> OpaquePixels(const std::vector<std::uint32_t>& pixels, LONG width,
                               LONG height, COLORREF colour, int tolerance)
{
    const auto inside = [tolerance](int value, int low) {
        return value >= low && value <= std::min(255, low + tolerance);
    };
    std::vector<RECT> rects;
    for (LONG y = 0; y < height; ++y) {
        for (LONG x = 0; x < width; ++x) {
            const std::uint32_t p = pixels[size_t(y) * width + x];
            const bool clear = inside((p >> 16) & 0xFF, GetRValue(colour)) &&
                               inside((p >> 8) & 0xFF, GetGValue(colour)) &&
                               inside(p & 0xFF, GetBValue(colour));
            if (!clear) rects.push_back({x, y, x + 1, y + 1});
        }
    }
    return rects;
}

std::vector<std::string> SuiteFiles(const char* folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((BMPSUITE + "/" + folder + "/*.bmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(BMPSUITE + "/" + folder + "/" + found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(BitmapToRegionTest, GoodSuiteFilesGiveTheShapeOfTheirPixels)
{
    if (!HaveBmpSuite()) GTEST_SKIP() << "BMP test suite not found at " << BMPSUITE;
    const std::vector<std::string> files = SuiteFiles("g");
    ASSERT_FALSE(files.empty());
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        HPALETTE palette = nullptr;
        HBITMAP bitmap = LoadBMPFromFile(file.c_str(), palette);
        if (!bitmap) continue; // loading itself is checked by the palette tests
        BITMAP info = {};
        GetObjectA(bitmap, sizeof info, &info);
        const std::vector<std::uint32_t> pixels = PixelsOf(bitmap, info.bmWidth, info.bmHeight);
        // The top-left pixel's colour is transparent, so every file gets a real shape.
        const std::uint32_t corner = pixels[0];
        const COLORREF colour = RGB((corner >> 16) & 0xFF, (corner >> 8) & 0xFF, corner & 0xFF);
        for (int tolerance : {0, 40}) {
            HRGN region = BitmapToRegion(file.c_str(), colour, std::uint8_t(tolerance));
            ASSERT_NE(region, nullptr);
            EXPECT_FALSE(PtInRegion(region, 0, 0));
            ExpectSameRegion(region, OpaquePixels(pixels, info.bmWidth, info.bmHeight, colour,
                                                  tolerance));
            DeleteObject(region);
        }
        DeleteObject(bitmap);
        DeleteObject(palette);
    }
}

TEST_F(BitmapToRegionTest, BadAndQuestionableSuiteFilesFailCleanlyOrLoad)
{
    if (!HaveBmpSuite()) GTEST_SKIP() << "BMP test suite not found at " << BMPSUITE;
    for (const char* folder : {"b", "q"}) {
        for (const std::string& file : SuiteFiles(folder)) {
            SCOPED_TRACE(file);
            HPALETTE palette = nullptr;
            HBITMAP bitmap = LoadBMPFromFile(file.c_str(), palette);
            HRGN region = BitmapToRegion(file.c_str(), MAGENTA, 1);
            if (bitmap) {
                EXPECT_EQ(GetObjectType(region), DWORD(OBJ_REGION));
                DeleteObject(bitmap);
                DeleteObject(palette);
            } else {
                EXPECT_EQ(region, nullptr);
            }
            if (region) DeleteObject(region);
        }
    }
}

// ---------------------------------------------------------------- files cut short

std::vector<std::uint8_t> BytesOf(const BmpImage& image)
{
    EXPECT_TRUE(WriteBmp("bytes.bmp", image));
    return TestSupport::ReadFileBytes("bytes.bmp");
}

void Store32(std::vector<std::uint8_t>& bytes, size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) bytes[at + i] = (value >> (8 * i)) & 0xFF;
}

TEST(BmpFileHeaderTest, TellsWholeFilesFromCutOrForeignOnesAndSpotsTopDownRows)
{
    BmpImage indexed = SolidBmp(5, 3, 1);
    indexed.bitsPerPixel = 4;
    indexed.colourTable = {0x000000, 0xFFFFFF};
    BmpImage topDownImage = SolidBmp(5, 3, 0x123456);
    topDownImage.topDown = true;
    const std::vector<std::uint8_t> rgb = BytesOf(SolidBmp(5, 3, 0x123456));
    const std::vector<std::uint8_t> pal = BytesOf(indexed);
    const std::vector<std::uint8_t> topDown = BytesOf(topDownImage);

    std::vector<std::uint8_t> notBmp = rgb;
    notBmp[0] = 'X';
    std::vector<std::uint8_t> rle = rgb; // compressed: rows of no fixed length
    Store32(rle, 30, BI_RLE8);
    std::vector<std::uint8_t> huge = rgb; // 2^31 - 1 square: must not overflow into "fits"
    Store32(huge, 18, 0x7FFFFFFF);
    Store32(huge, 22, 0x7FFFFFFF);
    std::vector<std::uint8_t> topDownHuge = huge;
    Store32(topDownHuge, 22, 0x80000001);
    std::vector<std::uint8_t> offsetPastEnd = rgb;
    Store32(offsetPastEnd, 10, 100000);
    std::vector<std::uint8_t> shortHeader = rgb;
    Store32(shortHeader, 14, 8);
    // The old 12-byte header with 16-bit sizes: 2 x 2 pixels of 24 bits.
    std::vector<std::uint8_t> core = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 26, 0, 0, 0, 12, 0, 0, 0,
                                      2,   0,   2, 0, 1, 0, 24, 0};
    core.resize(26 + 16);
    // The same header for one pixel: the whole file is shorter than a 40-byte header's start.
    std::vector<std::uint8_t> tinyCore = core;
    tinyCore[18] = tinyCore[20] = 1;
    tinyCore.resize(26 + 4);

    const struct {
        const char* name;
        const std::vector<std::uint8_t>& bytes;
        size_t length;
        bool complete;
        bool topDown;
    } cases[] = {
        {"whole 24-bit file", rgb, rgb.size(), true, false},
        {"24-bit file one byte short", rgb, rgb.size() - 1, false, false},
        {"headers only", rgb, 54, false, false},
        {"cut inside the header", rgb, 30, false, false},
        {"whole 4-bit file", pal, pal.size(), true, false},
        {"4-bit file one byte short", pal, pal.size() - 1, false, false},
        {"whole top-down file", topDown, topDown.size(), true, true},
        {"top-down file one byte short", topDown, topDown.size() - 1, false, true},
        {"not a BMP", notBmp, notBmp.size(), false, false},
        {"compressed, data not checked", rle, 54, true, false},
        {"huge picture in a small file", huge, huge.size(), false, false},
        {"huge top-down picture in a small file", topDownHuge, topDownHuge.size(), false, true},
        {"data offset past the end", offsetPastEnd, offsetPastEnd.size(), false, false},
        {"header size too small", shortHeader, shortHeader.size(), false, false},
        {"whole file with the old header", core, core.size(), true, false},
        {"old header, one byte short", core, core.size() - 1, false, false},
        {"one pixel with the old header", tinyCore, tinyCore.size(), true, false},
        {"one pixel with the old header, cut in its pixel", tinyCore, 27, false, false},
    };
    for (const auto& c : cases) {
        const BmpHeaderFacts facts =
            ReadBmpHeaders(c.bytes.data(), std::min(c.length, c.bytes.size()), c.length);
        EXPECT_EQ(facts.Complete, c.complete) << c.name;
        EXPECT_EQ(facts.TopDown, c.topDown) << c.name;
    }
}

// ---------------------------------------------------------------- palettes

std::vector<PALETTEENTRY> EntriesOf(HPALETTE palette)
{
    WORD count = 0;
    GetObjectA(palette, sizeof count, &count);
    std::vector<PALETTEENTRY> entries(count);
    if (count) GetPaletteEntries(palette, 0, count, entries.data());
    return entries;
}

std::uint32_t RgbOf(const PALETTEENTRY& e) { return (e.peRed << 16) | (e.peGreen << 8) | e.peBlue; }

std::vector<PALETTEENTRY> HalftoneEntries()
{
    HDC screen = GetDC(nullptr);
    HPALETTE halftone = CreateHalftonePalette(screen);
    ReleaseDC(nullptr, screen);
    std::vector<PALETTEENTRY> entries = EntriesOf(halftone);
    DeleteObject(halftone);
    return entries;
}

bool SameEntries(const std::vector<PALETTEENTRY>& a, const std::vector<PALETTEENTRY>& b)
{
    return a.size() == b.size() &&
           std::memcmp(a.data(), b.data(), a.size() * sizeof(PALETTEENTRY)) == 0;
}

// The colour-table entries are 256 and start with the table's colours; the rest are black.
void ExpectTablePalette(HPALETTE palette, const std::vector<std::uint32_t>& table)
{
    const std::vector<PALETTEENTRY> entries = EntriesOf(palette);
    ASSERT_EQ(entries.size(), 256u);
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::uint32_t expected = i < table.size() ? table[i] : 0;
        EXPECT_EQ(RgbOf(entries[i]), expected) << "entry " << i;
        EXPECT_EQ(entries[i].peFlags, 0) << "entry " << i;
    }
}

std::vector<std::uint32_t> DistinctColours(size_t count)
{
    std::vector<std::uint32_t> colours;
    for (std::uint32_t i = 0; i < count; ++i) {
        colours.push_back(((i * 37 + 11) % 256) << 16 | ((255 - i) << 8) | ((i * 91 + 3) % 256));
    }
    return colours;
}

TEST(LoadBMPFromFileTest, IndexedBitmapsGetTheirColourTable)
{
    const struct {
        int bits;
        size_t tableSize;
    } cases[] = {{1, 2}, {4, 16}, {4, 5}, {8, 256}, {8, 100}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits, " + std::to_string(c.tableSize) +
                     " colours");
        BmpImage image;
        image.width = 9;
        image.height = 3;
        image.bitsPerPixel = c.bits;
        image.colourTable = DistinctColours(c.tableSize);
        for (int i = 0; i < image.width * image.height; ++i) image.pixels.push_back(i % c.tableSize);
        ASSERT_TRUE(WriteBmp("indexed.bmp", image));
        HPALETTE palette = nullptr;
        HBITMAP bitmap = LoadBMPFromFile("indexed.bmp", palette);
        ASSERT_NE(bitmap, nullptr);
        ASSERT_EQ(GetObjectType(palette), DWORD(OBJ_PAL));
        ExpectTablePalette(palette, image.colourTable);
        BITMAP info = {};
        ASSERT_TRUE(GetObjectA(bitmap, sizeof info, &info));
        EXPECT_EQ(info.bmWidth, 9);
        EXPECT_EQ(info.bmHeight, 3);
        EXPECT_EQ(info.bmBitsPixel, c.bits);
        DeleteObject(bitmap);
        DeleteObject(palette);
    }
}

TEST(LoadBMPFromFileTest, DirectColourBitmapsGetAHalftonePalette)
{
    const std::vector<PALETTEENTRY> halftone = HalftoneEntries();
    ASSERT_FALSE(halftone.empty());
    for (int bits : {24, 32}) {
        BmpImage image = SolidBmp(5, 5, 0x123456);
        image.bitsPerPixel = bits;
        ASSERT_TRUE(WriteBmp("direct.bmp", image));
        HPALETTE palette = nullptr;
        HBITMAP bitmap = LoadBMPFromFile("direct.bmp", palette);
        ASSERT_NE(bitmap, nullptr) << bits;
        EXPECT_TRUE(SameEntries(EntriesOf(palette), halftone)) << bits;
        DIBSECTION section = {};
        EXPECT_EQ(GetObjectA(bitmap, sizeof section, &section), int(sizeof section))
            << "loaded as a device-independent section";
        EXPECT_EQ(section.dsBm.bmBitsPixel, bits);
        DeleteObject(bitmap);
        DeleteObject(palette);
    }
}

TEST(LoadBMPFromFileTest, FailureLeavesThePaletteArgumentAlone)
{
    ASSERT_TRUE(WriteBmp("whole.bmp", SolidBmp(4, 4, OPAQUE_PIXEL)));
    const std::vector<std::uint8_t> whole = TestSupport::ReadFileBytes("whole.bmp");
    ASSERT_TRUE(TestSupport::WriteFileBytes("cut.bmp", {whole.begin(), whole.begin() + 30}));

    HDC screen = GetDC(nullptr);
    HPALETTE sentinel = CreateHalftonePalette(screen);
    ReleaseDC(nullptr, screen);
    for (const char* name : {"missing.bmp", "", ".", "cut.bmp"}) {
        HPALETTE palette = sentinel;
        EXPECT_EQ(LoadBMPFromFile(name, palette), nullptr) << '"' << name << '"';
        EXPECT_EQ(palette, sentinel) << '"' << name << '"';
    }
    if (HaveBmpSuite()) {
        for (const char* name : {"shortfile.bmp"}) {
            const std::string path = BMPSUITE + "/b/" + name;
            HPALETTE palette = sentinel;
            EXPECT_EQ(LoadBMPFromFile(path.c_str(), palette), nullptr) << path;
            EXPECT_EQ(palette, sentinel) << path;
        }
    }
    HPALETTE palette = sentinel;
    EXPECT_EQ(LoadBMPFromFile(nullptr, palette), nullptr);
    EXPECT_EQ(palette, sentinel);
    EXPECT_EQ(GetObjectType(sentinel), DWORD(OBJ_PAL));
    DeleteObject(sentinel);
}

TEST(LoadBMPFromFileTest, SuiteFilesLoadWithTheirSizeDepthAndPalette)
{
    if (!HaveBmpSuite()) GTEST_SKIP() << "BMP test suite not found at " << BMPSUITE;
    const std::vector<PALETTEENTRY> halftone = HalftoneEntries();
    int loaded = 0;
    for (const std::string& file : SuiteFiles("g")) {
        SCOPED_TRACE(file);
        FileHeader header;
        const bool windowsHeader = ReadFileHeader(file, header);
        HPALETTE palette = nullptr;
        HBITMAP bitmap = LoadBMPFromFile(file.c_str(), palette);
        if (!bitmap) {
            ADD_FAILURE() << "a good file did not load";
            continue;
        }
        ++loaded;
        BITMAP info = {};
        ASSERT_TRUE(GetObjectA(bitmap, sizeof info, &info));
        ASSERT_NE(palette, nullptr);
        if (windowsHeader) {
            EXPECT_EQ(info.bmWidth, header.width);
            EXPECT_EQ(info.bmHeight, header.height);
            if (header.indexed) {
                ExpectTablePalette(palette, header.colourTable);
            } else {
                EXPECT_TRUE(SameEntries(EntriesOf(palette), halftone));
            }
        }
        DeleteObject(bitmap);
        DeleteObject(palette);
    }
    EXPECT_GT(loaded, 0);
}

} // namespace
