#include "platform/gfx/Painting.h"

#include <algorithm>
#include <cstdlib>

#include "platform/gfx/Regions.h"
#include "platform/gfx/Surface.h"

namespace ld {

namespace {

// pixman's fill beats a loop only on wide spans.
constexpr Integer PixmanFillMinWidth = 16;

// Style patterns, on/off runs in pixels.
struct TPenPattern {
    const Integer* Runs;
    Integer Count;
    Integer Length;
};

constexpr Integer DashRuns[] = {18, 6};
constexpr Integer DotRuns[] = {1, 1};
constexpr Integer DashDotRuns[] = {9, 6, 3, 6};
constexpr Integer DashDotDotRuns[] = {9, 3, 3, 3, 3, 3};

TPenPattern PatternOf(UINT style)
{
    switch (style & PS_STYLE_MASK) {
    case PS_DASH: return {DashRuns, 2, 24};
    case PS_DOT: return {DotRuns, 2, 2};
    case PS_DASHDOT: return {DashDotRuns, 4, 24};
    case PS_DASHDOTDOT: return {DashDotDotRuns, 6, 24};
    default: return {nullptr, 0, 0};
    }
}

bool PatternOn(const TPenPattern& pattern, Integer phase)
{
    if (pattern.Runs == nullptr)
        return true;
    Integer at = phase % pattern.Length;
    for (Integer i = 0; i < pattern.Count; ++i) {
        if (at < pattern.Runs[i])
            return i % 2 == 0;
        at -= pattern.Runs[i];
    }
    return true;
}

uint32_t Mix(Integer rop2, uint32_t dst, uint32_t src)
{
    switch (rop2) {
    case R2_BLACK: return 0xFF000000u;
    case R2_WHITE: return 0xFFFFFFFFu;
    case R2_NOT: return dst ^ 0x00FFFFFFu;
    case R2_XORPEN: return (dst ^ src) | 0xFF000000u;
    case R2_NOP: return dst;
    default: return src;
    }
}

TRect Intersect(const TRect& a, const TRect& b)
{
    return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
}

bool Empty(const TRect& r)
{
    return r.Right <= r.Left || r.Bottom <= r.Top;
}

TRect Normalize(TRect r)
{
    if (r.Left > r.Right)
        std::swap(r.Left, r.Right);
    if (r.Top > r.Bottom)
        std::swap(r.Top, r.Bottom);
    return r;
}

// Calls visit for each part of r (surface coordinates) that the clip lets through.
template <typename Visit>
void ForEachClipped(HDC dc, const TRect& r, Visit visit)
{
    if (Empty(r))
        return;
    if (dc->ClipIsRect()) {
        const TRect part = Intersect(r, dc->ClipRect());
        if (!Empty(part))
            visit(part);
        return;
    }
    int n = 0;
    const pixman_box32_t* boxes =
        pixman_region32_rectangles(const_cast<pixman_region32_t*>(&dc->EffectiveClip()), &n);
    for (int i = 0; i < n; ++i) {
        if (boxes[i].y1 >= r.Bottom)
            break;
        const TRect part = Intersect(r, {boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2});
        if (!Empty(part))
            visit(part);
    }
}

void FillSpan(TSurface& surface, const TRect& r, uint32_t pixel)
{
    const Integer w = r.Right - r.Left;
    if (w >= PixmanFillMinWidth) {
        pixman_fill(reinterpret_cast<uint32_t*>(surface.Pixels()), surface.Width(), 32, r.Left, r.Top, w,
                    r.Bottom - r.Top, pixel);
        return;
    }
    for (Integer y = r.Top; y < r.Bottom; ++y) {
        uint32_t* row = surface.Row(y) + r.Left;
        for (Integer x = 0; x < w; ++x)
            row[x] = pixel;
    }
}

void MixSpan(TSurface& surface, const TRect& r, Integer rop2, uint32_t pixel)
{
    for (Integer y = r.Top; y < r.Bottom; ++y) {
        uint32_t* row = surface.Row(y);
        for (Integer x = r.Left; x < r.Right; ++x)
            row[x] = Mix(rop2, row[x], pixel);
    }
}

bool HatchSet(Integer hatch, Integer x, Integer y)
{
    x &= 7;
    y &= 7;
    switch (hatch) {
    case HS_HORIZONTAL: return y == 7;
    case HS_VERTICAL: return x == 7;
    case HS_FDIAGONAL: return x == y;
    case HS_BDIAGONAL: return x == 7 - y;
    case HS_CROSS: return x == 7 || y == 7;
    case HS_DIAGCROSS: return x == y || x == 7 - y;
    default: return false;
    }
}

HBRUSH ResolveBrush(HBRUSH brush)
{
    const auto value = reinterpret_cast<uintptr_t>(brush);
    if (value > 0 && value <= uintptr_t(SystemColorCount))
        return GetSysColorBrush(Integer(value) - 1);
    return IsGdiObject(brush, TGdiObjectKind::Brush) ? brush : nullptr;
}

void FillClippedWithBrush(HDC dc, const TRect& part, HBRUSH brush)
{
    TSurface& surface = *dc->Surface;
    const LOGBRUSH& b = brush->Brush;
    const Integer rop2 = dc->State.Rop2;
    if (b.lbStyle == BS_NULL)
        return;
    if (b.lbStyle == BS_SOLID) {
        const uint32_t pixel = ColorRefToPixel(b.lbColor);
        if (rop2 == R2_COPYPEN)
            FillSpan(surface, part, pixel);
        else
            MixSpan(surface, part, rop2, pixel);
        return;
    }
    const uint32_t fore = ColorRefToPixel(b.lbColor);
    const uint32_t back = ColorRefToPixel(dc->State.BkColor);
    const bool opaque = dc->State.BkMode == OPAQUE;
    // Hatches line up with the window's own origin, whatever part is filled.
    const TPoint anchor{dc->Origin.X + dc->State.BrushOrg.X, dc->Origin.Y + dc->State.BrushOrg.Y};
    for (Integer y = part.Top; y < part.Bottom; ++y) {
        uint32_t* row = surface.Row(y);
        for (Integer x = part.Left; x < part.Right; ++x) {
            if (HatchSet(b.lbHatch, x - anchor.X, y - anchor.Y))
                row[x] = Mix(rop2, row[x], fore);
            else if (opaque)
                row[x] = Mix(rop2, row[x], back);
        }
    }
}

void FillSurfaceRectWithBrush(HDC dc, const TRect& r, HBRUSH brush)
{
    if (brush == nullptr || dc->Surface == nullptr)
        return;
    ForEachClipped(dc, Normalize(r), [&](const TRect& part) { FillClippedWithBrush(dc, part, brush); });
}

// One pen dot at a surface point, the pen's width wide.
void PlotPen(HDC dc, Integer x, Integer y, Integer width, uint32_t pixel)
{
    TSurface& surface = *dc->Surface;
    if (width <= 1) {
        if (dc->Visible_(x, y)) {
            uint32_t* p = surface.Row(y) + x;
            *p = Mix(dc->State.Rop2, *p, pixel);
        }
        return;
    }
    const Integer half = width / 2;
    const TRect square{x - half, y - half, x - half + width, y - half + width};
    ForEachClipped(dc, square, [&](const TRect& part) { MixSpan(surface, part, dc->State.Rop2, pixel); });
}

// The pixels from a to b (surface coordinates), b left out. Clipping comes first,
// so a line from far outside the surface costs no more than its visible part.
void DrawSurfaceLine(HDC dc, TPoint a, TPoint b)
{
    HPEN pen = dc->State.Pen;
    if (pen == nullptr || dc->Surface == nullptr)
        return;
    const UINT style = pen->Pen.lopnStyle & PS_STYLE_MASK;
    const int64_t dx = int64_t(b.X) - a.X;
    const int64_t dy = int64_t(b.Y) - a.Y;
    const int64_t adx = std::llabs(dx), ady = std::llabs(dy);
    const int64_t n = std::max(adx, ady);
    const Integer phase = dc->PenPhase;
    dc->PenPhase = Integer((int64_t(phase) + n) % 24);
    if (style == PS_NULL || n == 0)
        return;
    const Integer width = pen->Pen.lopnWidth.X;
    const uint32_t pixel = ColorRefToPixel(pen->Pen.lopnColor);
    const TPenPattern pattern = PatternOf(style);
    const uint32_t back = ColorRefToPixel(dc->State.BkColor);
    const bool opaqueGaps = dc->State.BkMode == OPAQUE;

    if (pattern.Runs == nullptr && width <= 1 && (dx == 0 || dy == 0)) {
        // Start included, end left out, in either direction.
        const TRect exact = dy == 0 ? (dx > 0 ? TRect{a.X, a.Y, b.X, a.Y + 1} : TRect{b.X + 1, a.Y, a.X + 1, a.Y + 1})
                                    : (dy > 0 ? TRect{a.X, a.Y, a.X + 1, b.Y} : TRect{a.X, b.Y + 1, a.X + 1, a.Y + 1});
        ForEachClipped(dc, exact, [&](const TRect& part) {
            if (dc->State.Rop2 == R2_COPYPEN)
                FillSpan(*dc->Surface, part, pixel);
            else
                MixSpan(*dc->Surface, part, dc->State.Rop2, pixel);
        });
        return;
    }

    // Only the steps whose major coordinate can reach the clip box are walked.
    const TRect box = dc->ClipRect();
    const int64_t pad = width / 2 + 1;
    const bool xMajor = adx >= ady;
    const int64_t start = xMajor ? a.X : a.Y;
    const int64_t step = xMajor ? (dx > 0 ? 1 : -1) : (dy > 0 ? 1 : -1);
    const int64_t lo = (xMajor ? box.Left : box.Top) - pad;
    const int64_t hi = (xMajor ? box.Right : box.Bottom) + pad;
    int64_t first = 0, last = n; // steps [first, last)
    if (step > 0) {
        first = std::max<int64_t>(first, lo - start);
        last = std::min<int64_t>(last, hi - start);
    } else {
        first = std::max<int64_t>(first, start - hi);
        last = std::min<int64_t>(last, start - lo);
    }
    const int64_t amaj = xMajor ? adx : ady;
    const int64_t amin = xMajor ? ady : adx;
    const int64_t minorStep = xMajor ? (dy >= 0 ? 1 : -1) : (dx >= 0 ? 1 : -1);
    const int64_t minorStart = xMajor ? a.Y : a.X;
    const int64_t minorLo = (xMajor ? box.Top : box.Left) - pad;
    const int64_t minorHi = (xMajor ? box.Bottom : box.Right) + pad;
    for (int64_t i = first; i < last; ++i) {
        const int64_t major = start + step * i;
        const int64_t minor =
            minorStart + minorStep * int64_t((__int128(2) * i * amin + amaj) / (__int128(2) * amaj));
        if (minor < minorLo || minor >= minorHi)
            continue;
        const Integer x = Integer(xMajor ? major : minor);
        const Integer y = Integer(xMajor ? minor : major);
        if (PatternOn(pattern, Integer((phase + i) % 24)))
            PlotPen(dc, x, y, width, pixel);
        else if (opaqueGaps)
            PlotPen(dc, x, y, width, back);
    }
}

} // namespace

void FillSurfaceRect(HDC dc, const TRect& r, uint32_t pixel)
{
    if (!IsDC(dc) || dc->Surface == nullptr)
        return;
    ForEachClipped(dc, Normalize(r), [&](const TRect& part) { FillSpan(*dc->Surface, part, pixel); });
}

void FillLogicalRect(HDC dc, const TRect& r, uint32_t pixel)
{
    if (IsDC(dc))
        FillSurfaceRect(dc, dc->ToSurface(r), pixel);
}

void FillSurfaceRegion(HDC dc, const pixman_region32_t& region, HBRUSH brush)
{
    brush = ResolveBrush(brush);
    if (!IsDC(dc) || brush == nullptr || dc->Surface == nullptr)
        return;
    pixman_region32_t part;
    pixman_region32_init(&part);
    pixman_region32_intersect(&part, const_cast<pixman_region32_t*>(&region),
                              const_cast<pixman_region32_t*>(&dc->EffectiveClip()));
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&part, &n);
    for (int i = 0; i < n; ++i)
        FillClippedWithBrush(dc, {boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2}, brush);
    pixman_region32_fini(&part);
}

