// TVK_Optimize: static meshes in vertex buffer objects and the heightmap terrain mesh.
#pragma once

#include "tarvik/tarvik.h"

#include <cstdint>
#include <vector>

namespace TVK_Optimize {

using Tarvik::TGLTexCoord;
using Tarvik::TGLVector;

// One static mesh: client arrays filled by a builder, uploaded once, drawn every frame.
struct GenVBO {
    std::int32_t VertCount = 0;
    std::vector<TGLVector> Vert;
    std::vector<TGLVector> Norm;
    std::vector<TGLTexCoord> TexCoord;
    GLuint VBOVertices = 0;
    GLuint VBONormal = 0;
    GLuint VBOTexCoords = 0;

    void SetVBO();
    void Draw(GLenum Mode);
    void FreeMem();
    std::int32_t GetNumTriangles() const;
};

void VBOVertex3f(GenVBO& VBO, std::int32_t Num, float X, float Y, float Z);
void VBONormal3f(GenVBO& VBO, std::int32_t Num, float X, float Y, float Z);
void VBOTexCoord2f(GenVBO& VBO, std::int32_t Num, float S, float T);

void VBOGenTerrain(GenVBO& VBO, float Scale, float Height, float Quality, float TSize,
                   const char* BmpName);

} // namespace TVK_Optimize
