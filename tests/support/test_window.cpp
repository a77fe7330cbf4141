#include "support/test_window.h"

namespace TestSupport {

void EnsureTestWindow()
{
    static bool created = false;
    if (created) return;
    created = true;
    Tarvik::OGLWindowSetting(Tarvik::ARROW, "", Tarvik::GENERIC, "");
    Tarvik::CreateOGLWindow(TEST_WINDOW_TITLE, 800, 600, 32, false);
    PumpMessages();
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::vector<std::uint8_t> ReadBackBuffer(int x, int y, int width, int height)
{
    std::vector<std::uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

} // namespace TestSupport
