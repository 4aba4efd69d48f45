// The window system's own frames, as headless and the virtual desktop have
// them: a click activates and raises a top-level window, its caption moves
// it, its sizing border sizes it within its tracking sizes, its close box
// closes it; and frames left to a host's window manager.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/gfx/Png.h"
#include "tests/win/WinTestSupport.h"

namespace ld::test {
namespace {

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TickSource::UseSimulatedClock(5000);
        PumpUntilIdle();
        TWindowOptions sizable;
        sizable.Fill = RGB(0, 0, 255);
        sizable.Hook = [this](HWND, UINT msg, WPARAM, LPARAM lParam, bool& handled) -> LRESULT {
            if (msg == WM_GETMINMAXINFO && MinTrack.X > 0) {
                reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = MinTrack;
                handled = true;
            }
            return 0;
        };
        Below = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, Bounds(100, 100, 300, 200), nullptr, sizable);
        TWindowOptions fixed;
        fixed.Fill = RGB(0, 160, 0);
        Above = MakeWindow(WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 0, Bounds(250, 150, 200, 120), nullptr, fixed);
        SetActiveWindow(Above);
        PumpUntilIdle();
        ClearLog();
    }
    void TearDown() override
    {
        ReleaseCapture();
        SetHostFrames(false);
        for (HWND h : {Below, Above})
            if (IsWindow(h))
                DestroyWindow(h);
        PumpUntilIdle();
        TickSource::UseMonotonicClock();
    }
    void Press(POINT p)
    {
        InjectMouseMove(p.X, p.Y);
        InjectMouseButton(TPointerButton::Left, true);
        PumpUntilIdle();
    }
    void DragTo(POINT p)
    {
        InjectMouseMove(p.X, p.Y);
        PumpUntilIdle();
    }
    void Release()
    {
        InjectMouseButton(TPointerButton::Left, false);
        PumpUntilIdle();
    }
    RECT WindowRect(HWND h)
    {
        RECT r;
        GetWindowRect(h, r);
        return r;
    }
    size_t Count(HWND h, UINT msg)
    {
        return size_t(std::count_if(Log().begin(), Log().end(), [&](const TRecord& r) { return r.Window == h && r.Msg == msg; }));
    }
    LRESULT HitAt(HWND h, POINT p) { return SendMessage(h, WM_NCHITTEST, 0, PointToLParam(p)); }

    HWND Below = nullptr, Above = nullptr;
    POINT MinTrack{0, 0};
};

TEST_F(FrameTest, AClickActivatesAndRaisesTheCaptionMovesTheBorderSizesWithinTheLimits)
{
    // The parts of a frame: 4 pixels of sizing border, the caption bar
    // below it, the close box at its right end, 16 x 14, 2 pixels in.
    EXPECT_EQ(HitAt(Below, {101, 200}), HTLEFT);
    EXPECT_EQ(HitAt(Below, {399, 299}), HTBOTTOMRIGHT);
    EXPECT_EQ(HitAt(Below, {399, 110}), HTTOPRIGHT);  // a corner reaches as far as the caption is high
    EXPECT_EQ(HitAt(Below, {200, 110}), HTCAPTION);
    EXPECT_EQ(HitAt(Below, {400 - 4 - 2 - 8, 104 + 2 + 7}), HTCLOSE);
    EXPECT_EQ(HitAt(Below, {200, 200}), HTCLIENT);
    InjectMouseMove(101, 200);
    PumpUntilIdle();
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_SIZEWE));

    // A press on the caption of the window below: active and on top at
    // once; then the window follows the pointer, and no mouse message is
    // made on the way.
    Press({150, 110});
    EXPECT_EQ(GetActiveWindow(), Below);
    EXPECT_EQ(GetTopWindow(nullptr), Below);
    ClearLog();
    DragTo({190, 140});
    DragTo({170, 160});
    EXPECT_EQ(WindowRect(Below), Bounds(120, 150, 300, 200));
    EXPECT_EQ(Count(Below, WM_MOUSEMOVE) + Count(Below, WM_NCMOUSEMOVE), 0u);
    EXPECT_GE(Count(Below, WM_MOVE), 2u);
    Release();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(WindowRect(Below), Bounds(120, 150, 300, 200));

    // Escape puts a dragged window back where the drag began.
    Press({150, 160});
    DragTo({400, 400});
    InjectKey(VK_ESCAPE, true);
    InjectKey(VK_ESCAPE, false);
    PumpUntilIdle();
    EXPECT_EQ(WindowRect(Below), Bounds(120, 150, 300, 200));
    Release();

    // The bottom-right corner sizes; the window's own minimum holds, then the system's.
    MinTrack = {200, 120};
    Press({419, 349});
    DragTo({419 - 50, 349 + 20});
    EXPECT_EQ(WindowRect(Below), Bounds(120, 150, 250, 220));
    DragTo({0, 0});
    EXPECT_EQ(WindowRect(Below), Bounds(120, 150, 200, 120));
    Release();
    MinTrack = {0, 0};
    Press({121, 250});
    DragTo({600, 250});
    EXPECT_EQ(WindowRect(Below), Bounds(320 - 112, 150, 112, 120));
    Release();
    RECT client;
    GetClientRect(Below, client);
    EXPECT_EQ(client, Bounds(0, 0, 112 - 8, 120 - 8 - 19));

    // The window that does not size answers its border with HTBORDER.
    EXPECT_EQ(HitAt(Above, {251, 200}), HTBORDER);
}

