// TCustomForm: creation parameters per border style, showing and activation,
// the active control and the focus chain (OnEnter/OnExit), dialog keys,
// closing and the modal loop; GetParentForm and IsAccel.
#include "platform/vcl/Forms.h"

#include <cctype>

#include "platform/core/Resources.h"
#include "platform/core/SysUtils.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Text.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Writer.h"
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

// In the order the host writes a form: Left, Top, the size, the form's own
// properties, the events, and last the defined PixelsPerInch and TextHeight.
TClass TForm::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TForm>("TForm", TCustomForm::StaticClass())
        .Integer("Width", &TForm::GetWidth, &TForm::SetWidth).Stored(&TForm::IsFormSizeStored)
        .Integer("Height", &TForm::GetHeight, &TForm::SetHeight).Stored(&TForm::IsFormSizeStored)
        .Component("ActiveControl", &TForm::GetActiveControl, &TForm::SetActiveControl)
        .Boolean("AutoScroll", &TForm::GetAutoScroll, &TForm::SetAutoScroll).Stored(&TForm::IsAutoScrollStored)
        .Enum("BorderStyle", &TForm::GetBorderStyle, &TForm::SetBorderStyle, BorderStyleInfo()).Default(bsSizeable)
        .String("Caption", &TForm::GetCaption, &TForm::SetCaption)
        .Integer("ClientHeight", &TForm::GetClientHeight, &TForm::SetClientHeight).Stored(&TForm::IsClientSizeStored)
        .Integer("ClientWidth", &TForm::GetClientWidth, &TForm::SetClientWidth).Stored(&TForm::IsClientSizeStored)
        .Integer("Color", &TForm::GetColor, &TForm::SetColor).Idents(ColorIdentsInfo())
        .Object("Font", &TForm::GetFont, &TForm::SetFont)
        .Boolean("KeyPreview", &TForm::GetKeyPreview, &TForm::SetKeyPreview).Default(false)
        .Boolean("OldCreateOrder", &TForm::GetOldCreateOrder, &TForm::SetOldCreateOrder)
        .Integer("PixelsPerInch", &TForm::GetPixelsPerInch, &TForm::SetPixelsPerInch).Stored(false)
        .Enum("Position", &TForm::GetPosition, &TForm::SetPosition, PositionInfo()).Default(poDesigned)
        .Boolean("Visible", &TForm::GetVisible, &TForm::SetVisible).Default(false)
        .Event("OnActivate", &TForm::GetOnActivate, &TForm::SetOnActivate)
        .Event("OnClick", &TForm::GetOnClick, &TForm::SetOnClick)
        .Event("OnClose", &TForm::GetOnClose, &TForm::SetOnClose)
        .Event("OnCloseQuery", &TForm::GetOnCloseQuery, &TForm::SetOnCloseQuery)
        .Event("OnCreate", &TForm::GetOnCreate, &TForm::SetOnCreate)
        .Event("OnDestroy", &TForm::GetOnDestroy, &TForm::SetOnDestroy)
        .Event("OnDeactivate", &TForm::GetOnDeactivate, &TForm::SetOnDeactivate)
        .Event("OnHide", &TForm::GetOnHide, &TForm::SetOnHide)
        .Event("OnKeyDown", &TForm::GetOnKeyDown, &TForm::SetOnKeyDown)
        .Event("OnKeyPress", &TForm::GetOnKeyPress, &TForm::SetOnKeyPress)
        .Event("OnResize", &TForm::GetOnResize, &TForm::SetOnResize)
        .Event("OnMouseWheel", &TForm::GetOnMouseWheel, &TForm::SetOnMouseWheel)
        .Event("OnMouseWheelDown", &TForm::GetOnMouseWheelDown, &TForm::SetOnMouseWheelDown)
        .Event("OnMouseWheelUp", &TForm::GetOnMouseWheelUp, &TForm::SetOnMouseWheelUp)
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
    FAutoScroll = value == bsSizeable || value == bsSizeToolWin;
    RecreateWnd();
}

// ---- creation and the stored form ---------------------------------------------------

void TCustomForm::AfterConstruction()
{
    inherited::AfterConstruction();
    if (FCreated)
        return;
    FCreated = true;
    if (ClassType() != TForm::StaticClass() && ClassType() != TCustomForm::StaticClass() &&
        !ComponentState().Contains(csDesigning)) {
        FFormState.Include(fsCreating);
        try {
            if (!InitInheritedComponent())
                throw EResNotFound(Format("Resource %s not found", {UpperCase(ClassName())}));
        } catch (...) {
            FFormState.Exclude(fsCreating);
            throw;
        }
        FFormState.Exclude(fsCreating);
    }
    DoCreate();
    if (FFormState.Contains(fsVisible)) {
        FFormState.Exclude(fsVisible);
        SetVisible(true);
    }
}

