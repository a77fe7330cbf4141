// Bitmap files with a palette that fits them, and regions cut from a bitmap's shape.
// Nothing here keeps state between calls; every handle returned belongs to the caller.
#include "tarvik/tarvik.h"

#include "bitmap_region_scan.h"
#include "bmp_file_header.h"

#include <climits>
#include <cstddef>
#include <cstdint>

namespace Tarvik {

namespace {

constexpr int PALETTE_SIZE = 256;
constexpr WORD PALETTE_VERSION = 0x300;
constexpr DWORD BATCH_LIMIT = 2000; // rectangles handed to the platform in one region
constexpr DWORD REGION_HEADER_SIZE = sizeof(RGNDATAHEADER);

// A LOGPALETTE with room for all 256 entries.
struct FullLogPalette {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[PALETTE_SIZE];
};

HPALETTE ScreenHalftonePalette()
{
    HDC screen = GetDC(nullptr);
    HPALETTE palette = CreateHalftonePalette(screen);
    ReleaseDC(nullptr, screen);
    return palette;
}

// Entries the colour table does not supply stay black.
HPALETTE PaletteFromColourTable(HBITMAP bitmap)
{
    RGBQUAD table[PALETTE_SIZE] = {};
    if (HDC dc = CreateCompatibleDC(nullptr)) {
        HGDIOBJ previous = SelectObject(dc, bitmap);
        GetDIBColorTable(dc, 0, PALETTE_SIZE, table);
        SelectObject(dc, previous);
        DeleteDC(dc);
    }
    FullLogPalette record = {};
    record.palVersion = PALETTE_VERSION;
    record.palNumEntries = PALETTE_SIZE;
    for (int i = 0; i < PALETTE_SIZE; ++i) {
        record.palPalEntry[i].peRed = table[i].rgbRed;
        record.palPalEntry[i].peGreen = table[i].rgbGreen;
        record.palPalEntry[i].peBlue = table[i].rgbBlue;
        record.palPalEntry[i].peFlags = 0;
    }
    return CreatePalette(reinterpret_cast<const LOGPALETTE*>(&record));
}

// Collects rectangles in a growing RGNDATA block and turns every full batch into a region
// merged into the result. Any platform failure makes the whole result fail.
class RegionBuilder {
public:
    RegionBuilder() = default;
    RegionBuilder(const RegionBuilder&) = delete;
    RegionBuilder& operator=(const RegionBuilder&) = delete;
    ~RegionBuilder()
    {
        FreeBuffer();
        if (result_) DeleteObject(result_);
    }

    bool Start()
    {
        maxRects_ = ALLOC_UNIT;
        memory_ = GlobalAlloc(GMEM_MOVEABLE, BufferSize());
        if (!memory_) return false;
        data_ = static_cast<RGNDATA*>(GlobalLock(memory_));
        if (!data_) return false;
        data_->rdh.dwSize = REGION_HEADER_SIZE;
        data_->rdh.iType = RDH_RECTANGLES;
        data_->rdh.nCount = 0;
        data_->rdh.nRgnSize = 0;
        ResetBounds();
        return true;
    }

    bool Add(LONG left, LONG top, LONG right, LONG bottom)
    {
        if (data_->rdh.nCount >= maxRects_ && !Grow()) return false;
        RECT& bound = data_->rdh.rcBound;
        reinterpret_cast<RECT*>(data_->Buffer)[data_->rdh.nCount] = {left, top, right, bottom};
        if (left < bound.left) bound.left = left;
        if (top < bound.top) bound.top = top;
        if (right > bound.right) bound.right = right;
        if (bottom > bound.bottom) bound.bottom = bottom;
        if (++data_->rdh.nCount == BATCH_LIMIT) return Flush();
        return true;
    }

    // Flushes the last batch (even an empty one, so an all-transparent picture gives an
    // empty region rather than none) and hands the result over.
    HRGN Finish()
    {
        if (!Flush()) return nullptr;
        FreeBuffer();
        HRGN region = result_;
        result_ = nullptr;
        return region;
    }

private:
    DWORD BufferSize() const { return REGION_HEADER_SIZE + sizeof(RECT) * maxRects_; }

    void ResetBounds() { data_->rdh.rcBound = {LONG_MAX, LONG_MAX, 0, 0}; }

    bool Grow()
    {
        GlobalUnlock(memory_);
        data_ = nullptr;
        maxRects_ += ALLOC_UNIT;
        HGLOBAL grown = GlobalReAlloc(memory_, BufferSize(), GMEM_MOVEABLE);
        if (!grown) return false; // the old block is still ours and is freed by FreeBuffer
        memory_ = grown;
        data_ = static_cast<RGNDATA*>(GlobalLock(memory_));
        return data_ != nullptr;
    }

