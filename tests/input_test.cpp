// The window procedure's input state, driven through real messages, and the mouse camera.
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

using namespace Tarvik;
using TestSupport::EnsureTestWindow;

namespace {

LRESULT Send(UINT message, WPARAM wParam, int x, int y)
{
    return SendMessageA(HWindow, message, wParam, MAKELPARAM(x, y));
}

LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendMessageA(HWindow, message, wParam, lParam);
}

class InputTest : public testing::Test {
protected:
    static void SetUpTestSuite() { EnsureTestWindow(); }
    void SetUp() override
    {
        XRot = YRot = Depth = 0;
        XRot2 = YRot2 = Depth2 = 0;
        MouseFree = false;
        MSpeed = 2;
    }
    void TearDown() override
    {
        Send(WM_LBUTTONUP);
        Send(WM_RBUTTONUP);
        MouseFree = false;
    }
};

TEST_F(InputTest, LeftDragTurnsHalfADegreePerPixelTimesTheFactor)
{
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 100);
    EXPECT_TRUE(LeftMouseDown);
    EXPECT_TRUE(LeftMouseDown2);
    EXPECT_EQ(GetCapture(), HWindow);
    EXPECT_EQ(SetMX, 100);
    EXPECT_EQ(SetMY, 100);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 110, 104); // 10 right, 4 down
    EXPECT_FLOAT_EQ(YRot, 10);
    EXPECT_FLOAT_EQ(XRot, 4);
    EXPECT_FLOAT_EQ(YRot2, 10);
    EXPECT_FLOAT_EQ(XRot2, 4);
    EXPECT_EQ(XCoord, 110);
    EXPECT_EQ(YCoord, 104);
    EXPECT_EQ(SetOMX, 110);
    EXPECT_EQ(SetOMY, 104);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 105, 103); // back 5 left and 1 up
    EXPECT_FLOAT_EQ(YRot, 5);
    EXPECT_FLOAT_EQ(XRot, 3);
    Send(WM_LBUTTONUP, 0, 105, 103);
    EXPECT_FALSE(LeftMouseDown);
    EXPECT_FALSE(LeftMouseDown2);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(SetMX, 0); // the press position reads 0 whenever the button is up
    EXPECT_EQ(SetMY, 0);
    EXPECT_EQ(XCoord, 0);
    Send(WM_MOUSEMOVE, 0, 300, 300); // no button held: nothing turns
    EXPECT_FLOAT_EQ(YRot, 5);
    EXPECT_FLOAT_EQ(XRot, 3);
}

TEST_F(InputTest, RightDragChangesTheDistanceUnlessMouseLookIsOn)
{
    Send(WM_RBUTTONDOWN, MK_RBUTTON, 50, 50);
    EXPECT_TRUE(RightMouseDown);
    EXPECT_EQ(GetCapture(), HWindow);
    EXPECT_EQ(ZCoord, 50);
    Send(WM_MOUSEMOVE, MK_RBUTTON, 50, 80); // 30 down
    EXPECT_FLOAT_EQ(Depth, -6);
    EXPECT_FLOAT_EQ(Depth2, -6);
    EXPECT_EQ(ZCoord, 80);
    Send(WM_RBUTTONUP, 0, 50, 80);
    EXPECT_FALSE(RightMouseDown);
    EXPECT_EQ(GetCapture(), nullptr);

    MouseFree = true;
    SetCursorPos(Width / 2, Height / 2); // so mouse look, if it runs, has nothing to add
    Send(WM_RBUTTONDOWN, MK_RBUTTON, 50, 50);
    Send(WM_MOUSEMOVE, MK_RBUTTON, 50, 80);
    EXPECT_FLOAT_EQ(Depth, -6);
}

TEST_F(InputTest, MouseCoordinatesAreSigned)
{
    Send(WM_MOUSEMOVE, MK_RBUTTON, -5, -7); // left of and above the window, under capture
    EXPECT_EQ(SetOMX, -5);
    EXPECT_EQ(SetOMY, -7);
}

