// TCanvas: drawing with a font, a pen and a brush on a device context. Changes
// of the three objects reach the DC before the next drawing call (each call asks
// for the state it needs). A canvas without a DC asks CreateHandle for one; the
// plain TCanvas cannot make one and raises EInvalidOperation.
#pragma once

#include <string>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/GraphicsObjects.h"

namespace ld {

class TBitmap;

enum TCanvasStates { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = TSet<TCanvasStates, uint8_t>;
using TCopyMode = DWORD;

class TCanvas : public TPersistent {
    LD_CLASS(TCanvas, TPersistent)

    TCanvas();
    ~TCanvas() override;

    HDC GetHandle();
    // Lets go of the old DC (its objects are deselected first) and takes this one.
    void SetHandle(HDC value);
    bool HandleAllocated() const { return FHandle != nullptr; }

    TFont* GetFont() const { return FFont; }
    void SetFont(TFont* value) { FFont->Assign(value); }
    TPen* GetPen() const { return FPen; }
    void SetPen(TPen* value) { FPen->Assign(value); }
    TBrush* GetBrush() const { return FBrush; }
    void SetBrush(TBrush* value) { FBrush->Assign(value); }
    TCopyMode GetCopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode value) { FCopyMode = value; }

    TPoint GetPenPos();
    void SetPenPos(TPoint value);
    void MoveTo(Integer x, Integer y);
    // Up to, not including, the end point.
    void LineTo(Integer x, Integer y);
    void Rectangle(Integer x1, Integer y1, Integer x2, Integer y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void DrawFocusRect(const TRect& r);
    // Copies source of canvas onto dest of this canvas, stretching when sizes differ.
    void CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source);
    void Draw(Integer x, Integer y, TBitmap* bitmap);
    void StretchDraw(const TRect& r, TBitmap* bitmap);

    // Draws at x, y and moves the pen position to the text's end.
    void TextOut(Integer x, Integer y, const std::string& text);
    // Text clipped to r, its background filled when the brush is solid.
    void TextRect(const TRect& r, Integer x, Integer y, const std::string& text);
    TSize TextExtent(const std::string& text);
    Integer TextWidth(const std::string& text) { return TextExtent(text).cx; }
    Integer TextHeight(const std::string& text) { return TextExtent(text).cy; }

    TColor GetPixel(Integer x, Integer y);
    void SetPixel(Integer x, Integer y, TColor color);
    TRect GetClipRect();

    // Deselects the objects, so their next change cannot reach a stale DC.
    void Refresh();
    TNotifyEvent GetOnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent value) { FOnChange = std::move(value); }
    TNotifyEvent GetOnChanging() const { return FOnChanging; }
    void SetOnChanging(TNotifyEvent value) { FOnChanging = std::move(value); }

protected:
    // Makes a DC when drawing needs one; the plain canvas has none to make.
    virtual void CreateHandle();
    // The DC as it stands, nothing selected into it.
    HDC CurrentHandle() const { return FHandle; }
    void RequiredState(TCanvasState state);
    virtual void Changing();
    virtual void Changed();

private:
    HDC FHandle = nullptr;
    TCanvasState FState;
    TFont* FFont;
    TPen* FPen;
    TBrush* FBrush;
    TCopyMode FCopyMode = 0x00CC0020; // SRCCOPY
    TNotifyEvent FOnChange;
    TNotifyEvent FOnChanging;
    void FontChanged(TObject* sender);
    void PenChanged(TObject* sender);
    void BrushChanged(TObject* sender);
    void DeselectHandles();
    void SelectFont();
    void SelectPen();
    void SelectBrush();
};

} // namespace ld
