#include "platform/gfx/RectUtils.h"

#include <algorithm>

namespace ld {

BOOL SetRect(TRect& r, Integer left, Integer top, Integer right, Integer bottom)
{
    r = {left, top, right, bottom};
    return 1;
}

BOOL SetRectEmpty(TRect& r)
{
    r = {};
    return 1;
}

BOOL CopyRect(TRect& dst, const TRect& src)
{
    dst = src;
    return 1;
}

BOOL InflateRect(TRect& r, Integer dx, Integer dy)
{
    r.Left -= dx;
    r.Top -= dy;
    r.Right += dx;
    r.Bottom += dy;
    return 1;
}

BOOL OffsetRect(TRect& r, Integer dx, Integer dy)
{
    r.Left += dx;
    r.Top += dy;
    r.Right += dx;
    r.Bottom += dy;
    return 1;
}

BOOL IsRectEmpty(const TRect& r)
{
    return r.Right <= r.Left || r.Bottom <= r.Top;
}

BOOL UnionRect(TRect& dst, const TRect& a, const TRect& b)
{
    if (IsRectEmpty(a)) {
        if (IsRectEmpty(b)) {
            dst = {};
            return 0;
        }
        dst = b;
        return 1;
    }
    if (IsRectEmpty(b)) {
        dst = a;
        return 1;
    }
    dst = {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
           std::max(a.Bottom, b.Bottom)};
    return 1;
}

BOOL IntersectRect(TRect& dst, const TRect& a, const TRect& b)
{
    const TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                  std::min(a.Bottom, b.Bottom)};
    if (IsRectEmpty(a) || IsRectEmpty(b) || IsRectEmpty(r)) {
        dst = {};
        return 0;
    }
    dst = r;
    return 1;
}

// The host only subtracts when the result is still one rectangle.
BOOL SubtractRect(TRect& dst, const TRect& a, const TRect& b)
{
    TRect inter;
    if (IsRectEmpty(a)) {
        dst = {};
        return 0;
    }
    if (!IntersectRect(inter, a, b)) {
        dst = a;
        return 1;
    }
    TRect r = a;
    if (inter.Left == a.Left && inter.Right == a.Right) {
        if (inter.Top == a.Top)
            r.Top = inter.Bottom;
        else if (inter.Bottom == a.Bottom)
            r.Bottom = inter.Top;
    } else if (inter.Top == a.Top && inter.Bottom == a.Bottom) {
        if (inter.Left == a.Left)
            r.Left = inter.Right;
        else if (inter.Right == a.Right)
            r.Right = inter.Left;
    }
    if (IsRectEmpty(r)) {
        dst = {};
        return 0;
    }
    dst = r;
    return 1;
}

BOOL PtInRect(const TRect& r, TPoint p)
{
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

BOOL EqualRect(const TRect& a, const TRect& b)
{
    return a == b;
}

} // namespace ld
