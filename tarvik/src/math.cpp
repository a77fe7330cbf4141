// Records' conversions: degrees, Euler rotation matrices, vector rotation, float-to-byte.
// Intermediates are kept in long double (80-bit extended on our x86 builds) and rounded once to
// float, so results match the library's historical values bit for bit.
#include "tarvik/tarvik.h"

#include <cmath>

namespace Tarvik {

namespace {

constexpr long double PI_EXTENDED = 3.141592653589793238462643383279502884L;

// Magnitudes from 2^63 up are multiples of 256, so their low byte is 0.
constexpr float FIRST_VALUE_BEYOND_INT64 = 9223372036854775808.0f;

} // namespace

float DegToRad(float Degree)
{
    const long double product = static_cast<long double>(Degree) * PI_EXTENDED;
    return static_cast<float>(product / 180.0L);
}

TGLBaseMatrix MatrixEulerDeg(TGLVector Ang)
{
    using L = long double;
    const float cr = static_cast<float>(std::cos(L(Ang.X)));
    const float sr = static_cast<float>(std::sin(L(Ang.X)));
    const float cp = static_cast<float>(std::cos(L(Ang.Y)));
    const float sp = static_cast<float>(std::sin(L(Ang.Y)));
    const float cy = static_cast<float>(std::cos(L(Ang.Z)));
    const float sy = static_cast<float>(std::sin(L(Ang.Z)));
    const float srsp = static_cast<float>(L(sr) * sp);
    const float crsp = static_cast<float>(L(cr) * sp);

    TGLBaseMatrix m = {};
    m[0][0] = static_cast<float>(L(cy) * cp);
    m[0][1] = static_cast<float>(L(sy) * cp);
    // -sin(0) is -0; the identity must hold a plain +0 there.
    m[0][2] = sp == 0.0f ? 0.0f : -sp;
    m[1][0] = static_cast<float>(L(cy) * srsp - L(sy) * cr);
    m[1][1] = static_cast<float>(L(sy) * srsp + L(cy) * cr);
    m[1][2] = static_cast<float>(L(cp) * sr);
    m[2][0] = static_cast<float>(L(cy) * crsp + L(sy) * sr);
    m[2][1] = static_cast<float>(L(sy) * crsp - L(cy) * sr);
    m[2][2] = static_cast<float>(L(cp) * cr);
    // Row 3 and column 3 are never read; keep them as the identity's so the matrix is affine.
    m[3][3] = 1.0f;
    return m;
}

TGLBaseMatrix MatrixEulerRad(TGLVector Ang)
{
    return MatrixEulerDeg(TGLVector{DegToRad(Ang.X), DegToRad(Ang.Y), DegToRad(Ang.Z)});
}

TGLVector MatrixVecRot(TGLVector Vec, const TGLBaseMatrix& Ang)
{
    using L = long double;
    const L x = Vec.X, y = Vec.Y, z = Vec.Z;
    return TGLVector{
        static_cast<float>(Ang[0][0] * x + Ang[1][0] * y + Ang[2][0] * z),
        static_cast<float>(Ang[0][1] * x + Ang[1][1] * y + Ang[2][1] * z),
        static_cast<float>(Ang[0][2] * x + Ang[1][2] * y + Ang[2][2] * z),
    };
}

std::uint8_t FloatToByte(float Val)
{
    // NaN, infinities and huge magnitudes have no 64-bit rounding; their low byte is 0.
    if (!(std::fabs(Val) < FIRST_VALUE_BEYOND_INT64)) return 0;
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
