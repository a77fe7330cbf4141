// The immediate-mode wrappers and the capture store: exact pass-through with the switches off,
// suppression, capture with its ceiling and per-index transforms, out-of-range indices.
// What reaches OpenGL is read back through feedback mode.
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <vector>

using namespace Tarvik;
using TestSupport::EnsureTestWindow;

namespace {

struct FedVertex { float X, Y, Z; };
struct FedPrimitive {
    GLenum token;
    std::vector<FedVertex> vertices;
};

// Records what OpenGL receives. An orthographic box of +-16 on a 32 x 32 viewport maps object
// coordinates to window coordinates by powers of two only, so the read-back is exact.
class Feedback {
public:
    Feedback()
    {
        glViewport(0, 0, 2 * BOX, 2 * BOX);
        glDepthRange(0.0, 1.0);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-BOX, BOX, -BOX, BOX, -BOX, BOX);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glFeedbackBuffer(GLsizei(buffer_.size()), GL_3D, buffer_.data());
        glRenderMode(GL_FEEDBACK);
    }

    // Leaves feedback mode and decodes the primitives, in object coordinates.
    std::vector<FedPrimitive> Finish()
    {
        const GLint used = glRenderMode(GL_RENDER);
        std::vector<FedPrimitive> out;
        for (GLint i = 0; i < used;) {
            const GLenum token = GLenum(buffer_[i++]);
            int count = 0;
            if (token == GL_POINT_TOKEN) count = 1;
            else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) count = 2;
            else if (token == GL_POLYGON_TOKEN) count = int(buffer_[i++]);
            else if (token == GL_PASS_THROUGH_TOKEN) { ++i; continue; }
            FedPrimitive p{token, {}};
            for (int v = 0; v < count && i + 2 < used; ++v, i += 3)
                p.vertices.push_back({buffer_[i] - BOX, buffer_[i + 1] - BOX,
                                      (0.5f - buffer_[i + 2]) * 2 * BOX});
            out.push_back(p);
        }
        return out;
    }

private:
    static constexpr float BOX = 16.0f;
    std::vector<GLfloat> buffer_ = std::vector<GLfloat>(4096);
};

void ExpectVertex(const FedVertex& v, float x, float y, float z, float tolerance = 0.0f)
{
    EXPECT_NEAR(v.X, x, tolerance);
    EXPECT_NEAR(v.Y, y, tolerance);
    EXPECT_NEAR(v.Z, z, tolerance);
}

void ExpectVector(const TGLVector& v, float x, float y, float z, float tolerance = 0.0f)
{
    EXPECT_NEAR(v.X, x, tolerance);
    EXPECT_NEAR(v.Y, y, tolerance);
    EXPECT_NEAR(v.Z, z, tolerance);
}

std::unique_ptr<TGLVertex3f> CopyOfStore()
{
    auto copy = std::make_unique<TGLVertex3f>();
    std::memcpy(copy.get(), &GLBaseVertex3f, sizeof(TGLVertex3f));
    return copy;
}

bool StoreEquals(const TGLVertex3f& expected)
{
    return std::memcmp(&expected, &GLBaseVertex3f, sizeof(TGLVertex3f)) == 0;
}

class CapturedVerticesTest : public testing::Test {
protected:
    static void SetUpTestSuite() { EnsureTestWindow(); }

    void SetUp() override
    {
        std::memset(&GLBaseVertex3f, 0, sizeof GLBaseVertex3f);
        GLVert3fRemove = false;
        GLVert3fEnableEdit = false;
        while (glGetError() != GL_NO_ERROR) {}
    }

    void TearDown() override
    {
        GLVert3fRemove = false;
        GLVert3fEnableEdit = false;
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }

    // Draws the inputs as points through the wrappers and returns what OpenGL received.
    static std::vector<FedPrimitive> DrawPoints(const std::vector<FedVertex>& points)
    {
        Feedback feedback;
        GLBegin(GL_POINTS);
        for (const FedVertex& p : points) GLVertex3f(p.X, p.Y, p.Z);
        GLEnd();
        return feedback.Finish();
    }
};

