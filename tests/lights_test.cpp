// Lights, read back from the real GL: the standard colours, positions in the modelview frame,
// which lights are switched on, the shared last position, and the point marker on screen.
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace Tarvik;
using TestSupport::EnsureTestWindow;

namespace {

using Float4 = std::array<float, 4>;

Float4 ReadLight(GLenum light, GLenum what)
{
    Float4 v{};
    glGetLightfv(light, what, v.data());
    return v;
}

Float4 ToArray(const GLfloat (&v)[4]) { return {v[0], v[1], v[2], v[3]}; }

void ExpectNear4(const Float4& actual, const Float4& expected)
{
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-5f) << "component " << i;
}

class LightsTest : public testing::Test {
protected:
    static void SetUpTestSuite() { EnsureTestWindow(); }

    void SetUp() override
    {
        std::memcpy(saved_[0], AmbientLight, sizeof AmbientLight);
        std::memcpy(saved_[1], DiffuseLight, sizeof DiffuseLight);
        std::memcpy(saved_[2], SpecularLight, sizeof SpecularLight);
        std::memcpy(saved_[3], LightPosition, sizeof LightPosition);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        while (glGetError() != GL_NO_ERROR) {}
    }

    void TearDown() override
    {
        std::memcpy(AmbientLight, saved_[0], sizeof AmbientLight);
        std::memcpy(DiffuseLight, saved_[1], sizeof DiffuseLight);
        std::memcpy(SpecularLight, saved_[2], sizeof SpecularLight);
        std::memcpy(LightPosition, saved_[3], sizeof LightPosition);
        GLVert3fRemove = false;
        GLVert3fEnableEdit = false;
        glDisable(GL_LIGHTING);
        glLoadIdentity();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }

private:
    GLfloat saved_[4][4] = {};
};

TEST_F(LightsTest, ColourArraysAndPositionStartAtTheirDocumentedValues)
{
    EXPECT_EQ(ToArray(AmbientLight), (Float4{0.5f, 0.5f, 0.5f, 1.0f}));
    EXPECT_EQ(ToArray(DiffuseLight), (Float4{1, 1, 1, 1}));
    EXPECT_EQ(ToArray(SpecularLight), (Float4{1, 1, 1, 1}));
    EXPECT_EQ(ToArray(LightPosition), (Float4{0, 0, 0, 0}));
}

// How the modelview current at the call moves a light position.
enum class Frame { Identity, ShiftedX10, TurnedZ90 };

void LoadFrame(Frame frame)
{
    glLoadIdentity();
    if (frame == Frame::ShiftedX10) glTranslatef(10, 0, 0);
    if (frame == Frame::TurnedZ90) glRotatef(90, 0, 0, 1);
}

struct PlacementCase {
    GLenum light;
    Frame frame;
    Float4 given;
    Float4 inEyeSpace;
};

const PlacementCase PLACEMENTS[] = {
    {GL_LIGHT1, Frame::Identity, {1, 2, 3, 1}, {1, 2, 3, 1}},
    // A positional light with w = 0.5 sits at (2, 4, 6) and moves with the frame.
    {GL_LIGHT3, Frame::ShiftedX10, {1, 2, 3, 0.5f}, {6, 2, 3, 0.5f}},
    // A directional light (w = 0) only turns with the frame.
    {GL_LIGHT2, Frame::ShiftedX10, {1, 2, 3, 0}, {1, 2, 3, 0}},
    {GL_LIGHT4, Frame::TurnedZ90, {1, 0, 0, 0}, {0, 1, 0, 0}},
    {GL_LIGHT0, Frame::TurnedZ90, {0, 20, 0, 0.1f}, {-20, 0, 0, 0.1f}},
};

TEST_F(LightsTest, SetUpSwitchesLightingOnWithStandardColoursAndPlacesTheLight)
{
    for (const PlacementCase& c : PLACEMENTS) {
        SCOPED_TRACE(testing::Message() << "light " << (c.light - GL_LIGHT0));
        glDisable(GL_LIGHTING);
        glDisable(c.light);
        LoadFrame(c.frame);

        SetGLLight(c.light, c.given[0], c.given[1], c.given[2], c.given[3]);

        EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
        EXPECT_TRUE(glIsEnabled(c.light));
        EXPECT_EQ(ReadLight(c.light, GL_AMBIENT), (Float4{0.5f, 0.5f, 0.5f, 1.0f}));
        EXPECT_EQ(ReadLight(c.light, GL_DIFFUSE), (Float4{1, 1, 1, 1}));
        EXPECT_EQ(ReadLight(c.light, GL_SPECULAR), (Float4{1, 1, 1, 1}));
        ExpectNear4(ReadLight(c.light, GL_POSITION), c.inEyeSpace);
        EXPECT_EQ(ToArray(LightPosition), c.given);
        glDisable(c.light);
    }
}