    bool Flush()
    {
        HRGN batch = ExtCreateRegion(nullptr, BufferSize(), data_);
        if (!batch) return false;
        data_->rdh.nCount = 0;
        ResetBounds();
        if (!result_) {
            result_ = batch;
            return true;
        }
        const int merged = CombineRgn(result_, result_, batch, RGN_OR);
        DeleteObject(batch);
        return merged != ERROR;
    }

    void FreeBuffer()
    {
        if (!memory_) return;
        if (data_) GlobalUnlock(memory_);
        GlobalFree(memory_);
        memory_ = nullptr;
        data_ = nullptr;
    }

    HGLOBAL memory_ = nullptr;
    RGNDATA* data_ = nullptr;
    DWORD maxRects_ = 0;
    HRGN result_ = nullptr;
};

// Copies the picture, through its palette, into the 32-bit section selected in `target`.
void CopyPicture(HDC target, HBITMAP bitmap, HPALETTE palette, LONG width, LONG height)
{
    HDC source = CreateCompatibleDC(target);
    if (!source) return;
    HGDIOBJ previousBitmap = SelectObject(source, bitmap);
    HPALETTE previousPalette = palette ? SelectPalette(source, palette, TRUE) : nullptr;
    if (palette) RealizePalette(source);
    BitBlt(target, 0, 0, width, height, source, 0, 0, SRCCOPY);
    if (previousPalette) SelectPalette(source, previousPalette, FALSE);
    SelectObject(source, previousBitmap);
    DeleteDC(source);
}

// Scans the 32-bit section row by row from the top of the picture (the last row in memory).
HRGN RegionFromSection(HBITMAP section, LONG width, LONG height, const TransparentBounds& bounds)
{
    BITMAP info = {};
    if (!GetObjectA(section, sizeof info, &info) || !info.bmBits) return nullptr;
    const std::size_t pitch = (static_cast<std::size_t>(info.bmWidthBytes) + 3) & ~std::size_t(3);
    const auto* bits = static_cast<const std::uint8_t*>(info.bmBits);

    RegionBuilder builder;
    if (!builder.Start()) return nullptr;
    for (LONG y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            bits + static_cast<std::size_t>(info.bmHeight - 1 - y) * pitch);
        std::int32_t x = 0, left = 0, right = 0;
        while (NextOpaqueRun(row, width, bounds, x, left, right)) {
            if (!builder.Add(left, y, right, y + 1)) return nullptr;
        }
    }
    return builder.Finish();
}

// A 32-bit section of the given size with its rows stored bottom-up.
HBITMAP Create32BitSection(HDC dc, LONG width, LONG height)
{
    BITMAPINFO header = {};
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = width;
    header.bmiHeader.biHeight = height; // positive: bottom-up
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return CreateDIBSection(dc, &header, DIB_RGB_COLORS, &bits, nullptr, 0);
}

// Whatever the bitmap's depth, its pixels are scanned as 32-bit words: it is drawn, through its
// palette, into a 32-bit section first.
HRGN ShapeOfBitmap(HBITMAP bitmap, HPALETTE palette, const TransparentBounds& bounds)
{
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return nullptr;
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    HRGN region = nullptr;
    if (HBITMAP section = Create32BitSection(dc, info.bmWidth, info.bmHeight)) {
        HGDIOBJ replaced = SelectObject(dc, section);
        CopyPicture(dc, bitmap, palette, info.bmWidth, info.bmHeight);
        GdiFlush(); // the section's bits are read directly below
        region = RegionFromSection(section, info.bmWidth, info.bmHeight, bounds);
        SelectObject(dc, replaced);
        DeleteObject(section);
    }
    DeleteDC(dc);
    return region;
}

} // namespace

HBITMAP LoadBMPFromFile(const char* FileName, HPALETTE& Pal)
{
    // The platform loader would pad a file cut short silently.
    if (!FileName || !InspectBmpFile(FileName).Complete) return nullptr;
    auto bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, FileName, IMAGE_BITMAP, 0, 0,
                                                  LR_CREATEDIBSECTION | LR_LOADFROMFILE));
    if (!bitmap) return nullptr;
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    Pal = info.bmBitsPixel * info.bmPlanes > 8 ? ScreenHalftonePalette()
                                               : PaletteFromColourTable(bitmap);
    return bitmap;
}

HRGN BitmapToRegion(const char* BmpName, COLORREF TransColor, std::uint8_t Tolerance)
{
    HPALETTE palette = nullptr;
    HBITMAP bitmap = LoadBMPFromFile(BmpName, palette);
    if (!bitmap) return nullptr;
    HRGN region = ShapeOfBitmap(bitmap, palette, MakeTransparentBounds(TransColor, Tolerance));
    if (palette) DeleteObject(palette);
    DeleteObject(bitmap);
    return region;
}

} // namespace Tarvik
