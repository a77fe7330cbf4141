// The one library window of a test program, created on first use and shared by its tests.
#pragma once

#include "tarvik/tarvik.h"

#include <cstdint>
#include <vector>

namespace TestSupport {

inline constexpr char TEST_WINDOW_TITLE[] = "Tarvik test window";

// Creates the 800 x 600 windowed library window with its context current (once per process).
void EnsureTestWindow();

// Dispatches every waiting message of this thread (quit messages are dropped).
void PumpMessages();

// Reads the back buffer as RGBA rows, bottom row first.
std::vector<std::uint8_t> ReadBackBuffer(int x, int y, int width, int height);

} // namespace TestSupport
