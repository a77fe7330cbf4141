// Records and conversions: packing, degree conversion, Euler matrices, vector rotation,
// float-to-byte rounding and wrapping, the colour and vector constructors. No window needed.
#include "tarvik/tarvik.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>

using namespace Tarvik;

namespace {

// Reference rotation built independently, in double, as Rz(yaw) * Ry(pitch) * Rx(roll) applied
// to a column vector; angles in degrees.
TGLVector ReferenceRotate(TGLVector v, double rollDeg, double pitchDeg, double yawDeg)
{
    const double k = 3.14159265358979323846 / 180.0;
    const double r = rollDeg * k, p = pitchDeg * k, y = yawDeg * k;
    // Roll about X.
    double x1 = v.X, y1 = std::cos(r) * v.Y - std::sin(r) * v.Z, z1 = std::sin(r) * v.Y + std::cos(r) * v.Z;
    // Pitch about Y.
    double x2 = std::cos(p) * x1 + std::sin(p) * z1, y2 = y1, z2 = -std::sin(p) * x1 + std::cos(p) * z1;
    // Yaw about Z.
    double x3 = std::cos(y) * x2 - std::sin(y) * y2, y3 = std::sin(y) * x2 + std::cos(y) * y2;
    return TGLVector{float(x3), float(y3), float(z2)};
}

void ExpectNear(TGLVector actual, TGLVector expected, float tolerance)
{
    EXPECT_NEAR(actual.X, expected.X, tolerance);
    EXPECT_NEAR(actual.Y, expected.Y, tolerance);
    EXPECT_NEAR(actual.Z, expected.Z, tolerance);
}

} // namespace

TEST(RecordsTest, FieldsArePackedInDocumentedOrder)
{
    EXPECT_EQ(offsetof(TGLVector, X), 0u);
    EXPECT_EQ(offsetof(TGLVector, Y), 4u);
    EXPECT_EQ(offsetof(TGLVector, Z), 8u);
    EXPECT_EQ(offsetof(TGLVertex, Z), 8u);
    EXPECT_EQ(offsetof(TGLTexCoord, V), 4u);
    EXPECT_EQ(offsetof(TGLRGB2, B), 8u);

    // Arrays are handed to OpenGL as tight float runs.
    TGLVector run[2] = {{1, 2, 3}, {4, 5, 6}};
    float flat[6];
    std::memcpy(flat, run, sizeof run);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(flat[i], float(i + 1));

    // Element [i][j] is float number 4*i + j.
    TGLBaseMatrix m = {};
    m[1][2] = 42.0f;
    m[3][0] = 7.0f;
    float cells[16];
    std::memcpy(cells, &m, sizeof m);
    EXPECT_EQ(cells[6], 42.0f);
    EXPECT_EQ(cells[12], 7.0f);
}

TEST(DegToRadTest, RoundsTheExtendedQuotientOnceWithoutRangeReduction)
{
    struct Case { float degrees; float radians; };
    const Case cases[] = {
        {180.0f, 3.14159274f},     // pi as a float
        {-90.0f, -1.57079637f},    // -pi/2
        {720.0f, 12.566371f},      // 4 pi, not reduced
        {-360.0f, -6.28318548f},
        {45.0f, 0.785398185f},
        {1.0f, 0.0174532924f},
        {0.5f, 0.00872664619f},
        {0.0f, 0.0f},
    };
    for (const Case& c : cases) EXPECT_EQ(DegToRad(c.degrees), c.radians) << c.degrees;
}

TEST(MatrixEulerTest, ZeroAnglesGiveTheIdentityWithAPositiveZero)
{
    const TGLBaseMatrix m = MatrixEulerDeg(TGLVector{0, 0, 0});
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_EQ(m[i][j], i == j ? 1.0f : 0.0f) << i << "," << j;
    EXPECT_FALSE(std::signbit(m[0][2])) << "-sin(0) must be stored as +0";
    // Also when only the other angles are non-zero.
    EXPECT_FALSE(std::signbit(MatrixEulerRad(TGLVector{30, 0, 60})[0][2]));
}

TEST(MatrixEulerTest, RotatesUnitAxesRightHanded)
{
    struct Case { TGLVector in, angles, out; };
    const Case cases[] = {
        {{1, 0, 0}, {0, 0, 90}, {0, 1, 0}},   // yaw: X to Y
        {{1, 0, 0}, {0, 90, 0}, {0, 0, -1}},  // pitch: X to -Z
        {{0, 1, 0}, {90, 0, 0}, {0, 0, 1}},   // roll: Y to Z
        {{0, 0, 1}, {0, 90, 0}, {1, 0, 0}},   // pitch: Z to X
        {{0, 1, 0}, {0, 0, 180}, {0, -1, 0}},
        {{0, 1, 0}, {90, 90, 0}, {1, 0, 0}},  // roll first, then pitch
        {{0, 1, 0}, {0, 90, 90}, {-1, 0, 0}}, // pitch leaves Y, yaw turns it to -X
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "angles " << c.angles.X << "," << c.angles.Y << ","
                                        << c.angles.Z);
        ExpectNear(MatrixVecRot(c.in, MatrixEulerRad(c.angles)), c.out, 1e-6f);
    }
    // The cosine of the float nearest pi/2 is not 0: the X component is about -4.4e-8.
    const TGLVector yawed = MatrixVecRot(TGLVector{1, 0, 0}, MatrixEulerRad(TGLVector{0, 0, 90}));
    EXPECT_NEAR(yawed.X, -4.37e-8f, 0.05e-8f);
    EXPECT_EQ(yawed.Y, 1.0f);
}

