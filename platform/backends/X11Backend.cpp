// Index: failures; opening and the window; presenting; waiting and events;
// input; focus, closing and the title; cursors, clipboard, capture.
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

// A protocol error is a fault of ours, not the user's: say so in one line
// and go on, as the program can.
int ProtocolError(Display* display, XErrorEvent* e)
{
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

// ---- opening and the window ---------------------------------------------------------

TX11Backend::TX11Backend(Integer width, Integer height, const std::string& displayName, bool allowShm)
    : FWidth(width), FHeight(height)
{
    const char* name = displayName.empty() ? nullptr : displayName.c_str();
    FDisplay = XOpenDisplay(name);
    if (!FDisplay) {
        std::string shown = name ? name : (std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
        throw EX11Error("cannot open the X display \"" + shown + "\"");
    }
    XSetIOErrorHandler(ConnectionLost);
    XSetErrorHandler(ProtocolError);
    try {
        SetScreenSize(width, height);
        CreateXWindow(width, height);
    } catch (...) {
        XCloseDisplay(FDisplay);
        throw;
    }
    FCursors = std::make_unique<x11::TCursors>(FDisplay);
    FClipboard = std::make_unique<x11::TClipboard>(FDisplay, FWindow);
    FExposed.push_back({0, 0, width, height});
    SetBackend(this);
    WaitForMap();
    Present();
}

TX11Backend::~TX11Backend()
{
    if (GetBackend() == this)
        SetBackend(nullptr);
    FPresenter.reset();
    FCursors.reset();
    FClipboard.reset();
    XDestroyWindow(FDisplay, FWindow);
    if (FColormap)
        XFreeColormap(FDisplay, FColormap);
    XCloseDisplay(FDisplay);
}

void TX11Backend::CreateXWindow(Integer width, Integer height)
{
    int screen = DefaultScreen(FDisplay);
    Visual* visual = DefaultVisual(FDisplay, screen);
    int depth = DefaultDepth(FDisplay, screen);
    Window root = RootWindow(FDisplay, screen);
    XSetWindowAttributes attrs{};
    unsigned long mask = CWBackPixmap | CWBorderPixel | CWBitGravity | CWEventMask;
    if (!IsOurPixelFormat(visual, depth)) {
        XVisualInfo info;
        if (!XMatchVisualInfo(FDisplay, screen, 24, TrueColor, &info) || !IsOurPixelFormat(info.visual, info.depth))
            throw EX11Error("the X display offers no 24-bit true-colour visual");
        visual = info.visual;
        depth = info.depth;
        FColormap = XCreateColormap(FDisplay, root, visual, AllocNone);
        attrs.colormap = FColormap;
        mask |= CWColormap;
    }
    attrs.background_pixmap = None;  // no flash of a background before the first present
    attrs.border_pixel = 0;
    attrs.bit_gravity = NorthWestGravity;
    attrs.event_mask = ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                       PointerMotionMask | EnterWindowMask | LeaveWindowMask | FocusChangeMask |
                       StructureNotifyMask | PropertyChangeMask;
    FWindow = XCreateWindow(FDisplay, root, 0, 0, unsigned(width), unsigned(height), 0, depth, InputOutput, visual,
                            mask, &attrs);

    // A virtual desktop of a fixed size: the window manager may not resize it.
    XSizeHints* hints = XAllocSizeHints();
    hints->flags = PMinSize | PMaxSize | PSize;
    hints->min_width = hints->max_width = hints->width = width;
    hints->min_height = hints->max_height = hints->height = height;
    XSetWMNormalHints(FDisplay, FWindow, hints);
    XFree(hints);
    XClassHint* cls = XAllocClassHint();
    cls->res_name = program_invocation_short_name;
    cls->res_class = const_cast<char*>("Launchdeck");
    XSetClassHint(FDisplay, FWindow, cls);
    XFree(cls);
    FProtocolsAtom = XInternAtom(FDisplay, "WM_PROTOCOLS", False);
    FDeleteAtom = XInternAtom(FDisplay, "WM_DELETE_WINDOW", False);
    Atom protocols[] = {FDeleteAtom};
    XSetWMProtocols(FDisplay, FWindow, protocols, 1);
    XStoreName(FDisplay, FWindow, program_invocation_short_name);
    // Held keys repeat as presses alone, as the host's do, not as release and press.
    Bool supported;
    XkbSetDetectableAutoRepeat(FDisplay, True, &supported);

    FPresenter = std::make_unique<x11::TPresenter>(FDisplay, FWindow, visual, depth, width, height, true);
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

bool TX11Backend::UsesShm() const { return FPresenter->UsesShm(); }

// ---- presenting -------------------------------------------------------------------

void TX11Backend::Present()
{
    std::vector<TRect> areas = TakeScreenDamage();
    areas.insert(areas.end(), FExposed.begin(), FExposed.end());
    FExposed.clear();
    FLastPresentUs = NowUs();
    if (areas.empty())
        return;
    const TSurface& screen = GetScreenSurface();
    for (const TRect& r : areas) {
        FPresenter->Present(screen, r);
        FPresentedPixels += uint64_t(r.Width()) * uint64_t(r.Height());
    }
    XFlush(FDisplay);
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
}

void TX11Backend::HandleEvent(XEvent& ev)
{
    if (FPresenter->TakeEvent(ev) || FClipboard->HandleEvent(ev))
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
        MovePointer(ev.xmotion.x, ev.xmotion.y);
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
                MovePointer(ev.xbutton.x, ev.xbutton.y);
                InjectMouseWheel(ev.xbutton.button == Button4 ? WHEEL_DELTA : -WHEEL_DELTA);
            }
            return;
        default: return;  // the sideways wheel and extra buttons have no message here
        }
        MovePointer(ev.xbutton.x, ev.xbutton.y);
        InjectMouseButton(b, ev.type == ButtonPress);
        return;
    }
    case KeyPress:
    case KeyRelease:
        FLastTime = ev.xkey.time;
        HandleKey(ev, ev.type == KeyPress);
        return;
    case EnterNotify:
        FLastTime = ev.xcrossing.time;
        MovePointer(ev.xcrossing.x, ev.xcrossing.y);
        return;
    case LeaveNotify:
        FLastTime = ev.xcrossing.time;
        if (ev.xcrossing.detail != NotifyInferior)
            PointerLeft(ev.xcrossing.x, ev.xcrossing.y);
        return;
    case FocusIn:
    case FocusOut:
        if (ev.xfocus.detail == NotifyInferior || ev.xfocus.detail == NotifyPointer ||
            ev.xfocus.mode == NotifyGrab || ev.xfocus.mode == NotifyUngrab)
            return;
        FocusChanged(ev.type == FocusIn);
        return;
    case Expose:
        FExposed.push_back(Bounds(ev.xexpose.x, ev.xexpose.y, ev.xexpose.width, ev.xexpose.height));
        return;
    case ClientMessage:
        if (ev.xclient.message_type == FProtocolsAtom && Atom(ev.xclient.data.l[0]) == FDeleteAtom)
            CloseRequested();
        return;
    case MappingNotify:
        XRefreshKeyboardMapping(&ev.xmapping);
        return;
    }
}

// ---- input -----------------------------------------------------------------------------

void TX11Backend::MovePointer(Integer x, Integer y)
{
    if (FPointer.X == x && FPointer.Y == y)
        return;
    FPointer = {x, y};
    InjectMouseMove(x, y);
}

// Leaving the X window is leaving every window of ours: hot things go dark.
// Held buttons keep the pointer reported (X grabs it for us), so a position
// outside is passed on as it is.
void TX11Backend::PointerLeft(Integer x, Integer y)
{
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

// ---- focus, closing and the title -------------------------------------------------------

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
        throw EX11Error("the area to capture lies outside the X window");
    XImage* image = XGetImage(FDisplay, FWindow, r.Left, r.Top, unsigned(r.Width()), unsigned(r.Height()), AllPlanes,
                              ZPixmap);
    if (!image)
        throw EX11Error("the X server gave no image of the window");
    auto out = std::make_unique<TSurface>(r.Width(), r.Height());
    for (Integer y = 0; y < r.Height(); ++y)
        for (Integer x = 0; x < r.Width(); ++x)
            out->Row(y)[x] = 0xFF000000u | uint32_t(XGetPixel(image, x, y) & 0xFFFFFF);
    XDestroyImage(image);
    return out;
}

} // namespace ld
