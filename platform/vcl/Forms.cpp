// TCustomForm: creation parameters per border style, showing and activation,
// the active control and the focus chain (OnEnter/OnExit), dialog keys,
// closing and the modal loop; GetParentForm and IsAccel.
#include "platform/vcl/Forms.h"

#include <cctype>

#include "platform/core/SysUtils.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"

namespace ld {

const TEnumInfo& PositionInfo()
{
    static const TEnumInfo info{"TPosition", {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter", "poDesktopCenter"}};
    return info;
}

TClass TCustomForm::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TCustomForm>("TCustomForm", TWinControl::StaticClass()).Abstract();
    return &info;
}

TClass TForm::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TForm>("TForm", TCustomForm::StaticClass())
        .Component("ActiveControl", &TForm::GetActiveControl, &TForm::SetActiveControl)
        .Enum("BorderStyle", &TForm::GetBorderStyle, &TForm::SetBorderStyle, BorderStyleInfo()).Default(bsSizeable)
        .String("Caption", &TForm::GetCaption, &TForm::SetCaption)
        .Integer("ClientHeight", &TForm::GetClientHeight, &TForm::SetClientHeight)
        .Integer("ClientWidth", &TForm::GetClientWidth, &TForm::SetClientWidth)
        .Integer("Color", &TForm::GetColor, &TForm::SetColor)
        .Object("Font", &TForm::GetFont, &TForm::SetFont)
        .Boolean("KeyPreview", &TForm::GetKeyPreview, &TForm::SetKeyPreview).Default(false)
        .Enum("Position", &TForm::GetPosition, &TForm::SetPosition, PositionInfo()).Default(poDesigned)
        .Boolean("Visible", &TForm::GetVisible, &TForm::SetVisible).Default(false)
        .Event("OnActivate", &TForm::GetOnActivate, &TForm::SetOnActivate)
        .Event("OnClick", &TForm::GetOnClick, &TForm::SetOnClick)
        .Event("OnClose", &TForm::GetOnClose, &TForm::SetOnClose)
        .Event("OnCloseQuery", &TForm::GetOnCloseQuery, &TForm::SetOnCloseQuery)
        .Event("OnDeactivate", &TForm::GetOnDeactivate, &TForm::SetOnDeactivate)
        .Event("OnHide", &TForm::GetOnHide, &TForm::SetOnHide)
        .Event("OnKeyDown", &TForm::GetOnKeyDown, &TForm::SetOnKeyDown)
        .Event("OnKeyPress", &TForm::GetOnKeyPress, &TForm::SetOnKeyPress)
        .Event("OnShow", &TForm::GetOnShow, &TForm::SetOnShow);
    return &info;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner)
{
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    FVisible = false;
    FLeft = 100;
    FTop = 100;
    FWidth = 320;
    FHeight = 240;
    FParentFont = false;
    FParentColor = false;
    FColor = clBtnFace;
    Screen->AddForm(this);
}

TCustomForm::~TCustomForm()
{
    Screen->RemoveForm(this);
    if (Application->GetMainForm() == this)
        Application->SetMainForm(nullptr);
}

void TCustomForm::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.Style &= ~(WS_CHILD | WS_GROUP | WS_TABSTOP | WS_CLIPSIBLINGS);
    params.WndParent = nullptr;
    params.WindowClass.style = CS_DBLCLKS;
    switch (FBorderStyle) {
    case bsNone: params.Style |= WS_POPUP; break;
    case bsSingle:
    case bsToolWindow: params.Style |= WS_CAPTION | WS_BORDER | WS_SYSMENU; break;
    case bsSizeable:
    case bsSizeToolWin: params.Style |= WS_CAPTION | WS_THICKFRAME | WS_SYSMENU; break;
    case bsDialog:
        params.Style |= WS_POPUP | WS_CAPTION | WS_SYSMENU;
        params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    }
}

void TCustomForm::SetBorderStyle(TBorderStyle value)
{
    if (FBorderStyle == value)
        return;
    FBorderStyle = value;
    RecreateWnd();
}

// ---- showing and activation -----------------------------------------------------

void TCustomForm::MoveToPosition()
{
    if (FPosition == poScreenCenter || FPosition == poDesktopCenter)
        SetBounds((Screen->GetWidth() - FWidth) / 2, (Screen->GetHeight() - FHeight) / 2, FWidth, FHeight);
}

