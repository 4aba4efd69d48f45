#include <gtest/gtest.h>

#include "platform/gfx/Regions.h"
#include "tests/gfx/GfxTestHelpers.h"

namespace ld {
namespace {

using test::At;
using test::BlackOnWhite;
using test::TCanvasFixture;

struct TDirection {
    TPoint To;
    const char* Picture;
};

// From the centre (3,3) of a 7x7 surface to each of eight end points three
// pixels away: the start is drawn, the end is not.
TEST(Lines, EndPointLeftOutInAllEightDirections)
{
    const TDirection directions[] = {
        {{6, 3}, ".......\n.......\n.......\n...###.\n.......\n.......\n.......\n"},
        {{0, 3}, ".......\n.......\n.......\n.###...\n.......\n.......\n.......\n"},
        {{3, 6}, ".......\n.......\n.......\n...#...\n...#...\n...#...\n.......\n"},
        {{3, 0}, ".......\n...#...\n...#...\n...#...\n.......\n.......\n.......\n"},
        {{6, 6}, ".......\n.......\n.......\n...#...\n....#..\n.....#.\n.......\n"},
        {{0, 0}, ".......\n.#.....\n..#....\n...#...\n.......\n.......\n.......\n"},
        {{6, 0}, ".......\n.....#.\n....#..\n...#...\n.......\n.......\n.......\n"},
        {{0, 6}, ".......\n.......\n.......\n...#...\n..#....\n.#.....\n.......\n"},
    };
    for (const TDirection& d : directions) {
        TCanvasFixture f(7, 7);
        MoveToEx(f.DC, 3, 3, nullptr);
        LineTo(f.DC, d.To.X, d.To.Y);
        EXPECT_EQ(BlackOnWhite(*f.Surface, f.Surface->Bounds()), d.Picture) << "to " << d.To.X << "," << d.To.Y;
        TPoint pos;
        GetCurrentPositionEx(f.DC, &pos);
        EXPECT_EQ(pos, d.To);
    }
}

TEST(Lines, SteepAndShallowLinesSetOnePixelPerMajorStep)
{
    TCanvasFixture f(20, 20);
    MoveToEx(f.DC, 1, 1, nullptr);
    LineTo(f.DC, 11, 5); // 10 steps in x
    EXPECT_EQ(test::CountColor(*f.Surface, RGB(0, 0, 0)), 10);
    EXPECT_EQ(At(*f.Surface, 1, 1), RGB(0, 0, 0));
    EXPECT_EQ(At(*f.Surface, 11, 5), RGB(255, 255, 255));
    TCanvasFixture g(20, 20);
    MoveToEx(g.DC, 15, 18, nullptr);
    LineTo(g.DC, 12, 2); // 16 steps in y, going up and left
    EXPECT_EQ(test::CountColor(*g.Surface, RGB(0, 0, 0)), 16);
    for (int y = 3; y <= 18; ++y) {
        int inRow = 0;
        for (int x = 0; x < 20; ++x)
            inRow += At(*g.Surface, x, y) == RGB(0, 0, 0);
        EXPECT_EQ(inRow, 1) << "row " << y;
    }
}

TEST(Lines, TabEdgeStrokesJoinWithoutGaps)
{
    // The 3D tab of the bar: highlight L,B-1 -> L,T -> R-2,T, then the shadow
    // continues -> R-2,B-2 -> L-1,B-2.
    TCanvasFixture f(6, 5);
    HPEN white = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HPEN grey = CreatePen(PS_SOLID, 1, RGB(0, 0, 255));
    HGDIOBJ old = SelectObject(f.DC, white);
    MoveToEx(f.DC, 0, 4, nullptr);
    LineTo(f.DC, 0, 0);
    LineTo(f.DC, 4, 0);
    SelectObject(f.DC, grey);
    LineTo(f.DC, 4, 3);
    LineTo(f.DC, -1, 3);
    SelectObject(f.DC, old);
    const std::map<COLORREF, char> legend{{RGB(255, 255, 255), '.'}, {RGB(255, 0, 0), 'h'}, {RGB(0, 0, 255), 's'}};
    EXPECT_EQ(test::Picture(*f.Surface, f.Surface->Bounds(), legend),
              "hhhhs.\n"
              "h...s.\n"
              "h...s.\n"
              "sssss.\n"
              "h.....\n");
    DeleteObject(white);
    DeleteObject(grey);
}

TEST(Lines, DottedPenSetsEveryOtherPixel)
{
    TCanvasFixture f(10, 1);
    HPEN dot = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
    SelectObject(f.DC, dot);
    SetBkMode(f.DC, TRANSPARENT);
    MoveToEx(f.DC, 0, 0, nullptr);
    LineTo(f.DC, 9, 0);
    EXPECT_EQ(BlackOnWhite(*f.Surface, f.Surface->Bounds()), "#.#.#.#.#.\n");
    // Opaque background fills the gaps with the background colour.
    SetBkMode(f.DC, OPAQUE);
    SetBkColor(f.DC, RGB(0, 0, 0));
    MoveToEx(f.DC, 0, 0, nullptr);
    LineTo(f.DC, 10, 0);
    EXPECT_EQ(BlackOnWhite(*f.Surface, f.Surface->Bounds()), "##########\n");
    SelectObject(f.DC, GetStockObject(BLACK_PEN));
    DeleteObject(dot);
}

TEST(Lines, FarOutsideTheSurfaceIsClippedQuickly)
{
    TCanvasFixture f(10, 10);
    MoveToEx(f.DC, -2000000000, -2000000000, nullptr);
    LineTo(f.DC, 2000000000, 2000000000);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(At(*f.Surface, i, i), RGB(0, 0, 0));
    EXPECT_EQ(test::CountColor(*f.Surface, RGB(0, 0, 0)), 10);
    MoveToEx(f.DC, -2000000000, 5, nullptr);
    LineTo(f.DC, 2000000000, 5);
    EXPECT_EQ(test::CountColor(*f.Surface, RGB(0, 0, 0)), 19);
    FillRect(f.DC, Rect(-2000000000, -2000000000, 2000000000, 2000000000),
             static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(test::CountColor(*f.Surface, RGB(0, 0, 0)), 100);
}

TEST(Rectangles, OutlineHoldsLeftTopAndInsideIsBrush)
{
    TCanvasFixture f(7, 6);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    SelectObject(f.DC, red);
    Rectangle(f.DC, 1, 1, 6, 5);
    const std::map<COLORREF, char> legend{{RGB(255, 255, 255), '.'}, {RGB(0, 0, 0), '#'}, {RGB(255, 0, 0), 'r'}};
    EXPECT_EQ(test::Picture(*f.Surface, f.Surface->Bounds(), legend),
              ".......\n"
              ".#####.\n"
              ".#rrr#.\n"
              ".#rrr#.\n"
              ".#####.\n"
              ".......\n");
    // A clear brush leaves the inside alone; a dotted pen dots the outline.
    TCanvasFixture g(6, 5);
    HPEN dot = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
    SelectObject(g.DC, dot);
    SelectObject(g.DC, GetStockObject(NULL_BRUSH));
    SetBkMode(g.DC, TRANSPARENT);
    FillRect(g.DC, Rect(2, 2, 3, 3), red);
    Rectangle(g.DC, 0, 0, 6, 5);
    EXPECT_EQ(test::Picture(*g.Surface, g.Surface->Bounds(), legend),
              "#.#.#.\n"
              ".....#\n"
              "#.r...\n"
              ".....#\n"
              "#.#.#.\n");
    SelectObject(f.DC, GetStockObject(WHITE_BRUSH));
    SelectObject(g.DC, GetStockObject(BLACK_PEN));
    DeleteObject(red);
    DeleteObject(dot);
}

TEST(Rectangles, FillRectHoldsLeftTopOnlyAndSystemColourBrushes)
{
    TCanvasFixture f(5, 4);
    FillRect(f.DC, Rect(1, 1, 4, 3), reinterpret_cast<HBRUSH>(uintptr_t(COLOR_WINDOWTEXT + 1)));
    EXPECT_EQ(BlackOnWhite(*f.Surface, f.Surface->Bounds()), ".....\n.###.\n.###.\n.....\n");
    FillRect(f.DC, Rect(3, 3, 1, 1), static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))); // empty: nothing
    EXPECT_EQ(At(*f.Surface, 2, 2), RGB(0, 0, 0));
    FrameRect(f.DC, Rect(0, 0, 5, 4), GetSysColorBrush(COLOR_WINDOWTEXT));
    EXPECT_EQ(BlackOnWhite(*f.Surface, f.Surface->Bounds()), "#####\n#####\n#####\n#####\n");
}

TEST(Pixels, SetAndGetThroughOriginAndClip)
{
    TCanvasFixture f(8, 8);
    SetDCOrigin(f.DC, {2, 3});
    EXPECT_EQ(SetPixel(f.DC, 1, 1, RGB(10, 20, 30)), RGB(10, 20, 30));
    EXPECT_EQ(At(*f.Surface, 3, 4), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(f.DC, 1, 1), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(f.DC, 6, 0), CLR_INVALID); // surface x 8 is outside
    EXPECT_EQ(SetPixel(f.DC, -3, 0, 0), CLR_INVALID);
    IntersectClipRect(f.DC, 0, 0, 2, 2);
    EXPECT_EQ(SetPixel(f.DC, 2, 0, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(f.DC, 1, 1), RGB(10, 20, 30));
}

} // namespace
} // namespace ld
