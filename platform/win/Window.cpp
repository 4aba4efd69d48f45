// Index: handle table; classes; creation and destruction; tree and z-order;
// styles and text; positions and the non-client calculation; visibility;
// coordinate mapping and hit testing; DefWindowProc; metrics.
#include "platform/win/Window.h"

#include <algorithm>
#include <cstring>

#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Input.h"
#include "platform/win/WindowTable.h"

namespace ld {

using namespace winimpl;

namespace winimpl {

// ---- handle table --------------------------------------------------------
// A handle is a slot index and the slot's generation, so a handle kept after
// its window died never reaches the window that took the slot next.

namespace {

constexpr uintptr_t kSlotBits = 20;
constexpr uintptr_t kSlotMask = (uintptr_t(1) << kSlotBits) - 1;

HWND MakeHandle(uint32_t slot, uint32_t generation)
{
    return reinterpret_cast<HWND>((uintptr_t(generation) << kSlotBits) | (uintptr_t(slot) + 1));
}

LRESULT DesktopProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) { return DefWindowProc(hwnd, msg, wParam, lParam); }

WindowRec* Allocate(WindowSystem& ws)
{
    uint32_t slot;
    if (!ws.freeSlots.empty()) {
        slot = ws.freeSlots.back();
        ws.freeSlots.pop_back();
    } else {
        slot = uint32_t(ws.slots.size());
        ws.slots.emplace_back();
        ws.generations.push_back(1);
    }
    ws.slots[slot] = std::make_unique<WindowRec>();
    ws.slots[slot]->handle = MakeHandle(slot, ws.generations[slot]);
    return ws.slots[slot].get();
}

void Release(HWND hwnd)
{
    WindowSystem& ws = WS();
    uintptr_t v = reinterpret_cast<uintptr_t>(hwnd);
    uint32_t slot = uint32_t((v & kSlotMask) - 1);
    ws.slots[slot].reset();
    ws.generations[slot] = (ws.generations[slot] + 1) & 0xFFF;
    if (ws.generations[slot] == 0)
        ws.generations[slot] = 1;
    ws.freeSlots.push_back(slot);
}

void MakeDesktop(WindowSystem& ws)
{
    WindowRec* d = Allocate(ws);
    d->proc = DesktopProc;
    d->cls.lpszClassName = "#32769";
    d->cls.hbrBackground = 1 + 1;  // COLOR_BACKGROUND
    d->style = WS_VISIBLE | WS_CLIPCHILDREN;
    d->window = {0, 0, ws.screenWidth, ws.screenHeight};
    d->client = d->window;
    ws.desktop = d->handle;
}

} // namespace

WindowSystem& WS()
{
    // Lives as long as the process: windows may die in static destructors.
    static WindowSystem* ws = [] {
        auto* s = new WindowSystem;
        MakeDesktop(*s);
        return s;
    }();
    return *ws;
}

WindowRec* Lookup(HWND hwnd)
{
    uintptr_t v = reinterpret_cast<uintptr_t>(hwnd);
    if (v == 0)
        return nullptr;
    WindowSystem& ws = WS();
    uintptr_t slot = (v & kSlotMask) - 1;
    if (slot >= ws.slots.size() || !ws.slots[slot] || ws.slots[slot]->handle != hwnd)
        return nullptr;
    return ws.slots[slot].get();
}

WindowRec& Desktop() { return *Lookup(WS().desktop); }

RECT ScreenWindowRect(const WindowRec& w)
{
    RECT r = w.window;
    for (const WindowRec* p = Lookup(w.parent); p; p = Lookup(p->parent))
        OffsetRect(r, p->window.Left + p->client.Left, p->window.Top + p->client.Top);
    return r;
}

RECT ScreenClientRect(const WindowRec& w)
{
    RECT win = ScreenWindowRect(w);
    RECT r = w.client;
    OffsetRect(r, win.Left, win.Top);
    return r;
}

bool IsVisibleChain(const WindowRec& w)
{
    for (const WindowRec* p = &w; p; p = Lookup(p->parent))
        if (!(p->style & WS_VISIBLE))
            return false;
    return true;
}

bool HostFramed(const WindowRec& w)
{
    WindowSystem& ws = WS();
    return ws.hostFrames && w.parent == ws.desktop && !IsPopupWindow(w.handle);
}

RECT ScreenShownRect(const WindowRec& w) { return HostFramed(w) ? ScreenClientRect(w) : ScreenWindowRect(w); }

namespace {

bool ClipsSiblings(const WindowRec& w) { return (w.style & WS_CLIPSIBLINGS) || w.parent == WS().desktop; }

// Removes the siblings above W that W must not draw over.
void SubtractSiblingsAbove(Region& rgn, const WindowRec& w, const WindowRec& parent)
{
    if (!ClipsSiblings(w))
        return;
    for (HWND s : parent.children) {
        if (s == w.handle)
            break;
        const WindowRec* sib = Lookup(s);
        if (sib && (sib->style & WS_VISIBLE))
            rgn.Subtract(ScreenShownRect(*sib));
    }
}

} // namespace

Region VisibleRegion(const WindowRec& w, UINT flags)
{
    if (!IsVisibleChain(w))
        return Region();
    const WindowRec* self = &w;
    Region rgn;
    if (flags & VIS_PARENTCLIP) {
        const WindowRec* parent = Lookup(w.parent);
        if (!parent)
            return Region(ScreenClientRect(w));
        self = parent;
        rgn.Set(ScreenClientRect(*parent));
    } else {
        rgn.Set((flags & VIS_CLIENT) ? ScreenClientRect(w) : ScreenShownRect(w));
    }
    for (const WindowRec* c = self; c->parent; c = Lookup(c->parent)) {
        const WindowRec* parent = Lookup(c->parent);
        rgn.Intersect(ScreenClientRect(*parent));
        SubtractSiblingsAbove(rgn, *c, *parent);
    }
    if ((flags & VIS_CLIPCHILDREN) && !(flags & VIS_PARENTCLIP)) {
        for (HWND h : w.children) {
            const WindowRec* child = Lookup(h);
            if (child && (child->style & WS_VISIBLE))
                rgn.Subtract(ScreenShownRect(*child));
        }
    }
    return rgn;
}

} // namespace winimpl

