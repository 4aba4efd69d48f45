#include "controls/shared/ShortcutColors.h"

#include <cstdint>

namespace ld {

namespace {

// v * percent / 100 rounded to the nearest integer, halves away from zero (the
// host's MulDiv), held to the byte range. The platform does not export MulDiv,
// and the operands here are never negative.
Integer ScaleChannel(Integer value, Integer percent)
{
    const int64_t product = int64_t(value) * percent;
    const Integer scaled = Integer((product + 50) / 100);
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
