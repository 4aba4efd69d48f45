// TShortcutList: scrolling. The arrow buttons, the top item, the one-item
// steps, scrolling an item into view and the animated scroll. An item's
// rectangle always starts on the top line (half a gap down) after a step; a
// scroll moves the window's pixels for 40 ms, then repaints at the exact end.
#include "controls/list/ShortcutList.h"

#include <algorithm>
#include <cstdlib>

#include "controls/shared/AnimationTicks.h"
#include "controls/shared/ShortcutButton.h"
#include "platform/gfx/Gdi.h"
#include "platform/win/Paint.h"

namespace ld {

namespace {

constexpr DWORD ScrollDuration = 40; // ms

} // namespace

// Note the two comparisons: strictly above the top line for the up arrow,
// reaching the bottom line for the down arrow.
void TShortcutList::SetScrollButtons()
{
    if (Designing() || FUpButton == nullptr)
        return;
    const TListMetrics m = Metrics();
    bool canUp = false;
    bool canDown = false;
    if (FItems->GetCount() > 0) {
        HDC dc = MeasuringDC();
        for (void* p : FItems->List()) {
            auto* item = static_cast<TShortcutItem*>(p);
            const TRect r = ItemRectOf(m, dc, item->FLeft, item->FTop, item->FCaption);
            canUp = canUp || r.Top < m.TopLine();
            canDown = canDown || r.Bottom >= m.BottomLine();
        }
    }
    FUpButton->SetVisible(canUp);
    FDownButton->SetVisible(canDown);
}

TShortcutItem* TShortcutList::GetTopItem() const
{
    const Integer topLine = Metrics().TopLine();
    return FirstItemWhere([topLine](const TRect& r) { return r.Top == topLine; });
}

// The first item that straddles the top line slides down onto it.
void TShortcutList::RealignTopItem()
{
    const Integer topLine = Metrics().TopLine();
    auto straddles = [topLine](const TRect& r) { return r.Top < topLine && topLine < r.Bottom; };
    if (TShortcutItem* item = FirstItemWhere(straddles))
        ScrollItems(topLine - GetItemRect(item).Top);
}

// The top item leaves by its own height and the gap, so the next one lands on
// the top line. Without a top item nothing happens.
void TShortcutList::DownButtonClick(TObject*)
{
    TShortcutItem* top = GetTopItem();
    if (top == nullptr)
        return;
    ScrollItems(-(GetItemRect(top).Height() + GetItemGap()));
    SetScrollButtons();
}

// The item before the top one enters by its height and the gap. Without a top
// item (after a down step from the last item) the last item counts as the top.
void TShortcutList::UpButtonClick(TObject*)
{
    TShortcutItem* top = GetTopItem();
    if (top == nullptr && FItems->GetCount() > 0)
        top = FItems->GetItem(FItems->GetCount() - 1);
    if (top == nullptr)
        return;
    const Integer index = top->GetIndex();
    if (index == 0)
        return;
    TShortcutItem* previous = FItems->GetItem(index - 1);
    ScrollItems(GetItemRect(previous).Height() + GetItemGap());
    SetScrollButtons();
}

// A step that moves nothing (no item on the top line, or the first item
// already there) would repeat forever: the loop then realigns the top item
// once and gives up if that moves nothing either.
// The wheel works the arrows, one item per notch, and the item now under the
// unmoved pointer is the hot one. Where the arrow is hidden the list cannot
// scroll that way and the notch goes on to its sheet; an open caption editor
// keeps its item in place: the wheel then does nothing.
bool TShortcutList::WheelStep(TShortcutButton* button, void (TShortcutList::*step)(TObject*))
{
    if (button == nullptr || !button->GetVisible())
        return false;
    if (FEdit != nullptr)
        return true;
    (this->*step)(button);
    UpdateActiveItem();
    return true;
}

bool TShortcutList::DoMouseWheelDown(TShiftState shift, TPoint mousePos)
{
    return inherited::DoMouseWheelDown(shift, mousePos) || WheelStep(FDownButton, &TShortcutList::DownButtonClick);
}

bool TShortcutList::DoMouseWheelUp(TShiftState shift, TPoint mousePos)
{
    return inherited::DoMouseWheelUp(shift, mousePos) || WheelStep(FUpButton, &TShortcutList::UpButtonClick);
}

void TShortcutList::EnsureItemVisible(TShortcutItem* item)
{
    if (TShortcutListSheet* sheet = Sheet())
        sheet->OpenSheetForList();
    if (item == nullptr || item->GetShortcutList() != this)
        return;
    auto step = [this](void (TShortcutList::*click)(TObject*)) {
        const Integer before = FScrollOffset;
        (this->*click)(this);
        if (FScrollOffset != before)
            return true;
        RealignTopItem();
        return FScrollOffset != before;
    };
    while (GetItemRect(item).Bottom > Metrics().BottomLine())
        if (!step(&TShortcutList::DownButtonClick))
            break;
    while (GetItemRect(item).Top < Metrics().TopLine())
        if (!step(&TShortcutList::UpButtonClick))
            break;
}

void TShortcutList::ScrollItems(Integer amount)
{
    if (amount == 0)
        return;
    if (HandleAllocated())
        AnimateScroll(amount);
    for (void* p : FItems->List())
        static_cast<TShortcutItem*>(p)->FTop += amount;
    FScrollOffset += amount;
    Invalidate();
    Update();
}

// Each frame moves the window contents by Step pixels and erases the strip it
// uncovers at once; the step is sized so that, at the speed reached so far,
// the rest would take the time left. A window across the tick count's wrap
// point is empty and shows the end at once.
void TShortcutList::AnimateScroll(Integer amount)
{
    const Integer direction = amount > 0 ? 1 : -1;
    const double distance = std::abs(static_cast<double>(amount));
    const TRect client = GetClientRect();
    HWND window = GetHandle();
    TTickWindow ticks(ScrollDuration);
    Integer step = 1;
    double done = 0;
    FScrolling = true;
    try {
        while (ticks.Open()) {
            HRGN uncovered = CreateRectRgnIndirect(client);
            ScrollWindowEx(window, 0, step * direction, nullptr, nullptr, uncovered, nullptr, SW_INVALIDATE | SW_ERASE);
            RedrawWindow(window, nullptr, uncovered, RDW_ERASENOW | RDW_NOINTERNALPAINT);
            DeleteObject(uncovered);
            done += step;
            ticks.WaitForNextTick();
            step = ticks.NextStep(done, distance - done);
        }
    } catch (...) {
        FScrolling = false;
        throw;
    }
    FScrolling = false;
}

} // namespace ld
