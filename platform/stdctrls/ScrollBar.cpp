#include "platform/stdctrls/ScrollBar.h"

#include <algorithm>

#include "platform/gfx/Colors.h"
#include "platform/gfx/Frames.h"
#include "platform/gfx/GdiObjects.h"
#include "platform/gfx/Painting.h"
#include "platform/gfx/RectUtils.h"

namespace ld {

namespace {

Integer ArrowHeight(const TRect& bar) { return std::min(bar.Width(), bar.Height() / 2); }

TRect TrackRect(const TRect& bar)
{
    const Integer arrow = ArrowHeight(bar);
    return Rect(bar.Left, bar.Top + arrow, bar.Right, bar.Bottom - arrow);
}

// Empty when everything is visible or the track is too short for a thumb.
TRect ThumbRect(const TRect& bar, const TScrollRange& range)
{
    TRect track = TrackRect(bar);
    if (range.Total <= range.Visible || track.Height() < 8)
        return Rect(0, 0, 0, 0);
    const Integer thumb = std::max(track.Height() * range.Visible / range.Total, 8);
    const Integer last = range.Total - range.Visible;
    const Integer top = track.Top + (track.Height() - thumb) * std::clamp(range.First, 0, last) / last;
    return Rect(track.Left, top, track.Right, top + thumb);
}

} // namespace

void PaintVerticalScrollBar(HDC dc, const TRect& bar, const TScrollRange& range)
{
    if (bar.Width() <= 0 || !RectVisible(dc, bar))
        return;
    const Integer arrow = ArrowHeight(bar);
    DrawFrameControl(dc, Rect(bar.Left, bar.Top, bar.Right, bar.Top + arrow), DFC_SCROLL, DFCS_SCROLLUP);
    DrawFrameControl(dc, Rect(bar.Left, bar.Bottom - arrow, bar.Right, bar.Bottom), DFC_SCROLL, DFCS_SCROLLDOWN);
    const TRect track = TrackRect(bar);
    FillRect(dc, track, GetSysColorBrush(COLOR_BTNFACE));
    TRect box;
    GetClipBox(dc, box);
    IntersectRect(box, box, track);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    for (Integer y = box.Top; y < box.Bottom; ++y)
        for (Integer x = box.Left + ((box.Left + y) & 1); x < box.Right; x += 2)
            SetPixel(dc, x, y, light);
    TRect thumb = ThumbRect(bar, range);
    if (!IsRectEmpty(thumb))
        DrawEdge(dc, thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
}

TScrollHit VerticalScrollBarHit(const TRect& bar, const TScrollRange& range, TPoint p)
{
    if (!PtInRect(bar, p))
        return TScrollHit::None;
    const Integer arrow = ArrowHeight(bar);
    if (p.Y < bar.Top + arrow)
        return TScrollHit::LineUp;
    if (p.Y >= bar.Bottom - arrow)
        return TScrollHit::LineDown;
    TRect thumb = ThumbRect(bar, range);
    if (IsRectEmpty(thumb))
        return TScrollHit::None;
    if (p.Y < thumb.Top)
        return TScrollHit::PageUp;
    return p.Y >= thumb.Bottom ? TScrollHit::PageDown : TScrollHit::Thumb;
}

Integer ScrolledFirst(TScrollHit hit, const TScrollRange& range)
{
    const Integer page = std::max(range.Visible - 1, 1);
    Integer first = range.First;
    switch (hit) {
    case TScrollHit::LineUp: --first; break;
    case TScrollHit::LineDown: ++first; break;
    case TScrollHit::PageUp: first -= page; break;
    case TScrollHit::PageDown: first += page; break;
    default: break;
    }
    return std::clamp(first, 0, std::max(range.Total - range.Visible, 0));
}

} // namespace ld