TEST_F(CapturedVerticesTest, WindowSettingClearsBothSwitches)
{
    GLVert3fRemove = true;
    GLVert3fEnableEdit = true;
    OGLWindowSetting(ARROW, "", GENERIC, "");
    EXPECT_FALSE(GLVert3fRemove);
    EXPECT_FALSE(GLVert3fEnableEdit);
}

TEST_F(CapturedVerticesTest, SwitchesOffPassEachCallThroughUnchanged)
{
    struct Case { GLenum mode; GLenum token; std::vector<FedVertex> in; };
    const Case cases[] = {
        {GL_POINTS, GL_POINT_TOKEN, {{1, 2, 3}}},
        {GL_POINTS, GL_POINT_TOKEN, {{-4.5f, 0.25f, -2}, {15.75f, -15.5f, 0.125f}}},
        {GL_LINES, GL_LINE_TOKEN, {{1, 2, 3}, {-4.5f, 0.25f, -2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode);
        GLBaseVertex3f.GLVert3fSetNum = 7;
        GLBaseVertex3f.GLVert3fCount = 2;
        auto expected = CopyOfStore();
        expected->GLVert3fMax = 7; // the one store change

        Feedback feedback;
        GLBegin(c.mode);
        for (const FedVertex& v : c.in) GLVertex3f(v.X, v.Y, v.Z);
        GLEnd();
        const auto fed = feedback.Finish();

        ASSERT_EQ(fed.size(), c.mode == GL_POINTS ? c.in.size() : 1u);
        std::vector<FedVertex> received;
        for (const FedPrimitive& p : fed) {
            // Whether the first segment reports a stipple reset is the implementation's choice.
            const GLenum token = p.token == GL_LINE_RESET_TOKEN ? GLenum(GL_LINE_TOKEN) : p.token;
            EXPECT_EQ(token, c.token);
            received.insert(received.end(), p.vertices.begin(), p.vertices.end());
        }
        ASSERT_EQ(received.size(), c.in.size());
        for (size_t i = 0; i < c.in.size(); ++i)
            ExpectVertex(received[i], c.in[i].X, c.in[i].Y, c.in[i].Z);
        EXPECT_TRUE(StoreEquals(*expected));
    }
}

TEST_F(CapturedVerticesTest, RemoveSuppressesBeginVertexAndEnd)
{
    GLVert3fRemove = true;
    GLBaseVertex3f.GLVert3fSetNum = 5;
    auto expected = CopyOfStore();
    expected->GLVert3fMax = 5;

    Feedback feedback;
    GLBegin(GL_POINTS);
    GLVertex3f(1, 2, 3);
    // Had glBegin gone out, a state query here would be an invalid operation.
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    GLEnd();
    EXPECT_TRUE(feedback.Finish().empty());
    EXPECT_TRUE(StoreEquals(*expected));

    // A lone glEnd would be an invalid operation too.
    GLEnd();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(CapturedVerticesTest, CaptureFillsEntriesUpToTheCeilingThenRepeatsTheLast)
{
    GLVert3fEnableEdit = true;
    GLBaseVertex3f.GLVert3fSetNum = 3;
    const std::vector<FedVertex> in = {{1, 2, 3}, {-4, 5, -6}, {7.5f, -8, 9}, {0.5f, 0.25f, -1}};

    const auto fed = DrawPoints(in);

    ASSERT_EQ(fed.size(), in.size());
    for (size_t i = 0; i < in.size(); ++i) ExpectVertex(fed[i].vertices.at(0), in[i].X, in[i].Y, in[i].Z);
    const TGLVertex3f& s = GLBaseVertex3f;
    EXPECT_EQ(s.GLVert3fMax, 3);
    EXPECT_EQ(s.GLVert3fCount, 3);
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        const FedVertex& v = in[n == 3 ? 3 : n - 1]; // the fourth vertex overwrote entry 3
        ExpectVector(s.GLVert3fOffset[n], v.X, v.Y, v.Z);
        ExpectVector(s.GLVert3f[n], v.X, v.Y, v.Z);
        ExpectVector(s.GLVert3fTmpScale[n], 1, 1, 1);
    }
    ExpectVector(s.GLVert3fTmpScale[4], 0, 0, 0);
    ExpectVector(s.GLVert3fOffset[4], 0, 0, 0);
    ExpectVector(s.GLVert3fOffset[0], 0, 0, 0);

    // A second pass without resetting the index lands every vertex in the last entry.
    DrawPoints({{10, 11, 12}, {13, 14, 15}});
    EXPECT_EQ(s.GLVert3fCount, 3);
    ExpectVector(s.GLVert3fOffset[1], 1, 2, 3);
    ExpectVector(s.GLVert3fOffset[3], 13, 14, 15);

    // Resetting it starts again at entry 1.
    GLBaseVertex3f.GLVert3fCount = 0;
    DrawPoints({{10, 11, 12}});
    EXPECT_EQ(s.GLVert3fCount, 1);
    ExpectVector(s.GLVert3fOffset[1], 10, 11, 12);
}

TEST_F(CapturedVerticesTest, ScaleIsReplacedOnlyWhenAllThreeComponentsAreZero)
{
    struct Case { TGLVector scale, move, in, scaleAfter, out; };
    const Case cases[] = {
        {{0, 0, 0}, {0, 0, 0}, {3, 4, 5}, {1, 1, 1}, {3, 4, 5}},
        {{-0.0f, 0, 0}, {1, 1, 1}, {3, 4, 5}, {1, 1, 1}, {4, 5, 6}},
        {{2, 0, 0}, {0.5f, 1, -1}, {3, 4, 5}, {2, 0, 0}, {6.5f, 1, -1}},
        {{0, 0, 3}, {0, 0, 0}, {3, 4, 5}, {0, 0, 3}, {0, 0, 15}},
        {{-1, 0.5f, 2}, {0, 0, 0}, {3, 4, 5}, {-1, 0.5f, 2}, {-3, 2, 10}},
    };
    GLVert3fEnableEdit = true;
    GLBaseVertex3f.GLVert3fSetNum = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "scale " << c.scale.X << "," << c.scale.Y << "," << c.scale.Z);
        GLBaseVertex3f.GLVert3fCount = 0;
        GLBaseVertex3f.GLVert3fTmpScale[1] = c.scale;
        GLBaseVertex3f.GLVert3fTmp[1] = c.move;
        const auto fed = DrawPoints({{c.in.X, c.in.Y, c.in.Z}});
        ASSERT_EQ(fed.size(), 1u);
        ExpectVertex(fed[0].vertices.at(0), c.out.X, c.out.Y, c.out.Z);
        ExpectVector(GLBaseVertex3f.GLVert3f[1], c.out.X, c.out.Y, c.out.Z);
        ExpectVector(GLBaseVertex3f.GLVert3fTmpScale[1], c.scaleAfter.X, c.scaleAfter.Y, c.scaleAfter.Z);
        ExpectVector(GLBaseVertex3f.GLVert3fOffset[1], c.in.X, c.in.Y, c.in.Z);
    }
}

