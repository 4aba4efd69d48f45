#include "platform/gfx/Regions.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

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

// Subtracting one rectangle is the bar's everyday case (tabs cut out of the
// background). pixman's general operation rebuilds the region through several
// passes; this walks the bands once and writes pixman's own banded layout
// (bands top to bottom, boxes left to right, equal neighbouring bands merged),
// so the result is the region pixman itself would make.
class TBandWriter {
public:
    std::vector<pixman_box32_t>& Out;
    size_t PrevStart = 0, PrevEnd = 0; // the last band written
    explicit TBandWriter(std::vector<pixman_box32_t>& out) : Out(out) {}

    // Boxes [from, to) of Out form a new band from y1 to y2 (already appended).
    void Close(size_t from, int32_t y1, int32_t y2)
    {
        const size_t to = Out.size();
        if (from == to)
            return;
        for (size_t i = from; i < to; ++i) {
            Out[i].y1 = y1;
            Out[i].y2 = y2;
        }
        if (PrevEnd > PrevStart && Out[PrevStart].y2 == y1 && PrevEnd - PrevStart == to - from) {
            bool same = true;
            for (size_t i = 0; i < to - from && same; ++i)
                same = Out[PrevStart + i].x1 == Out[from + i].x1 && Out[PrevStart + i].x2 == Out[from + i].x2;
            if (same) {
                for (size_t i = PrevStart; i < PrevEnd; ++i)
                    Out[i].y2 = y2;
                Out.resize(from);
                return;
            }
        }
        PrevStart = from;
        PrevEnd = to;
    }
};

void StoreBoxes(pixman_region32_t& dst, const std::vector<pixman_box32_t>& boxes)
{
    pixman_region32_fini(&dst);
    if (boxes.empty()) {
        pixman_region32_init(&dst);
        return;
    }
    if (boxes.size() == 1) {
        pixman_region32_init_rect(&dst, boxes[0].x1, boxes[0].y1, unsigned(boxes[0].x2 - boxes[0].x1),
                                  unsigned(boxes[0].y2 - boxes[0].y1));
        return;
    }
    auto* data = static_cast<pixman_region32_data_t*>(
        std::malloc(sizeof(pixman_region32_data_t) + boxes.size() * sizeof(pixman_box32_t)));
    if (data == nullptr)
        throw std::bad_alloc();
    data->size = long(boxes.size());
    data->numRects = long(boxes.size());
    std::memcpy(reinterpret_cast<pixman_box32_t*>(data + 1), boxes.data(), boxes.size() * sizeof(pixman_box32_t));
    dst.data = data;
    dst.extents = {boxes.front().x1, boxes.front().y1, boxes.front().x2, boxes.back().y2};
    for (const pixman_box32_t& b : boxes) {
        dst.extents.x1 = std::min(dst.extents.x1, b.x1);
        dst.extents.x2 = std::max(dst.extents.x2, b.x2);
    }
}

// Cuts r out of the bands of boxes[from, n) into out, up to and including the
// first band wholly below r (it may merge with the band written before it).
// Returns the index of the first box not consumed; the caller appends the rest.
int CutBands(const pixman_box32_t* boxes, int from, int n, const pixman_box32_t& r,
             std::vector<pixman_box32_t>& out, TBandWriter& writer)
{
    auto copyBand = [&](int bandFrom, int bandTo, int32_t y1, int32_t y2) {
        const size_t start = out.size();
        out.insert(out.end(), boxes + bandFrom, boxes + bandTo);
        writer.Close(start, y1, y2);
    };
    int i = from;
    while (i < n) {
        int end = i;
        while (end < n && boxes[end].y1 == boxes[i].y1)
            ++end;
        const int32_t y1 = boxes[i].y1, y2 = boxes[i].y2;
        if (y1 >= r.y2) {
            copyBand(i, end, y1, y2);
            return end;
        }
        if (r.x2 <= r.x1) {
            copyBand(i, end, y1, y2);
        } else {
            if (y1 < r.y1)
                copyBand(i, end, y1, r.y1);
            const size_t start = out.size();
            for (int k = i; k < end; ++k) {
                const pixman_box32_t& b = boxes[k];
                if (b.x2 <= r.x1 || b.x1 >= r.x2) {
                    out.push_back(b);
                    continue;
                }
                if (b.x1 < r.x1)
                    out.push_back({b.x1, 0, r.x1, 0});
                if (b.x2 > r.x2)
                    out.push_back({r.x2, 0, b.x2, 0});
            }
            writer.Close(start, std::max(y1, r.y1), std::min(y2, r.y2));
            if (y2 > r.y2)
                copyBand(i, end, r.y2, y2);
        }
        i = end;
    }
    return n;
}

// The first box of the bands that reach below y (box bottoms never decrease).
int FirstBoxBelow(const pixman_box32_t* boxes, int n, int32_t y)
{
    return int(std::partition_point(boxes, boxes + n, [y](const pixman_box32_t& b) { return b.y2 <= y; }) - boxes);
}

// The first box of the band containing box i.
int BandStart(const pixman_box32_t* boxes, int i)
{
    while (i > 0 && boxes[i - 1].y1 == boxes[i].y1)
        --i;
    return i;
}

std::vector<pixman_box32_t>& ScratchBoxes()
{
    // The layer draws from one thread; one scratch list saves an allocation per call.
    static std::vector<pixman_box32_t> out;
    out.clear();
    return out;
}

