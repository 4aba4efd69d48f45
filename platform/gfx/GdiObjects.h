// Drawing objects and their handles: pens, brushes, fonts, regions, bitmaps.
//
// A handle is a pointer to the object. Every live object is known to this unit,
// so DeleteObject and SelectObject refuse (return 0) a handle that is stale,
// invented or a stock object. An object still selected into a device context is
// only marked by DeleteObject and goes when the last context lets it go, so no
// context is ever left pointing at freed memory.
#pragma once

#include <memory>
#include <string>

#include <pixman.h>

#include "platform/core/Types.h"
#include "platform/gfx/Colors.h"

namespace ld {

class TSurface;
class TFontInstance;

enum class TGdiObjectKind { Pen, Brush, Font, Region, Bitmap };

class TGdiObject {
public:
    explicit TGdiObject(TGdiObjectKind kind);
    virtual ~TGdiObject();
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;

    const TGdiObjectKind Kind;
    bool Stock = false;
    // Device contexts holding this object; see the header comment.
    int SelectCount = 0;
    bool DeletePending = false;
};

using HGDIOBJ = TGdiObject*;

// Pen styles.
enum : UINT {
    PS_SOLID = 0,
    PS_DASH = 1,
    PS_DOT = 2,
    PS_DASHDOT = 3,
    PS_DASHDOTDOT = 4,
    PS_NULL = 5,
    PS_INSIDEFRAME = 6,
    PS_STYLE_MASK = 0x0F,
};

// Brush styles and hatches.
enum : UINT { BS_SOLID = 0, BS_NULL = 1, BS_HOLLOW = BS_NULL, BS_HATCHED = 2 };
enum : Integer {
    HS_HORIZONTAL = 0,
    HS_VERTICAL = 1,
    HS_FDIAGONAL = 2,
    HS_BDIAGONAL = 3,
    HS_CROSS = 4,
    HS_DIAGCROSS = 5,
};

struct LOGPEN {
    UINT lopnStyle = PS_SOLID;
    POINT lopnWidth{1, 0};
    COLORREF lopnColor = 0;
};

struct LOGBRUSH {
    UINT lbStyle = BS_SOLID;
    COLORREF lbColor = 0;
    Integer lbHatch = 0;
};

enum : Byte { ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2, OEM_CHARSET = 255 };
enum : Byte { DEFAULT_PITCH = 0, FIXED_PITCH = 1, VARIABLE_PITCH = 2 };
enum : Integer { FW_NORMAL = 400, FW_BOLD = 700 };

struct LOGFONT {
    // Negative: the character (em) height in pixels; positive: the cell height
    // (ascent plus descent); 0: the default size.
    Integer lfHeight = 0;
    Integer lfWidth = 0;
    Integer lfEscapement = 0;
    Integer lfOrientation = 0;
    Integer lfWeight = FW_NORMAL;
    Byte lfItalic = 0;
    Byte lfUnderline = 0;
    Byte lfStrikeOut = 0;
    Byte lfCharSet = DEFAULT_CHARSET;
    Byte lfOutPrecision = 0;
    Byte lfClipPrecision = 0;
    Byte lfQuality = 0;
    Byte lfPitchAndFamily = DEFAULT_PITCH;
    std::string lfFaceName;
};

class TPenObject : public TGdiObject {
public:
    explicit TPenObject(const LOGPEN& pen) : TGdiObject(TGdiObjectKind::Pen), Pen(pen) {}
    const LOGPEN Pen;
};

class TBrushObject : public TGdiObject {
public:
    explicit TBrushObject(const LOGBRUSH& brush) : TGdiObject(TGdiObjectKind::Brush), Brush(brush) {}
    const LOGBRUSH Brush;
};

class TFontObject : public TGdiObject {
public:
    explicit TFontObject(const LOGFONT& font);
    const LOGFONT Font;
    // The rasteriser for this font, shared with equal fonts.
    std::shared_ptr<TFontInstance> Instance;
};

class TRegionObject : public TGdiObject {
public:
    TRegionObject();
    ~TRegionObject() override;
    pixman_region32_t Region;
};

class TBitmapObject : public TGdiObject {
public:
    TBitmapObject(Integer width, Integer height);
    ~TBitmapObject() override;
    std::unique_ptr<TSurface> Surface;
};

using HPEN = TPenObject*;
using HBRUSH = TBrushObject*;
using HFONT = TFontObject*;
using HRGN = TRegionObject*;
using HBITMAP = TBitmapObject*;

HPEN CreatePen(UINT style, Integer width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN& pen);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(Integer hatch, COLORREF color);
HBRUSH CreateBrushIndirect(const LOGBRUSH& brush);
HFONT CreateFontIndirect(const LOGFONT& font);
// A bitmap of 32 bits per pixel whatever the planes and bit count; bits, when
// given, are rows of 0x00RRGGBB words, top row first.
HBITMAP CreateBitmap(Integer width, Integer height, UINT planes, UINT bitCount, const void* bits);

// A brush for a system colour that never needs deleting.
HBRUSH GetSysColorBrush(Integer index);

enum : Integer {
    WHITE_BRUSH = 0,
    LTGRAY_BRUSH = 1,
    GRAY_BRUSH = 2,
    DKGRAY_BRUSH = 3,
    BLACK_BRUSH = 4,
    NULL_BRUSH = 5,
    HOLLOW_BRUSH = NULL_BRUSH,
    WHITE_PEN = 6,
    BLACK_PEN = 7,
    NULL_PEN = 8,
    SYSTEM_FONT = 13,
    DEFAULT_GUI_FONT = 17,
};
HGDIOBJ GetStockObject(Integer index);

BOOL DeleteObject(HGDIOBJ object);
// Whether the handle names a live object (of the kind, when it is given).
bool IsGdiObject(HGDIOBJ object);
bool IsGdiObject(HGDIOBJ object, TGdiObjectKind kind);

struct BITMAP {
    Integer bmType = 0;
    Integer bmWidth = 0;
    Integer bmHeight = 0;
    Integer bmWidthBytes = 0;
    Word bmPlanes = 1;
    Word bmBitsPixel = 32;
    void* bmBits = nullptr;
};
BOOL GetObject(HBITMAP bitmap, BITMAP& info);
BOOL GetObject(HPEN pen, LOGPEN& info);
BOOL GetObject(HBRUSH brush, LOGBRUSH& info);
BOOL GetObject(HFONT font, LOGFONT& info);

// The handle a device context reference counts; internal to this layer.
void RetainSelected(HGDIOBJ object);
void ReleaseSelected(HGDIOBJ object);

} // namespace ld
