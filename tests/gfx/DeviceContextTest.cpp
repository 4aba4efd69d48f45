#include <gtest/gtest.h>

#include "platform/gfx/Regions.h"
#include "tests/gfx/GfxTestHelpers.h"

namespace ld {
namespace {

using test::At;
using test::TCanvasFixture;

constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF White = RGB(255, 255, 255);

HBRUSH BlackBrush()
{
    return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

TEST(DeviceContext, VisibleRegionAndClipRegionBothLimitDrawing)
{
    TCanvasFixture f(20, 20);
    // As the window layer sets it up: the client area at 5,5, of which the
    // window system lets 5..15 x 5..10 through (surface coordinates).
    SetDCOrigin(f.DC, {5, 5});
    HRGN visible = CreateRectRgn(5, 5, 15, 10);
    SetDCVisibleRegion(f.DC, visible);
    DeleteObject(visible);
    // The application clip is relative to the origin.
    HRGN clip = CreateRectRgn(2, 0, 20, 20);
    EXPECT_EQ(SelectClipRgn(f.DC, clip), SIMPLEREGION);
    DeleteObject(clip); // the DC keeps a copy
    FillRect(f.DC, Rect(-100, -100, 100, 100), BlackBrush());
    EXPECT_EQ(test::CountColor(*f.Surface, Black), 8 * 5);
    EXPECT_EQ(At(*f.Surface, 7, 5), Black);
    EXPECT_EQ(At(*f.Surface, 6, 5), White);
    EXPECT_EQ(At(*f.Surface, 14, 9), Black);
    EXPECT_EQ(At(*f.Surface, 14, 10), White);
    TRect box;
    EXPECT_EQ(GetClipBox(f.DC, box), SIMPLEREGION);
    EXPECT_EQ(box, Rect(2, 0, 10, 5));
    // Lifting the application clip leaves the visible region in force.
    SelectClipRgn(f.DC, nullptr);
    FillRect(f.DC, Rect(-100, -100, 100, 100), BlackBrush());
    EXPECT_EQ(test::CountColor(*f.Surface, Black), 10 * 5);
}

TEST(DeviceContext, IntersectAndExcludeClipRectTakeLogicalCoordinates)
{
    TCanvasFixture f(10, 10);
    SetViewportOrgEx(f.DC, 1, 1, nullptr);
    EXPECT_EQ(IntersectClipRect(f.DC, 0, 0, 4, 4), SIMPLEREGION); // device 1..5
    EXPECT_EQ(ExcludeClipRect(f.DC, 1, 1, 3, 3), COMPLEXREGION);  // device 2..4
    FillRect(f.DC, Rect(-5, -5, 20, 20), BlackBrush());
    EXPECT_EQ(test::BlackOnWhite(*f.Surface, Rect(0, 0, 6, 6)),
              "......\n"
              ".####.\n"
              ".#..#.\n"
              ".#..#.\n"
              ".####.\n"
              "......\n");
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(f.DC, copy), 1);
    EXPECT_TRUE(PtInRegion(copy, 1, 1));
    EXPECT_FALSE(PtInRegion(copy, 2, 2));
    DeleteObject(copy);
    EXPECT_TRUE(PtVisible(f.DC, 0, 0));
    EXPECT_FALSE(PtVisible(f.DC, 1, 1));
    EXPECT_TRUE(RectVisible(f.DC, Rect(1, 1, 3, 4)));
}

TEST(DeviceContext, ExtSelectClipRgnCombinesWithTheCurrentClip)
{
    TCanvasFixture f(10, 10);
    HRGN a = CreateRectRgn(0, 0, 6, 6);
    HRGN b = CreateRectRgn(4, 4, 10, 10);
    SelectClipRgn(f.DC, a);
    EXPECT_EQ(ExtSelectClipRgn(f.DC, b, RGN_AND), SIMPLEREGION);
    FillRect(f.DC, Rect(0, 0, 10, 10), BlackBrush());
    EXPECT_EQ(test::CountColor(*f.Surface, Black), 4);
    EXPECT_EQ(ExtSelectClipRgn(f.DC, a, RGN_OR), SIMPLEREGION);
    EXPECT_EQ(ExtSelectClipRgn(f.DC, nullptr, RGN_AND), RGN_ERROR);
    EXPECT_EQ(ExtSelectClipRgn(f.DC, nullptr, RGN_COPY), SIMPLEREGION);
    DeleteObject(a);
    DeleteObject(b);
}

TEST(DeviceContext, SaveAndRestoreBringBackObjectsColoursAndClip)
{
    TCanvasFixture f(10, 10);
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    const Integer level = SaveDC(f.DC);
    SelectObject(f.DC, red);
    SetTextColor(f.DC, RGB(1, 2, 3));
    IntersectClipRect(f.DC, 0, 0, 1, 1);
    EXPECT_TRUE(RestoreDC(f.DC, level));
    EXPECT_EQ(GetCurrentObject(f.DC, TGdiObjectKind::Pen), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetTextColor(f.DC), Black);
    TRect box;
    GetClipBox(f.DC, box);
    EXPECT_EQ(box, Rect(0, 0, 10, 10));
    EXPECT_FALSE(RestoreDC(f.DC, -1)); // nothing saved any more
    DeleteObject(red);
}

TEST(DeviceContext, DeletingASelectedObjectWaitsUntilItIsDeselected)
{
    TCanvasFixture f(4, 1);
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    SelectObject(f.DC, red);
    EXPECT_TRUE(DeleteObject(red));
    EXPECT_TRUE(IsGdiObject(red));
    MoveToEx(f.DC, 0, 0, nullptr);
    LineTo(f.DC, 4, 0); // still draws, nothing freed under the DC
    EXPECT_EQ(At(*f.Surface, 3, 0), RGB(255, 0, 0));
    EXPECT_EQ(SelectObject(f.DC, GetStockObject(BLACK_PEN)), nullptr); // gone with the swap
    EXPECT_FALSE(IsGdiObject(red));
}

TEST(DeviceContext, MemoryDCDrawsOnTheSelectedBitmap)
{
    HDC mem = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(mem, 3, 2);
    HGDIOBJ old = SelectObject(mem, bitmap);
    ASSERT_NE(old, nullptr);
    FillRect(mem, Rect(0, 0, 3, 2), BlackBrush());
    SetPixel(mem, 2, 1, RGB(9, 8, 7));
    EXPECT_EQ(PixelToColorRef(bitmap->Surface->Pixel(2, 1)), RGB(9, 8, 7));
    EXPECT_EQ(PixelToColorRef(bitmap->Surface->Pixel(0, 0)), Black);
    SelectObject(mem, old);
    DeleteDC(mem);
    EXPECT_TRUE(DeleteObject(bitmap));
}

TEST(DeviceContext, ResetKeepsOriginAndVisibleRegion)
{
    TCanvasFixture f(10, 10);
    SetDCOrigin(f.DC, {3, 3});
    SetBkMode(f.DC, TRANSPARENT);
    IntersectClipRect(f.DC, 0, 0, 1, 1);
    ResetDC(f.DC);
    EXPECT_EQ(GetBkMode(f.DC), OPAQUE);
    EXPECT_EQ(GetDCOrigin(f.DC), Point(3, 3));
    TRect box;
    GetClipBox(f.DC, box);
    EXPECT_EQ(box, Rect(-3, -3, 7, 7));
}

} // namespace
} // namespace ld
