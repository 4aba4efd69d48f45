// TWinControl's focus, tab order and keys: CanFocus and SetFocus, the tab
// list, KeyDown/KeyPress/KeyUp, and the reflected key messages that make
// dialog keys and dialog characters for the form.
#include <algorithm>

#include "platform/core/SysUtils.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Input.h"

namespace ld {

// ---- focus and tab order ------------------------------------------------------------------

bool TWinControl::CanFocus() const
{
    TCustomForm* form = GetParentForm(const_cast<TWinControl*>(this));
    if (!form)
        return false;
    for (const TControl* c = this; c != form; c = c->FParent)
        if (!c || !(c->FVisible && c->GetEnabled()))
            return false;
    return true;
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus()
{
    if (TCustomForm* form = GetParentForm(this))
        form->FocusControl(this);
    else if (FHandle)
        ::ld::SetFocus(FHandle);
    else
        throw EInvalidOperation(Format("Control '%s' has no parent window", {GetName()}));
}

Integer TWinControl::GetTabOrder() const
{
    if (!FParent)
        return -1;
    auto& list = FParent->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : Integer(it - list.begin());
}

void TWinControl::SetTabOrder(Integer value)
{
    // While a stored form is read the siblings are not all there yet: the
    // value waits for the parent's FixupTabList.
    if (FControlState.Contains(csReadingState)) {
        FTabOrder = value;
        return;
    }
    if (!FParent)
        return;
    auto& list = FParent->FTabList;
    Integer cur = GetTabOrder();
    if (cur < 0)
        return;
    Integer count = Integer(list.size());
    if (value < 0 || value >= count)
        value = count - 1;
    if (value == cur)
        return;
    list.erase(list.begin() + cur);
    list.insert(list.begin() + value, this);
}

void TWinControl::FixupTabList()
{
    const size_t count = FTabList.size();
    std::vector<TWinControl*> ordered(count, nullptr);
    for (TWinControl* c : FTabList)
        if (c->FTabOrder >= 0 && size_t(c->FTabOrder) < count && !ordered[size_t(c->FTabOrder)])
            ordered[size_t(c->FTabOrder)] = c;
    for (size_t i = 0; i < count; ++i)
        if (ordered[i])
            ordered[i]->SetTabOrder(Integer(i));
    for (TWinControl* c : FTabList)
        c->FTabOrder = -1;
}

void TWinControl::SetTabStop(bool value)
{
    if (FTabStop == value)
        return;
    FTabStop = value;
    if (FHandle) {
        LONG_PTR style = GetWindowLongPtr(FHandle, GWL_STYLE);
        SetWindowLongPtr(FHandle, GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~LONG_PTR(WS_TABSTOP)));
    }
    Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const
{
    for (TWinControl* c : FTabList) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const
{
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty())
        return nullptr;
    auto n = Integer(list.size());
    Integer start = -1;
    if (current)
        if (auto it = std::find(list.begin(), list.end(), current); it != list.end())
            start = Integer(it - list.begin());
    if (start < 0)
        start = goForward ? n - 1 : 0;
    Integer i = start;
    for (Integer step = 0; step < n; ++step) {
        i = goForward ? (i + 1) % n : (i - 1 + n) % n;
        TWinControl* c = list[size_t(i)];
        if (c == current && current)
            break;
        if (c->CanFocus() && (!checkTabStop || c->FTabStop) && (!checkParent || c->FParent == this))
            return c;
    }
    return nullptr;
}

void TWinControl::SelectFirst()
{
    TCustomForm* form = GetParentForm(this);
    if (!form)
        return;
    TWinControl* c = FindNextControl(nullptr, true, true, false);
    if (!c)
        c = FindNextControl(nullptr, true, false, false);
    if (c)
        form->SetActiveControl(c);
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop)
{
    TWinControl* c = FindNextControl(current, goForward, checkTabStop, !checkTabStop);
    if (c)
        c->SetFocus();
}

void TWinControl::SetCtl3D(bool value)
{
    if (FCtl3D == value)
        return;
    FCtl3D = value;
    FParentCtl3D = false;
    Perform(CM_CTL3DCHANGED, 0, 0);
}

void TWinControl::SetParentCtl3D(bool value)
{
    if (FParentCtl3D == value)
        return;
    FParentCtl3D = value;
    if (FParent && !ComponentState().Contains(csReading))
        Perform(CM_PARENTCTL3DCHANGED, 0, 0);
}

void TWinControl::CMCtl3DChanged(TMessage&) { NotifyControls(CM_PARENTCTL3DCHANGED); }

void TWinControl::CMParentCtl3DChanged(TMessage&)
{
    if (FParentCtl3D && FParent) {
        SetCtl3D(FParent->GetCtl3D());
        FParentCtl3D = true;
    }
}

void TWinControl::CMFontChanged(TMessage& m)
{
    inherited::Dispatch(m);
    NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMColorChanged(TMessage& m)
{
    inherited::Dispatch(m);
    NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMTextChanged(TMessage&) {}

void TWinControl::CMEnter(TMessage&)
{
    if (FOnEnter)
        FOnEnter(this);
}

void TWinControl::CMExit(TMessage&)
{
    if (FOnExit)
        FOnExit(this);
}

void TWinControl::WMSetFocus(TMessage& m) { DefaultHandler(m); }
void TWinControl::WMKillFocus(TMessage& m) { DefaultHandler(m); }

// ---- keys --------------------------------------------------------------------------------

void TWinControl::KeyDown(Word& key, TShiftState shift)
{
    if (FOnKeyDown)
        FOnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(Word& key, TShiftState shift)
{
    if (FOnKeyUp)
        FOnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char& key)
{
    if (FOnKeyPress)
        FOnKeyPress(this, key);
}

bool TWinControl::DoKeyDown(TMessage& m)
{
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->GetKeyPreview() && form->DoKeyDown(m))
        return true;
    if (!FControlStyle.Contains(csNoStdEvents)) {
        Word key = Word(m.WParam);
        KeyDown(key, KeyDataToShiftState(m.LParam));
        m.WParam = key;
        if (key == 0)
            return true;
    }
    return false;
}

bool TWinControl::DoKeyUp(TMessage& m)
{
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->GetKeyPreview() && form->DoKeyUp(m))
        return true;
    if (!FControlStyle.Contains(csNoStdEvents)) {
        Word key = Word(m.WParam);
        KeyUp(key, KeyDataToShiftState(m.LParam));
        m.WParam = key;
        if (key == 0)
            return true;
    }
    return false;
}

bool TWinControl::DoKeyPress(TMessage& m)
{
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->GetKeyPreview() && form->DoKeyPress(m))
        return true;
    if (!FControlStyle.Contains(csNoStdEvents)) {
        char ch = char(m.WParam);
        KeyPress(ch);
        m.WParam = Byte(ch);
        if (ch == 0)
            return true;
    }
    return false;
}

void TWinControl::WMKeyDown(TMessage& m)
{
    if (!DoKeyDown(m))
        DefaultHandler(m);
}

void TWinControl::WMKeyUp(TMessage& m)
{
    if (!DoKeyUp(m))
        DefaultHandler(m);
}

void TWinControl::WMChar(TMessage& m)
{
    if (!DoKeyPress(m))
        DefaultHandler(m);
}

// Before a key reaches the focused control the application offers it here:
// Tab, arrows, Enter and Escape go to the form as dialog keys unless the
// control asks for them with WM_GETDLGCODE.
void TWinControl::CNKeyDown(TMessage& m)
{
    m.Result = 1;
    if (!ComponentState().Contains(csDesigning)) {
        if (Perform(CM_CHILDKEY, m.WParam, reinterpret_cast<LPARAM>(this)) != 0)
            return;
        LRESULT mask = 0;
        switch (m.WParam) {
        case VK_TAB: mask = DLGC_WANTTAB; break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN: mask = DLGC_WANTARROWS; break;
        case VK_RETURN:
        case VK_ESCAPE: mask = DLGC_WANTALLKEYS; break;
        }
        TCustomForm* form = GetParentForm(this);
        if (mask && Perform(CM_WANTSPECIALKEY, m.WParam, 0) == 0 && (Perform(WM_GETDLGCODE, 0, 0) & mask) == 0 && form &&
            form->Perform(CM_DIALOGKEY, m.WParam, m.LParam) != 0)
            return;
    }
    m.Result = 0;
}

// A plain character goes to the form's controls as a dialog character when
// the focused control does not want characters.
void TWinControl::CNChar(TMessage& m)
{
    m.Result = 1;
    if (!ComponentState().Contains(csDesigning)) {
        TCustomForm* form = GetParentForm(this);
        if ((Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0 && form &&
            form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0)
            return;
    }
    m.Result = 0;
}

// Alt with a letter is always a dialog character.
void TWinControl::CNSysChar(TMessage& m)
{
    m.Result = 0;
    if (m.WParam == ' ' || ComponentState().Contains(csDesigning))
        return;
    if (TCustomForm* form = GetParentForm(this))
        m.Result = form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam);
}

} // namespace ld
