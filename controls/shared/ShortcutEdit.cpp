#include "controls/shared/ShortcutEdit.h"

#include "platform/win/MessageQueue.h"

namespace ld {

TClass TShortcutEdit::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TShortcutEdit>("TShortcutEdit", TCustomMemo::StaticClass());
    return &info;
}

TShortcutEdit::TShortcutEdit(TComponent* owner) : TCustomMemo(owner)
{
    SetBounds(0, 0, 0, 0);
    SetParentCtl3D(false);
    SetCtl3D(false);
    SetParentColor(false);
    SetColor(clWindow);
    SetParentFont(false);
    GetFont()->SetColor(clWindowText);
    SetWordWrap(true);
    SetWantReturns(false);
}

// An editor freed before its message arrived (its sheet or item went) must
// not leave the message behind: a new editor may be put at this address, and
// the host would take the message for the new editor's.
TShortcutEdit::~TShortcutEdit()
{
    if (FPostedTo != nullptr)
        RemovePostedMessages(FPostedTo, SEM_FINISHED, reinterpret_cast<LPARAM>(this));
}

void TShortcutEdit::Finished(bool accept)
{
    if (FFinished)
        return;
    FFinished = true;
    // Posted, so the host frees the editor after this handler has returned.
    if (TWinControl* parent = GetParent()) {
        FPostedTo = parent->GetHandle();
        PostMessage(FPostedTo, SEM_FINISHED, accept ? 1 : 0, reinterpret_cast<LPARAM>(this));
    }
}

void TShortcutEdit::KeyDown(Word& key, TShiftState shift)
{
    inherited::KeyDown(key, shift);
    if (key == VK_RETURN)
        Finished(true);
    else if (key == VK_ESCAPE)
        Finished(false);
}

void TShortcutEdit::KeyPress(char& key)
{
    inherited::KeyPress(key);
    if (key == '\t')
        key = 0;
}

void TShortcutEdit::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case WM_GETDLGCODE: WMGetDlgCode(message); return;
    case WM_KILLFOCUS: WMKillFocus(message); return;
    case CM_CANCELMODE: CMCancelMode(message); return;
    }
    inherited::Dispatch(message);
}

// Tab stays here instead of moving the focus (KeyPress keeps it out of the
// text). Return and Escape end editing, so the form's Default and Cancel
// buttons must not have them first; the memo gives them up without
// WantReturns, which only says Return makes no line break here.
void TShortcutEdit::WMGetDlgCode(TMessage& message)
{
    inherited::Dispatch(message);
    message.Result |= DLGC_WANTTAB | DLGC_WANTALLKEYS;
}

void TShortcutEdit::WMKillFocus(TMessage& message)
{
    inherited::Dispatch(message);
    Finished(true);
}

// A press elsewhere applies the text. A press inside the editor, which tells
// the focused control (the editor itself) the same way, only moves the caret.
void TShortcutEdit::CMCancelMode(TMessage& message)
{
    inherited::Dispatch(message);
    if (reinterpret_cast<TControl*>(message.LParam) != this)
        Finished(true);
}

} // namespace ld
