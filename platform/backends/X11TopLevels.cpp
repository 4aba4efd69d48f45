// Index: the views and their atoms; following the window system (Sync);
// properties and hints; place, mapping, stacking, focus and grab pushed to X;
// events from X; presenting.
//
// The life of a top-level window's X window:
//
//   shown in the window system ----------> created unmapped, its properties set, then mapped
//   mapped by the server -----------------> MapNotify: the stacking order is read again
//   reparented into a frame --------------> ReparentNotify: the frame is watched for moves and restacking
//   moved or sized by the window manager -> ConfigureNotify: Left, Top, Width, Height follow (WM_MOVE, WM_SIZE)
//   restacked (raised, lowered) ----------> the window system's z-order follows the X stacking order
//   moved, sized, raised by the program --> asked of the server, which (or its window manager) has the last word
//   iconified by the window manager ------> UnmapNotify: to the bottom of the window system's z-order
//   hidden in the window system ----------> withdrawn: unmapped, kept for the next show
//   destroyed in the window system -------> destroyed
#include "platform/backends/X11TopLevels.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>

#include <pixman.h>

#include "platform/backends/X11Clipboard.h"
#include "platform/backends/X11Icon.h"
#include "platform/backends/X11Present.h"
#include "platform/core/Resources.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace ld::x11 {

// ---- the views and their atoms ----------------------------------------------------------

struct TTopLevels::TAtoms {
    Atom Protocols, DeleteWindow, Utf8, NetName, NetPid, NetIcon, NetType, NetTypeNormal, NetTypeDialog, NetState,
        NetStateModal, NetActive, NetSupportingCheck, ClientLeader, MotifHints;
    explicit TAtoms(Display* d)
    {
        auto atom = [d](const char* name) { return XInternAtom(d, name, False); };
        Protocols = atom("WM_PROTOCOLS");
        DeleteWindow = atom("WM_DELETE_WINDOW");
        Utf8 = atom("UTF8_STRING");
        NetName = atom("_NET_WM_NAME");
        NetPid = atom("_NET_WM_PID");
        NetIcon = atom("_NET_WM_ICON");
        NetType = atom("_NET_WM_WINDOW_TYPE");
        NetTypeNormal = atom("_NET_WM_WINDOW_TYPE_NORMAL");
        NetTypeDialog = atom("_NET_WM_WINDOW_TYPE_DIALOG");
        NetState = atom("_NET_WM_STATE");
        NetStateModal = atom("_NET_WM_STATE_MODAL");
        NetActive = atom("_NET_ACTIVE_WINDOW");
        NetSupportingCheck = atom("_NET_SUPPORTING_WM_CHECK");
        ClientLeader = atom("WM_CLIENT_LEADER");
        MotifHints = atom("_MOTIF_WM_HINTS");
    }
};

// What the size hints say; set again only when it changes.
struct THints {
    bool Sizable = false;
    TPoint Min, Max;  // client sizes
    bool operator==(const THints&) const = default;
};

struct TTopLevels::TView {
    HWND Handle = nullptr;
    Window XWindow = 0;
    Window Frame = 0;          // its ancestor among the root's children: the window manager's frame, or itself
    Window FrameAbove = 0;     // the frame's sibling below it, as last told
    bool Popup = false;
    TRect Known;               // the X window on the screen, as last heard or asked
    bool WantMapped = false;   // as last asked
    bool Mapped = false;       // as the server last said
    std::string Title;
    bool TitleSet = false;
    THints Hints;
    bool HintsSet = false;
    HWND Owner = nullptr;
    unsigned long Type = 0;    // _NET_WM_WINDOW_TYPE as set
    unsigned long FrameHints[3] = {};  // _MOTIF_WM_HINTS as set: flags, functions, decorations
    bool FrameHintsSet = false;
    bool Modal = false;
    std::vector<TRect> Exposed;  // screen coordinates
};

