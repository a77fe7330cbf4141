// Checked loading of 24-bit bitmap files: load as a DIB section, check depth and size, copy the
// rows out with their real stride, release the bitmap.
#include "bitmap_file.h"

#include "bmp_file_header.h"

#include <cstring>
#include <limits>

namespace Tarvik {

namespace {

constexpr UINT BITMAP_LOAD_FLAGS = LR_LOADFROMFILE | LR_CREATEDIBSECTION;

// Keeps every pixel offset of the packed buffer within a 32-bit signed integer, the type the
// pixel functions compute with.
constexpr std::int64_t MAX_PACKED_BYTES = std::numeric_limits<std::int32_t>::max();

bool IsUsable24BitSection(const DIBSECTION& section)
{
    const BITMAP& bm = section.dsBm;
    if (bm.bmBitsPixel != 24 || bm.bmPlanes != 1 || bm.bmBits == nullptr) return false;
    if (bm.bmWidth <= 0 || bm.bmHeight <= 0) return false;
    if (std::int64_t(bm.bmWidthBytes) < std::int64_t(bm.bmWidth) * 3) return false;
    return std::int64_t(bm.bmWidth) * bm.bmHeight * 3 <= MAX_PACKED_BYTES;
}

void CopyRows(const DIBSECTION& section, PackedImage& Image)
{
    const BITMAP& bm = section.dsBm;
    const std::size_t rowBytes = std::size_t(bm.bmWidth) * 3;
    const auto* source = static_cast<const std::uint8_t*>(bm.bmBits);

    Image.Width = bm.bmWidth;
    Image.Height = bm.bmHeight;
    Image.Pixels.resize(rowBytes * std::size_t(bm.bmHeight));
    for (std::int32_t row = 0; row < bm.bmHeight; ++row) {
        std::memcpy(Image.Pixels.data() + rowBytes * std::size_t(row),
                    source + std::size_t(bm.bmWidthBytes) * std::size_t(row), rowBytes);
    }
}

} // namespace

bool FileExists(const char* FileName)
{
    if (FileName == nullptr || FileName[0] == '\0') return false;
    const DWORD attributes = GetFileAttributesA(FileName);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool LoadPackedBitmap24(const char* FileName, PackedImage& Image)
{
    if (!FileExists(FileName)) return false;
    // The platform loader pads files cut short and, under Wine, gives a bitmap of zeros for
    // rows stored top row first: both are refused before it sees them.
    const BmpHeaderFacts file = InspectBmpFile(FileName);
    if (!file.Complete || file.TopDown) return false;
    HANDLE handle = LoadImageA(GetModuleHandleA(nullptr), FileName, IMAGE_BITMAP, 0, 0,
                               BITMAP_LOAD_FLAGS);
    if (handle == nullptr) return false;
    HBITMAP bitmap = static_cast<HBITMAP>(handle);

    DIBSECTION section = {};
    const bool usable = GetObjectA(bitmap, sizeof section, &section) == int(sizeof section) &&
                        IsUsable24BitSection(section);
    if (usable) {
        PackedImage loaded;
        CopyRows(section, loaded);
        SwapRGB(loaded.Pixels.data(), loaded.Width * loaded.Height);
        Image = std::move(loaded);
    }
    DeleteObject(bitmap);
    return usable;
}

} // namespace Tarvik
