// Small BMP files written by tests, an independent reader of 24-bit files to compare the
// library's loaders with, and the paths of the shared BMP suite.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace TestSupport {

// A picture to write as a BMP file. Pixels are listed from the top row down, left to right:
// 0xRRGGBB colours for 24 and 32 bits a pixel, colour-table indices for 1, 4 and 8.
struct BmpImage {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 24;                  // 1, 4, 8, 24 or 32
    bool topDown = false;                   // rows stored top row first (negative height)
    std::vector<std::uint32_t> colourTable; // 0xRRGGBB entries, for 1, 4 and 8 bits
    std::vector<std::uint32_t> pixels;

    std::uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
};

// A 24-bit picture filled with one colour.
BmpImage SolidBmp(int width, int height, std::uint32_t colour);

// Writes the picture as an uncompressed BMP file; false if the file cannot be written.
bool WriteBmp(const std::string& path, const BmpImage& image);

// A picture in the library's pixel order: red, green, blue, row 0 the bottom row.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    RgbPicture() = default;
    RgbPicture(int w, int h, std::uint8_t r = 0, std::uint8_t g = 0, std::uint8_t b = 0);
    void Set(int column, int row, std::uint8_t r, std::uint8_t g, std::uint8_t b);
    const std::uint8_t* At(int column, int row) const;
};

// Writes an uncompressed 24-bit bitmap (rows padded to 4 bytes), bottom-up unless topDown.
bool WriteBmp24(const std::string& path, const RgbPicture& picture, bool topDown = false);

// Reads an uncompressed 24-bit bitmap file by its headers alone (no platform call).
bool ReadBmp24(const std::string& path, RgbPicture& picture);

// The bytes of a file (empty if it cannot be read).
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

// Writes the bytes as the whole file; false if it cannot be written.
bool WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
bool WriteTextFile(const std::string& path, const std::string& text);

// A file of the shared BMP suite, e.g. SuiteFile("g/rgb24.bmp"), and whether the suite is there.
std::string SuiteFile(const std::string& relative);
bool SuitePresent();

} // namespace TestSupport
