// Moving pixels: BitBlt and StretchBlt between any two device contexts, alpha
// blending, and ScrollDC.
#pragma once

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Painting.h"

namespace ld {

class TSurface;

// Copies through the destination's clip. Pixels copied from another surface
// arrive opaque (as all drawing is), so a bitmap's alpha never leaks onto the
// screen; within one surface pixels move unchanged. Source pixels outside the source
// surface are not copied (the destination keeps its pixels there). Overlapping
// copies within one surface come out as if copied through a buffer.
// Raster operations: SRCCOPY, SRCPAINT, SRCAND, SRCINVERT, NOTSRCCOPY and the
// source-free ones of PatBlt; any other returns 0 and draws nothing.
BOOL BitBlt(HDC dst, Integer x, Integer y, Integer width, Integer height, HDC src, Integer xSrc, Integer ySrc,
            DWORD rop);
// Nearest-pixel scaling; equal sizes are a BitBlt.
BOOL StretchBlt(HDC dst, Integer x, Integer y, Integer width, Integer height, HDC src, Integer xSrc,
                Integer ySrc, Integer widthSrc, Integer heightSrc, DWORD rop);

enum : Byte { AC_SRC_OVER = 0, AC_SRC_ALPHA = 1 };
struct BLENDFUNCTION {
    Byte BlendOp = AC_SRC_OVER;
    Byte BlendFlags = 0;
    Byte SourceConstantAlpha = 255;
    Byte AlphaFormat = 0;
};
// Source over destination. With AC_SRC_ALPHA each source pixel's own alpha
// (not premultiplied) weighs in as well. Sizes must be equal.
BOOL AlphaBlend(HDC dst, Integer x, Integer y, Integer width, Integer height, HDC src, Integer xSrc,
                Integer ySrc, Integer widthSrc, Integer heightSrc, BLENDFUNCTION blend);

// Copies all but the pixels of the transparent colour. Sizes must be equal.
BOOL TransparentBlt(HDC dst, Integer x, Integer y, Integer width, Integer height, HDC src, Integer xSrc,
                    Integer ySrc, Integer widthSrc, Integer heightSrc, UINT transparent);

// Draws a surface whose alpha (not premultiplied) weighs each pixel, through
// the DC's clip; for image lists and icons.
void DrawSurfaceBlended(HDC dc, Integer x, Integer y, const TSurface& image);

// Scrolls the pixels of the scroll rectangle (all that is visible when nullptr)
// by dx, dy. Only pixels inside the clip rectangle (everything visible when
// nullptr) change. A pixel moves when both its old and its new place are
// visible. Everything inside the clip rectangle that the scroll should have
// filled but did not - the strip left behind and the places whose source was
// hidden - is reported uncovered: as a region (replacing update's contents) and
// as its bounding rectangle, in logical coordinates. Either may be nullptr.
BOOL ScrollDC(HDC dc, Integer dx, Integer dy, const TRect* scroll, const TRect* clip, HRGN update,
              TRect* updateRect);

} // namespace ld
