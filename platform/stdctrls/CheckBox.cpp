// TCheckBox: a box that a click, Space or its accelerator checks and clears
// (and, with AllowGrayed, greys), with its caption beside it. Every change of
// State repaints it and fires OnClick, whether the user or the program made
// it; only reading a stored form changes it silently.
//
// Look, in the classic scheme: a 13-pixel box with a sunken edge, white inside
// (the button face while pressed, disabled or grayed), a black check (grey
// when disabled or grayed); the caption four pixels beside it, with a dotted
// rectangle around it while the box has the focus.
#include "platform/gfx/Frames.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/Painting.h"
#include "platform/gfx/RectUtils.h"
#include "platform/gfx/Text.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Input.h"
#include "platform/win/Paint.h"

namespace ld {

namespace {
constexpr Integer BoxSize = 13;
constexpr Integer CaptionGap = 4;
// The check, seven columns of three pixels; each column's top row.
constexpr Integer CheckTops[] = {2, 3, 4, 3, 2, 1, 0};
} // namespace

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner)
{
    FControlStyle = {csSetCaption, csDoubleClicks, csCaptureMouse};
    FWidth = 97;
    FHeight = 17;
    FTabStop = true;
}

void TCustomCheckBox::SetAlignment(TAlignment value)
{
    if (FAlignment == value)
        return;
    FAlignment = value;
    Invalidate();
}

void TCustomCheckBox::SetState(TCheckBoxState value)
{
    if (FState == value)
        return;
    FState = value;
    if (FHandle) {
        InvalidateRect(FHandle, nullptr, false);
        UpdateWindow(FHandle);
    }
    if (!ComponentState().Contains(csReading) && !ComponentState().Contains(csLoading))
        Click();
}

void TCustomCheckBox::Toggle()
{
    switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); return;
    case cbGrayed: SetState(cbChecked); return;
    case cbChecked: SetState(cbUnchecked); return;
    }
}

void TCustomCheckBox::CMDialogChar(TMessage& m)
{
    if (IsAccel(Word(m.WParam), GetCaption()) && CanFocus()) {
        SetFocus();
        if (Focused())
            Toggle();
        m.Result = 1;
        return;
    }
    inherited::Dispatch(m);
}

void TCustomCheckBox::Dispatch(TMessage& m)
{
    if (m.Msg == CM_DIALOGCHAR)
        return CMDialogChar(m);
    inherited::Dispatch(m);
}

// ---- painting ------------------------------------------------------------------------------------

TRect TCustomCheckBox::BoxRect() const
{
    const Integer top = (GetClientHeight() - BoxSize) / 2;
    const Integer left = FAlignment == taLeftJustify ? GetClientWidth() - BoxSize : 0;
    return Bounds(left, top, BoxSize, BoxSize);
}

void TCustomCheckBox::PaintCheckBox(HDC dc)
{
    RECT client;
    ::ld::GetClientRect(FHandle, client);
    FillRect(dc, client, GetBrushHandle());

    TRect box = BoxRect();
    DrawEdge(dc, box, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    const bool dim = !GetEnabled() || FState == cbGrayed;
    FillRect(dc, box, GetSysColorBrush(dim || FPressed ? COLOR_BTNFACE : COLOR_WINDOW));
    if (FState != cbUnchecked) {
        HBRUSH ink = GetSysColorBrush(dim ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT);
        for (Integer x = 0; x < Integer(std::size(CheckTops)); ++x)
            FillRect(dc, Bounds(box.Left + 1 + x, box.Top + 1 + CheckTops[x], 1, 3), ink);
    }

    HGDIOBJ oldFont = SelectObject(dc, FFont->GetHandle());
    SetBkMode(dc, TRANSPARENT);
    TRect text = client;
    if (FAlignment == taLeftJustify)
        text.Right = BoxRect().Left - CaptionGap;
    else
        text.Left = BoxRect().Right + CaptionGap;
    const UINT format = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
    DrawCaption(dc, text, format);
    if (Focused() && !FText.empty()) {
        TRect measured = text;
        DrawText(dc, FText, measured, format | DT_CALCRECT);
        TRect focus = Rect(text.Left - 1, text.Top + (text.Height() - measured.Height()) / 2 - 1,
                           text.Left + measured.Width() + 1, 0);
        focus.Bottom = focus.Top + measured.Height() + 2;
        SetTextColor(dc, 0);
        SetBkColor(dc, 0xFFFFFF);
        DrawFocusRect(dc, focus);
    }
    SelectObject(dc, oldFont);
}

} // namespace ld
