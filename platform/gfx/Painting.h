// Lines, fills and single pixels, with the host's pixel rules: a rectangle holds
// its left and top edges and not its right and bottom ones; a line holds its
// start point and not its end point.
#pragma once

#include "platform/gfx/DeviceContext.h"

namespace ld {

// Fills with the brush (its colour, or a hatch over the background colour when
// the mode is opaque). A small integer COLOR_xxx + 1 in place of the brush
// fills with that system colour, as the host allows.
Integer FillRect(HDC dc, const TRect& r, HBRUSH brush);
Integer FrameRect(HDC dc, const TRect& r, HBRUSH brush);
BOOL InvertRect(HDC dc, const TRect& r);
BOOL FillRgn(HDC dc, HRGN region, HBRUSH brush);
// Fills with the selected brush.
BOOL PaintRgn(HDC dc, HRGN region);
BOOL InvertRgn(HDC dc, HRGN region);
BOOL FrameRgn(HDC dc, HRGN region, HBRUSH brush, Integer width, Integer height);
// Draws from the current position up to, not including, the end point, which
// becomes the current position. Dotted pens set every other pixel.
BOOL LineTo(HDC dc, Integer x, Integer y);
BOOL Polyline(HDC dc, const TPoint* points, Integer count);
// The outline with the pen, the inside with the brush (nothing with BS_NULL).
BOOL Rectangle(HDC dc, Integer left, Integer top, Integer right, Integer bottom);
// A dotted frame drawn by inverting, so a second call removes it.
BOOL DrawFocusRect(HDC dc, const TRect& r);
// Returns the colour set, or CLR_INVALID when the pixel is clipped away.
COLORREF SetPixel(HDC dc, Integer x, Integer y, COLORREF color);
// CLR_INVALID outside the surface or the visible region.
COLORREF GetPixel(HDC dc, Integer x, Integer y);

enum : DWORD {
    SRCCOPY = 0x00CC0020,
    SRCPAINT = 0x00EE0086,
    SRCAND = 0x008800C6,
    SRCINVERT = 0x00660046,
    NOTSRCCOPY = 0x00330008,
    DSTINVERT = 0x00550009,
    PATCOPY = 0x00F00021,
    PATINVERT = 0x005A0049,
    BLACKNESS = 0x00000042,
    WHITENESS = 0x00FF0062,
};
// Only the operations that take no source: PATCOPY, PATINVERT, DSTINVERT,
// BLACKNESS, WHITENESS.
BOOL PatBlt(HDC dc, Integer x, Integer y, Integer width, Integer height, DWORD rop);

// Helpers for the rest of the layer, all in surface coordinates and clipped.
void FillSurfaceRect(HDC dc, const TRect& r, uint32_t pixel);
void FillSurfaceRegion(HDC dc, const pixman_region32_t& region, HBRUSH brush);
void FillLogicalRect(HDC dc, const TRect& r, uint32_t pixel);

} // namespace ld
