// GenVBO: one static mesh in three client arrays, uploaded once into three buffer objects and
// drawn from them with one call.
#include "gl_extensions.h"
#include "tarvik/tvk_optimize.h"

namespace TVK_Optimize {

namespace {

template <typename Element>
bool HoldsCount(const std::vector<Element>& Array, std::int32_t Count)
{
    return Count >= 0 && Array.size() >= std::size_t(Count);
}

template <typename Element>
void ReleaseArray(std::vector<Element>& Array)
{
    std::vector<Element>().swap(Array);
}

template <typename Element>
bool InArray(const std::vector<Element>& Array, std::int32_t Num)
{
    return Num >= 0 && std::size_t(Num) < Array.size();
}

void UploadArray(const Tarvik::VertexBufferFunctions& gl, GLuint& Buffer, std::size_t Bytes,
                 const void* Data)
{
    gl.GenBuffers(1, &Buffer);
    gl.BindBuffer(GL_ARRAY_BUFFER_ARB, Buffer);
    gl.BufferData(GL_ARRAY_BUFFER_ARB, GLsizeiptrARB(Bytes), Data, GL_STATIC_DRAW_ARB);
}

} // namespace

void GenVBO::SetVBO()
{
    if (!Tarvik::HasVertexBufferObjects()) return;
    // Uploaded once: a second call would leak three buffers and upload empty arrays.
    if (VBOVertices != 0 || VBONormal != 0 || VBOTexCoords != 0) return;
    // Arrays shorter than the count would be read past their end.
    if (!HoldsCount(Vert, VertCount) || !HoldsCount(Norm, VertCount) ||
        !HoldsCount(TexCoord, VertCount))
        return;

    const Tarvik::VertexBufferFunctions& gl = Tarvik::VertexBuffers();
    const std::size_t count = std::size_t(VertCount);
    UploadArray(gl, VBOVertices, count * sizeof(TGLVector), Vert.data());
    UploadArray(gl, VBONormal, count * sizeof(TGLVector), Norm.data());
    UploadArray(gl, VBOTexCoords, count * sizeof(TGLTexCoord), TexCoord.data());
    FreeMem();
}

void GenVBO::Draw(GLenum Mode)
{
    Tarvik::TwoSideOn();
    // Without buffers (never uploaded) the pointers below would address client memory at 0.
    const bool uploaded = VBOVertices != 0 && VBONormal != 0 && VBOTexCoords != 0;
    if (uploaded && Tarvik::HasOpenGL13() && Tarvik::HasVertexBufferObjects()) {
        const Tarvik::VertexBufferFunctions& gl = Tarvik::VertexBuffers();
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        gl.BindBuffer(GL_ARRAY_BUFFER_ARB, VBOVertices);
        glVertexPointer(3, GL_FLOAT, 0, nullptr);
        gl.BindBuffer(GL_ARRAY_BUFFER_ARB, VBONormal);
        glNormalPointer(GL_FLOAT, 0, nullptr);
        gl.BindBuffer(GL_ARRAY_BUFFER_ARB, VBOTexCoords);
        glTexCoordPointer(2, GL_FLOAT, 0, nullptr);
        glDrawArrays(Mode, 0, VertCount);
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    Tarvik::TwoSideOff();
}

void GenVBO::FreeMem()
{
    ReleaseArray(Vert);
    ReleaseArray(Norm);
    ReleaseArray(TexCoord);
}

std::int32_t GenVBO::GetNumTriangles() const { return VertCount / 3; }

// The writers never grow the arrays; an index outside them writes nothing.
void VBOVertex3f(GenVBO& VBO, std::int32_t Num, float X, float Y, float Z)
{
    if (InArray(VBO.Vert, Num)) VBO.Vert[std::size_t(Num)] = TGLVector{X, Y, Z};
}

void VBONormal3f(GenVBO& VBO, std::int32_t Num, float X, float Y, float Z)
{
    if (InArray(VBO.Norm, Num)) VBO.Norm[std::size_t(Num)] = TGLVector{X, Y, Z};
}

void VBOTexCoord2f(GenVBO& VBO, std::int32_t Num, float S, float T)
{
    if (InArray(VBO.TexCoord, Num)) VBO.TexCoord[std::size_t(Num)] = TGLTexCoord{S, T};
}

} // namespace TVK_Optimize
