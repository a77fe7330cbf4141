// Projection and render state, read back from the real GL after each set-up call: viewport,
// matrices, clear values, capabilities, functions, hints, light model, culling, overlay offsets.
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

using namespace Tarvik;
using TestSupport::EnsureTestWindow;

namespace {

using GLMatrix = std::array<float, 16>; // column-major, as OpenGL returns it

GLMatrix ReadMatrix(GLenum which)
{
    GLMatrix m{};
    glGetFloatv(which, m.data());
    return m;
}

std::array<GLint, 4> ReadViewport()
{
    std::array<GLint, 4> v{};
    glGetIntegerv(GL_VIEWPORT, v.data());
    return v;
}

std::array<float, 4> ReadFloats4(GLenum which)
{
    std::array<float, 4> v{};
    glGetFloatv(which, v.data());
    return v;
}

GLint ReadInt(GLenum which)
{
    GLint v = 0;
    glGetIntegerv(which, &v);
    return v;
}

GLMatrix Identity() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

// The matrix a 45-degree vertical field of view with near plane 0.1 must give.
GLMatrix ExpectedPerspective(double aspect, double farPlane)
{
    const double nearPlane = 0.1;
    const double f = 1.0 / std::tan(45.0 / 2.0 * 3.14159265358979323846 / 180.0);
    GLMatrix m{};
    m[0] = float(f / aspect);
    m[5] = float(f);
    m[10] = float((farPlane + nearPlane) / (nearPlane - farPlane));
    m[11] = -1.0f;
    m[14] = float(2.0 * farPlane * nearPlane / (nearPlane - farPlane));
    return m;
}

GLMatrix ExpectedOrtho(double l, double r, double b, double t, double n, double f)
{
    GLMatrix m{};
    m[0] = float(2.0 / (r - l));
    m[5] = float(2.0 / (t - b));
    m[10] = float(-2.0 / (f - n));
    m[12] = float(-(r + l) / (r - l));
    m[13] = float(-(t + b) / (t - b));
    m[14] = float(-(f + n) / (f - n));
    m[15] = 1.0f;
    return m;
}

void ExpectMatrixNear(const GLMatrix& actual, const GLMatrix& expected)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-6 + 1e-6 * std::fabs(expected[i])) << "element " << i;
}

void ExpectViewport(int w, int h)
{
    const auto v = ReadViewport();
    EXPECT_EQ(v[0], 0);
    EXPECT_EQ(v[1], 0);
    EXPECT_EQ(v[2], w);
    EXPECT_EQ(v[3], h);
}

