// Fixed-function lights: the library's standard light colours, setting a light up, and moving
// it with an optional point marker drawn through the library's vertex wrappers.
#include "tarvik/tarvik.h"

namespace Tarvik {

GLfloat AmbientLight[4] = {0.5f, 0.5f, 0.5f, 1.0f};
GLfloat DiffuseLight[4] = {1.0f, 1.0f, 1.0f, 1.0f};
GLfloat SpecularLight[4] = {1.0f, 1.0f, 1.0f, 1.0f};
GLfloat LightPosition[4] = {0.0f, 0.0f, 0.0f, 0.0f};

namespace {

// One position is shared by all lights; OpenGL keeps each light's own copy.
void PlaceLight(GLenum NLight, float X, float Y, float Z, float W)
{
    LightPosition[0] = X;
    LightPosition[1] = Y;
    LightPosition[2] = Z;
    LightPosition[3] = W;
    glLightfv(NLight, GL_POSITION, LightPosition);
}

} // namespace

void SetGLLight(GLenum NLight, float L0, float L1, float L2, float L3)
{
    glEnable(GL_LIGHTING);
    glLightfv(NLight, GL_AMBIENT, AmbientLight);
    glLightfv(NLight, GL_DIFFUSE, DiffuseLight);
    glLightfv(NLight, GL_SPECULAR, SpecularLight);
    glEnable(NLight);
    PlaceLight(NLight, L0, L1, L2, L3);
}

void PutGLPointLight(GLenum NLight, float Size, float LX, float LY, float LZ, float LVal)
{
    PlaceLight(NLight, LX, LY, LZ, LVal);
    if (Size == 0.0f) return;
    // The marker sits at (LX, LY, LZ) whatever LVal says about the light itself.
    glPointSize(Size);
    GLBegin(GL_POINTS);
    glNormal3f(0.0f, 0.0f, 1.0f);
    GLVertex3f(LightPosition[0], LightPosition[1], LightPosition[2]);
    GLEnd();
}

} // namespace Tarvik
