#include "support/bmp_writer_b.h"

#include "tarvik/platform.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace TestSupport {

namespace {

void PutLittle(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out.push_back(std::uint8_t(value >> (8 * i)));
}

std::uint32_t GetLittle(const std::vector<std::uint8_t>& in, std::size_t at, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | in[at + std::size_t(i)];
    return value;
}

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

std::size_t Stride(int width) { return (std::size_t(width) * 3 + 3) & ~std::size_t(3); }

} // namespace

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
    const std::size_t stride = Stride(picture.width);
    const std::uint32_t pixelBytes = std::uint32_t(stride * std::size_t(picture.height));
    std::vector<std::uint8_t> out = {'B', 'M'};
    PutLittle(out, 54 + pixelBytes, 4);
    PutLittle(out, 0, 4);
    PutLittle(out, 54, 4);
    PutLittle(out, 40, 4);
    PutLittle(out, std::uint32_t(picture.width), 4);
    PutLittle(out, std::uint32_t(topDown ? -picture.height : picture.height), 4);
    PutLittle(out, 1, 2);
    PutLittle(out, 24, 2);
    PutLittle(out, 0, 4);
    PutLittle(out, pixelBytes, 4);
    PutLittle(out, 2835, 4);
    PutLittle(out, 2835, 4);
    PutLittle(out, 0, 4);
    PutLittle(out, 0, 4);
    for (int fileRow = 0; fileRow < picture.height; ++fileRow) {
        const int row = topDown ? picture.height - 1 - fileRow : fileRow;
        for (int column = 0; column < picture.width; ++column) {
            const std::uint8_t* p = picture.At(column, row);
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
        }
        for (std::size_t pad = std::size_t(picture.width) * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    return WriteBytes(path, out);
}

bool ReadBmp24(const std::string& path, RgbPicture& picture)
{
    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> in((std::istreambuf_iterator<char>(file)),
                                       std::istreambuf_iterator<char>());
    if (in.size() < 54 || in[0] != 'B' || in[1] != 'M') return false;
    const std::uint32_t offset = GetLittle(in, 10, 4);
    const int width = int(GetLittle(in, 18, 4));
    const int height = int(GetLittle(in, 22, 4));
    if (GetLittle(in, 28, 2) != 24 || GetLittle(in, 30, 4) != 0 || width <= 0 || height == 0)
        return false;
    const bool topDown = height < 0;
    const int rows = topDown ? -height : height;
    if (in.size() < offset + Stride(width) * std::size_t(rows)) return false;
    picture = RgbPicture(width, rows);
    for (int fileRow = 0; fileRow < rows; ++fileRow) {
        const int row = topDown ? rows - 1 - fileRow : fileRow;
        const std::size_t start = offset + Stride(width) * std::size_t(fileRow);
        for (int column = 0; column < width; ++column) {
            const std::size_t p = start + std::size_t(column) * 3;
            picture.Set(column, row, in[p + 2], in[p + 1], in[p]);
        }
    }
    return true;
}

bool WriteTextFile(const std::string& path, const std::string& text)
{
    return WriteBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
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
