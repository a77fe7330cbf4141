// The pixel side of cutting a region from a bitmap: transparent-colour bounds and the search for
// opaque runs in one row of 32-bit pixels. Plain values only, so it can be tested without GDI.
#pragma once

#include <algorithm>
#include <cstdint>

namespace Tarvik {

// Inclusive per-channel bounds of the colours treated as transparent.
struct TransparentBounds {
    std::uint8_t lowRed, lowGreen, lowBlue;
    std::uint8_t highRed, highGreen, highBlue;
};

// The tolerance extends the colour upwards only, each channel capped at 255.
// `colour` has red in bits 0-7, green in 8-15 and blue in 16-23 (a COLORREF).
inline TransparentBounds MakeTransparentBounds(std::uint32_t colour, std::uint8_t tolerance)
{
    const auto channel = [colour](int shift) {
        return static_cast<std::uint8_t>((colour >> shift) & 0xFF);
    };
    const auto raise = [tolerance](std::uint8_t low) {
        return static_cast<std::uint8_t>(std::min(255, int(low) + int(tolerance)));
    };
    const std::uint8_t red = channel(0), green = channel(8), blue = channel(16);
    return {red, green, blue, raise(red), raise(green), raise(blue)};
}

// `pixel` is a 32-bit DIB word: blue in bits 0-7, green in 8-15, red in 16-23.
inline bool IsTransparentPixel(std::uint32_t pixel, const TransparentBounds& b)
{
    const std::uint8_t red = (pixel >> 16) & 0xFF;
    const std::uint8_t green = (pixel >> 8) & 0xFF;
    const std::uint8_t blue = pixel & 0xFF;
    return red >= b.lowRed && red <= b.highRed && green >= b.lowGreen && green <= b.highGreen &&
           blue >= b.lowBlue && blue <= b.highBlue;
}

// Finds the next run of opaque pixels starting at or after `x`. On success the run is
// [runLeft, runRight) and `x` has moved past the transparent pixel (or edge) that ended it,
// so each pixel of the row is tested once.
inline bool NextOpaqueRun(const std::uint32_t* row, std::int32_t width,
                          const TransparentBounds& bounds, std::int32_t& x,
                          std::int32_t& runLeft, std::int32_t& runRight)
{
    while (x < width) {
        const std::int32_t left = x;
        while (x < width && !IsTransparentPixel(row[x], bounds)) ++x;
        const std::int32_t right = x;
        ++x;
        if (right > left) {
            runLeft = left;
            runRight = right;
            return true;
        }
    }
    return false;
}

} // namespace Tarvik
