// Painting, read back from the headless screen: each tab painter's strokes,
// the painter choice, navy hot text, the background region, and the window
// styles and flat-mode frames of the bar and its sheets.
#include "tests/bar/BarTestSupport.h"

#include "platform/gfx/Colors.h"

namespace ld::test {
namespace {

// Tab colour $808080 derives highlight $C0C0C0, shadow $404040, light $A0A0A0.
constexpr COLORREF Face = 0x808080, Highlight = 0xC0C0C0, Shadow = 0x404040, Light = 0xA0A0A0,
                   Black = 0x000000, Background = 0xFF00FF;

class BarPaintTest : public BarTest {
protected:
    TLaunchdeck* PaintedBar(TShortcutOptions options)
    {
        TLaunchdeck* bar = AddBar(3);
        bar->SetOptions(options);
        bar->SetBorderStyle(bsNone);
        bar->SetTabColor(0x00808080);
        bar->SetColor(TColor(Background));
        // Captions out of the way of the edge pixels the tests read.
        for (Integer i = 0; i < 3; ++i)
            bar->GetSheet(i)->SetCaption("x");
        SetClient(bar, 84, 300);
        Backend->RunUntilIdle();
        return bar; // the last sheet is open: tabs at 0, 18 or 19, 36 or 38
    }
    void Shot(TLaunchdeck* bar, const std::string& name)
    {
        Backend->SaveWindowShot(bar->GetHandle(), OutputPath(name));
    }
    static bool HasColour(TControl* c, const TRect& area, COLORREF colour)
    {
        for (Integer y = area.Top; y < area.Bottom; ++y)
            for (Integer x = area.Left; x < area.Right; ++x)
                if (Pixel(c, x, y) == colour)
                    return true;
        return false;
    }
};

TEST_F(BarPaintTest, FlatTabsHaveAHighlightLeftAndTopAndATwoPixelShadowBottom)
{
    TLaunchdeck* bar = PaintedBar({soFlatTabs});
    EXPECT_EQ(bar->GetShadowColor(), TColor(0x02404040));
    EXPECT_EQ(Pixel(bar, 0, 0), Highlight);
    EXPECT_EQ(Pixel(bar, 82, 0), Highlight);
    EXPECT_EQ(Pixel(bar, 83, 0), Shadow);
    EXPECT_EQ(Pixel(bar, 0, 15), Highlight);
    EXPECT_EQ(Pixel(bar, 0, 16), Shadow);
    EXPECT_EQ(Pixel(bar, 40, 16), Shadow);
    EXPECT_EQ(Pixel(bar, 40, 17), Shadow);
    EXPECT_EQ(Pixel(bar, 83, 10), Shadow);
    EXPECT_EQ(Pixel(bar, 1, 8), Face);
    EXPECT_EQ(Pixel(bar, 0, 18), Highlight); // no gap: the next tab starts at once
    Shot(bar, "bar_flat.png");
}

TEST_F(BarPaintTest, The3DStyleHasABlackRightAndBottomEdgeWithAShadowInside)
{
    TLaunchdeck* bar = PaintedBar({});
    EXPECT_EQ(Pixel(bar, 0, 0), Highlight);
    EXPECT_EQ(Pixel(bar, 81, 0), Highlight);
    EXPECT_EQ(Pixel(bar, 82, 0), Shadow);
    EXPECT_EQ(Pixel(bar, 83, 0), Black);
    EXPECT_EQ(Pixel(bar, 0, 15), Highlight);
    EXPECT_EQ(Pixel(bar, 0, 16), Shadow);
    EXPECT_EQ(Pixel(bar, 0, 17), Black);
    EXPECT_EQ(Pixel(bar, 82, 10), Shadow);
    EXPECT_EQ(Pixel(bar, 83, 10), Black);
    EXPECT_EQ(Pixel(bar, 40, 18), Background); // the gap row
    EXPECT_EQ(Pixel(bar, 0, 19), Highlight);
    Shot(bar, "bar_3d.png");
}

TEST_F(BarPaintTest, TheHotTabIsRaisedAndThePressedOneSunk)
{
    TLaunchdeck* bar = PaintedBar({soFlatTabs, soButtonTabs});
    bar->SetActiveGroup(0);
    EXPECT_EQ(Pixel(bar, 0, 0), Highlight);
    EXPECT_EQ(Pixel(bar, 82, 0), Highlight);
    EXPECT_EQ(Pixel(bar, 83, 0), Black);
    EXPECT_EQ(Pixel(bar, 0, 16), Highlight);
    EXPECT_EQ(Pixel(bar, 0, 17), Black);
    EXPECT_EQ(Pixel(bar, 1, 16), Shadow);
    EXPECT_EQ(Pixel(bar, 82, 1), Shadow);
    EXPECT_EQ(Pixel(bar, 1, 1), Light);
    EXPECT_EQ(Pixel(bar, 80, 1), Light);
    EXPECT_EQ(Pixel(bar, 81, 1), Light);
    EXPECT_EQ(Pixel(bar, 2, 2), Face);
    EXPECT_EQ(Pixel(bar, 1, 15), Light);
    EXPECT_EQ(Pixel(bar, 0, 18), Highlight); // tab 1 still flat
    EXPECT_EQ(Pixel(bar, 0, 34), Shadow);
    Shot(bar, "bar_raised.png");

    bar->SetDownIndex(0);
    EXPECT_EQ(Pixel(bar, 0, 0), Black);
    EXPECT_EQ(Pixel(bar, 82, 0), Black);
    EXPECT_EQ(Pixel(bar, 83, 0), Highlight);
    EXPECT_EQ(Pixel(bar, 0, 16), Black);
    EXPECT_EQ(Pixel(bar, 0, 17), Highlight);
    EXPECT_EQ(Pixel(bar, 1, 16), Light);
    EXPECT_EQ(Pixel(bar, 82, 1), Light);
    EXPECT_EQ(Pixel(bar, 1, 1), Shadow);
    EXPECT_EQ(Pixel(bar, 80, 1), Shadow);
    Shot(bar, "bar_pressed.png");

    // Pressed but no longer under the pointer: back to flat.
    bar->SetActiveGroup(-1);
    bar->SetDownIndex(-1);
    Repaint(bar);
    EXPECT_EQ(Pixel(bar, 0, 0), Highlight);
    EXPECT_EQ(Pixel(bar, 83, 0), Shadow);
}

TEST_F(BarPaintTest, HotTextIsNavyOnlyWhileNoTabIsPressed)
{
    TLaunchdeck* bar = PaintedBar({soHotTabs});
    bar->GetSheet(0)->SetCaption("MMMM");
    const TRect tab0 = bar->GetGroupRect(0);
    EXPECT_FALSE(HasColour(bar, tab0, 0x800000));
    bar->SetActiveGroup(0);
    EXPECT_TRUE(HasColour(bar, tab0, 0x800000));
    EXPECT_EQ(Pixel(bar, 83, 0), Black); // the idle 3D style stays
    Shot(bar, "bar_hottext.png");
    bar->SetDownIndex(1);
    Repaint(bar);
    EXPECT_FALSE(HasColour(bar, tab0, 0x800000));
}

TEST_F(BarPaintTest, ACaptionChangeRepaintsItsTabAtOnce)
{
    TLaunchdeck* bar = PaintedBar({soFlatTabs});
    // Where the wide caption reaches but the short one does not.
    TRect left = bar->GetGroupRect(1);
    left.Left = 10;
    left.Right = 25;
    EXPECT_FALSE(HasColour(bar, left, Black));
    bar->GetSheet(1)->SetCaption("MMMMMMMM");
    EXPECT_TRUE(HasColour(bar, left, Black)); // no message loop turn needed
}

TEST_F(BarPaintTest, APaintCoversEveryPixelOutsideTheSheetAndNoTabTwice)
{
    TLaunchdeck* bar = PaintedBar({});
    bar->SetActiveSheet(bar->GetSheet(1));
    Backend->RunUntilIdle();
    const TRect sheet = bar->GetSheet(1)->GetBoundsRect();
    // Paint over the bar's client area with a colour nothing draws, then let
    // the bar repaint without an erase.
    const TPoint origin = bar->ClientToScreen({0, 0});
    for (Integer y = 0; y < 300; ++y)
        for (Integer x = 0; x < 84; ++x)
            GetScreenSurface().SetPixel(origin.X + x, origin.Y + y, 0xFF123456);
    InvalidateRect(bar->GetHandle(), nullptr, false);
    UpdateWindow(bar->GetHandle());
    for (Integer y = 0; y < 300; ++y) {
        if (y >= sheet.Top && y < sheet.Bottom)
            continue;
        for (Integer x = 0; x < 84; ++x)
            ASSERT_NE(Pixel(bar, x, y), COLORREF(0x563412)) << x << "," << y;
    }
    // The region leaves the tabs alone: their faces are not background.
    EXPECT_EQ(Pixel(bar, 2, 3), Face);
    EXPECT_EQ(Pixel(bar, 2, 285), Face);
    EXPECT_EQ(Pixel(bar, 2, 18), Background);
}

// A hot-tab change repaints only the two tabs concerned; what it leaves on the
// screen must be exactly what a paint of the whole bar in that state shows:
// tabs, the gap rows between them and the background below the last one.
TEST_F(BarPaintTest, RepaintingOneTabLeavesWhatAFullPaintWouldShow)
{
    for (const TShortcutOptions options :
         {TShortcutOptions{soHotTabs}, TShortcutOptions{soButtonTabs, soHotTabs},
          TShortcutOptions{soFlatTabs, soButtonTabs, soHotTabs}}) {
        TLaunchdeck* bar = AddBar(6);
        bar->SetOptions(options);
        bar->SetBorderStyle(bsNone);
        bar->SetColor(TColor(Background));
        bar->SetMinSheetHeight(200); // the tabs below the sheet run past the bottom
        SetClient(bar, 84, 260);
        bar->SetActiveSheet(bar->GetSheet(2));
        Backend->RunUntilIdle();
        auto screen = [&] {
            std::vector<COLORREF> pixels;
            for (Integer y = 0; y < 260; ++y)
                for (Integer x = 0; x < 84; ++x)
                    pixels.push_back(Pixel(bar, x, y));
            return pixels;
        };
        for (const Integer hot : {0, 1, 3, -1, 4, 2}) {
            bar->SetActiveGroup(hot);
            const std::vector<COLORREF> partial = screen();
            Repaint(bar);
            ASSERT_EQ(partial, screen()) << "hot tab " << hot;
        }
        delete bar;
    }
}

TEST_F(BarPaintTest, ABarWithEverySheetHiddenShowsOnlyItsColour)
{
    TLaunchdeck* bar = PaintedBar({});
    for (Integer i = 0; i < 3; ++i)
        bar->GetSheet(i)->SetVisible(false);
    Backend->RunUntilIdle();
    for (Integer y = 0; y < 300; y += 7)
        for (Integer x = 0; x < 84; x += 5)
            ASSERT_EQ(Pixel(bar, x, y), Background) << x << "," << y;
}

TEST_F(BarPaintTest, FlatTabsReplaceTheBorderWithAPaintedSunkenFrame)
{
    TLaunchdeck* bar = AddBar(2);
    bar->SetAlign(alNone);
    bar->SetBounds(10, 10, 84, 200);
    bar->SetOptions({soButtonTabs});
    Backend->RunUntilIdle();
    const DWORD edged = DWORD(GetWindowLongPtr(bar->GetHandle(), GWL_EXSTYLE));
    EXPECT_TRUE(edged & WS_EX_CLIENTEDGE);
    EXPECT_EQ(bar->GetClientWidth(), 84 - 4);
    const DWORD style = DWORD(GetWindowLongPtr(bar->GetHandle(), GWL_STYLE));
    EXPECT_TRUE(style & WS_CLIPCHILDREN);
    EXPECT_FALSE(GetClassStyle(bar->GetHandle()) & (CS_HREDRAW | CS_VREDRAW));

    bar->SetBorderStyle(bsNone);
    bar->SetOptions({soFlatTabs});
    Backend->RunUntilIdle();
    EXPECT_FALSE(DWORD(GetWindowLongPtr(bar->GetHandle(), GWL_EXSTYLE)) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(bar->GetClientWidth(), 84 - 2);
    EXPECT_EQ(bar->GetClientHeight(), 200 - 2);
    RECT w;
    GetWindowRect(bar->GetHandle(), w);
    auto screen = [](Integer x, Integer y) { return PixelToColorRef(GetScreenSurface().Pixel(x, y)); };
    EXPECT_EQ(screen(w.Left, w.Top + 50), 0x808080u);
    EXPECT_EQ(screen(w.Left + 40, w.Top), 0x808080u);
    EXPECT_EQ(screen(w.Right - 1, w.Top + 50), 0xFFFFFFu);
    EXPECT_EQ(screen(w.Left + 40, w.Bottom - 1), 0xFFFFFFu);

    // The open sheet gets a black line along its left and top edges.
    TShortcutSheet* sheet = bar->GetActiveSheet();
    RECT s;
    GetWindowRect(sheet->GetHandle(), s);
    EXPECT_EQ(sheet->GetClientWidth(), sheet->GetWidth() - 1);
    EXPECT_EQ(sheet->GetClientHeight(), sheet->GetHeight() - 1);
    EXPECT_EQ(screen(s.Left, s.Top + 20), 0x000000u);
    EXPECT_EQ(screen(s.Left + 30, s.Top), 0x000000u);
    Backend->SaveScreenshot(OutputPath("bar_frames.png"));
}

} // namespace
} // namespace ld::test