Integer FillRect(HDC dc, const TRect& r, HBRUSH brush)
{
    brush = ResolveBrush(brush);
    if (!IsDC(dc) || brush == nullptr)
        return 0;
    if (Empty(r))
        return 1;
    FillSurfaceRectWithBrush(dc, dc->ToSurface(r), brush);
    return 1;
}

Integer FrameRect(HDC dc, const TRect& r, HBRUSH brush)
{
    brush = ResolveBrush(brush);
    if (!IsDC(dc) || brush == nullptr)
        return 0;
    if (Empty(r))
        return 1;
    const TRect s = dc->ToSurface(r);
    FillSurfaceRectWithBrush(dc, {s.Left, s.Top, s.Right, s.Top + 1}, brush);
    FillSurfaceRectWithBrush(dc, {s.Left, s.Bottom - 1, s.Right, s.Bottom}, brush);
    if (s.Bottom - s.Top > 2) {
        FillSurfaceRectWithBrush(dc, {s.Left, s.Top + 1, s.Left + 1, s.Bottom - 1}, brush);
        FillSurfaceRectWithBrush(dc, {s.Right - 1, s.Top + 1, s.Right, s.Bottom - 1}, brush);
    }
    return 1;
}

BOOL InvertRect(HDC dc, const TRect& r)
{
    if (!IsDC(dc) || dc->Surface == nullptr)
        return 0;
    ForEachClipped(dc, Normalize(dc->ToSurface(r)),
                   [&](const TRect& part) { MixSpan(*dc->Surface, part, R2_NOT, 0); });
    return 1;
}

