#include "platform/gfx/Frames.h"

#include <algorithm>

#include "platform/gfx/Painting.h"

namespace ld {

namespace {

uint32_t Sys(Integer index)
{
    return ColorRefToPixel(GetSysColor(index));
}

// One border ring of rect: top-left colour on the top and left lines, the other
// on the bottom and right lines, which own the two shared corners.
void DrawRing(HDC dc, const TRect& r, UINT flags, uint32_t topLeft, uint32_t bottomRight)
{
    if (r.Right <= r.Left || r.Bottom <= r.Top)
        return;
    if (flags & BF_TOP)
        FillLogicalRect(dc, {r.Left, r.Top, r.Right - ((flags & BF_RIGHT) ? 1 : 0), r.Top + 1}, topLeft);
    if (flags & BF_LEFT)
        FillLogicalRect(dc, {r.Left, r.Top, r.Left + 1, r.Bottom - ((flags & BF_BOTTOM) ? 1 : 0)}, topLeft);
    if (flags & BF_BOTTOM)
        FillLogicalRect(dc, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, bottomRight);
    if (flags & BF_RIGHT)
        FillLogicalRect(dc, {r.Right - 1, r.Top, r.Right, r.Bottom}, bottomRight);
}

TRect Shrink(const TRect& r, UINT flags)
{
    return {r.Left + ((flags & BF_LEFT) ? 1 : 0), r.Top + ((flags & BF_TOP) ? 1 : 0),
            r.Right - ((flags & BF_RIGHT) ? 1 : 0), r.Bottom - ((flags & BF_BOTTOM) ? 1 : 0)};
}

// The arrow: rows 1, 3, 5 ... pixels wide, pointing along direction.
void DrawArrow(HDC dc, const TRect& r, UINT direction, uint32_t pixel)
{
    const Integer w = r.Right - r.Left, h = r.Bottom - r.Top;
    const Integer size = std::min(w, h);
    if (size <= 0)
        return;
    const Integer length = std::max(1, (size + 1) / 4); // 4 rows in a 16-pixel button
    const Integer cx = r.Left + w / 2;
    const Integer cy = r.Top + h / 2;
    const Integer x0 = cx - length / 2;
    const Integer y0 = cy - length / 2;
    for (Integer i = 0; i < length; ++i) {
        // Row (or column) i, counted from the tip, is 2i + 1 pixels long.
        switch (direction) {
        case DFCS_SCROLLUP: FillLogicalRect(dc, {cx - i, y0 + i, cx + i + 1, y0 + i + 1}, pixel); break;
        case DFCS_SCROLLDOWN:
            FillLogicalRect(dc, {cx - i, y0 + length - 1 - i, cx + i + 1, y0 + length - i}, pixel);
            break;
        case DFCS_SCROLLLEFT: FillLogicalRect(dc, {x0 + i, cy - i, x0 + i + 1, cy + i + 1}, pixel); break;
        default: FillLogicalRect(dc, {x0 + length - 1 - i, cy - i, x0 + length - i, cy + i + 1}, pixel); break;
        }
    }
}

// The close cross, 8 x 7 pixels of two-pixel strokes, centred.
void DrawCloseCross(HDC dc, const TRect& r, uint32_t pixel)
{
    static const char* const rows[] = {"##....##", ".##..##.", "..####..", "...##...", "..####..", ".##..##.", "##....##"};
    const Integer x0 = r.Left + (r.Right - r.Left - 8) / 2;
    const Integer y0 = r.Top + (r.Bottom - r.Top - 7) / 2;
    for (Integer y = 0; y < 7; ++y)
        for (Integer x = 0; x < 8; ++x)
            if (rows[y][x] == '#')
                FillLogicalRect(dc, {x0 + x, y0 + y, x0 + x + 1, y0 + y + 1}, pixel);
}

void DrawGlyph(HDC dc, const TRect& r, UINT type, UINT state, uint32_t pixel)
{
    if (type == DFC_CAPTION)
        DrawCloseCross(dc, r, pixel);
    else
        DrawArrow(dc, r, state & 0x000F, pixel);
}

} // namespace

BOOL DrawEdge(HDC dc, TRect& rect, UINT edge, UINT flags)
{
    if (!IsDC(dc))
        return 0;
    TRect r = rect;
    const bool mono = flags & BF_MONO;
    const bool flat = flags & BF_FLAT;
    const UINT outer = edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER);
    const UINT inner = edge & (BDR_RAISEDINNER | BDR_SUNKENINNER);
    if (outer) {
        uint32_t tl, br;
        if (mono) {
            tl = br = Sys(COLOR_WINDOWFRAME);
        } else if (flat) {
            tl = br = Sys(COLOR_BTNSHADOW);
        } else if (outer & BDR_RAISEDOUTER) {
            tl = Sys((flags & BF_SOFT) ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT);
            br = Sys(COLOR_3DDKSHADOW);
        } else {
            tl = Sys(COLOR_BTNSHADOW);
            br = Sys(COLOR_BTNHIGHLIGHT);
        }
        DrawRing(dc, r, flags, tl, br);
        r = Shrink(r, flags);
    }
    if (inner) {
        uint32_t tl, br;
        if (mono || flat) {
            tl = br = Sys(mono ? COLOR_WINDOW : COLOR_BTNFACE);
        } else if (inner & BDR_RAISEDINNER) {
            tl = Sys((flags & BF_SOFT) ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT);
            br = Sys(COLOR_BTNSHADOW);
        } else {
            tl = Sys(COLOR_3DDKSHADOW);
            br = Sys(COLOR_3DLIGHT);
        }
        DrawRing(dc, r, flags, tl, br);
        r = Shrink(r, flags);
    }
    if (flags & BF_MIDDLE)
        FillLogicalRect(dc, r, Sys(mono ? COLOR_WINDOW : COLOR_BTNFACE));
    if (flags & BF_ADJUST)
        rect = r;
    return 1;
}

BOOL DrawFrameControl(HDC dc, const TRect& rect, UINT type, UINT state)
{
    if (!IsDC(dc) || (type != DFC_SCROLL && !(type == DFC_CAPTION && (state & 0x000F) == DFCS_CAPTIONCLOSE)))
        return 0;
    const bool pushed = state & DFCS_PUSHED;
    TRect face = rect;
    if (state & DFCS_FLAT)
        DrawEdge(dc, face, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_FLAT | BF_ADJUST);
    else
        DrawEdge(dc, face, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
    TRect arrow = rect;
    if (pushed) {
        arrow.Left += 1;
        arrow.Top += 1;
        arrow.Right += 1;
        arrow.Bottom += 1;
    }
    // Clip the glyph to the face so that a tiny button never spills.
    const Integer saved = SaveDC(dc);
    IntersectClipRect(dc, face.Left, face.Top, face.Right, face.Bottom);
    if (state & DFCS_INACTIVE) {
        TRect shadow = arrow;
        shadow.Left += 1;
        shadow.Top += 1;
        shadow.Right += 1;
        shadow.Bottom += 1;
        DrawGlyph(dc, shadow, type, state, Sys(COLOR_BTNHIGHLIGHT));
        DrawGlyph(dc, arrow, type, state, Sys(COLOR_BTNSHADOW));
    } else {
        DrawGlyph(dc, arrow, type, state, ColorRefToPixel(RGB(0, 0, 0)));
    }
    RestoreDC(dc, saved);
    return 1;
}

} // namespace ld
