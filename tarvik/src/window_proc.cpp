// GLWndProc: turns the window's messages into the library's input state, keeps Active in step
// with the window's life, forwards size changes and runs the frame-rate tick.
#include "tarvik/tarvik.h"

#include "frame_rate.h"

#include <algorithm>

namespace Tarvik {

// ---- input state (only this procedure writes it, apart from MouseFree and MSpeed)
bool SetKey[KEY_TABLE_SIZE] = {};
std::int32_t SetMX = 0, SetMY = 0;
std::int32_t SetOMX = 0, SetOMY = 0;
bool LeftMouseDown = false, RightMouseDown = false;
bool LeftMouseDown2 = false, RightMouseDown2 = false;
bool MouseFree = false;
std::int32_t XCoord = 0, YCoord = 0, ZCoord = 0;
float XRot = 0, YRot = 0, Depth = 0;
float XRot2 = 0, YRot2 = 0, Depth2 = 0;
std::int32_t MSpeed = 0;
POINT MPos = {0, 0};

namespace {

constexpr WPARAM ESCAPE_KEY = 27;
constexpr float MOUSE_LOOK_PITCH_LIMIT = 60.0f;

// Client coordinates in lParam are signed 16-bit values (negative outside, under capture).
int MouseX(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }
int MouseY(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }

void SetKeyState(WPARAM key, bool down)
{
    if (key < KEY_TABLE_SIZE) SetKey[key] = down;
}

void LeftDrag(int x, int y)
{
    const float dx = float((y - YCoord) / 2.0 * MSpeed);
    const float dy = float((x - XCoord) / 2.0 * MSpeed);
    XRot += dx;
    YRot += dy;
    XRot2 += dx;
    YRot2 += dy;
    XCoord = x;
    YCoord = y;
}

void RightDrag(int y)
{
    const float dz = float((y - ZCoord) / 10.0 * MSpeed);
    Depth -= dz;
    Depth2 -= dz;
    ZCoord = y;
}

float ClampPitch(float angle)
{
    return std::clamp(angle, -MOUSE_LOOK_PITCH_LIMIT, MOUSE_LOOK_PITCH_LIMIT);
}

// Mouse look: the cursor is pulled back to a fixed point and its offset turns the camera.
void MouseLook()
{
    GetCursorPos(&MPos);
    const int cx = Width / 2;
    const int cy = Height / 2;
    SetCursorPos(cx, cy);
    const float dx = float((MPos.x - cx) / 100.0 * MSpeed);
    const float dy = float((cy - MPos.y) / 100.0 * MSpeed);
    XRot += dx;
    YRot = ClampPitch(YRot - dy);
    XRot2 += dx;
    YRot2 = ClampPitch(YRot2 - dy);
}

void MouseMove(LPARAM lParam)
{
    const int x = MouseX(lParam);
    const int y = MouseY(lParam);
    SetOMX = x;
    SetOMY = y;
    if (LeftMouseDown) LeftDrag(x, y);
    if (RightMouseDown && !MouseFree) RightDrag(y);
    if (MouseFree && GetForegroundWindow() == HWindow) MouseLook();
}

void LeftButton(bool down, LPARAM lParam)
{
    ReleaseCapture();
    if (down) SetCapture(HWindow);
    LeftMouseDown = down;
    LeftMouseDown2 = down;
    const int x = down ? MouseX(lParam) : 0;
    const int y = down ? MouseY(lParam) : 0;
    XCoord = x;
    YCoord = y;
    SetMX = x;
    SetMY = y;
}

void RightButton(bool down, LPARAM lParam)
{
    ReleaseCapture();
    if (down) {
        SetCapture(HWindow);
        ZCoord = MouseY(lParam);
    }
    RightMouseDown = down;
    RightMouseDown2 = down;
}

void Paint(HWND window)
{
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    UpdateWindow(HStatus);
    EndPaint(window, &paint);
}

bool KeepsScreenAwake(WPARAM command)
{
    const WPARAM code = command & 0xFFF0; // the low four bits are the system's own
    return code == SC_SCREENSAVE || code == SC_MONITORPOWER;
}

} // namespace

LRESULT CALLBACK GLWndProc(HWND Window, UINT AMessage, WPARAM wParam, LPARAM lParam)
{
    switch (AMessage) {
    case WM_CREATE:
        Active = true;
        return 0;
    case WM_DESTROY:
        Active = false;
        PostQuitMessage(0);
        return 0;
    case WM_SIZE:
        GLResizeWindow(LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_PAINT:
        Paint(Window);
        return 0;
    case WM_CONTEXTMENU:
        if (ShowMenuBar && CreateMouseMenu) CreateMouseMenu();
        break;
    case WM_KEYDOWN:
        if (wParam == ESCAPE_KEY) {
            SendMessageA(HWindow, WM_DESTROY, 0, 0);
            return 0;
        }
        SetKeyState(wParam, true);
        break;
    case WM_KEYUP:
        SetKeyState(wParam, false);
        MouseFree = false;
        break;
    case WM_COMMAND:
        if (ShowMenuBar && GetInputCommand) GetInputCommand(Window, AMessage, wParam, lParam);
        return 0;
    case WM_SYSCOMMAND:
        if (KeepsScreenAwake(wParam)) return 0;
        break;
    case WM_TIMER:
        if (ViewFPS && wParam == FPS_TIMER) RunRateTick();
        break;
    case WM_MOUSEMOVE:
        MouseMove(lParam);
        break;
    case WM_LBUTTONDOWN:
        LeftButton(true, lParam);
        break;
    case WM_LBUTTONUP:
        LeftButton(false, lParam);
        break;
    case WM_RBUTTONDOWN:
        RightButton(true, lParam);
        break;
    case WM_RBUTTONUP:
        RightButton(false, lParam);
        break;
    default:
        break;
    }
    if (wParam == 0) UpdateWindow(HStatus);
    return DefWindowProcA(Window, AMessage, wParam, lParam);
}

} // namespace Tarvik
