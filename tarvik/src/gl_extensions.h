// OpenGL entry points beyond 1.1, obtained by name from the driver: the ARB vertex buffer object
// functions and the availability of the 1.2/1.3 entry points.
#pragma once

#include "tarvik/platform.h"

namespace Tarvik {

struct VertexBufferFunctions {
    PFNGLBINDBUFFERARBPROC BindBuffer;
    PFNGLDELETEBUFFERSARBPROC DeleteBuffers;
    PFNGLGENBUFFERSARBPROC GenBuffers;
    PFNGLISBUFFERARBPROC IsBuffer;
    PFNGLBUFFERDATAARBPROC BufferData;
    PFNGLBUFFERSUBDATAARBPROC BufferSubData;
    PFNGLGETBUFFERSUBDATAARBPROC GetBufferSubData;
    PFNGLMAPBUFFERARBPROC MapBuffer;
    PFNGLUNMAPBUFFERARBPROC UnmapBuffer;
    PFNGLGETBUFFERPARAMETERIVARBPROC GetBufferParameteriv;
    PFNGLGETBUFFERPOINTERVARBPROC GetBufferPointerv;
};

// True when the space-separated extension list names Extension as a whole word.
bool ExtensionListed(const char* List, const char* Extension);

// "GL_ARB_vertex_buffer_object" is listed by the current context and all its entry points load.
bool HasVertexBufferObjects();

// Every entry point of OpenGL 1.2 and 1.3 loads in the current context.
bool HasOpenGL13();

// The vertex buffer functions of the current context; valid after HasVertexBufferObjects().
const VertexBufferFunctions& VertexBuffers();

} // namespace Tarvik
