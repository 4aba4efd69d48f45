#include "controls/shared/ShortcutButton.h"

#include "platform/gfx/Frames.h"
#include "platform/gfx/RectUtils.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"

namespace ld {

namespace {
constexpr Cardinal FirstTickInterval = 1;
constexpr Cardinal RepeatInterval = 150;
constexpr Cardinal DragRepeatInterval = 150;
} // namespace

const TEnumInfo& ShortcutButtonTypeInfo()
{
    static const TEnumInfo info{"TShortcutButtonType", {"sbUp", "sbDown"}};
    return info;
}

TClass TShortcutButton::StaticClass()
{
    static const TClassInfo info =
        TClassBuilder<TShortcutButton>("TShortcutButton", TCustomControl::StaticClass())
            .Boolean("Enabled", &TShortcutButton::GetEnabled, &TShortcutButton::SetEnabled).Default(true)
            .Object("Font", &TShortcutButton::GetFont, &TShortcutButton::SetFont)
            .Boolean("ParentFont", &TShortcutButton::GetParentFont, &TShortcutButton::SetParentFont).Default(true)
            .Boolean("ParentShowHint", &TShortcutButton::GetParentShowHint, &TShortcutButton::SetParentShowHint)
            .Default(true)
            .Boolean("ShowHint", &TShortcutButton::GetShowHint, &TShortcutButton::SetShowHint)
            .Boolean("Visible", &TShortcutButton::GetVisible, &TShortcutButton::SetVisible).Default(true)
            .Event("OnClick", &TShortcutButton::GetOnClick, &TShortcutButton::SetOnClick)
            .Event("OnDblClick", &TShortcutButton::GetOnDblClick, &TShortcutButton::SetOnDblClick)
            .Event("OnMouseDown", &TShortcutButton::GetOnMouseDown, &TShortcutButton::SetOnMouseDown)
            .Event("OnMouseMove", &TShortcutButton::GetOnMouseMove, &TShortcutButton::SetOnMouseMove)
            .Event("OnMouseUp", &TShortcutButton::GetOnMouseUp, &TShortcutButton::SetOnMouseUp);
    return &info;
}

TShortcutButton::TShortcutButton(TComponent* owner, TShortcutButtonType buttonType)
    : TCustomControl(owner), FButtonType(buttonType)
{
    // No csClickEvents: the button fires its clicks itself.
    FControlStyle = {csCaptureMouse, csOpaque, csDoubleClicks};
    const Integer side = GetSystemMetrics(SM_CXHSCROLL);
    SetBounds(GetLeft(), GetTop(), side, side);
    SetVisible(false);
}

TShortcutButton::~TShortcutButton()
{
    FreeAndNil(FRepeatTimer);
    FreeAndNil(FDragTimer);
}

void TShortcutButton::FreeTimers()
{
    FreeAndNil(FRepeatTimer);
    FreeAndNil(FDragTimer);
}

void TShortcutButton::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y)
{
    FPressed = true;
    FMouseInside = true;
    FRepeated = false;
    if (FRepeatTimer == nullptr) {
        FRepeatTimer = new TTimer(this);
        FRepeatTimer->SetOnTimer(TNotifyEvent(this, &TShortcutButton::TimerExpired));
        FRepeatTimer->SetInterval(FirstTickInterval);
        FRepeatTimer->SetEnabled(true);
    }
    Invalidate();
    inherited::MouseDown(button, shift, x, y);
}

void TShortcutButton::TimerExpired(TObject*)
{
    FRepeated = true;
    if (FRepeatTimer != nullptr)
        FRepeatTimer->SetInterval(RepeatInterval);
    if (FPressed && FMouseInside && GetMouseCapture())
        Click();
}

void TShortcutButton::MouseMove(TShiftState shift, Integer x, Integer y)
{
    if (FPressed) {
        const bool inside = PtInRect(GetClientRect(), Point(x, y));
        if (inside != FMouseInside) {
            FMouseInside = inside;
            Invalidate();
        }
    }
    inherited::MouseMove(shift, x, y);
}

void TShortcutButton::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y)
{
    FPressed = false;
    FMouseInside = false;
    FreeAndNil(FRepeatTimer);
    Click();
    Invalidate();
    inherited::MouseUp(button, shift, x, y);
}

void TShortcutButton::Click()
{
    // Held off while OnClick runs, so a slow handler gets no ticks queued up;
    // turning them on again restarts their period.
    if (FRepeatTimer != nullptr)
        FRepeatTimer->SetEnabled(false);
    if (FDragTimer != nullptr)
        FDragTimer->SetEnabled(false);
    if (FPressed || !FRepeated || FDragTimer != nullptr)
        inherited::Click();
    // OnClick may have hidden the button, which frees both timers.
    if (FRepeatTimer != nullptr)
        FRepeatTimer->SetEnabled(true);
    if (FDragTimer != nullptr)
        FDragTimer->SetEnabled(true);
}

void TShortcutButton::DragOver(TObject*, Integer, Integer, TDragState, bool& accept)
{
    // The inherited DragOver is not called: OnDragOver has no say here.
    if (!GetVisible())
        return;
    accept = true;
    if (FDragTimer == nullptr) {
        FDragTimer = new TTimer(this);
        FDragTimer->SetInterval(DragRepeatInterval);
        FDragTimer->SetOnTimer(TNotifyEvent(this, &TShortcutButton::DragTimerExpired));
        FDragTimer->SetEnabled(true);
    }
}

void TShortcutButton::DragTimerExpired(TObject*)
{
    POINT cursor;
    GetCursorPos(cursor);
    if (FindDragTarget(cursor, true) == this)
        Click();
    else
        FreeAndNil(FDragTimer);
}

void TShortcutButton::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CM_VISIBLECHANGED: CMVisibleChanged(message); return;
    case WM_ERASEBKGND: WMEraseBkgnd(message); return;
    }
    inherited::Dispatch(message);
}

void TShortcutButton::CMVisibleChanged(TMessage& message)
{
    inherited::Dispatch(message);
    FreeTimers();
    // The owner hid a button that is held down (scrolling reached the end):
    // release it as the pointer would, which also ends the capture.
    if (!GetVisible() && HandleAllocated() && FPressed) {
        POINT cursor;
        GetCursorPos(cursor);
        SendMessage(GetHandle(), WM_LBUTTONUP, 0, MakeLParam(cursor.X, cursor.Y));
    }
}

void TShortcutButton::WMEraseBkgnd(TMessage& message) { message.Result = 1; }

void TShortcutButton::Paint()
{
    UINT state = FButtonType == sbDown ? DFCS_SCROLLDOWN : DFCS_SCROLLUP;
    if (FPressed && FMouseInside)
        state |= DFCS_PUSHED;
    DrawFrameControl(FCanvas->GetHandle(), GetClientRect(), DFC_SCROLL, state);
}

} // namespace ld