void ExpectModelviewIdentityCurrent()
{
    EXPECT_EQ(ReadInt(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(ReadMatrix(GL_MODELVIEW_MATRIX), Identity());
}

class RenderStateTest : public testing::Test {
protected:
    static void SetUpTestSuite() { EnsureTestWindow(); }

    void SetUp() override
    {
        savedWidth_ = Width;
        savedHeight_ = Height;
        while (glGetError() != GL_NO_ERROR) {}
    }

    void TearDown() override
    {
        GLResizeWindow(savedWidth_, savedHeight_);
        // No call of the set-ups may leave an error behind (no invalid enumerants issued).
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }

    // A modelview that is not the identity, to see it replaced.
    static void DisturbMatrices()
    {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glTranslatef(3, 4, 5);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotatef(30, 1, 0, 0);
        glMatrixMode(GL_TEXTURE);
    }

private:
    std::int32_t savedWidth_ = 0;
    std::int32_t savedHeight_ = 0;
};

TEST_F(RenderStateTest, ResizeOnlyStoresTheSizeUntilTheNextSetUp)
{
    OpenGL_Init(100, 0, 0, 0, 0);
    const auto viewportBefore = ReadViewport();
    const GLMatrix projectionBefore = ReadMatrix(GL_PROJECTION_MATRIX);

    GLResizeWindow(1024, 768);
    EXPECT_EQ(Width, 1024);
    EXPECT_EQ(Height, 768);
    EXPECT_EQ(ReadViewport(), viewportBefore);
    EXPECT_EQ(ReadMatrix(GL_PROJECTION_MATRIX), projectionBefore);

    OpenGL_Init(100, 0, 0, 0, 0);
    ExpectViewport(1024, 768);
    ExpectMatrixNear(ReadMatrix(GL_PROJECTION_MATRIX), ExpectedPerspective(1024.0 / 768.0, 100));
}

TEST_F(RenderStateTest, InitLoadsThePerspectiveOfTheStoredSize)
{
    struct Case { int w, h; double depth; };
    const Case cases[] = {{800, 600, 100}, {400, 900, 100}, {1024, 768, 50}, {1, 1, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h << " far " << c.depth);
        DisturbMatrices();
        GLResizeWindow(c.w, c.h);
        OpenGL_Init(c.depth, 0, 0, 0, 0);
        ExpectViewport(c.w, c.h);
        ExpectMatrixNear(ReadMatrix(GL_PROJECTION_MATRIX), ExpectedPerspective(double(c.w) / c.h, c.depth));
        ExpectModelviewIdentityCurrent();
    }
}

TEST_F(RenderStateTest, InitSetsClearValuesAndTheFixedRenderState)
{
    struct Case { double depth, a, r, g, b, clearDepth; };
    const Case cases[] = {
        {100, 0, 0, 0, 0, 1.0},          // the demo's call: black, alpha 0, depth clamped to 1
        {100, 0.25, 0.5, 0.75, 1.0, 1.0}, // alpha comes first in the arguments
        {0.5, 1, 0, 0.5, 0, 0.5},        // a far plane below 1 is also the clear depth
    };
    GLResizeWindow(800, 600);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "depth " << c.depth << " argb " << c.a << "," << c.r
                                        << "," << c.g << "," << c.b);
        // The opposite of what the set-up must leave.
        glDisable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        glColor4f(0, 0, 0, 1);
        glBlendFunc(GL_ONE, GL_ZERO);
        glDisable(GL_BLEND);
        glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 0);
        for (GLenum hint : {GL_LINE_SMOOTH_HINT, GL_POLYGON_SMOOTH_HINT, GL_PERSPECTIVE_CORRECTION_HINT})
            glHint(hint, GL_DONT_CARE);
        glDisable(GL_AUTO_NORMAL);
        glDisable(GL_NORMALIZE);
        // State it must leave alone.
        glEnable(GL_LIGHTING);
        glEnable(GL_CULL_FACE);
        glEnable(GL_TEXTURE_2D);
        glShadeModel(GL_SMOOTH);

        OpenGL_Init(c.depth, c.a, c.r, c.g, c.b);

        EXPECT_EQ(ReadFloats4(GL_COLOR_CLEAR_VALUE), (std::array<float, 4>{float(c.r), float(c.g), float(c.b), float(c.a)}));
        GLdouble clearDepth = -1;
        glGetDoublev(GL_DEPTH_CLEAR_VALUE, &clearDepth);
        EXPECT_DOUBLE_EQ(clearDepth, c.clearDepth);
        ExpectMatrixNear(ReadMatrix(GL_PROJECTION_MATRIX), ExpectedPerspective(800.0 / 600.0, c.depth));
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_EQ(ReadInt(GL_DEPTH_FUNC), GL_LEQUAL);
        EXPECT_EQ(ReadFloats4(GL_CURRENT_COLOR), (std::array<float, 4>{1, 1, 1, 0.5f}));
        EXPECT_EQ(ReadInt(GL_BLEND_SRC), GL_SRC_ALPHA);
        EXPECT_EQ(ReadInt(GL_BLEND_DST), GL_ONE);
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        EXPECT_EQ(ReadInt(GL_LIGHT_MODEL_LOCAL_VIEWER), 1);
        EXPECT_EQ(ReadInt(GL_LINE_SMOOTH_HINT), GL_NICEST);
        EXPECT_EQ(ReadInt(GL_POLYGON_SMOOTH_HINT), GL_NICEST);
        EXPECT_EQ(ReadInt(GL_PERSPECTIVE_CORRECTION_HINT), GL_NICEST);
        EXPECT_TRUE(glIsEnabled(GL_AUTO_NORMAL));
        EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
        EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
        EXPECT_EQ(ReadInt(GL_SHADE_MODEL), GL_SMOOTH);
        ExpectModelviewIdentityCurrent();
    }
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
}

