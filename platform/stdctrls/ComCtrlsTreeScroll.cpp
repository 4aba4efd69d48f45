// TCustomTreeView: the vertical scroll bar. It lives in the non-client area,
// right of the client, as the window system keeps a window's own scroll bar:
// WM_NCCALCSIZE makes room for it, WM_NCPAINT draws it with the scroll-arrow
// frame controls, a checkered trough and a raised thumb, and WM_NCHITTEST
// answers HTVSCROLL over it. A press there captures the mouse until release:
//
//   part pressed   at once          while held (after 400 ms, then every 50 ms)
//   arrow          one row          one row, while the pointer stays on it
//   trough         one page         one page, until the thumb reaches the pointer
//   thumb          -                the rows follow the pointer (SB_THUMBTRACK)
//
// The release sends SB_THUMBPOSITION for the thumb, then SB_ENDSCROLL. The
// mouse messages of that time go to the bar alone, not to the events.
#include <algorithm>

#include "platform/gfx/Blit.h"
#include "platform/gfx/Frames.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/Painting.h"
#include "platform/stdctrls/ComCtrls.h"
#include "platform/stdctrls/ScrollBar.h"
#include "platform/win/Input.h"
#include "platform/win/Paint.h"

namespace ld {

namespace {

constexpr LRESULT HTVSCROLL = 7;
constexpr Cardinal FirstRepeatDelay = TScrollBarTracker::FirstRepeatDelay;
constexpr Cardinal RepeatInterval = TScrollBarTracker::RepeatInterval;
constexpr Integer MinThumbHeight = 8;

// The client rectangle in the coordinates of the window's own frame.
TRect ClientInWindow(HWND window)
{
    RECT windowRect;
    GetWindowRect(window, windowRect);
    MapWindowPoints(nullptr, window, windowRect);
    RECT client;
    GetClientRect(window, client);
    OffsetRect(client, -windowRect.Left, -windowRect.Top);
    return client;
}

TPoint ScreenToWindow(HWND window, TPoint p)
{
    RECT r;
    GetWindowRect(window, r);
    return {p.X - r.Left, p.Y - r.Top};
}

} // namespace

TRect TCustomTreeView::ScrollBarRect() const
{
    if (!HandleAllocated() || !FScrollBarShown)
        return {};
    const TRect client = ClientInWindow(FHandle);
    return {client.Right, client.Top, client.Right + GetSystemMetrics(SM_CXVSCROLL), client.Bottom};
}

TPoint TCustomTreeView::WindowPointOfClient(TPoint client) const
{
    const TRect c = ClientInWindow(FHandle);
    return {client.X + c.Left, client.Y + c.Top};
}

// Arrow buttons are square, or share the bar's height when it is too short.
static void SplitBar(const TRect& bar, TRect& up, TRect& trough, TRect& down)
{
    const Integer arrow = std::min(bar.Width(), bar.Height() / 2);
    up = {bar.Left, bar.Top, bar.Right, bar.Top + arrow};
    down = {bar.Left, bar.Bottom - arrow, bar.Right, bar.Bottom};
    trough = {bar.Left, up.Bottom, bar.Right, down.Top};
}

void TCustomTreeView::ThumbSpan(Integer& top, Integer& height) const
{
    TRect up, trough, down;
    SplitBar(ScrollBarRect(), up, trough, down);
    const Integer rows = std::max(Integer(FTreeNodes->Rows().size()), 1);
    const Integer visible = std::min(VisibleRowCount(), rows);
    const Integer length = trough.Height();
    height = std::min(std::max(Integer(Int64(length) * visible / rows), MinThumbHeight), length);
    const Integer maxTop = MaxTopRow();
    top = trough.Top + (maxTop > 0 ? Integer(Int64(length - height) * FTopRow / maxTop) : 0);
}

TCustomTreeView::TScrollPart TCustomTreeView::ScrollPartAt(TPoint p) const
{
    const TRect bar = ScrollBarRect();
    if (!PtInRect(bar, p))
        return TScrollPart::None;
    TRect up, trough, down;
    SplitBar(bar, up, trough, down);
    if (PtInRect(up, p))
        return TScrollPart::LineUp;
    if (PtInRect(down, p))
        return TScrollPart::LineDown;
    Integer thumbTop, thumbHeight;
    ThumbSpan(thumbTop, thumbHeight);
    if (p.Y < thumbTop)
        return TScrollPart::PageUp;
    if (p.Y >= thumbTop + thumbHeight)
        return TScrollPart::PageDown;
    return TScrollPart::Thumb;
}

// ---- painting ---------------------------------------------------------------------------------

// The trough's checker of button face and highlight, made once and copied.
void TCustomTreeView::PaintTrough(HDC dc, const TRect& trough)
{
    if (trough.Width() <= 0 || trough.Height() <= 0)
        return;
    if (!FTroughPattern || FTroughPattern->GetWidth() < trough.Width() || FTroughPattern->GetHeight() < trough.Height()) {
        delete FTroughPattern;
        FTroughPattern = new TBitmap();
        const Integer width = trough.Width();
        const Integer height = std::max(trough.Height(), GetSystemMetrics(SM_CYSCREEN)) + 1;
        FTroughPattern->SetSize(width, height);
        TCanvas* canvas = FTroughPattern->GetCanvas();
        canvas->GetBrush()->SetColor(clBtnFace);
        canvas->FillRect({0, 0, width, height});
        for (Integer y = 0; y < height; ++y)
            for (Integer x = y & 1; x < width; x += 2)
                canvas->SetPixel(x, y, clBtnHighlight);
    }
    BitBlt(dc, trough.Left, trough.Top, trough.Width(), trough.Height(), FTroughPattern->GetCanvas()->GetHandle(), 0,
           trough.Top & 1, SRCCOPY);
}

void TCustomTreeView::PaintScrollBar(HDC dc)
{
    const TRect bar = ScrollBarRect();
    if (bar.Width() <= 0 || bar.Height() <= 0)
        return;
    TRect up, trough, down;
    SplitBar(bar, up, trough, down);
    const bool pressed = FScrollPartHot;
    DrawFrameControl(dc, up, DFC_SCROLL,
                     DFCS_SCROLLUP | (pressed && FScrollPart == TScrollPart::LineUp ? UINT(DFCS_PUSHED) : 0u));
    DrawFrameControl(dc, down, DFC_SCROLL,
                     DFCS_SCROLLDOWN | (pressed && FScrollPart == TScrollPart::LineDown ? UINT(DFCS_PUSHED) : 0u));
    PaintTrough(dc, trough);
    Integer thumbTop, thumbHeight;
    ThumbSpan(thumbTop, thumbHeight);
    if (pressed && FScrollPart == TScrollPart::PageUp)
        FillRect(dc, {trough.Left, trough.Top, trough.Right, thumbTop}, GetSysColorBrush(COLOR_3DDKSHADOW));
    if (pressed && FScrollPart == TScrollPart::PageDown)
        FillRect(dc, {trough.Left, thumbTop + thumbHeight, trough.Right, trough.Bottom}, GetSysColorBrush(COLOR_3DDKSHADOW));
    TRect thumb{trough.Left, thumbTop, trough.Right, thumbTop + thumbHeight};
    if (thumb.Height() > 0)
        DrawEdge(dc, thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    FPaintedThumbTop = thumbTop;
    FPaintedThumbHeight = thumbHeight;
    FPaintedBarState = BarState();
}

Integer TCustomTreeView::BarState() const
{
    return (FScrollPartHot ? 16 : 0) | Integer(FScrollPart) | (ScrollBarRect().Height() << 5);
}

// Scrolling by a row moves the thumb by a pixel only now and then; the bar is
// drawn again only when what it shows changes.
void TCustomTreeView::RepaintScrollBar()
{
    if (!FScrollBarShown || !HandleAllocated() || !IsWindowVisible(FHandle))
        return;
    Integer thumbTop, thumbHeight;
    ThumbSpan(thumbTop, thumbHeight);
    if (thumbTop == FPaintedThumbTop && thumbHeight == FPaintedThumbHeight && BarState() == FPaintedBarState)
        return;
    HDC dc = GetWindowDC(FHandle);
    PaintScrollBar(dc);
    ReleaseDC(FHandle, dc);
}

// ---- the non-client messages --------------------------------------------------------------------

void TCustomTreeView::WMNCCalcSize(TMessage& m)
{
    inherited::Dispatch(m);
    if (m.LParam == 0)
        return;
    RECT& r = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0];
    InflateRect(r, -FBorderWidth, -FBorderWidth);
    if (FScrollBarShown)
        r.Right -= GetSystemMetrics(SM_CXVSCROLL);
    r.Right = std::max(r.Right, r.Left);
    r.Bottom = std::max(r.Bottom, r.Top);
}

void TCustomTreeView::WMNCPaint(TMessage& m)
{
    inherited::Dispatch(m);
    if (!HandleAllocated())
        return;
    HDC dc = GetWindowDC(FHandle);
    if (FBorderWidth > 0) {
        // The border ring in the control's colour, around client and scroll bar.
        TRect inner = ClientInWindow(FHandle);
        if (FScrollBarShown)
            inner.Right += GetSystemMetrics(SM_CXVSCROLL);
        TRect outer = inner;
        InflateRect(outer, FBorderWidth, FBorderWidth);
        HRGN ring = CreateRectRgnIndirect(outer);
        HRGN hole = CreateRectRgnIndirect(inner);
        CombineRgn(ring, ring, hole, RGN_DIFF);
        HBRUSH brush = CreateSolidBrush(ColorToRGB(GetColor()));
        FillRgn(dc, ring, brush);
        DeleteObject(brush);
        DeleteObject(hole);
        DeleteObject(ring);
    }
    if (FScrollBarShown)
        PaintScrollBar(dc);
    ReleaseDC(FHandle, dc);
}

void TCustomTreeView::WMNCHitTest(TMessage& m)
{
    inherited::Dispatch(m);
    if (FScrollBarShown && HandleAllocated() &&
        PtInRect(ScrollBarRect(), ScreenToWindow(FHandle, LParamToPoint(m.LParam))))
        m.Result = HTVSCROLL;
}

void TCustomTreeView::WMNCLButtonDown(TMessage& m)
{
    if (m.WParam != WPARAM(HTVSCROLL)) {
        inherited::Dispatch(m);
        return;
    }
    StartScrollTracking(ScreenToWindow(FHandle, LParamToPoint(m.LParam)));
}

// Programs scroll the tree as they would its window's own scroll bar, with
// WM_VSCROLL (while dragging over it, for one).
void TCustomTreeView::WMVScroll(TMessage& m)
{
    const Integer page = std::max(VisibleRowCount(), 1);
    switch (LoWord(m.WParam)) {
    case SB_LINEUP: SetTopRow(FTopRow - 1); break;
    case SB_LINEDOWN: SetTopRow(FTopRow + 1); break;
    case SB_PAGEUP: SetTopRow(FTopRow - page); break;
    case SB_PAGEDOWN: SetTopRow(FTopRow + page); break;
    // While its own thumb is dragged the whole row is taken, not the message's
    // 16 bits, as a window reads its scroll bar's track position.
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: SetTopRow(FScrollPart == TScrollPart::Thumb ? FThumbRow : HiWord(m.WParam)); break;
    case SB_TOP: SetTopRow(0); break;
    case SB_BOTTOM: SetTopRow(MaxTopRow()); break;
    }
    m.Result = 0;
}

// ---- tracking ---------------------------------------------------------------------------------------

void TCustomTreeView::ScrollStep(TScrollPart part)
{
    Word request;
    switch (part) {
    case TScrollPart::LineUp: request = SB_LINEUP; break;
    case TScrollPart::LineDown: request = SB_LINEDOWN; break;
    case TScrollPart::PageUp: request = SB_PAGEUP; break;
    case TScrollPart::PageDown: request = SB_PAGEDOWN; break;
    default: return;
    }
    Perform(WM_VSCROLL, request, 0);
}

void TCustomTreeView::StartScrollTracking(TPoint windowPoint)
{
    const TScrollPart part = ScrollPartAt(windowPoint);
    if (part == TScrollPart::None)
        return;
    FScrollPart = part;
    FScrollPartHot = true;
    SetCapture(FHandle);
    if (part == TScrollPart::Thumb) {
        Integer thumbTop, thumbHeight;
        ThumbSpan(thumbTop, thumbHeight);
        FThumbGrab = windowPoint.Y - thumbTop;
        FThumbRow = FTopRow;
    } else {
        ScrollStep(part);
        FreeAndNil(FScrollTimer);
        FScrollTimer = new TTimer(nullptr);
        FScrollTimer->SetInterval(FirstRepeatDelay);
        FScrollTimer->SetOnTimer(TNotifyEvent(this, &TCustomTreeView::ScrollTimer));
    }
    RepaintScrollBar();
}

void TCustomTreeView::ScrollTimer(TObject*)
{
    if (FScrollPart == TScrollPart::None)
        return;
    FScrollTimer->SetInterval(RepeatInterval);
    POINT p;
    GetCursorPos(p);
    FScrollPartHot = ScrollPartAt(ScreenToWindow(FHandle, p)) == FScrollPart;
    if (FScrollPartHot)
        ScrollStep(FScrollPart);
    RepaintScrollBar();
}

void TCustomTreeView::EndScrollTracking()
{
    if (FScrollPart == TScrollPart::None)
        return;
    if (FScrollPart == TScrollPart::Thumb)
        Perform(WM_VSCROLL, MakeWParam(SB_THUMBPOSITION, FThumbRow), 0);
    Perform(WM_VSCROLL, SB_ENDSCROLL, 0);
    FScrollPart = TScrollPart::None;
    FScrollPartHot = false;
    FreeAndNil(FScrollTimer);
    if (GetCapture() == FHandle)
        ReleaseCapture();
    RepaintScrollBar();
}

void TCustomTreeView::TrackScroll(TMessage& m)
{
    switch (m.Msg) {
    case WM_MOUSEMOVE: {
        const TPoint p = WindowPointOfClient(LParamToPoint(m.LParam));
        if (FScrollPart == TScrollPart::Thumb) {
            TRect up, trough, down;
            SplitBar(ScrollBarRect(), up, trough, down);
            Integer thumbTop, thumbHeight;
            ThumbSpan(thumbTop, thumbHeight);
            const Integer travel = trough.Height() - thumbHeight;
            const Integer offset = p.Y - FThumbGrab - trough.Top;
            if (travel <= 0)
                return;
            const Integer row = Integer((Int64(std::clamp(offset, 0, travel)) * MaxTopRow() + travel / 2) / travel);
            if (row == FThumbRow)
                return;
            FThumbRow = row;
            Perform(WM_VSCROLL, MakeWParam(SB_THUMBTRACK, row), 0);
        } else {
            const bool hot = ScrollPartAt(p) == FScrollPart;
            if (hot != FScrollPartHot) {
                FScrollPartHot = hot;
                RepaintScrollBar();
            }
        }
        return;
    }
    case WM_LBUTTONUP:
        EndScrollTracking();
        return;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(m.LParam) != FHandle)
            EndScrollTracking();
        return;
    default:
        return;
    }
}

} // namespace ld
