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
    UINT wheelScrollLines = 3;
};

WindowSystem& WS();
WindowRec* Lookup(HWND hwnd);
WindowRec& Desktop();

RECT ScreenWindowRect(const WindowRec& w);
RECT ScreenClientRect(const WindowRec& w);
bool IsVisibleChain(const WindowRec& w);

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
LRESULT DefSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam);
void ForgetWindowInput(HWND hwnd);   // capture, focus, active, double click
void ForgetWindowTimers(HWND hwnd);
// The first window, parents before children, that needs WM_PAINT.
HWND FindPaintWindow(HWND filter);

} // namespace ld::winimpl
