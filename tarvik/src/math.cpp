// Records' conversions: degrees, Euler rotation matrices, vector rotation, float-to-byte.
#include "tarvik/tarvik.h"

#include <cmath>

namespace Tarvik {

std::uint8_t FloatToByte(float Val)
{
    // Round to nearest, ties to even, then keep the low byte: out-of-range values wrap.
    const long long rounded = std::llrint(Val);
    return static_cast<std::uint8_t>(rounded & 0xFF);
}

TGLRGB2 GLColor(double R, double G, double B)
{
    return TGLRGB2{float(R), float(G), float(B)};
}

TGLVector GLVector(double X, double Y, double Z)
{
    return TGLVector{float(X), float(Y), float(Z)};
}

} // namespace Tarvik
