// The hover image button driven through real messages: its class, size and place, pictures,
// state machine, posted command, painting, and the release of everything it made.
#include "support/bmp_writer.h"
#include "support/test_window.h"
#include "tarvik/tarvik.h"

#include "image_button_class.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace Tarvik;
using TestSupport::BmpImage;
using TestSupport::SolidBmp;
using TestSupport::WriteBmp;

namespace {

constexpr std::uint32_t MAGENTA_PIXEL = 0xFF00FF;
constexpr COLORREF MAGENTA = RGB(255, 0, 255);
constexpr std::uint32_t NORMAL_COLOUR = 0xC00000;
constexpr std::uint32_t HOVER_COLOUR = 0x00C000;
constexpr std::uint32_t PRESSED_COLOUR = 0x0000C0;
constexpr int BUTTON_ID = 1234;

// The normal picture is 40 x 20 with a transparent 10 x 10 notch at its top-left corner.
constexpr POINT INSIDE = {20, 10};
constexpr POINT INSIDE_TOO = {35, 3};
constexpr POINT TRANSPARENT_PIXEL = {2, 2};
constexpr POINT OUTSIDE = {60, 10};
constexpr POINT LEFT_OF_IT = {-5, 15};

constexpr char PARENT_CLASS[] = "ImageButtonTestParent";
constexpr char PROPERTIES[][20] = {"NORMALBITMAP", "HOVERBITMAP", "PRESSBITMAP", "HOVERMODEBYTE",
                                   "HOVERBUTTONREGION"};

int g_commandsSent = 0; // WM_COMMAND reaching a parent other than through its queue

LRESULT CALLBACK ParentProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND) ++g_commandsSent; // posted commands are taken from the queue instead
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

BmpImage NotchedPicture(int width, int height, std::uint32_t colour)
{
    BmpImage image = SolidBmp(width, height, colour);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) image.At(x, y) = MAGENTA_PIXEL;
    }
    return image;
}