TEST_F(LightsTest, MovingALightChangesOnlyItsPosition)
{
    for (const PlacementCase& c : PLACEMENTS) {
        SCOPED_TRACE(testing::Message() << "light " << (c.light - GL_LIGHT0));
        glDisable(GL_LIGHTING);
        glDisable(c.light);
        const Float4 diffuseBefore = ReadLight(c.light, GL_DIFFUSE);
        LoadFrame(c.frame);

        PutGLPointLight(c.light, 0, c.given[0], c.given[1], c.given[2], c.given[3]);

        ExpectNear4(ReadLight(c.light, GL_POSITION), c.inEyeSpace);
        EXPECT_EQ(ToArray(LightPosition), c.given);
        EXPECT_FALSE(glIsEnabled(c.light));
        EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
        EXPECT_EQ(ReadLight(c.light, GL_DIFFUSE), diffuseBefore);
    }
    // A light never set up keeps OpenGL's defaults for everything but its position.
    EXPECT_EQ(ReadLight(GL_LIGHT6, GL_DIFFUSE), (Float4{0, 0, 0, 1}));
    PutGLPointLight(GL_LIGHT6, 0, 1, 1, 1, 1);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT6));
    EXPECT_EQ(ReadLight(GL_LIGHT6, GL_DIFFUSE), (Float4{0, 0, 0, 1}));
    EXPECT_EQ(ReadLight(GL_LIGHT6, GL_AMBIENT), (Float4{0, 0, 0, 1}));
}

TEST_F(LightsTest, LastPositionIsSharedWhileEachLightKeepsItsOwn)
{
    SetGLLight(GL_LIGHT1, 1, 2, 3, 1);
    PutGLPointLight(GL_LIGHT0, 0, 4, 5, 6, 0);
    EXPECT_EQ(ToArray(LightPosition), (Float4{4, 5, 6, 0}));
    EXPECT_EQ(ReadLight(GL_LIGHT1, GL_POSITION), (Float4{1, 2, 3, 1}));
    EXPECT_EQ(ReadLight(GL_LIGHT0, GL_POSITION), (Float4{4, 5, 6, 0}));
    // Changing the module array afterwards does not reach OpenGL.
    LightPosition[0] = 99;
    EXPECT_EQ(ReadLight(GL_LIGHT0, GL_POSITION), (Float4{4, 5, 6, 0}));
    glDisable(GL_LIGHT1);
}

TEST_F(LightsTest, SetUpTakesTheColourArraysAsTheyAreAtEachCall)
{
    SetGLLight(GL_LIGHT2, 0, 0, 1, 0);
    const Float4 ambient{0.1f, 0.2f, 0.3f, 0.4f}, diffuse{0.5f, 0.25f, 0.125f, 1}, specular{0, 1, 0, 0.5f};
    std::copy(ambient.begin(), ambient.end(), AmbientLight);
    std::copy(diffuse.begin(), diffuse.end(), DiffuseLight);
    std::copy(specular.begin(), specular.end(), SpecularLight);
    EXPECT_EQ(ReadLight(GL_LIGHT2, GL_AMBIENT), (Float4{0.5f, 0.5f, 0.5f, 1})) << "OpenGL copied";

    SetGLLight(GL_LIGHT2, 0, 0, 1, 0);
    EXPECT_EQ(ReadLight(GL_LIGHT2, GL_AMBIENT), ambient);
    EXPECT_EQ(ReadLight(GL_LIGHT2, GL_DIFFUSE), diffuse);
    EXPECT_EQ(ReadLight(GL_LIGHT2, GL_SPECULAR), specular);
    glDisable(GL_LIGHT2);
}

// The marker on screen: a 160 x 160 view of the box +-8, so object (x, y) is pixel
// ((x / 8 + 1) * 80, (y / 8 + 1) * 80). Drawn red on black, unlit.
class MarkerTest : public LightsTest {
protected:
    static constexpr int VIEW = 160;