BOOL FillRgn(HDC dc, HRGN region, HBRUSH brush)
{
    brush = ResolveBrush(brush);
    if (!IsDC(dc) || !IsGdiObject(region, TGdiObjectKind::Region) || brush == nullptr)
        return 0;
    pixman_region32_t moved;
    pixman_region32_init(&moved);
    pixman_region32_copy(&moved, &region->Region);
    const TPoint shift = dc->ToSurface(TPoint{0, 0});
    pixman_region32_translate(&moved, shift.X, shift.Y);
    FillSurfaceRegion(dc, moved, brush);
    pixman_region32_fini(&moved);
    return 1;
}

BOOL PaintRgn(HDC dc, HRGN region)
{
    if (!IsDC(dc))
        return 0;
    return FillRgn(dc, region, dc->State.Brush);
}

BOOL InvertRgn(HDC dc, HRGN region)
{
    if (!IsDC(dc) || !IsGdiObject(region, TGdiObjectKind::Region))
        return 0;
    for (const TRect& r : GetRegionRects(region))
        InvertRect(dc, r);
    return 1;
}

BOOL FrameRgn(HDC dc, HRGN region, HBRUSH brush, Integer width, Integer height)
{
    brush = ResolveBrush(brush);
    if (!IsDC(dc) || !IsGdiObject(region, TGdiObjectKind::Region) || brush == nullptr || width < 0 || height < 0)
        return 0;
    // The frame is the region less the region shrunk by width and height.
    pixman_region32_t inner, frame;
    pixman_region32_init(&inner);
    pixman_region32_init(&frame);
    pixman_region32_copy(&inner, &region->Region);
    const TRect shifts[] = {{width, 0, 0, 0}, {-width, 0, 0, 0}, {0, height, 0, 0}, {0, -height, 0, 0}};
    for (const TRect& s : shifts) {
        pixman_region32_t moved;
        pixman_region32_init(&moved);
        pixman_region32_copy(&moved, &region->Region);
        pixman_region32_translate(&moved, s.Left, s.Top);
        pixman_region32_intersect(&inner, &inner, &moved);
        pixman_region32_fini(&moved);
    }
    pixman_region32_subtract(&frame, &region->Region, &inner);
    const TPoint shift = dc->ToSurface(TPoint{0, 0});
    pixman_region32_translate(&frame, shift.X, shift.Y);
    FillSurfaceRegion(dc, frame, brush);
    pixman_region32_fini(&inner);
    pixman_region32_fini(&frame);
    return 1;
}

