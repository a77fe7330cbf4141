// The terrain demo: a composite terrain texture on a heightmap mesh, lit, turned by the mouse.
// Asks for full screen, builds the scene once, draws it every frame until Escape or close.
#include "tarvik/tarvik.h"
#include "tarvik/tvk_optimize.h"

using namespace Tarvik;
using namespace TVK_Optimize;

namespace {

const char APPLICATION_TITLE[] = "Generazione di texture composita per un terreno";

GenVBO VBO;
GLuint Texture = 0;

void OpenGL_Texture() {}

// Builds the scene once: the composite texture, then the mesh in vertex buffers.
void OpenGL_CreateList()
{
    OpenGL_Texture();
    GenTexTerrain(0, 35, 45, 120, 3, "terreno-test00-big.bmp", "water4.bmp", "Floor04.bmp",
                  "Floor09.bmp", "WP25.bmp", Texture);
    VBOGenTerrain(VBO, 0.15f, 2.25f, 4, 1, "terreno-test00.bmp");
    VBO.SetVBO();
}

// The perspective set-up follows the current window size in every frame.
void OpenGL_Draw2D()
{
    OpenGL_I2D(0, 0, 0, 0);
    OpenGL_Init(100, 0, 0, 0, 0);
}

void OpenGL_Mouse2D() {}

void OpenGL_Keyboard() {}

void OpenGL_Draw()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    SetNewIntervalFPS(1000);
    OpenGL_Draw2D();
    OpenGL_Mouse2D();
    OpenGL_Keyboard();
    glTranslatef(0, 0, -30);
    glRotatef(30, 1, 0, 0);
    SetGLMouseMove(GL_M0, 2);
    PutGLPointLight(GL_LIGHT0, 0, 0, 20, 0, 0.1f); // turns with the terrain
    glRotatef(120, 0, -1, 0);
    glBindTexture(GL_TEXTURE_2D, Texture);
    // The composite texture is stored transposed: exchange s and t to lay it on the mesh.
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glRotatef(-180, 0, 1, 0);
    glRotatef(90, 0, 0, 1);
    VBO.Draw(GL_TRIANGLES);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

} // namespace

int main()
{
    FullScreen = MessageBoxA(nullptr, "Settare lo schermo intero?  ", "Video!",
                             MB_YESNO | MB_ICONQUESTION) != IDNO;
    OGLWindowSetting(ARROW, "", GENERIC, "");
    CreateOGLWindow(APPLICATION_TITLE, 800, 600, 32, FullScreen);
    SetGLTimer(FPS_TIMER, 1000);
    OpenGL_Init(100, 0, 0, 0, 0);
    SetGLRefractive();
    SetGLLight(GL_LIGHT0, 0, 0, 0, 0.1f);
    OpenGL_CreateList();
    do {
        glClear(GL_COLOR_BUFFER_BIT);
        SetGLMsgWithFPS(DCWindow, OpenGL_Draw);
    } while (Active);
    DeleteOGLWindow();
    return 0;
}
