#include "platform/gfx/Blit.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gfx/Regions.h"
#include "platform/gfx/Surface.h"

namespace ld {

namespace {

TRect Normalized(const TRect& r)
{
    return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
            std::max(r.Top, r.Bottom)};
}

bool NeedsSource(DWORD rop)
{
    switch (rop) {
    case PATCOPY:
    case PATINVERT:
    case DSTINVERT:
    case BLACKNESS:
    case WHITENESS: return false;
    default: return true;
    }
}

bool KnownSourceRop(DWORD rop)
{
    return rop == SRCCOPY || rop == SRCPAINT || rop == SRCAND || rop == SRCINVERT || rop == NOTSRCCOPY;
}

uint32_t ApplyRop(DWORD rop, uint32_t dst, uint32_t src)
{
    switch (rop) {
    case SRCPAINT: return dst | src | 0xFF000000u;
    case SRCAND: return (dst & src) | 0xFF000000u;
    case SRCINVERT: return (dst ^ src) | 0xFF000000u;
    case NOTSRCCOPY: return ~src | 0xFF000000u;
    default: return src;
    }
}

// Copies the rectangles of region (destination surface coordinates) from the
// same rectangles moved by -delta in src. A buffer keeps overlapping copies
// within one surface right whatever the order of the rectangles.
void CopyRegion(TSurface& dst, const TSurface& src, const pixman_region32_t& region, TPoint delta, DWORD rop)
{
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(const_cast<pixman_region32_t*>(&region), &n);
    if (n == 0)
        return;
    const bool same = &dst == &src;
    if (n == 1 || !same) {
        for (int i = 0; i < n; ++i) {
            const pixman_box32_t& b = boxes[i];
            const Integer w = b.x2 - b.x1;
            const bool upward = same && delta.Y > 0; // source above: copy the bottom row first
            for (Integer k = 0; k < b.y2 - b.y1; ++k) {
                const Integer y = upward ? b.y2 - 1 - k : b.y1 + k;
                uint32_t* out = dst.Row(y) + b.x1;
                const uint32_t* in = src.Row(y - delta.Y) + (b.x1 - delta.X);
                if (rop == SRCCOPY && same)
                    std::memmove(out, in, size_t(w) * sizeof(uint32_t));
                else if (rop == SRCCOPY)
                    for (Integer x = 0; x < w; ++x)
                        out[x] = in[x] | 0xFF000000u;
                else if (same) {
                    std::vector<uint32_t> row(in, in + w);
                    for (Integer x = 0; x < w; ++x)
                        out[x] = ApplyRop(rop, out[x], row[size_t(x)]);
                } else
                    for (Integer x = 0; x < w; ++x)
                        out[x] = ApplyRop(rop, out[x], in[x]);
            }
        }
        return;
    }
    const TRect box = RegionBox(region);
    const Integer bw = box.Right - box.Left;
    std::vector<uint32_t> buffer(size_t(bw) * size_t(box.Bottom - box.Top));
    for (Integer y = box.Top; y < box.Bottom; ++y)
        std::memcpy(buffer.data() + size_t(y - box.Top) * size_t(bw), src.Row(y - delta.Y) + (box.Left - delta.X),
                    size_t(bw) * sizeof(uint32_t));
    for (int i = 0; i < n; ++i) {
        const pixman_box32_t& b = boxes[i];
        for (Integer y = b.y1; y < b.y2; ++y) {
            const uint32_t* in = buffer.data() + size_t(y - box.Top) * size_t(bw) + (b.x1 - box.Left);
            uint32_t* out = dst.Row(y) + b.x1;
            for (Integer x = 0; x < b.x2 - b.x1; ++x)
                out[x] = ApplyRop(rop, out[x], in[x]);
        }
    }
}

void OffsetRectBy(TRect& r, TPoint d)
{
    r.Left += d.X;
    r.Right += d.X;
    r.Top += d.Y;
    r.Bottom += d.Y;
}

// The destination pixels a blit of dstRect from src may write.
void BlitRegion(HDC dst, HDC src, const TRect& dstRect, TPoint delta, pixman_region32_t& out)
{
    SetRegionRect(out, dstRect);
    pixman_region32_intersect(&out, &out, const_cast<pixman_region32_t*>(&dst->EffectiveClip()));
    TRect srcBounds = src->Surface->Bounds();
    OffsetRectBy(srcBounds, delta);
    pixman_region32_intersect_rect(&out, &out, srcBounds.Left, srcBounds.Top,
                                   unsigned(std::max(0, srcBounds.Right - srcBounds.Left)),
                                   unsigned(std::max(0, srcBounds.Bottom - srcBounds.Top)));
}

} // namespace

