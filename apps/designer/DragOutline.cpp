#include "apps/designer/DragOutline.h"

#include "platform/gfx/Painting.h"
#include "platform/gfx/RectUtils.h"
#include "platform/win/Paint.h"

namespace ld {

TDragOutline::~TDragOutline() { Hide(); }

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
    for (const TRect& r : rects) {
        DrawFocusRect(dc, r);
        if (r.Width() > 2 && r.Height() > 2)
            DrawFocusRect(dc, {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1});
    }
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
