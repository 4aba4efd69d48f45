// TShortcutButton: a small arrow button drawn as the system's scroll-bar
// arrow. It clicks once for a short press, repeatedly while held, and
// repeatedly while a drag rests on it, so its owner can scroll during drag and
// drop. The owner places it, shows and hides it and assigns OnClick.
//
// States and what moves them:
//   idle         --press-->             pressed (repeat timer at 1 ms)
//   pressed      --first tick-->        repeating (timer at 150 ms, clicks while inside)
//   pressed/rep. --pointer leaves-->    same state, drawn unpushed, ticks click nothing
//   pressed/rep. --release-->           idle; clicks once only if no tick came
//   any          --hidden-->            idle, both timers freed, a held button released
//   drag hovering (drag timer at 150 ms) ends at the first tick after the drag left.
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/vcl/ExtCtrls.h"

namespace ld {

enum TShortcutButtonType : Byte { sbUp, sbDown };
const TEnumInfo& ShortcutButtonTypeInfo();

class TShortcutButton : public TCustomControl {
    LD_CLASS(TShortcutButton, TCustomControl)

    TShortcutButton(TComponent* owner, TShortcutButtonType buttonType);
    ~TShortcutButton() override;

    TShortcutButtonType GetButtonType() const { return FButtonType; }
    // Pushed look: pressed and the pointer inside.
    bool IsPushed() const { return FPressed && FMouseInside; }
    bool IsPressed() const { return FPressed; }
    bool HasRepeatTimer() const { return FRepeatTimer != nullptr; }
    bool HasDragTimer() const { return FDragTimer != nullptr; }

    void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
    void MouseMove(TShiftState shift, Integer x, Integer y) override;
    void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
    void Click() override;
    void DragOver(TObject* source, Integer x, Integer y, TDragState state, bool& accept) override;
    void Dispatch(TMessage& message) override;

protected:
    void Paint() override;

private:
    void TimerExpired(TObject* sender);
    void DragTimerExpired(TObject* sender);
    void CMVisibleChanged(TMessage& message);
    void WMEraseBkgnd(TMessage& message);
    void FreeTimers();

    TShortcutButtonType FButtonType;
    TTimer* FRepeatTimer = nullptr;
    bool FPressed = false;
    bool FMouseInside = false;
    bool FRepeated = false;
    TTimer* FDragTimer = nullptr;
};

} // namespace ld
