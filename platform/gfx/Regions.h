// Regions: sets of pixels made of rectangles, on pixman's 32-bit regions.
#pragma once

#include <vector>

#include "platform/gfx/GdiObjects.h"

namespace ld {

// Results of the region calls.
enum : Integer { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };
// Modes of CombineRgn and ExtSelectClipRgn.
enum : Integer { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };

HRGN CreateRectRgn(Integer left, Integer top, Integer right, Integer bottom);
HRGN CreateRectRgnIndirect(const TRect& r);
// Rectangles are taken as they are; empty ones add nothing.
HRGN CreateRegionFromRects(const std::vector<TRect>& rects);
BOOL SetRectRgn(HRGN rgn, Integer left, Integer top, Integer right, Integer bottom);
// dst may be one of the sources. RGN_COPY ignores src2.
Integer CombineRgn(HRGN dst, HRGN src1, HRGN src2, Integer mode);
Integer OffsetRgn(HRGN rgn, Integer dx, Integer dy);
BOOL PtInRegion(HRGN rgn, Integer x, Integer y);
BOOL RectInRegion(HRGN rgn, const TRect& r);
Integer GetRgnBox(HRGN rgn, TRect& box);
BOOL EqualRgn(HRGN a, HRGN b);
// The rectangles of the region in band order (top to bottom, left to right).
std::vector<TRect> GetRegionRects(HRGN rgn);

// Helpers for pixman regions, shared by this layer and the window layer.
Integer RegionComplexity(const pixman_region32_t& region);
void CombineRegions(pixman_region32_t& dst, const pixman_region32_t& a, const pixman_region32_t& b, Integer mode);
TRect RegionBox(const pixman_region32_t& region);
void SetRegionRect(pixman_region32_t& region, const TRect& r);

} // namespace ld