TEST_F(InputTest, NothingMovesBeforeAFactorIsSet)
{
    MSpeed = 0;
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 10, 10);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 90, 90);
    EXPECT_FLOAT_EQ(XRot, 0);
    EXPECT_FLOAT_EQ(YRot, 0);
}

TEST_F(InputTest, KeyTableFollowsKeyMessagesAndAnyReleaseEndsMouseLook)
{
    Send(WM_KEYDOWN, 'A');
    Send(WM_KEYDOWN, VK_LEFT);
    EXPECT_TRUE(SetKey['A']);
    EXPECT_TRUE(SetKey[VK_LEFT]);
    MouseFree = true;
    Send(WM_KEYUP, 'A');
    EXPECT_FALSE(SetKey['A']);
    EXPECT_TRUE(SetKey[VK_LEFT]);
    EXPECT_FALSE(MouseFree);
    MouseFree = true;
    Send(WM_KEYUP, 'Z'); // a key that was never down
    EXPECT_FALSE(MouseFree);
    Send(WM_KEYUP, VK_LEFT);
    EXPECT_FALSE(SetKey[VK_LEFT]);
    // Codes beyond the table are ignored rather than written past it.
    Send(WM_KEYDOWN, 600);
    Send(WM_KEYUP, 70000);
}

TEST_F(InputTest, MouseLookTurnsClampsAndRecentresTheCursor)
{
    SetForegroundWindow(HWindow);
    if (GetForegroundWindow() != HWindow) GTEST_SKIP() << "the window cannot take the foreground";
    MouseFree = true;
    const int cx = Width / 2;
    const int cy = Height / 2;
    SetCursorPos(cx + 50, cy + 20);
    Send(WM_MOUSEMOVE, 0, 10, 10);
    EXPECT_FLOAT_EQ(XRot, 1.0f);
    EXPECT_FLOAT_EQ(YRot, 0.4f);
    EXPECT_FLOAT_EQ(XRot2, 1.0f);
    EXPECT_FLOAT_EQ(YRot2, 0.4f);
    EXPECT_EQ(MPos.x, cx + 50);
    EXPECT_EQ(MPos.y, cy + 20);
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, cx);
    EXPECT_EQ(cursor.y, cy);

    struct Case {
        float start;
        int below; // cursor offset below the centre point
        float expected;
    } const cases[] = {{59.9f, 50, 60.0f}, {-59.5f, -100, -60.0f}, {0.0f, 100, 2.0f}};
    for (const Case& c : cases) {
        YRot = YRot2 = c.start;
        SetCursorPos(cx, cy + c.below);
        Send(WM_MOUSEMOVE, 0, 10, 10);
        EXPECT_FLOAT_EQ(YRot, c.expected) << c.start;
        EXPECT_FLOAT_EQ(YRot2, c.expected) << c.start;
    }
    // A left drag is not held to the mouse-look range.
    MouseFree = false;
    YRot = 59;
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 0, 0);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 100, 0);
    EXPECT_FLOAT_EQ(YRot, 159);
}