TEST_F(CapturedVerticesTest, RotatesAboutTheOriginAfterTheOffset)
{
    struct Case { TGLVector rotate, pivot, move, scale, in, out; };
    const Case cases[] = {
        {{0, 0, 90}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}},
        {{0, 0, 180}, {1, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {-1, 0, 0}},
        {{90, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        // scale, then translate, then offset, then turn: (1,1,1) -> (3,4,5) -> (3,5,5) -> (-5,3,5)
        {{0, 0, 90}, {0, 1, 0}, {1, 1, 1}, {2, 3, 4}, {1, 1, 1}, {-5, 3, 5}},
    };
    GLVert3fEnableEdit = true;
    GLBaseVertex3f.GLVert3fSetNum = 2;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "rotate " << c.rotate.X << "," << c.rotate.Y << "," << c.rotate.Z);
        // Entry 2 carries the transform; entry 1 stays plain.
        GLBaseVertex3f.GLVert3fCount = 0;
        GLBaseVertex3f.GLVert3fTmpRotate[2] = c.rotate;
        GLBaseVertex3f.GLVert3fTmpPosRot[2] = c.pivot;
        GLBaseVertex3f.GLVert3fTmp[2] = c.move;
        GLBaseVertex3f.GLVert3fTmpScale[2] = c.scale;
        const auto fed = DrawPoints({{c.in.X, c.in.Y, c.in.Z}, {c.in.X, c.in.Y, c.in.Z}});
        ASSERT_EQ(fed.size(), 2u);
        ExpectVertex(fed[0].vertices.at(0), c.in.X, c.in.Y, c.in.Z);
        ExpectVertex(fed[1].vertices.at(0), c.out.X, c.out.Y, c.out.Z, 1e-5f);
        ExpectVector(GLBaseVertex3f.GLVert3f[2], c.out.X, c.out.Y, c.out.Z, 1e-5f);
        ExpectVector(GLBaseVertex3f.GLVert3fOffset[2], c.in.X, c.in.Y, c.in.Z);
    }
}

