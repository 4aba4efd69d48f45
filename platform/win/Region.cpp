#include "platform/win/WindowTable.h"

namespace ld::winimpl {

namespace {
pixman_box32_t Box(const RECT& rc) { return {rc.Left, rc.Top, rc.Right, rc.Bottom}; }
bool EmptyRect(const RECT& rc) { return rc.Right <= rc.Left || rc.Bottom <= rc.Top; }
} // namespace

Region::Region(const RECT& rc)
{
    pixman_region32_init(&r_);
    Set(rc);
}

Region::Region(const Region& other)
{
    pixman_region32_init(&r_);
    pixman_region32_copy(&r_, other.Raw());
}

Region& Region::operator=(const Region& other)
{
    if (this != &other)
        pixman_region32_copy(&r_, other.Raw());
    return *this;
}

void Region::Clear() { pixman_region32_clear(&r_); }

void Region::Set(const RECT& rc)
{
    pixman_region32_fini(&r_);
    if (EmptyRect(rc))
        pixman_region32_init(&r_);
    else
        pixman_region32_init_rect(&r_, rc.Left, rc.Top, unsigned(rc.Right - rc.Left), unsigned(rc.Bottom - rc.Top));
}

void Region::Union(const RECT& rc)
{
    if (!EmptyRect(rc))
        pixman_region32_union_rect(&r_, &r_, rc.Left, rc.Top, unsigned(rc.Right - rc.Left), unsigned(rc.Bottom - rc.Top));
}

void Region::Intersect(const RECT& rc)
{
    if (EmptyRect(rc)) {
        Clear();
        return;
    }
    pixman_region32_intersect_rect(&r_, &r_, rc.Left, rc.Top, unsigned(rc.Right - rc.Left), unsigned(rc.Bottom - rc.Top));
}

void Region::Subtract(const RECT& rc)
{
    if (!EmptyRect(rc))
        Subtract(Region(rc));
}

bool Region::Contains(POINT p) const { return pixman_region32_contains_point(Raw(), p.X, p.Y, nullptr); }

bool Region::Intersects(const RECT& rc) const
{
    if (EmptyRect(rc))
        return false;
    pixman_box32_t box = Box(rc);
    return pixman_region32_contains_rectangle(Raw(), &box) != PIXMAN_REGION_OUT;
}

RECT Region::Bounds() const
{
    if (Empty())
        return {};
    const pixman_box32_t* b = pixman_region32_extents(Raw());
    return {b->x1, b->y1, b->x2, b->y2};
}

std::vector<RECT> Region::Rects() const
{
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(Raw(), &n);
    std::vector<RECT> out;
    out.reserve(size_t(n));
    for (int i = 0; i < n; ++i)
        out.push_back({boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2});
    return out;
}

} // namespace ld::winimpl