TEST_F(InputTest, EscapeEndsTheLoopButLeavesTheWindow)
{
    Send(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_FALSE(SetKey[VK_ESCAPE]);
    EXPECT_FALSE(Active);
    EXPECT_TRUE(IsWindow(HWindow));
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
    EXPECT_EQ(Send(WM_CREATE), 0); // the creation message makes it active again
    EXPECT_TRUE(Active);
}

TEST_F(InputTest, ScreenSaverAndMonitorPowerAreRefused)
{
    for (WPARAM command : {WPARAM(SC_SCREENSAVE), WPARAM(SC_MONITORPOWER), WPARAM(SC_SCREENSAVE | 2)})
        EXPECT_EQ(Send(WM_SYSCOMMAND, command), 0) << command;
}

int hookCalls = 0;
WPARAM hookParam = 0;

LRESULT CALLBACK CommandHook(HWND, UINT message, WPARAM wParam, LPARAM)
{
    ++hookCalls;
    hookParam = message == WM_COMMAND ? wParam : 0;
    return 55;
}

TEST_F(InputTest, CommandsReturnZeroAndReachTheHookOnlyWithTheMenuOn)
{
    hookCalls = 0;
    EXPECT_EQ(Send(WM_COMMAND, 1234), 0); // no hook at all
    GetInputCommand = CommandHook;
    EXPECT_EQ(Send(WM_COMMAND, 1234), 0);
    EXPECT_EQ(hookCalls, 0);
    ShowMenuBar = true;
    EXPECT_EQ(Send(WM_COMMAND, 4321), 0); // the hook's result is not passed on
    EXPECT_EQ(hookCalls, 1);
    EXPECT_EQ(hookParam, 4321u);

    static int menuCalls;
    menuCalls = 0;
    CreateMouseMenu = [] { ++menuCalls; };
    Send(WM_CONTEXTMENU, WPARAM(HWindow), MAKELPARAM(400, 300)); // client area, not the caption (system menu)
    EXPECT_EQ(menuCalls, 1);
    ShowMenuBar = false;
    Send(WM_CONTEXTMENU, WPARAM(HWindow), MAKELPARAM(400, 300)); // in the client area
    EXPECT_EQ(menuCalls, 1);
    GetInputCommand = nullptr;
    CreateMouseMenu = nullptr;
}

bool NeedsPaint(HWND window)
{
    RECT update;
    return GetUpdateRect(window, &update, FALSE) != 0;
}

TEST_F(InputTest, MessagesWithoutParameterRepaintTheStatusBar)
{
    HStatus = CreateStatusBar(HWindow);
    ASSERT_NE(HStatus, nullptr);
    TestSupport::PumpMessages();
    InvalidateRect(HStatus, nullptr, TRUE);
    ASSERT_TRUE(NeedsPaint(HStatus));
    Send(WM_MOUSEMOVE, MK_SHIFT, 3, 3); // a parameter: no repaint
    EXPECT_TRUE(NeedsPaint(HStatus));
    Send(WM_MOUSEMOVE, 0, 3, 3);
    EXPECT_FALSE(NeedsPaint(HStatus));

    InvalidateRect(HStatus, nullptr, TRUE);
    InvalidateRect(HWindow, nullptr, FALSE);
    UpdateWindow(HWindow); // the paint message validates the window and repaints the bar
    EXPECT_FALSE(NeedsPaint(HWindow));
    EXPECT_FALSE(NeedsPaint(HStatus));
    DestroyWindow(HStatus);
    HStatus = nullptr;
    Send(WM_MOUSEMOVE, 0, 3, 3); // no status bar: nothing to repaint, nothing breaks
}

TEST_F(InputTest, SizeMessagesStoreTheClientSize)
{
    const int width = Width, height = Height;
    Send(WM_SIZE, SIZE_RESTORED, 640, 480);
    EXPECT_EQ(Width, 640);
    EXPECT_EQ(Height, 480);
    Send(WM_SIZE, SIZE_RESTORED, 65535, 40000); // unsigned 16-bit sizes
    EXPECT_EQ(Width, 65535);
    EXPECT_EQ(Height, 40000);
    Send(WM_SIZE, SIZE_RESTORED, width, height);

    ShowWindow(HWindow, SW_MINIMIZE);
    TestSupport::PumpMessages();
    EXPECT_EQ(Width, 0);
    EXPECT_EQ(Height, 0);
    ShowWindow(HWindow, SW_RESTORE);
    TestSupport::PumpMessages();
    RECT client;
    GetClientRect(HWindow, &client);
    EXPECT_EQ(Width, client.right);
    EXPECT_EQ(Height, client.bottom);
    EXPECT_EQ(Width, width);
}

// The demo's per-frame set-up while minimised: nothing to divide by, so the previous viewport
// and projection stay and OpenGL reports no error; restored, they follow the window again.
TEST_F(InputTest, MinimisedWindowKeepsFramesHarmless)
{
    auto frame = [] {
        OpenGL_I2D(0, 0, 0, 0);
        OpenGL_Init(100, 0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glBegin(GL_TRIANGLES);
        glVertex3f(-1, -1, -5);
        glVertex3f(1, -1, -5);
        glVertex3f(0, 1, -5);
        glEnd();
    };
    while (glGetError() != GL_NO_ERROR) {
    }
    frame();
    ShowWindow(HWindow, SW_MINIMIZE);
    TestSupport::PumpMessages();
    ASSERT_EQ(Width, 0);
    for (int i = 0; i < 5; ++i) frame();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    for (GLfloat value : projection) EXPECT_TRUE(std::isfinite(value));

    ShowWindow(HWindow, SW_RESTORE);
    TestSupport::PumpMessages();
    frame();
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], Width);
    EXPECT_EQ(viewport[3], Height);
    EXPECT_GT(Width, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// ---- the camera

using Matrix = std::array<double, 16>; // column-major, as OpenGL keeps it

Matrix Multiply(const Matrix& a, const Matrix& b)
{
    Matrix r{};
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k) r[c * 4 + row] += a[k * 4 + row] * b[c * 4 + k];
    return r;
}

Matrix Translation(double x, double y, double z)
{
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
}

// Right-handed turn by `degrees` about a unit axis.
Matrix Rotation(double degrees, double x, double y, double z)
{
    const double a = degrees * 3.14159265358979323846 / 180, c = std::cos(a), s = std::sin(a);
    const double t = 1 - c;
    return {t * x * x + c,     t * x * y + s * z, t * x * z - s * y, 0,
            t * x * y - s * z, t * y * y + c,     t * y * z + s * x, 0,
            t * x * z + s * y, t * y * z - s * x, t * z * z + c,     0,
            0,                 0,                 0,                 1};
}

Matrix ModelView()
{
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    Matrix r;
    for (int i = 0; i < 16; ++i) r[i] = m[i];
    return r;
}

class CameraTest : public testing::Test {
protected:
    static void SetUpTestSuite() { EnsureTestWindow(); }
    void SetUp() override
    {
        Depth = 5;
        XRot = 30;
        YRot = 45;
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
};

TEST_F(CameraTest, EachArrangementTranslatesThenTurnsTwice)
{
    struct Case {
        std::int32_t choice;
        Matrix expected;
        TGLVertex translation;
    } const cases[] = {
        {GL_M0,
         Multiply(Multiply(Translation(0, 0, -5), Rotation(30, 1, 0, 0)), Rotation(45, 0, 1, 0)),
         {0, 0, -5}},
        {GL_MX,
         Multiply(Multiply(Translation(0, -5, 0), Rotation(30, 1, 0, 0)), Rotation(45, 0, 0, 1)),
         {0, -5, 0}},
        {GL_MY,
         Multiply(Multiply(Translation(-5, 0, 0), Rotation(30, 0, 0, -1)), Rotation(45, 0, 1, 0)),
         {-5, 0, 0}},
        {GL_MZ,
         Multiply(Multiply(Translation(0, 0, -5), Rotation(30, 0, 1, 0)), Rotation(45, 1, 0, 0)),
         {0, 0, -5}},
    };
    for (const Case& c : cases) {
        glLoadIdentity();
        SetGLMouseMove(c.choice, 3);
        EXPECT_EQ(MSpeed, 3);
        EXPECT_FLOAT_EQ(MY.X, c.translation.X);
        EXPECT_FLOAT_EQ(MY.Y, c.translation.Y);
        EXPECT_FLOAT_EQ(MY.Z, c.translation.Z);
        const Matrix actual = ModelView();
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(actual[i], c.expected[i], 1e-5) << "arrangement " << c.choice << " [" << i << "]";
    }
}

TEST_F(CameraTest, UnknownArrangementOnlySetsTheFactor)
{
    SetGLMouseMove(GL_M0, 2);
    const TGLVertex before = MY;
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    const Matrix start = ModelView();
    SetGLMouseMove(7, 9);
    EXPECT_EQ(MSpeed, 9);
    EXPECT_EQ(ModelView(), start);
    EXPECT_FLOAT_EQ(MY.Z, before.Z);
}

TEST_F(CameraTest, StillMouseLeavesTheMatrixAlone)
{
    Depth = XRot = YRot = 0;
    SetGLMouseMove(GL_M0, 2);
    const Matrix identity = Translation(0, 0, 0);
    const Matrix actual = ModelView();
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[i], identity[i], 1e-7);
    EXPECT_EQ(MSpeed, 2);
}

} // namespace
