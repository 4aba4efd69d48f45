#include "platform/gfx/GraphicsObjects.h"

#include <cmath>

#include "platform/core/SysUtils.h"
#include "platform/gfx/DeviceContext.h"

namespace ld {

namespace {

template <typename T>
void DropHandle(T*& handle)
{
    if (handle != nullptr) {
        DeleteObject(handle);
        handle = nullptr;
    }
}

} // namespace

// -- Type info --

const TEnumInfo& FontStyleInfo()
{
    static const TEnumInfo info{"TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
    return info;
}

const TEnumInfo& FontPitchInfo()
{
    static const TEnumInfo info{"TFontPitch", {"fpDefault", "fpVariable", "fpFixed"}};
    return info;
}

const TEnumInfo& PenStyleInfo()
{
    static const TEnumInfo info{
        "TPenStyle", {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"}};
    return info;
}

const TEnumInfo& PenModeInfo()
{
    static const TEnumInfo info{"TPenMode", {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmXor"}};
    return info;
}

const TEnumInfo& BrushStyleInfo()
{
    static const TEnumInfo info{"TBrushStyle", {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal",
                                                "bsBDiagonal", "bsCross", "bsDiagCross"}};
    return info;
}

const TIntegerIdents& ColorIdentsInfo()
{
    static const TIntegerIdents* idents = [] {
        auto* table = new TIntegerIdents;
        table->TypeName = "TColor";
        for (const TColorIdent& entry : ColorIdents())
            table->Entries.emplace_back(entry.Value, entry.Name);
        RegisterIntegerConsts(*table);
        return table;
    }();
    return *idents;
}

const TIntegerIdents& CharsetIdentsInfo()
{
    static const TIntegerIdents* idents = [] {
        auto* table = new TIntegerIdents;
        table->TypeName = "TFontCharset";
        table->Entries = {{ANSI_CHARSET, "ANSI_CHARSET"},       {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
                          {SYMBOL_CHARSET, "SYMBOL_CHARSET"},   {77, "MAC_CHARSET"},
                          {128, "SHIFTJIS_CHARSET"},            {129, "HANGEUL_CHARSET"},
                          {130, "JOHAB_CHARSET"},               {134, "GB2312_CHARSET"},
                          {136, "CHINESEBIG5_CHARSET"},         {161, "GREEK_CHARSET"},
                          {162, "TURKISH_CHARSET"},             {177, "HEBREW_CHARSET"},
                          {178, "ARABIC_CHARSET"},              {186, "BALTIC_CHARSET"},
                          {204, "RUSSIAN_CHARSET"},             {222, "THAI_CHARSET"},
                          {238, "EASTEUROPE_CHARSET"},          {OEM_CHARSET, "OEM_CHARSET"}};
        RegisterIntegerConsts(*table);
        return table;
    }();
    return *idents;
}

// The colour names are there for readers and writers as soon as the layer loads.
namespace {
const bool IdentsRegistered = (ColorIdentsInfo(), CharsetIdentsInfo(), true);
}

TClass TGraphicsObject::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TGraphicsObject>("TGraphicsObject", TPersistent::StaticClass());
    return &info;
}

TClass TFont::StaticClass()
{
    static const TClassInfo info =
        TClassBuilder<TFont>("TFont", TGraphicsObject::StaticClass())
            .Integer("Charset", &TFont::GetCharset, &TFont::SetCharset)
            .Idents(CharsetIdentsInfo())
            .Integer("Color", &TFont::GetColor, &TFont::SetColor)
            .Idents(ColorIdentsInfo())
            .Integer("Height", &TFont::GetHeight, &TFont::SetHeight)
            .String("Name", &TFont::GetName, &TFont::SetName)
            .Enum("Pitch", &TFont::GetPitch, &TFont::SetPitch, FontPitchInfo())
            .Default(fpDefault)
            .Integer("Size", &TFont::GetSize, &TFont::SetSize)
            .Stored(false)
            .Set("Style", &TFont::GetStyle, &TFont::SetStyle, FontStyleInfo());
    return &info;
}

TClass TPen::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TPen>("TPen", TGraphicsObject::StaticClass())
                                       .Integer("Color", &TPen::GetColor, &TPen::SetColor)
                                       .Idents(ColorIdentsInfo())
                                       .Default(clBlack)
                                       .Enum("Mode", &TPen::GetMode, &TPen::SetMode, PenModeInfo())
                                       .Default(pmCopy)
                                       .Enum("Style", &TPen::GetStyle, &TPen::SetStyle, PenStyleInfo())
                                       .Default(psSolid)
                                       .Integer("Width", &TPen::GetWidth, &TPen::SetWidth)
                                       .Default(1);
    return &info;
}

TClass TBrush::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TBrush>("TBrush", TGraphicsObject::StaticClass())
                                       .Integer("Color", &TBrush::GetColor, &TBrush::SetColor)
                                       .Idents(ColorIdentsInfo())
                                       .Default(clWhite)
                                       .Enum("Style", &TBrush::GetStyle, &TBrush::SetStyle, BrushStyleInfo())
                                       .Default(bsSolid);
    return &info;
}

void TGraphicsObject::Changed()
{
    if (Assigned(FOnChange))
        FOnChange(this);
}

// -- TFont --

TFont::TFont() = default;

TFont::~TFont()
{
    DropHandle(FHandle);
}

void TFont::Assign(TPersistent* source)
{
    if (auto* font = dynamic_cast<TFont*>(source)) {
        FPixelsPerInch = font->FPixelsPerInch;
        // An equal font is no change: a parent handing its font to a child that
        // already has it must not make the child redo what depends on the font.
        if (font == this || (FCharset == font->FCharset && FColor == font->FColor && FHeight == font->FHeight &&
                             FName == font->FName && FPitch == font->FPitch && FStyle == font->FStyle))
            return;
        FCharset = font->FCharset;
        FColor = font->FColor;
        FHeight = font->FHeight;
        FName = font->FName;
        FPitch = font->FPitch;
        FStyle = font->FStyle;
        FontChanged();
        return;
    }
    inherited::Assign(source);
}

void TFont::FontChanged()
{
    DropHandle(FHandle);
    Changed();
}

void TFont::SetCharset(TFontCharset value)
{
    if (value == FCharset)
        return;
    FCharset = value;
    FontChanged();
}

void TFont::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    Changed(); // the colour is not part of the handle
}

void TFont::SetHeight(Integer value)
{
    if (value == FHeight)
        return;
    FHeight = value;
    FontChanged();
}

void TFont::SetName(const std::string& value)
{
    if (value.empty() || value == FName)
        return;
    FName = value;
    FontChanged();
}

void TFont::SetPitch(TFontPitch value)
{
    if (value == FPitch)
        return;
    FPitch = value;
    FontChanged();
}

Integer TFont::GetSize() const
{
    return -MulDiv(FHeight, 72, FPixelsPerInch);
}

void TFont::SetSize(Integer value)
{
    SetHeight(-MulDiv(value, FPixelsPerInch, 72));
}

void TFont::SetStyle(TFontStyles value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    FontChanged();
}

LOGFONT TFont::LogFont() const
{
    LOGFONT lf;
    lf.lfHeight = FHeight;
    lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = FStyle.Contains(fsItalic);
    lf.lfUnderline = FStyle.Contains(fsUnderline);
    lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
    lf.lfCharSet = FCharset;
    lf.lfPitchAndFamily = FPitch == fpFixed ? FIXED_PITCH : FPitch == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    lf.lfFaceName = FName;
    return lf;
}

HFONT TFont::GetHandle()
{
    if (FHandle == nullptr)
        FHandle = CreateFontIndirect(LogFont());
    return FHandle;
}

// -- TPen --

TPen::~TPen()
{
    DropHandle(FHandle);
}

void TPen::Assign(TPersistent* source)
{
    if (auto* pen = dynamic_cast<TPen*>(source)) {
        if (pen == this)
            return;
        FColor = pen->FColor;
        FMode = pen->FMode;
        FStyle = pen->FStyle;
        FWidth = pen->FWidth;
        PenChanged();
        return;
    }
    inherited::Assign(source);
}

void TPen::PenChanged()
{
    DropHandle(FHandle);
    Changed();
}

void TPen::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    PenChanged();
}

void TPen::SetMode(TPenMode value)
{
    if (value == FMode)
        return;
    FMode = value;
    Changed(); // the mode is set on the DC, not in the handle
}

void TPen::SetStyle(TPenStyle value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    PenChanged();
}

void TPen::SetWidth(Integer value)
{
    if (value < 0 || value == FWidth)
        return;
    FWidth = value;
    PenChanged();
}

Integer TPen::Rop2() const
{
    switch (FMode) {
    case pmBlack: return R2_BLACK;
    case pmWhite: return R2_WHITE;
    case pmNop: return R2_NOP;
    case pmNot: return R2_NOT;
    case pmXor: return R2_XORPEN;
    default: return R2_COPYPEN;
    }
}

HPEN TPen::GetHandle()
{
    if (FHandle == nullptr) {
        static const UINT styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        FHandle = CreatePen(styles[FStyle], FWidth, ColorToRGB(FColor));
    }
    return FHandle;
}

// -- TBrush --

TBrush::~TBrush()
{
    DropHandle(FHandle);
}

void TBrush::Assign(TPersistent* source)
{
    if (auto* brush = dynamic_cast<TBrush*>(source)) {
        if (brush == this)
            return;
        FColor = brush->FColor;
        FStyle = brush->FStyle;
        BrushChanged();
        return;
    }
    inherited::Assign(source);
}

void TBrush::BrushChanged()
{
    DropHandle(FHandle);
    Changed();
}

void TBrush::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    BrushChanged();
}

void TBrush::SetStyle(TBrushStyle value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    BrushChanged();
}

HBRUSH TBrush::GetHandle()
{
    if (FHandle == nullptr) {
        const COLORREF color = ColorToRGB(FColor);
        switch (FStyle) {
        case bsSolid: FHandle = CreateSolidBrush(color); break;
        case bsClear: FHandle = CreateBrushIndirect({BS_NULL, color, 0}); break;
        default: FHandle = CreateHatchBrush(Integer(FStyle) - bsHorizontal + HS_HORIZONTAL, color); break;
        }
    }
    return FHandle;
}

} // namespace ld
