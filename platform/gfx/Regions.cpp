#include "platform/gfx/Regions.h"

#include <algorithm>

namespace ld {

namespace {

bool ValidRegion(HRGN rgn)
{
    return IsGdiObject(rgn, TGdiObjectKind::Region);
}

TRect Normalized(Integer left, Integer top, Integer right, Integer bottom)
{
    return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

} // namespace

void SetRegionRect(pixman_region32_t& region, const TRect& r)
{
    pixman_region32_fini(&region);
    if (r.Right > r.Left && r.Bottom > r.Top)
        pixman_region32_init_rect(&region, r.Left, r.Top, unsigned(r.Right - r.Left), unsigned(r.Bottom - r.Top));
    else
        pixman_region32_init(&region);
}

Integer RegionComplexity(const pixman_region32_t& region)
{
    const int n = pixman_region32_n_rects(const_cast<pixman_region32_t*>(&region));
    return n == 0 ? NULLREGION : n == 1 ? SIMPLEREGION : COMPLEXREGION;
}

TRect RegionBox(const pixman_region32_t& region)
{
    if (pixman_region32_n_rects(const_cast<pixman_region32_t*>(&region)) == 0)
        return {};
    const pixman_box32_t* box = pixman_region32_extents(const_cast<pixman_region32_t*>(&region));
    return {box->x1, box->y1, box->x2, box->y2};
}

void CombineRegions(pixman_region32_t& dst, const pixman_region32_t& a, const pixman_region32_t& b, Integer mode)
{
    auto* pa = const_cast<pixman_region32_t*>(&a);
    auto* pb = const_cast<pixman_region32_t*>(&b);
    switch (mode) {
    case RGN_AND: pixman_region32_intersect(&dst, pa, pb); break;
    case RGN_OR: pixman_region32_union(&dst, pa, pb); break;
    case RGN_DIFF: pixman_region32_subtract(&dst, pa, pb); break;
    case RGN_COPY: pixman_region32_copy(&dst, pa); break;
    case RGN_XOR: {
        pixman_region32_t aMinusB, bMinusA;
        pixman_region32_init(&aMinusB);
        pixman_region32_init(&bMinusA);
        pixman_region32_subtract(&aMinusB, pa, pb);
        pixman_region32_subtract(&bMinusA, pb, pa);
        pixman_region32_union(&dst, &aMinusB, &bMinusA);
        pixman_region32_fini(&aMinusB);
        pixman_region32_fini(&bMinusA);
        break;
    }
    default: break;
    }
}

HRGN CreateRectRgn(Integer left, Integer top, Integer right, Integer bottom)
{
    auto* rgn = new TRegionObject;
    SetRegionRect(rgn->Region, Normalized(left, top, right, bottom));
    return rgn;
}

HRGN CreateRectRgnIndirect(const TRect& r)
{
    return CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom);
}

HRGN CreateRegionFromRects(const std::vector<TRect>& rects)
{
    std::vector<pixman_box32_t> boxes;
    boxes.reserve(rects.size());
    for (const TRect& r : rects)
        if (r.Right > r.Left && r.Bottom > r.Top)
            boxes.push_back({r.Left, r.Top, r.Right, r.Bottom});
    auto* rgn = new TRegionObject;
    pixman_region32_fini(&rgn->Region);
    pixman_region32_init(&rgn->Region);
    // init_rects needs y-x banded input; unions are safe for any order.
    for (const pixman_box32_t& box : boxes)
        pixman_region32_union_rect(&rgn->Region, &rgn->Region, box.x1, box.y1, unsigned(box.x2 - box.x1),
                                   unsigned(box.y2 - box.y1));
    return rgn;
}

BOOL SetRectRgn(HRGN rgn, Integer left, Integer top, Integer right, Integer bottom)
{
    if (!ValidRegion(rgn))
        return 0;
    SetRegionRect(rgn->Region, Normalized(left, top, right, bottom));
    return 1;
}

Integer CombineRgn(HRGN dst, HRGN src1, HRGN src2, Integer mode)
{
    if (!ValidRegion(dst) || !ValidRegion(src1) || mode < RGN_AND || mode > RGN_COPY)
        return RGN_ERROR;
    if (mode != RGN_COPY && !ValidRegion(src2))
        return RGN_ERROR;
    CombineRegions(dst->Region, src1->Region, mode == RGN_COPY ? src1->Region : src2->Region, mode);
    return RegionComplexity(dst->Region);
}

Integer OffsetRgn(HRGN rgn, Integer dx, Integer dy)
{
    if (!ValidRegion(rgn))
        return RGN_ERROR;
    pixman_region32_translate(&rgn->Region, dx, dy);
    return RegionComplexity(rgn->Region);
}

BOOL PtInRegion(HRGN rgn, Integer x, Integer y)
{
    if (!ValidRegion(rgn))
        return 0;
    return pixman_region32_contains_point(&rgn->Region, x, y, nullptr) ? 1 : 0;
}

BOOL RectInRegion(HRGN rgn, const TRect& r)
{
    if (!ValidRegion(rgn))
        return 0;
    const TRect n = Normalized(r.Left, r.Top, r.Right, r.Bottom);
    pixman_box32_t box{n.Left, n.Top, n.Right, n.Bottom};
    return pixman_region32_contains_rectangle(&rgn->Region, &box) != PIXMAN_REGION_OUT ? 1 : 0;
}

Integer GetRgnBox(HRGN rgn, TRect& box)
{
    if (!ValidRegion(rgn))
        return RGN_ERROR;
    box = RegionBox(rgn->Region);
    return RegionComplexity(rgn->Region);
}

BOOL EqualRgn(HRGN a, HRGN b)
{
    if (!ValidRegion(a) || !ValidRegion(b))
        return RGN_ERROR;
    return pixman_region32_equal(&a->Region, &b->Region) ? 1 : 0;
}

std::vector<TRect> GetRegionRects(HRGN rgn)
{
    std::vector<TRect> rects;
    if (!ValidRegion(rgn))
        return rects;
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&rgn->Region, &n);
    rects.reserve(size_t(n));
    for (int i = 0; i < n; ++i)
        rects.push_back({boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2});
    return rects;
}

} // namespace ld
