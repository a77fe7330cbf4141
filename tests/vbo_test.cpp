// GenVBO: the writers, the upload into three buffer objects, drawing from them, and the
// availability tests of the vertex buffer extension and the 1.2/1.3 entry points.
#include "gl_extensions.h"
#include "tarvik/tvk_optimize.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Tarvik;
using namespace TVK_Optimize;

namespace {

// ---------------------------------------------------------------- memory only

TEST(ExtensionListed, MatchesWholeNamesOnly)
{
    struct { const char* list; bool expected; } cases[] = {
        {"GL_ARB_vertex_buffer_object", true},
        {"GL_EXT_a GL_ARB_vertex_buffer_object GL_EXT_b", true},
        {"GL_EXT_a GL_ARB_vertex_buffer_object", true},
        {"GL_ARB_vertex_buffer_object_rgb32 GL_EXT_a", false},
        {"GL_XARB_vertex_buffer_object", false},
        {"GL_ARB_vertex_buffer_object_rgb32 GL_ARB_vertex_buffer_object", true},
        {"", false},
        {nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list ? c.list : "(null)");
        EXPECT_EQ(ExtensionListed(c.list, "GL_ARB_vertex_buffer_object"), c.expected);
    }
    EXPECT_FALSE(ExtensionListed("GL_EXT_a", ""));
}

GenVBO SizedMesh(int count)
{
    GenVBO vbo;
    vbo.VertCount = count;
    vbo.Vert.resize(std::size_t(count));
    vbo.Norm.resize(std::size_t(count));
    vbo.TexCoord.resize(std::size_t(count));
    return vbo;
}

TEST(VBOWriters, WriteOneElementOfOneArrayOnly)
{
    GenVBO vbo = SizedMesh(8);
    VBOTexCoord2f(vbo, 5, 0.25f, 0.75f);
    VBOVertex3f(vbo, 2, 1.0f, 2.0f, 3.0f);
    VBONormal3f(vbo, 7, 0.0f, -1.0f, 0.5f);
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        const TGLTexCoord t = vbo.TexCoord[std::size_t(i)];
        const TGLVector v = vbo.Vert[std::size_t(i)];
        const TGLVector n = vbo.Norm[std::size_t(i)];
        EXPECT_EQ(t.U, i == 5 ? 0.25f : 0.0f);
        EXPECT_EQ(t.V, i == 5 ? 0.75f : 0.0f);
        EXPECT_EQ(v.X + v.Y * 10 + v.Z * 100, i == 2 ? 321.0f : 0.0f);
        EXPECT_EQ(n.X, 0.0f);
        EXPECT_EQ(n.Y, i == 7 ? -1.0f : 0.0f);
        EXPECT_EQ(n.Z, i == 7 ? 0.5f : 0.0f);
    }
}

TEST(VBOWriters, IndexOutsideTheArrayWritesNothingAndNeverGrows)
{
    GenVBO vbo = SizedMesh(3);
    for (int num : {-1, 3, 1000}) {
        VBOVertex3f(vbo, num, 1, 1, 1);
        VBONormal3f(vbo, num, 1, 1, 1);
        VBOTexCoord2f(vbo, num, 1, 1);
    }
    EXPECT_EQ(vbo.Vert.size(), 3u);
    EXPECT_EQ(vbo.Norm.size(), 3u);
    EXPECT_EQ(vbo.TexCoord.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(vbo.Vert[std::size_t(i)].X, 0.0f);
        EXPECT_EQ(vbo.Norm[std::size_t(i)].X, 0.0f);
        EXPECT_EQ(vbo.TexCoord[std::size_t(i)].U, 0.0f);
    }
}

TEST(GenVBOObject, StartsEmptyCountsTrianglesAndFreesItsArrays)
{
    const GenVBO empty;
    EXPECT_EQ(empty.VertCount, 0);
    EXPECT_TRUE(empty.Vert.empty());
    EXPECT_EQ(empty.VBOVertices + empty.VBONormal + empty.VBOTexCoords, 0u);

    struct { int count, triangles; } cases[] = {{0, 0}, {2, 0}, {3, 1}, {6, 2}, {7, 2}, {24, 8}};
    for (const auto& c : cases) {
        GenVBO vbo;
        vbo.VertCount = c.count;
        EXPECT_EQ(vbo.GetNumTriangles(), c.triangles) << c.count;
    }

    GenVBO vbo = SizedMesh(6);
    vbo.FreeMem();
    EXPECT_EQ(vbo.VertCount, 6);
    EXPECT_EQ(vbo.Vert.capacity(), 0u);
    EXPECT_EQ(vbo.Norm.capacity(), 0u);
    EXPECT_EQ(vbo.TexCoord.capacity(), 0u);
}