namespace {

TRect ShownRect(HWND window)
{
    RECT r{};
    GetShownRect(window, r);
    // An X window has at least one pixel each way.
    return {r.Left, r.Top, std::max(r.Right, r.Left + 1), std::max(r.Bottom, r.Top + 1)};
}

TPoint ClientSizeOf(HWND window, TPoint windowSize)
{
    RECT w{}, c{};
    GetWindowRect(window, w);
    GetClientRect(window, c);
    return {std::max<Integer>(windowSize.X - (w.Width() - c.Width()), 1),
            std::max<Integer>(windowSize.Y - (w.Height() - c.Height()), 1)};
}

// The window rectangle that puts the client area (or a popup's whole
// window) where the X window is.
RECT WindowRectFor(HWND window, const TRect& shown)
{
    RECT w{}, s{};
    GetWindowRect(window, w);
    GetShownRect(window, s);
    return {shown.Left - (s.Left - w.Left), shown.Top - (s.Top - w.Top), shown.Right + (w.Right - s.Right),
            shown.Bottom + (w.Bottom - s.Bottom)};
}

// The top-level windows of the window system, top of the z-order first.
std::vector<HWND> TopLevelWindows()
{
    std::vector<HWND> out;
    for (HWND h = GetWindow(GetDesktopWindow(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        out.push_back(h);
    return out;
}

// Whether Window is the highest of the visible top-level windows.
bool IsTopOfTheShown(HWND window)
{
    for (HWND h : TopLevelWindows())
        if (IsWindowVisible(h))
            return h == window;
    return false;
}

} // namespace

TTopLevels::TTopLevels(const TXScreen& screen) : FScreen(screen), FAtoms(std::make_unique<TAtoms>(screen.D))
{
    FIcon = MainIconProperty(MainModule());
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(FScreen.D, FScreen.Root, FAtoms->NetSupportingCheck, 0, 1, False, XA_WINDOW, &type,
                           &format, &count, &after, &data) == Success &&
        data) {
        FWindowManager = count == 1 && format == 32;
        XFree(data);
    }
}

TTopLevels::~TTopLevels()
{
    if (FGrab)
        XUngrabPointer(FScreen.D, CurrentTime);
    for (auto& view : FViews)
        XDestroyWindow(FScreen.D, view->XWindow);
}

TTopLevels::TView* TTopLevels::ViewOf(unsigned long xwindow)
{
    for (auto& view : FViews)
        if (view->XWindow == xwindow)
            return view.get();
    return nullptr;
}

const TTopLevels::TView* TTopLevels::ViewOf(unsigned long xwindow) const
{
    return const_cast<TTopLevels*>(this)->ViewOf(xwindow);
}

TTopLevels::TView* TTopLevels::ViewFor(HWND window)
{
    for (auto& view : FViews)
        if (view->Handle == window)
            return view.get();
    return nullptr;
}

TTopLevels::TView* TTopLevels::ViewByFrame(unsigned long frame)
{
    for (auto& view : FViews)
        if (view->Frame == frame && frame != view->XWindow)
            return view.get();
    return nullptr;
}

unsigned long TTopLevels::XWindowOf(HWND window) const
{
    for (const auto& view : FViews)
        if (view->Handle == window)
            return view->XWindow;
    return 0;
}

HWND TTopLevels::WindowOf(unsigned long xwindow) const
{
    const TView* view = ViewOf(xwindow);
    return view ? view->Handle : nullptr;
}

bool TTopLevels::IsOurs(unsigned long xwindow) const { return ViewOf(xwindow) != nullptr; }

bool TTopLevels::PointerOverOurs() const
{
    Window root, child = 0;
    int rx, ry, x, y;
    unsigned state;
    if (!XQueryPointer(FScreen.D, FScreen.Root, &root, &child, &rx, &ry, &x, &y, &state) || !child)
        return false;
    for (const auto& view : FViews)
        if (view->Mapped && (view->XWindow == child || view->Frame == child))
            return true;
    return false;
}

bool TTopLevels::OriginOf(unsigned long xwindow, TPoint& origin) const
{
    const TView* view = ViewOf(xwindow);
    if (!view || !IsWindow(view->Handle))
        return false;
    TRect shown = ShownRect(view->Handle);
    origin = {shown.Left, shown.Top};
    return true;
}

// ---- following the window system ----------------------------------------------------------

void TTopLevels::Sync(unsigned long time)
{
    ForgetDeadWindows();
    for (HWND window : TopLevelWindows())
        if (IsWindowVisible(window) && !ViewFor(window))
            CreateView(window);
    std::vector<TView*> mapped;
    for (auto& view : FViews) {
        bool visible = IsWindowVisible(view->Handle);
        if (visible) {
            UpdateProperties(*view);
            Place(*view);
            if (!view->WantMapped)
                mapped.push_back(view.get());
        }
        MapOrWithdraw(*view, visible);
    }
    PushStacking();
    RaiseNewTop(mapped);
    RequestFocus(time);
    UpdateGrab();
}

void TTopLevels::ForgetDeadWindows()
{
    for (size_t i = 0; i < FViews.size();) {
        if (IsWindow(FViews[i]->Handle)) {
            ++i;
            continue;
        }
        DestroyView(*FViews[i]);
        FViews.erase(FViews.begin() + ptrdiff_t(i));
    }
}

void TTopLevels::CreateView(HWND window)
{
    auto view = std::make_unique<TView>();
    view->Handle = window;
    view->Popup = IsPopupWindow(window);
    view->Known = ShownRect(window);
    XSetWindowAttributes attrs{};
    unsigned long mask = CWBackPixmap | CWBorderPixel | CWBitGravity | CWEventMask | CWOverrideRedirect | CWCursor;
    attrs.background_pixmap = None;  // no flash of a background before the first present
    attrs.border_pixel = 0;
    attrs.bit_gravity = NorthWestGravity;
    attrs.override_redirect = view->Popup;
    attrs.cursor = FCursor;
    attrs.event_mask = ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                       PointerMotionMask | EnterWindowMask | LeaveWindowMask | FocusChangeMask | StructureNotifyMask;
    if (FScreen.Colormap) {
        attrs.colormap = FScreen.Colormap;
        mask |= CWColormap;
    }
    if (view->Popup) {
        attrs.save_under = True;
        mask |= CWSaveUnder;
    }
    const TRect& r = view->Known;
    view->XWindow = XCreateWindow(FScreen.D, FScreen.Root, r.Left, r.Top, unsigned(r.Width()), unsigned(r.Height()), 0,
                                  FScreen.Depth, InputOutput, static_cast<Visual*>(FScreen.Visual), mask, &attrs);
    view->Frame = view->XWindow;
    if (!view->Popup) {
        XClassHint cls{const_cast<char*>("launchdeck"), const_cast<char*>("Launchdeck")};
        XWMHints wm{};
        wm.flags = InputHint | StateHint | WindowGroupHint;
        wm.input = True;
        wm.initial_state = NormalState;
        wm.window_group = FScreen.Leader;
        char host[256] = "";
        gethostname(host, sizeof host - 1);
        XTextProperty machine{reinterpret_cast<unsigned char*>(host), XA_STRING, 8, std::strlen(host)};
        XSetWMProperties(FScreen.D, view->XWindow, nullptr, nullptr, nullptr, 0, nullptr, &wm, &cls);
        XSetWMClientMachine(FScreen.D, view->XWindow, &machine);
        long pid = getpid();
        XChangeProperty(FScreen.D, view->XWindow, FAtoms->NetPid, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&pid), 1);
        XChangeProperty(FScreen.D, view->XWindow, FAtoms->ClientLeader, XA_WINDOW, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&FScreen.Leader), 1);
        Atom protocols[] = {FAtoms->DeleteWindow};
        XSetWMProtocols(FScreen.D, view->XWindow, protocols, 1);
        if (!FIcon.empty())
            XChangeProperty(FScreen.D, view->XWindow, FAtoms->NetIcon, XA_CARDINAL, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(FIcon.data()), int(FIcon.size()));
    }
    FViews.push_back(std::move(view));
}