BOOL BitBlt(HDC dst, Integer x, Integer y, Integer width, Integer height, HDC src, Integer xSrc, Integer ySrc,
            DWORD rop)
{
    if (!IsDC(dst) || dst->Surface == nullptr)
        return 0;
    if (!NeedsSource(rop))
        return PatBlt(dst, x, y, width, height, rop);
    if (!KnownSourceRop(rop) || !IsDC(src) || src->Surface == nullptr)
        return 0;
    if (width <= 0 || height <= 0)
        return 1;
    const TRect d = dst->ToSurface(TDeviceContext::SafeBounds(x, y, width, height));
    const TPoint s = src->ToSurface(TPoint{xSrc, ySrc});
    // delta takes a source surface point to its destination surface point.
    const TPoint delta{d.Left - s.X, d.Top - s.Y};
    pixman_region32_t region;
    pixman_region32_init(&region);
    BlitRegion(dst, src, d, delta, region);
    CopyRegion(*dst->Surface, *src->Surface, region, delta, rop);
    pixman_region32_fini(&region);
    return 1;
}

BOOL StretchBlt(HDC dst, Integer x, Integer y, Integer width, Integer height, HDC src, Integer xSrc,
                Integer ySrc, Integer widthSrc, Integer heightSrc, DWORD rop)
{
    if (width == widthSrc && height == heightSrc)
        return BitBlt(dst, x, y, width, height, src, xSrc, ySrc, rop);
    if (!IsDC(dst) || dst->Surface == nullptr)
        return 0;
    if (!NeedsSource(rop))
        return PatBlt(dst, x, y, width, height, rop);
    if (!KnownSourceRop(rop) || !IsDC(src) || src->Surface == nullptr)
        return 0;
    if (width <= 0 || height <= 0 || widthSrc <= 0 || heightSrc <= 0)
        return 1;
    const TRect d = dst->ToSurface(TDeviceContext::SafeBounds(x, y, width, height));
    const TPoint s = src->ToSurface(TPoint{xSrc, ySrc});
    pixman_region32_t region;
    pixman_region32_init(&region);
    SetRegionRect(region, d);
    pixman_region32_intersect(&region, &region, const_cast<pixman_region32_t*>(&dst->EffectiveClip()));
    // Sample from a copy, so that a stretch within one surface reads old pixels.
    TSurface& from = *src->Surface;
    std::vector<uint32_t> samples(size_t(widthSrc) * size_t(heightSrc), 0);
    std::vector<bool> present(samples.size(), false);
    for (Integer sy = 0; sy < heightSrc; ++sy)
        for (Integer sx = 0; sx < widthSrc; ++sx) {
            const Integer px = s.X + sx, py = s.Y + sy;
            if (px >= 0 && py >= 0 && px < from.Width() && py < from.Height()) {
                samples[size_t(sy) * size_t(widthSrc) + size_t(sx)] = from.Row(py)[px];
                present[size_t(sy) * size_t(widthSrc) + size_t(sx)] = true;
            }
        }
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&region, &n);
    for (int i = 0; i < n; ++i)
        for (Integer py = boxes[i].y1; py < boxes[i].y2; ++py) {
            const Integer sy = Integer(int64_t(py - d.Top) * heightSrc / height);
            uint32_t* row = dst->Surface->Row(py);
            for (Integer px = boxes[i].x1; px < boxes[i].x2; ++px) {
                const Integer sx = Integer(int64_t(px - d.Left) * widthSrc / width);
                const size_t at = size_t(sy) * size_t(widthSrc) + size_t(sx);
                if (present[at])
                    row[px] = ApplyRop(rop, row[px], samples[at] | 0xFF000000u);
            }
        }
    pixman_region32_fini(&region);
    return 1;
}