bool TCustomForm::InitInheritedComponent()
{
    // Ancestors first: a form inherited from another form stores only what it
    // changes, on top of what its ancestor's stored form made.
    std::vector<TClass> chain;
    for (TClass c = ClassType(); c != nullptr && c != TForm::StaticClass() && c != TCustomForm::StaticClass(); c = c->Parent)
        chain.push_back(c);
    bool found = false;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        // The class record lives in the module that defines the class.
        const HMODULE module = ModuleOf(*it);
        const std::string name = UpperCase((*it)->Name);
        if (!FindResource(module, name, RT_RCDATA))
            continue;
        ReadComponentRes(module, name, this);
        found = true;
    }
    return found;
}

void TCustomForm::DoCreate()
{
    try {
        if (FOnCreate)
            FOnCreate(this);
    } catch (const std::exception& e) {
        Application->HandleException(this, e);
    }
}

void TCustomForm::DoDestroy()
{
    try {
        if (FOnDestroy)
            FOnDestroy(this);
    } catch (const std::exception& e) {
        Application->HandleException(this, e);
    }
}

void TCustomForm::BeforeDestruction()
{
    const bool first = !ComponentState().Contains(csDestroying);
    inherited::BeforeDestruction();
    if (first)
        DoDestroy();
}

void TCustomForm::ReadState(TReader* reader)
{
    FClientWidth = 0;
    FClientHeight = 0;
    FTextHeight = 0;
    // TControl::ReadState marks the form csReadingState while its properties
    // are read, which holds ClientWidth and ClientHeight back.
    inherited::ReadState(reader);
    // The client size depends on the frame, which depends on the border style:
    // it is applied once everything is read, whatever the order.
    if (FClientWidth > 0)
        SetClientWidth(FClientWidth);
    if (FClientHeight > 0)
        SetClientHeight(FClientHeight);
}

void TCustomForm::SetClientWidth(Integer value)
{
    if (FControlState.Contains(csReadingState))
        FClientWidth = value;
    else
        TControl::SetClientWidth(value);
}

void TCustomForm::SetClientHeight(Integer value)
{
    if (FControlState.Contains(csReadingState))
        FClientHeight = value;
    else
        TControl::SetClientHeight(value);
}

// Without a window the client area is what the frame of the border style leaves.
TRect TCustomForm::GetClientRect() const
{
    if (HandleAllocated())
        return inherited::GetClientRect();
    TCreateParams params;
    const_cast<TCustomForm*>(this)->CreateParams(params);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(frame, params.Style, false, params.ExStyle);
    return {0, 0, std::max(FWidth - frame.Width(), 0), std::max(FHeight - frame.Height(), 0)};
}

bool TCustomForm::IsAutoScrollStored() const
{
    return FAutoScroll != (FBorderStyle == bsSizeable || FBorderStyle == bsSizeToolWin);
}

void TCustomForm::SetPixelsPerInch(Integer value)
{
    if (value == 0 || value >= 36)
        FPixelsPerInch = value;
}

Integer TCustomForm::GetTextHeight() const
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FFont->GetHandle());
    TSize size{0, 0};
    GetTextExtentPoint32(dc, "0", size);
    SelectObject(dc, old);
    DeleteDC(dc);
    return size.cy;
}

// A form read from a stored form writes back the text height it was designed
// with (forms are not scaled to the font here); a new form writes its own.
void TCustomForm::DefineProperties(TFiler* filer)
{
    inherited::DefineProperties(filer);
    const bool isForm = GetParent() == nullptr;
    filer->DefineProperty("PixelsPerInch",
                          TReaderProc::Lambda([this](TReader* r) { SetPixelsPerInch(r->ReadInteger()); }),
                          TWriterProc::Lambda([this](TWriter* w) { w->WriteInteger(FPixelsPerInch); }), isForm);
    filer->DefineProperty("TextHeight", TReaderProc::Lambda([this](TReader* r) { FTextHeight = r->ReadInteger(); }),
                          TWriterProc::Lambda([this](TWriter* w) {
                              w->WriteInteger(FTextHeight > 0 ? FTextHeight : GetTextHeight());
                          }),
                          isForm);
}

// ---- showing and activation -----------------------------------------------------

