// Checked loading of 24-bit bitmap files into packed pixel buffers, shared by the terrain
// texture and the terrain mesh builders.
#pragma once

#include "tarvik/tarvik.h"

#include <cstdint>
#include <vector>

namespace Tarvik {

// A picture as the pixel functions expect it: 3 bytes a pixel in red-green-blue order, rows one
// after another with no padding, row 0 the bottom row of the picture.
struct PackedImage {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::vector<std::uint8_t> Pixels;
};

// True only for an existing file (not a directory).
bool FileExists(const char* FileName);

// Loads a 24-bit bitmap file as a device-independent bitmap, copies its rows (with the bitmap's
// own row stride, bottom row first) into Image and swaps them to red-green-blue. The platform
// bitmap is released before returning. False, with Image left as it was, when the file cannot be
// loaded, is cut short, is not 24 bits a pixel, is empty, or stores its rows top-down.
bool LoadPackedBitmap24(const char* FileName, PackedImage& Image);

} // namespace Tarvik