HWND CreateParent(DWORD style, DWORD exStyle = 0)
{
    return CreateWindowExA(exStyle, PARENT_CLASS, "parent", style, 100, 100, 400, 300,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

HWND CreateButton(HWND parent, int id = BUTTON_ID, int x = 15, int y = 25)
{
    return CreateWindowExA(0, "IMAGEBUTTON", "", WS_CHILD | WS_VISIBLE, x, y, 200, 100, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

int StateOf(HWND button)
{
    return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropA(button, "HOVERMODEBYTE")));
}

HDC PictureDC(HWND button, const char* property)
{
    return static_cast<HDC>(GetPropA(button, property));
}

::SIZE BitmapSize(HGDIOBJ bitmap)
{
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

// The button's rectangle in its parent's client coordinates.
RECT PlaceInParent(HWND button)
{
    RECT rect;
    GetWindowRect(button, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(button), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The button's place in its parent's client area and its size.
void ExpectPlace(HWND button, LONG left, LONG top, LONG width, LONG height)
{
    const RECT place = PlaceInParent(button);
    EXPECT_EQ(place.left, left);
    EXPECT_EQ(place.top, top);
    EXPECT_EQ(place.right - place.left, width);
    EXPECT_EQ(place.bottom - place.top, height);
}

// Removes the commands waiting in the parent's queue and returns their wParam and lParam.
std::vector<std::pair<WPARAM, LPARAM>> TakeCommands(HWND parent)
{
    std::vector<std::pair<WPARAM, LPARAM>> commands;
    MSG msg;
    while (PeekMessageA(&msg, parent, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
        commands.emplace_back(msg.wParam, msg.lParam);
    }
    return commands;
}

LPARAM At(POINT p) { return MAKELPARAM(p.x, p.y); }

COLORREF Colour(std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

class ImageButtonTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        TestSupport::EnsureTestWindow();
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = PARENT_CLASS;
        RegisterClassA(&wc);
        ASSERT_TRUE(WriteBmp("N.BMP", NotchedPicture(40, 20, NORMAL_COLOUR)));
        ASSERT_TRUE(WriteBmp("H.BMP", NotchedPicture(44, 20, HOVER_COLOUR)));
        ASSERT_TRUE(WriteBmp("P.BMP", NotchedPicture(48, 20, PRESSED_COLOUR)));
        ASSERT_TRUE(WriteBmp("OKN.BMP", SolidBmp(30, 10, NORMAL_COLOUR)));
        ASSERT_TRUE(WriteBmp("OKH.BMP", SolidBmp(31, 11, HOVER_COLOUR)));
        ASSERT_TRUE(WriteBmp("OKP.BMP", SolidBmp(32, 12, PRESSED_COLOUR)));
        ASSERT_TRUE(WriteBmp("HALFN.BMP", NotchedPicture(40, 20, NORMAL_COLOUR)));
    }

    // One visible parent for the suite: Wine takes seconds to destroy a visible top-level window.
    static void TearDownTestSuite()
    {
        DestroyWindow(s_parent);
        s_parent = nullptr;
    }

    void SetUp() override
    {
        BmpType = "";
        g_commandsSent = 0;
        if (!s_parent) s_parent = CreateParent(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        ASSERT_NE(s_parent, nullptr);
        parent_ = s_parent;
        TakeCommands(parent_);
    }

    void TearDown() override { BmpType = ""; }

    static HWND s_parent;
    HWND parent_ = nullptr;
};

HWND ImageButtonTest::s_parent = nullptr;

TEST_F(ImageButtonTest, ClassIsRegisteredBesideTheLibraryWindow)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "IMAGEBUTTON", &wc));
    EXPECT_EQ(wc.lpfnWndProc, &HoverButtonHandler);
    EXPECT_EQ(wc.style, 0u);
    EXPECT_EQ(wc.cbClsExtra, 0);
    EXPECT_EQ(wc.cbWndExtra, 0);
    EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(wc.hIcon, LoadIconA(nullptr, IDI_APPLICATION));
    EXPECT_EQ(wc.hbrBackground, GetStockObject(NULL_BRUSH));
    EXPECT_EQ(wc.lpszMenuName, nullptr);

    EXPECT_STREQ(WindowClassEx.lpszClassName, "IMAGEBUTTON");
    EXPECT_EQ(WindowClassEx.lpfnWndProc, &HoverButtonHandler);

    // A second registration finds the class known and leaves it as it was.
    RegisterImageButtonClass();
    EXPECT_EQ(WindowClassEx.lpfnWndProc, &HoverButtonHandler);
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "IMAGEBUTTON", &wc));
    EXPECT_EQ(wc.lpfnWndProc, &HoverButtonHandler);
}

TEST_F(ImageButtonTest, TakesTheNormalPicturesSizeAndKeepsItsPlaceInAnyParent)
{
    const struct {
        const char* name;
        DWORD style, exStyle;
    } parents[] = {
        {"overlapped window", WS_OVERLAPPEDWINDOW, 0},
        {"popup without frame", WS_POPUP, 0},
        {"thick-framed tool window", WS_POPUP | WS_CAPTION | WS_THICKFRAME, WS_EX_TOOLWINDOW},
        {"window with a client edge", WS_OVERLAPPEDWINDOW, WS_EX_CLIENTEDGE},
    };
    for (const auto& p : parents) {
        SCOPED_TRACE(p.name);
        HWND parent = CreateParent(p.style, p.exStyle);
        HWND button = CreateButton(parent, BUTTON_ID, 15, 25);
        ASSERT_NE(button, nullptr);
        ExpectPlace(button, 15, 25, 40, 20);
        DestroyWindow(parent);
    }
    SCOPED_TRACE("the library window");
    HWND button = CreateButton(HWindow, BUTTON_ID, 33, 44);
    ExpectPlace(button, 33, 44, 40, 20);
    DestroyWindow(button);
}

TEST_F(ImageButtonTest, LoadsItsThreeFilesNamedFromBmpType)
{
    const struct {
        const char* prefix;
        ::SIZE normal, hover, pressed;
    } cases[] = {
        {"", {40, 20}, {44, 20}, {48, 20}},
        {"OK", {30, 10}, {31, 11}, {32, 12}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("BmpType \"") + c.prefix + "\"");
        BmpType = c.prefix;
        HWND button = CreateButton(parent_);
        const std::pair<const char*, ::SIZE> pictures[] = {
            {"NORMALBITMAP", c.normal}, {"HOVERBITMAP", c.hover}, {"PRESSBITMAP", c.pressed}};
        for (const auto& [property, size] : pictures) {
            HDC dc = PictureDC(button, property);
            ASSERT_EQ(GetObjectType(dc), DWORD(OBJ_MEMDC)) << property;
            const ::SIZE actual = BitmapSize(GetCurrentObject(dc, OBJ_BITMAP));
            EXPECT_EQ(actual.cx, size.cx) << property;
            EXPECT_EQ(actual.cy, size.cy) << property;
        }
        RECT rect;
        GetWindowRect(button, &rect);
        EXPECT_EQ(rect.right - rect.left, c.normal.cx);
        EXPECT_EQ(rect.bottom - rect.top, c.normal.cy);
        DestroyWindow(button);
    }
    BmpType = "OK"; // a string literal assigns directly
    EXPECT_EQ(BmpType, "OK");
}

TEST_F(ImageButtonTest, HoldsItsPicturesPalettesStateAndShapeInProperties)
{
    HWND button = CreateButton(parent_);
    EXPECT_EQ(StateOf(button), 1);
    for (const char* property : {"NORMALBITMAP", "HOVERBITMAP", "PRESSBITMAP"}) {
        HDC dc = PictureDC(button, property);
        ASSERT_EQ(GetObjectType(dc), DWORD(OBJ_MEMDC)) << property;
        HGDIOBJ palette = GetCurrentObject(dc, OBJ_PAL);
        EXPECT_EQ(GetObjectType(palette), DWORD(OBJ_PAL)) << property;
        EXPECT_NE(palette, GetStockObject(DEFAULT_PALETTE)) << property;
    }
    auto hitTest = static_cast<HRGN>(GetPropA(button, "HOVERBUTTONREGION"));
    ASSERT_EQ(GetObjectType(hitTest), DWORD(OBJ_REGION));

    HRGN expected = BitmapToRegion("N.BMP", MAGENTA, 1);
    ASSERT_NE(expected, nullptr);
    EXPECT_TRUE(EqualRgn(hitTest, expected));
    HRGN windowShape = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(button, windowShape), COMPLEXREGION);
    EXPECT_TRUE(EqualRgn(windowShape, expected));
    EXPECT_NE(windowShape, hitTest);
    DeleteObject(windowShape);
    DeleteObject(expected);
    DestroyWindow(button);
}

