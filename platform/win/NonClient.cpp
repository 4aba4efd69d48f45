// The window system's own frames: where a point falls on a frame (caption,
// close box, sizing borders), the tracking sizes a window allows, and what a
// press on the frame does. Index: geometry; hit testing; tracking sizes;
// dragging a frame; system commands.
//
// Dragging a frame takes the pointer's raw input from the moment the press
// reaches DefWindowProc until the release; no mouse messages are made meanwhile:
//
//   idle    --press on the caption-------> moving   --move--> the window follows the pointer
//   idle    --press on a sizing border---> sizing   --move--> that edge follows, within the tracking sizes
//   idle    --press on the close box-----> closing  --move--> the box is drawn pressed while the pointer is over it
//   moving, sizing --release----------------> idle
//   closing --release over the box----------> idle, WM_SYSCOMMAND SC_CLOSE posted (WM_CLOSE follows)
//   closing --release elsewhere-------------> idle
//   any     --Escape, or the capture lost---> idle (Escape puts the window back where it was)
#include <algorithm>

#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/WindowTable.h"

namespace ld {

using namespace winimpl;

namespace {

bool HasCaption(const WindowRec& w) { return (w.style & WS_CAPTION) == WS_CAPTION; }
bool IsTopLevel(const WindowRec& w) { return w.parent == WS().desktop; }

struct TFrameDrag {
    HWND Window = nullptr;
    LRESULT Hit = HTNOWHERE;
    POINT Start;      // the press, in screen coordinates
    RECT StartRect;   // the window rectangle then (screen coordinates: it is top-level)
    MINMAXINFO Limits;
    bool OverClose = false;
};

TFrameDrag& Drag()
{
    static TFrameDrag* drag = new TFrameDrag;
    return *drag;
}

bool IsSizingHit(LRESULT hit) { return hit >= HTLEFT && hit <= HTBOTTOMRIGHT; }

} // namespace

// ---- geometry ---------------------------------------------------------------------

namespace winimpl {

RECT CaptionBarRect(const WindowRec& w)
{
    if (!HasCaption(w))
        return {};
    Integer frame = FrameWidth(w.style, w.exStyle);
    return {frame, frame, w.window.Width() - frame, frame + GetSystemMetrics(SM_CYCAPTION) - 1};
}

// A classic caption button: two pixels in from the bar's right and top edges.
RECT CloseBoxRect(const WindowRec& w)
{
    if (!HasCaption(w) || !(w.style & WS_SYSMENU))
        return {};
    RECT bar = CaptionBarRect(w);
    Integer width = GetSystemMetrics(SM_CXSIZE) - 2;
    Integer height = GetSystemMetrics(SM_CYSIZE) - 4;
    RECT box{bar.Right - 2 - width, bar.Top + 2, bar.Right - 2, bar.Top + 2 + height};
    if (box.Left < bar.Left)
        return {};
    return box;
}

bool CloseBoxPressed(HWND hwnd)
{
    const TFrameDrag& d = Drag();
    return d.Window == hwnd && d.Hit == HTCLOSE && d.OverClose;
}

// ---- hit testing ---------------------------------------------------------------------

namespace {

// Which sizing border of a thick frame holds the point (window coordinates),
// corners first: a corner reaches along each edge as far as the caption is high.
LRESULT SizingHit(const WindowRec& w, POINT p)
{
    Integer frame = FrameWidth(w.style, w.exStyle);
    Integer corner = frame + GetSystemMetrics(SM_CYCAPTION);
    Integer width = w.window.Width(), height = w.window.Height();
    bool left = p.X < frame, right = p.X >= width - frame;
    bool top = p.Y < frame, bottom = p.Y >= height - frame;
    bool nearLeft = p.X < corner, nearRight = p.X >= width - corner;
    bool nearTop = p.Y < corner, nearBottom = p.Y >= height - corner;
    if ((top && nearLeft) || (left && nearTop))
        return HTTOPLEFT;
    if ((top && nearRight) || (right && nearTop))
        return HTTOPRIGHT;
    if ((bottom && nearLeft) || (left && nearBottom))
        return HTBOTTOMLEFT;
    if ((bottom && nearRight) || (right && nearBottom))
        return HTBOTTOMRIGHT;
    if (left)
        return HTLEFT;
    if (right)
        return HTRIGHT;
    if (top)
        return HTTOP;
    if (bottom)
        return HTBOTTOM;
    return HTNOWHERE;
}

} // namespace

LRESULT DefNcHitTest(HWND hwnd, LPARAM lParam)
{
    WindowRec* w = Lookup(hwnd);
    POINT pt = LParamToPoint(lParam);
    RECT win = ScreenShownRect(*w);
    if (!PtInRect(win, pt))
        return HTNOWHERE;
    if (PtInRect(ScreenClientRect(*w), pt))
        return HTCLIENT;
    POINT local{pt.X - win.Left, pt.Y - win.Top};
    if (w->style & WS_THICKFRAME)
        if (LRESULT sizing = SizingHit(*w, local); sizing != HTNOWHERE)
            return sizing;
    if (PtInRect(CloseBoxRect(*w), local))
        return HTCLOSE;
    if (PtInRect(CaptionBarRect(*w), local))
        return HTCAPTION;
    return HTBORDER;
}

// ---- tracking sizes ------------------------------------------------------------------

MINMAXINFO GetMinMaxInfo(HWND hwnd)
{
    MINMAXINFO info;
    WindowRec* w = Lookup(hwnd);
    if (!w)
        return info;
    Integer frame = FrameWidth(w->style, w->exStyle);
    Integer screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    info.ptMaxSize = {screenWidth + 2 * frame, screenHeight + 2 * frame};
    info.ptMaxPosition = {-frame, -frame};
    if (HasCaption(*w) || (w->style & WS_THICKFRAME))
        info.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    info.ptMaxTrackSize = info.ptMaxSize;
    SendMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    return info;
}

// ---- dragging a frame -------------------------------------------------------------------

namespace {

void RepaintFrame(HWND hwnd)
{
    if (IsWindowVisible(hwnd))
        SendMessage(hwnd, WM_NCPAINT, 1, 0);
}

void EndDrag()
{
    TFrameDrag& d = Drag();
    HWND window = d.Window;
    bool closeBox = d.Hit == HTCLOSE;
    d.Window = nullptr;
    d.OverClose = false;
    if (GetCapture() == window)
        ReleaseCapture();
    if (closeBox)
        RepaintFrame(window);
}

// The drag ends by itself when its window died or another took the capture.
bool DragAlive()
{
    TFrameDrag& d = Drag();
    if (!d.Window)
        return false;
    if (!IsWindow(d.Window) || GetCapture() != d.Window) {
        EndDrag();
        return false;
    }
    return true;
}

POINT WindowCorner(const WindowRec& w)
{
    RECT win = ScreenWindowRect(w);
    return {win.Left, win.Top};
}

Integer Clamp(Integer v, Integer lo, Integer hi) { return std::max(lo, std::min(v, std::max(lo, hi))); }

// The window rectangle a sizing drag gives: the edges the hit names follow
// the pointer, the opposite ones stay, and the size keeps within the limits.
RECT SizedRect(const TFrameDrag& d, POINT pt)
{
    Integer dx = pt.X - d.Start.X, dy = pt.Y - d.Start.Y;
    RECT r = d.StartRect;
    const POINT& lo = d.Limits.ptMinTrackSize;
    const POINT& hi = d.Limits.ptMaxTrackSize;
    bool left = d.Hit == HTLEFT || d.Hit == HTTOPLEFT || d.Hit == HTBOTTOMLEFT;
    bool right = d.Hit == HTRIGHT || d.Hit == HTTOPRIGHT || d.Hit == HTBOTTOMRIGHT;
    bool top = d.Hit == HTTOP || d.Hit == HTTOPLEFT || d.Hit == HTTOPRIGHT;
    bool bottom = d.Hit == HTBOTTOM || d.Hit == HTBOTTOMLEFT || d.Hit == HTBOTTOMRIGHT;
    if (left)
        r.Left = r.Right - Clamp(r.Width() - dx, lo.X, hi.X);
    if (right)
        r.Right = r.Left + Clamp(r.Width() + dx, lo.X, hi.X);
    if (top)
        r.Top = r.Bottom - Clamp(r.Height() - dy, lo.Y, hi.Y);
    if (bottom)
        r.Bottom = r.Top + Clamp(r.Height() + dy, lo.Y, hi.Y);
    return r;
}

} // namespace

LRESULT DefNcLButtonDown(HWND hwnd, WPARAM hit, LPARAM lParam)
{
    WindowRec* w = Lookup(hwnd);
    LRESULT code = LRESULT(hit);
    if (!w || !IsTopLevel(*w) || HostFramed(*w))
        return 0;
    bool sizable = (w->style & WS_THICKFRAME) && IsSizingHit(code);
    if (code != HTCAPTION && code != HTCLOSE && !sizable)
        return 0;
    if (Drag().Window)
        EndDrag();
    TFrameDrag& d = Drag();
    d.Window = hwnd;
    d.Hit = code;
    d.Start = LParamToPoint(lParam);
    d.StartRect = w->window;
    d.Limits = sizable ? GetMinMaxInfo(hwnd) : MINMAXINFO{};
    d.OverClose = code == HTCLOSE;
    SetCapture(hwnd);
    if (d.OverClose)
        RepaintFrame(hwnd);
    return 0;
}

bool FrameDragTakesMove(POINT pt)
{
    if (!DragAlive())
        return false;
    TFrameDrag& d = Drag();
    HWND hwnd = d.Window;
    if (d.Hit == HTCAPTION) {
        SetWindowPos(hwnd, nullptr, d.StartRect.Left + pt.X - d.Start.X, d.StartRect.Top + pt.Y - d.Start.Y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (d.Hit == HTCLOSE) {
        WindowRec* w = Lookup(hwnd);
        RECT box = CloseBoxRect(*w);
        POINT corner = WindowCorner(*w);
        OffsetRect(box, corner.X, corner.Y);
        bool over = PtInRect(box, pt);
        if (over != d.OverClose) {
            d.OverClose = over;
            RepaintFrame(hwnd);
        }
    } else {
        RECT r = SizedRect(d, pt);
        SetWindowPos(hwnd, nullptr, r.Left, r.Top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return true;
}

bool FrameDragTakesButton(POINT pt, bool left, bool down)
{
    if (!DragAlive())
        return false;
    if (!left || down)
        return true;  // other buttons wait until the drag is over
    FrameDragTakesMove(pt);
    TFrameDrag& d = Drag();
    HWND hwnd = d.Window;
    bool close = d.Hit == HTCLOSE && d.OverClose;
    EndDrag();
    if (close)
        PostMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, PointToLParam(pt));
    return true;
}

bool FrameDragTakesKey(Integer vk, bool down)
{
    if (vk != Integer(VK_ESCAPE) || !down || !DragAlive())
        return false;
    TFrameDrag& d = Drag();
    if (d.Hit != HTCLOSE) {
        const RECT& r = d.StartRect;
        SetWindowPos(d.Window, nullptr, r.Left, r.Top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    EndDrag();
    return true;
}

// ---- system commands ------------------------------------------------------------------------

LRESULT DefSysCommand(HWND hwnd, WPARAM command, LPARAM)
{
    if ((command & 0xFFF0) == SC_CLOSE)
        SendMessage(hwnd, WM_CLOSE, 0, 0);
    return 0;
}

} // namespace winimpl

MINMAXINFO GetWindowMinMaxInfo(HWND hwnd) { return GetMinMaxInfo(hwnd); }

} // namespace ld
