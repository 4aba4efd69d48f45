// The class library's drawing objects: TFont, TPen and TBrush. Each holds the
// values a form file stores, makes its GDI handle when asked and drops it on
// any change, and tells OnChange (a canvas re-selects it, a control repaints).
#pragma once

#include <string>

#include "platform/core/Events.h"
#include "platform/core/Persistent.h"
#include "platform/core/Set.h"
#include "platform/gfx/Colors.h"
#include "platform/gfx/GdiObjects.h"

namespace ld {

class TGraphicsObject : public TPersistent {
    LD_CLASS(TGraphicsObject, TPersistent)

    TNotifyEvent GetOnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent value) { FOnChange = std::move(value); }

protected:
    virtual void Changed();

private:
    TNotifyEvent FOnChange;
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle, uint8_t>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = Byte;
const TEnumInfo& FontStyleInfo();
const TEnumInfo& FontPitchInfo();
// The TColor and TFontCharset names (clBtnFace, DEFAULT_CHARSET) for form files.
const TIntegerIdents& ColorIdentsInfo();
const TIntegerIdents& CharsetIdentsInfo();

class TFont : public TGraphicsObject {
    LD_CLASS(TFont, TGraphicsObject)

    TFont();
    ~TFont() override;
    void Assign(TPersistent* source) override;

    TFontCharset GetCharset() const { return FCharset; }
    void SetCharset(TFontCharset value);
    TColor GetColor() const { return FColor; }
    void SetColor(TColor value);
    Integer GetHeight() const { return FHeight; }
    void SetHeight(Integer value);
    const std::string& GetName() const { return FName; }
    void SetName(const std::string& value);
    TFontPitch GetPitch() const { return FPitch; }
    void SetPitch(TFontPitch value);
    // Points at PixelsPerInch: -Height * 72 / PixelsPerInch, rounded.
    Integer GetSize() const;
    void SetSize(Integer value);
    TFontStyles GetStyle() const { return FStyle; }
    void SetStyle(TFontStyles value);
    Integer GetPixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(Integer value) { FPixelsPerInch = value > 0 ? value : 96; }

    HFONT GetHandle();
    LOGFONT LogFont() const;

private:
    TFontCharset FCharset = DEFAULT_CHARSET;
    TColor FColor = clWindowText;
    Integer FHeight = -11;
    std::string FName = "MS Sans Serif";
    TFontPitch FPitch = fpDefault;
    TFontStyles FStyle;
    Integer FPixelsPerInch = 96;
    HFONT FHandle = nullptr;
    void FontChanged();
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode { pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmXor };
const TEnumInfo& PenStyleInfo();
const TEnumInfo& PenModeInfo();

class TPen : public TGraphicsObject {
    LD_CLASS(TPen, TGraphicsObject)

    TPen() = default;
    ~TPen() override;
    void Assign(TPersistent* source) override;

    TColor GetColor() const { return FColor; }
    void SetColor(TColor value);
    TPenMode GetMode() const { return FMode; }
    void SetMode(TPenMode value);
    TPenStyle GetStyle() const { return FStyle; }
    void SetStyle(TPenStyle value);
    Integer GetWidth() const { return FWidth; }
    void SetWidth(Integer value);

    HPEN GetHandle();
    // The R2_xxx mix of the mode.
    Integer Rop2() const;

private:
    TColor FColor = clBlack;
    TPenMode FMode = pmCopy;
    TPenStyle FStyle = psSolid;
    Integer FWidth = 1;
    HPEN FHandle = nullptr;
    void PenChanged();
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
const TEnumInfo& BrushStyleInfo();

class TBrush : public TGraphicsObject {
    LD_CLASS(TBrush, TGraphicsObject)

    TBrush() = default;
    ~TBrush() override;
    void Assign(TPersistent* source) override;

    TColor GetColor() const { return FColor; }
    void SetColor(TColor value);
    TBrushStyle GetStyle() const { return FStyle; }
    void SetStyle(TBrushStyle value);

    HBRUSH GetHandle();

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    HBRUSH FHandle = nullptr;
    void BrushChanged();
};

} // namespace ld
