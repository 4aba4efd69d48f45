#include "platform/gfx/DeviceContext.h"

#include "platform/gfx/PointerSet.h"
#include "platform/gfx/Regions.h"
#include "platform/gfx/Surface.h"

namespace ld {

namespace {

// Far enough out that no surface reaches it, near enough for pixman's 32 bits.
constexpr Integer Far = 1 << 28;

TPointerSet& LiveDCs()
{
    static auto* live = new TPointerSet;
    return *live;
}

HBITMAP StockBitmap()
{
    static HBITMAP bitmap = [] {
        HBITMAP b = CreateBitmap(1, 1, 1, 32, nullptr);
        b->Stock = true;
        return b;
    }();
    return bitmap;
}

void SetDefaultObjects(TDeviceContext& dc)
{
    dc.Select(dc.State.Pen, static_cast<HPEN>(GetStockObject(BLACK_PEN)));
    dc.Select(dc.State.Brush, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    dc.Select(dc.State.Font, static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
}

// The clip the application works on, starting from everything when it has none.
pixman_region32_t& EnsureClip(TDeviceContext& dc)
{
    if (!dc.State.HasClip) {
        pixman_region32_init_rect(&dc.State.Clip, -Far, -Far, unsigned(2 * Far), unsigned(2 * Far));
        dc.State.HasClip = true;
    }
    return dc.State.Clip;
}

TRect DeviceRect(TDeviceContext& dc, Integer left, Integer top, Integer right, Integer bottom)
{
    const TPoint a = dc.ToDevice({std::min(left, right), std::min(top, bottom)});
    const TPoint b = dc.ToDevice({std::max(left, right), std::max(top, bottom)});
    return {a.X, a.Y, b.X, b.Y};
}

Integer ClipComplexity(TDeviceContext& dc)
{
    return RegionComplexity(dc.EffectiveClip());
}

} // namespace

TDeviceContext::TDeviceContext(TSurface* surface) : Surface(surface)
{
    pixman_region32_init(&Visible);
    pixman_region32_init(&State.Clip);
    pixman_region32_init(&FEffective);
    SetDefaultObjects(*this);
    LiveDCs().insert(this);
}

TDeviceContext::~TDeviceContext()
{
    LiveDCs().erase(this);
    while (!Saved.empty()) {
        ReleaseState(Saved.back());
        Saved.pop_back();
    }
    ReleaseState(State);
    if (Bitmap != nullptr)
        ReleaseSelected(Bitmap);
    pixman_region32_fini(&Visible);
    pixman_region32_fini(&FEffective);
}

TRect TDeviceContext::ToSurface(const TRect& r) const
{
    const TPoint a = ToSurface(TPoint{r.Left, r.Top});
    const TPoint b = ToSurface(TPoint{r.Right, r.Bottom});
    return {a.X, a.Y, b.X, b.Y};
}

const pixman_region32_t& TDeviceContext::EffectiveClip()
{
    if (FClipValid)
        return FEffective;
    const TRect bounds = Surface != nullptr ? Surface->Bounds() : TRect{};
    SetRegionRect(FEffective, bounds);
    if (HasVisible)
        pixman_region32_intersect(&FEffective, &FEffective, &Visible);
    if (State.HasClip) {
        pixman_region32_t clip;
        pixman_region32_init(&clip);
        pixman_region32_copy(&clip, &State.Clip);
        pixman_region32_translate(&clip, Origin.X, Origin.Y);
        pixman_region32_intersect(&FEffective, &FEffective, &clip);
        pixman_region32_fini(&clip);
    }
    FClipIsRect = pixman_region32_n_rects(&FEffective) <= 1;
    FClipBox = RegionBox(FEffective);
    FClipValid = true;
    return FEffective;
}

bool TDeviceContext::Visible_(Integer x, Integer y)
{
    EffectiveClip();
    if (FClipIsRect)
        return x >= FClipBox.Left && x < FClipBox.Right && y >= FClipBox.Top && y < FClipBox.Bottom;
    return pixman_region32_contains_point(&FEffective, x, y, nullptr) != 0;
}

void TDeviceContext::Select(HPEN& slot, HPEN object)
{
    RetainSelected(object);
    HPEN old = slot;
    slot = object;
    ReleaseSelected(old);
}

void TDeviceContext::Select(HBRUSH& slot, HBRUSH object)
{
    RetainSelected(object);
    HBRUSH old = slot;
    slot = object;
    ReleaseSelected(old);
}

void TDeviceContext::Select(HFONT& slot, HFONT object)
{
    RetainSelected(object);
    HFONT old = slot;
    slot = object;
    ReleaseSelected(old);
}

void TDeviceContext::ReleaseState(TDCState& state)
{
    ReleaseSelected(state.Pen);
    ReleaseSelected(state.Brush);
    ReleaseSelected(state.Font);
    state.Pen = nullptr;
    state.Brush = nullptr;
    state.Font = nullptr;
    pixman_region32_fini(&state.Clip);
    pixman_region32_init(&state.Clip);
    state.HasClip = false;
}

// dst must hold no references (fresh or released).
void TDeviceContext::CopyState(TDCState& dst, const TDCState& src)
{
    pixman_region32_fini(&dst.Clip);
    dst = src; // the clip is shared for a moment and made a copy of its own below
    pixman_region32_init(&dst.Clip);
    if (src.HasClip)
        pixman_region32_copy(&dst.Clip, const_cast<pixman_region32_t*>(&src.Clip));
    RetainSelected(dst.Pen);
    RetainSelected(dst.Brush);
    RetainSelected(dst.Font);
}

bool IsDC(HDC dc)
{
    return dc != nullptr && LiveDCs().contains(dc);
}

HDC CreateSurfaceDC(TSurface* surface)
{
    return new TDeviceContext(surface);
}

void SetDCSurface(HDC dc, TSurface* surface)
{
    if (!IsDC(dc))
        return;
    dc->Surface = surface;
    dc->InvalidateClip();
}

TSurface* GetDCSurface(HDC dc)
{
    return IsDC(dc) ? dc->Surface : nullptr;
}

void SetDCOrigin(HDC dc, TPoint origin)
{
    if (!IsDC(dc))
        return;
    dc->Origin = origin;
    dc->InvalidateClip();
}

TPoint GetDCOrigin(HDC dc)
{
    return IsDC(dc) ? dc->Origin : TPoint{};
}

void SetDCVisibleRegion(HDC dc, const pixman_region32_t* region)
{
    if (!IsDC(dc))
        return;
    dc->HasVisible = region != nullptr;
    if (region != nullptr)
        pixman_region32_copy(&dc->Visible, const_cast<pixman_region32_t*>(region));
    else
        pixman_region32_clear(&dc->Visible);
    dc->InvalidateClip();
}

void SetDCVisibleRegion(HDC dc, HRGN region)
{
    SetDCVisibleRegion(dc, IsGdiObject(region, TGdiObjectKind::Region) ? &region->Region : nullptr);
}

void ResetDC(HDC dc)
{
    if (!IsDC(dc))
        return;
    while (!dc->Saved.empty()) {
        dc->ReleaseState(dc->Saved.back());
        dc->Saved.pop_back();
    }
    dc->ReleaseState(dc->State);
    const TDCState defaults{};
    dc->State.TextColor = defaults.TextColor;
    dc->State.BkColor = defaults.BkColor;
    dc->State.BkMode = defaults.BkMode;
    dc->State.Rop2 = defaults.Rop2;
    dc->State.TextAlign = defaults.TextAlign;
    dc->State.Position = {};
    dc->State.ViewportOrg = {};
    dc->State.WindowOrg = {};
    dc->State.BrushOrg = {};
    dc->PenPhase = 0;
    SetDefaultObjects(*dc);
    dc->InvalidateClip();
}

const pixman_region32_t& GetDCEffectiveClip(HDC dc)
{
    return dc->EffectiveClip();
}

HDC CreateCompatibleDC(HDC)
{
    HBITMAP bitmap = StockBitmap();
    auto* dc = new TDeviceContext(bitmap->Surface.get());
    dc->IsMemoryDC = true;
    dc->Bitmap = bitmap;
    RetainSelected(bitmap);
    return dc;
}

BOOL DeleteDC(HDC dc)
{
    if (!IsDC(dc))
        return 0;
    delete dc;
    return 1;
}

HBITMAP CreateCompatibleBitmap(HDC, Integer width, Integer height)
{
    return CreateBitmap(width, height, 1, 32, nullptr);
}

Integer SaveDC(HDC dc)
{
    if (!IsDC(dc))
        return 0;
    dc->Saved.emplace_back();
    pixman_region32_init(&dc->Saved.back().Clip);
    dc->CopyState(dc->Saved.back(), dc->State);
    return Integer(dc->Saved.size());
}

BOOL RestoreDC(HDC dc, Integer saved)
{
    if (!IsDC(dc))
        return 0;
    const Integer depth = Integer(dc->Saved.size());
    const Integer target = saved < 0 ? depth + saved + 1 : saved;
    if (target < 1 || target > depth)
        return 0;
    while (Integer(dc->Saved.size()) > target) {
        dc->ReleaseState(dc->Saved.back());
        dc->Saved.pop_back();
    }
    dc->ReleaseState(dc->State);
    dc->CopyState(dc->State, dc->Saved.back());
    dc->ReleaseState(dc->Saved.back());
    dc->Saved.pop_back();
    dc->InvalidateClip();
    return 1;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object)
{
    if (!IsDC(dc) || !IsGdiObject(object) || object->DeletePending)
        return nullptr;
    HGDIOBJ old = nullptr;
    switch (object->Kind) {
    case TGdiObjectKind::Pen:
        old = dc->State.Pen;
        dc->Select(dc->State.Pen, static_cast<HPEN>(object));
        break;
    case TGdiObjectKind::Brush:
        old = dc->State.Brush;
        dc->Select(dc->State.Brush, static_cast<HBRUSH>(object));
        break;
    case TGdiObjectKind::Font:
        old = dc->State.Font;
        dc->Select(dc->State.Font, static_cast<HFONT>(object));
        break;
    case TGdiObjectKind::Region:
        return SelectClipRgn(dc, static_cast<HRGN>(object)) != RGN_ERROR ? object : nullptr;
    case TGdiObjectKind::Bitmap: {
        if (!dc->IsMemoryDC)
            return nullptr;
        auto* bitmap = static_cast<HBITMAP>(object);
        old = dc->Bitmap;
        RetainSelected(bitmap);
        dc->Bitmap = bitmap;
        dc->Surface = bitmap->Surface.get();
        dc->InvalidateClip();
        // The old one may go now, so the caller gets it back only if it lives on.
        const bool survives = !old->DeletePending || old->SelectCount > 1;
        ReleaseSelected(old);
        return survives ? old : nullptr;
    }
    }
    // Selection has kept the old object alive until now; it may not outlive this call.
    return IsGdiObject(old) ? old : nullptr;
}

HGDIOBJ GetCurrentObject(HDC dc, TGdiObjectKind kind)
{
    if (!IsDC(dc))
        return nullptr;
    switch (kind) {
    case TGdiObjectKind::Pen: return dc->State.Pen;
    case TGdiObjectKind::Brush: return dc->State.Brush;
    case TGdiObjectKind::Font: return dc->State.Font;
    case TGdiObjectKind::Bitmap: return dc->Bitmap;
    case TGdiObjectKind::Region: return nullptr;
    }
    return nullptr;
}

COLORREF SetTextColor(HDC dc, COLORREF color)
{
    if (!IsDC(dc))
        return CLR_INVALID;
    const COLORREF old = dc->State.TextColor;
    dc->State.TextColor = color;
    return old;
}

COLORREF GetTextColor(HDC dc)
{
    return IsDC(dc) ? dc->State.TextColor : CLR_INVALID;
}

COLORREF SetBkColor(HDC dc, COLORREF color)
{
    if (!IsDC(dc))
        return CLR_INVALID;
    const COLORREF old = dc->State.BkColor;
    dc->State.BkColor = color;
    return old;
}

COLORREF GetBkColor(HDC dc)
{
    return IsDC(dc) ? dc->State.BkColor : CLR_INVALID;
}

Integer SetBkMode(HDC dc, Integer mode)
{
    if (!IsDC(dc) || (mode != TRANSPARENT && mode != OPAQUE))
        return 0;
    const Integer old = dc->State.BkMode;
    dc->State.BkMode = mode;
    return old;
}

Integer GetBkMode(HDC dc)
{
    return IsDC(dc) ? dc->State.BkMode : 0;
}

Integer SetROP2(HDC dc, Integer mode)
{
    if (!IsDC(dc) || mode < R2_BLACK || mode > R2_WHITE)
        return 0;
    const Integer old = dc->State.Rop2;
    dc->State.Rop2 = mode;
    return old;
}

Integer GetROP2(HDC dc)
{
    return IsDC(dc) ? dc->State.Rop2 : 0;
}

UINT SetTextAlign(HDC dc, UINT align)
{
    if (!IsDC(dc))
        return 0xFFFFFFFFu;
    const UINT old = dc->State.TextAlign;
    dc->State.TextAlign = align;
    return old;
}

UINT GetTextAlign(HDC dc)
{
    return IsDC(dc) ? dc->State.TextAlign : 0xFFFFFFFFu;
}

BOOL MoveToEx(HDC dc, Integer x, Integer y, TPoint* previous)
{
    if (!IsDC(dc))
        return 0;
    if (previous != nullptr)
        *previous = dc->State.Position;
    dc->State.Position = {x, y};
    dc->PenPhase = 0;
    return 1;
}

BOOL GetCurrentPositionEx(HDC dc, TPoint* position)
{
    if (!IsDC(dc) || position == nullptr)
        return 0;
    *position = dc->State.Position;
    return 1;
}

BOOL SetViewportOrgEx(HDC dc, Integer x, Integer y, TPoint* previous)
{
    if (!IsDC(dc))
        return 0;
    if (previous != nullptr)
        *previous = dc->State.ViewportOrg;
    dc->State.ViewportOrg = {x, y};
    return 1;
}

BOOL GetViewportOrgEx(HDC dc, TPoint* origin)
{
    if (!IsDC(dc) || origin == nullptr)
        return 0;
    *origin = dc->State.ViewportOrg;
    return 1;
}

BOOL OffsetViewportOrgEx(HDC dc, Integer dx, Integer dy, TPoint* previous)
{
    if (!IsDC(dc))
        return 0;
    if (previous != nullptr)
        *previous = dc->State.ViewportOrg;
    dc->State.ViewportOrg.X += dx;
    dc->State.ViewportOrg.Y += dy;
    return 1;
}

BOOL SetWindowOrgEx(HDC dc, Integer x, Integer y, TPoint* previous)
{
    if (!IsDC(dc))
        return 0;
    if (previous != nullptr)
        *previous = dc->State.WindowOrg;
    dc->State.WindowOrg = {x, y};
    return 1;
}

BOOL GetWindowOrgEx(HDC dc, TPoint* origin)
{
    if (!IsDC(dc) || origin == nullptr)
        return 0;
    *origin = dc->State.WindowOrg;
    return 1;
}

BOOL SetBrushOrgEx(HDC dc, Integer x, Integer y, TPoint* previous)
{
    if (!IsDC(dc))
        return 0;
    if (previous != nullptr)
        *previous = dc->State.BrushOrg;
    dc->State.BrushOrg = {x, y};
    return 1;
}

BOOL LPtoDP(HDC dc, TPoint* points, Integer count)
{
    if (!IsDC(dc) || (points == nullptr && count > 0))
        return 0;
    for (Integer i = 0; i < count; ++i)
        points[i] = dc->ToDevice(points[i]);
    return 1;
}

BOOL DPtoLP(HDC dc, TPoint* points, Integer count)
{
    if (!IsDC(dc) || (points == nullptr && count > 0))
        return 0;
    const TPoint shift = dc->ToDevice({0, 0});
    for (Integer i = 0; i < count; ++i)
        points[i] = {points[i].X - shift.X, points[i].Y - shift.Y};
    return 1;
}

Integer SelectClipRgn(HDC dc, HRGN region)
{
    return ExtSelectClipRgn(dc, region, RGN_COPY);
}

Integer ExtSelectClipRgn(HDC dc, HRGN region, Integer mode)
{
    if (!IsDC(dc) || mode < RGN_AND || mode > RGN_COPY)
        return RGN_ERROR;
    if (region == nullptr) {
        if (mode != RGN_COPY)
            return RGN_ERROR;
        pixman_region32_clear(&dc->State.Clip);
        dc->State.HasClip = false;
    } else {
        if (!IsGdiObject(region, TGdiObjectKind::Region))
            return RGN_ERROR;
        if (mode == RGN_COPY) {
            pixman_region32_copy(&dc->State.Clip, &region->Region);
            dc->State.HasClip = true;
        } else {
            pixman_region32_t& clip = EnsureClip(*dc);
            CombineRegions(clip, clip, region->Region, mode);
        }
    }
    dc->InvalidateClip();
    return ClipComplexity(*dc);
}

Integer IntersectClipRect(HDC dc, Integer left, Integer top, Integer right, Integer bottom)
{
    if (!IsDC(dc))
        return RGN_ERROR;
    const TRect r = DeviceRect(*dc, left, top, right, bottom);
    pixman_region32_t rect;
    pixman_region32_init(&rect);
    SetRegionRect(rect, r);
    pixman_region32_t& clip = EnsureClip(*dc);
    pixman_region32_intersect(&clip, &clip, &rect);
    pixman_region32_fini(&rect);
    dc->InvalidateClip();
    return ClipComplexity(*dc);
}

Integer ExcludeClipRect(HDC dc, Integer left, Integer top, Integer right, Integer bottom)
{
    if (!IsDC(dc))
        return RGN_ERROR;
    const TRect r = DeviceRect(*dc, left, top, right, bottom);
    pixman_region32_t rect;
    pixman_region32_init(&rect);
    SetRegionRect(rect, r);
    pixman_region32_t& clip = EnsureClip(*dc);
    pixman_region32_subtract(&clip, &clip, &rect);
    pixman_region32_fini(&rect);
    dc->InvalidateClip();
    return ClipComplexity(*dc);
}

Integer OffsetClipRgn(HDC dc, Integer dx, Integer dy)
{
    if (!IsDC(dc))
        return RGN_ERROR;
    if (dc->State.HasClip)
        pixman_region32_translate(&dc->State.Clip, dx, dy);
    dc->InvalidateClip();
    return ClipComplexity(*dc);
}

Integer GetClipRgn(HDC dc, HRGN region)
{
    if (!IsDC(dc) || !IsGdiObject(region, TGdiObjectKind::Region))
        return -1;
    if (!dc->State.HasClip)
        return 0;
    pixman_region32_copy(&region->Region, &dc->State.Clip);
    return 1;
}

Integer GetClipBox(HDC dc, TRect& box)
{
    if (!IsDC(dc))
        return RGN_ERROR;
    const pixman_region32_t& clip = dc->EffectiveClip();
    const TRect b = RegionBox(clip);
    const TPoint shift = dc->ToSurface(TPoint{0, 0});
    box = b;
    if (!(b == TRect{}))
        box = {b.Left - shift.X, b.Top - shift.Y, b.Right - shift.X, b.Bottom - shift.Y};
    return RegionComplexity(clip);
}

BOOL PtVisible(HDC dc, Integer x, Integer y)
{
    if (!IsDC(dc))
        return 0;
    const TPoint p = dc->ToSurface(TPoint{x, y});
    return dc->Visible_(p.X, p.Y) ? 1 : 0;
}

BOOL RectVisible(HDC dc, const TRect& r)
{
    if (!IsDC(dc))
        return 0;
    const TRect s = dc->ToSurface(r);
    pixman_box32_t box{std::min(s.Left, s.Right), std::min(s.Top, s.Bottom), std::max(s.Left, s.Right),
                       std::max(s.Top, s.Bottom)};
    if (box.x1 == box.x2 || box.y1 == box.y2)
        return 0;
    return pixman_region32_contains_rectangle(const_cast<pixman_region32_t*>(&dc->EffectiveClip()), &box) !=
                   PIXMAN_REGION_OUT
               ? 1
               : 0;
}

} // namespace ld
