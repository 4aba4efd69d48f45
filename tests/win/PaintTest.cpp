// The paint cycle, clipping, the non-client frames and scrolling, on the
// pixels of the screen.
#include <gtest/gtest.h>

#include "tests/win/WinTestSupport.h"

namespace ld::test {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

class PaintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PumpUntilIdle();
        ClearLog();
    }
    void TearDown() override
    {
        for (HWND h : Windows)
            if (IsWindow(h))
                DestroyWindow(h);
        PumpUntilIdle();
    }
    HWND Make(DWORD style, DWORD ex, TRect r, HWND parent, COLORREF fill, const char* cls = "Rec")
    {
        TWindowOptions o;
        o.Fill = fill;
        HWND h = MakeWindow(style, ex, r, parent, o, cls);
        if (!parent)
            Windows.push_back(h);
        return h;
    }
    int Count(HWND h, UINT msg)
    {
        int n = 0;
        for (auto& r : Log())
            n += r.Window == h && r.Msg == msg;
        return n;
    }
    std::vector<HWND> Windows;
};

TEST_F(PaintTest, OnlyTheInvalidatedAreaRepaints)
{
    HWND w = Make(WS_VISIBLE, 0, Bounds(100, 100, 60, 40), nullptr, kRed);
    PumpUntilIdle();
    EXPECT_EQ(ScreenPixel(100, 100), kRed);
    Options(w).Fill = kBlue;
    RECT part = Bounds(10, 10, 5, 5);
    InvalidateRect(w, &part, false);
    ClearLog();
    PumpUntilIdle();
    EXPECT_EQ(Count(w, WM_PAINT), 1);
    EXPECT_EQ(ScreenPixel(110, 110), kBlue);
    EXPECT_EQ(ScreenPixel(114, 114), kBlue);
    EXPECT_EQ(ScreenPixel(115, 115), kRed);
    EXPECT_EQ(ScreenPixel(109, 110), kRed);
}

TEST_F(PaintTest, EraseOnlyWhenAsked)
{
    HWND w = Make(WS_VISIBLE, 0, Bounds(0, 0, 20, 20), nullptr, kRed);
    PumpUntilIdle();
    ClearLog();
    InvalidateRect(w, nullptr, false);
    PumpUntilIdle();
    EXPECT_EQ(Count(w, WM_ERASEBKGND), 0);
    EXPECT_EQ(Count(w, WM_PAINT), 1);
    ClearLog();
    InvalidateRect(w, nullptr, true);
    InvalidateRect(w, nullptr, false);
    PumpUntilIdle();
    EXPECT_EQ(Count(w, WM_ERASEBKGND), 1);
    EXPECT_EQ(LogNames(w), (std::vector<std::string>{"WM_PAINT", "WM_ERASEBKGND"}));
}

TEST_F(PaintTest, UpdateWindowPaintsAtOnceAndValidates)
{
    HWND w = Make(WS_VISIBLE, 0, Bounds(0, 0, 20, 20), nullptr, kRed);
    PumpUntilIdle();
    ClearLog();
    InvalidateRect(w, nullptr, false);
    UpdateWindow(w);
    EXPECT_EQ(Count(w, WM_PAINT), 1);
    RECT r;
    EXPECT_FALSE(GetUpdateRect(w, &r, false));
    ClearLog();
    UpdateWindow(w);
    PumpUntilIdle();
    EXPECT_EQ(Count(w, WM_PAINT), 0);
}

TEST_F(PaintTest, ClipChildrenKeepsTheParentOffItsChildren)
{
    HWND parent = Make(WS_VISIBLE | WS_CLIPCHILDREN, 0, Bounds(200, 200, 100, 100), nullptr, kRed);
    HWND child = Make(WS_CHILD | WS_VISIBLE, 0, Bounds(10, 10, 20, 20), parent, kGreen);
    PumpUntilIdle();
    EXPECT_EQ(ScreenPixel(215, 215), kGreen);
    ClearLog();
    InvalidateRect(parent, nullptr, true);
    PumpUntilIdle();
    // The child's area is clipped away and the child is not asked to repaint.
    EXPECT_EQ(Count(child, WM_PAINT), 0);
    EXPECT_EQ(ScreenPixel(215, 215), kGreen);
    EXPECT_EQ(ScreenPixel(205, 205), kRed);
}

