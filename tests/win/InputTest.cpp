// Injected input through the queue: hit testing, the cursor, capture, double
// clicks, focus and keys.
#include <gtest/gtest.h>

#include "tests/win/WinTestSupport.h"

namespace ld::test {
namespace {

class InputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TickSource::UseSimulatedClock(5000);
        PumpUntilIdle();
        Top = MakeWindow(WS_VISIBLE | WS_CLIPCHILDREN, 0, Bounds(100, 100, 200, 200), nullptr);
        Child = MakeWindow(WS_CHILD | WS_VISIBLE, 0, Bounds(50, 50, 40, 40), Top);
        Plain = MakeWindow(WS_CHILD | WS_VISIBLE, 0, Bounds(120, 120, 40, 40), Top, {}, "RecPlain");
        PumpUntilIdle();
        ClearLog();
    }
    void TearDown() override
    {
        ReleaseCapture();
        for (Integer vk : {Integer(VK_MENU), Integer(VK_SHIFT), Integer(VK_CONTROL)})
            if (GetKeyState(vk) < 0)
                InjectKey(vk, false);
        PumpUntilIdle();
        DestroyWindow(Top);
        PumpUntilIdle();
        TickSource::UseMonotonicClock();
    }
    std::vector<TRecord> Of(HWND h, UINT msg)
    {
        std::vector<TRecord> out;
        for (auto& r : Log())
            if (r.Window == h && r.Msg == msg)
                out.push_back(r);
        return out;
    }
    void Click(Integer x, Integer y)
    {
        InjectMouseMove(x, y);
        InjectMouseButton(TPointerButton::Left, true);
        InjectMouseButton(TPointerButton::Left, false);
        PumpUntilIdle();
    }
    HWND Top = nullptr, Child = nullptr, Plain = nullptr;
};

TEST_F(InputTest, MoveHitTestsSetsTheCursorThenMovesInClientCoordinates)
{
    InjectMouseMove(160, 170);
    PumpUntilIdle();
    // Each level is asked on the way down; the child is hit, and its
    // DefWindowProc asks the parent about the cursor first.
    std::vector<std::string> expected = {"WM_NCHITTEST", "WM_NCHITTEST", "WM_SETCURSOR", "WM_SETCURSOR", "WM_MOUSEMOVE"};
    EXPECT_EQ(LogNames(), expected);
    EXPECT_EQ(Log()[0].Window, Top);
    EXPECT_EQ(Log()[1].Window, Child);
    EXPECT_EQ(Log()[2].Window, Child);
    EXPECT_EQ(Log()[3].Window, Top);
    EXPECT_EQ(LoWord(uintptr_t(Log()[2].LParam)), HTCLIENT);
    EXPECT_EQ(HiWord(uintptr_t(Log()[2].LParam)), WM_MOUSEMOVE);
    auto moves = Of(Child, WM_MOUSEMOVE);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(LParamToPoint(moves[0].LParam), Point(10, 20));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
    POINT p;
    GetCursorPos(p);
    EXPECT_EQ(p, Point(160, 170));
}

TEST_F(InputTest, CaptureSendsEverythingToTheCaptorWithoutHitTesting)
{
    InjectMouseMove(160, 170);
    InjectMouseButton(TPointerButton::Left, true);
    PumpUntilIdle();
    SetCapture(Child);
    ClearLog();
    InjectMouseMove(10, 10);
    InjectMouseButton(TPointerButton::Left, false);
    PumpUntilIdle();
    EXPECT_EQ(LogNames(), (std::vector<std::string>{"WM_MOUSEMOVE", "WM_LBUTTONUP"}));
    EXPECT_EQ(LParamToPoint(Log()[0].LParam), Point(10 - 150, 10 - 150));
    EXPECT_EQ(Log()[0].WParam & MK_LBUTTON, MK_LBUTTON);
    EXPECT_EQ(Log()[1].WParam & MK_LBUTTON, 0u);
    ClearLog();
    ReleaseCapture();
    EXPECT_EQ(LogNames(Child), std::vector<std::string>{"WM_CAPTURECHANGED"});
}

TEST_F(InputTest, DisablingTheCaptorSendsCancelMode)
{
    SetCapture(Child);
    ClearLog();
    EnableWindow(Child, false);
    auto names = LogNames(Child);
    ASSERT_GE(names.size(), 2u);
    EXPECT_EQ(names[0], "WM_CANCELMODE");
    EXPECT_EQ(names[1], "WM_CAPTURECHANGED");
    EXPECT_EQ(GetCapture(), nullptr);
    // A disabled child lets clicks fall to nothing under it: the parent gets them.
    ClearLog();
    Click(160, 170);
    EXPECT_TRUE(Of(Child, WM_LBUTTONDOWN).empty());
    EXPECT_EQ(Of(Top, WM_LBUTTONDOWN).size(), 1u);
}

