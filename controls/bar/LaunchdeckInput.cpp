// TLaunchdeck: how the bar answers the user. The hot tab follows the pointer
// and is watched by a leave timer; a left press marks its tab pressed and a
// release on that same tab opens it; the pointer is a hand over the tabs; a
// drag that rests on a tab opens it after 200 ms; an accelerator in a tab
// caption opens its sheet; the form designer hands over clicks on closed tabs.
// Opening always goes through RollInSheet, which asks OnChanging first.
//
// Sections: hot tab; press and click; cursor; drag; wheel; keyboard and
// designer; caption editing.
//
// State of the pointer, with the repaints each change makes:
//
//   hot tab FActiveGroup   -1, no leave timer  <->  a tab, leave timer running
//                          (old and new tab repaint; paused while another
//                          window holds the mouse)
//   pressed FDownIndex     -1  <->  a tab: set by a left press on it,
//                          cleared by any release
//   a release opens FDownIndex when it is still the hot tab.
//
// Caption editing:
//
//   idle (FEdit nil)  --EditCaption-->      editing (FEdit, FEditSheet set)
//   editing           --SEM_FINISHED from FEdit-->  idle: the text applied
//                                           (wParam 1) or dropped, editor freed
//   editing           --FEditSheet leaves the bar-->  idle at once, text dropped
//   editing           --an accelerator or resting drag that OnChanging allows-->
//                       the editor ends as above (applied), then the sheet rolls in
//   a second EditCaption while editing, and a message from any other editor,
//   change nothing.
#include <algorithm>

#include "controls/bar/Launchdeck.h"
#include "controls/shared/ShortcutButton.h"
#include "controls/shared/ShortcutEdit.h"
#include "platform/gfx/RectUtils.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Input.h"

namespace ld {

namespace {

constexpr Cardinal LeaveInterval = 100;
constexpr Cardinal DragOpenDelay = 200;

bool Designing(const TComponent* component) { return component->ComponentState().Contains(csDesigning); }

} // namespace

bool TLaunchdeck::DispatchInput(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCHITTEST: WMNCHitTest(message); return true;
    case WM_SETCURSOR: WMSetCursor(message); return true;
    case CM_MOUSEENTER: CMMouseEnter(message); return true;
    case CM_MOUSELEAVE: CMMouseLeave(message); return true;
    case CM_DIALOGCHAR: CMDialogChar(message); return true;
    case CM_DESIGNHITTEST: CMDesignHitTest(message); return true;
    case SEM_FINISHED: SEMFinsihed(message); return true;
    }
    return false;
}

// The tab under the cursor as the window system has it now.
Integer TLaunchdeck::GroupAtCursor() const
{
    POINT cursor;
    GetCursorPos(cursor);
    return GetGroupAtPos(ScreenToClient(cursor));
}

// ---- hot tab ----------------------------------------------------------------------------

void TLaunchdeck::SetActiveGroup(Integer index)
{
    if (index == FActiveGroup)
        return;
    // Hot tracking pauses while another window holds the mouse.
    HWND capture = GetCapture();
    if (capture != nullptr && (!HandleAllocated() || capture != GetHandle()))
        return;
    const Integer old = FActiveGroup;
    FActiveGroup = index;
    InvalidateGroup(old);
    InvalidateGroup(index);
    if (FActiveGroup != -1)
        StartLeaveTimer();
    else
        FreeAndNil(FLeaveTimer);
}

void TLaunchdeck::StartLeaveTimer()
{
    if (FLeaveTimer != nullptr)
        return;
    FLeaveTimer = new TTimer(nullptr);
    FLeaveTimer->SetEnabled(false);
    FLeaveTimer->SetInterval(LeaveInterval);
    FLeaveTimer->SetOnTimer(TNotifyEvent(this, &TLaunchdeck::LeaveTimerExpired));
    FLeaveTimer->SetEnabled(true);
}

// Catches a pointer that left the bar without the window system saying so.
void TLaunchdeck::LeaveTimerExpired(TObject*)
{
    if (GetCapture() != nullptr)
        return;
    POINT cursor;
    GetCursorPos(cursor);
    if (!PtInRect(GetClientRect(), ScreenToClient(cursor)))
        Perform(CM_MOUSELEAVE, 0, 0);
}

void TLaunchdeck::MouseMove(TShiftState shift, Integer x, Integer y)
{
    SetActiveGroup(GetGroupAtPos({x, y}));
    inherited::MouseMove(shift, x, y);
}

