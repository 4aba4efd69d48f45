#include "platform/gfx/Canvas.h"

#include "platform/core/SysUtils.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Blit.h"
#include "platform/gfx/Painting.h"
#include "platform/gfx/Text.h"

namespace ld {

namespace {

const TCanvasState AllValid{csHandleValid, csFontValid, csPenValid, csBrushValid};

} // namespace

TClass TCanvas::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TCanvas>("TCanvas", TPersistent::StaticClass());
    return &info;
}

TCanvas::TCanvas() : FFont(new TFont), FPen(new TPen), FBrush(new TBrush)
{
    FFont->SetOnChange(TNotifyEvent(this, &TCanvas::FontChanged));
    FPen->SetOnChange(TNotifyEvent(this, &TCanvas::PenChanged));
    FBrush->SetOnChange(TNotifyEvent(this, &TCanvas::BrushChanged));
}

TCanvas::~TCanvas()
{
    SetHandle(nullptr);
    FFont->Free();
    FPen->Free();
    FBrush->Free();
}

HDC TCanvas::GetHandle()
{
    Changing();
    RequiredState(AllValid);
    return FHandle;
}

void TCanvas::SetHandle(HDC value)
{
    if (value == FHandle)
        return;
    if (FHandle != nullptr) {
        DeselectHandles();
        FHandle = nullptr;
        FState = {};
    }
    if (value != nullptr) {
        FHandle = value;
        FState.Include(csHandleValid);
    }
}

void TCanvas::CreateHandle()
{
}

void TCanvas::RequiredState(TCanvasState state)
{
    const TCanvasState needed = state - FState;
    if (needed.Empty())
        return;
    if (needed.Contains(csHandleValid)) {
        CreateHandle();
        if (FHandle == nullptr)
            throw EInvalidOperation("Canvas does not allow drawing");
        FState.Include(csHandleValid);
    }
    if (needed.Contains(csFontValid))
        SelectFont();
    if (needed.Contains(csPenValid))
        SelectPen();
    if (needed.Contains(csBrushValid))
        SelectBrush();
}

void TCanvas::SelectFont()
{
    SelectObject(FHandle, FFont->GetHandle());
    SetTextColor(FHandle, ColorToRGB(FFont->GetColor()));
    FState.Include(csFontValid);
}

void TCanvas::SelectPen()
{
    SelectObject(FHandle, FPen->GetHandle());
    SetROP2(FHandle, FPen->Rop2());
    FState.Include(csPenValid);
}

// A solid brush makes text and pen gaps opaque in its colour; any other leaves
// them transparent.
void TCanvas::SelectBrush()
{
    SelectObject(FHandle, FBrush->GetHandle());
    const COLORREF color = ColorToRGB(FBrush->GetColor());
    if (FBrush->GetStyle() == bsSolid) {
        SetBkColor(FHandle, color);
        SetBkMode(FHandle, OPAQUE);
    } else {
        SetBkColor(FHandle, ~color & 0x00FFFFFFu);
        SetBkMode(FHandle, TRANSPARENT);
    }
    FState.Include(csBrushValid);
}

void TCanvas::DeselectHandles()
{
    if (FHandle == nullptr || !IsDC(FHandle))
        return;
    if (FState.Contains(csPenValid))
        SelectObject(FHandle, GetStockObject(BLACK_PEN));
    if (FState.Contains(csBrushValid))
        SelectObject(FHandle, GetStockObject(WHITE_BRUSH));
    if (FState.Contains(csFontValid))
        SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
    FState = FState - TCanvasState{csFontValid, csPenValid, csBrushValid};
}

void TCanvas::Refresh()
{
    DeselectHandles();
}

void TCanvas::FontChanged(TObject*)
{
    if (FState.Contains(csFontValid)) {
        FState.Exclude(csFontValid);
        SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
    }
}

void TCanvas::PenChanged(TObject*)
{
    if (FState.Contains(csPenValid)) {
        FState.Exclude(csPenValid);
        SelectObject(FHandle, GetStockObject(BLACK_PEN));
    }
}

void TCanvas::BrushChanged(TObject*)
{
    if (FState.Contains(csBrushValid)) {
        FState.Exclude(csBrushValid);
        SelectObject(FHandle, GetStockObject(WHITE_BRUSH));
    }
}

void TCanvas::Changing()
{
    if (Assigned(FOnChanging))
        FOnChanging(this);
}

