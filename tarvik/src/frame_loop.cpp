// The frame loop: one message at a time, a frame whenever the queue is empty, until WM_QUIT.
#include "tarvik/tarvik.h"

#include "frame_rate.h"

namespace Tarvik {

namespace {

void DrawOneFrame(HDC dc, TVKProcedure drawScene, DWORD programStart)
{
    ++FPSCount;
    const DWORD firstTick = GetTickCount();
    const DWORD secondTick = GetTickCount();
    const FrameClock clock = NextFrameClock(ElapsedTime, programStart, firstTick, secondTick);
    GetFramesRate = clock.GetFramesRate;
    ElapsedTime = clock.ElapsedTime;
    if (drawScene) drawScene();
    SwapBuffers(dc);
}

} // namespace

void SetGLMsgWithFPS(HDC DCWnd, TVKProcedure DrawScene)
{
    bool stopped = false;
    ViewFPS = true;
    const DWORD programStart = GetTickCount();
    MSG message;
    while (!stopped) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                stopped = true;
            } else {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        } else {
            DrawOneFrame(DCWnd, DrawScene, programStart);
        }
    }
}

void SetNewIntervalFPS(std::int32_t Val) { AddIntervalFPS = Val; }

void SetGLTimer(UINT_PTR Timer, UINT Interval) { SetTimer(HWindow, Timer, Interval, nullptr); }

} // namespace Tarvik
