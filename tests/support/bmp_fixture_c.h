// Writes small BMP files for tests of bitmap loading, regions and image buttons.
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

// The bytes of a file (empty if it cannot be read).
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

} // namespace TestSupport
