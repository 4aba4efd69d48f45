// Index: failures; opening, the visual and the windows; presenting; waiting
// and events; input; focus, closing and the title (virtual desktop); cursors,
// clipboard, capture.
#include "platform/backends/X11Backend.h"

#include <poll.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "platform/backends/X11Clipboard.h"
#include "platform/backends/X11Cursors.h"
#include "platform/backends/X11Keys.h"
#include "platform/backends/X11Present.h"
#include "platform/backends/X11TopLevels.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace ld {

namespace {

long long NowUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

// ---- failures ------------------------------------------------------------------

// The server went away: nothing more can be shown or read. One line, and
// the program ends at once (Xlib would end it anyway after this returns).
int ConnectionLost(Display* display)
{
    std::fflush(stdout);
    std::fprintf(stderr, "%s: lost the connection to the X display %s\n", program_invocation_short_name,
                 DisplayString(display));
    std::fflush(stderr);
    _exit(1);
}

// The backend whose windows the error handler knows: there is one at a time.
TX11Backend* gCurrent = nullptr;

// A protocol error is a fault of ours, not the user's: say so in one line
// and go on, as the program can. A window manager's frame that went away
// while we looked at it is no fault.
int ProtocolError(Display* display, XErrorEvent* e)
{
    if (e->error_code == BadWindow && gCurrent && !gCurrent->IsOurWindow(e->resourceid))
        return 0;
    char text[160];
    XGetErrorText(display, e->error_code, text, sizeof text);
    std::fprintf(stderr, "%s: X error: %s (request %d.%d)\n", program_invocation_short_name, text,
                 int(e->request_code), int(e->minor_code));
    return 0;
}

// Where the pointer is when it has left the X window: outside every window.
constexpr TPoint kNowhere{-32000, -32000};

// Keys whose character X gives but the host does not (Delete is no character there).
enum : Integer { VK_INSERT = 0x2D, VK_OEM_8 = 0xDF };

bool IsOurPixelFormat(const Visual* v, int depth)
{
    return v->c_class == TrueColor && (depth == 24 || depth == 32) && v->red_mask == 0xFF0000 &&
           v->green_mask == 0xFF00 && v->blue_mask == 0xFF;
}

} // namespace

// ---- opening, the visual and the windows ----------------------------------------------

