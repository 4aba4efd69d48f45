// Window message numbers and the records some messages carry. The numbers are
// the window system's own, so handlers written against them read as they would
// on the original platform.
#pragma once

#include "platform/core/Types.h"

namespace ld {

enum : UINT {
    WM_NULL = 0x0000,
    WM_CREATE = 0x0001,
    WM_DESTROY = 0x0002,
    WM_MOVE = 0x0003,
    WM_SIZE = 0x0005,
    WM_ACTIVATE = 0x0006,
    WM_SETFOCUS = 0x0007,
    WM_KILLFOCUS = 0x0008,
    WM_ENABLE = 0x000A,
    WM_SETREDRAW = 0x000B,
    WM_SETTEXT = 0x000C,
    WM_GETTEXT = 0x000D,
    WM_GETTEXTLENGTH = 0x000E,
    WM_PAINT = 0x000F,
    WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012,
    WM_ERASEBKGND = 0x0014,
    WM_SHOWWINDOW = 0x0018,
    WM_CANCELMODE = 0x001F,
    WM_SETCURSOR = 0x0020,
    WM_MOUSEACTIVATE = 0x0021,
    WM_GETMINMAXINFO = 0x0024,
    WM_WINDOWPOSCHANGING = 0x0046,
    WM_WINDOWPOSCHANGED = 0x0047,
    WM_NCCREATE = 0x0081,
    WM_NCDESTROY = 0x0082,
    WM_NCCALCSIZE = 0x0083,
    WM_NCHITTEST = 0x0084,
    WM_NCPAINT = 0x0085,
    WM_GETDLGCODE = 0x0087,
    WM_NCMOUSEMOVE = 0x00A0,
    WM_NCLBUTTONDOWN = 0x00A1,
    WM_NCLBUTTONUP = 0x00A2,
    WM_KEYFIRST = 0x0100,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
    WM_SYSKEYDOWN = 0x0104,
    WM_SYSKEYUP = 0x0105,
    WM_SYSCHAR = 0x0106,
    WM_KEYLAST = 0x0108,
    WM_COMMAND = 0x0111,
    WM_SYSCOMMAND = 0x0112,
    WM_TIMER = 0x0113,
    WM_MOUSEFIRST = 0x0200,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_RBUTTONDBLCLK = 0x0206,
    WM_MBUTTONDOWN = 0x0207,
    WM_MBUTTONUP = 0x0208,
    WM_MBUTTONDBLCLK = 0x0209,
    WM_MOUSELAST = 0x0209,  // the buttons' range; the wheel lies outside it
    WM_MOUSEWHEEL = 0x020A,  // to the window under the pointer; see the helpers below
    WM_CAPTURECHANGED = 0x0215,
    WM_USER = 0x0400,
};

// WM_NCHITTEST results.
enum : LRESULT {
    HTERROR = -2,
    HTTRANSPARENT = -1,
    HTNOWHERE = 0,
    HTCLIENT = 1,
    HTCAPTION = 2,
    HTLEFT = 10,
    HTRIGHT = 11,
    HTTOP = 12,
    HTTOPLEFT = 13,
    HTTOPRIGHT = 14,
    HTBOTTOM = 15,
    HTBOTTOMLEFT = 16,
    HTBOTTOMRIGHT = 17,
    HTBORDER = 18,
    HTCLOSE = 20,
};

// WM_SYSCOMMAND commands (the low four bits are the window system's own).
enum : WPARAM {
    SC_SIZE = 0xF000,
    SC_MOVE = 0xF010,
    SC_CLOSE = 0xF060,
};

// Key and button state in the wParam of mouse messages.
enum : WPARAM {
    MK_LBUTTON = 0x0001,
    MK_RBUTTON = 0x0002,
    MK_SHIFT = 0x0004,
    MK_CONTROL = 0x0008,
    MK_MBUTTON = 0x0010,
};

// Virtual key codes used by the class library and the tests.
enum : WPARAM {
    VK_LBUTTON = 0x01,
    VK_RBUTTON = 0x02,
    VK_MBUTTON = 0x04,
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_DELETE = 0x2E,
    VK_F1 = 0x70,
    VK_F2 = 0x71,
};

// WM_GETDLGCODE answers: which keys a control keeps from the dialog manager.
enum : LRESULT {
    DLGC_WANTARROWS = 0x0001,
    DLGC_WANTTAB = 0x0002,
    DLGC_WANTALLKEYS = 0x0004,
    DLGC_WANTMESSAGE = 0x0004,
    DLGC_HASSETSEL = 0x0008,
    DLGC_DEFPUSHBUTTON = 0x0010,
    DLGC_UNDEFPUSHBUTTON = 0x0020,
    DLGC_WANTCHARS = 0x0080,
    DLGC_BUTTON = 0x2000,
};

// WM_SIZE kinds.
enum : WPARAM { SIZE_RESTORED = 0 };

struct HWND__;
using HWND = HWND__*;

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    POINT pt;
};

struct WINDOWPOS {
    HWND hwnd = nullptr;
    HWND hwndInsertAfter = nullptr;
    Integer x = 0, y = 0, cx = 0, cy = 0;
    UINT flags = 0;
};

// WM_GETMINMAXINFO: the window system's defaults, which the window may
// change; the tracking sizes bound what dragging a border (or the host's
// window manager) makes of the window rectangle.
struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};

// WM_NCCALCSIZE: rgrc[0] holds the proposed window rectangle in parent client
// coordinates; a handler shrinks it to the client rectangle it wants.
struct NCCALCSIZE_PARAMS {
    RECT rgrc[3];
    WINDOWPOS* lppos = nullptr;
};

inline WPARAM MakeWParam(Integer lo, Integer hi) { return (WPARAM(Word(lo))) | (WPARAM(Word(hi)) << 16); }
inline LPARAM MakeLParam(Integer lo, Integer hi) { return LPARAM(uint32_t(Word(lo)) | (uint32_t(Word(hi)) << 16)); }
inline Word LoWord(uintptr_t v) { return Word(v & 0xFFFF); }
inline Word HiWord(uintptr_t v) { return Word((v >> 16) & 0xFFFF); }
// Signed coordinates packed in an lParam, as mouse messages carry them.
inline Integer GetXLParam(LPARAM l) { return int16_t(LoWord(uintptr_t(l))); }
inline Integer GetYLParam(LPARAM l) { return int16_t(HiWord(uintptr_t(l))); }
inline LPARAM PointToLParam(TPoint p) { return MakeLParam(p.X, p.Y); }

// WM_MOUSEWHEEL: wParam's high word is the signed turn, WHEEL_DELTA a notch
// (positive away from the user), its low word the MK_ keys; lParam is the
// pointer in screen coordinates. A window that does not handle it passes it
// to its parent (DefWindowProc).
constexpr Integer WHEEL_DELTA = 120;
inline Integer GetWheelDeltaWParam(WPARAM w) { return int16_t(HiWord(w)); }
inline WPARAM GetKeyStateWParam(WPARAM w) { return LoWord(w); }
inline TPoint LParamToPoint(LPARAM l) { return {GetXLParam(l), GetYLParam(l)}; }

} // namespace ld
