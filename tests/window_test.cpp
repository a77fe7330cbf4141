// The library window: class, styles, sizes, context, status bar, fatal start-up paths, teardown.
#include "support/child_process.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

using namespace Tarvik;
using TestSupport::ChildEntry;
using TestSupport::EnsureTestWindow;
using TestSupport::RunChild;

namespace {

const char REGISTRATION_FAILED[] = "Errore di registro per la rispettiva applicazione!";
const char CREATION_FAILED[] = "Impossibile creare la finestra per la rispettiva applicazione!";
const char CONTEXT_FAILED[] = "la rispettiva applicazione non \xE8 stata inizilizata!";

// This program's shared window carries a status bar with two parts.
class WindowTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ShowStatusBar = true;
        MaxStatusItem = 2;
        StatusItem[1] = 200;
        StatusItem[2] = -1;
        EnsureTestWindow();
    }
};

std::string StatusText(HWND status, int part)
{
    char text[300] = {};
    SendMessageA(status, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text));
    return text;
}

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
    EXPECT_EQ(DWORD(GetWindowLongA(HWindow, GWL_STYLE)), 0x96CA0000u);
    EXPECT_EQ(GetWindowLongA(HWindow, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
    char title[256] = {};
    GetWindowTextA(HWindow, title, sizeof title);
    EXPECT_STREQ(title, TestSupport::TEST_WINDOW_TITLE);
    EXPECT_EQ(SetTitleName, TestSupport::TEST_WINDOW_TITLE);
    EXPECT_EQ(Bits, 32);
    EXPECT_FALSE(FullScreen);
}

TEST_F(WindowTest, IsActiveWithADoubleBufferedRGBAContextCurrent)
{
    EXPECT_TRUE(Active);
    EXPECT_EQ(wglGetCurrentContext(), RCWindow);
    EXPECT_EQ(wglGetCurrentDC(), DCWindow);
    EXPECT_EQ(WindowFromDC(DCWindow), HWindow);
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

TEST_F(WindowTest, SetUpChoicesAreRecorded)
{
    // OGLWindowSetting ran before any context existed, so its empty list could not be made.
    EXPECT_EQ(ObjNull, 0u);
    EXPECT_TRUE(FogOnOff);
    EXPECT_EQ(SetTypeCursor, ARROW);
    EXPECT_EQ(SetTypeIcon, GENERIC);
    EXPECT_STREQ(CursorFile, "");
    EXPECT_STREQ(IconFile, "");
    EXPECT_FALSE(GLVert3fRemove);
    EXPECT_FALSE(GLVert3fEnableEdit);
    EXPECT_STREQ(TVKVersion, "1.0");
}

TEST_F(WindowTest, StatusBarShowsItsTextAndParts)
{
    ASSERT_NE(HStatus, nullptr);
    EXPECT_EQ(GetParent(HStatus), HWindow);
    EXPECT_EQ(GetDlgCtrlID(HStatus), 30482);
    EXPECT_EQ(DWORD(GetWindowLongA(HStatus, GWL_STYLE)) & (WS_CHILD | WS_VISIBLE),
              DWORD(WS_CHILD | WS_VISIBLE));
    EXPECT_EQ(StatusText(HStatus, 0), "Percorso file");
    EXPECT_STREQ(FileName, "Percorso file");
    for (size_t i = sizeof "Percorso file"; i < sizeof FileName; ++i) ASSERT_EQ(FileName[i], 0);
    int edges[MAX_STATUS_ITEMS] = {};
    EXPECT_EQ(SendMessageA(HStatus, SB_GETPARTS, MAX_STATUS_ITEMS, LPARAM(edges)), 2);
    EXPECT_EQ(edges[0], 200);
    EXPECT_EQ(Edges[1], 200);
    EXPECT_EQ(Edges[2], -1);
}

TEST_F(WindowTest, StatusBarPartCountsAreHeldToTheEdgeArrays)
{
    struct Case {
        int requested;
        int parts; // as the status window reports them afterwards
    } const cases[] = {
        {1, 1},
        {5, 5},
        {20, 20},
        {25, 20}, // more than the arrays hold: only their 20 entries are sent
        {-3, 1},  // nothing to send: the status window keeps its single part
    };
    for (int i = 1; i <= MAX_STATUS_ITEMS; ++i) StatusItem[i] = 10 * i;
    for (const Case& c : cases) {
        MaxStatusItem = c.requested;
        HWND status = CreateStatusBar(HWindow);
        ASSERT_NE(status, nullptr);
        EXPECT_EQ(status, AWnd);
        EXPECT_EQ(SendMessageA(status, SB_GETPARTS, 0, 0), c.parts) << c.requested;
        DestroyWindow(status);
    }
    MaxStatusItem = 2;
}

// ---- separate processes: fatal start-up paths, full screen, teardown

int SecondWindowEntry()
{
    OGLWindowSetting(ARROW, "", GENERIC, "");
    CreateOGLWindow("first", 320, 240, 32, false);
    CreateOGLWindow("second", 320, 240, 32, false);
    return 0; // not reached: the second registration is fatal
}
ChildEntry secondWindow("second-window", SecondWindowEntry);

bool CreatesGLWindow(int code, LPARAM lParam)
{
    if (code != HCBT_CREATEWND) return false;
    const char* cls = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->lpszClass;
    return !IS_INTRESOURCE(cls) && std::strcmp(cls, "GLWindow") == 0;
}

// Refuses the library window only; the message box must still be able to appear.
LRESULT CALLBACK RefuseWindowCreation(int code, WPARAM wParam, LPARAM lParam)
{
    if (CreatesGLWindow(code, lParam)) return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

int CreationRefusedEntry()
{
    SetWindowsHookExA(WH_CBT, RefuseWindowCreation, nullptr, GetCurrentThreadId());
    CreateOGLWindow("refused", 320, 240, 32, false);
    return 0;
}
ChildEntry creationRefused("creation-refused", CreationRefusedEntry);

// A menu hook that destroys the fresh window leaves no device context to choose a format for.
void DestroyWindowBeforeItsContext()
{
    DestroyWindow(HWindow);
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE); // or the box would close at once
}

int NoContextEntry()
{
    CreateMenuBar = DestroyWindowBeforeItsContext;
    ShowMenuBar = true;
    CreateOGLWindow("no context", 320, 240, 32, false);
    return 0;
}
ChildEntry noContext("no-context", NoContextEntry);

// Runs a child whose checks answer with its exit code: 0 when every fact held.
void ExpectChildChecksPass(const char* child)
{
    const TestSupport::ChildResult result = RunChild(child);
    ASSERT_TRUE(result.finished) << child;
    EXPECT_EQ(result.exitCode, 0u) << child << ": first failing check";
    EXPECT_TRUE(result.boxes.empty()) << child;
}

// Registers the class once per cursor and icon choice (unregistering in between) and returns
// the number of the first case whose class cursor or icon is not the expected one.
int CursorAndIconEntry()
{
    struct Case {
        std::int32_t cursor;
        LPCSTR systemCursor; // nullptr: no class cursor
        std::int32_t icon;
        bool applicationIcon;
    } const cases[] = {
        {ARROW, IDC_ARROW, GENERIC, true},
        {CROSS, IDC_CROSS, GENERIC, true},
        {Tarvik::SIZE, MAKEINTRESOURCEA(0x7F80), GENERIC, true}, // the old IDC_SIZE; plain SIZE
                                                                 // is also the platform's type
        {HELP, IDC_HELP, GENERIC, true},
        {0, nullptr, 0, false},             // outside the known types: none
        {17, nullptr, 3, false},
        {FILECURSOR, nullptr, FILEICON, false}, // files that do not exist load nothing
    };
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    int number = 1;
    for (const Case& c : cases) {
        OGLWindowSetting(c.cursor, "missing.cur", c.icon, "missing.ico");
        if (!WindowRegister()) return 100 + number;
        WNDCLASSA wc = {};
        GetClassInfoA(instance, "GLWindow", &wc);
        const HCURSOR cursor = c.systemCursor ? LoadCursorA(nullptr, c.systemCursor) : nullptr;
        const HICON icon = c.applicationIcon ? LoadIconA(nullptr, IDI_APPLICATION) : nullptr;
        if (wc.hCursor != cursor || wc.hIcon != icon) return number;
        UnregisterClassA("GLWindow", instance);
        UnregisterClassA("IMAGEBUTTON", instance);
        ++number;
    }
    return 0;
}
ChildEntry cursorAndIcon("cursor-and-icon", CursorAndIconEntry);

TEST(ClassRegistration, CursorAndIconFollowTheChosenTypes)
{
    ExpectChildChecksPass("cursor-and-icon"); // 100 and up: the registration itself failed
}

TEST(FatalStartUp, EachFailureShowsItsMessageOnceAndEndsWithCode1)
{
    struct Case {
        const char* child;
        const char* message;
    } const cases[] = {
        {"second-window", REGISTRATION_FAILED},
        {"creation-refused", CREATION_FAILED},
        {"no-context", CONTEXT_FAILED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.child);
        const TestSupport::ChildResult result = RunChild(c.child);
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(result.exitCode, 1u);
        ASSERT_EQ(result.boxes.size(), 1u);
        EXPECT_EQ(result.boxes[0].caption, "Error");
        EXPECT_EQ(result.boxes[0].text, c.message);
    }
}

// Exit codes of the child checks below: 0 when every fact holds, otherwise the first that failed.
int FullScreenEntry()
{
    OGLWindowSetting(ARROW, "", GENERIC, "");
    CreateOGLWindow("full", 640, 480, 32, true);
    const int screenW = GetSystemMetrics(SM_CXSCREEN);
    const int screenH = GetSystemMetrics(SM_CYSCREEN);
    RECT outer, client;
    GetWindowRect(HWindow, &outer);
    GetClientRect(HWindow, &client);
    std::printf("full screen: window %ld,%ld-%ld,%ld client %ldx%ld, vars %dx%d, screen %dx%d\n",
                outer.left, outer.top, outer.right, outer.bottom, client.right, client.bottom,
                Width, Height, screenW, screenH);
    if (outer.left != 0 || outer.top != 0) return 10;
    if (outer.right != screenW || outer.bottom != screenH) return 11;
    if (Width != client.right || Height != client.bottom) return 12;
    if (DWORD(GetWindowLongA(HWindow, GWL_STYLE)) != 0x96880000u) return 13;
    if (!Active || wglGetCurrentContext() != RCWindow) return 14;
    return 0;
}
ChildEntry fullScreen("full-screen", FullScreenEntry);

TEST(FullScreen, CoversThePrimaryScreen) { ExpectChildChecksPass("full-screen"); }

int TeardownEntry()
{
    OGLWindowSetting(ARROW, "", GENERIC, "");
    CreateOGLWindow("teardown", 320, 240, 32, false);
    const HWND window = HWindow;
    DeleteOGLWindow();
    if (IsWindow(window)) return 20;
    if (wglGetCurrentContext() != nullptr) return 21;
    if (Active) return 22;
    MSG message;
    if (!PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) return 23;
    if (HWindow != window) return 24; // the variables keep their old values
    DeleteOGLWindow();                // a second teardown finds nothing to release
    return 0;
}
ChildEntry teardown("teardown", TeardownEntry);

TEST(Teardown, ReleasesContextAndDestroysTheWindow) { ExpectChildChecksPass("teardown"); }

} // namespace
