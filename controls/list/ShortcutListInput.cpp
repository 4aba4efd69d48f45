// TShortcutList: how the list answers the user. The item under the pointer is
// hot (raised) and a 100 ms timer watches for the pointer leaving unannounced;
// a left press shows the item pressed and a release on it clicks it; presses
// and releases on empty space belong to the parent; an accelerator in a
// caption clicks its item; a pressed item moved 5 pixels is dragged, and a
// drop in a gap between items (or below the last) moves it there, in this
// list or another.
//
// Sections: entering and leaving; hot tracking; buttons; accelerators; the
// item drag.
//
// The hot item and its state (FActiveItem, FActiveState):
//
//   none   --pointer on an enabled item-->  hot, siUp
//   siUp   --left press-->                  siDown (FPressed, capture)
//   siDown --off the item / back on it-->   siNone / siDown (still pressed)
//   siDown --5 pixels, CanReorder-->        siNone, item drag
//   release on the item: siUp and a click; elsewhere: none once the pointer
//   leaves. Cancel mode, the pointer leaving, and the end of an item drag
//   (on the list it began from) clear it.
#include "controls/list/ShortcutList.h"
#include "controls/shared/ShortcutEdit.h"

#include <cstdlib>

#include "platform/gfx/RectUtils.h"
#include "platform/vcl/DragDrop.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"

namespace ld {

namespace {

constexpr Cardinal LeaveInterval = 100;
// The list's own drag threshold; the platform's drag then starts at once.
constexpr Integer ReorderThreshold = 5;

bool MovedPastThreshold(const TPoint& from, const TPoint& to)
{
    return std::abs(to.X - from.X) >= ReorderThreshold || std::abs(to.Y - from.Y) >= ReorderThreshold;
}

} // namespace

bool TShortcutList::DispatchInput(TMessage& message)
{
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: WMButtonDown(message); return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: WMButtonUp(message); return true;
    case WM_CANCELMODE: WMCancelMode(message); return true;
    case CM_MOUSEENTER: CMMouseEnter(message); return true;
    case CM_MOUSELEAVE: CMMouseLeave(message); return true;
    case CM_DIALOGCHAR: CMDialogChar(message); return true;
    case SEM_FINISHED: SEMFinsihed(message); return true;
    }
    return false;
}

// The pointer as the window system has it now, in client pixels.
TPoint TShortcutList::CursorInClient() const
{
    POINT cursor;
    GetCursorPos(cursor);
    return ScreenToClient(cursor);
}

bool TShortcutList::Showing() const
{
    for (const TControl* control = this; control != nullptr; control = control->GetParent())
        if (!control->GetVisible())
            return false;
    return true;
}

// ---- entering and leaving ----------------------------------------------------------------

// The window system also tells a parent of its children's enter and leave,
// naming the child in lParam. The pointer on an arrow button or the editor
// is not on the list: taking the button's leave for the list's own would
// clear the item the pointer has just lit on its way back.
bool TShortcutList::IsOwnMouseNotice(const TMessage& message) const
{
    return message.LParam == 0 || message.LParam == reinterpret_cast<LPARAM>(this);
}

void TShortcutList::CMMouseEnter(TMessage& message)
{
    if (!FPressed && IsOwnMouseNotice(message))
        FMouseInside = true;
    inherited::Dispatch(message);
}

void TShortcutList::CMMouseLeave(TMessage& message)
{
    if (!FPressed && IsOwnMouseNotice(message)) {
        FreeAndNil(FLeaveTimer);
        SetActiveItem(nullptr);
        SetActiveState(siNone);
        FMouseInside = false;
    }
    inherited::Dispatch(message);
}

// The platform's enter notice can be missed (a drag, a window opening under
// the pointer): every move tests for itself, and the timer watches for the
// leave.
void TShortcutList::EnteredTest(Integer x, Integer y)
{
    if (PtInRect(GetClientRect(), {x, y}) && !FMouseInside && !FPressed)
        Perform(CM_MOUSEENTER, 0, 0);
    if (FLeaveTimer == nullptr) {
        FLeaveTimer = new TTimer(nullptr);
        FLeaveTimer->SetEnabled(false);
        FLeaveTimer->SetInterval(LeaveInterval);
        FLeaveTimer->SetOnTimer(TNotifyEvent(this, &TShortcutList::LeaveTimerExpired));
        FLeaveTimer->SetEnabled(true);
    }
}

// Paused while any window holds the mouse: its holder decides.
void TShortcutList::LeaveTimerExpired(TObject*)
{
    if (GetCapture() != nullptr)
        return;
    if (!PtInRect(GetClientRect(), CursorInClient()))
        Perform(CM_MOUSELEAVE, 0, 0);
}

// ---- hot tracking -------------------------------------------------------------------------------