// Also heard when the pointer enters a child (a sheet, a scroll button).
void TLaunchdeck::CMMouseEnter(TMessage& message)
{
    SetActiveGroup(GroupAtCursor());
    inherited::Dispatch(message);
}

void TLaunchdeck::CMMouseLeave(TMessage& message)
{
    FreeAndNil(FLeaveTimer);
    SetActiveGroup(GroupAtCursor());
    // A tab can stay hot here: the pointer went onto a scroll button lying
    // over it, or a held scroll button keeps the mouse. Its watch goes on, or
    // nothing would ever darken it once the pointer is gone.
    if (FActiveGroup != -1)
        StartLeaveTimer();
    inherited::Dispatch(message);
}

// ---- press and click ----------------------------------------------------------------------

void TLaunchdeck::SetDownIndex(Integer index)
{
    if (index == FDownIndex)
        return;
    const Integer old = FDownIndex;
    FDownIndex = index;
    InvalidateGroup(index);
    // The tab that was pressed, and the hot tab (raised, navy caption only
    // while nothing is pressed), change their look too: a release that
    // opened nothing must not leave them drawn as they were.
    InvalidateGroup(old);
    if (FActiveGroup != index && FActiveGroup != old)
        InvalidateGroup(FActiveGroup);
}

void TLaunchdeck::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y)
{
    if (button == mbLeft) {
        const Integer index = GetGroupAtPos({x, y});
        // The designer hands over only presses on closed tabs: they open at once.
        if (Designing(this))
            ProcessGroupClick(index);
        else
            SetDownIndex(index);
    }
    inherited::MouseDown(button, shift, x, y);
}

// Opens the pressed tab only when the pointer is still on it: moving off
// made it un-hot, moving back hot again.
void TLaunchdeck::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y)
{
    if (FDownIndex == FActiveGroup)
        ProcessGroupClick(FDownIndex);
    SetDownIndex(-1);
    inherited::MouseUp(button, shift, x, y);
}

void TLaunchdeck::ProcessGroupClick(Integer index)
{
    if (index == -1)
        return;
    RollInSheetEndingEdit(index);
    if (Designing(this))
        if (TCustomForm* form = GetParentForm(this); form != nullptr && form->GetDesigner() != nullptr)
            form->GetDesigner()->Modified();
}


// ---- cursor -------------------------------------------------------------------------------

void TLaunchdeck::WMNCHitTest(TMessage& message)
{
    inherited::Dispatch(message);
    FHitPoint = ScreenToClient(LParamToPoint(message.LParam));
}

// The hand over a tab. Asked too for a child under the pointer (a scroll
// button lying over a tab): the result stays 0 there, so the child then sets
// its own cursor.
void TLaunchdeck::WMSetCursor(TMessage& message)
{
    if (!Designing(this) && int16_t(LoWord(uintptr_t(message.LParam))) == HTCLIENT &&
        GetGroupAtPos(FHitPoint) != -1) {
        ::ld::SetCursor(Screen->GetCursors(crHandPoint));
        return;
    }
    inherited::Dispatch(message);
}

// ---- drag -----------------------------------------------------------------------------------

void TLaunchdeck::DragOver(TObject* source, Integer x, Integer y, TDragState state, bool& accept)
{
    inherited::DragOver(source, x, y, state, accept);
    if (GetGroupAtPos({x, y}) != -1 && FDragTimer == nullptr) {
        FDragTimer = new TTimer(this);
        FDragTimer->SetInterval(DragOpenDelay);
        FDragTimer->SetOnTimer(TNotifyEvent(this, &TLaunchdeck::DragTimerExpired));
        FDragTimer->SetEnabled(true);
    }
}

// Fires once, even when the drag has ended meanwhile; whichever tab is under
// the pointer now opens, none when it has left the tabs.
void TLaunchdeck::DragTimerExpired(TObject*)
{
    FreeAndNil(FDragTimer);
    ProcessGroupClick(GroupAtCursor());
}

// ---- wheel -----------------------------------------------------------------------------------

// The wheel works the arrows: a notch makes the steps nearest to a tab's
// pitch, fewer when the arrow hides on the way, and the tab now under the
// unmoved pointer is the hot one. Where the arrow is hidden the bar cannot
// scroll that way and the notch goes on to the parent. An open caption
// editor keeps its tab in place: the wheel then does nothing.
bool TLaunchdeck::WheelStep(TShortcutButton* button, void (TLaunchdeck::*step)(TObject*))
{
    if (button == nullptr || !button->GetVisible())
        return false;
    if (FEdit != nullptr)
        return true;
    const Integer steps = std::max<Integer>(1, (Metrics().Pitch() + ScrollStep / 2) / ScrollStep);
    for (Integer i = 0; i < steps && button->GetVisible(); ++i)
        (this->*step)(button);
    SetActiveGroup(GroupAtCursor());
    return true;
}

