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

void PaintVerticalScrollBar(HDC dc, const TRect& bar, const TScrollRange& range, TScrollHit pressed, bool enabled)
{
    if (bar.Width() <= 0 || !RectVisible(dc, bar))
        return;
    const Integer arrow = ArrowHeight(bar);
    const UINT inactive = enabled ? 0u : UINT(DFCS_INACTIVE);
    auto pushed = [pressed](TScrollHit part) { return pressed == part ? UINT(DFCS_PUSHED) : 0u; };
    DrawFrameControl(dc, Rect(bar.Left, bar.Top, bar.Right, bar.Top + arrow), DFC_SCROLL,
                     DFCS_SCROLLUP | inactive | pushed(TScrollHit::LineUp));
    DrawFrameControl(dc, Rect(bar.Left, bar.Bottom - arrow, bar.Right, bar.Bottom), DFC_SCROLL,
                     DFCS_SCROLLDOWN | inactive | pushed(TScrollHit::LineDown));
    const TRect track = TrackRect(bar);
    FillRect(dc, track, GetSysColorBrush(COLOR_BTNFACE));
    TRect box;
    GetClipBox(dc, box);
    IntersectRect(box, box, track);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    for (Integer y = box.Top; y < box.Bottom; ++y)
        for (Integer x = box.Left + ((box.Left + y) & 1); x < box.Right; x += 2)
            SetPixel(dc, x, y, light);
    if (!enabled)
        return;
    TRect thumb = ThumbRect(bar, range);
    if (IsRectEmpty(thumb))
        return;
    // The part of the trough held down shows dark, between its end and the thumb.
    if (pressed == TScrollHit::PageUp)
        FillRect(dc, Rect(track.Left, track.Top, track.Right, thumb.Top), GetSysColorBrush(COLOR_3DDKSHADOW));
    if (pressed == TScrollHit::PageDown)
        FillRect(dc, Rect(track.Left, thumb.Bottom, track.Right, track.Bottom), GetSysColorBrush(COLOR_3DDKSHADOW));
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

Integer ScrolledFirst(Word request, Integer position, const TScrollRange& range)
{
    const Integer page = std::max(range.Visible - 1, 1);
    const Integer last = std::max(range.Total - range.Visible, 0);
    Integer first = range.First;
    switch (request) {
    case SB_LINEUP: --first; break;
    case SB_LINEDOWN: ++first; break;
    case SB_PAGEUP: first -= page; break;
    case SB_PAGEDOWN: first += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: first = position; break;
    case SB_TOP: first = 0; break;
    case SB_BOTTOM: first = last; break;
    default: break;
    }
    return std::clamp(first, 0, last);
}

// ---- tracking a press ---------------------------------------------------------------------

namespace {

Word RequestOf(TScrollHit part)
{
    switch (part) {
    case TScrollHit::LineUp: return SB_LINEUP;
    case TScrollHit::LineDown: return SB_LINEDOWN;
    case TScrollHit::PageUp: return SB_PAGEUP;
    default: return SB_PAGEDOWN;
    }
}

// The first line a thumb whose top stands at ThumbTop shows, to the nearest line.
Integer FirstAtThumbTop(const TRect& bar, const TScrollRange& range, Integer thumbTop)
{
    const TRect track = TrackRect(bar);
    const TRect thumb = ThumbRect(bar, range);
    const Integer travel = track.Height() - thumb.Height();
    const Integer last = std::max(range.Total - range.Visible, 0);
    if (travel <= 0)
        return range.First;
    const Int64 offset = std::clamp(thumbTop - track.Top, 0, travel);
    return Integer((offset * last + travel / 2) / travel);
}

} // namespace

TScrollBarTracker::TScrollBarTracker(TGetBar getBar, TRequest request, std::function<void()> repaint)
    : FGetBar(std::move(getBar)), FRequest(std::move(request)), FRepaint(std::move(repaint))
{
}

TScrollBarTracker::~TScrollBarTracker() { delete FTimer; }

bool TScrollBarTracker::Press(TPoint p)
{
    Release();
    TRect bar;
    TScrollRange range;
    FGetBar(bar, range);
    const TScrollHit part = VerticalScrollBarHit(bar, range, p);
    if (part == TScrollHit::None)
        return false;
    FPart = part;
    FPartHot = true;
    FPointer = p;
    if (part == TScrollHit::Thumb) {
        FThumbGrab = p.Y - ThumbRect(bar, range).Top;
        FThumbPosition = range.First;
    } else {
        FTimer = new TTimer(nullptr);
        FTimer->SetInterval(FirstRepeatDelay);
        FTimer->SetOnTimer(TNotifyEvent::Lambda([this](TObject*) { Tick(); }));
        Step();
    }
    FRepaint();
    return true;
}

void TScrollBarTracker::Step() { FRequest(RequestOf(FPart), 0); }

// An arrow repeats while the pointer is on it; the trough while the pointer is
// on its part, which ends once the thumb has come under the pointer.
void TScrollBarTracker::Tick()
{
    FTimer->SetInterval(RepeatInterval);
    TRect bar;
    TScrollRange range;
    FGetBar(bar, range);
    SetPartHot(VerticalScrollBarHit(bar, range, FPointer) == FPart);
    if (FPartHot)
        Step();
}

void TScrollBarTracker::Move(TPoint p)
{
    if (!Tracking())
        return;
    FPointer = p;
    TRect bar;
    TScrollRange range;
    FGetBar(bar, range);
    if (FPart != TScrollHit::Thumb) {
        SetPartHot(VerticalScrollBarHit(bar, range, p) == FPart);
        return;
    }
    const Integer position = FirstAtThumbTop(bar, range, p.Y - FThumbGrab);
    if (position == FThumbPosition)
        return;
    FThumbPosition = position;
    FRequest(SB_THUMBTRACK, position);
}

void TScrollBarTracker::Release()
{
    if (!Tracking())
        return;
    const TScrollHit part = FPart;
    FPart = TScrollHit::None;
    FPartHot = false;
    delete FTimer;
    FTimer = nullptr;
    if (part == TScrollHit::Thumb)
        FRequest(SB_THUMBPOSITION, FThumbPosition);
    FRequest(SB_ENDSCROLL, 0);
    FRepaint();
}

void TScrollBarTracker::SetPartHot(bool hot)
{
    if (hot == FPartHot)
        return;
    FPartHot = hot;
    FRepaint();
}

} // namespace ld
