// A cheap sanity check of a BMP file before the platform decodes it: the platform's loader
// accepts files cut short and fills the missing part with whatever follows in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace Tarvik {

// Bytes of a BMP file's start that BmpFileIsComplete needs to see.
constexpr std::size_t BMP_HEAD_BYTES = 34;

// True when the file, `fileSize` bytes long and starting with `head`, holds the headers it
// declares and, for uncompressed pictures, every row of pixels after its data offset.
inline bool BmpFileIsComplete(const std::uint8_t* head, std::size_t headLength,
                              std::uint64_t fileSize)
{
    const auto u16 = [head](std::size_t at) { return std::uint32_t(head[at] | head[at + 1] << 8); };
    const auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
    constexpr std::uint64_t FILE_HEADER = 14;
    constexpr std::uint32_t CORE_HEADER = 12; // the old header with 16-bit sizes
    constexpr std::uint32_t UNCOMPRESSED = 0, BIT_FIELDS = 3, ALPHA_BIT_FIELDS = 6;

    if (headLength < BMP_HEAD_BYTES || head[0] != 'B' || head[1] != 'M') return false;
    const std::uint32_t infoSize = u32(14);
    if (infoSize < CORE_HEADER || fileSize < FILE_HEADER + infoSize) return false;

    std::uint64_t width, height, bits;
    std::uint32_t compression = UNCOMPRESSED;
    if (infoSize == CORE_HEADER) {
        width = u16(18);
        height = u16(20);
        bits = u16(24);
    } else {
        width = std::llabs(std::int32_t(u32(18)));
        height = std::llabs(std::int32_t(u32(22)));
        bits = u16(28);
        if (infoSize >= 20) compression = u32(30);
    }
    if (compression != UNCOMPRESSED && compression != BIT_FIELDS &&
        compression != ALPHA_BIT_FIELDS) {
        return true; // compressed rows have no fixed length to check
    }
    const std::uint64_t offset = u32(10);
    if (offset > fileSize) return false;
    const std::uint64_t rowBytes = (width * bits + 31) / 32 * 4; // below 2^46: no overflow
    return height == 0 || rowBytes <= (fileSize - offset) / height;
}

} // namespace Tarvik