// ---------------------------------------------------------------- the state machine

struct Step {
    UINT message;
    WPARAM keys;
    POINT at;
};

Step Move(WPARAM keys, POINT at) { return {WM_MOUSEMOVE, keys, at}; }
const Step LEFT_DOWN = {WM_LBUTTONDOWN, MK_LBUTTON, INSIDE};
const Step LEFT_UP = {WM_LBUTTONUP, 0, INSIDE};
const Step LEFT_UP_OUTSIDE = {WM_LBUTTONUP, 0, OUTSIDE};
const Step RIGHT_UP = {WM_RBUTTONUP, 0, INSIDE};

struct StateCase {
    const char* name;
    std::vector<Step> steps;
    int state;
    bool captured;
    int commands;
};

const StateCase STATE_CASES[] = {
    {"move inside, no button held", {Move(0, INSIDE)}, 2, true, 0},
    {"move inside, left held", {Move(MK_LBUTTON, INSIDE)}, 3, true, 0},
    {"move inside, right held", {Move(MK_RBUTTON, INSIDE)}, 3, true, 0},
    {"hover, move inside again", {Move(0, INSIDE), Move(0, INSIDE_TOO)}, 2, true, 0},
    {"hover, move inside with left held", {Move(0, INSIDE), Move(MK_LBUTTON, INSIDE)}, 2, true, 0},
    {"pressed, move inside with nothing held", {Move(MK_LBUTTON, INSIDE), Move(0, INSIDE)}, 3,
     true, 0},
    {"normal, move outside", {Move(0, OUTSIDE)}, 1, false, 0},
    {"hover, move outside", {Move(0, INSIDE), Move(0, OUTSIDE)}, 1, false, 0},
    {"pressed, move outside", {Move(MK_LBUTTON, INSIDE), Move(MK_LBUTTON, OUTSIDE)}, 1, false, 0},
    {"hover, move over a transparent pixel", {Move(0, INSIDE), Move(0, TRANSPARENT_PIXEL)}, 1,
     false, 0},
    {"hover, move left of the button", {Move(0, INSIDE), Move(0, LEFT_OF_IT)}, 1, false, 0},
    {"normal, move over a transparent pixel", {Move(0, TRANSPARENT_PIXEL)}, 1, false, 0},
    {"left down in normal", {LEFT_DOWN}, 3, true, 0},
    {"left down in hover", {Move(0, INSIDE), LEFT_DOWN}, 3, true, 0},
    {"click", {Move(0, INSIDE), LEFT_DOWN, LEFT_UP}, 1, false, 1},
    {"two clicks", {LEFT_DOWN, LEFT_UP, LEFT_DOWN, LEFT_UP}, 1, false, 2},
    {"left up in normal", {LEFT_UP}, 1, false, 0},
    {"left up in hover", {Move(0, INSIDE), LEFT_UP}, 1, false, 0},
    {"press, leave the shape, release outside",
     {LEFT_DOWN, Move(MK_LBUTTON, OUTSIDE), LEFT_UP_OUTSIDE}, 1, false, 0},
    {"press, leave over a transparent pixel, release",
     {LEFT_DOWN, Move(MK_LBUTTON, TRANSPARENT_PIXEL), LEFT_UP}, 1, false, 0},
    {"enter with left held, release on it", {Move(MK_LBUTTON, INSIDE), LEFT_UP}, 1, false, 1},
    {"enter with right held, release right", {Move(MK_RBUTTON, INSIDE), RIGHT_UP}, 3, true, 0},
    {"enter with right held, release right, leave",
     {Move(MK_RBUTTON, INSIDE), RIGHT_UP, Move(0, OUTSIDE)}, 1, false, 0},
    {"after a click the first move inside hovers", {LEFT_DOWN, LEFT_UP, Move(0, INSIDE)}, 2,
     true, 1},
};

