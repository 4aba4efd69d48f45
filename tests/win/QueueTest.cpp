// The queue's order, timers on the simulated clock, and the tick source.
#include <gtest/gtest.h>

#include "platform/core/SysUtils.h"
#include "tests/win/WinTestSupport.h"

namespace ld::test {
namespace {

class QueueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TickSource::UseSimulatedClock(1000);
        PumpUntilIdle();
        ClearLog();
    }
    void TearDown() override
    {
        if (IsWindow(Window))
            DestroyWindow(Window);
        PumpUntilIdle();
        TickSource::UseMonotonicClock();
    }
    HWND Window = nullptr;
};

std::vector<std::string> Taken(HWND w)
{
    std::vector<std::string> names;
    MSG msg;
    while (PeekMessage(msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.hwnd == w)
            names.push_back(MessageName(msg.message));
        DispatchMessage(msg);
    }
    return names;
}

TEST_F(QueueTest, PostedThenInputThenPaintThenTimers)
{
    Window = MakeWindow(WS_VISIBLE, 0, Bounds(10, 10, 50, 50), nullptr);
    PumpUntilIdle();
    SetTimer(Window, 1, 10);
    TickSource::Advance(20);
    InvalidateRect(Window, nullptr, false);
    InjectMouseMove(20, 20);
    PostMessage(Window, WM_USER + 1, 0, 0);
    PostMessage(Window, WM_USER + 2, 0, 0);
    auto names = Taken(Window);
    std::vector<std::string> expected = {"WM_USER+1", "WM_USER+2", "WM_MOUSEMOVE", "WM_PAINT", "WM_TIMER"};
    EXPECT_EQ(names, expected);
    KillTimer(Window, 1);
}

TEST_F(QueueTest, SentMessagesRunAtOnceAndDeadWindowsGetNothing)
{
    Window = MakeWindow(0, 0, Bounds(0, 0, 10, 10), nullptr);
    ClearLog();
    SendMessage(Window, WM_USER + 5, 1, 2);
    ASSERT_EQ(Log().size(), 1u);
    EXPECT_EQ(Log()[0].WParam, 1u);
    PostMessage(Window, WM_USER + 6, 0, 0);
    HWND dead = Window;
    DestroyWindow(Window);
    ClearLog();
    PumpUntilIdle();
    EXPECT_TRUE(LogNames(dead).empty());
    EXPECT_EQ(SendMessage(dead, WM_USER, 0, 0), 0);
    EXPECT_FALSE(PostMessage(dead, WM_USER, 0, 0));
}

// Only the exact message, window and lParam are taken back; the rest keep
// their order.
TEST_F(QueueTest, TakingBackPostedMessages)
{
    Window = MakeWindow(0, 0, Bounds(0, 0, 10, 10), nullptr);
    HWND other = MakeWindow(0, 0, Bounds(0, 0, 10, 10), nullptr);
    PostMessage(Window, WM_USER + 1, 0, 7);
    PostMessage(Window, WM_USER + 2, 0, 8);
    PostMessage(Window, WM_USER + 1, 1, 8);
    PostMessage(other, WM_USER + 1, 0, 8);
    PostMessage(Window, WM_USER + 3, 0, 8);
    PostMessage(Window, WM_USER + 1, 0, 8);
    RemovePostedMessages(Window, WM_USER + 1, 8);
    std::vector<std::pair<std::string, LPARAM>> left;
    MSG msg;
    while (PeekMessage(msg, nullptr, WM_USER, WM_USER + 3, PM_REMOVE))
        left.emplace_back(MessageName(msg.message) + (msg.hwnd == other ? " other" : ""), msg.lParam);
    const std::vector<std::pair<std::string, LPARAM>> expected = {
        {"WM_USER+1", 7}, {"WM_USER+2", 8}, {"WM_USER+1 other", 8}, {"WM_USER+3", 8}};
    EXPECT_EQ(left, expected);
    DestroyWindow(other);
}

TEST_F(QueueTest, TimersFireInDueOrderAndRestartTheirPeriod)
{
    Window = MakeWindow(0, 0, Bounds(0, 0, 10, 10), nullptr);
    SetTimer(Window, 1, 150);
    SetTimer(Window, 2, 100);
    SetTimer(Window, 3, 120);
    TickSource::Advance(200);
    ClearLog();
    PumpUntilIdle();
    std::vector<uintptr_t> ids;
    for (auto& r : Log())
        if (r.Msg == WM_TIMER)
            ids.push_back(r.WParam);
    // All three are due; the most overdue comes first, and each fires once.
    EXPECT_EQ(ids, (std::vector<uintptr_t>{2, 3, 1}));
    ClearLog();
    TickSource::Advance(99);
    PumpUntilIdle();
    EXPECT_TRUE(LogNames(Window).empty());
    TickSource::Advance(1);
    PumpUntilIdle();
    ASSERT_EQ(LogNames(Window), std::vector<std::string>{"WM_TIMER"});
    EXPECT_EQ(Log()[0].WParam, 2u);
}

