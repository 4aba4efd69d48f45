// Windows in a tree on one screen: classes and styles, creation and
// destruction, z-order, bounds, show and hide, the non-client area and the
// mapping between window, client and screen coordinates.
//
// A window's rectangle is kept in its parent's client coordinates; its client
// rectangle is what WM_NCCALCSIZE left of it. Top-level windows are children
// of the desktop window, which is the screen.
#pragma once

#include <string>

#include "platform/gfx/RectUtils.h"
#include "platform/win/Messages.h"

namespace ld {

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using LONG_PTR = intptr_t;
struct HCURSOR__;
using HCURSOR = HCURSOR__*;

// Window styles.
enum : DWORD {
    WS_OVERLAPPED = 0x00000000,
    WS_TABSTOP = 0x00010000,
    WS_MAXIMIZEBOX = 0x00010000,
    WS_MINIMIZEBOX = 0x00020000,
    WS_GROUP = 0x00020000,
    WS_THICKFRAME = 0x00040000,
    WS_SYSMENU = 0x00080000,
    WS_HSCROLL = 0x00100000,
    WS_VSCROLL = 0x00200000,
    WS_DLGFRAME = 0x00400000,
    WS_BORDER = 0x00800000,
    WS_CAPTION = 0x00C00000,
    WS_MAXIMIZE = 0x01000000,
    WS_CLIPCHILDREN = 0x02000000,
    WS_CLIPSIBLINGS = 0x04000000,
    WS_DISABLED = 0x08000000,
    WS_VISIBLE = 0x10000000,
    WS_MINIMIZE = 0x20000000,
    WS_CHILD = 0x40000000,
    WS_POPUP = 0x80000000,
    WS_OVERLAPPEDWINDOW = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
};

// Extended window styles.
enum : DWORD {
    WS_EX_DLGMODALFRAME = 0x00000001,
    WS_EX_TOPMOST = 0x00000008,
    WS_EX_TRANSPARENT = 0x00000020,
    WS_EX_TOOLWINDOW = 0x00000080,
    WS_EX_WINDOWEDGE = 0x00000100,
    WS_EX_CLIENTEDGE = 0x00000200,
    WS_EX_CONTROLPARENT = 0x00010000,
};

// Class styles.
enum : UINT {
    CS_VREDRAW = 0x0001,
    CS_HREDRAW = 0x0002,
    CS_DBLCLKS = 0x0008,
    CS_OWNDC = 0x0020,
    CS_PARENTDC = 0x0080,
    CS_SAVEBITS = 0x0800,
};

// SetWindowPos flags.
enum : UINT {
    SWP_NOSIZE = 0x0001,
    SWP_NOMOVE = 0x0002,
    SWP_NOZORDER = 0x0004,
    SWP_NOREDRAW = 0x0008,
    SWP_NOACTIVATE = 0x0010,
    SWP_FRAMECHANGED = 0x0020,
    SWP_SHOWWINDOW = 0x0040,
    SWP_HIDEWINDOW = 0x0080,
    SWP_NOCOPYBITS = 0x0100,
};

// ShowWindow commands.
enum : Integer { SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOW = 5, SW_SHOWNA = 8 };

// GetWindowLongPtr indexes. GWLP_HWNDPARENT of a top-level window is its
// owner: the window it belongs to, as a dialog belongs to the form it serves.
enum : Integer {
    GWL_STYLE = -16,
    GWL_EXSTYLE = -20,
    GWLP_USERDATA = -21,
    GWLP_WNDPROC = -4,
    GWLP_HWNDPARENT = -8,
    GWLP_ID = -12,
};

// System metrics.
enum : Integer {
    SM_CXSCREEN = 0,
    SM_CYSCREEN = 1,
    SM_CXVSCROLL = 2,
    SM_CYHSCROLL = 3,
    SM_CYCAPTION = 4,
    SM_CXBORDER = 5,
    SM_CYBORDER = 6,
    SM_CXDLGFRAME = 7,
    SM_CYDLGFRAME = 8,
    SM_CXFRAME = 32,
    SM_CYFRAME = 33,
    SM_CXDOUBLECLK = 36,
    SM_CYDOUBLECLK = 37,
    SM_CXEDGE = 45,
    SM_CYEDGE = 46,
    SM_CXDRAG = 68,
    SM_CYDRAG = 69,
    SM_CXHSCROLL = 21,
    SM_CXSIZE = 30,
    SM_CYSIZE = 31,
    SM_CXMINTRACK = 34,
    SM_CYMINTRACK = 35,
};

inline HWND const HWND_TOP = nullptr;
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(1);

struct WNDCLASS {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    HCURSOR hCursor = nullptr;
    // A system colour index plus one, as the window system takes it; 0 leaves
    // the background to the window itself.
    UINT hbrBackground = 0;
    std::string lpszClassName;
};

struct CREATESTRUCT {
    void* lpCreateParams = nullptr;
    HWND hwndParent = nullptr;
    Integer x = 0, y = 0, cx = 0, cy = 0;
    DWORD style = 0;
    DWORD dwExStyle = 0;
    std::string lpszName;
    std::string lpszClass;
};

bool RegisterClass(const WNDCLASS& wc);
bool GetClassInfo(const std::string& className, WNDCLASS& wc);
bool UnregisterClass(const std::string& className);
UINT GetClassStyle(HWND hwnd);

// Parent nullptr makes a top-level window on the desktop.
HWND CreateWindowEx(DWORD exStyle, const std::string& className, const std::string& windowName, DWORD style,
                    Integer x, Integer y, Integer width, Integer height, HWND parent, void* param = nullptr);
bool DestroyWindow(HWND hwnd);
bool IsWindow(HWND hwnd);
HWND GetDesktopWindow();

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// The default handling of every message a window procedure does not handle.
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

LONG_PTR GetWindowLongPtr(HWND hwnd, Integer index);
LONG_PTR SetWindowLongPtr(HWND hwnd, Integer index, LONG_PTR value);
bool SetWindowText(HWND hwnd, const std::string& text);
std::string GetWindowText(HWND hwnd);

HWND GetParent(HWND hwnd);
HWND SetParent(HWND hwnd, HWND newParent);
bool IsChild(HWND parent, HWND hwnd);
enum : UINT { GW_HWNDFIRST = 0, GW_HWNDLAST = 1, GW_HWNDNEXT = 2, GW_HWNDPREV = 3, GW_OWNER = 4, GW_CHILD = 5 };
// Siblings run from the top of the z-order to the bottom.
HWND GetWindow(HWND hwnd, UINT cmd);
HWND GetTopWindow(HWND hwnd);
HWND GetAncestorTopLevel(HWND hwnd);

bool SetWindowPos(HWND hwnd, HWND insertAfter, Integer x, Integer y, Integer cx, Integer cy, UINT flags);
bool MoveWindow(HWND hwnd, Integer x, Integer y, Integer width, Integer height, bool repaint);
bool BringWindowToTop(HWND hwnd);
bool ShowWindow(HWND hwnd, Integer cmd);
bool IsWindowVisible(HWND hwnd);
bool EnableWindow(HWND hwnd, bool enable);
bool IsWindowEnabled(HWND hwnd);

// Grows a client rectangle into the window rectangle the default frame of these
// styles gives it (there are no menu bars: Menu is ignored).
bool AdjustWindowRectEx(RECT& rect, DWORD style, bool menu, DWORD exStyle);
bool GetWindowRect(HWND hwnd, RECT& rect);  // screen coordinates
bool GetClientRect(HWND hwnd, RECT& rect);  // always at 0, 0
bool ClientToScreen(HWND hwnd, POINT& pt);
bool ScreenToClient(HWND hwnd, POINT& pt);
// Maps points from From's client coordinates to To's; nullptr is the screen.
Integer MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
Integer MapWindowPoints(HWND from, HWND to, RECT& rect);

// The topmost visible, enabled window at a screen point, asking WM_NCHITTEST
// so that a window answering HTTRANSPARENT lets the point through.
HWND WindowFromPoint(POINT pt);
HWND ChildWindowFromPoint(HWND parent, POINT clientPt);

Integer GetSystemMetrics(Integer index);
UINT GetDoubleClickTime();

// ---- Top-level windows on a host's desktop --------------------------------
// A popup window (a menu, a drop-down list, a hint) floats above the others
// and is no window of its own to the user: a top-level WS_POPUP window
// without a caption that is topmost or a tool window.
bool IsPopupWindow(HWND hwnd);
// Under a host's window manager the frames of top-level windows other than
// popups are the host's: the window system neither draws nor hit-tests them,
// and such a window covers only its client area on the screen. The rectangles
// keep their frame, so a form lays out as it does with frames of our own.
void SetHostFrames(bool on);
bool HasHostFrame(HWND hwnd);
// The screen area a visible top-level window covers: its window rectangle, or
// its client rectangle when its frame is the host's.
bool GetShownRect(HWND hwnd, RECT& rect);
// The window rectangle's bounds a window allows: the window system's defaults
// as the window's WM_GETMINMAXINFO handler left them.
MINMAXINFO GetWindowMinMaxInfo(HWND hwnd);
// The lines a notch of the wheel scrolls: 3 unless set; WHEEL_PAGESCROLL
// scrolls a page, 0 not at all. PvParam points to a UINT for the GET action.
enum : UINT { SPI_GETWHEELSCROLLLINES = 0x0068, SPI_SETWHEELSCROLLLINES = 0x0069 };
constexpr UINT WHEEL_PAGESCROLL = 0xFFFFFFFFu;
bool SystemParametersInfo(UINT action, UINT uiParam, void* pvParam, UINT winIni);

} // namespace ld
