// TCustomGroupBox, an etched frame with its caption that holds controls, and
// TCustomLabel, a windowless caption that can send its accelerator on to a
// control.
#include <algorithm>

#include "platform/gfx/Graphics.h"
#include "platform/gfx/Painting.h"
#include "platform/gfx/RectUtils.h"
#include "platform/gfx/Text.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Paint.h"

namespace ld {

// ---- TCustomGroupBox -----------------------------------------------------------------------------

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner)
{
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csReplicatable};
    FWidth = 185;
    FHeight = 105;
}

// The children stand below the caption and inside the frame.
void TCustomGroupBox::AdjustClientRect(TRect& rect)
{
    inherited::AdjustClientRect(rect);
    // Measured on the screen: this may run before the box has a window.
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FFont->GetHandle());
    TSize size;
    GetTextExtentPoint32(dc, "0", size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    rect.Top += size.cy;
    InflateRect(rect, -1, -1);
    if (GetCtl3D())
        InflateRect(rect, -1, -1);
}

void TCustomGroupBox::Paint()
{
    TCanvas* canvas = FCanvas;
    canvas->SetFont(FFont);
    const Integer h = canvas->TextHeight("0");
    TRect r = Rect(0, h / 2 - 1, FWidth, FHeight);
    if (GetCtl3D()) {
        ++r.Left;
        ++r.Top;
        canvas->GetBrush()->SetColor(clBtnHighlight);
        canvas->FrameRect(r);
        OffsetRect(r, -1, -1);
        canvas->GetBrush()->SetColor(clBtnShadow);
    } else {
        canvas->GetBrush()->SetColor(clWindowFrame);
    }
    canvas->FrameRect(r);
    if (!FText.empty()) {
        TRect text = Rect(8, 0, 0, h);
        HDC dc = canvas->GetHandle();
        DrawText(dc, FText, text, DT_SINGLELINE | DT_CALCRECT);
        canvas->GetBrush()->SetColor(FColor);
        canvas->FillRect(text);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ColorToRGB(GetEnabled() ? FFont->GetColor() : clGrayText));
        DrawText(dc, FText, text, DT_SINGLELINE);
    }
}

void TCustomGroupBox::CMDialogChar(TMessage& m)
{
    if (IsAccel(Word(m.WParam), FText) && CanFocus()) {
        SelectFirst();
        m.Result = 1;
        return;
    }
    inherited::Dispatch(m);
}

void TCustomGroupBox::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_DIALOGCHAR: return CMDialogChar(m);
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
    case CM_ENABLEDCHANGED:
        inherited::Dispatch(m);
        Invalidate();
        if (m.Msg == CM_FONTCHANGED)
            Realign();
        return;
    }
    inherited::Dispatch(m);
}

// ---- TCustomLabel ---------------------------------------------------------------------------------

namespace {
std::string FontKey(const TFont* font)
{
    return font->GetName() + '/' + std::to_string(font->GetHeight()) + '/' + std::to_string(font->GetStyle().Bits()) +
           '/' + std::to_string(int(font->GetCharset()));
}
} // namespace

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner)
{
    FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csReplicatable, csDoubleClicks};
    FWidth = 65;
    FHeight = 17;
    FFittedFont = FontKey(FFont);
}

void TCustomLabel::SetFocusControl(TWinControl* value)
{
    if (FFocusControl == value)
        return;
    FFocusControl = value;
    if (value)
        value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FFocusControl)
        FFocusControl = nullptr;
}

void TCustomLabel::SetAutoSize(bool value)
{
    if (FAutoSize == value)
        return;
    FAutoSize = value;
    AdjustBounds();
}

void TCustomLabel::SetTransparent(bool value)
{
    if (GetTransparent() == value)
        return;
    if (value)
        FControlStyle.Exclude(csOpaque);
    else
        FControlStyle.Include(csOpaque);
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool value)
{
    if (FShowAccelChar == value)
        return;
    FShowAccelChar = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool value)
{
    if (FWordWrap == value)
        return;
    FWordWrap = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetAlignment(TAlignment value)
{
    if (FAlignment == value)
        return;
    FAlignment = value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout value)
{
    if (FLayout == value)
        return;
    FLayout = value;
    Invalidate();
}

void TCustomLabel::DoDrawText(HDC dc, TRect& rect, UINT flags)
{
    std::string text = FText;
    // An empty caption still measures one line high.
    if ((flags & DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == "&")))
        text += ' ';
    if (!FShowAccelChar)
        flags |= DT_NOPREFIX;
    HGDIOBJ oldFont = SelectObject(dc, FFont->GetHandle());
    SetBkMode(dc, TRANSPARENT);
    if (!GetEnabled() && !(flags & DT_CALCRECT)) {
        TRect shadow = rect;
        OffsetRect(shadow, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawText(dc, text, shadow, flags);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
        DrawText(dc, text, rect, flags);
    } else {
        SetTextColor(dc, ColorToRGB(FFont->GetColor()));
        DrawText(dc, text, rect, flags);
    }
    SelectObject(dc, oldFont);
}

void TCustomLabel::Paint()
{
    static const UINT alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    TCanvas* canvas = FCanvas;
    const TRect client = GetClientRect();
    if (!GetTransparent()) {
        canvas->GetBrush()->SetColor(FColor);
        canvas->FillRect(client);
    }
    HDC dc = canvas->GetHandle();
    TRect r = client;
    const UINT flags = DT_EXPANDTABS | (FWordWrap ? UINT(DT_WORDBREAK) : 0u) | alignments[FAlignment];
    if (FLayout != tlTop) {
        TRect measure = r;
        DoDrawText(dc, measure, flags | DT_CALCRECT);
        Integer offset = r.Height() - measure.Height();
        r.Top += FLayout == tlBottom ? offset : offset / 2;
    }
    DoDrawText(dc, r, flags);
}

void TCustomLabel::AdjustBounds()
{
    if (!FAutoSize || ComponentState().Contains(csReading) || ComponentState().Contains(csLoading))
        return;
    HDC dc = GetDC(nullptr);
    TRect r = GetClientRect();
    DoDrawText(dc, r, DT_EXPANDTABS | DT_CALCRECT | (FWordWrap ? UINT(DT_WORDBREAK) : 0u));
    ReleaseDC(nullptr, dc);
    Integer x = FLeft;
    if (FAlignment == taRightJustify)
        x += FWidth - r.Right;
    SetBounds(x, FTop, r.Right, r.Bottom);
}

void TCustomLabel::CMDialogChar(TMessage& m)
{
    if (FFocusControl && GetEnabled() && FShowAccelChar && IsAccel(Word(m.WParam), FText) && FFocusControl->CanFocus()) {
        FFocusControl->SetFocus();
        m.Result = 1;
        return;
    }
    inherited::Dispatch(m);
}

void TCustomLabel::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_DIALOGCHAR: return CMDialogChar(m);
    case CM_FONTCHANGED: {
        inherited::Dispatch(m);
        std::string key = FontKey(FFont);
        if (key != FFittedFont) {
            FFittedFont = key;
            AdjustBounds();
        }
        Invalidate();
        return;
    }
    case CM_TEXTCHANGED:
        inherited::Dispatch(m);
        AdjustBounds();
        Invalidate();
        return;
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
        inherited::Dispatch(m);
        Invalidate();
        return;
    }
    inherited::Dispatch(m);
}

} // namespace ld