TEST_F(PaintTest, WithoutClipChildrenTheChildRepaintsAfterItsParent)
{
    HWND parent = Make(WS_VISIBLE, 0, Bounds(200, 200, 100, 100), nullptr, kRed);
    HWND child = Make(WS_CHILD | WS_VISIBLE, 0, Bounds(10, 10, 20, 20), parent, kGreen);
    PumpUntilIdle();
    ClearLog();
    InvalidateRect(parent, nullptr, false);
    PumpUntilIdle();
    std::vector<HWND> order;
    for (auto& r : Log())
        if (r.Msg == WM_PAINT)
            order.push_back(r.Window);
    EXPECT_EQ(order, (std::vector<HWND>{parent, child}));
    EXPECT_EQ(ScreenPixel(215, 215), kGreen);
}

TEST_F(PaintTest, ClipSiblingsKeepsALowerSiblingUnderTheUpperOne)
{
    HWND parent = Make(WS_VISIBLE | WS_CLIPCHILDREN, 0, Bounds(300, 300, 100, 100), nullptr, kRed);
    HWND lower = Make(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, Bounds(0, 0, 50, 50), parent, kGreen);
    HWND upper = Make(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, Bounds(25, 25, 50, 50), parent, kBlue);
    PumpUntilIdle();
    EXPECT_EQ(GetWindow(upper, GW_HWNDNEXT), lower);
    EXPECT_EQ(ScreenPixel(330, 330), kBlue);
    InvalidateRect(lower, nullptr, false);
    UpdateWindow(lower);
    EXPECT_EQ(ScreenPixel(330, 330), kBlue);
    EXPECT_EQ(ScreenPixel(310, 310), kGreen);
    // Bringing the lower one to the front repaints it over the other.
    BringWindowToTop(lower);
    PumpUntilIdle();
    EXPECT_EQ(ScreenPixel(330, 330), kGreen);
    EXPECT_EQ(ScreenPixel(360, 360), kBlue);
    // Sent to the bottom again, it gives the other back what it covered.
    SetWindowPos(lower, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    PumpUntilIdle();
    EXPECT_EQ(ScreenPixel(330, 330), kBlue);
    EXPECT_EQ(ScreenPixel(310, 310), kGreen);
}

TEST_F(PaintTest, BorderIsOneBlackPixelAndClientEdgeTheSunkenTwo)
{
    HWND bordered = Make(WS_VISIBLE | WS_BORDER, 0, Bounds(0, 300, 40, 30), nullptr, kRed);
    HWND edged = Make(WS_VISIBLE, WS_EX_CLIENTEDGE, Bounds(50, 300, 40, 30), nullptr, kRed);
    PumpUntilIdle();
    RECT c;
    GetClientRect(bordered, c);
    EXPECT_EQ(c, Rect(0, 0, 38, 28));
    GetClientRect(edged, c);
    EXPECT_EQ(c, Rect(0, 0, 36, 26));
    EXPECT_EQ(ScreenPixel(0, 300), RGB(0, 0, 0));
    EXPECT_EQ(ScreenPixel(39, 329), RGB(0, 0, 0));
    EXPECT_EQ(ScreenPixel(1, 301), kRed);
    // Outer ring: shadow at top and left, highlight at bottom and right.
    EXPECT_EQ(ScreenPixel(60, 300), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(ScreenPixel(50, 310), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(ScreenPixel(60, 329), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(ScreenPixel(89, 310), GetSysColor(COLOR_BTNHIGHLIGHT));
    // Inner ring: dark shadow at top and left, light at bottom and right.
    EXPECT_EQ(ScreenPixel(60, 301), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(ScreenPixel(60, 328), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(ScreenPixel(52, 302), kRed);
}

TEST_F(PaintTest, NcCalcSizeDecidesTheClientRectangle)
{
    TWindowOptions o;
    o.Hook = [](HWND, UINT msg, WPARAM, LPARAM l, bool& handled) -> LRESULT {
        if (msg == WM_NCCALCSIZE) {
            auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(l);
            InflateRect(p->rgrc[0], -3, -3);
            handled = true;
        }
        return 0;
    };
    HWND w = MakeWindow(WS_VISIBLE, 0, Bounds(400, 0, 30, 30), nullptr, o);
    Windows.push_back(w);
    RECT c;
    GetClientRect(w, c);
    EXPECT_EQ(c, Rect(0, 0, 24, 24));
    POINT p{0, 0};
    ClientToScreen(w, p);
    EXPECT_EQ(p, Point(403, 3));
}

TEST_F(PaintTest, ResizeWithoutRedrawStylesPaintsOnlyTheNewPart)
{
    HWND w = Make(WS_VISIBLE, 0, Bounds(500, 0, 40, 40), nullptr, kRed, "RecPlain");
    PumpUntilIdle();
    SetWindowPos(w, nullptr, 0, 0, 60, 40, SWP_NOMOVE | SWP_NOZORDER);
    RECT r;
    ASSERT_TRUE(GetUpdateRect(w, &r, false));
    EXPECT_EQ(r, Rect(40, 0, 60, 40));
    PumpUntilIdle();
    HWND h = Make(WS_VISIBLE, 0, Bounds(600, 0, 40, 40), nullptr, kRed, "RecRedraw");
    PumpUntilIdle();
    SetWindowPos(h, nullptr, 0, 0, 60, 40, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_TRUE(GetUpdateRect(h, &r, false));
    EXPECT_EQ(r, Rect(0, 0, 60, 40));
}

TEST_F(PaintTest, HidingExposesTheParentAndMovesFocusAway)
{
    HWND parent = Make(WS_VISIBLE | WS_CLIPCHILDREN, 0, Bounds(0, 400, 100, 100), nullptr, kRed);
    HWND child = Make(WS_CHILD | WS_VISIBLE, 0, Bounds(10, 10, 20, 20), parent, kGreen);
    PumpUntilIdle();
    SetFocus(child);
    ShowWindow(child, SW_HIDE);
    EXPECT_EQ(GetFocus(), parent);
    PumpUntilIdle();
    EXPECT_EQ(ScreenPixel(15, 415), kRed);
}

TEST_F(PaintTest, ScrollWindowExMovesPixelsAndInvalidatesTheUncoveredStrip)
{
    HWND w = Make(WS_VISIBLE, 0, Bounds(700, 0, 40, 40), nullptr, kRed);
    PumpUntilIdle();
    // Draw a marker row at y = 5 to see it move.
    HDC dc = GetDC(w);
    HBRUSH b = CreateSolidBrush(kBlue);
    FillRect(dc, Rect(0, 5, 40, 6), b);
    DeleteObject(b);
    ReleaseDC(w, dc);
    HRGN upd = CreateRectRgn(0, 0, 0, 0);
    ClearLog();
    Integer kind = ScrollWindowEx(w, 0, 3, nullptr, nullptr, upd, nullptr, SW_INVALIDATE | SW_ERASE);
    EXPECT_EQ(kind, SIMPLEREGION);
    TRect box;
    GetRgnBox(upd, box);
    EXPECT_EQ(box, Rect(0, 0, 40, 3));
    EXPECT_EQ(ScreenPixel(710, 8), kBlue);
    EXPECT_EQ(ScreenPixel(710, 5), kRed);
    RedrawWindow(w, nullptr, upd, RDW_ERASENOW | RDW_NOINTERNALPAINT);
    EXPECT_EQ(Count(w, WM_ERASEBKGND), 1);
    EXPECT_EQ(Count(w, WM_PAINT), 0);
    DeleteObject(upd);
    RECT r;
    ASSERT_TRUE(GetUpdateRect(w, &r, false));
    EXPECT_EQ(r, Rect(0, 0, 40, 3));
}

TEST_F(PaintTest, SetRedrawOffHidesWithoutRepaintAndOnNeedsAnInvalidate)
{
    HWND w = Make(WS_VISIBLE, 0, Bounds(800, 0, 20, 20), nullptr, kRed);
    PumpUntilIdle();
    SendMessage(w, WM_SETREDRAW, 0, 0);
    EXPECT_FALSE(IsWindowVisible(w));
    ClearLog();
    InvalidateRect(w, nullptr, false);
    PumpUntilIdle();
    EXPECT_EQ(Count(w, WM_PAINT), 0);
    SendMessage(w, WM_SETREDRAW, 1, 0);
    PumpUntilIdle();
    EXPECT_EQ(Count(w, WM_PAINT), 1);  // the invalidation made while off is still there
}

TEST_F(PaintTest, ParentClipDCDrawsOverTheChildren)
{
    HWND parent = Make(WS_VISIBLE | WS_CLIPCHILDREN, 0, Bounds(0, 600, 100, 100), nullptr, kRed);
    HWND child = Make(WS_CHILD | WS_VISIBLE, 0, Bounds(10, 10, 20, 20), parent, kGreen);
    PumpUntilIdle();
    HBRUSH b = CreateSolidBrush(kBlue);
    HDC normal = GetDC(parent);
    FillRect(normal, Rect(0, 0, 100, 100), b);
    ReleaseDC(parent, normal);
    EXPECT_EQ(ScreenPixel(15, 615), kGreen);
    HDC dc = GetDCEx(parent, nullptr, DCX_PARENTCLIP);
    FillRect(dc, Rect(0, 0, 100, 100), b);
    ReleaseDC(parent, dc);
    DeleteObject(b);
    EXPECT_EQ(ScreenPixel(15, 615), kBlue);
    (void)child;
}

} // namespace
} // namespace ld::test
