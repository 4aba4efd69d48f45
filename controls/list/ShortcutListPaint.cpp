// TShortcutList: painting. Background, then each item (the hot item's frame or
// band, icon, caption), then the drop marker of an item drag, then the dotted
// frame of design time. The list fills its own background; the platform erases
// it only while an animated scroll uncovers strips.
#include "controls/list/ShortcutList.h"

#include <algorithm>

#include "controls/shared/ShortcutColors.h"
#include "platform/gfx/RectUtils.h"
#include "platform/gfx/Text.h"

namespace ld {

namespace {

// A one-pixel bevel: the first pen draws the left and top edges from the
// bottom-left corner, the second the right and bottom edges back to the left.
// EndLeft is where the bottom edge stops (excluded): L leaves the bottom-left
// corner to the first pen, L - 1 gives it to the second.
void DrawBevel(TCanvas* canvas, const TRect& r, TColor first, TColor second, Integer endLeft)
{
    canvas->MoveTo(r.Left, r.Bottom - 1);
    canvas->GetPen()->SetColor(first);
    canvas->LineTo(r.Left, r.Top);
    canvas->LineTo(r.Right - 1, r.Top);
    canvas->GetPen()->SetColor(second);
    canvas->LineTo(r.Right - 1, r.Bottom - 1);
    canvas->LineTo(endLeft, r.Bottom - 1);
}

constexpr Integer ArrowheadWidth = 8;

// The arrowhead halves are columns of heights 4, 4, 3, 3, 2, 2, 1, 1 from each
// end inward.
Integer ArrowheadHeight(Integer column) { return 4 - column / 2; }

} // namespace

void TShortcutList::Paint()
{
    TCanvas* canvas = GetCanvas();
    const TRect client = GetClientRect();
    Get3DColors(GetColor(), FShadowColor, FHighlightColor, FLightColor);
    const bool fullSelect = IsFullSelect();
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(client);
    canvas->SetFont(GetFont());
    if (FItems->GetCount() > 0)
        PaintItems(canvas, fullSelect);
    PaintDropMarker(canvas);
    if (Designing()) {
        canvas->GetPen()->SetStyle(psDot);
        canvas->GetBrush()->SetStyle(bsClear);
        canvas->Rectangle(client);
        canvas->GetPen()->SetStyle(psSolid);
        canvas->GetBrush()->SetStyle(bsSolid);
    }
}

// The items whose frame, band, icon or caption reaches into the paint area.
// While the items lie in their slots (see PlaceItems), the paint starts at
// the slot that holds the area's top and stops at the first slot below it;
// otherwise every item is tried.
void TShortcutList::PaintItems(TCanvas* canvas, bool fullSelect)
{
    const TListMetrics m = Metrics();
    const TRect clip = canvas->GetClipRect();
    HDC dc = canvas->GetHandle();
    const bool inSlots = ItemsInSlots(m);
    const std::vector<void*>& items = FItems->List();
    const Integer first = inSlots ? std::max<Integer>(0, LastItemWithTopAtOrAbove(FItems, clip.Top + m.HalfGap())) : 0;
    for (size_t i = size_t(first); i < items.size(); ++i) {
        auto* item = static_cast<TShortcutItem*>(items[i]);
        if (inSlots && item->FTop - m.HalfGap() >= clip.Bottom)
            break;
        const TRect itemRect = ItemRectOf(m, dc, item->FLeft, item->FTop, item->FCaption);
        const TRect highlight = HighlightRectFor(m, itemRect, item->FLeft, item->FTop);
        TRect reach;
        UnionRect(reach, highlight, itemRect);
        if (reach.Top < clip.Bottom && reach.Bottom > clip.Top)
            PaintItem(canvas, m, item, highlight, fullSelect);
    }
}

// Full-select draws the hot item on a button-face band, its caption black,
// and a pressed item one pixel right and down; otherwise only a frame around
// the icon marks it.
void TShortcutList::PaintItem(TCanvas* canvas, const TListMetrics& m, TShortcutItem* item, const TRect& highlight,
                              bool fullSelect)
{
    HDC dc = canvas->GetHandle();
    Integer offset = 0;
    canvas->GetBrush()->SetColor(GetColor());
    TColor textColor = GetFont()->GetColor();
    if (item == FActiveItem) {
        if (!fullSelect) {
            DrawOutline(highlight, FActiveState);
        } else {
            canvas->GetBrush()->SetColor(clBtnFace);
            offset = FActiveState == siDown ? 1 : 0;
            DrawSelected(highlight, FActiveState);
            textColor = clBlack;
        }
    }
    // Disabled items look the same as enabled ones.
    if (TCustomImageList* images = GetActiveImages())
        images->Draw(canvas, item->FLeft + offset, item->FTop + offset, item->FImageIndex, true);
    if (item->FCaption.empty())
        return;
    TRect text = TextRectOf(m, dc, item->FLeft, item->FTop, item->FCaption);
    OffsetRect(text, offset, offset);
    canvas->GetFont()->SetColor(textColor);
    DrawText(canvas->GetHandle(), item->FCaption, text, DT_WORDBREAK | DT_CENTER);
    canvas->GetFont()->SetColor(GetFont()->GetColor());
}

void TShortcutList::DrawOutline(const TRect& rect, TShortcutItemState state)
{
    if (state == siNone)
        return;
    const bool raised = state == siUp;
    DrawBevel(GetCanvas(), rect, raised ? FHighlightColor : FShadowColor, raised ? FShadowColor : FHighlightColor,
              rect.Left);
}

void TShortcutList::DrawSelected(const TRect& rect, TShortcutItemState state)
{
    if (state == siNone)
        return;
    const bool raised = state == siUp;
    TCanvas* canvas = GetCanvas();
    DrawBevel(canvas, rect, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight,
              rect.Left - 1);
    TRect inside = rect;
    InflateRect(inside, -1, -1);
    canvas->FillRect(inside);
}

// A line across the gap's middle with solid arrowheads pointing inward at both
// ends; appending after the last item shows only their upper halves.
void TShortcutList::PaintDropMarker(TCanvas* canvas)
{
    const TListDropState& drop = ListDropState();
    if (drop.DropList != this || drop.DropKind == 0)
        return;
    const TRect& r = drop.DropRect;
    const Integer y = r.Top + (r.Bottom - r.Top) / 2;
    const bool lowerHalves = drop.DropKind != 2 || FItems->GetCount() == 0;
    canvas->GetPen()->SetColor(clBlack);
    canvas->MoveTo(r.Left, y);
    canvas->LineTo(r.Right, y);
    for (Integer i = 0; i < ArrowheadWidth; ++i) {
        const Integer h = ArrowheadHeight(i);
        for (const Integer x : {r.Left + i, r.Right - 1 - i}) {
            canvas->MoveTo(x, y - h);
            canvas->LineTo(x, y);
            if (lowerHalves) {
                canvas->MoveTo(x, y + h);
                canvas->LineTo(x, y);
            }
        }
    }
}

// Paint fills the background itself; only the strips an animated scroll
// uncovers are erased by the platform, at once.
void TShortcutList::WMEraseBkgnd(TMessage& message)
{
    if (!FScrolling) {
        message.Result = 1;
        return;
    }
    message.Result = 0;
    inherited::Dispatch(message);
}

} // namespace ld
