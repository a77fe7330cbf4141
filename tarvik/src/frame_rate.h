// Frame timing and frame-rate arithmetic, kept free of the platform so it can be tested alone.
#pragma once

#include <cstdint>

namespace Tarvik {

struct FrameClock {
    std::int32_t ElapsedTime;   // smoothed milliseconds since the loop began
    std::int32_t GetFramesRate; // first reading less the previous smoothed time
};

// One frame's timing update from two tick readings. Differences are taken modulo 2^32 so that a
// wrap of the millisecond counter still gives the right elapsed time.
FrameClock NextFrameClock(std::int32_t elapsedTime, std::uint32_t programStart,
                          std::uint32_t firstTick, std::uint32_t secondTick);

struct RateFigure {
    bool computed;          // false when the counting interval is not positive
    std::int32_t shown;     // the figure for the title (at least 1)
    std::int32_t forceFPS;  // ForceFPS after the steering step
};

// The rate tick's arithmetic: frames scaled by forceFPS per second of the counting interval,
// rounded to nearest (ties to even), steered towards addForceFPS when that is above 1.
RateFigure ComputeRateFigure(std::int32_t frames, std::int32_t forceFPS,
                             std::int32_t addForceFPS, std::int32_t intervalMs);

// The rate tick run by the window procedure on each FPS_TIMER message.
void RunRateTick();

} // namespace Tarvik
