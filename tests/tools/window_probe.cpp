// Reads a top-level window's facts through the platform, for the end-to-end scripts.
// Usage: window_probe "<title prefix>"
// Prints: left top right bottom client-width client-height style(hex) screen-width screen-height
#include "tarvik/platform.h"

#include <cstdio>
#include <cstring>

namespace {

struct Search {
    const char* prefix;
    HWND found;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    char title[512] = {};
    GetWindowTextA(window, title, sizeof title);
    if (std::strncmp(title, search->prefix, std::strlen(search->prefix)) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_probe \"<title prefix>\"\n");
        return 2;
    }
    Search search{argv[1], nullptr};
    EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return 1;
    RECT outer, client;
    GetWindowRect(search.found, &outer);
    GetClientRect(search.found, &client);
    std::printf("%ld %ld %ld %ld %ld %ld %08lx %d %d\n", outer.left, outer.top, outer.right,
                outer.bottom, client.right, client.bottom,
                static_cast<unsigned long>(GetWindowLongA(search.found, GWL_STYLE)),
                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return 0;
}
