// TLaunchdeck: where the tabs and the open sheet lie, the scroll buttons, the
// scrolling of the tab stack and hit testing. Nothing is cached: every
// rectangle is computed from a few fields when asked.
#include <algorithm>

#include "controls/bar/Launchdeck.h"
#include "controls/list/ShortcutList.h"
#include "controls/shared/ShortcutButton.h"
#include "platform/gfx/RectUtils.h"
#include "platform/win/Paint.h"

namespace ld {

// Tabs 0 .. Active are stacked down from the top, shifted by the scroll
// offset; the tabs after the active one end at the client bottom, unless the
// open sheet would then be lower than MinSheetHeight.
TRect GroupRectOf(const TGroupMetrics& m, Integer index, bool checkRange)
{
    if (checkRange && (index < 0 || index > m.VisibleCount - 1))
        return {};
    if (m.Active < 0)
        return {};
    const Integer pitch = m.Pitch();
    // One pitch for every tab passed (none for an index below 0).
    Integer y = m.Client.Top + m.ScrollOffset + std::max<Integer>(index, 0) * pitch;
    if (index > m.Active) {
        // Where the stack below the open sheet starts, instead of right under
        // the active tab.
        const Integer belowActive = m.Client.Top + m.ScrollOffset + (m.Active + 1) * pitch;
        const Integer bottomStack = m.Client.Bottom - (m.VisibleCount - m.Active - 1) * pitch + m.Gap();
        const Integer stackTop = bottomStack - belowActive < m.MinSheetHeight ? belowActive + m.MinSheetHeight : bottomStack;
        y += stackTop - belowActive;
    }
    return {m.Client.Left, y, m.Client.Right, y + m.TabHeight};
}

// With gaps the sheet fills the room between the active tab and the next one;
// flat, its top row is the active tab's last row.
TRect SheetRectOf(const TGroupMetrics& m)
{
    if (m.Active < 0)
        return {};
    const Integer pitch = m.Pitch();
    TRect r = m.Client;
    r.Top = r.Top + (m.Active + 1) * pitch - 1 + m.ScrollOffset;
    r.Bottom = r.Bottom - (m.VisibleCount - m.Active - 1) * pitch;
    if (r.Bottom - r.Top < m.MinSheetHeight)
        r.Bottom = r.Top + m.MinSheetHeight;
    if (!m.Flat)
        r.Bottom += 1;
    return r;
}

TGroupMetrics TLaunchdeck::Metrics() const
{
    TGroupMetrics m;
    m.TabHeight = FTabHeight;
    m.Flat = FOptions.Contains(soFlatTabs);
    m.ScrollOffset = FScrollOffset;
    m.MinSheetHeight = FMinSheetHeight;
    m.Active = FActiveSheet != nullptr ? FActiveSheet->GetVisibleSheetIndex() : -1;
    m.VisibleCount = GetVisibleSheetCount();
    m.Client = GetClientRect();
    return m;
}

TRect TLaunchdeck::InternalGetGroupRect(Integer index, bool checkRange) const
{
    return GroupRectOf(Metrics(), index, checkRange);
}

Integer TLaunchdeck::GetGroupAtPos(TPoint point) const
{
    const TGroupMetrics m = Metrics();
    for (Integer i = 0; i < m.VisibleCount; ++i)
        if (PtInRect(GroupRectOf(m, i, true), point))
            return i;
    return -1;
}

void TLaunchdeck::InvalidateGroup(Integer index)
{
    if (index == -1 || !HandleAllocated())
        return;
    const TRect r = GetGroupRect(index);
    InvalidateRect(FHandle, &r, false);
    Update();
}

void TLaunchdeck::LayoutChanged()
{
    if (!HandleAllocated())
        return;
    const TRect sheetRect = SheetRectOf(Metrics());
    // Hidden sheets get it too, so that showing one needs no extra placing.
    for (void* p : FSheets->List())
        static_cast<TShortcutSheet*>(p)->SetSheetBounds(sheetRect);
    if (!ComponentState().Contains(csDesigning))
        PlaceScrollButtons();
    SetScrollButtons();
    CheckChildren(this);
    Invalidate();
}

void TLaunchdeck::PlaceScrollButtons()
{
    const Integer width = GetClientWidth();
    FUpButton->SetBounds(0, 0, width, ScrollButtonHeight);
    FUpButton->BringToFront();
    FDownButton->SetBounds(0, GetClientHeight() - ScrollButtonHeight, width, ScrollButtonHeight);
    FDownButton->BringToFront();
}

void TLaunchdeck::SetScrollButtons()
{
    if (ComponentState().Contains(csDesigning) || FUpButton == nullptr)
        return;
    const TGroupMetrics m = Metrics();
    bool hiddenAbove = false;
    bool hiddenBelow = false;
    for (Integer i = 0; i < m.VisibleCount; ++i) {
        const TRect r = GroupRectOf(m, i, true);
        hiddenAbove = hiddenAbove || r.Top < 0;
        hiddenBelow = hiddenBelow || r.Bottom > m.Client.Height();
    }
    FUpButton->SetVisible(hiddenAbove);
    FDownButton->SetVisible(hiddenBelow);
}

void TLaunchdeck::AdjustRectForButtons(TRect& rect) const
{
    if (FUpButton != nullptr && FUpButton->GetVisible() && rect.Top < FUpButton->GetHeight())
        rect.Top = FUpButton->GetHeight();
    if (FDownButton != nullptr && FDownButton->GetVisible()) {
        const Integer limit = GetClientHeight() - FDownButton->GetHeight();
        if (rect.Bottom > limit)
            rect.Bottom = limit;
    }
}

void TLaunchdeck::EnsureSheetVisible(TShortcutSheet* sheet)
{
    if (sheet == nullptr || ComponentState().Contains(csDesigning) || FActiveSheet == nullptr ||
        sheet->FLaunchdeck != this)
        return;
    const Integer index = sheet->GetVisibleSheetIndex();
    if (index == -1)
        return;
    const Integer oldOffset = FScrollOffset;
    const Integer last = GetVisibleSheetCount() - 1;
    Integer bottomLimit = GetClientHeight();
    if (FDownButton != nullptr && FDownButton->GetVisible() && index != last)
        bottomLimit -= FDownButton->GetHeight();
    Integer topLimit = 0;
    if (FUpButton != nullptr && FUpButton->GetVisible() && index != 0)
        topLimit = FUpButton->GetHeight();
    // A tab below the open sheet that rests against the client bottom does not
    // follow a smaller offset, and never will: such a step ends the loop. (A
    // larger offset always frees it, so the second loop needs no such test.)
    TRect r = GetGroupRect(index);
    while (r.Bottom > bottomLimit) {
        FScrollOffset -= ScrollStep;
        const TRect next = GetGroupRect(index);
        if (next == r) {
            FScrollOffset += ScrollStep;
            break;
        }
        r = next;
    }
    while (GetGroupRect(index).Top < topLimit)
        FScrollOffset += ScrollStep;
    if (FScrollOffset != oldOffset)
        LayoutChanged();
}

void TLaunchdeck::UpButtonClick(TObject*)
{
    FScrollOffset += ScrollStep;
    LayoutChanged();
}

void TLaunchdeck::DownButtonClick(TObject*)
{
    FScrollOffset -= ScrollStep;
    LayoutChanged();
}

void TLaunchdeck::CheckChildren(TControl* control)
{
    auto* parent = dynamic_cast<TWinControl*>(control);
    if (parent == nullptr)
        return;
    for (Integer i = 0; i < parent->GetControlCount(); ++i) {
        auto* child = dynamic_cast<TWinControl*>(parent->GetControl(i));
        if (child == nullptr)
            continue;
        if (auto* list = dynamic_cast<TShortcutList*>(child))
            list->LayoutChanged();
        CheckChildren(child);
    }
}

} // namespace ld