bool TLaunchdeck::DoMouseWheelDown(TShiftState shift, TPoint mousePos)
{
    return inherited::DoMouseWheelDown(shift, mousePos) || WheelStep(FDownButton, &TLaunchdeck::DownButtonClick);
}

bool TLaunchdeck::DoMouseWheelUp(TShiftState shift, TPoint mousePos)
{
    return inherited::DoMouseWheelUp(shift, mousePos) || WheelStep(FUpButton, &TLaunchdeck::UpButtonClick);
}

// ---- keyboard and designer ---------------------------------------------------------------------

// The first visible sheet whose caption has the character as its accelerator
// opens; otherwise the children have their turn.
void TLaunchdeck::CMDialogChar(TMessage& message)
{
    if (GetEnabled()) {
        Integer visibleIndex = 0;
        for (void* p : FSheets->List()) {
            auto* sheet = static_cast<TShortcutSheet*>(p);
            if (!sheet->IsVisible())
                continue;
            if (IsAccel(Word(message.WParam), sheet->GetCaption())) {
                RollInSheetEndingEdit(visibleIndex);
                message.Result = 1;
                return;
            }
            ++visibleIndex;
        }
    }
    inherited::Dispatch(message);
}

// A left press on a closed tab goes to the bar (whose MouseDown opens it);
// everything else stays with the designer.
void TLaunchdeck::CMDesignHitTest(TMessage& message)
{
    if (message.WParam == MK_LBUTTON && FActiveSheet != nullptr) {
        const Integer index = GetGroupAtPos(LParamToPoint(message.LParam));
        if (index != -1 && index != FActiveSheet->GetVisibleSheetIndex()) {
            message.Result = 1;
            return;
        }
    }
    inherited::Dispatch(message);
}

// ---- caption editing --------------------------------------------------------------------------

void TLaunchdeck::EditCaption(TShortcutSheet* sheet)
{
    if (FEdit != nullptr)
        return;
    // Only a tab of this bar has a place for the editor.
    if (sheet == nullptr || sheet->FLaunchdeck != this || !sheet->IsVisible())
        return;
    EnsureSheetVisible(sheet);
    FEditSheet = sheet;
    FEdit = new TShortcutEdit(this);
    FEdit->SetParent(this);
    FEdit->SetText(sheet->GetCaption());
    FEdit->SetBoundsRect(GetGroupRect(sheet->GetVisibleSheetIndex()));
    // A bar that cannot take the focus (hidden, disabled) keeps no editor
    // nobody could type into.
    try {
        FEdit->SetFocus();
    } catch (...) {
        DropCaptionEdit();
        throw;
    }
}

void TLaunchdeck::SEMFinsihed(TMessage& message)
{
    if (FEdit == nullptr || message.LParam != reinterpret_cast<LPARAM>(FEdit))
        return;
    if (Byte(message.WParam) != 0 && FEditSheet != nullptr)
        FEditSheet->SetCaption(FEdit->GetText());
    FEditSheet = nullptr;
    FreeAndNil(FEdit);
}

// The user opens a sheet while an editor may lie over its tab. A click has
// already ended it through the platform's cancel mode; an accelerator or a
// resting drag has not. The tabs are about to move under it, so it ends as a
// click elsewhere ends it (the text applies), but only once OnChanging has
// allowed the change (CanChange calls FinishCaptionEdit then): a refused
// change moves nothing, and the editor stays open with its text and the
// focus. The roll lets the editor's message through before it slides.
void TLaunchdeck::RollInSheetEndingEdit(Integer index)
{
    struct TEndEditScope {
        bool& Flag;
        explicit TEndEditScope(bool& flag) : Flag(flag) { Flag = true; }
        ~TEndEditScope() { Flag = false; }
    } scope(FEndEditOnChange);
    RollInSheet(index);
}

void TLaunchdeck::FinishCaptionEdit()
{
    if (FEdit != nullptr)
        FEdit->Finished(true);
}

void TLaunchdeck::DropCaptionEdit()
{
    FEditSheet = nullptr;
    FreeAndNil(FEdit);
}

// An editor freed by anyone but the bar is no longer current.
void TLaunchdeck::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component != nullptr && component == FEdit) {
        FEdit = nullptr;
        FEditSheet = nullptr;
    }
}

} // namespace ld
