// Reading a BMP file's file and info headers with plain file access, no platform call.
#include "bmp_file_header.h"

#include <cstdlib>
#include <fstream>

namespace Tarvik {

namespace {

constexpr std::uint64_t FILE_HEADER = 14;
constexpr std::uint32_t CORE_HEADER = 12; // the old header with 16-bit sizes and no sign
constexpr std::size_t CORE_HEAD_BYTES = FILE_HEADER + CORE_HEADER;
constexpr std::uint32_t UNCOMPRESSED = 0, BIT_FIELDS = 3, ALPHA_BIT_FIELDS = 6;

struct PictureSize {
    std::uint64_t Width, Height, Bits;
    std::uint32_t Compression;
    bool TopDown;
};

std::uint32_t Read16(const std::uint8_t* at) { return std::uint32_t(at[0] | at[1] << 8); }

std::uint32_t Read32(const std::uint8_t* at) { return Read16(at) | Read16(at + 2) << 16; }

PictureSize SizeFromInfoHeader(const std::uint8_t* head, std::uint32_t infoSize)
{
    if (infoSize == CORE_HEADER)
        return {Read16(head + 18), Read16(head + 20), Read16(head + 24), UNCOMPRESSED, false};
    const auto width = std::int32_t(Read32(head + 18));
    const auto height = std::int32_t(Read32(head + 22));
    const std::uint32_t compression = infoSize >= 20 ? Read32(head + 30) : UNCOMPRESSED;
    return {std::uint64_t(std::llabs(width)), std::uint64_t(std::llabs(height)),
            Read16(head + 28), compression, height < 0};
}

// Compressed rows have no fixed length, so only the headers of such files are checked.
bool HoldsEveryRow(const PictureSize& size, std::uint64_t offset, std::uint64_t fileSize)
{
    if (size.Compression != UNCOMPRESSED && size.Compression != BIT_FIELDS &&
        size.Compression != ALPHA_BIT_FIELDS) {
        return true;
    }
    if (offset > fileSize) return false;
    const std::uint64_t rowBytes = (size.Width * size.Bits + 31) / 32 * 4; // below 2^45: no overflow
    return size.Height == 0 || rowBytes <= (fileSize - offset) / size.Height;
}

} // namespace

BmpHeaderFacts ReadBmpHeaders(const std::uint8_t* head, std::size_t headLength,
                              std::uint64_t fileSize)
{
    if (headLength < CORE_HEAD_BYTES || head[0] != 'B' || head[1] != 'M') return {};
    const std::uint32_t infoSize = Read32(head + 14);
    const std::size_t needed = infoSize == CORE_HEADER ? CORE_HEAD_BYTES : BMP_HEAD_BYTES;
    if (infoSize < CORE_HEADER || headLength < needed || fileSize < FILE_HEADER + infoSize)
        return {};
    const PictureSize size = SizeFromInfoHeader(head, infoSize);
    return {HoldsEveryRow(size, Read32(head + 10), fileSize), size.TopDown};
}

BmpHeaderFacts InspectBmpFile(const char* fileName)
{
    std::ifstream file(fileName, std::ios::binary | std::ios::ate);
    if (!file) return {};
    const std::streamoff size = file.tellg();
    std::uint8_t head[BMP_HEAD_BYTES] = {};
    file.seekg(0);
    file.read(reinterpret_cast<char*>(head), sizeof head);
    if (size <= 0) return {};
    return ReadBmpHeaders(head, static_cast<std::size_t>(file.gcount()),
                          static_cast<std::uint64_t>(size));
}

} // namespace Tarvik