TEST_F(RenderStateTest, OverlayLoadsAnAspectKeepingOrthoAndSetsOffsets)
{
    struct Case { int w, h; float offX, offY; double halfHeight; };
    const Case cases[] = {
        {800, 600, -2.05f, -1.45f, 1.5},
        {400, 900, -0.05f, 0.55f, 4.5},         // two heights per width
        {600, 800, -1.05f, -0.45f, 1600.0 / 600.0},
        {500, 500, -1.05f, -0.45f, 2.0},
        {799, 1, -2.05f, -1.45f, 2.0 / 799.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        DisturbMatrices();
        glDisable(GL_DEPTH_TEST);
        glDepthFunc(GL_ALWAYS);
        glDisable(GL_NORMALIZE);
        GLResizeWindow(c.w, c.h);

        OpenGL_I2D(0.125, 0.25, 0.5, 0.75);

        EXPECT_FLOAT_EQ(OffX, c.offX);
        EXPECT_FLOAT_EQ(OffY, c.offY);
        EXPECT_EQ(ReadFloats4(GL_COLOR_CLEAR_VALUE), (std::array<float, 4>{0.25f, 0.5f, 0.75f, 0.125f}));
        ExpectViewport(c.w, c.h);
        ExpectMatrixNear(ReadMatrix(GL_PROJECTION_MATRIX),
                         ExpectedOrtho(-2, 2, -c.halfHeight, c.halfHeight, -2, 2));
        ExpectModelviewIdentityCurrent();
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_EQ(ReadInt(GL_DEPTH_FUNC), GL_LEQUAL);
        EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    }
}

TEST_F(RenderStateTest, OverlayLeavesTheRestOfThe3DStateAlone)
{
    GLResizeWindow(800, 600);
    OpenGL_Init(0.75, 0, 0, 0, 0);
    glColor4f(0.5f, 0.25f, 0.125f, 1.0f);
    glBlendFunc(GL_ONE, GL_ZERO);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 0);
    glHint(GL_LINE_SMOOTH_HINT, GL_FASTEST);
    glDisable(GL_AUTO_NORMAL);

    OpenGL_I2D(0, 0, 0, 0);

    GLdouble clearDepth = -1;
    glGetDoublev(GL_DEPTH_CLEAR_VALUE, &clearDepth);
    EXPECT_DOUBLE_EQ(clearDepth, 0.75);
    EXPECT_EQ(ReadFloats4(GL_CURRENT_COLOR), (std::array<float, 4>{0.5f, 0.25f, 0.125f, 1.0f}));
    EXPECT_EQ(ReadInt(GL_BLEND_SRC), GL_ONE);
    EXPECT_EQ(ReadInt(GL_BLEND_DST), GL_ZERO);
    EXPECT_EQ(ReadInt(GL_LIGHT_MODEL_LOCAL_VIEWER), 0);
    EXPECT_EQ(ReadInt(GL_LINE_SMOOTH_HINT), GL_FASTEST);
    EXPECT_FALSE(glIsEnabled(GL_AUTO_NORMAL));
    glClearDepth(1.0);
}