void TTopLevels::DestroyView(TView& view)
{
    if (FGrab == view.XWindow) {
        XUngrabPointer(FScreen.D, CurrentTime);
        FGrab = 0;
    }
    std::erase(FStack, view.XWindow);
    XDestroyWindow(FScreen.D, view.XWindow);
    if (FXFocus == view.Handle)
        FXFocus = nullptr;
}

// ---- properties and hints ------------------------------------------------------------------

void TTopLevels::UpdateProperties(TView& view)
{
    if (view.Popup)
        return;
    std::string title = GetWindowText(view.Handle);
    if (!view.TitleSet || title != view.Title) {
        view.Title = title;
        view.TitleSet = true;
        // Latin-1 as the old property wants it, UTF-8 for the newer one.
        XStoreName(FScreen.D, view.XWindow, title.c_str());
        std::string utf8 = Latin1ToUtf8(title);
        XChangeProperty(FScreen.D, view.XWindow, FAtoms->NetName, FAtoms->Utf8, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(utf8.data()), int(utf8.size()));
    }
    SetSizeHints(view);
    // A dialog stays above the window it belongs to; while that one is
    // disabled, the dialog is modal.
    HWND owner = GetWindow(view.Handle, GW_OWNER);
    if (owner != view.Owner) {
        view.Owner = owner;
        Window ownerX = owner ? XWindowOf(owner) : 0;
        if (ownerX)
            XSetTransientForHint(FScreen.D, view.XWindow, ownerX);
        else
            XDeleteProperty(FScreen.D, view.XWindow, XA_WM_TRANSIENT_FOR);
    }
    Atom type = (GetWindowLongPtr(view.Handle, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME) ? FAtoms->NetTypeDialog
                                                                                  : FAtoms->NetTypeNormal;
    if (type != view.Type) {
        view.Type = type;
        XChangeProperty(FScreen.D, view.XWindow, FAtoms->NetType, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&type), 1);
    }
    SetModalState(view, owner && !IsWindowEnabled(owner));
    SetFrameHints(view);
}