TEST_F(FrameTest, TheCloseBoxIsDrawnAndAReleaseOnItSendsClose)
{
    const RECT frame = WindowRect(Above);
    const POINT box{frame.Right - 3 - 2 - 8, frame.Top + 3 + 2 + 7};
    const POINT cross{frame.Right - 3 - 2 - 16 + 4, frame.Top + 3 + 2 + 3};  // the cross's top-left pixel
    EXPECT_EQ(ScreenPixel(cross.X, cross.Y), RGB(0, 0, 0));
    EXPECT_EQ(ScreenPixel(cross.X + 2, cross.Y), GetSysColor(COLOR_BTNFACE));
    if (const char* dir = std::getenv("LD_TEST_OUTPUT")) {
        TSurface shot(frame.Width(), frame.Height());
        for (Integer y = 0; y < frame.Height(); ++y)
            for (Integer x = 0; x < frame.Width(); ++x)
                shot.Row(y)[x] = GetScreenSurface().Pixel(frame.Left + x, frame.Top + y);
        std::filesystem::create_directories(dir);
        SavePngFile(std::string(dir) + "/win-frame-close-box.png", shot);
    }

    // Pressed, the box sinks and the cross moves a pixel; away, it rises;
    // a release elsewhere closes nothing.
    Press(box);
    EXPECT_EQ(ScreenPixel(cross.X + 1, cross.Y + 1), RGB(0, 0, 0));
    EXPECT_NE(ScreenPixel(cross.X, cross.Y), RGB(0, 0, 0));
    DragTo({box.X - 40, box.Y});
    EXPECT_EQ(ScreenPixel(cross.X, cross.Y), RGB(0, 0, 0));
    Release();
    EXPECT_EQ(Count(Above, WM_CLOSE), 0u);
    EXPECT_TRUE(IsWindow(Above));

    // Pressed and released on it: WM_SYSCOMMAND SC_CLOSE, then WM_CLOSE,
    // whose default ends the window.
    Press(box);
    Release();
    std::vector<std::string> names;
    for (const TRecord& r : Log())
        if (r.Window == Above && (r.Msg == WM_SYSCOMMAND || r.Msg == WM_CLOSE))
            names.push_back(MessageName(r.Msg) + (r.Msg == WM_SYSCOMMAND && r.WParam == SC_CLOSE ? " SC_CLOSE" : ""));
    EXPECT_EQ(names, (std::vector<std::string>{"WM_SYSCOMMAND SC_CLOSE", "WM_CLOSE"}));
    EXPECT_FALSE(IsWindow(Above));
}

TEST_F(FrameTest, FramesLeftToTheHostAreNeitherDrawnNorHitAndCoverOnlyTheClientArea)
{
    SetHostFrames(true);
    PumpUntilIdle();
    EXPECT_TRUE(HasHostFrame(Above));
    RECT shown, client;
    GetShownRect(Above, shown);
    GetWindowRect(Above, client);
    EXPECT_EQ(shown, (RECT{client.Left + 3, client.Top + 3 + 19, client.Right - 3, client.Bottom - 3}));
    // Where its caption was, the window below shows and takes the pointer.
    const POINT caption{300, 160};
    EXPECT_EQ(ScreenPixel(caption.X, caption.Y), RGB(0, 0, 255));
    EXPECT_EQ(WindowFromPoint(caption), Below);
    // A popup keeps its own frame.
    HWND popup = MakeWindow(WS_POPUP | WS_BORDER | WS_VISIBLE, WS_EX_TOPMOST, Bounds(10, 10, 50, 50), nullptr);
    EXPECT_TRUE(IsPopupWindow(popup));
    EXPECT_FALSE(HasHostFrame(popup));
    GetShownRect(popup, shown);
    EXPECT_EQ(shown, Bounds(10, 10, 50, 50));
    DestroyWindow(popup);
}

} // namespace
} // namespace ld::test
