// Pixel access on packed 24-bit buffers: red/blue swap, plain and tiled reads, one-pixel write.
// Memory only: no allocation, no platform or OpenGL call.
#include "tarvik/tarvik.h"

#include <utility>

namespace Tarvik {

namespace {

constexpr TGLRGB2 NO_COLOUR = {0.0f, 0.0f, 0.0f};

// Remainder that is never negative, so coordinates left of or below the picture wrap around it.
std::int32_t WrapIndex(std::int32_t value, std::int32_t period)
{
    const std::int32_t rest = value % period;
    return rest < 0 ? rest + period : rest;
}

TGLRGB2 ReadPixel(const void* Bits, std::int32_t Column, std::int32_t Row, std::int32_t Width)
{
    const auto* pixel = static_cast<const std::uint8_t*>(Bits) +
                        3 * (std::int64_t(Row) * Width + Column);
    return GLColor(pixel[0], pixel[1], pixel[2]);
}

} // namespace

void SwapRGB(void* Data, std::int32_t Size)
{
    if (Data == nullptr) return;
    auto* pixel = static_cast<std::uint8_t*>(Data);
    for (std::int32_t i = 0; i < Size; ++i, pixel += 3) std::swap(pixel[0], pixel[2]);
}

TGLRGB2 GetRGBBits(std::int32_t X, std::int32_t Y, std::int32_t Width, std::int32_t Height,
                   const void* Bits)
{
    if (Bits == nullptr || Width <= 0 || Height <= 0) return NO_COLOUR;
    return ReadPixel(Bits, WrapIndex(X, Width), WrapIndex(Y, Height), Width);
}

TGLRGB2 GetRGBBits(std::int32_t X, std::int32_t Y, std::int32_t Width, std::int32_t Height,
                   std::int32_t Size, std::int32_t Scale, const void* Bits)
{
    // A zero period or scale would divide by zero: such a read returns black and touches nothing.
    if (Bits == nullptr || Size < 1 || Scale < 1 || Width <= 0 || Height <= 0) return NO_COLOUR;
    const std::int32_t periodAcross = Width / Size;
    const std::int32_t periodDown = Height / Size;
    if (periodAcross == 0 || periodDown == 0) return NO_COLOUR;
    const std::int32_t column = WrapIndex(X, periodAcross) * Size / Scale;
    const std::int32_t row = WrapIndex(Y, periodDown) * Size / Scale;
    return ReadPixel(Bits, column, row, Width);
}

void PutPixelTexture(std::uint8_t* Bit, std::int32_t PX, std::int32_t PY, std::int32_t Size,
                     std::uint8_t R, std::uint8_t G, std::uint8_t B)
{
    if (Bit == nullptr || PX < 0 || PX >= Size || PY < 0 || PY >= Size) return;
    // PX is the row and PY the column.
    std::uint8_t* pixel = Bit + 3 * (std::int64_t(PX) * Size + PY);
    pixel[0] = R;
    pixel[1] = G;
    pixel[2] = B;
}

} // namespace Tarvik
