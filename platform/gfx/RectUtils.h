// The window system's rectangle helpers. A rectangle holds its left and top
// edges and not its right and bottom ones, so one whose right is not beyond its
// left (or bottom beyond its top) is empty.
#pragma once

#include "platform/core/Types.h"

namespace ld {

BOOL SetRect(TRect& r, Integer left, Integer top, Integer right, Integer bottom);
BOOL SetRectEmpty(TRect& r);
BOOL CopyRect(TRect& dst, const TRect& src);
BOOL InflateRect(TRect& r, Integer dx, Integer dy);
BOOL OffsetRect(TRect& r, Integer dx, Integer dy);
// The smallest rectangle holding both; an empty operand is ignored. Returns
// FALSE when the result is empty.
BOOL UnionRect(TRect& dst, const TRect& a, const TRect& b);
// Returns FALSE, with dst emptied to 0,0,0,0, when they do not overlap.
BOOL IntersectRect(TRect& dst, const TRect& a, const TRect& b);
BOOL SubtractRect(TRect& dst, const TRect& a, const TRect& b);
BOOL PtInRect(const TRect& r, TPoint p);
BOOL IsRectEmpty(const TRect& r);
BOOL EqualRect(const TRect& a, const TRect& b);

} // namespace ld