TX11Backend::TX11Backend(TX11Layout layout, Integer width, Integer height, const std::string& displayName,
                         bool allowShm)
    : FLayout(layout), FWidth(width), FHeight(height)
{
    const char* name = displayName.empty() ? nullptr : displayName.c_str();
    FDisplay = XOpenDisplay(name);
    if (!FDisplay) {
        std::string shown = name ? name : (std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
        throw EX11Error("cannot open the X display \"" + shown + "\"");
    }
    XSetIOErrorHandler(ConnectionLost);
    XSetErrorHandler(ProtocolError);
    FRoot = DefaultRootWindow(FDisplay);
    try {
        ChooseVisual();
        if (layout == TX11Layout::DesktopWindows) {
            FWidth = DisplayWidth(FDisplay, DefaultScreen(FDisplay));
            FHeight = DisplayHeight(FDisplay, DefaultScreen(FDisplay));
            if (int64_t(FWidth) * FHeight > TSurface::MaxPixels)
                throw EX11Error("the X screen of " + std::to_string(FWidth) + " x " + std::to_string(FHeight) +
                                " pixels is larger than the window system's screen can be; try --virtual-desktop");
        }
        SetScreenSize(FWidth, FHeight);
        CreateLeader();
        if (layout == TX11Layout::VirtualDesktop)
            CreateXWindow(FWidth, FHeight);
    } catch (...) {
        XCloseDisplay(FDisplay);
        throw;
    }
    // Held keys repeat as presses alone, as the host's do, not as release and press.
    Bool supported;
    XkbSetDetectableAutoRepeat(FDisplay, True, &supported);
    FPresenter = std::make_unique<x11::TPresenter>(FDisplay, FWindow ? FWindow : FLeader, FVisual, FDepth, FWidth,
                                                   FHeight, allowShm);
    FCursors = std::make_unique<x11::TCursors>(FDisplay);
    FClipboard = std::make_unique<x11::TClipboard>(FDisplay, FLeader);
    if (layout == TX11Layout::DesktopWindows) {
        FTopLevels = std::make_unique<x11::TTopLevels>(
            x11::TXScreen{FDisplay, FRoot, FVisual, FDepth, FColormap, FLeader});
        SetHostFrames(true);
    } else {
        try {
            WaitForMap();
        } catch (...) {
            FPresenter.reset();
            FCursors.reset();
            FClipboard.reset();
            XCloseDisplay(FDisplay);
            throw;
        }
        FExposed.push_back({0, 0, width, height});
        Present();
    }
    gCurrent = this;
    SetBackend(this);
}

TX11Backend::~TX11Backend()
{
    if (GetBackend() == this)
        SetBackend(nullptr);
    if (FTopLevels)
        SetHostFrames(false);
    if (gCurrent == this)
        gCurrent = nullptr;
    FTopLevels.reset();
    FPresenter.reset();
    FCursors.reset();
    FClipboard.reset();
    if (FWindow)
        XDestroyWindow(FDisplay, FWindow);
    XDestroyWindow(FDisplay, FLeader);
    if (FColormap)
        XFreeColormap(FDisplay, FColormap);
    XCloseDisplay(FDisplay);
}

bool TX11Backend::IsOurWindow(unsigned long xwindow) const
{
    return xwindow == FWindow || xwindow == FLeader || (FTopLevels && FTopLevels->IsOurs(xwindow));
}

void TX11Backend::ChooseVisual()
{
    int screen = DefaultScreen(FDisplay);
    Visual* visual = DefaultVisual(FDisplay, screen);
    int depth = DefaultDepth(FDisplay, screen);
    if (!IsOurPixelFormat(visual, depth)) {
        XVisualInfo info;
        if (!XMatchVisualInfo(FDisplay, screen, 24, TrueColor, &info) || !IsOurPixelFormat(info.visual, info.depth))
            throw EX11Error("the X display offers no 24-bit true-colour visual");
        visual = info.visual;
        depth = info.depth;
        FColormap = XCreateColormap(FDisplay, FRoot, visual, AllocNone);
    }
    FVisual = visual;
    FDepth = depth;
}

// A window of ours that is never mapped: the clipboard's, and the leader of
// the group of the program's windows.
void TX11Backend::CreateLeader()
{
    XSetWindowAttributes attrs{};
    unsigned long mask = CWEventMask | CWBorderPixel;
    attrs.event_mask = PropertyChangeMask;
    attrs.border_pixel = 0;
    if (FColormap) {
        attrs.colormap = FColormap;
        mask |= CWColormap;
    }
    FLeader = XCreateWindow(FDisplay, FRoot, -10, -10, 1, 1, 0, FDepth, InputOutput, static_cast<Visual*>(FVisual),
                            mask, &attrs);
}

void TX11Backend::CreateXWindow(Integer width, Integer height)
{
    XSetWindowAttributes attrs{};
    unsigned long mask = CWBackPixmap | CWBorderPixel | CWBitGravity | CWEventMask;
    if (FColormap) {
        attrs.colormap = FColormap;
        mask |= CWColormap;
    }
    attrs.background_pixmap = None;  // no flash of a background before the first present
    attrs.border_pixel = 0;
    attrs.bit_gravity = NorthWestGravity;
    attrs.event_mask = ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                       PointerMotionMask | EnterWindowMask | LeaveWindowMask | FocusChangeMask |
                       StructureNotifyMask | PropertyChangeMask;
    FWindow = XCreateWindow(FDisplay, FRoot, 0, 0, unsigned(width), unsigned(height), 0, FDepth, InputOutput,
                            static_cast<Visual*>(FVisual), mask, &attrs);

    // A virtual desktop of a fixed size: the window manager may not resize it.
    XSizeHints* hints = XAllocSizeHints();
    hints->flags = PMinSize | PMaxSize | PSize;
    hints->min_width = hints->max_width = hints->width = width;
    hints->min_height = hints->max_height = hints->height = height;
    XSetWMNormalHints(FDisplay, FWindow, hints);
    XFree(hints);
    XClassHint* cls = XAllocClassHint();
    cls->res_name = const_cast<char*>("launchdeck");
    cls->res_class = const_cast<char*>("Launchdeck");
    XSetClassHint(FDisplay, FWindow, cls);
    XFree(cls);
    FProtocolsAtom = XInternAtom(FDisplay, "WM_PROTOCOLS", False);
    FDeleteAtom = XInternAtom(FDisplay, "WM_DELETE_WINDOW", False);
    Atom protocols[] = {FDeleteAtom};
    XSetWMProtocols(FDisplay, FWindow, protocols, 1);
    XStoreName(FDisplay, FWindow, program_invocation_short_name);
    XMapWindow(FDisplay, FWindow);
    XFlush(FDisplay);
}

// Pictures sent before the window is mapped are lost; the first present
// waits for it (bounded, in case no window manager maps it).
void TX11Backend::WaitForMap()
{
    long long deadline = NowUs() / 1000 + MapTimeoutMs;
    XEvent ev;
    while (!XCheckTypedWindowEvent(FDisplay, FWindow, MapNotify, &ev)) {
        long long left = deadline - NowUs() / 1000;
        if (left <= 0)
            throw EX11Error("the X window was not mapped within " + std::to_string(MapTimeoutMs) + " ms");
        pollfd p{ConnectionNumber(FDisplay), POLLIN, 0};
        poll(&p, 1, int(left));
        XEventsQueued(FDisplay, QueuedAfterReading);
    }
}

unsigned long TX11Backend::GetWindow() const
{
    if (FWindow)
        return FWindow;
    TCustomForm* main = Application->GetMainForm();
    return main && main->HandleAllocated() ? XWindowOf(main->GetHandle()) : 0;
}

unsigned long TX11Backend::XWindowOf(HWND window) const
{
    if (FTopLevels)
        return FTopLevels->XWindowOf(window);
    return IsWindow(window) ? FWindow : 0;
}

bool TX11Backend::HasWindowManager() const
{
    if (FTopLevels)
        return FTopLevels->HasWindowManager();
    Atom check = XInternAtom(FDisplay, "_NET_SUPPORTING_WM_CHECK", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    bool found = XGetWindowProperty(FDisplay, FRoot, check, 0, 1, False, AnyPropertyType, &type, &format, &count,
                                    &after, &data) == Success &&
                 data && count == 1;
    if (data)
        XFree(data);
    return found;
}

bool TX11Backend::UsesShm() const { return FPresenter->UsesShm(); }

// ---- presenting -------------------------------------------------------------------

void TX11Backend::Present()
{
    if (FTopLevels)
        FTopLevels->Sync(FLastTime);
    std::vector<TRect> areas = TakeScreenDamage();
    FLastPresentUs = NowUs();
    const TSurface& screen = GetScreenSurface();
    uint64_t pixels = 0;
    if (FTopLevels) {
        if (areas.empty() && !FTopLevels->HasExposed()) {
            XFlush(FDisplay);
            return;
        }
        pixels = FTopLevels->Present(*FPresenter, screen, areas);
    } else {
        areas.insert(areas.end(), FExposed.begin(), FExposed.end());
        FExposed.clear();
        for (const TRect& r : areas) {
            FPresenter->Present(screen, r, FWindow, {0, 0});
            pixels += uint64_t(r.Width()) * uint64_t(r.Height());
        }
    }
    XFlush(FDisplay);
    if (pixels == 0)
        return;
    FPresentedPixels += pixels;
    ++FPresents;
}

void TX11Backend::TicksRead()
{
    if (!HasScreenDamage())
        return;
    if (NowUs() - FLastPresentUs < PresentPeriodMs * 1000LL)
        return;
    Present();
}

// ---- waiting and events -------------------------------------------------------------

bool TX11Backend::WaitForInput(DWORD timeout)
{
    if (!FTopLevels)
        UpdateTitle();
    Present();
    if (XPending(FDisplay) == 0) {
        pollfd p{ConnectionNumber(FDisplay), POLLIN, 0};
        int ms = timeout == INFINITE ? -1 : int(std::min<DWORD>(timeout, 0x7FFFFFFF));
        if (poll(&p, 1, ms) < 0 && errno != EINTR)
            throw EX11Error("waiting on the X connection failed");
    }
    HandlePendingEvents();
    return true;
}

void TX11Backend::HandlePendingEvents()
{
    // A bounded batch: a flood of events cannot keep the loop from its messages.
    for (int n = 0; n < 256 && XPending(FDisplay) > 0; ++n) {
        XEvent ev;
        XNextEvent(FDisplay, &ev);
        HandleEvent(ev);
    }
    if (FTopLevels)
        FTopLevels->EndOfBatch();
}

void TX11Backend::HandleEvent(XEvent& ev)
{
    if (FPresenter->TakeEvent(ev) || FClipboard->HandleEvent(ev))
        return;
    if (FTopLevels && FTopLevels->HandleEvent(ev))
        return;
    switch (ev.type) {
    case MotionNotify:
    case ButtonPress:
    case ButtonRelease:
    case EnterNotify:
    case LeaveNotify:
        HandlePointer(ev);
        return;
    case KeyPress:
    case KeyRelease:
        FLastTime = ev.xkey.time;
        HandleKey(ev, ev.type == KeyPress);
        return;
    case FocusIn:
    case FocusOut:
        if (ev.xany.window != FWindow || ev.xfocus.detail == NotifyInferior || ev.xfocus.detail == NotifyPointer ||
            ev.xfocus.mode == NotifyGrab || ev.xfocus.mode == NotifyUngrab)
            return;
        FocusChanged(ev.type == FocusIn);
        return;
    case Expose:
        if (ev.xany.window == FWindow)
            FExposed.push_back(Bounds(ev.xexpose.x, ev.xexpose.y, ev.xexpose.width, ev.xexpose.height));
        return;
    case ClientMessage:
        if (ev.xany.window == FWindow && ev.xclient.message_type == FProtocolsAtom &&
            Atom(ev.xclient.data.l[0]) == FDeleteAtom)
            CloseRequested();
        return;
    case MappingNotify:
        XRefreshKeyboardMapping(&ev.xmapping);
        return;
    }
}

// ---- input -----------------------------------------------------------------------------

// Pointer positions are taken relative to the X window they arrive in and
// placed where the window system has that window, so a click lands on what
// the window showed there. While a button is held, X keeps reporting to the
// window it was pressed in, also outside it: a drag goes on across windows.
void TX11Backend::HandlePointer(XEvent& ev)
{
    TPoint origin;
    if (!OriginOf(ev.xany.window, origin))
        return;
    switch (ev.type) {
    case MotionNotify:
        FLastTime = ev.xmotion.time;
        // Only the last of a run of motions matters, as with the host's coalesced moves.
        if (XEventsQueued(FDisplay, QueuedAlready) > 0) {
            XEvent next;
            XPeekEvent(FDisplay, &next);
            if (next.type == MotionNotify)
                return;
        }
        MovePointer(origin.X + ev.xmotion.x, origin.Y + ev.xmotion.y);
        return;
    case ButtonPress:
    case ButtonRelease: {
        FLastTime = ev.xbutton.time;
        TPointerButton b;
        switch (ev.xbutton.button) {
        case Button1: b = TPointerButton::Left; break;
        case Button2: b = TPointerButton::Middle; break;
        case Button3: b = TPointerButton::Right; break;
        case Button4:
        case Button5:
            // X makes each notch of the wheel a press and release of button 4
            // (away from the user) or 5; the press is the notch.
            if (ev.type == ButtonPress) {
                MovePointer(origin.X + ev.xbutton.x, origin.Y + ev.xbutton.y);
                InjectMouseWheel(ev.xbutton.button == Button4 ? WHEEL_DELTA : -WHEEL_DELTA);
            }
            return;
        default: return;  // the sideways wheel and extra buttons have no message here
        }
        MovePointer(origin.X + ev.xbutton.x, origin.Y + ev.xbutton.y);
        InjectMouseButton(b, ev.type == ButtonPress);
        return;
    }
    case EnterNotify:
        FLastTime = ev.xcrossing.time;
        MovePointer(origin.X + ev.xcrossing.x, origin.Y + ev.xcrossing.y);
        return;
    case LeaveNotify:
        FLastTime = ev.xcrossing.time;
        if (ev.xcrossing.detail != NotifyInferior)
            PointerLeft(ev.xany.window, origin.X + ev.xcrossing.x, origin.Y + ev.xcrossing.y, ev.xcrossing.state);
        return;
    }
}

bool TX11Backend::OriginOf(unsigned long xwindow, TPoint& origin) const
{
    if (FTopLevels)
        return FTopLevels->OriginOf(xwindow, origin);
    if (xwindow != FWindow)
        return false;
    origin = {0, 0};
    return true;
}

void TX11Backend::MovePointer(Integer x, Integer y)
{
    if (FPointer.X == x && FPointer.Y == y)
        return;
    FPointer = {x, y};
    InjectMouseMove(x, y);
}

// Leaving an X window of ours for no other of ours is leaving every window:
// hot things go dark (the window entered next, if ours, says where the
// pointer is). With a button held the position is passed on as it is, so
// that a drag follows the pointer outside; in the virtual desktop a
// position inside the window means another program's window covers it.
void TX11Backend::PointerLeft(unsigned long xwindow, Integer x, Integer y, unsigned state)
{
    const bool held = (state & (Button1Mask | Button2Mask | Button3Mask)) != 0;
    if (FTopLevels) {
        // A button let go over another window of ours ends the grab with a
        // leave before that window's enter: the pointer is still on our
        // screen, where the release's drop looks for it.
        if (held || FTopLevels->PointerOverOurs())
            MovePointer(x, y);
        else
            MovePointer(kNowhere.X, kNowhere.Y);
        return;
    }
    bool outside = x < 0 || y < 0 || x >= FWidth || y >= FHeight;
    if (outside)
        MovePointer(x, y);
    else
        MovePointer(kNowhere.X, kNowhere.Y);
}

void TX11Backend::HandleKey(XEvent& ev, bool down)
{
    char text[8];
    KeySym sym = NoSymbol;
    int n = XLookupString(&ev.xkey, text, sizeof text, &sym, nullptr);
    // The key's code comes from its plain symbol, or its shifted one where the
    // plain one is no letter or digit (the digits of some layouts).
    Integer vk = x11::VirtualKeyOf(XLookupKeysym(&ev.xkey, 0));
    if (!vk)
        vk = x11::VirtualKeyOf(XLookupKeysym(&ev.xkey, 1));
    if (!vk && n == 1)
        vk = VK_OEM_8;
    if (!vk)
        return;
    if (!down) {
        InjectKey(vk, false);
        return;
    }
    char ch = n == 1 ? text[0] : 0;
    if (vk == VK_DELETE || vk == VK_INSERT)
        ch = 0;
    InjectKey(vk, true, ch);
}

// ---- focus, closing and the title (virtual desktop) ----------------------------------------

// The X window losing the keyboard deactivates the active form; getting it
// back activates that form again. Keys held when it went are let go, as
// their releases will go to another window.
void TX11Backend::FocusChanged(bool in)
{
    if (!in) {
        for (Integer vk : {Integer(VK_SHIFT), Integer(VK_CONTROL), Integer(VK_MENU)})
            if (GetAsyncKeyState(vk) < 0)
                InjectKey(vk, false);
        if (HWND active = GetActiveWindow()) {
            FDeactivated = active;
            SetActiveWindow(nullptr);
        }
        return;
    }
    if (FDeactivated && IsWindow(FDeactivated) && !GetActiveWindow())
        SetActiveWindow(FDeactivated);
    FDeactivated = nullptr;
}

// The close box closes the main form, which ends the program; without a
// main form the loop is told to end.
void TX11Backend::CloseRequested()
{
    TCustomForm* main = Application->GetMainForm();
    if (main && main->HandleAllocated())
        PostMessage(main->GetHandle(), WM_CLOSE, 0, 0);
    else
        PostQuitMessage(0);
}

// The window's title is the main form's caption: Latin-1 as the old
// property wants it, UTF-8 for the newer one.
void TX11Backend::UpdateTitle()
{
    TCustomForm* main = Application->GetMainForm();
    if (!main)
        return;
    std::string caption = main->GetCaption();
    if (FTitleSet && caption == FTitle)
        return;
    FTitle = caption;
    FTitleSet = true;
    XStoreName(FDisplay, FWindow, caption.c_str());
    std::string utf8 = x11::Latin1ToUtf8(caption);
    XChangeProperty(FDisplay, FWindow, XInternAtom(FDisplay, "_NET_WM_NAME", False),
                    XInternAtom(FDisplay, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(utf8.data()), int(utf8.size()));
}

// ---- cursors, clipboard, capture -----------------------------------------------------------

void TX11Backend::CursorChanged(HCURSOR cursor)
{
    FShownCursor = cursor;
    unsigned long x = FCursors->CursorFor(cursor);
    if (x == FShownXCursor)
        return;
    FShownXCursor = x;
    if (FTopLevels)
        FTopLevels->SetCursor(x);
    else
        XDefineCursor(FDisplay, FWindow, x);
}

unsigned long TX11Backend::XCursorFor(HCURSOR cursor) { return FCursors->CursorFor(cursor); }

void TX11Backend::SetClipboardText(const std::string& text) { FClipboard->SetText(text, FLastTime); }

std::string TX11Backend::GetClipboardText() { return FClipboard->GetText(FLastTime); }

std::unique_ptr<TSurface> TX11Backend::CaptureWindow(const TRect& area) const
{
    TRect r;
    IntersectRect(r, area, TRect{0, 0, FWidth, FHeight});
    if (r.Width() <= 0 || r.Height() <= 0)
        throw EX11Error("the area to capture lies outside the screen");
    XImage* image = XGetImage(FDisplay, FWindow ? FWindow : FRoot, r.Left, r.Top, unsigned(r.Width()),
                              unsigned(r.Height()), AllPlanes, ZPixmap);
    if (!image)
        throw EX11Error("the X server gave no image of the screen");
    auto out = std::make_unique<TSurface>(r.Width(), r.Height());
    for (Integer y = 0; y < r.Height(); ++y)
        for (Integer x = 0; x < r.Width(); ++x)
            out->Row(y)[x] = 0xFF000000u | uint32_t(XGetPixel(image, x, y) & 0xFFFFFF);
    XDestroyImage(image);
    return out;
}

} // namespace ld