TEST_F(ImageButtonTest, FollowsTheStateTableAndPostsOneCommandPerClick)
{
    for (const StateCase& c : STATE_CASES) {
        SCOPED_TRACE(c.name);
        HWND button = CreateButton(parent_);
        ASSERT_NE(button, nullptr);
        for (const Step& step : c.steps) {
            EXPECT_EQ(SendMessageA(button, step.message, step.keys, At(step.at)), 0);
        }
        EXPECT_EQ(StateOf(button), c.state);
        EXPECT_EQ(GetCapture() == button, c.captured);
        EXPECT_EQ(g_commandsSent, 0) << "the command is posted, not sent";
        const auto commands = TakeCommands(parent_);
        ASSERT_EQ(int(commands.size()), c.commands);
        for (const auto& [wParam, lParam] : commands) {
            EXPECT_EQ(wParam, WPARAM(BUTTON_ID)) << "control ID, notification code 0";
            EXPECT_EQ(lParam, 0);
        }
        DestroyWindow(button);
    }
}

TEST_F(ImageButtonTest, OnlyTheClickedButtonReportsAndLeavesOthersAlone)
{
    HWND first = CreateButton(parent_, 7, 10, 10);
    HWND second = CreateButton(parent_, 8, 100, 10);
    SendMessageA(first, WM_MOUSEMOVE, 0, At(INSIDE));
    SendMessageA(second, WM_LBUTTONDOWN, MK_LBUTTON, At(INSIDE));
    SendMessageA(second, WM_LBUTTONUP, 0, At(INSIDE));
    const auto commands = TakeCommands(parent_);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].first, WPARAM(8));
    EXPECT_EQ(StateOf(first), 2);
    EXPECT_EQ(StateOf(second), 1);
    DestroyWindow(first);
    DestroyWindow(second);
}

