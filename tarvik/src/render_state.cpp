// Projection and render state: the 3D perspective and 2D overlay set-ups, two-sided lighting,
// back-face culling, and the stored window size they follow.
#include "tarvik/tarvik.h"

namespace Tarvik {

float OffX = 0.0f;
float OffY = 0.0f;

namespace {

constexpr double FIELD_OF_VIEW_DEGREES = 45.0;
constexpr double NEAR_PLANE = 0.1;
constexpr double OVERLAY_HALF_WIDTH = 2.0;
constexpr double OVERLAY_HALF_DEPTH = 2.0;

// A minimised window reports 0 x 0; the projection needs both sides to divide by.
bool HasDrawableSize() { return Width > 0 && Height > 0; }

void SetClearColour(double A, double R, double G, double B)
{
    glClearColor(GLfloat(R), GLfloat(G), GLfloat(B), GLfloat(A));
}

// The whole window as viewport, and a projection matrix ready to be multiplied.
void ResetProjection()
{
    glViewport(0, 0, Width, Height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
}

void LoadPerspective(double Depth)
{
    ResetProjection();
    gluPerspective(FIELD_OF_VIEW_DEGREES, double(Width) / double(Height), NEAR_PLANE, Depth);
}

// x spans -2..2 across the width and y keeps the window's aspect, so unit lengths match.
void LoadOverlayOrtho()
{
    ResetProjection();
    const double halfHeight = double(2 * Height) / double(Width);
    glOrtho(-OVERLAY_HALF_WIDTH, OVERLAY_HALF_WIDTH, -halfHeight, halfHeight,
            -OVERLAY_HALF_DEPTH, OVERLAY_HALF_DEPTH);
}

void ResetModelview()
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void UpdateOverlayOffsets()
{
    if (Width == 0) return; // no ratio to take; keep the last offsets
    const std::int32_t tallness = Height / Width;
    OffX = float(tallness - 2.05);
    OffY = float(tallness - 1.45);
}

} // namespace

void GLResizeWindow(std::int32_t W, std::int32_t H)
{
    Width = W;
    Height = H;
}

void OpenGL_Init(double Depth, double A, double R, double G, double B)
{
    SetClearColour(A, R, G, B);
    // With no area to draw on, the last viewport and projection stay in force.
    if (HasDrawableSize()) LoadPerspective(Depth);
    ResetModelview();
    glClearDepth(Depth);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_AUTO_NORMAL);
    glEnable(GL_NORMALIZE);
}

void OpenGL_I2D(double A, double R, double G, double B)
{
    UpdateOverlayOffsets();
    SetClearColour(A, R, G, B);
    if (HasDrawableSize()) LoadOverlayOrtho();
    ResetModelview();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_NORMALIZE);
}

void TwoSideOn() { glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1); }

void TwoSideOff() { glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0); }

void SetGLRefractive()
{
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
}

} // namespace Tarvik