// What the window manager's frame offers, from the border style: a sizable
// window everything; a dialog a title and a close box; any other captioned
// window those and minimising; a window without a caption no frame at all.
void TTopLevels::SetFrameHints(TView& view)
{
    enum : unsigned long { Functions = 1, Decorations = 2 };
    enum : unsigned long { FuncAll = 1, FuncMove = 4, FuncMinimize = 8, FuncClose = 32 };
    enum : unsigned long { DecorAll = 1, DecorBorder = 2, DecorTitle = 8, DecorMenu = 16, DecorMinimize = 32 };
    const auto style = DWORD(GetWindowLongPtr(view.Handle, GWL_STYLE));
    const auto exStyle = DWORD(GetWindowLongPtr(view.Handle, GWL_EXSTYLE));
    unsigned long hints[5] = {Functions | Decorations, FuncAll, DecorAll, 0, 0};
    if ((style & WS_CAPTION) != WS_CAPTION) {
        hints[1] = FuncMove | FuncClose;
        hints[2] = 0;
    } else if (exStyle & WS_EX_DLGMODALFRAME) {
        hints[1] = FuncMove | FuncClose;
        hints[2] = DecorBorder | DecorTitle | DecorMenu;
    } else if (!(style & WS_THICKFRAME)) {
        hints[1] = FuncMove | FuncClose | FuncMinimize;
        hints[2] = DecorBorder | DecorTitle | DecorMenu | DecorMinimize;
    }
    if (view.FrameHintsSet && std::equal(hints, hints + 3, view.FrameHints))
        return;
    view.FrameHintsSet = true;
    std::copy(hints, hints + 3, view.FrameHints);
    XChangeProperty(FScreen.D, view.XWindow, FAtoms->MotifHints, FAtoms->MotifHints, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(hints), 5);
}

// A sizable window keeps within its tracking sizes; any other keeps its size.
void TTopLevels::SetSizeHints(TView& view)
{
    THints hints;
    hints.Sizable = (GetWindowLongPtr(view.Handle, GWL_STYLE) & WS_THICKFRAME) != 0;
    TRect shown = ShownRect(view.Handle);
    if (hints.Sizable) {
        MINMAXINFO info = GetWindowMinMaxInfo(view.Handle);
        hints.Min = ClientSizeOf(view.Handle, info.ptMinTrackSize);
        hints.Max = ClientSizeOf(view.Handle, info.ptMaxTrackSize);
    } else {
        hints.Min = hints.Max = {shown.Width(), shown.Height()};
    }
    if (view.HintsSet && hints == view.Hints)
        return;
    view.Hints = hints;
    view.HintsSet = true;
    XSizeHints* size = XAllocSizeHints();
    // The position is the program's, and it is the client area's (static gravity).
    size->flags = PPosition | USPosition | PMinSize | PMaxSize | PWinGravity;
    size->x = shown.Left;
    size->y = shown.Top;
    size->min_width = hints.Min.X;
    size->min_height = hints.Min.Y;
    size->max_width = std::max(hints.Max.X, hints.Min.X);
    size->max_height = std::max(hints.Max.Y, hints.Min.Y);
    size->win_gravity = StaticGravity;
    XSetWMNormalHints(FScreen.D, view.XWindow, size);
    XFree(size);
}