// The wheel goes to the window under the pointer (no cursor set on the
// way), or to the captor wherever the pointer is; DefWindowProc passes an
// unhandled one up to the top-level window, where it ends.
TEST_F(InputTest, TheWheelGoesUnderThePointerAndUnhandledUpTheParents)
{
    InjectMouseMove(160, 170);
    PumpUntilIdle();
    ClearLog();
    InjectKey(VK_SHIFT, true);
    InjectMouseWheel(-WHEEL_DELTA);
    PumpUntilIdle();
    const auto child = Of(Child, WM_MOUSEWHEEL), top = Of(Top, WM_MOUSEWHEEL);
    ASSERT_EQ(child.size(), 1u);
    ASSERT_EQ(top.size(), 1u);
    EXPECT_EQ(GetWheelDeltaWParam(child[0].WParam), -WHEEL_DELTA);
    EXPECT_EQ(GetKeyStateWParam(child[0].WParam), WPARAM(MK_SHIFT));
    EXPECT_EQ(LParamToPoint(child[0].LParam), Point(160, 170));
    EXPECT_EQ(top[0].WParam, child[0].WParam);
    EXPECT_TRUE(Of(Child, WM_SETCURSOR).empty());
    Options(Child).Hook = [](HWND, UINT msg, WPARAM, LPARAM, bool& handled) -> LRESULT {
        handled = msg == WM_MOUSEWHEEL;
        return 0;
    };
    SetCapture(Child);
    ClearLog();
    InjectMouseMove(10, 10);
    InjectMouseWheel(WHEEL_DELTA);
    PumpUntilIdle();
    EXPECT_EQ(Of(Child, WM_MOUSEWHEEL).size(), 1u);
    EXPECT_TRUE(Of(Top, WM_MOUSEWHEEL).empty());
}

TEST_F(InputTest, DoubleClicksOnlyForClassesThatAskForThem)
{
    Click(160, 170);
    TickSource::Advance(100);
    Click(161, 171);
    EXPECT_EQ(Of(Child, WM_LBUTTONDOWN).size(), 1u);
    EXPECT_EQ(Of(Child, WM_LBUTTONDBLCLK).size(), 1u);
    ClearLog();
    Click(230, 230);
    TickSource::Advance(100);
    Click(230, 230);
    EXPECT_EQ(Of(Plain, WM_LBUTTONDOWN).size(), 2u);
    EXPECT_TRUE(Of(Plain, WM_LBUTTONDBLCLK).empty());
    // Too slow is two single clicks.
    ClearLog();
    Click(160, 170);
    TickSource::Advance(600);
    Click(160, 170);
    EXPECT_EQ(Of(Child, WM_LBUTTONDOWN).size(), 2u);
}

TEST_F(InputTest, FocusMovesWithKillThenSet)
{
    SetFocus(Child);
    ClearLog();
    SetFocus(Plain);
    std::vector<std::string> expected = {"WM_KILLFOCUS", "WM_SETFOCUS"};
    EXPECT_EQ(LogNames(), expected);
    EXPECT_EQ(Log()[0].Window, Child);
    EXPECT_EQ(reinterpret_cast<HWND>(Log()[0].WParam), Plain);
    EXPECT_EQ(Log()[1].Window, Plain);
    EXPECT_EQ(reinterpret_cast<HWND>(Log()[1].WParam), Child);
    EXPECT_EQ(GetFocus(), Plain);
}

TEST_F(InputTest, KeysGoToTheFocusAndTranslateToCharacters)
{
    SetFocus(Child);
    ClearLog();
    InjectKey('A', true);
    InjectKey('A', false);
    InjectKey(VK_SHIFT, true);
    InjectKey('B', true);
    InjectKey('B', false);
    InjectKey(VK_SHIFT, false);
    PumpUntilIdle();
    std::vector<WPARAM> chars;
    for (auto& r : Of(Child, WM_CHAR))
        chars.push_back(r.WParam);
    EXPECT_EQ(chars, (std::vector<WPARAM>{'a', 'B'}));
    auto downs = Of(Child, WM_KEYDOWN);
    ASSERT_EQ(downs.size(), 3u);
    EXPECT_EQ(downs[0].WParam, WPARAM('A'));
    EXPECT_EQ(LogNames(Child)[0], "WM_KEYDOWN");
    EXPECT_EQ(LogNames(Child)[1], "WM_CHAR");
}

TEST_F(InputTest, AltMakesSystemKeysAndCharacters)
{
    SetFocus(Child);
    ClearLog();
    InjectKey(VK_MENU, true);
    InjectKey('I', true);
    InjectKey('I', false);
    InjectKey(VK_MENU, false);
    PumpUntilIdle();
    EXPECT_EQ(Of(Child, WM_SYSKEYDOWN).size(), 2u);
    auto chars = Of(Child, WM_SYSCHAR);
    ASSERT_EQ(chars.size(), 1u);
    EXPECT_EQ(chars[0].WParam, WPARAM('i'));
    EXPECT_NE(chars[0].LParam & (LPARAM(1) << 29), 0);
    EXPECT_TRUE(Of(Child, WM_CHAR).empty());
}

TEST_F(InputTest, TransparentWindowsLetThePointThrough)
{
    Options(Plain).Hook = [](HWND, UINT msg, WPARAM, LPARAM, bool& handled) -> LRESULT {
        handled = msg == WM_NCHITTEST;
        return HTTRANSPARENT;
    };
    EXPECT_EQ(WindowFromPoint(Point(230, 230)), Top);
    EXPECT_EQ(WindowFromPoint(Point(160, 170)), Child);
    EXPECT_EQ(WindowFromPoint(Point(5, 5)), nullptr);
}

TEST_F(InputTest, MapWindowPointsBetweenWindows)
{
    POINT p{1, 2};
    MapWindowPoints(Child, Plain, &p, 1);
    EXPECT_EQ(p, Point(1 + 50 - 120, 2 + 50 - 120));
    RECT r = Rect(0, 0, 10, 10);
    MapWindowPoints(Child, nullptr, r);
    EXPECT_EQ(r, Rect(150, 150, 160, 160));
}

} // namespace
} // namespace ld::test