TEST_F(ImageButtonTest, ReleasingDoesNotTakeAnotherWindowsCapture)
{
    HWND button = CreateButton(parent_);
    SetCapture(parent_);
    SendMessageA(button, WM_LBUTTONUP, 0, At(INSIDE));
    EXPECT_EQ(GetCapture(), parent_);
    ReleaseCapture();
    DestroyWindow(button);
}

TEST_F(ImageButtonTest, TransparentPixelsAreNotPartOfTheWindow)
{
    HWND button = CreateButton(parent_);
    POINT opaque = INSIDE, clear = TRANSPARENT_PIXEL;
    ClientToScreen(button, &opaque);
    ClientToScreen(button, &clear);
    EXPECT_EQ(WindowFromPoint(opaque), button);
    EXPECT_EQ(WindowFromPoint(clear), parent_);
    DestroyWindow(button);
}

TEST_F(ImageButtonTest, WithoutItsNormalPictureKeepsItsSizeAndStillClicks)
{
    BmpType = "MISSING";
    HWND button = CreateButton(parent_, BUTTON_ID, 15, 25);
    ASSERT_NE(button, nullptr);
    ExpectPlace(button, 15, 25, 200, 100);
    EXPECT_EQ(GetPropA(button, "HOVERBUTTONREGION"), nullptr);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(button, shape), ERROR) << "no window region: stays rectangular";
    DeleteObject(shape);
    EXPECT_EQ(StateOf(button), 1);

    SendMessageA(button, WM_MOUSEMOVE, 0, At(INSIDE));
    EXPECT_EQ(StateOf(button), 1) << "no hit-test region: moves do nothing";
    EXPECT_NE(GetCapture(), button);
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, At(INSIDE));
    EXPECT_EQ(StateOf(button), 3);
    SendMessageA(button, WM_LBUTTONUP, 0, At(INSIDE));
    EXPECT_EQ(TakeCommands(parent_).size(), 1u);
    DestroyWindow(button);
}

// ---------------------------------------------------------------- painting

COLORREF PixelOnScreen(HWND button, POINT at)
{
    UpdateWindow(button);
    HDC dc = GetDC(button);
    const COLORREF colour = GetPixel(dc, at.x, at.y);
    ReleaseDC(button, dc);
    return colour;
}

TEST_F(ImageButtonTest, PaintsThePictureOfItsState)
{
    HWND button = CreateButton(parent_);
    EXPECT_EQ(PixelOnScreen(button, INSIDE), Colour(NORMAL_COLOUR));
    SendMessageA(button, WM_MOUSEMOVE, 0, At(INSIDE));
    EXPECT_EQ(PixelOnScreen(button, INSIDE), Colour(HOVER_COLOUR));
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, At(INSIDE));
    EXPECT_EQ(PixelOnScreen(button, INSIDE), Colour(PRESSED_COLOUR));
    SendMessageA(button, WM_LBUTTONUP, 0, At(INSIDE));
    EXPECT_EQ(PixelOnScreen(button, INSIDE), Colour(NORMAL_COLOUR));
    DestroyWindow(button);
}

TEST_F(ImageButtonTest, APaintWithNoPictureStillCompletes)
{
    HWND button = CreateButton(parent_);
    // A state with no picture of its own.
    SetPropA(button, "HOVERMODEBYTE", reinterpret_cast<HANDLE>(INT_PTR(7)));
    InvalidateRect(button, nullptr, FALSE);
    SendMessageA(button, WM_PAINT, 0, 0);
    EXPECT_FALSE(GetUpdateRect(button, nullptr, FALSE));

    // A normal state whose device context is gone.
    SetPropA(button, "HOVERMODEBYTE", reinterpret_cast<HANDLE>(INT_PTR(1)));
    auto dc = static_cast<HDC>(RemovePropA(button, "NORMALBITMAP"));
    InvalidateRect(button, nullptr, FALSE);
    SendMessageA(button, WM_PAINT, 0, 0);
    EXPECT_FALSE(GetUpdateRect(button, nullptr, FALSE));
    SetPropA(button, "NORMALBITMAP", dc); // handed back so that destruction releases it
    DestroyWindow(button);
}

