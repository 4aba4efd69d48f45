// TButtonControl: the press that push buttons and check boxes share.
// TButton: the push button. It clicks on a release inside after a press, on
// Space, on its accelerator, on Enter while it is the active button (the
// default button while no other button has the focus, or the focused button)
// and on Escape when it is the cancel button. A click sets the form's
// ModalResult to the button's own when that is not mrNone.
//
// Look, in the classic scheme, from the outside in:
//   active         black frame, then the raised bevel
//   raised bevel   highlight / dark shadow outside, light / shadow inside
//   pressed        black frame (when active), then a shadow frame; the
//                  caption moves one pixel right and down
//   focused        a dotted rectangle four pixels inside the button
#include "platform/gfx/Graphics.h"
#include "platform/gfx/Painting.h"
#include "platform/gfx/Frames.h"
#include "platform/gfx/RectUtils.h"
#include "platform/gfx/Text.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Input.h"
#include "platform/win/Paint.h"

namespace ld {

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {}

void TButtonControl::SetPressed(bool value)
{
    if (FPressed == value)
        return;
    FPressed = value;
    if (FHandle) {
        InvalidateRect(FHandle, nullptr, false);
        UpdateWindow(FHandle);
    }
}

void TButtonControl::DrawCaption(HDC dc, const TRect& rect, UINT format)
{
    TRect text = rect;
    if (GetEnabled()) {
        SetTextColor(dc, ColorToRGB(FFont->GetColor()));
        DrawText(dc, FText, text, format);
        return;
    }
    TRect shadow = rect;
    OffsetRect(shadow, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawText(dc, FText, shadow, format);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    DrawText(dc, FText, text, format);
}

bool TButtonControl::TrackPress(TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!Focused() && CanFocus())
            SetFocus();
        FTracking = true;
        SetPressed(true);
        return true;
    case WM_MOUSEMOVE:
        if (FTracking)
            SetPressed(PtInRect(GetClientRect(), LParamToPoint(m.LParam)));
        return true;
    case WM_LBUTTONUP:
        if (FTracking) {
            FTracking = false;
            const bool inside = FPressed;
            SetPressed(false);
            if (inside)
                Pushed();
        }
        return true;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
        if (FTracking && (m.Msg == WM_CANCELMODE || reinterpret_cast<HWND>(m.LParam) != FHandle)) {
            FTracking = false;
            SetPressed(false);
        }
        return false;
    case WM_KEYDOWN:
        if (m.WParam != VK_SPACE)
            return false;
        if (!FSpaceDown) {
            FSpaceDown = true;
            SetPressed(true);
        }
        return true;
    case WM_KEYUP:
        if (m.WParam != VK_SPACE || !FSpaceDown)
            return false;
        FSpaceDown = false;
        SetPressed(false);
        Pushed();
        return true;
    case WM_KILLFOCUS:
        FSpaceDown = false;
        if (!FTracking)
            SetPressed(false);
        return false;
    }
    return false;
}

void TButtonControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_ERASEBKGND: m.Result = 1; return;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
        inherited::Dispatch(m);
        Invalidate();
        return;
    }
    inherited::Dispatch(m);
}

// The window class, shared by the push button and the check box.

void TButtonControl::DefaultHandler(TMessage& m)
{
    if (TrackPress(m))
        return;
    switch (m.Msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(FHandle, ps);
        PaintWindow(dc);
        if (!m.WParam)
            EndPaint(FHandle, ps);
        return;
    }
    case WM_GETDLGCODE:
        m.Result = DialogCode();
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Invalidate();
        return;
    }
    inherited::DefaultHandler(m);
}

TButton::TButton(TComponent* owner) : TButtonControl(owner)
{
    FControlStyle = {csSetCaption, csDoubleClicks, csCaptureMouse, csOpaque};
    FWidth = 75;
    FHeight = 25;
    FTabStop = true;
}

void TButton::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    FActive = FDefault;
    if (TCustomForm* form = GetParentForm(this))
        if (auto* focused = dynamic_cast<TButton*>(form->GetActiveControl()))
            FActive = focused == this;
}