void TCustomForm::CMShowingChanged(TMessage&)
{
    if (FShowing) {
        MoveToPosition();
        if (FOnShow)
            FOnShow(this);
        if (!FActiveControl && !ComponentState().Contains(csDesigning))
            FActiveControl = FindNextControl(nullptr, true, true, false);
        ShowWindow(FHandle, SW_SHOW);
        SetActiveWindow(FHandle);
    } else {
        if (FOnHide)
            FOnHide(this);
        if (GetActiveWindow() == FHandle)
            SetActiveWindow(nullptr);
        ShowWindow(FHandle, SW_HIDE);
    }
}

void TCustomForm::Show()
{
    SetVisible(true);
    BringToFront();
}

void TCustomForm::GetChildren(const TGetChildProc& proc, TComponent* root)
{
    inherited::GetChildren(proc, root);
    if (root == this)
        for (Integer i = 0; i < ComponentCount(); ++i)
            if (!Components(i)->HasParent())
                proc(Components(i));
}

void TCustomForm::WMActivate(TMessage& m)
{
    DefaultHandler(m);
    SetActive(LoWord(m.WParam) != 0);
}

void TCustomForm::SetActive(bool value)
{
    if (FActive == value)
        return;
    FActive = value;
    if (value) {
        Screen->SetActiveForm(this);
        SetWindowFocus();
        if (FOnActivate)
            FOnActivate(this);
    } else {
        if (Screen->GetActiveForm() == this)
            Screen->SetActiveForm(nullptr);
        if (FOnDeactivate)
            FOnDeactivate(this);
    }
}

void TCustomForm::SetWindowFocus()
{
    HWND target = (FActiveControl && !FDesigner) ? FActiveControl->GetHandle() : GetHandle();
    if (target)
        ::ld::SetFocus(target);
}

void TCustomForm::SetFocus()
{
    if (!FActive) {
        if (!(FVisible && GetEnabled()))
            throw EInvalidOperation("Cannot focus a disabled or invisible window");
        SetWindowFocus();
    }
}

void TCustomForm::WMSetFocus(TMessage& m)
{
    DefaultHandler(m);
    if (!ComponentState().Contains(csDesigning) && FActiveControl && FActiveControl != this && FActiveControl->HandleAllocated())
        ::ld::SetFocus(FActiveControl->GetHandle());
}

// ---- the active control -------------------------------------------------------------

void TCustomForm::SetActiveControl(TWinControl* control)
{
    if (FActiveControl == control)
        return;
    if (control && (control == this || GetParentForm(control) != this ||
                    (!ComponentState().Contains(csLoading) && !control->CanFocus())))
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    FActiveControl = control;
    if (control)
        control->FreeNotification(this);
    if (!ComponentState().Contains(csLoading) && FActive)
        SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* control)
{
    bool wasActive = FActive;
    SetActiveControl(control);
    if (!wasActive && FVisible)
        SetFocus();
}

// The focus moved to Control: leave every control that does not contain it
// (CM_EXIT, innermost first), then enter each one down to it (CM_ENTER).
bool TCustomForm::SetFocusedControl(TWinControl* control)
{
    if (!FDesigner)
        FActiveControl = control != this ? control : nullptr;
    Screen->SetActiveControl(control);
    Screen->SetActiveForm(this);
    if (control->GetControlState().Contains(csFocusing))
        return true;
    control->SetControlState(control->GetControlState() + TControlState{csFocusing});
    try {
        if (!FFocusedControl)
            FFocusedControl = this;
        while (FFocusedControl && !FFocusedControl->ContainsControl(control)) {
            FFocusedControl->Perform(CM_EXIT, 0, 0);
            FFocusedControl = FFocusedControl->GetParent();
        }
        while (FFocusedControl && FFocusedControl != control) {
            TWinControl* step = control;
            while (step->GetParent() != FFocusedControl)
                step = step->GetParent();
            FFocusedControl = step;
            step->Perform(CM_ENTER, 0, 0);
        }
        // Buttons hear of it: a focused button takes Enter from the default one.
        Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
    } catch (...) {
        control->SetControlState(control->GetControlState() - TControlState{csFocusing});
        throw;
    }
    control->SetControlState(control->GetControlState() - TControlState{csFocusing});
    return true;
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing)
{
    if (removing && control->ContainsControl(FFocusedControl))
        FFocusedControl = control->GetParent();
    if (control->ContainsControl(FActiveControl)) {
        FActiveControl = nullptr;
        if (Screen->GetActiveControl() && control->ContainsControl(Screen->GetActiveControl()))
            Screen->SetActiveControl(nullptr);
    }
}

void TCustomForm::SendCancelMode(TControl* sender)
{
    if (FActive && FActiveControl)
        FActiveControl->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(sender));
}