BOOL LineTo(HDC dc, Integer x, Integer y)
{
    if (!IsDC(dc))
        return 0;
    DrawSurfaceLine(dc, dc->ToSurface(dc->State.Position), dc->ToSurface(TPoint{x, y}));
    dc->State.Position = {x, y};
    return 1;
}

BOOL Polyline(HDC dc, const TPoint* points, Integer count)
{
    if (!IsDC(dc) || points == nullptr || count < 2)
        return 0;
    const TPoint saved = dc->State.Position;
    dc->PenPhase = 0;
    for (Integer i = 1; i < count; ++i)
        DrawSurfaceLine(dc, dc->ToSurface(points[i - 1]), dc->ToSurface(points[i]));
    dc->State.Position = saved;
    return 1;
}

BOOL Rectangle(HDC dc, Integer left, Integer top, Integer right, Integer bottom)
{
    if (!IsDC(dc))
        return 0;
    const TRect r = Normalize({left, top, right, bottom});
    if (r.Right - r.Left < 1 || r.Bottom - r.Top < 1)
        return 1;
    const TRect s = dc->ToSurface(r);
    const bool noPen = dc->State.Pen == nullptr || (dc->State.Pen->Pen.lopnStyle & PS_STYLE_MASK) == PS_NULL;
    if (noPen) {
        FillSurfaceRectWithBrush(dc, {s.Left, s.Top, s.Right - 1, s.Bottom - 1}, dc->State.Brush);
        return 1;
    }
    FillSurfaceRectWithBrush(dc, {s.Left + 1, s.Top + 1, s.Right - 1, s.Bottom - 1}, dc->State.Brush);
    const TPoint corners[] = {{s.Left, s.Top}, {s.Right - 1, s.Top}, {s.Right - 1, s.Bottom - 1},
                              {s.Left, s.Bottom - 1}, {s.Left, s.Top}};
    const Integer phase = dc->PenPhase;
    dc->PenPhase = 0;
    if (s.Right - s.Left == 1 || s.Bottom - s.Top == 1) {
        // A one-pixel-thin rectangle is one line, all its pixels drawn once.
        const TPoint end = s.Right - s.Left == 1 ? TPoint{s.Left, s.Bottom} : TPoint{s.Right, s.Top};
        DrawSurfaceLine(dc, corners[0], end);
    } else {
        for (int i = 0; i < 4; ++i)
            DrawSurfaceLine(dc, corners[i], corners[i + 1]);
    }
    dc->PenPhase = phase;
    return 1;
}

