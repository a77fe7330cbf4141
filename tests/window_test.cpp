// The library window: class, styles, sizes, context, status bar, fatal start-up paths.
#include "support/child_process.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace Tarvik;
using TestSupport::EnsureTestWindow;
using TestSupport::RunChild;

namespace {

class WindowTest : public testing::Test {
protected:
    static void SetUpTestSuite() { EnsureTestWindow(); }
};

TEST_F(WindowTest, RegistersTheGLWindowClass)
{
    WNDCLASSA wc = {};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "GLWindow", &wc));
    EXPECT_EQ(wc.style, UINT(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(wc.lpfnWndProc, &GLWndProc);
    EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(wc.hIcon, LoadIconA(nullptr, IDI_APPLICATION));
    EXPECT_EQ(wc.hbrBackground, GetSysColorBrush(COLOR_BTNFACE));
    EXPECT_EQ(wc.cbClsExtra, 0);
    EXPECT_EQ(wc.cbWndExtra, 0);
}

TEST_F(WindowTest, WindowedIs800By600OuterWithClientSizeStored)
{
    ASSERT_NE(HWindow, nullptr);
    RECT outer;
    GetWindowRect(HWindow, &outer);
    EXPECT_EQ(outer.left, 0);
    EXPECT_EQ(outer.top, 0);
    EXPECT_EQ(outer.right - outer.left, 800);
    EXPECT_EQ(outer.bottom - outer.top, 600);
    RECT client;
    GetClientRect(HWindow, &client);
    EXPECT_EQ(Width, client.right);
    EXPECT_EQ(Height, client.bottom);
    EXPECT_LT(Width, 800);
    EXPECT_LT(Height, 600);
    const LONG style = GetWindowLongA(HWindow, GWL_STYLE);
    EXPECT_EQ(DWORD(style) & 0xFFFF0000u, 0x96CA0000u);
    char title[256] = {};
    GetWindowTextA(HWindow, title, sizeof title);
    EXPECT_STREQ(title, TestSupport::TEST_WINDOW_TITLE);
    EXPECT_EQ(SetTitleName, TestSupport::TEST_WINDOW_TITLE);
}

TEST_F(WindowTest, IsActiveWithADoubleBufferedRGBAContextCurrent)
{
    EXPECT_TRUE(Active);
    EXPECT_EQ(wglGetCurrentContext(), RCWindow);
    EXPECT_EQ(wglGetCurrentDC(), DCWindow);
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    ASSERT_NE(version, nullptr);
    EXPECT_GE(std::strlen(version), 3u);
    GLboolean doubleBuffered = GL_FALSE;
    glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
    EXPECT_TRUE(doubleBuffered);
    GLboolean rgba = GL_FALSE;
    glGetBooleanv(GL_RGBA_MODE, &rgba);
    EXPECT_TRUE(rgba);
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    EXPECT_GT(depthBits, 0);
}

} // namespace