// A form wider or taller than the screen keeps its caption on the screen.
void TCustomForm::MoveToPosition()
{
    if (FPosition == poScreenCenter || FPosition == poDesktopCenter)
        SetBounds(std::max((Screen->GetWidth() - FWidth) / 2, 0), std::max((Screen->GetHeight() - FHeight) / 2, 0),
                  FWidth, FHeight);
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

void TCustomForm::SetVisible(bool value)
{
    if (!FFormState.Contains(fsCreating)) {
        TControl::SetVisible(value);
        return;
    }
    if (value)
        FFormState.Include(fsVisible);
    else
        FFormState.Exclude(fsVisible);
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

namespace {

// Every other visible and enabled top-level window stops taking input while a
// modal form is up, whoever made it; the list says which to give it back to.
std::vector<HWND> DisableTaskWindows()
{
    std::vector<HWND> disabled;
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        if (IsWindowVisible(w) && IsWindowEnabled(w))
            disabled.push_back(w);
    for (HWND w : disabled)
        EnableWindow(w, false);
    return disabled;
}

void EnableTaskWindows(const std::vector<HWND>& disabled)
{
    for (HWND w : disabled)
        if (IsWindow(w))
            EnableWindow(w, true);
}

} // namespace

// The modal loop runs on the application's own HandleMessage, so it waits in
// the backend like the main loop does. Closing hides the form, gives the other
// windows their input back and activates the window that was active before.
TModalResult TCustomForm::ShowModal()
{
    if (FVisible || !GetEnabled() || FFormState.Contains(fsModal))
        throw EInvalidOperation("Cannot make a visible window modal");
    if (HWND capture = GetCapture())
        SendMessage(capture, WM_CANCELMODE, 0, 0);
    ReleaseCapture();
    FFormState.Include(fsModal);
    const HWND activeWindow = GetActiveWindow();
    // The dialog belongs to the window it was opened from, which a host's
    // window manager keeps it above.
    if (activeWindow != GetHandle())
        SetWindowLongPtr(GetHandle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(activeWindow));
    const TCursor savedCursor = Screen->GetCursor();
    Screen->SetCursor(crDefault);
    const std::vector<HWND> disabled = DisableTaskWindows();
    auto restore = [&] {
        EnableTaskWindows(disabled);
        if (activeWindow && IsWindow(activeWindow) && IsWindowVisible(activeWindow))
            SetActiveWindow(activeWindow);
        Screen->SetCursor(savedCursor);
        FFormState.Exclude(fsModal);
    };
    try {
        Show();
        try {
            FModalResult = mrNone;
            do {
                Application->HandleMessage();
                if (Application->GetTerminated())
                    FModalResult = mrCancel;
                else if (FModalResult != mrNone)
                    CloseModal();
            } while (FModalResult == mrNone);
        } catch (...) {
            Hide();
            throw;
        }
        Hide();
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return FModalResult;
}

void TCustomForm::CloseModal()
{
    try {
        TCloseAction action = caNone;
        if (CloseQuery()) {
            action = caHide;
            if (FOnClose)
                FOnClose(this, action);
        }
        if (action == caNone)
            FModalResult = mrNone;
        else if (action == caFree)
            Release();
    } catch (const std::exception& e) {
        FModalResult = mrNone;
        Application->HandleException(this, e);
    }
}

void TCustomForm::Release()
{
    PostMessage(GetHandle(), CM_RELEASE, 0, 0);
}

void TCustomForm::CMRelease(TMessage&) { Free(); }

void TCustomForm::WMClose(TMessage&) { Close(); }

// The constraints bound what dragging a border makes of the form.
void TCustomForm::WMGetMinMaxInfo(TMessage& m)
{
    auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
    const TSizeConstraints* c = FConstraints;
    if (c->GetMinWidth() > 0)
        info->ptMinTrackSize.X = c->GetMinWidth();
    if (c->GetMinHeight() > 0)
        info->ptMinTrackSize.Y = c->GetMinHeight();
    if (c->GetMaxWidth() > 0)
        info->ptMaxTrackSize.X = c->GetMaxWidth();
    if (c->GetMaxHeight() > 0)
        info->ptMaxTrackSize.Y = c->GetMaxHeight();
}

void TCustomForm::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_SHOWINGCHANGED: CMShowingChanged(m); return;
    case CM_DIALOGKEY: CMDialogKey(m); return;
    case CM_RELEASE: CMRelease(m); return;
    case WM_ACTIVATE: WMActivate(m); return;
    case WM_CLOSE: WMClose(m); return;
    case WM_GETMINMAXINFO: WMGetMinMaxInfo(m); return;
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