// ---- classes ----------------------------------------------------------------

bool RegisterClass(const WNDCLASS& wc)
{
    if (wc.lpszClassName.empty() || !wc.lpfnWndProc)
        return false;
    auto& classes = WS().classes;
    if (classes.count(wc.lpszClassName))
        return false;
    classes[wc.lpszClassName] = wc;
    return true;
}

bool GetClassInfo(const std::string& className, WNDCLASS& wc)
{
    auto& classes = WS().classes;
    auto it = classes.find(className);
    if (it == classes.end())
        return false;
    wc = it->second;
    return true;
}

bool UnregisterClass(const std::string& className) { return WS().classes.erase(className) > 0; }

UINT GetClassStyle(HWND hwnd)
{
    WindowRec* w = Lookup(hwnd);
    return w ? w->cls.style : 0;
}

// ---- non-client calculation -------------------------------------------------

namespace winimpl {

Integer FrameWidth(DWORD style, DWORD exStyle)
{
    if (style & WS_THICKFRAME)
        return GetSystemMetrics(SM_CXFRAME);
    if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
        return GetSystemMetrics(SM_CXDLGFRAME);
    if (style & WS_BORDER)
        return GetSystemMetrics(SM_CXBORDER);
    return 0;
}

// The client rectangle the default WM_NCCALCSIZE leaves of a window rectangle.
RECT DefaultClientRect(DWORD style, DWORD exStyle, RECT r)
{
    Integer frame = FrameWidth(style, exStyle);
    InflateRect(r, -frame, -frame);
    if ((style & WS_CAPTION) == WS_CAPTION)
        r.Top += GetSystemMetrics(SM_CYCAPTION);
    if (exStyle & WS_EX_CLIENTEDGE)
        InflateRect(r, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
    r.Right = std::max(r.Right, r.Left);
    r.Bottom = std::max(r.Bottom, r.Top);
    return r;
}

} // namespace winimpl

namespace {

void RecalcClient(HWND hwnd, WINDOWPOS* pos)
{
    WindowRec* w = Lookup(hwnd);
    if (!w)
        return;
    NCCALCSIZE_PARAMS params;
    params.rgrc[0] = w->window;
    params.rgrc[1] = w->window;
    params.rgrc[2] = w->window;
    params.lppos = pos;
    SendMessage(hwnd, WM_NCCALCSIZE, 1, reinterpret_cast<LPARAM>(&params));
    if (!(w = Lookup(hwnd)))
        return;
    RECT c = params.rgrc[0];
    IntersectRect(c, c, w->window);
    OffsetRect(c, -w->window.Left, -w->window.Top);
    w->client = c;
}

bool HasFrame(const WindowRec& w) { return w.client != RECT{0, 0, w.window.Width(), w.window.Height()}; }

} // namespace

bool AdjustWindowRectEx(RECT& rect, DWORD style, bool, DWORD exStyle)
{
    // The insets do not depend on the size, as long as the client is not squeezed to nothing.
    const RECT probe{0, 0, 10000, 10000};
    const RECT client = DefaultClientRect(style, exStyle, probe);
    rect.Left -= client.Left - probe.Left;
    rect.Top -= client.Top - probe.Top;
    rect.Right += probe.Right - client.Right;
    rect.Bottom += probe.Bottom - client.Bottom;
    return true;
}

// ---- creation and destruction ---------------------------------------------

HWND CreateWindowEx(DWORD exStyle, const std::string& className, const std::string& windowName, DWORD style,
                    Integer x, Integer y, Integer width, Integer height, HWND parent, void* param)
{
    WindowSystem& ws = WS();
    auto it = ws.classes.find(className);
    if (it == ws.classes.end())
        return nullptr;
    if (!parent) {
        if (style & WS_CHILD)
            return nullptr;
        parent = ws.desktop;
    }
    WindowRec* p = Lookup(parent);
    if (!p)
        return nullptr;
    WindowRec* w = Allocate(ws);
    HWND hwnd = w->handle;
    w->parent = parent;
    w->cls = it->second;
    w->proc = it->second.lpfnWndProc;
    w->style = style & ~WS_VISIBLE;
    w->exStyle = exStyle;
    w->text = windowName;
    w->window = Bounds(x, y, std::max(width, 0), std::max(height, 0));
    w->client = {0, 0, w->window.Width(), w->window.Height()};
    p->children.insert(p->children.begin(), hwnd);

    CREATESTRUCT cs;
    cs.lpCreateParams = param;
    cs.hwndParent = parent == ws.desktop ? nullptr : parent;
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.style = style;
    cs.dwExStyle = exStyle;
    cs.lpszName = windowName;
    cs.lpszClass = className;
    if (!SendMessage(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    RecalcClient(hwnd, nullptr);
    if (SendMessage(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!(w = Lookup(hwnd)))
        return nullptr;
    SendMessage(hwnd, WM_SIZE, SIZE_RESTORED, MakeLParam(w->client.Width(), w->client.Height()));
    SendMessage(hwnd, WM_MOVE, 0, MakeLParam(w->window.Left + w->client.Left, w->window.Top + w->client.Top));
    if ((style & WS_VISIBLE) && IsWindow(hwnd))
        ShowWindow(hwnd, SW_SHOW);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

namespace {

void SendDestroyMessages(HWND hwnd)
{
    SendMessage(hwnd, WM_DESTROY, 0, 0);
    WindowRec* w = Lookup(hwnd);
    if (!w)
        return;
    std::vector<HWND> children = w->children;
    for (HWND c : children)
        if (WindowRec* cw = Lookup(c)) {
            cw->destroying = true;
            SendDestroyMessages(c);
        }
}

void FreeTree(HWND hwnd)
{
    WindowRec* w = Lookup(hwnd);
    if (!w)
        return;
    std::vector<HWND> children = w->children;
    for (HWND c : children)
        FreeTree(c);
    SendMessage(hwnd, WM_NCDESTROY, 0, 0);
    ForgetWindowInput(hwnd);
    ForgetWindowTimers(hwnd);
    if ((w = Lookup(hwnd))) {
        if (WindowRec* p = Lookup(w->parent))
            std::erase(p->children, hwnd);
        Release(hwnd);
    }
}

} // namespace

bool DestroyWindow(HWND hwnd)
{
    WindowRec* w = Lookup(hwnd);
    if (!w || hwnd == WS().desktop)
        return false;
    if (w->destroying)
        return true;
    w->destroying = true;
    if (IsVisibleChain(*w))
        ExposeParentArea(*w, w->window);
    w->style &= ~WS_VISIBLE;
    // The focus and the capture leave a dying window before it hears of its end.
    ForgetWindowInput(hwnd);
    SendDestroyMessages(hwnd);
    FreeTree(hwnd);
    return true;
}

bool IsWindow(HWND hwnd) { return Lookup(hwnd) != nullptr; }
HWND GetDesktopWindow() { return WS().desktop; }

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

// ---- long values and text ---------------------------------------------------

LONG_PTR GetWindowLongPtr(HWND hwnd, Integer index)
{
    WindowRec* w = Lookup(hwnd);
    if (!w)
        return 0;
    switch (index) {
    case GWL_STYLE: return LONG_PTR(w->style);
    case GWL_EXSTYLE: return LONG_PTR(w->exStyle);
    case GWLP_USERDATA: return w->userData;
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(IsWindow(w->owner) ? w->owner : nullptr);
    case GWLP_ID: return w->id;
    }
    return 0;
}

LONG_PTR SetWindowLongPtr(HWND hwnd, Integer index, LONG_PTR value)
{
    WindowRec* w = Lookup(hwnd);
    if (!w)
        return 0;
    LONG_PTR old = GetWindowLongPtr(hwnd, index);
    switch (index) {
    case GWL_STYLE: w->style = DWORD(value); break;
    case GWL_EXSTYLE: w->exStyle = DWORD(value); break;
    case GWLP_USERDATA: w->userData = value; break;
    case GWLP_WNDPROC: w->proc = reinterpret_cast<WNDPROC>(value); break;
    case GWLP_HWNDPARENT:
        // Only a top-level window has an owner, and never itself.
        if (w->parent == WS().desktop && reinterpret_cast<HWND>(value) != hwnd)
            w->owner = reinterpret_cast<HWND>(value);
        break;
    case GWLP_ID: w->id = value; break;
    }
    return old;
}

bool SetWindowText(HWND hwnd, const std::string& text)
{
    return IsWindow(hwnd) && SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// The window is asked, as the system asks it, so that a class that keeps its
// text itself (the edit) answers.
std::string GetWindowText(HWND hwnd)
{
    if (!IsWindow(hwnd))
        return {};
    const LRESULT length = SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0)
        return {};
    std::string text(size_t(length) + 1, '\0');
    const LRESULT copied = SendMessage(hwnd, WM_GETTEXT, WPARAM(text.size()), reinterpret_cast<LPARAM>(text.data()));
    text.resize(size_t(std::clamp<LRESULT>(copied, 0, length)));
    return text;
}

// ---- tree ---------------------------------------------------------------

HWND GetParent(HWND hwnd)
{
    WindowRec* w = Lookup(hwnd);
    if (!w || w->parent == WS().desktop)
        return nullptr;
    return w->parent;
}

HWND SetParent(HWND hwnd, HWND newParent)
{
    WindowRec* w = Lookup(hwnd);
    if (!newParent)
        newParent = WS().desktop;
    WindowRec* np = Lookup(newParent);
    if (!w || !np || hwnd == newParent || IsChild(hwnd, newParent))
        return nullptr;
    HWND old = w->parent;
    bool visible = IsVisibleChain(*w);
    if (visible)
        ExposeParentArea(*w, w->window);
    if (WindowRec* op = Lookup(old))
        std::erase(op->children, hwnd);
    w->parent = newParent;
    np->children.insert(np->children.begin(), hwnd);
    if (IsVisibleChain(*w))
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return old == WS().desktop ? nullptr : old;
}

bool IsChild(HWND parent, HWND hwnd)
{
    WindowRec* w = Lookup(hwnd);
    for (WindowRec* p = w ? Lookup(w->parent) : nullptr; p; p = Lookup(p->parent))
        if (p->handle == parent)
            return true;
    return false;
}

HWND GetWindow(HWND hwnd, UINT cmd)
{
    WindowRec* w = Lookup(hwnd);
    if (!w)
        return nullptr;
    if (cmd == GW_CHILD)
        return w->children.empty() ? nullptr : w->children.front();
    if (cmd == GW_OWNER)
        return IsWindow(w->owner) ? w->owner : nullptr;
    WindowRec* p = Lookup(w->parent);
    if (!p)
        return nullptr;
    auto& sib = p->children;
    auto it = std::find(sib.begin(), sib.end(), hwnd);
    switch (cmd) {
    case GW_HWNDFIRST: return sib.front();
    case GW_HWNDLAST: return sib.back();
    case GW_HWNDNEXT: return (it == sib.end() || it + 1 == sib.end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV: return (it == sib.begin() || it == sib.end()) ? nullptr : *(it - 1);
    }
    return nullptr;
}

HWND GetTopWindow(HWND hwnd) { return GetWindow(hwnd ? hwnd : WS().desktop, GW_CHILD); }

HWND GetAncestorTopLevel(HWND hwnd)
{
    WindowRec* w = Lookup(hwnd);
    while (w && w->parent && w->parent != WS().desktop)
        w = Lookup(w->parent);
    return w && w->handle != WS().desktop ? w->handle : nullptr;
}

// ---- positions ----------------------------------------------------------

namespace {

// Moves W to its new place among its siblings (top first). Passed over on
// the way down, siblings that W now lies under: they show again what it covered.
bool Reorder(WindowRec& w, HWND insertAfter, std::vector<HWND>& passedOver)
{
    WindowRec* p = Lookup(w.parent);
    if (!p)
        return false;
    auto& sib = p->children;
    auto oldPos = std::find(sib.begin(), sib.end(), w.handle) - sib.begin();
    sib.erase(sib.begin() + oldPos);
    size_t pos = 0;
    if (insertAfter == HWND_BOTTOM)
        pos = sib.size();
    else if (insertAfter != HWND_TOP) {
        auto it = std::find(sib.begin(), sib.end(), insertAfter);
        pos = it == sib.end() ? 0 : size_t(it - sib.begin()) + 1;
    }
    sib.insert(sib.begin() + ptrdiff_t(pos), w.handle);
    for (ptrdiff_t i = oldPos; i < ptrdiff_t(pos); ++i)
        passedOver.push_back(sib[size_t(i)]);
    return ptrdiff_t(pos) != oldPos;
}

// A sibling that W was lowered under repaints where the two overlap.
void ExposeUnder(const WindowRec& w, HWND sibling)
{
    WindowRec* s = Lookup(sibling);
    if (!s || !IsVisibleChain(*s) || !IsVisibleChain(w))
        return;
    RECT overlap;
    if (!IntersectRect(overlap, ScreenShownRect(w), ScreenShownRect(*s)))
        return;
    RECT client = ScreenClientRect(*s);
    OffsetRect(overlap, -client.Left, -client.Top);
    RedrawWindow(sibling, &overlap, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// After a resize without the class's redraw styles only the newly uncovered
// part of the client area needs painting, and the frame.
void InvalidateAfterResize(WindowRec& w, const RECT& oldClient)
{
    bool widthChanged = oldClient.Width() != w.client.Width();
    bool heightChanged = oldClient.Height() != w.client.Height();
    UINT redraw = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN;
    if ((widthChanged && (w.cls.style & CS_HREDRAW)) || (heightChanged && (w.cls.style & CS_VREDRAW))) {
        RedrawWindow(w.handle, nullptr, nullptr, redraw | RDW_FRAME);
        return;
    }
    Region fresh(RECT{0, 0, w.client.Width(), w.client.Height()});
    fresh.Subtract(RECT{0, 0, oldClient.Width(), oldClient.Height()});
    if (!fresh.Empty())
        AddToUpdate(w, fresh, redraw);
    if (HasFrame(w))
        RedrawWindow(w.handle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
}

} // namespace

bool SetWindowPos(HWND hwnd, HWND insertAfter, Integer x, Integer y, Integer cx, Integer cy, UINT flags)
{
    WindowRec* w = Lookup(hwnd);
    if (!w || hwnd == WS().desktop)
        return false;
    RECT oldWindow = w->window;
    RECT oldClient = w->client;
    bool wasVisible = IsVisibleChain(*w);

    RECT nw = oldWindow;
    if (!(flags & SWP_NOMOVE))
        nw = Bounds(x, y, nw.Width(), nw.Height());
    if (!(flags & SWP_NOSIZE))
        nw = Bounds(nw.Left, nw.Top, std::max(cx, 0), std::max(cy, 0));
    bool moved = nw.Left != oldWindow.Left || nw.Top != oldWindow.Top;
    bool sized = nw.Width() != oldWindow.Width() || nw.Height() != oldWindow.Height();
    std::vector<HWND> passedOver;
    bool reordered = !(flags & SWP_NOZORDER) && insertAfter != hwnd && Reorder(*w, insertAfter, passedOver);

    WINDOWPOS pos{hwnd, insertAfter, nw.Left, nw.Top, nw.Width(), nw.Height(), flags};
    w->window = nw;
    if (sized || (flags & SWP_FRAMECHANGED)) {
        RecalcClient(hwnd, &pos);
        if (!(w = Lookup(hwnd)))
            return false;
    } else if (moved) {
        // The frame moves with the window; the client offset stays.
    }
    if (flags & SWP_SHOWWINDOW)
        w->style |= WS_VISIBLE;
    if (flags & SWP_HIDEWINDOW)
        w->style &= ~WS_VISIBLE;
    bool nowVisible = IsVisibleChain(*w);

    if (!(flags & SWP_NOREDRAW)) {
        if (wasVisible && (moved || sized || !nowVisible)) {
            Region exposed(oldWindow);
            if (nowVisible)
                exposed.Subtract(nw);
            if (!exposed.Empty())
                if (WindowRec* p = Lookup(w->parent))
                    AddToUpdate(*p, exposed, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
        }
        for (HWND s : passedOver)
            ExposeUnder(*w, s);
        if (nowVisible) {
            if (!wasVisible || moved || (reordered && passedOver.empty()))
                RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
            else if (sized)
                InvalidateAfterResize(*w, oldClient);
            else if (flags & SWP_FRAMECHANGED)
                RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN);
        }
    }
    if (wasVisible && !nowVisible)
        MoveFocusOffHiddenWindow(hwnd);
    if (moved || sized || (flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED)) || reordered)
        SendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    return true;
}

bool MoveWindow(HWND hwnd, Integer x, Integer y, Integer width, Integer height, bool repaint)
{
    return SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : UINT(SWP_NOREDRAW)));
}

bool BringWindowToTop(HWND hwnd) { return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

bool ShowWindow(HWND hwnd, Integer cmd)
{
    WindowRec* w = Lookup(hwnd);
    if (!w)
        return false;
    bool was = (w->style & WS_VISIBLE) != 0;
    bool show = cmd != SW_HIDE;
    if (was == show)
        return was;
    SendMessage(hwnd, WM_SHOWWINDOW, show, 0);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    return was;
}

bool IsWindowVisible(HWND hwnd)
{
    WindowRec* w = Lookup(hwnd);
    return w && IsVisibleChain(*w);
}

bool EnableWindow(HWND hwnd, bool enable)
{
    WindowRec* w = Lookup(hwnd);
    if (!w)
        return false;
    bool wasDisabled = (w->style & WS_DISABLED) != 0;
    if (wasDisabled == !enable)
        return wasDisabled;
    if (!enable) {
        // A window that loses its input first gives up a capture it holds.
        if (WS().capture && (WS().capture == hwnd || IsChild(hwnd, WS().capture)))
            SendMessage(WS().capture, WM_CANCELMODE, 0, 0);
        w = Lookup(hwnd);
        if (!w)
            return false;
        w->style |= WS_DISABLED;
        if (WS().focus && (WS().focus == hwnd || IsChild(hwnd, WS().focus)))
            SetFocus(nullptr);
    } else {
        w->style &= ~WS_DISABLED;
    }
    SendMessage(hwnd, WM_ENABLE, enable, 0);
    return wasDisabled;
}

bool IsWindowEnabled(HWND hwnd)
{
    WindowRec* w = Lookup(hwnd);
    return w && !(w->style & WS_DISABLED);
}

// ---- rectangles and mapping -------------------------------------------------

bool GetWindowRect(HWND hwnd, RECT& rect)
{
    WindowRec* w = Lookup(hwnd);
    if (!w)
        return false;
    rect = ScreenWindowRect(*w);
    return true;
}

bool GetClientRect(HWND hwnd, RECT& rect)
{
    WindowRec* w = Lookup(hwnd);
    if (!w)
        return false;
    rect = {0, 0, w->client.Width(), w->client.Height()};
    return true;
}

bool ClientToScreen(HWND hwnd, POINT& pt)
{
    WindowRec* w = Lookup(hwnd);
    if (!w)
        return false;
    RECT c = ScreenClientRect(*w);
    pt.X += c.Left;
    pt.Y += c.Top;
    return true;
}

bool ScreenToClient(HWND hwnd, POINT& pt)
{
    WindowRec* w = Lookup(hwnd);
    if (!w)
        return false;
    RECT c = ScreenClientRect(*w);
    pt.X -= c.Left;
    pt.Y -= c.Top;
    return true;
}

namespace {
TPoint ClientOrigin(HWND hwnd)
{
    WindowRec* w = Lookup(hwnd);
    if (!w || hwnd == WS().desktop)
        return {};
    RECT c = ScreenClientRect(*w);
    return {c.Left, c.Top};
}
} // namespace

Integer MapWindowPoints(HWND from, HWND to, POINT* points, UINT count)
{
    TPoint a = ClientOrigin(from), b = ClientOrigin(to);
    Integer dx = a.X - b.X, dy = a.Y - b.Y;
    for (UINT i = 0; i < count; ++i) {
        points[i].X += dx;
        points[i].Y += dy;
    }
    return MakeLParam(dx, dy);
}

Integer MapWindowPoints(HWND from, HWND to, RECT& rect)
{
    POINT pts[2] = {rect.TopLeft(), rect.BottomRight()};
    Integer r = MapWindowPoints(from, to, pts, 2);
    rect = {pts[0].X, pts[0].Y, pts[1].X, pts[1].Y};
    return r;
}

// ---- hit testing --------------------------------------------------------------

namespace {

// The window under a screen point among the children of Parent, descending,
// with the hit-test code it answered; a disabled window passes the point to
// no child, and the point then falls to the parent.
HWND ChildAtScreenPoint(const WindowRec& parent, POINT pt, LRESULT& hit)
{
    for (HWND h : parent.children) {
        const WindowRec* c = Lookup(h);
        if (!c || !(c->style & WS_VISIBLE) || !PtInRect(ScreenShownRect(*c), pt))
            continue;
        if (c->style & WS_DISABLED)
            return nullptr;
        LRESULT code = SendMessage(h, WM_NCHITTEST, 0, PointToLParam(pt));
        if (code == HTTRANSPARENT)
            continue;
        c = Lookup(h);
        if (!c)
            return nullptr;
        if (code == HTCLIENT && PtInRect(ScreenClientRect(*c), pt)) {
            LRESULT innerHit = HTNOWHERE;
            if (HWND inner = ChildAtScreenPoint(*c, pt, innerHit)) {
                hit = innerHit;
                return inner;
            }
        }
        hit = code;
        return h;
    }
    return nullptr;
}

} // namespace

namespace winimpl {

HWND HitWindow(POINT pt, LRESULT& hit)
{
    hit = HTNOWHERE;
    return ChildAtScreenPoint(Desktop(), pt, hit);
}

} // namespace winimpl

HWND WindowFromPoint(POINT pt)
{
    LRESULT hit;
    return HitWindow(pt, hit);
}

HWND ChildWindowFromPoint(HWND parent, POINT clientPt)
{
    WindowRec* p = Lookup(parent);
    if (!p)
        return nullptr;
    POINT screen = clientPt;
    ClientToScreen(parent, screen);
    for (HWND h : p->children) {
        WindowRec* c = Lookup(h);
        if (c && PtInRect(ScreenWindowRect(*c), screen))
            return h;
    }
    return PtInRect(ScreenClientRect(*p), screen) ? parent : nullptr;
}

// ---- default window procedure -------------------------------------------------

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    WindowRec* w = Lookup(hwnd);
    if (!w)
        return 0;
    switch (msg) {
    case WM_NCCREATE:
        return 1;
    case WM_NCCALCSIZE: {
        auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
        params->rgrc[0] = DefaultClientRect(w->style, w->exStyle, params->rgrc[0]);
        return 0;
    }
    case WM_NCHITTEST:
        return DefNcHitTest(hwnd, lParam);
    case WM_NCLBUTTONDOWN:
        return DefNcLButtonDown(hwnd, wParam, lParam);
    case WM_SYSCOMMAND:
        return DefSysCommand(hwnd, wParam, lParam);
    case WM_NCPAINT:
        return DefNcPaint(hwnd);
    case WM_PAINT:
        return DefPaint(hwnd);
    case WM_ERASEBKGND:
        return DefEraseBackground(hwnd, wParam);
    case WM_SETCURSOR:
        return DefSetCursor(hwnd, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return LRESULT(w->text.size());
    case WM_GETTEXT: {
        if (lParam == 0 || wParam == 0)
            return 0;
        const size_t n = std::min(w->text.size(), size_t(wParam) - 1);
        std::memcpy(reinterpret_cast<char*>(lParam), w->text.data(), n);
        reinterpret_cast<char*>(lParam)[n] = 0;
        return LRESULT(n);
    }
    case WM_SETTEXT:
        w->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        if (HasFrame(*w))
            RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
        return 1;
    case WM_SETREDRAW:
        // Turning redraw off only clears the visible bit; turning it on sets it
        // again. Neither repaints: the caller invalidates when it is done.
        if (wParam)
            w->style |= WS_VISIBLE;
        else
            w->style &= ~WS_VISIBLE;
        return 0;
    case WM_WINDOWPOSCHANGED: {
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (!(pos->flags & SWP_NOMOVE))
            SendMessage(hwnd, WM_MOVE, 0, MakeLParam(w->window.Left + w->client.Left, w->window.Top + w->client.Top));
        if ((w = Lookup(hwnd)) && (!(pos->flags & SWP_NOSIZE) || (pos->flags & SWP_FRAMECHANGED)))
            SendMessage(hwnd, WM_SIZE, SIZE_RESTORED, MakeLParam(w->client.Width(), w->client.Height()));
        return 0;
    }
    case WM_CANCELMODE:
        if (WS().capture == hwnd)
            ReleaseCapture();
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_MOUSEACTIVATE:
        return 1;  // MA_ACTIVATE
    case WM_MOUSEWHEEL:
        // Up the parent chain until a window handles it; a top-level window ends it.
        if ((w->style & WS_CHILD) && w->parent && w->parent != WS().desktop)
            return SendMessage(w->parent, msg, wParam, lParam);
        return 0;
    case WM_GETDLGCODE:
        return 0;
    }
    return 0;
}

// ---- metrics ----------------------------------------------------------------

Integer GetSystemMetrics(Integer index)
{
    switch (index) {
    case SM_CXSCREEN: return WS().screenWidth;
    case SM_CYSCREEN: return WS().screenHeight;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CXHSCROLL: return 16;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG: return 4;
    case SM_CXSIZE:
    case SM_CYSIZE: return 18;
    case SM_CXMINTRACK: return 112;
    case SM_CYMINTRACK: return 27;
    }
    return 0;
}

UINT GetDoubleClickTime() { return 500; }

// ---- top-level windows on a host's desktop ---------------------------------------

bool IsPopupWindow(HWND hwnd)
{
    WindowRec* w = Lookup(hwnd);
    return w && w->parent == WS().desktop && (w->style & WS_POPUP) && (w->style & WS_CAPTION) != WS_CAPTION &&
           (w->exStyle & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
}

void SetHostFrames(bool on)
{
    WS().hostFrames = on;
    RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

bool HasHostFrame(HWND hwnd)
{
    WindowRec* w = Lookup(hwnd);
    return w && HostFramed(*w);
}

bool GetShownRect(HWND hwnd, RECT& rect)
{
    WindowRec* w = Lookup(hwnd);
    if (!w)
        return false;
    rect = ScreenShownRect(*w);
    return true;
}

bool SystemParametersInfo(UINT action, UINT uiParam, void* pvParam, UINT)
{
    switch (action) {
    case SPI_GETWHEELSCROLLLINES:
        if (!pvParam)
            return false;
        *static_cast<UINT*>(pvParam) = WS().wheelScrollLines;
        return true;
    case SPI_SETWHEELSCROLLLINES:
        WS().wheelScrollLines = uiParam;
        return true;
    }
    return false;
}

} // namespace ld
