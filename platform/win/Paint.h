// The paint cycle. Each window has an update region (client coordinates), a
// pending erase and a pending frame. Invalidating only records; the loop makes
// WM_PAINT when nothing else is queued, and UpdateWindow or RedrawWindow with
// RDW_UPDATENOW paints at once. BeginPaint sends WM_NCPAINT when the frame is
// pending and WM_ERASEBKGND only when an erase was asked, then hands out a DC
// clipped to the update region and validates it.
//
// Device contexts draw straight into the one screen surface, clipped to the
// window's visible region: its ancestors' client areas, minus its children
// under WS_CLIPCHILDREN, minus the siblings above it under WS_CLIPSIBLINGS
// (top-level windows always clip each other).
#pragma once

#include <vector>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Regions.h"
#include "platform/win/Window.h"

namespace ld {

class TSurface;

enum : UINT {
    RDW_INVALIDATE = 0x0001,
    RDW_INTERNALPAINT = 0x0002,
    RDW_ERASE = 0x0004,
    RDW_VALIDATE = 0x0008,
    RDW_NOINTERNALPAINT = 0x0010,
    RDW_NOERASE = 0x0020,
    RDW_NOCHILDREN = 0x0040,
    RDW_ALLCHILDREN = 0x0080,
    RDW_UPDATENOW = 0x0100,
    RDW_ERASENOW = 0x0200,
    RDW_FRAME = 0x0400,
    RDW_NOFRAME = 0x0800,
};

enum : UINT {
    DCX_WINDOW = 0x00000001,
    DCX_CACHE = 0x00000002,
    DCX_CLIPCHILDREN = 0x00000008,
    DCX_CLIPSIBLINGS = 0x00000010,
    DCX_PARENTCLIP = 0x00000020,
    DCX_EXCLUDERGN = 0x00000040,
    DCX_INTERSECTRGN = 0x00000080,
};

enum : UINT { SW_SCROLLCHILDREN = 0x0001, SW_INVALIDATE = 0x0002, SW_ERASE = 0x0004 };

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    bool fErase = false;  // the background still needs erasing
    RECT rcPaint;
};

// The screen every window draws into; the backend shows or saves it.
TSurface& GetScreenSurface();
// Resizes the screen (and the desktop window); for backends, before any window exists.
void SetScreenSize(Integer width, Integer height);
// The screen area drawn since the last call, in screen coordinates, as
// rectangles that do not overlap. A device context still held counts as
// drawing again at the next call.
std::vector<RECT> TakeScreenDamage();
bool HasScreenDamage();

bool InvalidateRect(HWND hwnd, const RECT* rect, bool erase);
bool InvalidateRgn(HWND hwnd, HRGN rgn, bool erase);
bool ValidateRect(HWND hwnd, const RECT* rect);
bool ValidateRgn(HWND hwnd, HRGN rgn);
bool GetUpdateRect(HWND hwnd, RECT* rect, bool erase);
Integer GetUpdateRgn(HWND hwnd, HRGN rgn, bool erase);
bool UpdateWindow(HWND hwnd);
bool RedrawWindow(HWND hwnd, const RECT* rect, HRGN rgn, UINT flags);

HDC BeginPaint(HWND hwnd, PAINTSTRUCT& ps);
bool EndPaint(HWND hwnd, const PAINTSTRUCT& ps);

HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
HDC GetDCEx(HWND hwnd, HRGN clip, UINT flags);
Integer ReleaseDC(HWND hwnd, HDC dc);
// The window a DC from GetDC, GetDCEx, GetWindowDC or BeginPaint belongs to.
HWND WindowFromDC(HDC dc);

// Moves the client area's pixels; what becomes uncovered goes into Update (a
// region, client coordinates) and, with SW_INVALIDATE, into the update region,
// erased with SW_ERASE. The update region moves along.
Integer ScrollWindowEx(HWND hwnd, Integer dx, Integer dy, const RECT* scroll, const RECT* clip, HRGN update,
                       RECT* updateRect, UINT flags);
bool ScrollWindow(HWND hwnd, Integer dx, Integer dy, const RECT* scroll, const RECT* clip);

// Statistics of the paint cycle, for tests and benchmarks.
struct TPaintCounters {
    uint64_t Paints = 0;
    uint64_t Erases = 0;
    uint64_t NcPaints = 0;
};
TPaintCounters GetPaintCounters();

} // namespace ld
