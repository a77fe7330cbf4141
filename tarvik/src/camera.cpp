// The mouse-driven camera: a translation by the mouse distance and two turns by the mouse angles,
// in one of four axis arrangements.
#include "tarvik/tarvik.h"

namespace Tarvik {

TGLVertex MY = {0, 0, 0};

namespace {

struct Axis {
    float x, y, z;
};

struct Arrangement {
    TGLVertex translation;
    Axis first;  // turned by XRot
    Axis second; // turned by YRot
};

bool ArrangementFor(std::int32_t choice, Arrangement& arrangement)
{
    switch (choice) {
    case GL_M0: arrangement = {{0, 0, -Depth}, {1, 0, 0}, {0, 1, 0}}; return true;
    case GL_MX: arrangement = {{0, -Depth, 0}, {1, 0, 0}, {0, 0, 1}}; return true;
    case GL_MY: arrangement = {{-Depth, 0, 0}, {0, 0, -1}, {0, 1, 0}}; return true;
    case GL_MZ: arrangement = {{0, 0, -Depth}, {0, 1, 0}, {1, 0, 0}}; return true;
    default: return false;
    }
}

} // namespace

void SetGLMouseMove(std::int32_t XYZ, std::int32_t Speed)
{
    MSpeed = Speed;
    Arrangement arrangement;
    if (!ArrangementFor(XYZ, arrangement)) return;
    MY = arrangement.translation;
    glTranslatef(MY.X, MY.Y, MY.Z);
    glRotatef(XRot, arrangement.first.x, arrangement.first.y, arrangement.first.z);
    glRotatef(YRot, arrangement.second.x, arrangement.second.y, arrangement.second.z);
}

} // namespace Tarvik
