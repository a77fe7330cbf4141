// The hover image button: a self-drawn push button shaped like its normal bitmap, with a picture
// for each of its normal, hover and pressed states. All per-button data lives in window
// properties; a click is posted to the parent as WM_COMMAND with the control ID.
#include "tarvik/tarvik.h"

#include "image_button_class.h"

#include <cstdint>
#include <new>
#include <string>

namespace Tarvik {

std::string BmpType;
WNDCLASSEXA WindowClassEx = {};

namespace {

constexpr char BUTTON_CLASS[] = "IMAGEBUTTON";
constexpr char NORMAL_PICTURE[] = "NORMALBITMAP";
constexpr char HOVER_PICTURE[] = "HOVERBITMAP";
constexpr char PRESSED_PICTURE[] = "PRESSBITMAP";
constexpr char STATE_PROPERTY[] = "HOVERMODEBYTE";
constexpr char HIT_TEST_REGION[] = "HOVERBUTTONREGION";

constexpr std::int32_t STATE_NONE = 0;
constexpr std::int32_t STATE_NORMAL = 1;
constexpr std::int32_t STATE_HOVER = 2;
constexpr std::int32_t STATE_PRESSED = 3;

constexpr COLORREF SHAPE_TRANSPARENT_COLOUR = 0xFF00FF;
constexpr std::uint8_t SHAPE_TOLERANCE = 1;
constexpr WPARAM LEFT_OR_RIGHT_HELD = MK_LBUTTON | MK_RBUTTON;

std::int32_t ReadState(HWND wnd)
{
    return static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(GetPropA(wnd, STATE_PROPERTY)));
}

void StoreState(HWND wnd, std::int32_t state)
{
    SetPropA(wnd, STATE_PROPERTY, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(state)));
}

void Repaint(HWND wnd) { InvalidateRect(wnd, nullptr, FALSE); }

// Releasing only our own capture leaves another window's capture alone.
void ReleaseOwnCapture(HWND wnd)
{
    if (GetCapture() == wnd) ReleaseCapture();
}

void BackToNormal(HWND wnd)
{
    StoreState(wnd, STATE_NORMAL);
    ReleaseOwnCapture(wnd);
    Repaint(wnd);
}

// Gives the button the normal bitmap's size, keeping its top-left corner where it was created.
// The corner is taken from the parent's real client origin, whatever the parent's frame.
void FitToPicture(HWND wnd, HBITMAP picture)
{
    BITMAP info = {};
    if (!GetObjectA(picture, sizeof info, &info)) return;
    RECT rect;
    GetWindowRect(wnd, &rect);
    POINT corner = {rect.left, rect.top};
    if (GetWindowLongA(wnd, GWL_STYLE) & WS_CHILD) {
        MapWindowPoints(HWND_DESKTOP, GetParent(wnd), &corner, 1);
    }
    MoveWindow(wnd, corner.x, corner.y, info.bmWidth, info.bmHeight, FALSE);
}

// Keeps a memory device context holding the picture (or none, if it could not be loaded) and
// its realised palette under `property`.
void StorePicture(HWND wnd, const char* property, HBITMAP picture, HPALETTE palette)
{
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) {
        if (picture) DeleteObject(picture);
        if (palette) DeleteObject(palette);
        return;
    }
    if (picture) SelectObject(dc, picture);
    if (palette) {
        SelectPalette(dc, palette, FALSE);
        RealizePalette(dc);
    }
    SetPropA(wnd, property, dc);
}

void LoadAndStorePicture(HWND wnd, const char* property, const std::string& fileName)
{
    HPALETTE palette = nullptr;
    HBITMAP picture = LoadBMPFromFile(fileName.c_str(), palette);
    StorePicture(wnd, property, picture, palette);
}

// Deletes a picture's device context together with the bitmap and palette selected in it.
// When nothing was loaded these are the context's stock objects, which DeleteObject ignores.
void ReleasePicture(HWND wnd, const char* property)
{
    auto dc = static_cast<HDC>(RemovePropA(wnd, property));
    if (!dc) return;
    HGDIOBJ picture = GetCurrentObject(dc, OBJ_BITMAP);
    HGDIOBJ palette = GetCurrentObject(dc, OBJ_PAL);
    DeleteDC(dc);
    if (picture) DeleteObject(picture);
    if (palette && palette != GetStockObject(DEFAULT_PALETTE)) DeleteObject(palette);
}

HRGN CopyRegion(HRGN source)
{
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    if (copy && CombineRgn(copy, source, nullptr, RGN_COPY) == ERROR) {
        DeleteObject(copy);
        copy = nullptr;
    }
    return copy;
}

void GiveShape(HWND wnd, const std::string& normalFile)
{
    HRGN shape = BitmapToRegion(normalFile.c_str(), SHAPE_TRANSPARENT_COLOUR, SHAPE_TOLERANCE);
    if (!shape) return;
    HRGN hitTest = CopyRegion(shape);
    if (!SetWindowRgn(wnd, shape, FALSE)) DeleteObject(shape);
    if (hitTest) SetPropA(wnd, HIT_TEST_REGION, hitTest);
}

