#include "support/bmp_fixture_c.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace TestSupport {

namespace {

constexpr std::uint32_t FILE_HEADER_SIZE = 14;
constexpr std::uint32_t INFO_HEADER_SIZE = 40;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.push_back(value & 0xFF);
    out.push_back((value >> 8) & 0xFF);
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

std::uint32_t RowBytes(const BmpImage& image)
{
    return ((static_cast<std::uint32_t>(image.width) * image.bitsPerPixel + 31) / 32) * 4;
}

// Packs one picture row into `row` (already zeroed, RowBytes long).
void PackRow(const BmpImage& image, int y, std::uint8_t* row)
{
    const int bits = image.bitsPerPixel;
    for (int x = 0; x < image.width; ++x) {
        const std::uint32_t value = image.pixels[static_cast<size_t>(y) * image.width + x];
        if (bits >= 24) {
            std::uint8_t* p = row + x * (bits / 8);
            p[0] = value & 0xFF;         // blue
            p[1] = (value >> 8) & 0xFF;  // green
            p[2] = (value >> 16) & 0xFF; // red
        } else {
            const int perByte = 8 / bits;
            const int shift = 8 - bits * (x % perByte + 1);
            row[x / perByte] |= static_cast<std::uint8_t>((value & ((1u << bits) - 1)) << shift);
        }
    }
}

} // namespace

BmpImage SolidBmp(int width, int height, std::uint32_t colour)
{
    BmpImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<size_t>(width) * height, colour);
    return image;
}

bool WriteBmp(const std::string& path, const BmpImage& image)
{
    const std::uint32_t tableBytes = image.bitsPerPixel <= 8
                                         ? static_cast<std::uint32_t>(image.colourTable.size()) * 4
                                         : 0;
    const std::uint32_t rowBytes = RowBytes(image);
    const std::uint32_t imageBytes = rowBytes * image.height;
    const std::uint32_t offset = FILE_HEADER_SIZE + INFO_HEADER_SIZE + tableBytes;

    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + imageBytes);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, INFO_HEADER_SIZE);
    Put32(out, static_cast<std::uint32_t>(image.width));
    Put32(out, static_cast<std::uint32_t>(image.topDown ? -image.height : image.height));
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(image.bitsPerPixel));
    Put32(out, 0); // BI_RGB
    Put32(out, imageBytes);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, image.bitsPerPixel <= 8 ? static_cast<std::uint32_t>(image.colourTable.size()) : 0);
    Put32(out, 0);
    if (image.bitsPerPixel <= 8) {
        for (std::uint32_t colour : image.colourTable) Put32(out, colour & 0xFFFFFF);
    }
    std::vector<std::uint8_t> row(rowBytes);
    for (int i = 0; i < image.height; ++i) {
        const int y = image.topDown ? i : image.height - 1 - i;
        std::fill(row.begin(), row.end(), 0);
        PackRow(image, y, row.data());
        out.insert(out.end(), row.begin(), row.end());
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file);
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

} // namespace TestSupport
