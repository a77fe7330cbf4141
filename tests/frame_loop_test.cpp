// The frame loop, its timing variables and the once-a-tick frame-rate figure in the title.
#include "support/test_window.h"

#include "frame_rate.h"

#include <gtest/gtest.h>

#include <climits>
#include <regex>
#include <string>

using namespace Tarvik;
using TestSupport::EnsureTestWindow;

namespace {

// ---- the arithmetic alone

TEST(RateFigure, RoundsScalesAndSteers)
{
    struct Case {
        int frames, force, target, interval;
        int shown, forceAfter;
    } const cases[] = {
        {60, 1, 0, 1000, 60, 1},          // frames of the last second
        {0, 1, 0, 1000, 1, 1},            // no frame still shows 1
        {7, 1, 0, 5000, 1, 1},            // one fifth of 7 is 1.4
        {8, 1, 0, 5000, 2, 1},            // one fifth of 8 is 1.6
        {3, 1, 0, 2000, 2, 1},            // 1.5: ties go to the even neighbour
        {5, 1, 0, 2000, 2, 1},            // 2.5 as well
        {30, 1, 60, 1000, 30, 2},         // below the target: the multiplier rises
        {30, 2, 60, 1000, 60, 2},         // on target: unchanged
        {100, 1, 60, 1000, 100, 0},       // above the target: it falls
        {100, 0, 60, 1000, 1, 1},         // computes 0, rises again, shows 1
        {30, 1, 1, 1000, 30, 1},          // a target of 1 switches steering off
        {10, -1, 0, 1000, 1, -1},         // a negative figure still shows 1
        {INT_MAX, 1000, 0, 1000, 2147484, 1000}, // the product is held to 32 bits
    };
    for (const Case& c : cases) {
        const RateFigure figure = ComputeRateFigure(c.frames, c.force, c.target, c.interval);
        SCOPED_TRACE(testing::Message() << c.frames << " frames, force " << c.force
                                        << ", target " << c.target << ", interval " << c.interval);
        EXPECT_TRUE(figure.computed);
        EXPECT_EQ(figure.shown, c.shown);
        EXPECT_EQ(figure.forceFPS, c.forceAfter);
    }
}

TEST(RateFigure, IntervalThatIsNotPositiveComputesNothing)
{
    for (int interval : {0, -1000}) {
        const RateFigure figure = ComputeRateFigure(50, 3, 60, interval);
        EXPECT_FALSE(figure.computed);
        EXPECT_EQ(figure.forceFPS, 3);
    }
}

TEST(RateFigure, SteeringAboveTheTargetAlternates)
{
    int force = 1;
    const int expected[] = {100, 1, 100, 1};
    for (int shown : expected) {
        const RateFigure figure = ComputeRateFigure(100, force, 60, 1000);
        EXPECT_EQ(figure.shown, shown);
        force = figure.forceFPS;
    }
}

TEST(FrameClock, SmoothsTheElapsedTime)
{
    struct Case {
        int elapsed;
        unsigned start, first, second;
        int elapsedAfter, rate;
    } const cases[] = {
        {0, 1000, 1010, 1010, 5, 10},
        {5, 1000, 1020, 1021, 13, 15},
        {-3, 0, 0, 0, -1, 3},                     // truncation toward zero
        {10, 0xFFFFFFF0u, 0x10, 0x12, 22, 22},    // the tick counter wrapped
        {INT_MAX, 0, 0xFFFFFFFFu, 0xFFFFFFFFu, INT_MAX, INT_MAX}, // held to 32 bits
    };
    for (const Case& c : cases) {
        const FrameClock clock = NextFrameClock(c.elapsed, c.start, c.first, c.second);
        EXPECT_EQ(clock.ElapsedTime, c.elapsedAfter) << c.elapsed << " " << c.first;
        EXPECT_EQ(clock.GetFramesRate, c.rate) << c.elapsed << " " << c.first;
    }
}

TEST(FrameClock, SettlesOneFrameBehindAndMeasuresTwoFrames)
{
    const unsigned start = 5000;
    const int frameTime = 16;
    FrameClock clock{0, 0};
    unsigned now = start;
    for (int i = 0; i < 50; ++i) {
        now += frameTime;
        clock = NextFrameClock(clock.ElapsedTime, start, now, now);
    }
    const int trueElapsed = int(now - start);
    EXPECT_NEAR(clock.ElapsedTime, trueElapsed - frameTime, 1);
    EXPECT_NEAR(clock.GetFramesRate, 2 * frameTime, 2);
}

// ---- the loop in the window

std::string WindowTitle()
{
    char title[256] = {};
    GetWindowTextA(HWindow, title, sizeof title);
    return title;
}

class FrameLoopTest : public testing::Test {
protected:
    static void SetUpTestSuite() { EnsureTestWindow(); }
    void SetUp() override
    {
        frames = 0;
        SetWindowTextA(HWindow, TestSupport::TEST_WINDOW_TITLE);
    }
    static int frames;
};
int FrameLoopTest::frames = 0;

TEST_F(FrameLoopTest, RateTicksAreIgnoredBeforeTheLoopStarts)
{
    ASSERT_FALSE(ViewFPS);
    FPSCount = 42;
    SendMessageA(HWindow, WM_TIMER, FPS_TIMER, 0);
    EXPECT_EQ(FPSCount, 42);
    EXPECT_EQ(WindowTitle(), TestSupport::TEST_WINDOW_TITLE);
    FPSCount = 0;
}

TEST_F(FrameLoopTest, QuitWaitingBeforeTheLoopMeansNoFrame)
{
    PostQuitMessage(0);
    const int before = FPSCount;
    SetGLMsgWithFPS(DCWindow, [] { ++frames; });
    EXPECT_EQ(frames, 0);
    EXPECT_EQ(FPSCount, before);
    EXPECT_TRUE(ViewFPS);
}

TEST_F(FrameLoopTest, HandlesEveryWaitingMessageBeforeTheFirstFrame)
{
    static int mouseXAtFirstFrame;
    static DWORD postedAtFirstFrame;
    mouseXAtFirstFrame = -1;
    for (int x = 1; x <= 20; ++x) PostMessageA(HWindow, WM_MOUSEMOVE, 0, MAKELPARAM(x, 7));
    SetGLMsgWithFPS(DCWindow, [] {
        if (frames++ == 0) {
            mouseXAtFirstFrame = SetOMX;
            postedAtFirstFrame = HIWORD(GetQueueStatus(QS_POSTMESSAGE));
        }
        if (frames == 3) PostQuitMessage(0);
    });
    EXPECT_EQ(mouseXAtFirstFrame, 20); // all twenty, in order
    EXPECT_EQ(postedAtFirstFrame, 0u);
    EXPECT_EQ(frames, 3);
}

TEST_F(FrameLoopTest, CountsOneFramePerCallAndReturnsOnQuit)
{
    FPSCount = 0;
    SetGLMsgWithFPS(DCWindow, [] {
        glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        if (++frames == 10) PostQuitMessage(0);
    });
    EXPECT_EQ(frames, 10);
    EXPECT_EQ(FPSCount, 10);
    MSG left;
    EXPECT_FALSE(PeekMessageA(&left, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(FrameLoopTest, ElapsedTimeFollowsTheClock)
{
    static DWORD started;
    ElapsedTime = 0;
    started = GetTickCount();
    SetGLMsgWithFPS(DCWindow, [] {
        if (GetTickCount() - started >= 300) PostQuitMessage(0);
    });
    const int ran = int(GetTickCount() - started);
    EXPECT_GE(ElapsedTime, 150);
    EXPECT_LE(ElapsedTime, ran);
    EXPECT_GE(GetFramesRate, 0);
}

TEST_F(FrameLoopTest, RateTickShowsTheFigureInTheTitle)
{
    ASSERT_TRUE(ViewFPS); // the loop has run
    ForceFPS = 1;
    AddForceFPS = 0;
    SetNewIntervalFPS(5000);
    EXPECT_EQ(AddIntervalFPS, 5000);
    FPSCount = 8;
    SendMessageA(HWindow, WM_TIMER, FPS_TIMER, 0);
    EXPECT_EQ(WindowTitle(), std::string(TestSupport::TEST_WINDOW_TITLE) + " - FPS [2]");
    EXPECT_EQ(FPSCountStr, "2");
    EXPECT_EQ(FPSCount, 0);

    FPSCount = 9; // another timer's tick is not the rate tick
    SendMessageA(HWindow, WM_TIMER, FPS_TIMER + 1, 0);
    EXPECT_EQ(FPSCount, 9);

    SetNewIntervalFPS(0); // no usable interval: the title stays
    SendMessageA(HWindow, WM_TIMER, FPS_TIMER, 0);
    EXPECT_EQ(WindowTitle(), std::string(TestSupport::TEST_WINDOW_TITLE) + " - FPS [2]");
    EXPECT_EQ(FPSCount, 0);
    SetNewIntervalFPS(FPS_INTERVAL);
}

TEST_F(FrameLoopTest, TimerTicksShowFramesPerSecond)
{
    static DWORD started;
    SetNewIntervalFPS(200);
    SetGLTimer(FPS_TIMER, 200);
    started = GetTickCount();
    SetGLMsgWithFPS(DCWindow, [] {
        Sleep(5);
        const bool shown = WindowTitle().find(" - FPS [") != std::string::npos;
        if (shown || GetTickCount() - started > 5000) PostQuitMessage(0);
    });
    KillTimer(HWindow, FPS_TIMER);
    std::smatch match;
    const std::string title = WindowTitle();
    ASSERT_TRUE(std::regex_match(title, match, std::regex("Tarvik test window - FPS \\[(\\d+)\\]")))
        << title;
    EXPECT_GE(std::stoi(match[1]), 1);
    EXPECT_EQ(FPSCountStr, match[1].str());
    SetNewIntervalFPS(FPS_INTERVAL);
}

} // namespace
