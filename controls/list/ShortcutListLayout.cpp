// TShortcutList: where the list sits on its sheet and where each item, icon,
// caption and highlight lies. Nothing is cached: every rectangle is measured
// again when asked, from the item's icon origin and the list's metrics.
#include "controls/list/ShortcutList.h"

#include <algorithm>

#include "controls/shared/ShortcutButton.h"
#include "platform/gfx/RectUtils.h"
#include "platform/gfx/Text.h"

namespace ld {

namespace {

constexpr Integer CaptionSpacing = 4; // between the icon and its caption
constexpr Integer SheetMargin = 5;    // around a list on its sheet, unless full-select
constexpr Integer OutlineWidth = 2;   // the icon frame of the hot item lies this far out

// An empty caption still takes one line.
std::string_view MeasuredText(const std::string& caption)
{
    return caption.empty() ? std::string_view(" ") : std::string_view(caption);
}

} // namespace

// ---- geometry as plain functions -------------------------------------------------------------

TRect IconRectOf(const TListMetrics& m, Integer left, Integer top, bool inflate)
{
    TRect r{left, top, left + m.ImageWidth, top + m.ImageHeight};
    if (inflate)
        InflateRect(r, OutlineWidth, OutlineWidth);
    return r;
}

// Large: wrapped within the client width and centred on it, below the icon (a
// word wider than the client widens the rectangle past both sides). Small: one
// line right of the icon, top aligned with it.
TRect TextRectOf(const TListMetrics& m, HDC dc, Integer left, Integer top, const std::string& caption)
{
    if (m.Style == ssLargeImages) {
        const Integer y = top + m.ImageHeight + CaptionSpacing;
        TRect r{0, y, m.ClientWidth, y};
        DrawText(dc, MeasuredText(caption), r, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK | DT_CENTER);
        const Integer width = r.Right - r.Left;
        r.Left = m.ClientWidth / 2 - width / 2;
        r.Right = r.Left + width;
        return r;
    }
    const Integer x = left + m.ImageWidth + CaptionSpacing;
    TRect r{x, top, x, top + m.ImageHeight};
    DrawText(dc, MeasuredText(caption), r, DT_CALCRECT | DT_NOPREFIX);
    return r;
}

TRect ItemRectOf(const TListMetrics& m, HDC dc, Integer left, Integer top, const std::string& caption)
{
    TRect r;
    UnionRect(r, TextRectOf(m, dc, left, top, caption), IconRectOf(m, left, top, false));
    return r;
}

TRect HighlightRectOf(const TListMetrics& m, HDC dc, Integer left, Integer top, const std::string& caption)
{
    if (!m.FullSelect)
        return IconRectOf(m, left, top, true);
    return HighlightRectFor(m, ItemRectOf(m, dc, left, top, caption), left, top);
}

TRect HighlightRectFor(const TListMetrics& m, const TRect& itemRect, Integer left, Integer top)
{
    if (!m.FullSelect)
        return IconRectOf(m, left, top, true);
    return {0, itemRect.Top - m.HalfGap(), m.Width, itemRect.Bottom + m.HalfGap()};
}

TRect ListRectOnSheet(Integer sheetClientWidth, Integer sheetClientHeight, bool fullSelect)
{
    const Integer margin = fullSelect ? 0 : SheetMargin;
    const Integer width = sheetClientWidth - 2 * margin;
    const Integer height = sheetClientHeight - 2 * margin;
    const Integer left = sheetClientWidth / 2 - width / 2;
    return Bounds(left, margin, width, height);
}

Integer LastItemWithTopAtOrAbove(const TShortcutItems* items, Integer y)
{
    const std::vector<void*>& list = items->List();
    const auto after = std::upper_bound(list.begin(), list.end(), y, [](Integer value, const void* p) {
        return value < static_cast<const TShortcutItem*>(p)->GetTop();
    });
    return static_cast<Integer>(after - list.begin()) - 1;
}

// ---- the list's own metrics ------------------------------------------------------------------

TCustomImageList* TShortcutList::GetActiveImages() const
{
    return FStyle == ssLargeImages ? FLargeImages : FSmallImages;
}

TSize TShortcutList::GetDefaultImageSize() const
{
    return FStyle == ssLargeImages ? TSize{32, 32} : TSize{16, 16};
}

bool TShortcutList::IsFullSelect() const
{
    const TShortcutListSheet* sheet = Sheet();
    return sheet != nullptr && sheet->ListFullSelect();
}

TListMetrics TShortcutList::Metrics() const
{
    TListMetrics m;
    m.Style = FStyle;
    if (const TCustomImageList* images = GetActiveImages()) {
        m.ImageWidth = images->GetWidth();
        m.ImageHeight = images->GetHeight();
    } else {
        const TSize size = GetDefaultImageSize();
        m.ImageWidth = size.cx;
        m.ImageHeight = size.cy;
    }
    const TRect client = GetClientRect();
    m.ClientWidth = client.Width();
    m.ClientHeight = client.Height();
    m.Width = GetWidth();
    m.FullSelect = IsFullSelect();
    return m;
}

// Captions are measured in the list's font on its own canvas. A list without
// a parent has no window to measure on (and cannot have one): a bitmap's
// canvas measures the same, so its geometry still answers.
HDC TShortcutList::MeasuringDC() const
{
    TCanvas* canvas = GetCanvas();
    if (!HandleAllocated() && GetParent() == nullptr) {
        if (FMeasuringBitmap == nullptr)
            FMeasuringBitmap = std::make_unique<TBitmap>(1, 1);
        canvas = FMeasuringBitmap->GetCanvas();
    }
    canvas->SetFont(GetFont());
    return canvas->GetHandle();
}

TRect TShortcutList::GetIconRect(TShortcutItem* item, bool inflate) const
{
    return IconRectOf(Metrics(), item->FLeft, item->FTop, inflate);
}

TRect TShortcutList::GetTextRect(TShortcutItem* item) const
{
    return TextRectOf(Metrics(), MeasuringDC(), item->FLeft, item->FTop, item->FCaption);
}

TRect TShortcutList::GetItemRect(TShortcutItem* item) const
{
    return ItemRectOf(Metrics(), MeasuringDC(), item->FLeft, item->FTop, item->FCaption);
}

TRect TShortcutList::GetHighlightRect(TShortcutItem* item) const
{
    const TListMetrics m = Metrics();
    if (!m.FullSelect)
        return IconRectOf(m, item->FLeft, item->FTop, true);
    return HighlightRectOf(m, MeasuringDC(), item->FLeft, item->FTop, item->FCaption);
}

TShortcutItem* TShortcutList::FirstItemWhere(const std::function<bool(const TRect&)>& test) const
{
    if (FItems->GetCount() == 0)
        return nullptr;
    const TListMetrics m = Metrics();
    HDC dc = MeasuringDC();
    for (void* p : FItems->List()) {
        auto* item = static_cast<TShortcutItem*>(p);
        if (test(ItemRectOf(m, dc, item->FLeft, item->FTop, item->FCaption)))
            return item;
    }
    return nullptr;
}

// Slots do not overlap, so only the item whose slot holds the point can hold
// it; otherwise the first item that holds it, walking from the first.
TShortcutItem* TShortcutList::GetItemAt(Integer x, Integer y) const
{
    const TListMetrics m = Metrics();
    if (!ItemsInSlots(m))
        return FirstItemWhere([x, y](const TRect& r) { return PtInRect(r, {x, y}); });
    TShortcutItem* item = FItems->GetItem(LastItemWithTopAtOrAbove(FItems, y + m.HalfGap()));
    if (item == nullptr || !PtInRect(ItemRectOf(m, MeasuringDC(), item->FLeft, item->FTop, item->FCaption), {x, y}))
        return nullptr;
    return item;
}

bool TShortcutList::ItemsInSlots(const TListMetrics& m) const
{
    return FItemsInSlots && FItems->GetUpdateCount() == 0 && m == FSlotMetrics;
}

// ---- layout -------------------------------------------------------------------------------

void TShortcutList::LayoutChanged()
{
    if (Loading() || !HandleAllocated() || GetParent() == nullptr) {
        // Whatever changed is not placed: the items may lie anyhow.
        FItemsInSlots = false;
        return;
    }
    if (Sheet() != nullptr)
        PlaceOnSheet();
    if (FUpButton != nullptr)
        PlaceScrollButtons();
    PlaceItems();
    if (FItems->GetCount() > 0 && GetTopItem() == nullptr)
        RealignTopItem();
    SetScrollButtons();
    Invalidate();
}

// Through the inherited setter: the list's own refuses every other bounds.
// The size message this sends runs a nested layout with the same result.
void TShortcutList::PlaceOnSheet()
{
    TWinControl* sheet = GetParent();
    const TRect r = ListRectOnSheet(sheet->GetClientWidth(), sheet->GetClientHeight(), IsFullSelect());
    inherited::SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

// Both at the right edge, both as big as the up button.
void TShortcutList::PlaceScrollButtons()
{
    const Integer width = FUpButton->GetWidth();
    const Integer height = FUpButton->GetHeight();
    const Integer left = GetClientWidth() - width;
    FUpButton->SetBounds(left, 0, width, height);
    FDownButton->SetBounds(left, GetClientHeight() - FDownButton->GetHeight(), width, height);
}

// One item under the other from the top line, shifted by the scroll offset.
//
// An item's slot reaches from half a gap above its top to half a gap above
// the next item's top; the slots follow one another without overlapping.
// Normally everything an item shows or answers to (its item rectangle and its
// highlight) lies within its slot, so hit testing and painting can bisect the
// tops for the one slot they need. Unusual image sizes can break that; the
// layout notes whether it holds, and where it does not they walk every item.
void TShortcutList::PlaceItems()
{
    const TListMetrics m = Metrics();
    FSlotMetrics = m;
    FItemsInSlots = true;
    if (FItems->GetCount() == 0)
        return;
    HDC dc = MeasuringDC();
    const Integer x = m.IconLeft();
    Integer y = m.HalfGap() + FScrollOffset;
    for (void* p : FItems->List()) {
        auto* item = static_cast<TShortcutItem*>(p);
        item->FLeft = x;
        item->FTop = y;
        const TRect itemRect = ItemRectOf(m, dc, x, y, item->FCaption);
        const Integer next = y + m.Gap() + itemRect.Height();
        TRect reach;
        UnionRect(reach, HighlightRectFor(m, itemRect, x, y), itemRect);
        if (!IsRectEmpty(reach) && (reach.Top < y - m.HalfGap() || reach.Bottom > next - m.HalfGap()))
            FItemsInSlots = false;
        y = next;
    }
}

} // namespace ld
