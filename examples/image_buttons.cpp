// Image buttons: a plain window with three shaped hover buttons. Their pictures are drawn here
// at start-up and written to a temporary folder; clicking a button shows its ID in the title.
// Usage: image_buttons [--close-after MILLISECONDS]
#include "tarvik/tarvik.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

using namespace Tarvik;

namespace {

constexpr char WINDOW_CLASS[] = "TarvikImageButtonsExample";
constexpr char START_TITLE[] = "Image buttons - click one";
constexpr std::uint32_t TRANSPARENT_RGB = 0xFF00FF; // cut away by the button
constexpr UINT_PTR CLOSE_TIMER = 1;

struct Rgb {
    double r, g, b;
};

// A shape test: how far inside the shape a point is (negative outside), in pixels.
using ShapeDepth = double (*)(double x, double y, double size);

double CircleDepth(double x, double y, double size)
{
    const double radius = size / 2 - 1;
    return radius - std::hypot(x - size / 2, y - size / 2);
}

double DiamondDepth(double x, double y, double size)
{
    return (size / 2 - 1) - (std::fabs(x - size / 2) + std::fabs(y - size / 2));
}

double StarDepth(double x, double y, double size)
{
    const double dx = x - size / 2, dy = y - size / 2;
    const double angle = std::atan2(dy, dx);
    const double reach = (size / 2 - 1) * (0.62 + 0.38 * std::cos(5 * angle));
    return reach - std::hypot(dx, dy);
}

struct ButtonLook {
    const char* prefix;
    ShapeDepth depth;
    Rgb colour;
    int id;
};

const ButtonLook BUTTONS[] = {
    {"circle_", CircleDepth, {40, 110, 220}, 101},
    {"diamond_", DiamondDepth, {220, 120, 30}, 102},
    {"star_", StarDepth, {60, 170, 70}, 103},
};
constexpr int BUTTON_SIZE = 96;

std::uint8_t Channel(double value)
{
    return static_cast<std::uint8_t>(value < 0 ? 0 : value > 254 ? 254 : value);
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// Writes a 24-bit picture: the shape lit from the top left, lighter when hovered, darker and
// nudged when pressed; everything outside the shape in the transparent colour.
bool WritePicture(const std::string& path, const ButtonLook& look, char state)
{
    const int size = BUTTON_SIZE;
    const double light = state == 'H' ? 1.25 : state == 'P' ? 0.7 : 1.0;
    const double shift = state == 'P' ? 1.5 : 0.0;
    const std::uint32_t rowBytes = (size * 3 + 3) & ~3u;
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + rowBytes * size);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, size);
    Put32(out, size); // bottom-up rows
    Put16(out, 1);
    Put16(out, 24);
    for (int i = 0; i < 6; ++i) Put32(out, 0);
    for (int row = size - 1; row >= 0; --row) {
        for (int x = 0; x < size; ++x) {
            const double px = x + 0.5 - shift, py = row + 0.5 - shift;
            const double depth = look.depth(px, py, size);
            if (depth < 0) {
                out.push_back(TRANSPARENT_RGB & 0xFF);
                out.push_back((TRANSPARENT_RGB >> 8) & 0xFF);
                out.push_back((TRANSPARENT_RGB >> 16) & 0xFF);
                continue;
            }
            const double edge = depth < 3 ? 0.6 : 1.0;
            const double shade = light * edge * (1.15 - 0.5 * (px + py) / (2.0 * size));
            out.push_back(Channel(look.colour.b * shade));
            out.push_back(Channel(look.colour.g * shade));
            out.push_back(Channel(look.colour.r * shade));
        }
        for (std::uint32_t pad = size * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file);
}

// The folder for the pictures, with a trailing backslash.
std::string PictureFolder()
{
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "tarvik_image_buttons\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

bool WriteAllPictures(const std::string& folder)
{
    for (const ButtonLook& look : BUTTONS) {
        for (char state : {'N', 'H', 'P'}) {
            const std::string name = folder + look.prefix + state + ".BMP";
            if (!WritePicture(name, look, state)) return false;
        }
    }
    return true;
}

LRESULT CALLBACK ExampleProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND: {
        const std::string title = "Image buttons - clicked button " + std::to_string(LOWORD(wParam));
        SetWindowTextA(wnd, title.c_str());
        return 0;
    }
    case WM_TIMER:
        if (wParam == CLOSE_TIMER) DestroyWindow(wnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default: return DefWindowProcA(wnd, msg, wParam, lParam);
    }
}

HWND CreateMainWindow(HINSTANCE instance)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ExampleProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = WINDOW_CLASS;
    if (!RegisterClassA(&wc)) return nullptr;
    return CreateWindowExA(0, WINDOW_CLASS, START_TITLE, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, 420, 220, nullptr, nullptr, instance, nullptr);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    const std::string folder = PictureFolder();
    if (!WriteAllPictures(folder)) {
        MessageBoxA(nullptr, ("Cannot write the button pictures to " + folder).c_str(),
                    "Image buttons", MB_ICONERROR);
        return 1;
    }
    WindowRegister(); // registers the library's classes, "IMAGEBUTTON" among them

    HWND window = CreateMainWindow(instance);
    if (!window) return 1;
    for (int i = 0; i < 3; ++i) {
        const ButtonLook& look = BUTTONS[i];
        BmpType = folder + look.prefix; // read while the button is created
        CreateWindowExA(0, "IMAGEBUTTON", "", WS_CHILD | WS_VISIBLE, 24 + i * 124, 40, 0, 0,
                        window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(look.id)), instance,
                        nullptr);
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    const char* closeAfter = std::strstr(commandLine, "--close-after");
    if (closeAfter) {
        SetTimer(window, CLOSE_TIMER, static_cast<UINT>(std::atoi(closeAfter + 13)), nullptr);
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
