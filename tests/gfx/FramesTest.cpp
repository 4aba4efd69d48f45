#include <gtest/gtest.h>

#include "platform/gfx/Frames.h"
#include "tests/gfx/GfxTestHelpers.h"

namespace ld {
namespace {

using test::At;
using test::TCanvasFixture;

const std::map<COLORREF, char> Legend{
    {RGB(192, 192, 192), '.'}, {RGB(255, 255, 255), 'w'}, {RGB(128, 128, 128), 's'}, {RGB(0, 0, 0), '#'}};

TEST(DrawFrameControl, ScrollUpIsARaisedButtonWithACentredBlackArrow)
{
    TCanvasFixture f(16, 16);
    ASSERT_TRUE(DrawFrameControl(f.DC, Rect(0, 0, 16, 16), DFC_SCROLL, DFCS_SCROLLUP));
    // Checked piece by piece, so a failure says which part is off.
    EXPECT_EQ(At(*f.Surface, 0, 0), RGB(192, 192, 192));   // outer top-left: 3D light
    EXPECT_EQ(At(*f.Surface, 1, 1), RGB(255, 255, 255));   // inner top-left: highlight
    EXPECT_EQ(At(*f.Surface, 15, 0), RGB(0, 0, 0));        // outer right owns its corner
    EXPECT_EQ(At(*f.Surface, 0, 15), RGB(0, 0, 0));        // outer bottom owns its corner
    EXPECT_EQ(At(*f.Surface, 14, 1), RGB(128, 128, 128));  // inner right: shadow
    EXPECT_EQ(At(*f.Surface, 1, 14), RGB(128, 128, 128));
    EXPECT_EQ(test::CountColor(*f.Surface, RGB(0, 0, 0)), 31 + 16);
    EXPECT_EQ(test::Picture(*f.Surface, Rect(4, 6, 13, 10), Legend),
              "....#....\n"
              "...###...\n"
              "..#####..\n"
              ".#######.\n");
}

TEST(DrawFrameControl, DownIsUpMirroredAndPushedIsSunkenWithTheArrowMoved)
{
    TCanvasFixture up(16, 16), down(16, 16), pushed(16, 16);
    DrawFrameControl(up.DC, Rect(0, 0, 16, 16), DFC_SCROLL, DFCS_SCROLLUP);
    DrawFrameControl(down.DC, Rect(0, 0, 16, 16), DFC_SCROLL, DFCS_SCROLLDOWN);
    for (Integer y = 2; y < 14; ++y)
        for (Integer x = 2; x < 14; ++x)
            EXPECT_EQ(At(*down.Surface, x, y), At(*up.Surface, x, 15 - y)) << x << "," << y;
    DrawFrameControl(pushed.DC, Rect(0, 0, 16, 16), DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_PUSHED);
    EXPECT_EQ(At(*pushed.Surface, 0, 0), RGB(128, 128, 128)); // outer top-left: shadow
    EXPECT_EQ(At(*pushed.Surface, 1, 1), RGB(0, 0, 0));       // inner top-left: dark shadow
    EXPECT_EQ(At(*pushed.Surface, 15, 15), RGB(255, 255, 255));
    EXPECT_EQ(At(*pushed.Surface, 14, 14), RGB(192, 192, 192));
    for (Integer y = 2; y < 13; ++y)
        for (Integer x = 2; x < 13; ++x)
            EXPECT_EQ(At(*pushed.Surface, x + 1, y + 1), At(*down.Surface, x, y)) << x << "," << y;
}

TEST(DrawFrameControl, InactiveArrowIsGreyAndOtherTypesAreRefused)
{
    TCanvasFixture f(16, 16);
    DrawFrameControl(f.DC, Rect(0, 0, 16, 16), DFC_SCROLL, DFCS_SCROLLUP | DFCS_INACTIVE);
    EXPECT_EQ(At(*f.Surface, 8, 6), RGB(128, 128, 128));
    EXPECT_EQ(At(*f.Surface, 9, 7 + 3), RGB(255, 255, 255)); // the white shadow below the base
    EXPECT_FALSE(DrawFrameControl(f.DC, Rect(0, 0, 16, 16), DFC_BUTTON, 0));
    // Tiny and empty rectangles draw what fits and never spill.
    TCanvasFixture g(4, 4);
    DrawFrameControl(g.DC, Rect(1, 1, 3, 3), DFC_SCROLL, DFCS_SCROLLDOWN);
    EXPECT_EQ(At(*g.Surface, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(At(*g.Surface, 3, 3), RGB(255, 255, 255));
    DrawFrameControl(g.DC, Rect(3, 3, 1, 1), DFC_SCROLL, DFCS_SCROLLDOWN);
}

TEST(DrawEdge, SunkenEtchedAndAdjust)
{
    TCanvasFixture f(6, 6);
    TRect r = Rect(0, 0, 6, 6);
    DrawEdge(f.DC, r, EDGE_ETCHED, BF_RECT | BF_ADJUST);
    EXPECT_EQ(r, Rect(2, 2, 4, 4));
    EXPECT_EQ(test::Picture(*f.Surface, f.Surface->Bounds(), {{RGB(255, 255, 255), 'w'}, {RGB(128, 128, 128), 's'}}),
              "sssssw\n"
              "swwwsw\n"
              "swwwsw\n"
              "swwwsw\n"
              "sssssw\n"
              "wwwwww\n");
    TCanvasFixture g(4, 4);
    TRect t = Rect(0, 0, 4, 4);
    DrawEdge(g.DC, t, BDR_SUNKENOUTER, BF_TOPLEFT);
    EXPECT_EQ(test::Picture(*g.Surface, g.Surface->Bounds(), {{RGB(255, 255, 255), 'w'}, {RGB(128, 128, 128), 's'}}),
              "ssss\n"
              "swww\n"
              "swww\n"
              "swww\n");
}

} // namespace
} // namespace ld