void SubtractRect(pixman_region32_t& dst, const pixman_region32_t& a, const pixman_box32_t& r)
{
    std::vector<pixman_box32_t>& out = ScratchBoxes();
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(const_cast<pixman_region32_t*>(&a), &n);
    // Bands wholly above the rectangle stay as they are, in one copy.
    const int first = FirstBoxBelow(boxes, n, r.y1);
    out.insert(out.end(), boxes, boxes + first);
    TBandWriter writer(out);
    if (first > 0) {
        writer.PrevEnd = size_t(first);
        writer.PrevStart = size_t(BandStart(boxes, first - 1));
    }
    const int rest = CutBands(boxes, first, n, r, out, writer);
    out.insert(out.end(), boxes + rest, boxes + n);
    StoreBoxes(dst, out);
}

// Recomputes the extents of a region of two or more boxes.
void UpdateExtents(pixman_region32_t& region, const pixman_box32_t* boxes, long n)
{
    region.extents = {boxes[0].x1, boxes[0].y1, boxes[0].x2, boxes[n - 1].y2};
    for (long i = 1; i < n; ++i) {
        region.extents.x1 = std::min(region.extents.x1, boxes[i].x1);
        region.extents.x2 = std::max(region.extents.x2, boxes[i].x2);
    }
}

// A region of one box (the bar's background until the tabs below the open
// sheet are cut) loses a rectangle: at most a band above, the parts left and
// right of it, and a band below; none of them can merge with another.
void SubtractRectFromBox(pixman_region32_t& region, const pixman_box32_t& r)
{
    const pixman_box32_t a = region.extents;
    if (r.x1 >= r.x2 || r.y1 >= r.y2 || r.x2 <= a.x1 || r.x1 >= a.x2 || r.y2 <= a.y1 || r.y1 >= a.y2)
        return;
    std::vector<pixman_box32_t>& out = ScratchBoxes();
    const int32_t midTop = std::max(a.y1, r.y1), midBottom = std::min(a.y2, r.y2);
    if (a.y1 < r.y1)
        out.push_back({a.x1, a.y1, a.x2, r.y1});
    if (a.x1 < r.x1)
        out.push_back({a.x1, midTop, r.x1, midBottom});
    if (r.x2 < a.x2)
        out.push_back({r.x2, midTop, a.x2, midBottom});
    if (r.y2 < a.y2)
        out.push_back({a.x1, r.y2, a.x2, a.y2});
    StoreBoxes(region, out);
}

// The same cut made inside the region's own box array: the bands above and
// below the rectangle stay where they are and only the bands it crosses (with
// their neighbours, for merging) are rewritten. A tab cut out of a background
// region that already lost the tabs above it thus costs a few boxes, not the
// whole region.
void SubtractRectInPlace(pixman_region32_t& region, const pixman_box32_t& r)
{
    int n = 0;
    pixman_box32_t* boxes = pixman_region32_rectangles(&region, &n);
    if (n == 1 && region.data == nullptr) {
        SubtractRectFromBox(region, r);
        return;
    }
    if (n < 2) {
        SubtractRect(region, region, r);
        return;
    }
    std::vector<pixman_box32_t>& out = ScratchBoxes();
    const int first = FirstBoxBelow(boxes, n, r.y1);
    TBandWriter writer(out);
    int spliceStart = first;
    if (first > 0) {
        spliceStart = BandStart(boxes, first - 1);
        out.insert(out.end(), boxes + spliceStart, boxes + first);
        writer.PrevEnd = out.size();
    }
    const int spliceEnd = CutBands(boxes, first, n, r, out, writer);
    const long kept = long(spliceStart) + (n - spliceEnd);
    const long total = kept + long(out.size());
    if (total < 2) {
        // Nothing or one box is left: pixman keeps those without a box array.
        out.insert(out.begin(), boxes, boxes + spliceStart);
        out.insert(out.end(), boxes + spliceEnd, boxes + n);
        StoreBoxes(region, out);
        return;
    }
    if (total > region.data->size) {
        const long capacity = std::max(total, region.data->size * 2);
        auto* grown = static_cast<pixman_region32_data_t*>(
            std::realloc(region.data, sizeof(pixman_region32_data_t) + size_t(capacity) * sizeof(pixman_box32_t)));
        if (grown == nullptr)
            throw std::bad_alloc();
        grown->size = capacity;
        region.data = grown;
        boxes = reinterpret_cast<pixman_box32_t*>(grown + 1);
    }
    std::memmove(boxes + spliceStart + out.size(), boxes + spliceEnd, size_t(n - spliceEnd) * sizeof(pixman_box32_t));
    std::memcpy(boxes + spliceStart, out.data(), out.size() * sizeof(pixman_box32_t));
    region.data->numRects = total;
    UpdateExtents(region, boxes, total);
}

void SubtractOneRect(pixman_region32_t& dst, const pixman_region32_t& a, const pixman_box32_t& r)
{
    if (&dst == &a)
        SubtractRectInPlace(dst, r);
    else
        SubtractRect(dst, a, r);
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
    case RGN_DIFF:
        if (pixman_region32_n_rects(pb) == 1)
            SubtractOneRect(dst, a, *pixman_region32_extents(pb));
        else
            pixman_region32_subtract(&dst, pa, pb);
        break;
    case RGN_COPY: pixman_region32_copy(&dst, pa); break;
    case RGN_XOR: {
        // A rectangle inside or outside the other operand, as when the bar cuts
        // its tabs out of its background, needs one operation instead of three.
        if (pixman_region32_n_rects(pb) == 1) {
            const pixman_region_overlap_t overlap = pixman_region32_contains_rectangle(pa, pixman_region32_extents(pb));
            if (overlap == PIXMAN_REGION_IN) {
                SubtractOneRect(dst, a, *pixman_region32_extents(pb));
                break;
            }
            if (overlap == PIXMAN_REGION_OUT) {
                pixman_region32_union(&dst, pa, pb);
                break;
            }
        }
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