// ---------------------------------------------------------------- real GL

class VBOTest : public testing::Test {
protected:
    static void SetUpTestSuite() { TestSupport::EnsureTestWindow(); }

    static GLint BufferSize(GLuint buffer)
    {
        const VertexBufferFunctions& gl = VertexBuffers();
        GLint previous = 0, size = -1;
        glGetIntegerv(GL_ARRAY_BUFFER_BINDING_ARB, &previous);
        gl.BindBuffer(GL_ARRAY_BUFFER_ARB, buffer);
        gl.GetBufferParameteriv(GL_ARRAY_BUFFER_ARB, GL_BUFFER_SIZE_ARB, &size);
        gl.BindBuffer(GL_ARRAY_BUFFER_ARB, GLuint(previous));
        return size;
    }
    template <typename Element>
    static std::vector<Element> BufferContents(GLuint buffer, std::size_t count)
    {
        const VertexBufferFunctions& gl = VertexBuffers();
        std::vector<Element> data(count);
        gl.BindBuffer(GL_ARRAY_BUFFER_ARB, buffer);
        gl.GetBufferSubData(GL_ARRAY_BUFFER_ARB, 0, GLsizeiptrARB(count * sizeof(Element)),
                            data.data());
        return data;
    }
    static GLint ArrayBufferBinding()
    {
        GLint name = 0;
        glGetIntegerv(GL_ARRAY_BUFFER_BINDING_ARB, &name);
        return name;
    }
    static GLint TwoSided()
    {
        GLint value = -1;
        glGetIntegerv(GL_LIGHT_MODEL_TWO_SIDE, &value);
        return value;
    }
};

TEST_F(VBOTest, ExtensionAndVersionEntryPointsAreFoundOnThisContext)
{
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    ASSERT_TRUE(ExtensionListed(extensions, "GL_ARB_vertex_buffer_object"));
    EXPECT_TRUE(HasVertexBufferObjects());
    EXPECT_TRUE(HasOpenGL13());
    EXPECT_NE(VertexBuffers().GetBufferPointerv, nullptr);
}

TEST_F(VBOTest, WithoutACurrentContextNothingIsAvailableAndNothingIsMade)
{
    const HDC dc = wglGetCurrentDC();
    const HGLRC context = wglGetCurrentContext();
    ASSERT_TRUE(wglMakeCurrent(nullptr, nullptr));
    EXPECT_FALSE(HasVertexBufferObjects());
    EXPECT_FALSE(HasOpenGL13());
    GenVBO vbo = SizedMesh(3);
    vbo.SetVBO();
    EXPECT_EQ(vbo.VBOVertices, 0u);
    EXPECT_EQ(vbo.Vert.size(), 3u) << "the arrays keep their contents";
    ASSERT_TRUE(wglMakeCurrent(dc, context));
    EXPECT_TRUE(HasVertexBufferObjects());
}

