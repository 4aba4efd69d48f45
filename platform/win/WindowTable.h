// The window system's private state: the window records, the class table and
// the region type the update regions are kept in. Only platform/win includes it.
#pragma once

#include <pixman.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/win/Window.h"

namespace ld::winimpl {

// A set of rectangles with the algebra a window system needs.
class Region {
public:
    Region() { pixman_region32_init(&r_); }
    explicit Region(const RECT& rc);
    Region(const Region& other);
    Region& operator=(const Region& other);
    ~Region() { pixman_region32_fini(&r_); }

    void Clear();
    void Set(const RECT& rc);
    void Union(const Region& other) { pixman_region32_union(&r_, &r_, other.Raw()); }
    void Union(const RECT& rc);
    void Intersect(const Region& other) { pixman_region32_intersect(&r_, &r_, other.Raw()); }
    void Intersect(const RECT& rc);
    void Subtract(const Region& other) { pixman_region32_subtract(&r_, &r_, other.Raw()); }
    void Subtract(const RECT& rc);
    void Offset(Integer dx, Integer dy) { pixman_region32_translate(&r_, dx, dy); }
    bool Empty() const { return !pixman_region32_not_empty(const_cast<pixman_region32_t*>(&r_)); }
    bool Contains(POINT p) const;
    bool Intersects(const RECT& rc) const;
    RECT Bounds() const;
    std::vector<RECT> Rects() const;
    pixman_region32_t* Raw() const { return const_cast<pixman_region32_t*>(&r_); }

private:
    pixman_region32_t r_;
};

struct WindowRec {
    HWND handle = nullptr;
    HWND parent = nullptr;
    HWND owner = nullptr;  // of a top-level window
    std::vector<HWND> children;  // top of the z-order first
    WNDPROC proc = nullptr;
    WNDCLASS cls;
    DWORD style = 0;
    DWORD exStyle = 0;
    LONG_PTR userData = 0;
    LONG_PTR id = 0;
    std::string text;
    RECT window;  // in the parent's client coordinates
    RECT client;  // relative to the window's top-left corner
    Region update;  // client coordinates
    bool erasePending = false;
    bool framePending = false;
    bool internalPaint = false;
    bool destroying = false;
};

struct WindowSystem {
    std::vector<std::unique_ptr<WindowRec>> slots;
    std::vector<uint32_t> generations;
    std::vector<uint32_t> freeSlots;
    HWND desktop = nullptr;
    std::map<std::string, WNDCLASS> classes;
    HWND capture = nullptr;
    HWND focus = nullptr;
    HWND active = nullptr;
    POINT cursorPos;
    HCURSOR cursor = nullptr;
    Integer screenWidth = 1024;
    Integer screenHeight = 768;
    bool hostFrames = false;
    UINT wheelScrollLines = 3;
};

WindowSystem& WS();
WindowRec* Lookup(HWND hwnd);
WindowRec& Desktop();

RECT ScreenWindowRect(const WindowRec& w);
RECT ScreenClientRect(const WindowRec& w);
bool IsVisibleChain(const WindowRec& w);
bool HostFramed(const WindowRec& w);
// The screen area the window covers: its client area when its frame is the host's.
RECT ScreenShownRect(const WindowRec& w);

// Where a DC of the window may draw, in screen coordinates.
enum : UINT { VIS_CLIENT = 1, VIS_CLIPCHILDREN = 2, VIS_PARENTCLIP = 4 };
Region VisibleRegion(const WindowRec& w, UINT flags);

// Adds a region (client coordinates of W) to W's update region and to those of
// the children it reaches, with the RedrawWindow flags.
void AddToUpdate(WindowRec& w, const Region& clientRgn, UINT flags);
void SubtractFromUpdate(WindowRec& w, const Region& clientRgn, UINT flags);
// Invalidates what the window covers in its parent (it moved, hid or died).
void ExposeParentArea(WindowRec& w, const RECT& windowRectInParent);

// The window under a screen point and its hit-test answer.
HWND HitWindow(POINT pt, LRESULT& hit);

// Pieces of DefWindowProc that live with their subject.
LRESULT DefPaint(HWND hwnd);
LRESULT DefEraseBackground(HWND hwnd, WPARAM hdc);
LRESULT DefNcPaint(HWND hwnd);
LRESULT DefNcHitTest(HWND hwnd, LPARAM lParam);
LRESULT DefNcLButtonDown(HWND hwnd, WPARAM hit, LPARAM lParam);
LRESULT DefSysCommand(HWND hwnd, WPARAM command, LPARAM lParam);
// The frame's default size and its tracking bounds, as the window answers WM_GETMINMAXINFO.
MINMAXINFO GetMinMaxInfo(HWND hwnd);
// The insets of the default frame of these styles: what WM_NCCALCSIZE takes off.
RECT DefaultClientRect(DWORD style, DWORD exStyle, RECT windowRect);
Integer FrameWidth(DWORD style, DWORD exStyle);
// The caption bar and the close box of a window with a caption, in window
// coordinates; empty when it has none.
RECT CaptionBarRect(const WindowRec& w);
RECT CloseBoxRect(const WindowRec& w);
// Whether the pointer holds this window's close box down.
bool CloseBoxPressed(HWND hwnd);
// While a frame is dragged (caption, border or close box) the pointer's raw
// input belongs to the drag and makes no messages; each returns true when it
// took the input.
bool FrameDragTakesMove(POINT screenPt);
bool FrameDragTakesButton(POINT screenPt, bool left, bool down);
bool FrameDragTakesKey(Integer vk, bool down);
LRESULT DefSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam);
void ForgetWindowInput(HWND hwnd);   // capture, focus, active, double click
void ForgetWindowTimers(HWND hwnd);
// The first window, parents before children, that needs WM_PAINT.
HWND FindPaintWindow(HWND filter);

} // namespace ld::winimpl
