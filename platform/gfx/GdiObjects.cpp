#include "platform/gfx/GdiObjects.h"

#include <vector>

#include "platform/gfx/PointerSet.h"
#include "platform/gfx/Surface.h"

namespace ld {

namespace {

TPointerSet& LiveObjects()
{
    static auto* live = new TPointerSet;
    return *live;
}

template <typename T>
T* MakeStock(T* object)
{
    object->Stock = true;
    return object;
}

HGDIOBJ MakeStockObject(Integer index)
{
    switch (index) {
    case WHITE_BRUSH: return MakeStock(CreateSolidBrush(RGB(255, 255, 255)));
    case LTGRAY_BRUSH: return MakeStock(CreateSolidBrush(RGB(192, 192, 192)));
    case GRAY_BRUSH: return MakeStock(CreateSolidBrush(RGB(128, 128, 128)));
    case DKGRAY_BRUSH: return MakeStock(CreateSolidBrush(RGB(64, 64, 64)));
    case BLACK_BRUSH: return MakeStock(CreateSolidBrush(RGB(0, 0, 0)));
    case NULL_BRUSH: return MakeStock(CreateBrushIndirect({BS_NULL, 0, 0}));
    case WHITE_PEN: return MakeStock(CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    case BLACK_PEN: return MakeStock(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    case NULL_PEN: return MakeStock(CreatePen(PS_NULL, 1, 0));
    case SYSTEM_FONT:
    case DEFAULT_GUI_FONT: {
        LOGFONT font;
        font.lfHeight = -11;
        font.lfFaceName = "MS Sans Serif";
        return MakeStock(CreateFontIndirect(font));
    }
    default: return nullptr;
    }
}

} // namespace

TGdiObject::TGdiObject(TGdiObjectKind kind) : Kind(kind)
{
    LiveObjects().insert(this);
}

TGdiObject::~TGdiObject()
{
    LiveObjects().erase(this);
}

TFontObject::TFontObject(const LOGFONT& font) : TGdiObject(TGdiObjectKind::Font), Font(font) {}

TRegionObject::TRegionObject() : TGdiObject(TGdiObjectKind::Region)
{
    pixman_region32_init(&Region);
}

TRegionObject::~TRegionObject()
{
    pixman_region32_fini(&Region);
}

TBitmapObject::TBitmapObject(Integer width, Integer height)
    : TGdiObject(TGdiObjectKind::Bitmap), Surface(std::make_unique<TSurface>(width, height))
{
}

TBitmapObject::~TBitmapObject() = default;

HPEN CreatePen(UINT style, Integer width, COLORREF color)
{
    return CreatePenIndirect({style, {width, 0}, color});
}

HPEN CreatePenIndirect(const LOGPEN& pen)
{
    LOGPEN p = pen;
    if ((p.lopnStyle & PS_STYLE_MASK) > PS_INSIDEFRAME)
        p.lopnStyle = PS_SOLID;
    if (p.lopnWidth.X < 1)
        p.lopnWidth.X = 1;
    // Styled pens are cosmetic: wider ones draw solid, as the host's do.
    if (p.lopnWidth.X > 1 && (p.lopnStyle & PS_STYLE_MASK) >= PS_DASH && (p.lopnStyle & PS_STYLE_MASK) <= PS_DASHDOTDOT)
        p.lopnStyle = PS_SOLID;
    if (p.lopnWidth.X > 255)
        p.lopnWidth.X = 255;
    return new TPenObject(p);
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    return new TBrushObject({BS_SOLID, color, 0});
}

HBRUSH CreateHatchBrush(Integer hatch, COLORREF color)
{
    return new TBrushObject({BS_HATCHED, color, hatch});
}

HBRUSH CreateBrushIndirect(const LOGBRUSH& brush)
{
    LOGBRUSH b = brush;
    if (b.lbStyle > BS_HATCHED)
        b.lbStyle = BS_SOLID;
    if (b.lbStyle == BS_HATCHED && (b.lbHatch < HS_HORIZONTAL || b.lbHatch > HS_DIAGCROSS))
        b.lbHatch = HS_HORIZONTAL;
    return new TBrushObject(b);
}

HFONT CreateFontIndirect(const LOGFONT& font)
{
    return new TFontObject(font);
}

HBITMAP CreateBitmap(Integer width, Integer height, UINT planes, UINT bitCount, const void* bits)
{
    auto* bitmap = new TBitmapObject(width, height);
    if (bits != nullptr) {
        const auto* words = static_cast<const uint32_t*>(bits);
        uint32_t* out = bitmap->Surface->Pixels();
        for (size_t i = 0, n = size_t(width) * size_t(height); i < n; ++i)
            out[i] = 0xFF000000u | (words[i] & 0x00FFFFFFu);
    }
    return bitmap;
}

HBRUSH GetSysColorBrush(Integer index)
{
    static HBRUSH brushes[SystemColorCount] = {};
    if (index < 0 || index >= SystemColorCount)
        return nullptr;
    if (brushes[index] == nullptr)
        brushes[index] = MakeStock(CreateSolidBrush(GetSysColor(index)));
    return brushes[index];
}

HGDIOBJ GetStockObject(Integer index)
{
    static HGDIOBJ stock[DEFAULT_GUI_FONT + 1] = {};
    if (index < 0 || index > DEFAULT_GUI_FONT)
        return nullptr;
    if (stock[index] == nullptr)
        stock[index] = MakeStockObject(index);
    return stock[index];
}

bool IsGdiObject(HGDIOBJ object)
{
    return object != nullptr && LiveObjects().contains(object);
}

bool IsGdiObject(HGDIOBJ object, TGdiObjectKind kind)
{
    return IsGdiObject(object) && object->Kind == kind;
}

BOOL DeleteObject(HGDIOBJ object)
{
    if (!IsGdiObject(object) || object->Stock)
        return 0;
    if (object->SelectCount > 0) {
        object->DeletePending = true;
        return 1;
    }
    delete object;
    return 1;
}

void RetainSelected(HGDIOBJ object)
{
    if (object != nullptr)
        ++object->SelectCount;
}

void ReleaseSelected(HGDIOBJ object)
{
    if (object == nullptr)
        return;
    if (--object->SelectCount <= 0 && object->DeletePending && !object->Stock)
        delete object;
}

BOOL GetObject(HBITMAP bitmap, BITMAP& info)
{
    if (!IsGdiObject(bitmap, TGdiObjectKind::Bitmap))
        return 0;
    info = {};
    info.bmWidth = bitmap->Surface->Width();
    info.bmHeight = bitmap->Surface->Height();
    info.bmWidthBytes = info.bmWidth * 4;
    info.bmBits = bitmap->Surface->Pixels();
    return 1;
}

BOOL GetObject(HPEN pen, LOGPEN& info)
{
    if (!IsGdiObject(pen, TGdiObjectKind::Pen))
        return 0;
    info = pen->Pen;
    return 1;
}

BOOL GetObject(HBRUSH brush, LOGBRUSH& info)
{
    if (!IsGdiObject(brush, TGdiObjectKind::Brush))
        return 0;
    info = brush->Brush;
    return 1;
}

BOOL GetObject(HFONT font, LOGFONT& info)
{
    if (!IsGdiObject(font, TGdiObjectKind::Font))
        return 0;
    info = font->Font;
    return 1;
}

} // namespace ld
