// The 3D colour table: rounding, clamping, and the two system colours that map
// to their classic partners.
#include <gtest/gtest.h>

#include "controls/shared/ShortcutColors.h"

namespace ld {
namespace {

struct Derived {
    TColor Shadow, Highlight, Light;
};

Derived Derive(TColor base)
{
    Derived d{-1, -1, -1};
    Get3DColors(base, d.Shadow, d.Highlight, d.Light);
    return d;
}

TEST(Get3DColors, ScalesPlainColoursAndClampsAtWhite)
{
    Derived grey = Derive(0x00808080);
    EXPECT_EQ(grey.Shadow, TColor(0x02404040));
    EXPECT_EQ(grey.Highlight, TColor(0x02C0C0C0));
    EXPECT_EQ(grey.Light, TColor(0x02A0A0A0));

    Derived white = Derive(0x00FFFFFF);
    EXPECT_EQ(white.Shadow, TColor(0x02808080)); // 127.5 rounds away from zero
    EXPECT_EQ(white.Highlight, TColor(0x02FFFFFF));
    EXPECT_EQ(white.Light, TColor(0x02FFFFFF));

    Derived black = Derive(0);
    EXPECT_EQ(black.Shadow, TColor(0x02000000));
    EXPECT_EQ(black.Highlight, TColor(0x02000000));
    EXPECT_EQ(black.Light, TColor(0x02000000));
}

TEST(Get3DColors, KeepsEachChannelApart)
{
    // Red 0x01 -> 1 (0.5 rounds up), green 0x03 -> 2 (1.5), blue 0xC9 -> 101 (100.5).
    Derived d = Derive(0x00C90301);
    EXPECT_EQ(d.Shadow, TColor(0x02650201));
    EXPECT_EQ(d.Highlight, TColor(0x02FF0502)); // 301.5 clamps, 4.5 -> 5, 1.5 -> 2
    EXPECT_EQ(d.Light, TColor(0x02FB0401));     // 251.25, 3.75, 1.25
}

TEST(Get3DColors, ButtonFaceAndShadowKeepTheirSystemPartners)
{
    Derived face = Derive(clBtnFace);
    EXPECT_EQ(face.Shadow, clBtnShadow);
    EXPECT_EQ(face.Highlight, clBtnHighlight);
    EXPECT_EQ(face.Light, TColor(0x02F0F0F0)); // 125 % of the face $C0C0C0

    Derived shadow = Derive(clBtnShadow);
    EXPECT_EQ(shadow.Shadow, clBlack);
    EXPECT_EQ(shadow.Highlight, clBtnFace);
    EXPECT_EQ(shadow.Light, TColor(0x02A0A0A0)); // 125 % of $808080
}

TEST(Get3DColors, ALiteralEqualToTheFaceTakesThePercentageRule)
{
    Derived d = Derive(TColor(ColorToRGB(clBtnFace)));
    EXPECT_EQ(d.Shadow, TColor(0x02606060));
    EXPECT_EQ(d.Highlight, TColor(0x02FFFFFF));
    EXPECT_EQ(d.Light, TColor(0x02F0F0F0));
}

} // namespace
} // namespace ld