TEST_F(CapturedVerticesTest, CaptureWithOutputRemovedUpdatesTheStoreButDrawsNothing)
{
    GLVert3fEnableEdit = true;
    GLBaseVertex3f.GLVert3fSetNum = 2;
    GLBaseVertex3f.GLVert3fTmpRotate[1] = TGLVector{0, 0, 90};
    GLBaseVertex3f.GLVert3fTmp[2] = TGLVector{1, 2, 3};

    GLVert3fRemove = true;
    const auto fed = DrawPoints({{1, 0, 0}, {1, 1, 1}});

    EXPECT_TRUE(fed.empty());
    EXPECT_EQ(GLBaseVertex3f.GLVert3fCount, 2);
    ExpectVector(GLBaseVertex3f.GLVert3f[1], 0, 1, 0, 1e-6f);
    ExpectVector(GLBaseVertex3f.GLVert3f[2], 2, 3, 4);
    ExpectVector(GLBaseVertex3f.GLVert3fOffset[2], 1, 1, 1);
    ExpectVector(GLBaseVertex3f.GLVert3fTmpScale[1], 1, 1, 1);
}

TEST_F(CapturedVerticesTest, IndexOutsideTheStoreIsDrawnAsGivenAndTouchesNoEntry)
{
    struct Case { std::int32_t count, setNum, countAfter; };
    const Case cases[] = {
        {0, 0, 0},                  // nothing declared: index 0, the unused slot
        {10000, 10005, 10001},      // one past the last entry
        {10000, 30000, 10001},
        {25000, 30000, 25001},      // far past, inside another array's span if unchecked
        {-5, -3, -4},
        {INT_MIN, 0, INT_MIN + 1},
        {INT_MAX, INT_MAX, INT_MAX},
    };
    GLVert3fEnableEdit = true;
    // Transforms in the slots around the edges show up if they are wrongly used.
    for (int n : {0, 1, GL_VERT3F_CAPACITY}) {
        GLBaseVertex3f.GLVert3fTmpRotate[n] = TGLVector{0, 0, 90};
        GLBaseVertex3f.GLVert3fTmp[n] = TGLVector{5, 5, 5};
    }
    for (bool removed : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "count " << c.count << " set " << c.setNum
                                            << (removed ? " removed" : ""));
            GLBaseVertex3f.GLVert3fCount = c.count;
            GLBaseVertex3f.GLVert3fSetNum = c.setNum;
            auto expected = CopyOfStore();
            expected->GLVert3fMax = c.setNum;
            expected->GLVert3fCount = c.countAfter;

            GLVert3fRemove = removed;
            const auto fed = DrawPoints({{1, 2, 3}});
            GLVert3fRemove = false;

            if (removed) {
                EXPECT_TRUE(fed.empty());
            } else {
                ASSERT_EQ(fed.size(), 1u);
                ExpectVertex(fed[0].vertices.at(0), 1, 2, 3);
            }
            EXPECT_TRUE(StoreEquals(*expected));
            EXPECT_TRUE(GLVert3fEnableEdit);
        }
    }
}

} // namespace
