// The three colours raised and sunken edges are drawn with, derived from one
// base colour: a darker shadow, a lighter highlight and a "light" colour
// between the base and the highlight.
#pragma once

#include "platform/gfx/Colors.h"

namespace ld {

// The button face and button shadow system colours map to their classic
// partners (shadow/highlight, black/face); every other base is scaled to 50 %
// and 150 %. The light colour is always 125 % of the resolved base. Computed
// results are palette-relative RGB values.
void Get3DColors(TColor baseColor, TColor& shadowColor, TColor& highlightColor, TColor& lightColor);

} // namespace ld