namespace {

// The walk shared by the same-size blits that combine each source pixel with the
// one under it: the checks, the region both surfaces reach, then combine(source,
// destination) per pixel. A source row is copied first, as one surface may be both.
template <typename CombinePixel>
BOOL CombineSameSize(HDC dst, Integer x, Integer y, Integer width, Integer height, HDC src, Integer xSrc,
                     Integer ySrc, Integer widthSrc, Integer heightSrc, CombinePixel combine)
{
    if (!IsDC(dst) || !IsDC(src) || dst->Surface == nullptr || src->Surface == nullptr)
        return 0;
    if (width != widthSrc || height != heightSrc || width < 0 || height < 0)
        return 0;
    const TRect d = dst->ToSurface(TDeviceContext::SafeBounds(x, y, width, height));
    const TPoint s = src->ToSurface(TPoint{xSrc, ySrc});
    const TPoint delta{d.Left - s.X, d.Top - s.Y};
    pixman_region32_t region;
    pixman_region32_init(&region);
    BlitRegion(dst, src, d, delta, region);
    std::vector<uint32_t> row;
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&region, &n);
    for (int i = 0; i < n; ++i)
        for (Integer py = boxes[i].y1; py < boxes[i].y2; ++py) {
            const uint32_t* in = src->Surface->Row(py - delta.Y) + (boxes[i].x1 - delta.X);
            row.assign(in, in + (boxes[i].x2 - boxes[i].x1));
            uint32_t* out = dst->Surface->Row(py) + boxes[i].x1;
            for (size_t k = 0; k < row.size(); ++k)
                out[k] = combine(row[k], out[k]);
        }
    pixman_region32_fini(&region);
    return 1;
}

} // namespace

BOOL AlphaBlend(HDC dst, Integer x, Integer y, Integer width, Integer height, HDC src, Integer xSrc,
                Integer ySrc, Integer widthSrc, Integer heightSrc, BLENDFUNCTION blend)
{
    const bool perPixel = (blend.AlphaFormat & AC_SRC_ALPHA) != 0;
    const uint32_t constant = blend.SourceConstantAlpha;
    return CombineSameSize(dst, x, y, width, height, src, xSrc, ySrc, widthSrc, heightSrc,
                           [&](uint32_t sp, uint32_t dp) {
                               uint32_t a = perPixel ? (sp >> 24) : 255;
                               a = (a * constant + 127) / 255;
                               if (a == 0)
                                   return dp;
                               uint32_t result = 0xFF000000u;
                               for (int shift = 0; shift <= 16; shift += 8) {
                                   const uint32_t sc = (sp >> shift) & 0xFF, dc = (dp >> shift) & 0xFF;
                                   result |= ((sc * a + dc * (255 - a) + 127) / 255) << shift;
                               }
                               return result;
                           });
}

BOOL TransparentBlt(HDC dst, Integer x, Integer y, Integer width, Integer height, HDC src, Integer xSrc,
                    Integer ySrc, Integer widthSrc, Integer heightSrc, UINT transparent)
{
    const uint32_t key = ColorRefToPixel(transparent) & 0x00FFFFFFu;
    return CombineSameSize(dst, x, y, width, height, src, xSrc, ySrc, widthSrc, heightSrc,
                           [key](uint32_t sp, uint32_t dp) { return (sp & 0x00FFFFFFu) == key ? dp : sp | 0xFF000000u; });
}