void TShortcutList::MouseMove(TShiftState shift, Integer x, Integer y)
{
    EnteredTest(x, y);
    UpdateActiveItem();
    inherited::MouseMove(shift, x, y);
}

// Reads the pointer itself: it runs for drags and presses too, whose
// coordinates are not all the list's.
void TShortcutList::UpdateActiveItem()
{
    if (!FMouseInside)
        return;
    const TPoint pointer = CursorInClient();
    TShortcutItem* item = GetItemAt(pointer.X, pointer.Y);
    switch (FActiveState) {
    case siNone:
        if (!FPressed && item != nullptr && item->GetEnabled()) {
            SetActiveItem(item);
            SetActiveState(siUp);
        } else if (FPressed && item != nullptr && item == FActiveItem && !ListDropState().ItemDragging) {
            // Back on the pressed item. Not while its drag is under way: the
            // drag passing over it must not start another.
            SetActiveState(siDown);
        }
        break;
    case siUp:
        if (!FPressed) {
            SetActiveItem(item != nullptr && item->GetEnabled() ? item : nullptr);
            if (GetActiveItem() == nullptr)
                SetActiveState(siNone);
        }
        break;
    case siDown:
        if (FPressed)
            UpdatePressedItem(item, pointer);
        break;
    }
}

void TShortcutList::UpdatePressedItem(TShortcutItem* underPointer, const TPoint& pointer)
{
    if (MovedPastThreshold(FDownPos, pointer) && CanReorder()) {
        SetActiveState(siNone);
        StartItemDrag();
    } else if (underPointer != FActiveItem) {
        SetActiveState(siNone);
    }
}

// ---- buttons ----------------------------------------------------------------------------

// A press on empty space is the parent's, with the coordinates as they are.
void TShortcutList::WMButtonDown(TMessage& message)
{
    Perform(CM_MOUSEENTER, 0, 0);
    UpdateActiveItem();
    if (GetActiveItem() == nullptr) {
        PassToParent(message);
        return;
    }
    inherited::Dispatch(message);
}

void TShortcutList::WMButtonUp(TMessage& message)
{
    if (GetActiveItem() == nullptr) {
        // The pressed item went away under the press (a handler or a timer
        // removed it): the release still ends the press here.
        if (message.Msg == WM_LBUTTONUP && FPressed)
            ReleasePress();
        PassToParent(message);
        return;
    }
    inherited::Dispatch(message);
}

void TShortcutList::PassToParent(TMessage& message)
{
    TWinControl* parent = GetParent();
    if (parent != nullptr && parent->HandleAllocated())
        message.Result = SendMessage(parent->GetHandle(), message.Msg, message.WParam, message.LParam);
}

void TShortcutList::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y)
{
    if (GetActiveItem() != nullptr && button == mbLeft && GetCapture() == nullptr) {
        SetCapture(GetHandle());
        FPressed = true;
        SetActiveState(siDown);
        FDownPos = {x, y};
    }
    inherited::MouseDown(button, shift, x, y);
}

void TShortcutList::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y)
{
    if (button == mbLeft) {
        if (HandleAllocated() && GetCapture() == GetHandle())
            ReleaseCapture();
        FPressed = false;
        TShortcutItem* hot = GetActiveItem();
        if (hot != nullptr && GetItemAt(x, y) == hot) {
            SetActiveState(siUp);
            if (!ListDropState().ItemDragging)
                ClickItem(FActiveItem);
        } else {
            UpdateActiveItem();
        }
    }
    inherited::MouseUp(button, shift, x, y);
}

// OnClick reads the item as ActiveItem; an exception still clears it.
void TShortcutList::ClickItem(TShortcutItem* item)
{
    FClickedItem = item;
    try {
        Click();
    } catch (...) {
        FClickedItem = nullptr;
        throw;
    }
    FClickedItem = nullptr;
}

// Ends the press and the hot item; the next move finds the item under the
// pointer again.
void TShortcutList::ReleasePress()
{
    if (HandleAllocated() && GetCapture() == GetHandle())
        ReleaseCapture();
    FPressed = false;
    SetActiveItem(nullptr);
    SetActiveState(siNone);
}

void TShortcutList::WMCancelMode(TMessage& message)
{
    inherited::Dispatch(message);
    ReleasePress();
    FMouseInside = false;
}

// ---- accelerators ----------------------------------------------------------------------------

// Disabled items answer too: only the mouse passes them by.
void TShortcutList::CMDialogChar(TMessage& message)
{
    if (GetEnabled() && Showing()) {
        for (void* p : FItems->List()) {
            auto* item = static_cast<TShortcutItem*>(p);
            if (IsAccel(Word(message.WParam), item->GetCaption())) {
                ClickItem(item);
                message.Result = 1;
                return;
            }
        }
    }
    inherited::Dispatch(message);
}

// ---- the item drag ----------------------------------------------------------------------------