TEST_F(RenderStateTest, ZeroSizeKeepsViewportAndProjectionButSetsTheRest)
{
    struct Case { int w, h; bool offsetsChange; };
    const Case cases[] = {{0, 0, false}, {800, 0, true}, {0, 600, false}, {-4, 600, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        GLResizeWindow(640, 480);
        OpenGL_Init(100, 0, 0, 0, 0);
        const auto viewport = ReadViewport();
        const GLMatrix perspective = ReadMatrix(GL_PROJECTION_MATRIX);
        GLResizeWindow(c.w, c.h);

        DisturbMatrices();
        glLoadIdentity(); // the texture matrix
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(perspective.data());
        glDisable(GL_DEPTH_TEST);
        OpenGL_Init(100, 1, 0.5, 0.25, 0);
        EXPECT_EQ(ReadViewport(), viewport);
        EXPECT_EQ(ReadMatrix(GL_PROJECTION_MATRIX), perspective);
        ExpectModelviewIdentityCurrent();
        EXPECT_EQ(ReadFloats4(GL_COLOR_CLEAR_VALUE), (std::array<float, 4>{0.5f, 0.25f, 0, 1}));
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
        for (float v : ReadMatrix(GL_PROJECTION_MATRIX)) EXPECT_TRUE(std::isfinite(v));

        OffX = 123.0f;
        OffY = 456.0f;
        DisturbMatrices();
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(perspective.data());
        glDisable(GL_NORMALIZE);
        OpenGL_I2D(0, 0, 0, 0);
        EXPECT_EQ(ReadViewport(), viewport);
        EXPECT_EQ(ReadMatrix(GL_PROJECTION_MATRIX), perspective);
        ExpectModelviewIdentityCurrent();
        EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
        EXPECT_EQ(ReadFloats4(GL_COLOR_CLEAR_VALUE), (std::array<float, 4>{0, 0, 0, 0}));
        if (c.offsetsChange) {
            const float tallness = float(c.h / c.w);
            EXPECT_FLOAT_EQ(OffX, tallness - 2.05f);
            EXPECT_FLOAT_EQ(OffY, tallness - 1.45f);
        } else {
            EXPECT_EQ(OffX, 123.0f); // no width to divide by: the last offsets stay
            EXPECT_EQ(OffY, 456.0f);
        }
    }
}

TEST_F(RenderStateTest, TwoSidedLightingFollowsTheSwitches)
{
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0);
    TwoSideOff();
    EXPECT_EQ(ReadInt(GL_LIGHT_MODEL_TWO_SIDE), 0);
    TwoSideOn();
    EXPECT_EQ(ReadInt(GL_LIGHT_MODEL_TWO_SIDE), 1);
    TwoSideOn();
    EXPECT_EQ(ReadInt(GL_LIGHT_MODEL_TWO_SIDE), 1);
    TwoSideOff();
    EXPECT_EQ(ReadInt(GL_LIGHT_MODEL_TWO_SIDE), 0);
}

// Draws a square of the given winding at the given overlay position, in white.
void DrawSquare(float cx, float cy, bool clockwise)
{
    const float h = 0.25f;
    glBegin(GL_QUADS);
    glVertex2f(cx - h, cy - h);
    if (clockwise) {
        glVertex2f(cx - h, cy + h);
        glVertex2f(cx + h, cy + h);
        glVertex2f(cx + h, cy - h);
    } else {
        glVertex2f(cx + h, cy - h);
        glVertex2f(cx + h, cy + h);
        glVertex2f(cx - h, cy + h);
    }
    glEnd();
}

TEST_F(RenderStateTest, RefractiveCullsClockwiseFacesAndKeepsSmoothShading)
{
    glDisable(GL_CULL_FACE);
    glCullFace(GL_FRONT);
    glFrontFace(GL_CW);

    SetGLRefractive();

    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(ReadInt(GL_CULL_FACE_MODE), GL_BACK);
    EXPECT_EQ(ReadInt(GL_FRONT_FACE), GL_CCW);
    EXPECT_EQ(ReadInt(GL_SHADE_MODEL), GL_SMOOTH);

    // On a 200 x 200 overlay, x = -1 is pixel 50 and x = 1 is pixel 150, both at row 100.
    GLResizeWindow(200, 200);
    OpenGL_I2D(1, 0, 0, 0);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    DrawSquare(-1, 0, false);
    DrawSquare(1, 0, true);
    const auto pixels = TestSupport::ReadBackBuffer(0, 100, 200, 1);
    EXPECT_EQ(pixels[50 * 4], 255) << "counter-clockwise face drawn";
    EXPECT_EQ(pixels[150 * 4], 0) << "clockwise face culled";
    glDisable(GL_CULL_FACE);
}

} // namespace