TEST_F(QueueTest, SettingATimerAgainRestartsItAndKillStopsIt)
{
    Window = MakeWindow(0, 0, Bounds(0, 0, 10, 10), nullptr);
    ClearLog();
    SetTimer(Window, 7, 100);
    TickSource::Advance(90);
    SetTimer(Window, 7, 100);
    TickSource::Advance(90);
    PumpUntilIdle();
    EXPECT_TRUE(LogNames(Window).empty());
    EXPECT_EQ(NextTimerDelay(), 10u);
    EXPECT_TRUE(KillTimer(Window, 7));
    EXPECT_FALSE(KillTimer(Window, 7));
    EXPECT_EQ(NextTimerDelay(), INFINITE);
}

TEST_F(QueueTest, ShortIntervalsAreClampedToTheSystemMinimum)
{
    Window = MakeWindow(0, 0, Bounds(0, 0, 10, 10), nullptr);
    SetTimer(Window, 1, 1);
    EXPECT_EQ(NextTimerDelay(), 10u);
    KillTimer(Window, 1);
}

TEST_F(QueueTest, TimersSurviveTheWrapOfTheTickCount)
{
    TickSource::SetTicks(0xFFFFFFF0u);
    Window = MakeWindow(0, 0, Bounds(0, 0, 10, 10), nullptr);
    ClearLog();
    SetTimer(Window, 1, 100);
    TickSource::Advance(50);  // now 0x22, past the wrap
    PumpUntilIdle();
    EXPECT_TRUE(LogNames(Window).empty());
    EXPECT_EQ(NextTimerDelay(), 50u);
    TickSource::Advance(50);
    PumpUntilIdle();
    EXPECT_EQ(LogNames(Window), std::vector<std::string>{"WM_TIMER"});
    KillTimer(Window, 1);
}

TEST_F(QueueTest, DestroyingAWindowKillsItsTimers)
{
    Window = MakeWindow(0, 0, Bounds(0, 0, 10, 10), nullptr);
    SetTimer(Window, 1, 100);
    DestroyWindow(Window);
    EXPECT_EQ(NextTimerDelay(), INFINITE);
}


int gThreadTicks = 0;
void ThreadTimerProc(HWND hwnd, UINT msg, uintptr_t, DWORD) { gThreadTicks += (hwnd == nullptr && msg == WM_TIMER); }

TEST_F(QueueTest, ThreadTimersCallTheirProcedure)
{
    uintptr_t id = SetTimer(nullptr, 0, 20, ThreadTimerProc);
    EXPECT_NE(id, 0u);
    gThreadTicks = 0;
    TickSource::Advance(20);
    PumpUntilIdle();
    TickSource::Advance(20);
    PumpUntilIdle();
    EXPECT_EQ(gThreadTicks, 2);
    KillTimer(nullptr, id);
}

TEST(TickSourceTest, SimulatedClockSteppedAtEveryRead)
{
    TickSource::UseSimulatedClock(100, 5);
    EXPECT_EQ(GetTickCount(), 105u);
    EXPECT_EQ(GetTickCount(), 110u);
    EXPECT_EQ(TickSource::Peek(), 110u);
    EXPECT_EQ(TickSource::ReadCount(), 2u);
    TickSource::SetStep(0);
    TickSource::Advance(40);
    EXPECT_EQ(GetTickCount(), 150u);
    TickSource::SetTicks(0xFFFFFFFFu);
    TickSource::SetStep(1);
    EXPECT_EQ(GetTickCount(), 0u);
    EXPECT_TRUE(TickAfter(0u, 0xFFFFFFFFu));
    TickSource::UseMonotonicClock();
    EXPECT_FALSE(TickSource::IsSimulated());
}

TEST(QueueWaitTest, WaitingWithNoInputSourceAndNoTimerIsAnError)
{
    SetBackend(nullptr);
    PumpUntilIdle();
    MSG msg;
    EXPECT_THROW(GetMessage(msg), EInvalidOperation);
}

TEST(QueueQuitTest, QuitComesAfterPostedMessages)
{
    PumpUntilIdle();
    PostQuitMessage(3);
    PostMessage(nullptr, WM_USER + 9, 0, 0);
    MSG msg;
    ASSERT_TRUE(GetMessage(msg));
    EXPECT_EQ(msg.message, WM_USER + 9u);
    EXPECT_FALSE(GetMessage(msg));
    EXPECT_EQ(msg.wParam, 3u);
}

} // namespace
} // namespace ld::test
