// The headless screen: screenshots as PNG files, window captures, waiting on
// the simulated clock, typed text as key events.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/backends/HeadlessBackend.h"
#include "platform/gfx/Png.h"
#include "platform/vcl/Forms.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/TickSource.h"
#include "tests/support/TestOutput.h"

namespace ld {
namespace {

std::filesystem::path OutputDir()
{
    return test::TestOutputDir("backends");
}

class HeadlessBackendTest : public ::testing::Test {
protected:
    void SetUp() override { TickSource::UseSimulatedClock(0); }
    void TearDown() override { TickSource::UseMonotonicClock(); }
};

TEST_F(HeadlessBackendTest, ScreenshotsAreThePixelsOfTheScreen)
{
    THeadlessBackend backend(320, 200);
    auto* form = new TForm(nullptr);
    form->SetCaption("Shot");
    form->SetBounds(10, 10, 200, 120);
    form->Show();
    backend.RunUntilIdle();
    auto path = OutputDir() / "screen.png";
    backend.SaveScreenshot(path.string());
    auto read = LoadPngFile(path.string());
    ASSERT_EQ(read->Width(), 320);
    ASSERT_EQ(read->Height(), 200);
    const TSurface& screen = GetScreenSurface();
    for (Integer y = 0; y < 200; y += 7)
        for (Integer x = 0; x < 320; x += 5)
            ASSERT_EQ(read->Pixel(x, y) | 0xFF000000u, screen.Pixel(x, y) | 0xFF000000u) << x << "," << y;
    auto shot = OutputDir() / "window.png";
    backend.SaveWindowShot(form->GetHandle(), shot.string());
    auto win = LoadPngFile(shot.string());
    EXPECT_EQ(win->Width(), 200);
    EXPECT_EQ(win->Height(), 120);
    EXPECT_EQ(win->Pixel(0, 0) | 0xFF000000u, screen.Pixel(10, 10) | 0xFF000000u);
    delete form;
    backend.RunUntilIdle();
}

TEST_F(HeadlessBackendTest, WaitingForATimerMovesTheSimulatedClock)
{
    THeadlessBackend backend;
    backend.RunUntilIdle();
    int ticks = 0;
    uintptr_t id = SetTimer(nullptr, 0, 250, [](HWND, UINT, uintptr_t, DWORD) {});
    MSG msg;
    // GetMessage waits in the backend; on the simulated clock that is a jump
    // to the timer's due time, not a sleep.
    ASSERT_TRUE(GetMessage(msg));
    EXPECT_EQ(msg.message, UINT(WM_TIMER));
    EXPECT_EQ(TickSource::Peek(), 250u);
    ticks += msg.message == WM_TIMER;
    KillTimer(nullptr, id);
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(backend.WaitForInput(INFINITE));
}

TEST_F(HeadlessBackendTest, AdvanceEndsWhenAClockThatStepsOnReadsPassesTheEnd)
{
    THeadlessBackend backend;
    // Every read moves the clock, and a handler reads it many times: the
    // clock passes the end of the advance by itself.
    TickSource::SetStep(1);
    static int fired = 0;
    fired = 0;
    uintptr_t id = SetTimer(nullptr, 0, 10, [](HWND, UINT, uintptr_t, DWORD) {
        ++fired;
        for (int i = 0; i < 8; ++i)
            GetTickCount();
    });
    const DWORD start = TickSource::Peek();
    backend.Advance(250);
    KillTimer(nullptr, id);
    EXPECT_LT(TickSource::Peek() - start, 400u);
    EXPECT_GT(fired, 3);
    EXPECT_LT(fired, 30);
}

TEST_F(HeadlessBackendTest, ScriptedStepsRunOneAtATimeWhenALoopWaits)
{
    THeadlessBackend backend;
    int steps = 0;
    backend.Script([&] { ++steps; });
    backend.Script([&] {
        ++steps;
        PostQuitMessage(0);
    });
    backend.RunUntilIdle();
    MSG msg;
    int guard = 0;
    while (GetMessage(msg) && ++guard < 100)
        DispatchMessage(msg);
    EXPECT_EQ(steps, 2);
    EXPECT_TRUE(backend.ScriptDone());
}

TEST_F(HeadlessBackendTest, TypedTextArrivesAsKeysAndCharacters)
{
    THeadlessBackend backend;
    auto* form = new TForm(nullptr);
    std::string typed;
    form->SetKeyPreview(true);
    form->SetOnKeyPress(TKeyPressEvent::Lambda([&](TObject*, char& c) { typed += c; }));
    form->Show();
    backend.RunUntilIdle();
    backend.Type("Go 42");
    backend.RunUntilIdle();
    EXPECT_EQ(typed, "Go 42");
    delete form;
    backend.RunUntilIdle();
}

} // namespace
} // namespace ld