    void SetUp() override
    {
        LightsTest::SetUp();
        glViewport(0, 0, VIEW, VIEW);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-8, 8, -8, 8, -8, 8);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        for (GLenum cap : {GL_LIGHTING, GL_DEPTH_TEST, GL_TEXTURE_2D, GL_CULL_FACE, GL_BLEND,
                           GL_POINT_SMOOTH})
            glDisable(cap);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor3f(1, 0, 0);
    }

    struct Spot { int count = 0, minX = VIEW, minY = VIEW, maxX = -1, maxY = -1; };

    // Where red pixels are in the view.
    static Spot FindRed()
    {
        const auto pixels = TestSupport::ReadBackBuffer(0, 0, VIEW, VIEW);
        Spot s;
        for (int y = 0; y < VIEW; ++y)
            for (int x = 0; x < VIEW; ++x) {
                const std::uint8_t* p = &pixels[(size_t(y) * VIEW + x) * 4];
                if (p[0] < 200 || p[1] > 50 || p[2] > 50) continue;
                ++s.count;
                s.minX = std::min(s.minX, x);
                s.maxX = std::max(s.maxX, x);
                s.minY = std::min(s.minY, y);
                s.maxY = std::max(s.maxY, y);
            }
        return s;
    }

    static void ExpectSquareAround(const Spot& s, int cx, int cy, int size)
    {
        EXPECT_EQ(s.count, size * size);
        EXPECT_EQ(s.maxX - s.minX + 1, size);
        EXPECT_EQ(s.maxY - s.minY + 1, size);
        EXPECT_LE(std::abs((s.minX + s.maxX + 1) / 2 - cx), 1);
        EXPECT_LE(std::abs((s.minY + s.maxY + 1) / 2 - cy), 1);
    }
};

TEST_F(MarkerTest, IsDrawnAtTheGivenPointNotAtTheLight)
{
    struct Case { float size, x, y, z, w; int px, py; };
    const Case cases[] = {
        {4, 1, 2, 3, 0.5f, 90, 100},   // the light is at (2, 4, 6); the marker ignores w
        {2, -3, -4, 0, 0, 50, 40},     // directional light: marker still at the point
        {6, 0, 0, -7, 1, 80, 80},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "size " << c.size << " at " << c.x << "," << c.y);
        glClear(GL_COLOR_BUFFER_BIT);
        PutGLPointLight(GL_LIGHT0, c.size, c.x, c.y, c.z, c.w);
        ExpectSquareAround(FindRed(), c.px, c.py, int(c.size));
        GLfloat pointSize = 0;
        glGetFloatv(GL_POINT_SIZE, &pointSize);
        EXPECT_EQ(pointSize, c.size) << "the point size stays set";
        ExpectNear4(ReadLight(GL_LIGHT0, GL_POSITION), Float4{c.x, c.y, c.z, c.w});
    }
}

TEST_F(MarkerTest, SizeZeroDrawsNothingAndKeepsThePointSize)
{
    glPointSize(7);
    PutGLPointLight(GL_LIGHT0, 0, 1, 2, 3, 1);
    EXPECT_EQ(FindRed().count, 0);
    GLfloat pointSize = 0;
    glGetFloatv(GL_POINT_SIZE, &pointSize);
    EXPECT_EQ(pointSize, 7.0f);
    ExpectNear4(ReadLight(GL_LIGHT0, GL_POSITION), Float4{1, 2, 3, 1});
}

TEST_F(MarkerTest, GoesThroughTheLibraryVertexWrappers)
{
    // Suppressed output: the light moves, nothing is drawn.
    GLVert3fRemove = true;
    PutGLPointLight(GL_LIGHT0, 4, 1, 2, 3, 1);
    GLVert3fRemove = false;
    EXPECT_EQ(FindRed().count, 0);
    ExpectNear4(ReadLight(GL_LIGHT0, GL_POSITION), Float4{1, 2, 3, 1});

    // Capture mode turns the marker by its entry's rotation: (1, 2) becomes (-2, 1).
    std::memset(&GLBaseVertex3f, 0, sizeof GLBaseVertex3f);
    GLBaseVertex3f.GLVert3fSetNum = 1;
    GLBaseVertex3f.GLVert3fTmpRotate[1] = TGLVector{0, 0, 90};
    GLVert3fEnableEdit = true;
    PutGLPointLight(GL_LIGHT0, 4, 1, 2, 3, 1);
    GLVert3fEnableEdit = false;
    ExpectSquareAround(FindRed(), 60, 90, 4);
    EXPECT_EQ(GLBaseVertex3f.GLVert3fOffset[1].X, 1.0f);
    EXPECT_EQ(GLBaseVertex3f.GLVert3fOffset[1].Y, 2.0f);
    std::memset(&GLBaseVertex3f, 0, sizeof GLBaseVertex3f);
}

} // namespace
