// Index: screen; update regions; RedrawWindow and friends; device contexts;
// BeginPaint/EndPaint and the default paint, erase and frame; scrolling.
#include "platform/win/Paint.h"

#include <algorithm>

#include "platform/gfx/Blit.h"
#include "platform/gfx/Frames.h"
#include "platform/gfx/Painting.h"
#include "platform/gfx/Surface.h"
#include "platform/gfx/Text.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/WindowTable.h"

namespace ld {

using namespace winimpl;

namespace {

struct TDCEntry {
    HDC Dc = nullptr;
    HWND Window = nullptr;
    bool InUse = false;
    RECT Reach;  // screen area its visible region allows, while in use
};

// Past this many rectangles the damage is kept as its bounding box, so that
// adding to it stays cheap however scattered the drawing.
constexpr size_t kMaxDamageRects = 16;

struct TPaintState {
    TSurface* Screen = nullptr;
    std::vector<TDCEntry> Dcs;
    Region Damage;
    TPaintCounters Counters;
};

TPaintState& State()
{
    static TPaintState* state = new TPaintState;
    if (!state->Screen)
        state->Screen = new TSurface(WS().screenWidth, WS().screenHeight, 0xFF008080u);
    return *state;
}

RECT ClientBox(const WindowRec& w) { return {0, 0, w.client.Width(), w.client.Height()}; }
RECT WindowBox(const WindowRec& w) { return {0, 0, w.window.Width(), w.window.Height()}; }
bool HasFrame(const WindowRec& w) { return w.client != WindowBox(w); }

bool ReachesChildren(const WindowRec& w, UINT flags)
{
    if (flags & RDW_NOCHILDREN)
        return false;
    return (flags & RDW_ALLCHILDREN) || !(w.style & WS_CLIPCHILDREN);
}

Region FromHrgn(HRGN rgn)
{
    Region r;
    if (rgn && IsGdiObject(rgn, TGdiObjectKind::Region))
        pixman_region32_copy(r.Raw(), &rgn->Region);
    return r;
}

void ToHrgn(const Region& r, HRGN rgn)
{
    if (rgn && IsGdiObject(rgn, TGdiObjectKind::Region))
        pixman_region32_copy(&rgn->Region, r.Raw());
}

Integer Complexity(const Region& r)
{
    size_t n = r.Rects().size();
    return n == 0 ? NULLREGION : n == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// A child's share of a region given in its parent's client coordinates, in
// the child's window coordinates.
Region ChildShare(const WindowRec& child, const Region& parentRgn)
{
    Region r = parentRgn;
    r.Offset(-child.window.Left, -child.window.Top);
    r.Intersect(WindowBox(child));
    return r;
}

} // namespace

// ---- screen ---------------------------------------------------------------

TSurface& GetScreenSurface() { return *State().Screen; }

void SetScreenSize(Integer width, Integer height)
{
    WindowSystem& ws = WS();
    ws.screenWidth = width;
    ws.screenHeight = height;
    Desktop().window = {0, 0, width, height};
    Desktop().client = Desktop().window;
    State().Screen->Resize(width, height, 0xFF008080u);
    RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

namespace {

void AddDamage(const Region& r)
{
    TPaintState& s = State();
    s.Damage.Union(r);
    if (size_t(pixman_region32_n_rects(s.Damage.Raw())) > kMaxDamageRects)
        s.Damage.Set(s.Damage.Bounds());
}

} // namespace

std::vector<RECT> TakeScreenDamage()
{
    TPaintState& s = State();
    std::vector<RECT> taken = s.Damage.Rects();
    s.Damage.Clear();
    // A DC still held may draw again without being asked for anew (an
    // animation holds one through its frames): its area stays damaged.
    for (const TDCEntry& e : s.Dcs)
        if (e.InUse)
            AddDamage(Region(e.Reach));
    return taken;
}

bool HasScreenDamage() { return !State().Damage.Empty(); }

TPaintCounters GetPaintCounters() { return State().Counters; }

// ---- update regions ---------------------------------------------------------

namespace winimpl {

void AddToUpdate(WindowRec& w, const Region& clientRgn, UINT flags)
{
    Region own = clientRgn;
    own.Intersect(ClientBox(w));
    if (!own.Empty()) {
        w.update.Union(own);
        if (flags & RDW_ERASE)
            w.erasePending = true;
    }
    if (!ReachesChildren(w, flags))
        return;
    for (HWND h : w.children) {
        WindowRec* c = Lookup(h);
        if (!c || !(c->style & WS_VISIBLE))
            continue;
        Region share = ChildShare(*c, clientRgn);
        if (share.Empty())
            continue;
        if ((flags & RDW_FRAME) && HasFrame(*c)) {
            Region frame = share;
            frame.Subtract(c->client);
            if (!frame.Empty())
                c->framePending = true;
        }
        share.Offset(-c->client.Left, -c->client.Top);
        AddToUpdate(*c, share, flags);
    }
}

void SubtractFromUpdate(WindowRec& w, const Region& clientRgn, UINT flags)
{
    w.update.Subtract(clientRgn);
    if (w.update.Empty())
        w.erasePending = false;
    if (!ReachesChildren(w, flags))
        return;
    for (HWND h : w.children) {
        WindowRec* c = Lookup(h);
        if (!c)
            continue;
        Region share = ChildShare(*c, clientRgn);
        if (share.Empty())
            continue;
        share.Offset(-c->client.Left, -c->client.Top);
        SubtractFromUpdate(*c, share, flags);
    }
}

void ExposeParentArea(WindowRec& w, const RECT& windowRectInParent)
{
    if (WindowRec* p = Lookup(w.parent))
        AddToUpdate(*p, Region(windowRectInParent), RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

namespace {

bool NeedsPaint(const WindowRec& w) { return !w.update.Empty() || w.framePending || w.internalPaint; }

HWND FindPaintWindowIn(const WindowRec& w)
{
    if (!(w.style & WS_VISIBLE))
        return nullptr;
    if (NeedsPaint(w))
        return w.handle;
    for (auto it = w.children.rbegin(); it != w.children.rend(); ++it)
        if (const WindowRec* c = Lookup(*it))
            if (HWND h = FindPaintWindowIn(*c))
                return h;
    return nullptr;
}

} // namespace

HWND FindPaintWindow(HWND filter)
{
    WindowRec* root = filter ? Lookup(filter) : &Desktop();
    if (!root || !IsVisibleChain(*root))
        return nullptr;
    return FindPaintWindowIn(*root);
}

} // namespace winimpl

namespace {

void UpdateNow(HWND hwnd, UINT flags)
{
    WindowRec* w = Lookup(hwnd);
    if (!w || !IsVisibleChain(*w))
        return;
    if (!w->update.Empty() || w->framePending || (w->internalPaint && !(flags & RDW_NOINTERNALPAINT))) {
        SendMessage(hwnd, WM_PAINT, 0, 0);
        if (!(w = Lookup(hwnd)))
            return;
    }
    if (!ReachesChildren(*w, flags))
        return;
    std::vector<HWND> children(w->children.rbegin(), w->children.rend());
    for (HWND c : children)
        UpdateNow(c, flags);
}

HDC DCForUpdate(WindowRec& w);

void EraseNow(HWND hwnd, UINT flags)
{
    WindowRec* w = Lookup(hwnd);
    if (!w || !IsVisibleChain(*w))
        return;
    if (w->framePending) {
        w->framePending = false;
        SendMessage(hwnd, WM_NCPAINT, 1, 0);
        if (!(w = Lookup(hwnd)))
            return;
    }
    if (w->erasePending && !w->update.Empty()) {
        w->erasePending = false;
        HDC dc = DCForUpdate(*w);
        ++State().Counters.Erases;
        SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        ReleaseDC(hwnd, dc);
        if (!(w = Lookup(hwnd)))
            return;
    }
    if (!ReachesChildren(*w, flags))
        return;
    std::vector<HWND> children(w->children.rbegin(), w->children.rend());
    for (HWND c : children)
        EraseNow(c, flags);
}

} // namespace

bool RedrawWindow(HWND hwnd, const RECT* rect, HRGN rgn, UINT flags)
{
    WindowRec* w = hwnd ? Lookup(hwnd) : &Desktop();
    if (!w)
        return false;
    hwnd = w->handle;
    Region area;
    bool whole = !rect && !rgn;
    if (rect)
        area.Set(*rect);
    else if (rgn)
        area = FromHrgn(rgn);
    else
        area.Set(ClientBox(*w));
    if (flags & RDW_INVALIDATE) {
        if ((flags & RDW_FRAME) && HasFrame(*w)) {
            Region outside = area;
            outside.Offset(w->client.Left, w->client.Top);
            outside.Subtract(w->client);
            if (whole || !outside.Empty())
                w->framePending = true;
        }
        AddToUpdate(*w, area, flags);
        if (flags & RDW_INTERNALPAINT)
            w->internalPaint = true;
    }
    if (flags & RDW_VALIDATE) {
        SubtractFromUpdate(*w, area, flags);
        if ((flags & RDW_NOFRAME) && whole)
            w->framePending = false;
        if (flags & RDW_NOERASE)
            w->erasePending = false;
        if (flags & RDW_NOINTERNALPAINT)
            w->internalPaint = false;
    }
    if (flags & RDW_UPDATENOW)
        UpdateNow(hwnd, flags);
    else if (flags & RDW_ERASENOW)
        EraseNow(hwnd, flags);
    return true;
}

bool InvalidateRect(HWND hwnd, const RECT* rect, bool erase)
{
    return RedrawWindow(hwnd, rect, nullptr, RDW_INVALIDATE | (erase ? UINT(RDW_ERASE) : 0u));
}

bool InvalidateRgn(HWND hwnd, HRGN rgn, bool erase)
{
    if (!rgn)
        return InvalidateRect(hwnd, nullptr, erase);
    return RedrawWindow(hwnd, nullptr, rgn, RDW_INVALIDATE | (erase ? UINT(RDW_ERASE) : 0u));
}

bool ValidateRect(HWND hwnd, const RECT* rect) { return RedrawWindow(hwnd, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN); }

bool ValidateRgn(HWND hwnd, HRGN rgn)
{
    if (!rgn)
        return ValidateRect(hwnd, nullptr);
    return RedrawWindow(hwnd, nullptr, rgn, RDW_VALIDATE | RDW_NOCHILDREN);
}

bool GetUpdateRect(HWND hwnd, RECT* rect, bool erase)
{
    WindowRec* w = Lookup(hwnd);
    if (!w)
        return false;
    if (rect)
        *rect = w->update.Bounds();
    if (erase && !w->update.Empty())
        EraseNow(hwnd, RDW_NOCHILDREN);
    return !w->update.Empty();
}

Integer GetUpdateRgn(HWND hwnd, HRGN rgn, bool erase)
{
    WindowRec* w = Lookup(hwnd);
    if (!w)
        return RGN_ERROR;
    Region r = w->update;
    ToHrgn(r, rgn);
    if (erase && !r.Empty())
        EraseNow(hwnd, RDW_NOCHILDREN);
    return Complexity(r);
}

bool UpdateWindow(HWND hwnd) { return RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

// ---- device contexts --------------------------------------------------------

namespace {

HDC AcquireDC(HWND hwnd, TPoint origin, const Region& visible)
{
    TPaintState& s = State();
    TDCEntry* entry = nullptr;
    for (TDCEntry& e : s.Dcs)
        if (!e.InUse) {
            entry = &e;
            break;
        }
    if (!entry) {
        s.Dcs.push_back({CreateSurfaceDC(s.Screen), nullptr, false, {}});
        entry = &s.Dcs.back();
    } else {
        ResetDC(entry->Dc);
    }
    entry->InUse = true;
    entry->Window = hwnd;
    SetDCOrigin(entry->Dc, origin);
    SetDCVisibleRegion(entry->Dc, visible.Raw());
    entry->Reach = visible.Bounds();
    AddDamage(visible);
    return entry->Dc;
}

TPoint Origin(const RECT& r) { return {r.Left, r.Top}; }

HDC DCForUpdate(WindowRec& w)
{
    Region vis = VisibleRegion(w, VIS_CLIENT | ((w.style & WS_CLIPCHILDREN) ? UINT(VIS_CLIPCHILDREN) : 0u));
    RECT client = ScreenClientRect(w);
    Region upd = w.update;
    upd.Offset(client.Left, client.Top);
    vis.Intersect(upd);
    return AcquireDC(w.handle, Origin(client), vis);
}

} // namespace

HDC GetDCEx(HWND hwnd, HRGN clip, UINT flags)
{
    WindowRec* w = hwnd ? Lookup(hwnd) : &Desktop();
    if (!w)
        return nullptr;
    UINT vis = (flags & DCX_WINDOW) ? 0u : UINT(VIS_CLIENT);
    if (flags & DCX_PARENTCLIP)
        vis |= VIS_PARENTCLIP;
    if (flags & DCX_CLIPCHILDREN)
        vis |= VIS_CLIPCHILDREN;
    Region visible = VisibleRegion(*w, vis);
    RECT area = (flags & DCX_WINDOW) ? ScreenWindowRect(*w) : ScreenClientRect(*w);
    if (clip && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN))) {
        Region c = FromHrgn(clip);
        c.Offset(area.Left, area.Top);
        if (flags & DCX_INTERSECTRGN)
            visible.Intersect(c);
        else
            visible.Subtract(c);
    }
    return AcquireDC(w->handle, Origin(area), visible);
}

HDC GetDC(HWND hwnd)
{
    WindowRec* w = hwnd ? Lookup(hwnd) : &Desktop();
    if (!w)
        return nullptr;
    return GetDCEx(w->handle, nullptr, (w->style & WS_CLIPCHILDREN) ? UINT(DCX_CLIPCHILDREN) : 0u);
}

HDC GetWindowDC(HWND hwnd) { return GetDCEx(hwnd, nullptr, DCX_WINDOW); }

Integer ReleaseDC(HWND hwnd, HDC dc)
{
    for (TDCEntry& e : State().Dcs)
        if (e.Dc == dc && e.InUse) {
            ResetDC(dc);
            e.InUse = false;
            e.Window = nullptr;
            return 1;
        }
    return 0;
}

HWND WindowFromDC(HDC dc)
{
    for (TDCEntry& e : State().Dcs)
        if (e.Dc == dc && e.InUse)
            return e.Window;
    return nullptr;
}

// ---- painting -----------------------------------------------------------------

HDC BeginPaint(HWND hwnd, PAINTSTRUCT& ps)
{
    ps = {};
    WindowRec* w = Lookup(hwnd);
    if (!w)
        return nullptr;
    if (w->framePending) {
        w->framePending = false;
        SendMessage(hwnd, WM_NCPAINT, 1, 0);
        if (!(w = Lookup(hwnd)))
            return nullptr;
    }
    w->update.Intersect(ClientBox(*w));
    ps.rcPaint = w->update.Bounds();
    HDC dc = DCForUpdate(*w);
    w->update.Clear();
    w->internalPaint = false;
    ps.hdc = dc;
    ++State().Counters.Paints;
    if (w->erasePending) {
        w->erasePending = false;
        ++State().Counters.Erases;
        ps.fErase = SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
    }
    return dc;
}

bool EndPaint(HWND hwnd, const PAINTSTRUCT& ps)
{
    if (ps.hdc)
        ReleaseDC(hwnd, ps.hdc);
    return true;
}

namespace winimpl {

LRESULT DefPaint(HWND hwnd)
{
    PAINTSTRUCT ps;
    BeginPaint(hwnd, ps);
    EndPaint(hwnd, ps);
    return 0;
}

LRESULT DefEraseBackground(HWND hwnd, WPARAM hdc)
{
    WindowRec* w = Lookup(hwnd);
    if (!w || !w->cls.hbrBackground || !hdc)
        return 0;
    FillRect(reinterpret_cast<HDC>(hdc), ClientBox(*w), GetSysColorBrush(Integer(w->cls.hbrBackground) - 1));
    return 1;
}

namespace {

void Fill(HDC dc, const RECT& r, Integer color)
{
    if (!IsRectEmpty(r))
        FillRect(dc, r, GetSysColorBrush(color));
}

// One pixel of edge: the top and left lines in one colour, the right and
// bottom ones (which own both far corners) in another.
void EdgeRing(HDC dc, const RECT& r, Integer topLeft, Integer bottomRight)
{
    Fill(dc, {r.Left, r.Top, r.Right, r.Top + 1}, topLeft);
    Fill(dc, {r.Left, r.Top, r.Left + 1, r.Bottom}, topLeft);
    Fill(dc, {r.Right - 1, r.Top, r.Right, r.Bottom}, bottomRight);
    Fill(dc, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, bottomRight);
}

void FillRing(HDC dc, const RECT& outer, const RECT& inner, Integer color)
{
    Fill(dc, {outer.Left, outer.Top, outer.Right, inner.Top}, color);
    Fill(dc, {outer.Left, inner.Bottom, outer.Right, outer.Bottom}, color);
    Fill(dc, {outer.Left, inner.Top, inner.Left, inner.Bottom}, color);
    Fill(dc, {inner.Right, inner.Top, outer.Right, inner.Bottom}, color);
}

// The title in the caption bar; text arrives with the graphics layer's fonts.
void DrawCaptionText(HDC dc, const RECT& bar, const std::string& text, bool active);

RECT Shrunk(RECT r, Integer by)
{
    InflateRect(r, -by, -by);
    return r;
}

void DrawCaptionText(HDC dc, const RECT& bar, const std::string& text, bool active)
{
    if (text.empty())
        return;
    static HFONT font = [] {
        LOGFONT lf;
        lf.lfHeight = -11;
        lf.lfWeight = FW_BOLD;
        lf.lfFaceName = "MS Sans Serif";
        return CreateFontIndirect(lf);
    }();
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    RECT r = bar;
    r.Left += 4;
    DrawText(dc, text, r, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    SelectObject(dc, old);
}

} // namespace

LRESULT DefNcPaint(HWND hwnd)
{
    WindowRec* w = Lookup(hwnd);
    if (!w || !HasFrame(*w) || HostFramed(*w))
        return 0;
    ++State().Counters.NcPaints;
    HDC dc = GetWindowDC(hwnd);
    RECT r = WindowBox(*w);
    DWORD style = w->style;
    if (style & (WS_THICKFRAME | WS_DLGFRAME) || (w->exStyle & WS_EX_DLGMODALFRAME)) {
        Integer frame = (style & WS_THICKFRAME) ? GetSystemMetrics(SM_CXFRAME) : GetSystemMetrics(SM_CXDLGFRAME);
        EdgeRing(dc, r, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
        EdgeRing(dc, Shrunk(r, 1), COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
        FillRing(dc, Shrunk(r, 2), Shrunk(r, frame), (style & WS_THICKFRAME) ? Integer(COLOR_ACTIVEBORDER) : Integer(COLOR_BTNFACE));
        r = Shrunk(r, frame);
    } else if (style & WS_BORDER) {
        FrameRect(dc, r, GetSysColorBrush(COLOR_WINDOWFRAME));
        r = Shrunk(r, 1);
    }
    if ((style & WS_CAPTION) == WS_CAPTION) {
        Integer height = GetSystemMetrics(SM_CYCAPTION);
        bool active = GetActiveWindow() == hwnd;
        Fill(dc, {r.Left, r.Top, r.Right, r.Top + height - 1}, active ? Integer(COLOR_ACTIVECAPTION) : Integer(COLOR_INACTIVECAPTION));
        Fill(dc, {r.Left, r.Top + height - 1, r.Right, r.Top + height}, COLOR_BTNFACE);
        RECT bar{r.Left, r.Top, r.Right, r.Top + height - 1};
        RECT box = CloseBoxRect(*w);
        if (!IsRectEmpty(box)) {
            DrawFrameControl(dc, box, DFC_CAPTION, DFCS_CAPTIONCLOSE | (CloseBoxPressed(hwnd) ? DFCS_PUSHED : 0u));
            bar.Right = box.Left - 2;
        }
        DrawCaptionText(dc, bar, w->text, active);
        r.Top += height;
    }
    if (w->exStyle & WS_EX_CLIENTEDGE) {
        EdgeRing(dc, r, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
        EdgeRing(dc, Shrunk(r, 1), COLOR_3DDKSHADOW, COLOR_3DLIGHT);
    }
    ReleaseDC(hwnd, dc);
    return 0;
}

} // namespace winimpl

// ---- scrolling ------------------------------------------------------------------

Integer ScrollWindowEx(HWND hwnd, Integer dx, Integer dy, const RECT* scroll, const RECT* clip, HRGN update,
                       RECT* updateRect, UINT flags)
{
    WindowRec* w = Lookup(hwnd);
    if (!w)
        return RGN_ERROR;
    RECT box = ClientBox(*w);
    RECT scrollRect = scroll ? *scroll : box;
    RECT clipRect = clip ? *clip : box;
    IntersectRect(clipRect, clipRect, box);

    Region uncovered;
    if (IsVisibleChain(*w)) {
        HDC dc = GetDCEx(hwnd, nullptr, (w->style & WS_CLIPCHILDREN) ? UINT(DCX_CLIPCHILDREN) : 0u);
        HRGN tmp = CreateRectRgn(0, 0, 0, 0);
        ScrollDC(dc, dx, dy, &scrollRect, &clipRect, tmp, nullptr);
        uncovered = FromHrgn(tmp);
        DeleteObject(tmp);
        ReleaseDC(hwnd, dc);
        if (!(w = Lookup(hwnd)))
            return RGN_ERROR;
    }
    // What was waiting to be painted moves with the pixels.
    Region pending = w->update;
    pending.Intersect(scrollRect);
    pending.Intersect(clipRect);
    if (!pending.Empty()) {
        w->update.Subtract(pending);
        pending.Offset(dx, dy);
        pending.Intersect(clipRect);
        w->update.Union(pending);
    }
    if (flags & SW_SCROLLCHILDREN) {
        for (HWND h : std::vector<HWND>(w->children)) {
            WindowRec* c = Lookup(h);
            if (c && PtInRect(scrollRect, c->window.TopLeft()))
                SetWindowPos(h, nullptr, c->window.Left + dx, c->window.Top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (flags & SW_INVALIDATE)
        AddToUpdate(*w, uncovered, RDW_INVALIDATE | ((flags & SW_ERASE) ? UINT(RDW_ERASE) : 0u));
    ToHrgn(uncovered, update);
    if (updateRect)
        *updateRect = uncovered.Bounds();
    return Complexity(uncovered);
}

bool ScrollWindow(HWND hwnd, Integer dx, Integer dy, const RECT* scroll, const RECT* clip)
{
    return ScrollWindowEx(hwnd, dx, dy, scroll, clip, nullptr, nullptr, SW_INVALIDATE | SW_ERASE) != RGN_ERROR;
}

} // namespace ld