BOOL DrawFocusRect(HDC dc, const TRect& r)
{
    if (!IsDC(dc) || dc->Surface == nullptr)
        return 0;
    const TRect s = Normalize(dc->ToSurface(r));
    if (Empty(s))
        return 1;
    auto invert = [&](Integer x, Integer y) {
        if (dc->Visible_(x, y)) {
            uint32_t* p = dc->Surface->Row(y) + x;
            *p ^= 0x00FFFFFFu;
        }
    };
    const TRect box = Intersect(s, dc->ClipRect());
    if (Empty(box))
        return 1;
    for (Integer x = std::max(s.Left, box.Left); x < std::min(s.Right, box.Right); ++x) {
        if ((x - s.Left) % 2 == 0) {
            invert(x, s.Top);
            if (s.Bottom - 1 != s.Top)
                invert(x, s.Bottom - 1);
        }
    }
    for (Integer y = std::max(s.Top + 1, box.Top); y < std::min(s.Bottom - 1, box.Bottom); ++y) {
        if ((y - s.Top) % 2 == 0) {
            invert(s.Left, y);
            if (s.Right - 1 != s.Left)
                invert(s.Right - 1, y);
        }
    }
    return 1;
}

COLORREF SetPixel(HDC dc, Integer x, Integer y, COLORREF color)
{
    if (!IsDC(dc) || dc->Surface == nullptr)
        return CLR_INVALID;
    const TPoint p = dc->ToSurface(TPoint{x, y});
    if (!dc->Visible_(p.X, p.Y))
        return CLR_INVALID;
    dc->Surface->Row(p.Y)[p.X] = ColorRefToPixel(color);
    return color & 0x00FFFFFFu;
}

COLORREF GetPixel(HDC dc, Integer x, Integer y)
{
    if (!IsDC(dc) || dc->Surface == nullptr)
        return CLR_INVALID;
    const TPoint p = dc->ToSurface(TPoint{x, y});
    if (!dc->Visible_(p.X, p.Y))
        return CLR_INVALID;
    return PixelToColorRef(dc->Surface->Row(p.Y)[p.X]);
}

BOOL PatBlt(HDC dc, Integer x, Integer y, Integer width, Integer height, DWORD rop)
{
    if (!IsDC(dc) || dc->Surface == nullptr)
        return 0;
    const TRect s = Normalize(dc->ToSurface(TDeviceContext::SafeBounds(x, y, width, height)));
    switch (rop) {
    case PATCOPY:
        FillSurfaceRectWithBrush(dc, s, dc->State.Brush);
        return 1;
    case PATINVERT: {
        if (dc->State.Brush == nullptr || dc->State.Brush->Brush.lbStyle == BS_NULL)
            return 1;
        const uint32_t pixel = ColorRefToPixel(dc->State.Brush->Brush.lbColor);
        ForEachClipped(dc, s, [&](const TRect& part) { MixSpan(*dc->Surface, part, R2_XORPEN, pixel); });
        return 1;
    }
    case DSTINVERT:
        ForEachClipped(dc, s, [&](const TRect& part) { MixSpan(*dc->Surface, part, R2_NOT, 0); });
        return 1;
    case BLACKNESS: FillSurfaceRect(dc, s, 0xFF000000u); return 1;
    case WHITENESS: FillSurfaceRect(dc, s, 0xFFFFFFFFu); return 1;
    default: return 0;
    }
}

} // namespace ld