TEST_F(VBOTest, SetVBOUploadsThreeBuffersOfTheRightSizesAndEmptiesTheArrays)
{
    GenVBO vbo = SizedMesh(6);
    for (int i = 0; i < 6; ++i) {
        VBOVertex3f(vbo, i, float(i), float(i) + 0.5f, -float(i));
        VBONormal3f(vbo, i, 0, 1, float(i));
        VBOTexCoord2f(vbo, i, float(i) / 6, 1 - float(i) / 6);
    }
    const std::vector<TGLVector> positions = vbo.Vert;
    const std::vector<TGLVector> normals = vbo.Norm;
    const std::vector<TGLTexCoord> coordinates = vbo.TexCoord;
    vbo.SetVBO();

    ASSERT_NE(vbo.VBOVertices, 0u);
    ASSERT_NE(vbo.VBONormal, 0u);
    ASSERT_NE(vbo.VBOTexCoords, 0u);
    EXPECT_NE(vbo.VBOVertices, vbo.VBONormal);
    EXPECT_NE(vbo.VBONormal, vbo.VBOTexCoords);
    EXPECT_EQ(ArrayBufferBinding(), GLint(vbo.VBOTexCoords));
    EXPECT_EQ(BufferSize(vbo.VBOVertices), 72);
    EXPECT_EQ(BufferSize(vbo.VBONormal), 72);
    EXPECT_EQ(BufferSize(vbo.VBOTexCoords), 48);
    EXPECT_EQ(vbo.VertCount, 6);
    EXPECT_TRUE(vbo.Vert.empty());
    EXPECT_TRUE(vbo.Norm.empty());
    EXPECT_TRUE(vbo.TexCoord.empty());
    EXPECT_EQ(vbo.Vert.capacity() + vbo.Norm.capacity() + vbo.TexCoord.capacity(), 0u);

    GLint usage = 0;
    VertexBuffers().BindBuffer(GL_ARRAY_BUFFER_ARB, vbo.VBONormal);
    VertexBuffers().GetBufferParameteriv(GL_ARRAY_BUFFER_ARB, GL_BUFFER_USAGE_ARB, &usage);
    EXPECT_EQ(usage, GL_STATIC_DRAW_ARB);

    const auto uploadedPositions = BufferContents<TGLVector>(vbo.VBOVertices, 6);
    const auto uploadedNormals = BufferContents<TGLVector>(vbo.VBONormal, 6);
    const auto uploadedCoordinates = BufferContents<TGLTexCoord>(vbo.VBOTexCoords, 6);
    for (std::size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(uploadedPositions[i].Y, positions[i].Y);
        EXPECT_EQ(uploadedPositions[i].Z, positions[i].Z);
        EXPECT_EQ(uploadedNormals[i].Z, normals[i].Z);
        EXPECT_EQ(uploadedCoordinates[i].U, coordinates[i].U);
        EXPECT_EQ(uploadedCoordinates[i].V, coordinates[i].V);
    }
}

TEST_F(VBOTest, EmptyMeshMakesThreeEmptyBuffers)
{
    GenVBO vbo;
    vbo.SetVBO();
    ASSERT_NE(vbo.VBOVertices, 0u);
    EXPECT_EQ(BufferSize(vbo.VBOVertices), 0);
    EXPECT_EQ(BufferSize(vbo.VBONormal), 0);
    EXPECT_EQ(BufferSize(vbo.VBOTexCoords), 0);
}

TEST_F(VBOTest, SecondSetVBOUploadsNothing)
{
    GenVBO vbo = SizedMesh(3);
    vbo.SetVBO();
    const GLuint names[3] = {vbo.VBOVertices, vbo.VBONormal, vbo.VBOTexCoords};
    vbo.SetVBO();
    EXPECT_EQ(vbo.VBOVertices, names[0]);
    EXPECT_EQ(vbo.VBONormal, names[1]);
    EXPECT_EQ(vbo.VBOTexCoords, names[2]);
    EXPECT_EQ(BufferSize(vbo.VBOVertices), 36) << "the uploaded data is kept";
}

TEST_F(VBOTest, ArraysShorterThanTheCountAreNotUploaded)
{
    for (int which = 0; which < 3; ++which) {
        SCOPED_TRACE(which);
        GenVBO vbo = SizedMesh(6);
        if (which == 0) vbo.Vert.resize(5);
        if (which == 1) vbo.Norm.clear();
        if (which == 2) vbo.TexCoord.resize(1);
        vbo.SetVBO();
        EXPECT_EQ(vbo.VBOVertices + vbo.VBONormal + vbo.VBOTexCoords, 0u);
        EXPECT_EQ(vbo.Vert.size() + vbo.Norm.size() + vbo.TexCoord.size(),
                  which == 0 ? 17u : which == 1 ? 12u : 13u);
    }
    GenVBO negative;
    negative.VertCount = -3;
    negative.SetVBO();
    EXPECT_EQ(negative.VBOVertices, 0u);
}

