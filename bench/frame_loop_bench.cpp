// The frame loop's own cost per frame: an empty frame procedure, so each frame is the message
// check, the two tick readings, the call and the buffer swap.
#include "tarvik/tarvik.h"

#include <cstdio>

using namespace Tarvik;

namespace {

constexpr int WARM_UP_FRAMES = 200;
constexpr int MEASURED_FRAMES = 5000;
int framesLeft = 0;

void EmptyFrame()
{
    if (--framesLeft == 0) PostQuitMessage(0);
}

double RunFrames(int frames)
{
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    framesLeft = frames;
    QueryPerformanceCounter(&begin);
    SetGLMsgWithFPS(DCWindow, EmptyFrame);
    QueryPerformanceCounter(&end);
    return double(end.QuadPart - begin.QuadPart) / double(frequency.QuadPart);
}

} // namespace

int main()
{
    OGLWindowSetting(ARROW, "", GENERIC, "");
    CreateOGLWindow("frame loop benchmark", 800, 600, 32, false);
    RunFrames(WARM_UP_FRAMES);
    const double seconds = RunFrames(MEASURED_FRAMES);
    std::printf("frame loop, empty frame, %dx%d client: %d frames in %.3f s, %.1f us per frame"
                " (%.0f frames per second)\n",
                Width, Height, MEASURED_FRAMES, seconds, seconds * 1e6 / MEASURED_FRAMES,
                MEASURED_FRAMES / seconds);
    DeleteOGLWindow();
    return 0;
}
