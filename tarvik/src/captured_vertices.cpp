// The library's immediate-mode wrappers with the optional capture-and-transform store.
// With both switches off they are glBegin/glVertex3f/glEnd; GLVert3fRemove silences them and
// GLVert3fEnableEdit records each vertex by index and moves it by that index's own transform.
#include "tarvik/tarvik.h"

namespace Tarvik {

TGLVertex3f GLBaseVertex3f = {};
bool GLVert3fRemove = false;
bool GLVert3fEnableEdit = false;

namespace {

bool IsStoreIndex(std::int32_t n) { return n >= 1 && n <= GL_VERT3F_CAPACITY; }

void EmitVertex(float X, float Y, float Z)
{
    if (!GLVert3fRemove) glVertex3f(X, Y, Z);
}

// Moves the index one step while it is below the ceiling; at the ceiling it stays put.
std::int32_t AdvanceCaptureIndex()
{
    TGLVertex3f& store = GLBaseVertex3f;
    if (store.GLVert3fCount < store.GLVert3fMax) ++store.GLVert3fCount;
    return store.GLVert3fCount;
}

// Records the input at entry n and returns where its scale, translations and rotation put it.
TGLVector CaptureAndTransform(std::int32_t n, float X, float Y, float Z)
{
    using L = long double;
    TGLVertex3f& store = GLBaseVertex3f;
    store.GLVert3fOffset[n] = TGLVector{X, Y, Z};

    TGLVector& scale = store.GLVert3fTmpScale[n];
    if (scale.X == 0.0f && scale.Y == 0.0f && scale.Z == 0.0f) scale = TGLVector{1.0f, 1.0f, 1.0f};

    const TGLVector& move = store.GLVert3fTmp[n];
    TGLVector& placed = store.GLVert3f[n];
    placed = TGLVector{static_cast<float>(L(scale.X) * X + move.X),
                       static_cast<float>(L(scale.Y) * Y + move.Y),
                       static_cast<float>(L(scale.Z) * Z + move.Z)};

    const TGLVector& pivot = store.GLVert3fTmpPosRot[n];
    const TGLVector beforeTurn{pivot.X + placed.X, pivot.Y + placed.Y, pivot.Z + placed.Z};
    placed = MatrixVecRot(beforeTurn, MatrixEulerRad(store.GLVert3fTmpRotate[n]));
    return placed;
}

} // namespace

void GLBegin(GLenum Mode)
{
    if (!GLVert3fRemove) glBegin(Mode);
    GLBaseVertex3f.GLVert3fMax = GLBaseVertex3f.GLVert3fSetNum;
}

void GLVertex3f(float X, float Y, float Z)
{
    if (!GLVert3fEnableEdit) {
        EmitVertex(X, Y, Z);
        return;
    }
    const std::int32_t n = AdvanceCaptureIndex();
    // An index the store does not have (nothing declared, or more than it holds) is drawn as
    // given rather than written past the arrays.
    if (!IsStoreIndex(n)) {
        EmitVertex(X, Y, Z);
        return;
    }
    const TGLVector sent = CaptureAndTransform(n, X, Y, Z);
    EmitVertex(sent.X, sent.Y, sent.Z);
}

void GLEnd()
{
    if (!GLVert3fRemove) glEnd();
}

} // namespace Tarvik
