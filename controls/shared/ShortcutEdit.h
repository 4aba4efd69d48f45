// TShortcutEdit: the in-place caption editor. A host control (the bar for a
// sheet's tab, the list for an item) creates it owned by and parented to
// itself over the caption, sets its text and bounds and gives it the focus.
// The editor knows nothing of sheets or items: when editing ends it posts
// SEM_FINISHED to its parent, once, and the host applies or drops the text and
// frees the editor from that message's handler, never from inside the
// editor's own handlers.
//
// What ends editing (the first of these wins; later ones do nothing):
//   key down Return               apply    (wParam 1)
//   key down Escape               discard  (wParam 0)
//   focus lost                    apply
//   cancel mode (a press elsewhere) apply
// Tab neither moves the focus nor goes into the text; Return and Escape stay
// with the editor, never reaching the form's Default or Cancel button.
#pragma once

#include "platform/stdctrls/StdCtrls.h"

namespace ld {

// Posted by the editor to its parent: wParam 1 to apply the text, 0 to drop
// it (a host reads only the low byte); lParam the editor itself.
constexpr UINT SEM_FINISHED = WM_USER + 100;

class TShortcutEdit : public TCustomMemo {
    LD_CLASS(TShortcutEdit, TCustomMemo)

    // Invisible (no size) until the host places it; its own font and colours.
    explicit TShortcutEdit(TComponent* owner);
    // Takes back its SEM_FINISHED if it is still queued.
    ~TShortcutEdit() override;

    // Reports the end of editing to the parent, the first time only.
    virtual void Finished(bool accept);
    bool IsFinished() const { return FFinished; }

    void KeyDown(Word& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void Dispatch(TMessage& message) override;

private:
    void WMGetDlgCode(TMessage& message);
    void WMKillFocus(TMessage& message);
    void CMCancelMode(TMessage& message);

    bool FFinished = false;
    HWND FPostedTo = nullptr;
};

} // namespace ld