void TCanvas::Changed()
{
    if (Assigned(FOnChange))
        FOnChange(this);
}

TPoint TCanvas::GetPenPos()
{
    RequiredState({csHandleValid});
    TPoint p;
    GetCurrentPositionEx(FHandle, &p);
    return p;
}

void TCanvas::SetPenPos(TPoint value)
{
    MoveTo(value.X, value.Y);
}

void TCanvas::MoveTo(Integer x, Integer y)
{
    RequiredState({csHandleValid});
    MoveToEx(FHandle, x, y, nullptr);
}

void TCanvas::LineTo(Integer x, Integer y)
{
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ld::LineTo(FHandle, x, y);
    Changed();
}

void TCanvas::Rectangle(Integer x1, Integer y1, Integer x2, Integer y2)
{
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ld::Rectangle(FHandle, x1, y1, x2, y2);
    Changed();
}

void TCanvas::FillRect(const TRect& r)
{
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    ld::FillRect(FHandle, r, FBrush->GetHandle());
    Changed();
}

void TCanvas::FrameRect(const TRect& r)
{
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    ld::FrameRect(FHandle, r, FBrush->GetHandle());
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& r)
{
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    ld::DrawFocusRect(FHandle, r);
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source)
{
    if (canvas == nullptr)
        return;
    Changing();
    RequiredState({csHandleValid, csFontValid, csBrushValid});
    canvas->RequiredState({csHandleValid, csBrushValid});
    StretchBlt(FHandle, dest.Left, dest.Top, dest.Width(), dest.Height(), canvas->FHandle, source.Left, source.Top,
               source.Width(), source.Height(), FCopyMode);
    Changed();
}

void TCanvas::Draw(Integer x, Integer y, TBitmap* bitmap)
{
    if (bitmap == nullptr || bitmap->Empty())
        return;
    Changing();
    RequiredState({csHandleValid});
    HDC source = bitmap->GetCanvas()->GetHandle();
    const Integer w = bitmap->GetWidth(), h = bitmap->GetHeight();
    if (bitmap->GetTransparent())
        TransparentBlt(FHandle, x, y, w, h, source, 0, 0, w, h, ColorToRGB(bitmap->GetTransparentColor()));
    else
        BitBlt(FHandle, x, y, w, h, source, 0, 0, FCopyMode);
    Changed();
}

void TCanvas::StretchDraw(const TRect& r, TBitmap* bitmap)
{
    if (bitmap == nullptr || bitmap->Empty())
        return;
    Changing();
    RequiredState({csHandleValid});
    StretchBlt(FHandle, r.Left, r.Top, r.Width(), r.Height(), bitmap->GetCanvas()->GetHandle(), 0, 0,
               bitmap->GetWidth(), bitmap->GetHeight(), FCopyMode);
    Changed();
}

void TCanvas::TextOut(Integer x, Integer y, const std::string& text)
{
    Changing();
    RequiredState({csHandleValid, csFontValid, csBrushValid});
    ld::TextOut(FHandle, x, y, text);
    MoveToEx(FHandle, x + TextWidth(text), y, nullptr);
    Changed();
}

void TCanvas::TextRect(const TRect& r, Integer x, Integer y, const std::string& text)
{
    Changing();
    RequiredState({csHandleValid, csFontValid, csBrushValid});
    UINT options = ETO_CLIPPED;
    if (FBrush->GetStyle() != bsClear)
        options |= ETO_OPAQUE;
    ExtTextOut(FHandle, x, y, options, &r, text);
    Changed();
}

TSize TCanvas::TextExtent(const std::string& text)
{
    RequiredState({csHandleValid, csFontValid});
    TSize size;
    GetTextExtentPoint32(FHandle, text, size);
    return size;
}

TColor TCanvas::GetPixel(Integer x, Integer y)
{
    RequiredState({csHandleValid});
    return TColor(ld::GetPixel(FHandle, x, y));
}

void TCanvas::SetPixel(Integer x, Integer y, TColor color)
{
    Changing();
    RequiredState({csHandleValid, csPenValid});
    ld::SetPixel(FHandle, x, y, ColorToRGB(color));
    Changed();
}

TRect TCanvas::GetClipRect()
{
    RequiredState({csHandleValid});
    TRect r;
    GetClipBox(FHandle, r);
    return r;
}

} // namespace ld
