// The one OpenGL window: cursor and icon choice, class registration, creation in windowed or
// full-screen form, pixel format and rendering context, status bar, fatal errors, teardown.
#include "tarvik/tarvik.h"

#include "image_button_class.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace Tarvik {

// ---- module state
HWND HWindow = nullptr;
HDC DCWindow = nullptr;
HGLRC RCWindow = nullptr;
const char* SetTitleName = nullptr;
std::int32_t Width = 0;
std::int32_t Height = 0;
std::int32_t Bits = 0;
bool FullScreen = false;
bool Active = false;
std::int32_t SetTypeCursor = 0;
std::int32_t SetTypeIcon = 0;
const char* CursorFile = nullptr;
const char* IconFile = nullptr;
std::int32_t Pixel_Format_Flags = 0;
std::int32_t Create_Window_Flags = 0;
bool ShowMenuBar = false;
TVKProcedure CreateMenuBar = nullptr;
TVKProcedure CreateMouseMenu = nullptr;
WNDPROC GetInputCommand = nullptr;
bool ShowStatusBar = false;
HWND HStatus = nullptr;
HWND AWnd = nullptr;
TFileName FileName = {};
std::int32_t StatusItem[MAX_STATUS_ITEMS + 1] = {};
std::int32_t Edges[MAX_STATUS_ITEMS + 1] = {};
std::int32_t MaxStatusItem = 0;
GLuint ObjNull = 0;
bool FogOnOff = false;
std::uint32_t Start = 0;
const char* const TVKVersion = "1.0";

namespace {

const char GL_WINDOW_CLASS[] = "GLWindow";
const char STATUS_BAR_TEXT[] = "Percorso file";
constexpr UINT STATUS_BAR_ID = 30482;
constexpr DWORD WINDOWED_STYLE = 0x96CA0000;    // captioned pop-up, close and minimise boxes
constexpr DWORD FULL_SCREEN_STYLE = 0x96880000; // bordered pop-up, no caption
constexpr DWORD REQUIRED_PIXEL_FLAGS = 0x1067;

// System cursor resource numbers for the cursor types 1..16 (type 7 comes from a file).
constexpr std::uint16_t SYSTEM_CURSORS[] = {
    0x7F00, 0x7F01, 0x7F02, 0x7F03, 0x7F04, 0x7F80, 0, 0x7F82,
    0x7F83, 0x7F84, 0x7F85, 0x7F86, 0x7F88, 0x7F89, 0x7F8A, 0x7F8B,
};

HCURSOR ClassCursor()
{
    if (SetTypeCursor == FILECURSOR) return LoadCursorFromFileA(CursorFile ? CursorFile : "");
    if (SetTypeCursor < ARROW || SetTypeCursor > HELP) return nullptr;
    return LoadCursorA(nullptr, MAKEINTRESOURCEA(SYSTEM_CURSORS[SetTypeCursor - 1]));
}

HICON ClassIcon()
{
    if (SetTypeIcon == GENERIC) return LoadIconA(nullptr, MAKEINTRESOURCEA(0x7F00));
    if (SetTypeIcon == FILEICON) return LoadCursorFromFileA(IconFile ? IconFile : "");
    return nullptr;
}

int StartupShowCommand()
{
    STARTUPINFOA info = {};
    info.cb = sizeof info;
    GetStartupInfoA(&info);
    return (info.dwFlags & STARTF_USESHOWWINDOW) ? info.wShowWindow : SW_SHOWDEFAULT;
}

// The descriptor's bit counts are single bytes.
BYTE BitCount() { return static_cast<BYTE>(std::clamp(Bits, 0, 255)); }

PIXELFORMATDESCRIPTOR PixelFormatRequest()
{
    PIXELFORMATDESCRIPTOR pfd;
    std::memset(&pfd, 0, sizeof pfd);
    const BYTE bits = BitCount();
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = static_cast<DWORD>(Pixel_Format_Flags) | REQUIRED_PIXEL_FLAGS;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = bits;
    pfd.cAlphaBits = bits;
    pfd.cAccumBits = bits;
    pfd.cDepthBits = bits;
    pfd.cStencilBits = bits;
    pfd.cAuxBuffers = bits;
    pfd.iLayerType = 1;
    return pfd;
}

} // namespace