void TCustomForm::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove) {
        if (component == FActiveControl)
            FActiveControl = nullptr;
        if (component == FFocusedControl)
            FFocusedControl = nullptr;
    }
}

// Tab and Shift+Tab move the focus in tab order, the arrows among siblings;
// anything else goes to the controls (a default or cancel button).
void TCustomForm::CMDialogKey(TMessage& m)
{
    if (GetKeyState(VK_MENU) >= 0) {
        if (m.WParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
            SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
            m.Result = 1;
            return;
        }
        if (m.WParam == VK_LEFT || m.WParam == VK_RIGHT || m.WParam == VK_UP || m.WParam == VK_DOWN) {
            if (FActiveControl && FActiveControl->GetParent()) {
                FActiveControl->GetParent()->SelectNext(FActiveControl, m.WParam == VK_RIGHT || m.WParam == VK_DOWN, false);
                m.Result = 1;
            }
            return;
        }
    }
    Broadcast(m);
}

// ---- closing and the modal loop ---------------------------------------------------------

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    if (FOnCloseQuery)
        FOnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close()
{
    if (FFormState.Contains(fsModal)) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    if (FOnClose)
        FOnClose(this, action);
    if (action == caNone)
        return;
    if (Application->GetMainForm() == this)
        Application->Terminate();
    else if (action == caFree)
        Release();
    else
        Hide();
}

TModalResult TCustomForm::ShowModal()
{
    if (FVisible || !GetEnabled() || FFormState.Contains(fsModal))
        throw EInvalidOperation("Cannot make a visible window modal");
    if (HWND capture = GetCapture())
        SendMessage(capture, WM_CANCELMODE, 0, 0);
    ReleaseCapture();
    FFormState.Include(fsModal);
    // Every other form stops taking input while this one is up.
    std::vector<TCustomForm*> disabled;
    for (Integer i = 0; i < Screen->GetFormCount(); ++i) {
        TCustomForm* f = Screen->GetForm(i);
        if (f != this && f->FVisible && f->GetEnabled() && f->HandleAllocated() && IsWindowEnabled(f->FHandle)) {
            EnableWindow(f->FHandle, false);
            disabled.push_back(f);
        }
    }
    auto restore = [&] {
        for (TCustomForm* f : disabled)
            if (f->HandleAllocated())
                EnableWindow(f->FHandle, true);
        FFormState.Exclude(fsModal);
    };
    try {
        Show();
        FModalResult = mrNone;
        while (FModalResult == mrNone) {
            Application->HandleMessage();
            if (Application->GetTerminated())
                FModalResult = mrCancel;
            else if (FModalResult != mrNone) {
                TCloseAction action = caHide;
                if (CloseQuery()) {
                    if (FOnClose)
                        FOnClose(this, action);
                } else {
                    action = caNone;
                }
                if (action == caNone)
                    FModalResult = mrNone;
            }
        }
    } catch (...) {
        restore();
        Hide();
        throw;
    }
    restore();
    Hide();
    return FModalResult;
}

void TCustomForm::Release()
{
    PostMessage(GetHandle(), CM_RELEASE, 0, 0);
}

void TCustomForm::CMRelease(TMessage&) { delete this; }

void TCustomForm::WMClose(TMessage&) { Close(); }

void TCustomForm::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_SHOWINGCHANGED: CMShowingChanged(m); return;
    case CM_DIALOGKEY: CMDialogKey(m); return;
    case CM_RELEASE: CMRelease(m); return;
    case WM_ACTIVATE: WMActivate(m); return;
    case WM_CLOSE: WMClose(m); return;
    case WM_SETFOCUS: WMSetFocus(m); return;
    }
    inherited::Dispatch(m);
}

// ---- unit functions ------------------------------------------------------------------------

TCustomForm* GetParentForm(TControl* control)
{
    if (!control)
        return nullptr;
    while (control->GetParent())
        control = control->GetParent();
    return dynamic_cast<TCustomForm*>(control);
}

TCustomForm* ValidParentForm(TControl* control)
{
    TCustomForm* form = GetParentForm(control);
    if (!form)
        throw EInvalidOperation(Format("Control '%s' has no parent window", {control ? control->GetName() : std::string()}));
    return form;
}

char GetHotkey(const std::string& text)
{
    char result = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != '&')
                result = text[i];
        }
    }
    return result;
}

bool IsAccel(Word vk, const std::string& caption)
{
    char hot = GetHotkey(caption);
    return hot && std::toupper(static_cast<unsigned char>(hot)) == std::toupper(static_cast<int>(vk & 0xFF));
}

} // namespace ld