// Draws into the back buffer with identity transforms: clip space equals the window.
class VBODrawTest : public VBOTest {
protected:
    void SetUp() override
    {
        glViewport(0, 0, 64, 64);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glDisable(GL_LIGHTING);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor3f(1, 1, 1);
    }
    void TearDown() override { glDisable(GL_LIGHTING); }

    // A quad over the left half of the view, as two triangles; Clockwise reverses their winding.
    static GenVBO LeftHalfQuad(bool Clockwise)
    {
        const float corners[6][2] = {{-1, -1}, {0, -1}, {0, 1}, {-1, -1}, {0, 1}, {-1, 1}};
        GenVBO vbo = SizedMesh(6);
        for (int i = 0; i < 6; ++i) {
            const int k = Clockwise ? 5 - i : i;
            VBOVertex3f(vbo, i, corners[k][0], corners[k][1], 0);
            VBONormal3f(vbo, i, 0, 0, 1);
            VBOTexCoord2f(vbo, i, 0, 0);
        }
        return vbo;
    }
    static std::vector<std::uint8_t> Pixel(int x, int y)
    {
        return TestSupport::ReadBackBuffer(x, y, 1, 1);
    }
};

TEST_F(VBODrawTest, DrawsTheMeshFromItsBuffersAndRestoresClientState)
{
    GenVBO vbo = LeftHalfQuad(false);
    vbo.SetVBO();
    vbo.Draw(GL_TRIANGLES);
    for (int y : {2, 32, 61}) {
        EXPECT_EQ(Pixel(8, y)[0], 255) << "left half, y " << y;
        EXPECT_EQ(Pixel(40, y)[0], 0) << "right half, y " << y;
    }
    EXPECT_EQ(TwoSided(), 0);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_EQ(ArrayBufferBinding(), GLint(vbo.VBOTexCoords));
}

TEST_F(VBODrawTest, DrawsVertCountVerticesInTheGivenMode)
{
    // Only the first triangle: the lower right corner of the quad's half.
    GenVBO vbo = LeftHalfQuad(false);
    vbo.SetVBO();
    vbo.VertCount = 3;
    vbo.Draw(GL_TRIANGLES);
    EXPECT_EQ(Pixel(28, 4)[0], 255);
    EXPECT_EQ(Pixel(4, 60)[0], 0);
    // Count 0 draws nothing.
    glClear(GL_COLOR_BUFFER_BIT);
    vbo.VertCount = 0;
    vbo.Draw(GL_TRIANGLES);
    EXPECT_EQ(Pixel(28, 4)[0], 0);
}

TEST_F(VBODrawTest, LightsBackFacesWithTheBackMaterialWhileDrawing)
{
    // Ambient light only, so the colour is the material's: red in front, green behind.
    const GLfloat none[4] = {0, 0, 0, 1}, white[4] = {1, 1, 1, 1};
    const GLfloat red[4] = {1, 0, 0, 1}, green[4] = {0, 1, 0, 1};
    glEnable(GL_LIGHTING);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, white);
    glDisable(GL_LIGHT0);
    glMaterialfv(GL_FRONT, GL_AMBIENT, red);
    glMaterialfv(GL_BACK, GL_AMBIENT, green);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, none);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, none);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, none);

    GenVBO front = LeftHalfQuad(false);
    front.SetVBO();
    GenVBO back = LeftHalfQuad(true);
    back.SetVBO();
    front.Draw(GL_TRIANGLES);
    const auto frontPixel = Pixel(16, 32);
    back.Draw(GL_TRIANGLES);
    const auto backPixel = Pixel(16, 32);
    EXPECT_EQ(frontPixel[0], 255);
    EXPECT_EQ(frontPixel[1], 0);
    EXPECT_EQ(backPixel[0], 0);
    EXPECT_EQ(backPixel[1], 255);
    EXPECT_EQ(TwoSided(), 0);

    const GLfloat defaultAmbient[4] = {0.2f, 0.2f, 0.2f, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, defaultAmbient);
}

TEST_F(VBODrawTest, MeshNeverUploadedDrawsNothingAndStillLeavesTwoSidedLightingOff)
{
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
    GenVBO vbo = LeftHalfQuad(false);
    vbo.Draw(GL_TRIANGLES);
    EXPECT_EQ(Pixel(8, 32)[0], 0);
    EXPECT_EQ(TwoSided(), 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

} // namespace
