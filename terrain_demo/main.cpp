// The terrain demo (being built up): opens the window and runs the frame loop until Escape.
#include "tarvik/tarvik.h"

using namespace Tarvik;

namespace {

void OpenGL_Draw() { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }

} // namespace

int main()
{
    OGLWindowSetting(ARROW, "", GENERIC, "");
    CreateOGLWindow("Generazione di texture composita per un terreno", 800, 600, 32, false);
    SetGLTimer(FPS_TIMER, 1000);
    do {
        glClear(GL_COLOR_BUFFER_BIT);
        SetGLMsgWithFPS(DCWindow, OpenGL_Draw);
    } while (Active);
    DeleteOGLWindow();
    return 0;
}
