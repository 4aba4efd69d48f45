#include <gtest/gtest.h>

#include "platform/gfx/Blit.h"
#include "platform/gfx/Regions.h"
#include "tests/gfx/GfxTestHelpers.h"

namespace ld {
namespace {

using test::At;
using test::TCanvasFixture;

// Each row y of the surface holds colour RGB(y, 0, 0), so a moved row shows
// where it came from.
void PaintRows(TSurface& s)
{
    for (Integer y = 0; y < s.Height(); ++y)
        for (Integer x = 0; x < s.Width(); ++x)
            s.SetPixel(x, y, ColorRefToPixel(RGB(Byte(y), Byte(x), 0)));
}

Byte RowOf(const TSurface& s, Integer x, Integer y)
{
    return GetRValue(At(s, x, y));
}

TEST(BitBlt, CopiesThroughTheDestinationClipOnly)
{
    TCanvasFixture src(4, 4, 0xFF000000u);
    TCanvasFixture dst(6, 6);
    IntersectClipRect(dst.DC, 0, 0, 3, 6);
    EXPECT_TRUE(BitBlt(dst.DC, 1, 1, 4, 4, src.DC, 0, 0, SRCCOPY));
    EXPECT_EQ(test::BlackOnWhite(*dst.Surface, dst.Surface->Bounds()),
              "......\n"
              ".##...\n"
              ".##...\n"
              ".##...\n"
              ".##...\n"
              "......\n");
    // Source pixels beyond the source surface are not copied.
    TCanvasFixture dst2(6, 6);
    BitBlt(dst2.DC, 0, 0, 6, 6, src.DC, 2, 2, SRCCOPY);
    EXPECT_EQ(test::CountColor(*dst2.Surface, RGB(0, 0, 0)), 4);
    EXPECT_FALSE(BitBlt(dst2.DC, 0, 0, 1, 1, src.DC, 0, 0, 0x00BB0226));
}

TEST(BitBlt, OverlappingCopyWithinOneSurfaceReadsTheOldPixels)
{
    TCanvasFixture f(8, 8);
    PaintRows(*f.Surface);
    BitBlt(f.DC, 1, 2, 6, 5, f.DC, 0, 0, SRCCOPY);
    for (Integer y = 2; y < 7; ++y)
        for (Integer x = 1; x < 7; ++x) {
            EXPECT_EQ(RowOf(*f.Surface, x, y), y - 2);
            EXPECT_EQ(GetGValue(At(*f.Surface, x, y)), x - 1);
        }
    // A complex clip takes the buffered path; the result must be the same.
    TCanvasFixture g(8, 8);
    PaintRows(*g.Surface);
    ExcludeClipRect(g.DC, 3, 3, 4, 4);
    BitBlt(g.DC, 1, 2, 6, 5, g.DC, 0, 0, SRCCOPY);
    for (Integer y = 2; y < 7; ++y)
        for (Integer x = 1; x < 7; ++x) {
            if (x != 3 || y != 3) {
                EXPECT_EQ(GetGValue(At(*g.Surface, x, y)) * 1000 + RowOf(*g.Surface, x, y), (x - 1) * 1000 + y - 2);
            }
        }
    EXPECT_EQ(RowOf(*g.Surface, 3, 3), 3); // excluded pixel kept
}

TEST(BitBlt, StretchAndAlphaBlend)
{
    TCanvasFixture src(2, 1, 0xFF000000u);
    src.Surface->SetPixel(1, 0, 0x80FFFFFFu); // half-transparent white
    TCanvasFixture dst(4, 2, 0xFF000000u);
    StretchBlt(dst.DC, 0, 0, 4, 2, src.DC, 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(At(*dst.Surface, 1, 1), RGB(0, 0, 0));
    EXPECT_EQ(At(*dst.Surface, 2, 1), RGB(255, 255, 255));
    TCanvasFixture over(2, 1, 0xFF000000u);
    BLENDFUNCTION blend;
    blend.AlphaFormat = AC_SRC_ALPHA;
    AlphaBlend(over.DC, 0, 0, 2, 1, src.DC, 0, 0, 2, 1, blend);
    EXPECT_EQ(At(*over.Surface, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(At(*over.Surface, 1, 0), RGB(128, 128, 128));
}

// The bar's roll down: the band S moves down by a step, the clip stops the
// band at its first extent, the strip at the top is reported uncovered.
TEST(ScrollDC, DownInsideAClipRectangleReportsTheStripLeftBehind)
{
    TCanvasFixture f(10, 40);
    PaintRows(*f.Surface);
    const TRect scroll = Rect(0, 10, 10, 30);
    const TRect clip = scroll;
    HRGN update = CreateRectRgn(0, 0, 10, 40);
    TRect updateRect;
    ASSERT_TRUE(ScrollDC(f.DC, 0, 3, &scroll, &clip, update, &updateRect));
    for (Integer y = 0; y < 13; ++y)
        EXPECT_EQ(RowOf(*f.Surface, 5, y), y) << y; // above and the uncovered strip keep their pixels
    for (Integer y = 13; y < 30; ++y)
        EXPECT_EQ(RowOf(*f.Surface, 5, y), y - 3) << y;
    for (Integer y = 30; y < 40; ++y)
        EXPECT_EQ(RowOf(*f.Surface, 5, y), y) << y; // below the clip: untouched
    EXPECT_EQ(GetRegionRects(update), (std::vector<TRect>{{0, 10, 10, 13}}));
    EXPECT_EQ(updateRect, Rect(0, 10, 10, 13));
    DeleteObject(update);
}

TEST(ScrollDC, UpMovesContentIntoTheClipAndReportsTheBottomStrip)
{
    TCanvasFixture f(10, 40);
    PaintRows(*f.Surface);
    SetDCOrigin(f.DC, {0, 5}); // logical 0 is surface row 5
    const TRect scroll = Rect(0, 10, 10, 30);
    const TRect clip = Rect(2, 5, 8, 30); // narrower, and starts above the scroll rectangle
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    ScrollDC(f.DC, 0, -4, &scroll, &clip, update, nullptr);
    // Logical rows 10..29 are surface 15..34; they land 4 higher, as far up as the clip's top (surface 10).
    for (Integer y = 11; y < 31; ++y)
        EXPECT_EQ(RowOf(*f.Surface, 4, y), y + 4) << y;
    EXPECT_EQ(RowOf(*f.Surface, 4, 31), 31); // uncovered, old pixels stay
    EXPECT_EQ(RowOf(*f.Surface, 1, 12), 12); // left of the clip: untouched
    EXPECT_EQ(RowOf(*f.Surface, 4, 10), 10); // above the clip
    EXPECT_EQ(GetRegionRects(update), (std::vector<TRect>{{2, 26, 8, 30}}));
    DeleteObject(update);
}

TEST(ScrollDC, SidewaysAndHiddenSourcesAreReportedToo)
{
    TCanvasFixture f(20, 10);
    PaintRows(*f.Surface);
    // Pixels 10..14 of the window are covered by another window.
    HRGN visible = CreateRectRgn(0, 0, 20, 10);
    HRGN hidden = CreateRectRgn(10, 0, 15, 10);
    CombineRgn(visible, visible, hidden, RGN_DIFF);
    SetDCVisibleRegion(f.DC, visible);
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    ScrollDC(f.DC, 3, 0, nullptr, nullptr, update, nullptr);
    EXPECT_EQ(GetGValue(At(*f.Surface, 5, 0)), 2);   // moved right by 3
    EXPECT_EQ(GetGValue(At(*f.Surface, 17, 0)), 17); // source 14 hidden: kept
    EXPECT_EQ(GetGValue(At(*f.Surface, 19, 0)), 16); // source 16 visible
    HRGN expected = CreateRegionFromRects({{0, 0, 3, 10}, {15, 0, 18, 10}, {10, 0, 15, 10}});
    EXPECT_TRUE(EqualRgn(update, expected)) << GetRegionRects(update).size();
    DeleteObject(visible);
    DeleteObject(hidden);
    DeleteObject(update);
    DeleteObject(expected);
}

TEST(ScrollDC, ByNothingOrByMoreThanTheRectangle)
{
    TCanvasFixture f(10, 10);
    PaintRows(*f.Surface);
    HRGN update = CreateRectRgn(0, 0, 5, 5);
    const TRect r = Rect(0, 0, 10, 10);
    ScrollDC(f.DC, 0, 0, &r, &r, update, nullptr);
    TRect box;
    EXPECT_EQ(GetRgnBox(update, box), NULLREGION);
    ScrollDC(f.DC, 0, 50, &r, &r, update, nullptr);
    EXPECT_EQ(GetRgnBox(update, box), SIMPLEREGION);
    EXPECT_EQ(box, r);
    ScrollDC(f.DC, 2147483647, -2147483647 - 1, &r, &r, update, nullptr);
    EXPECT_EQ(GetRgnBox(update, box), SIMPLEREGION);
    EXPECT_EQ(box, r);
    EXPECT_EQ(RowOf(*f.Surface, 0, 9), 9);
    DeleteObject(update);
}

} // namespace
} // namespace ld