void DrawSurfaceBlended(HDC dc, Integer x, Integer y, const TSurface& image)
{
    if (!IsDC(dc) || dc->Surface == nullptr || image.Width() == 0 || image.Height() == 0)
        return;
    const TRect d = dc->ToSurface(Bounds(x, y, image.Width(), image.Height()));
    pixman_region32_t region;
    pixman_region32_init(&region);
    SetRegionRect(region, d);
    pixman_region32_intersect(&region, &region, const_cast<pixman_region32_t*>(&dc->EffectiveClip()));
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&region, &n);
    for (int i = 0; i < n; ++i)
        for (Integer py = boxes[i].y1; py < boxes[i].y2; ++py) {
            uint32_t* out = dc->Surface->Row(py);
            const uint32_t* in = image.Row(py - d.Top);
            for (Integer px = boxes[i].x1; px < boxes[i].x2; ++px) {
                const uint32_t sp = in[px - d.Left];
                const uint32_t a = sp >> 24;
                if (a == 0)
                    continue;
                if (a == 255) {
                    out[px] = sp;
                    continue;
                }
                const uint32_t dp = out[px];
                uint32_t result = 0xFF000000u;
                for (int shift = 0; shift <= 16; shift += 8) {
                    const uint32_t sc = (sp >> shift) & 0xFF, dc8 = (dp >> shift) & 0xFF;
                    result |= ((sc * a + dc8 * (255 - a) + 127) / 255) << shift;
                }
                out[px] = result;
            }
        }
    pixman_region32_fini(&region);
}

BOOL ScrollDC(HDC dc, Integer dx, Integer dy, const TRect* scroll, const TRect* clip, HRGN update,
              TRect* updateRect)
{
    if (!IsDC(dc) || dc->Surface == nullptr)
        return 0;
    if (update != nullptr && !IsGdiObject(update, TGdiObjectKind::Region))
        return 0;
    // Moving further than any surface reaches moves everything out.
    dx = std::clamp(dx, -TDeviceContext::CoordinateLimit, TDeviceContext::CoordinateLimit);
    dy = std::clamp(dy, -TDeviceContext::CoordinateLimit, TDeviceContext::CoordinateLimit);
    const pixman_region32_t& visible = dc->EffectiveClip();
    const TRect visibleBox = RegionBox(visible);
    const TRect scrollRect = scroll != nullptr ? Normalized(dc->ToSurface(*scroll)) : visibleBox;
    const TRect clipRect = clip != nullptr ? Normalized(dc->ToSurface(*clip)) : visibleBox;

    pixman_region32_t source, moved, uncovered, clipRgn;
    pixman_region32_init(&source);
    pixman_region32_init(&moved);
    pixman_region32_init(&uncovered);
    pixman_region32_init(&clipRgn);
    SetRegionRect(clipRgn, clipRect);
    SetRegionRect(source, scrollRect);
    pixman_region32_intersect(&source, &source, &clipRgn);

    // moved: destinations whose source and destination are both visible.
    pixman_region32_intersect(&moved, &source, const_cast<pixman_region32_t*>(&visible));
    pixman_region32_translate(&moved, dx, dy);
    pixman_region32_intersect(&moved, &moved, &clipRgn);
    pixman_region32_intersect(&moved, &moved, const_cast<pixman_region32_t*>(&visible));
    CopyRegion(*dc->Surface, *dc->Surface, moved, {dx, dy}, SRCCOPY);

    // uncovered: (source ∪ source moved) within the clip, less what was filled.
    pixman_region32_copy(&uncovered, &source);
    pixman_region32_translate(&uncovered, dx, dy);
    pixman_region32_intersect(&uncovered, &uncovered, &clipRgn);
    pixman_region32_union(&uncovered, &uncovered, &source);
    pixman_region32_subtract(&uncovered, &uncovered, &moved);

    const TPoint shift = dc->ToSurface(TPoint{0, 0});
    pixman_region32_translate(&uncovered, -shift.X, -shift.Y);
    if (update != nullptr)
        pixman_region32_copy(&update->Region, &uncovered);
    if (updateRect != nullptr)
        *updateRect = RegionBox(uncovered);
    pixman_region32_fini(&source);
    pixman_region32_fini(&moved);
    pixman_region32_fini(&uncovered);
    pixman_region32_fini(&clipRgn);
    return 1;
}

} // namespace ld