void ThrowError(const char* pcErrorMessage)
{
    MessageBoxA(nullptr, pcErrorMessage, "Error", 0);
    // A fatal start-up failure must not look like success to the shell.
    std::exit(1);
}

void OGLWindowSetting(std::int32_t TypeCursor, const char* CurFile, std::int32_t TypeIcon,
                      const char* IcoFile)
{
    if (MouseFree) {
        Start = GetTickCount();
        SetCursorPos(Width / 2, Height / 2);
    }
    FogOnOff = true;
    SetTypeCursor = TypeCursor;
    CursorFile = CurFile;
    SetTypeIcon = TypeIcon;
    IconFile = IcoFile;
    ObjNull = glGenLists(1);
    glNewList(ObjNull, GL_COMPILE);
    glEndList();
    GLVert3fRemove = false;
    GLVert3fEnableEdit = false;
}

bool WindowRegister()
{
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = GLWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = ClassIcon();
    wc.hCursor = ClassCursor();
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = GL_WINDOW_CLASS;
    const bool registered = (RegisterClassA(&wc) & 0xFFFF) != 0;
    RegisterImageButtonClass();
    return registered;
}

HWND WindowCreate(const char* pcApplicationName)
{
    DWORD style = WINDOWED_STYLE | static_cast<DWORD>(Create_Window_Flags);
    if (FullScreen) {
        Width = GetSystemMetrics(SM_CXSCREEN);
        Height = GetSystemMetrics(SM_CYSCREEN);
        style = FULL_SCREEN_STYLE;
    }
    HWND window = CreateWindowExA(0, GL_WINDOW_CLASS, pcApplicationName, style, CW_USEDEFAULT,
                                  CW_USEDEFAULT, Width, Height, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (window) {
        ShowWindow(window, StartupShowCommand());
        UpdateWindow(window);
    }
    return window;
}

bool WindowInit(HWND hParent)
{
    int error = 0;
    DCWindow = GetDC(hParent);
    const PIXELFORMATDESCRIPTOR pfd = PixelFormatRequest();
    const int format = ChoosePixelFormat(DCWindow, &pfd);
    if (format == 0) error = 1;
    SetPixelFormat(DCWindow, format, &pfd);
    RCWindow = wglCreateContext(DCWindow);
    if (!RCWindow) error = 2;
    wglMakeCurrent(DCWindow, RCWindow);
    return error == 0;
}

bool CreateOGLWindow(const char* AppName, std::int32_t AppWidth, std::int32_t AppHeight,
                     std::int32_t AppBits, bool AppFullScreen)
{
    SetTitleName = AppName;
    Width = AppWidth;
    Height = AppHeight;
    Bits = AppBits;
    FullScreen = AppFullScreen;
    if (!WindowRegister()) ThrowError("Errore di registro per la rispettiva applicazione!");
    HWindow = WindowCreate(AppName);
    if (ShowMenuBar && CreateMenuBar) CreateMenuBar();
    if (ShowStatusBar) HStatus = CreateStatusBar(HWindow);
    if (!HWindow) ThrowError("Impossibile creare la finestra per la rispettiva applicazione!");
    if (!WindowInit(HWindow)) ThrowError("la rispettiva applicazione non \xE8 stata inizilizata!");
    return true;
}

HWND CreateStatusBar(HWND Parent)
{
    std::memset(FileName, 0, sizeof FileName);
    std::memcpy(FileName, STATUS_BAR_TEXT, sizeof STATUS_BAR_TEXT);
    AWnd = CreateStatusWindowA(WS_CHILD | WS_VISIBLE, FileName, Parent, STATUS_BAR_ID);
    if (AWnd) {
        // The edge arrays hold 20 entries; a larger count would read past them.
        const int parts = std::clamp(MaxStatusItem, 0, MAX_STATUS_ITEMS);
        for (int i = 1; i <= parts; ++i) Edges[i] = StatusItem[i];
        SendMessageA(AWnd, SB_SETPARTS, static_cast<WPARAM>(parts),
                     reinterpret_cast<LPARAM>(&Edges[1]));
    }
    return AWnd;
}

void DeleteOGLWindow()
{
    wglMakeCurrent(DCWindow, nullptr);
    wglDeleteContext(RCWindow);
    ReleaseDC(HWindow, DCWindow);
    DestroyWindow(HWindow);
}

} // namespace Tarvik