bool TShortcutList::CanReorder()
{
    if (!FAllowReorder)
        return false;
    bool allow = true;
    if (FOnReordering)
        FOnReordering(this, FActiveItem, allow);
    return allow;
}

// One drag at a time in the process: a drag already under way keeps it.
void TShortcutList::StartItemDrag()
{
    if (GetDragObject() != nullptr || FActiveItem == nullptr)
        return;
    FinishCaptionEdit();
    TListDropState& drop = ListDropState();
    drop.ItemDragging = true;
    drop.DragItem = FActiveItem;
    BeginDrag(true);
}

void TShortcutList::DragOver(TObject* source, Integer x, Integer y, TDragState state, bool& accept)
{
    EnteredTest(x, y);
    UpdateActiveItem();
    TListDropState& drop = ListDropState();
    if (!drop.ItemDragging) {
        inherited::DragOver(source, x, y, state, accept);
        return;
    }
    accept = true;
    if (FOnAcceptItem)
        FOnAcceptItem(this, drop.DragItem, accept);
    if (!accept)
        return;
    const TDropPosition position = FindDropPosition(this, CursorInClient());
    SetDropMark(this, position.BeforeItem, position.Kind, position.Rect);
    // A dragged item removed meanwhile has nothing left to drop.
    accept = position.Kind != 0 && drop.DragItem != nullptr;
}

// The dragged item is replaced by a copy where the marker shows; the original
// is freed.
void TShortcutList::DragDrop(TObject* source, Integer x, Integer y)
{
    TListDropState& drop = ListDropState();
    if (!drop.ItemDragging) {
        inherited::DragDrop(source, x, y);
        return;
    }
    TShortcutItem* dragItem = drop.DragItem;
    TShortcutList* dropList = drop.DropList;
    const Integer kind = drop.DropKind;
    TShortcutItem* before = drop.DropBeforeItem;
    if (dragItem == nullptr || kind == 0 || dropList == nullptr)
        return;
    TShortcutItems* target = dropList->GetItems();
    const Integer beforeIndex = kind == 1 ? target->IndexOf(before) : target->GetCount();
    if (beforeIndex < 0)
        return;
    FinishCaptionEdit();
    dropList->FinishCaptionEdit();
    TShortcutItem* copy = kind == 2 ? target->Add() : target->Insert(beforeIndex);
    copy->Assign(dragItem);
    TShortcutItems* origin = dragItem->GetOwnerItems();
    origin->Delete(origin->IndexOf(dragItem));
    if (FOnReorder)
        FOnReorder(this, copy);
}

// On the list the drag began from. Its press ends with the drag: the platform
// took the release, so nothing else would.
void TShortcutList::DoEndDrag(TObject* target, Integer x, Integer y)
{
    TListDropState& drop = ListDropState();
    if (!drop.ItemDragging) {
        inherited::DoEndDrag(target, x, y);
        return;
    }
    drop.ItemDragging = false;
    SetDropMark(nullptr, nullptr, 0, {});
    drop.DragItem = nullptr;
    ReleasePress();
}

TDropPosition FindDropPosition(TShortcutList* list, const TPoint& point)
{
    TDropPosition result;
    const TListMetrics m = list->Metrics();
    const Integer gap = m.Gap();
    const Integer width = list->GetClientWidth();
    TShortcutItems* items = list->GetItems();
    if (items->GetCount() == 0) {
        // Only while the pointer is inside: a drag leaving the list takes its
        // marker along.
        if (PtInRect(list->GetClientRect(), point)) {
            result.Rect = {0, m.HalfGap() - gap, width, m.HalfGap()};
            result.Kind = 2;
        }
        return result;
    }
    const Integer lastBottom = list->GetItemRect(items->GetItem(items->GetCount() - 1)).Bottom;
    if (PtInRect({0, lastBottom, width, list->GetClientHeight()}, point)) {
        result.Rect = {0, lastBottom, width, lastBottom + gap};
        result.Kind = 2;
        return result;
    }
    // An item rectangle's top is its icon's (the caption lies below or beside
    // it), so the gaps need no caption measured. Tops in order leave one
    // candidate: the first item whose top is below the point.
    auto dropBefore = [&](TShortcutItem* item) {
        const Integer top = item->GetTop();
        const TRect zone{0, top - gap, width, top};
        if (!PtInRect(zone, point))
            return false;
        result.Rect = zone;
        result.Kind = 1;
        result.BeforeItem = item;
        return true;
    };
    if (list->ItemsInSlots(m)) {
        if (TShortcutItem* below = items->GetItem(LastItemWithTopAtOrAbove(items, point.Y) + 1))
            dropBefore(below);
        return result;
    }
    for (void* p : items->List())
        if (dropBefore(static_cast<TShortcutItem*>(p)))
            break;
    return result;
}

} // namespace ld
