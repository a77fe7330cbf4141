#include "support/bmp_writer.h"

#include "tarvik/platform.h"

#include <algorithm>
#include <cstdio>
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

std::uint32_t Get16(const std::vector<std::uint8_t>& in, std::size_t at)
{
    return in[at] | std::uint32_t(in[at + 1]) << 8;
}

std::uint32_t Get32(const std::vector<std::uint8_t>& in, std::size_t at)
{
    return Get16(in, at) | Get16(in, at + 2) << 16;
}

std::size_t RowBytes(int width, int bitsPerPixel)
{
    return (static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32 * 4;
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

// The same picture listed top row first as 0xRRGGBB values.
BmpImage AsBmpImage(const RgbPicture& picture, bool topDown)
{
    BmpImage image = SolidBmp(picture.width, picture.height, 0);
    image.topDown = topDown;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* p = picture.At(x, picture.height - 1 - y);
            image.At(x, y) = std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2];
        }
    }
    return image;
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
    const auto rowBytes = static_cast<std::uint32_t>(RowBytes(image.width, image.bitsPerPixel));
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
    return WriteFileBytes(path, out);
}

RgbPicture::RgbPicture(int w, int h, std::uint8_t r, std::uint8_t g, std::uint8_t b)
    : width(w), height(h), rgb(std::size_t(w) * std::size_t(h) * 3)
{
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = r;
        rgb[i + 1] = g;
        rgb[i + 2] = b;
    }
}

void RgbPicture::Set(int column, int row, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    std::uint8_t* p = &rgb[(std::size_t(row) * width + column) * 3];
    p[0] = r;
    p[1] = g;
    p[2] = b;
}

const std::uint8_t* RgbPicture::At(int column, int row) const
{
    return &rgb[(std::size_t(row) * width + column) * 3];
}

bool WriteBmp24(const std::string& path, const RgbPicture& picture, bool topDown)
{
    return WriteBmp(path, AsBmpImage(picture, topDown));
}

bool ReadBmp24(const std::string& path, RgbPicture& picture)
{
    const std::vector<std::uint8_t> in = ReadFileBytes(path);
    if (in.size() < 54 || in[0] != 'B' || in[1] != 'M') return false;
    const std::uint32_t offset = Get32(in, 10);
    const int width = int(Get32(in, 18));
    const int height = int(Get32(in, 22));
    if (Get16(in, 28) != 24 || Get32(in, 30) != 0 || width <= 0 || height == 0) return false;
    const bool topDown = height < 0;
    const int rows = topDown ? -height : height;
    const std::size_t stride = RowBytes(width, 24);
    if (in.size() < offset + stride * std::size_t(rows)) return false;
    picture = RgbPicture(width, rows);
    for (int fileRow = 0; fileRow < rows; ++fileRow) {
        const int row = topDown ? rows - 1 - fileRow : fileRow;
        const std::size_t start = offset + stride * std::size_t(fileRow);
        for (int column = 0; column < width; ++column) {
            const std::size_t p = start + std::size_t(column) * 3;
            picture.Set(column, row, in[p + 2], in[p + 1], in[p]);
        }
    }
    return true;
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

bool WriteTextFile(const std::string& path, const std::string& text)
{
    return WriteFileBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::string SuiteFile(const std::string& relative)
{
    return std::string(TARVIK_TESTDATA_DIR) + "/bmpsuite/" + relative;
}

bool SuitePresent()
{
    const DWORD attributes = GetFileAttributesA(SuiteFile("g/rgb24.bmp").c_str());
    return attributes != INVALID_FILE_ATTRIBUTES;
}

} // namespace TestSupport