TEST(MatrixEulerTest, MatchesRollThenPitchThenYawAboutFixedAxes)
{
    const TGLVector angles[] = {{10, 20, 30}, {-45, 60, 135}, {170, -80, -10}, {400, 33, -725}};
    const TGLVector inputs[] = {{1, 2, 3}, {-0.5f, 4, 0.25f}};
    for (const TGLVector& a : angles)
        for (const TGLVector& v : inputs) {
            SCOPED_TRACE(testing::Message() << a.X << "," << a.Y << "," << a.Z);
            ExpectNear(MatrixVecRot(v, MatrixEulerRad(a)), ReferenceRotate(v, a.X, a.Y, a.Z), 2e-6f);
        }
}

TEST(MatrixEulerTest, DegOverloadTakesRadiansAndRadOverloadTakesDegrees)
{
    const TGLBaseMatrix asRadians = MatrixEulerDeg(TGLVector{0, 0, 90});
    const TGLBaseMatrix asDegrees = MatrixEulerRad(TGLVector{0, 0, 90});
    EXPECT_NE(asRadians, asDegrees);
    // 90 radians: cos(90) = -0.448..., sin(90) = 0.894...
    EXPECT_NEAR(asRadians[0][0], -0.44807362f, 1e-6f);
    EXPECT_NEAR(asRadians[0][1], 0.89399666f, 1e-6f);
    // Converting first gives exactly the degree variant.
    EXPECT_EQ(MatrixEulerDeg(TGLVector{DegToRad(10), DegToRad(-20), DegToRad(90)}),
              MatrixEulerRad(TGLVector{10, -20, 90}));
}

TEST(MatrixVecRotTest, SumsInExtendedPrecisionAndUsesOnlyTheUpperLeftBlock)
{
    TGLBaseMatrix m = {};
    // Column 0 is (1, 1e8, 1e8): float accumulation of 1 + 1e8 - 1e8 would lose the 1.
    m[0][0] = 1.0f;
    m[1][0] = 1e8f;
    m[2][0] = 1e8f;
    m[1][1] = 1.0f;
    m[2][2] = 1.0f;
    // Row 3 and column 3 are not part of the rotation.
    m[3][0] = m[3][1] = m[3][2] = 100.0f;
    m[0][3] = m[1][3] = m[2][3] = m[3][3] = 100.0f;
    const TGLVector r = MatrixVecRot(TGLVector{1, 1, -1}, m);
    EXPECT_EQ(r.X, 1.0f);
    EXPECT_EQ(r.Y, 1.0f);
    EXPECT_EQ(r.Z, -1.0f);
}

TEST(FloatToByteTest, RoundsTiesToEvenAndWrapsModulo256)
{
    struct Case { float in; int out; };
    const float inf = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {0.5f, 0}, {1.5f, 2}, {2.5f, 2}, {3.5f, 4}, {0.4f, 0}, {0.6f, 1},
        {254.5f, 254}, {255.4f, 255}, {255.5f, 0}, {256.0f, 0}, {300.0f, 44},
        {-0.4f, 0}, {-0.5f, 0}, {-0.6f, 255}, {-1.0f, 255}, {-256.0f, 0}, {-257.0f, 255},
        {65535.0f, 255}, {2147483904.0f, 0}, // beyond 32 bits
        // No 64-bit integer holds these; their low byte is taken as 0.
        {1e30f, 0}, {-1e30f, 0}, {inf, 0}, {-inf, 0},
        {std::numeric_limits<float>::quiet_NaN(), 0},
    };
    for (const Case& c : cases) EXPECT_EQ(int(FloatToByte(c.in)), c.out) << c.in;
}

TEST(ConstructorsTest, StoreTheNearestFloatWithoutScaling)
{
    const TGLRGB2 c = GLColor(255, 128, 0);
    EXPECT_EQ(c.R, 255.0f);
    EXPECT_EQ(c.G, 128.0f);
    EXPECT_EQ(c.B, 0.0f);
    const TGLRGB2 unscaled = GLColor(-2.5, 1e3, 0.25);
    EXPECT_EQ(unscaled.R, -2.5f);
    EXPECT_EQ(unscaled.G, 1000.0f);

    const TGLVector v = GLVector(0.1, -3, 1e-3);
    EXPECT_EQ(v.X, 0.1f);
    EXPECT_EQ(v.Y, -3.0f);
    EXPECT_EQ(v.Z, 0.001f);
    EXPECT_NE(double(v.X), 0.1) << "stored as a 32-bit float";
}