// ---------------------------------------------------------------- destruction

// Every GDI object the button made: its device contexts, the bitmaps and palettes in them,
// and the hit-test region.
std::vector<HGDIOBJ> ObjectsOf(HWND button)
{
    std::vector<HGDIOBJ> objects;
    for (const char* property : {"NORMALBITMAP", "HOVERBITMAP", "PRESSBITMAP"}) {
        HDC dc = PictureDC(button, property);
        objects.push_back(dc);
        objects.push_back(GetCurrentObject(dc, OBJ_BITMAP));
        objects.push_back(GetCurrentObject(dc, OBJ_PAL));
    }
    objects.push_back(GetPropA(button, "HOVERBUTTONREGION"));
    return objects;
}

TEST_F(ImageButtonTest, DestructionRemovesItsProperties)
{
    HWND button = CreateButton(parent_);
    for (const char* property : PROPERTIES) EXPECT_NE(GetPropA(button, property), nullptr);
    EXPECT_EQ(SendMessageA(button, WM_DESTROY, 0, 0), 0);
    for (const char* property : PROPERTIES) EXPECT_EQ(GetPropA(button, property), nullptr);
    DestroyWindow(button);
}

TEST_F(ImageButtonTest, NothingItMadeOutlivesItOverManyCycles)
{
    HWND parent = CreateParent(WS_OVERLAPPEDWINDOW);
    for (int cycle = 0; cycle < 60; ++cycle) {
        SCOPED_TRACE("cycle " + std::to_string(cycle));
        HWND button = CreateButton(parent);
        const std::vector<HGDIOBJ> objects = ObjectsOf(button);
        for (HGDIOBJ object : objects) ASSERT_NE(GetObjectType(object), 0u);
        SendMessageA(button, WM_MOUSEMOVE, 0, At(INSIDE));
        UpdateWindow(button);
        // Every third cycle the button goes with its parent.
        if (cycle % 3 == 2) {
            DestroyWindow(parent);
            parent = CreateParent(WS_OVERLAPPEDWINDOW);
        } else {
            DestroyWindow(button);
        }
        for (size_t i = 0; i < objects.size(); ++i) {
            EXPECT_EQ(GetObjectType(objects[i]), 0u) << "object " << i;
        }
    }
    DestroyWindow(parent);
}

TEST_F(ImageButtonTest, MissingPicturesLeaveTheStockObjectsIntact)
{
    BmpType = "HALF"; // only HALFN.BMP exists
    HWND button = CreateButton(parent_);
    HDC hover = PictureDC(button, "HOVERBITMAP");
    ASSERT_EQ(GetObjectType(hover), DWORD(OBJ_MEMDC)) << "a context without a picture";
    HGDIOBJ stockBitmap = GetCurrentObject(hover, OBJ_BITMAP);
    const ::SIZE stockSize = BitmapSize(stockBitmap);
    EXPECT_EQ(stockSize.cx, 1);
    HDC normal = PictureDC(button, "NORMALBITMAP");
    HGDIOBJ normalBitmap = GetCurrentObject(normal, OBJ_BITMAP);
    DestroyWindow(button);
    EXPECT_EQ(GetObjectType(normal), 0u);
    EXPECT_EQ(GetObjectType(normalBitmap), 0u);
    EXPECT_EQ(GetObjectType(hover), 0u);
    EXPECT_EQ(GetObjectType(stockBitmap), DWORD(OBJ_BITMAP));
    HDC fresh = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetCurrentObject(fresh, OBJ_BITMAP), stockBitmap);
    DeleteDC(fresh);
}

} // namespace
