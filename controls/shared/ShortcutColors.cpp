#include "controls/shared/ShortcutColors.h"

#include <cstdint>

#include "platform/core/SysUtils.h"

namespace ld {

namespace {

// v * percent / 100 rounded as MulDiv rounds, held to the byte range.
Integer ScaleChannel(Integer value, Integer percent)
{
    const Integer scaled = MulDiv(value, percent, 100);
    return scaled > 255 ? 255 : scaled;
}

TColor ScaledColor(COLORREF rgb, Integer percent)
{
    return PaletteRGB(Byte(ScaleChannel(GetRValue(rgb), percent)), Byte(ScaleChannel(GetGValue(rgb), percent)),
                      Byte(ScaleChannel(GetBValue(rgb), percent)));
}

} // namespace

void Get3DColors(TColor baseColor, TColor& shadowColor, TColor& highlightColor, TColor& lightColor)
{
    const COLORREF rgb = ColorToRGB(baseColor);
    // Decided on the unresolved value: a literal RGB equal to the current face
    // colour takes the percentage rule.
    if (baseColor == clBtnFace) {
        shadowColor = clBtnShadow;
        highlightColor = clBtnHighlight;
    } else if (baseColor == clBtnShadow) {
        shadowColor = clBlack;
        highlightColor = clBtnFace;
    } else {
        shadowColor = ScaledColor(rgb, 50);
        highlightColor = ScaledColor(rgb, 150);
    }
    lightColor = ScaledColor(rgb, 125);
}

} // namespace ld
