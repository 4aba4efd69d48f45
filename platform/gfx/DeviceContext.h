// Device contexts: where and how drawing lands on a surface.
//
// A device context (HDC) draws on one surface. Three layers of coordinates:
//   logical  - what drawing calls take;
//   device   - logical - window origin + viewport origin (the application's
//              SetWindowOrgEx / SetViewportOrgEx; both 0,0 by default);
//   surface  - device + the DC origin, which the window system sets to where the
//              window's client (or window) area lies on the screen surface.
// The application's clip region (SelectClipRgn and friends) is in device
// coordinates. The window system's visible region is in surface coordinates.
// Every pixel written lies in: surface bounds ∩ visible region ∩ (clip + origin).
//
// How the window layer uses it: it makes one DC over the screen surface with
// CreateSurfaceDC, then for each GetDC/BeginPaint calls ResetDC, SetDCOrigin
// (the client area's top-left on the screen) and SetDCVisibleRegion (the
// window's visible pixels in screen coordinates, already limited to the update
// region while painting). The application never sees the visible region; its
// SelectClipRgn only narrows it. ScrollWindowEx can sit on ScrollDC, which
// moves only visible pixels and reports the rest as uncovered.
#pragma once

#include <vector>

#include <pixman.h>

#include "platform/core/Types.h"
#include "platform/gfx/Colors.h"
#include "platform/gfx/GdiObjects.h"

namespace ld {

class TSurface;

// Background modes.
enum : Integer { TRANSPARENT = 1, OPAQUE = 2 };
// Mixes for pens and brushes.
enum : Integer {
    R2_BLACK = 1,
    R2_NOT = 6,
    R2_XORPEN = 7,
    R2_NOP = 11,
    R2_COPYPEN = 13,
    R2_WHITE = 16,
};
// Text alignment.
enum : UINT {
    TA_NOUPDATECP = 0,
    TA_UPDATECP = 1,
    TA_LEFT = 0,
    TA_RIGHT = 2,
    TA_CENTER = 6,
    TA_TOP = 0,
    TA_BOTTOM = 8,
    TA_BASELINE = 24,
};
constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;

struct TDCState {
    HPEN Pen = nullptr;
    HBRUSH Brush = nullptr;
    HFONT Font = nullptr;
    COLORREF TextColor = RGB(0, 0, 0);
    COLORREF BkColor = RGB(255, 255, 255);
    Integer BkMode = OPAQUE;
    Integer Rop2 = R2_COPYPEN;
    UINT TextAlign = TA_LEFT | TA_TOP;
    TPoint Position;
    TPoint ViewportOrg;
    TPoint WindowOrg;
    TPoint BrushOrg;
    bool HasClip = false;
    pixman_region32_t Clip; // device coordinates; valid when HasClip
};

class TDeviceContext {
public:
    explicit TDeviceContext(TSurface* surface);
    ~TDeviceContext();
    TDeviceContext(const TDeviceContext&) = delete;
    TDeviceContext& operator=(const TDeviceContext&) = delete;

    TSurface* Surface = nullptr;
    HBITMAP Bitmap = nullptr; // the selected bitmap of a memory DC
    bool IsMemoryDC = false;
    TPoint Origin;
    bool HasVisible = false;
    pixman_region32_t Visible; // surface coordinates; valid when HasVisible
    TDCState State;
    std::vector<TDCState> Saved;
    // Where the style pattern of a dotted or dashed pen stands; a move starts it anew.
    Integer PenPhase = 0;

    // Coordinates beyond this are held at it, so that no sum overflows;
    // nothing that far out is ever visible.
    static constexpr Integer CoordinateLimit = 1 << 30;
    static Integer Limit(int64_t v)
    {
        return Integer(v < -CoordinateLimit ? -CoordinateLimit : v > CoordinateLimit ? CoordinateLimit : v);
    }
    // A rectangle from a corner and a size, without overflowing.
    static TRect SafeBounds(Integer x, Integer y, Integer width, Integer height)
    {
        return {x, y, Limit(int64_t(x) + width), Limit(int64_t(y) + height)};
    }
    // Surface coordinates of a logical point.
    TPoint ToSurface(TPoint p) const
    {
        return {Limit(int64_t(p.X) - State.WindowOrg.X + State.ViewportOrg.X + Origin.X),
                Limit(int64_t(p.Y) - State.WindowOrg.Y + State.ViewportOrg.Y + Origin.Y)};
    }
    TRect ToSurface(const TRect& r) const;
    // Device coordinates (clip regions) of a logical point.
    TPoint ToDevice(TPoint p) const
    {
        return {Limit(int64_t(p.X) - State.WindowOrg.X + State.ViewportOrg.X),
                Limit(int64_t(p.Y) - State.WindowOrg.Y + State.ViewportOrg.Y)};
    }
    // All pixels drawing may touch, in surface coordinates.
    const pixman_region32_t& EffectiveClip();
    void InvalidateClip() { FClipValid = false; }
    // The clip when it is one rectangle (the common case), for fast tests.
    bool ClipIsRect() { EffectiveClip(); return FClipIsRect; }
    const TRect& ClipRect() { EffectiveClip(); return FClipBox; }
    bool Visible_(Integer x, Integer y);

