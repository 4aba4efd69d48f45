#include "apps/designer/DragOutline.h"

#include "platform/gfx/Colors.h"
#include "platform/gfx/GdiObjects.h"
#include "platform/gfx/Painting.h"
#include "platform/gfx/RectUtils.h"
#include "platform/win/Paint.h"

namespace ld {

TDragOutline::~TDragOutline() { Hide(); }

namespace {

// Flips the two top bits of each colour channel: a frame that shows on white,
// on the bar's grey and on black alike (inverting every bit leaves a mid grey
// unchanged to the eye), and drawn again it is gone.
constexpr TColor OutlineXor = 0xC0C0C0;
constexpr Integer OutlineWidth = 2;

void InvertFrame(HDC dc, const TRect& r)
{
    const Integer w = r.Width(), h = r.Height(), t = OutlineWidth;
    if (w <= 2 * t || h <= 2 * t) {
        PatBlt(dc, r.Left, r.Top, w, h, PATINVERT);
        return;
    }
    // Four strips that do not overlap: a pixel flipped twice would not show.
    PatBlt(dc, r.Left, r.Top, w, t, PATINVERT);
    PatBlt(dc, r.Left, r.Bottom - t, w, t, PATINVERT);
    PatBlt(dc, r.Left, r.Top + t, t, h - 2 * t, PATINVERT);
    PatBlt(dc, r.Right - t, r.Top + t, t, h - 2 * t, PATINVERT);
}

} // namespace

// Over the children as well: the outline of a control dragged onto a sheet
// shows on the sheet.
void TDragOutline::Invert(const std::vector<TRect>& rects)
{
    if (FForm == nullptr || !FForm->HandleAllocated() || rects.empty())
        return;
    const HWND window = FForm->GetHandle();
    HDC dc = GetDCEx(window, nullptr, DCX_CACHE);
    if (dc == nullptr)
        return;
    HBRUSH brush = CreateSolidBrush(ColorToRGB(OutlineXor));
    HGDIOBJ old = SelectObject(dc, brush);
    for (const TRect& r : rects)
        InvertFrame(dc, r);
    SelectObject(dc, old);
    DeleteObject(brush);
    ReleaseDC(window, dc);
}

void TDragOutline::Show(TCustomForm* form, const std::vector<TRect>& rects)
{
    if (form != FForm) {
        Hide();
        FForm = form;
    }
    if (rects == FRects)
        return;
    Invert(FRects);
    FRects = rects;
    Invert(FRects);
    for (const TRect& r : FRects)
        UnionRect(FCovered, FCovered, r);
}

void TDragOutline::Hide()
{
    Invert(FRects);
    FRects.clear();
    // Whatever painted beneath the outlines meanwhile is painted again.
    if (FForm != nullptr && FForm->HandleAllocated() && !IsRectEmpty(FCovered))
        RedrawWindow(FForm->GetHandle(), &FCovered, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    FCovered = {0, 0, 0, 0};
    FForm = nullptr;
}

} // namespace ld
