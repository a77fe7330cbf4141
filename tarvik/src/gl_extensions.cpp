// The one loader of OpenGL entry points beyond 1.1. Entry points belong to a context, so the
// results are kept for the context current when they were looked up and redone for another one.
#include "gl_extensions.h"

#include <cstring>

namespace Tarvik {

namespace {

struct LoadedEntryPoints {
    HGLRC Context = nullptr;
    bool VertexBuffersAvailable = false;
    bool Version13Available = false;
    VertexBufferFunctions Buffers = {};
};

LoadedEntryPoints Loaded;

// The core entry points of 1.2 (without the optional imaging subset) and of 1.3.
const char* const VERSION_12_13_ENTRY_POINTS[] = {
    "glDrawRangeElements", "glTexImage3D", "glTexSubImage3D", "glCopyTexSubImage3D",
    "glActiveTexture", "glClientActiveTexture", "glSampleCoverage",
    "glLoadTransposeMatrixf", "glLoadTransposeMatrixd", "glMultTransposeMatrixf",
    "glMultTransposeMatrixd", "glCompressedTexImage3D", "glCompressedTexImage2D",
    "glCompressedTexImage1D", "glCompressedTexSubImage3D", "glCompressedTexSubImage2D",
    "glCompressedTexSubImage1D", "glGetCompressedTexImage",
    "glMultiTexCoord1d", "glMultiTexCoord1dv", "glMultiTexCoord1f", "glMultiTexCoord1fv",
    "glMultiTexCoord1i", "glMultiTexCoord1iv", "glMultiTexCoord1s", "glMultiTexCoord1sv",
    "glMultiTexCoord2d", "glMultiTexCoord2dv", "glMultiTexCoord2f", "glMultiTexCoord2fv",
    "glMultiTexCoord2i", "glMultiTexCoord2iv", "glMultiTexCoord2s", "glMultiTexCoord2sv",
    "glMultiTexCoord3d", "glMultiTexCoord3dv", "glMultiTexCoord3f", "glMultiTexCoord3fv",
    "glMultiTexCoord3i", "glMultiTexCoord3iv", "glMultiTexCoord3s", "glMultiTexCoord3sv",
    "glMultiTexCoord4d", "glMultiTexCoord4dv", "glMultiTexCoord4f", "glMultiTexCoord4fv",
    "glMultiTexCoord4i", "glMultiTexCoord4iv", "glMultiTexCoord4s", "glMultiTexCoord4sv",
};

// Some drivers return small values instead of 0 for a missing entry point.
PROC EntryPoint(const char* Name)
{
    const PROC address = wglGetProcAddress(Name);
    const auto value = reinterpret_cast<INT_PTR>(address);
    if (value == 0 || value == 1 || value == 2 || value == 3 || value == -1) return nullptr;
    return address;
}

template <typename Function>
bool Load(Function& Target, const char* Name)
{
    Target = reinterpret_cast<Function>(reinterpret_cast<void*>(EntryPoint(Name)));
    return Target != nullptr;
}

bool LoadVertexBuffers(VertexBufferFunctions& f)
{
    const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!ExtensionListed(extensions, "GL_ARB_vertex_buffer_object")) return false;
    bool all = true;
    all &= Load(f.BindBuffer, "glBindBufferARB");
    all &= Load(f.DeleteBuffers, "glDeleteBuffersARB");
    all &= Load(f.GenBuffers, "glGenBuffersARB");
    all &= Load(f.IsBuffer, "glIsBufferARB");
    all &= Load(f.BufferData, "glBufferDataARB");
    all &= Load(f.BufferSubData, "glBufferSubDataARB");
    all &= Load(f.GetBufferSubData, "glGetBufferSubDataARB");
    all &= Load(f.MapBuffer, "glMapBufferARB");
    all &= Load(f.UnmapBuffer, "glUnmapBufferARB");
    all &= Load(f.GetBufferParameteriv, "glGetBufferParameterivARB");
    all &= Load(f.GetBufferPointerv, "glGetBufferPointervARB");
    return all;
}

bool LoadVersion13()
{
    for (const char* name : VERSION_12_13_ENTRY_POINTS)
        if (EntryPoint(name) == nullptr) return false;
    return true;
}

const LoadedEntryPoints& ForCurrentContext()
{
    const HGLRC context = wglGetCurrentContext();
    if (context != Loaded.Context) {
        Loaded = LoadedEntryPoints{};
        Loaded.Context = context;
        if (context != nullptr) {
            Loaded.VertexBuffersAvailable = LoadVertexBuffers(Loaded.Buffers);
            Loaded.Version13Available = LoadVersion13();
        }
    }
    return Loaded;
}

} // namespace

bool ExtensionListed(const char* List, const char* Extension)
{
    if (List == nullptr || Extension == nullptr) return false;
    const std::size_t length = std::strlen(Extension);
    if (length == 0) return false;
    for (const char* at = std::strstr(List, Extension); at != nullptr;
         at = std::strstr(at + 1, Extension)) {
        const bool startsWord = at == List || at[-1] == ' ';
        const bool endsWord = at[length] == ' ' || at[length] == '\0';
        if (startsWord && endsWord) return true;
    }
    return false;
}

bool HasVertexBufferObjects() { return ForCurrentContext().VertexBuffersAvailable; }

bool HasOpenGL13() { return ForCurrentContext().Version13Available; }

const VertexBufferFunctions& VertexBuffers() { return ForCurrentContext().Buffers; }

} // namespace Tarvik