// Before mapping, the state is a property of the window; once mapped, the
// window manager is asked to change it.
void TTopLevels::SetModalState(TView& view, bool modal)
{
    if (modal == view.Modal)
        return;
    view.Modal = modal;
    if (!view.WantMapped || !FWindowManager) {
        if (modal)
            XChangeProperty(FScreen.D, view.XWindow, FAtoms->NetState, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(&FAtoms->NetStateModal), 1);
        else
            XDeleteProperty(FScreen.D, view.XWindow, FAtoms->NetState);
        return;
    }
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = view.XWindow;
    ev.xclient.message_type = FAtoms->NetState;
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = modal ? 1 : 0;  // _NET_WM_STATE_ADD, _NET_WM_STATE_REMOVE
    ev.xclient.data.l[1] = long(FAtoms->NetStateModal);
    ev.xclient.data.l[3] = 1;  // asked by an application
    XSendEvent(FScreen.D, FScreen.Root, False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
}

// ---- place, mapping, stacking, focus and grab --------------------------------------------------

void TTopLevels::Place(TView& view)
{
    TRect want = ShownRect(view.Handle);
    if (want == view.Known)
        return;
    view.Known = want;
    XMoveResizeWindow(FScreen.D, view.XWindow, want.Left, want.Top, unsigned(want.Width()), unsigned(want.Height()));
}

void TTopLevels::MapOrWithdraw(TView& view, bool visible)
{
    if (visible == view.WantMapped)
        return;
    view.WantMapped = visible;
    if (visible) {
        if (view.Popup)
            XMapRaised(FScreen.D, view.XWindow);
        else
            XMapWindow(FScreen.D, view.XWindow);
        return;
    }
    std::erase(FStack, view.XWindow);
    XWithdrawWindow(FScreen.D, view.XWindow, DefaultScreen(FScreen.D));
    view.Mapped = false;
    if (FXFocus == view.Handle)
        FXFocus = nullptr;
}

// Without a window manager a window maps where it was created, under those
// raised since: one the window system shows on top of the others (a dialog,
// a form brought up) goes on top on the server too. A window manager stacks
// new windows itself.
void TTopLevels::RaiseNewTop(const std::vector<TView*>& mapped)
{
    for (TView* view : mapped)
        if (!view->Popup && IsTopOfTheShown(view->Handle))
            XRaiseWindow(FScreen.D, view->XWindow);
}

// A window raised in the window system (a click, BringToFront) is raised on
// the server too; what the server then does is read back by ReadStacking.
void TTopLevels::PushStacking()
{
    std::vector<Window> wanted;  // bottom first, as FStack
    std::vector<HWND> order = TopLevelWindows();
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        if (TView* view = ViewFor(*it); view && view->WantMapped && std::count(FStack.begin(), FStack.end(), view->XWindow))
            wanted.push_back(view->XWindow);
    if (wanted == FStack)
        return;
    size_t same = 0;
    while (same < wanted.size() && same < FStack.size() && wanted[same] == FStack[same])
        ++same;
    for (size_t i = same; i < wanted.size(); ++i)
        XRaiseWindow(FScreen.D, wanted[i]);
    FStack = wanted;
}

// The keyboard goes where the window system's active window is, once that
// window is on the screen: through the window manager when there is one.
void TTopLevels::RequestFocus(unsigned long time)
{
    HWND active = GetActiveWindow();
    if (!active) {
        FFocusAsked = nullptr;
        return;
    }
    if (active == FXFocus || active == FFocusAsked)
        return;
    TView* view = ViewFor(active);
    if (!view || view->Popup || !view->Mapped)
        return;
    FFocusAsked = active;
    if (!FWindowManager) {
        XSetInputFocus(FScreen.D, view->XWindow, RevertToParent, CurrentTime);
        return;
    }
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = view->XWindow;
    ev.xclient.message_type = FAtoms->NetActive;
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = 1;  // asked by an application
    ev.xclient.data.l[1] = long(time);
    ev.xclient.data.l[2] = long(XWindowOf(FXFocus));
    XSendEvent(FScreen.D, FScreen.Root, False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
}

// While a popup is open (a menu, a dropped-down list) and something holds
// the capture, the pointer is ours wherever it goes, so that a click
// anywhere else closes the popup. Our other windows still hear their own events.
void TTopLevels::UpdateGrab()
{
    Window want = 0;
    if (GetCapture())
        for (HWND h : TopLevelWindows())
            if (TView* view = ViewFor(h); view && view->Popup && view->WantMapped) {
                want = view->XWindow;
                break;
            }
    if (want == FGrab)
        return;
    if (FGrab)
        XUngrabPointer(FScreen.D, CurrentTime);
    FGrab = 0;
    if (want &&
        XGrabPointer(FScreen.D, want, True,
                     ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask,
                     GrabModeAsync, GrabModeAsync, None, None, CurrentTime) == GrabSuccess)
        FGrab = want;
}

void TTopLevels::SetCursor(unsigned long cursor)
{
    FCursor = cursor;
    for (auto& view : FViews)
        XDefineCursor(FScreen.D, view->XWindow, cursor);
}

// ---- events from X ---------------------------------------------------------------------------

bool TTopLevels::HandleEvent(XEvent& ev)
{
    TView* view = ViewOf(ev.xany.window);
    if (!view) {
        // The frames the window manager keeps our windows in.
        if (ev.type == ConfigureNotify || ev.type == MapNotify || ev.type == UnmapNotify || ev.type == DestroyNotify) {
            TView* framed = ViewByFrame(ev.xany.window);
            if (!framed)
                return false;
            if (ev.type == DestroyNotify)
                framed->Frame = 0;
            else if (ev.type != ConfigureNotify || ev.xconfigure.above != framed->FrameAbove) {
                if (ev.type == ConfigureNotify)
                    framed->FrameAbove = ev.xconfigure.above;
                ReadStacking();
            }
            return true;
        }
        return false;
    }
    switch (ev.type) {
    case ConfigureNotify: Configured(*view, ev); return true;
    case ReparentNotify: Reparented(*view); return true;
    case MapNotify:
        view->Mapped = true;
        ReadStacking();
        return true;
    case UnmapNotify:
        view->Mapped = false;
        std::erase(FStack, view->XWindow);
        // Unmapped by the window manager (iconified): it covers nothing of ours now.
        if (view->WantMapped && IsWindow(view->Handle))
            SetWindowPos(view->Handle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return true;
    case DestroyNotify: return true;
    case Expose: {
        TRect shown = ShownRect(view->Handle);
        view->Exposed.push_back(Bounds(shown.Left + ev.xexpose.x, shown.Top + ev.xexpose.y, ev.xexpose.width,
                                       ev.xexpose.height));
        return true;
    }
    case FocusIn:
    case FocusOut:
        if (ev.type == FocusIn)
            LetGoOfKeysReleasedElsewhere();
        if (ev.xfocus.detail == NotifyInferior || ev.xfocus.detail == NotifyPointer ||
            ev.xfocus.mode == NotifyGrab || ev.xfocus.mode == NotifyUngrab)
            return true;
        if (ev.type == FocusIn)
            FocusArrived(*view);
        else if (FXFocus == view->Handle)
            FFocusLeft = true;
        return true;
    case ClientMessage:
        if (ev.xclient.message_type == FAtoms->Protocols && Atom(ev.xclient.data.l[0]) == FAtoms->DeleteWindow &&
            IsWindow(view->Handle) && IsWindowEnabled(view->Handle))
            PostMessage(view->Handle, WM_CLOSE, 0, 0);
        return true;
    }
    return false;
}

// Synthetic events (from the window manager) give the place on the root;
// real ones the place in the parent, which is the root only without a frame.
void TTopLevels::Configured(TView& view, const XEvent& ev)
{
    const XConfigureEvent& c = ev.xconfigure;
    if (view.Frame == view.XWindow && c.above != view.FrameAbove && !c.send_event) {
        view.FrameAbove = c.above;
        ReadStacking();
    }
    view.Known = Bounds(view.Known.Left, view.Known.Top, c.width, c.height);
    if (c.send_event || view.Frame == view.XWindow)
        view.Known = Bounds(c.x, c.y, c.width, c.height);
    else {
        int x = 0, y = 0;
        Window child;
        if (XTranslateCoordinates(FScreen.D, view.XWindow, FScreen.Root, 0, 0, &x, &y, &child))
            view.Known = Bounds(x, y, c.width, c.height);
    }
    FollowServerPlace(view);
}

void TTopLevels::FollowServerPlace(TView& view)
{
    if (!IsWindow(view.Handle) || view.Known == ShownRect(view.Handle))
        return;
    RECT now{}, r = WindowRectFor(view.Handle, view.Known);
    GetWindowRect(view.Handle, now);
    // Only what changed: a move is no resize (no WM_SIZE, no OnResize).
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (r.Width() == now.Width() && r.Height() == now.Height())
        flags |= SWP_NOSIZE;
    if (r.Left == now.Left && r.Top == now.Top)
        flags |= SWP_NOMOVE;
    SetWindowPos(view.Handle, nullptr, r.Left, r.Top, r.Width(), r.Height(), flags);
}

// The frame is the ancestor just below the root; it is watched for moves and restacking.
void TTopLevels::Reparented(TView& view)
{
    Window w = view.XWindow;
    for (;;) {
        Window root, parent, *children = nullptr;
        unsigned n = 0;
        if (!XQueryTree(FScreen.D, w, &root, &parent, &children, &n)) {
            w = 0;
            break;
        }
        if (children)
            XFree(children);
        if (parent == root || parent == 0)
            break;
        w = parent;
    }
    view.Frame = w;
    view.FrameAbove = 0;
    if (w && w != view.XWindow)
        XSelectInput(FScreen.D, w, StructureNotifyMask);
    ReadStacking();
}

// The window system's z-order follows the server's stacking of our frames.
void TTopLevels::ReadStacking()
{
    Window root, parent, *children = nullptr;
    unsigned n = 0;
    if (!XQueryTree(FScreen.D, FScreen.Root, &root, &parent, &children, &n))
        return;
    std::vector<Window> stacked(children, children + n);
    if (children)
        XFree(children);
    std::vector<std::pair<size_t, TView*>> ours;
    for (auto& view : FViews) {
        if (!view->Mapped || !view->WantMapped || !view->Frame || !IsWindow(view->Handle))
            continue;
        auto at = std::find(stacked.begin(), stacked.end(), view->Frame);
        if (at != stacked.end())
            ours.push_back({size_t(at - stacked.begin()), view.get()});
    }
    std::sort(ours.begin(), ours.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    FStack.clear();
    for (const auto& [index, view] : ours)
        FStack.push_back(view->XWindow);
    // Top first, each just below the one before; windows already in that
    // order are left where they are.
    std::vector<HWND> current;
    for (HWND h : TopLevelWindows())
        if (TView* v = ViewFor(h); v && std::count(FStack.begin(), FStack.end(), v->XWindow))
            current.push_back(h);
    std::vector<HWND> wanted;
    for (auto it = ours.rbegin(); it != ours.rend(); ++it)
        wanted.push_back(it->second->Handle);
    if (current == wanted)
        return;
    HWND above = HWND_TOP;
    for (HWND h : wanted) {
        SetWindowPos(h, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = h;
    }
}

// The X focus arriving activates the window; a window that cannot take it
// now (a modal dialog is up) hands it to the active window.
void TTopLevels::FocusArrived(TView& view)
{
    FFocusLeft = false;
    FXFocus = view.Handle;
    if (!IsWindow(view.Handle))
        return;
    if (!IsWindowEnabled(view.Handle)) {
        FFocusAsked = nullptr;
        return;
    }
    if (GetActiveWindow() != view.Handle)
        SetActiveWindow(view.Handle);
    FFocusAsked = view.Handle;
}

// A key let go while another client held the keyboard (a window manager's
// binding such as Alt+F4 grabs it) is never reported to us: when the keyboard
// comes back, a modifier still held here but not on the server is let go, or
// the next Escape would arrive as Alt+Escape.
void TTopLevels::LetGoOfKeysReleasedElsewhere()
{
    char keys[32] = {};
    XQueryKeymap(FScreen.D, keys);
    auto down = [&](KeySym left, KeySym right) {
        for (KeySym sym : {left, right})
            if (KeyCode code = XKeysymToKeycode(FScreen.D, sym); code && (keys[code / 8] & (1 << (code % 8))))
                return true;
        return false;
    };
    const struct {
        Integer Vk;
        KeySym Left, Right;
    } modifiers[] = {{VK_SHIFT, XK_Shift_L, XK_Shift_R},
                     {VK_CONTROL, XK_Control_L, XK_Control_R},
                     {VK_MENU, XK_Alt_L, XK_Alt_R}};
    for (const auto& m : modifiers)
        if (GetAsyncKeyState(m.Vk) < 0 && !down(m.Left, m.Right))
            InjectKey(m.Vk, false);
}

void TTopLevels::EndOfBatch()
{
    if (!FFocusLeft)
        return;
    FFocusLeft = false;
    // The focus may have gone to another window of ours, whose FocusIn is
    // still on its way: that is no leaving.
    Window focus = 0;
    int revert;
    XGetInputFocus(FScreen.D, &focus, &revert);
    if (IsOurs(focus))
        return;
    FXFocus = nullptr;
    FFocusAsked = nullptr;
    // Keys held when the focus went are let go: their releases go elsewhere.
    for (Integer vk : {Integer(VK_SHIFT), Integer(VK_CONTROL), Integer(VK_MENU)})
        if (GetAsyncKeyState(vk) < 0)
            InjectKey(vk, false);
    SetActiveWindow(nullptr);
}

// ---- presenting ---------------------------------------------------------------------------------

bool TTopLevels::HasExposed() const
{
    for (const auto& view : FViews)
        if (!view->Exposed.empty())
            return true;
    return false;
}

uint64_t TTopLevels::Present(TPresenter& presenter, const TSurface& screen, const std::vector<TRect>& damage)
{
    uint64_t pixels = 0;
    std::vector<HWND> order = TopLevelWindows();
    for (size_t i = 0; i < order.size(); ++i) {
        TView* view = ViewFor(order[i]);
        if (!view || !view->WantMapped || !IsWindowVisible(view->Handle))
            continue;
        TRect shown = ShownRect(view->Handle);
        pixman_region32_t visible;
        pixman_region32_init_rect(&visible, shown.Left, shown.Top, unsigned(shown.Width()), unsigned(shown.Height()));
        for (size_t above = 0; above < i; ++above) {
            if (!IsWindowVisible(order[above]))
                continue;
            RECT r{};
            GetShownRect(order[above], r);
            pixman_region32_t cover;
            pixman_region32_init_rect(&cover, r.Left, r.Top, unsigned(std::max(r.Width(), 0)),
                                      unsigned(std::max(r.Height(), 0)));
            pixman_region32_subtract(&visible, &visible, &cover);
            pixman_region32_fini(&cover);
        }
        pixman_region32_t areas;
        pixman_region32_init(&areas);
        auto add = [&areas](const TRect& r) {
            pixman_region32_union_rect(&areas, &areas, r.Left, r.Top, unsigned(std::max(r.Width(), 0)),
                                       unsigned(std::max(r.Height(), 0)));
        };
        for (const TRect& r : damage)
            add(r);
        for (const TRect& r : view->Exposed)
            add(r);
        view->Exposed.clear();
        pixman_region32_intersect(&areas, &areas, &visible);
        int n = 0;
        const pixman_box32_t* boxes = pixman_region32_rectangles(&areas, &n);
        for (int b = 0; b < n; ++b) {
            TRect r{boxes[b].x1, boxes[b].y1, boxes[b].x2, boxes[b].y2};
            presenter.Present(screen, r, view->XWindow, {shown.Left, shown.Top});
            pixels += uint64_t(r.Width()) * uint64_t(r.Height());
        }
        pixman_region32_fini(&areas);
        pixman_region32_fini(&visible);
    }
    return pixels;
}

} // namespace ld::x11
