// Frame-rate state and the once-a-tick rate figure shown in the window title.
#include "frame_rate.h"

#include "tarvik/tarvik.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Tarvik {

std::int32_t FPSCount = 0;
std::string FPSCountStr;
std::int32_t ElapsedTime = 0;
std::int32_t GetFramesRate = 0;
std::int32_t ForceFPS = 1;
std::int32_t AddForceFPS = 0;
std::int32_t AddIntervalFPS = FPS_INTERVAL;
bool ViewFPS = false;

namespace {

std::int32_t ClampToInt32(std::int64_t value)
{
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(value, lo, hi));
}

} // namespace

FrameClock NextFrameClock(std::int32_t elapsedTime, std::uint32_t programStart,
                          std::uint32_t firstTick, std::uint32_t secondTick)
{
    const std::int64_t sinceStart1 = static_cast<std::uint32_t>(firstTick - programStart);
    const std::int64_t sinceStart2 = static_cast<std::uint32_t>(secondTick - programStart);
    FrameClock clock;
    clock.GetFramesRate = ClampToInt32(sinceStart1 - elapsedTime);
    clock.ElapsedTime = ClampToInt32((elapsedTime + sinceStart2) / 2);
    return clock;
}

RateFigure ComputeRateFigure(std::int32_t frames, std::int32_t forceFPS,
                             std::int32_t addForceFPS, std::int32_t intervalMs)
{
    RateFigure figure{false, frames, forceFPS};
    if (intervalMs <= 0) return figure;
    figure.computed = true;
    const std::int32_t product =
        ClampToInt32(std::int64_t{forceFPS} * FPS_ONE_SECOND * std::int64_t{frames});
    // nearbyint uses the current rounding mode, to nearest with ties to even.
    figure.shown = static_cast<std::int32_t>(std::nearbyint(double(product) / intervalMs));
    if (addForceFPS > 1) {
        if (figure.shown < addForceFPS) ++figure.forceFPS;
        if (figure.shown > addForceFPS) --figure.forceFPS;
    }
    figure.shown = std::max(figure.shown, 1);
    return figure;
}

void RunRateTick()
{
    const RateFigure figure = ComputeRateFigure(FPSCount, ForceFPS, AddForceFPS, AddIntervalFPS);
    FPSCount = 0;
    if (!figure.computed) return; // no usable interval: keep the title as it is
    ForceFPS = figure.forceFPS;
    FPSCountStr = std::to_string(figure.shown);
    const std::string title =
        std::string(SetTitleName ? SetTitleName : "") + " - FPS [" + FPSCountStr + "]";
    SetWindowTextA(HWindow, title.c_str());
}

} // namespace Tarvik
