// A vertical scroll bar drawn inside a control's own client area (the memo,
// the combo box's list), as the window system here has none of its own: an
// arrow button at each end, a dithered track, and a thumb whose size and
// place show the visible lines among all of them.
#pragma once

#include "platform/gfx/DeviceContext.h"

namespace ld {

enum class TScrollHit { None, LineUp, LineDown, PageUp, PageDown, Thumb };

// What a scroll bar shows: the first visible line, how many are visible, how many there are.
struct TScrollRange {
    Integer First = 0;
    Integer Visible = 1;
    Integer Total = 0;
};

void PaintVerticalScrollBar(HDC dc, const TRect& bar, const TScrollRange& range);
// The part of the bar under a point.
TScrollHit VerticalScrollBarHit(const TRect& bar, const TScrollRange& range, TPoint p);
// The first line after a click on that part, kept within the range.
Integer ScrolledFirst(TScrollHit hit, const TScrollRange& range);

} // namespace ld
