#include <gtest/gtest.h>

#include <random>

#include "platform/gfx/Regions.h"

namespace ld {
namespace {

std::vector<TRect> Rects(HRGN r)
{
    return GetRegionRects(r);
}

TEST(Regions, XorOfOverlappingRectsLeavesTheirSymmetricDifference)
{
    HRGN a = CreateRectRgn(0, 0, 10, 10);
    HRGN b = CreateRectRgn(5, 0, 15, 10);
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(r, a, b, RGN_XOR), COMPLEXREGION);
    EXPECT_EQ(Rects(r), (std::vector<TRect>{{0, 0, 5, 10}, {10, 0, 15, 10}}));
    EXPECT_TRUE(PtInRegion(r, 4, 9));
    EXPECT_FALSE(PtInRegion(r, 5, 0));
    EXPECT_FALSE(PtInRegion(r, 15, 0)); // right edge left out
    // XOR with itself again restores the first operand.
    EXPECT_EQ(CombineRgn(r, r, b, RGN_XOR), SIMPLEREGION);
    EXPECT_TRUE(EqualRgn(r, a));
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(r);
}

TEST(Regions, BarBackgroundLosesEachTabByXor)
{
    // As the bar paints: client region, each tab XORed out.
    HRGN client = CreateRectRgn(0, 0, 100, 200);
    for (int i = 0; i < 3; ++i) {
        HRGN tab = CreateRectRgn(0, i * 21, 100, i * 21 + 20);
        CombineRgn(client, client, tab, RGN_XOR);
        DeleteObject(tab);
    }
    EXPECT_FALSE(PtInRegion(client, 50, 0));
    EXPECT_TRUE(PtInRegion(client, 50, 20)); // the gap
    EXPECT_FALSE(PtInRegion(client, 50, 61));
    EXPECT_TRUE(PtInRegion(client, 50, 62));
    TRect box;
    EXPECT_EQ(GetRgnBox(client, box), COMPLEXREGION);
    EXPECT_EQ(box, Rect(0, 20, 100, 200));
    DeleteObject(client);
}

TEST(Regions, AndOrDiffCopyAndOffset)
{
    HRGN a = CreateRectRgn(0, 0, 10, 10);
    HRGN b = CreateRectRgn(5, 5, 20, 20);
    HRGN r = CreateRectRgn(0, 0, 1, 1);
    EXPECT_EQ(CombineRgn(r, a, b, RGN_AND), SIMPLEREGION);
    EXPECT_EQ(Rects(r), (std::vector<TRect>{{5, 5, 10, 10}}));
    EXPECT_EQ(CombineRgn(r, a, b, RGN_DIFF), COMPLEXREGION);
    EXPECT_EQ(Rects(r), (std::vector<TRect>{{0, 0, 10, 5}, {0, 5, 5, 10}}));
    EXPECT_EQ(CombineRgn(r, b, a, RGN_DIFF), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(r, 9, 9));
    EXPECT_TRUE(PtInRegion(r, 19, 19));
    EXPECT_EQ(CombineRgn(r, a, b, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(r, 19, 5));
    EXPECT_FALSE(PtInRegion(r, 19, 4));
    EXPECT_EQ(CombineRgn(r, a, nullptr, RGN_COPY), SIMPLEREGION);
    EXPECT_TRUE(EqualRgn(r, a));
    EXPECT_EQ(OffsetRgn(r, -3, 4), SIMPLEREGION);
    TRect box;
    GetRgnBox(r, box);
    EXPECT_EQ(box, Rect(-3, 4, 7, 14));
    EXPECT_EQ(CombineRgn(r, a, a, RGN_DIFF), NULLREGION);
    EXPECT_EQ(GetRgnBox(r, box), NULLREGION);
    EXPECT_EQ(box, Rect(0, 0, 0, 0));
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(r);
}

TEST(Regions, BadHandlesAreRefusedNotFollowed)
{
    HRGN r = CreateRectRgn(0, 0, 5, 5);
    EXPECT_EQ(CombineRgn(r, r, nullptr, RGN_AND), RGN_ERROR);
    EXPECT_EQ(CombineRgn(r, r, r, 99), RGN_ERROR);
    EXPECT_TRUE(DeleteObject(r));
    EXPECT_FALSE(DeleteObject(r)); // already gone
    EXPECT_FALSE(PtInRegion(r, 1, 1));
    EXPECT_EQ(OffsetRgn(r, 1, 1), RGN_ERROR);
    EXPECT_FALSE(DeleteObject(GetStockObject(BLACK_PEN)));
}

TEST(Regions, ReversedCornersAreNormalised)
{
    HRGN r = CreateRectRgn(10, 10, 0, 0);
    TRect box;
    EXPECT_EQ(GetRgnBox(r, box), SIMPLEREGION);
    EXPECT_EQ(box, Rect(0, 0, 10, 10));
    HRGN many = CreateRegionFromRects({{0, 0, 2, 2}, {5, 5, 6, 6}, {0, 0, 0, 9}});
    EXPECT_EQ(GetRegionRects(many).size(), 2u);
    DeleteObject(r);
    DeleteObject(many);
}

// Cutting a rectangle out (DIFF, or XOR with a rectangle inside) has its own
// quick path; its result must be the very region pixman's own operation makes.
TEST(Regions, CuttingRectanglesOutMatchesTheGeneralOperation)
{
    std::mt19937 rng(7);
    auto coord = [&](int range) { return Integer(rng() % unsigned(range)) - 5; };
    for (int round = 0; round < 400; ++round) {
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        for (int i = 0; i < 1 + int(rng() % 6); ++i) {
            const Integer l = coord(40), t = coord(40);
            HRGN part = CreateRectRgn(l, t, l + 1 + coord(30), t + 1 + coord(30));
            CombineRgn(region, region, part, RGN_OR);
            DeleteObject(part);
        }
        const Integer l = coord(40), t = coord(40);
        HRGN cut = CreateRectRgn(l, t, l + 1 + coord(30), t + 1 + coord(30));
        pixman_region32_t expected;
        pixman_region32_init(&expected);
        pixman_region32_subtract(&expected, &region->Region, &cut->Region);
        HRGN diff = CreateRectRgn(0, 0, 0, 0);
        CombineRgn(diff, region, cut, RGN_DIFF);
        EXPECT_TRUE(pixman_region32_equal(&diff->Region, &expected)) << "round " << round;
        TRect box;
        GetRgnBox(diff, box);
        EXPECT_EQ(box, RegionBox(expected));
        // In place, as the bar does it.
        CombineRgn(region, region, cut, RGN_DIFF);
        EXPECT_TRUE(EqualRgn(region, diff));
        pixman_region32_fini(&expected);
        DeleteObject(region);
        DeleteObject(cut);
        DeleteObject(diff);
    }
}

// Cut after cut into the same region, as a paint cuts every tab out of its
// background: the region is rewritten where it is and must stay the region
// pixman makes, bands merged, extents right, with room grown as needed.
TEST(Regions, RepeatedCutsInPlaceMatchTheGeneralOperation)
{
    std::mt19937 rng(11);
    auto coord = [&](int range) { return Integer(rng() % unsigned(range)); };
    for (int round = 0; round < 200; ++round) {
        HRGN region = CreateRectRgn(0, 0, 40 + coord(60), 40 + coord(300));
        pixman_region32_t expected;
        pixman_region32_init(&expected);
        pixman_region32_copy(&expected, &region->Region);
        for (int step = 0; step < 30; ++step) {
            const Integer l = coord(90) - 5, t = coord(340) - 5;
            const Integer r = l + coord(40), b = t + 1 + coord(25);
            HRGN cut = CreateRectRgn(l, t, r, b);
            pixman_region32_t next;
            pixman_region32_init(&next);
            pixman_region32_subtract(&next, &expected, &cut->Region);
            if (step % 2 == 0 || !RectInRegion(region, {l, t, r, b}))
                CombineRgn(region, region, cut, RGN_DIFF);
            else if (pixman_region32_contains_rectangle(&expected, pixman_region32_extents(&cut->Region)) ==
                     PIXMAN_REGION_IN)
                CombineRgn(region, region, cut, RGN_XOR);
            else
                CombineRgn(region, region, cut, RGN_DIFF);
            pixman_region32_fini(&expected);
            expected = next;
            ASSERT_TRUE(pixman_region32_selfcheck(&region->Region)) << "round " << round << " step " << step;
            ASSERT_TRUE(pixman_region32_equal(&region->Region, &expected)) << "round " << round << " step " << step;
            DeleteObject(cut);
        }
        pixman_region32_fini(&expected);
        DeleteObject(region);
    }
}

} // namespace
} // namespace ld