void TButton::SetDefault(bool value)
{
    if (FDefault == value)
        return;
    FDefault = value;
    TCustomForm* form = GetParentForm(this);
    auto* focused = form ? dynamic_cast<TButton*>(form->GetActiveControl()) : nullptr;
    SetActive(focused ? focused == this : FDefault);
}

void TButton::SetActive(bool value)
{
    if (FActive == value)
        return;
    FActive = value;
    Invalidate();
}

void TButton::Click()
{
    if (FModalResult != mrNone)
        if (TCustomForm* form = GetParentForm(this))
            form->SetModalResult(FModalResult);
    inherited::Click();
}

// ---- dialog keys --------------------------------------------------------------------------

void TButton::CMDialogKey(TMessage& m)
{
    const bool key = (m.WParam == VK_RETURN && FActive) || (m.WParam == VK_ESCAPE && FCancel);
    if (key && KeyDataToShiftState(m.LParam).Empty() && CanFocus()) {
        Click();
        m.Result = 1;
        return;
    }
    inherited::Dispatch(m);
}

void TButton::CMDialogChar(TMessage& m)
{
    if (IsAccel(Word(m.WParam), GetCaption()) && CanFocus()) {
        Click();
        m.Result = 1;
        return;
    }
    inherited::Dispatch(m);
}

// The focus moved: a focused button is the active one; otherwise the
// default button is.
void TButton::CMFocusChanged(TMessage& m)
{
    auto* sender = reinterpret_cast<TWinControl*>(m.LParam);
    if (dynamic_cast<TButton*>(sender))
        SetActive(sender == this);
    else
        SetActive(FDefault);
    inherited::Dispatch(m);
}

void TButton::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_DIALOGKEY: return CMDialogKey(m);
    case CM_DIALOGCHAR: return CMDialogChar(m);
    case CM_FOCUSCHANGED: return CMFocusChanged(m);
    }
    inherited::Dispatch(m);
}

// ---- painting ------------------------------------------------------------------------------------

namespace {
// One pixel wide: top and left in one colour, right and bottom (owning
// the top-right and bottom-left corners) in another.
void Bevel(HDC dc, const TRect& r, Integer topLeft, Integer bottomRight)
{
    HBRUSH tl = GetSysColorBrush(topLeft), br = GetSysColorBrush(bottomRight);
    FillRect(dc, Rect(r.Left, r.Top, r.Right - 1, r.Top + 1), tl);
    FillRect(dc, Rect(r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1), tl);
    FillRect(dc, Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom), br);
    FillRect(dc, Rect(r.Right - 1, r.Top, r.Right, r.Bottom - 1), br);
}
} // namespace

void TButton::PaintButton(HDC dc)
{
    RECT client;
    ::ld::GetClientRect(FHandle, client);
    TRect r = client;
    if (FActive || FPressed) {
        FrameRect(dc, r, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(r, -1, -1);
    }
    if (FPressed) {
        FrameRect(dc, r, GetSysColorBrush(COLOR_BTNSHADOW));
        InflateRect(r, -1, -1);
    } else {
        Bevel(dc, r, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW);
        InflateRect(r, -1, -1);
        Bevel(dc, r, COLOR_3DLIGHT, COLOR_BTNSHADOW);
        InflateRect(r, -1, -1);
    }
    FillRect(dc, r, GetSysColorBrush(COLOR_BTNFACE));

    HGDIOBJ oldFont = SelectObject(dc, FFont->GetHandle());
    SetBkMode(dc, TRANSPARENT);
    TRect text = client;
    if (FPressed)
        OffsetRect(text, 1, 1);
    const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    DrawCaption(dc, text, format);
    SelectObject(dc, oldFont);
    if (Focused()) {
        TRect focus = client;
        InflateRect(focus, -4, -4);
        SetTextColor(dc, 0);
        SetBkColor(dc, 0xFFFFFF);
        DrawFocusRect(dc, focus);
    }
}

} // namespace ld