    void Select(HPEN& slot, HPEN object);
    void Select(HBRUSH& slot, HBRUSH object);
    void Select(HFONT& slot, HFONT object);
    void ReleaseState(TDCState& state);
    void CopyState(TDCState& dst, const TDCState& src);

private:
    pixman_region32_t FEffective;
    bool FClipValid = false;
    bool FClipIsRect = true;
    TRect FClipBox;
};

using HDC = TDeviceContext*;

// -- For the window layer (see the header comment) --
HDC CreateSurfaceDC(TSurface* surface);
void SetDCSurface(HDC dc, TSurface* surface);
TSurface* GetDCSurface(HDC dc);
void SetDCOrigin(HDC dc, TPoint origin);
TPoint GetDCOrigin(HDC dc);
// A copy is kept; nullptr lifts the limit (the whole surface is visible).
void SetDCVisibleRegion(HDC dc, const pixman_region32_t* region);
void SetDCVisibleRegion(HDC dc, HRGN region);
// Back to the defaults: stock objects, colours, no clip, origins 0, nothing saved.
// Origin, surface and visible region are kept.
void ResetDC(HDC dc);
// The pixels drawing may touch, in surface coordinates.
const pixman_region32_t& GetDCEffectiveClip(HDC dc);
bool IsDC(HDC dc);

// -- The window system's calls --
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
HBITMAP CreateCompatibleBitmap(HDC dc, Integer width, Integer height);
Integer SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, Integer saved);

// Pens, brushes, fonts and bitmaps (memory DCs only) return the previous
// object, nullptr on failure. A region becomes the clip, as SelectClipRgn, and
// the region itself is returned on success.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC dc, TGdiObjectKind kind);

COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
Integer SetBkMode(HDC dc, Integer mode);
Integer GetBkMode(HDC dc);
Integer SetROP2(HDC dc, Integer mode);
Integer GetROP2(HDC dc);
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);

BOOL MoveToEx(HDC dc, Integer x, Integer y, TPoint* previous);
BOOL GetCurrentPositionEx(HDC dc, TPoint* position);
BOOL SetViewportOrgEx(HDC dc, Integer x, Integer y, TPoint* previous);
BOOL GetViewportOrgEx(HDC dc, TPoint* origin);
BOOL OffsetViewportOrgEx(HDC dc, Integer dx, Integer dy, TPoint* previous);
BOOL SetWindowOrgEx(HDC dc, Integer x, Integer y, TPoint* previous);
BOOL GetWindowOrgEx(HDC dc, TPoint* origin);
BOOL SetBrushOrgEx(HDC dc, Integer x, Integer y, TPoint* previous);
BOOL LPtoDP(HDC dc, TPoint* points, Integer count);
BOOL DPtoLP(HDC dc, TPoint* points, Integer count);

// Clipping. Regions are in device coordinates; rectangles in logical ones.
Integer SelectClipRgn(HDC dc, HRGN region);
Integer ExtSelectClipRgn(HDC dc, HRGN region, Integer mode);
Integer IntersectClipRect(HDC dc, Integer left, Integer top, Integer right, Integer bottom);
Integer ExcludeClipRect(HDC dc, Integer left, Integer top, Integer right, Integer bottom);
Integer OffsetClipRgn(HDC dc, Integer dx, Integer dy);
// 1 and a copy of the application's clip in region, 0 when there is none.
Integer GetClipRgn(HDC dc, HRGN region);
// The bounds of what drawing can touch, in logical coordinates.
Integer GetClipBox(HDC dc, TRect& box);
BOOL PtVisible(HDC dc, Integer x, Integer y);
BOOL RectVisible(HDC dc, const TRect& r);

} // namespace ld