LRESULT OnCreate(HWND wnd)
{
    std::string normalFile, hoverFile, pressedFile;
    try {
        normalFile = BmpType + "N.BMP";
        hoverFile = BmpType + "H.BMP";
        pressedFile = BmpType + "P.BMP";
    } catch (const std::bad_alloc&) {
        return 0; // no names, no pictures: the button stays an inert rectangle
    }

    HPALETTE normalPalette = nullptr;
    HBITMAP normal = LoadBMPFromFile(normalFile.c_str(), normalPalette);
    if (normal) FitToPicture(wnd, normal); // otherwise keep the size it was created with
    StorePicture(wnd, NORMAL_PICTURE, normal, normalPalette);
    LoadAndStorePicture(wnd, HOVER_PICTURE, hoverFile);
    LoadAndStorePicture(wnd, PRESSED_PICTURE, pressedFile);
    StoreState(wnd, STATE_NORMAL);
    GiveShape(wnd, normalFile);
    return 0;
}

LRESULT OnDestroy(HWND wnd)
{
    RemovePropA(wnd, STATE_PROPERTY);
    if (auto region = static_cast<HRGN>(RemovePropA(wnd, HIT_TEST_REGION))) DeleteObject(region);
    ReleasePicture(wnd, PRESSED_PICTURE);
    ReleasePicture(wnd, HOVER_PICTURE);
    ReleasePicture(wnd, NORMAL_PICTURE);
    return 0;
}

LRESULT OnLeftButtonDown(HWND wnd)
{
    SetCapture(wnd);
    StoreState(wnd, STATE_PRESSED);
    Repaint(wnd);
    return 0;
}

LRESULT OnLeftButtonUp(HWND wnd)
{
    if (ReadState(wnd) == STATE_PRESSED) {
        PostMessageA(GetParent(wnd), WM_COMMAND, static_cast<WPARAM>(GetDlgCtrlID(wnd)), 0);
    }
    BackToNormal(wnd);
    return 0;
}

LRESULT OnMouseMove(HWND wnd, WPARAM keys, LPARAM position)
{
    auto hitTest = static_cast<HRGN>(GetPropA(wnd, HIT_TEST_REGION));
    const std::int32_t state = ReadState(wnd);
    if (!hitTest || state == STATE_NONE) return 0;

    const int x = static_cast<std::int16_t>(LOWORD(position));
    const int y = static_cast<std::int16_t>(HIWORD(position));
    if (!PtInRegion(hitTest, x, y)) {
        BackToNormal(wnd);
    } else if (state == STATE_NORMAL) {
        StoreState(wnd, (keys & LEFT_OR_RIGHT_HELD) ? STATE_PRESSED : STATE_HOVER);
        SetCapture(wnd); // so that leaving the shape is seen
        Repaint(wnd);
    }
    return 0;
}

HDC PictureForState(HWND wnd, std::int32_t state)
{
    switch (state) {
    case STATE_NORMAL: return static_cast<HDC>(GetPropA(wnd, NORMAL_PICTURE));
    case STATE_HOVER: return static_cast<HDC>(GetPropA(wnd, HOVER_PICTURE));
    case STATE_PRESSED: return static_cast<HDC>(GetPropA(wnd, PRESSED_PICTURE));
    default: return nullptr;
    }
}

// The paint cycle is always completed, even with nothing to draw, or the platform would keep
// asking for it.
LRESULT OnPaint(HWND wnd)
{
    RECT rect;
    GetWindowRect(wnd, &rect);
    HDC picture = PictureForState(wnd, ReadState(wnd));
    PAINTSTRUCT paint;
    HDC target = BeginPaint(wnd, &paint);
    if (target && picture) {
        BitBlt(target, 0, 0, rect.right - rect.left, rect.bottom - rect.top, picture, 0, 0,
               SRCCOPY);
    }
    EndPaint(wnd, &paint);
    return 0;
}

} // namespace

void RegisterImageButtonClass()
{
    if (GetClassInfoExA(nullptr, BUTTON_CLASS, &WindowClassEx)) return;
    WindowClassEx = {};
    WindowClassEx.cbSize = sizeof(WNDCLASSEXA);
    WindowClassEx.style = 0;
    WindowClassEx.lpfnWndProc = HoverButtonHandler;
    WindowClassEx.cbClsExtra = 0;
    WindowClassEx.cbWndExtra = 0;
    WindowClassEx.hInstance = GetModuleHandleA(nullptr);
    WindowClassEx.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    WindowClassEx.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    WindowClassEx.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    WindowClassEx.lpszMenuName = nullptr;
    WindowClassEx.lpszClassName = BUTTON_CLASS;
    WindowClassEx.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
    RegisterClassExA(&WindowClassEx); // a failure changes nothing for the caller
}

LRESULT CALLBACK HoverButtonHandler(HWND Wnd, UINT iMsg, WPARAM wParam, LPARAM lParam)
{
    switch (iMsg) {
    case WM_CREATE: return OnCreate(Wnd);
    case WM_DESTROY: return OnDestroy(Wnd);
    case WM_PAINT: return OnPaint(Wnd);
    case WM_MOUSEMOVE: return OnMouseMove(Wnd, wParam, lParam);
    case WM_LBUTTONDOWN: return OnLeftButtonDown(Wnd);
    case WM_LBUTTONUP: return OnLeftButtonUp(Wnd);
    default: return DefWindowProcA(Wnd, iMsg, wParam, lParam);
    }
}

} // namespace Tarvik
